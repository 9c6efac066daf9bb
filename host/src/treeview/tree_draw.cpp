// Drawing a tree as the host's tree does: each header cell by the adapter (or the tree's own
// caption when the adapter leaves it), then in every row the check box of a check column from the
// adapter's check state, and the adapter's own drawing of each cell. Every draw call is kept with
// its cell.
#include "treeview/tree_state.h"

namespace standin::dialogs
{

namespace
{

// Where the adapter's draw calls on the tree's surface go while it draws one cell.
class DrawInto
{
public:
	DrawInto(TreeArea& area, std::vector<DrawOp>* ops) : _state(FindArea(&area))
	{
		if (_state)
			_state->target = ops;
	}
	~DrawInto()
	{
		if (_state)
			_state->target = nullptr;
	}
	DrawInto(const DrawInto&) = delete;
	DrawInto& operator=(const DrawInto&) = delete;

private:
	AreaState* _state;
};

DrawInfo Info(TreeArea& area, const TreeCell& cell, Int32 line)
{
	DrawInfo info;
	info.frame = &area;
	info.xpos = cell.x;
	info.ypos = cell.y;
	info.width = cell.w;
	info.height = cell.h;
	info.line = line;
	return info;
}

// The tree's own header cell: the background, its caption, a dark edge on the right.
void OwnHeader(TreeCell& cell, const std::string& caption)
{
	DrawOp fill;
	fill.kind = DrawOp::Rectangle;
	fill.x1 = cell.x;
	fill.y1 = cell.y;
	fill.x2 = cell.w;
	fill.y2 = cell.h;
	fill.colour = COLOR_BG;
	cell.ops.push_back(fill);
	if (!caption.empty())
	{
		DrawOp text;
		text.kind = DrawOp::Text;
		text.x1 = cell.x + 3;
		text.y1 = cell.y + (cell.h - kFontHeight) / 2;
		text.colour = COLOR_TEXT;
		text.background = COLOR_TRANS;
		text.text = caption;
		cell.ops.push_back(std::move(text));
	}
	DrawOp edge;
	edge.kind = DrawOp::Line;
	edge.x1 = edge.x2 = cell.x + cell.w - 1;
	edge.y1 = cell.y;
	edge.y2 = cell.y + cell.h - 1;
	edge.colour = COLOR_EDGEDK;
	cell.ops.push_back(edge);
}

constexpr Int32 kCheckSide = 11;

} // namespace

void DrawTree(TreeState& tree, TreeLayout& layout, bool shownOnly)
{
	TreeViewFunctions* fn = tree.functions;
	if (!fn)
		return;
	void* root = tree.root;
	void* ud = tree.userdata;

	layout.header.clear();
	if (layout.headerHeight > 0)
		for (const TreeColumn& c : layout.columns)
		{
			TreeCell cell;
			cell.column = c.id;
			cell.x = c.x;
			cell.w = c.width;
			cell.h = layout.headerHeight;
			DrawInfo info = Info(tree.area, cell, -1);
			bool drawn = false;
			{
				DrawInto into(tree.area, &cell.ops);
				drawn = fn->DrawHeaderCell(root, ud, c.id, &info);
			}
			if (!drawn)
			{
				cell.ops.clear();
				auto text = tree.headerTexts.find(c.id);
				OwnHeader(cell, text == tree.headerTexts.end() ? std::string() : text->second);
			}
			layout.header.push_back(std::move(cell));
		}

	const size_t first = shownOnly ? static_cast<size_t>(layout.topRow) : 0;
	const size_t end = shownOnly ? std::min(layout.rows.size(), first + static_cast<size_t>(layout.shownRows)) : layout.rows.size();
	for (size_t r = first; r < end; ++r)
	{
		TreeRow& row = layout.rows[r];
		for (size_t ci = 0; ci < row.cells.size() && ci < layout.columns.size(); ++ci)
		{
			const TreeColumn& c = layout.columns[ci];
			TreeCell& cell = row.cells[ci];
			if (c.checks)
			{
				const Int32 state = fn->IsChecked(root, ud, row.entry, c.id);
				if (state != 0)
				{
					DrawOp box;
					box.kind = DrawOp::Check;
					box.x1 = cell.x + (cell.w - kCheckSide) / 2;
					box.y1 = cell.y + (cell.h - kCheckSide) / 2;
					box.x2 = box.y2 = kCheckSide;
					box.mode = state;
					cell.ops.push_back(box);
				}
			}
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
			else if (c.kind != LV_CHECKBOX)
			{
				DrawInfo info = Info(tree.area, cell, static_cast<Int32>(r));
				DrawInto into(tree.area, &cell.ops);
				fn->DrawCell(root, ud, row.entry, c.id, &info, GeData(Int32(COLOR_BG)));
			}
		}
	}
}

} // namespace standin::dialogs
