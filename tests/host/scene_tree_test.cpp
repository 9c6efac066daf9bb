// The element tree: linking, walks, guards against broken trees, node bits, unique-ID entries,
// identities and copies.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "hostapi/api.h"
#include "standin/scene.h"

namespace
{

// A free object tree owned by the test.
struct FreeObject
{
	explicit FreeObject(Int32 type = Onull, const char* name = "Null") : op(BaseObject::Alloc(type)) { op->SetName(name); }
	~FreeObject() { BaseObject::Free(op); }
	BaseObject* op;
};

std::vector<std::string> ChildNames(const BaseObject* parent)
{
	std::vector<std::string> names;
	for (const BaseObject* c = parent->GetDown(); c; c = c->GetNext())
		names.push_back(c->GetName().Get());
	return names;
}

BaseObject* Named(const char* name)
{
	BaseObject* op = BaseObject::Alloc(Onull);
	op->SetName(name);
	return op;
}

} // namespace

TEST(SceneTree, InsertOperationsPlaceNodesAndKeepBothDirectionsConsistent)
{
	FreeObject root;
	BaseObject* b = Named("b");
	BaseObject* a = Named("a");
	BaseObject* d = Named("d");
	BaseObject* c = Named("c");
	b->InsertUnder(root.op);
	a->InsertUnder(root.op);     // first
	d->InsertUnderLast(root.op); // last
	c->InsertBefore(d);
	EXPECT_EQ(ChildNames(root.op), (std::vector<std::string>{"a", "b", "c", "d"}));
	EXPECT_EQ(root.op->GetDown(), a);
	EXPECT_EQ(static_cast<GeListNode*>(root.op)->GetDownLast(), d);
	EXPECT_EQ(d->GetPred(), c);
	EXPECT_EQ(a->GetPred(), nullptr);
	EXPECT_EQ(c->GetUp(), root.op);

	// Re-inserting a linked node moves it instead of corrupting both places.
	a->InsertAfter(d);
	EXPECT_EQ(ChildNames(root.op), (std::vector<std::string>{"b", "c", "d", "a"}));
	EXPECT_EQ(a->GetPred(), d);
	EXPECT_EQ(b->GetPred(), nullptr);

	c->Remove();
	EXPECT_EQ(ChildNames(root.op), (std::vector<std::string>{"b", "d", "a"}));
	EXPECT_EQ(c->GetUp(), nullptr);
	EXPECT_EQ(c->GetNext(), nullptr);
	BaseObject::Free(c);
}

TEST(SceneTree, RefusesLinksThatWouldMakeACycleOrMixKinds)
{
	FreeObject root;
	BaseObject* child = Named("child");
	child->InsertUnder(root.op);
	BaseObject* grandchild = Named("grandchild");
	grandchild->InsertUnder(child);

	root.op->InsertUnder(grandchild); // under its own descendant
	EXPECT_EQ(root.op->GetUp(), nullptr);
	child->InsertUnder(child); // under itself
	EXPECT_EQ(child->GetUp(), root.op);
	root.op->InsertAfter(grandchild);
	EXPECT_EQ(grandchild->GetNext(), nullptr);

	// A tag never becomes a child object, and an object never enters a tag list.
	BaseTag* tag = BaseTag::Alloc(Tphong);
	tag->InsertUnder(root.op);
	EXPECT_EQ(root.op->GetDown(), child);
	EXPECT_EQ(tag->GetUp(), nullptr);
	root.op->InsertTag(tag);
	BaseObject* stray = Named("stray");
	stray->InsertBefore(tag);
	EXPECT_EQ(tag->GetPred(), nullptr);
	EXPECT_EQ(stray->GetNext(), nullptr);
	BaseObject::Free(stray);
}

TEST(SceneTree, DocumentTreeAnswersDocumentAndParentsAndFreeUnlinks)
{
	BaseDocument* doc = BaseDocument::Alloc();
	BaseObject* top = Named("top");
	BaseObject* below = Named("below");
	doc->InsertObject(top, nullptr, nullptr);
	doc->InsertObject(below, top, nullptr);
	BaseTag* tag = below->MakeTag(Tphong);

	EXPECT_EQ(doc->GetFirstObject(), top);
	EXPECT_EQ(top->GetUp(), nullptr); // top-level objects have no parent
	EXPECT_EQ(below->GetUp(), top);
	EXPECT_EQ(below->GetDocument(), doc);
	EXPECT_EQ(tag->GetDocument(), doc);
	EXPECT_EQ(tag->GetObject(), below);
	EXPECT_EQ(doc->GetDocument(), doc);
	EXPECT_EQ(doc->SearchObject("below"), below);
	EXPECT_EQ(doc->SearchObject("none"), nullptr);

	BaseObject* second = Named("second");
	doc->InsertObject(second, nullptr, top); // after pred
	EXPECT_EQ(top->GetNext(), second);

	BaseObject::Free(top); // frees its child and tag, unlinks from the document
	EXPECT_EQ(top, nullptr);
	EXPECT_EQ(doc->GetFirstObject(), second);
	BaseDocument::Free(doc);
}

TEST(SceneTree, DeepHierarchiesAreWalkedAndFreedWithoutRecursion)
{
	BaseDocument* doc = BaseDocument::Alloc();
	BaseObject* parent = Named("level");
	doc->InsertObject(parent, nullptr, nullptr);
	for (int i = 0; i < 100000; ++i)
	{
		BaseObject* child = Named("level");
		child->InsertUnder(parent);
		parent = child;
	}
	parent->SetName("deepest");
	EXPECT_EQ(doc->SearchObject("deepest"), parent);
	BaseList2D* copy = doc->GetFirstObject()->GetClone();
	ASSERT_NE(copy, nullptr);
	BaseObject* copyObject = static_cast<BaseObject*>(copy);
	BaseObject::Free(copyObject);
	BaseDocument::Free(doc);
}

TEST(SceneTree, NodeBitsByIndexAndByMask)
{
	FreeObject op;
	op.op->SetNBit(NBIT_ACTIVE, true);
	op.op->SetNBit(NBIT_DISABLED, true);
	EXPECT_TRUE(op.op->GetBit(2));
	EXPECT_EQ(op.op->GetAllBits(), (UInt64{1} << 63) | 2u);
	op.op->DelBit(2);
	EXPECT_FALSE(op.op->GetNBit(NBIT_ACTIVE));
	op.op->SetBit(UInt64{1} << NBIT_OM1_FOLD);
	EXPECT_TRUE(op.op->GetNBit(NBIT_OM1_FOLD));
	// Indices outside 0..63 are ignored rather than shifting out of range.
	op.op->SetNBit(64, true);
	op.op->SetNBit(-1, true);
	EXPECT_FALSE(op.op->GetNBit(64));
	EXPECT_EQ(op.op->GetAllBits(), (UInt64{1} << 63) | (UInt64{1} << 14));
}

TEST(SceneTree, UniqueIdEntriesAreKeptReplacedAndCopied)
{
	BaseMaterial* mat = BaseMaterial::Alloc();
	const char marker[] = "Tarnwick";
	ASSERT_TRUE(mat->AddUniqueID(42, marker, sizeof marker));
	ASSERT_TRUE(mat->AddUniqueID(7, "xy", 2));
	ASSERT_TRUE(mat->AddUniqueID(42, "new", 4)); // same application: replaced in place
	EXPECT_FALSE(mat->AddUniqueID(8, nullptr, 3));
	EXPECT_FALSE(mat->AddUniqueID(8, "x", -1));
	ASSERT_EQ(mat->GetUniqueIDCount(), 2);

	Int32 app = 0;
	const Char* data = nullptr;
	Int64 bytes = 0;
	ASSERT_TRUE(mat->GetUniqueIDIndex(0, &app, &data, &bytes));
	EXPECT_EQ(app, 42);
	EXPECT_EQ(bytes, 4);
	EXPECT_STREQ(data, "new");
	EXPECT_FALSE(mat->GetUniqueIDIndex(2, &app, &data, &bytes));

	BaseMaterial* copy = static_cast<BaseMaterial*>(mat->GetClone());
	ASSERT_EQ(copy->GetUniqueIDCount(), 2);
	ASSERT_TRUE(copy->GetUniqueIDIndex(1, &app, &data, &bytes));
	EXPECT_EQ(app, 7);
	EXPECT_EQ(std::string(data, static_cast<size_t>(bytes)), "xy");
	BaseMaterial::Free(copy);
	BaseMaterial::Free(mat);
}

TEST(SceneTree, IdentitiesAreUniqueAndCopiesGetNewOnes)
{
	FreeObject a, b;
	EXPECT_NE(a.op->GetGUID(), b.op->GetGUID());
	BaseObject* child = Named("child");
	child->InsertUnder(a.op);
	a.op->MakeTag(Tphong);
	a.op->GetDataInstance()->SetString(5, "kept");

	BaseObject* copy = static_cast<BaseObject*>(a.op->GetClone());
	ASSERT_NE(copy, nullptr);
	EXPECT_NE(copy->GetGUID(), a.op->GetGUID());
	ASSERT_NE(copy->GetDown(), nullptr);
	EXPECT_NE(copy->GetDown()->GetGUID(), child->GetGUID());
	EXPECT_EQ(copy->GetDown()->GetName().Get(), "child");
	ASSERT_NE(copy->GetTag(Tphong), nullptr);
	EXPECT_EQ(copy->GetDataInstance()->GetString(5).Get(), "kept");
	EXPECT_EQ(copy->GetDocument(), nullptr);
	BaseObject::Free(copy);

	Int32 last = GeGetUniqueCounter();
	for (int i = 0; i < 100; ++i)
	{
		const Int32 next = GeGetUniqueCounter();
		EXPECT_GT(next, last);
		last = next;
	}
}

TEST(SceneTree, CopiesRedirectInternalLinksAndKeepOutsideOnes)
{
	BaseDocument* doc = BaseDocument::Alloc();
	BaseObject* outside = Named("outside");
	doc->InsertObject(outside, nullptr, nullptr);
	BaseObject* deformer = BaseObject::Alloc(Osplinedeformer);
	BaseObject* guide = Named("guide");
	guide->InsertUnder(deformer);
	deformer->GetDataInstance()->SetLink(2000, guide);
	deformer->GetDataInstance()->SetLink(2001, outside);

	BaseObject* copy = static_cast<BaseObject*>(deformer->GetClone());
	ASSERT_NE(copy, nullptr);
	EXPECT_EQ(copy->GetDataInstance()->GetLink(2000, nullptr), copy->GetDown());
	EXPECT_EQ(copy->GetDataInstance()->GetLink(2001, nullptr), outside);
	BaseObject::Free(copy);
	BaseObject::Free(deformer);
	BaseDocument::Free(doc);
}

TEST(SceneTree, ObjectDefaultsAndVisibilityModes)
{
	FreeObject null;
	EXPECT_TRUE(null.op->GetInfo() & 1);
	PolygonObject* poly = PolygonObject::Alloc(0, 0);
	SplineObject* spline = SplineObject::Alloc(0, SPLINETYPE_LINEAR);
	EXPECT_TRUE(poly->GetInfo() & 1);
	EXPECT_TRUE(spline->GetInfo() & 1);
	EXPECT_TRUE(poly->IsInstanceOf(Obase));
	EXPECT_TRUE(poly->IsInstanceOf(Opolygon));
	EXPECT_FALSE(poly->IsInstanceOf(Ospline));
	EXPECT_EQ(null.op->GetEditorMode(), 2);
	EXPECT_EQ(null.op->GetRenderMode(), 2);
	null.op->SetEditorMode(1);
	null.op->SetRenderMode(0);
	null.op->SetEditorMode(7); // not a mode: ignored
	EXPECT_EQ(null.op->GetEditorMode(), 1);
	EXPECT_EQ(null.op->GetRenderMode(), 0);
	EXPECT_EQ(BaseObject::Alloc(Tphong), nullptr);
	BaseObject* a = poly;
	BaseObject* b = spline;
	BaseObject::Free(a);
	BaseObject::Free(b);
}

TEST(SceneTree, GlobalMatricesFollowTheParents)
{
	FreeObject parent;
	BaseObject* child = Named("child");
	child->InsertUnder(parent.op);
	Matrix pm;
	pm.off = Vector(10, 0, 0);
	parent.op->SetMl(pm);
	Matrix cm;
	cm.off = Vector(0, 5, 0);
	child->SetMl(cm);
	EXPECT_EQ(child->GetMg().off, Vector(10, 5, 0));

	Matrix world;
	world.off = Vector(1, 2, 3);
	child->SetMg(world);
	EXPECT_EQ(child->GetMl().off, Vector(-9, 2, 3));
	EXPECT_EQ(child->GetMg().off, Vector(1, 2, 3));
}

TEST(SceneTree, TagsByTypeAndNumberAndKillTag)
{
	FreeObject op;
	BaseTag* first = op.op->MakeTag(Tphong);
	BaseTag* tex = op.op->MakeTag(Ttexture);
	BaseTag* second = op.op->MakeTag(Tphong);
	EXPECT_EQ(op.op->GetFirstTag(), first);
	EXPECT_EQ(op.op->GetTag(Tphong, 1), second);
	EXPECT_EQ(op.op->GetTag(Tphong, 2), nullptr);
	EXPECT_EQ(op.op->GetTag(Tbase, 1), tex);
	op.op->KillTag(Tphong, 0);
	EXPECT_EQ(op.op->GetFirstTag(), tex);

	BaseTag* loose = BaseTag::Alloc(Tphong);
	op.op->InsertTag(loose, tex);
	EXPECT_EQ(tex->GetNext(), loose);
	EXPECT_EQ(loose->GetNext(), second);
	EXPECT_NE(loose->GetInfo(), 0);
}

TEST(SceneTree, UpdateMessagesAreHandledAndCounted)
{
	FreeObject op;
	EXPECT_TRUE(op.op->Message(MSG_UPDATE));
	EXPECT_TRUE(op.op->Message(MSG_UPDATE));
	EXPECT_FALSE(op.op->Message(12345)); // nobody handles it
	EXPECT_EQ(standin::UpdateMessageCount(op.op), 2);
}

TEST(SceneTree, AtomArrayKeepsOrderAndRefusesNull)
{
	AtomArray* arr = AtomArray::Alloc();
	FreeObject a, b;
	EXPECT_TRUE(arr->Append(a.op));
	EXPECT_TRUE(arr->Append(b.op));
	EXPECT_FALSE(arr->Append(nullptr));
	EXPECT_EQ(arr->GetCount(), 2);
	EXPECT_EQ(arr->GetIndex(1), b.op);
	EXPECT_EQ(arr->GetIndex(2), nullptr);
	EXPECT_EQ(arr->GetIndex(-1), nullptr);
	arr->Flush();
	EXPECT_EQ(arr->GetCount(), 0);
	AtomArray::Free(arr);
	EXPECT_EQ(arr, nullptr);
}
