// A mouse press in the view: the operation the cursor query chose runs with the pressed button.
#include "LoomSurface.h"
#include "ToolRules.h"
#include "ToolSettings.h"
#include "hostapi/input.h"

bool LoomS::SplitsAtClick(BaseDocument* doc, const BaseContainer& data) const
{
	return doc && data.GetInt32(LOOM_SURFACE_MODE) == LOOM_MODE_POLYGON_SPLIT && !_edgeLines.IsEmpty() && doc->GetMode() == Medges;
}

bool LoomS::MouseDispatch(BaseDocument* doc, BaseContainer& data, BaseDraw* bd, EditorWindow* win, const BaseContainer& msg)
{
	const Float x = msg.GetFloat(BFM_INPUT_X);
	const Float y = msg.GetFloat(BFM_INPUT_Y);
	Int32 button = 0;
	switch (msg.GetInt32(BFM_INPUT_CHANNEL))
	{
		case BFM_INPUT_MOUSELEFT:
			button = KEY_MLEFT;
			break;
		case BFM_INPUT_MOUSERIGHT:
			button = KEY_MRIGHT;
			break;
		case BFM_INPUT_MOUSEMIDDLE:
			button = KEY_MMIDDLE;
			break;
		default:
			return true;
	}

	switch (_dragOp)
	{
		case DRAGOP_DRAW:
		case DRAGOP_POLYGON_SPLIT:
			// Strokes are drawn with the left button; the others only refresh the view.
			if (button != KEY_MLEFT)
			{
				DrawViews(DRAWFLAGS_TOOL_REDRAW);
				return true;
			}
			if (SplitsAtClick(doc, data))
				return SplitAlongEdgeLine(doc, data, bd, x, y);
			return DrawStroke(doc, data, bd, win, button, x, y);
		default:
			break;
	}
	if (!doc || !bd || !win)
		return false;
	switch (_dragOp)
	{
		case DRAGOP_POINT_MOVE:
			return PointMove(doc, data, bd, win, button, x, y);
		case DRAGOP_EDIT_RADIUS:
			return EditRadius(data, win, button, x, y);
		case DRAGOP_EDGE_SELECT:
			return SelectEdges(doc, data, bd, win, button, x, y);
		case DRAGOP_POINT_ERASE:
			return ErasePoints(doc, data, bd, win, button, x, y);
		case DRAGOP_ADJUST_POINTS:
		case DRAGOP_ADD_POINTS:
			return AdjustOrAddPoints(doc, data, bd, win, button, x, y);
		default:
			return true;
	}
}

bool LoomS::MouseInput(BaseDocument* doc, BaseContainer& data, BaseDraw* bd, EditorWindow* win, const BaseContainer& msg)
{
	return MouseDispatch(doc, data, bd, win, msg);
}
