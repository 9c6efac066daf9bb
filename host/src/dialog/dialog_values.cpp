// Gadget values and states as the plug-in reads and writes them, drag payloads, and the mouse as
// the dialog sees it.
#include "dialog/dialog_state.h"

using namespace standin::dialogs;

namespace
{

Gadget* Get(const GeDialog* dialog, Int32 id)
{
	DialogState* state = Find(dialog);
	if (!state)
		return nullptr;
	const int index = FindGadget(*state, id);
	return index < 0 ? nullptr : &state->gadgets[index];
}

} // namespace

bool GeDialog::SetBool(Int32 id, bool value)
{
	Gadget* g = Get(this, id);
	if (!g)
		return false;
	g->value = GeData(value);
	return true;
}

bool GeDialog::SetInt32(Int32 id, Int32 value)
{
	Gadget* g = Get(this, id);
	if (!g)
		return false;
	if (g->kind == GadgetKind::QuickTab)
		return SelectTab(*g, value);
	g->value = GeData(value);
	return true;
}

bool GeDialog::SetString(Int32 id, const String& text)
{
	Gadget* g = Get(this, id);
	if (!g)
		return false;
	// Buttons and texts show the string as their caption; fields hold it as their value.
	if (g->kind == GadgetKind::Button || g->kind == GadgetKind::StaticText || g->kind == GadgetKind::CheckBox)
		g->caption = text.Get();
	else
		g->value = GeData(text);
	if (DialogState* state = Find(this))
		state->layoutDirty = true;
	return true;
}

bool GeDialog::GetBool(Int32 id, bool& value) const
{
	const Gadget* g = Get(this, id);
	if (!g)
		return false;
	value = g->value.GetBool();
	return true;
}

bool GeDialog::GetInt32(Int32 id, Int32& value) const
{
	const Gadget* g = Get(this, id);
	if (!g)
		return false;
	value = g->value.GetInt32();
	return true;
}

bool GeDialog::GetString(Int32 id, String& text) const
{
	const Gadget* g = Get(this, id);
	if (!g)
		return false;
	text = g->kind == GadgetKind::Button || g->kind == GadgetKind::StaticText ? String(g->caption) : g->value.GetString();
	return true;
}

bool GeDialog::Enable(Int32 id, bool enabled)
{
	Gadget* g = Get(this, id);
	if (!g)
		return false;
	g->enabled = enabled;
	return true;
}

bool GeDialog::IsEnabled(Int32 id) const
{
	const Gadget* g = Get(this, id);
	return g && g->enabled;
}

bool GeDialog::HideElement(Int32 id, bool hide)
{
	Gadget* g = Get(this, id);
	if (!g)
		return false;
	g->hidden = hide;
	Find(this)->layoutDirty = true;
	return true;
}

bool GeDialog::LayoutChanged(Int32 id)
{
	DialogState* state = Find(this);
	if (!state || FindGadget(*state, id) < 0)
		return false;
	state->layoutDirty = true;
	return true;
}

bool GeDialog::GetItemDim(Int32 id, Int32* x, Int32* y, Int32* w, Int32* h) const
{
	DialogState* state = Find(this);
	if (!state)
		return false;
	const int index = FindGadget(*state, id);
	if (index < 0 || !IsShown(*state, index))
		return false;
	Layout(*state);
	const Rect& r = state->gadgets[index].rect;
	*x = r.x;
	*y = r.y;
	*w = r.w;
	*h = r.h;
	return true;
}

bool GeDialog::GetDragObject(const BaseContainer& msg, Int32* type, void** object)
{
	(void)msg;
	DialogState* state = Find(this);
	if (!state || !state->dragObject)
		return false;
	*type = state->dragType;
	*object = state->dragObject;
	return true;
}

bool GeDialog::CheckDropArea(Int32 id, const BaseContainer& msg, bool horiz, bool vert)
{
	DialogState* state = Find(this);
	if (!state)
		return false;
	const int index = FindGadget(*state, id);
	if (index < 0 || !IsShown(*state, index))
		return false;
	Layout(*state);
	const Rect& r = state->gadgets[index].rect;
	const Int32 x = msg.GetInt32(BFM_DRAG_SCREENX);
	const Int32 y = msg.GetInt32(BFM_DRAG_SCREENY);
	const bool inX = x >= r.x && x < r.x + r.w;
	const bool inY = y >= r.y && y < r.y + r.h;
	return (!horiz || inX) && (!vert || inY);
}

bool GeDialog::Local2Screen(Int32* x, Int32* y) const
{
	const DialogState* state = Find(this);
	if (!state || !x || !y)
		return false;
	// The headless screen puts a dialog the host placed at (100, 100).
	*x += state->x < 0 ? 100 : state->x;
	*y += state->y < 0 ? 100 : state->y;
	return true;
}

bool GeDialog::GetInputState(Int32 device, Int32 channel, BaseContainer& result) const
{
	if (!Find(this) || device != BFM_INPUT_MOUSE)
		return false;
	const MouseState mouse = CurrentDialogInput().PollMouse(const_cast<GeDialog*>(this));
	result.SetId(BFM_INPUT);
	result.SetInt32(BFM_INPUT_DEVICE, device);
	result.SetInt32(BFM_INPUT_CHANNEL, channel);
	result.SetFloat(BFM_INPUT_X, mouse.x);
	result.SetFloat(BFM_INPUT_Y, mouse.y);
	result.SetInt32(BFM_INPUT_QUALIFIER, mouse.qualifier);
	result.SetInt32(BFM_INPUT_VALUE, mouse.down ? 1 : 0);
	return true;
}

void GeDialog::KillEvents()
{
	if (Find(this))
		CurrentDialogInput().DropEvents(this);
}

Int32 GeDialog::SendMessage(const BaseContainer& msg)
{
	DialogState* state = Find(this);
	return state ? Deliver(*state, msg) : 0;
}
