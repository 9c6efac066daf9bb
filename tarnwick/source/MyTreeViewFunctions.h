// The adapter through which the host's tree gadget shows and edits the held list (the upper tree of
// the manager dialog). Rows are PNode entries; each is resolved against the active document at
// every use, so an element deleted from the scene is never touched through a stale entry.
#pragma once

#include <vector>

#include "ManagerModel.h"
#include "hostapi/dialog.h"

// The tag column's geometry: icons are drawn TAG_PITCH apart, a click's tag index divides by
// TAG_PITCH too, and the column grows by TAG_WIDTH_STEP per tag. One pitch for drawing and hit
// testing keeps a click on an icon on that icon.
constexpr Int32 TAG_PITCH = 20;
constexpr Int32 TAG_WIDTH_STEP = 12;

class MyTreeViewFunctions : public TreeViewFunctions
{
public:
	// Column widths reported to the gadget.
	Int32 layerColumnWidth = 8;
	Int32 visibilityColumnWidth = 6;
	Int32 enableColumnWidth = 6;
	Int32 tagColumnWidth = 12;
	Int32 nameHeaderBase = 0;
	Int32 lineHeight = 0;
	// The column of the last click: 0 = 100, 2 = 101, 1 = 102 (also for unresolved rows), 3 = 103, 4 = 104.
	Int32 clickColumn = 1;
	Int32 ctrlHeld = 0;
	Int32 shiftHeld = 0;
	Int32 clickX = 0;
	Int32 tagColumnOrigin = 0;
	Int32 syncSelection = 0;
	Int32 syncFold = 1;
	Int32 foldBit = DEFAULT_FOLD_BIT;
	// Set by the dialog: its busy flag, the held-list change marker, the separator lines' lower end,
	// the drag-tracking switch and the distance a tracked drag went.
	Int32* busy = nullptr;
	Int32* changeMarker = nullptr;
	Int32 bottomLine = 0;
	Int32 trackDrag = 0;
	Int32* dragDistance = nullptr;
	// Set when a drag starts in this tree, so the dialog does not take the drop as one from outside.
	Int32* ownDrag = nullptr;
	// The dialog that anchors popup menus, remembered at each input event. The host refuses a menu
	// for a dialog that is gone, so a stale owner shows nothing.
	GeDialog* popupOwner = nullptr;

	// Takes the tree's line metrics (font height) from a drawing surface.
	void TakeMetrics(GeUserArea* area);

	// ---- Structure and drawing ----
	void* GetFirst(void* root, void* userdata) override;
	void* GetDown(void* root, void* userdata, void* obj) override;
	void* GetNext(void* root, void* userdata, void* obj) override;
	void* GetPred(void* root, void* userdata, void* obj) override;
	Int32 GetColumnWidth(void* root, void* userdata, void* obj, Int32 column, GeUserArea* area) override;
	Int32 GetHeaderColumnWidth(void* root, void* userdata, Int32 column, GeUserArea* area) override;
	Int32 GetMinHeaderHeight(void* root, void* userdata, GeUserArea* area) override;
	Int32 GetLineHeight(void* root, void* userdata, void* obj, Int32 column, GeUserArea* area) override;
	void DrawCell(void* root, void* userdata, void* obj, Int32 column, DrawInfo* info, const GeData& bgColor) override;
	bool DrawHeaderCell(void* root, void* userdata, Int32 column, DrawInfo* info) override;
	bool IsSelected(void* root, void* userdata, void* obj) override;
	bool IsOpened(void* root, void* userdata, void* obj) override;
	void Open(void* root, void* userdata, void* obj, bool onoff) override;
	String GetName(void* root, void* userdata, void* obj) override;
	void SetName(void* root, void* userdata, void* obj, const String& name) override;
	Int64 GetId(void* root, void* userdata, void* obj) override;
	Int32 IsChecked(void* root, void* userdata, void* obj, Int32 column) override;
	bool IsCheckColumn(void* root, void* userdata, Int32 column) override;
	bool EmptyClickDeselects(void* root, void* userdata) override;
	bool ScrollToSelection(void* root, void* userdata) override;
	bool AllowRename(void* root, void* userdata) override;

	// ---- Interaction ----
	void Select(void* root, void* userdata, void* obj, Int32 mode) override;
	Int32 GetDragType(void* root, void* userdata, void* obj) override;
	Int32 DragStart(void* root, void* userdata, void* obj) override;
	Int32 AcceptDragObject(void* root, void* userdata, void* obj, Int32 dragType, void* dragObject, bool& allowCopy) override;
	void GenerateDragArray(void* root, void* userdata, void* obj, AtomArray* arr) override;
	void DragNotify(void* root, void* userdata) override;
	void InsertObject(void* root, void* userdata, void* obj, Int32 dragType, void* dragObject, Int32 insertMode, bool copy) override;
	void CreateContextMenu(void* root, void* userdata, void* obj, Int32 column, BaseContainer* menu) override;
	bool ContextMenuCall(Int32 command, void* root, void* userdata, void* obj, Int32 column) override;
	bool InputEvent(void* root, void* userdata, TreeViewCustomGui* gadget, const BaseContainer& msg) override;
	bool MouseDown(void* root, void* userdata, void* obj, Int32 column, MouseInfo* info, bool rightButton) override;
	bool DoubleClick(void* root, void* userdata, void* obj, Int32 column, MouseInfo* info) override;
	void DeletePressed(void* root, void* userdata) override;
	void SelectionChanged(void* root, void* userdata) override;

private:
	void SetBusy(Int32 value)
	{
		if (busy)
			*busy = value;
	}
	// Sets an entry's open state and mirrors it onto its object's fold bit.
	void SetOpened(PNode* entry, bool open);
	void LayerPopup(PNode* entry, Int32 x, Int32 y);
	void CycleVisibility(BaseObject* object, bool render);
	void ClickTag(BaseObject* object, Int32 x);
	void SelectInScene(PNode* root);

	Int32 _leftSeparatorX = 0, _leftSeparatorY = 0;
	Int32 _rightSeparatorX = 0, _rightSeparatorY = 0;
	Int32 _fontHeight = 12;
	Int32 _fontHeightTaken = 0;
};

// Every entry from first on (its children, then its next sibling), depth first, with a stack of
// its own instead of recursion so deep hierarchies are walked whole. visit answers false to stop.
template <typename Visit>
void ForEachEntry(PNode* first, Visit visit)
{
	std::vector<PNode*> stack;
	if (first)
		stack.push_back(first);
	while (!stack.empty())
	{
		PNode* entry = stack.back();
		stack.pop_back();
		if (!visit(entry))
			return;
		if (PNode* next = entry->Next())
			stack.push_back(next);
		if (PNode* child = entry->FirstChild())
			stack.push_back(child);
	}
}
