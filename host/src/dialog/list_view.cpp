// The list view gadget and the SimpleListView a plug-in fills it through. The rows live with the
// gadget (its children: row ID and text), so print-dialog and pictures show them and they go when
// the dialog closes; a SimpleListView only remembers which gadget it is bound to.
#include <algorithm>
#include <map>

#include "dialog/dialog_state.h"

namespace standin::dialogs
{

namespace
{

struct Binding
{
	GeDialog* dialog = nullptr;
	Int32 id = 0;
};

std::map<const SimpleListView*, Binding>& Bindings()
{
	static auto* bindings = new std::map<const SimpleListView*, Binding>;
	return *bindings;
}

// The gadget the view is bound to, while its dialog has it.
Gadget* Bound(const SimpleListView* view, DialogState** stateOut = nullptr)
{
	auto it = Bindings().find(view);
	if (it == Bindings().end())
		return nullptr;
	DialogState* state = Find(it->second.dialog);
	const int index = state ? FindGadget(*state, it->second.id) : -1;
	if (index < 0 || state->gadgets[index].kind != GadgetKind::ListView)
		return nullptr;
	if (stateOut)
		*stateOut = state;
	return &state->gadgets[index];
}

// A row's text: its columns' texts in layout order, or the first text it has without a layout.
std::string RowText(const Gadget& g, const BaseContainer& data)
{
	std::string text;
	if (g.listColumns.empty())
	{
		Int32 key = 0;
		const GeData* value = nullptr;
		for (Int32 i = 0; data.GetIndex(i, &key, &value); ++i)
			if (value->GetType() == DA_STRING)
				return value->GetString().Get();
		return text;
	}
	for (size_t i = 0; i < g.listColumns.size(); ++i)
		text += (i ? "  " : "") + std::string(data.GetString(g.listColumns[i]).Get());
	return text;
}

} // namespace

} // namespace standin::dialogs

using namespace standin::dialogs;

bool GeDialog::AddListView(Int32 id, Int32 flags, Int32 initW, Int32 initH)
{
	DialogState* state = Find(this);
	if (!state)
		return false;
	Gadget g;
	g.id = id;
	g.kind = GadgetKind::ListView;
	g.flags = flags;
	g.initW = std::clamp<Int32>(initW, 0, 16384);
	g.initH = std::clamp<Int32>(initH, 0, 16384);
	AddGadget(*state, std::move(g));
	return true;
}

SimpleListView::SimpleListView() = default;

SimpleListView::~SimpleListView()
{
	Bindings().erase(this);
}

bool SimpleListView::AttachListView(GeDialog* dialog, Int32 id)
{
	DialogState* state = Find(dialog);
	const int index = state ? FindGadget(*state, id) : -1;
	if (index < 0 || state->gadgets[index].kind != GadgetKind::ListView)
		return false;
	Bindings()[this] = {dialog, id};
	return true;
}

bool SimpleListView::SetLayout(Int32 columns, const BaseContainer& layout)
{
	Gadget* g = Bound(this);
	if (!g)
		return false;
	g->listColumns.clear();
	Int32 key = 0;
	const GeData* kind = nullptr;
	for (Int32 i = 0; i < columns && layout.GetIndex(i, &key, &kind); ++i)
		g->listColumns.push_back(key);
	return static_cast<Int32>(g->listColumns.size()) == columns;
}

bool SimpleListView::SetItem(Int32 id, const BaseContainer& data)
{
	Gadget* g = Bound(this);
	if (!g)
		return false;
	// A list longer than any screen shows is a plug-in's runaway loop, not rows to keep.
	if (g->children.size() >= 1000000)
		return false;
	const std::string text = RowText(*g, data);
	for (Child& row : g->children)
		if (row.id == id)
		{
			row.caption = text;
			return true;
		}
	g->children.push_back({id, text});
	return true;
}

bool SimpleListView::RemoveItem(Int32 id)
{
	Gadget* g = Bound(this);
	if (!g)
		return false;
	const size_t before = g->children.size();
	std::erase_if(g->children, [id](const Child& row) { return row.id == id; });
	return g->children.size() != before;
}

Int32 SimpleListView::GetItemCount() const
{
	const Gadget* g = Bound(this);
	return g ? static_cast<Int32>(g->children.size()) : 0;
}

void SimpleListView::DataChanged()
{
	DialogState* state = nullptr;
	if (Bound(this, &state))
		state->layoutDirty = true;
}
