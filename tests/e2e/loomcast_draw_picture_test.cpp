// Pictures of the view while the stroke tool is active, read back pixel by pixel: the cursor
// handle in its orange, a stroke label lit in its pen over its box, and the drawing plane green
// until the cursor is on it, then red.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "host_run.h"
#include "png_pixels.h"
#include "scratch_folder.h"
#include "script_output.h"

namespace
{

// The first record of a draw log that starts with prefix, read as "<prefix> <x> <y>".
bool PixelOfRecord(const std::vector<std::string>& log, const std::string& prefix, int* x, int* y)
{
	for (const std::string& line : log)
		if (line.rfind(prefix, 0) == 0 && std::sscanf(line.c_str() + prefix.size(), "%d %d", x, y) == 2)
			return true;
	return false;
}

const Rgb kCursorOrange{1.0, 0.5, 0.0};
const Rgb kSampleOrange{1.0, 0.8, 0.0};
const Rgb kTextBox{0.08, 0.08, 0.09};
const Rgb kGreen{0.0, 1.0, 0.0};
const Rgb kRed{1.0, 0.0, 0.0};

} // namespace

TEST(LoomDrawPicture, TheCursorALabelAndThePlaneShowInTheirColours)
{
	// The default perspective view over a floor; a null whose turned plane lies flat on the floor
	// (300 across: its near edge is seen at row 284 from x 222 to 418); two straight strokes
	// across the floor. The cursor is off the plane at (480, 120) and on it at (480, 232), where
	// the strokes' depth meets the floor.
	ScratchFolder dir;
	const std::string off = dir / "off.png", on = dir / "on.png";
	const std::string script = dir.Write("picture.session",
		"load-plugins\nnew-document\nadd-object plane Floor 400 4\nadd-null Rig\nset-matrix Rig 0 0 0  0 -1 0  1 0 0  0 0 1\n"
		"activate-tool 1027250\nset-tool-setting LOOM_STROKE_STYLE LOOM_STYLE_LINE\n"
		"set-tool-setting LOOM_PLANE_OBJECT Rig\nset-tool-setting LOOM_PLANE_SIZE 300\n"
		"drag left 240 220  400 220\ndrag left 240 260  400 260\n"
		"move-mouse 480 120\nprint \"== off\"\nprint-draw-log\nrender-view " + off + "\n" +
		"move-mouse 480 232\nprint \"== on\"\nprint-draw-log\nrender-view " + on + "\n");
	const HostRun r = RunHostScript(script);
	ASSERT_EQ(r.status, 0) << r.output;
	const std::vector<std::string> offLog = Section(r.output, "== off"), onLog = Section(r.output, "== on");
	ASSERT_EQ(CountPrefix(offLog, "object \"Polygon\" polygons 1 flags 24579 colour (0;1;0)"), 1) << r.output;
	ASSERT_EQ(CountPrefix(onLog, "object \"Polygon\" polygons 1 flags 24579 colour (1;0;0)"), 1) << r.output;

	const PngPixels offPicture(off), onPicture(on);
	ASSERT_EQ(offPicture.Width(), 640);
	ASSERT_EQ(onPicture.Width(), 640);

	// The cursor handle at the centre of the cursor circle, in both pictures.
	int cx = 0, cy = 0;
	ASSERT_TRUE(PixelOfRecord(offLog, "circle ", &cx, &cy)) << r.output;
	EXPECT_EQ(cx, 480);
	EXPECT_EQ(cy, 120);
	EXPECT_TRUE(PngPixels::Near(offPicture.At(cx, cy), kCursorOrange)) << cx << " " << cy;
	ASSERT_TRUE(PixelOfRecord(onLog, "circle ", &cx, &cy)) << r.output;
	EXPECT_TRUE(PngPixels::Near(onPicture.At(cx, cy), kCursorOrange)) << cx << " " << cy;

	// The first stroke's label: its top-left corner at the logged pixel, the glyphs in the sample
	// orange on the dark box, even where the plane's far edge runs through it.
	int tx = 0, ty = 0;
	ASSERT_TRUE(PixelOfRecord(offLog, "text ", &tx, &ty)) << r.output;
	ASSERT_TRUE(Contains(r.output, "text " + std::to_string(tx) + " " + std::to_string(ty) + " \"S1\"")) << r.output;
	for (const PngPixels* picture : {&offPicture, &onPicture})
	{
		EXPECT_TRUE(picture->Shows(tx, ty, tx + 15, ty + 14, kSampleOrange, 0.1));
		EXPECT_TRUE(picture->Shows(tx, ty, tx + 15, ty + 14, kTextBox, 0.12)); // the box lets a fifth of the floor through
		EXPECT_FALSE(picture->Shows(tx, ty, tx + 15, ty + 14, kGreen, 0.3));
		EXPECT_FALSE(picture->Shows(tx, ty, tx + 15, ty + 14, kRed, 0.3));
	}

	// The plane's near edge: green while the cursor is off the plane, red once it is on it.
	EXPECT_TRUE(offPicture.Shows(300, 281, 340, 287, kGreen));
	EXPECT_FALSE(offPicture.Shows(300, 281, 340, 287, kRed));
	EXPECT_TRUE(onPicture.Shows(300, 281, 340, 287, kRed));
	EXPECT_FALSE(onPicture.Shows(300, 281, 340, 287, kGreen));
}
