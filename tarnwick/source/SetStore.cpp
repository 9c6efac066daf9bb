#include "SetStore.h"

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

String ObjectSet::GetName() const
{
	SetItem* lastItem = _items.Get(_items.GetCount() - 1);
	return lastItem ? lastItem->setName : String();
}

ObjectSet* SetStore::AppendNew()
{
	ObjectSet* set = NewObjTagged(ObjectSet, "source\\Tarnwick");
	if (!set)
		return nullptr;
	if (!_sets.Append(set))
	{
		DeleteObj(set);
		return nullptr;
	}
	return set;
}

void SetStore::RemoveAt(Int32 i)
{
	ObjectSet* set = _sets.Get(i);
	if (!set)
		return;
	_sets.RemoveAt(i);
	DeleteObj(set);
}

void SetStore::Clear()
{
	for (Int32 i = 0; i < _sets.GetCount(); ++i)
	{
		ObjectSet* set = _sets.Get(i);
		DeleteObj(set);
	}
	_sets.Reset();
}
