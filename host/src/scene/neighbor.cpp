// Neighbor: which polygons use a point, which polygons share an edge.
#include <algorithm>
#include <new>
#include <unordered_map>
#include <vector>

#include "hostapi/objects.h"
#include "scene/object_data.h"

namespace
{

struct EdgePolys
{
	Int32 first = -1;
	Int32 second = -1;
};

struct NeighborData final : Neighbor
{
	// Point -> polygons, compressed: the polygons of usedPoints[k] are
	// pointPolys[offsets[k] .. offsets[k + 1]). Sized by the polygons, not by the point count.
	std::vector<Int32> usedPoints;
	std::vector<Int32> offsets;
	std::vector<Int32> pointPolys;
	std::unordered_map<UInt64, EdgePolys> edges;

	void Clear()
	{
		usedPoints.clear();
		offsets.clear();
		pointPolys.clear();
		edges.clear();
	}
};

NeighborData* DataOf(Neighbor* nb) { return static_cast<NeighborData*>(nb); }
const NeighborData* DataOf(const Neighbor* nb) { return static_cast<const NeighborData*>(nb); }

UInt64 EdgeKey(Int32 a, Int32 b)
{
	const auto lo = static_cast<UInt32>(std::min(a, b));
	const auto hi = static_cast<UInt32>(std::max(a, b));
	return (UInt64{lo} << 32) | hi;
}

// The corners of a polygon without the repeated corner of a triangle.
int Corners(const CPolygon& p, Int32 out[4])
{
	out[0] = p.a;
	out[1] = p.b;
	out[2] = p.c;
	if (p.IsTriangle())
		return 3;
	out[3] = p.d;
	return 4;
}

} // namespace

Neighbor* Neighbor::Alloc()
{
	return new (std::nothrow) NeighborData;
}

void Neighbor::Free(Neighbor*& nb)
{
	delete DataOf(nb);
	nb = nullptr;
}

bool Neighbor::Init(Int32 pointCount, const CPolygon* polygons, Int32 polygonCount)
{
	NeighborData* d = DataOf(this);
	d->Clear();
	if (pointCount < 0 || polygonCount < 0 || polygonCount > scene::kMaxElements || (polygonCount > 0 && !polygons))
		return false;
	for (Int32 i = 0; i < polygonCount; ++i)
	{
		const CPolygon& p = polygons[i];
		for (Int32 v : {p.a, p.b, p.c, p.d})
		{
			if (v < 0 || v >= pointCount)
				return false;
		}
	}
	try
	{
		std::vector<std::pair<Int32, Int32>> uses; // (point, polygon)
		uses.reserve(static_cast<size_t>(polygonCount) * 4);
		d->edges.reserve(static_cast<size_t>(polygonCount) * 2);
		Int32 corners[4];
		for (Int32 i = 0; i < polygonCount; ++i)
		{
			const int n = Corners(polygons[i], corners);
			for (int k = 0; k < n; ++k)
			{
				uses.emplace_back(corners[k], i);
				const Int32 a = corners[k];
				const Int32 b = corners[(k + 1) % n];
				if (a == b)
					continue; // degenerate side
				EdgePolys& e = d->edges[EdgeKey(a, b)];
				// Polygons arrive in ascending order; a third polygon on an edge is not kept.
				if (e.first == -1)
					e.first = i;
				else if (e.first != i && e.second == -1)
					e.second = i;
			}
		}
		std::sort(uses.begin(), uses.end());
		uses.erase(std::unique(uses.begin(), uses.end()), uses.end());
		d->pointPolys.reserve(uses.size());
		for (const auto& [point, poly] : uses)
		{
			if (d->usedPoints.empty() || d->usedPoints.back() != point)
			{
				d->usedPoints.push_back(point);
				d->offsets.push_back(static_cast<Int32>(d->pointPolys.size()));
			}
			d->pointPolys.push_back(poly);
		}
		d->offsets.push_back(static_cast<Int32>(d->pointPolys.size()));
		return true;
	}
	catch (const std::bad_alloc&)
	{
		d->Clear();
		return false;
	}
}

void Neighbor::GetPointPolys(Int32 point, const Int32** polys, Int32* count) const
{
	const NeighborData* d = DataOf(this);
	const Int32* list = nullptr;
	Int32 n = 0;
	auto it = std::lower_bound(d->usedPoints.begin(), d->usedPoints.end(), point);
	if (it != d->usedPoints.end() && *it == point)
	{
		const size_t k = static_cast<size_t>(it - d->usedPoints.begin());
		list = d->pointPolys.data() + d->offsets[k];
		n = d->offsets[k + 1] - d->offsets[k];
	}
	if (polys)
		*polys = list;
	if (count)
		*count = n;
}

Int32 Neighbor::GetNeighbor(Int32 a, Int32 b, Int32 poly) const
{
	Int32 first = -1, second = -1;
	GetEdgePolys(a, b, &first, &second);
	if (first == poly)
		return second;
	if (second == poly)
		return first;
	return -1;
}

void Neighbor::GetEdgePolys(Int32 a, Int32 b, Int32* first, Int32* second) const
{
	const NeighborData* d = DataOf(this);
	EdgePolys found;
	if (a != b)
	{
		auto it = d->edges.find(EdgeKey(a, b));
		if (it != d->edges.end())
			found = it->second;
	}
	if (first)
		*first = found.first;
	if (second)
		*second = found.second;
}
