// The cursor query: which operation a drag would start, and where the cursor stands in space.
#include <cmath>

#include "Dtool.h"
#include "LoomSurface.h"
#include "PlaneFrame.h"
#include "ToolRules.h"
#include "ToolSettings.h"
#include "hostapi/input.h"
#include "hostapi/resource.h"

namespace
{
Int32 HeldQualifiers()
{
	BaseContainer state;
	if (!GetInputState(BFM_INPUT_MOUSE, BFM_INPUT_MOUSELEFT, state))
		return 0;
	return state.GetInt32(BFM_INPUT_QUALIFIER);
}
} // namespace

bool LoomS::CursorQuery(BaseDocument* doc, BaseContainer& data, BaseDraw* bd, Float x, Float y, BaseContainer& bc)
{
	if (x == static_cast<Float>(BFM_CURSORINFO_REMOVE))
		return true;
	bc.SetString(RESULT_BUBBLEHELP, GeLoadString(LOOM_STR_HELP));

	const Int32 mode = data.GetInt32(LOOM_SURFACE_MODE);
	_dragOp = DragOpForQualifiers(HeldQualifiers(), mode);
	if (_dragOp == DRAGOP_EDGE_SELECT && doc && doc->GetMode() != Medges)
		doc->SetMode(Medges);

	DTOOL tool;
	_hitFlag = 0;
	_snapFound = 0;
	_snapped = 0;
	_cursorPos = tool.StrokeDepthPoint(doc, bd, data, x, y, _strokes.GetStrokes(), _strokes.GetCount(), &_depth);

	BaseObject* active = doc ? doc->GetActiveObject() : nullptr;
	if (active && active->IsInstanceOf(Opolygon))
	{
		auto* op = static_cast<PolygonObject*>(active);
		bool found = false;
		if (mode == LOOM_MODE_NEW_SURFACE)
			found = tool.SelectedEdgePointUnderCursor(doc, bd, op, data, x, y, false, &_cursorPos, &_snapFound);
		else
		{
			_openEndPoint = -1;
			found = tool.OpenEndUnderCursor(op, bd, x, y, &_cursorPos, &_snapFound, &_openEndPoint);
		}
		if (!found)
			_snapFound = 0;
		if (_snapFound >= 1)
			_hitFlag = _snapped = 1;
	}

	if (_dragOp == DRAGOP_POINT_ERASE)
	{
		_eraseX = x;
		_eraseY = y;
	}

	// In a parallel view a point without depth belongs on the view plane.
	BaseDraw* view = doc ? doc->GetActiveBaseDraw() : nullptr;
	if (view && view->IsParallelProjection() && _hitFlag == 0 && _dragOp == DRAGOP_DRAW)
		_cursorPos = view->SW(Vector(x, y, 0.0));

	_onPlane = 0;
	BaseList2D* planeLink = data.GetLink(LOOM_PLANE_OBJECT, doc);
	if (planeLink && planeLink->IsInstanceOf(Obase))
	{
		const Matrix m = DrawingPlaneFrame(static_cast<BaseObject*>(planeLink)->GetMg(), data.GetInt32(LOOM_PLANE_AXIS));
		const Vector local = InvertMatrix(m) * _cursorPos;
		const Float t = std::abs(data.GetFloat(LOOM_PLANE_TOLERANCE));
		if (-t < local.y && local.y < t)
		{
			_onPlane = 1;
			_cursorPos = m * Vector(local.x, 0.0, local.z);
		}
	}
	DrawViews(DRAWFLAGS_TOOL_REDRAW);
	return true;
}

bool LoomS::GetCursorInfo(BaseDocument* doc, BaseContainer& data, BaseDraw* bd, Float x, Float y, BaseContainer& bc)
{
	// The host's notice that the cursor left the view comes as the result's ID (CursorQuery also
	// takes it in x).
	if (bc.GetId() == BFM_CURSORINFO_REMOVE)
		return true;
	return CursorQuery(doc, data, bd, x, y, bc);
}
