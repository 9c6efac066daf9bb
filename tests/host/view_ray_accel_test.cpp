// Ray questions through the per-object acceleration, checked against the plain loop over every
// triangle (view::RayPolygonObject), which stays the reference.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>
#include <thread>
#include <vector>

#include "accel/object_cache.h"
#include "accel/ray_target.h"
#include "hostapi/document.h"
#include "standin/scene.h"
#include "view/raycast.h"

namespace
{

constexpr Float kInf = std::numeric_limits<Float>::infinity();
using Rng = std::mt19937_64;

Float Uniform(Rng& rng, Float lo, Float hi)
{
	return std::uniform_real_distribution<Float>(lo, hi)(rng);
}

Vector RandomUnit(Rng& rng)
{
	for (;;)
	{
		const Vector v(Uniform(rng, -1, 1), Uniform(rng, -1, 1), Uniform(rng, -1, 1));
		const Float len = v.GetLength();
		if (len > 0.1 && len <= 1.0)
			return v / len;
	}
}

// A bumpy sphere of quads with triangle fans at the poles.
PolygonObject* Sphere(Float radius, Int32 rings, Int32 segments, Rng& rng)
{
	const Int32 points = 2 + (rings - 1) * segments;
	const Int32 polygons = rings * segments;
	PolygonObject* op = PolygonObject::Alloc(points, polygons);
	Vector* p = op->GetPointW();
	p[0] = Vector(0, radius, 0);
	p[1] = Vector(0, -radius, 0);
	for (Int32 r = 1; r < rings; ++r)
	{
		const Float theta = PI * r / rings;
		for (Int32 s = 0; s < segments; ++s)
		{
			const Float phi = 2 * PI * s / segments;
			const Float bump = radius * (1.0 + Uniform(rng, -0.05, 0.05));
			p[2 + (r - 1) * segments + s] = Vector(std::sin(theta) * std::cos(phi), std::cos(theta), std::sin(theta) * std::sin(phi)) * bump;
		}
	}
	auto at = [segments](Int32 r, Int32 s) { return 2 + (r - 1) * segments + (s % segments); };
	CPolygon* q = op->GetPolygonW();
	Int32 n = 0;
	for (Int32 s = 0; s < segments; ++s)
		q[n++] = CPolygon(0, at(1, s + 1), at(1, s));
	for (Int32 r = 1; r + 1 < rings; ++r)
		for (Int32 s = 0; s < segments; ++s)
			q[n++] = CPolygon(at(r, s), at(r, s + 1), at(r + 1, s + 1), at(r + 1, s));
	for (Int32 s = 0; s < segments; ++s)
		q[n++] = CPolygon(1, at(rings - 1, s), at(rings - 1, s + 1));
	return op;
}

// A rolling height field: the host's plane with its points lifted.
PolygonObject* HeightField(Float size, Int32 segments)
{
	std::string error;
	PolygonObject* op = standin::MakePrimitive(Oplane, size, segments, &error);
	Vector* p = op->GetPointW();
	for (Int32 i = 0; i < op->GetPointCount(); ++i)
		p[i].y = 0.1 * size * std::sin(p[i].x * 7.0 / size) * std::cos(p[i].z * 5.0 / size);
	return op;
}

Matrix Frame(const Vector& hpb, const Vector& scale, const Vector& off)
{
	Matrix m = HPBToMatrix(hpb, ROTATIONORDER_DEFAULT) * MatrixScale(scale);
	m.off = off;
	return m;
}

// The corners (object space) of the triangle a hit lies on.
void Corners(const PolygonObject* op, const accel::PolygonHit& hit, Vector out[3])
{
	const CPolygon& q = op->GetPolygonR()[hit.polygon];
	const Vector* p = op->GetPointR();
	out[0] = p[q.a];
	out[1] = hit.half ? p[q.c] : p[q.b];
	out[2] = hit.half ? p[q.d] : p[q.c];
}

// How far the hit lies from its triangle's edges, as a share of the triangle's longest edge.
Float EdgeClearance(const PolygonObject* op, const accel::PolygonHit& hit)
{
	Vector c[3];
	Corners(op, hit, c);
	Float longest = 0.0, nearest = kInf;
	for (int i = 0; i < 3; ++i)
	{
		const Vector e = c[(i + 1) % 3] - c[i];
		longest = std::max(longest, e.GetLength());
		nearest = std::min(nearest, Cross(e, hit.local - c[i]).GetLength() / e.GetLength());
	}
	return nearest / longest;
}

// The plain answer for a whole document: the loop over every visible polygon object.
std::vector<standin::view::RayHit> LoopCast(BaseDocument* doc, const Vector& origin, const Vector& direction)
{
	std::vector<standin::view::RayHit> hits;
	for (BaseObject* op = doc->GetFirstObject(); op; op = standin::view::NextObjectInTree(op))
	{
		Float t = 0.0;
		if (op->GetEditorMode() != 1 && op->IsInstanceOf(Opolygon) && standin::view::RayPolygonObject(static_cast<PolygonObject*>(op), origin, direction, &t))
			hits.push_back({op, t});
	}
	std::stable_sort(hits.begin(), hits.end(), [](const auto& l, const auto& r) { return l.t < r.t; });
	return hits;
}

struct Ray
{
	Vector origin, direction;
};

// Rays at the interior of random triangles (from near and from very far) and rays that pass
// the object by at one to two times its size.
std::vector<Ray> RandomRays(const PolygonObject* op, Rng& rng, int count)
{
	const Matrix mg = op->GetMg();
	const Vector* p = op->GetPointR();
	const CPolygon* q = op->GetPolygonR();
	accel::Box box;
	for (Int32 i = 0; i < op->GetPointCount(); ++i)
		box.Add(mg * p[i]);
	const Vector center = (box.min + box.max) * 0.5;
	const Float size = (box.max - box.min).GetLength();
	std::vector<Ray> rays;
	for (int i = 0; i < count; ++i)
	{
		const Float distance = (i % 5 == 0) ? 1e5 * size : Uniform(rng, 1.5, 4.0) * size;
		const Vector origin = center + RandomUnit(rng) * distance;
		Vector target;
		if (i % 4 == 3)
		{
			const Vector toward = (center - origin) / distance;
			const Vector side = Cross(toward, RandomUnit(rng));
			target = center + side / side.GetLength() * size * Uniform(rng, 1.0, 2.0);
		}
		else
		{
			const CPolygon& poly = q[std::uniform_int_distribution<Int32>(0, op->GetPolygonCount() - 1)(rng)];
			const Float u = Uniform(rng, 0.05, 0.9);
			const Float v = Uniform(rng, 0.05, 0.95 - u);
			const Vector a = p[poly.a], b = p[poly.b], c = p[poly.c];
			target = mg * (a + (b - a) * u + (c - a) * v);
		}
		Vector direction = target - origin;
		if (i % 2)
			direction = direction / direction.GetLength();
		rays.push_back({origin, direction});
	}
	return rays;
}

// One object's answers through the acceleration against the loop's. Where the two differ, the
// ray must graze an edge within float rounding; such rays must stay rare.
void ExpectSameHits(const PolygonObject* op, const std::vector<Ray>& rays)
{
	int grazing = 0, hits = 0;
	for (const Ray& ray : rays)
	{
		Float t = 0.0;
		accel::PolygonHit slow, fast;
		const bool slowHit = standin::view::RayPolygonObject(op, ray.origin, ray.direction, &t, &slow);
		const bool fastHit = accel::RayObject(op, ray.origin, ray.direction, kInf, &fast);
		hits += slowHit;
		if (!slowHit && !fastHit)
			continue;
		if (slowHit && fastHit && fast.polygon == slow.polygon && fast.half == slow.half)
		{
			EXPECT_NEAR(fast.t, slow.t, 1e-9 * std::abs(slow.t));
			const Vector d = fast.local - slow.local;
			EXPECT_LE(d.GetLength(), 1e-7 * (1.0 + slow.local.GetLength()));
			continue;
		}
		// A disagreement: the answer given must lie on an edge, within float rounding.
		++grazing;
		if (slowHit)
		{
			EXPECT_LT(EdgeClearance(op, slow), 1e-5) << "the loop's hit is clear of every edge, yet the acceleration answered otherwise";
		}
		if (fastHit)
		{
			EXPECT_LT(EdgeClearance(op, fast), 1e-5) << "the acceleration answered a triangle the ray is clear of";
		}
		if (slowHit && fastHit)
		{
			EXPECT_NEAR(fast.t, slow.t, 1e-5 * std::abs(slow.t));
		}
	}
	EXPECT_GT(hits, static_cast<int>(rays.size()) / 2);
	EXPECT_LE(grazing, static_cast<int>(rays.size()) / 200);
}

class RayAccelTest : public ::testing::Test
{
protected:
	void SetUp() override { doc = standin::NewDocument(); }
	void TearDown() override { standin::CloseAllDocuments(); }
	BaseDocument* doc = nullptr;
	Rng rng{20240611};
};

TEST_F(RayAccelTest, AgreesWithTheLoopOnRandomRays)
{
	PolygonObject* sphere = Sphere(80.0, 24, 40, rng);
	doc->InsertObject(sphere, nullptr, nullptr);
	sphere->SetMg(Frame(Vector(0.4, 0.3, 0.2), Vector(1.5, 0.7, 1.0), Vector(120, 10, -30)));

	PolygonObject* field = HeightField(400.0, 30);
	doc->InsertObject(field, nullptr, nullptr);
	field->SetMg(Frame(Vector(0, 0.1, 0), Vector(1, 1, 1), Vector(0, -100, 0)));

	// A child of a turned group, far from its own origin, so float rounding would show.
	BaseObject* group = BaseObject::Alloc(Onull);
	doc->InsertObject(group, nullptr, nullptr);
	group->SetMg(Frame(Vector(1.0, 0, 0.5), Vector(2, 2, 2), Vector(-50, 0, 0)));
	PolygonObject* nested = Sphere(5.0, 12, 16, rng);
	Vector* p = nested->GetPointW();
	for (Int32 i = 0; i < nested->GetPointCount(); ++i)
		p[i] += Vector(3000.0, 0, 0);
	doc->InsertObject(nested, group, nullptr);

	// Hidden in front of everything: never answered.
	PolygonObject* hidden = Sphere(300.0, 8, 8, rng);
	hidden->SetEditorMode(1);
	doc->InsertObject(hidden, nullptr, nullptr);

	for (PolygonObject* op : {sphere, field, nested})
	{
		SCOPED_TRACE(op == sphere ? "sphere" : op == field ? "height field" : "nested");
		// Every triangle of a sound mesh is Embree's.
		EXPECT_EQ(accel::ObjectMesh(op)->AcceleratedCount(), accel::ObjectMesh(op)->TriangleCount());
		const std::vector<Ray> rays = RandomRays(op, rng, 400);
		ExpectSameHits(op, rays);
		// The document as a pick sees it: same objects, same order, same depths.
		for (size_t i = 0; i < rays.size(); i += 10)
		{
			const auto fast = standin::view::CastRay(doc, rays[i].origin, rays[i].direction);
			const auto slow = LoopCast(doc, rays[i].origin, rays[i].direction);
			ASSERT_EQ(fast.size(), slow.size());
			for (size_t k = 0; k < fast.size(); ++k)
			{
				EXPECT_EQ(fast[k].object, slow[k].object);
				EXPECT_NEAR(fast[k].t, slow[k].t, 1e-5 * slow[k].t);
				EXPECT_NE(fast[k].object, hidden);
			}
		}
	}
}

TEST_F(RayAccelTest, RaysThroughSharedEdgesAndCornersNeverFallThrough)
{
	PolygonObject* grid = HeightField(100.0, 50); // cells of 2 units
	Vector* p = grid->GetPointW();
	for (Int32 i = 0; i < grid->GetPointCount(); ++i)
		p[i].y = 0.0;
	doc->InsertObject(grid, nullptr, nullptr);
	for (int i = 0; i < 2000; ++i)
	{
		// A grid point, or the middle of a cell's side or of its diagonal.
		const Float x = -50.0 + 2.0 * std::uniform_int_distribution<int>(1, 49)(rng) + ((i % 3 == 1) ? 1.0 : 0.0);
		const Float z = -50.0 + 2.0 * std::uniform_int_distribution<int>(1, 49)(rng) + ((i % 3 == 2) ? 1.0 : 0.0);
		const Vector target(x, 0.0, z);
		Vector up = RandomUnit(rng);
		up.y = std::abs(up.y) + 0.2;
		const Vector origin = target + up * Uniform(rng, 10.0, 500.0);
		accel::PolygonHit hit;
		ASSERT_TRUE(accel::RayObject(grid, origin, target - origin, kInf, &hit)) << "fell through at " << x << ", " << z;
		EXPECT_NEAR(hit.t, 1.0, 1e-9);
		EXPECT_NEAR(hit.local.x, x, 1e-6);
		EXPECT_NEAR(hit.local.z, z, 1e-6);
	}
}

TEST_F(RayAccelTest, WrittenGeometryIsRebuiltMovedObjectsAreNot)
{
	PolygonObject* field = HeightField(200.0, 20);
	doc->InsertObject(field, nullptr, nullptr);
	const Vector origin(10.0, 500.0, 10.0), down(0.0, -1.0, 0.0);
	accel::PolygonHit hit;
	// A ray that passes the object's box by builds nothing.
	const UInt64 before = accel::MeshesBuilt();
	EXPECT_FALSE(accel::RayObject(field, Vector(150.0, 500.0, 0.0), down, kInf, &hit));
	EXPECT_EQ(accel::MeshesBuilt(), before);
	ASSERT_TRUE(accel::RayObject(field, origin, down, kInf, &hit));
	const UInt64 built = accel::MeshesBuilt();
	EXPECT_EQ(built, before + 1);
	const accel::TriangleMesh* mesh = accel::ObjectMesh(field).get();

	// Moving, turning and scaling: the same mesh, the loop's answers.
	field->SetMg(Frame(Vector(0.3, 0.2, 0.1), Vector(2.0, 0.5, 1.0), Vector(5, 20, -5)));
	ExpectSameHits(field, RandomRays(field, rng, 300));
	field->SetMg(Matrix());
	EXPECT_EQ(accel::MeshesBuilt(), built);
	EXPECT_EQ(accel::ObjectMesh(field).get(), mesh);

	// A write access that changes nothing keeps the mesh; one that moves points is seen.
	field->GetPointW();
	ASSERT_TRUE(accel::RayObject(field, origin, down, kInf, &hit));
	EXPECT_EQ(accel::MeshesBuilt(), built);
	Vector* p = field->GetPointW();
	for (Int32 i = 0; i < field->GetPointCount(); ++i)
		p[i].y = 50.0;
	ASSERT_TRUE(accel::RayObject(field, origin, down, kInf, &hit));
	EXPECT_NEAR(hit.t, 450.0, 1e-9);
	EXPECT_EQ(accel::MeshesBuilt(), built + 1);

	// Writes through a pointer kept from before the last question are announced by MSG_UPDATE.
	for (Int32 i = 0; i < field->GetPointCount(); ++i)
		p[i].y = -100.0;
	field->Message(MSG_UPDATE);
	ASSERT_TRUE(accel::RayObject(field, origin, down, kInf, &hit));
	EXPECT_NEAR(hit.t, 600.0, 1e-9);

	// Rewired polygons, then none at all.
	CPolygon* q = field->GetPolygonW();
	for (Int32 i = 0; i < field->GetPolygonCount(); ++i)
		q[i] = CPolygon(0, 0, 0);
	EXPECT_FALSE(accel::RayObject(field, origin, down, kInf, &hit));
	ASSERT_TRUE(field->ResizeObject(0, 0));
	EXPECT_FALSE(accel::RayObject(field, origin, down, kInf, &hit));
	EXPECT_TRUE(standin::view::CastRay(doc, origin, down).empty());
}

TEST_F(RayAccelTest, CopiesShareOneMeshThatOutlivesTheObject)
{
	PolygonObject* sphere = Sphere(50.0, 16, 24, rng);
	accel::RayTarget target;
	ASSERT_TRUE(target.Init(sphere));
	const UInt64 built = accel::MeshesBuilt();
	auto* copy = static_cast<PolygonObject*>(sphere->GetClone());
	ASSERT_NE(copy, nullptr);
	EXPECT_EQ(accel::ObjectMesh(copy).get(), target.Mesh());
	EXPECT_EQ(accel::MeshesBuilt(), built);

	BaseObject* gone = sphere;
	BaseObject::Free(gone);
	accel::PolygonHit hit;
	ASSERT_TRUE(target.Intersect(Vector(0, 0, -500), Vector(0, 0, 1), kInf, &hit));
	EXPECT_NEAR(hit.t, 450.0, 5.0);
	// The reach bounds the answer.
	EXPECT_FALSE(target.Intersect(Vector(0, 0, -500), Vector(0, 0, 1), hit.t * 0.999, &hit));
	EXPECT_TRUE(target.Intersect(Vector(0, 0, -500), Vector(0, 0, 1), hit.t, &hit));
	gone = copy;
	BaseObject::Free(gone);
}

TEST_F(RayAccelTest, EmptyBrokenAndFlattenedObjectsAnswerAsTheLoop)
{
	const Vector origin(0.0, 0.0, -100.0), ahead(0.0, 0.0, 1.0);
	accel::PolygonHit hit;

	PolygonObject* empty = PolygonObject::Alloc(0, 0);
	PolygonObject* pointsOnly = PolygonObject::Alloc(3, 0);
	doc->InsertObject(empty, nullptr, nullptr);
	doc->InsertObject(pointsOnly, nullptr, nullptr);
	EXPECT_FALSE(accel::RayObject(empty, origin, ahead, kInf, &hit));
	EXPECT_FALSE(accel::RayObject(pointsOnly, origin, ahead, kInf, &hit));

	// Out-of-range and negative indices, a repeated corner, a corner at NaN, an infinite one:
	// only the one sound triangle remains.
	PolygonObject* broken = PolygonObject::Alloc(6, 6);
	Vector* p = broken->GetPointW();
	p[0] = Vector(-10, -10, 0);
	p[1] = Vector(10, -10, 0);
	p[2] = Vector(0, 10, 0);
	p[3] = Vector(std::nan(""), 0, 0);
	p[4] = Vector(kInf, 0, 0);
	p[5] = Vector(0, 10, 0);
	CPolygon* q = broken->GetPolygonW();
	q[0] = CPolygon(0, 1, 9);
	q[1] = CPolygon(-1, 1, 2);
	q[2] = CPolygon(0, 2, 5);
	q[3] = CPolygon(0, 1, 3);
	q[4] = CPolygon(0, 1, 4);
	q[5] = CPolygon(0, 2, 1);
	doc->InsertObject(broken, nullptr, nullptr);
	EXPECT_EQ(accel::ObjectMesh(broken)->TriangleCount(), 1u);
	ASSERT_TRUE(accel::RayObject(broken, origin, ahead, kInf, &hit));
	EXPECT_EQ(hit.polygon, 5);
	EXPECT_NEAR(hit.t, 100.0, 1e-12);
	const auto picks = standin::view::CastRay(doc, origin, ahead);
	ASSERT_EQ(picks.size(), 1u);
	EXPECT_EQ(picks[0].object, broken);

	// Bad rays meet nothing.
	EXPECT_FALSE(accel::RayObject(broken, Vector(std::nan(""), 0, 0), ahead, kInf, &hit));
	EXPECT_FALSE(accel::RayObject(broken, origin, Vector(), kInf, &hit));
	EXPECT_FALSE(accel::RayObject(broken, origin, ahead, -1.0, &hit));

	// A zero scale flattens the sphere onto a plane; no ray in object space stands for the
	// world's, so those answers come from the loop in world space.
	PolygonObject* flat = Sphere(40.0, 12, 16, rng);
	doc->InsertObject(flat, nullptr, nullptr);
	flat->SetMg(Frame(Vector(0.3, 0.5, 0.0), Vector(1.0, 0.0, 1.0), Vector(0, 0, 0)));
	ExpectSameHits(flat, RandomRays(flat, rng, 200));
}

TEST_F(RayAccelTest, SeveralThreadsAskOneObjectAtOnce)
{
	PolygonObject* sphere = Sphere(60.0, 30, 40, rng);
	doc->InsertObject(sphere, nullptr, nullptr);
	sphere->SetMg(Frame(Vector(0.2, 0.1, 0), Vector(1, 1, 1), Vector(10, 0, 0)));
	const std::vector<Ray> rays = RandomRays(sphere, rng, 400);
	std::vector<int> expected(rays.size(), -1);
	for (size_t i = 0; i < rays.size(); ++i)
	{
		Float t = 0.0;
		accel::PolygonHit hit;
		if (standin::view::RayPolygonObject(sphere, rays[i].origin, rays[i].direction, &t, &hit) && EdgeClearance(sphere, hit) > 1e-5)
			expected[i] = hit.polygon;
	}

	// The first question comes from all threads at once: one builds, the others wait for it.
	constexpr int kThreads = 4;
	std::vector<int> wrong(kThreads, 0);
	std::vector<std::thread> threads;
	for (int k = 0; k < kThreads; ++k)
	{
		threads.emplace_back([&, k] {
			for (int pass = 0; pass < 3; ++pass)
				for (size_t i = static_cast<size_t>(k); i < rays.size() + static_cast<size_t>(k); ++i)
				{
					const size_t r = i % rays.size();
					accel::PolygonHit hit;
					const bool found = accel::RayObject(sphere, rays[r].origin, rays[r].direction, kInf, &hit);
					if (expected[r] >= 0 && (!found || hit.polygon != expected[r]))
						++wrong[static_cast<size_t>(k)];
				}
		});
	}
	for (std::thread& t : threads)
		t.join();
	for (int k = 0; k < kThreads; ++k)
		EXPECT_EQ(wrong[static_cast<size_t>(k)], 0) << "thread " << k;
}

} // namespace
