// The stroke tool's picture examples run as a user would run them: what they build and the
// pictures they write.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <fstream>
#include <string>
#include "host_run.h"

namespace
{

using Outcome = HostRun;

Outcome RunExample(const std::string& name)
{
	return RunHostScript(std::string(TEST_SOURCE_DIR) + "/examples/" + name);
}

bool Contains(const std::string& text, const std::string& part)
{
	return text.find(part) != std::string::npos;
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
	const Outcome o = RunExample("reshape.session");
	ASSERT_EQ(o.status, 0) << o.output;
	// Six of the second stroke's twenty points were erased before the build.
	EXPECT_TRUE(Contains(o.output, "== after Point erase ==\nstrokes 2\nstroke 0 points 20:")) << o.output;
	EXPECT_TRUE(Contains(o.output, "stroke 1 points 14:")) << o.output;
	EXPECT_TRUE(Contains(o.output, "points=24 polygons=15")) << o.output;
	for (const char* name : {"1-strokes", "2-brush", "3-moved", "4-erase", "5-built"})
		EXPECT_TRUE(IsPng(std::string("/tmp/standin-demo/reshape-") + name + ".png")) << name;
}

TEST(LoomPictureExamples, SplitGrowsTheFloorTwiceAlongItsBorder)
{
	const Outcome o = RunExample("split.session");
	ASSERT_EQ(o.status, 0) << o.output;
	EXPECT_TRUE(Contains(o.output, "edge selection of Floor: 49-49 53-53 57-57 61-61\n")) << o.output;
	// Each growth: five rung ends and ten split points, four quads cut into three.
	EXPECT_TRUE(Contains(o.output, "points=40 polygons=28")) << o.output;
	EXPECT_TRUE(Contains(o.output, "points=55 polygons=40")) << o.output;
	EXPECT_FALSE(Contains(o.output, "the tool answered false")) << o.output;
	for (const char* name : {"1-preview", "2-preview", "3-grown"})
		EXPECT_TRUE(IsPng(std::string("/tmp/standin-demo/split-") + name + ".png")) << name;
}
