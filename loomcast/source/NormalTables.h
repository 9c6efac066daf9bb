// The two point normals of Normals.h for every point of a mesh at once: one pass over the
// polygons instead of one per point, with the same sums in the same order, so every entry equals
// what VertexNormal or PointNormalByScan answers for that point, bit for bit.
#pragma once

#include "hostapi/objects.h"

// out[p] = VertexNormal(op, p) for every point p (out holds the point count).
void VertexNormalTable(const PolygonObject* op, Vector* out);
// out[p] = PointNormalByScan(op, p) for every point p; sums and counts are working space of the
// point count each (so the pass allocates nothing).
void ScanNormalTable(const PolygonObject* op, Vector* out, Vector* sums, Int32* counts);
