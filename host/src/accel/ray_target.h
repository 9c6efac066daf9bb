// World-space ray questions on one polygon object, answered through its acceleration: the
// nearest hit with its polygon and where it lies on the object.
#pragma once

#include <memory>

#include "accel/object_slot.h"
#include "accel/triangle_mesh.h"

namespace accel
{

// A polygon object as rays see it at one moment: its mesh and its frame. Made on one thread, it
// may then be asked from any number of threads at once; it keeps the mesh alive however the
// object changes afterwards or even when it is freed.
class RayTarget
{
public:
	// False when op is no polygon object or has nothing a ray could hit. Throws std::bad_alloc.
	bool Init(const PolygonObject* op);
	bool Init(const PolygonObject* op, const Matrix& mg);

	// The nearest hit at 0 < t <= reach of origin + direction * t (world space; direction of any
	// length, reach may be infinite). hit->local is in the object's space. Equal t: the earlier
	// polygon. Frames that cannot be inverted (a zero scale) are answered by testing every
	// triangle in world space.
	bool Intersect(const Vector& origin, const Vector& direction, Float reach, PolygonHit* hit) const;

	const TriangleMesh* Mesh() const { return mesh_.get(); }

	// The question itself, on a mesh seen through a frame.
	static bool Intersect(const TriangleMesh& mesh, const ObjectFrame& frame, const Vector& origin, const Vector& direction, Float reach,
		PolygonHit* hit);

private:
	std::shared_ptr<const TriangleMesh> mesh_;
	ObjectFrame frame_;
};

// One question, as a pick asks it: objects whose world box the ray misses are passed by before
// their mesh is even built. Throws std::bad_alloc.
bool RayObject(const PolygonObject* op, const Vector& origin, const Vector& direction, Float reach, PolygonHit* hit);

} // namespace accel
