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

	// A spline of several curves gets n points on each curve.
	std::vector<Int32> counts = spline->curves;
	Int64 sum = 0;
	for (Int32 c : counts)
		sum += c < 1 ? Int64{-1} << 40 : c;
	if (sum != static_cast<Int64>(spline->points.size()))
		counts.assign(1, static_cast<Int32>(spline->points.size()));
	if (static_cast<Int64>(n) * static_cast<Int64>(counts.size()) > scene::kMaxElements)
		return false;
	std::vector<Vector> fresh;
	fresh.reserve(static_cast<size_t>(n) * counts.size());
	size_t start = 0;
	for (Int32 count : counts)
	{
		const std::vector<Vector> old(spline->points.begin() + static_cast<std::ptrdiff_t>(start),
			spline->points.begin() + static_cast<std::ptrdiff_t>(start + static_cast<size_t>(count)));
		start += static_cast<size_t>(count);
		const scene::PolylineTable table(old);
		fresh.push_back(old.front());
		for (Int32 j = 1; j < n - 1; ++j)
			fresh.push_back(table.Sample(static_cast<Float>(j) / static_cast<Float>(n - 1)));
		if (n > 1)
			fresh.push_back(old.back());
	}
	std::vector<Int32> curves;
	if (counts.size() > 1)
		curves.assign(counts.size(), n);
	spline->points.swap(fresh);
	spline->curves.swap(curves);
	return true;
}

} // namespace modeling
