#include "accel/ray_triangle.h"

#include <cmath>

namespace accel
{
namespace
{

enum class Where
{
	Rejected,
	Outside,
	Inside,
};

// Moeller-Trumbore. The rejection tests keep their order, so an early answer "outside" never
// costs the later products.
Where Test(const Vector& origin, const Vector& direction, const Vector& a, const Vector& b, const Vector& c, bool wholePlane, Float* t, Float* u,
	Float* v)
{
	const Vector e1 = b - a;
	const Vector e2 = c - a;
	const Vector pv = Cross(direction, e2);
	const Float det = Dot(e1, pv);
	// Relative threshold: a triangle seen exactly edge-on, or a zero-area one, is not hit.
	const Float size = e1.GetLength() * e2.GetLength() * direction.GetLength();
	if (!(std::abs(det) > 1e-12 * size))
		return Where::Rejected;
	const Float inv = 1.0 / det;
	const Vector tv = origin - a;
	const Float bu = Dot(tv, pv) * inv;
	bool inside = !(bu < 0.0 || bu > 1.0);
	if (!inside && !wholePlane)
		return Where::Outside;
	const Vector qv = Cross(tv, e1);
	const Float bv = Dot(direction, qv) * inv;
	inside = inside && !(bv < 0.0 || bu + bv > 1.0);
	if (!inside && !wholePlane)
		return Where::Outside;
	const Float hit = Dot(e2, qv) * inv;
	if (!std::isfinite(hit))
		return Where::Rejected;
	*t = hit;
	if (u)
		*u = bu;
	if (v)
		*v = bv;
	return inside ? Where::Inside : Where::Outside;
}

} // namespace

bool RayTriangle(const Vector& origin, const Vector& direction, const Vector& a, const Vector& b, const Vector& c, Float* t, Float* u, Float* v)
{
	return Test(origin, direction, a, b, c, false, t, u, v) == Where::Inside;
}

bool RayTrianglePlane(const Vector& origin, const Vector& direction, const Vector& a, const Vector& b, const Vector& c, Float* t, Float* u, Float* v)
{
	return Test(origin, direction, a, b, c, true, t, u, v) != Where::Rejected;
}

} // namespace accel
