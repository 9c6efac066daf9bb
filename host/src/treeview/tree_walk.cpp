// Walking a tree adapter: depth first through open entries, without recursion (a deep hierarchy
// cannot exhaust the stack) and stopping at an entry met twice (an adapter whose answers loop).
#include <unordered_set>

#include "standin/bitmaps.h"
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

} // namespace

void WalkTree(TreeState& tree, bool draw, TreeLayout* out, Int32 drawBelow)
{
	*out = TreeLayout();
	TreeViewFunctions* fn = tree.functions;
	for (size_t i = 0; i < tree.layout.size(); ++i)
	{
		TreeColumn c;
		c.id = tree.layout[i].first;
		c.kind = tree.layout[i].second;
		out->columns.push_back(c);
		if (out->treeColumn < 0 && (c.kind == LV_TREE || c.kind == LV_USERTREE))
			out->treeColumn = static_cast<Int32>(i);
	}
	if (out->treeColumn < 0 && !out->columns.empty())
		out->treeColumn = 0;
	if (!fn)
		return;
	void* root = tree.root;
	void* ud = tree.userdata;

	std::unordered_set<void*> seen;
	std::vector<Pending> stack;
	if (void* first = fn->GetFirst(root, ud))
	{
		// Siblings go on the stack last-first so they come off in order.
		std::vector<Pending> level;
		for (void* e = first; e && level.size() < kMaxRows; e = fn->GetNext(root, ud, e))
		{
			if (!seen.insert(e).second)
				break;
			level.push_back({e, 0});
		}
		stack.insert(stack.end(), level.rbegin(), level.rend());
	}
	while (!stack.empty() && out->rows.size() < kMaxRows)
	{
		const Pending p = stack.back();
		stack.pop_back();
		TreeRow row;
		row.entry = p.entry;
		row.depth = p.depth;
		row.opened = fn->IsOpened(root, ud, p.entry);
		row.selected = fn->IsSelected(root, ud, p.entry);
		row.name = fn->GetName(root, ud, p.entry).Get();
		void* down = fn->GetDown(root, ud, p.entry);
		row.hasChildren = down != nullptr;
		out->rows.push_back(std::move(row));
		if (down && out->rows.back().opened)
		{
			std::vector<Pending> level;
			for (void* e = down; e && level.size() < kMaxRows; e = fn->GetNext(root, ud, e))
			{
				if (!seen.insert(e).second)
					break;
				level.push_back({e, p.depth + 1});
			}
			stack.insert(stack.end(), level.rbegin(), level.rend());
		}
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
			if (draw && row.y < drawBelow)
			{
				if (c.kind == LV_TREE)
				{
					DrawOp op;
					op.kind = DrawOp::Text;
					op.x1 = cell.x;
					op.y1 = cell.y + (cell.h - kFontHeight) / 2;
					op.colour = row.selected ? COLOR_TEXT_SELECTED : COLOR_TEXT;
					op.text = row.name;
					cell.ops.push_back(std::move(op));
				}
				else if (AreaState* as = FindArea(area))
				{
					as->target = &cell.ops;
					DrawInfo info;
					info.frame = area;
					info.xpos = cell.x;
					info.ypos = cell.y;
					info.width = cell.w;
					info.height = cell.h;
					info.line = static_cast<Int32>(r);
					fn->DrawCell(root, ud, row.entry, c.id, &info, GeData(Int32(COLOR_BG)));
					as->target = nullptr;
				}
			}
			row.cells.push_back(std::move(cell));
		}
	}
}

} // namespace standin::dialogs
