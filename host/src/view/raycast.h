// Ray casts against the polygon objects of a document, in world space.
#pragma once

#include <vector>

#include "accel/ray_triangle.h"
#include "accel/triangle_mesh.h"
#include "hostapi/objects.h"

class BaseDocument;

namespace standin::view
{

using accel::RayTriangle;

// The smallest t > 0 at which the ray meets the object's polygons (quads as triangles a-b-c and
// a-c-d), with the points mapped by the object's global matrix; false when it misses. Polygons whose
// indices lie outside the point array are skipped; equal t go to the earlier polygon. hit (when
// given) also gets the polygon and the hit point in object space.
// Every triangle is mapped and tested for every ray: this is the plain answer that the
// acceleration (accel/ray_target.h, which CastRay uses) is measured and tested against.
bool RayPolygonObject(const PolygonObject* op, const Vector& origin, const Vector& direction, Float* t, accel::PolygonHit* hit = nullptr);

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
// Each object is asked through its ray acceleration (objects whose box the ray misses are passed
// by). Throws std::bad_alloc.
std::vector<RayHit> CastRay(const BaseDocument* doc, const Vector& origin, const Vector& direction);

} // namespace standin::view
