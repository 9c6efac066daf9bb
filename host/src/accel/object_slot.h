// What each polygon object keeps for the ray acceleration (scene/object_data.h holds one);
// accel/object_cache.cpp reads and fills it.
#pragma once

#include <atomic>
#include <memory>
#include <mutex>

#include "accel/bounds.h"
#include "hostapi/types.h"

namespace accel
{

class TriangleMesh;

// What ray questions need of an object's frame, worked out once per geometry and matrix.
struct ObjectFrame
{
	Matrix toWorld, toLocal;
	// Whether rays can be taken into object space without losing the answer (see FrameOf).
	bool invertible = false;
	Box worldBox; // the object's points in world space (empty: nothing to hit)
};

struct ObjectSlot
{
	// Every writable access to the points or polygons counts as a change: a conservative
	// "may have changed" that costs one increment, where comparing contents would cost a pass.
	void Touch() { geometryVersion.fetch_add(1, std::memory_order_relaxed); }

	std::atomic<UInt64> geometryVersion{1};
	std::mutex mutex; // guards what follows
	UInt64 boundsVersion = 0;
	Box bounds;
	ObjectFrame frame; // for bounds of boundsVersion
	UInt64 meshVersion = 0;
	std::shared_ptr<const TriangleMesh> mesh;
};

} // namespace accel
