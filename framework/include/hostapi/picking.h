// Objects under a pixel of an editor view, found by casting the pixel's ray into the scene.
#pragma once

#include "hostapi/view.h"

// Option flags of PickObjectsAtPixel. The host always measures real hit depths; the flags are
// accepted for callers that ask for them explicitly.
enum : Int32
{
	PICKOBJECT_DEPTH = 1,
	PICKOBJECT_ONLY_VISIBLE = 2,
};

// The result of a pick: objects with the depth of their nearest hit, nearest first.
class ObjectPickList
{
public:
	static ObjectPickList* Alloc();
	static void Free(ObjectPickList*& list);

	Int32 GetCount() const;
	// nullptr / 0.0 outside 0 .. GetCount() - 1.
	BaseObject* GetObject(Int32 i) const;
	// The depth (camera-space Z, as in BaseDraw::WS) of the object's nearest hit.
	Float GetZ(Int32 i) const;

protected:
	ObjectPickList() = default;
	~ObjectPickList() = default;
};

// Fills list (emptied first) with every polygon object of doc whose geometry the ray through the
// centre of pixel (x, y) of view bd hits in front of the camera; each object once, nearest first,
// equal depths in tree order. Objects hidden in the editor (editor mode 1) are skipped. False when an
// argument is missing or memory is short.
bool PickObjectsAtPixel(BaseDocument* doc, BaseDraw* bd, Int32 x, Int32 y, ObjectPickList* list, Int32 flags);
