// Held entry: one row of the upper tree, standing for a scene object (with its descendants below
// it) or a material. The element is reached only through the owned link, resolved at each use.
#pragma once

#include "hostapi/api.h"

#include "TList.h"

enum EntryKind : Int32
{
	ENTRY_OBJECT = 1,     // top-level object
	ENTRY_MATERIAL = 2,
	ENTRY_DESCENDANT = 10, // object below a top-level or descendant object entry
};

class PNode : public TListObj
{
public:
	PNode();
	~PNode() override;

	TListHead children;
	String name;
	Int32 selected = 0;
	BaseLink* link = nullptr;
	UInt64 identity = 0;
	Int32 kind = 0;
	Int32 opened = 0;

	PNode* Next() const { return static_cast<PNode*>(next); }
	PNode* Prev() const { return static_cast<PNode*>(prev); }
	PNode* FirstChild() const { return static_cast<PNode*>(children.first); }
	PNode* LastChild() const { return static_cast<PNode*>(children.last); }
	// The element in the active document; nullptr once it was deleted (or without a document).
	BaseList2D* Resolve() const;
	bool IsObjectEntry() const { return kind == ENTRY_OBJECT || kind == ENTRY_DESCENDANT; }
};
