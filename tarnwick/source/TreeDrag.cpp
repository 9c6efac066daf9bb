// Drag and drop in the held tree: what a row hands out, which drops it accepts, and how a drop
// moves objects and materials in the scene. No path may put an object below itself.
#include "ElementSearch.h"
#include "MyTreeViewFunctions.h"

namespace
{

PNode* Entry(void* obj) { return static_cast<PNode*>(obj); }

// Whether `op` lies in the subtree of `top` (top itself included), walking up from op: the walk is
// as long as op's depth, and needs no recursion.
bool IsWithin(const BaseObject* op, const BaseObject* top)
{
	for (const BaseObject* o = op; o; o = o->GetUp())
		if (o == top)
			return true;
	return false;
}

bool PassesObjectRule(const AtomArray* arr, BaseObject* target)
{
	for (Int32 i = 0; i < arr->GetCount(); ++i)
	{
		auto* item = static_cast<BaseList2D*>(arr->GetIndex(i));
		if (!IsObjectElement(item) || item == target)
			return false;
		if (IsWithin(target, static_cast<BaseObject*>(item)))
			return false;
	}
	return true;
}

bool PassesMaterialRule(const AtomArray* arr, BaseMaterial* target)
{
	for (Int32 i = 0; i < arr->GetCount(); ++i)
	{
		auto* item = static_cast<BaseList2D*>(arr->GetIndex(i));
		if (!IsMaterialElement(item) || item == target)
			return false;
	}
	return true;
}

} // namespace

Int32 MyTreeViewFunctions::GetDragType(void*, void*, void* obj)
{
	BaseList2D* element = obj ? Entry(obj)->Resolve() : nullptr;
	if (!element || IsObjectElement(element) || IsMaterialElement(element))
		return DRAGTYPE_ATOMARRAY;
	return NOTOK;
}

Int32 MyTreeViewFunctions::DragStart(void*, void*, void*)
{
	return TREEVIEW_DRAGSTART_ALLOW | TREEVIEW_DRAGSTART_SELECT;
}

void MyTreeViewFunctions::DragNotify(void*, void*)
{
	SetBusy(1);
	if (ownDrag)
		*ownDrag = 1;
}

void MyTreeViewFunctions::GenerateDragArray(void*, void*, void* obj, AtomArray* arr)
{
	BaseList2D* element = obj && arr ? Entry(obj)->Resolve() : nullptr;
	if (!element)
		return;
	if (clickColumn == 0 && (IsObjectElement(element) || IsMaterialElement(element)))
		arr->Append(element);
	else if (clickColumn == 4 && IsObjectElement(element))
		for (BaseTag* tag = static_cast<BaseObject*>(element)->GetFirstTag(); tag; tag = tag->GetNext())
			if (tag->GetInfo() != 0 && tag->GetNBit(NBIT_ACTIVE))
				arr->Append(tag);
}

Int32 MyTreeViewFunctions::AcceptDragObject(void*, void*, void* obj, Int32 dragType, void* dragObject, bool& allowCopy)
{
	if (dragType != DRAGTYPE_ATOMARRAY || !dragObject)
		return 0;
	auto* arr = static_cast<AtomArray*>(dragObject);
	BaseList2D* target = obj ? Entry(obj)->Resolve() : nullptr;
	if (IsObjectElement(target))
	{
		if (clickColumn == 4)
			return INSERT_BEFORE;
		if (clickColumn == 0 && !PassesObjectRule(arr, static_cast<BaseObject*>(target)))
			return 0;
	}
	else if (IsMaterialElement(target))
	{
		if (clickColumn != 0 || PassesMaterialRule(arr, static_cast<BaseMaterial*>(target)))
			return INSERT_BEFORE | INSERT_AFTER;
		return 0;
	}
	allowCopy = true;
	return INSERT_BEFORE | INSERT_AFTER | INSERT_UNDER;
}

void MyTreeViewFunctions::InsertObject(void*, void*, void* obj, Int32 dragType, void* dragObject, Int32 insertMode, bool)
{
	if (clickColumn != 0 || dragType != DRAGTYPE_ATOMARRAY || !dragObject || !obj)
		return;
	auto* arr = static_cast<AtomArray*>(dragObject);
	PNode* targetEntry = Entry(obj);
	for (Int32 i = 0; i < arr->GetCount(); ++i)
	{
		auto* item = static_cast<BaseList2D*>(arr->GetIndex(i));
		// The target is looked up for every item: an earlier move may have changed the scene.
		BaseList2D* target = targetEntry->Resolve();
		if (IsObjectElement(item) && IsObjectElement(target))
		{
			auto* p = static_cast<BaseObject*>(item);
			auto* t = static_cast<BaseObject*>(target);
			if (p == t)
				continue;
			// Before, under or after its own descendant would take the object out of the scene
			// with its whole subtree; such a drop is refused whichever way it arrives.
			if (IsWithin(t, p))
				continue;
			const Matrix mg = p->GetMg();
			p->Remove();
			if (insertMode == INSERT_BEFORE)
				p->InsertBefore(t);
			else if (insertMode == INSERT_UNDER)
			{
				p->InsertUnder(t);
				targetEntry->opened = 1;
			}
			else
				p->InsertAfter(t);
			p->SetMg(mg);
			targetEntry->opened = 1;
		}
		else if (IsMaterialElement(item) && IsMaterialElement(target))
		{
			auto* m = static_cast<BaseMaterial*>(item);
			auto* l = static_cast<BaseMaterial*>(target);
			if (m == l)
				continue;
			if (insertMode == INSERT_BEFORE)
			{
				if (l->GetPred())
				{
					m->Remove();
					m->InsertBefore(l);
				}
			}
			else
			{
				m->Remove();
				m->InsertAfter(l);
			}
		}
		else
			break;
	}
	EventAdd();
}
