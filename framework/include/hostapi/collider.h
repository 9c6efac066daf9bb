// The host's ray-intersection service for one polygon object: rays in the object's own space
// (its points as stored, the object's matrix not applied) against its polygons.
#pragma once

#include "hostapi/objects.h"

// One intersection of the last ray.
struct GeRayColResult
{
	Int32 face_id = -1; // the polygon hit
	Vector hitpos;      // where, in the object's space
	Float distance = 0.0; // along the ray, in units of its (unit) direction
};

class GeRayCollider
{
public:
	static GeRayCollider* Alloc();
	static void Free(GeRayCollider*& rc);

	// Takes the object's current geometry (its acceleration is built once per geometry and shared;
	// force is accepted for callers that ask for a fresh look, which every Init takes anyway).
	// False when goal is no polygon object or has nothing to hit, or memory is short.
	bool Init(BaseObject* goal, bool force = false);
	// Intersects the ray start + dir * t, 0 < t <= length (dir is expected to be of unit length)
	// and keeps the nearest hit. With onlyTest the answer alone is wanted. False when nothing is
	// hit or Init did not succeed.
	bool Intersect(const Vector& start, const Vector& dir, Float length, bool onlyTest = false);
	// The nearest hit of the last Intersect; false (res unchanged) when it hit nothing.
	bool GetNearestIntersection(GeRayColResult* res) const;
	// 1 when the last ray hit the object, else 0 (only the nearest hit is kept).
	Int32 GetIntersectionCount() const;

protected:
	GeRayCollider() = default;
	~GeRayCollider() = default;
};
