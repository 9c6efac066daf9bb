#include <fstream>
#include <iterator>

#include "ElementSearch.h"
#include "SetFile.h"
#include "TarnwickPaths.h"
#include "model_fixture.h"

namespace
{

class SetFileTest : public ModelTest
{
protected:
	// A store with one set per name list, members taken from the scene by name.
	void MakeSet(const std::string& name, std::initializer_list<BaseList2D*> members)
	{
		ObjectSet* set = model->sets.AppendNew();
		for (BaseList2D* e : members)
		{
			SetItem* item = NewSetItem();
			item->link->SetLink(e);
			item->kind = e->IsInstanceOf(Obase) ? ENTRY_OBJECT : ENTRY_MATERIAL;
			if (item->kind == ENTRY_OBJECT)
				item->identity = static_cast<BaseObject*>(e)->GetGUID();
			else
				ReadMaterialMarker(static_cast<BaseMaterial*>(e), &item->identity);
			item->setName = name;
			set->Append(item);
		}
	}

	void WriteContainerFile(const BaseContainer& bc, Int32 ident = SET_FILE_IDENT)
	{
		const Filename place = TarnwickFilePlace(SET_FILE_NAME); // makes the folders
		HyperFile* hf = HyperFile::Alloc();
		const bool opened = hf->Open(ident, place, FILEOPEN_WRITE, FILEDIALOG_NONE);
		const bool written = opened && hf->WriteContainer(bc);
		const bool closed = hf->Close();
		HyperFile::Free(hf);
		ASSERT_TRUE(opened && written && closed);
	}

	std::string FileBytes() const
	{
		std::ifstream in(SetFilePath(), std::ios::binary);
		return std::string(std::istreambuf_iterator<char>(in), {});
	}

	// Reads the file into a fresh model that starts with one unrelated set in memory.
	bool ReadIntoFreshModel()
	{
		model = std::make_unique<ManagerModel>();
		BaseObject* marker = doc->SearchObject("Keep");
		if (!marker)
			marker = AddObject("Keep");
		MakeSet("before", {marker});
		return model->ReadSetFile();
	}
};

TEST_F(SetFileTest, FileLivesInTarnwickBesideThePreferenceFolder)
{
	const Filename place = TarnwickFilePlace("Tarnwick.dat");
	EXPECT_EQ(place.GetString().Get(), SetFilePath());
	EXPECT_TRUE(GeFExist(Filename((root + "/host/plugins/Tarnwick").c_str()), true));

	// A preference folder given with a trailing separator names the same place.
	standin::SetPrefsFolder(root + "/host/prefs/");
	EXPECT_EQ(TarnwickFilePlace("Tarnwick.dat").GetString().Get(), SetFilePath());
}

TEST_F(SetFileTest, KeysOfTwoSetsOfTwoAndOneItems)
{
	BaseObject* a = AddObject("A");
	BaseObject* b = AddObject("B");
	BaseMaterial* m = AddMaterial("M");
	UInt64 marker = 0;
	ASSERT_TRUE(AddMaterialMarker(m, &marker));
	MakeSet("first", {a, m});
	MakeSet("second", {b});

	BaseContainer bc;
	ASSERT_TRUE(BuildSetContainer(model->sets, doc, &bc));
	EXPECT_EQ(bc.GetCount(), 15); // keys 1..11, -1, -2, 0, -9999
	auto typeOf = [&](Int32 key) { const GeData* d = bc.GetDataPointer(key); return d ? d->GetType() : -1; };
	EXPECT_EQ(bc.GetString(-9999).Get(), "Tarnwick");
	EXPECT_EQ(bc.GetInt32(0), 2);
	EXPECT_EQ(bc.GetInt32(-1), 2);
	EXPECT_EQ(bc.GetInt32(-2), 1);
	EXPECT_EQ(typeOf(-1), DA_LONG);
	EXPECT_EQ(bc.GetString(1).Get(), "first");
	EXPECT_EQ(bc.GetString(2).Get(), "A");
	EXPECT_EQ(bc.GetInt64(3), static_cast<Int64>(a->GetGUID()));
	EXPECT_EQ(bc.GetInt32(4), ENTRY_OBJECT);
	EXPECT_EQ(bc.GetString(5).Get(), "M");
	EXPECT_EQ(bc.GetInt64(6), static_cast<Int64>(marker));
	EXPECT_EQ(bc.GetInt32(7), ENTRY_MATERIAL);
	EXPECT_EQ(bc.GetString(8).Get(), "second");
	EXPECT_EQ(bc.GetString(9).Get(), "B");
	EXPECT_EQ(bc.GetInt32(11), ENTRY_OBJECT);
	for (Int32 key : {1, 2, 5, 8, 9, -9999})
		EXPECT_EQ(typeOf(key), DA_STRING) << key;
	for (Int32 key : {3, 6, 10})
		EXPECT_EQ(typeOf(key), DA_LLONG) << key;
	for (Int32 key : {0, -2, 4, 7, 11})
		EXPECT_EQ(typeOf(key), DA_LONG) << key;

	// A member whose element is gone is still written, with the name it was last written with.
	Delete(b);
	ASSERT_TRUE(BuildSetContainer(model->sets, doc, &bc));
	EXPECT_EQ(bc.GetString(9).Get(), "B");
	EXPECT_EQ(bc.GetInt32(11), ENTRY_OBJECT);
}

TEST_F(SetFileTest, RenamedObjectAndMaterialComeBackByIdentity)
{
	BaseObject* a = AddObject("Chair");
	BaseMaterial* m = AddMaterial("Wood");
	ASSERT_TRUE(Gather({a, m}));
	ASSERT_TRUE(model->SaveAsNewSetNamed("Furniture"));
	a->SetName("Stool");
	m->SetName("Oak");

	ASSERT_TRUE(ReadIntoFreshModel());
	ASSERT_EQ(model->sets.GetCount(), 1);
	EXPECT_EQ(MemberNames(1), (std::vector<std::string>{"Stool", "Oak"}));
	const ObjectSet* set = model->sets.Get(0);
	EXPECT_EQ(set->Get(0)->setName.Get(), "Furniture");
	EXPECT_EQ(set->Get(1)->kind, ENTRY_MATERIAL);
	EXPECT_EQ(set->Get(0)->Resolve(), a);
	EXPECT_EQ(set->Get(1)->Resolve(), m);
	EXPECT_EQ(model->currentSet, 0); // reading never picks a current set
}

TEST_F(SetFileTest, SetWhoseMembersAllVanishedIsHiddenButKeptAndTheOthersKeepTheirOrder)
{
	BaseObject* a = AddObject("A");
	BaseObject* b1 = AddObject("B1");
	BaseObject* b2 = AddObject("B2");
	BaseObject* c = AddObject("C");
	MakeSet("one", {a});
	MakeSet("two", {b1, b2});
	MakeSet("three", {c});
	MakeSet("empty", {});
	ASSERT_TRUE(model->WriteSetFile());
	Delete(b1);
	Delete(b2);

	ASSERT_TRUE(ReadIntoFreshModel());
	ASSERT_EQ(model->sets.GetCount(), 3);
	EXPECT_EQ(MemberNames(1), (std::vector<std::string>{"A"}));
	EXPECT_EQ(MemberNames(2), (std::vector<std::string>{"C"}));
	EXPECT_EQ(model->sets.Get(1)->GetName().Get(), "three");
	EXPECT_TRUE(model->sets.Get(2)->IsEmpty()); // stored empty, read back empty

	// The hidden set is still stored, and the next write carries it along in its place.
	EXPECT_EQ(model->sets.GetStoredCount(), 4);
	EXPECT_EQ(model->sets.GetKeptCount(), 1);
	BaseContainer bc;
	ASSERT_TRUE(BuildSetContainer(model->sets, doc, &bc));
	EXPECT_EQ(bc.GetInt32(SET_KEY_COUNT), 4);
	EXPECT_EQ(bc.GetString(5).Get(), "two");
	EXPECT_EQ(bc.GetString(6).Get(), "B1");
	EXPECT_EQ(bc.GetString(9).Get(), "B2");
}

TEST_F(SetFileTest, FilesWithoutTheExactSignatureOrWithoutSetsAreIgnored)
{
	BaseObject* a = AddObject("A");
	MakeSet("one", {a});
	BaseContainer bc;
	ASSERT_TRUE(BuildSetContainer(model->sets, doc, &bc));

	bc.SetString(SET_KEY_SIGNATURE, "tarnwick");
	WriteContainerFile(bc);
	ASSERT_TRUE(ReadIntoFreshModel());
	ASSERT_EQ(model->sets.GetCount(), 1);
	EXPECT_EQ(model->sets.Get(0)->GetName().Get(), "before");

	// Writing an empty store gives key 0 = 0, which reading treats as nothing to load.
	model = std::make_unique<ManagerModel>();
	ASSERT_TRUE(model->WriteSetFile());
	BaseContainer written;
	HyperFile* hf = HyperFile::Alloc();
	ASSERT_TRUE(hf->Open(SET_FILE_IDENT, Filename(SetFilePath().c_str()), FILEOPEN_READ, FILEDIALOG_NONE));
	ASSERT_TRUE(hf->ReadContainer(&written));
	hf->Close();
	HyperFile::Free(hf);
	EXPECT_EQ(written.GetInt32(SET_KEY_COUNT, -1), 0);
	EXPECT_EQ(written.GetCount(), 2);
	ASSERT_TRUE(ReadIntoFreshModel());
	EXPECT_EQ(model->sets.GetCount(), 1);
	EXPECT_EQ(model->sets.Get(0)->GetName().Get(), "before");
}

TEST_F(SetFileTest, MissingOrDamagedFileEmptiesTheSets)
{
	EXPECT_FALSE(ReadIntoFreshModel());
	EXPECT_EQ(model->sets.GetCount(), 0);

	BaseObject* a = AddObject("A");
	MakeSet("one", {a});
	ASSERT_TRUE(model->WriteSetFile());
	const std::string whole = FileBytes();
	ASSERT_GT(whole.size(), 20u);
	for (size_t cut : {size_t(0), size_t(7), whole.size() / 2, whole.size() - 1})
	{
		std::ofstream(SetFilePath(), std::ios::binary | std::ios::trunc) << whole.substr(0, cut);
		EXPECT_FALSE(ReadIntoFreshModel()) << "cut at " << cut;
		EXPECT_EQ(model->sets.GetCount(), 0);
	}
	std::string flipped = whole;
	flipped[flipped.size() - 3] ^= 0x5a;
	std::ofstream(SetFilePath(), std::ios::binary | std::ios::trunc) << flipped;
	EXPECT_FALSE(ReadIntoFreshModel());
	EXPECT_EQ(model->sets.GetCount(), 0);

	// A hyper file of another kind is not a set file.
	BaseContainer bc;
	ASSERT_TRUE(BuildSetContainer(model->sets, doc, &bc));
	WriteContainerFile(bc, SET_FILE_IDENT + 1);
	EXPECT_FALSE(ReadIntoFreshModel());
}

TEST_F(SetFileTest, HostileCountsAreReadOnlyAsFarAsTheirKeysGo)
{
	BaseObject* a = AddObject("A");
	BaseObject* b = AddObject("B");
	MakeSet("one", {a});
	MakeSet("two", {b});
	BaseContainer good;
	ASSERT_TRUE(BuildSetContainer(model->sets, doc, &good));

	// Two billion sets and two billion items announced, nothing behind them.
	BaseContainer bc = good;
	bc.SetInt32(SET_KEY_COUNT, 0x7fffffff);
	bc.SetInt32(-2, 0x7fffffff);
	WriteContainerFile(bc);
	ASSERT_TRUE(ReadIntoFreshModel());
	ASSERT_EQ(model->sets.GetCount(), 2);
	EXPECT_EQ(MemberNames(1), (std::vector<std::string>{"A"}));
	EXPECT_EQ(MemberNames(2), (std::vector<std::string>{"B"}));

	// A negative item count: the sets behind it cannot be placed, the ones before it are read.
	bc = good;
	bc.SetInt32(-2, -5);
	WriteContainerFile(bc);
	ASSERT_TRUE(ReadIntoFreshModel());
	EXPECT_EQ(model->sets.GetCount(), 1);

	// A count larger than the keys behind it ends at the first key that is not an item's.
	bc = good;
	bc.SetInt32(-1, 0x7ffffff0);
	WriteContainerFile(bc);
	ASSERT_TRUE(ReadIntoFreshModel());
	EXPECT_EQ(model->sets.GetCount(), 1); // set one's first item is sound; then the keys end
	EXPECT_EQ(MemberNames(1), (std::vector<std::string>{"A"}));

	// A negative or missing number of sets: the item counts say how many there are.
	for (bool remove : {false, true})
	{
		bc = good;
		if (remove)
			bc.RemoveData(SET_KEY_COUNT);
		else
			bc.SetInt32(SET_KEY_COUNT, -3);
		WriteContainerFile(bc);
		ASSERT_TRUE(ReadIntoFreshModel());
		ASSERT_EQ(model->sets.GetCount(), 2) << remove;
		EXPECT_EQ(MemberNames(2), (std::vector<std::string>{"B"}));
	}
}

TEST_F(SetFileTest, FailedWriteLeavesTheOldFile)
{
	BaseObject* a = AddObject("A");
	MakeSet("one", {a});
	ASSERT_TRUE(model->WriteSetFile());
	const std::string before = FileBytes();
	// Nothing but the file itself is left in the folder after a write.
	size_t files = 0;
	for (const auto& entry : std::filesystem::directory_iterator(root + "/host/plugins/Tarnwick"))
		files += entry.is_regular_file() ? 1 : 0;
	EXPECT_EQ(files, 1u);

	MakeSet("two", {a});
	// A place that cannot take the file fails the write and touches nothing else.
	EXPECT_FALSE(model->WriteSetFile(Filename((root + "/missing/Tarnwick.dat").c_str())));
	EXPECT_EQ(FileBytes(), before);

	// Without a document nothing is written.
	standin::SetActiveDocument(nullptr);
	EXPECT_FALSE(model->WriteSetFile());
	EXPECT_EQ(FileBytes(), before);
}

TEST_F(SetFileTest, StoreTooBigForTheKeyLayoutIsNotWrittenOverTheOldFile)
{
	BaseObject* a = AddObject("A");
	MakeSet("one", {a});
	ASSERT_TRUE(model->WriteSetFile());
	const std::string before = FileBytes();

	// The largest store whose counts stay clear of the signature's key still saves and reads back.
	while (model->sets.GetCount() < SET_FILE_MAX_SETS)
		MakeSet("more", {a});
	ASSERT_TRUE(model->WriteSetFile());
	ASSERT_TRUE(ReadIntoFreshModel());
	EXPECT_EQ(model->sets.GetCount(), SET_FILE_MAX_SETS);

	// One more set would put its count on the signature: the save is refused, the file stays.
	const std::string full = FileBytes();
	MakeSet("one too many", {a});
	EXPECT_FALSE(model->WriteSetFile());
	EXPECT_EQ(FileBytes(), full);
	EXPECT_NE(full, before);
}

} // namespace
