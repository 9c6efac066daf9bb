// The brush operations: Point Move (a falloff brush drags the points near the cursor), Edit
// Radius, and Adjust and Add points (one grabbed point, then its stroke, follows the mouse).
#include <cmath>

#include "DragLoop.h"
#include "Dtool.h"
#include "FreehandRule.h"
#include "LoomSurface.h"
#include "ToolRules.h"
#include "ToolSettings.h"
#include "hostapi/customdata.h"

namespace
{
Float FalloffAt(const BaseContainer& data, Float x)
{
	const auto* curve = static_cast<const SplineData*>(data.GetCustomDataType(LOOM_FALLOFF, CUSTOMDATATYPE_SPLINE));
	return curve ? curve->GetPoint(x) : 1.0 - x;
}
} // namespace

bool LoomS::PointMove(BaseDocument* doc, BaseContainer& data, BaseDraw* bd, EditorWindow* win, Int32 button, Float x, Float y)
{
	_radiusPx = data.GetInt32(LOOM_RADIUS);
	const Float r = _radiusPx;
	const Vector q = bd->WS(_cursorPos);
	for (Int32 i = 0; i < _strokes.GetCount(); ++i)
	{
		Stroke& stroke = _strokes[i];
		for (Int32 m = 0; m < stroke.GetCount(); ++m)
		{
			StrokePoint& p = stroke[m];
			const Vector s = bd->WS(p.pos);
			_depth = s.z;
			const Float d = std::hypot(s.x - q.x, s.y - q.y);
			if (d < r)
			{
				p.origin = p.pos;
				p.weight = 1.0 - FalloffAt(data, 1.0 - d / r);
			}
			else
				p.weight = 0.0;
		}
	}
	const Vector pressed = _cursorPos;
	Float mx = x, my = y;
	RunDragLoop(win, button, x, y, &mx, &my, [&](Float sx, Float sy) {
		PlaceCursor(doc, data, bd, sx, sy);
		const Vector delta = _cursorPos - pressed;
		for (Int32 i = 0; i < _strokes.GetCount(); ++i)
		{
			Stroke& stroke = _strokes[i];
			for (Int32 m = 0; m < stroke.GetCount(); ++m)
				if (stroke[m].weight != 0.0)
					stroke[m].pos = stroke[m].origin + delta * stroke[m].weight;
		}
	});
	DrawViews(DRAWFLAGS_TOOL_REDRAW);
	return true;
}

bool LoomS::EditRadius(BaseContainer& data, EditorWindow* win, Int32 button, Float x, Float y)
{
	Float mx = x, my = y;
	RunDragLoop(win, button, x, y, &mx, &my, [&](Float sx, Float) {
		// Held within what a pixel radius can be, so a runaway mouse cannot overflow it.
		constexpr Float kReach = 1.0e8;
		Float span = std::trunc(sx - x);
		span = std::isfinite(span) ? (span < -kReach ? -kReach : (span > kReach ? kReach : span)) : 0.0;
		_radiusPx = static_cast<Int32>(span);
		data.SetInt32(LOOM_RADIUS, _radiusPx < 0 ? -_radiusPx : _radiusPx);
	});
	DrawViews(DRAWFLAGS_TOOL_REDRAW);
	return true;
}

bool LoomS::AdjustOrAddPoints(BaseDocument* doc, BaseContainer& data, BaseDraw* bd, EditorWindow* win, Int32 button, Float x, Float y)
{
	DTOOL tool;
	const bool adding = _dragOp == DRAGOP_ADD_POINTS;
	Int32 grabStroke = -1, grabPoint = -1;
	for (Int32 i = 0; i < _strokes.GetCount() && grabStroke < 0; ++i)
	{
		for (Int32 m = 0; m < _strokes[i].GetCount(); ++m)
		{
			if (tool.PointNearPixel(bd, _strokes[i][m].pos, x, y))
			{
				grabStroke = i;
				grabPoint = m;
				_depth = bd->WS(_strokes[i][m].pos).z;
				break;
			}
		}
	}

	Float mx = x, my = y;
	const bool finished = RunDragLoop(win, button, x, y, &mx, &my, [&](Float sx, Float sy) {
		if (grabStroke < 0)
			return;
		PlaceCursor(doc, data, bd, sx, sy);
		Stroke& stroke = _strokes[grabStroke];
		if (adding)
		{
			ExtendFreehand(stroke, _cursorPos);
			return;
		}
		if (grabPoint < 0 || grabPoint >= stroke.GetCount())
			return;
		// The grabbed point follows once the cursor is farther from the point before it than the
		// point itself; the grab then passes on along the stroke and ends at its last point. The
		// first point has none before it and simply follows.
		StrokePoint& a = stroke[grabPoint];
		if (grabPoint == 0)
		{
			a.pos = _cursorPos;
			return;
		}
		const Vector& b = stroke[grabPoint - 1].pos;
		if ((_cursorPos - b).GetLength() > (a.pos - b).GetLength())
		{
			a.pos = _cursorPos;
			grabPoint = grabPoint + 1 < stroke.GetCount() ? grabPoint + 1 : -1;
		}
	});

	bool ok = true;
	if (adding && finished && grabStroke >= 0)
	{
		Stroke& stroke = _strokes[grabStroke];
		stroke.AppendPoint(stroke.IsEmpty() ? 0 : stroke.Last().index + 1, _cursorPos);
		if (!tool.ResampleStroke(doc, data, stroke))
		{
			ResetStrokes();
			ok = false;
		}
	}
	DrawViews(DRAWFLAGS_TOOL_REDRAW);
	return ok;
}
