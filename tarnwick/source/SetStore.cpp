#include "SetStore.h"

#include <algorithm>
#include <utility>
#include <vector>

SetItem* NewSetItem()
{
	SetItem* item = NewObjTagged(SetItem, "source\\Tarnwick");
	if (!item)
		return nullptr;
	item->link = BaseLink::Alloc();
	if (!item->link)
	{
		DeleteObj(item);
		return nullptr;
	}
	return item;
}

void FreeSetItem(SetItem*& item)
{
	DeleteObj(item);
}

Int32 ObjectSet::CountPresent() const
{
	Int32 present = 0;
	for (Int32 i = 0; i < _items.GetCount(); ++i)
	{
		if (_items.Get(i)->Resolve())
			++present;
	}
	return present;
}

void ObjectSet::RemoveAt(Int32 i)
{
	SetItem* item = _items.Get(i);
	if (!item)
		return;
	_items.RemoveAt(i);
	FreeSetItem(item);
}

void ObjectSet::Clear()
{
	for (Int32 i = 0; i < _items.GetCount(); ++i)
	{
		SetItem* item = _items.Get(i);
		FreeSetItem(item);
	}
	_items.Reset();
}

bool ObjectSet::ReplacePresent(ObjectSet* members)
{
	PtrArray<SetItem> next;
	if (!next.Reserve(members->GetCount() + GetCount()))
		return false;
	std::vector<std::pair<Int32, UInt64>> incoming;
	incoming.reserve(static_cast<size_t>(members->GetCount()));
	for (Int32 i = 0; i < members->GetCount(); ++i)
	{
		SetItem* item = members->Get(i);
		next.Append(item);
		// A material without a marker has no identity to be found by, so it stands for nothing else.
		if (item->identity != 0)
			incoming.emplace_back(item->kind, item->identity);
	}
	std::sort(incoming.begin(), incoming.end());
	for (Int32 i = 0; i < GetCount(); ++i)
	{
		SetItem* item = _items.Get(i);
		const bool back = item->identity != 0 &&
			std::binary_search(incoming.begin(), incoming.end(), std::make_pair(item->kind, item->identity));
		if (item->Resolve() || back)
			FreeSetItem(item);
		else
			next.Append(item);
	}
	_items.Swap(next);
	members->_items.Reset();
	return true;
}

String ObjectSet::GetName() const
{
	SetItem* lastItem = _items.Get(_items.GetCount() - 1);
	return lastItem ? lastItem->setName : String();
}

Int32 SetStore::NumberOf(const ObjectSet* set) const
{
	if (!set)
		return 0;
	for (Int32 i = 0; i < _shown.GetCount(); ++i)
	{
		if (_shown.Get(i) == set)
			return i + 1;
	}
	return 0;
}

ObjectSet* SetStore::AppendNew()
{
	// Room in both lists first, so that a refusal leaves them matching.
	if (!_sets.Reserve(_sets.GetCount() + 1) || !_shown.Reserve(_shown.GetCount() + 1))
		return nullptr;
	ObjectSet* set = NewObjTagged(ObjectSet, "source\\Tarnwick");
	if (!set)
		return nullptr;
	_sets.Append(set);
	_shown.Append(set);
	return set;
}

void SetStore::RemoveAt(Int32 i)
{
	ObjectSet* set = _shown.Get(i);
	if (!set)
		return;
	_shown.RemoveAt(i);
	for (Int32 k = 0; k < _sets.GetCount(); ++k)
	{
		if (_sets.Get(k) == set)
		{
			_sets.RemoveAt(k);
			break;
		}
	}
	DeleteObj(set);
}

bool SetStore::TakeInFront(SetStore* earlier)
{
	const Int32 mine = _sets.GetCount();
	const Int32 theirs = earlier->_sets.GetCount();
	if (theirs == 0)
		return true;
	if (theirs > (1 << 29) - mine)
		return false;
	const Int32 total = mine + theirs;
	// Room in both lists first, so that UpdateShown below cannot fail half way.
	if (!_sets.Reserve(total) || !_shown.Reserve(total))
		return false;
	for (Int32 i = 0; i < theirs; ++i)
		_sets.Append(nullptr);
	for (Int32 i = mine - 1; i >= 0; --i)
		_sets.Set(i + theirs, _sets.Get(i));
	for (Int32 i = 0; i < theirs; ++i)
		_sets.Set(i, earlier->_sets.Get(i));
	earlier->_sets.Reset();
	earlier->_shown.Reset();
	UpdateShown();
	return true;
}

bool SetStore::UpdateShown()
{
	if (!_shown.Reserve(_sets.GetCount()))
		return false;
	_shown.Reset();
	for (Int32 i = 0; i < _sets.GetCount(); ++i)
	{
		ObjectSet* set = _sets.Get(i);
		if (set->BelongsHere())
			_shown.Append(set);
	}
	return true;
}

void SetStore::Clear()
{
	for (Int32 i = 0; i < _sets.GetCount(); ++i)
	{
		ObjectSet* set = _sets.Get(i);
		DeleteObj(set);
	}
	_sets.Reset();
	_shown.Reset();
}
