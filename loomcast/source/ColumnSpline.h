// The natural cubic splines that run down the columns of the surface grid: through m knot values
// at unit spacing (knot i at t = i), with zero curvature at both ends. The construction is linear,
// so it runs on whole vectors (each coordinate comes out as its own spline) and on every column
// of a row-major table of knots at once, walking the table row by row.
#pragma once

#include "hostapi/memory.h"
#include "hostapi/vector.h"

class ColumnSpline
{
public:
	ColumnSpline();

	// Fits one spline per column through knots[i * columns + column], i = 0 .. m - 1. False when
	// memory is short or the table does not fit; the splines are then empty. The storage is kept
	// between fits.
	bool Fit(const Vector* knots, Int32 m, Int32 columns = 1);

	Int32 GetKnotCount() const { return _m; }
	Int32 GetColumnCount() const { return _columns; }
	// The value of a column's spline at t, from segment trunc(t) as ((d u + c) u + b) u + a with
	// u = t - segment. The segment is clamped to 0 .. m - 2, so t = m - 1 ends the last segment and
	// no coefficient past the last knot is read. Zero without knots; the knot's value for m = 1.
	Vector Evaluate(Float t, Int32 column = 0) const;
	// Every column's value at t into out[0 .. columns - 1].
	void EvaluateRow(Float t, Vector* out) const;

	// Coefficients of segment i (0 .. m - 1; the last holds only a).
	Vector A(Int32 i, Int32 column = 0) const { return _a[Cell(i, column)]; }
	Vector B(Int32 i, Int32 column = 0) const { return _b[Cell(i, column)]; }
	Vector C(Int32 i, Int32 column = 0) const { return _c[Cell(i, column)]; }
	Vector D(Int32 i, Int32 column = 0) const { return _d[Cell(i, column)]; }

private:
	Int64 Cell(Int32 i, Int32 column) const { return static_cast<Int64>(i) * _columns + column; }
	// The segment that holds t and the offset u within it.
	Int32 Segment(Float t, Float* u) const;

	HostArray<Vector> _a, _b, _c, _d;
	HostArray<Float> _mu; // forward sweep of the tridiagonal system (diagonal 4, off-diagonals 1)
	Int32 _m = 0;
	Int32 _columns = 0;
};
