#include <gtest/gtest.h>

#include <cmath>

#include "Dtool.h"
#include "ToolSettings.h"

namespace
{
class ResampleTest : public ::testing::Test
{
protected:
	ResampleTest() : _doc(BaseDocument::Alloc()) {}
	~ResampleTest() override { BaseDocument::Free(_doc); }

	// An L-shaped stroke 20 units long whose points carry leftovers of a Point Move drag.
	static Stroke LStroke()
	{
		Stroke s;
		const Vector pts[] = {{0, 0, 0}, {4, 0, 0}, {10, 0, 0}, {10, 10, 0}};
		for (Int32 i = 0; i < 4; ++i)
		{
			StrokePoint p;
			p.index = 7 + i;
			p.pos = pts[i];
			p.weight = 0.5;
			p.origin = Vector(1, 1, 1);
			EXPECT_TRUE(s.Append(p));
		}
		return s;
	}

	static BaseContainer Settings(Int32 points)
	{
		BaseContainer bc;
		bc.SetInt32(LOOM_FREEHAND_POINTS, points);
		return bc;
	}

	BaseDocument* _doc;
};

void ExpectNear(const Vector& v, const Vector& w)
{
	EXPECT_NEAR(v.x, w.x, 1e-9);
	EXPECT_NEAR(v.y, w.y, 1e-9);
	EXPECT_NEAR(v.z, w.z, 1e-9);
}
} // namespace

TEST_F(ResampleTest, PointsAreSpacedEvenlyAndRenumbered)
{
	Stroke s = LStroke();
	ASSERT_TRUE(DTOOL().ResampleStroke(_doc, Settings(5), s));
	ASSERT_EQ(s.GetCount(), 5);
	const Vector expected[] = {{0, 0, 0}, {5, 0, 0}, {10, 0, 0}, {10, 5, 0}, {10, 10, 0}};
	for (Int32 i = 0; i < 5; ++i)
	{
		EXPECT_EQ(s[i].index, i);
		ExpectNear(s[i].pos, expected[i]);
		EXPECT_EQ(s[i].weight, 0.0);
		EXPECT_EQ(s[i].origin, Vector());
	}
}

TEST_F(ResampleTest, DefaultCountKeepsTheEndsAndEqualSteps)
{
	Stroke s = LStroke();
	ASSERT_TRUE(DTOOL().ResampleStroke(_doc, Settings(20), s));
	ASSERT_EQ(s.GetCount(), 20);
	ExpectNear(s[0].pos, Vector(0, 0, 0));
	ExpectNear(s[19].pos, Vector(10, 10, 0));
	// Every step runs 20/19 along the path; the one across the corner is shorter as the crow flies.
	for (Int32 i = 1; i < 20; ++i)
	{
		EXPECT_EQ(s[i].index, i);
		const Float step = (s[i].pos - s[i - 1].pos).GetLength();
		EXPECT_LE(step, 20.0 / 19.0 + 1e-9);
		if (std::abs(s[i].pos.y) < 1e-9 || std::abs(s[i - 1].pos.x - 10.0) < 1e-9)
		{
			EXPECT_NEAR(step, 20.0 / 19.0, 1e-9);
		}
	}
}

TEST_F(ResampleTest, RefusedCommandLeavesTheStroke)
{
	Stroke s = LStroke();
	EXPECT_FALSE(DTOOL().ResampleStroke(_doc, Settings(-3), s));
	ASSERT_EQ(s.GetCount(), 4);
	EXPECT_EQ(s[0].index, 7);
	EXPECT_EQ(s[3].pos, Vector(10, 10, 0));
	EXPECT_EQ(s[3].weight, 0.5);
}

TEST_F(ResampleTest, TheEndsStayBitForBit)
{
	// End points with coordinates that no arithmetic along the path would reproduce exactly.
	Stroke s;
	const Vector first(0.1, 1.0 / 3.0, -7.0 / 11.0), last(123.456789, -0.3, 1e-7);
	ASSERT_TRUE(s.AppendPoint(0, first));
	ASSERT_TRUE(s.AppendPoint(1, Vector(50.0, 20.0, 3.0)));
	ASSERT_TRUE(s.AppendPoint(2, last));
	ASSERT_TRUE(DTOOL().ResampleStroke(_doc, Settings(7), s));
	ASSERT_EQ(s.GetCount(), 7);
	EXPECT_EQ(s[0].pos, first);
	EXPECT_EQ(s[6].pos, last);
}

TEST_F(ResampleTest, AnEmptyStrokeIsLeftAlone)
{
	Stroke s;
	EXPECT_TRUE(DTOOL().ResampleStroke(_doc, Settings(20), s));
	EXPECT_EQ(s.GetCount(), 0);
}
