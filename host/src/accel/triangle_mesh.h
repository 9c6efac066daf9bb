// One polygon object's geometry as the ray acceleration holds it: an immutable copy in the
// object's own space, its triangles in an Embree scene, and the exact double test that decides
// every hit. Once built it never changes, so any number of threads may query it at once; it is
// shared by shared_ptr between objects of the same geometry and outlives the object it came from.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "accel/bounds.h"
#include "hostapi/objects.h"

namespace accel
{

class EmbreeTriangles;

struct PolygonHit
{
	Float t = 0.0;
	Int32 polygon = -1;
	Int32 half = 0; // 0: triangle a-b-c of the polygon, 1: a-c-d of a quad
	Vector local;	// where the ray meets the triangle, in the mesh's space
};

// How the answers relate to the exact loop over every triangle (RayTriangle in double):
// - Embree finds the nearest triangle in float, and the double test on that triangle decides.
//   Where it does not confirm it, Embree traverses again and every triangle its float test meets
//   is judged in double. Only double hits at 0 < t <= reach are kept, and t is always worked out
//   in double on the triangle reported.
// - Where the ray passes farther than float rounding from every edge and no two surfaces lie
//   within float rounding of each other along it, hit, t and triangle are the loop's (t equal
//   but for the rounding of taking the ray into object space).
// - Where it grazes an edge that closely, the double test may put it just outside the triangle
//   Embree named. Such a candidate still counts (t where the ray meets the triangle's plane, the
//   hit point a hair outside), so a ray through an edge two triangles share never falls through;
//   at an outline such a ray may count as a hit where the loop has none, and the reverse.
// - Float rounding is kept relative to the mesh: its float copy is centred on its box, and
//   Embree's ray starts just before the box, however far away the ray's own origin is.
class TriangleMesh
{
public:
	// A copy of the geometry. Polygons with an index outside the points are left out, as are
	// triangles with a non-finite or coinciding corner (the exact test never hits those).
	// Throws std::bad_alloc. Without Embree (reported in *warning) every triangle is tested in turn.
	static std::shared_ptr<const TriangleMesh> Build(const Vector* points, Int32 pointCount, const CPolygon* polygons, Int32 polygonCount,
		std::string* warning);
	~TriangleMesh();

	// A hash of the points and polygons exactly as given, and whether they are this mesh's.
	static UInt64 KeyOf(const Vector* points, Int32 pointCount, const CPolygon* polygons, Int32 polygonCount);
	UInt64 Key() const { return key_; }
	bool SameGeometry(const Vector* points, Int32 pointCount, const CPolygon* polygons, Int32 polygonCount) const;

	// The nearest hit at 0 < t <= reach of origin + direction * t (both in the mesh's space;
	// direction need not be of unit length, reach may be infinite). Equal t: the earlier polygon.
	bool Intersect(const Vector& origin, const Vector& direction, Float reach, PolygonHit* hit) const;

	// The exact loop itself, with every corner first mapped by toWorld and the ray given in that
	// space: the answer for frames that cannot be inverted. hit->local stays in the mesh's space.
	bool IntersectEach(const Matrix& toWorld, const Vector& origin, const Vector& direction, Float reach, PolygonHit* hit) const;

	// Embree's own float answer for the same ray, with no double test (for comparing figures).
	bool IntersectFloat(const Vector& origin, const Vector& direction, Float* t) const;

	// A box holding every finite point, a hair larger.
	const Box& Bounds() const { return bounds_; }
	std::size_t TriangleCount() const { return triangles_.size(); }
	// Triangles Embree holds (the others are tested one by one).
	std::size_t AcceleratedCount() const { return accelerated_; }

private:
	struct Query;
	TriangleMesh() = default;
	bool Candidate(Query& q, std::size_t triangle, bool fromEmbree) const;
	static bool Judge(void* user, UInt32 triangle);

	std::vector<Vector> points_;
	std::vector<CPolygon> polygons_;
	// One record per triangle, read by Embree too (its first three words), so that the double test
	// of a triangle Embree found costs one cache line besides the points.
	struct Triangle
	{
		UInt32 corner[3];
		UInt32 source; // polygon * 2 + half: the exact loop's order
	};
	void Fill(const Triangle& triangle, Float t, Float u, Float v, PolygonHit* hit) const;
	// First the triangles Embree holds, then the loose ones.
	std::vector<Triangle> triangles_;
	std::size_t accelerated_ = 0;
	std::vector<float> vertices_; // points less center_, in float, and one spare vertex
	Vector center_;
	Float diagonal_ = 0.0; // of the box
	Box bounds_;
	UInt64 key_ = 0;
	std::unique_ptr<EmbreeTriangles> embree_;
};

} // namespace accel
