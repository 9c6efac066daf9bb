// BaseObject: allocation, hierarchy, matrices, identity, visibility, tags and layer.
#include <new>

#include "modeling/primitives.h"
#include "scene/object_data.h"
#include "scene/tag_data.h"

using scene::ApiOf;
using scene::CoreOf;
using scene::ObjectOf;
using scene::ObjectState;

namespace
{

// Object plug-in info bits; any of these tells the object managers to show an enable switch.
constexpr Int32 kInfoModifier = 1;
constexpr Int32 kInfoGenerator = 4;

const char* DefaultName(Int32 type)
{
	switch (type)
	{
		case Onull: return "Null";
		case Ocube: return "Cube";
		case Oplane: return "Plane";
		case Opolygonprimitive: return "Polygon";
		case Osplinedeformer: return "Spline Deformer";
		default: return "Object";
	}
}

} // namespace

namespace scene
{

bool IsHostObjectType(Int32 type)
{
	switch (type)
	{
		case Opolygon: case Ospline: case Onull: case Ocube: case Oplane: case Opolygonprimitive: case Osplinedeformer:
			return true;
		default:
			return false;
	}
}

NodeCore* GenericObjectData::CloneSelf() const
{
	auto* copy = new GenericObjectData(type);
	CopyObjectTo(*copy);
	return copy;
}

} // namespace scene

BaseObject* BaseObject::Alloc(Int32 type)
{
	if (type == Opolygon)
		return PolygonObject::Alloc(0, 0);
	if (type == Ospline)
		return SplineObject::Alloc(0, SPLINETYPE_LINEAR);
	// Only kinds the host knows: a document holding any other could not be opened again.
	if (!scene::IsHostObjectType(type))
		return nullptr;
	try
	{
		auto* op = new scene::GenericObjectData(type);
		op->name = DefaultName(type);
		modeling::SetPrimitiveDefaults(type, op->data);
		return op;
	}
	catch (const std::bad_alloc&)
	{
		return nullptr;
	}
}

void BaseObject::Free(BaseObject*& op)
{
	scene::DestroyNode(CoreOf(op));
	op = nullptr;
}

BaseObject* BaseObject::GetNext() const { return ApiOf<BaseObject>(CoreOf(this)->next); }
BaseObject* BaseObject::GetPred() const { return ApiOf<BaseObject>(CoreOf(this)->pred); }
BaseObject* BaseObject::GetUp() const { return ApiOf<BaseObject>(CoreOf(this)->Up()); }
BaseObject* BaseObject::GetDown() const { return ApiOf<BaseObject>(CoreOf(this)->children.first); }

Matrix BaseObject::GetMg() const
{
	const scene::NodeCore* core = CoreOf(this);
	Matrix m = core->AsObject()->ml;
	for (const scene::NodeCore* p = core->Up(); p; p = p->Up())
	{
		if (const ObjectState* parent = p->AsObject())
			m = parent->ml * m;
	}
	return m;
}

void BaseObject::SetMg(const Matrix& m)
{
	const BaseObject* parent = GetUp();
	ObjectOf(this)->ml = parent ? InvertMatrix(parent->GetMg()) * m : m;
}

Matrix BaseObject::GetMl() const { return ObjectOf(this)->ml; }

void BaseObject::SetMl(const Matrix& m) { ObjectOf(this)->ml = m; }

UInt64 BaseObject::GetGUID() const { return ObjectOf(this)->guid; }

Int32 BaseObject::GetInfo() const
{
	switch (GetType())
	{
		case Opolygon:
		case Ospline:
		case Onull:
		case Osplinedeformer:
			return kInfoModifier;
		case Ocube:
		case Oplane:
		case Opolygonprimitive:
			return kInfoModifier | kInfoGenerator;
		default:
			return 0;
	}
}

Int32 BaseObject::GetEditorMode() const { return ObjectOf(this)->editorMode; }

void BaseObject::SetEditorMode(Int32 mode)
{
	if (mode >= 0 && mode <= 2)
		ObjectOf(this)->editorMode = mode;
}

Int32 BaseObject::GetRenderMode() const { return ObjectOf(this)->renderMode; }

void BaseObject::SetRenderMode(Int32 mode)
{
	if (mode >= 0 && mode <= 2)
		ObjectOf(this)->renderMode = mode;
}

BaseTag* BaseObject::GetFirstTag() const { return ApiOf<BaseTag>(ObjectOf(this)->tags.first); }

BaseTag* BaseObject::GetTag(Int32 type, Int32 nr) const
{
	for (scene::NodeCore* t = ObjectOf(this)->tags.first; t; t = t->next)
	{
		if (t->IsInstanceOf(type) && nr-- == 0)
			return ApiOf<BaseTag>(t);
	}
	return nullptr;
}

void BaseObject::InsertTag(BaseTag* tag, BaseTag* pred)
{
	scene::NodeCore* core = CoreOf(tag);
	if (!core)
		return;
	ObjectState* state = ObjectOf(this);
	scene::NodeCore* p = CoreOf(pred);
	if (p && p->list == &state->tags && p != core)
		scene::LinkAfter(core, p);
	else
		scene::LinkFirst(core, state->tags);
}

BaseTag* BaseObject::MakeTag(Int32 type)
{
	const scene::PolygonObjectData* poly = scene::PolygonDataOf(this);
	const Int32 count = poly ? static_cast<Int32>(poly->polygons.size()) : 0;
	scene::NodeCore* tag = scene::MakeTagCore(type, count);
	if (!tag)
		return nullptr;
	if (!scene::LinkLast(tag, ObjectOf(this)->tags))
	{
		scene::DestroyNode(tag);
		return nullptr;
	}
	return ApiOf<BaseTag>(tag);
}

void BaseObject::KillTag(Int32 type, Int32 nr)
{
	scene::DestroyNode(CoreOf(GetTag(type, nr)));
}

BaseList2D* BaseObject::GetLayerObject() const
{
	scene::NodeCore* layer = scene::NodeBySerial(ObjectOf(this)->layerSerial);
	return layer && layer->family == scene::Family::Layer ? ApiOf<BaseList2D>(layer) : nullptr;
}

void BaseObject::SetLayerObject(BaseList2D* layer)
{
	scene::NodeCore* core = CoreOf(layer);
	if (core && core->family != scene::Family::Layer)
		return;
	ObjectOf(this)->layerSerial = core ? core->serial : 0;
}
