#include <limits>

#include "HostHandle.h"
#include "SurfaceBuild.h"
#include "hostapi/modeling.h"

namespace
{
// Spline data entry 1001 (intermediate points) set to 2: natural spacing along the curve.
constexpr Int32 INTERPOLATION_NATURAL = 2;
// Resampling mode handed to the command: a fixed number of points.
constexpr Int32 RESAMPLE_BY_COUNT = 4;
} // namespace

bool SampleStroke(BaseDocument* doc, const Stroke& stroke, Int32 segments, Int32 n, bool byTable, Vector* row)
{
	const Int32 count = stroke.GetCount();
	if (count <= 0 || n < 2 || !row || segments < 1 || segments > std::numeric_limits<Int32>::max() / 2)
		return false;
	HostHandle<SplineObject, BaseObject> spline(SplineObject::Alloc(count, SPLINETYPE_BEZIER));
	if (!spline || spline->GetPointCount() != count || !spline->GetPointW())
		return false;
	if (BaseContainer* data = spline->GetDataInstance())
		data->SetInt32(SPLINEOBJECT_INTERPOLATION, INTERPOLATION_NATURAL);
	Vector* points = spline->GetPointW();
	for (Int32 i = 0; i < count; ++i)
		points[i] = stroke[i].pos;

	BaseContainer params;
	params.SetInt32(MDATA_SPLINE_RESAMPLE_MODE, RESAMPLE_BY_COUNT);
	params.SetInt32(MDATA_SPLINE_RESAMPLE_COUNT, 2 * segments);
	ModelingCommandData cd;
	cd.doc = doc;
	cd.op = spline.Get();
	cd.bc = &params;
	if (!SendModelingCommand(MCOMMAND_SPLINE_RESAMPLE, cd))
		return false;

	const Float last = static_cast<Float>(n - 1);
	for (Int32 j = 1; j + 1 < n; ++j)
	{
		const Float t = static_cast<Float>(j) / last;
		row[j] = byTable ? spline->SampleUniformByTable(t) : spline->SampleUniform(t);
	}
	// The ends are the stroke's own, so that they still meet the border points they were snapped to.
	row[0] = stroke[0].pos;
	row[n - 1] = stroke[count - 1].pos;
	return true;
}
