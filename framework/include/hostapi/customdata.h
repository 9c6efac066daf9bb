// Custom data types used by the plug-ins' settings: the gradient (1000481), the spline curve
// (1009060) and the expression priority (1009369). Created by the host; layouts are private.
#pragma once

#include "hostapi/container.h"

constexpr Int32 CUSTOMDATATYPE_GRADIENT = 1000481;
constexpr Int32 CUSTOMDATATYPE_SPLINE = 1009060;
constexpr Int32 CUSTOMDATATYPE_PRIORITY = 1009369;

struct GradientKnot
{
	Vector col;
	Float brightness = 1.0;
	Float pos = 0.0;
	Float bias = 0.5;
	Int32 index = 0;
};

class Gradient : public CustomDataType
{
public:
	static Gradient* Alloc();
	static void Free(Gradient*& g);

	Int32 GetCustomTypeId() const override { return CUSTOMDATATYPE_GRADIENT; }

	// Knots in the gradient's own storage order (never re-sorted by position).
	Int32 GetKnotCount() const;
	GradientKnot GetKnot(Int32 i) const;
	void SetKnot(Int32 i, const GradientKnot& k);
	// Appends a knot; answers its index, or -1 when memory is short.
	Int32 InsertKnot(const GradientKnot& k);
	bool RemoveKnot(Int32 i);
	void FlushKnots();

	// Gradient properties (for example 1002, the interpolation mode).
	GeData GetData(Int32 id) const;
	void SetData(Int32 id, const GeData& value);

protected:
	Gradient() = default;
};

struct CustomSplineKnot
{
	Vector vPos;
	Vector vTangentLeft;
	Vector vTangentRight;
	Int32 interpol = 0;
};

// A curve y = F(x) on [0, 1] through its knots (x in vPos.x, y in vPos.y), interpolated linearly
// between knots in x order and held flat outside them.
class SplineData : public CustomDataType
{
public:
	static SplineData* Alloc();
	static void Free(SplineData*& s);

	Int32 GetCustomTypeId() const override { return CUSTOMDATATYPE_SPLINE; }

	Int32 GetKnotCount() const;
	CustomSplineKnot GetKnot(Int32 i) const;
	// Appends a knot at (x, y); answers its index or -1.
	Int32 InsertKnot(Float x, Float y);
	void DeleteAllPoints();
	// y at x; 0 for a curve without knots.
	Float GetPoint(Float x) const;

protected:
	SplineData() = default;
};

// Priority data of expression tags; entry 2 is the camera-dependent switch.
class PriorityData : public CustomDataType
{
public:
	static PriorityData* Alloc();
	static void Free(PriorityData*& p);

	Int32 GetCustomTypeId() const override { return CUSTOMDATATYPE_PRIORITY; }
	GeData GetPriorityValue(Int32 id) const;
	void SetPriorityValue(Int32 id, const GeData& value);

protected:
	PriorityData() = default;
};
