// Hyper files on disk: round trips of the plug-ins' file layouts, damaged and hostile files, and
// writes that fail without touching the file they would have replaced.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "data/bytes.h"
#include "data/serialize.h"
#include "file/hyperfile_format.h"
#include "hostapi/customdata.h"
#include "hostapi/file.h"
#include "standin/hyperfile_dump.h"

namespace fs = std::filesystem;

namespace
{

constexpr Int32 kIdent = 1952804208; // "temp"

using Bytes = std::vector<std::uint8_t>;

class HyperFileTest : public ::testing::Test
{
protected:
	void SetUp() override
	{
		char pattern[] = "/tmp/hyperfile-test-XXXXXX";
		ASSERT_NE(::mkdtemp(pattern), nullptr);
		dir = pattern;
	}
	void TearDown() override { fs::remove_all(dir); }

	std::string Path(const std::string& name) const { return (dir / name).string(); }

	static bool Write(const std::string& path, const std::vector<BaseContainer>& containers, Int32 ident = kIdent)
	{
		HyperFile* hf = HyperFile::Alloc();
		bool ok = hf->Open(ident, Filename(path.c_str()), FILEOPEN_WRITE, FILEDIALOG_IGNOREOPEN);
		for (const BaseContainer& bc : containers)
			ok = ok && hf->WriteContainer(bc);
		ok = hf->Close() && ok;
		HyperFile::Free(hf);
		return ok;
	}

	static bool Read(const std::string& path, BaseContainer* bc, Int32 ident = kIdent)
	{
		HyperFile* hf = HyperFile::Alloc();
		bool ok = hf->Open(ident, Filename(path.c_str()), FILEOPEN_READ, FILEDIALOG_IGNOREOPEN) && hf->ReadContainer(bc);
		hf->Close();
		HyperFile::Free(hf);
		return ok;
	}

	static Bytes Load(const std::string& path)
	{
		std::ifstream in(path, std::ios::binary);
		return Bytes(std::istreambuf_iterator<char>(in), {});
	}

	static void Save(const std::string& path, const Bytes& bytes)
	{
		std::ofstream out(path, std::ios::binary | std::ios::trunc);
		out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
	}

	bool NoTempFilesLeft() const
	{
		for (const auto& entry : fs::directory_iterator(dir))
			if (entry.path().filename().string().find(".tmp-") != std::string::npos)
				return false;
		return true;
	}

	fs::path dir;
};

// The saved-set layout: signature, set count, per-set item counts, then name and items per set.
BaseContainer SetFileLike()
{
	BaseContainer bc;
	bc.SetInt32(-1, 2);
	bc.SetString(2, "Cube");
	bc.SetInt64(3, 0x1122334455667788LL);
	bc.SetInt32(4, 1);
	bc.SetString(5, "Red");
	bc.SetInt64(6, -42);
	bc.SetInt32(7, 2);
	bc.SetString(1, "front");
	bc.SetInt32(-2, 1);
	bc.SetString(9, "");
	bc.SetInt64(10, 7);
	bc.SetInt32(11, 1);
	bc.SetString(8, "back");
	bc.SetInt32(0, 2);
	bc.SetString(-9999, "Tarnwick");
	return bc;
}

// The placement layout: name, identity and three pairs of matrices per entry.
BaseContainer PlacementLike()
{
	BaseContainer bc;
	bc.SetInt32(-1, 1);
	bc.SetString(999, "placement list");
	bc.SetString(0, "Sphere");
	bc.SetInt64(1, 99);
	for (Int32 s = 0; s < 3; ++s)
	{
		const Matrix global = HPBToMatrix(Vector(0.1 * s, -0.2, 0.3), ROTATIONORDER_DEFAULT) * MatrixScale(Vector(1.0, 2.0, 0.5));
		Matrix local = global;
		local.off = Vector(1.0 / 3.0, -s, 1e-17);
		bc.SetMatrix(2 + 2 * s, global);
		bc.SetMatrix(3 + 2 * s, local);
	}
	return bc;
}

} // namespace

TEST_F(HyperFileTest, SetAndPlacementLayoutsRoundTripExactly)
{
	for (const BaseContainer& original : {SetFileLike(), PlacementLike()})
	{
		const std::string path = Path("file.dat");
		ASSERT_TRUE(Write(path, {original}));
		BaseContainer back;
		ASSERT_TRUE(Read(path, &back));
		EXPECT_EQ(back, original);
		EXPECT_TRUE(NoTempFilesLeft());
	}
	BaseContainer back;
	ASSERT_TRUE(Read(Path("file.dat"), &back));
	EXPECT_EQ(back.GetMatrix(7), PlacementLike().GetMatrix(7));
}

TEST_F(HyperFileTest, HoldsSeveralContainersInOrder)
{
	BaseContainer a(1), b(2);
	a.SetInt32(1, 1);
	b.SetString(1, "two");
	ASSERT_TRUE(Write(Path("two.dat"), {a, b}));

	HyperFile* hf = HyperFile::Alloc();
	ASSERT_TRUE(hf->Open(kIdent, Filename(Path("two.dat").c_str()), FILEOPEN_READ, FILEDIALOG_NONE));
	BaseContainer x, y, z;
	EXPECT_TRUE(hf->ReadContainer(&x));
	EXPECT_TRUE(hf->ReadContainer(&y));
	EXPECT_FALSE(hf->ReadContainer(&z));
	EXPECT_FALSE(hf->WriteContainer(a));
	hf->Close();
	HyperFile::Free(hf);
	EXPECT_EQ(x, a);
	EXPECT_EQ(y, b);
}

TEST_F(HyperFileTest, RefusesMissingFilesAndAnotherIdent)
{
	BaseContainer bc;
	EXPECT_FALSE(Read(Path("missing.dat"), &bc));
	ASSERT_TRUE(Write(Path("f.dat"), {SetFileLike()}));
	EXPECT_FALSE(Read(Path("f.dat"), &bc, kIdent + 1));
	EXPECT_EQ(bc.GetCount(), 0);
	EXPECT_FALSE(Read(dir.string(), &bc)); // a folder is not a file
	// Nor is a named pipe; reading one must not wait for a writer that never comes.
	ASSERT_EQ(::mkfifo(Path("pipe").c_str(), 0600), 0);
	EXPECT_FALSE(Read(Path("pipe"), &bc));
}

TEST_F(HyperFileTest, EveryTruncationAndEveryFlippedByteIsRefused)
{
	const std::string good = Path("good.dat");
	ASSERT_TRUE(Write(good, {PlacementLike()}));
	const Bytes bytes = Load(good);
	const std::string bad = Path("bad.dat");
	for (size_t len = 0; len < bytes.size(); ++len)
	{
		Save(bad, Bytes(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(len)));
		BaseContainer bc;
		EXPECT_FALSE(Read(bad, &bc)) << "length " << len;
		EXPECT_EQ(bc.GetCount(), 0);
	}
	for (size_t i = 0; i < bytes.size(); ++i)
	{
		Bytes damaged = bytes;
		damaged[i] ^= 0x10;
		Save(bad, damaged);
		BaseContainer bc;
		EXPECT_FALSE(Read(bad, &bc)) << "byte " << i;
	}
}

TEST_F(HyperFileTest, RefusesHostileLengthsAndCountsBehindAValidChecksum)
{
	// A header that claims an enormous payload is refused before anything is allocated for it.
	Bytes huge;
	standin::file::BuildHyperFile(kIdent, {}, &huge);
	huge[12] = 0xFF;
	huge[19] = 0x7F;
	Save(Path("huge.dat"), huge);
	BaseContainer bc;
	EXPECT_FALSE(Read(Path("huge.dat"), &bc));

	// A well-formed file whose container claims more entries than it holds.
	Bytes body;
	standin::data::ByteWriter w(body);
	w.U32(standin::data::kContainerEncodingVersion);
	w.I32(0);
	w.U32(0x40000000u);
	Bytes payload;
	standin::file::AppendRecord(payload, standin::file::kRecordContainer, body);
	Bytes image;
	standin::file::BuildHyperFile(kIdent, payload, &image);
	Save(Path("count.dat"), image);
	EXPECT_FALSE(Read(Path("count.dat"), &bc));
	std::string text, error;
	EXPECT_FALSE(standin::DescribeHyperFile(Path("count.dat"), &text, &error));
	EXPECT_NE(error.find("entry count"), std::string::npos) << error;

	// A record that claims to be longer than the payload.
	payload.clear();
	standin::file::AppendRecord(payload, standin::file::kRecordContainer, body);
	payload[4] = 0xFF;
	standin::file::BuildHyperFile(kIdent, payload, &image);
	Save(Path("record.dat"), image);
	EXPECT_FALSE(Read(Path("record.dat"), &bc));
}

TEST_F(HyperFileTest, FailedWritesLeaveTheOldFileAsItWas)
{
	const std::string target = Path("Tarnwick.dat");
	ASSERT_TRUE(Write(target, {SetFileLike()}));
	const Bytes before = Load(target);

	// Freed without Close: the write never finished.
	HyperFile* hf = HyperFile::Alloc();
	ASSERT_TRUE(hf->Open(kIdent, Filename(target.c_str()), FILEOPEN_WRITE, FILEDIALOG_IGNOREOPEN));
	EXPECT_TRUE(hf->WriteContainer(PlacementLike()));
	EXPECT_FALSE(hf->ReadContainer(nullptr));
	HyperFile::Free(hf);
	EXPECT_EQ(Load(target), before);
	EXPECT_TRUE(NoTempFilesLeft());

	// A container nested deeper than a read accepts is refused before anything is written.
	BaseContainer deep;
	for (int i = 0; i < 70; ++i)
	{
		BaseContainer outer;
		outer.SetContainer(1, deep);
		deep = outer;
	}
	EXPECT_FALSE(Write(target, {SetFileLike(), deep}));
	EXPECT_EQ(Load(target), before);

	// A folder that does not exist cannot take the file: Open fails.
	EXPECT_FALSE(Write(Path("no-such-folder/Tarnwick.dat"), {SetFileLike()}));
	// A path that runs through a file rather than a folder fails the same way.
	EXPECT_FALSE(Write(target + "/inside.dat", {SetFileLike()}));
	EXPECT_EQ(Load(target), before);

	// The final rename fails when the target is a folder with content; it stays as it was.
	const std::string folderTarget = Path("occupied");
	fs::create_directory(folderTarget);
	Save(folderTarget + "/keep.txt", {'k'});
	EXPECT_FALSE(Write(folderTarget, {SetFileLike()}));
	EXPECT_TRUE(fs::exists(folderTarget + "/keep.txt"));
	EXPECT_TRUE(NoTempFilesLeft());
}

TEST_F(HyperFileTest, OpenAndCloseRefuseMisuse)
{
	HyperFile* hf = HyperFile::Alloc();
	EXPECT_FALSE(hf->Close());
	EXPECT_FALSE(hf->Open(kIdent, Filename(Path("x.dat").c_str()), 7, FILEDIALOG_NONE));
	EXPECT_FALSE(hf->Open(kIdent, Filename(), FILEOPEN_WRITE, FILEDIALOG_NONE));
	ASSERT_TRUE(hf->Open(kIdent, Filename(Path("x.dat").c_str()), FILEOPEN_WRITE, FILEDIALOG_NONE));
	EXPECT_FALSE(hf->Open(kIdent, Filename(Path("y.dat").c_str()), FILEOPEN_WRITE, FILEDIALOG_NONE));
	EXPECT_TRUE(hf->Close());
	HyperFile::Free(hf);
	EXPECT_EQ(hf, nullptr);
	HyperFile::Free(hf); // freeing nothing is harmless

	// An empty file (no container) is valid but has nothing to read.
	BaseContainer bc;
	EXPECT_FALSE(Read(Path("x.dat"), &bc));
}

TEST_F(HyperFileTest, DescribeListsEveryKeyWithTypeAndValue)
{
	BaseContainer bc;
	bc.SetString(-9999, "Tarn\"wick\"\n");
	bc.SetInt32(0, 1);
	bc.SetInt64(2, -5);
	bc.SetFloat(3, 0.1);
	bc.SetMatrix(4, MatrixScale(Vector(2.0, 1.0, 0.5)));
	BaseContainer inner(8);
	inner.SetVector(1, Vector(1, -2, 0.25));
	bc.SetContainer(5, inner);
	SplineData* s = SplineData::Alloc();
	s->InsertKnot(0.0, 1.0);
	bc.SetData(6, GeData(*s));
	SplineData::Free(s);
	bc.SetLink(7, nullptr);
	ASSERT_TRUE(Write(Path("d.dat"), {bc}));

	std::string text, error;
	ASSERT_TRUE(standin::DescribeHyperFile(Path("d.dat"), &text, &error)) << error;
	EXPECT_EQ(text,
		"ident 1952804208 'temp'\n"
		"container 1 id 0\n"
		"-9999 STRING \"Tarn\\\"wick\\\"\\n\"\n"
		"0 INT32 1\n"
		"2 INT64 -5\n"
		"3 FLOAT 0.1\n"
		"4 MATRIX off (0, 0, 0) v1 (2, 0, 0) v2 (0, 1, 0) v3 (0, 0, 0.5)\n"
		"5 CONTAINER id 8, 1 keys\n"
		"  1 VECTOR (1, -2, 0.25)\n"
		"6 SPLINE 1 knots\n"
		"  knot 0 pos (0, 1, 0) left (0, 0, 0) right (0, 0, 0) interpolation 0\n"
		"7 NIL -\n");

	EXPECT_FALSE(standin::DescribeHyperFile(Path("none.dat"), &text, &error));
	EXPECT_NE(error.find("none.dat"), std::string::npos);
}
