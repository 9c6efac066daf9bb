#include "SetFile.h"
#include "model_fixture.h"

namespace
{

// Stands in for the dialog: answers the name prompt and records what the model shows.
class RecordingSeams : public ManagerSeams
{
public:
	bool AskSetName(String& name) override
	{
		proposed = name.Get();
		if (answer.empty())
			return false;
		name = answer.c_str();
		return true;
	}
	void SetSetCaption(const String& caption) override { captions.push_back(caption.Get()); }
	void RefreshHeldTree() override { ++refreshes; }

	std::string answer;
	std::string proposed;
	std::vector<std::string> captions;
	int refreshes = 0;
};

class SetOperationsTest : public ModelTest
{
protected:
	// Three sets of one object each ("S1".."S3" holding "A".."C"), the third current.
	void MakeThreeSets()
	{
		const char* names[] = {"A", "B", "C"};
		for (int i = 0; i < 3; ++i)
		{
			objects[i] = AddObject(names[i]);
			model->ClearHeld();
			ASSERT_TRUE(Gather({objects[i]}));
			ASSERT_TRUE(model->SaveAsNewSetNamed(("S" + std::to_string(i + 1)).c_str()));
		}
	}

	Int32 SetsInFile()
	{
		ManagerModel reader;
		reader.ReadSetFile();
		return reader.sets.GetCount();
	}

	BaseObject* objects[3] = {};
};

TEST_F(SetOperationsTest, SavedSetLoadsBackWithoutWhatWasDeleted)
{
	BaseObject* a = AddObject("A");
	BaseObject* b = AddObject("B");
	AddObject("B1", b);
	BaseObject* c = AddObject("C");
	ASSERT_TRUE(Gather({a, b, c}));
	bool written = false;
	ASSERT_TRUE(model->SaveAsNewSetNamed("Trio", &written));
	EXPECT_TRUE(written);
	EXPECT_EQ(MemberNames(1), (std::vector<std::string>{"A", "B", "C"}));
	EXPECT_EQ(model->currentSet, 1);
	EXPECT_EQ(model->setCaption.Get(), "Trio");
	EXPECT_EQ(SetsInFile(), 1);

	Delete(b);
	ASSERT_TRUE(model->LoadSet(1));
	EXPECT_EQ(HeldNames(), (std::vector<std::string>{"A", "C"}));
	EXPECT_EQ(model->heldPool.GetCount(), 2);
	EXPECT_EQ(model->setCaption.Get(), "Trio");
}

TEST_F(SetOperationsTest, SaveAsksForTheNameProposingTheFirstEntry)
{
	RecordingSeams seams;
	model->SetSeams(&seams);
	EXPECT_FALSE(model->SaveAsNewSet()); // nothing held: no prompt at all
	EXPECT_EQ(seams.proposed, "");

	BaseObject* a = AddObject("Lamp");
	ASSERT_TRUE(Gather({a}));
	EXPECT_FALSE(model->SaveAsNewSet()); // cancelled
	EXPECT_EQ(seams.proposed, "Lamp");
	EXPECT_EQ(model->sets.GetCount(), 0);
	EXPECT_FALSE(GeFExist(Filename(SetFilePath().c_str())));

	seams.answer = "Lights";
	EXPECT_TRUE(model->SaveAsNewSet());
	EXPECT_EQ(seams.captions, (std::vector<std::string>{"Lights"}));
	EXPECT_EQ(model->sets.Get(0)->GetName().Get(), "Lights");
}

TEST_F(SetOperationsTest, SavingWhileTheFirstOfThreeIsCurrentMakesTheNewOneCurrent)
{
	MakeThreeSets();
	ASSERT_TRUE(model->LoadSet(1));
	EXPECT_EQ(HeldNames(), (std::vector<std::string>{"A"}));
	ASSERT_TRUE(model->SaveAsNewSetNamed("S4"));
	EXPECT_EQ(model->currentSet, 4);
	EXPECT_EQ(SetsInFile(), 4);
}

TEST_F(SetOperationsTest, RemovingTheCurrentSetMakesTheOneBeforeCurrentWithoutWriting)
{
	MakeThreeSets();
	ASSERT_TRUE(model->LoadSet(2));
	const std::string caption = model->setCaption.Get();
	ASSERT_TRUE(model->RemoveCurrentSet());
	EXPECT_EQ(model->currentSet, 1);
	EXPECT_EQ(model->sets.GetCount(), 2);
	EXPECT_EQ(model->sets.Get(1)->GetName().Get(), "S3");
	EXPECT_EQ(model->setCaption.Get(), caption);
	EXPECT_EQ(HeldNames(), (std::vector<std::string>{"B"}));
	EXPECT_EQ(SetsInFile(), 3);

	ASSERT_TRUE(model->RemoveCurrentSet());
	EXPECT_EQ(model->currentSet, 0);
	EXPECT_FALSE(model->RemoveCurrentSet());
	EXPECT_EQ(model->sets.GetCount(), 1);
}

TEST_F(SetOperationsTest, PruningDropsEmptiedSetsAndFollowsTheCurrentSet)
{
	MakeThreeSets();
	ASSERT_TRUE(model->LoadSet(3));
	Delete(objects[1]);
	model->ResolveSets();
	ASSERT_EQ(model->sets.GetCount(), 2);
	EXPECT_EQ(model->sets.Get(1)->GetName().Get(), "S3");
	// The current set is still "S3", now number 2.
	EXPECT_EQ(model->currentSet, 2);

	// Its own removal leaves no current set, so an update cannot overwrite another set.
	Delete(objects[2]);
	model->ResolveSets();
	EXPECT_EQ(model->sets.GetCount(), 1);
	EXPECT_EQ(model->currentSet, 0);
	EXPECT_FALSE(model->UpdateCurrentSet());
	EXPECT_EQ(MemberNames(1), (std::vector<std::string>{"A"}));
}

TEST_F(SetOperationsTest, PruningWithoutADocumentKeepsEverySet)
{
	MakeThreeSets();
	standin::SetActiveDocument(nullptr);
	model->ResolveSets();
	EXPECT_EQ(model->sets.GetCount(), 3);
	EXPECT_EQ(model->currentSet, 3);
}

TEST_F(SetOperationsTest, LoadingNoneEmptiesTheHeldList)
{
	MakeThreeSets();
	RecordingSeams seams;
	model->SetSeams(&seams);
	ASSERT_TRUE(model->LoadSet(0));
	EXPECT_EQ(model->FirstHeld(), nullptr);
	EXPECT_EQ(model->heldPool.GetCount(), 0);
	EXPECT_EQ(model->currentSet, 0);
	EXPECT_EQ(seams.captions, (std::vector<std::string>{"None"}));
	EXPECT_GT(seams.refreshes, 0);

	EXPECT_FALSE(model->LoadSet(4));
	EXPECT_FALSE(model->LoadSet(-1));
	EXPECT_EQ(model->currentSet, 0);
}

TEST_F(SetOperationsTest, UpdateReplacesTheCurrentSetsMembersAndKeepsItsName)
{
	MakeThreeSets();
	ASSERT_TRUE(model->LoadSet(1));
	BaseMaterial* m = AddMaterial("M");
	ASSERT_TRUE(Gather({objects[2], m}));
	ASSERT_TRUE(model->UpdateCurrentSet());
	EXPECT_EQ(MemberNames(1), (std::vector<std::string>{"A", "C", "M"}));
	const ObjectSet* set = model->sets.Get(0);
	for (Int32 i = 0; i < set->GetCount(); ++i)
		EXPECT_EQ(set->Get(i)->setName.Get(), "S1");
	EXPECT_EQ(set->Get(2)->kind, ENTRY_MATERIAL);
	EXPECT_NE(set->Get(2)->identity, 0u);

	// An empty held list leaves the current set empty.
	model->ClearHeld();
	ASSERT_TRUE(model->UpdateCurrentSet());
	EXPECT_TRUE(model->sets.Get(0)->IsEmpty());
}

TEST_F(SetOperationsTest, OpeningReadsTheSetsAgainWithNoCurrentSet)
{
	MakeThreeSets();
	ManagerModel other;
	other.Open("Sets");
	EXPECT_EQ(other.sets.GetCount(), 3);
	EXPECT_EQ(other.currentSet, 0);
	EXPECT_EQ(other.setCaption.Get(), "Sets");
	EXPECT_EQ(other.FirstHeld(), nullptr);
}

} // namespace
