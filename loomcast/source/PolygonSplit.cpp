// Polygon splitting: a click grows or moves the mesh along the collected edge line.
#include "LoomSurface.h"

bool LoomS::SplitAlongEdgeLine(BaseDocument* doc, BaseContainer& data, BaseDraw* bd, Float x, Float y)
{
	// Not in place yet: the click changes nothing, and the edge line stays for the next try.
	(void)doc;
	(void)data;
	(void)bd;
	(void)x;
	(void)y;
	return true;
}
