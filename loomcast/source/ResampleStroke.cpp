#include "Dtool.h"

#include <utility>

#include "HostHandle.h"
#include "ToolSettings.h"
#include "hostapi/modeling.h"

namespace
{
// Spline data entry 1001 (intermediate points) set to 3: uniform spacing along the curve.
constexpr Int32 INTERPOLATION_UNIFORM = 3;
// Resampling mode handed to the command: a fixed number of points.
constexpr Int32 RESAMPLE_BY_COUNT = 4;
} // namespace

bool DTOOL::ResampleStroke(BaseDocument* doc, const BaseContainer& settings, Stroke& stroke)
{
	const Int32 count = stroke.GetCount();
	// Nothing to spread out (a stroke emptied by erasing waits for its removal).
	if (count == 0)
		return true;
	HostHandle<SplineObject, BaseObject> spline(SplineObject::Alloc(count, SPLINETYPE_LINEAR));
	if (!spline)
		return true;
	if (BaseContainer* data = spline->GetDataInstance())
		data->SetInt32(SPLINEOBJECT_INTERPOLATION, INTERPOLATION_UNIFORM);

	Vector* pts = spline->GetPointW();
	if (pts)
	{
		for (Int32 i = 0; i < count && i < spline->GetPointCount(); ++i)
			pts[i] = stroke[i].pos;
	}

	BaseContainer params;
	params.SetInt32(MDATA_SPLINE_RESAMPLE_MODE, RESAMPLE_BY_COUNT);
	params.SetInt32(MDATA_SPLINE_RESAMPLE_COUNT, settings.GetInt32(LOOM_FREEHAND_POINTS));
	ModelingCommandData cd;
	cd.doc = doc;
	cd.op = spline.Get();
	cd.bc = &params;
	if (!SendModelingCommand(MCOMMAND_SPLINE_RESAMPLE, cd))
		return false;

	// The new points are gathered apart and swapped in whole, so a refused allocation cannot
	// leave the stroke half rebuilt.
	const Int32 newCount = spline->GetPointCount();
	const Vector* result = spline->GetPointR();
	Stroke rebuilt;
	if (newCount > 0 && (!result || !rebuilt.Reserve(newCount)))
		return true;
	for (Int32 i = 0; i < newCount; ++i)
		rebuilt.AppendPoint(i, result[i]);
	// The ends stay exactly where they were: a stroke snapped onto a mesh's border point must
	// still meet that point bit for bit when the surface is attached to the border.
	if (newCount > 0 && count > 0)
	{
		rebuilt[0].pos = stroke[0].pos;
		if (newCount > 1)
			rebuilt[newCount - 1].pos = stroke[count - 1].pos;
	}
	stroke = std::move(rebuilt);
	return true;
}
