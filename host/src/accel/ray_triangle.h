// The exact ray-triangle test every ray question ends in, in double precision.
#pragma once

#include "hostapi/vector.h"

namespace accel
{

// Parameter t of the ray origin + direction * t where it meets triangle (a, b, c), seen from either
// side; false when it misses or the triangle (or the ray) is degenerate. Hits on an edge count.
// u and v (when given) are the barycentric weights of b and c at the hit.
bool RayTriangle(const Vector& origin, const Vector& direction, const Vector& a, const Vector& b, const Vector& c, Float* t, Float* u = nullptr,
	Float* v = nullptr);

// The same ray against the triangle's plane: t, u and v wherever the ray meets it, inside the
// triangle or not; false only where RayTriangle would reject the triangle or the ray outright
// (degenerate, edge-on, or a parameter that is not finite).
bool RayTrianglePlane(const Vector& origin, const Vector& direction, const Vector& a, const Vector& b, const Vector& c, Float* t, Float* u,
	Float* v);

} // namespace accel
