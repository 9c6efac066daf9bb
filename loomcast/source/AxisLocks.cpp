// A move may change only the local axes that the tool's settings allow.
#include "Dtool.h"

#include "ToolSettings.h"

Vector DTOOL::ApplyAxisLocks(BaseObject* op, const BaseContainer& settings, const Vector& oldPos, const Vector& newPos)
{
	if (!op)
		return newPos;
	const Matrix mg = op->GetMg();
	const Matrix inv = InvertMatrix(mg);
	const Vector from = inv * oldPos;
	const Vector to = inv * newPos;
	const Vector local(settings.GetBool(LOOM_USE_X, true) ? to.x : from.x, settings.GetBool(LOOM_USE_Y, true) ? to.y : from.y,
					   settings.GetBool(LOOM_USE_Z, true) ? to.z : from.z);
	return mg * local;
}
