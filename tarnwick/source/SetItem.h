// One member of a saved set (and, in the refresh, one remembered entry state).
#pragma once

#include "hostapi/api.h"

struct SetItem
{
	SetItem() = default;
	SetItem(const SetItem&) = delete;
	SetItem& operator=(const SetItem&) = delete;
	~SetItem()
	{
		if (link)
			BaseLink::Free(link);
	}

	BaseLink* link = nullptr;
	Int32 selected = 0;
	Int32 opened = 0;
	Int32 kind = 0;
	UInt64 identity = 0;
	String setName;
	// The element's name as last written to or read from the set file; kept for a member whose
	// element is not in the active document, so that writing carries it along unchanged.
	String storedName;

	// The element in the active document; nullptr when it is gone (or without a document).
	BaseList2D* Resolve() const
	{
		BaseDocument* doc = GetActiveDocument();
		return (link && doc) ? link->GetLink(doc) : nullptr;
	}
};

// A new zero-filled item with its own (empty) link; nullptr when memory is short.
SetItem* NewSetItem();
void FreeSetItem(SetItem*& item);
