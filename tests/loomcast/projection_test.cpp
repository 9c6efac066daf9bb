// The projection post-pass and the sampling services it stands on: the view's line of sight
// onto another object, the texture coordinate at a surface point, the flattened copy, and the
// control thread's runs, read-out and results, which must not depend on the thread count.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "hostapi/collider.h"
#include "hostapi/proxytag.h"
#include "projection_fixture.h"

namespace
{

// ---- Runs, worker counts and the read-out ------------------------------------------------------

TEST(ProjectionRuns, ContiguousRunsDifferByAtMostOneLongerFirst)
{
	Int32 counts[4] = {};
	SplitRuns(10, 4, counts);
	EXPECT_EQ(std::vector<Int32>(counts, counts + 4), (std::vector<Int32>{3, 3, 2, 2}));
	Int32 one[1] = {};
	SplitRuns(7, 1, one);
	EXPECT_EQ(one[0], 7);
}

TEST(ProjectionRuns, WorkerCountIsClampedToTheWork)
{
	EXPECT_EQ(WorkerCount(8, 2), 2);
	EXPECT_EQ(WorkerCount(4, 10), 4);
	EXPECT_EQ(WorkerCount(0, 10), 1);
	EXPECT_EQ(WorkerCount(-5, 10), 1);
	EXPECT_EQ(WorkerCount(4, 0), 0);
	EXPECT_EQ(WorkerCount(4, -3), 0);
}

TEST(ProjectionRuns, ReadOutInSecondsAboveOneThousandMilliseconds)
{
	EXPECT_EQ(TimingText(2, 340), String("2CPU Result Time:340ms"));
	EXPECT_EQ(TimingText(4, 1500), String("4CPU Result Time:1.5s"));
	EXPECT_EQ(TimingText(4, 2500), String("4CPU Result Time:2.5s"));
	EXPECT_EQ(TimingText(1, 1000), String("1CPU Result Time:1000ms"));
	EXPECT_EQ(PlainResultText(), String("Result Time:"));
}

TEST_F(ProjectionTest, TwoPolygonsOnEightThreadsStartTwoWorkersAndTimeTheRun)
{
	PolygonObject* target = Sphere(100, 12);
	PolygonObject* mesh = Insert(Grid(1, 20, 200), "Mesh");
	mesh->ResizeObject(6, 2);
	Vector* p = mesh->GetPointW();
	p[4] = Vector(20, 200, -10);
	p[5] = Vector(20, 200, 10);
	mesh->GetPolygonW()[1] = CPolygon(3, 2, 5, 4);
	standin::SetClockStep(1500);
	EXPECT_EQ(Run(mesh, nullptr, target, 8, 0.0, false), String("2CPU Result Time:1.5s"));
	standin::SetClockStep(1000);
	EXPECT_EQ(Run(mesh, nullptr, target, 8, 0.0, false), String("2CPU Result Time:1000ms"));
	standin::SetClockStep(7);
	EXPECT_EQ(Run(mesh, nullptr, target, 0, 0.0, false), String("1CPU Result Time:7ms"));
}

TEST_F(ProjectionTest, BusyCursorIsRestoredOnEveryWayOut)
{
	PolygonObject* target = Sphere(100, 12);
	PolygonObject* mesh = Insert(Grid(2, 20, 200), "Mesh");
	for (PolygonObject* m : {mesh, static_cast<PolygonObject*>(nullptr)})
	{
		standin::ClearCursorLog();
		Run(m, nullptr, target, 2, 0.0, false);
		EXPECT_EQ(standin::CursorLog(), (std::vector<Int32>{MOUSE_BUSY, MOUSE_NORMAL}));
	}
	// No polygons: no workers, and a read-out that says so.
	PolygonObject* empty = Insert(PolygonObject::Alloc(0, 0), "Empty");
	standin::ClearCursorLog();
	EXPECT_EQ(Run(empty, nullptr, target, 4, 0.0, false), String("0CPU Result Time:0ms"));
	EXPECT_EQ(standin::CursorLog(), (std::vector<Int32>{MOUSE_BUSY, MOUSE_NORMAL}));
}

// ---- The view's line of sight --------------------------------------------------------------------

TEST_F(ProjectionTest, LineOfSightMeetsTheTargetOnTheCamerasSide)
{
	PolygonObject* sphere = Sphere(100, 48);
	// From behind the sphere as well as from in front: the first surface seen from the camera.
	for (Float z : {-500.0, 500.0})
	{
		Vector p(30, 40, z);
		Int32 polygon = -1;
		ASSERT_TRUE(dtool.ProjectThroughView(doc, &p, &polygon, sphere));
		EXPECT_NEAR(p.x, 30.0, 1e-9);
		EXPECT_NEAR(p.y, 40.0, 1e-9);
		EXPECT_LT(p.z, -80.0);
		EXPECT_GE(polygon, 0);
		EXPECT_LT(polygon, sphere->GetPolygonCount());
	}
}

TEST_F(ProjectionTest, LineOfSightBesideTheTargetLeavesThePoint)
{
	PolygonObject* sphere = Sphere(100, 24);
	Vector p(150, 0, -500);
	Int32 polygon = 77;
	EXPECT_FALSE(dtool.ProjectThroughView(doc, &p, &polygon, sphere));
	EXPECT_EQ(p, Vector(150, 0, -500));
	EXPECT_EQ(polygon, 77);
	PolygonObject* empty = Insert(PolygonObject::Alloc(0, 0), "Empty");
	EXPECT_FALSE(dtool.ProjectThroughView(doc, &p, &polygon, empty));
	EXPECT_FALSE(dtool.ProjectThroughView(doc, &p, &polygon, nullptr));
}

TEST_F(ProjectionTest, SurfaceProxyTagTakesTheTargetsPlace)
{
	PolygonObject* small = Sphere(10, 12, "Small");
	PolygonObject* big = Sphere(100, 24, "Big");
	SurfaceProxyTag* tag = SurfaceProxyTag::Alloc();
	tag->SetProxy(big);
	small->InsertTag(tag);
	Vector p(50, 0, -500);
	Int32 polygon = -1;
	ASSERT_TRUE(dtool.ProjectThroughView(doc, &p, &polygon, small));
	EXPECT_LT(p.z, -50.0);
}

// ---- Texture coordinate at a surface point -------------------------------------------------------

TEST_F(ProjectionTest, TextureCoordinateIsExactOnAnAffinelyMappedTriangle)
{
	PolygonObject* tri = Insert(PolygonObject::Alloc(3, 1), "Tri");
	Vector* p = tri->GetPointW();
	p[0] = Vector(0, 0, 0);
	p[1] = Vector(100, 10, 30);
	p[2] = Vector(20, 90, -40);
	tri->GetPolygonW()[0] = CPolygon(0, 1, 2);
	Matrix mg = MatrixRotY(0.4);
	mg.off = Vector(5, 6, 7);
	tri->SetMg(mg);
	UVWTag* tag = static_cast<UVWTag*>(tri->MakeTag(Tuvw));
	// Corner A sits at the coordinate (0, 0): a found (0, 0) is still found.
	tag->SetSlow(0, UVWStruct{Vector(0, 0, 0), Vector(1, 0.25, 0), Vector(0.5, 1, 0), Vector(0.5, 1, 0)});
	const Vector A = mg * p[0], B = mg * p[1], C = mg * p[2];
	for (const auto& [wb, wc] : std::vector<std::pair<Float, Float>>{{0.2, 0.3}, {0.5, 0.5}, {0.01, 0.9}, {0.7, 0.1}})
	{
		const Vector hit = A + (B - A) * wb + (C - A) * wc;
		Vector uv(9, 9, 9);
		ASSERT_TRUE(dtool.UVAtSurfacePoint(tri, 0, hit, &uv));
		ExpectNear(uv, Vector(1 * wb + 0.5 * wc, 0.25 * wb + 1 * wc, 0), 1e-12);
	}
	for (const auto& [corner, want] : std::vector<std::pair<Vector, Vector>>{{A, Vector(0, 0, 0)}, {B, Vector(1, 0.25, 0)}, {C, Vector(0.5, 1, 0)}})
	{
		Vector uv(9, 9, 9);
		ASSERT_TRUE(dtool.UVAtSurfacePoint(tri, 0, corner, &uv));
		EXPECT_EQ(uv, want);
	}
}

TEST_F(ProjectionTest, TextureCoordinateOnQuadsEqualCornersAndRefusals)
{
	PolygonObject* quad = Insert(Grid(1, 100, 0), "Quad");
	AffineUVW(quad, 0.01, 0.0, 0.5, 0.25);
	Vector uv;
	// The grid lies in y = 0, so V is 0.25 everywhere: every corner shares it.
	ASSERT_TRUE(dtool.UVAtSurfacePoint(quad, 0, Vector(10, 0, 30), &uv));
	ExpectNear(uv, Vector(0.6, 0.25, 0), 1e-12);
	ASSERT_TRUE(dtool.UVAtSurfacePoint(quad, 0, Vector(-20, 0, -45), &uv));
	ExpectNear(uv, Vector(0.3, 0.25, 0), 1e-12);
	UVWTag* tag = static_cast<UVWTag*>(quad->GetTag(Tuvw));
	const Vector same(0.7, 0.2, 0);
	tag->SetSlow(0, UVWStruct{same, same, same, same});
	ASSERT_TRUE(dtool.UVAtSurfacePoint(quad, 0, Vector(10, 0, 30), &uv));
	EXPECT_EQ(uv, same);
	uv = Vector(3, 3, 3);
	EXPECT_FALSE(dtool.UVAtSurfacePoint(quad, 5, Vector(), &uv));
	EXPECT_FALSE(dtool.UVAtSurfacePoint(quad, -1, Vector(), &uv));
	quad->KillTag(Tuvw);
	EXPECT_FALSE(dtool.UVAtSurfacePoint(quad, 0, Vector(), &uv));
	EXPECT_EQ(uv, Vector(3, 3, 3));
}

// ---- Flattened copy --------------------------------------------------------------------------------

TEST_F(ProjectionTest, FlattenedCopyJoinsChildrenInWorldSpace)
{
	PolygonObject* cube = Insert(standin::MakePrimitive(Ocube, 100, 1, nullptr), "Cube");
	Matrix at;
	at.off = Vector(100, 0, 0);
	cube->SetMg(at);
	PolygonObject* child = standin::MakePrimitive(Oplane, 50, 1, nullptr);
	child->InsertUnder(cube);
	Matrix up;
	up.off = Vector(0, 200, 0);
	child->SetMl(up);

	PolygonObject* joined = dtool.FlattenedCopy(doc, cube);
	ASSERT_NE(joined, nullptr);
	EXPECT_EQ(joined->GetPointCount(), 8 + 4);
	EXPECT_EQ(joined->GetPolygonCount(), 6 + 1);
	EXPECT_EQ(joined->GetMg(), Matrix());
	EXPECT_EQ(joined->GetDown(), nullptr);
	EXPECT_EQ(joined->GetPointR()[0], Vector(50, -50, -50));
	EXPECT_EQ(joined->GetPointR()[8], Vector(75, 200, -25));
	BaseObject* dead = joined;
	BaseObject::Free(dead);

	// A child hidden in the editor is left out.
	child->SetEditorMode(1);
	PolygonObject* alone = dtool.FlattenedCopy(doc, cube);
	ASSERT_NE(alone, nullptr);
	EXPECT_EQ(alone->GetPointCount(), 8);
	EXPECT_EQ(alone->GetPointR()[0], Vector(50, -50, -50));
	dead = alone;
	BaseObject::Free(dead);
}

TEST_F(ProjectionTest, FlattenedCopyOfAChildObjectIsInWorldSpaceOnce)
{
	BaseObject* parent = BaseObject::Alloc(Onull);
	doc->InsertObject(parent, nullptr, nullptr);
	Matrix raised;
	raised.off = Vector(0, 50, 0);
	parent->SetMg(raised);
	PolygonObject* cube = standin::MakePrimitive(Ocube, 100, 1, nullptr);
	cube->InsertUnder(parent);
	Matrix right;
	right.off = Vector(100, 0, 0);
	cube->SetMl(right);
	PolygonObject* copy = dtool.FlattenedCopy(doc, cube);
	ASSERT_NE(copy, nullptr);
	// Mapped through the cube's global matrix, and placed at the identity: seen in the world
	// exactly where the cube is.
	EXPECT_EQ(copy->GetMg() * copy->GetPointR()[0], Vector(50, 0, -50));
	BaseObject* dead = copy;
	BaseObject::Free(dead);
	EXPECT_EQ(dtool.FlattenedCopy(doc, nullptr), nullptr);
}

TEST_F(ProjectionTest, FlattenedCopyJoinedUnderAMovedParentIsInWorldSpace)
{
	// The source has a turned and raised parent and a child of its own: the join sees the parts
	// in the source's frame below the parent, and the copy must still hold world positions.
	BaseObject* parent = BaseObject::Alloc(Onull);
	doc->InsertObject(parent, nullptr, nullptr);
	Matrix turned = MatrixRotY(0.5);
	turned.off = Vector(10, 50, -20);
	parent->SetMg(turned);
	PolygonObject* cube = standin::MakePrimitive(Ocube, 100, 1, nullptr);
	cube->InsertUnder(parent);
	Matrix right = MatrixRotX(0.3);
	right.off = Vector(100, 0, 0);
	cube->SetMl(right);
	PolygonObject* child = standin::MakePrimitive(Oplane, 50, 1, nullptr);
	child->InsertUnder(cube);
	Matrix up;
	up.off = Vector(0, 200, 0);
	child->SetMl(up);

	PolygonObject* copy = dtool.FlattenedCopy(doc, cube);
	ASSERT_NE(copy, nullptr);
	ASSERT_EQ(copy->GetPointCount(), 8 + 4);
	const Matrix seen = copy->GetMg();
	for (Int32 i = 0; i < 8; ++i)
		ExpectNear(seen * copy->GetPointR()[i], cube->GetMg() * cube->GetPointR()[i], 1e-9);
	for (Int32 i = 0; i < 4; ++i)
		ExpectNear(seen * copy->GetPointR()[8 + i], child->GetMg() * child->GetPointR()[i], 1e-9);
	BaseObject* dead = copy;
	BaseObject::Free(dead);
}

// ---- The post-pass ---------------------------------------------------------------------------------

TEST_F(ProjectionTest, OffsetZeroPutsEveryPointOnTheTarget)
{
	// Smooth enough a sphere that its polygons lie close to the radius; the exact check is
	// against the flattened copy's own polygons: every point must lie on one of them.
	PolygonObject* sphere = Sphere(100, 64);
	PolygonObject* mesh = Insert(Grid(6, 60, 300), "Mesh");
	Run(mesh, nullptr, sphere, 3, 0.0, false);
	GeRayCollider* rc = GeRayCollider::Alloc();
	ASSERT_TRUE(rc->Init(sphere, true));
	for (Int32 i = 0; i < mesh->GetPointCount(); ++i)
	{
		const Vector p = mesh->GetPointR()[i];
		EXPECT_NEAR(p.GetLength(), 100.0, 100.0 * 2e-3) << "point " << i;
		// A ray from outside straight at the point meets the surface at the point itself.
		const Vector dir = p / p.GetLength();
		ASSERT_TRUE(rc->Intersect(p + dir * 10.0, -dir, 20.0));
		GeRayColResult hit;
		ASSERT_TRUE(rc->GetNearestIntersection(&hit));
		EXPECT_NEAR((hit.hitpos - p).GetLength(), 0.0, 100.0 * 1e-9) << "point " << i;
	}
	GeRayCollider::Free(rc);
}

TEST_F(ProjectionTest, OffsetZeroOnAFlatTargetIsExact)
{
	PolygonObject* cube = Insert(standin::MakePrimitive(Ocube, 200, 1, nullptr), "Cube");
	Matrix at;
	at.off = Vector(0, -30, 0);
	cube->SetMg(at);
	PolygonObject* mesh = Insert(Grid(4, 120, 400), "Mesh");
	Run(mesh, nullptr, cube, 2, 0.0, false);
	for (Int32 i = 0; i < mesh->GetPointCount(); ++i)
		EXPECT_NEAR(mesh->GetPointR()[i].y, 70.0, 70.0 * 1e-12) << "point " << i;
}

TEST_F(ProjectionTest, PointsAlreadyOnTheTargetStayOnItsNearSide)
{
	// A patch lying on the cube's top face (as strokes drawn on a surface do) must not fall
	// through the cube to its bottom face.
	PolygonObject* cube = Insert(standin::MakePrimitive(Ocube, 200, 1, nullptr), "Cube");
	for (Float facing : {1.0, -1.0})
	{
		PolygonObject* mesh = Insert(Grid(3, 60, 100), facing > 0 ? "Up" : "Down");
		if (facing < 0)
			for (Int32 i = 0; i < mesh->GetPolygonCount(); ++i)
			{
				CPolygon& q = mesh->GetPolygonW()[i];
				std::swap(q.b, q.d);
			}
		Run(mesh, nullptr, cube, 2, 0.0, false);
		for (Int32 i = 0; i < mesh->GetPointCount(); ++i)
			EXPECT_EQ(mesh->GetPointR()[i].y, 100.0) << "facing " << facing << " point " << i;
	}
}

TEST_F(ProjectionTest, SharedPointsMoveOnceWhateverTheRuns)
{
	PolygonObject* sphere = Sphere(100, 48);
	for (Int32 threads : {1, 2, 5})
	{
		PolygonObject* mesh = Insert(Grid(5, 50, 300), ("Mesh" + std::to_string(threads)).c_str());
		Run(mesh, nullptr, sphere, threads, 10.0, false);
		for (Int32 i = 0; i < mesh->GetPointCount(); ++i)
		{
			// One offset of 10 lifts a point to about 110; a second would reach 120.
			const Float r = mesh->GetPointR()[i].GetLength();
			EXPECT_GT(r, 108.0) << threads << " threads, point " << i;
			EXPECT_LT(r, 112.0) << threads << " threads, point " << i;
		}
	}
}

TEST_F(ProjectionTest, ResultsAreBitIdenticalForOneTwoThreeAndEightThreads)
{
	PolygonObject* sphere = Sphere(100, 40);
	AffineUVW(sphere, 0.004, 0.003, 0.5, 0.5);
	std::vector<std::vector<Vector>> points;
	std::vector<std::vector<UVWStruct>> uvws;
	for (Int32 threads : {1, 2, 3, 8})
	{
		PolygonObject* mesh = Insert(Grid(9, 160, 250, 20, -10), ("Mesh" + std::to_string(threads)).c_str());
		mesh->MakeTag(Tuvw);
		Run(mesh, sphere, sphere, threads, 4.0, true);
		points.emplace_back(mesh->GetPointR(), mesh->GetPointR() + mesh->GetPointCount());
		const UVWTag* tag = static_cast<const UVWTag*>(mesh->GetTag(Tuvw));
		std::vector<UVWStruct> u;
		for (Int32 i = 0; i < tag->GetDataCount(); ++i)
			u.push_back(tag->GetSlow(i));
		uvws.push_back(u);
	}
	for (size_t k = 1; k < points.size(); ++k)
	{
		ASSERT_EQ(points[k].size(), points[0].size());
		for (size_t i = 0; i < points[0].size(); ++i)
			EXPECT_EQ(points[k][i], points[0][i]) << "run " << k << " point " << i;
		for (size_t i = 0; i < uvws[0].size(); ++i)
		{
			EXPECT_EQ(uvws[k][i].a, uvws[0][i].a);
			EXPECT_EQ(uvws[k][i].b, uvws[0][i].b);
			EXPECT_EQ(uvws[k][i].c, uvws[0][i].c);
			EXPECT_EQ(uvws[k][i].d, uvws[0][i].d);
		}
	}
}

TEST_F(ProjectionTest, TextureTransferReadsTheSourceWhereTheViewSeesEachCorner)
{
	PolygonObject* sphere = Sphere(100, 40);
	AffineUVW(sphere, 0.004, 0.003, 0.5, 0.5);
	// The mesh straddles the sphere's silhouette: its corners beyond x = 100 see nothing.
	PolygonObject* mesh = Insert(PolygonObject::Alloc(8, 3), "Mesh");
	Vector* p = mesh->GetPointW();
	const Float xs[4] = {0, 40, 80, 140};
	for (Int32 i = 0; i < 4; ++i)
	{
		p[2 * i] = Vector(xs[i], -10, -300);
		p[2 * i + 1] = Vector(xs[i], 10, -300);
	}
	for (Int32 i = 0; i < 3; ++i)
		mesh->GetPolygonW()[i] = CPolygon(2 * i, 2 * i + 1, 2 * i + 3, 2 * i + 2);
	UVWTag* tag = static_cast<UVWTag*>(mesh->MakeTag(Tuvw));
	const Vector old(9, 9, 9);
	for (Int32 i = 0; i < 3; ++i)
		tag->SetSlow(i, UVWStruct{old, old, old, old});
	Run(mesh, sphere, nullptr, 2, 0.0, true);

	auto want = [](const Vector& w) { return Vector(w.x * 0.004 + 0.5, w.y * 0.003 + 0.5, 0); };
	for (Int32 i = 0; i < 2; ++i)
	{
		const UVWStruct r = tag->GetSlow(i);
		const CPolygon c = mesh->GetPolygonR()[i];
		ExpectNear(r.a, want(p[c.a]), 1e-12);
		ExpectNear(r.b, want(p[c.b]), 1e-12);
		ExpectNear(r.c, want(p[c.c]), 1e-12);
		ExpectNear(r.d, want(p[c.d]), 1e-12);
	}
	// The last quad: its corners at x = 80 still see the sphere, the ones at 140 keep their entry.
	const UVWStruct last = tag->GetSlow(2);
	ExpectNear(last.a, want(p[4]), 1e-12);
	ExpectNear(last.b, want(p[5]), 1e-12);
	EXPECT_EQ(last.c, old);
	EXPECT_EQ(last.d, old);
	// The mesh itself did not move: no target was given.
	EXPECT_EQ(p[0], Vector(0, -10, -300));
}

TEST_F(ProjectionTest, ACornerWhoseCoordinateIsZeroTakesIt)
{
	PolygonObject* wall = Insert(Grid(2, 400, 0), "Wall");
	// Stand the grid up facing the camera (its normal along -Z).
	wall->SetMg(MatrixRotX(-PI / 2));
	AffineUVW(wall, 0.01, 0.01, 0.0, 0.0);
	PolygonObject* mesh = Insert(PolygonObject::Alloc(3, 1), "Tri");
	Vector* p = mesh->GetPointW();
	p[0] = Vector(0, 0, -100);
	p[1] = Vector(50, 0, -100);
	p[2] = Vector(0, 50, -100);
	mesh->GetPolygonW()[0] = CPolygon(0, 1, 2);
	UVWTag* tag = static_cast<UVWTag*>(mesh->MakeTag(Tuvw));
	const Vector old(9, 9, 9);
	tag->SetSlow(0, UVWStruct{old, old, old, old});
	Run(mesh, wall, nullptr, 1, 0.0, true);
	const UVWStruct r = tag->GetSlow(0);
	ExpectNear(r.a, Vector(0, 0, 0), 1e-12);
	ExpectNear(r.b, Vector(0.5, 0, 0), 1e-12);
	ExpectNear(r.c, Vector(0, 0.5, 0), 1e-12);
	// A triangle's fourth entry is never changed.
	EXPECT_EQ(r.d, old);
}

} // namespace
