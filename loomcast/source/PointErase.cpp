// Point erase: every stroke point under the brush's cross goes, at the press and along the drag;
// strokes left empty are removed when the drag finishes.
#include "DragLoop.h"
#include "Dtool.h"
#include "LoomSurface.h"

void LoomS::ErasePointsAt(const BaseContainer& data, BaseDraw* bd, Float x, Float y)
{
	DTOOL tool;
	_eraseX = x;
	_eraseY = y;
	for (Int32 i = 0; i < _strokes.GetCount(); ++i)
	{
		Stroke& stroke = _strokes[i];
		// A removal moves the next point into k, so k stays: each point is tested exactly once.
		for (Int32 k = 0; k < stroke.GetCount();)
		{
			if (tool.PointNearCross(data, bd, stroke[k].pos, x, y))
				stroke.RemoveAt(k);
			else
				++k;
		}
	}
}

bool LoomS::ErasePoints(BaseDocument* doc, BaseContainer& data, BaseDraw* bd, EditorWindow* win, Int32 button, Float x, Float y)
{
	ErasePointsAt(data, bd, x, y);
	Float mx = x, my = y;
	const bool finished = RunDragLoop(win, button, x, y, &mx, &my, [&](Float sx, Float sy) {
		PlaceCursor(doc, data, bd, sx, sy);
		ErasePointsAt(data, bd, sx, sy);
	});
	if (finished)
	{
		for (Int32 i = _strokes.GetCount() - 1; i >= 0; --i)
			if (_strokes[i].IsEmpty())
				_strokes.RemoveAt(i);
	}
	DrawViews(DRAWFLAGS_TOOL_REDRAW);
	return true;
}
