// A damaged set file costs only what is damaged, and is never overwritten before a copy of it is
// kept.
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "ElementSearch.h"
#include "SetFile.h"
#include "TarnwickPaths.h"
#include "model_fixture.h"
#include "standin/console.h"

namespace
{

namespace fs = std::filesystem;

class SetFileDamageTest : public ModelTest
{
protected:
	void SetUp() override
	{
		ModelTest::SetUp();
		a = AddObject("A");
		b = AddObject("B");
		c = AddObject("C");
		standin::ClearConsole();
	}

	// Three sets saved through the model: "one" {A, B}, "two" {B}, "three" {C}.
	void SaveThreeSets()
	{
		ASSERT_TRUE(Gather({a, b}));
		ASSERT_TRUE(model->SaveAsNewSetNamed("one"));
		ASSERT_TRUE(model->LoadSet(0));
		ASSERT_TRUE(Gather({b}));
		ASSERT_TRUE(model->SaveAsNewSetNamed("two"));
		ASSERT_TRUE(model->LoadSet(0));
		ASSERT_TRUE(Gather({c}));
		ASSERT_TRUE(model->SaveAsNewSetNamed("three"));
	}

	BaseContainer ReadFileContainer(const std::string& path)
	{
		BaseContainer bc;
		HyperFile* hf = HyperFile::Alloc();
		EXPECT_TRUE(hf->Open(SET_FILE_IDENT, Filename(path.c_str()), FILEOPEN_READ, FILEDIALOG_NONE));
		EXPECT_TRUE(hf->ReadContainer(&bc));
		hf->Close();
		HyperFile::Free(hf);
		return bc;
	}

	void WriteFileContainer(const BaseContainer& bc)
	{
		HyperFile* hf = HyperFile::Alloc();
		ASSERT_TRUE(hf->Open(SET_FILE_IDENT, TarnwickFilePlace(SET_FILE_NAME), FILEOPEN_WRITE, FILEDIALOG_NONE));
		ASSERT_TRUE(hf->WriteContainer(bc));
		ASSERT_TRUE(hf->Close());
		HyperFile::Free(hf);
	}

	static std::string Bytes(const std::string& path)
	{
		std::ifstream in(path, std::ios::binary);
		return std::string(std::istreambuf_iterator<char>(in), {});
	}

	// The copies set aside beside the set file.
	std::vector<std::string> Copies() const
	{
		std::vector<std::string> found;
		for (const auto& entry : fs::directory_iterator(root + "/host/plugins/Tarnwick"))
		{
			const std::string name = entry.path().filename().string();
			if (name.rfind("Tarnwick-damaged-", 0) == 0 && entry.path().extension() == ".dat")
				found.push_back(entry.path().string());
		}
		return found;
	}

	std::vector<std::string> ShownNames() const
	{
		std::vector<std::string> names;
		for (Int32 i = 0; i < model->sets.GetCount(); ++i)
			names.push_back(model->sets.Get(i)->GetName().Get());
		return names;
	}

	BaseObject* a = nullptr;
	BaseObject* b = nullptr;
	BaseObject* c = nullptr;
};

TEST_F(SetFileDamageTest, OneWrongTypedItemCostsOnlyThatItem)
{
	SaveThreeSets();
	BaseContainer bc = ReadFileContainer(SetFilePath());
	// Set one's second item (B) gets an identity of the wrong type; set two's name too.
	bc.SetString(6, "not an identity");
	bc.SetInt32(8, 17);

	for (Int32 damage = 0; damage < 2; ++damage)
	{
		BaseContainer broken = bc;
		if (damage == 1)
			broken.SetString(15, "no kind"); // set three's only item loses its kind as well
		WriteFileContainer(broken);
		standin::ClearConsole();
		model = std::make_unique<ManagerModel>();
		model->Open("caption");
		// A set none of whose members can be read is nothing to show; the file keeps it until a
		// copy of the file is made.
		const std::vector<std::string> shown = damage ? std::vector<std::string>{"one", ""} : std::vector<std::string>{"one", "", "three"};
		EXPECT_EQ(ShownNames(), shown);
		EXPECT_EQ(MemberNames(1), (std::vector<std::string>{"A"}));
		EXPECT_EQ(MemberNames(2), (std::vector<std::string>{"B"}));
		EXPECT_TRUE(standin::ConsoleContains("is damaged")) << damage;
	}
}

TEST_F(SetFileDamageTest, AFileNotReadWholeIsCopiedAsideBeforeItIsWritten)
{
	SaveThreeSets();
	BaseContainer bc = ReadFileContainer(SetFilePath());
	bc.SetString(6, "not an identity");
	WriteFileContainer(bc);
	const std::string damaged = Bytes(SetFilePath());

	model = std::make_unique<ManagerModel>();
	model->Open("caption");
	// Reading leaves the file and makes no copy: only a write would replace it.
	EXPECT_TRUE(Copies().empty());
	EXPECT_EQ(Bytes(SetFilePath()), damaged);

	ASSERT_TRUE(Gather({c}));
	bool written = false;
	ASSERT_TRUE(model->SaveAsNewSetNamed("four", &written));
	EXPECT_TRUE(written);
	const std::vector<std::string> copies = Copies();
	ASSERT_EQ(copies.size(), 1u);
	EXPECT_EQ(Bytes(copies[0]), damaged);
	EXPECT_TRUE(standin::ConsoleContains("kept as " + copies[0])) << copies[0];

	// Once the sound file is written, later saves make no more copies.
	ASSERT_TRUE(model->SaveAsNewSetNamed("five", &written));
	EXPECT_EQ(Copies().size(), 1u);
	EXPECT_EQ(ReadFileContainer(SetFilePath()).GetInt32(SET_KEY_COUNT), 5);
}

TEST_F(SetFileDamageTest, UnreadableAndForeignFilesAreCopiedAsideToo)
{
	SaveThreeSets();
	const std::string whole = Bytes(SetFilePath());
	const std::string cut = whole.substr(0, whole.size() / 2);

	// Cut short: no set can be read, and the save keeps the cut file first.
	std::ofstream(SetFilePath(), std::ios::binary | std::ios::trunc) << cut;
	model = std::make_unique<ManagerModel>();
	model->Open("caption");
	EXPECT_EQ(model->sets.GetCount(), 0);
	EXPECT_TRUE(standin::ConsoleContains("cannot be read"));
	ASSERT_TRUE(Gather({a}));
	ASSERT_TRUE(model->SaveAsNewSetNamed("again"));
	ASSERT_EQ(Copies().size(), 1u);
	EXPECT_EQ(Bytes(Copies()[0]), cut);

	// A container without the signature is not this plug-in's file: the sets in memory stay, and
	// the foreign file is kept before they are written over it.
	BaseContainer foreign;
	foreign.SetString(1, "someone else's data");
	WriteFileContainer(foreign);
	const std::string foreignBytes = Bytes(SetFilePath());
	model->Open("caption");
	EXPECT_EQ(ShownNames(), (std::vector<std::string>{"again"}));
	ASSERT_TRUE(Gather({b}));
	ASSERT_TRUE(model->SaveAsNewSetNamed("more"));
	ASSERT_EQ(Copies().size(), 2u);
	const std::vector<std::string> copies = Copies();
	EXPECT_TRUE(Bytes(copies[0]) == foreignBytes || Bytes(copies[1]) == foreignBytes);
}

TEST_F(SetFileDamageTest, WithoutACopyTheDamagedFileIsNotReplacedAndTheSaveSaysSo)
{
	// A named pipe where the file should be: it cannot be read, nor copied aside.
	ASSERT_TRUE(TarnwickFilePlace(SET_FILE_NAME).GetString().Get() == SetFilePath()); // makes the folders
	ASSERT_EQ(mkfifo(SetFilePath().c_str(), 0600), 0);
	model->Open("caption");
	ASSERT_TRUE(Gather({a}));
	bool written = true;
	ASSERT_TRUE(model->SaveAsNewSetNamed("one", &written));
	EXPECT_FALSE(written);
	EXPECT_TRUE(fs::is_fifo(SetFilePath()));
	EXPECT_TRUE(Copies().empty());
	EXPECT_TRUE(standin::ConsoleContains("the sets were not written")) << ::testing::PrintToString(standin::ConsoleLines());
}

TEST_F(SetFileDamageTest, AFailedWriteIsReported)
{
	ASSERT_TRUE(Gather({a}));
	ASSERT_TRUE(model->SaveAsNewSetNamed("one"));
	const std::string missing = root + "/missing/Tarnwick.dat";
	EXPECT_FALSE(model->WriteSetFile(Filename(missing.c_str())));
	EXPECT_TRUE(standin::ConsoleContains("could not be written to " + missing));

	// A folder standing where the file goes cannot be replaced either.
	fs::create_directories(root + "/folder/Tarnwick.dat");
	EXPECT_FALSE(model->WriteSetFile(Filename((root + "/folder/Tarnwick.dat").c_str())));
	EXPECT_TRUE(fs::is_directory(root + "/folder/Tarnwick.dat"));
}

} // namespace
