// The held list: making entries from scene elements and rebuilding the list after a scene change.
#include <algorithm>
#include <functional>

#include "ElementSearch.h"
#include "ManagerModel.h"

namespace
{
constexpr const char* SOURCE_TAG = "source\\Tarnwick";
}

PNode* ManagerModel::MakeEntry(BaseList2D* element, PNode* parent, bool topLevel, bool useMarker, bool* failed)
{
	*failed = false;
	PNode* entry = NewObjTagged(PNode, SOURCE_TAG);
	if (!entry)
	{
		*failed = true;
		return nullptr;
	}
	entry->link = BaseLink::Alloc();
	if (!entry->link)
	{
		DeleteObj(entry);
		*failed = true;
		return nullptr;
	}
	entry->link->SetLink(element);
	entry->name = element->GetName();

	BaseObject* object = nullptr;
	if (IsObjectElement(element))
	{
		object = static_cast<BaseObject*>(element);
		entry->identity = object->GetGUID();
		entry->kind = topLevel ? ENTRY_OBJECT : ENTRY_DESCENDANT;
		entry->selected = topLevel && object->GetNBit(NBIT_ACTIVE) ? 1 : 0;
		// The entry starts with the first Object Manager's unfold state whichever manager the
		// tree mirrors; a refresh then keeps what the user set in the tree.
		entry->opened = object->GetNBit(NBIT_OM1_FOLD) ? 1 : 0;
	}
	else if (IsMaterialElement(element))
	{
		auto* material = static_cast<BaseMaterial*>(element);
		entry->kind = ENTRY_MATERIAL;
		entry->opened = 0;
		entry->selected = material->GetNBit(NBIT_ACTIVE) ? 1 : 0;
		if (useMarker)
		{
			if (ReadMaterialMarker(material, &entry->identity))
				entry->selected = 0;
			else if (!AddMaterialMarker(material, &entry->identity))
				entry->identity = 0;
		}
	}
	else
	{
		// Neither object nor material: it never reaches the lists.
		DeleteObj(entry);
		return nullptr;
	}

	if (!heldPool.Append(entry))
	{
		DeleteObj(entry);
		*failed = true;
		return nullptr;
	}
	parent->children.Append(entry);

	if (object && topLevel && !MakeDescendants(object, entry))
	{
		*failed = true;
		return nullptr;
	}
	return entry;
}

bool ManagerModel::MakeDescendants(BaseObject* root, PNode* rootEntry)
{
	// Depth first in host order: an object, its children, then its next sibling. The walk climbs
	// through the scene's own parent links and keeps only the entries of the open levels, so a
	// deep hierarchy costs heap, not stack.
	PtrArray<PNode> openEntries;
	PNode* parent = rootEntry;
	BaseObject* op = root->GetDown();
	while (op && op != root)
	{
		bool failed = false;
		PNode* entry = MakeEntry(op, parent, false, false, &failed);
		if (failed)
			return false;
		BaseObject* child = op->GetDown();
		if (child && child != op)
		{
			if (!openEntries.Append(parent))
				return false;
			parent = entry;
			op = child;
			continue;
		}
		// Next sibling; a chain ends at its end or when it meets the object whose children it
		// holds. Then climb to the parent's next sibling.
		for (;;)
		{
			BaseObject* up = op->GetUp();
			BaseObject* next = op->GetNext();
			if (next && next != up)
			{
				op = next;
				break;
			}
			if (!up || up == root || openEntries.IsEmpty())
			{
				op = nullptr;
				break;
			}
			op = up;
			parent = openEntries.Get(openEntries.GetCount() - 1);
			openEntries.RemoveAt(openEntries.GetCount() - 1);
		}
	}
	return true;
}

bool ManagerModel::AddElements(const AtomArray& elements)
{
	bool ok = true;
	const Int32 count = elements.GetCount();
	for (Int32 i = 0; i < count && ok; ++i)
	{
		auto* element = static_cast<BaseList2D*>(elements.GetIndex(i));
		if (!element)
			continue;
		bool failed = false;
		MakeEntry(element, &heldRoot, true, true, &failed);
		ok = !failed;
	}
	Seams().RefreshHeldTree();
	return ok;
}

void ManagerModel::ClearHeld()
{
	heldRoot.children.UnlinkAll();
	heldPool.Clear();
}

bool ManagerModel::Refresh()
{
	BaseDocument* doc = GetActiveDocument();
	if (!doc)
		return false;

	AtomArray* elements = AtomArray::Alloc();
	if (!elements)
		return false;
	for (PNode* entry = FirstHeld(); entry; entry = entry->Next())
	{
		BaseList2D* element = entry->Resolve();
		if ((IsObjectElement(element) || IsMaterialElement(element)) && !elements->Append(element))
		{
			AtomArray::Free(elements);
			return false;
		}
	}

	// Remember the states of every entry that still resolves, descendants included.
	PtrArray<SetItem> snapshot;
	bool ok = true;
	for (Int32 i = 0; i < heldPool.GetCount() && ok; ++i)
	{
		PNode* entry = heldPool.Get(i);
		BaseList2D* element = entry->Resolve();
		if (!element)
			continue;
		SetItem* item = NewSetItem();
		if (!item || !snapshot.Append(item))
		{
			FreeSetItem(item);
			ok = false;
			break;
		}
		item->link->SetLink(element);
		item->selected = entry->selected;
		item->opened = entry->opened;
		item->kind = entry->kind;
		item->identity = entry->identity;
	}

	if (ok)
	{
		ClearHeld();
		for (Int32 i = 0; i < elements->GetCount() && ok; ++i)
		{
			bool failed = false;
			MakeEntry(static_cast<BaseList2D*>(elements->GetIndex(i)), &heldRoot, true, false, &failed);
			ok = !failed;
		}
	}

	// Each remembered element, resolved once (nothing changes the scene during the refresh), and
	// sorted by element so that every new entry finds its states by a binary search, in snapshot
	// order.
	struct Remembered
	{
		BaseList2D* element;
		Int32 k;
	};
	HostArray<Remembered> remembered(SOURCE_TAG);
	for (Int32 k = 0; k < snapshot.GetCount() && ok; ++k)
		ok = remembered.Append(Remembered{snapshot.Get(k)->Resolve(), k});
	const auto before = [](const Remembered& a, const Remembered& b) {
		return a.element != b.element ? std::less<BaseList2D*>()(a.element, b.element) : a.k < b.k;
	};
	if (ok)
		std::sort(remembered.begin(), remembered.end(), before);

	if (ok)
	{
		// Every remembered state goes to at most one new entry; when an element was held twice,
		// its first new entry takes them all and keeps the last one's values.
		for (Int32 i = 0; i < heldPool.GetCount(); ++i)
		{
			PNode* entry = heldPool.Get(i);
			BaseList2D* element = entry->Resolve();
			if (!element)
				continue;
			const Remembered* r = std::lower_bound(remembered.begin(), remembered.end(), Remembered{element, -1}, before);
			for (; r != remembered.end() && r->element == element; ++r)
			{
				SetItem* item = snapshot.Get(r->k);
				if (!item)
					continue;
				const bool itemIsMaterial = item->kind == ENTRY_MATERIAL;
				if (itemIsMaterial != (entry->kind == ENTRY_MATERIAL))
					continue;
				entry->selected = item->selected;
				entry->opened = item->opened;
				if (itemIsMaterial)
					entry->identity = item->identity;
				FreeSetItem(item);
				snapshot.Set(r->k, nullptr);
			}
		}
	}

	for (Int32 k = 0; k < snapshot.GetCount(); ++k)
	{
		SetItem* item = snapshot.Get(k);
		FreeSetItem(item);
	}
	AtomArray::Free(elements);
	if (ok)
		Seams().RefreshHeldTree();
	return ok;
}
