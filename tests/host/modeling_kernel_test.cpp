// The modelling kernel: points and polygons reaching an object at Commit, joining existing
// borders, refusals that change nothing, the recorded flags, UVW records and split edges.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "hostapi/api.h"
#include "scene/object_data.h"
#include "standin/modeling.h"
#include "standin/scene.h"

namespace
{

struct KernelFixture : ::testing::Test
{
	void SetUp() override
	{
		kernel = Modeling::Alloc();
		ASSERT_NE(kernel, nullptr);
		standin::ClearModelingLog();
	}
	void TearDown() override
	{
		Modeling::Free(kernel);
		for (BaseObject* op : objects)
			BaseObject::Free(op);
	}

	// A free polygon object with the given points and polygons.
	PolygonObject* Make(const std::vector<Vector>& points, const std::vector<CPolygon>& polygons)
	{
		PolygonObject* op = PolygonObject::Alloc(static_cast<Int32>(points.size()), static_cast<Int32>(polygons.size()));
		for (size_t i = 0; i < points.size(); ++i)
			op->GetPointW()[i] = points[i];
		for (size_t i = 0; i < polygons.size(); ++i)
			op->GetPolygonW()[i] = polygons[i];
		objects.push_back(op);
		return op;
	}

	Int32 Quad(BaseObject* op, Int32 a, Int32 b, Int32 c, Int32 d, Int32 flags = 0)
	{
		const Int32 corners[4] = {a, b, c, d};
		return kernel->CreateNgon(op, corners, 4, flags);
	}

	Modeling* kernel = nullptr;
	std::vector<BaseObject*> objects;
};

std::vector<CPolygon> Polygons(const PolygonObject* op)
{
	return std::vector<CPolygon>(op->GetPolygonR(), op->GetPolygonR() + op->GetPolygonCount());
}

Vector Normal(const PolygonObject* op, const CPolygon& p)
{
	const Vector* v = op->GetPointR();
	return Cross(v[p.b] - v[p.a], v[p.c] - v[p.a]) + (p.c == p.d ? Vector() : Cross(v[p.c] - v[p.a], v[p.d] - v[p.a]));
}

Float Area(const PolygonObject* op)
{
	Float total = 0.0;
	for (const CPolygon& p : Polygons(op))
		total += 0.5 * std::sqrt(Normal(op, p).GetSquaredLength());
	return total;
}

} // namespace

TEST_F(KernelFixture, AddedQuadsSharePointsAndArriveOnlyAtCommit)
{
	PolygonObject* op = Make({}, {});
	ASSERT_TRUE(kernel->InitObject(op));
	// A 3 x 2 grid of points, two quads sharing the middle column.
	std::vector<Int32> ids;
	for (Int32 row = 0; row < 2; ++row)
		for (Int32 col = 0; col < 3; ++col)
			ids.push_back(kernel->AddPoint(op, Vector(col, 0, row)));
	EXPECT_EQ(ids, (std::vector<Int32>{0, 1, 2, 3, 4, 5}));
	EXPECT_EQ(Quad(op, 0, 3, 4, 1), 0);
	EXPECT_EQ(Quad(op, 1, 4, 5, 2), 1);
	EXPECT_EQ(op->GetPointCount(), 0) << "nothing reaches the object before Commit";
	const UInt64 version = scene::PolygonDataOf(op)->rayAccel.geometryVersion.load();
	ASSERT_TRUE(kernel->Commit(op, MODELING_COMMIT_UPDATE));
	EXPECT_GT(scene::PolygonDataOf(op)->rayAccel.geometryVersion.load(), version) << "derived geometry is told";
	ASSERT_EQ(op->GetPointCount(), 6);
	EXPECT_EQ(op->GetPointR()[5], Vector(2, 0, 1));
	EXPECT_EQ(Polygons(op), (std::vector<CPolygon>{CPolygon(0, 3, 4, 1), CPolygon(1, 4, 5, 2)}));

	// The object stays initialised: a second run of work continues from the new counts.
	EXPECT_EQ(kernel->AddPoint(op, Vector(3, 0, 0)), 6);
	const Int32 tri[3] = {2, 5, 6};
	EXPECT_EQ(kernel->CreateNgon(op, tri, 3), 2);
	ASSERT_TRUE(kernel->Commit(op));
	EXPECT_EQ(op->GetPolygonR()[2], CPolygon(2, 5, 6));
}

TEST_F(KernelFixture, QuadsOverExistingBorderPointsJoinThem)
{
	// One quad; its far side (points 2 and 3, at z = 1) is the border the new row attaches to.
	PolygonObject* op = Make({Vector(0, 0, 0), Vector(1, 0, 0), Vector(1, 0, 1), Vector(0, 0, 1)}, {CPolygon(0, 1, 2, 3)});
	ASSERT_TRUE(kernel->InitObject(op));
	const Int32 a = kernel->AddPoint(op, Vector(0, 0, 2));
	const Int32 b = kernel->AddPoint(op, Vector(1, 0, 2));
	EXPECT_EQ(a, 4);
	EXPECT_EQ(b, 5);
	EXPECT_EQ(Quad(op, 3, 2, b, a), 1);
	ASSERT_TRUE(kernel->Commit(op, MODELING_COMMIT_UPDATE));
	EXPECT_EQ(op->GetPointCount(), 6) << "the border points are used, not copied";
	EXPECT_EQ(Polygons(op), (std::vector<CPolygon>{CPolygon(0, 1, 2, 3), CPolygon(3, 2, 5, 4)}));
	Neighbor* nb = Neighbor::Alloc();
	ASSERT_TRUE(nb->Init(op->GetPointCount(), op->GetPolygonR(), op->GetPolygonCount()));
	EXPECT_EQ(nb->GetNeighbor(2, 3, 0), 1);
	Neighbor::Free(nb);
}

TEST_F(KernelFixture, RefusalsChangeNothing)
{
	PolygonObject* op = Make({Vector(0, 0, 0), Vector(1, 0, 0), Vector(1, 0, 1)}, {CPolygon(0, 1, 2)});
	BaseObject* null = BaseObject::Alloc(Onull);
	objects.push_back(null);
	EXPECT_FALSE(kernel->InitObject(null));
	EXPECT_EQ(kernel->AddPoint(op, Vector()), -1) << "not initialised";
	EXPECT_FALSE(kernel->Commit(op));

	ASSERT_TRUE(kernel->InitObject(op));
	EXPECT_EQ(kernel->AddPoint(op, Vector(std::nan(""), 0, 0)), -1);
	EXPECT_EQ(kernel->AddPoint(op, Vector(0, INFINITY, 0)), -1);
	const Int32 p = kernel->AddPoint(op, Vector(0, 0, 1));
	EXPECT_EQ(p, 3);
	EXPECT_EQ(Quad(op, 0, 2, 3, 4), -1) << "point 4 does not exist";
	EXPECT_EQ(Quad(op, -1, 2, 3, 0), -1);
	const Int32 five[5] = {0, 1, 2, 3, 0};
	EXPECT_EQ(kernel->CreateNgon(op, five, 5), -1);
	EXPECT_EQ(kernel->CreateNgon(op, nullptr, 4), -1);
	EXPECT_EQ(kernel->SplitEdge(op, 0, 3, 0.5), -1) << "no polygon has the edge 0-3 yet";
	EXPECT_EQ(Quad(op, 0, 2, 3, 3), 1) << "the refusals added nothing; c == d is a triangle";

	// Without UPDATE nothing would be written: refused, and the work stays for a proper commit.
	EXPECT_FALSE(kernel->Commit(op, 0));
	EXPECT_EQ(op->GetPointCount(), 3);
	ASSERT_TRUE(kernel->Commit(op, MODELING_COMMIT_UPDATE));
	EXPECT_EQ(op->GetPolygonCount(), 2);

	// A polygon that repeats a point fails the checked commit, which leaves the object as it was;
	// the unchecked one takes it.
	ASSERT_TRUE(kernel->InitObject(op));
	EXPECT_EQ(Quad(op, 0, 1, 0, 2), 2);
	EXPECT_FALSE(kernel->Commit(op, MODELING_COMMIT_UPDATE));
	EXPECT_EQ(op->GetPolygonCount(), 2);
	EXPECT_TRUE(kernel->Commit(op, MODELING_COMMIT_UPDATE | MODELING_COMMIT_NOVALIDATION));
	EXPECT_EQ(op->GetPolygonCount(), 3);

	// Pending work on an object that someone else resized meanwhile no longer means what it
	// meant: refused, and the object keeps the other change only.
	ASSERT_TRUE(kernel->InitObject(op));
	EXPECT_EQ(kernel->AddPoint(op, Vector(5, 5, 5)), 4);
	ASSERT_TRUE(op->ResizeObject(10, 3));
	EXPECT_EQ(kernel->AddPoint(op, Vector(6, 6, 6)), -1);
	EXPECT_FALSE(kernel->Commit(op));
	EXPECT_FALSE(kernel->Commit(nullptr));
	EXPECT_EQ(op->GetPointCount(), 10);

	// An object freed under the work is forgotten, not touched.
	PolygonObject* gone = Make({}, {});
	ASSERT_TRUE(kernel->InitObject(gone));
	kernel->AddPoint(gone, Vector());
	objects.pop_back();
	BaseObject* dead = gone;
	BaseObject::Free(dead);
	ASSERT_TRUE(kernel->InitObject(op));
	EXPECT_TRUE(kernel->Commit(nullptr));
}

TEST_F(KernelFixture, CommitOfEveryObjectIsAllOrNothing)
{
	PolygonObject* first = Make({}, {});
	PolygonObject* second = Make({}, {});
	ASSERT_TRUE(kernel->InitObject(first));
	ASSERT_TRUE(kernel->InitObject(second));
	for (PolygonObject* op : {first, second})
	{
		for (Int32 i = 0; i < 3; ++i)
			kernel->AddPoint(op, Vector(i, i * i, 0));
	}
	const Int32 good[3] = {0, 1, 2};
	const Int32 bad[4] = {0, 1, 1, 2};
	ASSERT_EQ(kernel->CreateNgon(first, good, 3), 0);
	ASSERT_EQ(kernel->CreateNgon(second, bad, 4), 0);
	EXPECT_FALSE(kernel->Commit(nullptr));
	EXPECT_EQ(first->GetPointCount(), 0) << "the second object's bad polygon stops both";
	EXPECT_TRUE(kernel->Commit(nullptr, MODELING_COMMIT_UPDATE | MODELING_COMMIT_NOVALIDATION));
	EXPECT_EQ(first->GetPolygonCount(), 1);
	EXPECT_EQ(second->GetPolygonCount(), 1);
}

TEST_F(KernelFixture, CallsAreLoggedWithTheirFlags)
{
	PolygonObject* op = Make({Vector(0, 0, 0), Vector(1, 0, 0)}, {});
	ASSERT_TRUE(kernel->InitObject(op));
	const Int32 a = kernel->AddPoint(op, Vector(0, 1, 0));
	const Int32 b = kernel->AddPoint(op, Vector(1, 1, 0));
	EXPECT_EQ(Quad(op, 0, a, b, 1, MODELING_SETNGON_FLAG_FIXEDQUADS), 0);
	EXPECT_EQ(Quad(op, 0, a, b, 7), -1);
	ASSERT_TRUE(kernel->Commit(op, MODELING_COMMIT_UPDATE | MODELING_COMMIT_NOVALIDATION));
	const Int32 s = kernel->SplitEdge(op, 0, a, 0.5);
	EXPECT_EQ(s, 4);
	ASSERT_TRUE(kernel->Commit(op, MODELING_COMMIT_UPDATE | MODELING_COMMIT_RESTORE | MODELING_COMMIT_NOVALIDATION));

	using Kind = standin::ModelingCall::Kind;
	const std::vector<standin::ModelingCall> log = standin::ModelingLog();
	ASSERT_EQ(log.size(), 6u);
	EXPECT_EQ(log[0].kind, Kind::InitObject);
	EXPECT_EQ(log[1].kind, Kind::CreateNgon);
	EXPECT_EQ(log[1].flags, 8);
	EXPECT_EQ(log[1].result, 0);
	EXPECT_EQ(log[2].result, -1);
	EXPECT_EQ(log[3].kind, Kind::Commit);
	EXPECT_EQ(log[3].flags, 65);
	EXPECT_EQ(log[3].result, 1);
	EXPECT_EQ(log[4].kind, Kind::SplitEdge);
	EXPECT_EQ(log[4].result, 4);
	EXPECT_EQ(log[5].flags, 73);
	EXPECT_EQ(log[5].object, op);
}

TEST_F(KernelFixture, UVWTagsKeepOneRecordPerPolygon)
{
	PolygonObject* op = Make({Vector(0, 0, 0), Vector(1, 0, 0), Vector(1, 0, 1), Vector(0, 0, 1)}, {CPolygon(0, 1, 2, 3)});
	auto* uvw = static_cast<UVWTag*>(op->MakeTag(Tuvw));
	ASSERT_NE(uvw, nullptr);
	EXPECT_EQ(uvw->GetDataCount(), 1) << "MakeTag sizes a UVW tag to the polygons";
	const UVWStruct unit{Vector(0, 0, 0), Vector(1, 0, 0), Vector(1, 1, 0), Vector(0, 1, 0)};
	uvw->SetSlow(0, unit);
	BaseTag* phong = op->MakeTag(Tphong);
	ASSERT_NE(phong, nullptr);
	EXPECT_EQ(phong->GetType(), Tphong);
	EXPECT_EQ(op->GetTag(Tphong), phong);

	ASSERT_TRUE(kernel->InitObject(op));
	const Int32 a = kernel->AddPoint(op, Vector(0, 0, 2));
	const Int32 b = kernel->AddPoint(op, Vector(1, 0, 2));
	ASSERT_EQ(Quad(op, 3, 2, b, a), 1);
	ASSERT_EQ(Quad(op, 0, 3, a, a), 2);
	ASSERT_TRUE(kernel->Commit(op));
	ASSERT_EQ(uvw->GetDataCount(), 3);
	EXPECT_EQ(uvw->GetSlow(0).c, unit.c);
	EXPECT_EQ(uvw->GetSlow(1).c, Vector());
	EXPECT_EQ(uvw->GetSlow(2).a, Vector());
}

TEST_F(KernelFixture, GrowAndSplitAcrossGivesAStripOfQuads)
{
	// A border of three points along X; the strip grown from it to z = 1 is then split across,
	// at each border point, twice from the old point towards the new one.
	PolygonObject* op = Make({Vector(0, 0, 0), Vector(1, 0, 0), Vector(2, 0, 0)}, {});
	ASSERT_TRUE(kernel->InitObject(op));
	std::vector<Int32> grown;
	for (Int32 j = 0; j < 3; ++j)
		grown.push_back(kernel->AddPoint(op, Vector(j, 0, 1)));
	for (Int32 j = 0; j < 2; ++j)
		ASSERT_EQ(Quad(op, j, grown[j], grown[j + 1], j + 1, MODELING_SETNGON_FLAG_FIXEDQUADS), j);
	ASSERT_TRUE(kernel->Commit(op, MODELING_COMMIT_UPDATE | MODELING_COMMIT_NOVALIDATION));
	const Vector before = Normal(op, op->GetPolygonR()[0]);
	op->GetPolygonS()->Select(1);
	op->GetEdgeS()->Select(4 * 1 + 1); // side grown[1] - grown[2] of the second quad

	std::vector<Int32> firstSplits;
	for (Int32 j = 0; j < 3; ++j)
	{
		Int32 current = j;
		for (Float share : {0.25, 1.0 / 3.0})
		{
			current = kernel->SplitEdge(op, current, grown[j], share);
			ASSERT_GE(current, 0);
			if (share == 0.25)
				firstSplits.push_back(current);
		}
	}
	ASSERT_TRUE(kernel->Commit(op, MODELING_COMMIT_UPDATE | MODELING_COMMIT_RESTORE | MODELING_COMMIT_NOVALIDATION));
	EXPECT_EQ(op->GetPointCount(), 12);
	ASSERT_EQ(op->GetPolygonCount(), 6) << "each quad becomes three quads";
	for (const CPolygon& p : Polygons(op))
	{
		EXPECT_FALSE(p.IsTriangle());
		EXPECT_GT(Dot(Normal(op, p), before), 0.0) << "pieces keep the winding";
	}
	EXPECT_NEAR(Area(op), 2.0, 1e-12);
	// The first piece keeps the quad's place and corner; the split points lie at z = 1/4 and 1/2.
	EXPECT_EQ(op->GetPolygonR()[0], CPolygon(0, firstSplits[0], firstSplits[1], 1));
	EXPECT_NEAR(op->GetPointR()[firstSplits[1]].z, 0.25, 1e-12);
	EXPECT_NEAR(op->GetPointR()[firstSplits[1] + 1].z, 0.5, 1e-12);
	// RESTORE: the second quad's pieces are all selected, its selected side went to the one piece
	// that lies along it; the first quad's pieces are not.
	BaseSelect* polys = op->GetPolygonS();
	EXPECT_FALSE(polys->IsSelected(0));
	EXPECT_TRUE(polys->IsSelected(1));
	EXPECT_EQ(polys->GetCount(), 3);
	EXPECT_EQ(op->GetEdgeS()->GetCount(), 1);
	for (Int32 e = 0; e < 4 * op->GetPolygonCount(); ++e)
	{
		if (!op->GetEdgeS()->IsSelected(e))
			continue;
		Int32 u = 0, v = 0;
		ASSERT_TRUE(op->GetEdgePoints(e, &u, &v));
		EXPECT_NEAR(op->GetPointR()[u].z, 1.0, 1e-12);
		EXPECT_NEAR(op->GetPointR()[v].z, 1.0, 1e-12);
	}
}

TEST_F(KernelFixture, SplitsThatAreNoLadderBecomeTrianglesWithInterpolatedCoordinates)
{
	// A unit square in X-Z whose texture coordinates are (x, z); split on one side only.
	PolygonObject* op = Make({Vector(0, 0, 0), Vector(1, 0, 0), Vector(1, 0, 1), Vector(0, 0, 1)}, {CPolygon(0, 1, 2, 3)});
	auto* uvw = static_cast<UVWTag*>(op->MakeTag(Tuvw));
	uvw->SetSlow(0, UVWStruct{Vector(0, 0, 0), Vector(1, 0, 0), Vector(1, 1, 0), Vector(0, 1, 0)});
	op->GetPolygonS()->Select(0);
	ASSERT_TRUE(kernel->InitObject(op));
	const Int32 s = kernel->SplitEdge(op, 1, 0, 0.25); // from point 1 towards point 0
	ASSERT_EQ(s, 4);
	EXPECT_EQ(kernel->SplitEdge(op, s, 0, 0.5), 5);
	ASSERT_TRUE(kernel->Commit(op, MODELING_COMMIT_UPDATE));
	EXPECT_EQ(op->GetPointR()[4], Vector(0.75, 0, 0));
	EXPECT_EQ(op->GetPointR()[5], Vector(0.375, 0, 0));
	ASSERT_EQ(op->GetPolygonCount(), 4) << "six points around: four triangles";
	EXPECT_NEAR(Area(op), 1.0, 1e-12);
	ASSERT_EQ(uvw->GetDataCount(), 4);
	for (Int32 i = 0; i < op->GetPolygonCount(); ++i)
	{
		const CPolygon p = op->GetPolygonR()[i];
		EXPECT_TRUE(p.IsTriangle());
		EXPECT_LT(Normal(op, p).y, 0.0) << "no flat triangle along the split side, same winding (-Y) " << p.a << " " << p.b << " " << p.c;
		const UVWStruct r = uvw->GetSlow(i);
		const Int32 corners[4] = {p.a, p.b, p.c, p.d};
		const Vector uv[4] = {r.a, r.b, r.c, r.d};
		for (Int32 k = 0; k < 4; ++k)
		{
			const Vector& at = op->GetPointR()[corners[k]];
			EXPECT_NEAR(uv[k].x, at.x, 1e-12);
			EXPECT_NEAR(uv[k].y, at.z, 1e-12);
		}
	}
	EXPECT_EQ(op->GetPolygonS()->GetCount(), 0) << "without RESTORE the pieces are not selected";
}
