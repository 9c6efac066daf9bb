#include "NormalTables.h"

#include "Normals.h"

namespace
{
bool CornersInRange(const CPolygon& p, Int32 pointCount)
{
	auto in = [pointCount](Int32 i) { return i >= 0 && i < pointCount; };
	return in(p.a) && in(p.b) && in(p.c) && in(p.d);
}
} // namespace

void VertexNormalTable(const PolygonObject* op, Vector* out)
{
	const Int32 pointCount = op->GetPointCount();
	const Int32 polyCount = op->GetPolygonCount();
	const CPolygon* polys = op->GetPolygonR();
	const Vector* pts = op->GetPointR();
	for (Int32 p = 0; p < pointCount; ++p)
		out[p] = Vector(0.0, 1.0, 0.0);
	// The adjacency VertexNormal builds refuses a mesh with any corner outside the points, and
	// every point's normal is then the zero vector.
	for (Int32 i = 0; i < polyCount; ++i)
	{
		if (!CornersInRange(polys[i], pointCount))
		{
			for (Int32 p = 0; p < pointCount; ++p)
				out[p] = Vector();
			return;
		}
	}
	// Polygons in ascending order, each once per distinct point, as the adjacency lists them.
	for (Int32 i = 0; i < polyCount; ++i)
	{
		const CPolygon& p = polys[i];
		const Vector n = p.IsTriangle() ? Cross(pts[p.b] - pts[p.a], pts[p.c] - pts[p.a]) : Cross(pts[p.c] - pts[p.a], pts[p.d] - pts[p.b]);
		const Int32 corners[4] = {p.a, p.b, p.c, p.d};
		for (Int32 k = 0; k < 4; ++k)
		{
			bool seen = false;
			for (Int32 j = 0; j < k; ++j)
				seen = seen || corners[j] == corners[k];
			if (!seen)
				out[corners[k]] += n;
		}
	}
	for (Int32 p = 0; p < pointCount; ++p)
		out[p] = GetNormalized(out[p]);
}

void ScanNormalTable(const PolygonObject* op, Vector* out, Vector* sums, Int32* counts)
{
	const Int32 pointCount = op->GetPointCount();
	const Int32 polyCount = op->GetPolygonCount();
	const CPolygon* polys = op->GetPolygonR();
	const Vector* pts = op->GetPointR();
	for (Int32 p = 0; p < pointCount; ++p)
	{
		sums[p] = Vector();
		counts[p] = 0;
	}
	for (Int32 i = 0; i < polyCount; ++i)
	{
		const CPolygon& p = polys[i];
		if (!CornersInRange(p, pointCount))
			continue;
		const Vector n = Cross(pts[p.b] - pts[p.a], pts[p.d] - pts[p.a]);
		// One contribution per slot that holds the point, as the scan counts them.
		for (Int32 slot : {p.a, p.b, p.c, p.d})
		{
			sums[slot] += n;
			++counts[slot];
		}
	}
	for (Int32 p = 0; p < pointCount; ++p)
		out[p] = counts[p] == 0 ? Vector() : GetNormalized(sums[p] / static_cast<Float>(counts[p]));
}
