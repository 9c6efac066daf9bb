// The frame of the drawing plane: the plane object's matrix turned so that its X-Z plane is the
// one the tool's setting chooses. The cursor query snaps onto it and the view draws it.
#pragma once

#include "ToolSettings.h"
#include "hostapi/vector.h"

inline Matrix DrawingPlaneFrame(const Matrix& planeMg, Int32 axis)
{
	if (axis == LOOM_PLANE_TURN_Z)
		return planeMg * MatrixRotZ(PI / 2.0);
	if (axis == LOOM_PLANE_TURN_X)
		return planeMg * MatrixRotX(PI / 2.0);
	return planeMg;
}
