// The post-pass over part of a mesh and around misses: a range that starts after polygon 0
// leaves the polygons before it alone, a corner the view cannot see on the source keeps its
// entry without holding up the rest of its run, and the threads carry their names and
// priorities and hear Escape only where the tool asks.
#include <gtest/gtest.h>

#include <vector>

#include "hostapi/input.h"
#include "projection_fixture.h"
#include "standin/held_input.h"

namespace
{

// The coordinate AffineUVW(op, 0.004, 0.003, 0.5, 0.5) gives the surface seen at world (x, y).
Vector SeenAt(const Vector& w)
{
	return Vector(w.x * 0.004 + 0.5, w.y * 0.003 + 0.5, 0);
}

std::vector<Vector> Points(const PolygonObject* op)
{
	return std::vector<Vector>(op->GetPointR(), op->GetPointR() + op->GetPointCount());
}

UVWTag* OldRecords(PolygonObject* mesh, const Vector& old)
{
	UVWTag* tag = static_cast<UVWTag*>(mesh->MakeTag(Tuvw));
	for (Int32 i = 0; i < mesh->GetPolygonCount(); ++i)
		tag->SetSlow(i, UVWStruct{old, old, old, old});
	return tag;
}

TEST_F(ProjectionTest, ARangeAfterTheFirstPolygonLeavesTheEarlierPolygonsAlone)
{
	PolygonObject* sphere = Sphere(100, 40);
	AffineUVW(sphere, 0.004, 0.003, 0.5, 0.5);
	const Vector old(9, 9, 9);
	for (Int32 threads : {1, 2, 3})
	{
		// 4 x 4 quads in front of the ball; polygons 8 to 15 use the point rows 2 to 4 only.
		PolygonObject* mesh = Insert(Wall(4, 120, -300), "Wall");
		UVWTag* tag = OldRecords(mesh, old);
		const std::vector<Vector> before = Points(mesh);
		Run(mesh, sphere, sphere, threads, 3.0, true, 8, 16);

		const Vector* p = mesh->GetPointR();
		for (Int32 i = 0; i < 10; ++i)
			EXPECT_EQ(p[i], before[static_cast<size_t>(i)]) << threads << " threads, point " << i;
		// Row 2 is shared with polygons the run left where they were, and its offset normal leans
		// towards them; rows 3 and 4 sit on the ball, pushed straight off it.
		for (Int32 i = 10; i < 15; ++i)
		{
			EXPECT_GT(p[i].GetLength(), 100.0) << threads << " threads, point " << i;
			EXPECT_LT(p[i].GetLength(), 103.5) << threads << " threads, point " << i;
		}
		for (Int32 i = 15; i < mesh->GetPointCount(); ++i)
			EXPECT_NEAR(p[i].GetLength(), 103.0, 0.5) << threads << " threads, point " << i;
		for (Int32 i = 0; i < 8; ++i)
		{
			const UVWStruct r = tag->GetSlow(i);
			for (const Vector& c : {r.a, r.b, r.c, r.d})
				EXPECT_EQ(c, old) << threads << " threads, polygon " << i;
		}
		for (Int32 i = 8; i < 16; ++i)
		{
			const UVWStruct r = tag->GetSlow(i);
			const CPolygon& c = mesh->GetPolygonR()[i];
			ExpectNear(r.a, SeenAt(before[static_cast<size_t>(c.a)]), 1e-12);
			ExpectNear(r.c, SeenAt(before[static_cast<size_t>(c.c)]), 1e-12);
		}
	}
}

TEST_F(ProjectionTest, ATextureMissAtTheStartOfARunHoldsUpNothingElse)
{
	PolygonObject* sphere = Sphere(100, 40);
	AffineUVW(sphere, 0.004, 0.003, 0.5, 0.5);
	const Vector old(9, 9, 9);
	// Three quads in a row; the first one's corners at x = 140 lie beside the ball in the view
	// (no texture there, and no surface along their normal either).
	for (Int32 threads : {1, 2, 3})
	{
		PolygonObject* mesh = Insert(PolygonObject::Alloc(8, 3), "Row");
		Vector* p = mesh->GetPointW();
		const Float xs[4] = {140, 80, 40, 0};
		for (Int32 i = 0; i < 4; ++i)
		{
			p[2 * i] = Vector(xs[i], -10, -300);
			p[2 * i + 1] = Vector(xs[i], 10, -300);
		}
		for (Int32 i = 0; i < 3; ++i)
			mesh->GetPolygonW()[i] = CPolygon(2 * i, 2 * i + 1, 2 * i + 3, 2 * i + 2);
		UVWTag* tag = OldRecords(mesh, old);
		const std::vector<Vector> before = Points(mesh);
		Run(mesh, sphere, sphere, threads, 0.0, true);

		const UVWStruct first = tag->GetSlow(0);
		EXPECT_EQ(first.a, old) << threads << " threads";
		EXPECT_EQ(first.b, old) << threads << " threads";
		ExpectNear(first.c, SeenAt(before[3]), 1e-12);
		ExpectNear(first.d, SeenAt(before[2]), 1e-12);
		for (Int32 i = 1; i < 3; ++i)
		{
			const UVWStruct r = tag->GetSlow(i);
			const CPolygon& c = mesh->GetPolygonR()[i];
			ExpectNear(r.a, SeenAt(before[static_cast<size_t>(c.a)]), 1e-12);
			ExpectNear(r.b, SeenAt(before[static_cast<size_t>(c.b)]), 1e-12);
			ExpectNear(r.c, SeenAt(before[static_cast<size_t>(c.c)]), 1e-12);
			ExpectNear(r.d, SeenAt(before[static_cast<size_t>(c.d)]), 1e-12);
		}
		const Vector* now = mesh->GetPointR();
		EXPECT_EQ(now[0], before[0]);
		EXPECT_EQ(now[1], before[1]);
		for (Int32 i = 2; i < 8; ++i)
		{
			EXPECT_NEAR(now[i].GetLength(), 100.0, 0.5) << threads << " threads, point " << i;
			EXPECT_LT(now[i].z, 0.0) << threads << " threads, point " << i;
		}
	}
}

TEST_F(ProjectionTest, TheThreadsCarryTheirNamesAndTheWorkersRunBelowNormal)
{
	PolygonObject* sphere = Sphere(100, 12);
	PolygonObject* mesh = Insert(Wall(2, 60, -300), "Wall");
	standin::ClearThreadStarts();
	Run(mesh, nullptr, sphere, 2, 0.0, false);
	const std::vector<standin::ThreadStart> want = {
		{"SDK ControlThread", THREADPRIORITY_NORMAL}, {"SDK MpTest", THREADPRIORITY_BELOW}, {"SDK MpTest", THREADPRIORITY_BELOW}};
	EXPECT_EQ(standin::ThreadStarts(), want);
}

TEST_F(ProjectionTest, OnlyTheControlThreadHearsEscapeAndTheRunStillCompletes)
{
	ControlThread control;
	MPTest worker;
	EXPECT_FALSE(control.TestDBreak());
	{
		standin::HeldInput other(0, 0, 'A');
		EXPECT_FALSE(control.TestDBreak());
	}
	{
		standin::HeldInput shifted(QSHIFT, 0, 0);
		EXPECT_FALSE(control.TestDBreak());
	}
	PolygonObject* sphere = Sphere(100, 24);
	PolygonObject* mesh = Insert(Wall(3, 90, -300), "Wall");
	standin::SetClockStep(5);
	{
		standin::HeldInput escape(0, 0, KEY_ESC);
		EXPECT_TRUE(control.TestDBreak());
		EXPECT_FALSE(worker.TestDBreak());
		// The workers do not stop for it: a pass cut short would leave a mesh half on the surface.
		EXPECT_EQ(Run(mesh, nullptr, sphere, 2, 0.0, false), String("2CPU Result Time:5ms"));
	}
	for (Int32 i = 0; i < mesh->GetPointCount(); ++i)
		EXPECT_NEAR(mesh->GetPointR()[i].GetLength(), 100.0, 1.0) << "point " << i;
	EXPECT_FALSE(control.TestDBreak());
}

} // namespace
