// Vector and matrix of the host interface. Both plug-ins use these exact types and operations;
// the implementations of the non-inline functions live in the host library.
#pragma once

#include "hostapi/types.h"

struct Vector
{
	Float x = 0.0, y = 0.0, z = 0.0;

	constexpr Vector() = default;
	constexpr explicit Vector(Float v) : x(v), y(v), z(v) {}
	constexpr Vector(Float ix, Float iy, Float iz) : x(ix), y(iy), z(iz) {}

	constexpr Vector operator+(const Vector& o) const { return {x + o.x, y + o.y, z + o.z}; }
	constexpr Vector operator-(const Vector& o) const { return {x - o.x, y - o.y, z - o.z}; }
	constexpr Vector operator-() const { return {-x, -y, -z}; }
	constexpr Vector operator*(Float s) const { return {x * s, y * s, z * s}; }
	constexpr Vector operator/(Float s) const { return {x / s, y / s, z / s}; }
	Vector& operator+=(const Vector& o) { x += o.x; y += o.y; z += o.z; return *this; }
	Vector& operator-=(const Vector& o) { x -= o.x; y -= o.y; z -= o.z; return *this; }
	Vector& operator*=(Float s) { x *= s; y *= s; z *= s; return *this; }
	Vector& operator/=(Float s) { x /= s; y /= s; z /= s; return *this; }
	constexpr bool operator==(const Vector& o) const { return x == o.x && y == o.y && z == o.z; }
	constexpr bool operator!=(const Vector& o) const { return !(*this == o); }

	Float GetLength() const;
	constexpr Float GetSquaredLength() const { return x * x + y * y + z * z; }
	constexpr bool IsZero() const { return x == 0.0 && y == 0.0 && z == 0.0; }
};

constexpr Vector operator*(Float s, const Vector& v) { return v * s; }
constexpr Float Dot(const Vector& a, const Vector& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
// u x v = (u.y*v.z - u.z*v.y, u.z*v.x - u.x*v.z, u.x*v.y - u.y*v.x)
constexpr Vector Cross(const Vector& u, const Vector& v)
{
	return {u.y * v.z - u.z * v.y, u.z * v.x - u.x * v.z, u.x * v.y - u.y * v.x};
}
// Component-wise product.
constexpr Vector Scale(const Vector& a, const Vector& b) { return {a.x * b.x, a.y * b.y, a.z * b.z}; }

// A frame: point p maps to off + v1*p.x + v2*p.y + v3*p.z; a direction maps without off.
struct Matrix
{
	Vector off;
	Vector v1{1.0, 0.0, 0.0};
	Vector v2{0.0, 1.0, 0.0};
	Vector v3{0.0, 0.0, 1.0};

	constexpr Matrix() = default;
	constexpr Matrix(const Vector& o, const Vector& a, const Vector& b, const Vector& c) : off(o), v1(a), v2(b), v3(c) {}

	// Point transform.
	constexpr Vector operator*(const Vector& p) const { return off + v1 * p.x + v2 * p.y + v3 * p.z; }
	// (A * B) maps a point through B, then through A.
	constexpr Matrix operator*(const Matrix& b) const
	{
		return Matrix((*this) * b.off, TransformVector(b.v1), TransformVector(b.v2), TransformVector(b.v3));
	}
	// Direction transform (no translation).
	constexpr Vector TransformVector(const Vector& d) const { return v1 * d.x + v2 * d.y + v3 * d.z; }

	constexpr bool operator==(const Matrix& o) const { return off == o.off && v1 == o.v1 && v2 == o.v2 && v3 == o.v3; }
	constexpr bool operator!=(const Matrix& o) const { return !(*this == o); }
};

// Exact inverse; the identity when the determinant of (v1, v2, v3) is exactly 0, when the frame
// holds a NaN or infinity, or when the inverse itself is too large for a Float. A finite frame
// never gives a NaN, however large or small its scale.
Matrix InvertMatrix(const Matrix& m);

// Unit normal of the frame's v1-v3 plane: normalised v3 x v1 (zero for a degenerate frame).
Vector PlaneNormalOfFrame(const Matrix& m);

// Rotation about X by w radians: v2 = (0, cos w, -sin w), v3 = (0, sin w, cos w).
Matrix MatrixRotX(Float w);
// Rotation about Y by w radians: maps (1, 0, 0) to (cos w, 0, sin w).
Matrix MatrixRotY(Float w);
// Rotation about Z by w radians.
Matrix MatrixRotZ(Float w);
// Pure scale matrix (zero offset, axes scaled by s).
Matrix MatrixScale(const Vector& s);

// Rotation orders accepted by HPBToMatrix / MatrixToHPB; 6 is the host's default (heading, pitch, bank).
constexpr Int32 ROTATIONORDER_DEFAULT = 6;

// Heading from the x and z of a direction, pitch = atan(y / horizontal length), bank 0;
// pitch is +-pi/2 when the horizontal length is below 1e-5.
Vector VectorToHPB(const Vector& d);
// Rotation matrix from heading, pitch, bank (radians) in the given rotation order.
Matrix HPBToMatrix(const Vector& hpb, Int32 order);
// Heading, pitch, bank (radians) of a matrix's rotation in the given rotation order.
Vector MatrixToHPB(const Matrix& m, Int32 order);

constexpr Float PI = 3.141592653589793238462643383279502884;
