// The natural cubic spline that runs down one column of the surface grid: through m knot values
// at unit spacing (knot i at t = i), with zero curvature at both ends. The construction is linear,
// so it runs on whole vectors and each coordinate comes out as its own spline.
#pragma once

#include "hostapi/memory.h"
#include "hostapi/vector.h"

class ColumnSpline
{
public:
	ColumnSpline();

	// Fits the spline through knots[0 .. m - 1]. False when memory is short; the spline is then
	// empty. The storage is kept between fits, so one object serves every column of a grid.
	bool Fit(const Vector* knots, Int32 m);

	Int32 GetKnotCount() const { return _m; }
	// The value at t, from segment trunc(t) as ((d u + c) u + b) u + a with u = t - segment.
	// The segment is clamped to 0 .. m - 2, so t = m - 1 ends the last segment and no coefficient
	// past the last knot is read. Zero without knots; the single knot's value for m = 1.
	Vector Evaluate(Float t) const;

	// Coefficients of segment i (0 .. m - 1; the last holds only a).
	Vector A(Int32 i) const { return _a[i]; }
	Vector B(Int32 i) const { return _b[i]; }
	Vector C(Int32 i) const { return _c[i]; }
	Vector D(Int32 i) const { return _d[i]; }

private:
	HostArray<Vector> _a, _b, _c, _d;
	HostArray<Float> _mu; // forward sweep of the tridiagonal system (diagonal 4, off-diagonals 1)
	HostArray<Vector> _z;
	Int32 _m = 0;
};
