// A write of the set file never drops sets the model has not seen: it reads the file even without
// a document, and a model that never read the file (the manager was not opened in this run) takes
// its sets in before replacing it.
#include <filesystem>
#include <fstream>
#include <iterator>

#include "SetFile.h"
#include "model_fixture.h"
#include "standin/console.h"

namespace
{

namespace fs = std::filesystem;

class SetFileUnseenTest : public ModelTest
{
protected:
	void SetUp() override
	{
		ModelTest::SetUp();
		standin::ClearConsole();
	}

	// Saves a set of the given objects through a model of its own, as an earlier run of the host.
	void SaveEarlier(std::initializer_list<BaseList2D*> elements, const char* name)
	{
		ManagerModel earlier;
		earlier.Open("caption");
		AtomArray* arr = AtomArray::Alloc();
		for (BaseList2D* e : elements)
			arr->Append(e);
		ASSERT_TRUE(earlier.AddElements(*arr));
		AtomArray::Free(arr);
		bool written = false;
		ASSERT_TRUE(earlier.SaveAsNewSetNamed(name, &written));
		ASSERT_TRUE(written);
	}

	// The names of the sets in the file, in file order.
	std::vector<std::string> NamesInFile()
	{
		ManagerModel reader;
		EXPECT_TRUE(reader.ReadSetFile());
		std::vector<std::string> names;
		for (Int32 i = 0; i < reader.sets.GetStoredCount(); ++i)
			names.push_back(reader.sets.GetStored(i)->GetName().Get());
		return names;
	}

	std::vector<std::string> ShownNames() const
	{
		std::vector<std::string> names;
		for (Int32 i = 0; i < model->sets.GetCount(); ++i)
			names.push_back(model->sets.Get(i)->GetName().Get());
		return names;
	}
};

TEST_F(SetFileUnseenTest, OpeningWithoutADocumentKeepsEverySetForTheNextSave)
{
	BaseObject* chair = AddObject("Chair");
	SaveEarlier({chair}, "Four");
	BaseDocument* first = doc;

	// The manager opens before any document exists: no set can show, but every one is kept.
	standin::SetActiveDocument(nullptr);
	model->Open("caption");
	EXPECT_EQ(model->sets.GetCount(), 0);
	EXPECT_EQ(model->sets.GetStoredCount(), 1);

	// A new document comes, and a set saved in it joins the one already in the file.
	doc = standin::NewDocument();
	model->ResolveSets();
	BaseObject* desk = AddObject("D");
	ASSERT_TRUE(Gather({desk}));
	bool written = false;
	ASSERT_TRUE(model->SaveAsNewSetNamed("Five", &written));
	EXPECT_TRUE(written);
	EXPECT_EQ(NamesInFile(), (std::vector<std::string>{"Four", "Five"}));

	// Back in the first document, the set read without a document finds its member.
	standin::SetActiveDocument(first);
	doc = first;
	model->ResolveSets();
	EXPECT_EQ(ShownNames(), (std::vector<std::string>{"Four"}));
	EXPECT_EQ(MemberNames(1), (std::vector<std::string>{"Chair"}));
}

TEST_F(SetFileUnseenTest, AModelThatNeverReadTheFileSavesAfterTheSetsInIt)
{
	BaseObject* chair = AddObject("Chair");
	BaseObject* lamp = AddObject("Lamp");
	BaseObject* rug = AddObject("Rug");
	SaveEarlier({chair}, "Four");
	SaveEarlier({lamp}, "Lamp");

	// The manager was never opened in this run (a restart of the plug-ins, say), so its store holds
	// only what it saves now.
	ASSERT_TRUE(Gather({rug}));
	bool written = false;
	ASSERT_TRUE(model->SaveAsNewSetNamed("Five", &written));
	EXPECT_TRUE(written);
	EXPECT_EQ(NamesInFile(), (std::vector<std::string>{"Four", "Lamp", "Five"}));
	EXPECT_TRUE(standin::ConsoleContains("were read in and are kept"));
	// The sets taken in show here (their members are in this scene), and the new one stays current.
	EXPECT_EQ(ShownNames(), (std::vector<std::string>{"Four", "Lamp", "Five"}));
	EXPECT_EQ(model->currentSet, 3);
	EXPECT_EQ(model->setCaption.Get(), "Five");

	// From then on the model knows the file: a second save takes nothing in twice.
	ASSERT_TRUE(Gather({chair}));
	ASSERT_TRUE(model->SaveAsNewSetNamed("Six", &written));
	EXPECT_EQ(NamesInFile(), (std::vector<std::string>{"Four", "Lamp", "Five", "Six"}));
	EXPECT_EQ(model->currentSet, 4);
}

TEST_F(SetFileUnseenTest, AFileThatAppearsAfterTheModelFoundNoneIsTakenInToo)
{
	BaseObject* chair = AddObject("Chair");
	BaseObject* rug = AddObject("Rug");
	model->Open("caption"); // no file yet
	EXPECT_EQ(model->sets.GetStoredCount(), 0);
	SaveEarlier({chair}, "Elsewhere");

	ASSERT_TRUE(Gather({rug}));
	ASSERT_TRUE(model->SaveAsNewSetNamed("Mine"));
	EXPECT_EQ(NamesInFile(), (std::vector<std::string>{"Elsewhere", "Mine"}));
}

TEST_F(SetFileUnseenTest, ADamagedFileTheModelNeverReadIsStillCopiedAside)
{
	BaseObject* chair = AddObject("Chair");
	BaseObject* rug = AddObject("Rug");
	SaveEarlier({chair}, "Four");
	SaveEarlier({rug}, "Rug");
	// Set one's only identity gets the wrong type: the file can be read only in part.
	BaseContainer bc;
	HyperFile* hf = HyperFile::Alloc();
	ASSERT_TRUE(hf->Open(SET_FILE_IDENT, Filename(SetFilePath().c_str()), FILEOPEN_READ, FILEDIALOG_NONE));
	ASSERT_TRUE(hf->ReadContainer(&bc));
	hf->Close();
	bc.SetString(3, "not an identity");
	ASSERT_TRUE(hf->Open(SET_FILE_IDENT, Filename(SetFilePath().c_str()), FILEOPEN_WRITE, FILEDIALOG_NONE));
	ASSERT_TRUE(hf->WriteContainer(bc));
	ASSERT_TRUE(hf->Close());
	HyperFile::Free(hf);
	std::ifstream in(SetFilePath(), std::ios::binary);
	const std::string damaged((std::istreambuf_iterator<char>(in)), {});

	ASSERT_TRUE(Gather({chair}));
	bool written = false;
	ASSERT_TRUE(model->SaveAsNewSetNamed("Five", &written));
	EXPECT_TRUE(written);
	// What could be read is kept in the new file; the damaged one is kept whole beside it.
	EXPECT_EQ(NamesInFile(), (std::vector<std::string>{"Rug", "Five"}));
	std::vector<std::string> copies;
	for (const auto& entry : fs::directory_iterator(root + "/host/plugins/Tarnwick"))
	{
		if (entry.path().filename().string().rfind("Tarnwick-damaged-", 0) == 0)
			copies.push_back(entry.path().string());
	}
	ASSERT_EQ(copies.size(), 1u);
	std::ifstream copy(copies[0], std::ios::binary);
	EXPECT_EQ(std::string((std::istreambuf_iterator<char>(copy)), {}), damaged);
}

} // namespace
