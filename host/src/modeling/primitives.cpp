#include "modeling/primitives.h"

#include <cmath>

#include "scene/object_data.h"

namespace modeling
{
namespace
{

void Fail(std::string* error, std::string text)
{
	if (error)
		*error = std::move(text);
}

PolygonObject* BuildCube(Float size)
{
	PolygonObject* op = PolygonObject::Alloc(8, 6);
	if (!op)
		return nullptr;
	const Float h = size * 0.5;
	// Point k has x > 0 when bit 2 is set, y > 0 for bit 1, z > 0 for bit 0.
	Vector* p = op->GetPointW();
	for (Int32 k = 0; k < 8; ++k)
		p[k] = Vector((k & 4) ? h : -h, (k & 2) ? h : -h, (k & 1) ? h : -h);
	auto index = [](const Vector& v) { return (v.x > 0 ? 4 : 0) + (v.y > 0 ? 2 : 0) + (v.z > 0 ? 1 : 0); };
	// Each face from its outward normal n and two axes with v x u = n, so that the quad
	// (c - u - v, c - u + v, c + u + v, c + u - v) faces outwards.
	struct Face
	{
		Vector n, u, v;
	};
	const Vector X(1, 0, 0), Y(0, 1, 0), Z(0, 0, 1);
	const Face faces[6] = {{X, Z, Y}, {-X, Y, Z}, {Y, X, Z}, {-Y, Z, X}, {Z, Y, X}, {-Z, X, Y}};
	CPolygon* polys = op->GetPolygonW();
	for (int f = 0; f < 6; ++f)
	{
		const Vector c = faces[f].n;
		const Vector u = faces[f].u;
		const Vector v = faces[f].v;
		polys[f] = CPolygon(index(c - u - v), index(c - u + v), index(c + u + v), index(c + u - v));
	}
	return op;
}

// A sphere of the given radius around the origin: `segments` bands from pole to pole and twice as
// many sectors around the Y axis; triangles at the poles, quads between, facing outwards.
PolygonObject* BuildSphere(Float radius, Int32 segments)
{
	const Int32 bands = segments, sectors = 2 * segments;
	const Int32 points = 2 + (bands - 1) * sectors;
	const Int32 polygons = sectors * bands;
	PolygonObject* op = PolygonObject::Alloc(points, polygons);
	if (!op)
		return nullptr;
	Vector* p = op->GetPointW();
	p[0] = Vector(0.0, radius, 0.0);
	p[points - 1] = Vector(0.0, -radius, 0.0);
	for (Int32 b = 1; b < bands; ++b)
	{
		const Float theta = PI * b / bands;
		for (Int32 s = 0; s < sectors; ++s)
		{
			const Float phi = 2.0 * PI * s / sectors;
			const Vector dir(std::sin(theta) * std::cos(phi), std::cos(theta), std::sin(theta) * std::sin(phi));
			p[1 + (b - 1) * sectors + s] = dir * (radius / dir.GetLength());
		}
	}
	auto ring = [sectors](Int32 b, Int32 s) { return 1 + (b - 1) * sectors + (s % sectors); };
	CPolygon* polys = op->GetPolygonW();
	Int32 k = 0;
	for (Int32 s = 0; s < sectors; ++s)
		polys[k++] = CPolygon(0, ring(1, s + 1), ring(1, s));
	for (Int32 b = 1; b + 1 < bands; ++b)
	{
		for (Int32 s = 0; s < sectors; ++s)
			polys[k++] = CPolygon(ring(b, s), ring(b, s + 1), ring(b + 1, s + 1), ring(b + 1, s));
	}
	for (Int32 s = 0; s < sectors; ++s)
		polys[k++] = CPolygon(points - 1, ring(bands - 1, s), ring(bands - 1, s + 1));
	return op;
}

PolygonObject* BuildPlane(Float size, Int32 segments)
{
	const Int32 side = segments + 1;
	PolygonObject* op = PolygonObject::Alloc(side * side, segments * segments);
	if (!op)
		return nullptr;
	const Float h = size * 0.5;
	const Float step = size / segments;
	Vector* p = op->GetPointW();
	for (Int32 j = 0; j < side; ++j)
	{
		for (Int32 i = 0; i < side; ++i)
			p[j * side + i] = Vector(i == segments ? h : -h + i * step, 0.0, j == segments ? h : -h + j * step);
	}
	// Corners a (x0, z0), b (x0, z1), c (x1, z1), d (x1, z0) give the normal +Y.
	CPolygon* polys = op->GetPolygonW();
	for (Int32 j = 0; j < segments; ++j)
	{
		for (Int32 i = 0; i < segments; ++i)
		{
			const Int32 a = j * side + i;
			polys[j * segments + i] = CPolygon(a, a + side, a + side + 1, a + 1);
		}
	}
	return op;
}

} // namespace

void SetPrimitiveDefaults(Int32 type, BaseContainer& bc)
{
	if (type == Ocube)
	{
		bc.SetFloat(kPrimitiveSize, 200.0);
	}
	else if (type == Oplane)
	{
		bc.SetFloat(kPrimitiveSize, 400.0);
		bc.SetInt32(kPrimitiveSegments, 4);
	}
}

PolygonObject* BuildPrimitive(Int32 type, Float size, Int32 segments, std::string* error)
{
	if (type != Ocube && type != Oplane && type != kSpherePrimitive)
	{
		Fail(error, "unknown primitive type " + std::to_string(type));
		return nullptr;
	}
	if (!std::isfinite(size) || !(size > 0.0))
	{
		Fail(error, "the size must be a finite number above 0");
		return nullptr;
	}
	if (type == kSpherePrimitive && (segments < 2 || segments > kMaxPlaneSegments))
	{
		Fail(error, "a sphere's segment count must lie between 2 and " + std::to_string(kMaxPlaneSegments));
		return nullptr;
	}
	if (type == Oplane && (segments < 1 || segments > kMaxPlaneSegments))
	{
		Fail(error, "the segment count must lie between 1 and " + std::to_string(kMaxPlaneSegments));
		return nullptr;
	}
	PolygonObject* op = type == Ocube ? BuildCube(size) : type == Oplane ? BuildPlane(size, segments) : BuildSphere(size, segments);
	if (!op)
	{
		Fail(error, "not enough memory");
		return nullptr;
	}
	op->SetName(type == Ocube ? "Cube" : type == Oplane ? "Plane" : "Sphere");
	return op;
}

} // namespace modeling
