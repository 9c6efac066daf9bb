// examples/manager.session run as a user runs it: what it prints, and the picture of the dialog it
// writes (the held tree's rows, an icon of the visibility column, the tag strip).
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "host_run.h"
#include "png_pixels.h"

namespace
{

bool Contains(const std::string& text, const std::string& part)
{
	return text.find(part) != std::string::npos;
}

// Channels in whole steps of 0 ... 255, as the file stores them.
struct Rgb8
{
	int r = 0, g = 0, b = 0;
};

Rgb8 At(const PngPixels& png, int x, int y)
{
	const Rgb c = png.At(x, y);
	return {static_cast<int>(c.r * 255.0 + 0.5), static_cast<int>(c.g * 255.0 + 0.5), static_cast<int>(c.b * 255.0 + 0.5)};
}

bool Same(const Rgb8& a, const Rgb8& b)
{
	return a.r == b.r && a.g == b.g && a.b == b.b;
}

TEST(ManagerExample, DropsEditsSavesAndPaintsTheDialog)
{
	const std::string picture = "/tmp/tarnwick-manager-example/manager.png";
	std::remove(picture.c_str());
	const HostRun run = RunHostScript(std::string(TEST_SOURCE_DIR) + "/examples/manager.session");
	ASSERT_EQ(run.status, 0) << run.output;
	const std::string& out = run.output;
	// Dropped with their children; Seat's first tag made active from the tag column.
	EXPECT_TRUE(Contains(out, "row 1 depth 1 leaf \"Seat\"")) << out;
	EXPECT_TRUE(Contains(out, "Chair: editor on render on parent none world 0,0,0 tags none layer \"Furniture\"")) << out;
	EXPECT_TRUE(Contains(out, "tags 5616* 5612")) << out;
	// Lamp under Chair keeps its place; Chair under its own child is refused.
	EXPECT_TRUE(Contains(out, "the drop onto row 1 was refused")) << out;
	EXPECT_TRUE(Contains(out, "Chair/Lamp: editor default render default parent \"Chair\" world 120,0,0")) << out;
	// The tag strip shows the tags of the two selected objects: the texture tag by its material.
	EXPECT_TRUE(Contains(out, "area 10002: fill 1000, host:material:5703 24x24 at 0,0 flags 3, host:tag:5612 24x24 at 26,0 flags 3")) << out;
	EXPECT_TRUE(Contains(out, "button 10023 \"Living room\" enabled shown")) << out;
	EXPECT_TRUE(Contains(out, "1:\"Living room\" -1:\"     Chair\"")) << out;

	// The layout is the host's own and the same on every machine, so places in the picture are
	// fixed: the tag strip under the check boxes, the tree's rows from y = 228, 19 pixels each.
	const PngPixels png(picture);
	ASSERT_GT(png.Width(), 0) << picture;
	ASSERT_GE(png.Width(), 300);
	ASSERT_GE(png.Height(), 400);
	const Rgb8 background = At(png, 300, 150);
	// Two different icons side by side in the tag strip, and nothing after them.
	const Rgb8 material = At(png, 20, 120), phong = At(png, 45, 120);
	EXPECT_FALSE(Same(material, background));
	EXPECT_FALSE(Same(phong, background));
	EXPECT_FALSE(Same(material, phong));
	EXPECT_TRUE(Same(At(png, 70, 120), background));
	// Rows 0 (Chair) and 2 (Seat) are selected, row 1 (Lamp) is not.
	const Rgb8 selected = At(png, 16, 240);
	EXPECT_GT(selected.b, selected.r);
	EXPECT_TRUE(Same(At(png, 16, 278), selected));
	EXPECT_TRUE(Same(At(png, 16, 259), Rgb8{255, 255, 255}));
	// Chair's editor dot is green (on); Lamp's is grey (default).
	const Rgb8 on = At(png, 125, 240), grey = At(png, 125, 257);
	EXPECT_GT(on.g, on.r + 80);
	EXPECT_GT(on.g, on.b + 80);
	EXPECT_LT(std::abs(grey.r - grey.g), 30);
}

} // namespace
