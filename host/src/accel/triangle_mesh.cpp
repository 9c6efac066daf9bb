#include "accel/triangle_mesh.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

#include "accel/embree_scene.h"
#include "accel/ray_triangle.h"

namespace accel
{
namespace
{

constexpr Float kInfinity = std::numeric_limits<Float>::infinity();

bool IsFinite(const Vector& v)
{
	return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z);
}

Float Largest(const Vector& v)
{
	return std::max({std::abs(v.x), std::abs(v.y), std::abs(v.z)});
}

UInt64 Mix(UInt64 h, UInt64 word)
{
	h ^= word * 0x9E3779B97F4A7C15ull;
	h = (h << 27) | (h >> 37);
	return h * 0x94D049BB133111EBull;
}

UInt64 MixBytes(UInt64 h, const void* data, std::size_t bytes)
{
	const auto* p = static_cast<const unsigned char*>(data);
	std::size_t i = 0;
	for (; i + 8 <= bytes; i += 8)
	{
		UInt64 word = 0;
		std::memcpy(&word, p + i, 8);
		h = Mix(h, word);
	}
	UInt64 tail = 0;
	std::memcpy(&tail, p + i, bytes - i);
	return Mix(h, tail ^ bytes);
}

// How far before the mesh's box the float ray starts, as a share of the box's size: enough that
// nothing on the box's faces lies behind the start, little enough to keep float rounding small.
constexpr Float kLeadIn = 1e-3;

} // namespace

struct TriangleMesh::Query
{
	Vector origin, direction;
	Float reach = 0.0;
	bool found = false;
	bool exact = false;
	Float t = 0.0, u = 0.0, v = 0.0;
	std::size_t triangle = 0;
	const TriangleMesh* mesh = nullptr;
};

std::shared_ptr<const TriangleMesh> TriangleMesh::Build(const Vector* points, Int32 pointCount, const CPolygon* polygons, Int32 polygonCount,
	std::string* warning)
{
	if (!points || pointCount < 0)
		pointCount = 0;
	if (!polygons || polygonCount < 0)
		polygonCount = 0;
	std::shared_ptr<TriangleMesh> mesh(new TriangleMesh);
	TriangleMesh& m = *mesh;
	m.key_ = KeyOf(points, pointCount, polygons, polygonCount);
	m.points_.assign(points, points + pointCount);
	m.polygons_.assign(polygons, polygons + polygonCount);
	m.bounds_ = BoundsOfPoints(m.points_.data(), m.points_.size());
	if (!m.bounds_.empty)
	{
		m.center_ = m.bounds_.min * 0.5 + m.bounds_.max * 0.5;
		m.diagonal_ = (m.bounds_.max - m.bounds_.min).GetLength();
		// A hair larger, so that the box test never rounds away a hit on the box's faces.
		const Float margin = 1e-9 * ((m.bounds_.max - m.bounds_.min).GetLength() + std::max(Largest(m.bounds_.min), Largest(m.bounds_.max)));
		m.bounds_.min -= Vector(margin);
		m.bounds_.max += Vector(margin);
	}

	// Float copies about the centre, so rounding is relative to the mesh's size, not to its
	// distance from the object's origin.
	const std::size_t n = m.points_.size();
	m.vertices_.assign(3 * (n + 1), 0.0f);
	std::vector<bool> floatFine(n, false);
	for (std::size_t i = 0; i < n; ++i)
	{
		if (!IsFinite(m.points_[i]))
			continue;
		const Vector p = m.points_[i] - m.center_;
		const float f[3] = {static_cast<float>(p.x), static_cast<float>(p.y), static_cast<float>(p.z)};
		if (!std::isfinite(f[0]) || !std::isfinite(f[1]) || !std::isfinite(f[2]))
			continue;
		std::memcpy(&m.vertices_[3 * i], f, sizeof f);
		floatFine[i] = true;
	}
	auto floatCorner = [&m](UInt32 i) { return Vector(m.vertices_[3 * i], m.vertices_[3 * i + 1], m.vertices_[3 * i + 2]); };

	std::vector<Triangle> loose;
	auto add = [&](Int32 ia, Int32 ib, Int32 ic, UInt32 source) {
		const UInt32 a = static_cast<UInt32>(ia), b = static_cast<UInt32>(ib), c = static_cast<UInt32>(ic);
		const Vector& pa = m.points_[a];
		const Vector& pb = m.points_[b];
		const Vector& pc = m.points_[c];
		// The exact test never hits these, whatever the ray.
		if (!IsFinite(pa) || !IsFinite(pb) || !IsFinite(pc) || Cross(pb - pa, pc - pa).IsZero())
			return;
		// Embree cannot hold a triangle whose float corners overflowed or fell onto one line.
		const bool inFloat = floatFine[a] && floatFine[b] && floatFine[c] &&
			!Cross(floatCorner(b) - floatCorner(a), floatCorner(c) - floatCorner(a)).IsZero();
		(inFloat ? m.triangles_ : loose).push_back({{a, b, c}, source});
	};
	for (Int32 p = 0; p < polygonCount; ++p)
	{
		const CPolygon& poly = polygons[p];
		auto valid = [pointCount](Int32 i) { return i >= 0 && i < pointCount; };
		if (!valid(poly.a) || !valid(poly.b) || !valid(poly.c) || !valid(poly.d))
			continue;
		const UInt32 source = static_cast<UInt32>(p) * 2;
		add(poly.a, poly.b, poly.c, source);
		if (!poly.IsTriangle())
			add(poly.a, poly.c, poly.d, source + 1);
	}
	m.accelerated_ = m.triangles_.size();
	m.triangles_.insert(m.triangles_.end(), loose.begin(), loose.end());

	if (m.accelerated_ > 0)
	{
		std::string error;
		m.embree_ = EmbreeTriangles::Build(m.vertices_.data(), n, m.triangles_.front().corner, sizeof(Triangle), m.accelerated_, &error);
		if (!m.embree_)
		{
			m.accelerated_ = 0;
			if (warning)
				*warning = error;
		}
	}
	if (!m.embree_)
		std::vector<float>().swap(m.vertices_);
	return mesh;
}

TriangleMesh::~TriangleMesh()
{
	// The scene goes first: it reads the arrays below until it is released.
	embree_.reset();
}

UInt64 TriangleMesh::KeyOf(const Vector* points, Int32 pointCount, const CPolygon* polygons, Int32 polygonCount)
{
	UInt64 h = Mix(static_cast<UInt64>(pointCount), static_cast<UInt64>(polygonCount));
	if (points && pointCount > 0)
		h = MixBytes(h, points, sizeof(Vector) * static_cast<std::size_t>(pointCount));
	if (polygons && polygonCount > 0)
		h = MixBytes(h, polygons, sizeof(CPolygon) * static_cast<std::size_t>(polygonCount));
	return h;
}

bool TriangleMesh::SameGeometry(const Vector* points, Int32 pointCount, const CPolygon* polygons, Int32 polygonCount) const
{
	// Bit for bit, as the key is taken: a -0 where there was a 0 only costs a rebuild.
	const std::size_t np = points && pointCount > 0 ? static_cast<std::size_t>(pointCount) : 0;
	const std::size_t nq = polygons && polygonCount > 0 ? static_cast<std::size_t>(polygonCount) : 0;
	return np == points_.size() && nq == polygons_.size() && (np == 0 || std::memcmp(points, points_.data(), np * sizeof(Vector)) == 0) &&
		(nq == 0 || std::memcmp(polygons, polygons_.data(), nq * sizeof(CPolygon)) == 0);
}

bool TriangleMesh::Candidate(Query& q, std::size_t triangle, bool fromEmbree) const
{
	const UInt32* corner = triangles_[triangle].corner;
	const Vector& a = points_[corner[0]];
	const Vector& b = points_[corner[1]];
	const Vector& c = points_[corner[2]];
	Float t = 0.0, u = 0.0, v = 0.0;
	const bool exact = RayTriangle(q.origin, q.direction, a, b, c, &t, &u, &v);
	// Embree's float test said this one is hit: if the double test puts the ray just outside,
	// it grazes an edge, and its neighbour may not have been offered.
	if (!exact && !(fromEmbree && RayTrianglePlane(q.origin, q.direction, a, b, c, &t, &u, &v)))
		return false;
	if (!(t > 0.0) || t > q.reach)
		return false;
	const bool better = !q.found || t < q.t ||
		(t == q.t && (exact != q.exact ? exact : triangles_[triangle].source < triangles_[q.triangle].source));
	if (better)
	{
		q.found = true;
		q.exact = exact;
		q.t = t;
		q.u = u;
		q.v = v;
		q.triangle = triangle;
	}
	return true;
}

bool TriangleMesh::Judge(void* user, UInt32 triangle)
{
	Query& q = *static_cast<Query*>(user);
	return q.mesh->Candidate(q, triangle, true);
}

bool TriangleMesh::Intersect(const Vector& origin, const Vector& direction, Float reach, PolygonHit* hit) const
{
	Query q;
	q.origin = origin;
	q.direction = direction;
	q.reach = reach;
	q.mesh = this;
	Float enter = 0.0, leave = 0.0;
	if (triangles_.empty() || !RaySpanInBox(bounds_, origin, direction, reach, &enter, &leave))
		return false;

	std::size_t firstLoose = 0;
	if (embree_)
	{
		// Embree's ray starts just before the box, so its float origin is as exact as the mesh.
		const Float lead = kLeadIn * diagonal_ / direction.GetLength();
		const Float start = std::max(0.0, enter - lead);
		const Vector from = origin + direction * start - center_;
		const float org[3] = {static_cast<float>(from.x), static_cast<float>(from.y), static_cast<float>(from.z)};
		const float dir[3] = {static_cast<float>(direction.x), static_cast<float>(direction.y), static_cast<float>(direction.z)};
		const bool usable = std::isfinite(org[0]) && std::isfinite(org[1]) && std::isfinite(org[2]) && std::isfinite(dir[0]) && std::isfinite(dir[1]) &&
			std::isfinite(dir[2]) && (dir[0] != 0.0f || dir[1] != 0.0f || dir[2] != 0.0f);
		if (usable)
		{
			// The float search ends a little past the box; the double test holds to reach.
			float far = std::nextafter(static_cast<float>(leave - start + lead), std::numeric_limits<float>::infinity());
			if (std::isnan(far))
				far = std::numeric_limits<float>::infinity();
			// Most rays: Embree's nearest float hit is plainly a hit in double too. Where it is
			// not (the ray grazes an edge, or starts on the surface), every candidate is judged.
			UInt32 nearest = 0;
			float nearestT = 0.0f;
			if (embree_->IntersectPlain(org, dir, far, &nearest, &nearestT) && !Candidate(q, nearest, false))
				embree_->Intersect(org, dir, far, &Judge, &q);
			firstLoose = accelerated_;
		}
	}
	for (std::size_t i = firstLoose; i < triangles_.size(); ++i)
		Candidate(q, i, false);
	if (!q.found)
		return false;
	Fill(triangles_[q.triangle], q.t, q.u, q.v, hit);
	return true;
}

void TriangleMesh::Fill(const Triangle& triangle, Float t, Float u, Float v, PolygonHit* hit) const
{
	const Vector& a = points_[triangle.corner[0]];
	hit->t = t;
	hit->polygon = static_cast<Int32>(triangle.source / 2);
	hit->half = static_cast<Int32>(triangle.source % 2);
	hit->local = a + (points_[triangle.corner[1]] - a) * u + (points_[triangle.corner[2]] - a) * v;
}

bool TriangleMesh::IntersectEach(const Matrix& toWorld, const Vector& origin, const Vector& direction, Float reach, PolygonHit* hit) const
{
	bool found = false;
	Float best = 0.0, bu = 0.0, bv = 0.0;
	std::size_t bestTriangle = 0;
	for (std::size_t i = 0; i < triangles_.size(); ++i)
	{
		const UInt32* corner = triangles_[i].corner;
		Float t = 0.0, u = 0.0, v = 0.0;
		if (!RayTriangle(origin, direction, toWorld * points_[corner[0]], toWorld * points_[corner[1]], toWorld * points_[corner[2]], &t, &u, &v))
			continue;
		if (!(t > 0.0) || t > reach)
			continue;
		if (!found || t < best || (t == best && triangles_[i].source < triangles_[bestTriangle].source))
		{
			found = true;
			best = t;
			bu = u;
			bv = v;
			bestTriangle = i;
		}
	}
	if (!found)
		return false;
	Fill(triangles_[bestTriangle], best, bu, bv, hit);
	return true;
}

bool TriangleMesh::IntersectFloat(const Vector& origin, const Vector& direction, Float* t) const
{
	if (!embree_)
		return false;
	const Vector from = origin - center_;
	const float org[3] = {static_cast<float>(from.x), static_cast<float>(from.y), static_cast<float>(from.z)};
	const float dir[3] = {static_cast<float>(direction.x), static_cast<float>(direction.y), static_cast<float>(direction.z)};
	UInt32 triangle = 0;
	float ft = 0.0f;
	if (!embree_->IntersectPlain(org, dir, std::numeric_limits<float>::infinity(), &triangle, &ft))
		return false;
	*t = ft;
	return true;
}

} // namespace accel
