// Point and polygon objects: arrays, resizing, selections and edge numbering.
#include <new>

#include "scene/object_data.h"

using scene::PointsOf;
using scene::PolygonDataOf;

namespace scene
{

std::vector<Vector>* PointsOf(const GeListNode* node)
{
	if (PolygonObjectData* poly = PolygonDataOf(node))
		return &poly->points;
	if (SplineObjectData* spline = SplineDataOf(node))
		return &spline->points;
	return nullptr;
}

NodeCore* PolygonObjectData::CloneSelf() const
{
	auto* copy = new PolygonObjectData;
	CopyObjectTo(*copy);
	copy->points = points;
	copy->polygons = polygons;
	copy->pointSelection = pointSelection;
	copy->polygonSelection = polygonSelection;
	copy->edgeSelection = edgeSelection;
	return copy;
}

bool PolygonObjectData::HandleMessage(Int32 msg, void* payload)
{
	if (msg == MSG_UPDATE)
		rayAccel.Touch();
	return ObjectElement<PolygonObject>::HandleMessage(msg, payload);
}

} // namespace scene

Int32 PointObject::GetPointCount() const
{
	const std::vector<Vector>* points = PointsOf(this);
	return points ? static_cast<Int32>(points->size()) : 0;
}

const Vector* PointObject::GetPointR() const
{
	const std::vector<Vector>* points = PointsOf(this);
	return points && !points->empty() ? points->data() : nullptr;
}

Vector* PointObject::GetPointW()
{
	if (scene::PolygonObjectData* poly = PolygonDataOf(this))
		poly->rayAccel.Touch();
	std::vector<Vector>* points = PointsOf(this);
	return points && !points->empty() ? points->data() : nullptr;
}

PolygonObject* PolygonObject::Alloc(Int32 pointCount, Int32 polygonCount)
{
	if (pointCount < 0 || polygonCount < 0 || pointCount > scene::kMaxElements || polygonCount > scene::kMaxElements)
		return nullptr;
	scene::PolygonObjectData* op = nullptr;
	try
	{
		op = new scene::PolygonObjectData;
		op->name = "Polygon";
		op->points.resize(static_cast<size_t>(pointCount));
		op->polygons.resize(static_cast<size_t>(polygonCount));
		return op;
	}
	catch (const std::bad_alloc&)
	{
		delete op;
		return nullptr;
	}
}

Int32 PolygonObject::GetPolygonCount() const
{
	const scene::PolygonObjectData* poly = PolygonDataOf(this);
	return poly ? static_cast<Int32>(poly->polygons.size()) : 0;
}

const CPolygon* PolygonObject::GetPolygonR() const
{
	const scene::PolygonObjectData* poly = PolygonDataOf(this);
	return poly && !poly->polygons.empty() ? poly->polygons.data() : nullptr;
}

CPolygon* PolygonObject::GetPolygonW()
{
	scene::PolygonObjectData* poly = PolygonDataOf(this);
	if (poly)
		poly->rayAccel.Touch();
	return poly && !poly->polygons.empty() ? poly->polygons.data() : nullptr;
}

bool PolygonObject::ResizeObject(Int32 pointCount, Int32 polygonCount)
{
	scene::PolygonObjectData* poly = PolygonDataOf(this);
	if (!poly || pointCount < 0 || polygonCount < 0 || pointCount > scene::kMaxElements || polygonCount > scene::kMaxElements)
		return false;
	try
	{
		// Reserve both first so that a failure leaves the object as it was.
		poly->points.reserve(static_cast<size_t>(pointCount));
		poly->polygons.reserve(static_cast<size_t>(polygonCount));
	}
	catch (const std::bad_alloc&)
	{
		return false;
	}
	poly->points.resize(static_cast<size_t>(pointCount));
	poly->polygons.resize(static_cast<size_t>(polygonCount));
	poly->rayAccel.Touch();
	return true;
}

BaseSelect* PolygonObject::GetEdgeS()
{
	scene::PolygonObjectData* poly = PolygonDataOf(this);
	return poly ? &poly->edgeSelection : nullptr;
}

const BaseSelect* PolygonObject::GetEdgeS() const
{
	const scene::PolygonObjectData* poly = PolygonDataOf(this);
	return poly ? &poly->edgeSelection : nullptr;
}

BaseSelect* PolygonObject::GetPointS()
{
	scene::PolygonObjectData* poly = PolygonDataOf(this);
	return poly ? &poly->pointSelection : nullptr;
}

BaseSelect* PolygonObject::GetPolygonS()
{
	scene::PolygonObjectData* poly = PolygonDataOf(this);
	return poly ? &poly->polygonSelection : nullptr;
}

bool PolygonObject::GetEdgePoints(Int32 edgeIndex, Int32* first, Int32* second) const
{
	const scene::PolygonObjectData* poly = PolygonDataOf(this);
	if (!poly || edgeIndex < 0)
		return false;
	const size_t index = static_cast<size_t>(edgeIndex / 4);
	if (index >= poly->polygons.size())
		return false;
	const CPolygon& p = poly->polygons[index];
	const Int32 corners[4] = {p.a, p.b, p.c, p.d};
	const Int32 side = edgeIndex % 4;
	if (first)
		*first = corners[side];
	if (second)
		*second = corners[(side + 1) % 4];
	return true;
}
