// Filling the surface grid from its knot rows, and which way its quads face.
#include <gtest/gtest.h>

#include <vector>

#include "ColumnSpline.h"
#include "SurfaceGrid.h"

namespace
{
void ExpectNear(const Vector& got, const Vector& want, double tol = 1e-9)
{
	EXPECT_NEAR(got.x, want.x, tol);
	EXPECT_NEAR(got.y, want.y, tol);
	EXPECT_NEAR(got.z, want.z, tol);
}

// k knot rows of n columns, each row bent differently.
std::vector<Vector> KnotRows(Int32 k, Int32 n)
{
	std::vector<Vector> knots;
	for (Int32 i = 0; i < k; ++i)
		for (Int32 c = 0; c < n; ++c)
			knots.emplace_back(c * 10.0 + i * i * 3.0, i * 20.0 + (c % 2) * 4.0, (i * c) % 5 * 1.5);
	return knots;
}
} // namespace

TEST(SurfaceGridTest, TwoStrokesGiveStraightRowsInBetween)
{
	// Defaults: 6 samples per stroke, 3 segments between the two strokes.
	const std::vector<Vector> knots = KnotRows(2, 6);
	SurfaceGrid grid;
	ASSERT_TRUE(grid.Resize(4, 6));
	Int32 rowOf[2];
	EvenRowSpacing(2, 3, rowOf);
	EXPECT_EQ(rowOf[1], 3);
	ASSERT_TRUE(InterpolateGrid(knots.data(), 2, rowOf, grid));
	for (Int32 c = 0; c < 6; ++c)
	{
		const Vector a = knots[static_cast<size_t>(c)], b = knots[static_cast<size_t>(6 + c)];
		EXPECT_EQ(grid.At(0, c), a);
		EXPECT_EQ(grid.At(3, c), b);
		ExpectNear(grid.At(1, c), a + (b - a) / 3.0);
		ExpectNear(grid.At(2, c), a + (b - a) * (2.0 / 3.0));
		for (Int32 r = 0; r < 4; ++r)
			EXPECT_EQ(grid.PointAt(r, c), -1);
	}
}

TEST(SurfaceGridTest, RowsBetweenKnotsFollowTheColumnSplines)
{
	// Knot rows at grid rows 0, 2 and 7 (uneven, as along a rail): between knots i and i + 1 the
	// rows take t = i + j / h.
	const Int32 k = 3, n = 4;
	const std::vector<Vector> knots = KnotRows(k, n);
	const Int32 rowOf[k] = {0, 2, 7};
	SurfaceGrid grid;
	ASSERT_TRUE(grid.Resize(8, n));
	ASSERT_TRUE(InterpolateGrid(knots.data(), k, rowOf, grid));
	for (Int32 c = 0; c < n; ++c)
	{
		std::vector<Vector> column;
		for (Int32 i = 0; i < k; ++i)
			column.push_back(knots[static_cast<size_t>(i * n + c)]);
		ColumnSpline spline;
		ASSERT_TRUE(spline.Fit(column.data(), k));
		EXPECT_EQ(grid.At(0, c), column[0]);
		EXPECT_EQ(grid.At(2, c), column[1]);
		EXPECT_EQ(grid.At(7, c), column[2]);
		ExpectNear(grid.At(1, c), spline.Evaluate(0.5));
		for (Int32 j = 1; j < 5; ++j)
			ExpectNear(grid.At(2 + j, c), spline.Evaluate(1.0 + j / 5.0));
	}
}

TEST(SurfaceGridTest, RowPlacementsThatDoNotSpanTheGridAreRefused)
{
	const std::vector<Vector> knots = KnotRows(3, 2);
	SurfaceGrid grid;
	ASSERT_TRUE(grid.Resize(5, 2));
	const Int32 late[3] = {1, 2, 4};
	const Int32 short_[3] = {0, 2, 3};
	const Int32 falling[3] = {0, 3, 2};
	const Int32 repeated[3] = {0, 0, 4};
	EXPECT_FALSE(InterpolateGrid(knots.data(), 3, late, grid));
	EXPECT_FALSE(InterpolateGrid(knots.data(), 3, short_, grid));
	EXPECT_FALSE(InterpolateGrid(knots.data(), 3, falling, grid));
	EXPECT_FALSE(InterpolateGrid(knots.data(), 3, repeated, grid));
	EXPECT_FALSE(grid.Resize(-1, 3));
	EXPECT_FALSE(grid.Resize(70000, 70000)); // more points than the kernel can number
}

TEST(SurfaceGridTest, FacingIsTakenFromTheFirstCell)
{
	// A cell in the x-y plane whose corners (0,0), (0,1), (1,1), (1,0) turn anticlockwise seen
	// from +z: its normal is +z.
	SurfaceGrid grid;
	ASSERT_TRUE(grid.Resize(2, 2));
	grid.At(0, 0) = Vector(0, 0, 0);
	grid.At(0, 1) = Vector(10, 0, 0);
	grid.At(1, 1) = Vector(10, 10, 0);
	grid.At(1, 0) = Vector(0, 10, 0);
	// A camera looking along +z sees the cell's back; one looking along -z its front.
	EXPECT_TRUE(FacesAwayFromViewer(grid, Vector(0, 0, 1)));
	EXPECT_FALSE(FacesAwayFromViewer(grid, Vector(0, 0, -1)));
	EXPECT_FALSE(FacesAwayFromViewer(grid, Vector()));
	SurfaceGrid line;
	ASSERT_TRUE(line.Resize(1, 4));
	EXPECT_FALSE(FacesAwayFromViewer(line, Vector(0, 0, 1)));
}
