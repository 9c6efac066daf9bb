// What the host keeps beside each plug-in dialog: its gadgets (kind, caption, value, enabled and
// hidden state, where the layout put them), the group being built, and the open/closed state.
// Plug-in dialogs have no data members; the host finds this record by the dialog's address.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "hostapi/dialog.h"
#include "standin/dialog_input.h"
#include "standin/dialogs.h"

namespace standin::dialogs
{

struct TreeState;
struct QuickTabState;

struct Rect
{
	Int32 x = 0, y = 0, w = 0, h = 0;
	bool Contains(Int32 px, Int32 py) const { return px >= x && py >= y && px < x + w && py < y + h; }
};

struct Child
{
	Int32 id = 0;
	std::string caption;
};

struct Gadget
{
	Int32 id = 0;
	GadgetKind kind = GadgetKind::Group;
	std::string caption;
	Int32 flags = 0;
	Int32 initW = 0, initH = 0;
	Int32 cols = 1, rows = 0;
	Int32 border = 0;
	Int32 borderSpace[4] = {0, 0, 0, 0};
	GeData value;
	bool enabled = true;
	bool hidden = false;
	std::vector<Child> children;
	int parent = -1;
	std::vector<int> members;
	GeUserArea* area = nullptr;
	std::shared_ptr<TreeState> tree;
	std::shared_ptr<QuickTabState> tabs;
	std::shared_ptr<int> handle; // what a link box hands out
	std::vector<Int32> listColumns; // a list view's column IDs (its rows are the children)
	Rect rect;
};

// The scripted user's mouse over a dialog (dialog-local): where it is now, and the steps a drag
// takes while a plug-in polls it, one step a poll.
struct ScriptedMouse
{
	MouseState now;
	struct Step
	{
		Int32 x = 0, y = 0;
		bool down = false;
	};
	std::vector<Step> path;
};

struct DialogState
{
	GeDialog* dialog = nullptr;
	bool open = false;
	bool modal = false;
	bool modalResult = false;
	bool everOpened = false;
	Int32 type = 0, pluginId = 0, subId = 0;
	Int32 x = -1, y = -1, w = 0, h = 0;
	std::string title;
	std::vector<Gadget> gadgets;
	std::vector<int> groupStack;
	bool layoutDirty = true;
	Int32 width = 0, height = 0; // after layout
	// The payload of the drag message being delivered.
	Int32 dragType = 0;
	void* dragObject = nullptr;
	// What the scripted user does with the mouse over this dialog.
	ScriptedMouse mouse;
	Int64 openCount = 0;
};

// The record of a live dialog (nullptr when the address is no dialog the host knows).
DialogState* Find(const GeDialog* dialog);
// Every dialog that exists, in construction order.
std::vector<DialogState*> All();

// The gadget of that ID in the dialog (-1 when none); groups with ID 0 are found too.
int FindGadget(const DialogState& state, Int32 id);
// Adds a gadget to the open group; its index.
int AddGadget(DialogState& state, Gadget gadget);

// Lays the gadgets out (sizes, then positions), when something changed since the last layout.
void Layout(DialogState& state);
// Whether the gadget and every group around it are shown.
bool IsShown(const DialogState& state, int index);
bool IsEnabledChain(const DialogState& state, int index);

// Host font metrics, the same for every gadget: a fixed-pitch font.
constexpr Int32 kFontHeight = 12;
constexpr Int32 kCharWidth = 7;
// Height of one row of a list view.
constexpr Int32 kListRow = 14;
Int32 TextWidth(const std::string& text);

// The user area's host record.
struct AreaState
{
	GeUserArea* area = nullptr;
	GeDialog* dialog = nullptr;
	Int32 gadgetId = 0;
	// Where its draw calls go (nullptr: not drawing now, calls are dropped).
	std::vector<DrawOp>* target = nullptr;
	Int32 pen = COLOR_TEXT;
	Int32 textFg = COLOR_TEXT, textBg = COLOR_TRANS;
	Int32 font = FONT_DEFAULT;
	Int32 originX = 0, originY = 0; // area origin in dialog pixels
};
AreaState* FindArea(const GeUserArea* area);

// Draws a user-area gadget into its record (calls DrawMsg with the whole area).
void DrawUserArea(DialogState& state, Gadget& gadget, std::vector<DrawOp>* ops);

// Host-side messages to the dialog (the plug-in's Message), with the result container.
Int32 Deliver(DialogState& state, const BaseContainer& msg);

} // namespace standin::dialogs

namespace standin::dialogs
{
bool OpenState(DialogState& state, Int32 type, Int32 pluginId, Int32 x, Int32 y, Int32 w, Int32 h, Int32 subId);
bool CloseState(DialogState& state);
// A line for the shown log (popups, message boxes, modal dialogs, host commands).
void LogShown(std::string line);
} // namespace standin::dialogs

namespace standin::dialogs
{
// A popup menu's entries flattened (submenu captions joined by '/'), and the entry an answer
// (an ID or a caption path) names; 0 when none.
std::vector<std::pair<Int32, std::string>> MenuEntries(const BaseContainer& menu);
Int32 ChooseFromMenu(const BaseContainer& menu, const std::string& answer);
// The tree gadget's size for layout.
void TreeMinSize(TreeState& tree, Int32* w, Int32* h);
std::shared_ptr<TreeState> MakeTree(GeDialog* dialog, Int32 id);
} // namespace standin::dialogs

namespace standin::dialogs
{
// Makes the host side of a custom gadget just added (tree, tabs, link box); its handle.
void* FinishCustomGui(DialogState& state, int index);
void* CustomGuiHandle(Gadget& gadget);
} // namespace standin::dialogs

namespace standin::dialogs
{
std::vector<std::pair<Int32, std::string>> TabChoices(const Gadget& gadget);
std::string SelectedTabs(const Gadget& gadget);
bool SelectTab(Gadget& gadget, Int32 tab);
} // namespace standin::dialogs

namespace standin::dialogs
{
// The host's check of a core message it sent.
bool CheckCore(const BaseContainer& msg);
} // namespace standin::dialogs
