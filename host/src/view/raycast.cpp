#include "view/raycast.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "accel/ray_target.h"
#include "hostapi/document.h"

namespace standin::view
{

bool RayPolygonObject(const PolygonObject* op, const Vector& origin, const Vector& direction, Float* t, accel::PolygonHit* hit)
{
	const Int32 pointCount = op->GetPointCount();
	const Int32 polyCount = op->GetPolygonCount();
	const Vector* points = op->GetPointR();
	const CPolygon* polys = op->GetPolygonR();
	if (!points || !polys || pointCount <= 0 || polyCount <= 0)
		return false;
	const Matrix mg = op->GetMg();
	auto valid = [pointCount](Int32 i) { return i >= 0 && i < pointCount; };

	bool found = false;
	Float best = 0.0;
	accel::PolygonHit nearest;
	auto consider = [&](Int32 p, Int32 half, Int32 i, Int32 j, Int32 k) {
		Float at = 0.0, u = 0.0, v = 0.0;
		if (RayTriangle(origin, direction, mg * points[i], mg * points[j], mg * points[k], &at, &u, &v) && at > 0.0 && (!found || at < best))
		{
			best = at;
			found = true;
			nearest.t = at;
			nearest.polygon = p;
			nearest.half = half;
			nearest.local = points[i] + (points[j] - points[i]) * u + (points[k] - points[i]) * v;
		}
	};
	for (Int32 p = 0; p < polyCount; ++p)
	{
		const CPolygon& poly = polys[p];
		if (!valid(poly.a) || !valid(poly.b) || !valid(poly.c) || !valid(poly.d))
			continue;
		consider(p, 0, poly.a, poly.b, poly.c);
		if (!poly.IsTriangle())
			consider(p, 1, poly.a, poly.c, poly.d);
	}
	if (found)
	{
		*t = best;
		if (hit)
			*hit = nearest;
	}
	return found;
}

BaseObject* NextObjectInTree(BaseObject* op)
{
	if (BaseObject* down = op->GetDown())
		return down;
	while (op && !op->GetNext())
		op = op->GetUp();
	return op ? op->GetNext() : nullptr;
}

std::vector<RayHit> CastRay(const BaseDocument* doc, const Vector& origin, const Vector& direction)
{
	std::vector<RayHit> hits;
	if (!doc)
		return hits;
	for (BaseObject* op = doc->GetFirstObject(); op; op = NextObjectInTree(op))
	{
		if (op->GetEditorMode() == 1 || !op->IsInstanceOf(Opolygon))
			continue;
		accel::PolygonHit hit;
		if (accel::RayObject(static_cast<PolygonObject*>(op), origin, direction, std::numeric_limits<Float>::infinity(), &hit))
			hits.push_back({op, hit.t});
	}
	std::stable_sort(hits.begin(), hits.end(), [](const RayHit& l, const RayHit& r) { return l.t < r.t; });
	return hits;
}

} // namespace standin::view
