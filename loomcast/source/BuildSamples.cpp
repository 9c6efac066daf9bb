#include <cmath>
#include <limits>

#include "HostHandle.h"
#include "KernelTags.h"
#include "SurfaceBuild.h"
#include "hostapi/modeling.h"

namespace
{
// Spline data entry 1001 (intermediate points) set to 2: natural spacing along the curve.
constexpr Int32 INTERPOLATION_NATURAL = 2;
// Resampling mode handed to the command: a fixed number of points.
constexpr Int32 RESAMPLE_BY_COUNT = 4;
// Fills row[1 .. n - 2] with the points at unit offsets j / (n - 1) along the polyline, uniform in
// length, in one walk. The host's curve through a spline's points is this polyline, and both of
// its samplers (the walk and the cumulative-length table) reach these same positions to the last
// bit: the same piece lengths summed in the same order, the first piece of positive length that
// reaches the target, the same interpolation. So which sampler the build would ask makes no
// difference to the rows; the test compares them bit for bit.
bool SampleAlong(const Vector* points, Int32 count, Int32 n, Vector* row)
{
	HostArray<Float> walked(LOOMSURFACE_SOURCE);
	if (!walked.Resize(count))
		return false;
	Float total = 0.0;
	for (Int32 i = 1; i < count; ++i)
	{
		total += std::sqrt((points[i] - points[i - 1]).GetSquaredLength());
		walked[i] = total;
	}
	if (!(total > 0.0) || !std::isfinite(total))
	{
		for (Int32 j = 1; j + 1 < n; ++j)
			row[j] = points[0];
		return true;
	}
	auto pieceLength = [&](Int32 i) { return std::sqrt((points[i] - points[i - 1]).GetSquaredLength()); };
	Int32 piece = 1;
	for (Int32 j = 1; j + 1 < n; ++j)
	{
		const Float target = static_cast<Float>(j) / static_cast<Float>(n - 1) * total;
		// The first piece of positive length that reaches the target holds the sample.
		while (piece < count && !(pieceLength(piece) > 0.0 && walked[piece - 1] + pieceLength(piece) >= target))
			++piece;
		if (piece >= count)
		{
			row[j] = points[count - 1];
			continue;
		}
		const Float start = walked[piece - 1], length = pieceLength(piece);
		const Vector& a = points[piece - 1];
		const Vector& b = points[piece];
		row[j] = target >= start + length ? b : a + (b - a) * ((target - start) / length);
	}
	return true;
}
} // namespace

bool SampleStroke(BaseDocument* doc, const Stroke& stroke, Int32 segments, Int32 n, Vector* row)
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

	const Int32 resampled = spline->GetPointCount();
	const Vector* along = spline->GetPointR();
	if (resampled <= 0 || !along || !SampleAlong(along, resampled, n, row))
		return false;
	// The ends are the stroke's own, so that they still meet the border points they were snapped to.
	row[0] = stroke[0].pos;
	row[n - 1] = stroke[count - 1].pos;
	return true;
}
