// Vector and matrix operations of the host interface.
//
// Rotation convention (left-handed frame, angles in radians):
//   MatrixRotX(w): v1 = (1, 0, 0),        v2 = (0, cos w, -sin w), v3 = (0, sin w, cos w)
//   MatrixRotY(w): v1 = (cos w, 0, sin w), v2 = (0, 1, 0),         v3 = (-sin w, 0, cos w)
//   MatrixRotZ(w): v1 = (cos w, -sin w, 0), v2 = (sin w, cos w, 0), v3 = (0, 0, 1)
// The three follow one cyclic pattern (x -> y -> z), each has determinant +1.
//
// Rotation order 6 composes heading about Y, pitch about X and bank about Z:
//   HPBToMatrix(h, p, b) = MatrixRotY(h) * MatrixRotX(p) * MatrixRotZ(b)
// so its third axis is (-cos p sin h, sin p, cos p cos h). VectorToHPB picks h and p so that this
// axis is the unit direction: h = atan2(-x, z), p = atan(y / sqrt(x^2 + z^2)). A heading h in
// degrees plus 90 is then the angle a of the x-z direction (cos a, 0, sin a), which is what
// direction snapping relies on.
#include "hostapi/vector.h"

#include <algorithm>
#include <cmath>

namespace
{

Float LargestComponent(const Vector& v)
{
	return std::max({std::abs(v.x), std::abs(v.y), std::abs(v.z)});
}

bool IsFinite(const Vector& v)
{
	return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z);
}

// The power of two nearest above the largest component (1 for a zero vector): dividing by it is
// exact and brings every component into [-1, 1].
Float AxisScale(const Vector& v)
{
	const Float largest = LargestComponent(v);
	if (largest == 0.0)
		return 1.0;
	int exponent = 0;
	std::frexp(largest, &exponent);
	return std::ldexp(1.0, exponent);
}

} // namespace

Float Vector::GetLength() const
{
	// The plain sum of squares overflows above about 1e154 and underflows below 1e-154; only
	// then is the vector scaled first.
	const Float squared = x * x + y * y + z * z;
	if (std::isfinite(squared) && squared >= 1e-290)
		return std::sqrt(squared);
	const Float scale = LargestComponent(*this);
	if (scale == 0.0 || !std::isfinite(scale))
		return scale;
	const Vector unit = *this / scale;
	return scale * std::sqrt(unit.x * unit.x + unit.y * unit.y + unit.z * unit.z);
}

Matrix InvertMatrix(const Matrix& m)
{
	if (!IsFinite(m.off) || !IsFinite(m.v1) || !IsFinite(m.v2) || !IsFinite(m.v3))
		return Matrix();
	// The determinant of a frame scaled by 1e200 overflows (1e600), and one of a frame scaled by
	// 1e-200 underflows to 0. So each axis is first divided by a power of two that brings it to
	// unit size (exactly), the unit frame is inverted, and row i of its inverse is divided by the
	// scale of axis i: inverse(A * S) = inverse(S) * inverse(A) for the diagonal scale S.
	const Float s1 = AxisScale(m.v1), s2 = AxisScale(m.v2), s3 = AxisScale(m.v3);
	const Vector a1 = m.v1 / s1, a2 = m.v2 / s2, a3 = m.v3 / s3;
	const Vector r1 = Cross(a2, a3) / s1;
	const Vector r2 = Cross(a3, a1) / s2;
	const Vector r3 = Cross(a1, a2) / s3;
	const Float det = Dot(a1, Cross(a2, a3));
	if (det == 0.0)
		return Matrix();

	// Rows of the inverse are the cofactor vectors divided by the determinant; the axes of the
	// result are its columns.
	const Float inv = 1.0 / det;
	Matrix out;
	out.v1 = Vector(r1.x, r2.x, r3.x) * inv;
	out.v2 = Vector(r1.y, r2.y, r3.y) * inv;
	out.v3 = Vector(r1.z, r2.z, r3.z) * inv;
	out.off = -out.TransformVector(m.off);
	// An inverse beyond the range of Float (a frame scaled by 1e-310, say) cannot be given.
	if (!IsFinite(out.off) || !IsFinite(out.v1) || !IsFinite(out.v2) || !IsFinite(out.v3))
		return Matrix();
	return out;
}

Vector PlaneNormalOfFrame(const Matrix& m)
{
	const Vector n = Cross(m.v3, m.v1);
	const Float len = n.GetLength();
	if (len == 0.0 || !std::isfinite(len))
		return Vector();
	return n / len;
}

Matrix MatrixRotX(Float w)
{
	const Float c = std::cos(w), s = std::sin(w);
	return Matrix(Vector(), Vector(1.0, 0.0, 0.0), Vector(0.0, c, -s), Vector(0.0, s, c));
}

Matrix MatrixRotY(Float w)
{
	const Float c = std::cos(w), s = std::sin(w);
	return Matrix(Vector(), Vector(c, 0.0, s), Vector(0.0, 1.0, 0.0), Vector(-s, 0.0, c));
}

Matrix MatrixRotZ(Float w)
{
	const Float c = std::cos(w), s = std::sin(w);
	return Matrix(Vector(), Vector(c, -s, 0.0), Vector(s, c, 0.0), Vector(0.0, 0.0, 1.0));
}

Matrix MatrixScale(const Vector& s)
{
	return Matrix(Vector(), Vector(s.x, 0.0, 0.0), Vector(0.0, s.y, 0.0), Vector(0.0, 0.0, s.z));
}

Vector VectorToHPB(const Vector& d)
{
	const Float horizontal = std::sqrt(d.x * d.x + d.z * d.z);
	if (horizontal < 1e-5)
		return Vector(0.0, d.y < 0.0 ? -PI / 2.0 : PI / 2.0, 0.0);
	// 0.0 - x rather than -x: a direction straight back then has heading +pi, not -pi.
	return Vector(std::atan2(0.0 - d.x, d.z), std::atan(d.y / horizontal), 0.0);
}

// Only order 6 is modelled; every other order is treated as 6, which is what the plug-ins use.
Matrix HPBToMatrix(const Vector& hpb, Int32 /*order*/)
{
	return MatrixRotY(hpb.x) * MatrixRotX(hpb.y) * MatrixRotZ(hpb.z);
}

namespace
{
Vector UnitOrZero(const Vector& v)
{
	const Float len = v.GetLength();
	return (len == 0.0 || !std::isfinite(len)) ? Vector() : v / len;
}
} // namespace

Vector MatrixToHPB(const Matrix& m, Int32 /*order*/)
{
	// Scale is removed first so that scaled frames give the angles of their rotation.
	const Vector v1 = UnitOrZero(m.v1);
	const Vector v2 = UnitOrZero(m.v2);
	const Vector v3 = UnitOrZero(m.v3);

	const Float cosPitch = std::sqrt(v3.x * v3.x + v3.z * v3.z);
	if (cosPitch > 1e-9)
	{
		const Float h = std::atan2(-v3.x, v3.z);
		const Float p = std::atan2(v3.y, cosPitch);
		const Float b = std::atan2(-v1.y, v2.y);
		return Vector(h, p, b);
	}
	// Looking straight up or down: heading and bank turn about the same axis, so bank is set to 0
	// and the whole turn goes into the heading.
	const Float p = v3.y < 0.0 ? -PI / 2.0 : PI / 2.0;
	return Vector(std::atan2(v1.z, v1.x), p, 0.0);
}
