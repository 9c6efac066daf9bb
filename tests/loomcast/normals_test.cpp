#include <gtest/gtest.h>

#include <cmath>
#include <initializer_list>
#include <vector>

#include "EdgeIndex.h"
#include "NormalTables.h"
#include "Normals.h"
#include "standin/memory.h"

namespace
{
// A free polygon object with the given points and polygons, freed with the fixture.
class MeshTest : public ::testing::Test
{
protected:
	~MeshTest() override
	{
		BaseObject* op = _op;
		BaseObject::Free(op);
	}

	PolygonObject* Make(std::initializer_list<Vector> points, std::initializer_list<CPolygon> polys)
	{
		_op = PolygonObject::Alloc(static_cast<Int32>(points.size()), static_cast<Int32>(polys.size()));
		EXPECT_NE(_op, nullptr);
		Int32 i = 0;
		for (const Vector& p : points)
			_op->GetPointW()[i++] = p;
		i = 0;
		for (const CPolygon& p : polys)
			_op->GetPolygonW()[i++] = p;
		return _op;
	}

	PolygonObject* _op = nullptr;
};

void ExpectVector(const Vector& v, Float x, Float y, Float z)
{
	EXPECT_NEAR(v.x, x, 1e-12);
	EXPECT_NEAR(v.y, y, 1e-12);
	EXPECT_NEAR(v.z, z, 1e-12);
}
} // namespace

TEST(NormalizeTest, ZeroVectorStaysZeroAndOthersBecomeUnit)
{
	Vector zero;
	EXPECT_EQ(Normalize(zero), 0.0);
	EXPECT_EQ(zero, Vector());
	EXPECT_EQ(GetNormalized(Vector()), Vector());

	Vector v(3.0, 0.0, 4.0);
	EXPECT_DOUBLE_EQ(Normalize(v), 5.0);
	ExpectVector(v, 0.6, 0.0, 0.8);
	ExpectVector(GetNormalized(Vector(0.0, -2.0, 0.0)), 0.0, -1.0, 0.0);
}

TEST(EdgeIndexTest, SidesAndTheDegenerateTriangleSide)
{
	const CPolygon quad(10, 11, 12, 13);
	const CPolygon tri(20, 21, 22);
	const Int32 edge = EdgeIndexOf(7, 2);
	EXPECT_EQ(edge, 30);
	EXPECT_EQ(EdgePolygon(edge), 7);
	EXPECT_EQ(EdgeSide(edge), 2);

	Int32 first = 0, second = 0;
	EdgeSidePoints(quad, 3, &first, &second);
	EXPECT_EQ(first, 13);
	EXPECT_EQ(second, 10);
	EdgeSidePoints(tri, EdgeSide(EdgeIndexOf(4, 2)), &first, &second);
	EXPECT_EQ(first, 22);
	EXPECT_EQ(second, 22);
	EXPECT_TRUE(IsDegenerateSide(tri, 2));
	EXPECT_FALSE(IsDegenerateSide(tri, 1));
	EXPECT_FALSE(IsDegenerateSide(quad, 2));
}

using VertexNormalTest = MeshTest;

TEST_F(VertexNormalTest, UnusedPointFacesUp)
{
	const PolygonObject* op = Make({{0, 0, 0}, {1, 0, 0}, {1, 0, 1}, {0, 0, 1}, {5, 5, 5}}, {CPolygon(0, 1, 2, 3)});
	ExpectVector(VertexNormal(op, 4), 0.0, 1.0, 0.0);
	// An index past the points is used by no polygon either.
	ExpectVector(VertexNormal(op, 99), 0.0, 1.0, 0.0);
}

TEST_F(VertexNormalTest, QuadDiagonalsAddToTheUpwardStart)
{
	// (c - a) x (d - b) = (0, -2, 0): the sum (0, -1, 0) still points down.
	const PolygonObject* down = Make({{0, 0, 0}, {1, 0, 0}, {1, 0, 1}, {0, 0, 1}}, {CPolygon(0, 1, 2, 3)});
	ExpectVector(VertexNormal(down, 0), 0.0, -1.0, 0.0);
}

TEST_F(VertexNormalTest, QuadCancellingTheStartGivesZero)
{
	// (c - a) x (d - b) = (0, -1, 0) cancels the (0, 1, 0) start exactly.
	const PolygonObject* op = Make({{0, 0, 0}, {1, 0, 0}, {1, 0, 0.5}, {0, 0, 0.5}}, {CPolygon(0, 1, 2, 3)});
	EXPECT_EQ(VertexNormal(op, 2), Vector());
}

TEST_F(VertexNormalTest, UpwardQuadStaysUp)
{
	// (c - a) x (d - b) = (0, 0.5, 0).
	const PolygonObject* op = Make({{0, 0, 0}, {0, 0, 0.5}, {0.5, 0, 0.5}, {0.5, 0, 0}}, {CPolygon(0, 1, 2, 3)});
	ExpectVector(VertexNormal(op, 1), 0.0, 1.0, 0.0);
}

TEST_F(VertexNormalTest, TriangleNormalIsBiasedUpward)
{
	// A triangle facing +Z: the start (0, 1, 0) tilts the result halfway to Y.
	const PolygonObject* op = Make({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}, {CPolygon(0, 1, 2)});
	const Float h = std::sqrt(0.5);
	ExpectVector(VertexNormal(op, 0), 0.0, h, h);
}

TEST_F(VertexNormalTest, PolygonOutsideThePointsGivesZero)
{
	const PolygonObject* op = Make({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}, {CPolygon(0, 1, 7)});
	EXPECT_EQ(VertexNormal(op, 0), Vector());
	EXPECT_EQ(VertexNormal(nullptr, 0), Vector());
}

using PointNormalByScanTest = MeshTest;

TEST_F(PointNormalByScanTest, TriangleAtItsPointCCountsTwice)
{
	// Point 2 is c (and d) of the +Z triangle and a of the +X triangle: 2 * (0,0,1) + (1,0,0).
	const PolygonObject* op = Make({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {0, 2, 0}, {0, 1, 1}},
		{CPolygon(0, 1, 2), CPolygon(2, 3, 4)});
	const Float r = 1.0 / std::sqrt(5.0);
	ExpectVector(PointNormalByScan(op, 2), r, 0.0, 2.0 * r);
	// Point 0 belongs to the first triangle only.
	ExpectVector(PointNormalByScan(op, 0), 0.0, 0.0, 1.0);
}

TEST_F(PointNormalByScanTest, QuadUsesItsFirstCorner)
{
	// (b - a) x (d - a) of the down-facing quad, no upward start here.
	const PolygonObject* op = Make({{0, 0, 0}, {1, 0, 0}, {1, 0, 1}, {0, 0, 1}, {9, 9, 9}}, {CPolygon(0, 1, 2, 3)});
	ExpectVector(PointNormalByScan(op, 3), 0.0, -1.0, 0.0);
	EXPECT_EQ(PointNormalByScan(op, 4), Vector());
}

TEST_F(PointNormalByScanTest, DegeneratePolygonListedInEverySlotStaysInBounds)
{
	// All four slots hold point 0: four listings from a single polygon.
	const PolygonObject* op = Make({{0, 0, 0}, {1, 0, 0}}, {CPolygon(0, 0, 0, 0)});
	EXPECT_EQ(PointNormalByScan(op, 0), Vector());
}

TEST_F(PointNormalByScanTest, PolygonOutsideThePointsIsSkipped)
{
	const PolygonObject* op = Make({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}, {CPolygon(0, 1, 2), CPolygon(0, 1, 40)});
	ExpectVector(PointNormalByScan(op, 0), 0.0, 0.0, 1.0);
}

TEST_F(PointNormalByScanTest, RefusedScratchListGivesZero)
{
	const PolygonObject* op = Make({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}, {CPolygon(0, 1, 2)});
	standin::FailAllocationsAfter(0);
	const Vector n = PointNormalByScan(op, 0);
	standin::FailAllocationsAfter(-1);
	EXPECT_EQ(n, Vector());
	EXPECT_EQ(PointNormalByScan(nullptr, 0), Vector());
}

// ---- Both normals for a whole mesh at once ------------------------------------------------------

namespace
{
// Every point's table entries equal the per-point answers exactly: the tables are a faster way to
// the same sums, in the same order, not an approximation.
void ExpectTablesMatchPerPoint(const PolygonObject* op)
{
	const Int32 n = op->GetPointCount();
	std::vector<Vector> vertex(static_cast<size_t>(n)), scan(static_cast<size_t>(n)), sums(static_cast<size_t>(n));
	std::vector<Int32> counts(static_cast<size_t>(n));
	VertexNormalTable(op, vertex.data());
	ScanNormalTable(op, scan.data(), sums.data(), counts.data());
	for (Int32 p = 0; p < n; ++p)
	{
		EXPECT_EQ(vertex[static_cast<size_t>(p)], VertexNormal(op, p)) << "point " << p;
		EXPECT_EQ(scan[static_cast<size_t>(p)], PointNormalByScan(op, p)) << "point " << p;
	}
}
} // namespace

using NormalTableTest = MeshTest;

TEST_F(NormalTableTest, EqualsThePerPointNormalsBitForBit)
{
	// Quads and triangles over uneven points (so the sums round), a quad that repeats a corner, a
	// triangle whose c (and d) is shared with its neighbours, and point 9 that nothing uses.
	const PolygonObject* op = Make(
		{{0, 0.1, 0}, {1.3, -0.2, 0.1}, {2.7, 0.3, -0.1}, {0.1, 0.2, 1.1}, {1.1, 0.7, 1.3}, {2.9, -0.4, 0.9}, {-0.2, 0.05, 2.3},
			{1.7, 0.9, 2.1}, {3.1, 0.2, 2.2}, {7, 7, 7}},
		{CPolygon(0, 1, 4, 3), CPolygon(1, 2, 4), CPolygon(3, 4, 7, 6), CPolygon(4, 5, 8), CPolygon(4, 8, 7), CPolygon(2, 5, 4, 2)});
	ExpectTablesMatchPerPoint(op);
	EXPECT_EQ(VertexNormal(op, 9), Vector(0, 1, 0));
	EXPECT_EQ(PointNormalByScan(op, 9), Vector());
}

TEST_F(NormalTableTest, APolygonOutsideThePointsIsTreatedAsThePerPointNormalsTreatIt)
{
	// The adjacency refuses the whole mesh (every vertex normal is zero); the scan skips only the
	// polygon that points outside.
	const PolygonObject* op = Make({{0, 0.1, 0}, {1.3, -0.2, 0.1}, {2.7, 0.3, -0.1}, {0.1, 0.2, 1.1}, {1.1, 0.7, 1.3}, {5, 5, 5}},
		{CPolygon(0, 1, 4, 3), CPolygon(1, 2, 4), CPolygon(1, 4, 40)});
	ExpectTablesMatchPerPoint(op);
	EXPECT_EQ(VertexNormal(op, 0), Vector());
	EXPECT_NE(PointNormalByScan(op, 0), Vector());
}
