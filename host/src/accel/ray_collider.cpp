// GeRayCollider on the per-object acceleration. A collider holds its own copy of the object's
// mesh handle and its last answer, so every thread may have its own colliders on one object; the
// mesh behind them is built once per geometry and shared read-only.
#include <new>

#include "accel/ray_target.h"
#include "accel/triangle_mesh.h"
#include "hostapi/collider.h"

namespace
{

struct ColliderData final : GeRayCollider
{
	accel::RayTarget target;
	bool ready = false;
	bool hit = false;
	GeRayColResult nearest;
};

ColliderData* DataOf(GeRayCollider* rc)
{
	return static_cast<ColliderData*>(rc);
}
const ColliderData* DataOf(const GeRayCollider* rc)
{
	return static_cast<const ColliderData*>(rc);
}

} // namespace

GeRayCollider* GeRayCollider::Alloc()
{
	return new (std::nothrow) ColliderData;
}

void GeRayCollider::Free(GeRayCollider*& rc)
{
	delete DataOf(rc);
	rc = nullptr;
}

bool GeRayCollider::Init(BaseObject* goal, bool force)
{
	(void)force;
	ColliderData* d = DataOf(this);
	d->ready = false;
	d->hit = false;
	if (!goal || !goal->IsInstanceOf(Opolygon))
		return false;
	try
	{
		// The identity frame: rays are asked in the object's own space.
		d->ready = d->target.Init(static_cast<const PolygonObject*>(goal), Matrix());
	}
	catch (const std::bad_alloc&)
	{
		d->ready = false;
	}
	return d->ready;
}

bool GeRayCollider::Intersect(const Vector& start, const Vector& dir, Float length, bool onlyTest)
{
	(void)onlyTest;
	ColliderData* d = DataOf(this);
	d->hit = false;
	if (!d->ready || !(length > 0.0) || dir.IsZero())
		return false;
	accel::PolygonHit h;
	if (!d->target.Intersect(start, dir, length, &h))
		return false;
	d->hit = true;
	d->nearest.face_id = h.polygon;
	d->nearest.hitpos = h.local;
	d->nearest.distance = h.t;
	return true;
}

bool GeRayCollider::GetNearestIntersection(GeRayColResult* res) const
{
	const ColliderData* d = DataOf(this);
	if (!d->hit || !res)
		return false;
	*res = d->nearest;
	return true;
}

Int32 GeRayCollider::GetIntersectionCount() const
{
	return DataOf(this)->hit ? 1 : 0;
}
