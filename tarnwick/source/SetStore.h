// Saved sets: each set is an ordered list of members that owns them; the store owns its sets in the
// order they were made. A set's name is the setName of its members.
//
// The set file is shared by every scene, so the store keeps every set it read, but shows only the
// sets that belong to the active document: those with a member that resolves there, and sets saved
// without members. The others stay stored, out of the lists and out of loading, and are written back
// unchanged. Set numbers (from 1) count the shown sets only.
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

	// Every stored member, whether its element is in the active document or not.
	Int32 GetCount() const { return _items.GetCount(); }
	bool IsEmpty() const { return _items.IsEmpty(); }
	SetItem* Get(Int32 i) const { return _items.Get(i); }
	// Members whose element resolves in the active document.
	Int32 CountPresent() const;
	// Takes ownership; false when memory is short (the caller still owns the item then).
	bool Append(SetItem* item) { return _items.Append(item); }
	// Frees the member at i; the ones after it move up.
	void RemoveAt(Int32 i);
	// Frees every member.
	void Clear();
	// Replaces the members that resolve in the active document by those of members (taken over and
	// put first, in their order; members is left empty). The others stay after them in their order,
	// but for one whose identity a new member carries: that element is back under the new member.
	// False when memory is short; both sets are then as they were.
	bool ReplacePresent(ObjectSet* members);

	// The set's name: the setName of its last member (what the file writer stores), or "".
	String GetName() const;
	// Shown in the active document: a member resolves there, or the set has no members at all.
	bool BelongsHere() const { return IsEmpty() || CountPresent() > 0; }

private:
	PtrArray<SetItem> _items;
};

class SetStore
{
public:
	SetStore() = default;
	SetStore(const SetStore&) = delete;
	SetStore& operator=(const SetStore&) = delete;
	~SetStore() { Clear(); _sets.Release(); _shown.Release(); }

	// ---- The shown sets (what the lists, loading and set numbers see) ----
	Int32 GetCount() const { return _shown.GetCount(); }
	bool IsEmpty() const { return _shown.IsEmpty(); }
	// Shown set by index from 0; nullptr outside.
	ObjectSet* Get(Int32 i) const { return _shown.Get(i); }
	// Shown set by number from 1; nullptr outside.
	ObjectSet* GetNumber(Int32 number) const { return _shown.Get(number - 1); }
	// The number of a shown set; 0 when it is not shown (or nullptr).
	Int32 NumberOf(const ObjectSet* set) const;
	// Appends a new empty set, shown; nullptr when memory is short.
	ObjectSet* AppendNew();
	// Frees the shown set at index i; the ones after it move up.
	void RemoveAt(Int32 i);

	// ---- Every stored set, shown or kept for other scenes, in file order ----
	Int32 GetStoredCount() const { return _sets.GetCount(); }
	ObjectSet* GetStored(Int32 i) const { return _sets.Get(i); }
	// Sets kept but not shown.
	Int32 GetKeptCount() const { return _sets.GetCount() - _shown.GetCount(); }

	// Moves every set of earlier in front of this store's sets, in their order (earlier is left
	// empty), and works out again which sets show. False when memory is short; both stores are then
	// as they were.
	bool TakeInFront(SetStore* earlier);

	// Works out again which sets belong to the active document. False when memory is short; the
	// shown sets then stay as they were.
	bool UpdateShown();
	void Clear();

private:
	PtrArray<ObjectSet> _sets;
	PtrArray<ObjectSet> _shown;
};
