// The index answers exactly what the walks of the scene answer, shared identities included.
#include <random>

#include "ElementIndex.h"
#include "ElementSearch.h"
#include "model_fixture.h"

namespace
{

class ElementIndexTest : public ModelTest
{
};

TEST_F(ElementIndexTest, ObjectsAgreeWithTheWalkOnRandomTreesWithSharedIdentities)
{
	std::mt19937 random(7);
	for (int round = 0; round < 40; ++round)
	{
		standin::CloseAllDocuments();
		doc = standin::NewDocument();
		std::vector<BaseObject*> objects;
		const int count = 1 + static_cast<int>(random() % 60);
		for (int i = 0; i < count; ++i)
		{
			// A parent among the objects made so far (or the top level), so trees get deep and wide.
			BaseObject* parent = objects.empty() || random() % 4 == 0 ? nullptr : objects[random() % objects.size()];
			objects.push_back(AddObject("n", parent));
		}
		// Few identities for many objects, so most are shared in every arrangement.
		for (BaseObject* op : objects)
			scene::SetObjectGuid(op, 1000 + random() % 5);

		ElementIndex index;
		ASSERT_TRUE(index.Build(doc));
		for (UInt64 identity = 999; identity <= 1005; ++identity)
			ASSERT_EQ(index.FindObject(identity), FindObjectByIdentity(doc, identity)) << "round " << round << " identity " << identity;
	}
}

TEST_F(ElementIndexTest, DeepChainAndMaterialsAgreeWithTheirSearches)
{
	BaseObject* parent = nullptr;
	std::vector<BaseObject*> chain;
	for (int i = 0; i < 5000; ++i)
		chain.push_back(parent = AddObject("deep", parent));
	ElementIndex index;
	ASSERT_TRUE(index.Build(doc));
	EXPECT_EQ(index.FindObject(chain.back()->GetGUID()), chain.back());
	EXPECT_EQ(index.FindObject(chain[2500]->GetGUID()), chain[2500]);

	// Two materials with one marker number: the first in the list wins; an unmarked one is never found.
	BaseMaterial* first = AddMaterial("first");
	BaseMaterial* second = AddMaterial("second");
	BaseMaterial* plain = AddMaterial("plain");
	UInt64 marker = 0;
	ASSERT_TRUE(AddMaterialMarker(second, &marker));
	ASSERT_TRUE(first->AddUniqueID(static_cast<Int32>(marker), "Tarnwick", 9));
	ASSERT_TRUE(plain->AddUniqueID(static_cast<Int32>(marker) + 1, "Tarnwic", 8));
	ASSERT_TRUE(index.Build(doc));
	EXPECT_EQ(index.FindMaterial(marker), first);
	EXPECT_EQ(index.FindMaterial(marker), FindMaterialByMarker(doc, marker));
	EXPECT_EQ(index.FindMaterial(marker + 1), nullptr);
	EXPECT_EQ(FindMaterialByMarker(doc, marker + 1), nullptr);

	ASSERT_TRUE(index.Build(nullptr));
	EXPECT_EQ(index.FindObject(chain.back()->GetGUID()), nullptr);
}

TEST_F(ElementIndexTest, AKeptIndexFollowsEveryChangeOfItsScene)
{
	BaseObject* a = AddObject("A");
	BaseObject* b = AddObject("B", a);
	BaseMaterial* m = AddMaterial("M");
	ElementIndex index;
	ASSERT_TRUE(index.Update(doc));
	EXPECT_EQ(index.FindObject(b->GetGUID()), b);
	ASSERT_TRUE(index.Update(doc)); // nothing changed: the same answers
	EXPECT_EQ(index.FindObject(a->GetGUID()), a);

	// Every change that moves or re-identifies an element is seen at the next update.
	BaseObject* c = AddObject("C");
	ASSERT_TRUE(index.Update(doc));
	EXPECT_EQ(index.FindObject(c->GetGUID()), c);
	const UInt64 gone = b->GetGUID();
	Delete(b);
	ASSERT_TRUE(index.Update(doc));
	EXPECT_EQ(index.FindObject(gone), nullptr);
	scene::SetObjectGuid(c, gone);
	ASSERT_TRUE(index.Update(doc));
	EXPECT_EQ(index.FindObject(gone), c);
	UInt64 marker = 0;
	ASSERT_TRUE(AddMaterialMarker(m, &marker));
	ASSERT_TRUE(index.Update(doc));
	EXPECT_EQ(index.FindMaterial(marker), m);

	// Another document is indexed for itself, and so is the first one again.
	BaseDocument* first = doc;
	doc = standin::NewDocument();
	BaseObject* other = AddObject("Other");
	ASSERT_TRUE(index.Update(doc));
	EXPECT_EQ(index.FindObject(other->GetGUID()), other);
	EXPECT_EQ(index.FindObject(a->GetGUID()), nullptr);
	ASSERT_TRUE(index.Update(first));
	EXPECT_EQ(index.FindObject(a->GetGUID()), a);
	EXPECT_EQ(index.FindObject(other->GetGUID()), nullptr);

	// After a plain build for another document, an update is never taken for the one before.
	ASSERT_TRUE(index.Build(doc));
	ASSERT_TRUE(index.Update(first));
	EXPECT_EQ(index.FindObject(a->GetGUID()), a);
}

} // namespace
