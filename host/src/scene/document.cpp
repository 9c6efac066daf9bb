// BaseDocument: the object tree, materials, layers and the editing mode.
#include <new>

#include "scene/document_data.h"
#include "scene/material_data.h"

using scene::ApiOf;
using scene::CoreOf;
using scene::DocumentData;
using scene::NodeCore;

namespace scene
{

DocumentData::DocumentData() : Element<BaseDocument>(0, Family::Document)
{
	children.family = Family::Object;
	children.ownerIsParent = false;
	materials.owner = this;
	materials.family = Family::Material;
	layers.owner = this;
	layers.family = Family::Layer;
	name = "Untitled";
}

DocumentData::~DocumentData()
{
	ForgetOpenDocument(this);
	DestroyList(children);
	DestroyList(materials);
	DestroyList(layers);
}

NodeCore* DocumentData::CloneSelf() const
{
	auto* copy = new DocumentData;
	CopyBaseTo(*copy);
	copy->mode = mode;
	return copy;
}

NodeCore* NextDepthFirst(const NodeCore* node)
{
	if (!node)
		return nullptr;
	if (node->children.first && node->children.ownerIsParent)
		return node->children.first;
	for (const NodeCore* n = node; n; n = n->Up())
	{
		if (n->next)
			return n->next;
	}
	return nullptr;
}

} // namespace scene

namespace
{

// The element when it is of the family and lies in doc.
NodeCore* InDocument(const GeListNode* node, const DocumentData* doc, scene::Family family)
{
	NodeCore* core = CoreOf(node);
	return core && core->family == family && core->DocumentCore() == doc ? core : nullptr;
}

void InsertInTree(NodeCore* node, NodeCore* parent, NodeCore* pred, scene::ListHead& top)
{
	if (pred && scene::LinkAfter(node, pred))
		return;
	if (parent && scene::LinkFirst(node, parent->children))
		return;
	scene::LinkFirst(node, top);
}

} // namespace

BaseDocument* BaseDocument::Alloc()
{
	return new (std::nothrow) DocumentData;
}

void BaseDocument::Free(BaseDocument*& doc)
{
	scene::DestroyNode(scene::DocumentDataOf(doc));
	doc = nullptr;
}

BaseObject* BaseDocument::GetFirstObject() const
{
	return ApiOf<BaseObject>(CoreOf(this)->children.first);
}

void BaseDocument::InsertObject(BaseObject* op, BaseObject* parent, BaseObject* pred)
{
	DocumentData* doc = scene::DocumentDataOf(this);
	NodeCore* node = CoreOf(op);
	if (!doc || !node || node->family != scene::Family::Object)
		return;
	InsertInTree(node, InDocument(parent, doc, scene::Family::Object), InDocument(pred, doc, scene::Family::Object), doc->children);
}

BaseObject* BaseDocument::SearchObject(const String& name) const
{
	for (NodeCore* n = CoreOf(this)->children.first; n; n = scene::NextDepthFirst(n))
	{
		if (n->name == name)
			return ApiOf<BaseObject>(n);
	}
	return nullptr;
}

UInt64 BaseDocument::GetStructureCount() const
{
	return scene::StructureCount();
}

BaseMaterial* BaseDocument::GetFirstMaterial() const
{
	const DocumentData* doc = scene::DocumentDataOf(this);
	return doc ? ApiOf<BaseMaterial>(doc->materials.first) : nullptr;
}

void BaseDocument::InsertMaterial(BaseMaterial* mat, BaseMaterial* pred)
{
	DocumentData* doc = scene::DocumentDataOf(this);
	NodeCore* node = CoreOf(mat);
	if (!doc || !node)
		return;
	InsertInTree(node, nullptr, InDocument(pred, doc, scene::Family::Material), doc->materials);
}

BaseList2D* BaseDocument::GetFirstLayer() const
{
	const DocumentData* doc = scene::DocumentDataOf(this);
	return doc ? ApiOf<BaseList2D>(doc->layers.first) : nullptr;
}

void BaseDocument::InsertLayer(BaseList2D* layer, BaseList2D* parent, BaseList2D* pred)
{
	DocumentData* doc = scene::DocumentDataOf(this);
	NodeCore* node = CoreOf(layer);
	if (!doc || !node || node->family != scene::Family::Layer)
		return;
	InsertInTree(node, InDocument(parent, doc, scene::Family::Layer), InDocument(pred, doc, scene::Family::Layer), doc->layers);
}

Int32 BaseDocument::GetMode() const
{
	const DocumentData* doc = scene::DocumentDataOf(this);
	return doc ? doc->mode : Mmodel;
}

void BaseDocument::SetMode(Int32 mode)
{
	DocumentData* doc = scene::DocumentDataOf(this);
	if (doc && (mode == Mmodel || mode == Mpoints || mode == Medges || mode == Mpolygons))
		doc->mode = mode;
}
