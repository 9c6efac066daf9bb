#include "ElementSearch.h"
#include "model_fixture.h"
#include "standin/memory.h"

namespace
{

using HeldListTest = ModelTest;

TEST(TListTest, UnlinkingKeepsNeighboursAndHeadConsistent)
{
	PNode root;
	PNode a, b, c;
	root.children.Append(&a);
	root.children.Append(&b);
	root.children.Append(&c);
	ASSERT_EQ(root.FirstChild(), &a);
	ASSERT_EQ(a.Next(), &b);
	ASSERT_EQ(c.Prev(), &b);

	root.children.Unlink(&b); // middle
	EXPECT_EQ(a.Next(), &c);
	EXPECT_EQ(c.Prev(), &a);
	EXPECT_EQ(b.list, nullptr);
	EXPECT_EQ(b.next, nullptr);

	root.children.Unlink(&a); // first
	EXPECT_EQ(root.children.first, &c);
	EXPECT_EQ(c.prev, nullptr);

	root.children.InsertBefore(&a, &c);
	root.children.InsertAfter(&b, &c);
	EXPECT_EQ(root.children.first, &a);
	EXPECT_EQ(root.children.last, &b);
	EXPECT_EQ(a.Next(), &c);
	EXPECT_EQ(c.Next(), &b);

	// An element that dies unlinks itself; appending a linked element moves it.
	{
		PNode temporary;
		root.children.Append(&temporary);
	}
	EXPECT_EQ(root.children.last, &b);
	root.children.Append(&a);
	EXPECT_EQ(root.children.first, &c);
	EXPECT_EQ(root.children.last, &a);
	root.children.UnlinkAll();
	EXPECT_TRUE(root.children.IsEmpty());
	EXPECT_EQ(c.list, nullptr);
}

TEST(PoolTest, PlacementPoolSortsByObjectBeforeIndexedAccessAndOwnsItsEntries)
{
	alignas(8) char objects[3] = {};
	const Int64 before = standin::LiveAllocationCount();
	{
		PlacementPool pool;
		for (int i : {2, 0, 1})
		{
			PNodeB* node = NewObjTagged(PNodeB, "source\\Tarnwick");
			node->object = reinterpret_cast<BaseObject*>(&objects[i]);
			ASSERT_TRUE(pool.Append(node));
		}
		EXPECT_FALSE(pool.sorted);
		EXPECT_EQ(pool.Get(0)->object, reinterpret_cast<BaseObject*>(&objects[0]));
		EXPECT_EQ(pool.Get(2)->object, reinterpret_cast<BaseObject*>(&objects[2]));
		EXPECT_TRUE(pool.sorted);
		// Identity matrices from construction.
		EXPECT_EQ(pool.Get(1)->placementA, Matrix());
		pool.Clear();
		EXPECT_EQ(pool.GetCount(), 0);
		EXPECT_EQ(standin::LiveAllocationCount(), before + 1); // only the pool's own array is left
	}
	EXPECT_EQ(standin::LiveAllocationCount(), before);
}

TEST_F(HeldListTest, ObjectBringsItsDescendantsInHostOrder)
{
	BaseObject* a = AddObject("A");
	BaseObject* b = AddObject("B", a);
	BaseObject* c = AddObject("C", b);
	AddObject("D", c);
	AddObject("E", a);
	AddObject("Other");
	a->SetNBit(NBIT_ACTIVE, true);
	b->SetNBit(NBIT_ACTIVE, true);
	c->SetNBit(NBIT_OM1_FOLD, true);
	model->foldBit = NBIT_OM3_FOLD; // the entry still starts from the first manager's fold bit

	ASSERT_TRUE(Gather({a}));
	ASSERT_EQ(model->heldPool.GetCount(), 5);
	PNode* top = model->FirstHeld();
	ASSERT_NE(top, nullptr);
	EXPECT_EQ(top->Next(), nullptr);
	EXPECT_EQ(top->kind, ENTRY_OBJECT);
	EXPECT_EQ(top->selected, 1);
	EXPECT_EQ(top->identity, a->GetGUID());

	PNode* eb = top->FirstChild();
	ASSERT_NE(eb, nullptr);
	EXPECT_EQ(eb->name.Get(), "B");
	EXPECT_EQ(eb->kind, ENTRY_DESCENDANT);
	EXPECT_EQ(eb->selected, 0); // descendants never take the scene selection
	PNode* ec = eb->FirstChild();
	ASSERT_NE(ec, nullptr);
	EXPECT_EQ(ec->name.Get(), "C");
	EXPECT_EQ(ec->opened, 1);
	ASSERT_NE(ec->FirstChild(), nullptr);
	EXPECT_EQ(ec->FirstChild()->name.Get(), "D");
	EXPECT_EQ(ec->FirstChild()->kind, ENTRY_DESCENDANT);
	ASSERT_NE(eb->Next(), nullptr);
	EXPECT_EQ(eb->Next()->name.Get(), "E");
	EXPECT_EQ(top->LastChild(), eb->Next());
}

TEST_F(HeldListTest, DeepHierarchyIsHeldWithoutRunningOutOfStack)
{
	constexpr int depth = 3000;
	BaseObject* top = AddObject("Top");
	BaseObject* op = top;
	for (int i = 0; i < depth; ++i)
		op = AddObject("Level", op);
	AddObject("After");
	ASSERT_TRUE(Gather({top}));
	EXPECT_EQ(model->heldPool.GetCount(), depth + 1);
	PNode* entry = model->FirstHeld();
	int levels = 0;
	while (entry->FirstChild())
	{
		entry = entry->FirstChild();
		++levels;
	}
	EXPECT_EQ(levels, depth);
	EXPECT_EQ(model->FirstHeld()->Next(), nullptr);
	ASSERT_TRUE(model->Refresh());
	EXPECT_EQ(model->heldPool.GetCount(), depth + 1);
	EXPECT_FALSE(model->Describe().IsEmpty());
}

TEST_F(HeldListTest, MaterialKeepsTheMarkerItGotTheFirstTime)
{
	BaseMaterial* mat = AddMaterial("Steel");
	BaseMaterial* other = AddMaterial("Glass");
	mat->SetNBit(NBIT_ACTIVE, true);
	ASSERT_TRUE(Gather({mat, other}));
	PNode* first = model->FirstHeld();
	ASSERT_NE(first, nullptr);
	EXPECT_EQ(first->kind, ENTRY_MATERIAL);
	EXPECT_EQ(first->selected, 1); // new marker: selection from the scene
	const UInt64 identity = first->identity;
	EXPECT_NE(identity, first->Next()->identity);
	EXPECT_EQ(mat->GetUniqueIDCount(), 1);

	ASSERT_TRUE(Gather({mat}));
	PNode* again = first->Next()->Next();
	ASSERT_NE(again, nullptr);
	EXPECT_EQ(again->identity, identity);
	EXPECT_EQ(again->selected, 0); // existing marker: not selected
	EXPECT_EQ(mat->GetUniqueIDCount(), 1);
	EXPECT_EQ(FindMaterialByMarker(doc, identity), mat);
}

TEST_F(HeldListTest, MarkerIsFoundOnlyByItsExactTextWithinItsBytes)
{
	BaseMaterial* mat = AddMaterial("M");
	// Text without its zero byte is read only as far as its bytes go; another case or a longer
	// text is not the marker.
	ASSERT_TRUE(mat->AddUniqueID(5, "Tarnwick", 8));
	ASSERT_TRUE(mat->AddUniqueID(6, "tarnwick", 9));
	ASSERT_TRUE(mat->AddUniqueID(7, "Tarnwicks", 10));
	UInt64 identity = 0;
	EXPECT_TRUE(ReadMaterialMarker(mat, &identity));
	EXPECT_EQ(identity, 5u);
	EXPECT_EQ(FindMaterialByMarker(doc, 6), nullptr);
	EXPECT_EQ(FindMaterialByMarker(doc, 7), nullptr);
}

TEST_F(HeldListTest, ElementThatIsNeitherObjectNorMaterialLeavesNothingBehind)
{
	BaseObject* a = AddObject("A");
	BaseTag* tag = a->MakeTag(Tphong);
	ASSERT_NE(tag, nullptr);
	const Int64 before = standin::LiveAllocationCount();
	ASSERT_TRUE(Gather({tag}));
	EXPECT_EQ(model->heldPool.GetCount(), 0);
	EXPECT_EQ(model->FirstHeld(), nullptr);
	EXPECT_EQ(standin::LiveAllocationCount(), before);
}

TEST_F(HeldListTest, RefreshDropsDeletedElementsAndKeepsTheStatesOfTheRest)
{
	BaseObject* a = AddObject("A");
	AddObject("A1", a);
	BaseObject* b = AddObject("B");
	BaseObject* c = AddObject("C");
	BaseMaterial* mat = AddMaterial("M");
	ASSERT_TRUE(Gather({a, b, c, mat}));
	const UInt64 marker = model->FirstHeld()->Next()->Next()->Next()->identity;

	// States set in the tree differ from the scene's bits; the refresh must keep the tree's.
	PNode* ea = model->FirstHeld();
	ea->opened = 1;
	ea->selected = 1;
	ea->FirstChild()->selected = 1;
	PNode* ec = ea->Next()->Next();
	ec->opened = 1;
	ASSERT_FALSE(c->GetNBit(NBIT_OM1_FOLD));

	Delete(b);
	ASSERT_TRUE(model->Refresh());
	EXPECT_EQ(HeldNames(), (std::vector<std::string>{"A", "C", "M"}));
	EXPECT_EQ(model->heldPool.GetCount(), 4);
	ea = model->FirstHeld();
	EXPECT_EQ(ea->opened, 1);
	EXPECT_EQ(ea->selected, 1);
	EXPECT_EQ(ea->FirstChild()->selected, 1);
	EXPECT_EQ(ea->Next()->opened, 1);
	EXPECT_EQ(ea->Next()->Next()->identity, marker);
}

TEST_F(HeldListTest, RefreshOfAnElementHeldTwiceGivesTheStatesToItsFirstEntry)
{
	BaseObject* a = AddObject("A");
	ASSERT_TRUE(Gather({a, a}));
	model->FirstHeld()->opened = 1;
	model->FirstHeld()->Next()->opened = 0;
	model->FirstHeld()->Next()->selected = 1;
	ASSERT_TRUE(model->Refresh());
	PNode* first = model->FirstHeld();
	ASSERT_NE(first->Next(), nullptr);
	// The first entry takes both remembered states and keeps the later one's values; the
	// second finds none left and starts from the scene.
	EXPECT_EQ(first->opened, 0);
	EXPECT_EQ(first->selected, 1);
	EXPECT_EQ(first->Next()->selected, 0);
}

TEST_F(HeldListTest, ObjectSearchTakesTheLastMatchOfTheWalk)
{
	BaseObject* a = AddObject("A");
	BaseObject* deep = AddObject("Deep", a);
	BaseObject* b = AddObject("B");
	EXPECT_EQ(FindObjectByIdentity(doc, deep->GetGUID()), deep);
	EXPECT_EQ(FindObjectByIdentity(doc, b->GetGUID()), b);
	EXPECT_EQ(FindObjectByIdentity(doc, 0), nullptr);
	EXPECT_EQ(FindObjectByIdentity(nullptr, b->GetGUID()), nullptr);

	// Shared identities: a match in a later part of the walk replaces one found in a child...
	const UInt64 shared = 1ull << 60;
	scene::SetObjectGuid(deep, shared);
	scene::SetObjectGuid(b, shared);
	EXPECT_EQ(FindObjectByIdentity(doc, shared), b);
	// ...and a match ends the walk of its own chain: neither its children nor its later
	// siblings are looked at.
	scene::SetObjectGuid(a, shared);
	EXPECT_EQ(FindObjectByIdentity(doc, shared), a);
}

TEST_F(HeldListTest, AllocationFailureKeepsTheEntriesMadeSoFar)
{
	BaseObject* a = AddObject("A");
	BaseObject* b = AddObject("B");
	AddObject("B1", b);
	AtomArray* arr = AtomArray::Alloc();
	arr->Append(a);
	arr->Append(b);
	ASSERT_TRUE(model->AddElements(*arr)); // the pool's own storage stays from here on
	model->ClearHeld();
	const Int64 before = standin::LiveAllocationCount();
	bool failedSomewhere = false;
	// Fail each allocation of the operation in turn: it must end with false and no leak.
	for (Int64 n = 0; n < 12; ++n)
	{
		model->ClearHeld();
		standin::FailAllocationsAfter(n);
		const bool ok = model->AddElements(*arr);
		standin::FailAllocationsAfter(-1);
		failedSomewhere |= !ok;
		model->ClearHeld();
		EXPECT_EQ(standin::LiveAllocationCount(), before) << "failing allocation " << n;
	}
	EXPECT_TRUE(failedSomewhere);
	AtomArray::Free(arr);
}

} // namespace
