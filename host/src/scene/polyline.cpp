#include "scene/polyline.h"

#include <algorithm>
#include <cmath>

namespace scene
{
namespace
{

Float ClampFraction(Float t)
{
	if (!(t > 0.0)) // also NaN
		return 0.0;
	return t > 1.0 ? 1.0 : t;
}

// Both samplers finish with this, from the same sums, so they agree to the last bit.
Vector Interpolate(const Vector& a, const Vector& b, Float start, Float length, Float target)
{
	if (target >= start + length)
		return b;
	const Float f = (target - start) / length;
	return a + (b - a) * f;
}

} // namespace

Float SegmentLength(const Vector& a, const Vector& b)
{
	return std::sqrt((b - a).GetSquaredLength());
}

Float PolylineLength(const std::vector<Vector>& points)
{
	Float total = 0.0;
	for (size_t i = 1; i < points.size(); ++i)
		total += SegmentLength(points[i - 1], points[i]);
	return total;
}

Vector SampleByWalk(const std::vector<Vector>& points, Float t)
{
	if (points.empty())
		return Vector();
	const Float total = PolylineLength(points);
	if (!(total > 0.0) || !std::isfinite(total))
		return points.front();
	const Float target = ClampFraction(t) * total;
	Float walked = 0.0;
	for (size_t i = 1; i < points.size(); ++i)
	{
		const Float seg = SegmentLength(points[i - 1], points[i]);
		if (seg > 0.0 && walked + seg >= target)
			return Interpolate(points[i - 1], points[i], walked, seg, target);
		walked += seg;
	}
	return points.back();
}

PolylineTable::PolylineTable(const std::vector<Vector>& points) : _points(points)
{
	_cumulative.reserve(points.size());
	Float walked = 0.0;
	for (size_t i = 0; i < points.size(); ++i)
	{
		if (i > 0)
			walked += SegmentLength(points[i - 1], points[i]);
		_cumulative.push_back(walked);
	}
}

Vector PolylineTable::Sample(Float t) const
{
	if (_points.empty())
		return Vector();
	const Float total = Length();
	if (!(total > 0.0) || !std::isfinite(total))
		return _points.front();
	const Float target = ClampFraction(t) * total;
	// First point whose cumulative length reaches the target; its segment holds the sample.
	auto it = std::lower_bound(_cumulative.begin() + 1, _cumulative.end(), target);
	if (it == _cumulative.end())
		return _points.back();
	size_t k = static_cast<size_t>(it - _cumulative.begin());
	// Skip segments of length 0, as the walk does.
	while (k + 1 < _cumulative.size() && !(SegmentLength(_points[k - 1], _points[k]) > 0.0))
		++k;
	const Float seg = SegmentLength(_points[k - 1], _points[k]);
	if (!(seg > 0.0))
		return _points[k];
	return Interpolate(_points[k - 1], _points[k], _cumulative[k - 1], seg, target);
}

} // namespace scene
