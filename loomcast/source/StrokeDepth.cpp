// Where a new stroke point under the mouse goes in depth.
#include "Dtool.h"

#include <cmath>

#include "ToolSettings.h"

Vector DTOOL::StrokeDepthPoint(BaseDocument* doc, BaseDraw* bd, const BaseContainer& settings, Float x, Float y, const Stroke* strokes, Int32 strokeCount,
							   Float* depth)
{
	if (!bd)
		return Vector();
	Float current = depth ? *depth : 0.0;
	Float chosen = 0.0;
	if (strokes && strokeCount > 0)
	{
		// New strokes go at the depth the existing ones sit at, seen from the camera.
		Vector sum;
		Int64 n = 0;
		for (Int32 s = 0; s < strokeCount; ++s)
		{
			for (Int32 i = 0; i < strokes[s].GetCount(); ++i)
				sum += strokes[s][i].pos;
			n += strokes[s].GetCount();
		}
		const Vector mean = n > 0 ? sum / static_cast<Float>(n) : Vector();
		const BaseObject* camera = bd->GetSceneCamera(doc);
		const Matrix cam = camera ? camera->GetMg() : Matrix();
		chosen = std::abs((InvertMatrix(cam) * mean).z);
	}
	else if (settings.GetBool(LOOM_ON_SURFACE))
	{
		const Vector onPlane = WorkPlanePoint(doc, bd, x, y);
		chosen = DepthUnderCursor(doc, bd, x, y, 0.0);
		if (chosen == 0.0)
			return onPlane;
	}
	else
	{
		chosen = DepthUnderCursor(doc, bd, x, y, current);
	}
	if (depth)
		*depth = chosen;
	return bd->SW(Vector(x, y, chosen));
}
