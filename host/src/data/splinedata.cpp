// The spline curve custom data type: y = F(x) through its knots, linear between them in x order.
#include <algorithm>
#include <cmath>
#include <new>

#include "data/custom_types.h"

namespace standin::data
{

SplineCurveData* NewSpline()
{
	return new (std::nothrow) SplineCurveData();
}

CustomDataType* SplineCurveData::Clone() const
{
	SplineCurveData* copy = NewSpline();
	if (copy)
		copy->knots = knots;
	return copy;
}

bool SplineCurveData::IsEqual(const CustomDataType& other) const
{
	const auto* o = dynamic_cast<const SplineCurveData*>(&other);
	if (!o || knots.size() != o->knots.size())
		return false;
	for (size_t i = 0; i < knots.size(); ++i)
	{
		const CustomSplineKnot& a = knots[i];
		const CustomSplineKnot& b = o->knots[i];
		if (a.vPos != b.vPos || a.vTangentLeft != b.vTangentLeft || a.vTangentRight != b.vTangentRight || a.interpol != b.interpol)
			return false;
	}
	return true;
}

} // namespace standin::data

using standin::data::SplineCurveData;

SplineData* SplineData::Alloc()
{
	return standin::data::NewSpline();
}

void SplineData::Free(SplineData*& s)
{
	delete s;
	s = nullptr;
}

Int32 SplineData::GetKnotCount() const
{
	return static_cast<Int32>(static_cast<const SplineCurveData*>(this)->knots.size());
}

CustomSplineKnot SplineData::GetKnot(Int32 i) const
{
	const auto& knots = static_cast<const SplineCurveData*>(this)->knots;
	if (i < 0 || static_cast<size_t>(i) >= knots.size())
		return CustomSplineKnot();
	return knots[static_cast<size_t>(i)];
}

Int32 SplineData::InsertKnot(Float x, Float y)
{
	auto& knots = static_cast<SplineCurveData*>(this)->knots;
	CustomSplineKnot k;
	k.vPos = Vector(x, y, 0.0);
	try
	{
		knots.push_back(k);
	}
	catch (const std::bad_alloc&)
	{
		return -1;
	}
	return static_cast<Int32>(knots.size() - 1);
}

void SplineData::DeleteAllPoints()
{
	static_cast<SplineCurveData*>(this)->knots.clear();
}

Float SplineData::GetPoint(Float x) const
{
	const auto& stored = static_cast<const SplineCurveData*>(this)->knots;
	if (stored.empty())
		return 0.0;

	// Knots may have been inserted in any order; NaN positions sort last so the order stays strict.
	std::vector<Vector> pts;
	pts.reserve(stored.size());
	for (const CustomSplineKnot& k : stored)
		pts.push_back(k.vPos);
	std::stable_sort(pts.begin(), pts.end(), [](const Vector& a, const Vector& b) {
		const bool an = std::isnan(a.x), bn = std::isnan(b.x);
		if (an || bn)
			return !an && bn;
		return a.x < b.x;
	});

	if (std::isnan(x) || x <= pts.front().x)
		return pts.front().y;
	for (size_t i = 0; i + 1 < pts.size(); ++i)
	{
		const Vector& a = pts[i];
		const Vector& b = pts[i + 1];
		if (std::isnan(b.x))
			return a.y;
		if (x <= b.x)
		{
			const Float dx = b.x - a.x;
			if (!(dx > 0.0))
				return b.y;
			return a.y + (b.y - a.y) * ((x - a.x) / dx);
		}
	}
	return std::isnan(pts.back().x) ? pts.front().y : pts.back().y;
}
