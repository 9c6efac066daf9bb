#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "LoomSurface.h"
#include "ToolSettings.h"
#include "hostapi/resource.h"
#include "standin/console.h"
#include "standin/plugins.h"

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

TEST_F(LoomToolTest, TheSettingsPanelDescribesEverySettingWithItsType)
{
	ASSERT_TRUE(_loaded);
	standin::DescriptionResource desc;
	ASSERT_TRUE(standin::FindDescription("LoomDialog", &desc));
	struct Want
	{
		Int32 id;
		const char* kind;
		const char* symbol;
		Int32 choices[2];
	};
	const Want wanted[] = {
		{LOOM_STROKE_SEGMENTS, "LONG", "LOOM_STROKE_SEGMENTS", {}},
		{LOOM_SPAN_SEGMENTS, "LONG", "LOOM_SPAN_SEGMENTS", {}},
		{LOOM_RADIUS, "LONG", "LOOM_RADIUS", {}},
		{LOOM_CREATE, "BUTTON", "LOOM_CREATE", {}},
		{LOOM_UPDATE, "BUTTON", "LOOM_UPDATE", {}},
		{LOOM_PLANE_OBJECT, "LINK", "LOOM_PLANE_OBJECT", {}},
		{LOOM_PLANE_AXIS, "CYCLE", "LOOM_PLANE_AXIS", {LOOM_PLANE_TURN_Z, LOOM_PLANE_TURN_X}},
		{LOOM_PLANE_SOLID, "BOOL", "LOOM_PLANE_SOLID", {}},
		{LOOM_PLANE_TOLERANCE, "REAL", "LOOM_PLANE_TOLERANCE", {}},
		{LOOM_FALLOFF, "SPLINE", "LOOM_FALLOFF", {}},
		{LOOM_UV_FROM_SOURCE, "BOOL", "LOOM_UV_FROM_SOURCE", {}},
		{LOOM_UV_SOURCE, "LINK", "LOOM_UV_SOURCE", {}},
		{LOOM_GUIDE_SPLINES, "BOOL", "LOOM_GUIDE_SPLINES", {}},
		{LOOM_ON_SURFACE, "BOOL", "LOOM_ON_SURFACE", {}},
		{LOOM_STROKE_STYLE, "CYCLE", "LOOM_STROKE_STYLE", {LOOM_STYLE_LINE, LOOM_STYLE_FREEHAND}},
		{LOOM_ANGLE_SNAP, "BOOL", "LOOM_ANGLE_SNAP", {}},
		{LOOM_ANGLE_STEP, "REAL", "LOOM_ANGLE_STEP", {}},
		{LOOM_TEXT_A, "STRING", "LOOM_TEXT_A", {}},
		{LOOM_OFFSET, "REAL", "LOOM_OFFSET", {}},
		{LOOM_PLANE_SIZE, "REAL", "LOOM_PLANE_SIZE", {}},
		{LOOM_THREADS, "LONG", "LOOM_THREADS", {}},
		{LOOM_RESULT, "STRING", "LOOM_RESULT", {}},
		{LOOM_SURFACE_MODE, "CYCLE", "LOOM_SURFACE_MODE", {LOOM_MODE_NEW_SURFACE, LOOM_MODE_POLYGON_SPLIT}},
		{LOOM_USE_X, "BOOL", "LOOM_USE_X", {}},
		{LOOM_USE_Y, "BOOL", "LOOM_USE_Y", {}},
		{LOOM_USE_Z, "BOOL", "LOOM_USE_Z", {}},
		{LOOM_TEXT_B, "STRING", "LOOM_TEXT_B", {}},
		{LOOM_SPLITS, "GRADIENT", "LOOM_SPLITS", {}},
		{LOOM_EVEN_SPLITS, "BOOL", "LOOM_EVEN_SPLITS", {}},
		{LOOM_INSPECT_OBJECT, "LINK", "LOOM_INSPECT_OBJECT", {}},
		{LOOM_FREEHAND_POINTS, "LONG", "LOOM_FREEHAND_POINTS", {}},
		// Entries the tool only hides or enables.
		{LOOM_PLANE_INFO, nullptr, nullptr, {}},
		{LOOM_LINE_GROUP, nullptr, nullptr, {}},
		{LOOM_RESERVED, nullptr, nullptr, {}},
		{LOOM_SURFACE_GROUP, nullptr, nullptr, {}},
		{LOOM_SPLIT_GROUP, nullptr, nullptr, {}},
		{LOOM_SPLIT_OPTIONS, nullptr, nullptr, {}},
	};
	for (const Want& w : wanted)
	{
		const standin::DescriptionEntry* entry = nullptr;
		for (const standin::DescriptionEntry& e : desc.entries)
			if (e.id == w.id)
				entry = &e;
		ASSERT_NE(entry, nullptr) << w.id;
		if (!w.kind)
			continue;
		EXPECT_EQ(entry->kind, w.kind) << w.id;
		EXPECT_EQ(entry->symbol, w.symbol) << w.id;
		if (entry->kind == "CYCLE")
		{
			ASSERT_EQ(entry->choices.size(), 2u) << w.id;
			EXPECT_EQ(entry->choices[0].id, w.choices[0]);
			EXPECT_EQ(entry->choices[1].id, w.choices[1]);
		}
		else
		{
			EXPECT_TRUE(entry->choices.empty()) << w.id;
		}
	}
	// Nothing else: every entry is one of the settings above.
	EXPECT_EQ(desc.entries.size(), std::size(wanted));
	// The angle step is typed in degrees (the container keeps the radians SnapDirection takes).
	for (const standin::DescriptionEntry& e : desc.entries)
		EXPECT_EQ(e.unit, e.id == LOOM_ANGLE_STEP ? "DEGREE" : "") << e.id;
}
