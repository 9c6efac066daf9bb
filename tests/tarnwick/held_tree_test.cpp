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

#include "TagListArea.h"
#include "standin/dialogs.h"

namespace
{

TEST_F(HeldTree, TagClicksHitTheIconUnderTheMouseOnly)
{
	BaseObject* op = AddObject("Tagged");
	BaseTag* phong = op->MakeTag(Tphong);
	BaseTag* uvw = op->MakeTag(Tuvw);
	BaseTag* third = op->MakeTag(Tphong);
	Hold({op});
	PNode* entry = model->FirstHeld();
	fn.tagColumnOrigin = 100;
	MouseInfo info;
	// Over the second icon: it alone becomes active.
	phong->SetBit(1u << NBIT_ACTIVE);
	info.mx = 100 + TAG_PITCH + 3;
	fn.MouseDown(Root(), nullptr, entry, 104, &info, false);
	EXPECT_EQ(fn.clickColumn, 4);
	EXPECT_FALSE(phong->GetNBit(NBIT_ACTIVE));
	EXPECT_TRUE(uvw->GetNBit(NBIT_ACTIVE));
	// With Shift the others stay as they are.
	fn.shiftHeld = 1;
	info.mx = 100 + 2 * TAG_PITCH;
	fn.MouseDown(Root(), nullptr, entry, 104, &info, false);
	EXPECT_TRUE(uvw->GetNBit(NBIT_ACTIVE) && third->GetNBit(NBIT_ACTIVE));
	fn.shiftHeld = 0;
	// Left of the first icon (which integer division would round onto it) and right of the last
	// hit nothing: every tag becomes inactive.
	for (Float x : {95.0, 100.0 + 3 * TAG_PITCH + 1})
	{
		uvw->SetBit(1u << NBIT_ACTIVE);
		info.mx = x;
		fn.MouseDown(Root(), nullptr, entry, 104, &info, false);
		EXPECT_FALSE(phong->GetNBit(NBIT_ACTIVE) || uvw->GetNBit(NBIT_ACTIVE) || third->GetNBit(NBIT_ACTIVE)) << x;
	}
}

TEST_F(HeldTree, TheDragPayloadFollowsTheClickedColumn)
{
	BaseObject* op = AddObject("Op");
	BaseTag* active = op->MakeTag(Tphong);
	op->MakeTag(Tuvw);
	active->SetBit(1u << NBIT_ACTIVE);
	Hold({op});
	PNode* entry = model->FirstHeld();
	AtomArray* arr = AtomArray::Alloc();
	PressName(entry);
	fn.GenerateDragArray(Root(), nullptr, entry, arr);
	ASSERT_EQ(arr->GetCount(), 1);
	EXPECT_EQ(arr->GetIndex(0), op);
	arr->Flush();
	MouseInfo info;
	info.mx = -1000; // a click in the tag column that hits no icon
	fn.MouseDown(Root(), nullptr, entry, 104, &info, false);
	active->SetBit(1u << NBIT_ACTIVE);
	fn.GenerateDragArray(Root(), nullptr, entry, arr);
	ASSERT_EQ(arr->GetCount(), 1);
	EXPECT_EQ(arr->GetIndex(0), active);
	// A drop of tags onto an object (tag column) is offered before it only.
	bool copy = false;
	EXPECT_EQ(fn.AcceptDragObject(Root(), nullptr, entry, DRAGTYPE_ATOMARRAY, arr, copy), INSERT_BEFORE);
	EXPECT_EQ(fn.AcceptDragObject(Root(), nullptr, entry, 5, arr, copy), 0);
	AtomArray::Free(arr);
}

TEST_F(HeldTree, TheTagStripSkipsTagsDeletedSinceItWasGivenThem)
{
	BaseObject* op = AddObject("Op");
	BaseTag* keep = op->MakeTag(Tphong);
	BaseTag* gone = op->MakeTag(Tuvw);
	TagListArea strip;
	strip.SetTags({keep, gone});
	ASSERT_EQ(strip.Tags().size(), 2u);
	op->KillTag(Tuvw);
	const std::vector<BaseTag*> left = strip.Tags();
	ASSERT_EQ(left.size(), 1u);
	EXPECT_EQ(left[0], keep);
	Int32 w = 0, h = 0;
	EXPECT_TRUE(strip.GetMinSize(w, h));
	EXPECT_EQ(w, 200);
	EXPECT_EQ(h, 24);
}

TEST_F(HeldTree, DoubleClicksRenameOnlyInTheNameColumn)
{
	Hold({AddObject("Op")});
	PNode* entry = model->FirstHeld();
	busy = 1;
	EXPECT_FALSE(fn.DoubleClick(Root(), nullptr, entry, 100, nullptr));
	EXPECT_EQ(busy, 0);
	EXPECT_TRUE(fn.DoubleClick(Root(), nullptr, entry, 102, nullptr));
	fn.SetName(Root(), nullptr, entry, String("Renamed"));
	EXPECT_EQ(entry->name, String("Renamed"));
	EXPECT_EQ(doc->GetFirstObject()->GetName(), String("Renamed"));
	EXPECT_EQ(busy, 1);
}

} // namespace
