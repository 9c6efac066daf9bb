// Intrusive doubly linked lists of the manager's two trees. An element knows its siblings and the
// head that holds it, so it can unlink itself from whichever list it is in, and its destructor does
// so; the order of a list is the order of the tree rows.
#pragma once

template <class Obj>
struct TListHeadOf
{
	Obj* first = nullptr;
	Obj* last = nullptr;

	bool IsEmpty() const { return first == nullptr; }

	// Links an element in at the end (taking it out of any list it was in first).
	void Append(Obj* obj)
	{
		if (obj->list)
			obj->list->Unlink(obj);
		obj->prev = last;
		obj->next = nullptr;
		obj->list = this;
		if (last)
			last->next = obj;
		last = obj;
		if (!first)
			first = obj;
	}

	// Links an element in just before `at`, which must belong to this head.
	void InsertBefore(Obj* obj, Obj* at)
	{
		if (obj == at)
			return;
		if (obj->list)
			obj->list->Unlink(obj);
		obj->list = this;
		obj->next = at;
		obj->prev = at->prev;
		if (at->prev)
			at->prev->next = obj;
		else
			first = obj;
		at->prev = obj;
	}

	// Links an element in just after `at`, which must belong to this head.
	void InsertAfter(Obj* obj, Obj* at)
	{
		if (obj == at)
			return;
		if (obj->list)
			obj->list->Unlink(obj);
		obj->list = this;
		obj->prev = at;
		obj->next = at->next;
		if (at->next)
			at->next->prev = obj;
		else
			last = obj;
		at->next = obj;
	}

	// Takes an element of this head out of the list and clears its links.
	void Unlink(Obj* obj)
	{
		if (obj->prev)
			obj->prev->next = obj->next;
		if (obj->next)
			obj->next->prev = obj->prev;
		if (first == obj)
			first = obj->next;
		if (last == obj)
			last = obj->prev;
		obj->next = nullptr;
		obj->prev = nullptr;
		obj->list = nullptr;
	}

	// Unlinks every element without destroying any (the pools own them).
	void UnlinkAll()
	{
		while (first)
			Unlink(first);
	}
};

// Base of held entries.
class TListObj
{
public:
	TListObj() = default;
	TListObj(const TListObj&) = delete;
	TListObj& operator=(const TListObj&) = delete;
	virtual ~TListObj()
	{
		if (list)
			list->Unlink(this);
	}

	TListObj* next = nullptr;
	TListObj* prev = nullptr;
	TListHeadOf<TListObj>* list = nullptr;
};

using TListHead = TListHeadOf<TListObj>;

// Base of placement entries; the same rules on a list of its own kind.
class TListObjB
{
public:
	TListObjB() = default;
	TListObjB(const TListObjB&) = delete;
	TListObjB& operator=(const TListObjB&) = delete;
	virtual ~TListObjB()
	{
		if (list)
			list->Unlink(this);
	}

	TListObjB* next = nullptr;
	TListObjB* prev = nullptr;
	TListHeadOf<TListObjB>* list = nullptr;
};

using TListHeadB = TListHeadOf<TListObjB>;
