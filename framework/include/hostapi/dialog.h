// Dialogs, gadgets, user areas and tree views of the host's dialog runtime.
//
// A plug-in derives from GeDialog and builds its layout in CreateLayout with the Add*/Group* calls;
// the host keeps every gadget's kind, caption, value, enabled and hidden state, sends Command for
// each change a user makes and Message for drags, actions, cursor queries and the end of an
// interaction. A GeModalDialog's Open returns only when the dialog was closed, with its result.
// Dialogs have no data members of their own: the host keeps their state beside them.
#pragma once

#include "hostapi/baselist.h"
#include "hostapi/input.h"

class BaseBitmap;
class GeUserArea;
class TreeViewFunctions;
class TreeViewCustomGui;

// Dialog types of GeDialog::Open.
enum : Int32
{
	DLG_TYPE_MODAL = 10,
	DLG_TYPE_ASYNC = 20,
};

// Layout flags of gadgets and groups.
enum : Int32
{
	BFH_LEFT = 1,
	BFH_RIGHT = 2,
	BFH_CENTER = 0,
	BFH_SCALE = 4,
	BFH_FIT = 3,
	BFH_SCALEFIT = 7,
	BFV_TOP = 8,
	BFV_BOTTOM = 16,
	BFV_CENTER = 0,
	BFV_SCALE = 32,
	BFV_FIT = 24,
	BFV_SCALEFIT = 56,
};

// Group borders.
enum : Int32
{
	BORDER_NONE = 0,
	BORDER_GROUP_IN = 4,
	BORDER_WITH_TITLE = 0x1000,
};

// Custom GUIs the host offers.
enum : Int32
{
	CUSTOMGUI_QUICKTAB = 1000495,
	CUSTOMGUI_TREEVIEW = 1000469,
	CUSTOMGUI_LINKBOX = 1009415,
};

// Messages a dialog receives in Message (the container's id) and their keys.
enum : Int32
{
	BFM_ACTION = HostFourCC("bACT"),
	BFM_ACTION_ID = 1,     // Int32: the gadget
	BFM_ACTION_VALUE = 2,  // GeData: the gadget's new value
	BFM_ACTION_INDRAG = 3, // Int32: 1 while a drag is still going on
	BFM_DRAW = HostFourCC("bDRA"),
	BFM_GETCURSORINFO = HostFourCC("cinf"),
	BFM_INTERACTEND = HostFourCC("inte"),
	BFM_GOTFOCUS = HostFourCC("bGFC"),
	BFM_LOSTFOCUS = HostFourCC("bLFC"),
	BFM_DRAGRECEIVE = HostFourCC("bdrr"),
	BFM_DRAG_SCREENX = 1,  // Int32: where the drop is, dialog-local pixels
	BFM_DRAG_SCREENY = 2,
	BFM_DRAG_FINISHED = 5, // Int32: non-zero when the drop happened (not only hovering)
	BFM_DRAW_REASON = 7,   // Int32 key of a user area's draw message
	BFM_INPUT = HostFourCC("bINP"),
	BFM_ASKCLOSE = HostFourCC("bACL"),
	BFM_DESTROY = HostFourCC("bDES"),
};

// Core messages (CoreMessage's id).
enum : Int32
{
	EVMSG_CHANGE = 604, // the document changed
};

// Whether a core message came from the host just now (a container kept from earlier, or made up,
// does not pass).
bool CheckCoreMessage(const BaseContainer& msg);

// Drag types.
enum : Int32
{
	DRAGTYPE_ATOMARRAY = 201,
};

// Cursor shapes of a cursor-info answer (RESULT_CURSOR) and of GeUserArea::SetMousePointer,
// beside the host's MOUSE_NORMAL (2, hostapi/thread.h).
enum : Int32
{
	MOUSE_SPLINE_HORIZONTAL = 16,
};

// Host colours a user area draws with.
enum : Int32
{
	COLOR_TRANS = 999,
	COLOR_BG = 1000,
	COLOR_TEXT = 1003,
	COLOR_EDGEWH = 1006,
	COLOR_EDGEDK = 1007,
	COLOR_TEXT_SELECTED = 1157,
};

// Fonts of DrawSetFont.
enum : Int32
{
	FONT_DEFAULT = 0,
	FONT_STANDARD = 1,
};

// Bitmap draw flags: 1 normal, 2 alpha test, 3 with alpha, 256 high quality scaling, 512 inverted.
enum : Int32
{
	BMP_NORMAL = 1,
	BMP_ALLOWALPHA = 3,
	BMP_NORMALSCALED = 256,
	BMP_EMBOSSED = 512,
};

// Popup flags.
enum : Int32
{
	POPUP_RIGHT = 8,
	POPUP_EXECUTECOMMANDS = 64,
};

// Titles of a popup menu's submenu container (key 1 = its caption).
enum : Int32
{
	MENURESOURCE_SUBTITLE = 1,
};

class GeDialog
{
public:
	GeDialog();
	virtual ~GeDialog();
	GeDialog(const GeDialog&) = delete;
	GeDialog& operator=(const GeDialog&) = delete;

	virtual bool CreateLayout() { return true; }
	virtual bool InitValues() { return true; }
	virtual bool Command(Int32 id, const BaseContainer& msg) { (void)id; (void)msg; return true; }
	virtual bool CoreMessage(Int32 id, const BaseContainer& msg) { (void)id; (void)msg; return true; }
	virtual Int32 Message(const BaseContainer& msg, BaseContainer& result) { (void)msg; (void)result; return 0; }
	// Answers true to refuse closing.
	virtual bool AskClose() { return false; }
	virtual void DestroyWindow() {}

	// Opens the dialog (DLG_TYPE_ASYNC: a window that stays; DLG_TYPE_MODAL: returns when closed).
	// Opening an open dialog brings it up again (true).
	bool Open(Int32 type, Int32 pluginId, Int32 x, Int32 y, Int32 w, Int32 h, Int32 subId = 0);
	// Reopens the dialog into a saved window layout (secret: the host's layout data).
	bool RestoreLayout(Int32 pluginId, Int32 subId, void* secret);
	bool Close();
	bool IsOpen() const;

	// ---- Layout ----
	void SetTitle(const String& title);
	bool GroupBegin(Int32 id, Int32 flags, Int32 cols, Int32 rows, const String& title, Int32 groupFlags, Int32 initW = 0, Int32 initH = 0);
	bool GroupEnd();
	bool GroupBorder(Int32 borderType);
	bool GroupBorderSpace(Int32 left, Int32 top, Int32 right, Int32 bottom);
	bool GroupSpace(Int32 spaceX, Int32 spaceY);
	bool AddButton(Int32 id, Int32 flags, Int32 initW, Int32 initH, const String& name);
	bool AddCheckbox(Int32 id, Int32 flags, Int32 initW, Int32 initH, const String& name);
	bool AddStaticText(Int32 id, Int32 flags, Int32 initW, Int32 initH, const String& name, Int32 borderStyle);
	bool AddEditText(Int32 id, Int32 flags, Int32 initW, Int32 initH);
	bool AddComboBox(Int32 id, Int32 flags, Int32 initW, Int32 initH);
	bool AddRadioGroup(Int32 id, Int32 flags, Int32 columns, Int32 rows);
	// A choice of a combo box or radio group.
	bool AddChild(Int32 id, Int32 subId, const String& child);
	bool AddUserArea(Int32 id, Int32 flags, Int32 initW, Int32 initH);
	// A list view gadget; a SimpleListView attached to it fills its rows.
	bool AddListView(Int32 id, Int32 flags, Int32 initW, Int32 initH);
	bool AttachUserArea(GeUserArea& area, Int32 id);
	// A custom gadget (quick tab, tree view, link box); nullptr when the host has no such GUI.
	void* AddCustomGui(Int32 id, Int32 pluginId, const String& name, Int32 flags, Int32 initW, Int32 initH, const BaseContainer& settings);
	// The custom gadget of that ID, when it is of that GUI; nullptr otherwise.
	void* FindCustomGui(Int32 id, Int32 pluginId);
	// Builds the gadgets of the plug-in's dialog resource (res/dialogs/<id>.dlg) into the open group.
	bool LoadDialogResource(Int32 id, void* resource, Int32 flags);

	// ---- Values and states ----
	bool SetBool(Int32 id, bool value);
	bool SetInt32(Int32 id, Int32 value);
	bool SetString(Int32 id, const String& text);
	bool GetBool(Int32 id, bool& value) const;
	bool GetInt32(Int32 id, Int32& value) const;
	bool GetString(Int32 id, String& text) const;
	bool Enable(Int32 id, bool enabled);
	bool IsEnabled(Int32 id) const;
	bool HideElement(Int32 id, bool hide);
	bool LayoutChanged(Int32 id);
	// The gadget's rectangle in dialog coordinates; false when it has none.
	bool GetItemDim(Int32 id, Int32* x, Int32* y, Int32* w, Int32* h) const;

	// ---- Drag and drop ----
	// The payload of a drag message; false when it carries none.
	bool GetDragObject(const BaseContainer& msg, Int32* type, void** object);
	// Whether the drop point of a drag message lies over the gadget.
	bool CheckDropArea(Int32 id, const BaseContainer& msg, bool horiz, bool vert);

	// Dialog-local pixels to screen pixels.
	bool Local2Screen(Int32* x, Int32* y) const;
	// The mouse state as this dialog sees it (dialog-local BFM_INPUT_X/Y).
	bool GetInputState(Int32 device, Int32 channel, BaseContainer& result) const;
	// Takes the pending input events of the dialog off the queue.
	void KillEvents();
	// Sends the dialog a message as if the host did (an action after a drag, for instance).
	Int32 SendMessage(const BaseContainer& msg);
};

class GeModalDialog : public GeDialog
{
public:
	// Opens the dialog modally; answers the result it closed with (false when it could not open).
	bool Open(Int32 x = -1, Int32 y = -1, Int32 w = 0, Int32 h = 0);
	// Closes with the result Open returns.
	bool Close(bool result);
};

// An icon as the host hands it out: part of a bitmap and its drawing flags (bit 0: inverted,
// bit 1: with alpha).
struct IconData
{
	BaseBitmap* bmp = nullptr;
	Int32 x = 0, y = 0, w = 0, h = 0;
	Int32 flags = 0;
};

// The icon of an element (objects by type, materials, tags, layers). False when it has none.
bool GetIcon(BaseList2D* element, IconData* icon);

// A gadget area the plug-in draws and handles input for; attached to a dialog's user area or
// handed to tree-view adapters as the surface a cell draws on.
class GeUserArea
{
public:
	GeUserArea();
	virtual ~GeUserArea();
	GeUserArea(const GeUserArea&) = delete;
	GeUserArea& operator=(const GeUserArea&) = delete;

	virtual bool GetMinSize(Int32& w, Int32& h) { (void)w; (void)h; return false; }
	virtual void DrawMsg(Int32 x1, Int32 y1, Int32 x2, Int32 y2, const BaseContainer& msg) { (void)x1; (void)y1; (void)x2; (void)y2; (void)msg; }
	virtual bool InputEvent(const BaseContainer& msg) { (void)msg; return false; }

	// The dialog the area belongs to (nullptr before it was attached).
	GeDialog* GetDialog() const;
	void Redraw();
	bool OffScreenOn();
	void SetClippingRegion(Int32 x, Int32 y, Int32 w, Int32 h);
	void DrawSetPen(Int32 colorId);
	void DrawSetTextCol(Int32 fgColorId, Int32 bgColorId);
	void DrawSetFont(Int32 fontId);
	void DrawLine(Int32 x1, Int32 y1, Int32 x2, Int32 y2);
	void DrawRectangle(Int32 x1, Int32 y1, Int32 x2, Int32 y2);
	void DrawText(const String& text, Int32 x, Int32 y);
	// Draws (x, y, w, h) of the bitmap into (wx, wy, ww, wh) with the BMP_* flags.
	void DrawBitmap(BaseBitmap* bmp, Int32 wx, Int32 wy, Int32 ww, Int32 wh, Int32 x, Int32 y, Int32 w, Int32 h, Int32 mode);
	Int32 DrawGetFontHeight() const;
	Int32 DrawGetTextWidth(const String& text) const;
	bool GetInputState(Int32 device, Int32 channel, BaseContainer& result) const;
	// Screen (or dialog) coordinates to area coordinates.
	bool Global2Local(Int32* x, Int32* y) const;
	void SetMousePointer(Int32 cursor);
};

// ---- Tree view ----------------------------------------------------------------------------------

// Where a cell is to be drawn.
struct DrawInfo
{
	GeUserArea* frame = nullptr;
	Int32 xpos = 0, ypos = 0, width = 0, height = 0;
	Int32 line = 0;
};

// A click in a tree cell: the position inside the tree (the row's x and y from the tree's top-left
// corner), then the host's word about the click (non-zero: the host handles it itself).
struct MouseInfo
{
	Float mx = 0.0;
	Float my = 0.0;
	Int32 flag = 0;
	Int32 line = 0;
};

// Selection modes of TreeViewFunctions::Select.
enum : Int32
{
	SELECTION_TREE_NEW = 0,
	SELECTION_TREE_ADD = 1,
	SELECTION_TREE_SUB = 2,
};

// Insert positions (also the flag words AcceptDragObject answers).
enum : Int32
{
	INSERT_BEFORE = 1,
	INSERT_AFTER = 2,
	INSERT_UNDER = 4,
};

// Column kinds of a tree's layout.
enum : Int32
{
	LV_TREE = HostFourCC("tree"),
	LV_USER = HostFourCC("user"),
	LV_USERTREE = HostFourCC("ustr"),
	LV_CHECKBOX = HostFourCC("chck"),
};

// What a DragStart answer allows (TreeViewFunctions::DragStart): bit 0, the drag may start; bit 1,
// the pressed entry becomes the selection when it is not selected yet.
enum : Int32
{
	TREEVIEW_DRAGSTART_ALLOW = 1,
	TREEVIEW_DRAGSTART_SELECT = 2,
};

// Context-menu entries the tree offers by itself.
enum : Int32
{
	ID_TREEVIEW_CONTEXT_REMOVE = 900000,
	ID_TREEVIEW_CONTEXT_RESET = 900001,
};

// The adapter through which the tree gadget walks, draws and edits a plug-in's tree. Entries are
// opaque pointers the adapter gives out; root and userdata come from SetRoot.
class TreeViewFunctions
{
public:
	virtual ~TreeViewFunctions() = default;

	virtual void* GetFirst(void* root, void* userdata) = 0;
	virtual void* GetDown(void* root, void* userdata, void* obj) = 0;
	virtual void* GetNext(void* root, void* userdata, void* obj) = 0;
	virtual void* GetPred(void* root, void* userdata, void* obj) { (void)root; (void)userdata; (void)obj; return nullptr; }

	virtual Int32 GetColumnWidth(void* root, void* userdata, void* obj, Int32 column, GeUserArea* area) { (void)root; (void)userdata; (void)obj; (void)column; (void)area; return 0; }
	virtual Int32 GetHeaderColumnWidth(void* root, void* userdata, Int32 column, GeUserArea* area) { (void)root; (void)userdata; (void)column; (void)area; return 0; }
	virtual Int32 GetMinHeaderHeight(void* root, void* userdata, GeUserArea* area) { (void)root; (void)userdata; (void)area; return 0; }
	virtual Int32 GetLineHeight(void* root, void* userdata, void* obj, Int32 column, GeUserArea* area) { (void)root; (void)userdata; (void)obj; (void)column; (void)area; return 0; }
	virtual void DrawCell(void* root, void* userdata, void* obj, Int32 column, DrawInfo* info, const GeData& bgColor) { (void)root; (void)userdata; (void)obj; (void)column; (void)info; (void)bgColor; }
	// True when the adapter drew the header (the host then draws no caption).
	virtual bool DrawHeaderCell(void* root, void* userdata, Int32 column, DrawInfo* info) { (void)root; (void)userdata; (void)column; (void)info; return false; }

	virtual bool IsSelected(void* root, void* userdata, void* obj) { (void)root; (void)userdata; (void)obj; return false; }
	virtual void Select(void* root, void* userdata, void* obj, Int32 mode) { (void)root; (void)userdata; (void)obj; (void)mode; }
	virtual bool IsOpened(void* root, void* userdata, void* obj) { (void)root; (void)userdata; (void)obj; return false; }
	virtual void Open(void* root, void* userdata, void* obj, bool onoff) { (void)root; (void)userdata; (void)obj; (void)onoff; }
	virtual String GetName(void* root, void* userdata, void* obj) { (void)root; (void)userdata; (void)obj; return String(); }
	virtual void SetName(void* root, void* userdata, void* obj, const String& name) { (void)root; (void)userdata; (void)obj; (void)name; }
	// The entry's identity: the tree tells entries apart (and finds one again after a change) by it.
	virtual Int64 GetId(void* root, void* userdata, void* obj) { (void)root; (void)userdata; return static_cast<Int64>(reinterpret_cast<std::uintptr_t>(obj)); }
	// The check box of a check column: 1 unchecked, 3 checked (bit 0: enabled, bit 1: checked), 0 none.
	virtual Int32 IsChecked(void* root, void* userdata, void* obj, Int32 column) { (void)root; (void)userdata; (void)obj; (void)column; return 0; }

	virtual Int32 GetDragType(void* root, void* userdata, void* obj) { (void)root; (void)userdata; (void)obj; return NOTOK; }
	// TREEVIEW_DRAGSTART_* flags; without ALLOW the drag does not start.
	virtual Int32 DragStart(void* root, void* userdata, void* obj) { (void)root; (void)userdata; (void)obj; return TREEVIEW_DRAGSTART_ALLOW | TREEVIEW_DRAGSTART_SELECT; }
	// The insert positions (INSERT_*) the drop onto obj allows; 0 refuses it.
	virtual Int32 AcceptDragObject(void* root, void* userdata, void* obj, Int32 dragType, void* dragObject, bool& allowCopy) { (void)root; (void)userdata; (void)obj; (void)dragType; (void)dragObject; (void)allowCopy; return 0; }
	virtual void GenerateDragArray(void* root, void* userdata, void* obj, AtomArray* arr) { (void)root; (void)userdata; (void)obj; (void)arr; }
	// Called on the root when a drag out of this tree starts.
	virtual void DragNotify(void* root, void* userdata) { (void)root; (void)userdata; }
	virtual void InsertObject(void* root, void* userdata, void* obj, Int32 dragType, void* dragObject, Int32 insertMode, bool copy) { (void)root; (void)userdata; (void)obj; (void)dragType; (void)dragObject; (void)insertMode; (void)copy; }

	virtual void CreateContextMenu(void* root, void* userdata, void* obj, Int32 column, BaseContainer* menu) { (void)root; (void)userdata; (void)obj; (void)column; (void)menu; }
	virtual bool ContextMenuCall(Int32 command, void* root, void* userdata, void* obj, Int32 column) { (void)command; (void)root; (void)userdata; (void)obj; (void)column; return false; }
	// Every input event of the gadget, before the host handles it; true when the adapter took it.
	virtual bool InputEvent(void* root, void* userdata, TreeViewCustomGui* gadget, const BaseContainer& msg) { (void)root; (void)userdata; (void)gadget; (void)msg; return false; }
	// A click in a cell; true when the adapter handled it (the host then does nothing more).
	virtual bool MouseDown(void* root, void* userdata, void* obj, Int32 column, MouseInfo* info, bool rightButton) { (void)root; (void)userdata; (void)obj; (void)column; (void)info; (void)rightButton; return false; }
	// True when handled; false lets the host rename the entry in place.
	virtual bool DoubleClick(void* root, void* userdata, void* obj, Int32 column, MouseInfo* info) { (void)root; (void)userdata; (void)obj; (void)column; (void)info; return false; }
	virtual void DeletePressed(void* root, void* userdata) { (void)root; (void)userdata; }
	virtual void SelectionChanged(void* root, void* userdata) { (void)root; (void)userdata; }

	// Yes/no questions with host defaults.
	// Whether the column is a check column: the tree draws each row's check box there from IsChecked
	// (under what the adapter draws in a user column).
	virtual bool IsCheckColumn(void* root, void* userdata, Int32 column) { (void)root; (void)userdata; (void)column; return false; }
	// Whether a click on empty space deselects everything.
	virtual bool EmptyClickDeselects(void* root, void* userdata) { (void)root; (void)userdata; return true; }
	// Whether the tree scrolls to a newly selected entry.
	virtual bool ScrollToSelection(void* root, void* userdata) { (void)root; (void)userdata; return true; }
	// Whether entries may be renamed in place (after a double click the adapter did not handle).
	virtual bool AllowRename(void* root, void* userdata) { (void)root; (void)userdata; return false; }
};

// The tree gadget a dialog's AddCustomGui(CUSTOMGUI_TREEVIEW) or a dialog resource made.
class TreeViewCustomGui
{
public:
	// Column layout: a container whose entries are column ID → kind (LV_*), in order.
	bool SetLayout(Int32 columns, const BaseContainer& layout);
	// The caption the tree draws in a column's header unless the adapter draws the header itself.
	void SetHeaderText(Int32 column, const String& text);
	bool SetRoot(void* root, TreeViewFunctions* functions, void* userdata);
	// Walks the adapter again and redraws.
	void Refresh();
	// The width of a column as laid out now (the header's width when the adapter sets none).
	Int32 GetColumnWidth(Int32 column) const;
	void SetColumnWidth(Int32 column, Int32 width);
	// The lower end of the rows (the tree's height in its own pixels).
	Int32 GetHeight() const;
	Int32 GetId() const;
	GeDialog* GetDialog() const;

protected:
	TreeViewCustomGui() = default;
	~TreeViewCustomGui() = default;
};

// ---- Simple list view ---------------------------------------------------------------------------

enum : Int32
{
	LV_COLUMN_TEXT = HostFourCC("txt "), // a column of texts
	// The Command a list view sends when a user chooses a row: BFM_ACTION_VALUE holds
	// LV_SIMPLE_SELECTIONCHANGED and LV_SIMPLE_ITEM_ID the row's ID.
	LV_SIMPLE_ITEM_ID = 1,
	LV_SIMPLE_SELECTIONCHANGED = 100,
};

// The rows of a dialog's list view gadget (AddListView): each row has an ID (any Int32) and a text
// per column. The host keeps the rows with the gadget, so they go when the dialog closes.
class SimpleListView
{
public:
	SimpleListView();
	~SimpleListView();
	SimpleListView(const SimpleListView&) = delete;
	SimpleListView& operator=(const SimpleListView&) = delete;

	// Binds to the dialog's list view gadget; false when the dialog has no list view of that ID.
	bool AttachListView(GeDialog* dialog, Int32 id);
	// Columns: a container whose entries are column ID → kind (LV_COLUMN_TEXT), in order.
	bool SetLayout(Int32 columns, const BaseContainer& layout);
	// Adds the row, or replaces the one with that ID; data: column ID → String.
	bool SetItem(Int32 id, const BaseContainer& data);
	// Removes the row; false when there is none of that ID.
	bool RemoveItem(Int32 id);
	Int32 GetItemCount() const;
	// The rows changed: the gadget shows them anew.
	void DataChanged();
};

// The quick-tab gadget's selected tab.
class QuickTabCustomGui
{
public:
	bool AppendString(Int32 id, const String& text, bool selected);
	bool IsSelected(Int32 id) const;
	void Select(Int32 id, bool selected);

protected:
	QuickTabCustomGui() = default;
	~QuickTabCustomGui() = default;
};

// Quick-tab settings keys.
enum : Int32
{
	QUICKTAB_BAR = HostFourCC("bar "),
	QUICKTAB_SHOWSINGLE = HostFourCC("ssgl"),
	QUICKTAB_SPRINGINGFOLDERS = HostFourCC("sprn"),
	QUICKTAB_LAYOUTCOLUMN = HostFourCC("lycl"),
	QUICKTAB_NOMULTISELECT = HostFourCC("noml"),
};

// A popup menu: entries id → caption (String), submenus as containers (key 1: caption) holding
// their own entries. Answers the chosen ID, 0 when dismissed. owner: the dialog that anchors it
// (nullptr: none); a closed or destroyed dialog shows no menu.
Int32 ShowPopupMenu(GeDialog* owner, Int32 x, Int32 y, const BaseContainer& menu, Int32 flags);
// A message box with one button.
void MessageDialog(const String& text);
// A yes/no question; true for yes.
bool QuestionDialog(const String& text);

// Runs a host command by ID (the Layer Manager is 100004704).
void CallCommand(Int32 id);
// Switches the attribute manager to a mode (2: tags), flag 1 to show it.
void ActiveObjectManager_SetMode(Int32 mode, bool openManager);
