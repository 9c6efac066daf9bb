// Where the cursor stands in space while a drag runs.
#include "Dtool.h"
#include "LoomSurface.h"
#include "ToolSettings.h"

void LoomS::PlaceCursor(BaseDocument* doc, const BaseContainer& data, BaseDraw* bd, Float mx, Float my)
{
	if (!bd)
		return;
	DTOOL tool;
	if (data.GetBool(LOOM_ON_SURFACE))
	{
		// On the surface under the mouse; on the work plane where there is none.
		_cursorPos = tool.WorkPlanePoint(doc, bd, mx, my);
		const Float d = tool.DepthUnderCursor(doc, bd, mx, my, 0.0);
		if (d != 0.0)
		{
			_depth = d;
			_cursorPos = bd->SW(Vector(mx, my, d));
		}
		return;
	}
	_depth = tool.DepthUnderCursor(doc, bd, mx, my, _depth);
	_cursorPos = bd->SW(Vector(mx, my, _depth));
}

void LoomS::SnapCursorToEdges(BaseDocument* doc, const BaseContainer& data, BaseDraw* bd, Float mx, Float my)
{
	BaseObject* active = doc ? doc->GetActiveObject() : nullptr;
	if (!active || !active->IsInstanceOf(Opolygon))
		return;
	if (!DTOOL().SelectedEdgePointUnderCursor(doc, bd, static_cast<PolygonObject*>(active), data, mx, my, true, &_cursorPos, &_snapFound))
		_snapFound = 0;
	_snapped = _snapFound >= 1 ? 1 : 0;
	if (_snapped)
		_hitFlag = 1;
}
