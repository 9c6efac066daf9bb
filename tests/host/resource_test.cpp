// Plug-in resources as the host reads them: string tables, descriptions and icon sizes, and the
// processor thread count knob.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "hostapi/api.h"
#include "scratch_folder.h"
#include "standin/console.h"
#include "standin/plugins.h"
#include "standin/threads.h"

namespace
{

bool ConsoleHas(const std::string& text)
{
	return standin::ConsoleContains(text);
}

TEST(PluginResources, StringTableWithCommentsEscapesAndCrLf)
{
	ScratchFolder dir;
	dir.Write("res/strings.str",
		"\xEF\xBB\xBF# texts\n"
		"\n"
		"10001 \"Loom tool\"\r\n"
		"  10000   \"Say \\\"hi\\\" \\\\ twice\\nthen stop\"   \n"
		"\t# indented comment\n"
		"7 \"\"\n");
	GeResource res;
	ASSERT_TRUE(res.Init(Filename(dir.Path().string().c_str())));
	EXPECT_TRUE(res.IsLoaded());
	EXPECT_EQ(res.LoadString(10001).Get(), "Loom tool");
	EXPECT_EQ(res.LoadString(10000).Get(), "Say \"hi\" \\ twice\nthen stop");
	EXPECT_EQ(res.LoadString(7).Get(), "");
	EXPECT_EQ(res.LoadString(5).Get(), ""); // unknown
	res.Free();
	EXPECT_FALSE(res.IsLoaded());
	EXPECT_EQ(res.LoadString(10001).Get(), "");
}

TEST(PluginResources, MalformedStringTablesFailNamingFileAndLine)
{
	const struct
	{
		const char* text;
		int line;
		const char* why;
	} cases[] = {
		{"1 \"ok\"\n2 \"unterminated\n", 2, "missing closing quote"},
		{"abc \"x\"\n", 1, "not a string number"},
		{"99999999999 \"x\"\n", 1, "not a string number"},
		{"1 \"x\" trailing\n", 1, "after the closing quote"},
		{"1 \"bad \\t escape\"\n", 1, "unknown escape"},
		{"1 \"a\"\n\n1 \"b\"\n", 3, "defined twice"},
		{"1 no quotes\n", 1, "expected a quoted text"},
		{"1\n", 1, "expected a quoted text"},
	};
	for (const auto& c : cases)
	{
		ScratchFolder dir;
		const std::string path = dir.Write("res/strings.str", c.text);
		standin::ClearConsole();
		GeResource res;
		EXPECT_FALSE(res.Init(Filename(dir.Path().string().c_str()))) << c.text;
		EXPECT_FALSE(res.IsLoaded());
		EXPECT_TRUE(ConsoleHas(path + ":" + std::to_string(c.line) + ": ")) << c.text;
		EXPECT_TRUE(ConsoleHas(c.why)) << c.text;
	}
}

TEST(PluginResources, MissingStringTableFails)
{
	ScratchFolder dir;
	standin::ClearConsole();
	GeResource res;
	EXPECT_FALSE(res.Init(Filename(dir.Path().string().c_str())));
	EXPECT_TRUE(ConsoleHas((dir.Path() / "res" / "strings.str").string()));
	// A folder where the file should be is no table either.
	std::filesystem::create_directories(dir.Path() / "res" / "strings.str");
	EXPECT_FALSE(res.Init(Filename(dir.Path().string().c_str())));
}

TEST(PluginResources, DescriptionsAreIndexedByNameWhileLoaded)
{
	ScratchFolder dir;
	dir.Write("res/strings.str", "1 \"x\"\n");
	dir.Write("res/description/TestDescA.res",
		"# layout\n"
		"1000 GROUP ID_MAIN \"Main\"\n"
		"1001 CYCLE MODE \"Mode\"\n"
		"  1 CHOICE MODE_A \"First\"\n"
		"  2 CHOICE MODE_B \"Second\"\n"
		"1002 REAL AMOUNT \"Amount \\\"%\\\"\"\n"
		"1003 REAL TURN \"Turn \\\"deg\\\"\"  DEGREE\n");
	dir.Write("res/description/readme.txt", "not a description");
	GeResource res;
	ASSERT_TRUE(res.Init(Filename(dir.Path().string().c_str())));
	standin::DescriptionResource desc;
	ASSERT_TRUE(standin::FindDescription("TestDescA", &desc));
	ASSERT_EQ(desc.entries.size(), 4u);
	EXPECT_EQ(desc.entries[1].kind, "CYCLE");
	ASSERT_EQ(desc.entries[1].choices.size(), 2u);
	EXPECT_EQ(desc.entries[1].choices[1].id, 2);
	EXPECT_EQ(desc.entries[1].choices[1].label, "Second");
	EXPECT_EQ(desc.entries[2].symbol, "AMOUNT");
	EXPECT_EQ(desc.entries[2].label, "Amount \"%\"");
	EXPECT_EQ(desc.entries[2].unit, "");
	// An angle names its unit after the label; the label keeps its own quotes.
	EXPECT_EQ(desc.entries[3].label, "Turn \"deg\"");
	EXPECT_EQ(desc.entries[3].unit, "DEGREE");
	EXPECT_FALSE(standin::FindDescription("readme", nullptr));

	res.Free();
	EXPECT_FALSE(standin::FindDescription("TestDescA", nullptr));
}

TEST(PluginResources, MalformedDescriptionsFailTheResources)
{
	const struct
	{
		const char* text;
		int line;
		const char* why;
	} cases[] = {
		{"1 CHOICE A \"a\"\n", 1, "CHOICE outside a CYCLE"},
		{"1 LONG A \"a\"\n2 CHOICE B \"b\"\n", 2, "CHOICE outside a CYCLE"},
		{"1 FLOAT A \"a\"\n", 1, "unknown kind"},
		{"1 LONG 9A \"a\"\n", 1, "is not a symbol"},
		{"x LONG A \"a\"\n", 1, "not an entry number"},
		{"1 LONG A\n", 1, "expected a quoted text"},
		{"1 LONG A \"a\" DEGREE\n", 1, "only a REAL entry takes a unit"},
		{"1 REAL A \"a\" RADIAN\n", 1, "unknown unit"},
		{"1 REAL A \"a\" DEGREE x\n", 1, "unexpected text after the unit"},
		{"1 REAL A \"a\" x\n", 1, "after the closing quote"},
	};
	for (const auto& c : cases)
	{
		ScratchFolder dir;
		dir.Write("res/strings.str", "1 \"x\"\n");
		const std::string path = dir.Write("res/description/Broken.res", c.text);
		standin::ClearConsole();
		GeResource res;
		EXPECT_FALSE(res.Init(Filename(dir.Path().string().c_str()))) << c.text;
		EXPECT_TRUE(ConsoleHas(path + ":" + std::to_string(c.line) + ": ")) << c.text;
		EXPECT_TRUE(ConsoleHas(c.why)) << c.text;
		EXPECT_FALSE(standin::FindDescription("Broken", nullptr));
	}
}

TEST(PluginResources, InitAgainReplacesTheTables)
{
	ScratchFolder a, b;
	a.Write("res/strings.str", "1 \"from a\"\n");
	b.Write("res/strings.str", "1 \"from b\"\n");
	GeResource res;
	ASSERT_TRUE(res.Init(Filename(a.Path().string().c_str())));
	ASSERT_TRUE(res.Init(Filename(b.Path().string().c_str())));
	EXPECT_EQ(res.LoadString(1).Get(), "from b");
	// A failed init leaves nothing loaded rather than the old tables.
	EXPECT_FALSE(res.Init(Filename((a.Path() / "nowhere").string().c_str())));
	EXPECT_EQ(res.LoadString(1).Get(), "");
}

// ---- Bitmaps ----

std::string Le16(unsigned v) { return {char(v & 0xFF), char(v >> 8 & 0xFF)}; }
std::string Le32(std::uint32_t v) { return Le16(v & 0xFFFF) + Le16(v >> 16); }
std::string Be16(unsigned v) { return {char(v >> 8 & 0xFF), char(v & 0xFF)}; }
std::string Be32(std::uint32_t v) { return Be16(v >> 16) + Be16(v & 0xFFFF); }

// A complete 8-bit grey TIFF of w x h pixels: the directory at 8 (width and height as SHORT or
// LONG), then the pixels in one strip. stripBytes overrides the strip's byte count, pixels how
// many pixel bytes the file holds (both default to w * h). A strip count larger than the file is
// not tested: libtiff repairs it from the picture's size when the pixels are all there.
struct TiffSpec
{
	bool little = true;
	std::uint32_t w = 8;
	std::uint32_t h = 8;
	bool longs = false;
	std::uint32_t bitsPerSample = 8;
	std::int64_t stripBytes = -1;
	std::int64_t pixels = -1;
	unsigned compression = 1; // none
};

std::string Tiff(const TiffSpec& t)
{
	auto u16 = [&](unsigned v) { return t.little ? Le16(v) : Be16(v); };
	auto u32 = [&](std::uint32_t v) { return t.little ? Le32(v) : Be32(v); };
	auto shortEntry = [&](unsigned tag, unsigned v) { return u16(tag) + u16(3) + u32(1) + u16(v) + u16(0); };
	auto longEntry = [&](unsigned tag, std::uint32_t v) { return u16(tag) + u16(4) + u32(1) + u32(v); };
	auto sizeEntry = [&](unsigned tag, std::uint32_t v) { return t.longs ? longEntry(tag, v) : shortEntry(tag, v); };
	const std::uint32_t area = t.w * t.h;
	const unsigned count = 10;
	const std::uint32_t dataAt = 8 + 2 + count * 12 + 4;
	std::string s = (t.little ? "II" : "MM") + u16(42) + u32(8) + u16(count);
	s += longEntry(254, 0);
	s += sizeEntry(256, t.w);
	s += sizeEntry(257, t.h);
	s += shortEntry(258, t.bitsPerSample);
	s += shortEntry(259, t.compression);
	s += shortEntry(262, 1); // black is zero
	s += longEntry(273, dataAt);
	s += shortEntry(277, 1);
	s += sizeEntry(278, t.h);
	s += longEntry(279, t.stripBytes >= 0 ? std::uint32_t(t.stripBytes) : area);
	s += u32(0);
	const std::int64_t pixels = t.pixels >= 0 ? t.pixels : area;
	for (std::int64_t i = 0; i < pixels; ++i)
		s += char(i * 7);
	return s;
}

std::string LittleTiff(std::uint32_t w, std::uint32_t h, bool longs)
{
	TiffSpec t;
	t.w = w;
	t.h = h;
	t.longs = longs;
	return Tiff(t);
}

std::string BigTiff(unsigned w, unsigned h)
{
	TiffSpec t;
	t.little = false;
	t.w = w;
	t.h = h;
	return Tiff(t);
}

struct BitmapHolder
{
	BaseBitmap* bmp = BaseBitmap::Alloc();
	~BitmapHolder() { BaseBitmap::Free(bmp); }
};

TEST(PluginBitmaps, SizeComesFromTheFirstDirectoryInEitherByteOrder)
{
	ScratchFolder dir;
	BitmapHolder h;
	ASSERT_NE(h.bmp, nullptr);
	EXPECT_EQ(h.bmp->GetBw(), 0);
	ASSERT_TRUE(h.bmp->Init(Filename(dir.Write("a.tif", LittleTiff(32, 24, false)).c_str())));
	EXPECT_EQ(h.bmp->GetBw(), 32);
	EXPECT_EQ(h.bmp->GetBh(), 24);
	ASSERT_TRUE(h.bmp->Init(Filename(dir.Write("b.tif", LittleTiff(640, 480, true)).c_str())));
	EXPECT_EQ(h.bmp->GetBw(), 640);
	ASSERT_TRUE(h.bmp->Init(Filename(dir.Write("c.tif", BigTiff(16, 9)).c_str())));
	EXPECT_EQ(h.bmp->GetBw(), 16);
	EXPECT_EQ(h.bmp->GetBh(), 9);
	ASSERT_TRUE(h.bmp->Init(Filename((std::string(TEST_SOURCE_DIR) + "/tests/fixtures/probe/res/probe.tif").c_str())));
	EXPECT_EQ(h.bmp->GetBw(), 4);
	EXPECT_EQ(h.bmp->GetBh(), 3);
}

TEST(PluginBitmaps, DamagedOrMissingFilesFailAndLeaveNoSize)
{
	ScratchFolder dir;
	const std::string good = LittleTiff(8, 8, false);
	const std::string bad[] = {
		"",
		"GIF89a",
		"II" + Le16(43) + Le32(8),                          // wrong magic number
		"II" + Le16(42) + Le32(0xFFFFFFF0u),                // directory past the end
		good.substr(0, 20),                                 // truncated directory
		"II" + Le16(42) + Le32(8) + Le16(0) + Le32(0),      // empty directory
		LittleTiff(0, 8, false),                            // zero width
		LittleTiff(100000, 8, true),                        // absurd width
		Tiff({true, 4000, 4000, true, 8, 0, 0}),            // too many pixels for an icon
		Tiff({true, 8, 8, false, 8, -1, 20}),               // pixels cut short
		Tiff({true, 8, 8, false, 8, -1, -1, 9999}),         // unknown compression
		Tiff({true, 8, 8, false, 5, -1, -1}),               // 5 bits a sample
	};
	BitmapHolder h;
	int i = 0;
	for (const std::string& content : bad)
	{
		ASSERT_TRUE(h.bmp->Init(Filename(dir.Write("ok.tif", good).c_str())));
		EXPECT_FALSE(h.bmp->Init(Filename(dir.Write("bad" + std::to_string(i) + ".tif", content).c_str()))) << i;
		EXPECT_EQ(h.bmp->GetBw(), 0) << i;
		++i;
	}
	EXPECT_FALSE(h.bmp->Init(Filename((dir / "missing.tif").c_str())));
	EXPECT_FALSE(h.bmp->Init(Filename(dir.Path().string().c_str()))); // a folder
	EXPECT_FALSE(h.bmp->Init(Filename(dir.Write("s.tif", good).c_str()), 0.0));
	// Each refusal says which file and why, on the console rather than on standard error.
	EXPECT_TRUE(standin::ConsoleContains("Bitmap " + (dir / "missing.tif") + " not loaded: not a file"));
	EXPECT_TRUE(standin::ConsoleContains("not loaded: the picture is too large (4000 x 4000)"));
	EXPECT_TRUE(standin::ConsoleContains("not loaded: the scale is not a positive number"));
	EXPECT_TRUE(standin::ConsoleContains("bad1.tif not loaded: not a TIFF file"));
}

TEST(HostThreads, ThreadCountIsPositiveAndSettable)
{
	EXPECT_GE(GeGetCurrentThreadCount(), 1);
	standin::SetThreadCount(3);
	EXPECT_EQ(GeGetCurrentThreadCount(), 3);
	standin::SetThreadCount(0);
	EXPECT_GE(GeGetCurrentThreadCount(), 1);
}

} // namespace
