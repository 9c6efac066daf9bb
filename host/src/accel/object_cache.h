// The ray acceleration of each polygon object: built on first use, built again only after its
// points or polygons were written (through GetPointW, GetPolygonW, ResizeObject, or announced with
// MSG_UPDATE), and shared between objects whose geometry is bit for bit the same, such as copies.
// The meshes are in object space, so moving, turning or scaling an object rebuilds nothing.
//
// A writer that keeps the pointer GetPointW gave and writes through it after a ray question must
// ask again (or send MSG_UPDATE) before the next one sees the change. Safe from several threads
// at once as long as nobody writes the object meanwhile; a build holds only that object's lock.
#pragma once

#include <memory>

#include "accel/bounds.h"
#include "accel/object_slot.h"
#include "hostapi/objects.h"

namespace accel
{

class TriangleMesh;

// The object-space box of op's finite points; false when it has none (or op is not a polygon
// object). Computed once per geometry change, far cheaper than a mesh.
bool ObjectBounds(const PolygonObject* op, Box* box);

// op's frame for its global matrix mg, with its box in world space; false as ObjectBounds.
// Rays are taken into object space unless mg flattens space (a zero or nearly zero scale, or
// axes that nearly coincide), or its inverse is out of range: then there is no object-space
// ray that stands for the world's, and invertible is false.
bool FrameOf(const PolygonObject* op, const Matrix& mg, ObjectFrame* frame);

// op's mesh; nullptr when op is not a polygon object. Throws std::bad_alloc.
std::shared_ptr<const TriangleMesh> ObjectMesh(const PolygonObject* op);

// How many meshes have been built in this run (a mesh shared by content is not built again).
UInt64 MeshesBuilt();

} // namespace accel
