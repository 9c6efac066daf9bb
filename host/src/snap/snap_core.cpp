// The snapping service. Its modes are known to the plug-ins only by number, so it does the least
// they rely on: with snapping as a whole on and any snap mode on, a point moves onto the nearest
// point (on screen) of the document's visible polygon objects within the radius setting.
#include <new>

#include "hostapi/memory.h"
#include "hostapi/snapping.h"
#include "view/raycast.h"
#include "view/view_data.h"

namespace
{
constexpr Int32 kDefaultRadius = 10;
constexpr Int32 kModes[] = {SNAPMODE_115, SNAPMODE_123, SNAPMODE_125, SNAPMODE_127};

struct SnapCoreData final : SnapCore
{
	BaseDocument* doc = nullptr;
	BaseDraw* bd = nullptr;
};
} // namespace

// The block comes from the host allocator so that tests can make the service fail to exist.
SnapCore* SnapCore::Alloc()
{
	void* mem = HostAlloc(sizeof(SnapCoreData), __LINE__, "host\\snapping");
	return mem ? new (mem) SnapCoreData() : nullptr;
}

void SnapCore::Free(SnapCore*& snap)
{
	if (!snap)
		return;
	auto* data = static_cast<SnapCoreData*>(snap);
	data->~SnapCoreData();
	HostFree(data);
	snap = nullptr;
}

bool SnapCore::Init(BaseDocument* doc, BaseDraw* bd)
{
	auto* data = static_cast<SnapCoreData*>(this);
	data->doc = doc;
	data->bd = bd;
	return doc && bd;
}

bool SnapCore::Snap(const Vector& p, SnapResult& result)
{
	auto* data = static_cast<SnapCoreData*>(this);
	BaseDocument* doc = data->doc;
	if (!doc || !data->bd || !IsSnapEnabled(doc, SNAPMODE_ALL))
		return false;
	Int32 mode = 0;
	for (const Int32 m : kModes)
		if (!mode && IsSnapEnabled(doc, m))
			mode = m;
	if (!mode)
		return false;

	const Float radius = GetSnapSettings(doc, SNAPMODE_ALL).GetInt32(SNAP_SETTINGS_RADIUS, kDefaultRadius);
	if (!(radius >= 0.0))
		return false;
	const standin::view::Projection view = standin::view::ViewDataOf(data->bd)->Current();
	const Vector at = view.WorldToScreen(p);

	bool found = false;
	Float bestDist = 0.0, bestDepth = 0.0;
	for (BaseObject* op = doc->GetFirstObject(); op; op = standin::view::NextObjectInTree(op))
	{
		if (op->GetEditorMode() == 1 || !op->IsInstanceOf(Opolygon))
			continue;
		const auto* poly = static_cast<const PolygonObject*>(op);
		const Vector* points = poly->GetPointR();
		const Matrix mg = poly->GetMg();
		for (Int32 i = 0; points && i < poly->GetPointCount(); ++i)
		{
			const Vector w = mg * points[i];
			const Vector s = view.WorldToScreen(w);
			if (!(s.z > 0.0))
				continue;
			const Float dx = s.x - at.x, dy = s.y - at.y;
			const Float dist = dx * dx + dy * dy;
			if (!(dist <= radius * radius))
				continue;
			if (!found || dist < bestDist || (dist == bestDist && s.z < bestDepth))
			{
				found = true;
				bestDist = dist;
				bestDepth = s.z;
				result.delta = w - p;
				result.snapmode = mode;
				result.target = op;
				result.component = i;
			}
		}
	}
	return found;
}
