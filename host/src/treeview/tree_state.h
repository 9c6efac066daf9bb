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
	// The header's cells (drawn only when the walk draws).
	std::vector<TreeCell> header;
	// The rows the gadget shows: from topRow, shownRows of them (all when the gadget has no size).
	Int32 topRow = 0;
	Int32 shownRows = 0;
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
	std::map<Int32, std::string> headerTexts;
	TreeArea area;
	Int64 refreshes = 0;
	// The first row shown. A selection the host made scrolls there at the next walk when the
	// adapter allows it; the entry is found again by its identity.
	Int32 topRow = 0;
	bool scrollPending = false;
	Int64 scrollTo = 0;
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

enum class TreeDraw
{
	None,  // lay out only
	All,   // header and every row
	Shown, // header and the rows the gadget shows (a picture)
};

// Walks the adapter: rows (open entries' children included), identities, column widths, check
// columns, heights, and the rows the gadget shows. Drawing keeps every draw call with its cell.
void WalkTree(TreeState& tree, TreeDraw draw, TreeLayout* out);
// Draws the header and the rows (all, or the shown ones) of a layout the walk made.
void DrawTree(TreeState& tree, TreeLayout& layout, bool shownOnly);
// After the host selected an entry: the tree scrolls to it at the next walk, if the adapter wants.
void ScrollToEntry(TreeState& tree, void* entry);

} // namespace standin::dialogs
