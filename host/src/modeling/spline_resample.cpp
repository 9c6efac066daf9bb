// Rebuilds a spline as N points evenly spaced by length along it.
#include <vector>

#include "modeling/commands.h"
#include "scene/object_data.h"
#include "scene/polyline.h"

namespace modeling
{
namespace
{

// The only mode the host offers: a fixed number of points, evenly spaced.
constexpr Int32 kModeCount = 4;

} // namespace

bool ResampleSpline(ModelingCommandData& data)
{
	scene::SplineObjectData* spline = scene::SplineDataOf(data.op);
	if (!spline || spline->points.empty() || !data.bc)
		return false;
	const GeData* mode = data.bc->GetDataPointer(MDATA_SPLINE_RESAMPLE_MODE);
	const GeData* count = data.bc->GetDataPointer(MDATA_SPLINE_RESAMPLE_COUNT);
	if (!mode || !count || mode->GetInt32() != kModeCount)
		return false;
	const Int32 n = count->GetInt32();
	if (n < 1 || n > scene::kMaxElements)
		return false;

	const std::vector<Vector>& old = spline->points;
	std::vector<Vector> fresh;
	fresh.reserve(static_cast<size_t>(n));
	const scene::PolylineTable table(old);
	fresh.push_back(old.front());
	for (Int32 j = 1; j < n - 1; ++j)
		fresh.push_back(table.Sample(static_cast<Float>(j) / static_cast<Float>(n - 1)));
	if (n > 1)
		fresh.push_back(old.back());
	spline->points.swap(fresh);
	return true;
}

} // namespace modeling
