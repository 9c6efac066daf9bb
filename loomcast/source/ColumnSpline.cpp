#include "ColumnSpline.h"

#include "KernelTags.h"

ColumnSpline::ColumnSpline()
	: _a(LOOMSURFACE_SOURCE), _b(LOOMSURFACE_SOURCE), _c(LOOMSURFACE_SOURCE), _d(LOOMSURFACE_SOURCE), _mu(LOOMSURFACE_SOURCE)
{
}

bool ColumnSpline::Fit(const Vector* knots, Int32 m, Int32 columns)
{
	_m = _columns = 0;
	if (m == 0)
		return true;
	if (!knots || m < 0 || columns <= 0)
		return false;
	const Int64 cells = static_cast<Int64>(m) * columns;
	if (!_a.Resize(cells) || !_b.Resize(cells) || !_c.Resize(cells) || !_d.Resize(cells) || !_mu.Resize(m))
		return false;
	_columns = columns;
	for (Int64 i = 0; i < cells; ++i)
	{
		_a[i] = knots[i];
		_b[i] = _c[i] = _d[i] = Vector();
	}
	// Second differences on the right-hand side, swept forward (mu_0 = 0, z_0 = 0); z is kept in
	// c until the back substitution replaces it ...
	_mu[0] = 0.0;
	for (Int32 i = 1; i + 1 < m; ++i)
	{
		const Float l = 4.0 - _mu[i - 1];
		_mu[i] = 1.0 / l;
		for (Int32 col = 0; col < columns; ++col)
		{
			const Vector r = (_a[Cell(i - 1, col)] - _a[Cell(i, col)] * 2.0 + _a[Cell(i + 1, col)]) * 3.0;
			_c[Cell(i, col)] = (r - _c[Cell(i - 1, col)]) / l;
		}
	}
	// ... and back, with no curvature at either end.
	for (Int32 i = m - 2; i >= 1; --i)
		for (Int32 col = 0; col < columns; ++col)
			_c[Cell(i, col)] = _c[Cell(i, col)] - _c[Cell(i + 1, col)] * _mu[i];
	for (Int32 i = 0; i + 1 < m; ++i)
	{
		for (Int32 col = 0; col < columns; ++col)
		{
			const Int64 k = Cell(i, col), next = Cell(i + 1, col);
			_d[k] = (_c[next] - _c[k]) / 3.0;
			_b[k] = (_a[next] - _a[k]) - _c[k] - _d[k];
		}
	}
	_m = m;
	return true;
}

Int32 ColumnSpline::Segment(Float t, Float* u) const
{
	// Compared as reals first: a NaN or huge t never reaches the integer conversion.
	const Int32 last = _m - 2;
	Int32 i = 0;
	if (t >= static_cast<Float>(last))
		i = last;
	else if (t > 0.0)
		i = static_cast<Int32>(t);
	*u = t - static_cast<Float>(i);
	return i;
}

Vector ColumnSpline::Evaluate(Float t, Int32 column) const
{
	if (_m <= 0 || column < 0 || column >= _columns)
		return Vector();
	if (_m == 1)
		return _a[column];
	Float u = 0.0;
	const Int64 k = Cell(Segment(t, &u), column);
	return ((_d[k] * u + _c[k]) * u + _b[k]) * u + _a[k];
}

void ColumnSpline::EvaluateRow(Float t, Vector* out) const
{
	if (_m <= 0 || !out)
		return;
	if (_m == 1)
	{
		for (Int32 col = 0; col < _columns; ++col)
			out[col] = _a[col];
		return;
	}
	Float u = 0.0;
	const Int64 base = Cell(Segment(t, &u), 0);
	for (Int32 col = 0; col < _columns; ++col)
	{
		const Int64 k = base + col;
		out[col] = ((_d[k] * u + _c[k]) * u + _b[k]) * u + _a[k];
	}
}
