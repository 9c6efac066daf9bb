// The stroke tool's picture examples run as a user would run them: what they build and the
// pictures they write. Each run writes into a fresh folder of its own (the examples' output folder
// rewritten), so a picture left by an earlier run can never pass for a new one.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "host_run.h"
#include "scratch_folder.h"
#include "script_output.h"

namespace
{

// The example's text with its output folder replaced by out, run from out.
HostRun RunExampleInto(const std::string& name, const ScratchFolder& out)
{
	std::ifstream in(std::string(TEST_SOURCE_DIR) + "/examples/" + name);
	std::stringstream text;
	text << in.rdbuf();
	std::string script = text.str();
	const std::string demo = "/tmp/standin-demo";
	for (size_t at = script.find(demo); at != std::string::npos; at = script.find(demo, at))
	{
		script.replace(at, demo.size(), out.Path().string());
		at += out.Path().string().size();
	}
	return RunHostScript(out.Write(name, script));
}

bool IsPng(const std::string& path)
{
	std::ifstream in(path, std::ios::binary);
	std::string head(8, '\0');
	in.read(head.data(), 8);
	return in && head == "\x89PNG\r\n\x1a\n";
}

} // namespace

TEST(LoomPictureExamples, ReshapeMovesErasesAndBuildsWithAPictureAfterEachStep)
{
	ScratchFolder out;
	const HostRun o = RunExampleInto("reshape.session", out);
	ASSERT_EQ(o.status, 0) << o.output;
	// Six of the second stroke's twenty points were erased before the build.
	EXPECT_TRUE(Contains(o.output, "== after Point erase ==\nstrokes 2\nstroke 0 points 20:")) << o.output;
	EXPECT_TRUE(Contains(o.output, "stroke 1 points 14:")) << o.output;
	EXPECT_TRUE(Contains(o.output, "points=24 polygons=15")) << o.output;
	for (const char* name : {"1-strokes", "2-brush", "3-moved", "4-erase", "5-built"})
		EXPECT_TRUE(IsPng(out / (std::string("reshape-") + name + ".png"))) << name;
}

TEST(LoomPictureExamples, SplitGrowsTheFloorTwiceAlongItsBorder)
{
	ScratchFolder out;
	const HostRun o = RunExampleInto("split.session", out);
	ASSERT_EQ(o.status, 0) << o.output;
	EXPECT_TRUE(Contains(o.output, "edge selection of Floor: 49-49 53-53 57-57 61-61\n")) << o.output;
	// Each growth: five rung ends and ten split points, four quads cut into three.
	EXPECT_TRUE(Contains(o.output, "points=40 polygons=28")) << o.output;
	EXPECT_TRUE(Contains(o.output, "points=55 polygons=40")) << o.output;
	EXPECT_FALSE(Contains(o.output, "the tool answered false")) << o.output;
	for (const char* name : {"1-preview", "2-preview", "3-grown"})
		EXPECT_TRUE(IsPng(out / (std::string("split-") + name + ".png"))) << name;
	EXPECT_TRUE(std::ifstream(out / "split.obj").good());
}
