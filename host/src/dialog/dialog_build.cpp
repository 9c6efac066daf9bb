// The layout-building calls a dialog makes in CreateLayout: groups and the gadgets inside them, in
// the order they are added. A gadget ID used twice keeps the first (the host finds gadgets by ID).
#include <algorithm>

#include "dialog/dialog_state.h"
#include "dialog/dialog_resource.h"

using namespace standin::dialogs;

namespace
{

// Sizes a layout asks for are kept within what a screen could show, so that sums of them (a row of
// many wide gadgets) never overflow.
constexpr Int32 kMaxSize = 16384;

Int32 Size(Int32 v)
{
	return std::clamp<Int32>(v, 0, kMaxSize);
}

bool Add(GeDialog* dialog, Int32 id, GadgetKind kind, Int32 flags, Int32 w, Int32 h, const String& caption)
{
	DialogState* state = Find(dialog);
	if (!state)
		return false;
	Gadget g;
	g.id = id;
	g.kind = kind;
	g.flags = flags;
	g.initW = Size(w);
	g.initH = Size(h);
	g.caption = caption.Get();
	switch (kind)
	{
		case GadgetKind::CheckBox: g.value = GeData(false); break;
		case GadgetKind::ComboBox:
		case GadgetKind::RadioGroup: g.value = GeData(Int32(0)); break;
		case GadgetKind::EditText: g.value = GeData(String()); break;
		default: break;
	}
	AddGadget(*state, std::move(g));
	return true;
}

} // namespace

void GeDialog::SetTitle(const String& title)
{
	if (DialogState* state = Find(this))
		state->title = title.Get();
}

bool GeDialog::GroupBegin(Int32 id, Int32 flags, Int32 cols, Int32 rows, const String& title, Int32 groupFlags, Int32 initW, Int32 initH)
{
	(void)groupFlags;
	DialogState* state = Find(this);
	if (!state)
		return false;
	Gadget g;
	g.id = id;
	g.kind = GadgetKind::Group;
	g.flags = flags;
	g.cols = cols;
	g.rows = rows;
	g.caption = title.Get();
	g.initW = Size(initW);
	g.initH = Size(initH);
	const int index = AddGadget(*state, std::move(g));
	state->groupStack.push_back(index);
	return true;
}

bool GeDialog::GroupEnd()
{
	DialogState* state = Find(this);
	if (!state || state->groupStack.empty())
		return false;
	state->groupStack.pop_back();
	return true;
}

bool GeDialog::GroupBorder(Int32 borderType)
{
	DialogState* state = Find(this);
	if (!state || state->groupStack.empty())
		return false;
	state->gadgets[state->groupStack.back()].border = borderType;
	return true;
}

bool GeDialog::GroupBorderSpace(Int32 left, Int32 top, Int32 right, Int32 bottom)
{
	DialogState* state = Find(this);
	if (!state || state->groupStack.empty())
		return false;
	Gadget& g = state->gadgets[state->groupStack.back()];
	g.borderSpace[0] = Size(left);
	g.borderSpace[1] = Size(top);
	g.borderSpace[2] = Size(right);
	g.borderSpace[3] = Size(bottom);
	return true;
}

bool GeDialog::GroupSpace(Int32 spaceX, Int32 spaceY)
{
	(void)spaceX;
	(void)spaceY;
	return Find(this) != nullptr;
}

bool GeDialog::AddButton(Int32 id, Int32 flags, Int32 initW, Int32 initH, const String& name)
{
	return Add(this, id, GadgetKind::Button, flags, initW, initH, name);
}

bool GeDialog::AddCheckbox(Int32 id, Int32 flags, Int32 initW, Int32 initH, const String& name)
{
	return Add(this, id, GadgetKind::CheckBox, flags, initW, initH, name);
}

bool GeDialog::AddStaticText(Int32 id, Int32 flags, Int32 initW, Int32 initH, const String& name, Int32 borderStyle)
{
	(void)borderStyle;
	return Add(this, id, GadgetKind::StaticText, flags, initW, initH, name);
}

bool GeDialog::AddEditText(Int32 id, Int32 flags, Int32 initW, Int32 initH)
{
	return Add(this, id, GadgetKind::EditText, flags, initW, initH, String());
}

bool GeDialog::AddComboBox(Int32 id, Int32 flags, Int32 initW, Int32 initH)
{
	return Add(this, id, GadgetKind::ComboBox, flags, initW, initH, String());
}

bool GeDialog::AddRadioGroup(Int32 id, Int32 flags, Int32 columns, Int32 rows)
{
	if (!Add(this, id, GadgetKind::RadioGroup, flags, 0, 0, String()))
		return false;
	DialogState* state = Find(this);
	state->gadgets.back().cols = columns;
	state->gadgets.back().rows = rows;
	return true;
}

bool GeDialog::AddChild(Int32 id, Int32 subId, const String& child)
{
	DialogState* state = Find(this);
	if (!state)
		return false;
	const int index = FindGadget(*state, id);
	if (index < 0)
		return false;
	Gadget& g = state->gadgets[index];
	if (g.kind != GadgetKind::ComboBox && g.kind != GadgetKind::RadioGroup)
		return false;
	g.children.push_back({subId, child.Get()});
	state->layoutDirty = true;
	return true;
}

bool GeDialog::AddUserArea(Int32 id, Int32 flags, Int32 initW, Int32 initH)
{
	return Add(this, id, GadgetKind::UserArea, flags, initW, initH, String());
}

bool GeDialog::AttachUserArea(GeUserArea& area, Int32 id)
{
	DialogState* state = Find(this);
	AreaState* as = FindArea(&area);
	if (!state || !as)
		return false;
	const int index = FindGadget(*state, id);
	if (index < 0 || state->gadgets[index].kind != GadgetKind::UserArea)
		return false;
	state->gadgets[index].area = &area;
	as->dialog = this;
	as->gadgetId = id;
	state->layoutDirty = true;
	return true;
}

void* GeDialog::AddCustomGui(Int32 id, Int32 pluginId, const String& name, Int32 flags, Int32 initW, Int32 initH, const BaseContainer& settings)
{
	(void)settings;
	DialogState* state = Find(this);
	if (!state)
		return nullptr;
	GadgetKind kind;
	switch (pluginId)
	{
		case CUSTOMGUI_QUICKTAB: kind = GadgetKind::QuickTab; break;
		case CUSTOMGUI_TREEVIEW: kind = GadgetKind::TreeView; break;
		case CUSTOMGUI_LINKBOX: kind = GadgetKind::LinkBox; break;
		default: return nullptr;
	}
	if (!Add(this, id, kind, flags, initW, initH, name))
		return nullptr;
	return FinishCustomGui(*state, static_cast<int>(state->gadgets.size()) - 1);
}

void* GeDialog::FindCustomGui(Int32 id, Int32 pluginId)
{
	DialogState* state = Find(this);
	if (!state)
		return nullptr;
	const int index = FindGadget(*state, id);
	if (index < 0)
		return nullptr;
	Gadget& g = state->gadgets[index];
	if (pluginId == CUSTOMGUI_TREEVIEW && g.kind == GadgetKind::TreeView)
		return CustomGuiHandle(g);
	if (pluginId == CUSTOMGUI_QUICKTAB && g.kind == GadgetKind::QuickTab)
		return CustomGuiHandle(g);
	if (pluginId == CUSTOMGUI_LINKBOX && g.kind == GadgetKind::LinkBox)
		return CustomGuiHandle(g);
	return nullptr;
}

bool GeDialog::LoadDialogResource(Int32 id, void* resource, Int32 flags)
{
	(void)flags;
	DialogState* state = Find(this);
	if (!state)
		return false;
	return BuildDialogResource(*this, *state, id, static_cast<const GeResource*>(resource));
}
