#include "Normals.h"

#include <cmath>

#include "KernelTags.h"
#include "hostapi/memory.h"

Float Normalize(Vector& v)
{
	const Float length = v.GetLength();
	if (length != 0.0)
		v /= length;
	return length;
}

Vector GetNormalized(const Vector& v)
{
	Vector n = v;
	Normalize(n);
	return n;
}

namespace
{
bool CornersInRange(const CPolygon& p, Int32 pointCount)
{
	auto in = [pointCount](Int32 i) { return i >= 0 && i < pointCount; };
	return in(p.a) && in(p.b) && in(p.c) && in(p.d);
}
} // namespace

Vector PointNormalByScan(const PolygonObject* op, Int32 point)
{
	if (!op)
		return Vector();
	const Int32 polyCount = op->GetPolygonCount();
	const Int32 pointCount = op->GetPointCount();
	const CPolygon* polys = op->GetPolygonR();
	const Vector* pts = op->GetPointR();
	if (polyCount <= 0 || !polys || !pts)
		return Vector();

	// Every slot of a polygon may hold the point, so the list needs four entries per polygon.
	Int32* listed = NewMemClear(Int32, static_cast<Int64>(polyCount) * 4, DTOOL_SOURCE);
	if (!listed)
		return Vector();

	Int64 count = 0;
	for (Int32 i = 0; i < polyCount; ++i)
	{
		const CPolygon& p = polys[i];
		// A polygon pointing outside the point array has no normal to contribute.
		if (!CornersInRange(p, pointCount))
			continue;
		for (Int32 slot : {p.a, p.b, p.c, p.d})
		{
			if (slot == point)
				listed[count++] = i;
		}
	}

	Vector sum;
	for (Int64 j = 0; j < count; ++j)
	{
		const CPolygon& p = polys[listed[j]];
		// For a triangle d == c, so this is the triangle's own (b - a) x (c - a).
		sum += Cross(pts[p.b] - pts[p.a], pts[p.d] - pts[p.a]);
	}
	DeleteMem(listed);

	if (count == 0)
		return Vector();
	return GetNormalized(sum / static_cast<Float>(count));
}

Vector VertexNormal(const PolygonObject* op, Int32 point)
{
	if (!op)
		return Vector();
	const Int32 polyCount = op->GetPolygonCount();
	const Int32 pointCount = op->GetPointCount();
	const CPolygon* polys = op->GetPolygonR();
	const Vector* pts = op->GetPointR();

	Neighbor* nb = Neighbor::Alloc();
	if (!nb)
		return Vector();
	if (!nb->Init(pointCount, polys, polyCount))
	{
		Neighbor::Free(nb);
		return Vector();
	}

	const Int32* used = nullptr;
	Int32 usedCount = 0;
	if (point >= 0 && point < pointCount)
		nb->GetPointPolys(point, &used, &usedCount);

	// The accumulator deliberately starts at (0,1,0), not at zero: a lone point faces up, and the
	// projection and the edge chains expect that slight upward bias.
	Vector acc(0.0, 1.0, 0.0);
	for (Int32 j = 0; j < usedCount && used; ++j)
	{
		const CPolygon& p = polys[used[j]];
		if (p.IsTriangle())
			acc += Cross(pts[p.b] - pts[p.a], pts[p.c] - pts[p.a]);
		else
			acc += Cross(pts[p.c] - pts[p.a], pts[p.d] - pts[p.b]);
	}
	Neighbor::Free(nb);
	return GetNormalized(acc);
}
