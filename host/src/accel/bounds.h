// Axis-aligned boxes and the ray-box test that lets a pick pass objects by without looking at
// their polygons.
#pragma once

#include <cstddef>

#include "hostapi/vector.h"

namespace accel
{

struct Box
{
	Vector min, max;
	bool empty = true;

	void Add(const Vector& p);
};

// The box of the finite points among count (non-finite points can never be part of a hit).
Box BoundsOfPoints(const Vector* points, std::size_t count);

// The box in the frame's space holding the box's eight corners, grown by a small relative margin
// so that points mapped one at a time never round to just outside it.
Box TransformBox(const Box& box, const Matrix& m);

// True when the ray origin + direction * t meets the box for some t in [0, reach] (reach may be
// infinite). Conservative: a ray touching the box counts; a NaN ray meets nothing.
bool RayMeetsBox(const Box& box, const Vector& origin, const Vector& direction, Float reach);

// The same test, with the span [*enter, *leave] of t (within [0, reach]) where the ray is inside.
bool RaySpanInBox(const Box& box, const Vector& origin, const Vector& direction, Float reach, Float* enter, Float* leave);

} // namespace accel
