// Walking a tree adapter: depth first through open entries, without recursion (a deep hierarchy
// cannot exhaust the stack) and stopping at an entry met twice (an adapter whose answers loop);
// entries are told apart by the identity the adapter gives them.
#include <algorithm>
#include <unordered_set>

#include "treeview/tree_state.h"

namespace standin::dialogs
{

namespace
{

struct Pending
{
	void* entry;
	Int32 depth;
};

// Siblings from first on, pushed last-first so they come off the stack in order.
void PushLevel(TreeViewFunctions* fn, TreeState& tree, void* first, Int32 depth, std::unordered_set<Int64>& seen, std::vector<Pending>& stack)
{
	std::vector<Pending> level;
	for (void* e = first; e && level.size() < kMaxRows; e = fn->GetNext(tree.root, tree.userdata, e))
	{
		if (!seen.insert(fn->GetId(tree.root, tree.userdata, e)).second)
			break;
		level.push_back({e, depth});
	}
	stack.insert(stack.end(), level.rbegin(), level.rend());
}

// How many rows the gadget has room for below its header; all rows when it was not laid out.
Int32 ShownRows(const TreeState& tree, const TreeLayout& layout)
{
	const Int32 all = static_cast<Int32>(layout.rows.size());
	const DialogState* state = Find(tree.dialog);
	const int index = state ? FindGadget(*state, tree.id) : -1;
	if (index < 0 || state->gadgets[index].rect.h <= 0 || layout.lineHeight <= 0)
		return all;
	const Int32 room = (state->gadgets[index].rect.h - layout.headerHeight) / layout.lineHeight;
	return std::min(std::max<Int32>(room, 1), all);
}

void Scroll(TreeState& tree, TreeLayout& layout)
{
	const Int32 all = static_cast<Int32>(layout.rows.size());
	layout.shownRows = ShownRows(tree, layout);
	if (tree.scrollPending)
	{
		tree.scrollPending = false;
		for (Int32 r = 0; r < all; ++r)
			if (layout.rows[r].id == tree.scrollTo)
			{
				if (r < tree.topRow)
					tree.topRow = r;
				else if (r >= tree.topRow + layout.shownRows)
					tree.topRow = r - layout.shownRows + 1;
				break;
			}
	}
	// Rows that went away never leave the gadget scrolled past its end.
	tree.topRow = std::clamp<Int32>(tree.topRow, 0, std::max<Int32>(all - layout.shownRows, 0));
	layout.topRow = tree.topRow;
}

} // namespace

void WalkTree(TreeState& tree, TreeDraw draw, TreeLayout* out)
{
	*out = TreeLayout();
	TreeViewFunctions* fn = tree.functions;
	void* root = tree.root;
	void* ud = tree.userdata;
	for (size_t i = 0; i < tree.layout.size(); ++i)
	{
		TreeColumn c;
		c.id = tree.layout[i].first;
		c.kind = tree.layout[i].second;
		c.checks = c.kind == LV_CHECKBOX || (fn && fn->IsCheckColumn(root, ud, c.id));
		out->columns.push_back(c);
		if (out->treeColumn < 0 && (c.kind == LV_TREE || c.kind == LV_USERTREE))
			out->treeColumn = static_cast<Int32>(i);
	}
	if (out->treeColumn < 0 && !out->columns.empty())
		out->treeColumn = 0;
	if (!fn)
		return;

	std::unordered_set<Int64> seen;
	std::vector<Pending> stack;
	PushLevel(fn, tree, fn->GetFirst(root, ud), 0, seen, stack);
	while (!stack.empty() && out->rows.size() < kMaxRows)
	{
		const Pending p = stack.back();
		stack.pop_back();
		TreeRow row;
		row.entry = p.entry;
		row.id = fn->GetId(root, ud, p.entry);
		row.depth = p.depth;
		row.opened = fn->IsOpened(root, ud, p.entry);
		row.selected = fn->IsSelected(root, ud, p.entry);
		row.name = fn->GetName(root, ud, p.entry).Get();
		void* down = fn->GetDown(root, ud, p.entry);
		row.hasChildren = down != nullptr;
		const bool open = row.opened;
		out->rows.push_back(std::move(row));
		if (down && open)
			PushLevel(fn, tree, down, p.depth + 1, seen, stack);
	}

	GeUserArea* area = &tree.area;
	out->headerHeight = std::max<Int32>(fn->GetMinHeaderHeight(root, ud, area), 0);
	void* firstRow = out->rows.empty() ? nullptr : out->rows.front().entry;
	const Int32 asked = fn->GetLineHeight(root, ud, firstRow, out->columns.empty() ? 0 : out->columns.front().id, area);
	out->lineHeight = asked > 0 ? asked : kFontHeight + 4;

	Int32 x = 0;
	for (size_t ci = 0; ci < out->columns.size(); ++ci)
	{
		TreeColumn& c = out->columns[ci];
		Int32 w = fn->GetHeaderColumnWidth(root, ud, c.id, area);
		for (const TreeRow& row : out->rows)
		{
			Int32 cw = fn->GetColumnWidth(root, ud, row.entry, c.id, area);
			if (static_cast<Int32>(ci) == out->treeColumn)
				cw += kIndent * row.depth + kArrow;
			w = std::max(w, cw);
		}
		// Columns stand a gap apart, as on screen; a width the plug-in set is taken as it is.
		w += kColumnGap;
		auto set = tree.setWidths.find(c.id);
		if (set != tree.setWidths.end())
			w = set->second;
		c.x = x;
		c.width = std::max<Int32>(w, 0);
		x += c.width;
	}

	for (size_t r = 0; r < out->rows.size(); ++r)
	{
		TreeRow& row = out->rows[r];
		row.y = out->headerHeight + static_cast<Int32>(r) * out->lineHeight;
		row.height = out->lineHeight;
		for (size_t ci = 0; ci < out->columns.size(); ++ci)
		{
			const TreeColumn& c = out->columns[ci];
			TreeCell cell;
			cell.column = c.id;
			cell.x = c.x;
			cell.w = c.width;
			if (static_cast<Int32>(ci) == out->treeColumn)
			{
				const Int32 indent = kIndent * row.depth + kArrow;
				cell.x += indent;
				cell.w = std::max<Int32>(c.width - indent, 0);
			}
			cell.y = row.y;
			cell.h = row.height;
			row.cells.push_back(std::move(cell));
		}
	}
	Scroll(tree, *out);
	if (draw != TreeDraw::None)
		DrawTree(tree, *out, draw == TreeDraw::Shown);
}

void ScrollToEntry(TreeState& tree, void* entry)
{
	if (!tree.functions || !entry || !tree.functions->ScrollToSelection(tree.root, tree.userdata))
		return;
	tree.scrollPending = true;
	tree.scrollTo = tree.functions->GetId(tree.root, tree.userdata, entry);
}

} // namespace standin::dialogs
