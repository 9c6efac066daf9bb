// Straight-line strokes snap their direction to angle steps in a reference frame's x-z plane.
#include "Dtool.h"

#include <cmath>

namespace
{
constexpr Float kDegreesPerRadian = 57.29577951308232;
constexpr Float kRadiansPerDegree = 0.017453292519943295;
} // namespace

Vector DTOOL::SnapDirection(Vector& moving, const Vector& anchor, Float step, const Matrix& reference, Float* angle)
{
	const Float s = step * kDegreesPerRadian;
	if (s == 0.0 || !std::isfinite(s))
		return moving;
	const Matrix inv = InvertMatrix(reference);
	const Vector localAnchor = inv * anchor;
	const Vector d = inv * moving - localAnchor;
	// A heading of h degrees is the x-z angle h + 90 (see VectorToHPB); round that to the step.
	const Float h = VectorToHPB(d).x * kDegreesPerRadian;
	const Float a = std::floor((h + 90.0) / s + 0.5) * s * kRadiansPerDegree;
	if (angle)
		*angle = a;
	// The length is kept and the height difference to the anchor dropped.
	moving = reference * (localAnchor + MatrixRotY(a) * Vector(d.GetLength(), 0.0, 0.0));
	return moving;
}
