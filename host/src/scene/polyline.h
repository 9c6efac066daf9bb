// Positions along a polyline by length. The host's curve through a spline's points is this
// polyline for every spline type.
#pragma once

#include <vector>

#include "hostapi/vector.h"

namespace scene
{

Float SegmentLength(const Vector& a, const Vector& b);
Float PolylineLength(const std::vector<Vector>& points);

// The point at fraction t (clamped to [0, 1]; NaN counts as 0) of the length. A polyline of
// length 0 answers its first point, one without points (0, 0, 0).
Vector SampleByWalk(const std::vector<Vector>& points, Float t);

// The same positions from a table of cumulative lengths, for many samples of one polyline.
class PolylineTable
{
public:
	explicit PolylineTable(const std::vector<Vector>& points);
	Vector Sample(Float t) const;
	Float Length() const { return _cumulative.empty() ? 0.0 : _cumulative.back(); }

private:
	const std::vector<Vector>& _points;
	std::vector<Float> _cumulative; // _cumulative[i]: length from point 0 to point i
};

} // namespace scene
