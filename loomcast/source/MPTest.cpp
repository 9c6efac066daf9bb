// One worker of the projection post-pass over its own run of polygons.
#include <atomic>
#include <cmath>

#include "ControlThread.h"
#include "Dtool.h"
#include "KernelTags.h"
#include "ToolSettings.h"
#include "hostapi/collider.h"
#include "hostapi/proxytag.h"

namespace
{
// How far a point looks for the target's surface along its normal, each way.
constexpr Float kSurfaceReach = 2e5;
// How far behind a point its rays start, relative to the point's size: far below any modelling
// distance, far above rounding.
constexpr Float kStartBack = 1e-9;

// The polygon object whose texture the view's rays read: the surface proxy's when the source
// has one (the rays meet that object), else the source itself.
const PolygonObject* TextureObject(BaseObject* source)
{
	BaseObject* op = source;
	if (BaseTag* tag = source->GetTag(Tsurfaceproxy))
		op = static_cast<SurfaceProxyTag*>(tag)->GetPolygonObject();
	return op && op->IsInstanceOf(Opolygon) ? static_cast<const PolygonObject*>(op) : nullptr;
}

bool CornersInRange(const CPolygon& p, Int32 pointCount)
{
	auto in = [pointCount](Int32 i) { return i >= 0 && i < pointCount; };
	return in(p.a) && in(p.b) && in(p.c) && in(p.d);
}

// Takes the point for this worker; false when another worker (or this one) already has it.
bool Claim(UChar* flags, Int32 p)
{
	return std::atomic_ref<UChar>(flags[p]).exchange(1, std::memory_order_relaxed) == 0;
}
} // namespace

void MPTest::Main()
{
	if (!shared)
		return;
	// First of all, whatever else this worker does: the others may be waiting for the copy.
	if (makesSurface)
		shared->surface.Make(document, surfaceTarget);
	if (!mesh)
		return;
	if (settings.GetBool(LOOM_UV_FROM_SOURCE) && uvSource)
		TransferTexture();
	if (surfaceTarget)
	{
		if (PolygonObject* surface = shared->surface.Wait())
			ProjectOntoSurface(surface);
	}
}

void MPTest::TransferTexture()
{
	BaseTag* tag = mesh->GetTag(Tuvw);
	if (!tag)
		return;
	UVWTag* uvw = static_cast<UVWTag*>(tag);
	const CPolygon* polys = mesh->GetPolygonR();
	const Int32 pointCount = mesh->GetPointCount();
	DTOOL dtool;
	for (Int32 i = firstPolygon; i < endPolygon && i < uvw->GetDataCount(); ++i)
	{
		const CPolygon& poly = polys[i];
		if (!CornersInRange(poly, pointCount))
			continue;
		const Int32 corners[4] = {poly.a, poly.b, poly.c, poly.d};
		const Int32 cornerCount = poly.IsTriangle() ? 3 : 4;
		Vector found[4];
		bool has[4] = {false, false, false, false};
		for (Int32 k = 0; k < cornerCount; ++k)
		{
			Vector w = shared->mg * shared->original[corners[k]];
			Int32 hitPolygon = -1;
			// A corner whose line of sight misses the source keeps its entry; the others go on.
			if (!dtool.ProjectThroughView(document, &w, &hitPolygon, uvSource))
				continue;
			const PolygonObject* textured = TextureObject(uvSource);
			has[k] = textured && dtool.UVAtSurfacePoint(textured, hitPolygon, w, &found[k]);
		}
		UVWStruct record = uvw->GetSlow(i);
		Vector* slots[4] = {&record.a, &record.b, &record.c, &record.d};
		for (Int32 k = 0; k < cornerCount; ++k)
		{
			if (has[k])
				*slots[k] = found[k];
		}
		uvw->SetSlow(i, record);
	}
}

void MPTest::ProjectOntoSurface(PolygonObject* surface)
{
	GeRayCollider* rc = GeRayCollider::Alloc();
	if (!rc || !rc->Init(surface, true))
	{
		GeRayCollider::Free(rc);
		return;
	}
	const CPolygon* polys = mesh->GetPolygonR();
	const Int32 pointCount = mesh->GetPointCount();
	for (Int32 i = firstPolygon; i < endPolygon; ++i)
	{
		const CPolygon& poly = polys[i];
		if (!CornersInRange(poly, pointCount))
			continue;
		const Int32 corners[4] = {poly.a, poly.b, poly.c, poly.d};
		const Int32 cornerCount = poly.IsTriangle() ? 3 : 4;
		for (Int32 k = 0; k < cornerCount; ++k)
		{
			const Int32 p = corners[k];
			if (!Claim(flags, p))
				continue;
			const Vector start = shared->mg * shared->original[p];
			const Vector& normal = shared->normals[p];
			// Along the normal first; the other way when the surface lies behind the point. Each ray
			// starts a hair behind the point, so that a point already on the surface (a stroke drawn
			// on it) finds the surface where it is: from the point itself a ray sees nothing at
			// distance 0 and would pass through the target to its far side.
			const Float back = kStartBack * (1.0 + std::fmax(std::fabs(start.x), std::fmax(std::fabs(start.y), std::fabs(start.z))));
			if (rc->Intersect(start - normal * back, normal, kSurfaceReach + back) || rc->Intersect(start + normal * back, -normal, kSurfaceReach + back))
			{
				GeRayColResult hit;
				if (rc->GetNearestIntersection(&hit))
					shared->points[p] = shared->toLocal * hit.hitpos;
			}
		}
	}
	GeRayCollider::Free(rc);
}
