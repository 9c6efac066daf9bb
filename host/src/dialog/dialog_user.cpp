// What a user sees of a dialog and does with it. A gadget that is hidden (or inside a hidden group)
// or disabled takes no clicks, as on screen; every action ends the interaction (BFM_INTERACTEND).
#include "dialog/dialog_state.h"
#include "standin/printable.h"

namespace standin::dialogs
{

namespace
{

std::string ValueText(const Gadget& g)
{
	switch (g.kind)
	{
		case GadgetKind::CheckBox: return g.value.GetBool() ? "on" : "off";
		case GadgetKind::EditText: return g.value.GetString().Get();
		case GadgetKind::ComboBox:
		case GadgetKind::RadioGroup:
			for (const Child& c : g.children)
				if (c.id == g.value.GetInt32())
					return c.caption;
			return g.value.GetType() == DA_NIL ? "" : std::to_string(g.value.GetInt32());
		case GadgetKind::QuickTab: return SelectedTabs(g);
		case GadgetKind::ListView: return g.value.GetType() == DA_NIL ? "" : std::to_string(g.value.GetInt32());
		default: return "";
	}
}

// The gadget a user can reach, or an error saying why not.
Gadget* Reach(GeDialog* dialog, Int32 id, DialogState** stateOut, std::string* error)
{
	DialogState* state = Find(dialog);
	if (!state || !state->open)
	{
		*error = "the dialog is not open";
		return nullptr;
	}
	const int index = FindGadget(*state, id);
	if (index < 0)
	{
		*error = "the dialog has no gadget " + std::to_string(id);
		return nullptr;
	}
	if (!IsShown(*state, index))
	{
		*error = "gadget " + std::to_string(id) + " is hidden";
		return nullptr;
	}
	if (!IsEnabledChain(*state, index))
	{
		*error = "gadget " + std::to_string(id) + " is disabled";
		return nullptr;
	}
	*stateOut = state;
	return &state->gadgets[index];
}

void EndInteraction(GeDialog* dialog);

void Changed(DialogState* state, Int32 id, const GeData& value)
{
	GeDialog* dialog = state->dialog;
	BaseContainer msg(BFM_ACTION);
	msg.SetInt32(BFM_ACTION_ID, id);
	msg.SetData(BFM_ACTION_VALUE, value);
	dialog->Command(id, msg);
	// The command may have closed (or even destroyed) the dialog.
	EndInteraction(dialog);
}

void EndInteraction(GeDialog* dialog)
{
	if (DialogState* still = Find(dialog); still && still->open)
	{
		BaseContainer end(BFM_INTERACTEND);
		Deliver(*still, end);
	}
}

// A click on a list view's row: the row becomes the chosen one and the dialog hears which.
bool ChooseRow(DialogState* state, Gadget& g, Int32 row, std::string* error)
{
	bool known = false;
	for (const Child& c : g.children)
		known = known || c.id == row;
	if (!known)
	{
		*error = "list " + std::to_string(g.id) + " has no row " + std::to_string(row);
		return false;
	}
	g.value = GeData(row);
	GeDialog* dialog = state->dialog;
	const Int32 id = g.id;
	BaseContainer msg(BFM_ACTION);
	msg.SetInt32(LV_SIMPLE_ITEM_ID, row);
	msg.SetInt32(BFM_ACTION_VALUE, LV_SIMPLE_SELECTIONCHANGED);
	dialog->Command(id, msg);
	EndInteraction(dialog);
	return true;
}

} // namespace

std::vector<GadgetView> Gadgets(GeDialog* dialog)
{
	std::vector<GadgetView> out;
	DialogState* state = Find(dialog);
	if (!state)
		return out;
	if (state->layoutDirty)
		Layout(*state);
	for (size_t i = 0; i < state->gadgets.size(); ++i)
	{
		const Gadget& g = state->gadgets[i];
		GadgetView v;
		v.id = g.id;
		v.kind = g.kind;
		v.caption = g.caption;
		v.value = ValueText(g);
		v.enabled = IsEnabledChain(*state, static_cast<int>(i));
		v.shown = IsShown(*state, static_cast<int>(i));
		for (int p = g.parent; p >= 0; p = state->gadgets[p].parent)
			++v.depth;
		v.x = g.rect.x;
		v.y = g.rect.y;
		v.w = g.rect.w;
		v.h = g.rect.h;
		for (const Child& c : g.children)
			v.children.emplace_back(c.id, c.caption);
		if (g.kind == GadgetKind::QuickTab)
			v.children = TabChoices(g);
		out.push_back(std::move(v));
	}
	return out;
}

bool FindGadgetView(GeDialog* dialog, Int32 id, GadgetView* view)
{
	for (GadgetView& v : Gadgets(dialog))
		if (v.id == id)
		{
			*view = std::move(v);
			return true;
		}
	return false;
}

bool Click(GeDialog* dialog, Int32 id, std::string* error)
{
	DialogState* state = nullptr;
	Gadget* g = Reach(dialog, id, &state, error);
	if (!g)
		return false;
	switch (g->kind)
	{
		case GadgetKind::Button: break;
		case GadgetKind::CheckBox: g->value = GeData(!g->value.GetBool()); break;
		default:
			*error = "gadget " + std::to_string(id) + " is a " + GadgetKindName(g->kind) + ", which a click does not change (choose or type into it)";
			return false;
	}
	Changed(state, id, g->value);
	return true;
}

bool Choose(GeDialog* dialog, Int32 id, Int32 childId, std::string* error)
{
	DialogState* state = nullptr;
	Gadget* g = Reach(dialog, id, &state, error);
	if (!g)
		return false;
	if (g->kind == GadgetKind::QuickTab)
	{
		if (!SelectTab(*g, childId))
		{
			*error = "gadget " + std::to_string(id) + " has no tab " + std::to_string(childId);
			return false;
		}
		state->layoutDirty = true;
		Changed(state, id, GeData(childId));
		return true;
	}
	if (g->kind == GadgetKind::ListView)
		return ChooseRow(state, *g, childId, error);
	if (g->kind != GadgetKind::ComboBox && g->kind != GadgetKind::RadioGroup)
	{
		*error = "gadget " + std::to_string(id) + " is a " + GadgetKindName(g->kind) + ", not a choice";
		return false;
	}
	bool known = false;
	for (const Child& c : g->children)
		known = known || c.id == childId;
	if (!known)
	{
		*error = "gadget " + std::to_string(id) + " has no choice " + std::to_string(childId);
		return false;
	}
	g->value = GeData(childId);
	Changed(state, id, g->value);
	return true;
}

bool TypeText(GeDialog* dialog, Int32 id, const std::string& text, std::string* error)
{
	DialogState* state = nullptr;
	Gadget* g = Reach(dialog, id, &state, error);
	if (!g)
		return false;
	if (g->kind != GadgetKind::EditText)
	{
		*error = "gadget " + std::to_string(id) + " is a " + GadgetKindName(g->kind) + ", not a text field";
		return false;
	}
	g->value = GeData(String(text));
	Changed(state, id, g->value);
	return true;
}

bool Drop(GeDialog* dialog, Int32 id, const std::vector<BaseList2D*>& elements, std::string* error)
{
	DialogState* state = nullptr;
	Gadget* g = Reach(dialog, id, &state, error);
	if (!g)
		return false;
	if (state->layoutDirty)
		Layout(*state);
	AtomArray* arr = AtomArray::Alloc();
	if (!arr)
	{
		*error = "out of memory";
		return false;
	}
	for (BaseList2D* e : elements)
		arr->Append(e);
	BaseContainer msg(BFM_DRAGRECEIVE);
	msg.SetInt32(BFM_DRAG_SCREENX, g->rect.x + g->rect.w / 2);
	msg.SetInt32(BFM_DRAG_SCREENY, g->rect.y + g->rect.h / 2);
	msg.SetInt32(BFM_DRAG_FINISHED, 1);
	state->dragType = DRAGTYPE_ATOMARRAY;
	state->dragObject = arr;
	Deliver(*state, msg);
	if (DialogState* still = Find(dialog))
	{
		still->dragType = 0;
		still->dragObject = nullptr;
	}
	EndInteraction(dialog);
	AtomArray::Free(arr);
	return true;
}

} // namespace standin::dialogs

namespace standin::dialogs
{

bool AreaDrawing(GeDialog* dialog, Int32 id, std::vector<DrawOp>* ops, std::string* error)
{
	DialogState* state = Find(dialog);
	if (!state || !state->open)
	{
		*error = "the dialog is not open";
		return false;
	}
	const int index = FindGadget(*state, id);
	if (index < 0 || state->gadgets[index].kind != GadgetKind::UserArea)
	{
		*error = "the dialog has no user area " + std::to_string(id);
		return false;
	}
	if (state->layoutDirty)
		Layout(*state);
	ops->clear();
	if (state->gadgets[index].area)
		DrawUserArea(*state, state->gadgets[index], ops);
	return true;
}

} // namespace standin::dialogs
