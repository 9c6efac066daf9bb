#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "LoomSurface.h"
#include "hostapi/resource.h"
#include "standin/console.h"

namespace
{
// The plug-in's own resource folder, as the host hands it over at initialisation.
class LoomToolTest : public ::testing::Test
{
protected:
	LoomToolTest()
	{
		standin::ClearConsole();
		_loaded = g_resource.Init(Filename(TEST_SOURCE_DIR "/loomcast"));
	}
	~LoomToolTest() override { g_resource.Free(); }

	bool _loaded = false;
};
} // namespace

TEST_F(LoomToolTest, ResourcesLoadWithTheToolTexts)
{
	ASSERT_TRUE(_loaded);
	EXPECT_EQ(GeLoadString(10001), String("Loomcast"));
	EXPECT_FALSE(GeLoadString(10000).IsEmpty());
	EXPECT_FALSE(GeLoadString(10010).IsEmpty());
	EXPECT_FALSE(GeLoadString(10011).IsEmpty());
}

TEST_F(LoomToolTest, ConstructionPrintsTheBannerAndAnswersItsIdentity)
{
	ASSERT_TRUE(_loaded);
	LoomS tool;
	const std::vector<std::string> lines = standin::ConsoleLines();
	ASSERT_EQ(lines.size(), 4u);
	const std::string dashes(56, '-');
	EXPECT_EQ(lines[0], dashes);
	EXPECT_EQ(lines[1], GeLoadString(10000).Get() + GeLoadString(10009).Get());
	EXPECT_FALSE(lines[2].empty());
	EXPECT_EQ(lines[3], dashes);

	EXPECT_EQ(tool.GetToolPluginId(), 1027250);
	EXPECT_EQ(tool.GetResourceSymbol(), String("LoomDialog"));
	EXPECT_EQ(tool.GetState(nullptr), 1);
}
