#include "accel/object_cache.h"

#include <atomic>
#include <cmath>
#include <mutex>
#include <string>
#include <unordered_map>

#include "accel/triangle_mesh.h"
#include "scene/object_data.h"
#include "standin/console.h"

namespace accel
{
namespace
{

std::atomic<UInt64> builtCount{0};

// Every mesh alive, by the key of its geometry, so that a second object with the same points and
// polygons (a copy, the same target flattened by several workers) finds the first one's.
class SharedMeshes
{
public:
	std::shared_ptr<const TriangleMesh> Find(UInt64 key, const Vector* points, Int32 pointCount, const CPolygon* polygons, Int32 polygonCount)
	{
		std::lock_guard<std::mutex> lock(mutex_);
		auto [first, last] = meshes_.equal_range(key);
		for (auto it = first; it != last; ++it)
		{
			std::shared_ptr<const TriangleMesh> mesh = it->second.lock();
			if (mesh && mesh->SameGeometry(points, pointCount, polygons, polygonCount))
				return mesh;
		}
		return nullptr;
	}

	void Add(const std::shared_ptr<const TriangleMesh>& mesh)
	{
		std::lock_guard<std::mutex> lock(mutex_);
		// Meshes no object holds any more leave their entries behind; they are swept out whenever
		// the table has doubled since the last sweep.
		if (meshes_.size() >= sweepAt_)
		{
			for (auto it = meshes_.begin(); it != meshes_.end();)
				it = it->second.expired() ? meshes_.erase(it) : std::next(it);
			sweepAt_ = std::max<std::size_t>(64, 2 * meshes_.size());
		}
		meshes_.emplace(mesh->Key(), mesh);
	}

private:
	std::mutex mutex_;
	std::unordered_multimap<UInt64, std::weak_ptr<const TriangleMesh>> meshes_;
	std::size_t sweepAt_ = 64;
};

SharedMeshes& Shared()
{
	static SharedMeshes shared;
	return shared;
}

bool IsFinite(const Vector& v)
{
	return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z);
}

bool WellInvertible(const Matrix& m)
{
	if (!IsFinite(m.off) || !IsFinite(m.v1) || !IsFinite(m.v2) || !IsFinite(m.v3))
		return false;
	const Float l1 = m.v1.GetLength(), l2 = m.v2.GetLength(), l3 = m.v3.GetLength();
	if (!(l1 > 0.0 && l2 > 0.0 && l3 > 0.0))
		return false;
	// The volume the unit axes span: 1 for any rotation, near 0 where space is flattened.
	return std::abs(Dot(m.v1 / l1, Cross(m.v2 / l2, m.v3 / l3))) > 1e-9;
}

ObjectFrame MakeFrame(const Box& box, const Matrix& mg)
{
	ObjectFrame frame;
	frame.toWorld = mg;
	frame.invertible = WellInvertible(mg);
	if (frame.invertible)
	{
		frame.toLocal = InvertMatrix(mg);
		// InvertMatrix answers the identity for an inverse beyond the range of Float.
		if (frame.toLocal == Matrix() && mg != Matrix())
			frame.invertible = false;
	}
	frame.worldBox = TransformBox(box, mg);
	return frame;
}

// Brings the slot's box (and the frame made from it) up to the object's geometry.
void RefreshBounds(ObjectSlot& slot, const scene::PolygonObjectData& data, UInt64 version)
{
	if (slot.boundsVersion == version)
		return;
	slot.bounds = BoundsOfPoints(data.points.data(), data.points.size());
	slot.frame = MakeFrame(slot.bounds, slot.frame.toWorld);
	slot.boundsVersion = version;
}

void WarnOnce(const std::string& why)
{
	static std::once_flag once;
	std::call_once(once, [&why] {
		standin::HostFault("WARNING:", "ray acceleration unavailable (" + why + "); ray questions test every polygon in turn", __FILE__, __LINE__);
	});
}

} // namespace

bool ObjectBounds(const PolygonObject* op, Box* box)
{
	scene::PolygonObjectData* data = scene::PolygonDataOf(op);
	if (!data)
		return false;
	ObjectSlot& slot = data->rayAccel;
	std::lock_guard<std::mutex> lock(slot.mutex);
	RefreshBounds(slot, *data, slot.geometryVersion.load(std::memory_order_relaxed));
	*box = slot.bounds;
	return !box->empty;
}

bool FrameOf(const PolygonObject* op, const Matrix& mg, ObjectFrame* frame)
{
	scene::PolygonObjectData* data = scene::PolygonDataOf(op);
	if (!data)
		return false;
	ObjectSlot& slot = data->rayAccel;
	std::lock_guard<std::mutex> lock(slot.mutex);
	RefreshBounds(slot, *data, slot.geometryVersion.load(std::memory_order_relaxed));
	if (slot.frame.toWorld != mg)
		slot.frame = MakeFrame(slot.bounds, mg);
	*frame = slot.frame;
	return !slot.bounds.empty;
}

std::shared_ptr<const TriangleMesh> ObjectMesh(const PolygonObject* op)
{
	scene::PolygonObjectData* data = scene::PolygonDataOf(op);
	if (!data)
		return nullptr;
	ObjectSlot& slot = data->rayAccel;
	std::lock_guard<std::mutex> lock(slot.mutex);
	const UInt64 version = slot.geometryVersion.load(std::memory_order_relaxed);
	if (slot.mesh && slot.meshVersion == version)
		return slot.mesh;
	const Vector* points = data->points.data();
	const CPolygon* polygons = data->polygons.data();
	const auto pointCount = static_cast<Int32>(data->points.size());
	const auto polygonCount = static_cast<Int32>(data->polygons.size());
	// A write access that changed nothing (or changed it back) finds the mesh it had.
	if (slot.mesh && slot.mesh->SameGeometry(points, pointCount, polygons, polygonCount))
	{
		slot.meshVersion = version;
		return slot.mesh;
	}
	const UInt64 key = TriangleMesh::KeyOf(points, pointCount, polygons, polygonCount);
	std::shared_ptr<const TriangleMesh> mesh = Shared().Find(key, points, pointCount, polygons, polygonCount);
	if (!mesh)
	{
		std::string warning;
		mesh = TriangleMesh::Build(points, pointCount, polygons, polygonCount, &warning);
		builtCount.fetch_add(1, std::memory_order_relaxed);
		if (!warning.empty())
			WarnOnce(warning);
		Shared().Add(mesh);
	}
	slot.mesh = mesh;
	slot.meshVersion = version;
	return mesh;
}

UInt64 MeshesBuilt()
{
	return builtCount.load(std::memory_order_relaxed);
}

} // namespace accel
