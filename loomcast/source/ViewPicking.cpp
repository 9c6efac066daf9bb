// Which objects and mesh points lie under the mouse.
#include "Dtool.h"

#include <algorithm>

#include "EdgeRecords.h"
#include "PixelCoords.h"
#include "ToolSettings.h"
#include "hostapi/picking.h"

namespace
{
// Runs use(list) on the host's list of objects under the pixel; false when the list cannot be made.
template <typename Use>
bool WithObjectsAtPixel(BaseDocument* doc, BaseDraw* bd, Float x, Float y, Use&& use)
{
	if (!doc || !bd)
		return false;
	ObjectPickList* list = ObjectPickList::Alloc();
	if (!list)
		return false;
	const bool made = PickObjectsAtPixel(doc, bd, PixelOf(x), PixelOf(y), list, PICKOBJECT_DEPTH | PICKOBJECT_ONLY_VISIBLE);
	if (made)
		use(*list);
	ObjectPickList::Free(list);
	return made;
}

// Pixel offsets of PointNearPixel, in the order they are tried: the cross out to three pixels,
// then the diagonals at one, two and three pixels.
constexpr Int32 kNearOffsets[25][2] = {
	{0, 0}, {-1, 0}, {-2, 0}, {-3, 0}, {1, 0}, {2, 0}, {3, 0},
	{0, -1}, {0, -2}, {0, -3}, {0, 1}, {0, 2}, {0, 3},
	{-1, -1}, {-1, 1}, {1, 1}, {1, -1},
	{-2, -2}, {-2, 2}, {2, 2}, {2, -2},
	{-3, -3}, {-3, 3}, {3, 3}, {3, -3},
};

// A radius beyond any screen only costs time; the largest frame side bounds it.
constexpr Int32 kMaxCrossRadius = 16384;
} // namespace

BaseObject* DTOOL::ObjectUnderCursor(BaseDocument* doc, BaseDraw* bd, Float x, Float y, BaseObject* exclude, Float* depth)
{
	BaseObject* found = nullptr;
	WithObjectsAtPixel(doc, bd, x, y, [&](const ObjectPickList& list) {
		for (Int32 i = 0; i < list.GetCount(); ++i)
		{
			BaseObject* op = list.GetObject(i);
			if (op && op != exclude)
			{
				found = op;
				if (depth)
					*depth = list.GetZ(i);
				return;
			}
		}
	});
	return found;
}

bool DTOOL::IsObjectUnderCursor(BaseDocument* doc, BaseDraw* bd, Float x, Float y, BaseObject* op)
{
	bool under = false;
	WithObjectsAtPixel(doc, bd, x, y, [&](const ObjectPickList& list) {
		for (Int32 i = 0; i < list.GetCount() && !under; ++i)
			under = list.GetObject(i) == op;
	});
	return under;
}

Float DTOOL::DepthUnderCursor(BaseDocument* doc, BaseDraw* bd, Float x, Float y, Float defaultDepth)
{
	Float depth = 0.0;
	WithObjectsAtPixel(doc, bd, x, y, [&](const ObjectPickList& list) {
		depth = list.GetCount() > 0 ? list.GetZ(0) : defaultDepth;
	});
	return depth;
}

bool DTOOL::PointNearPixel(BaseDraw* bd, const Vector& p, Float x, Float y)
{
	if (!bd)
		return false;
	const Int32 px = PixelOf(x), py = PixelOf(y);
	for (const auto& offset : kNearOffsets)
		if (bd->PointInRange(p, px + offset[0], py + offset[1]))
			return true;
	return false;
}

bool DTOOL::PointNearCross(const BaseContainer& settings, BaseDraw* bd, const Vector& p, Float x, Float y)
{
	if (!bd)
		return false;
	const Int32 radius = std::min(settings.GetInt32(LOOM_RADIUS, 10), kMaxCrossRadius);
	for (Int32 s = 1; s >= -1; s -= 2)
	{
		for (Int32 j = 0; j < radius; ++j)
		{
			const Float dx = static_cast<Float>(s * j);
			if (bd->PointInRange(p, PixelOf(x + dx), PixelOf(y)) || bd->PointInRange(p, PixelOf(x), PixelOf(y + dx)) ||
				bd->PointInRange(p, PixelOf(x + dx), PixelOf(y + dx)))
				return true;
		}
	}
	return false;
}

bool DTOOL::SelectedEdgePointUnderCursor(BaseDocument* doc, BaseDraw* bd, PolygonObject* op, const BaseContainer& settings, Float x, Float y, bool fineTest,
										  Vector* pos, Int32* found)
{
	if (!bd || !op)
		return false;
	if (!fineTest && !IsObjectUnderCursor(doc, bd, x, y, op))
		return false;
	const Matrix mg = op->GetMg();
	const Vector* points = op->GetPointR();
	bool hit = false;
	Vector world;
	ForEachUsableSelectedEdge(op, [&](Int32, Int32 first, Int32 second) {
		for (const Int32 point : {first, second})
		{
			if (hit)
				return;
			const Vector w = mg * points[point];
			if (fineTest ? PointNearPixel(bd, w, x, y) : PointNearCross(settings, bd, w, x, y))
			{
				hit = true;
				world = w;
			}
		}
	});
	if (!hit)
		return false;
	if (pos)
		*pos = world;
	if (found)
		*found = 1;
	return true;
}
