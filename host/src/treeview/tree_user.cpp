// What a user does with a tree gadget, as the host's tree calls its adapter: a click asks the
// adapter's input handler, then its mouse-down, then selects or folds; a drag asks for the drag
// type, the payload and the adapter's acceptance before inserting; a context menu is the host's two
// entries after the adapter had its say. Rows are always the ones the adapter answers now.
#include "standin/printable.h"
#include "treeview/tree_state.h"

namespace standin::dialogs
{

namespace
{

TreeState* Reach(GeDialog* dialog, Int32 id, std::string* error)
{
	DialogState* state = Find(dialog);
	if (!state || !state->open)
	{
		*error = "the dialog is not open";
		return nullptr;
	}
	const int index = FindGadget(*state, id);
	if (index < 0 || state->gadgets[index].kind != GadgetKind::TreeView || !state->gadgets[index].tree)
	{
		*error = "the dialog has no tree gadget " + std::to_string(id);
		return nullptr;
	}
	if (!IsShown(*state, index))
	{
		*error = "tree " + std::to_string(id) + " is hidden";
		return nullptr;
	}
	if (!IsEnabledChain(*state, index))
	{
		*error = "tree " + std::to_string(id) + " is disabled";
		return nullptr;
	}
	TreeState* tree = state->gadgets[index].tree.get();
	if (!tree->functions)
	{
		*error = "tree " + std::to_string(id) + " has no content";
		return nullptr;
	}
	return tree;
}

const TreeColumn* Column(const TreeLayout& layout, Int32 column, std::string* error)
{
	for (const TreeColumn& c : layout.columns)
		if (c.id == column)
			return &c;
	*error = "the tree has no column " + std::to_string(column);
	return nullptr;
}

bool Row(const TreeLayout& layout, Int32 row, bool allowNone, std::string* error)
{
	if ((allowNone && row == -1) || (row >= 0 && static_cast<size_t>(row) < layout.rows.size()))
		return true;
	*error = "the tree has no row " + std::to_string(row) + " (it shows " + std::to_string(layout.rows.size()) + ")";
	return false;
}

// After the tree changed: the dialog hears the tree's action (as any gadget's change), then the end
// of the interaction. The first may close the dialog, so each is looked up again.
void EndInteraction(GeDialog* dialog, Int32 id)
{
	if (DialogState* state = Find(dialog); state && state->open)
	{
		state->layoutDirty = true;
		BaseContainer action(BFM_ACTION);
		action.SetInt32(BFM_ACTION_ID, id);
		action.SetInt32(BFM_ACTION_VALUE, 0);
		Deliver(*state, action);
	}
	if (DialogState* state = Find(dialog); state && state->open)
	{
		BaseContainer end(BFM_INTERACTEND);
		Deliver(*state, end);
	}
}

// The drop of a drag that started in the tree lands on the tree's gadget: the dialog hears it as
// any drop, and can tell it came from its own tree.
void DeliverOwnDrop(GeDialog* dialog, Int32 id, AtomArray* arr)
{
	DialogState* state = Find(dialog);
	if (!state || !state->open)
		return;
	const int index = FindGadget(*state, id);
	if (index < 0)
		return;
	if (state->layoutDirty)
		Layout(*state);
	const Rect r = state->gadgets[index].rect;
	BaseContainer msg(BFM_DRAGRECEIVE);
	msg.SetInt32(BFM_DRAG_SCREENX, r.x + r.w / 2);
	msg.SetInt32(BFM_DRAG_SCREENY, r.y + r.h / 2);
	msg.SetInt32(BFM_DRAG_FINISHED, 1);
	state->dragType = DRAGTYPE_ATOMARRAY;
	state->dragObject = arr;
	Deliver(*state, msg);
	if (DialogState* still = Find(dialog))
	{
		still->dragType = 0;
		still->dragObject = nullptr;
	}
}

BaseContainer InputMessage(Int32 flags, Float x, Float y, bool down)
{
	BaseContainer msg(BFM_INPUT);
	msg.SetInt32(BFM_INPUT_DEVICE, BFM_INPUT_MOUSE);
	msg.SetInt32(BFM_INPUT_CHANNEL, (flags & TREE_RIGHT) ? BFM_INPUT_MOUSERIGHT : BFM_INPUT_MOUSELEFT);
	Int32 q = 0;
	if (flags & TREE_CTRL)
		q |= QCTRL;
	if (flags & TREE_SHIFT)
		q |= QSHIFT;
	msg.SetInt32(BFM_INPUT_QUALIFIER, q);
	msg.SetFloat(BFM_INPUT_X, x);
	msg.SetFloat(BFM_INPUT_Y, y);
	msg.SetInt32(BFM_INPUT_VALUE, down ? 1 : 0);
	return msg;
}

// The press of a click: input event, mouse down, then the host's own handling. Answers whether the
// host's handling ran (neither handler took the click).
bool Press(TreeState& tree, const TreeLayout& layout, Int32 row, const TreeColumn& col, Int32 x, Int32 y, Int32 flags)
{
	TreeViewFunctions* fn = tree.functions;
	const Float treeX = col.x + x;
	const Float treeY = row >= 0 ? row * layout.lineHeight + y : y;
	if (DialogState* state = Find(tree.dialog))
	{
		// The pointer comes to rest over the cell before the press: the dialog is asked for the
		// cursor there, in its own coordinates.
		if (state->layoutDirty)
			Layout(*state);
		const int index = FindGadget(*state, tree.id);
		const Rect r = index >= 0 ? state->gadgets[index].rect : Rect();
		ScriptedMouse& m = state->mouse;
		m.now.x = r.x + static_cast<Int32>(treeX);
		m.now.y = r.y + layout.headerHeight + static_cast<Int32>(treeY);
		m.now.qualifier = ((flags & TREE_CTRL) ? QCTRL : 0) | ((flags & TREE_SHIFT) ? QSHIFT : 0);
		m.now.down = false; // the press is over by the time the adapter polls
		BaseContainer cursor(BFM_GETCURSORINFO);
		BaseContainer result;
		state->dialog->Message(cursor, result);
	}
	if (!Find(tree.dialog) || !tree.functions)
		return false;
	// The input message carries the dialog's own coordinates, as its mouse polls do.
	DialogState* dstate = Find(tree.dialog);
	const Float dialogX = dstate ? dstate->mouse.now.x : treeX;
	const Float dialogY = dstate ? dstate->mouse.now.y : treeY;
	if (fn->InputEvent(tree.root, tree.userdata, &tree, InputMessage(flags, dialogX, dialogY, true)))
		return false;
	if (row < 0)
		return true;
	MouseInfo info;
	info.mx = treeX;
	info.my = treeY;
	info.line = row;
	return !fn->MouseDown(tree.root, tree.userdata, layout.rows[row].entry, col.id, &info, (flags & TREE_RIGHT) != 0);
}

} // namespace

bool TreeRows(GeDialog* dialog, Int32 id, std::vector<TreeRow>* rows, std::string* error)
{
	TreeState* tree = Reach(dialog, id, error);
	if (!tree)
		return false;
	TreeLayout layout;
	WalkTree(*tree, TreeDraw::All, &layout);
	*rows = std::move(layout.rows);
	return true;
}

bool TreeHeader(GeDialog* dialog, Int32 id, std::vector<TreeCell>* cells, std::string* error)
{
	TreeState* tree = Reach(dialog, id, error);
	if (!tree)
		return false;
	TreeLayout layout;
	WalkTree(*tree, TreeDraw::None, &layout);
	DrawTree(*tree, layout, true);
	*cells = std::move(layout.header);
	return true;
}

bool TreeColumns(GeDialog* dialog, Int32 id, std::vector<TreeColumn>* columns, Int32* headerHeight, std::string* error)
{
	TreeState* tree = Reach(dialog, id, error);
	if (!tree)
		return false;
	TreeLayout layout;
	WalkTree(*tree, TreeDraw::None, &layout);
	*columns = layout.columns;
	*headerHeight = layout.headerHeight;
	return true;
}

bool TreeClick(GeDialog* dialog, Int32 id, Int32 row, Int32 column, Int32 x, Int32 y, Int32 flags, std::string* error)
{
	TreeState* tree = Reach(dialog, id, error);
	if (!tree)
		return false;
	TreeLayout layout;
	WalkTree(*tree, TreeDraw::None, &layout);
	const TreeColumn* col = Column(layout, column, error);
	if (!col || !Row(layout, row, true, error))
		return false;
	if (x < 0 || y < 0 || x >= std::max<Int32>(col->width, 1) || y >= layout.lineHeight)
	{
		*error = "(" + std::to_string(x) + ", " + std::to_string(y) + ") lies outside the cell (" + std::to_string(col->width) + " x " + std::to_string(layout.lineHeight) + ")";
		return false;
	}
	TreeViewFunctions* fn = tree->functions;
	if (Press(*tree, layout, row, *col, x, y, flags) && !(flags & TREE_RIGHT))
	{
		if (row < 0)
		{
			if (fn->EmptyClickDeselects(tree->root, tree->userdata))
			{
				for (const TreeRow& r : layout.rows)
					if (fn->IsSelected(tree->root, tree->userdata, r.entry))
						fn->Select(tree->root, tree->userdata, r.entry, SELECTION_TREE_SUB);
				fn->SelectionChanged(tree->root, tree->userdata);
			}
		}
		else
		{
			void* entry = layout.rows[row].entry;
			const bool onTreeColumn = !layout.columns.empty() && layout.columns[layout.treeColumn].id == column;
			if (onTreeColumn && (flags & TREE_ARROW))
			{
				if (layout.rows[row].hasChildren)
					fn->Open(tree->root, tree->userdata, entry, !fn->IsOpened(tree->root, tree->userdata, entry));
			}
			else
			{
				Int32 mode = SELECTION_TREE_NEW;
				if (flags & TREE_CTRL)
					mode = fn->IsSelected(tree->root, tree->userdata, entry) ? SELECTION_TREE_SUB : SELECTION_TREE_ADD;
				else if (flags & TREE_SHIFT)
					mode = SELECTION_TREE_ADD;
				fn->Select(tree->root, tree->userdata, entry, mode);
				fn->SelectionChanged(tree->root, tree->userdata);
				if (mode != SELECTION_TREE_SUB)
					ScrollToEntry(*tree, entry);
			}
		}
	}
	EndInteraction(dialog, id);
	return true;
}

bool TreeDoubleClick(GeDialog* dialog, Int32 id, Int32 row, Int32 column, std::string* error)
{
	TreeState* tree = Reach(dialog, id, error);
	if (!tree)
		return false;
	TreeLayout layout;
	WalkTree(*tree, TreeDraw::None, &layout);
	const TreeColumn* col = Column(layout, column, error);
	if (!col || !Row(layout, row, false, error))
		return false;
	MouseInfo info;
	info.mx = col->x;
	info.my = row * layout.lineHeight;
	info.line = row;
	tree->functions->DoubleClick(tree->root, tree->userdata, layout.rows[row].entry, column, &info);
	EndInteraction(dialog, id);
	return true;
}

bool TreeRename(GeDialog* dialog, Int32 id, Int32 row, const std::string& name, std::string* error)
{
	TreeState* tree = Reach(dialog, id, error);
	if (!tree)
		return false;
	TreeLayout layout;
	WalkTree(*tree, TreeDraw::None, &layout);
	if (layout.columns.empty() || !Row(layout, row, false, error))
		return false;
	const TreeColumn& col = layout.columns[layout.treeColumn];
	TreeViewFunctions* fn = tree->functions;
	void* entry = layout.rows[row].entry;
	MouseInfo info;
	info.mx = col.x;
	info.my = row * layout.lineHeight;
	info.line = row;
	if (fn->DoubleClick(tree->root, tree->userdata, entry, col.id, &info) || !fn->AllowRename(tree->root, tree->userdata))
	{
		*error = "row " + std::to_string(row) + " cannot be renamed in place";
		EndInteraction(dialog, id);
		return false;
	}
	fn->SetName(tree->root, tree->userdata, entry, String(name));
	EndInteraction(dialog, id);
	return true;
}

bool TreeDrag(GeDialog* dialog, Int32 id, Int32 row, Int32 fromColumn, Int32 target, Int32 insertMode, std::string* refusal, std::string* error)
{
	TreeState* tree = Reach(dialog, id, error);
	if (!tree)
		return false;
	TreeLayout layout;
	WalkTree(*tree, TreeDraw::None, &layout);
	const TreeColumn* col = Column(layout, fromColumn, error);
	if (!col || !Row(layout, row, false, error) || !Row(layout, target, true, error))
		return false;
	TreeViewFunctions* fn = tree->functions;
	void* root = tree->root;
	void* ud = tree->userdata;
	void* entry = layout.rows[row].entry;
	void* onto = target >= 0 ? layout.rows[target].entry : nullptr;
	refusal->clear();

	// The press that starts the drag, then the adapter's say: whether this row may be dragged at
	// all, and whether the drag makes an unselected row the selection.
	const Int32 pressX = std::min<Int32>(2, std::max<Int32>(col->width - 1, 0));
	Press(*tree, layout, row, *col, pressX, 2, 0);
	const Int32 type = fn->GetDragType(root, ud, entry);
	const Int32 start = type == NOTOK ? 0 : fn->DragStart(root, ud, entry);
	if ((start & TREEVIEW_DRAGSTART_ALLOW) == 0)
	{
		*refusal = "row " + std::to_string(row) + " cannot be dragged";
		EndInteraction(dialog, id);
		return true;
	}
	if ((start & TREEVIEW_DRAGSTART_SELECT) != 0 && !fn->IsSelected(root, ud, entry))
	{
		fn->Select(root, ud, entry, SELECTION_TREE_NEW);
		fn->SelectionChanged(root, ud);
		ScrollToEntry(*tree, entry);
	}
	fn->DragNotify(root, ud);
	AtomArray* arr = AtomArray::Alloc();
	if (!arr)
	{
		*error = "out of memory";
		return false;
	}
	// The payload: every selected row, or the pressed row alone when it is not selected.
	TreeLayout now;
	WalkTree(*tree, TreeDraw::None, &now);
	bool any = false;
	for (const TreeRow& r : now.rows)
		if (fn->IsSelected(root, ud, r.entry))
		{
			fn->GenerateDragArray(root, ud, r.entry, arr);
			any = true;
		}
	if (!any)
		fn->GenerateDragArray(root, ud, entry, arr);
	bool allowCopy = false;
	const Int32 accepted = fn->AcceptDragObject(root, ud, onto, type, arr, allowCopy);
	if ((accepted & insertMode) == 0)
		*refusal = "the drop onto " + (target >= 0 ? "row " + std::to_string(target) : std::string("empty space")) + " was refused";
	else
		fn->InsertObject(root, ud, onto, type, arr, insertMode, false);
	DeliverOwnDrop(dialog, id, arr);
	AtomArray::Free(arr);
	EndInteraction(dialog, id);
	return true;
}

bool TreeMenu(GeDialog* dialog, Int32 id, Int32 row, Int32 column, const std::string& choice, std::vector<std::pair<Int32, std::string>>* entries, std::string* error)
{
	TreeState* tree = Reach(dialog, id, error);
	if (!tree)
		return false;
	TreeLayout layout;
	WalkTree(*tree, TreeDraw::None, &layout);
	if (!Column(layout, column, error) || !Row(layout, row, true, error))
		return false;
	TreeViewFunctions* fn = tree->functions;
	void* entry = row >= 0 ? layout.rows[row].entry : nullptr;
	BaseContainer menu;
	menu.SetString(ID_TREEVIEW_CONTEXT_REMOVE, String("Delete"));
	menu.SetString(ID_TREEVIEW_CONTEXT_RESET, String("Reset"));
	fn->CreateContextMenu(tree->root, tree->userdata, entry, column, &menu);
	*entries = MenuEntries(menu);
	if (choice.empty())
		return true;
	const Int32 chosen = ChooseFromMenu(menu, choice);
	if (chosen == 0)
	{
		*error = "the context menu has no entry '" + Printable(choice, 80) + "'";
		return false;
	}
	if (!fn->ContextMenuCall(chosen, tree->root, tree->userdata, entry, column) && chosen == ID_TREEVIEW_CONTEXT_REMOVE)
		fn->DeletePressed(tree->root, tree->userdata);
	EndInteraction(dialog, id);
	return true;
}

bool TreeSplitDrag(GeDialog* dialog, Int32 id, Int32 column, Int32 dx, std::string* error)
{
	TreeState* tree = Reach(dialog, id, error);
	if (!tree)
		return false;
	TreeLayout layout;
	WalkTree(*tree, TreeDraw::None, &layout);
	const TreeColumn* col = Column(layout, column, error);
	if (!col)
		return false;
	DialogState* state = Find(dialog);
	if (state->layoutDirty)
		Layout(*state);
	const int index = FindGadget(*state, id);
	const Rect r = state->gadgets[index].rect;
	// The pointer rests on the column's left edge (the cursor query there), then the left button
	// goes down, moves dx and comes up again while the tree's input handler polls it.
	const Int32 x = r.x + col->x;
	const Int32 y = r.y + layout.headerHeight / 2;
	state->mouse.now = MouseState{x, y, false, 0};
	state->mouse.path.clear();
	{
		BaseContainer cursor(BFM_GETCURSORINFO);
		BaseContainer result;
		state->dialog->Message(cursor, result);
	}
	state = Find(dialog);
	if (!state || !state->open || !tree->functions)
		return true;
	state->mouse.path = {{x + dx, y, true}, {x + dx, y, false}};
	state->mouse.now.down = true;
	tree->functions->InputEvent(tree->root, tree->userdata, tree, InputMessage(0, x, y, true));
	if ((state = Find(dialog)) != nullptr)
	{
		state->mouse.path.clear();
		state->mouse.now.down = false;
	}
	EndInteraction(dialog, id);
	return true;
}

bool TreeDelete(GeDialog* dialog, Int32 id, std::string* error)
{
	TreeState* tree = Reach(dialog, id, error);
	if (!tree)
		return false;
	tree->functions->DeletePressed(tree->root, tree->userdata);
	EndInteraction(dialog, id);
	return true;
}

} // namespace standin::dialogs
