// Vector normalisation and the two ways the tool computes a normal at a mesh point.
#pragma once

#include "hostapi/objects.h"

// Scales v to unit length in place and answers its former length; a zero vector stays as it is.
Float Normalize(Vector& v);
// A unit copy of v; the zero vector for a zero input.
Vector GetNormalized(const Vector& v);

// Average of the polygon normals at a point, found by scanning every polygon (no adjacency).
// A polygon counts once for each of its four slots holding the point, so a triangle whose point is
// c (and therefore d) counts twice. Zero vector when nothing uses the point or memory is short.
Vector PointNormalByScan(const PolygonObject* op, Int32 point);

// Normal at a point from its adjacent polygons, summed onto a (0,1,0) start so that an isolated
// point still faces up. The zero vector when adjacency cannot be built or the sum cancels out.
Vector VertexNormal(const PolygonObject* op, Int32 point);
