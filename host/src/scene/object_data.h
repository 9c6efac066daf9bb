// Objects as the host keeps them: the state every object has (matrix, identity, visibility,
// tags, layer) and the point data of polygon and spline objects.
#pragma once

#include <vector>

#include "accel/object_slot.h"
#include "hostapi/objects.h"
#include "scene/node_data.h"
#include "scene/select_data.h"

namespace scene
{

// Point and polygon arrays are refused above this size rather than attempted.
constexpr Int32 kMaxElements = 1 << 24;

// The object kinds the host makes (BaseObject::Alloc refuses every other type).
bool IsHostObjectType(Int32 type);

UInt64 NextObjectGuid();
// A document load restores identities; later identities of this run must differ from them.
void NoteRestoredGuid(UInt64 guid);

struct ObjectState
{
	Matrix ml; // relative to the parent
	UInt64 guid = 0;
	Int32 editorMode = 2;
	Int32 renderMode = 2;
	ListHead tags;
	UInt64 layerSerial = 0; // 0: no layer
};

template <typename Api>
struct ObjectElement : Element<Api>, ObjectState
{
	explicit ObjectElement(Int32 t) : Element<Api>(t, Family::Object)
	{
		this->children.family = Family::Object;
		tags.owner = this;
		tags.family = Family::Tag;
		guid = NextObjectGuid();
	}
	~ObjectElement() override { DestroyList(tags); }

	ObjectState* AsObject() override { return this; }
	bool IsInstanceOf(Int32 t) const override { return t == this->type || t == Obase; }
	void OwnedLists(std::vector<ListHead*>& out) override
	{
		out.push_back(&this->children);
		out.push_back(&tags);
	}
	void ForEachLinkSerial(const std::function<void(UInt64&)>& fn) override { fn(layerSerial); }

	// Copies the common state; the copy keeps its own fresh identity.
	void CopyObjectTo(NodeCore& dst) const;
};

// Copies what every object has (name, bits, parameters, unique IDs, matrix, visibility, layer)
// but not the identity, tags or children.
inline void CopyObjectState(const NodeCore& src, NodeCore& dst)
{
	const ObjectState* from = src.AsObject();
	ObjectState* to = dst.AsObject();
	if (!from || !to)
		return;
	src.CopyBaseTo(dst);
	to->ml = from->ml;
	to->editorMode = from->editorMode;
	to->renderMode = from->renderMode;
	to->layerSerial = from->layerSerial;
}

template <typename Api>
void ObjectElement<Api>::CopyObjectTo(NodeCore& dst) const
{
	CopyObjectState(*this, dst);
}

// Null objects, primitives, deformers and every other object without point data.
struct GenericObjectData final : ObjectElement<BaseObject>
{
	explicit GenericObjectData(Int32 t) : ObjectElement<BaseObject>(t) {}
	NodeCore* CloneSelf() const override;
};

struct PolygonObjectData final : ObjectElement<PolygonObject>
{
	PolygonObjectData() : ObjectElement<PolygonObject>(Opolygon) {}
	NodeCore* CloneSelf() const override;
	// MSG_UPDATE says the geometry changed.
	bool HandleMessage(Int32 msg, void* payload) override;

	std::vector<Vector> points;
	std::vector<CPolygon> polygons;
	BaseSelectData pointSelection;
	BaseSelectData polygonSelection;
	BaseSelectData edgeSelection; // by 4 * polygon + side
	// The ray acceleration of the geometry above. Whoever writes points or polygons in place of an
	// existing object (not while making a new one) calls rayAccel.Touch().
	accel::ObjectSlot rayAccel;
};

struct SplineObjectData final : ObjectElement<SplineObject>
{
	explicit SplineObjectData(Int32 splineType) : ObjectElement<SplineObject>(Ospline), splineType(splineType) {}
	NodeCore* CloneSelf() const override;

	std::vector<Vector> points;
	Int32 splineType = SPLINETYPE_LINEAR;
	// The point counts of the curves the points form, in order, when there are several (a join
	// makes such a spline); empty: one curve through every point. The counts add up to the
	// point count; resizing the points makes the spline one curve again.
	std::vector<Int32> curves;
};

inline ObjectState* ObjectOf(const GeListNode* node)
{
	NodeCore* core = CoreOf(node);
	return core ? core->AsObject() : nullptr;
}

inline PolygonObjectData* PolygonDataOf(const GeListNode* node)
{
	NodeCore* core = CoreOf(node);
	return core && core->type == Opolygon ? static_cast<PolygonObjectData*>(core) : nullptr;
}

inline SplineObjectData* SplineDataOf(const GeListNode* node)
{
	NodeCore* core = CoreOf(node);
	return core && core->type == Ospline ? static_cast<SplineObjectData*>(core) : nullptr;
}

// The point array of a polygon or spline object; nullptr for other elements.
std::vector<Vector>* PointsOf(const GeListNode* node);

// Restores an identity (document load).
void SetObjectGuid(BaseObject* op, UInt64 guid);

} // namespace scene
