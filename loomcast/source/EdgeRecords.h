// The working list behind the edge-chain services: one record per usable selected edge, in
// selection order, with duplicate marks and shared-end counters.
#pragma once

#include "hostapi/objects.h"

struct EdgeRecord
{
	Int32 first = 0, second = 0; // the edge's points as the host reports them for its EdgeIndex
	Int32 edge = 0;              // EdgeIndex
	Int32 firstShared = 0;       // other (non-duplicate) records that also use `first`
	Int32 secondShared = 0;      // ... and `second`
	bool duplicate = false;      // same two points as an earlier record (the edge seen from its other polygon)
};

// Calls visit(edgeIndex, firstPoint, secondPoint) for every selected edge of op that names a real side of an existing
// polygon with two different points inside the point array; edges in selection-range order.
// Selected numbers past the polygons are never visited, however large the selection claims to be.
template <typename Visit>
void ForEachUsableSelectedEdge(const PolygonObject* op, Visit&& visit);

// Host-allocated record list of the usable selected edges.
class EdgeRecordList
{
public:
	EdgeRecordList() = default;
	EdgeRecordList(const EdgeRecordList&) = delete;
	EdgeRecordList& operator=(const EdgeRecordList&) = delete;
	~EdgeRecordList();

	// Collects the records; false when memory is short. An empty selection gives an empty list.
	bool Collect(const PolygonObject* op);
	// Marks duplicates (a later record naming the same two points, in either order).
	bool MarkDuplicates();
	// Fills the shared-end counters over the non-duplicate records. Needs MarkDuplicates first.
	bool CountSharedEnds();

	Int32 GetCount() const { return _count; }
	EdgeRecord& operator[](Int32 i) { return _records[i]; }
	const EdgeRecord& operator[](Int32 i) const { return _records[i]; }

private:
	EdgeRecord* _records = nullptr;
	Int32 _count = 0;
};

// ----------------------------------------------------------------------------------------------

#include <algorithm>

template <typename Visit>
void ForEachUsableSelectedEdge(const PolygonObject* op, Visit&& visit)
{
	if (!op)
		return;
	const BaseSelect* sel = op->GetEdgeS();
	const Int32 polyCount = op->GetPolygonCount();
	const Int32 pointCount = op->GetPointCount();
	if (!sel || polyCount <= 0 || pointCount <= 0)
		return;
	const Int64 lastEdge = static_cast<Int64>(polyCount) * 4 - 1;
	const Int32 segments = sel->GetSegments();
	for (Int32 seg = 0; seg < segments; ++seg)
	{
		Int32 from = 0, to = -1;
		if (!sel->GetRange(seg, &from, &to))
			continue;
		const Int64 start = std::max<Int64>(from, 0);
		const Int64 end = std::min<Int64>(to, lastEdge);
		for (Int64 e = start; e <= end; ++e)
		{
			Int32 first = -1, second = -1;
			if (!op->GetEdgePoints(static_cast<Int32>(e), &first, &second))
				continue;
			if (first == second || first < 0 || second < 0 || first >= pointCount || second >= pointCount)
				continue;
			visit(static_cast<Int32>(e), first, second);
		}
	}
}
