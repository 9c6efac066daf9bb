// Polygon data: adjacency, selections, edge numbering, texture tags and the primitives.
#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <utility>
#include <vector>

#include "hostapi/api.h"
#include "standin/scene.h"

namespace
{

std::vector<Int32> PointPolys(const Neighbor* nb, Int32 point)
{
	const Int32* polys = nullptr;
	Int32 count = 0;
	nb->GetPointPolys(point, &polys, &count);
	return std::vector<Int32>(polys, polys + count);
}

std::vector<std::pair<Int32, Int32>> Ranges(const BaseSelect* bs)
{
	std::vector<std::pair<Int32, Int32>> out;
	for (Int32 seg = 0; seg < bs->GetSegments(); ++seg)
	{
		Int32 a = -1, b = -1;
		EXPECT_TRUE(bs->GetRange(seg, &a, &b));
		out.emplace_back(a, b);
	}
	return out;
}

Vector QuadNormal(const Vector* p, const CPolygon& q)
{
	return Cross(p[q.c] - p[q.a], p[q.d] - p[q.b]);
}

} // namespace

TEST(SceneNeighbor, StripOfQuadsWithATriangle)
{
	// Points 0-1-2-3 along the bottom, 4-5-6-7 along the top; two quads and a triangle on the
	// right end sharing edge 2-6.
	const CPolygon polys[] = {CPolygon(0, 1, 5, 4), CPolygon(1, 2, 6, 5), CPolygon(2, 3, 6)};
	Neighbor* nb = Neighbor::Alloc();
	ASSERT_TRUE(nb->Init(8, polys, 3));

	EXPECT_EQ(nb->GetNeighbor(1, 5, 0), 1);
	EXPECT_EQ(nb->GetNeighbor(5, 1, 1), 0); // either direction of the edge
	EXPECT_EQ(nb->GetNeighbor(2, 6, 1), 2);
	EXPECT_EQ(nb->GetNeighbor(0, 4, 0), -1); // border
	EXPECT_EQ(nb->GetNeighbor(3, 6, 2), -1); // the triangle's closing side c-a is a border
	EXPECT_EQ(nb->GetNeighbor(0, 2, 0), -1); // not an edge

	Int32 first = 0, second = 0;
	nb->GetEdgePolys(6, 2, &first, &second);
	EXPECT_EQ(first, 1);
	EXPECT_EQ(second, 2);
	nb->GetEdgePolys(0, 1, &first, &second);
	EXPECT_EQ(first, 0);
	EXPECT_EQ(second, -1);

	EXPECT_EQ(PointPolys(nb, 6), (std::vector<Int32>{1, 2})); // the triangle once, not twice
	EXPECT_EQ(PointPolys(nb, 5), (std::vector<Int32>{0, 1}));
	EXPECT_TRUE(PointPolys(nb, 7).empty()); // unused point
	EXPECT_TRUE(PointPolys(nb, 100).empty());
	Neighbor::Free(nb);
}

TEST(SceneNeighbor, InitRejectsBadInputAndCanBeRebuilt)
{
	Neighbor* nb = Neighbor::Alloc();
	const CPolygon outside[] = {CPolygon(0, 1, 2, 3)};
	EXPECT_FALSE(nb->Init(3, outside, 1));
	const CPolygon negative[] = {CPolygon(0, -1, 2)};
	EXPECT_FALSE(nb->Init(3, negative, 1));
	EXPECT_FALSE(nb->Init(3, nullptr, 1));
	EXPECT_FALSE(nb->Init(-1, nullptr, 0));
	EXPECT_TRUE(nb->Init(0, nullptr, 0));

	const CPolygon quad[] = {CPolygon(0, 1, 2, 3)};
	ASSERT_TRUE(nb->Init(4, quad, 1));
	EXPECT_EQ(PointPolys(nb, 3), (std::vector<Int32>{0}));
	ASSERT_TRUE(nb->Init(4, nullptr, 0)); // rebuilt empty: nothing of the quad stays
	EXPECT_TRUE(PointPolys(nb, 3).empty());
	Neighbor::Free(nb);
}

TEST(SceneSelect, RangesStayAscendingAndMerged)
{
	BaseSelect* bs = BaseSelect::Alloc();
	for (Int32 i : {5, 3, 4, 9, 7, 0, 8})
		EXPECT_TRUE(bs->Select(i));
	EXPECT_TRUE(bs->Select(4)); // again: no change
	EXPECT_FALSE(bs->Select(-1));
	EXPECT_EQ(Ranges(bs), (std::vector<std::pair<Int32, Int32>>{{0, 0}, {3, 5}, {7, 9}}));
	EXPECT_EQ(bs->GetCount(), 7);

	bs->Select(6); // bridges two ranges
	EXPECT_EQ(Ranges(bs), (std::vector<std::pair<Int32, Int32>>{{0, 0}, {3, 9}}));
	bs->Deselect(5); // splits one
	bs->Deselect(0);
	bs->Deselect(100);
	EXPECT_EQ(Ranges(bs), (std::vector<std::pair<Int32, Int32>>{{3, 4}, {6, 9}}));
	EXPECT_EQ(bs->GetCount(), 6);
	EXPECT_TRUE(bs->IsSelected(6));
	EXPECT_FALSE(bs->IsSelected(5));
	Int32 a = 0, b = 0;
	EXPECT_FALSE(bs->GetRange(2, &a, &b));

	BaseSelect* copy = BaseSelect::Alloc();
	copy->Select(1000);
	ASSERT_TRUE(bs->CopyTo(copy));
	EXPECT_EQ(Ranges(copy), Ranges(bs));
	EXPECT_FALSE(bs->CopyTo(nullptr));
	bs->DeselectAll();
	EXPECT_EQ(bs->GetCount(), 0);
	EXPECT_EQ(bs->GetSegments(), 0);
	BaseSelect::Free(copy);
	BaseSelect::Free(bs);
}

TEST(SceneMesh, EdgePointsFollowTheSideNumbering)
{
	PolygonObject* op = PolygonObject::Alloc(5, 2);
	op->GetPolygonW()[0] = CPolygon(0, 1, 2, 3);
	op->GetPolygonW()[1] = CPolygon(1, 4, 2);
	Int32 a = -1, b = -1;
	const std::pair<Int32, Int32> quad[] = {{0, 1}, {1, 2}, {2, 3}, {3, 0}};
	for (Int32 side = 0; side < 4; ++side)
	{
		ASSERT_TRUE(op->GetEdgePoints(side, &a, &b));
		EXPECT_EQ(std::make_pair(a, b), quad[side]) << "side " << side;
	}
	ASSERT_TRUE(op->GetEdgePoints(4 * 1 + 2, &a, &b)); // a triangle's degenerate side c-c
	EXPECT_EQ(a, 2);
	EXPECT_EQ(b, 2);
	ASSERT_TRUE(op->GetEdgePoints(4 * 1 + 3, &a, &b));
	EXPECT_EQ(std::make_pair(a, b), std::make_pair(2, 1));
	EXPECT_FALSE(op->GetEdgePoints(8, &a, &b));
	EXPECT_FALSE(op->GetEdgePoints(-1, &a, &b));

	op->GetEdgeS()->Select(5);
	EXPECT_TRUE(static_cast<const PolygonObject*>(op)->GetEdgeS()->IsSelected(5));
	BaseObject* dead = op;
	BaseObject::Free(dead);
}

TEST(SceneMesh, ResizeKeepsDataAndZeroesNewEntries)
{
	PolygonObject* op = PolygonObject::Alloc(2, 1);
	op->GetPointW()[1] = Vector(1, 2, 3);
	ASSERT_TRUE(op->ResizeObject(4, 2));
	EXPECT_EQ(op->GetPointCount(), 4);
	EXPECT_EQ(op->GetPointR()[1], Vector(1, 2, 3));
	EXPECT_EQ(op->GetPointR()[3], Vector());
	EXPECT_EQ(op->GetPolygonR()[1], CPolygon());
	EXPECT_FALSE(op->ResizeObject(-1, 0));
	EXPECT_FALSE(op->ResizeObject(0x7fffffff, 0)); // refused, not attempted
	EXPECT_EQ(op->GetPointCount(), 4);
	EXPECT_EQ(PolygonObject::Alloc(-1, 0), nullptr);
	EXPECT_EQ(PolygonObject::Alloc(0, 0x7fffffff), nullptr);
	BaseObject* dead = op;
	BaseObject::Free(dead);
}

TEST(SceneMesh, UVWTagsAreSizedToThePolygonsAndBoundsChecked)
{
	PolygonObject* op = PolygonObject::Alloc(4, 3);
	auto* uvw = static_cast<UVWTag*>(op->MakeTag(Tuvw));
	ASSERT_NE(uvw, nullptr);
	EXPECT_EQ(uvw->GetDataCount(), 3);
	UVWStruct s;
	s.c = Vector(0.5, 1, 0);
	uvw->SetSlow(2, s);
	uvw->SetSlow(3, s); // outside: ignored
	EXPECT_EQ(uvw->GetSlow(2).c, Vector(0.5, 1, 0));
	EXPECT_EQ(uvw->GetSlow(-1).c, Vector());
	EXPECT_EQ(op->GetTag(Tuvw), uvw);

	UVWTag* loose = UVWTag::Alloc(7);
	EXPECT_EQ(loose->GetDataCount(), 7);
	BaseTag* dead = loose;
	BaseTag::Free(dead);
	EXPECT_EQ(UVWTag::Alloc(-2), nullptr);
	BaseObject* obj = op;
	BaseObject::Free(obj);
}

TEST(ScenePrimitives, CubeAndPlaneFaceOutwards)
{
	std::string error;
	PolygonObject* cube = standin::MakePrimitive(Ocube, 2.0, 0, &error);
	ASSERT_NE(cube, nullptr) << error;
	EXPECT_EQ(cube->GetName().Get(), "Cube");
	ASSERT_EQ(cube->GetPointCount(), 8);
	ASSERT_EQ(cube->GetPolygonCount(), 6);
	const Vector* p = cube->GetPointR();
	for (Int32 i = 0; i < 6; ++i)
	{
		const CPolygon& q = cube->GetPolygonR()[i];
		const Vector centre = (p[q.a] + p[q.b] + p[q.c] + p[q.d]) / 4.0;
		EXPECT_GT(Dot(QuadNormal(p, q), centre), 0.0) << "face " << i << " faces inwards";
		EXPECT_EQ(centre.GetSquaredLength(), 1.0); // one unit out: edge length 2
	}
	Neighbor* nb = Neighbor::Alloc();
	ASSERT_TRUE(nb->Init(8, cube->GetPolygonR(), 6));
	for (Int32 i = 0; i < 6; ++i)
	{
		const CPolygon& q = cube->GetPolygonR()[i];
		EXPECT_NE(nb->GetNeighbor(q.a, q.b, i), -1) << "the closed cube has no border";
	}
	Neighbor::Free(nb);

	PolygonObject* plane = standin::MakePrimitive(Oplane, 10.0, 2, &error);
	ASSERT_NE(plane, nullptr) << error;
	EXPECT_EQ(plane->GetPointCount(), 9);
	EXPECT_EQ(plane->GetPolygonCount(), 4);
	for (Int32 i = 0; i < 4; ++i)
	{
		const Vector n = QuadNormal(plane->GetPointR(), plane->GetPolygonR()[i]);
		EXPECT_GT(n.y, 0.0);
	}
	EXPECT_EQ(plane->GetPointR()[8], Vector(5, 0, 5));

	EXPECT_EQ(standin::MakePrimitive(Onull, 1.0, 1, &error), nullptr);
	EXPECT_FALSE(error.empty());
	EXPECT_EQ(standin::MakePrimitive(Ocube, 0.0, 1, &error), nullptr);
	EXPECT_EQ(standin::MakePrimitive(Ocube, std::numeric_limits<double>::infinity(), 1, &error), nullptr);
	EXPECT_EQ(standin::MakePrimitive(Oplane, 1.0, 0, &error), nullptr);
	EXPECT_EQ(standin::MakePrimitive(Oplane, 1.0, 1000000, &error), nullptr);
	BaseObject* a = cube;
	BaseObject* b = plane;
	BaseObject::Free(a);
	BaseObject::Free(b);
}
