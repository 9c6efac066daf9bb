#include <gtest/gtest.h>

#include <cmath>
#include <initializer_list>

#include "Dtool.h"
#include "ToolSettings.h"
#include "hostapi/customdata.h"
#include "standin/memory.h"

namespace
{
// Tool settings whose split gradient holds knots at the given positions, in that storage order.
BaseContainer SettingsWithKnots(std::initializer_list<Float> positions)
{
	Gradient* g = Gradient::Alloc();
	EXPECT_NE(g, nullptr);
	Int32 i = 0;
	for (Float pos : positions)
	{
		GradientKnot k;
		k.col = Vector(0.1 * i, 0.2, 0.3);
		k.brightness = 0.5 + i;
		k.pos = pos;
		k.bias = 0.25;
		k.index = 40 + i;
		EXPECT_EQ(g->InsertKnot(k), i);
		++i;
	}
	BaseContainer settings;
	settings.SetData(LOOM_SPLITS, GeData(*g));
	Gradient::Free(g);
	return settings;
}

const Gradient* SplitsOf(const BaseContainer& settings)
{
	return static_cast<const Gradient*>(settings.GetCustomDataType(LOOM_SPLITS, CUSTOMDATATYPE_GRADIENT));
}
} // namespace

TEST(GradientKnotsTest, SpacingMovesOnlyThePositions)
{
	BaseContainer settings = SettingsWithKnots({0.9, 0.1, 0.3});
	DTOOL().SpaceGradientKnots(settings);
	const Gradient* g = SplitsOf(settings);
	ASSERT_NE(g, nullptr);
	ASSERT_EQ(g->GetKnotCount(), 3);
	const Float expected[] = {0.25, 0.5, 0.75};
	for (Int32 i = 0; i < 3; ++i)
	{
		const GradientKnot k = g->GetKnot(i);
		EXPECT_DOUBLE_EQ(k.pos, expected[i]);
		EXPECT_EQ(k.col, Vector(0.1 * i, 0.2, 0.3));
		EXPECT_EQ(k.brightness, 0.5 + i);
		EXPECT_EQ(k.bias, 0.25);
		EXPECT_EQ(k.index, 40 + i);
	}
}

TEST(GradientKnotsTest, SpacingWithoutAGradientChangesNothing)
{
	BaseContainer settings;
	settings.SetInt32(LOOM_SPLITS, 7);
	const BaseContainer before = settings;
	DTOOL().SpaceGradientKnots(settings);
	EXPECT_EQ(settings, before);
}

TEST(GradientShareTest, EvenKnotsShareOutTheRemainder)
{
	BaseContainer settings = SettingsWithKnots({0.0, 0.0, 0.0});
	DTOOL dtool;
	dtool.SpaceGradientKnots(settings);
	EXPECT_DOUBLE_EQ(dtool.GradientSegmentShare(settings, 0), 0.25);
	EXPECT_DOUBLE_EQ(dtool.GradientSegmentShare(settings, 1), 1.0 / 3.0);
	EXPECT_DOUBLE_EQ(dtool.GradientSegmentShare(settings, 2), 0.5);
	EXPECT_DOUBLE_EQ(dtool.GradientSegmentShare(settings, 3), 1.0);
}

TEST(GradientShareTest, UnevenKnotsShareByLength)
{
	// Segments 0.2, 0.6, 0.2: the share of segment 1 in the 0.8 that remains.
	BaseContainer settings = SettingsWithKnots({0.2, 0.8});
	EXPECT_DOUBLE_EQ(DTOOL().GradientSegmentShare(settings, 0), 0.2);
	EXPECT_DOUBLE_EQ(DTOOL().GradientSegmentShare(settings, 1), 0.75);
}

TEST(GradientShareTest, NoKnotsGiveTheWholeInterval)
{
	BaseContainer settings = SettingsWithKnots({});
	EXPECT_EQ(DTOOL().GradientSegmentShare(settings, 0), 1.0);
}

TEST(GradientShareTest, UnreadableGradientGivesZero)
{
	BaseContainer empty;
	EXPECT_EQ(DTOOL().GradientSegmentShare(empty, 0), 0.0);

	BaseContainer settings = SettingsWithKnots({0.5});
	standin::FailAllocationsAfter(0);
	const Float share = DTOOL().GradientSegmentShare(settings, 0);
	standin::FailAllocationsAfter(-1);
	EXPECT_EQ(share, 0.0);
}

TEST(GradientShareTest, EmptyRemainderAndStrayIndicesStayFinite)
{
	// Knots piled up at 1: from segment 1 on nothing remains, and the segment takes it all.
	BaseContainer atEnd = SettingsWithKnots({1.0, 1.0});
	DTOOL dtool;
	EXPECT_EQ(dtool.GradientSegmentShare(atEnd, 0), 1.0);
	EXPECT_EQ(dtool.GradientSegmentShare(atEnd, 1), 1.0);
	EXPECT_EQ(dtool.GradientSegmentShare(atEnd, 2), 1.0);

	BaseContainer settings = SettingsWithKnots({0.25, 0.5, 0.75});
	EXPECT_EQ(dtool.GradientSegmentShare(settings, -1), 0.0);
	EXPECT_EQ(dtool.GradientSegmentShare(settings, 4), 0.0);
	EXPECT_EQ(dtool.GradientSegmentShare(settings, 1 << 30), 0.0);
}

TEST(GradientShareTest, KnotsOutOfOrderStayWithinTheEdge)
{
	// Segments 0.8, -0.6, 0.8: a negative segment must not push a split point off its edge.
	BaseContainer settings = SettingsWithKnots({0.8, 0.2});
	DTOOL dtool;
	for (Int32 k = 0; k <= 2; ++k)
	{
		const Float share = dtool.GradientSegmentShare(settings, k);
		EXPECT_TRUE(std::isfinite(share));
		EXPECT_GE(share, 0.0);
		EXPECT_LE(share, 1.0);
	}
	EXPECT_EQ(dtool.GradientSegmentShare(settings, 1), 0.0);
}
