// A parallel view along +Z from z = -1000 at one world unit per pixel, so world (x, y, z) is seen
// at pixel (320 + x, 240 - y) with depth z + 1000: pixel expectations can be read off by hand.
#pragma once

#include <string>

#include "standin/views.h"

inline BaseDraw* AddFrontView(BaseDocument* doc, std::string* error)
{
	BaseDraw* bd = standin::AddView(doc, 8, error);
	if (!bd)
		return nullptr;
	Matrix camera;
	camera.off = Vector(0.0, 0.0, -1000.0);
	standin::SetCameraMatrix(bd, camera);
	return bd;
}
