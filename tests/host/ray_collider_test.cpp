// The ray collider plug-ins use: rays in the object's own space, the nearest hit's polygon and
// position, several colliders on one object from several threads; the surface proxy tag and the
// object-state query; the sphere primitive the projection examples use.
#include <gtest/gtest.h>

#include <cmath>
#include <thread>
#include <vector>

#include "hostapi/collider.h"
#include "hostapi/proxytag.h"
#include "modeling/primitives.h"
#include "standin/scene.h"

namespace
{

struct Owned
{
	BaseObject* op = nullptr;
	~Owned() { BaseObject::Free(op); }
};

PolygonObject* Plane(Float size, Int32 segments)
{
	return standin::MakePrimitive(Oplane, size, segments, nullptr);
}

TEST(RayCollider, NearestHitInTheObjectsOwnSpaceWhateverItsMatrix)
{
	Owned plane{Plane(400, 4)};
	Matrix far;
	far.off = Vector(1000, 1000, 1000);
	plane.op->SetMg(far);
	GeRayCollider* rc = GeRayCollider::Alloc();
	ASSERT_TRUE(rc);
	ASSERT_TRUE(rc->Init(plane.op, true));
	ASSERT_TRUE(rc->Intersect(Vector(10, 50, 20), Vector(0, -1, 0), 100));
	GeRayColResult hit;
	ASSERT_TRUE(rc->GetNearestIntersection(&hit));
	EXPECT_EQ(hit.hitpos, Vector(10, 0, 20));
	EXPECT_DOUBLE_EQ(hit.distance, 50.0);
	// Polygon rows run along Z, 100 units each: (10, 20) lies in row 2, column 2.
	EXPECT_EQ(hit.face_id, 2 * 4 + 2);
	EXPECT_EQ(rc->GetIntersectionCount(), 1);
	// Too short a reach, or the other way, hits nothing and forgets the last hit.
	EXPECT_FALSE(rc->Intersect(Vector(10, 50, 20), Vector(0, -1, 0), 49));
	EXPECT_FALSE(rc->GetNearestIntersection(&hit));
	EXPECT_FALSE(rc->Intersect(Vector(10, 50, 20), Vector(0, 1, 0), 100));
	EXPECT_FALSE(rc->Intersect(Vector(10, 50, 20), Vector(), 100));
	GeRayCollider::Free(rc);
	EXPECT_EQ(rc, nullptr);
}

TEST(RayCollider, RefusesWhatHasNoPolygons)
{
	GeRayCollider* rc = GeRayCollider::Alloc();
	Owned null{BaseObject::Alloc(Onull)};
	Owned empty{PolygonObject::Alloc(0, 0)};
	EXPECT_FALSE(rc->Init(nullptr));
	EXPECT_FALSE(rc->Init(null.op));
	EXPECT_FALSE(rc->Init(empty.op));
	EXPECT_FALSE(rc->Intersect(Vector(), Vector(0, 1, 0), 10));
	GeRayCollider::Free(rc);
}

TEST(RayCollider, ManyThreadsWithTheirOwnCollidersAgreeWithOne)
{
	Owned sphere{standin::MakePrimitive(modeling::kSpherePrimitive, 100, 40, nullptr)};
	ASSERT_TRUE(sphere.op);
	auto cast = [&](Int32 i, GeRayCollider* rc, GeRayColResult* out) {
		const Float a = 0.001 * i;
		const Vector dir(std::cos(a) * 0.3, -1.0, std::sin(a) * 0.3);
		return rc->Intersect(Vector(0, 0, 0), dir / dir.GetLength(), 1000) && rc->GetNearestIntersection(out);
	};
	std::vector<GeRayColResult> expected(2000);
	{
		GeRayCollider* rc = GeRayCollider::Alloc();
		ASSERT_TRUE(rc->Init(sphere.op, true));
		for (Int32 i = 0; i < 2000; ++i)
			ASSERT_TRUE(cast(i, rc, &expected[i]));
		GeRayCollider::Free(rc);
	}
	std::vector<std::thread> threads;
	std::vector<int> wrong(4, 0);
	for (int t = 0; t < 4; ++t)
	{
		threads.emplace_back([&, t] {
			GeRayCollider* rc = GeRayCollider::Alloc();
			if (!rc->Init(sphere.op, true))
			{
				wrong[t] = -1;
				return;
			}
			for (Int32 i = 0; i < 2000; ++i)
			{
				GeRayColResult r;
				if (!cast(i, rc, &r) || r.face_id != expected[i].face_id || r.hitpos != expected[i].hitpos)
					++wrong[t];
			}
			GeRayCollider::Free(rc);
		});
	}
	for (std::thread& t : threads)
		t.join();
	EXPECT_EQ(wrong, std::vector<int>(4, 0));
}

TEST(SpherePrimitive, PointsLieOnTheRadiusAndPolygonsFaceOutwards)
{
	std::string error;
	Owned sphere{standin::MakePrimitive(modeling::kSpherePrimitive, 50, 8, &error)};
	ASSERT_TRUE(sphere.op) << error;
	PolygonObject* op = static_cast<PolygonObject*>(sphere.op);
	EXPECT_EQ(op->GetPointCount(), 2 + 7 * 16);
	EXPECT_EQ(op->GetPolygonCount(), 8 * 16);
	for (Int32 i = 0; i < op->GetPointCount(); ++i)
		EXPECT_NEAR(op->GetPointR()[i].GetLength(), 50.0, 1e-12);
	for (Int32 i = 0; i < op->GetPolygonCount(); ++i)
	{
		const CPolygon& p = op->GetPolygonR()[i];
		const Vector* q = op->GetPointR();
		const Vector n = Cross(q[p.b] - q[p.a], q[p.d] - q[p.a]);
		EXPECT_GT(Dot(n, q[p.a] + q[p.b] + q[p.c]), 0.0) << "polygon " << i;
	}
	EXPECT_FALSE(standin::MakePrimitive(modeling::kSpherePrimitive, 50, 1, &error));
}

TEST(SurfaceProxyTag, NamesItsProxyAndReportsWhenItIsOutOfDate)
{
	Owned target{Plane(100, 1)};
	Owned proxy{Plane(200, 2)};
	SurfaceProxyTag* tag = SurfaceProxyTag::Alloc();
	ASSERT_TRUE(tag);
	EXPECT_EQ(tag->GetType(), 1023800);
	target.op->InsertTag(tag);
	EXPECT_EQ(target.op->GetTag(Tsurfaceproxy), tag);
	EXPECT_EQ(tag->GetPolygonObject(), nullptr);

	tag->SetProxy(static_cast<PolygonObject*>(proxy.op));
	EXPECT_TRUE(tag->IsDirty());
	EXPECT_TRUE(tag->Update(0));
	EXPECT_FALSE(tag->IsDirty());
	EXPECT_EQ(tag->GetPolygonObject(), proxy.op);
	// Writing the proxy's points makes the tag out of date until it is updated again.
	static_cast<PolygonObject*>(proxy.op)->GetPointW()[0] = Vector(1, 2, 3);
	EXPECT_TRUE(tag->IsDirty());
	EXPECT_FALSE(tag->Update(1));
	EXPECT_TRUE(tag->Update(0));
	EXPECT_FALSE(tag->IsDirty());
	// A freed proxy is no proxy.
	BaseObject::Free(proxy.op);
	EXPECT_EQ(tag->GetPolygonObject(), nullptr);
}

TEST(ObjectState, EditorHiddenObjectsAnswerOne)
{
	Owned op{Plane(100, 1)};
	EXPECT_EQ(GetObjectState(op.op, OBJECTSTATE_EDITOR_HIDDEN), 0);
	op.op->SetEditorMode(1);
	EXPECT_EQ(GetObjectState(op.op, OBJECTSTATE_EDITOR_HIDDEN), 1);
	EXPECT_EQ(GetObjectState(op.op, 99), 0);
	EXPECT_EQ(GetObjectState(nullptr, OBJECTSTATE_EDITOR_HIDDEN), 0);
}

} // namespace
