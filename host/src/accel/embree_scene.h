// The Embree side of the ray acceleration: one committed triangle scene and its traversal in
// float. Nothing of Embree shows through this header, so the rest of the host never sees it.
#pragma once

#include <cstddef>
#include <memory>
#include <string>

#include "hostapi/types.h"

struct RTCSceneTy;

namespace accel
{

class EmbreeTriangles
{
public:
	// Asked about each triangle whose float test meets the ray nearer than every triangle accepted
	// so far (and possibly about the same one twice). True accepts it, and the search then goes on
	// only nearer than its float distance; false passes it by.
	using Judge = bool (*)(void* user, UInt32 triangle);

	// The scene over vertexCount vertices (x, y, z each; the array holds one more vertex, read
	// past by wide loads but never used) and triangleCount triangles (three vertex indices at the
	// start of every stride bytes). Both arrays are used where they are, not copied: they must
	// outlive the scene unchanged. nullptr, with *error saying why, when Embree cannot build it
	// (no device, no memory).
	static std::unique_ptr<EmbreeTriangles> Build(const float* vertices, std::size_t vertexCount, const UInt32* indices, std::size_t stride,
		std::size_t triangleCount, std::string* error);
	~EmbreeTriangles();
	EmbreeTriangles(const EmbreeTriangles&) = delete;
	EmbreeTriangles& operator=(const EmbreeTriangles&) = delete;

	// Traverses origin + direction * t for t in [0, tfar], asking judge about each candidate.
	// Safe from several threads at once.
	void Intersect(const float origin[3], const float direction[3], float tfar, Judge judge, void* user) const;

	// Embree's own nearest hit in float, with nobody asked: false on a miss. For comparisons.
	bool IntersectPlain(const float origin[3], const float direction[3], float tfar, UInt32* triangle, float* t) const;

private:
	explicit EmbreeTriangles(RTCSceneTy* scene) : scene_(scene) {}
	RTCSceneTy* scene_;
};

} // namespace accel
