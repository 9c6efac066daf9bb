// What the user does in the held tree: selecting, the clicks of the five columns, input events,
// renaming, removal and the scene selection that follows the tree's.
#include "ElementSearch.h"
#include "MyTreeViewFunctions.h"

namespace
{

PNode* Entry(void* obj) { return static_cast<PNode*>(obj); }

Int32 NextMode(Int32 mode)
{
	switch (mode)
	{
		case 0: return 1;
		case 1: return 2;
		default: return 0;
	}
}

bool HasEnableSwitch(const BaseObject* object)
{
	return (object->GetInfo() & (1 | 4 | 8 | 32)) != 0;
}

void SetActive(BaseList2D* element, bool on)
{
	if (!IsObjectElement(element) && !IsMaterialElement(element))
		return;
	if (on)
		element->SetBit(1u << NBIT_ACTIVE);
	else
		element->DelBit(1u << NBIT_ACTIVE);
}

// The next object after op in a depth-first walk of op's subtree below `top`; nullptr at its end.
BaseObject* NextBelow(BaseObject* op, BaseObject* top)
{
	if (BaseObject* down = op->GetDown())
		return down;
	while (op && op != top)
	{
		if (BaseObject* next = op->GetNext())
			return next;
		op = op->GetUp();
	}
	return nullptr;
}

} // namespace

void MyTreeViewFunctions::Select(void* root, void*, void* obj, Int32 mode)
{
	if (clickColumn != 0 || !obj)
		return;
	PNode* entry = Entry(obj);
	if (mode == SELECTION_TREE_NEW)
	{
		ForEachEntry(static_cast<PNode*>(root)->FirstChild(), [&](PNode* e) {
			e->selected = 0;
			if (syncSelection)
				SetActive(e->Resolve(), false);
			return true;
		});
		entry->selected = 1;
		if (syncSelection)
			SetActive(entry->Resolve(), true);
	}
	else if (mode == SELECTION_TREE_ADD)
	{
		entry->selected = 1;
		if (syncSelection)
			SetActive(entry->Resolve(), true);
	}
	else if (mode == SELECTION_TREE_SUB)
	{
		entry->selected = 0;
		if (syncSelection)
			SetActive(entry->Resolve(), false);
	}
	EventAdd();
}

void MyTreeViewFunctions::SelectionChanged(void* root, void*)
{
	if (!syncSelection || !root)
		return;
	ForEachEntry(static_cast<PNode*>(root)->FirstChild(), [&](PNode* e) {
		BaseList2D* element = e->selected ? e->Resolve() : nullptr;
		if ((IsObjectElement(element) || IsMaterialElement(element)) && !element->GetNBit(NBIT_ACTIVE))
			SetActive(element, true);
		return true;
	});
}

bool MyTreeViewFunctions::InputEvent(void*, void*, TreeViewCustomGui* gadget, const BaseContainer& msg)
{
	const Int32 device = msg.GetInt32(BFM_INPUT_DEVICE);
	const Int32 channel = msg.GetInt32(BFM_INPUT_CHANNEL);
	const Int32 qualifier = msg.GetInt32(BFM_INPUT_QUALIFIER);
	GeDialog* dialog = gadget ? gadget->GetDialog() : nullptr;
	popupOwner = dialog;
	ctrlHeld = (qualifier & QCTRL) ? 1 : 0;
	shiftHeld = (qualifier & QSHIFT) ? 1 : 0;
	if (device != BFM_INPUT_MOUSE || !dialog)
		return false;
	BaseContainer action(BFM_ACTION);
	action.SetInt32(BFM_ACTION_ID, gadget->GetId());
	action.SetInt32(BFM_ACTION_VALUE, 0);
	if (channel == BFM_INPUT_MOUSELEFT && trackDrag)
	{
		const Float startX = msg.GetFloat(BFM_INPUT_X);
		const Float startY = msg.GetFloat(BFM_INPUT_Y);
		BaseContainer state;
		// The drag ends with the button; a host that cannot tell ends it at once.
		while (dialog->GetInputState(BFM_INPUT_MOUSE, BFM_INPUT_MOUSELEFT, state) && state.GetInt32(BFM_INPUT_VALUE) != 0)
		{
			const Float x = state.GetFloat(BFM_INPUT_X);
			const Float y = state.GetFloat(BFM_INPUT_Y);
			if (x != startX || y != startY)
			{
				if (dragDistance)
					*dragDistance = static_cast<Int32>(x - startX);
				gadget->Refresh();
				action.SetInt32(BFM_ACTION_INDRAG, 1);
				dialog->SendMessage(action);
			}
			if (!dialog->IsOpen())
				break;
		}
	}
	return false;
}

bool MyTreeViewFunctions::MouseDown(void*, void*, void* obj, Int32 column, MouseInfo* info, bool)
{
	clickColumn = 1;
	PNode* entry = Entry(obj);
	BaseList2D* element = entry ? entry->Resolve() : nullptr;
	if (!element || !info)
		return false;
	const Int32 x = static_cast<Int32>(info->mx);
	const Int32 y = static_cast<Int32>(info->my);
	if (IsObjectElement(element))
	{
		auto* object = static_cast<BaseObject*>(element);
		switch (column)
		{
			case 100:
				clickColumn = 0;
				clickX = x;
				// The host toggles the entry after the click: mirror the state it is about to get.
				if (syncFold)
					object->SetNBit(foldBit, entry->opened == 0);
				break;
			case 101:
				clickColumn = 2;
				if (info->flag == 0)
					LayerPopup(entry, x, y);
				break;
			case 102:
			{
				clickColumn = 1;
				if (lineHeight <= 0)
					break;
				const Int32 r = ((y % lineHeight) + lineHeight) % lineHeight;
				if (r <= 8)
					CycleVisibility(object, false);
				else if (r >= 13)
					CycleVisibility(object, true);
				break;
			}
			case 103:
				clickColumn = 3;
				if (HasEnableSwitch(object))
					object->SetNBit(NBIT_DISABLED, !object->GetNBit(NBIT_DISABLED));
				break;
			case 104:
				clickColumn = 4;
				clickX = x;
				ClickTag(object, x);
				break;
			default: break;
		}
	}
	else if (IsMaterialElement(element))
	{
		entry->selected = 1;
		if (column == 100)
		{
			clickColumn = 0;
			clickX = x;
		}
	}
	EventAdd();
	return false;
}

void MyTreeViewFunctions::CycleVisibility(BaseObject* object, bool render)
{
	const Int32 mode = NextMode(render ? object->GetRenderMode() : object->GetEditorMode());
	if (render)
		object->SetRenderMode(mode);
	else
		object->SetEditorMode(mode);
	if (!ctrlHeld)
		return;
	BaseDocument* doc = object->GetDocument();
	if (doc)
		doc->StartUndo();
	for (BaseObject* op = object->GetDown() ? NextBelow(object, object) : nullptr; op; op = NextBelow(op, object))
	{
		if (doc)
			doc->AddUndo(UNDOTYPE_CHANGE, op);
		if (render)
			op->SetRenderMode(mode);
		else
			op->SetEditorMode(mode);
	}
	if (doc)
		doc->EndUndo();
}

void MyTreeViewFunctions::ClickTag(BaseObject* object, Int32 x)
{
	const Int32 offset = x - tagColumnOrigin;
	// Left of the first icon hits nothing (integer division would round it onto icon 0).
	const Int32 hit = offset < 0 ? -1 : offset / TAG_PITCH;
	bool found = false;
	Int32 k = 0;
	for (BaseTag* tag = object->GetFirstTag(); tag; tag = tag->GetNext())
	{
		if (tag->GetInfo() == 0)
			continue;
		if (k == hit)
		{
			found = true;
			tag->SetBit(1u << NBIT_ACTIVE);
			ActiveObjectManager_SetMode(2, true);
		}
		else if (!shiftHeld)
			tag->DelBit(1u << NBIT_ACTIVE);
		++k;
	}
	if (!found)
		for (BaseTag* tag = object->GetFirstTag(); tag; tag = tag->GetNext())
			tag->DelBit(1u << NBIT_ACTIVE);
}

bool MyTreeViewFunctions::DoubleClick(void*, void*, void*, Int32 column, MouseInfo*)
{
	SetBusy(0);
	return column != 100;
}

void MyTreeViewFunctions::DeletePressed(void* root, void*)
{
	if (!root)
		return;
	Int32 position = 0;
	for (PNode* entry = static_cast<PNode*>(root)->FirstChild(); entry; entry = entry->Next(), ++position)
	{
		if (!entry->selected)
			continue;
		static_cast<PNode*>(root)->children.Unlink(entry);
		if (changeMarker)
			*changeMarker = position;
		break;
	}
	SetBusy(0);
}
