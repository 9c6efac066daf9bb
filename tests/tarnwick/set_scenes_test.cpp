// One set file serves every scene: working in one scene never costs the sets of another.
#include "ElementSearch.h"
#include "SetFile.h"
#include "model_fixture.h"
#include "standin/documents.h"

namespace
{

class SetScenesTest : public ModelTest
{
protected:
	// Scene A with two sets saved in it: "Furniture" {Chair, Wood} and "Light" {Lamp}.
	void MakeSceneA()
	{
		sceneA = doc;
		chair = AddObject("Chair");
		lamp = AddObject("Lamp");
		wood = AddMaterial("Wood");
		model->Open("caption");
		ASSERT_TRUE(Gather({chair, wood}));
		ASSERT_TRUE(model->SaveAsNewSetNamed("Furniture"));
		ASSERT_TRUE(model->LoadSet(0));
		ASSERT_TRUE(Gather({lamp}));
		ASSERT_TRUE(model->SaveAsNewSetNamed("Light"));
	}

	// A new scene B, active, with one object.
	BaseObject* MakeSceneB()
	{
		sceneB = standin::NewDocument();
		standin::SetActiveDocument(sceneB);
		doc = sceneB;
		return AddObject("Table");
	}

	std::vector<std::string> ShownNames() const
	{
		std::vector<std::string> names;
		for (Int32 i = 0; i < model->sets.GetCount(); ++i)
			names.push_back(model->sets.Get(i)->GetName().Get());
		return names;
	}

	BaseDocument* sceneA = nullptr;
	BaseDocument* sceneB = nullptr;
	BaseObject* chair = nullptr;
	BaseObject* lamp = nullptr;
	BaseMaterial* wood = nullptr;
};

TEST_F(SetScenesTest, SetsOfSceneASurviveASetSavedInSceneBAndComeBackInA)
{
	MakeSceneA();
	BaseObject* table = MakeSceneB();

	// The manager opened in B shows none of A's sets but keeps them.
	model = std::make_unique<ManagerModel>();
	model->Open("caption");
	EXPECT_EQ(model->sets.GetCount(), 0);
	EXPECT_EQ(model->sets.GetKeptCount(), 2);
	ASSERT_TRUE(Gather({table}));
	bool written = false;
	ASSERT_TRUE(model->SaveAsNewSetNamed("Desk", &written));
	EXPECT_TRUE(written);
	EXPECT_EQ(model->currentSet, 1); // numbers count the shown sets

	// Back in A (a new host run would read the file the same way): A's sets are all there again,
	// with their members, and B's set is kept out of sight.
	standin::SetActiveDocument(sceneA);
	doc = sceneA;
	model = std::make_unique<ManagerModel>();
	model->Open("caption");
	EXPECT_EQ(ShownNames(), (std::vector<std::string>{"Furniture", "Light"}));
	EXPECT_EQ(MemberNames(1), (std::vector<std::string>{"Chair", "Wood"}));
	EXPECT_EQ(MemberNames(2), (std::vector<std::string>{"Lamp"}));
	EXPECT_EQ(model->sets.GetKeptCount(), 1);
	ASSERT_TRUE(model->LoadSet(1));
	EXPECT_EQ(HeldNames(), (std::vector<std::string>{"Chair", "Wood"}));
}

TEST_F(SetScenesTest, SwitchingScenesHidesAndBringsBackSetsAndFollowsTheCurrentSet)
{
	MakeSceneA();
	ASSERT_TRUE(model->LoadSet(2));
	MakeSceneB();

	// The document change: nothing of A resolves in B, so no set shows and none is current.
	model->ResolveSets();
	EXPECT_EQ(model->sets.GetCount(), 0);
	EXPECT_EQ(model->currentSet, 0);
	EXPECT_FALSE(model->UpdateCurrentSet()); // no update can overwrite a set of A now

	// Back to A: the sets show again in their order.
	standin::SetActiveDocument(sceneA);
	doc = sceneA;
	model->ResolveSets();
	EXPECT_EQ(ShownNames(), (std::vector<std::string>{"Furniture", "Light"}));
	EXPECT_EQ(MemberNames(1), (std::vector<std::string>{"Chair", "Wood"}));
}

TEST_F(SetScenesTest, MembersDeletedFromTheirOwnSceneStopShowingButStayStored)
{
	MakeSceneA();
	ASSERT_TRUE(model->LoadSet(1));
	Delete(lamp);
	model->ResolveSets();
	// The set whose members were all deleted does not show; the current set is still Furniture.
	EXPECT_EQ(ShownNames(), (std::vector<std::string>{"Furniture"}));
	EXPECT_EQ(model->currentSet, 1);

	// A member deleted from a set that still shows is left out of loading.
	Delete(wood);
	model->ResolveSets();
	EXPECT_EQ(MemberNames(1), (std::vector<std::string>{"Chair"}));
	ASSERT_TRUE(model->LoadSet(1));
	EXPECT_EQ(HeldNames(), (std::vector<std::string>{"Chair"}));

	// Written and read again, nothing the user did not remove has left the file.
	ASSERT_TRUE(model->WriteSetFile());
	model = std::make_unique<ManagerModel>();
	model->Open("caption");
	EXPECT_EQ(model->sets.GetStoredCount(), 2);
	EXPECT_EQ(model->sets.Get(0)->GetCount(), 2);
}

TEST_F(SetScenesTest, AMemberThatComesBackUnderItsIdentityIsFoundAgain)
{
	MakeSceneA();
	const std::string path = root + "/a.doc";
	std::string error;
	ASSERT_TRUE(standin::SaveDocument(sceneA, path, &error)) << error;

	// The object is deleted (its set stops showing), then the saved scene is opened again: its
	// objects come back with the same identities, and the set with them.
	Delete(lamp);
	model->ResolveSets();
	EXPECT_EQ(ShownNames(), (std::vector<std::string>{"Furniture"}));
	BaseDocument* reopened = standin::LoadDocument(path, &error);
	ASSERT_NE(reopened, nullptr) << error;
	doc = reopened;
	model->ResolveSets();
	EXPECT_EQ(ShownNames(), (std::vector<std::string>{"Furniture", "Light"}));
	EXPECT_EQ(MemberNames(2), (std::vector<std::string>{"Lamp"}));
	EXPECT_EQ(model->sets.GetNumber(2)->Get(0)->Resolve()->GetDocument(), reopened);
}

TEST_F(SetScenesTest, UpdatingTheCurrentSetDropsOnlyWhatTheUserTookOut)
{
	MakeSceneA();
	BaseObject* rug = AddObject("Rug");
	UInt64 woodMarker = 0;
	ASSERT_TRUE(ReadMaterialMarker(wood, &woodMarker));
	ASSERT_TRUE(model->LoadSet(1));

	// Wood is deleted from the scene (an undo may bring it back); the user takes Chair out of the
	// held list and puts Rug in.
	Delete(wood);
	ASSERT_TRUE(model->Refresh());
	model->ClearHeld();
	ASSERT_TRUE(Gather({rug}));
	ASSERT_TRUE(model->UpdateCurrentSet());
	EXPECT_EQ(MemberNames(1), (std::vector<std::string>{"Rug"}));
	const ObjectSet* set = model->sets.GetNumber(1);
	ASSERT_EQ(set->GetCount(), 2);
	EXPECT_EQ(set->Get(1)->kind, ENTRY_MATERIAL);
	EXPECT_EQ(set->Get(1)->identity, woodMarker);
	EXPECT_EQ(set->Get(1)->setName.Get(), "Furniture");

	// The file keeps the deleted member with the name it had.
	ASSERT_TRUE(model->WriteSetFile());
	BaseContainer bc;
	HyperFile* hf = HyperFile::Alloc();
	ASSERT_TRUE(hf->Open(SET_FILE_IDENT, Filename(SetFilePath().c_str()), FILEOPEN_READ, FILEDIALOG_NONE));
	ASSERT_TRUE(hf->ReadContainer(&bc));
	hf->Close();
	HyperFile::Free(hf);
	EXPECT_EQ(bc.GetInt32(-1), 2);
	EXPECT_EQ(bc.GetString(2).Get(), "Rug");
	EXPECT_EQ(bc.GetString(5).Get(), "Wood");
	EXPECT_EQ(bc.GetInt64(6), static_cast<Int64>(woodMarker));
}

TEST_F(SetScenesTest, UpdatingWithAMemberHeldAgainUnderItsIdentityKeepsItOnce)
{
	MakeSceneA();
	const std::string path = root + "/a.doc";
	std::string error;
	ASSERT_TRUE(standin::SaveDocument(sceneA, path, &error)) << error;
	ASSERT_TRUE(model->LoadSet(1));

	// The saved scene is opened again and its chair held before any document change re-finds the
	// set's members there: the chair's old member does not resolve, the new one has its identity.
	BaseDocument* reopened = standin::LoadDocument(path, &error);
	ASSERT_NE(reopened, nullptr) << error;
	doc = reopened;
	model->ClearHeld();
	ASSERT_TRUE(Gather({doc->SearchObject("Chair")}));
	ASSERT_TRUE(model->UpdateCurrentSet());
	model->ResolveSets();
	EXPECT_EQ(MemberNames(1), (std::vector<std::string>{"Chair", "Wood"}));
	ASSERT_TRUE(model->LoadSet(1));
	EXPECT_EQ(HeldNames(), (std::vector<std::string>{"Chair", "Wood"}));
}

TEST_F(SetScenesTest, UpdatingWithoutADocumentLosesNoMember)
{
	MakeSceneA();
	ASSERT_TRUE(model->LoadSet(1));
	standin::SetActiveDocument(nullptr);
	ASSERT_TRUE(model->UpdateCurrentSet());
	EXPECT_EQ(model->sets.GetNumber(1)->GetCount(), 2);
}

TEST_F(SetScenesTest, SavingWhenEveryHeldElementIsGoneMakesNoNamelessSet)
{
	BaseObject* a = AddObject("A");
	ASSERT_TRUE(Gather({a}));
	Delete(a);
	bool written = true;
	EXPECT_FALSE(model->SaveAsNewSetNamed("Nothing", &written));
	EXPECT_FALSE(written);
	EXPECT_EQ(model->sets.GetStoredCount(), 0);
	EXPECT_EQ(model->currentSet, 0);
}

} // namespace
