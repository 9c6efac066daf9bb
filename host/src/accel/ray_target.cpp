#include "accel/ray_target.h"

#include "accel/object_cache.h"

namespace accel
{

bool RayTarget::Init(const PolygonObject* op)
{
	return op && Init(op, op->GetMg());
}

bool RayTarget::Init(const PolygonObject* op, const Matrix& mg)
{
	mesh_ = nullptr;
	if (!FrameOf(op, mg, &frame_))
		return false;
	mesh_ = ObjectMesh(op);
	return mesh_ && mesh_->TriangleCount() > 0;
}

bool RayTarget::Intersect(const Vector& origin, const Vector& direction, Float reach, PolygonHit* hit) const
{
	return mesh_ && hit && Intersect(*mesh_, frame_, origin, direction, reach, hit);
}

bool RayTarget::Intersect(const TriangleMesh& mesh, const ObjectFrame& frame, const Vector& origin, const Vector& direction, Float reach,
	PolygonHit* hit)
{
	if (!frame.invertible)
		return mesh.IntersectEach(frame.toWorld, origin, direction, reach, hit);
	// An affine map keeps the ray's parameter: origin + direction * t maps to
	// toLocal(origin) + toLocal.TransformVector(direction) * t.
	return mesh.Intersect(frame.toLocal * origin, frame.toLocal.TransformVector(direction), reach, hit);
}

bool RayObject(const PolygonObject* op, const Vector& origin, const Vector& direction, Float reach, PolygonHit* hit)
{
	ObjectFrame frame;
	if (!op || !hit || !FrameOf(op, op->GetMg(), &frame) || !RayMeetsBox(frame.worldBox, origin, direction, reach))
		return false;
	const std::shared_ptr<const TriangleMesh> mesh = ObjectMesh(op);
	return mesh && RayTarget::Intersect(*mesh, frame, origin, direction, reach, hit);
}

} // namespace accel
