// Turning a triangle or quad whose sides received split points into the quads and triangles the
// host keeps (polygons here have at most four corners).
//
// A polygon with split points is a ring: its corners in order, and along each side (side k runs
// from corner k to corner k + 1) the points inserted into that side, in order from corner k. The
// ring becomes:
//   - a ladder of quads when it is a quad whose inserted points lie on two opposite sides only,
//     the same number on each: the i-th point of one side is joined to the i-th point of the other
//     counted from the same end, so a strip split across its length stays a strip of quads;
//   - otherwise triangles, by clipping ears: never three points of one original side (they lie on
//     one line), and of the ears allowed the one of largest area first.
// Every piece keeps the original's winding. The first piece holds the original's first corner;
// the kernel gives it the original's index.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "hostapi/objects.h"

namespace modeling
{

// Points inserted into the sides of one polygon.
struct SideInserts
{
	std::vector<Int32> side[4];
	bool Empty() const { return side[0].empty() && side[1].empty() && side[2].empty() && side[3].empty(); }
};

struct RingPoint
{
	Int32 point = 0;
	std::uint8_t sides = 0; // bit k: the point lies on original side k (corners lie on two)
};

// Number of corners of a polygon: 3 for a triangle (c == d), else 4.
inline Int32 CornerCount(const CPolygon& p) { return p.c == p.d ? 3 : 4; }
inline Int32 Corner(const CPolygon& p, Int32 k) { return k == 0 ? p.a : k == 1 ? p.b : k == 2 ? p.c : p.d; }

// The ring of a polygon with its inserted points.
std::vector<RingPoint> BuildRing(const CPolygon& polygon, const SideInserts& inserts);

// The pieces of the polygon with its inserted points (see above); position gives a point's
// position. pieces is replaced.
void SplitPolygon(const CPolygon& polygon, const SideInserts& inserts, const std::function<Vector(Int32)>& position,
	std::vector<CPolygon>& pieces);

} // namespace modeling
