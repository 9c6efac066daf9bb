// Documents and materials.
#pragma once

#include "hostapi/objects.h"

class BaseDraw;
class BaseSceneHook;

class BaseMaterial : public BaseList2D
{
public:
	static BaseMaterial* Alloc(Int32 type = Mmaterial);
	static void Free(BaseMaterial*& mat);

	BaseMaterial* GetNext() const;
	BaseMaterial* GetPred() const;
	BaseList2D* GetLayerObject() const;
	void SetLayerObject(BaseList2D* layer);

protected:
	BaseMaterial() = default;
};

// A layer of a document's layer tree (type Olayer); objects and materials name their layer.
class LayerObject : public BaseList2D
{
public:
	static LayerObject* Alloc();
	// Frees a layer with its sub-layers (removes it from its document first).
	static void Free(LayerObject*& layer);

	LayerObject* GetNext() const;
	LayerObject* GetPred() const;
	LayerObject* GetUp() const;
	LayerObject* GetDown() const;

protected:
	LayerObject() = default;
};

// Editing modes of a document.
enum : Int32
{
	Mpoints = 5,
	Medges = 6,
	Mpolygons = 7,
	Mmodel = 1,
};

// Undo kinds.
enum : Int32
{
	UNDOTYPE_CHANGE = 40,
	UNDOTYPE_NEW = 44,
	UNDOTYPE_DELETE = 45,
};

// Selection modes of SetActiveObject.
enum : Int32
{
	SELECTION_NEW = 0,
	SELECTION_ADD = 1,
	SELECTION_SUB = 2,
};

class BaseDocument : public BaseList2D
{
public:
	static BaseDocument* Alloc();
	static void Free(BaseDocument*& doc);

	BaseObject* GetFirstObject() const;
	// Inserts a free object under parent (nullptr: top level) after pred (nullptr: first).
	void InsertObject(BaseObject* op, BaseObject* parent, BaseObject* pred);
	BaseObject* GetActiveObject() const;
	void SetActiveObject(BaseObject* op, Int32 mode = SELECTION_NEW);
	// Selected objects in tree order (depth first).
	void GetActiveObjects(AtomArray& selection) const;
	// Depth-first search by name; nullptr when none.
	BaseObject* SearchObject(const String& name) const;

	BaseMaterial* GetFirstMaterial() const;
	// Inserts a free material after pred (nullptr: first).
	void InsertMaterial(BaseMaterial* mat, BaseMaterial* pred = nullptr);

	// Top-level layers (a tree of Olayer elements).
	BaseList2D* GetFirstLayer() const;
	void InsertLayer(BaseList2D* layer, BaseList2D* parent, BaseList2D* pred);

	Int32 GetMode() const;
	void SetMode(Int32 mode);

	// Undo recording: one group holds the records between StartUndo and EndUndo.
	bool StartUndo();
	bool EndUndo();
	bool AddUndo(Int32 type, BaseList2D* element);

	// The active editor view and the render view (nullptr when the document has none).
	BaseDraw* GetActiveBaseDraw() const;
	BaseDraw* GetRenderBaseDraw() const;

	// The document's instance of a registered scene hook.
	BaseSceneHook* FindSceneHook(Int32 pluginId) const;

	// A count that moves on whenever an element is added to the document, removed from it or moved
	// within it, or an object's identity or an element's unique-ID entries change. It may move for
	// other changes too; an unchanged count means none of these happened, so what a plug-in worked
	// out from the document's elements and identities still holds.
	UInt64 GetStructureCount() const;

protected:
	BaseDocument() = default;
};

// The document that the user works in; nullptr when none.
BaseDocument* GetActiveDocument();
// Host events.
void EventAdd();
void DrawViews(Int32 flags);
