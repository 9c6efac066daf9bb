#include "view/projection.h"

#include <cmath>

namespace standin::view
{

namespace
{
// Depths closer to 0 than this are treated as this (keeping the sign) when dividing, so that a
// point in the camera's own plane projects far away instead of to infinity.
constexpr Float kMinDivisor = 1e-9;
} // namespace

Float Projection::CentreX() const
{
	// Integer halving rounds down for the non-negative sums of a normal frame; floor keeps that
	// true for frames that start left of 0.
	return std::floor((static_cast<Float>(left) + static_cast<Float>(right) + 1.0) / 2.0);
}

Float Projection::CentreY() const
{
	return std::floor((static_cast<Float>(top) + static_cast<Float>(bottom) + 1.0) / 2.0);
}

Float Projection::Focal() const
{
	return IsParallel() ? scale : static_cast<Float>(Width());
}

Vector Projection::WorldToScreen(const Vector& p) const
{
	const Vector q = InvertMatrix(camera) * p;
	const Float f = Focal();
	if (IsParallel())
		return Vector(CentreX() + f * q.x, CentreY() - f * q.y, q.z);
	Float div = q.z;
	if (std::abs(div) < kMinDivisor)
		div = div < 0.0 ? -kMinDivisor : kMinDivisor;
	return Vector(CentreX() + f * q.x / div, CentreY() - f * q.y / div, q.z);
}

Vector Projection::ScreenToWorld(const Vector& s) const
{
	const Float f = Focal();
	const Float dx = (s.x - CentreX()) / f;
	const Float dy = -(s.y - CentreY()) / f;
	const Vector q = IsParallel() ? Vector(dx, dy, s.z) : Vector(dx * s.z, dy * s.z, s.z);
	return camera * q;
}

bool Projection::PointInPixel(const Vector& p, Int32 x, Int32 y) const
{
	const Vector s = WorldToScreen(p);
	// A parallel view also sees its own plane, where the stroke tool places a cursor that has no
	// depth to take (a point there must stay pickable and drawn).
	const bool seen = IsParallel() ? s.z >= 0.0 : s.z > 0.0;
	if (!seen || !std::isfinite(s.x) || !std::isfinite(s.y))
		return false;
	return std::floor(s.x + 0.5) == static_cast<Float>(x) && std::floor(s.y + 0.5) == static_cast<Float>(y);
}

void Projection::PixelRay(Int32 x, Int32 y, Vector* origin, Vector* direction) const
{
	const Vector o = ScreenToWorld(Vector(x, y, 0.0));
	const Vector one = ScreenToWorld(Vector(x, y, 1.0));
	*origin = o;
	*direction = one - o;
}

bool IsValidProjectionCode(Int32 code)
{
	return code == 0 || (code >= 8 && code <= 11);
}

Matrix DefaultCameraMatrix()
{
	Matrix m = HPBToMatrix(Vector(0.0, std::atan2(-500.0, 1000.0), 0.0), ROTATIONORDER_DEFAULT);
	m.off = Vector(0.0, 500.0, -1000.0);
	return m;
}

} // namespace standin::view
