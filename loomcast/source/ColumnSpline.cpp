#include "ColumnSpline.h"

#include "KernelTags.h"

ColumnSpline::ColumnSpline()
	: _a(LOOMSURFACE_SOURCE), _b(LOOMSURFACE_SOURCE), _c(LOOMSURFACE_SOURCE), _d(LOOMSURFACE_SOURCE),
	  _mu(LOOMSURFACE_SOURCE), _z(LOOMSURFACE_SOURCE)
{
}

bool ColumnSpline::Fit(const Vector* knots, Int32 m)
{
	_m = 0;
	if (!knots || m <= 0)
		return m == 0;
	if (!_a.Resize(m) || !_b.Resize(m) || !_c.Resize(m) || !_d.Resize(m) || !_mu.Resize(m) || !_z.Resize(m))
		return false;
	for (Int32 i = 0; i < m; ++i)
	{
		_a[i] = knots[i];
		_b[i] = _c[i] = _d[i] = Vector();
	}
	// Second differences on the right-hand side, swept forward (mu_0 = 0, z_0 = 0) ...
	_mu[0] = 0.0;
	_z[0] = Vector();
	for (Int32 i = 1; i + 1 < m; ++i)
	{
		const Vector r = (knots[i - 1] - knots[i] * 2.0 + knots[i + 1]) * 3.0;
		const Float l = 4.0 - _mu[i - 1];
		_mu[i] = 1.0 / l;
		_z[i] = (r - _z[i - 1]) / l;
	}
	// ... and back, with no curvature at either end.
	for (Int32 i = m - 2; i >= 1; --i)
		_c[i] = _z[i] - _c[i + 1] * _mu[i];
	for (Int32 i = 0; i + 1 < m; ++i)
	{
		_d[i] = (_c[i + 1] - _c[i]) / 3.0;
		_b[i] = (_a[i + 1] - _a[i]) - _c[i] - _d[i];
	}
	_m = m;
	return true;
}

Vector ColumnSpline::Evaluate(Float t) const
{
	if (_m <= 0)
		return Vector();
	if (_m == 1)
		return _a[0];
	// Compared as reals first: a NaN or huge t never reaches the integer conversion.
	const Int32 last = _m - 2;
	Int32 i = 0;
	if (t >= static_cast<Float>(last))
		i = last;
	else if (t > 0.0)
		i = static_cast<Int32>(t);
	const Float u = t - static_cast<Float>(i);
	return ((_d[i] * u + _c[i]) * u + _b[i]) * u + _a[i];
}
