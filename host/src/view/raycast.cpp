#include "view/raycast.h"

#include <algorithm>
#include <cmath>

#include "hostapi/document.h"

namespace standin::view
{

bool RayTriangle(const Vector& origin, const Vector& direction, const Vector& a, const Vector& b, const Vector& c, Float* t)
{
	const Vector e1 = b - a;
	const Vector e2 = c - a;
	const Vector pv = Cross(direction, e2);
	const Float det = Dot(e1, pv);
	// Relative threshold: a triangle seen exactly edge-on, or a zero-area one, is not hit.
	const Float size = e1.GetLength() * e2.GetLength() * direction.GetLength();
	if (!(std::abs(det) > 1e-12 * size))
		return false;
	const Float inv = 1.0 / det;
	const Vector tv = origin - a;
	const Float u = Dot(tv, pv) * inv;
	if (u < 0.0 || u > 1.0)
		return false;
	const Vector qv = Cross(tv, e1);
	const Float v = Dot(direction, qv) * inv;
	if (v < 0.0 || u + v > 1.0)
		return false;
	const Float hit = Dot(e2, qv) * inv;
	if (!std::isfinite(hit))
		return false;
	*t = hit;
	return true;
}

bool RayPolygonObject(const PolygonObject* op, const Vector& origin, const Vector& direction, Float* t)
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
	auto consider = [&](Int32 i, Int32 j, Int32 k) {
		Float hit = 0.0;
		if (RayTriangle(origin, direction, mg * points[i], mg * points[j], mg * points[k], &hit) && hit > 0.0 && (!found || hit < best))
		{
			best = hit;
			found = true;
		}
	};
	for (Int32 p = 0; p < polyCount; ++p)
	{
		const CPolygon& poly = polys[p];
		if (!valid(poly.a) || !valid(poly.b) || !valid(poly.c) || !valid(poly.d))
			continue;
		consider(poly.a, poly.b, poly.c);
		if (!poly.IsTriangle())
			consider(poly.a, poly.c, poly.d);
	}
	if (found)
		*t = best;
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
		Float t = 0.0;
		if (RayPolygonObject(static_cast<PolygonObject*>(op), origin, direction, &t))
			hits.push_back({op, t});
	}
	std::stable_sort(hits.begin(), hits.end(), [](const RayHit& l, const RayHit& r) { return l.t < r.t; });
	return hits;
}

} // namespace standin::view
