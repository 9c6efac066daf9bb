// Placement entry: one row of the lower tree. An object entry holds three slot entries below it,
// each with the object's global and local matrix at capture time.
#pragma once

#include "hostapi/api.h"

#include "TList.h"

enum SlotKind : Int32
{
	SLOT_OBJECT = 1,
	SLOT_FIRST = 2,
	SLOT_SECOND = 3,
	SLOT_THIRD = 4,
};

class PNodeB : public TListObjB
{
public:
	PNodeB() = default;
	~PNodeB() override;

	TListHeadB children;
	// Object entries: the object found by identity when the placement file was read (may be stale
	// after a scene change; the placement operations check it against the scene before use).
	BaseObject* object = nullptr;
	String name;
	Int32 selected = 0;
	Int32 kind = 0;
	Matrix placementA; // global matrix
	Matrix placementB; // local matrix
	Int32 mode = 0;
	Int32 opened = 0;
	UInt64 identity = 0;

	PNodeB* Next() const { return static_cast<PNodeB*>(next); }
	PNodeB* Prev() const { return static_cast<PNodeB*>(prev); }
	PNodeB* FirstChild() const { return static_cast<PNodeB*>(children.first); }
};
