// Lays a dialog out: every gadget's size from its kind, caption and initial size (hidden gadgets take
// no room), groups as grids of their shown members, then positions top-down. Deterministic, so the
// click positions and pictures of a script are the same on every machine.
#include <algorithm>
#include <cstdint>

#include "dialog/dialog_state.h"
#include "treeview/tree_state.h"

namespace standin::dialogs
{

namespace
{

constexpr Int32 kSpace = 4;
constexpr Int32 kTitle = 14;
constexpr Int32 kFrame = 4;

struct Size
{
	Int32 w = 0, h = 0;
};

Int32 MaxChild(const Gadget& g)
{
	Int32 w = 0;
	for (const Child& c : g.children)
		w = std::max(w, TextWidth(c.caption));
	return w;
}

std::vector<int> ShownMembers(const DialogState& state, const Gadget& g)
{
	std::vector<int> out;
	for (int m : g.members)
		if (!state.gadgets[m].hidden)
			out.push_back(m);
	return out;
}

void Grid(const Gadget& g, size_t count, Int32* cols, Int32* rows)
{
	Int32 c = g.cols > 0 ? g.cols : 0;
	if (c == 0)
		c = g.rows > 0 ? static_cast<Int32>((count + g.rows - 1) / g.rows) : 1;
	// A column with no member takes no room, so a grid never has more columns than shown members:
	// a group asking for two billion columns lays out like one asking for as many as it holds.
	c = std::clamp<Int32>(c, 1, static_cast<Int32>(std::max<size_t>(std::min<size_t>(count, INT32_MAX), 1)));
	*cols = c;
	*rows = static_cast<Int32>((count + c - 1) / c);
}

Size Measure(DialogState& state, int index, std::vector<Size>& sizes, int depth)
{
	Gadget& g = state.gadgets[index];
	Size s;
	if (g.hidden || depth > 256)
		return sizes[index] = s;
	switch (g.kind)
	{
		case GadgetKind::Button: s = {std::max(g.initW, TextWidth(g.caption) + 12), std::max(g.initH, 16)}; break;
		case GadgetKind::CheckBox: s = {std::max(g.initW, TextWidth(g.caption) + 20), std::max(g.initH, 16)}; break;
		case GadgetKind::StaticText: s = {std::max(g.initW, TextWidth(g.caption)), std::max(g.initH, 14)}; break;
		case GadgetKind::EditText: s = {std::max(g.initW, 80), std::max(g.initH, 16)}; break;
		case GadgetKind::ComboBox: s = {std::max(g.initW, MaxChild(g) + 24), std::max(g.initH, 16)}; break;
		case GadgetKind::LinkBox: s = {std::max(g.initW, 120), std::max(g.initH, 16)}; break;
		case GadgetKind::ListView:
		{
			// Room for its rows; the list scrolls beyond a screenful.
			const Int32 rows = static_cast<Int32>(std::min<size_t>(g.children.size(), 40));
			s = {std::max({g.initW, MaxChild(g) + 8, 100}), std::max({g.initH, rows * kListRow + 4, 60})};
			break;
		}
		case GadgetKind::RadioGroup:
		{
			Int32 cols = 1, rows = 1;
			Grid(g, g.children.size(), &cols, &rows);
			s = {cols * (MaxChild(g) + 20 + kSpace), std::max<Int32>(rows, 1) * 18};
			break;
		}
		case GadgetKind::QuickTab:
		{
			Int32 w = 0;
			for (auto& [id, caption] : TabChoices(g))
				w += TextWidth(caption) + 16;
			s = {std::max(g.initW, w), std::max(g.initH, 20)};
			break;
		}
		case GadgetKind::UserArea:
		{
			Int32 w = g.initW, h = g.initH;
			if (g.area)
			{
				Int32 mw = 0, mh = 0;
				if (g.area->GetMinSize(mw, mh))
				{
					w = std::max(w, mw);
					h = std::max(h, mh);
				}
			}
			s = {w, h};
			break;
		}
		case GadgetKind::TreeView:
		{
			Int32 w = 0, h = 0;
			if (g.tree)
				TreeMinSize(*g.tree, &w, &h);
			// The tree scrolls: its rows never make the dialog taller than the tree's own size.
			(void)h;
			s = {std::max({g.initW, w, 100}), std::max(g.initH, 100)};
			break;
		}
		case GadgetKind::Group:
		{
			std::vector<int> members = ShownMembers(state, g);
			Int32 cols = 1, rows = 1;
			Grid(g, members.size(), &cols, &rows);
			std::vector<Int32> colW(cols, 0), rowH(std::max<Int32>(rows, 1), 0);
			for (size_t i = 0; i < members.size(); ++i)
			{
				const Size m = Measure(state, members[i], sizes, depth + 1);
				colW[i % cols] = std::max(colW[i % cols], m.w);
				rowH[i / cols] = std::max(rowH[i / cols], m.h);
			}
			Int32 w = 0, h = 0;
			for (Int32 v : colW)
				w += v;
			for (Int32 v : rowH)
				h += v;
			w += kSpace * std::max<Int32>(cols - 1, 0);
			h += kSpace * std::max<Int32>(static_cast<Int32>(rowH.size()) - 1, 0);
			w += g.borderSpace[0] + g.borderSpace[2];
			h += g.borderSpace[1] + g.borderSpace[3];
			if (g.border != BORDER_NONE || !g.caption.empty())
			{
				w += 2 * kFrame;
				h += 2 * kFrame + (g.caption.empty() ? 0 : kTitle);
			}
			s = {std::max(g.initW, w), std::max(g.initH, h)};
			break;
		}
	}
	return sizes[index] = s;
}

void Place(DialogState& state, int index, Int32 x, Int32 y, const std::vector<Size>& sizes, int depth)
{
	Gadget& g = state.gadgets[index];
	g.rect = {x, y, sizes[index].w, sizes[index].h};
	if (g.kind != GadgetKind::Group || g.hidden || depth > 256)
		return;
	std::vector<int> members = ShownMembers(state, g);
	Int32 cols = 1, rows = 1;
	Grid(g, members.size(), &cols, &rows);
	std::vector<Int32> colW(cols, 0), rowH(std::max<Int32>(rows, 1), 0);
	for (size_t i = 0; i < members.size(); ++i)
	{
		colW[i % cols] = std::max(colW[i % cols], sizes[members[i]].w);
		rowH[i / cols] = std::max(rowH[i / cols], sizes[members[i]].h);
	}
	Int32 left = x + g.borderSpace[0];
	Int32 top = y + g.borderSpace[1];
	if (g.border != BORDER_NONE || !g.caption.empty())
	{
		left += kFrame;
		top += kFrame + (g.caption.empty() ? 0 : kTitle);
	}
	for (size_t i = 0; i < members.size(); ++i)
	{
		Int32 cx = left, cy = top;
		for (size_t c = 0; c < i % cols; ++c)
			cx += colW[c] + kSpace;
		for (size_t r = 0; r < i / cols; ++r)
			cy += rowH[r] + kSpace;
		Place(state, members[i], cx, cy, sizes, depth + 1);
	}
}

} // namespace

void Layout(DialogState& state)
{
	std::vector<Size> sizes(state.gadgets.size());
	// Top-level gadgets stand one below the other.
	Int32 y = kSpace, w = 0;
	std::vector<int> top;
	for (size_t i = 0; i < state.gadgets.size(); ++i)
		if (state.gadgets[i].parent < 0)
			top.push_back(static_cast<int>(i));
	for (int i : top)
		Measure(state, i, sizes, 0);
	for (size_t i = 0; i < state.gadgets.size(); ++i)
		state.gadgets[i].rect = Rect();
	for (int i : top)
	{
		if (state.gadgets[i].hidden)
			continue;
		Place(state, i, kSpace, y, sizes, 0);
		y += sizes[i].h + kSpace;
		w = std::max(w, sizes[i].w);
	}
	state.width = std::max(w + 2 * kSpace, state.w);
	state.height = std::max(y, state.h);
	state.layoutDirty = false;
}

} // namespace standin::dialogs
