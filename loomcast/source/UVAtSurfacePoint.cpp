// The texture coordinate of an object's surface at a point on one of its polygons. The polygon's
// plane is laid out in 2-D around the hit; a quadrangle is read as the two triangles either side
// of its diagonal A-C, and within the triangle that holds the hit the corners' coordinates are
// blended by the hit's barycentric weights, which is exact for an affine mapping.
#include "Dtool.h"
#include "Normals.h"

namespace
{

struct Flat
{
	Float x = 0.0, z = 0.0;
	bool AtOrigin() const { return x == 0.0 && z == 0.0; }
};

Float Cross2(const Flat& p, const Flat& q)
{
	return p.x * q.z - p.z * q.x;
}

Flat Minus(const Flat& p, const Flat& q)
{
	return {p.x - q.x, p.z - q.z};
}

Int32 Sign(Float v)
{
	return v > 0.0 ? 1 : (v < 0.0 ? -1 : 0);
}

Vector UV(const Vector& w)
{
	return Vector(w.x, w.y, 0.0);
}

// The coordinate at the origin of the triangle (p0, p1, p2) with corner coordinates t0, t1, t2;
// false for a triangle without area.
bool Blend(const Flat& p0, const Flat& p1, const Flat& p2, const Vector& t0, const Vector& t1, const Vector& t2, Vector* uv)
{
	// A hit on a corner, or corners that all share one coordinate, answer that coordinate exactly.
	if (p0.AtOrigin())
		return *uv = UV(t0), true;
	if (p1.AtOrigin())
		return *uv = UV(t1), true;
	if (p2.AtOrigin())
		return *uv = UV(t2), true;
	if (UV(t0) == UV(t1) && UV(t1) == UV(t2))
		return *uv = UV(t0), true;
	const Flat e1 = Minus(p1, p0), e2 = Minus(p2, p0), h = Minus(Flat{}, p0);
	const Float area = Cross2(e1, e2);
	if (area == 0.0)
		return false;
	const Float w1 = Cross2(h, e2) / area;
	const Float w2 = Cross2(e1, h) / area;
	*uv = Vector(t0.x + w1 * (t1.x - t0.x) + w2 * (t2.x - t0.x), t0.y + w1 * (t1.y - t0.y) + w2 * (t2.y - t0.y), 0.0);
	return true;
}

} // namespace

bool DTOOL::UVAtSurfacePoint(const PolygonObject* op, Int32 p, const Vector& hit, Vector* uv)
{
	if (!op || !uv || p < 0 || p >= op->GetPolygonCount())
		return false;
	const BaseTag* tag = op->GetTag(Tuvw);
	if (!tag)
		return false;
	const UVWTag* uvwTag = static_cast<const UVWTag*>(tag);
	if (p >= uvwTag->GetDataCount())
		return false;
	const UVWStruct uvw = uvwTag->GetSlow(p);
	const CPolygon poly = op->GetPolygonR()[p];
	const Int32 pointCount = op->GetPointCount();
	for (Int32 i : {poly.a, poly.b, poly.c, poly.d})
	{
		if (i < 0 || i >= pointCount)
			return false;
	}
	const Vector* pts = op->GetPointR();
	const Matrix mg = op->GetMg();
	const Vector A = mg * pts[poly.a], B = mg * pts[poly.b], C = mg * pts[poly.c], D = mg * pts[poly.d];

	// The plane frame: its second axis along the polygon's normal, so the plane is its x-z plane.
	const Vector normal = GetNormalized(Cross(A - C, B - D));
	const Matrix frame = HPBToMatrix(VectorToHPB(normal), ROTATIONORDER_DEFAULT) * MatrixRotX(-PI / 2.0);
	const Matrix toFrame = InvertMatrix(frame);
	auto flat = [&](const Vector& corner) {
		const Vector f = toFrame.TransformVector(corner - hit);
		return Flat{f.x, f.z};
	};
	// A corner at the hit itself lies at the origin exactly, whatever the frame's rounding.
	auto place = [&](const Vector& corner) { return corner == hit ? Flat{} : flat(corner); };
	const Flat a = place(A), b = place(B), c = place(C), d = place(D);

	if (poly.IsTriangle())
		return Blend(a, b, c, uvw.a, uvw.b, uvw.c, uv);
	// The side of the diagonal A-C on which the hit lies, against the quadrangle's winding.
	const Int32 winding = Sign(Cross2(Minus(b, d), Minus(a, c)));
	const Int32 side = Sign(Cross2(c, a));
	if (winding == side)
		return Blend(a, b, c, uvw.a, uvw.b, uvw.c, uv);
	return Blend(a, c, d, uvw.a, uvw.c, uvw.d, uv);
}
