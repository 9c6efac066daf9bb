// Edges of a polygon object are numbered 4 * polygon + side; side 0 joins a-b, 1 b-c, 2 c-d,
// 3 d-a. On a triangle (c == d) side 2 is the degenerate c-c and never selected.
#pragma once

#include "hostapi/objects.h"

constexpr Int32 EdgeIndexOf(Int32 polygon, Int32 side) { return 4 * polygon + side; }
constexpr Int32 EdgePolygon(Int32 edge) { return edge / 4; }
constexpr Int32 EdgeSide(Int32 edge) { return edge % 4; }

// The start and end point of one side of a polygon (side taken modulo 4).
constexpr void EdgeSidePoints(const CPolygon& poly, Int32 side, Int32* first, Int32* second)
{
	switch (side & 3)
	{
		case 0: *first = poly.a; *second = poly.b; break;
		case 1: *first = poly.b; *second = poly.c; break;
		case 2: *first = poly.c; *second = poly.d; break;
		default: *first = poly.d; *second = poly.a; break;
	}
}

// True for the side that joins a point to itself (side 2 of a triangle).
constexpr bool IsDegenerateSide(const CPolygon& poly, Int32 side)
{
	Int32 first = 0, second = 0;
	EdgeSidePoints(poly, side, &first, &second);
	return first == second;
}
