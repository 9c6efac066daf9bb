// The held-list tree adapter on its own: deep hierarchies walked without recursion, drops that
// would put an object below itself refused on every path, selection mirrored onto the scene,
// removal of the first selected top-level entry, and the check-state and header answers.
#include <gtest/gtest.h>

#include "ManagerModel.h"
#include "MyTreeViewFunctions.h"
#include "model_fixture.h"

namespace
{

class HeldTree : public ModelTest
{
protected:
	MyTreeViewFunctions fn;
	Int32 busy = 0;
	Int32 marker = -1;

	void SetUp() override
	{
		ModelTest::SetUp();
		fn.busy = &busy;
		fn.changeMarker = &marker;
	}
	void* Root() { return &model->heldRoot; }
	void Hold(std::initializer_list<BaseList2D*> elements)
	{
		AtomArray* arr = AtomArray::Alloc();
		for (BaseList2D* e : elements)
			arr->Append(e);
		ASSERT_TRUE(model->AddElements(*arr));
		AtomArray::Free(arr);
	}
	// The press in the name column that starts a selection or a drag.
	void PressName(PNode* entry)
	{
		MouseInfo info;
		fn.MouseDown(Root(), nullptr, entry, 100, &info, false);
	}
};

TEST_F(HeldTree, DeepHierarchiesAreWalkedAndNeverMovedBelowThemselves)
{
	constexpr int kDepth = 10000;
	BaseObject* top = AddObject("Top");
	BaseObject* op = top;
	for (int i = 0; i < kDepth; ++i)
		op = AddObject("Level", op);
	BaseObject* deepest = op;
	Hold({top});
	PNode* topEntry = model->FirstHeld();
	ASSERT_NE(topEntry, nullptr);

	// Unfold All reaches the deepest entry and mirrors it onto the fold bit.
	fn.ContextMenuCall(900012, Root(), nullptr, topEntry, 100);
	PNode* last = topEntry;
	int depth = 0;
	while (last->FirstChild())
	{
		last = last->FirstChild();
		++depth;
	}
	EXPECT_EQ(depth, kDepth);
	EXPECT_EQ(last->opened, 1);
	EXPECT_TRUE(deepest->GetNBit(NBIT_OM1_FOLD));

	// Top onto its deepest descendant: refused by the acceptance and by the insert itself.
	AtomArray* arr = AtomArray::Alloc();
	arr->Append(top);
	bool copy = false;
	PressName(last);
	ASSERT_EQ(fn.clickColumn, 0);
	EXPECT_EQ(fn.AcceptDragObject(Root(), nullptr, last, DRAGTYPE_ATOMARRAY, arr, copy), 0);
	for (Int32 mode : {INSERT_BEFORE, INSERT_UNDER, INSERT_AFTER})
		fn.InsertObject(Root(), nullptr, last, DRAGTYPE_ATOMARRAY, arr, mode, false);
	EXPECT_EQ(top->GetUp(), nullptr);
	EXPECT_EQ(doc->GetFirstObject(), top);
	EXPECT_EQ(deepest->GetUp()->GetDown(), deepest);

	// "Select" on the deepest object's entry walks the scene and unfolds every ancestor.
	topEntry->selected = 1;
	fn.ContextMenuCall(900014, Root(), nullptr, topEntry, 100);
	EXPECT_TRUE(top->GetNBit(NBIT_ACTIVE));
	AtomArray::Free(arr);
}

TEST_F(HeldTree, SelectionFollowsTheNameColumnAndMirrorsOntoTheScene)
{
	BaseObject* a = AddObject("A");
	BaseObject* b = AddObject("B");
	BaseMaterial* m = AddMaterial("M");
	Hold({a, b, m});
	PNode* ea = model->FirstHeld();
	PNode* eb = ea->Next();
	fn.syncSelection = 1;
	// A click in another column selects nothing.
	MouseInfo info;
	fn.MouseDown(Root(), nullptr, eb, 103, &info, false);
	fn.Select(Root(), nullptr, eb, SELECTION_TREE_NEW);
	EXPECT_EQ(eb->selected, 0);
	PressName(ea);
	fn.Select(Root(), nullptr, ea, SELECTION_TREE_NEW);
	PressName(eb);
	fn.Select(Root(), nullptr, eb, SELECTION_TREE_ADD);
	EXPECT_EQ(ea->selected, 1);
	EXPECT_TRUE(a->GetNBit(NBIT_ACTIVE) && b->GetNBit(NBIT_ACTIVE));
	PressName(ea);
	fn.Select(Root(), nullptr, ea, SELECTION_TREE_NEW);
	EXPECT_EQ(eb->selected, 0);
	EXPECT_FALSE(b->GetNBit(NBIT_ACTIVE));
	EXPECT_FALSE(m->GetNBit(NBIT_ACTIVE));
}

TEST_F(HeldTree, DeleteRemovesTheFirstSelectedTopLevelEntryOnly)
{
	Hold({AddObject("A"), AddObject("B"), AddObject("C")});
	PNode* a = model->FirstHeld();
	a->Next()->selected = 1;
	a->Next()->Next()->selected = 1;
	busy = 1;
	fn.DeletePressed(Root(), nullptr);
	EXPECT_EQ(marker, 1);
	EXPECT_EQ(busy, 0);
	EXPECT_EQ(a->Next()->name, String("C"));
	// Nothing selected: nothing removed, the marker unchanged.
	a->Next()->selected = 0;
	marker = -1;
	fn.DeletePressed(Root(), nullptr);
	EXPECT_EQ(marker, -1);
}

TEST_F(HeldTree, MaterialsMoveOnlyAmongMaterials)
{
	BaseMaterial* first = AddMaterial("First");
	BaseMaterial* second = AddMaterial("Second");
	BaseObject* op = AddObject("Op");
	Hold({first, second, op});
	PNode* efirst = model->FirstHeld();
	PressName(efirst);
	AtomArray* arr = AtomArray::Alloc();
	arr->Append(second);
	bool copy = false;
	EXPECT_EQ(fn.AcceptDragObject(Root(), nullptr, efirst, DRAGTYPE_ATOMARRAY, arr, copy), INSERT_BEFORE | INSERT_AFTER);
	// Before the first material (which has no predecessor) nothing moves.
	fn.InsertObject(Root(), nullptr, efirst, DRAGTYPE_ATOMARRAY, arr, INSERT_BEFORE, false);
	EXPECT_EQ(doc->GetFirstMaterial(), first);
	arr->Flush();
	arr->Append(op);
	EXPECT_EQ(fn.AcceptDragObject(Root(), nullptr, efirst, DRAGTYPE_ATOMARRAY, arr, copy), 0);
	AtomArray::Free(arr);
}

TEST_F(HeldTree, CheckStatesAndHeaderWidths)
{
	BaseObject* op = AddObject("Obj");
	Hold({op});
	PNode* entry = model->FirstHeld();
	EXPECT_EQ(fn.IsChecked(Root(), nullptr, entry, 102), 0);
	EXPECT_EQ(fn.IsChecked(Root(), nullptr, entry, 103), 1);
	op->SetNBit(NBIT_DISABLED, true);
	EXPECT_EQ(fn.IsChecked(Root(), nullptr, entry, 103), 3);
	EXPECT_TRUE(fn.IsCheckColumn(Root(), nullptr, 103));
	EXPECT_FALSE(fn.IsCheckColumn(Root(), nullptr, 100));
	// An entry whose element is gone answers no check state and leaves the header to its base.
	BaseObject* gone = op;
	BaseObject::Free(gone);
	EXPECT_EQ(fn.IsChecked(Root(), nullptr, entry, 103), 0);
	fn.nameHeaderBase = 30;
	EXPECT_EQ(fn.GetHeaderColumnWidth(Root(), nullptr, 100, nullptr), 50);
	EXPECT_EQ(fn.GetHeaderColumnWidth(Root(), nullptr, 104, nullptr), 12);
	// Nothing is done to an entry that no longer resolves, whatever column is clicked.
	MouseInfo info;
	for (Int32 column : {100, 101, 102, 103, 104})
	{
		EXPECT_FALSE(fn.MouseDown(Root(), nullptr, entry, column, &info, false));
		EXPECT_EQ(fn.clickColumn, 1);
	}
}

} // namespace
