// Edge selection: a drag paints the open edges of the active polygon object that the view shows
// near the mouse into its edge selection. Edges between two polygons are never selected.
#include "DragLoop.h"
#include "HostHandle.h"
#include "LoomSurface.h"
#include "PixelCoords.h"
#include "ToolSettings.h"
#include "hostapi/viewport_select.h"

namespace
{
constexpr Int32 kSelectionFlags = 10;
} // namespace

bool LoomS::SelectEdges(BaseDocument* doc, BaseContainer& data, BaseDraw* bd, EditorWindow* win, Int32 button, Float x, Float y)
{
	BaseObject* active = doc->GetActiveObject();
	if (!active || !active->IsInstanceOf(Opolygon))
		return true;
	auto* op = static_cast<PolygonObject*>(active);
	Int32 left = 0, top = 0, right = 0, bottom = 0;
	bd->GetFrame(&left, &top, &right, &bottom);
	HostHandle<ViewportSelect> select(ViewportSelect::Alloc());
	if (!select || !select->Init(right - left + 1, bottom - top + 1, bd, op, Medges, true, kSelectionFlags))
		return false;
	BaseSelect* edges = op->GetEdgeS();
	if (!edges)
		return false;
	edges->DeselectAll();
	HostHandle<Neighbor> neighbours(Neighbor::Alloc());
	if (!neighbours || !neighbours->Init(op->GetPointCount(), op->GetPolygonR(), op->GetPolygonCount()))
		return false;

	Float mx = x, my = y;
	RunDragLoop(win, button, x, y, &mx, &my, [&](Float sx, Float sy) {
		PlaceCursor(doc, data, bd, sx, sy);
		Int32 edge = -1;
		if (!select->GetNearestEdge(PixelOf(sx), PixelOf(sy), data.GetInt32(LOOM_RADIUS), &edge))
			return;
		const Int32 poly = edge / 4, side = edge % 4;
		// The object may not change during the drag, but its counts are checked all the same.
		if (poly < 0 || poly >= op->GetPolygonCount())
			return;
		const CPolygon& q = op->GetPolygonR()[poly];
		const Int32 corners[4] = {q.a, q.b, q.c, q.d};
		if (neighbours->GetNeighbor(corners[side], corners[(side + 1) % 4], poly) < 0)
			edges->Select(edge);
	});
	DrawViews(DRAWFLAGS_TOOL_REDRAW);
	return true;
}
