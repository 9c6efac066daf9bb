// Saving the held list as named sets and bringing sets back into it.
#include "ElementIndex.h"
#include "ElementSearch.h"
#include "ManagerModel.h"

void ManagerModel::SetCaption(const String& caption)
{
	setCaption = caption;
	Seams().SetSetCaption(caption);
}

SetItem* ManagerModel::MakeMember(BaseList2D* element, const String& name, bool* failed)
{
	*failed = false;
	Int32 kind = 0;
	UInt64 identity = 0;
	if (IsObjectElement(element))
	{
		kind = ENTRY_OBJECT;
		identity = static_cast<BaseObject*>(element)->GetGUID();
	}
	else if (IsMaterialElement(element))
	{
		kind = ENTRY_MATERIAL;
		if (!ReadMaterialMarker(static_cast<BaseMaterial*>(element), &identity))
			identity = 0;
	}
	else
		return nullptr;

	SetItem* item = NewSetItem();
	if (!item)
	{
		*failed = true;
		return nullptr;
	}
	item->link->SetLink(element);
	item->kind = kind;
	item->identity = identity;
	item->setName = name;
	item->storedName = element->GetName();
	return item;
}

bool ManagerModel::AppendMembers(ObjectSet* set, const String& name)
{
	for (PNode* entry = FirstHeld(); entry; entry = entry->Next())
	{
		BaseList2D* element = entry->Resolve();
		if (!element)
			continue;
		bool failed = false;
		SetItem* item = MakeMember(element, name, &failed);
		if (failed)
			return false;
		if (item && !set->Append(item))
		{
			FreeSetItem(item);
			return false;
		}
	}
	return true;
}

bool ManagerModel::SaveAsNewSet(bool* written)
{
	if (written)
		*written = false;
	PNode* first = FirstHeld();
	if (!first)
		return false;
	String name = first->name;
	if (!Seams().AskSetName(name))
		return false;
	return SaveAsNewSetNamed(name, written);
}

bool ManagerModel::SaveAsNewSetNamed(const String& name, bool* written)
{
	if (written)
		*written = false;
	// Entries whose elements were all deleted would make a set without members and without a name.
	bool anyPresent = false;
	for (PNode* entry = FirstHeld(); entry && !anyPresent; entry = entry->Next())
		anyPresent = entry->Resolve() != nullptr;
	if (!anyPresent)
		return false;
	ObjectSet* set = sets.AppendNew();
	if (!set)
		return false;
	if (!AppendMembers(set, name))
	{
		// A half-made set would be saved under a name the user never confirmed for it.
		sets.RemoveAt(sets.GetCount() - 1);
		return false;
	}
	SetCaption(name);
	currentSet = sets.GetCount();
	const bool ok = WriteSetFile();
	if (written)
		*written = ok;
	return true;
}

bool ManagerModel::LoadSet(Int32 number)
{
	if (number < 0 || number > sets.GetCount())
		return false;
	currentSet = number;
	ClearHeld();
	Seams().RefreshHeldTree();

	bool ok = true;
	if (number > 0)
	{
		const ObjectSet* set = sets.GetNumber(number);
		AtomArray* elements = AtomArray::Alloc();
		if (!elements)
			return false;
		for (Int32 i = 0; i < set->GetCount() && ok; ++i)
		{
			BaseList2D* element = set->Get(i)->Resolve();
			if (element && !elements->Append(element))
				ok = false;
		}
		if (ok)
		{
			SetCaption(set->GetName());
			if (elements->GetCount() > 0)
				ok = AddElements(*elements);
		}
		AtomArray::Free(elements);
	}
	else
		SetCaption(NO_SET_CAPTION);

	Seams().RefreshHeldTree();
	EventAdd();
	Seams().ApplyEnableRules();
	return ok;
}

bool ManagerModel::RemoveCurrentSet()
{
	if (currentSet <= 0 || currentSet > sets.GetCount())
		return false;
	sets.RemoveAt(currentSet - 1);
	--currentSet;
	return true;
}

bool ManagerModel::UpdateCurrentSet()
{
	ObjectSet* set = currentSet > 0 ? sets.GetNumber(currentSet) : nullptr;
	if (!set)
		return false;
	const String name = set->IsEmpty() ? String() : set->Get(0)->setName;
	// The held list shows only the members that are in this scene, so only those can the user have
	// taken out. The others (of another scene, or deleted here and perhaps back after an undo) stay,
	// as the set file keeps them.
	ObjectSet members;
	if (!AppendMembers(&members, name))
		return false;
	return set->ReplacePresent(&members);
}

void ManagerModel::ResolveSets()
{
	// Without a document nothing resolves, and every set would stop showing.
	BaseDocument* doc = GetActiveDocument();
	if (!doc)
		return;
	ObjectSet* current = sets.GetNumber(currentSet);
	// Members of other scenes never resolve here, so the index is wanted on nearly every change; it
	// is built again only when the scene's structure changed since.
	enum { NotBuilt, Built, Failed } indexState = NotBuilt;
	for (Int32 i = 0; i < sets.GetStoredCount() && indexState != Failed; ++i)
	{
		ObjectSet* set = sets.GetStored(i);
		for (Int32 k = 0; k < set->GetCount(); ++k)
		{
			SetItem* item = set->Get(k);
			if (item->Resolve())
				continue;
			// A member of another scene, or one deleted here (and perhaps back after an undo): the
			// identity finds it again when it is in this document.
			if (indexState == NotBuilt)
				indexState = _index.Update(doc) ? Built : Failed;
			if (indexState == Failed)
				break;
			BaseList2D* element = item->kind == ENTRY_OBJECT ? static_cast<BaseList2D*>(_index.FindObject(item->identity))
			                                                  : static_cast<BaseList2D*>(_index.FindMaterial(item->identity));
			if (element)
				item->link->SetLink(element);
		}
	}
	sets.UpdateShown();
	// The current set stays the same set, so that a later update never overwrites another one.
	currentSet = sets.NumberOf(current);
}

void ManagerModel::Open(const String& defaultCaption)
{
	currentSet = 0;
	SetCaption(defaultCaption);
	ClearHeld();
	ReadSetFile();
	Seams().RefreshHeldTree();
	Seams().ApplyEnableRules();
}
