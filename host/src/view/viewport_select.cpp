// The viewport selection service: the edges of one object as the view shows them, each projected
// once at Init, those hidden behind other geometry left out.
#include "hostapi/viewport_select.h"

#include <cmath>
#include <new>
#include <vector>

#include "view/raycast.h"
#include "view/view_data.h"

namespace
{

struct ScreenEdge
{
	Int32 number = 0;
	Float ax = 0.0, ay = 0.0, bx = 0.0, by = 0.0;
};

struct ViewportSelectData final : ViewportSelect
{
	std::vector<ScreenEdge> edges;
};

ViewportSelectData* DataOf(ViewportSelect* vs)
{
	return static_cast<ViewportSelectData*>(vs);
}

const ViewportSelectData* DataOf(const ViewportSelect* vs)
{
	return static_cast<const ViewportSelectData*>(vs);
}

// True when nothing in the document lies between the camera and world point p. The polygons that
// hold p meet the ray at p itself, so only hits clearly before it hide it.
bool SeenFromCamera(const BaseDocument* doc, const standin::view::Projection& view, const Vector& p)
{
	constexpr Float kSlack = 1.0e-4;
	Vector origin;
	if (view.IsParallel())
	{
		const Vector s = view.WorldToScreen(p);
		origin = p - view.camera.v3 * s.z;
	}
	else
		origin = view.camera.off;
	const Vector direction = p - origin;
	if (!(direction.GetLength() > 0.0))
		return true;
	const std::vector<standin::view::RayHit> hits = standin::view::CastRay(doc, origin, direction);
	return hits.empty() || hits.front().t >= 1.0 - kSlack;
}

// Screen distance from (x, y) to the segment a-b.
Float SegmentDistance(const ScreenEdge& e, Float x, Float y)
{
	const Float dx = e.bx - e.ax, dy = e.by - e.ay;
	const Float len2 = dx * dx + dy * dy;
	Float t = len2 > 0.0 ? ((x - e.ax) * dx + (y - e.ay) * dy) / len2 : 0.0;
	t = t < 0.0 ? 0.0 : (t > 1.0 ? 1.0 : t);
	return std::hypot(x - (e.ax + t * dx), y - (e.ay + t * dy));
}

} // namespace

ViewportSelect* ViewportSelect::Alloc()
{
	return new (std::nothrow) ViewportSelectData();
}

void ViewportSelect::Free(ViewportSelect*& vs)
{
	delete DataOf(vs);
	vs = nullptr;
}

bool ViewportSelect::Init(Int32 width, Int32 height, BaseDraw* bd, BaseObject* op, Int32 mode, bool onlyVisible, Int32 flags)
{
	(void)flags;
	ViewportSelectData* self = DataOf(this);
	self->edges.clear();
	if (!bd || !op || !op->IsInstanceOf(Opolygon) || mode != Medges || width < 1 || height < 1)
		return false;
	const auto* poly = static_cast<const PolygonObject*>(op);
	const BaseDocument* doc = op->GetDocument();
	const standin::view::Projection view = standin::view::ViewDataOf(bd)->Current();
	const Int32 pointCount = poly->GetPointCount();
	const Vector* points = poly->GetPointR();
	const CPolygon* polygons = poly->GetPolygonR();
	if (!points || !polygons)
		return true;
	const Matrix mg = op->GetMg();
	try
	{
		for (Int32 p = 0; p < poly->GetPolygonCount(); ++p)
		{
			const CPolygon& q = polygons[p];
			const Int32 c[4] = {q.a, q.b, q.c, q.d};
			for (Int32 side = 0; side < 4; ++side)
			{
				const Int32 a = c[side], b = c[(side + 1) % 4];
				if (a == b || a < 0 || b < 0 || a >= pointCount || b >= pointCount)
					continue;
				const Vector wa = mg * points[a], wb = mg * points[b];
				const Vector sa = view.WorldToScreen(wa), sb = view.WorldToScreen(wb);
				if (!(sa.z > 0.0) || !(sb.z > 0.0) || !std::isfinite(sa.x + sa.y + sb.x + sb.y))
					continue;
				// An edge counts as seen when its middle or a point near either end is seen.
				if (onlyVisible && doc)
				{
					bool seen = false;
					for (const Float f : {0.5, 0.2, 0.8})
						seen = seen || SeenFromCamera(doc, view, wa + (wb - wa) * f);
					if (!seen)
						continue;
				}
				self->edges.push_back(ScreenEdge{4 * p + side, sa.x, sa.y, sb.x, sb.y});
			}
		}
	}
	catch (const std::bad_alloc&)
	{
		self->edges.clear();
		return false;
	}
	return true;
}

bool ViewportSelect::GetNearestEdge(Int32 x, Int32 y, Int32 radius, Int32* edge) const
{
	const ViewportSelectData* self = DataOf(this);
	bool found = false;
	Float best = 0.0;
	Int32 bestEdge = 0;
	for (const ScreenEdge& e : self->edges)
	{
		const Float d = SegmentDistance(e, x, y);
		if (d > radius)
			continue;
		if (!found || d < best || (d == best && e.number < bestEdge))
		{
			found = true;
			best = d;
			bestEdge = e.number;
		}
	}
	if (found && edge)
		*edge = bestEdge;
	return found;
}
