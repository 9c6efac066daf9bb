#include "accel/bounds.h"

#include <algorithm>
#include <cmath>

namespace accel
{
namespace
{

bool IsFinite(const Vector& v)
{
	return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z);
}

Float Largest(const Vector& v)
{
	return std::max({std::abs(v.x), std::abs(v.y), std::abs(v.z)});
}

// One slab: narrows [*lo, *hi] to the t where origin + direction * t lies in [min, max].
bool Slab(Float min, Float max, Float origin, Float direction, Float* lo, Float* hi)
{
	if (direction == 0.0)
		return origin >= min && origin <= max;
	Float t1 = (min - origin) / direction;
	Float t2 = (max - origin) / direction;
	if (t1 > t2)
		std::swap(t1, t2);
	if (t1 > *lo)
		*lo = t1;
	if (t2 < *hi)
		*hi = t2;
	return *lo <= *hi;
}

} // namespace

void Box::Add(const Vector& p)
{
	if (empty)
	{
		min = max = p;
		empty = false;
		return;
	}
	min = Vector(std::min(min.x, p.x), std::min(min.y, p.y), std::min(min.z, p.z));
	max = Vector(std::max(max.x, p.x), std::max(max.y, p.y), std::max(max.z, p.z));
}

Box BoundsOfPoints(const Vector* points, std::size_t count)
{
	Box box;
	for (std::size_t i = 0; points && i < count; ++i)
	{
		if (IsFinite(points[i]))
			box.Add(points[i]);
	}
	return box;
}

Box TransformBox(const Box& box, const Matrix& m)
{
	Box out;
	if (box.empty)
		return out;
	for (int corner = 0; corner < 8; ++corner)
	{
		const Vector p((corner & 1) ? box.max.x : box.min.x, (corner & 2) ? box.max.y : box.min.y, (corner & 4) ? box.max.z : box.min.z);
		out.Add(m * p);
	}
	// A point inside maps to within a few units of the last place of the terms summed for it
	// (which may cancel to far less than themselves), so the margin is taken from the terms.
	const Float inputs = std::max(Largest(box.min), Largest(box.max));
	const Float terms = Largest(m.off) + (Largest(m.v1) + Largest(m.v2) + Largest(m.v3)) * inputs;
	const Float margin = 1e-12 * terms;
	out.min -= Vector(margin);
	out.max += Vector(margin);
	return out;
}

bool RayMeetsBox(const Box& box, const Vector& origin, const Vector& direction, Float reach)
{
	Float enter = 0.0, leave = 0.0;
	return RaySpanInBox(box, origin, direction, reach, &enter, &leave);
}

bool RaySpanInBox(const Box& box, const Vector& origin, const Vector& direction, Float reach, Float* enter, Float* leave)
{
	if (box.empty || !IsFinite(origin) || !IsFinite(direction) || !(reach >= 0.0))
		return false;
	Float lo = 0.0, hi = reach;
	// A box that overflowed while it was mapped cannot be tested; the polygons decide.
	const bool inside = !IsFinite(box.min) || !IsFinite(box.max) ||
		(Slab(box.min.x, box.max.x, origin.x, direction.x, &lo, &hi) && Slab(box.min.y, box.max.y, origin.y, direction.y, &lo, &hi) &&
			Slab(box.min.z, box.max.z, origin.z, direction.z, &lo, &hi));
	*enter = lo;
	*leave = hi;
	return inside;
}

} // namespace accel
