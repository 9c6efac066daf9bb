// examples/manager.session run as a user runs it: what it prints, and the picture of the dialog it
// writes (the held tree's rows, an icon of the visibility column, the tag strip).
#include <gtest/gtest.h>

#include <cairo.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "host_run.h"

namespace
{

bool Contains(const std::string& text, const std::string& part)
{
	return text.find(part) != std::string::npos;
}

struct Rgb
{
	int r = 0, g = 0, b = 0;
};

// The pixels of a PNG file, read with cairo.
class Png
{
public:
	explicit Png(const std::string& path) : _surface(cairo_image_surface_create_from_png(path.c_str())) {}
	~Png() { cairo_surface_destroy(_surface); }
	Png(const Png&) = delete;
	Png& operator=(const Png&) = delete;

	bool Ok() const { return cairo_surface_status(_surface) == CAIRO_STATUS_SUCCESS; }
	int Width() const { return cairo_image_surface_get_width(_surface); }
	int Height() const { return cairo_image_surface_get_height(_surface); }
	Rgb At(int x, int y) const
	{
		cairo_surface_flush(_surface);
		const unsigned char* row = cairo_image_surface_get_data(_surface) + static_cast<size_t>(y) * cairo_image_surface_get_stride(_surface);
		const std::uint32_t p = reinterpret_cast<const std::uint32_t*>(row)[x];
		return {static_cast<int>((p >> 16) & 0xFF), static_cast<int>((p >> 8) & 0xFF), static_cast<int>(p & 0xFF)};
	}

private:
	cairo_surface_t* _surface;
};

bool Same(const Rgb& a, const Rgb& b)
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
	Png png(picture);
	ASSERT_TRUE(png.Ok()) << picture;
	ASSERT_GE(png.Width(), 300);
	ASSERT_GE(png.Height(), 400);
	const Rgb background = png.At(300, 150);
	// Two different icons side by side in the tag strip, and nothing after them.
	const Rgb material = png.At(20, 120), phong = png.At(45, 120);
	EXPECT_FALSE(Same(material, background));
	EXPECT_FALSE(Same(phong, background));
	EXPECT_FALSE(Same(material, phong));
	EXPECT_TRUE(Same(png.At(70, 120), background));
	// Rows 0 (Chair) and 2 (Seat) are selected, row 1 (Lamp) is not.
	const Rgb selected = png.At(16, 240);
	EXPECT_GT(selected.b, selected.r);
	EXPECT_TRUE(Same(png.At(16, 278), selected));
	EXPECT_TRUE(Same(png.At(16, 259), Rgb{255, 255, 255}));
	// Chair's editor dot is green (on); Lamp's is grey (default).
	const Rgb on = png.At(125, 240), grey = png.At(125, 257);
	EXPECT_GT(on.g, on.r + 80);
	EXPECT_GT(on.g, on.b + 80);
	EXPECT_LT(std::abs(grey.r - grey.g), 30);
}

} // namespace
