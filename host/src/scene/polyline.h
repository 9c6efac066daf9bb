// Positions along a polyline by length. The host's curve through a spline's points is this
// polyline for every spline type.
//
// A spline may hold several curves one after another in its point array (a join makes such a
// spline); curves gives their point counts (empty: one curve through every point). The gap from
// one curve's last point to the next curve's first is not part of the line: it adds no length and
// no sample falls on it, so the curves are walked one after the other.
#pragma once

#include <span>
#include <vector>

#include "hostapi/vector.h"

namespace scene
{

using CurveCounts = std::span<const Int32>;

Float SegmentLength(const Vector& a, const Vector& b);
Float PolylineLength(const std::vector<Vector>& points, CurveCounts curves = {});

// The point at fraction t (clamped to [0, 1]; NaN counts as 0) of the length. A polyline of
// length 0 answers its first point, one without points (0, 0, 0).
Vector SampleByWalk(const std::vector<Vector>& points, Float t, CurveCounts curves = {});

// The same positions from a table of cumulative lengths, for many samples of one polyline.
class PolylineTable
{
public:
	explicit PolylineTable(const std::vector<Vector>& points, CurveCounts curves = {});
	Vector Sample(Float t) const;
	// The same for fractions that never decrease from one call to the next: *from (0 at the
	// first call) keeps where the last search ended, so a run of samples walks the table once.
	Vector Sample(Float t, size_t* from) const;
	Float Length() const { return _cumulative.empty() ? 0.0 : _cumulative.back(); }

private:
	const std::vector<Vector>& _points;
	std::vector<Float> _pieces;     // _pieces[i]: length of the piece that ends at point i (0: none)
	std::vector<Float> _cumulative; // _cumulative[i]: length from point 0 to point i
	// The sample in the piece ending at point k, the first whose cumulative length reaches target.
	Vector SampleAt(size_t k, Float target) const;
};

} // namespace scene
