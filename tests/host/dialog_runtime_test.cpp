// The host's dialog runtime as plug-ins and scripts meet it: layouts built by the plug-in's calls,
// what a user can and cannot click, modal dialogs and popup menus answered from a queue, dialog
// resources, and the tree gadget walking, laying out, clicking and drawing through its adapter.
#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <map>
#include <string>
#include <vector>

#include "dialog/dialog_picture.h"
#include "standin/dialog_input.h"
#include "standin/dialog_surface.h"
#include "dialog/dialog_resource.h"
#include "treeview/tree_state.h"
#include "hostapi/api.h"
#include "standin/dialogs.h"

using namespace standin::dialogs;

namespace
{

class QueueAnswers : public AnswerSource
{
public:
	QueueAnswers() { _previous = UseAnswerSource(this); }
	~QueueAnswers() override { UseAnswerSource(_previous); }
	std::deque<std::string> popups;
	std::deque<std::vector<std::string>> modals;
	bool TakePopupAnswer(std::string* a) override { return Pop(popups, a); }
	bool TakeModalAnswer(std::vector<std::string>* w) override { return Pop(modals, w); }
	bool TakeQuestionAnswer(std::string* a) override { return Pop(popups, a); }

private:
	template <typename T>
	static bool Pop(std::deque<T>& q, T* out)
	{
		if (q.empty())
			return false;
		*out = q.front();
		q.pop_front();
		return true;
	}
	AnswerSource* _previous = nullptr;
};

class Panel : public GeDialog
{
public:
	std::vector<Int32> commands;
	Int32 interactions = 0;
	bool refuseClose = false;
	Int32 destroyed = 0;

	bool CreateLayout() override
	{
		SetTitle("Panel");
		GroupBegin(0, BFH_SCALEFIT, 1, 0, "Panel", 0);
		AddButton(1, BFH_LEFT, 60, 12, "Go");
		AddCheckbox(2, BFH_LEFT, 0, 0, "Link");
		AddComboBox(3, BFH_LEFT, 60, 10);
		AddChild(3, 31, "First");
		AddChild(3, 32, "Second");
		GroupBegin(4, BFH_SCALEFIT, 2, 0, "", 0);
		AddButton(5, BFH_LEFT, 0, 0, "Inner");
		GroupEnd();
		AddEditText(6, BFH_SCALEFIT, 100, 12);
		GroupEnd();
		return true;
	}
	bool InitValues() override
	{
		SetBool(2, true);
		SetInt32(3, 31);
		return true;
	}
	bool Command(Int32 id, const BaseContainer& msg) override
	{
		EXPECT_EQ(msg.GetInt32(BFM_ACTION_ID), id);
		commands.push_back(id);
		return true;
	}
	Int32 Message(const BaseContainer& msg, BaseContainer& result) override
	{
		(void)result;
		if (msg.GetId() == BFM_INTERACTEND)
			++interactions;
		return 0;
	}
	bool AskClose() override { return refuseClose; }
	void DestroyWindow() override { ++destroyed; }
};

class NamePrompt : public GeModalDialog
{
public:
	String text = "proposal";
	bool CreateLayout() override
	{
		SetTitle("Name");
		AddEditText(16, BFH_SCALEFIT, 100, 12);
		AddButton(14, BFH_LEFT, 50, 12, "OK");
		AddButton(15, BFH_LEFT, 50, 12, "Cancel");
		return true;
	}
	bool InitValues() override { return SetString(16, text); }
	bool Command(Int32 id, const BaseContainer&) override
	{
		if (id == 14)
		{
			GetString(16, text);
			Close(true);
		}
		else if (id == 15)
			Close(false);
		return true;
	}
};

TEST(DialogRuntime, OpensBuildsLayoutAndShowsValues)
{
	Panel panel;
	EXPECT_FALSE(panel.IsOpen());
	ASSERT_TRUE(panel.Open(DLG_TYPE_ASYNC, 123, -1, -1, 300, 400));
	EXPECT_TRUE(panel.IsOpen());
	EXPECT_EQ(FindOpenDialog(123), &panel);
	EXPECT_EQ(Title(&panel), "Panel");
	GadgetView combo, check, inner, group;
	ASSERT_TRUE(FindGadgetView(&panel, 3, &combo));
	EXPECT_EQ(combo.value, "First");
	ASSERT_EQ(combo.children.size(), 2u);
	ASSERT_TRUE(FindGadgetView(&panel, 2, &check));
	EXPECT_EQ(check.value, "on");
	ASSERT_TRUE(FindGadgetView(&panel, 5, &inner));
	ASSERT_TRUE(FindGadgetView(&panel, 4, &group));
	EXPECT_EQ(inner.depth, 2);
	// Members lie inside their group.
	EXPECT_GE(inner.x, group.x);
	EXPECT_GE(inner.y, group.y);
	EXPECT_LE(inner.x + inner.w, group.x + group.w);
	// Opening again brings up the same window without building it anew.
	EXPECT_TRUE(panel.Open(DLG_TYPE_ASYNC, 123, -1, -1, 300, 400));
	EXPECT_EQ(OpenCount(&panel), 1);
	std::string error;
	ASSERT_TRUE(AskClose(&panel, &error)) << error;
	EXPECT_EQ(panel.destroyed, 1);
	EXPECT_EQ(FindOpenDialog(123), nullptr);
	ASSERT_TRUE(panel.Open(DLG_TYPE_ASYNC, 123, -1, -1, 300, 400));
	EXPECT_EQ(OpenCount(&panel), 2);
}

TEST(DialogRuntime, ClicksReachOnlyShownEnabledGadgets)
{
	Panel panel;
	ASSERT_TRUE(panel.Open(DLG_TYPE_ASYNC, 124, -1, -1, 0, 0));
	std::string error;
	ASSERT_TRUE(Click(&panel, 2, &error)) << error;
	bool link = true;
	panel.GetBool(2, link);
	EXPECT_FALSE(link);
	EXPECT_EQ(panel.commands, std::vector<Int32>{2});
	EXPECT_EQ(panel.interactions, 1);

	panel.Enable(1, false);
	EXPECT_FALSE(Click(&panel, 1, &error));
	EXPECT_NE(error.find("disabled"), std::string::npos);
	// A hidden group hides its members: they take no clicks and no room.
	GadgetView before;
	ASSERT_TRUE(FindGadgetView(&panel, 6, &before));
	panel.HideElement(4, true);
	EXPECT_FALSE(Click(&panel, 5, &error));
	EXPECT_NE(error.find("hidden"), std::string::npos);
	GadgetView after, inner;
	ASSERT_TRUE(FindGadgetView(&panel, 6, &after));
	ASSERT_TRUE(FindGadgetView(&panel, 5, &inner));
	EXPECT_FALSE(inner.shown);
	EXPECT_LT(after.y, before.y);

	EXPECT_FALSE(Choose(&panel, 3, 99, &error));
	ASSERT_TRUE(Choose(&panel, 3, 32, &error)) << error;
	Int32 choice = 0;
	panel.GetInt32(3, choice);
	EXPECT_EQ(choice, 32);
	EXPECT_FALSE(TypeText(&panel, 1, "x", &error));
	EXPECT_FALSE(Click(&panel, 99, &error));
	EXPECT_EQ(panel.commands, (std::vector<Int32>{2, 3}));
}

TEST(DialogRuntime, ClosingCanBeRefusedAndClosedDialogsTakeNothing)
{
	Panel panel;
	ASSERT_TRUE(panel.Open(DLG_TYPE_ASYNC, 125, -1, -1, 0, 0));
	panel.refuseClose = true;
	std::string error;
	EXPECT_FALSE(AskClose(&panel, &error));
	EXPECT_TRUE(panel.IsOpen());
	panel.refuseClose = false;
	ASSERT_TRUE(AskClose(&panel, &error));
	EXPECT_FALSE(Click(&panel, 2, &error));
	EXPECT_NE(error.find("not open"), std::string::npos);
}

TEST(DialogRuntime, ModalDialogsReturnTheQueuedAnswer)
{
	QueueAnswers answers;
	NamePrompt prompt;
	answers.modals.push_back({"set", "16", "My set", "click", "14"});
	EXPECT_TRUE(prompt.Open());
	EXPECT_EQ(prompt.text.Get(), "My set");
	EXPECT_FALSE(prompt.IsOpen());

	answers.modals.push_back({"set", "16", "Other", "click", "15"});
	EXPECT_FALSE(prompt.Open());
	EXPECT_EQ(prompt.text.Get(), "My set");
	// Nothing queued: the user closed it.
	EXPECT_FALSE(prompt.Open());
	// An answer the dialog cannot take stops there, and the dialog is cancelled.
	answers.modals.push_back({"click", "77", "click", "14"});
	EXPECT_FALSE(prompt.Open());
	EXPECT_FALSE(prompt.IsOpen());
}

TEST(DialogRuntime, PopupMenusTakeQueuedAnswers)
{
	QueueAnswers answers;
	Panel panel;
	ASSERT_TRUE(panel.Open(DLG_TYPE_ASYNC, 126, -1, -1, 0, 0));
	BaseContainer menu, sub;
	sub.SetString(MENURESOURCE_SUBTITLE, String("Add to Layer"));
	sub.SetString(1000, String("Layer A"));
	sub.SetString(1001, String("Layer B"));
	menu.SetContainer(900010, sub);
	menu.SetString(900011, String("Add to New Layer"));
	answers.popups = {"Add to Layer/Layer B", "900011", "Layer A", "cancel", "Nothing here"};
	EXPECT_EQ(ShowPopupMenu(&panel, 0, 0, menu, 72), 1001);
	EXPECT_EQ(ShowPopupMenu(&panel, 0, 0, menu, 72), 900011);
	EXPECT_EQ(ShowPopupMenu(&panel, 0, 0, menu, 72), 1000);
	EXPECT_EQ(ShowPopupMenu(&panel, 0, 0, menu, 72), 0);
	EXPECT_EQ(ShowPopupMenu(&panel, 0, 0, menu, 72), 0);
	EXPECT_EQ(ShowPopupMenu(&panel, 0, 0, menu, 72), 0); // nothing queued
	// A menu anchored to a dialog that is closed, or gone, is not shown and takes no answer.
	std::string error;
	ASSERT_TRUE(AskClose(&panel, &error));
	answers.popups = {"900011"};
	EXPECT_EQ(ShowPopupMenu(&panel, 0, 0, menu, 72), 0);
	{
		Panel gone;
		ASSERT_TRUE(gone.Open(DLG_TYPE_ASYNC, 127, -1, -1, 0, 0));
	}
	GeDialog* dangling = FindOpenDialog(127);
	EXPECT_EQ(dangling, nullptr);
	EXPECT_EQ(answers.popups.size(), 1u);
}

class ListPanel : public GeDialog
{
public:
	SimpleListView list;
	std::vector<std::pair<Int32, Int32>> chosen; // row, action value
	bool CreateLayout() override { return AddListView(7, BFH_SCALEFIT, 100, 60) && list.AttachListView(this, 7); }
	bool Command(Int32 id, const BaseContainer& msg) override
	{
		if (id == 7)
			chosen.emplace_back(msg.GetInt32(LV_SIMPLE_ITEM_ID), msg.GetInt32(BFM_ACTION_VALUE));
		return true;
	}
};

TEST(DialogRuntime, ListViewsShowTheirRowsAndReportTheChosenOne)
{
	ListPanel panel;
	ASSERT_TRUE(panel.Open(DLG_TYPE_ASYNC, 128, -1, -1, 0, 0));
	BaseContainer layout, row;
	layout.SetInt32(1, LV_COLUMN_TEXT);
	ASSERT_TRUE(panel.list.SetLayout(1, layout));
	row.SetString(1, String("first"));
	ASSERT_TRUE(panel.list.SetItem(0, row));
	row.SetString(1, String("member"));
	ASSERT_TRUE(panel.list.SetItem(-1, row));
	row.SetString(1, String("renamed"));
	ASSERT_TRUE(panel.list.SetItem(0, row));
	EXPECT_EQ(panel.list.GetItemCount(), 2);
	GadgetView view;
	ASSERT_TRUE(FindGadgetView(&panel, 7, &view));
	const std::vector<std::pair<Int32, std::string>> rows = {{0, "renamed"}, {-1, "member"}};
	EXPECT_EQ(view.children, rows);
	std::string error;
	ASSERT_TRUE(Choose(&panel, 7, -1, &error)) << error;
	EXPECT_FALSE(Choose(&panel, 7, 5, &error));
	EXPECT_NE(error.find("no row 5"), std::string::npos) << error;
	ASSERT_EQ(panel.chosen.size(), 1u);
	EXPECT_EQ(panel.chosen[0], std::make_pair(Int32(-1), Int32(LV_SIMPLE_SELECTIONCHANGED)));
	EXPECT_TRUE(panel.list.RemoveItem(-1));
	EXPECT_FALSE(panel.list.RemoveItem(-1));
	// The rows go with the window; a closed list takes none.
	ASSERT_TRUE(AskClose(&panel, &error));
	EXPECT_FALSE(panel.list.SetItem(3, row));
	EXPECT_EQ(panel.list.GetItemCount(), 0);
}

TEST(DialogRuntime, DialogResourcesBuildGadgetsAndNameTheirFaults)
{
	class Host : public GeDialog
	{
	};
	Host dialog;
	std::string error;
	EXPECT_TRUE(BuildDialogText(dialog, "# page\nGROUP 10 1 \"Page\"\n  TREE 11\n  RADIO 12 2\n  CHILD 13 \"Local\"\n  CHILD 14 \"Global\"\nEND\n", "t.dlg", nullptr, &error)) << error;
	EXPECT_NE(dialog.FindCustomGui(11, CUSTOMGUI_TREEVIEW), nullptr);
	EXPECT_EQ(dialog.FindCustomGui(11, CUSTOMGUI_QUICKTAB), nullptr);
	EXPECT_FALSE(BuildDialogText(dialog, "GROUP 1 1\nBUTTON 2 \"x\"\n", "a.dlg", nullptr, &error));
	EXPECT_NE(error.find("not closed"), std::string::npos);
	EXPECT_FALSE(BuildDialogText(dialog, "\nSLIDER 3\n", "b.dlg", nullptr, &error));
	EXPECT_EQ(error.rfind("b.dlg:2:", 0), 0u) << error;
	EXPECT_FALSE(BuildDialogText(dialog, "BUTTON x \"y\"\n", "c.dlg", nullptr, &error));
	EXPECT_FALSE(BuildDialogText(dialog, "BUTTON 4 \"unterminated\n", "d.dlg", nullptr, &error));
	EXPECT_FALSE(BuildDialogText(dialog, "END\n", "e.dlg", nullptr, &error));
}

// A resource (or a plug-in) may ask for any number of columns; the grid only ever has as many as
// it has shown members, so an absurd count lays out like a sensible one instead of exhausting memory.
TEST(DialogRuntime, AGroupsColumnsAreBoundByItsMembers)
{
	struct Page : public GeDialog
	{
		std::string text;
		bool CreateLayout() override
		{
			std::string error;
			return BuildDialogText(*this, text, "p.dlg", nullptr, &error);
		}
	};
	auto layout = [](const std::string& columns) {
		Page page;
		page.text = "GROUP 10 " + columns + "\n  BUTTON 11 \"One\"\n  BUTTON 12 \"Two\"\nEND\n";
		EXPECT_TRUE(page.Open(DLG_TYPE_ASYNC, 77, -1, -1, 0, 0));
		std::vector<Int32> places;
		for (Int32 id : {10, 11, 12})
		{
			GadgetView g;
			EXPECT_TRUE(FindGadgetView(&page, id, &g));
			places.insert(places.end(), {g.x, g.y, g.w, g.h});
		}
		std::string error;
		EXPECT_TRUE(AskClose(&page, &error)) << error;
		return places;
	};
	const std::vector<Int32> two = layout("2");
	EXPECT_EQ(two[4 + 1], two[8 + 1]); // side by side
	EXPECT_EQ(layout("2147483647"), two);
	EXPECT_EQ(layout("3"), two);
}

// ---- Tree gadget ----

struct Node
{
	std::string name;
	std::vector<Node*> children;
	Node* parent = nullptr;
	bool opened = false;
	bool selected = false;
};

class NodeTree : public TreeViewFunctions
{
public:
	std::vector<std::string> calls;
	bool takeInput = false;
	// What the adapter answers to the questions the tree asks beside the walk.
	bool drawsHeader = false;
	Int32 dragStart = TREEVIEW_DRAGSTART_ALLOW | TREEVIEW_DRAGSTART_SELECT;
	bool scrolls = true;
	std::map<const Node*, Int64> ids;

	static Node* N(void* p) { return static_cast<Node*>(p); }
	static Node* Sibling(Node* n, int step)
	{
		if (!n->parent)
			return nullptr;
		auto& c = n->parent->children;
		for (size_t i = 0; i < c.size(); ++i)
			if (c[i] == n)
			{
				const long j = static_cast<long>(i) + step;
				return j >= 0 && j < static_cast<long>(c.size()) ? c[j] : nullptr;
			}
		return nullptr;
	}
	void* GetFirst(void* root, void*) override { return N(root)->children.empty() ? nullptr : N(root)->children[0]; }
	void* GetDown(void*, void*, void* obj) override { return N(obj)->children.empty() ? nullptr : N(obj)->children[0]; }
	void* GetNext(void*, void*, void* obj) override { return Sibling(N(obj), 1); }
	void* GetPred(void*, void*, void* obj) override { return Sibling(N(obj), -1); }
	Int32 GetColumnWidth(void*, void*, void* obj, Int32 col, GeUserArea* area) override
	{
		return col == 1 ? area->DrawGetTextWidth(N(obj)->name) + 20 : 10;
	}
	Int32 GetLineHeight(void*, void*, void*, Int32, GeUserArea* area) override { return area->DrawGetFontHeight() + 7; }
	void DrawCell(void*, void*, void* obj, Int32 col, DrawInfo* info, const GeData&) override
	{
		info->frame->DrawSetTextCol(N(obj)->selected ? COLOR_TEXT_SELECTED : COLOR_TEXT, COLOR_TRANS);
		info->frame->DrawText(N(obj)->name + "/" + std::to_string(col), info->xpos, info->ypos);
	}
	bool IsSelected(void*, void*, void* obj) override { return N(obj)->selected; }
	void Select(void* root, void*, void* obj, Int32 mode) override
	{
		if (mode == SELECTION_TREE_NEW)
			for (Node* c : N(root)->children)
				c->selected = false;
		N(obj)->selected = mode != SELECTION_TREE_SUB;
		calls.push_back("select " + N(obj)->name + " " + std::to_string(mode));
	}
	bool IsOpened(void*, void*, void* obj) override { return N(obj)->opened; }
	void Open(void*, void*, void* obj, bool on) override { N(obj)->opened = on; }
	String GetName(void*, void*, void* obj) override { return N(obj)->name; }
	bool InputEvent(void*, void*, TreeViewCustomGui* gadget, const BaseContainer& msg) override
	{
		calls.push_back("input " + std::to_string(gadget->GetId()) + " q" + std::to_string(msg.GetInt32(BFM_INPUT_QUALIFIER)));
		return takeInput;
	}
	bool MouseDown(void*, void*, void* obj, Int32 col, MouseInfo* info, bool) override
	{
		calls.push_back("down " + N(obj)->name + " " + std::to_string(col) + " " + std::to_string(static_cast<int>(info->mx)) + "," + std::to_string(static_cast<int>(info->my)));
		return false;
	}
	bool DrawHeaderCell(void*, void*, Int32 col, DrawInfo* info) override
	{
		if (!drawsHeader)
			return false;
		info->frame->DrawSetPen(COLOR_EDGEWH);
		info->frame->DrawLine(info->xpos, info->ypos, info->xpos + col, info->ypos);
		return true;
	}
	Int32 GetMinHeaderHeight(void*, void*, GeUserArea*) override { return 16; }
	bool IsCheckColumn(void*, void*, Int32 col) override { return col == 2; }
	Int32 IsChecked(void*, void*, void* obj, Int32 col) override
	{
		calls.push_back("checked " + N(obj)->name + " " + std::to_string(col));
		return N(obj)->name == "A" ? 3 : N(obj)->name == "B" ? 1 : 0;
	}
	Int64 GetId(void* root, void* ud, void* obj) override
	{
		auto it = ids.find(N(obj));
		return it == ids.end() ? TreeViewFunctions::GetId(root, ud, obj) : it->second;
	}
	Int32 GetDragType(void*, void*, void*) override { return DRAGTYPE_ATOMARRAY; }
	Int32 DragStart(void*, void*, void*) override { return dragStart; }
	bool ScrollToSelection(void*, void*) override { return scrolls; }
};

class TreeDialog : public GeDialog
{
public:
	TreeViewCustomGui* tree = nullptr;
	bool CreateLayout() override
	{
		tree = static_cast<TreeViewCustomGui*>(AddCustomGui(3, CUSTOMGUI_TREEVIEW, String(), BFH_SCALEFIT, 200, 100, BaseContainer()));
		BaseContainer layout;
		layout.SetInt32(1, LV_USERTREE);
		layout.SetInt32(2, LV_USER);
		return tree && tree->SetLayout(2, layout);
	}
};

struct TreeFixture : ::testing::Test
{
	Node root, a, b, a1;
	NodeTree fn;
	TreeDialog dialog;
	void SetUp() override
	{
		a.name = "A";
		b.name = "B";
		a1.name = "A1";
		root.children = {&a, &b};
		a.parent = b.parent = &root;
		a.children = {&a1};
		a1.parent = &a;
		ASSERT_TRUE(dialog.Open(DLG_TYPE_ASYNC, 200, -1, -1, 0, 0));
		ASSERT_NE(dialog.tree, nullptr);
		dialog.tree->SetRoot(&root, &fn, nullptr);
	}
};

TEST_F(TreeFixture, RowsFollowTheAdapterAndOpenEntries)
{
	std::vector<TreeRow> rows;
	std::string error;
	ASSERT_TRUE(TreeRows(&dialog, 3, &rows, &error)) << error;
	ASSERT_EQ(rows.size(), 2u);
	EXPECT_TRUE(rows[0].hasChildren);
	a.opened = true;
	ASSERT_TRUE(TreeRows(&dialog, 3, &rows, &error));
	ASSERT_EQ(rows.size(), 3u);
	EXPECT_EQ(rows[1].name, "A1");
	EXPECT_EQ(rows[1].depth, 1);
	EXPECT_EQ(rows[1].y - rows[0].y, kFontHeight + 7);
	// Every cell's draw calls are kept with the cell, at the place the layout gave it.
	ASSERT_EQ(rows[1].cells.size(), 2u);
	ASSERT_EQ(rows[1].cells[1].ops.size(), 1u);
	EXPECT_EQ(rows[1].cells[1].ops[0].text, "A1/2");
	EXPECT_EQ(rows[1].cells[1].ops[0].x1, rows[1].cells[1].x);
	// The tree column is indented per level.
	EXPECT_EQ(rows[1].cells[0].x - rows[0].cells[0].x, kIndent);
}

TEST_F(TreeFixture, ClicksMapToEntryColumnAndPosition)
{
	std::string error;
	std::vector<TreeColumn> columns;
	Int32 header = 0;
	ASSERT_TRUE(TreeColumns(&dialog, 3, &columns, &header, &error));
	ASSERT_EQ(columns.size(), 2u);
	ASSERT_TRUE(TreeClick(&dialog, 3, 1, 2, 3, 10, TREE_CTRL, &error)) << error;
	const Int32 line = kFontHeight + 7;
	const std::vector<std::string> expected = {"input 3 q2", "down B 2 " + std::to_string(columns[1].x + 3) + "," + std::to_string(line + 10), "select B 1"};
	ASSERT_EQ(header, 16);
	EXPECT_EQ(fn.calls, expected);
	// A click the input handler takes goes no further.
	fn.calls.clear();
	fn.takeInput = true;
	ASSERT_TRUE(TreeClick(&dialog, 3, 0, 1, 1, 1, 0, &error));
	EXPECT_EQ(fn.calls.size(), 1u);
	fn.takeInput = false;
	// The arrow folds instead of selecting.
	ASSERT_TRUE(TreeClick(&dialog, 3, 0, 1, 1, 1, TREE_ARROW, &error));
	EXPECT_TRUE(a.opened);
	// Clicks outside the rows, columns or cell are refused with the reason.
	EXPECT_FALSE(TreeClick(&dialog, 3, 5, 1, 1, 1, 0, &error));
	EXPECT_FALSE(TreeClick(&dialog, 3, 0, 7, 1, 1, 0, &error));
	EXPECT_FALSE(TreeClick(&dialog, 3, 0, 1, 1, 500, 0, &error));
	EXPECT_FALSE(TreeClick(&dialog, 4, 0, 1, 1, 1, 0, &error));
}

TEST_F(TreeFixture, DeepAndLoopingTreesEndWithoutRecursion)
{
	std::vector<Node> chain(200000);
	for (size_t i = 0; i + 1 < chain.size(); ++i)
	{
		chain[i].children = {&chain[i + 1]};
		chain[i + 1].parent = &chain[i];
		chain[i].opened = true;
	}
	Node deepRoot;
	deepRoot.children = {&chain[0]};
	chain[0].parent = &deepRoot;
	dialog.tree->SetRoot(&deepRoot, &fn, nullptr);
	std::vector<TreeColumn> columns;
	Int32 header = 0;
	std::string error;
	ASSERT_TRUE(TreeColumns(&dialog, 3, &columns, &header, &error));
	// A child that is its own ancestor is met twice and not followed.
	chain.back().children = {&chain[0]};
	chain.back().opened = true;
	std::vector<TreeRow> rows;
	ASSERT_TRUE(TreeRows(&dialog, 3, &rows, &error));
	EXPECT_EQ(rows.size(), chain.size());
	chain.back().children.clear();
}

TEST_F(TreeFixture, HeadersAndCheckBoxesComeFromTheAdapter)
{
	std::string error;
	std::vector<TreeCell> header;
	dialog.tree->SetHeaderText(1, "Name");
	// A header the adapter leaves to the tree gets the tree's caption; one it draws has only its
	// own drawing.
	ASSERT_TRUE(TreeHeader(&dialog, 3, &header, &error)) << error;
	ASSERT_EQ(header.size(), 2u);
	auto HasText = [](const TreeCell& cell, const std::string& text) {
		for (const DrawOp& op : cell.ops)
			if (op.kind == DrawOp::Text && op.text == text)
				return true;
		return false;
	};
	EXPECT_TRUE(HasText(header[0], "Name"));
	EXPECT_EQ(header[0].h, 16);
	fn.drawsHeader = true;
	ASSERT_TRUE(TreeHeader(&dialog, 3, &header, &error));
	ASSERT_EQ(header[0].ops.size(), 1u);
	EXPECT_EQ(header[0].ops[0].kind, DrawOp::Line);
	EXPECT_EQ(header[1].ops[0].x2 - header[1].ops[0].x1, 2);

	// Only the check column asks for check states; each row's box lies under the adapter's drawing,
	// and a row answering 0 has none.
	std::vector<TreeColumn> columns;
	Int32 headerHeight = 0;
	ASSERT_TRUE(TreeColumns(&dialog, 3, &columns, &headerHeight, &error));
	EXPECT_FALSE(columns[0].checks);
	EXPECT_TRUE(columns[1].checks);
	a.opened = true;
	fn.calls.clear();
	std::vector<TreeRow> rows;
	ASSERT_TRUE(TreeRows(&dialog, 3, &rows, &error));
	ASSERT_EQ(rows.size(), 3u);
	const std::vector<std::string> asked = {"checked A 2", "checked A1 2", "checked B 2"};
	EXPECT_EQ(fn.calls, asked);
	ASSERT_EQ(rows[0].cells[1].ops.size(), 2u);
	EXPECT_EQ(rows[0].cells[1].ops[0].kind, DrawOp::Check);
	EXPECT_EQ(rows[0].cells[1].ops[0].mode, 3);
	EXPECT_EQ(rows[0].cells[1].ops[1].text, "A/2");
	EXPECT_EQ(rows[1].cells[1].ops.size(), 1u);
	EXPECT_EQ(rows[2].cells[1].ops[0].mode, 1);
	EXPECT_EQ(rows[0].cells[0].ops.size(), 1u);
}

TEST_F(TreeFixture, IdentitiesDragStartAndScrollingFollowTheAdapter)
{
	std::string error, refusal;
	// Rows carry the adapter's identities; an entry whose identity was met already is not shown
	// again (a level whose answers loop ends there).
	fn.ids = {{&a, 7}, {&b, 9}};
	std::vector<TreeRow> rows;
	ASSERT_TRUE(TreeRows(&dialog, 3, &rows, &error));
	ASSERT_EQ(rows.size(), 2u);
	EXPECT_EQ(rows[0].id, 7);
	EXPECT_EQ(rows[1].id, 9);
	fn.ids[&b] = 7;
	ASSERT_TRUE(TreeRows(&dialog, 3, &rows, &error));
	EXPECT_EQ(rows.size(), 1u);
	fn.ids.clear();

	// A drag the adapter does not allow is refused before anything is selected; one it allows
	// without selecting leaves the selection alone.
	fn.dragStart = 0;
	fn.calls.clear();
	ASSERT_TRUE(TreeDrag(&dialog, 3, 1, 1, 0, INSERT_AFTER, &refusal, &error)) << error;
	EXPECT_NE(refusal.find("cannot be dragged"), std::string::npos) << refusal;
	fn.dragStart = TREEVIEW_DRAGSTART_ALLOW;
	ASSERT_TRUE(TreeDrag(&dialog, 3, 1, 1, 0, INSERT_AFTER, &refusal, &error));
	EXPECT_NE(refusal.find("was refused"), std::string::npos) << refusal;
	for (const std::string& call : fn.calls)
		EXPECT_EQ(call.rfind("select", 0), std::string::npos) << call;
	EXPECT_FALSE(b.selected);
	fn.dragStart = TREEVIEW_DRAGSTART_ALLOW | TREEVIEW_DRAGSTART_SELECT;
	ASSERT_TRUE(TreeDrag(&dialog, 3, 1, 1, 0, INSERT_AFTER, &refusal, &error));
	EXPECT_TRUE(b.selected);

	// Twenty more rows than the gadget shows: selecting one far down scrolls there when the
	// adapter wants it, and the picture then shows that row.
	std::vector<Node> more(20);
	for (size_t i = 0; i < more.size(); ++i)
	{
		more[i].name = "N" + std::to_string(i);
		more[i].parent = &root;
		root.children.push_back(&more[i]);
	}
	auto* state = static_cast<TreeState*>(dialog.tree);
	fn.scrolls = false;
	ASSERT_TRUE(TreeClick(&dialog, 3, 15, 1, 2, 2, 0, &error)) << error;
	ASSERT_TRUE(TreeRows(&dialog, 3, &rows, &error));
	EXPECT_EQ(state->topRow, 0);
	fn.scrolls = true;
	ASSERT_TRUE(TreeClick(&dialog, 3, 15, 1, 2, 2, 0, &error));
	ASSERT_TRUE(TreeRows(&dialog, 3, &rows, &error));
	GadgetView gadget;
	ASSERT_TRUE(FindGadgetView(&dialog, 3, &gadget));
	const Int32 shown = (gadget.h - 16) / (kFontHeight + 7);
	EXPECT_EQ(state->topRow, 15 - shown + 1);
	// Rows that go away never leave it scrolled past the end.
	root.children.resize(3);
	ASSERT_TRUE(TreeRows(&dialog, 3, &rows, &error));
	EXPECT_EQ(state->topRow, 0);
}

} // namespace

namespace
{

// Another output: a surface that keeps what it is asked to draw.
class RecordingSurface : public DialogSurface
{
public:
	std::vector<std::string> texts;
	Int32 fills = 0, lines = 0;
	void Fill(Int32, Int32, Int32, Int32, const Vector&) override { ++fills; }
	void Line(Float, Float, Float, Float, const Vector&, Float) override { ++lines; }
	void Polygon(const std::vector<std::pair<Float, Float>>&, const Vector&) override {}
	void Circle(Float, Float, Float, const Vector&, Float) override {}
	void Text(Int32, Int32, const std::string& text, const Vector&) override { texts.push_back(text); }
	void Pixel(Int32, Int32, const Vector&) override {}
};

// Another input: a pointer held still at one place with the button down.
class FixedInput : public DialogInput
{
public:
	Int32 polls = 0, drops = 0;
	MouseState PollMouse(GeDialog*) override
	{
		++polls;
		return {40, 30, true, QSHIFT};
	}
	void DropEvents(GeDialog*) override { ++drops; }
};

TEST(DialogPicture, AnotherSurfaceOrInputPlugsInWithoutTheDialogKnowing)
{
	Panel panel;
	ASSERT_TRUE(panel.Open(DLG_TYPE_ASYNC, 301, -1, -1, 0, 0));
	RecordingSurface surface;
	std::string error;
	ASSERT_TRUE(PaintDialog(&panel, surface, &error)) << error;
	EXPECT_NE(std::find(surface.texts.begin(), surface.texts.end(), "Go"), surface.texts.end());
	EXPECT_NE(std::find(surface.texts.begin(), surface.texts.end(), "First"), surface.texts.end());
	EXPECT_GT(surface.fills, 0);
	EXPECT_GT(surface.lines, 0);

	FixedInput input;
	DialogInput* before = UseDialogInput(&input);
	BaseContainer state;
	ASSERT_TRUE(panel.GetInputState(BFM_INPUT_MOUSE, BFM_INPUT_MOUSELEFT, state));
	panel.KillEvents();
	EXPECT_EQ(state.GetFloat(BFM_INPUT_X), 40.0);
	EXPECT_EQ(state.GetInt32(BFM_INPUT_VALUE), 1);
	EXPECT_EQ(state.GetInt32(BFM_INPUT_QUALIFIER), QSHIFT);
	EXPECT_EQ(input.polls, 1);
	EXPECT_EQ(input.drops, 1);
	UseDialogInput(before);
	// The scripted user is back: nothing held.
	ASSERT_TRUE(panel.GetInputState(BFM_INPUT_MOUSE, BFM_INPUT_MOUSELEFT, state));
	EXPECT_EQ(state.GetInt32(BFM_INPUT_VALUE), 0);
	std::string closeError;
	ASSERT_TRUE(AskClose(&panel, &closeError));
	EXPECT_FALSE(PaintDialog(&panel, surface, &error));
}

TEST(DialogPicture, ShowsGadgetsInTheirStates)
{
	Panel panel;
	ASSERT_TRUE(panel.Open(DLG_TYPE_ASYNC, 300, -1, -1, 0, 0));
	std::string error;
	auto canvas = PaintDialog(&panel, &error);
	ASSERT_NE(canvas, nullptr) << error;
	GadgetView check;
	ASSERT_TRUE(FindGadgetView(&panel, 2, &check));
	EXPECT_GE(canvas->Width(), check.x + check.w);
	// The tick of the checked box is dark; once unchecked the box is white there.
	auto Darkness = [&](const standin::picture::Canvas& c) {
		Float dark = 0;
		for (Int32 y = check.y + 3; y < check.y + 13; ++y)
			for (Int32 x = check.x + 1; x < check.x + 11; ++x)
				dark += 1.0 - c.PixelAt(x, y).x;
		return dark;
	};
	const Float ticked = Darkness(*canvas);
	ASSERT_TRUE(Click(&panel, 2, &error));
	auto after = PaintDialog(&panel, &error);
	ASSERT_NE(after, nullptr);
	EXPECT_GT(ticked, Darkness(*after) + 3.0);
	std::string closeError;
	ASSERT_TRUE(AskClose(&panel, &closeError));
	EXPECT_EQ(PaintDialog(&panel, &error), nullptr);
}

} // namespace

namespace
{

class DropTarget : public GeDialog
{
public:
	std::vector<std::string> seen;
	Int32 cores = 0;
	bool CreateLayout() override
	{
		AddButton(1, BFH_LEFT, 40, 12, "Top");
		AddUserArea(2, BFH_SCALEFIT, 80, 40);
		return true;
	}
	Int32 Message(const BaseContainer& msg, BaseContainer& result) override
	{
		(void)result;
		if (msg.GetId() != BFM_DRAGRECEIVE)
			return 0;
		Int32 type = 0;
		void* object = nullptr;
		std::string line = msg.GetInt32(BFM_DRAG_FINISHED) ? "finished" : "hover";
		line += CheckDropArea(2, msg, true, true) ? " over 2" : " elsewhere";
		line += CheckDropArea(1, msg, true, true) ? " over 1" : "";
		if (GetDragObject(msg, &type, &object))
			line += " type " + std::to_string(type) + " count " + std::to_string(static_cast<AtomArray*>(object)->GetCount());
		seen.push_back(line);
		return 0;
	}
	bool CoreMessage(Int32 id, const BaseContainer& msg) override
	{
		if (id == EVMSG_CHANGE && CheckCoreMessage(msg))
			++cores;
		return true;
	}
};

TEST(DialogRuntime, DropsArriveOverTheirGadgetWithTheirPayload)
{
	DropTarget target;
	ASSERT_TRUE(target.Open(DLG_TYPE_ASYNC, 400, -1, -1, 0, 0));
	BaseObject* a = BaseObject::Alloc(Onull);
	BaseObject* b = BaseObject::Alloc(Onull);
	std::string error;
	ASSERT_TRUE(Drop(&target, 2, {a, b}, &error)) << error;
	ASSERT_EQ(target.seen.size(), 1u);
	EXPECT_EQ(target.seen[0], "finished over 2 type 201 count 2");
	// After the message the payload is gone: a later question finds none.
	Int32 type = 0;
	void* object = nullptr;
	EXPECT_FALSE(target.GetDragObject(BaseContainer(BFM_DRAGRECEIVE), &type, &object));
	// A hidden gadget takes no drop.
	target.HideElement(2, true);
	EXPECT_FALSE(Drop(&target, 2, {a}, &error));
	BaseObject::Free(a);
	BaseObject::Free(b);
}

TEST(DialogRuntime, OnlyTheHostsOwnCoreMessagesPassItsCheck)
{
	DropTarget target;
	ASSERT_TRUE(target.Open(DLG_TYPE_ASYNC, 401, -1, -1, 0, 0));
	SendCoreChange();
	EXPECT_EQ(target.cores, 1);
	BaseContainer forged(EVMSG_CHANGE);
	target.CoreMessage(EVMSG_CHANGE, forged);
	EXPECT_EQ(target.cores, 1);
	EXPECT_FALSE(CheckCoreMessage(BaseContainer(EVMSG_CHANGE)));
	std::string error;
	ASSERT_TRUE(AskClose(&target, &error));
	// A closed dialog hears no more core messages.
	SendCoreChange();
	EXPECT_EQ(target.cores, 1);
}

} // namespace
