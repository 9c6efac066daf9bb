// Ray casts against the polygon objects of a document, in world space.
#pragma once

#include <vector>

#include "hostapi/objects.h"

class BaseDocument;

namespace standin::view
{

// Parameter t of the ray origin + direction * t where it meets triangle (a, b, c), seen from either
// side; false when it misses or the triangle (or the ray) is degenerate. Hits on an edge count.
bool RayTriangle(const Vector& origin, const Vector& direction, const Vector& a, const Vector& b, const Vector& c, Float* t);

// The smallest t > 0 at which the ray meets the object's polygons (quads as triangles a-b-c and
// a-c-d), with the points mapped by the object's global matrix; false when it misses. Polygons whose
// indices lie outside the point array are skipped.
bool RayPolygonObject(const PolygonObject* op, const Vector& origin, const Vector& direction, Float* t);

// The object after op in depth-first tree order (children first, then siblings, then the
// parents' siblings); nullptr at the end. Iterative, so deep trees cannot exhaust the stack.
BaseObject* NextObjectInTree(BaseObject* op);

struct RayHit
{
	BaseObject* object = nullptr;
	Float t = 0.0;
};

// Every polygon object of the document (the whole tree) that the ray meets at t > 0, each once with
// its nearest hit, sorted by t; equal t keep tree order. Objects hidden in the editor are skipped.
std::vector<RayHit> CastRay(const BaseDocument* doc, const Vector& origin, const Vector& direction);

} // namespace standin::view
