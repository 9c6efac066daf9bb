// libFuzzer target: mesh import of PLY, STL and glTF/GLB files (ImportMesh, through Assimp; OBJ has
// obj_fuzz). The input's first bytes choose the file name's extension, as a user's file would have
// it: "ply" a PLY file, "glTF" a GLB, "{" a glTF, anything else STL (ASCII or binary). Whatever the
// file, the import ends with an object or an error, and the object is one the host could hold:
// finite points, polygons that only name its points, and texture coordinates (when there are
// any) that are finite and one record per polygon.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "fuzz_support.h"
#include "hostapi/objects.h"
#include "standin/meshio.h"

namespace
{

bool StartsWith(const std::uint8_t* data, size_t size, const char* prefix)
{
	const size_t n = std::strlen(prefix);
	return size >= n && std::memcmp(data, prefix, n) == 0;
}

const char* Extension(const std::uint8_t* data, size_t size)
{
	if (StartsWith(data, size, "ply"))
		return ".ply";
	if (StartsWith(data, size, "glTF"))
		return ".glb";
	if (StartsWith(data, size, "{"))
		return ".gltf";
	return ".stl";
}

bool Finite(const Vector& v)
{
	return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z);
}

} // namespace

// Assimp (the system's library, 5.2) leaks what its PLY reader had built when a malformed file
// makes it give up. That is not the host's to mend, and a fuzzer stopping at it would never get
// further, so leaks allocated inside Assimp are not reported; the host's own still are.
extern "C" const char* __lsan_default_suppressions()
{
	return "leak:libassimp.so\n";
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size)
{
	const std::string input = fuzz::ScratchPath(std::string("input") + Extension(data, size));
	fuzz::WriteFile(input, data, size);

	std::string error;
	PolygonObject* op = standin::ImportMesh(input, &error);
	if (!op)
	{
		if (error.empty())
			fuzz::Fault("a refused mesh file gives no reason");
		return 0;
	}
	const Int32 points = op->GetPointCount();
	const Vector* p = op->GetPointR();
	for (Int32 i = 0; i < points; ++i)
		if (!Finite(p[i]))
			fuzz::Fault("an imported point is not finite");
	const Int32 polygons = op->GetPolygonCount();
	if (polygons == 0)
		fuzz::Fault("an imported mesh has no polygons");
	const CPolygon* polygon = op->GetPolygonR();
	for (Int32 i = 0; i < polygons; ++i)
		for (const Int32 corner : {polygon[i].a, polygon[i].b, polygon[i].c, polygon[i].d})
			if (corner < 0 || corner >= points)
				fuzz::Fault("an imported polygon names a point the object does not have");
	if (const auto* uvw = static_cast<const UVWTag*>(op->GetTag(Tuvw)))
	{
		if (uvw->GetDataCount() != polygons)
			fuzz::Fault("the texture coordinates are not one record per polygon");
		for (Int32 i = 0; i < polygons; ++i)
		{
			const UVWStruct u = uvw->GetSlow(i);
			if (!Finite(u.a) || !Finite(u.b) || !Finite(u.c) || !Finite(u.d))
				fuzz::Fault("an imported texture coordinate is not finite");
		}
	}
	BaseObject* free = op;
	BaseObject::Free(free);
	return 0;
}
