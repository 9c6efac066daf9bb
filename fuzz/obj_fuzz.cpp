// libFuzzer target: OBJ import. Whatever the file, the import ends with an object or an error,
// and an object's polygons only name points it has.
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz_support.h"
#include "hostapi/objects.h"
#include "standin/scene.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size)
{
	static const std::string input = fuzz::ScratchPath("input.obj");
	fuzz::WriteFile(input, data, size);

	std::string error;
	PolygonObject* op = standin::ImportObj(input, &error);
	if (!op)
		return 0;
	const Int32 points = op->GetPointCount();
	const CPolygon* polygons = op->GetPolygonR();
	for (Int32 i = 0; i < op->GetPolygonCount(); ++i)
	{
		const CPolygon& p = polygons[i];
		for (const Int32 corner : {p.a, p.b, p.c, p.d})
			if (corner < 0 || corner >= points)
				fuzz::Fault("an imported polygon names a point the object does not have");
	}
	BaseObject* free = op;
	BaseObject::Free(free);
	return 0;
}
