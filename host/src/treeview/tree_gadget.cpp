// The custom gadgets a dialog's layout can hold: the tree view (the interface the plug-in holds),
// the quick tabs and the link box.
#include "treeview/tree_state.h"

namespace standin::dialogs
{

namespace
{

TreeState* Tree(TreeViewCustomGui* gui) { return static_cast<TreeState*>(gui); }
const TreeState* Tree(const TreeViewCustomGui* gui) { return static_cast<const TreeState*>(gui); }
QuickTabState* Tabs(QuickTabCustomGui* gui) { return static_cast<QuickTabState*>(gui); }
const QuickTabState* Tabs(const QuickTabCustomGui* gui) { return static_cast<const QuickTabState*>(gui); }

} // namespace

void* FinishCustomGui(DialogState& state, int index)
{
	Gadget& g = state.gadgets[index];
	if (g.kind == GadgetKind::TreeView)
	{
		g.tree = std::make_shared<TreeState>();
		g.tree->dialog = state.dialog;
		g.tree->id = g.id;
		if (AreaState* as = FindArea(&g.tree->area))
		{
			as->dialog = state.dialog;
			as->gadgetId = g.id;
		}
	}
	else if (g.kind == GadgetKind::QuickTab)
		g.tabs = std::make_shared<QuickTabState>();
	else
		g.handle = std::make_shared<int>(0);
	return CustomGuiHandle(g);
}

void* CustomGuiHandle(Gadget& g)
{
	if (g.tree)
		return static_cast<TreeViewCustomGui*>(g.tree.get());
	if (g.tabs)
		return static_cast<QuickTabCustomGui*>(g.tabs.get());
	return g.handle.get();
}

void TreeMinSize(TreeState& tree, Int32* w, Int32* h)
{
	TreeLayout layout;
	WalkTree(tree, TreeDraw::None, &layout);
	Int32 width = 0;
	for (const TreeColumn& c : layout.columns)
		width += c.width;
	*w = width;
	*h = layout.headerHeight + static_cast<Int32>(layout.rows.size()) * layout.lineHeight;
}

std::vector<std::pair<Int32, std::string>> TabChoices(const Gadget& g)
{
	std::vector<std::pair<Int32, std::string>> out;
	if (g.tabs)
		for (const Child& c : g.tabs->tabs)
			out.emplace_back(c.id, c.caption);
	return out;
}

std::string SelectedTabs(const Gadget& g)
{
	std::string out;
	if (!g.tabs)
		return out;
	for (const Child& c : g.tabs->tabs)
		for (Int32 s : g.tabs->selected)
			if (s == c.id)
				out += (out.empty() ? "" : ",") + c.caption;
	return out;
}

bool SelectTab(Gadget& g, Int32 tab)
{
	if (!g.tabs)
		return false;
	for (const Child& c : g.tabs->tabs)
		if (c.id == tab)
		{
			g.tabs->selected = {tab};
			return true;
		}
	return false;
}

} // namespace standin::dialogs

using namespace standin::dialogs;

bool TreeViewCustomGui::SetLayout(Int32 columns, const BaseContainer& layout)
{
	TreeState* t = Tree(this);
	t->layout.clear();
	for (Int32 i = 0; i < layout.GetCount() && i < columns; ++i)
	{
		Int32 id = 0;
		const GeData* kind = nullptr;
		if (!layout.GetIndex(i, &id, &kind))
			break;
		t->layout.emplace_back(id, kind->GetInt32());
	}
	return static_cast<Int32>(t->layout.size()) == columns;
}

void TreeViewCustomGui::SetHeaderText(Int32 column, const String& text)
{
	Tree(this)->headerTexts[column] = text.Get();
}

bool TreeViewCustomGui::SetRoot(void* root, TreeViewFunctions* functions, void* userdata)
{
	TreeState* t = Tree(this);
	t->root = root;
	t->functions = functions;
	t->userdata = userdata;
	return true;
}

void TreeViewCustomGui::Refresh()
{
	TreeState* t = Tree(this);
	++t->refreshes;
	if (DialogState* state = Find(t->dialog))
		state->layoutDirty = true;
}

Int32 TreeViewCustomGui::GetColumnWidth(Int32 column) const
{
	TreeLayout layout;
	WalkTree(*const_cast<TreeState*>(Tree(this)), TreeDraw::None, &layout);
	for (const TreeColumn& c : layout.columns)
		if (c.id == column)
			return c.width;
	return 0;
}

void TreeViewCustomGui::SetColumnWidth(Int32 column, Int32 width)
{
	Tree(this)->setWidths[column] = std::max<Int32>(width, 0);
}

Int32 TreeViewCustomGui::GetHeight() const
{
	TreeLayout layout;
	WalkTree(*const_cast<TreeState*>(Tree(this)), TreeDraw::None, &layout);
	return layout.headerHeight + static_cast<Int32>(layout.rows.size()) * layout.lineHeight;
}

Int32 TreeViewCustomGui::GetId() const
{
	return Tree(this)->id;
}

GeDialog* TreeViewCustomGui::GetDialog() const
{
	GeDialog* d = Tree(this)->dialog;
	return Find(d) ? d : nullptr;
}

bool QuickTabCustomGui::AppendString(Int32 id, const String& text, bool selected)
{
	QuickTabState* t = Tabs(this);
	t->tabs.push_back({id, text.Get()});
	if (selected)
		t->selected.push_back(id);
	return true;
}

bool QuickTabCustomGui::IsSelected(Int32 id) const
{
	for (Int32 s : Tabs(this)->selected)
		if (s == id)
			return true;
	return false;
}

void QuickTabCustomGui::Select(Int32 id, bool selected)
{
	QuickTabState* t = Tabs(this);
	std::erase(t->selected, id);
	if (selected)
		t->selected.push_back(id);
}
