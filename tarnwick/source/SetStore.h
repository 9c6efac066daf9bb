// Saved sets: each set is an ordered list of members that owns them; the store owns its sets in the
// order they were made. A set's number is its position counted from 1; its name is the setName of
// its members.
#pragma once

#include "PtrArray.h"
#include "SetItem.h"

class ObjectSet
{
public:
	ObjectSet() = default;
	ObjectSet(const ObjectSet&) = delete;
	ObjectSet& operator=(const ObjectSet&) = delete;
	~ObjectSet() { Clear(); _items.Release(); }

	Int32 GetCount() const { return _items.GetCount(); }
	bool IsEmpty() const { return _items.IsEmpty(); }
	SetItem* Get(Int32 i) const { return _items.Get(i); }
	// Takes ownership; false when memory is short (the caller still owns the item then).
	bool Append(SetItem* item) { return _items.Append(item); }
	// Frees the member at i; the ones after it move up.
	void RemoveAt(Int32 i);
	// Frees every member.
	void Clear();

	// The set's name: the setName of its last member (what the file writer stores), or "".
	String GetName() const;

private:
	PtrArray<SetItem> _items;
};

class SetStore
{
public:
	SetStore() = default;
	SetStore(const SetStore&) = delete;
	SetStore& operator=(const SetStore&) = delete;
	~SetStore() { Clear(); _sets.Release(); }

	Int32 GetCount() const { return _sets.GetCount(); }
	bool IsEmpty() const { return _sets.IsEmpty(); }
	// Set by index from 0; nullptr outside.
	ObjectSet* Get(Int32 i) const { return _sets.Get(i); }
	// Set by number from 1; nullptr outside.
	ObjectSet* GetNumber(Int32 number) const { return _sets.Get(number - 1); }
	// Appends a new empty set; nullptr when memory is short.
	ObjectSet* AppendNew();
	// Frees the set at index i; the ones after it move up.
	void RemoveAt(Int32 i);
	void Clear();

private:
	PtrArray<ObjectSet> _sets;
};
