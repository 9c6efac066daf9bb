// Spline objects: points, the curves they form, and sampling by length.
#include <new>

#include "scene/object_data.h"
#include "scene/polyline.h"

using scene::SplineDataOf;

namespace scene
{

NodeCore* SplineObjectData::CloneSelf() const
{
	auto* copy = new SplineObjectData(splineType);
	CopyObjectTo(*copy);
	copy->points = points;
	copy->curves = curves;
	return copy;
}

} // namespace scene

SplineObject* SplineObject::Alloc(Int32 pointCount, Int32 splineType)
{
	if (pointCount < 0 || pointCount > scene::kMaxElements || splineType < SPLINETYPE_LINEAR || splineType > SPLINETYPE_BEZIER)
		return nullptr;
	scene::SplineObjectData* op = nullptr;
	try
	{
		op = new scene::SplineObjectData(splineType);
		op->name = "Spline";
		op->points.resize(static_cast<size_t>(pointCount));
		return op;
	}
	catch (const std::bad_alloc&)
	{
		delete op;
		return nullptr;
	}
}

Int32 SplineObject::GetSplineType() const
{
	const scene::SplineObjectData* spline = SplineDataOf(this);
	return spline ? spline->splineType : SPLINETYPE_LINEAR;
}

bool SplineObject::ResizeObject(Int32 pointCount)
{
	scene::SplineObjectData* spline = SplineDataOf(this);
	if (!spline || pointCount < 0 || pointCount > scene::kMaxElements)
		return false;
	try
	{
		spline->points.resize(static_cast<size_t>(pointCount));
		spline->curves.clear();
		return true;
	}
	catch (const std::bad_alloc&)
	{
		return false;
	}
}

Vector SplineObject::SampleUniform(Float t) const
{
	const scene::SplineObjectData* spline = SplineDataOf(this);
	return spline ? scene::SampleByWalk(spline->points, t, spline->curves) : Vector();
}

Vector SplineObject::SampleUniformByTable(Float t) const
{
	const scene::SplineObjectData* spline = SplineDataOf(this);
	if (!spline)
		return Vector();
	try
	{
		return scene::PolylineTable(spline->points, spline->curves).Sample(t);
	}
	catch (const std::bad_alloc&)
	{
		return scene::SampleByWalk(spline->points, t, spline->curves);
	}
}

void SplineObject::SampleUniformMany(Int32 count, Vector* out) const
{
	if (count < 1 || !out)
		return;
	const scene::SplineObjectData* spline = SplineDataOf(this);
	auto offset = [count](Int32 i) { return count == 1 ? 0.0 : static_cast<Float>(i) / (count - 1); };
	if (!spline)
	{
		for (Int32 i = 0; i < count; ++i)
			out[i] = Vector();
		return;
	}
	try
	{
		const scene::PolylineTable table(spline->points, spline->curves);
		size_t from = 0;
		for (Int32 i = 0; i < count; ++i)
			out[i] = table.Sample(offset(i), &from);
	}
	catch (const std::bad_alloc&)
	{
		for (Int32 i = 0; i < count; ++i)
			out[i] = scene::SampleByWalk(spline->points, offset(i), spline->curves);
	}
}

Float SplineObject::GetLength() const
{
	const scene::SplineObjectData* spline = SplineDataOf(this);
	return spline ? scene::PolylineLength(spline->points, spline->curves) : 0.0;
}
