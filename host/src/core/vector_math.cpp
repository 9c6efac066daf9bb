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

#include <cmath>

Float Vector::GetLength() const
{
	return std::sqrt(x * x + y * y + z * z);
}

Matrix InvertMatrix(const Matrix& m)
{
	const Vector r1 = Cross(m.v2, m.v3);
	const Vector r2 = Cross(m.v3, m.v1);
	const Vector r3 = Cross(m.v1, m.v2);
	const Float det = Dot(m.v1, r1);
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
