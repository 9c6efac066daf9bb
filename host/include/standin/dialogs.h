// The host's dialog runtime as the session and tests drive it: what a user sees of a plug-in dialog
// (gadgets, their values and states, the tree's rows and cells as the adapter drew them) and what a
// user does with it (click, type, choose, drop, drag rows, open context menus, close). Popup menus
// and modal dialogs take their answers from an AnswerSource, which scripts fill; a live front end
// could supply its own.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "hostapi/dialog.h"

namespace standin::dialogs
{

enum class GadgetKind
{
	Group,
	Button,
	CheckBox,
	StaticText,
	EditText,
	ComboBox,
	RadioGroup,
	UserArea,
	QuickTab,
	TreeView,
	LinkBox,
	ListView,
};

const char* GadgetKindName(GadgetKind kind);

// One draw call of a user area or tree cell, in dialog pixels.
struct DrawOp
{
	enum Kind
	{
		Line,
		Rectangle,
		Text,
		Bitmap,
		Clip,
		Check, // the tree's own check box of a check column; mode holds the IsChecked answer
	};
	Kind kind = Line;
	Int32 x1 = 0, y1 = 0, x2 = 0, y2 = 0; // line ends; rectangle/clip/bitmap target (x1, y1, w = x2, h = y2)
	Int32 colour = 0;                     // pen (lines, rectangles) or text colour
	Int32 background = 0;                 // text background
	Int32 srcX = 0, srcY = 0, srcW = 0, srcH = 0;
	Int32 mode = 0;                       // bitmap flags, check state
	std::string text;                     // text, or the bitmap's file
	const BaseBitmap* bitmap = nullptr;   // valid only while the drawing lasts
	std::vector<std::uint32_t> pixels;    // bitmap pixels kept for pictures (ABGR)
	Int32 bitmapW = 0, bitmapH = 0;
};

// What a user sees of one gadget.
struct GadgetView
{
	Int32 id = 0;
	GadgetKind kind = GadgetKind::Group;
	std::string caption;
	std::string value; // as text: "on"/"off", a number, the text, the chosen child's caption
	bool enabled = true;
	bool shown = true;
	Int32 depth = 0;
	Int32 x = 0, y = 0, w = 0, h = 0;
	std::vector<std::pair<Int32, std::string>> children; // combo, radio and tab choices, list rows
};

// The dialog as print-dialog shows it: its title, then every gadget a line, indented by its
// group, as <kind> <id> "<caption>" = "<value>" [<choices>] enabled|disabled shown|hidden.
std::vector<std::string> DescribeDialog(GeDialog* dialog);

// One row of a tree as the adapter answered and drew it.
struct TreeCell
{
	Int32 column = 0;
	Int32 x = 0, y = 0, w = 0, h = 0; // tree pixels
	std::vector<DrawOp> ops;
};

struct TreeRow
{
	void* entry = nullptr;
	Int64 id = 0; // the adapter's identity of the entry
	Int32 depth = 0;
	bool opened = false;
	bool selected = false;
	bool hasChildren = false;
	std::string name;
	Int32 y = 0, height = 0; // tree pixels
	std::vector<TreeCell> cells;
};

// Where popup menus and modal dialogs get their answers. Each Take* answers false when nothing is
// queued (the menu is dismissed, the modal dialog cancelled).
class AnswerSource
{
public:
	virtual ~AnswerSource() = default;
	// A popup answer: a menu ID or a caption path ("Add to Layer/Layer 1"); "cancel" dismisses.
	virtual bool TakePopupAnswer(std::string* answer) = 0;
	// A modal dialog's answer: actions "set <id> <text>", "choose <id> <choice or row>", "click <id>" and
	// "print" (the dialog's gadgets into the shown log), in order.
	virtual bool TakeModalAnswer(std::vector<std::string>* words) = 0;
	// A question's answer: "yes" or "no".
	virtual bool TakeQuestionAnswer(std::string* answer) = 0;
};

// The source now in use (nullptr: none; menus are dismissed, modal dialogs cancelled). Answers
// the one it replaced.
AnswerSource* UseAnswerSource(AnswerSource* source);

// Each popup, message box and modal dialog shown, as a console-style line, for scripts and tests.
const std::vector<std::string>& ShownLog();
void ClearShownLog();

// ---- The dialogs a user sees ----
// The open non-modal dialogs, in opening order.
std::vector<GeDialog*> OpenDialogs();
// The open dialog with that window ID; nullptr when none.
GeDialog* FindOpenDialog(Int32 pluginId);
// How many times the dialog object was opened (so tests can see it is the same object).
Int64 OpenCount(const GeDialog* dialog);
std::string Title(const GeDialog* dialog);
// Every gadget in layout order.
std::vector<GadgetView> Gadgets(GeDialog* dialog);
bool FindGadgetView(GeDialog* dialog, Int32 id, GadgetView* view);

// ---- What a user does; each answers false with *error when the user could not do it ----
// A click on a button, check box (toggles), radio choice or tab (childId), or combo choice.
bool Click(GeDialog* dialog, Int32 id, std::string* error);
// Chooses a combo box or radio choice, a tab, or a list view's row (by its ID).
bool Choose(GeDialog* dialog, Int32 id, Int32 childId, std::string* error);
bool TypeText(GeDialog* dialog, Int32 id, const std::string& text, std::string* error);
// Drops scene elements (an atom array) at the centre of the gadget.
bool Drop(GeDialog* dialog, Int32 id, const std::vector<BaseList2D*>& elements, std::string* error);
// What a user area draws now (area coordinates).
bool AreaDrawing(GeDialog* dialog, Int32 id, std::vector<DrawOp>* ops, std::string* error);
// The host's document-changed core message to every open dialog.
void SendCoreChange();
// Asks the dialog to close (it may refuse); true when it closed.
bool AskClose(GeDialog* dialog, std::string* error);

// ---- Trees ----
// Walks the adapter again, lays out rows and columns, and draws every cell.
bool TreeRows(GeDialog* dialog, Int32 id, std::vector<TreeRow>* rows, std::string* error);
struct TreeColumn
{
	Int32 id = 0;
	Int32 kind = 0;
	Int32 x = 0, width = 0;
	bool checks = false; // a check column: its cells show the adapter's check state
};
bool TreeColumns(GeDialog* dialog, Int32 id, std::vector<TreeColumn>* columns, Int32* headerHeight, std::string* error);
// The header's cells as drawn (by the adapter, or the tree's own caption when the adapter leaves
// a header to it).
bool TreeHeader(GeDialog* dialog, Int32 id, std::vector<TreeCell>* cells, std::string* error);

enum TreeClickFlags
{
	TREE_CTRL = 1,
	TREE_SHIFT = 2,
	TREE_RIGHT = 4,
	TREE_ARROW = 8, // on the fold arrow of the tree column
};
// A click in a cell: row (0-based as shown; -1: below the rows), the column ID, and the position
// inside the cell (x, y from the cell's top-left corner).
bool TreeClick(GeDialog* dialog, Int32 id, Int32 row, Int32 column, Int32 x, Int32 y, Int32 flags, std::string* error);
bool TreeDoubleClick(GeDialog* dialog, Int32 id, Int32 row, Int32 column, std::string* error);
bool TreeRename(GeDialog* dialog, Int32 id, Int32 row, const std::string& name, std::string* error);
// Drags the row (pressed in fromColumn) onto the target row at an insert position.
bool TreeDrag(GeDialog* dialog, Int32 id, Int32 row, Int32 fromColumn, Int32 target, Int32 insertMode, std::string* refusal, std::string* error);
// The context menu of a row (-1: empty space) as captions; chooses `choice` (ID or caption) when
// not empty.
bool TreeMenu(GeDialog* dialog, Int32 id, Int32 row, Int32 column, const std::string& choice, std::vector<std::pair<Int32, std::string>>* entries, std::string* error);
bool TreeDelete(GeDialog* dialog, Int32 id, std::string* error);
// Presses the left button on the left edge of a column (in the header), drags it dx pixels and
// releases it, while the tree's input handler follows the mouse.
bool TreeSplitDrag(GeDialog* dialog, Int32 id, Int32 column, Int32 dx, std::string* error);

} // namespace standin::dialogs
