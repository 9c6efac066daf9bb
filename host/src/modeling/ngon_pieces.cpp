#include "modeling/ngon_pieces.h"

#include <cmath>

namespace modeling
{
namespace
{

// The ladder of a quad whose inserted points lie on sides k and k + 2 only, as many on each.
// Side k runs X0 = corner k ... X(m+1) = corner k+1, side k + 2 runs Y0 = corner k+2 ...
// Y(m+1) = corner k+3; rung i joins X(i) to Y(m+1-i), and piece i lies between rungs i and i + 1.
void Ladder(const CPolygon& q, const SideInserts& inserts, Int32 k, std::vector<CPolygon>& pieces)
{
	const std::vector<Int32>& xs = inserts.side[k];
	const std::vector<Int32>& ys = inserts.side[k + 2];
	const size_t m = xs.size();
	auto x = [&](size_t i) { return i == 0 ? Corner(q, k) : i == m + 1 ? Corner(q, k + 1) : xs[i - 1]; };
	auto y = [&](size_t i) { return i == 0 ? Corner(q, k + 2) : i == m + 1 ? Corner(q, (k + 3) % 4) : ys[i - 1]; };
	for (size_t i = 0; i <= m; ++i)
		pieces.push_back(CPolygon(x(i), x(i + 1), y(m - i), y(m + 1 - i)));
}

Float TriangleArea(const Vector& a, const Vector& b, const Vector& c)
{
	return std::sqrt(Cross(b - a, c - a).GetSquaredLength());
}

// Ear clipping of a convex ring whose straight runs are its original sides: three points that
// share a side lie on one line, so such an ear is never cut off, nor one that would leave the
// rest of the ring on one line.
void Triangulate(std::vector<RingPoint> ring, const std::function<Vector(Int32)>& position, std::vector<CPolygon>& pieces)
{
	while (ring.size() > 3)
	{
		const size_t n = ring.size();
		size_t onSide[4] = {0, 0, 0, 0};
		for (const RingPoint& r : ring)
			for (Int32 k = 0; k < 4; ++k)
				onSide[k] += (r.sides >> k) & 1u;
		size_t best = n;
		Float bestArea = -1.0;
		for (size_t i = 0; i < n; ++i)
		{
			const RingPoint& prev = ring[(i + n - 1) % n];
			const RingPoint& here = ring[i];
			const RingPoint& next = ring[(i + 1) % n];
			if ((prev.sides & here.sides & next.sides) != 0)
				continue;
			bool flatRest = false;
			for (Int32 k = 0; k < 4; ++k)
				flatRest = flatRest || onSide[k] - ((here.sides >> k) & 1u) == n - 1;
			if (flatRest)
				continue;
			const Float area = TriangleArea(position(prev.point), position(here.point), position(next.point));
			// NaN areas (points far out) count as 0 so that some ear is still taken.
			const Float score = std::isfinite(area) ? area : 0.0;
			if (score > bestArea)
			{
				bestArea = score;
				best = i;
			}
		}
		// Every ear lies along one side only when the base polygon itself is flat; cut at the first
		// point then, as a fan would.
		if (best == n)
			best = 1;
		const RingPoint& prev = ring[(best + n - 1) % n];
		const RingPoint& next = ring[(best + 1) % n];
		pieces.push_back(CPolygon(prev.point, ring[best].point, next.point));
		ring.erase(ring.begin() + static_cast<std::ptrdiff_t>(best));
	}
	pieces.push_back(CPolygon(ring[0].point, ring[1].point, ring[2].point));
}

} // namespace

std::vector<RingPoint> BuildRing(const CPolygon& polygon, const SideInserts& inserts)
{
	const Int32 count = CornerCount(polygon);
	std::vector<RingPoint> ring;
	for (Int32 k = 0; k < count; ++k)
	{
		const Int32 before = (k + count - 1) % count;
		ring.push_back({Corner(polygon, k), static_cast<std::uint8_t>((1u << k) | (1u << before))});
		for (Int32 p : inserts.side[k])
			ring.push_back({p, static_cast<std::uint8_t>(1u << k)});
	}
	return ring;
}

void SplitPolygon(const CPolygon& polygon, const SideInserts& inserts, const std::function<Vector(Int32)>& position,
	std::vector<CPolygon>& pieces)
{
	pieces.clear();
	if (inserts.Empty())
	{
		pieces.push_back(polygon);
		return;
	}
	if (CornerCount(polygon) == 4)
	{
		for (Int32 k = 0; k < 2; ++k)
		{
			const Int32 other = (k + 1) % 2;
			if (inserts.side[other].empty() && inserts.side[other + 2].empty() &&
				inserts.side[k].size() == inserts.side[k + 2].size())
			{
				Ladder(polygon, inserts, k, pieces);
				return;
			}
		}
	}
	Triangulate(BuildRing(polygon, inserts), position, pieces);
	// The piece with the first corner comes first.
	for (size_t i = 0; i < pieces.size(); ++i)
	{
		const CPolygon& p = pieces[i];
		if (p.a == polygon.a || p.b == polygon.a || p.c == polygon.a)
		{
			std::swap(pieces[0], pieces[i]);
			break;
		}
	}
}

} // namespace modeling
