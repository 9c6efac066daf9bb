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

// Which points begin a curve; empty for a single curve (or counts that do not fit the points,
// which are read as one curve rather than trusted).
std::vector<bool> CurveStarts(size_t pointCount, CurveCounts curves)
{
	if (curves.size() < 2)
		return {};
	std::vector<bool> starts(pointCount, false);
	size_t at = 0;
	for (Int32 count : curves)
	{
		if (count < 1 || at + static_cast<size_t>(count) > pointCount)
			return {};
		starts[at] = true;
		at += static_cast<size_t>(count);
	}
	return at == pointCount ? starts : std::vector<bool>();
}

// The length of the piece from point i - 1 to point i: none across the gap between two curves.
Float PieceLength(const std::vector<Vector>& points, const std::vector<bool>& starts, size_t i)
{
	return !starts.empty() && starts[i] ? 0.0 : SegmentLength(points[i - 1], points[i]);
}

} // namespace

Float SegmentLength(const Vector& a, const Vector& b)
{
	return std::sqrt((b - a).GetSquaredLength());
}

Float PolylineLength(const std::vector<Vector>& points, CurveCounts curves)
{
	const std::vector<bool> starts = CurveStarts(points.size(), curves);
	Float total = 0.0;
	for (size_t i = 1; i < points.size(); ++i)
		total += PieceLength(points, starts, i);
	return total;
}

Vector SampleByWalk(const std::vector<Vector>& points, Float t, CurveCounts curves)
{
	if (points.empty())
		return Vector();
	const std::vector<bool> starts = CurveStarts(points.size(), curves);
	Float total = 0.0;
	for (size_t i = 1; i < points.size(); ++i)
		total += PieceLength(points, starts, i);
	if (!(total > 0.0) || !std::isfinite(total))
		return points.front();
	const Float target = ClampFraction(t) * total;
	Float walked = 0.0;
	for (size_t i = 1; i < points.size(); ++i)
	{
		const Float seg = PieceLength(points, starts, i);
		if (seg > 0.0 && walked + seg >= target)
			return Interpolate(points[i - 1], points[i], walked, seg, target);
		walked += seg;
	}
	return points.back();
}

PolylineTable::PolylineTable(const std::vector<Vector>& points, CurveCounts curves) : _points(points)
{
	const std::vector<bool> starts = CurveStarts(points.size(), curves);
	_pieces.reserve(points.size());
	_cumulative.reserve(points.size());
	Float walked = 0.0;
	for (size_t i = 0; i < points.size(); ++i)
	{
		const Float piece = i > 0 ? PieceLength(points, starts, i) : 0.0;
		walked += piece;
		_pieces.push_back(piece);
		_cumulative.push_back(walked);
	}
}

Vector PolylineTable::SampleAt(size_t k, Float target) const
{
	if (k >= _cumulative.size())
		return _points.back();
	// Skip pieces of length 0 (and the gaps between curves), as the walk does.
	while (k + 1 < _cumulative.size() && !(_pieces[k] > 0.0))
		++k;
	const Float seg = _pieces[k];
	if (!(seg > 0.0))
		return _points[k];
	return Interpolate(_points[k - 1], _points[k], _cumulative[k - 1], seg, target);
}

Vector PolylineTable::Sample(Float t) const
{
	if (_points.empty())
		return Vector();
	const Float total = Length();
	if (!(total > 0.0) || !std::isfinite(total))
		return _points.front();
	const Float target = ClampFraction(t) * total;
	// First point whose cumulative length reaches the target; its piece holds the sample.
	const auto it = std::lower_bound(_cumulative.begin() + 1, _cumulative.end(), target);
	return SampleAt(static_cast<size_t>(it - _cumulative.begin()), target);
}

Vector PolylineTable::Sample(Float t, size_t* from) const
{
	if (_points.empty())
		return Vector();
	const Float total = Length();
	if (!(total > 0.0) || !std::isfinite(total))
		return _points.front();
	const Float target = ClampFraction(t) * total;
	// The same point lower_bound finds, searched onwards from where the last search ended.
	size_t k = *from < 1 ? 1 : *from;
	while (k < _cumulative.size() && _cumulative[k] < target)
		++k;
	*from = k;
	return SampleAt(k, target);
}

} // namespace scene
