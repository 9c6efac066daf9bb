// Drawing a stroke: a freehand path that follows the mouse, or a straight line from the press.
#include "Dtool.h"
#include "FreehandRule.h"
#include "LoomSurface.h"
#include "ToolSettings.h"
#include "hostapi/input.h"
#include "hostapi/snapping.h"

namespace
{
// The frame whose x-z plane straight lines snap their direction in: the work plane when strokes go
// onto surfaces, else the camera's view plane (its matrix turned up by 90 degrees about X).
Matrix SnapFrame(BaseDocument* doc, BaseDraw* bd, bool onSurface)
{
	if (onSurface)
	{
		const BaseObject* plane = GetWorkplaneObject(doc);
		return plane ? plane->GetMg() : Matrix();
	}
	const BaseObject* camera = bd->GetSceneCamera(doc);
	return (camera ? camera->GetMg() : Matrix()) * MatrixRotX(PI / 2.0);
}
} // namespace

bool LoomS::DrawStroke(BaseDocument* doc, BaseContainer& data, BaseDraw* bd, EditorWindow* win, Int32 button, Float x, Float y)
{
	if (!doc || !bd || !win)
		return false;
	DTOOL tool;
	if (data.GetInt32(LOOM_SURFACE_MODE) == LOOM_MODE_POLYGON_SPLIT)
	{
		// The first stroke of splitting collects the edge line it is drawn along.
		if (!_edgeLines.IsEmpty())
		{
			ReleaseEdgeLine(_edgeLines);
			ResetStrokes();
			return false;
		}
		BaseObject* active = doc->GetActiveObject();
		if (!active || (active->IsInstanceOf(Opolygon) && !tool.BuildEdgeLine(_edgeLines, static_cast<PolygonObject*>(active), _cursorPos)))
		{
			ResetStrokes();
			return false;
		}
	}

	const bool straight = data.GetInt32(LOOM_STROKE_STYLE) == LOOM_STYLE_LINE;
	const bool onSurface = data.GetBool(LOOM_ON_SURFACE);
	if (!BeginStroke(_cursorPos))
		return false;
	const Int32 current = _strokes.GetCount() - 1;
	if (straight && !_strokes[current].AppendPoint(1, _cursorPos))
	{
		_strokes.RemoveAt(current);
		return false;
	}
	_drawing = 1;

	const bool snapAngle = straight && data.GetBool(LOOM_ANGLE_SNAP) && data.GetFloat(LOOM_ANGLE_STEP) != 0.0;
	const Matrix snapFrame = snapAngle ? SnapFrame(doc, bd, onSurface) : Matrix();
	Float mx = x, my = y;
	win->MouseDragStart(button, x, y, MOUSEDRAGFLAGS_DONTHIDEMOUSE | MOUSEDRAGFLAGS_NOMOVE);
	Float dx = 0.0, dy = 0.0;
	BaseContainer channels;
	while (win->MouseDrag(&dx, &dy, &channels) == MOUSEDRAGRESULT_CONTINUE)
	{
		if (dx == 0.0 && dy == 0.0)
			continue;
		mx += dx;
		my += dy;
		PlaceCursor(doc, data, bd, mx, my);
		SnapCursorToEdges(doc, data, bd, mx, my);
		Stroke& stroke = _strokes[current];
		if (straight)
		{
			if (snapAngle)
				tool.SnapDirection(_cursorPos, stroke[0].pos, data.GetFloat(LOOM_ANGLE_STEP), snapFrame, &_snapAngle);
			// On surfaces the end keeps the start's height over the work plane.
			stroke[1].pos = onSurface ? tool.AlignToWorkPlaneHeight(doc, _cursorPos, stroke[0].pos) : _cursorPos;
		}
		else
		{
			// A point the stroke cannot grow by is skipped; the next mouse step tries again.
			ExtendFreehand(stroke, _cursorPos);
		}
		DrawViews(DRAWFLAGS_TOOL_REDRAW);
	}
	const bool finished = win->MouseDragEnd() == MOUSEDRAGRESULT_FINISHED;
	// The drag is over either way, so the angle read-out that belongs to it goes too.
	_drawing = 0;
	if (!finished)
	{
		DrawViews(DRAWFLAGS_TOOL_REDRAW);
		return true;
	}

	_hitFlag = 0;
	SetPickedObject(tool.ObjectUnderCursor(doc, bd, mx, my, doc->GetActiveObject(), &_depth));
	bool ok = true;
	if (!straight)
	{
		Stroke& stroke = _strokes[current];
		stroke.AppendPoint(stroke.Last().index + 1, _cursorPos);
		for (Int32 i = 0; i < _strokes.GetCount() && ok; ++i)
			ok = tool.ResampleStroke(doc, data, _strokes[i]);
		if (!ok)
			ResetStrokes();
	}
	DrawViews(DRAWFLAGS_TOOL_REDRAW);
	return ok;
}
