// Objects, point/polygon/spline objects, tags, edge selections and polygon adjacency.
#pragma once

#include "hostapi/baselist.h"

// Four point indices; a triangle has c == d.
struct CPolygon
{
	Int32 a = 0, b = 0, c = 0, d = 0;
	constexpr CPolygon() = default;
	constexpr CPolygon(Int32 ia, Int32 ib, Int32 ic) : a(ia), b(ib), c(ic), d(ic) {}
	constexpr CPolygon(Int32 ia, Int32 ib, Int32 ic, Int32 id) : a(ia), b(ib), c(ic), d(id) {}
	constexpr bool IsTriangle() const { return c == d; }
	constexpr bool operator==(const CPolygon& o) const { return a == o.a && b == o.b && c == o.c && d == o.d; }
};

// Texture coordinate of each corner of one polygon, in the corner order of its CPolygon.
struct UVWStruct
{
	Vector a, b, c, d;
};

class BaseTag;

class BaseObject : public BaseList2D
{
public:
	// A new free object of the given type (Onull, Ocube, Oplane, Opolygon, Ospline, ...).
	static BaseObject* Alloc(Int32 type);
	// Frees a free object with its children and tags (removes it from its document first).
	static void Free(BaseObject*& op);

	BaseObject* GetNext() const;
	BaseObject* GetPred() const;
	BaseObject* GetUp() const;
	BaseObject* GetDown() const;

	// Global (world) and local (relative to the parent) matrices.
	Matrix GetMg() const;
	void SetMg(const Matrix& m);
	Matrix GetMl() const;
	void SetMl(const Matrix& m);

	// The host's 64-bit object identity: unique in a run, kept when the document is saved and
	// loaded again, kept by GetClone only when asked to.
	UInt64 GetGUID() const;

	// Info flags of the object's plug-in (bits 1, 4, 8, 32 mean it has an enable switch).
	Int32 GetInfo() const;
	// Editor and render visibility: 0 on, 1 off, 2 default.
	Int32 GetEditorMode() const;
	void SetEditorMode(Int32 mode);
	Int32 GetRenderMode() const;
	void SetRenderMode(Int32 mode);

	BaseTag* GetFirstTag() const;
	// The first tag of the type, or nullptr.
	BaseTag* GetTag(Int32 type, Int32 nr = 0) const;
	// Inserts a tag after pred (nullptr: as first tag).
	void InsertTag(BaseTag* tag, BaseTag* pred = nullptr);
	// Allocates a tag of the type (UVW tags sized to the polygon count), inserts it last.
	BaseTag* MakeTag(Int32 type);
	void KillTag(Int32 type, Int32 nr = 0);

	// The object's layer (nullptr: none).
	BaseList2D* GetLayerObject() const;
	void SetLayerObject(BaseList2D* layer);

protected:
	BaseObject() = default;
};

class PointObject : public BaseObject
{
public:
	Int32 GetPointCount() const;
	const Vector* GetPointR() const;
	Vector* GetPointW();

protected:
	PointObject() = default;
};

class BaseSelect;

class PolygonObject : public PointObject
{
public:
	static PolygonObject* Alloc(Int32 pointCount, Int32 polygonCount);

	Int32 GetPolygonCount() const;
	const CPolygon* GetPolygonR() const;
	CPolygon* GetPolygonW();
	// Resizes points and polygons (new entries zero); false when memory is short.
	bool ResizeObject(Int32 pointCount, Int32 polygonCount);

	// Edge selection, by EdgeIndex = 4 * polygon + side.
	BaseSelect* GetEdgeS();
	const BaseSelect* GetEdgeS() const;
	BaseSelect* GetPointS();
	BaseSelect* GetPolygonS();

	// The two points of an EdgeIndex (side 0 a-b, 1 b-c, 2 c-d, 3 d-a); false when out of range.
	bool GetEdgePoints(Int32 edgeIndex, Int32* first, Int32* second) const;

protected:
	PolygonObject() = default;
};

// Spline types.
enum : Int32
{
	SPLINETYPE_LINEAR = 0,
	SPLINETYPE_CUBIC = 1,
	SPLINETYPE_AKIMA = 2,
	SPLINETYPE_BSPLINE = 3,
	SPLINETYPE_BEZIER = 4,
};

// Spline object parameter: intermediate point mode (2 natural, 3 uniform).
constexpr Int32 SPLINEOBJECT_INTERPOLATION = 1001;

class SplineObject : public PointObject
{
public:
	static SplineObject* Alloc(Int32 pointCount, Int32 splineType);

	Int32 GetSplineType() const;
	bool ResizeObject(Int32 pointCount);

	// Point at the unit offset t in [0, 1] of the curve's length (uniform in length), in object
	// space. The host's curve through the points is the polyline joining them for every type.
	Vector SampleUniform(Float t) const;
	// The second sampler: the same positions computed from a cumulative-length table.
	Vector SampleUniformByTable(Float t) const;
	// The same sampler at count offsets at once, out[i] at t = i / (count - 1) (t = 0 for a count
	// of 1): the curve's lengths are measured once for all of them. Nothing happens for count < 1.
	void SampleUniformMany(Int32 count, Vector* out) const;
	Float GetLength() const;

protected:
	SplineObject() = default;
};

class BaseMaterial;

class BaseTag : public BaseList2D
{
public:
	static BaseTag* Alloc(Int32 type);
	static void Free(BaseTag*& tag);

	BaseTag* GetNext() const;
	BaseTag* GetPred() const;
	BaseObject* GetObject() const;
	// Info flags of the tag's plug-in (0: hidden from users).
	Int32 GetInfo() const;

protected:
	BaseTag() = default;
};

class UVWTag : public BaseTag
{
public:
	static UVWTag* Alloc(Int32 count);

	Int32 GetDataCount() const;
	UVWStruct GetSlow(Int32 i) const;
	void SetSlow(Int32 i, const UVWStruct& uvw);

protected:
	UVWTag() = default;
};

class TextureTag : public BaseTag
{
public:
	static TextureTag* Alloc();

	BaseMaterial* GetMaterial() const;
	void SetMaterial(BaseMaterial* mat);

protected:
	TextureTag() = default;
};

class BaseSelect
{
public:
	static BaseSelect* Alloc();
	static void Free(BaseSelect*& bs);

	Int32 GetCount() const;
	bool IsSelected(Int32 i) const;
	bool Select(Int32 i);
	bool Deselect(Int32 i);
	void DeselectAll();
	// Ranges of consecutive selected elements, ascending: segment seg is [*a, *b].
	Int32 GetSegments() const;
	bool GetRange(Int32 seg, Int32* a, Int32* b) const;
	bool CopyTo(BaseSelect* dst) const;

protected:
	BaseSelect() = default;
	~BaseSelect() = default;
};

// Polygon adjacency, built for one call from the point count and the polygon array.
class Neighbor
{
public:
	static Neighbor* Alloc();
	static void Free(Neighbor*& nb);

	// false when memory is short or an index lies outside 0..pointCount-1.
	bool Init(Int32 pointCount, const CPolygon* polygons, Int32 polygonCount);
	// The polygons that use the point, in ascending order (each listed once).
	void GetPointPolys(Int32 point, const Int32** polys, Int32* count) const;
	// The polygon across edge a-b from poly; -1 on a border.
	Int32 GetNeighbor(Int32 a, Int32 b, Int32 poly) const;
	// The first and second polygon on edge a-b (-1 where there is none).
	void GetEdgePolys(Int32 a, Int32 b, Int32* first, Int32* second) const;

protected:
	Neighbor() = default;
	~Neighbor() = default;
};
