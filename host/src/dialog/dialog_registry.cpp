// The records of every dialog that exists, found by the dialog's address. A dialog registers when it
// is constructed and forgets its record when it is destroyed, so a stale address (a popup owner, a
// gadget's dialog) never reaches a record.
#include <algorithm>

#include "dialog/dialog_state.h"

namespace standin::dialogs
{

namespace
{

struct Registry
{
	std::vector<std::unique_ptr<DialogState>> states; // construction order
};

Registry& TheRegistry()
{
	static Registry* registry = new Registry;
	return *registry;
}

} // namespace

DialogState* Find(const GeDialog* dialog)
{
	if (!dialog)
		return nullptr;
	for (auto& state : TheRegistry().states)
		if (state->dialog == dialog)
			return state.get();
	return nullptr;
}

std::vector<DialogState*> All()
{
	std::vector<DialogState*> out;
	for (auto& state : TheRegistry().states)
		out.push_back(state.get());
	return out;
}

int FindGadget(const DialogState& state, Int32 id)
{
	for (size_t i = 0; i < state.gadgets.size(); ++i)
		if (state.gadgets[i].id == id)
			return static_cast<int>(i);
	return -1;
}

int AddGadget(DialogState& state, Gadget gadget)
{
	gadget.parent = state.groupStack.empty() ? -1 : state.groupStack.back();
	state.gadgets.push_back(std::move(gadget));
	const int index = static_cast<int>(state.gadgets.size()) - 1;
	if (state.gadgets[index].parent >= 0)
		state.gadgets[state.gadgets[index].parent].members.push_back(index);
	state.layoutDirty = true;
	return index;
}

bool IsShown(const DialogState& state, int index)
{
	for (int i = index; i >= 0; i = state.gadgets[i].parent)
		if (state.gadgets[i].hidden)
			return false;
	return index >= 0;
}

bool IsEnabledChain(const DialogState& state, int index)
{
	for (int i = index; i >= 0; i = state.gadgets[i].parent)
		if (!state.gadgets[i].enabled)
			return false;
	return index >= 0;
}

Int32 TextWidth(const std::string& text)
{
	return static_cast<Int32>(text.size()) * kCharWidth;
}

Int32 Deliver(DialogState& state, const BaseContainer& msg)
{
	BaseContainer result;
	return state.dialog->Message(msg, result);
}

const char* GadgetKindName(GadgetKind kind)
{
	switch (kind)
	{
		case GadgetKind::Group: return "group";
		case GadgetKind::Button: return "button";
		case GadgetKind::CheckBox: return "checkbox";
		case GadgetKind::StaticText: return "text";
		case GadgetKind::EditText: return "edit";
		case GadgetKind::ComboBox: return "combo";
		case GadgetKind::RadioGroup: return "radio";
		case GadgetKind::UserArea: return "userarea";
		case GadgetKind::QuickTab: return "tabs";
		case GadgetKind::TreeView: return "tree";
		case GadgetKind::LinkBox: return "link";
		case GadgetKind::ListView: return "listview";
	}
	return "?";
}

} // namespace standin::dialogs

using namespace standin::dialogs;

GeDialog::GeDialog()
{
	auto state = std::make_unique<DialogState>();
	state->dialog = this;
	TheRegistry().states.push_back(std::move(state));
}

GeDialog::~GeDialog()
{
	auto& states = TheRegistry().states;
	states.erase(std::remove_if(states.begin(), states.end(), [this](const auto& s) { return s->dialog == this; }), states.end());
}
