// The state of the host's modelling kernel (hostapi/modeling.h): per object, the points and
// polygons added since InitObject, and the split points inserted into polygon sides, all pending
// until Commit writes them.
//
// Polygons have at most four corners here. A polygon that receives split points is kept as its
// corners plus the points along each side until Commit, which turns it into quads or triangles
// (ngon_pieces.h); its first piece keeps its index, further pieces are appended after the
// polygons created in the same run of work.
#pragma once

#include <unordered_map>
#include <vector>

#include "hostapi/modeling.h"
#include "modeling/ngon_pieces.h"

namespace scene
{
struct PolygonObjectData;
}

namespace modeling
{

struct SplitPoint
{
	Int32 from = 0;
	Int32 to = 0;
	Float t = 0.0;
};

struct ObjectWork
{
	UInt64 serial = 0; // the object's serial: it may be freed between calls
	Int32 basePoints = 0;
	Int32 basePolygons = 0;
	std::vector<Vector> points;     // added points, index basePoints + i
	std::vector<CPolygon> polygons; // created polygons, index basePolygons + i
	std::unordered_map<Int32, SideInserts> inserts; // by polygon index, existing or created
	std::unordered_map<Int32, SplitPoint> splits;   // by point index

	// Polygons by point, for SplitEdge, built on its first call: the object's polygons in a
	// compact table, created polygons and split points in extra.
	bool indexed = false;
	std::vector<Int32> firstOf;
	std::vector<Int32> polygonsOf;
	std::unordered_map<Int32, std::vector<Int32>> extra;

	bool Pending() const { return !points.empty() || !polygons.empty() || !inserts.empty(); }
	// Forgets pending work and takes the object's current counts as the base.
	void Rebase(Int32 pointCount, Int32 polygonCount);
	Int32 PointTotal() const { return basePoints + static_cast<Int32>(points.size()); }
	Int32 PolygonTotal() const { return basePolygons + static_cast<Int32>(polygons.size()); }
};

struct KernelData final : Modeling
{
	std::unordered_map<UInt64, ObjectWork> work; // by object serial
};

inline KernelData* KernelOf(Modeling* m) { return static_cast<KernelData*>(m); }

// The object of a piece of work while it still exists; nullptr once it was freed.
scene::PolygonObjectData* ObjectOfWork(const ObjectWork& w);

// Writes the pending work of each entry into its object (Modeling::Commit). Every object is
// prepared (checked, and every allocation made) before the first one changes, so false leaves
// all of them unchanged.
bool CommitWorks(const std::vector<ObjectWork*>& works, Int32 flags);

} // namespace modeling
