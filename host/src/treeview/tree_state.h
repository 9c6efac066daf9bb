// The host side of a tree gadget: the adapter and root the plug-in handed over, the column layout,
// and the rows as the last walk laid them out. Rows and columns are worked out again from the
// adapter's answers at every walk, so a tree that changed under the gadget is simply shown anew.
#pragma once

#include <map>
#include <memory>
#include <vector>

#include "dialog/dialog_state.h"

namespace standin::dialogs
{

// The surface the adapter's cells draw on.
class TreeArea final : public GeUserArea
{
};

struct TreeLayout
{
	std::vector<TreeColumn> columns;
	Int32 treeColumn = -1; // index of the column with the fold arrows
	Int32 headerHeight = 0;
	Int32 lineHeight = 0;
	std::vector<TreeRow> rows;
};

struct TreeState final : TreeViewCustomGui
{
	GeDialog* dialog = nullptr;
	Int32 id = 0;
	void* root = nullptr;
	TreeViewFunctions* functions = nullptr;
	void* userdata = nullptr;
	std::vector<std::pair<Int32, Int32>> layout; // column ID, kind
	std::map<Int32, Int32> setWidths;
	TreeArea area;
	Int64 refreshes = 0;
};

// The quick-tab gadget's host side: its tabs and the selected ones.
struct QuickTabState final : QuickTabCustomGui
{
	std::vector<Child> tabs;
	std::vector<Int32> selected;
};

// Indent of one level in the tree column and the fold arrow's width.
constexpr Int32 kIndent = 16;
constexpr Int32 kArrow = 12;
// Room the tree adds to every column beyond the width its adapter asks for.
constexpr Int32 kColumnGap = 12;
// A tree longer than this is shown cut (a loop in the adapter's answers ends here too).
constexpr size_t kMaxRows = 1000000;

// Walks the adapter: rows (open entries' children included), column widths, heights. With draw,
// every cell is drawn and its draw calls kept in the row.
// drawBelow: rows starting at or below this y are laid out but not drawn (a picture shows only
// what fits the gadget).
void WalkTree(TreeState& tree, bool draw, TreeLayout* out, Int32 drawBelow = 0x7fffffff);

} // namespace standin::dialogs
