// Opening and closing: a non-modal dialog builds its layout and values each time it opens and stays
// until it is asked to close; a modal one builds, takes the answer queued for it (the actions a user
// takes in it), and returns the result it was closed with. Nothing queued cancels it.
#include "dialog/dialog_state.h"
#include "dialog/modal_answers.h"
#include "standin/console.h"

namespace standin::dialogs
{

namespace
{

// Builds layout and values afresh; false when the dialog refuses either.
bool Build(DialogState& state)
{
	state.gadgets.clear();
	state.groupStack.clear();
	state.layoutDirty = true;
	if (!state.dialog->CreateLayout())
		return false;
	// Groups a layout left open are closed for it.
	state.groupStack.clear();
	if (!state.dialog->InitValues())
		return false;
	return true;
}

void Destroy(DialogState& state)
{
	state.open = false;
	state.dialog->DestroyWindow();
	// The gadgets go with the window; user areas stay the plug-in's.
	state.gadgets.clear();
	state.layoutDirty = true;
}

} // namespace

bool OpenState(DialogState& state, Int32 type, Int32 pluginId, Int32 x, Int32 y, Int32 w, Int32 h, Int32 subId)
{
	if (state.open)
		return true; // brought to the front
	state.type = type;
	state.pluginId = pluginId;
	state.subId = subId;
	state.x = x;
	state.y = y;
	state.w = w;
	state.h = h;
	state.modal = type == DLG_TYPE_MODAL;
	state.open = true;
	state.everOpened = true;
	++state.openCount;
	if (!Build(state))
	{
		Destroy(state);
		return false;
	}
	Layout(state);
	if (state.modal)
	{
		state.modalResult = false;
		RunModalAnswer(state);
		if (Find(state.dialog) && state.open)
			Destroy(state); // nothing closed it: cancelled
	}
	return true;
}

bool CloseState(DialogState& state)
{
	if (!state.open)
		return false;
	Destroy(state);
	return true;
}

bool AskClose(GeDialog* dialog, std::string* error)
{
	DialogState* state = Find(dialog);
	if (!state || !state->open)
	{
		*error = "the dialog is not open";
		return false;
	}
	if (state->dialog->AskClose())
	{
		*error = "the dialog refused to close";
		return false;
	}
	Destroy(*state);
	return true;
}

std::vector<GeDialog*> OpenDialogs()
{
	std::vector<GeDialog*> out;
	for (DialogState* state : All())
		if (state->open && !state->modal)
			out.push_back(state->dialog);
	return out;
}

GeDialog* FindOpenDialog(Int32 pluginId)
{
	for (DialogState* state : All())
		if (state->open && !state->modal && state->pluginId == pluginId)
			return state->dialog;
	return nullptr;
}

Int64 OpenCount(const GeDialog* dialog)
{
	const DialogState* state = Find(dialog);
	return state ? state->openCount : 0;
}

std::string Title(const GeDialog* dialog)
{
	const DialogState* state = Find(dialog);
	return state ? state->title : std::string();
}

namespace
{

// Each core message the host sends carries the serial of its sending; only the current one checks.
constexpr Int32 kCoreSerialKey = HostFourCC("hcsn");
Int32 g_coreSerial = 0;

} // namespace

void SendCoreChange()
{
	g_coreSerial = g_coreSerial == 0x7fffffff ? 1 : g_coreSerial + 1;
	for (GeDialog* dialog : OpenDialogs())
	{
		if (!Find(dialog))
			continue;
		BaseContainer msg(EVMSG_CHANGE);
		msg.SetInt32(kCoreSerialKey, g_coreSerial);
		dialog->CoreMessage(EVMSG_CHANGE, msg);
	}
}

bool CheckCore(const BaseContainer& msg)
{
	return g_coreSerial != 0 && msg.GetId() == EVMSG_CHANGE && msg.GetInt32(kCoreSerialKey) == g_coreSerial;
}

} // namespace standin::dialogs

using namespace standin::dialogs;

bool GeDialog::Open(Int32 type, Int32 pluginId, Int32 x, Int32 y, Int32 w, Int32 h, Int32 subId)
{
	DialogState* state = Find(this);
	if (!state)
		return false;
	if (type != DLG_TYPE_ASYNC && type != DLG_TYPE_MODAL)
		return false;
	const bool ok = OpenState(*state, type, pluginId, x, y, w, h, subId);
	if (type == DLG_TYPE_MODAL)
		return ok && state->modalResult;
	return ok;
}

bool GeDialog::RestoreLayout(Int32 pluginId, Int32 subId, void* secret)
{
	// The saved layout's place is the host's; the window itself opens as it would by command.
	(void)secret;
	DialogState* state = Find(this);
	return state && OpenState(*state, DLG_TYPE_ASYNC, pluginId, -1, -1, 0, 0, subId);
}

bool GeDialog::Close()
{
	DialogState* state = Find(this);
	return state && CloseState(*state);
}

bool GeDialog::IsOpen() const
{
	const DialogState* state = Find(this);
	return state && state->open;
}

bool GeModalDialog::Open(Int32 x, Int32 y, Int32 w, Int32 h)
{
	return GeDialog::Open(DLG_TYPE_MODAL, 0, x, y, w, h, 0);
}

bool GeModalDialog::Close(bool result)
{
	DialogState* state = Find(this);
	if (!state || !state->open)
		return false;
	state->modalResult = result;
	return CloseState(*state);
}

bool CheckCoreMessage(const BaseContainer& msg)
{
	return standin::dialogs::CheckCore(msg);
}
