// Joins polygon objects into one polygon object, or splines into one spline holding all their
// curves, in world space.
// Only the listed objects take part (not their children): callers list every object they
// want joined.
#include <vector>

#include "hostapi/modeling.h"
#include "modeling/commands.h"
#include "scene/link_data.h"
#include "scene/object_data.h"
#include "scene/tag_data.h"

namespace modeling
{
namespace
{

bool PolygonsValid(const scene::PolygonObjectData& op)
{
	const Int32 count = static_cast<Int32>(op.points.size());
	for (const CPolygon& p : op.polygons)
	{
		for (Int32 v : {p.a, p.b, p.c, p.d})
		{
			if (v < 0 || v >= count)
				return false;
		}
	}
	return true;
}

const scene::UVWTagData* UVWOf(const scene::PolygonObjectData& op)
{
	for (const scene::NodeCore* t = op.tags.first; t; t = t->next)
	{
		if (t->type == Tuvw)
			return static_cast<const scene::UVWTagData*>(t);
	}
	return nullptr;
}

BaseObject* JoinPolygons(const std::vector<scene::PolygonObjectData*>& parts)
{
	Int64 pointTotal = 0, polygonTotal = 0;
	bool anyUVW = false;
	for (const scene::PolygonObjectData* part : parts)
	{
		if (!PolygonsValid(*part))
			return nullptr;
		pointTotal += static_cast<Int64>(part->points.size());
		polygonTotal += static_cast<Int64>(part->polygons.size());
		anyUVW = anyUVW || UVWOf(*part);
	}
	if (pointTotal > scene::kMaxElements || polygonTotal > scene::kMaxElements)
		return nullptr;
	PolygonObject* joined = PolygonObject::Alloc(0, 0);
	if (!joined)
		return nullptr;
	scene::PolygonObjectData* out = scene::PolygonDataOf(joined);
	out->points.reserve(static_cast<size_t>(pointTotal));
	out->polygons.reserve(static_cast<size_t>(polygonTotal));
	std::vector<UVWStruct> uvw;
	for (const scene::PolygonObjectData* part : parts)
	{
		const Matrix mg = static_cast<const BaseObject*>(part)->GetMg();
		const Int32 offset = static_cast<Int32>(out->points.size());
		for (const Vector& p : part->points)
			out->points.push_back(mg * p);
		for (const CPolygon& p : part->polygons)
			out->polygons.push_back(CPolygon(p.a + offset, p.b + offset, p.c + offset, p.d + offset));
		if (anyUVW)
		{
			const scene::UVWTagData* tag = UVWOf(*part);
			for (size_t i = 0; i < part->polygons.size(); ++i)
				uvw.push_back(tag && i < tag->uvw.size() ? tag->uvw[i] : UVWStruct());
		}
	}
	out->name = parts.front()->name;
	if (anyUVW)
	{
		UVWTag* tag = static_cast<UVWTag*>(joined->MakeTag(Tuvw));
		if (!tag)
		{
			BaseObject* dead = joined;
			BaseObject::Free(dead);
			return nullptr;
		}
		static_cast<scene::UVWTagData*>(scene::CoreOf(tag))->uvw = std::move(uvw);
	}
	return joined;
}

BaseObject* JoinSplines(const std::vector<scene::SplineObjectData*>& parts)
{
	Int64 pointTotal = 0;
	for (const scene::SplineObjectData* part : parts)
		pointTotal += static_cast<Int64>(part->points.size());
	if (pointTotal > scene::kMaxElements)
		return nullptr;
	SplineObject* joined = SplineObject::Alloc(0, parts.front()->splineType);
	if (!joined)
		return nullptr;
	scene::SplineObjectData* out = scene::SplineDataOf(joined);
	out->points.reserve(static_cast<size_t>(pointTotal));
	// Every curve of every part stays a curve of its own: the joined spline does not run from
	// one part's end to the next part's start.
	std::vector<Int32> curves;
	for (const scene::SplineObjectData* part : parts)
	{
		const Matrix mg = static_cast<const BaseObject*>(part)->GetMg();
		for (const Vector& p : part->points)
			out->points.push_back(mg * p);
		if (part->curves.empty())
		{
			if (!part->points.empty())
				curves.push_back(static_cast<Int32>(part->points.size()));
		}
		else
		{
			curves.insert(curves.end(), part->curves.begin(), part->curves.end());
		}
	}
	if (curves.size() > 1)
		out->curves = std::move(curves);
	// The first spline's settings (interpolation and the like) carry over.
	out->data = parts.front()->data;
	out->name = parts.front()->name;
	return joined;
}

} // namespace

bool JoinObjects(ModelingCommandData& data)
{
	if (!data.arr || !data.result)
		return false;
	std::vector<scene::PolygonObjectData*> polygons;
	std::vector<scene::SplineObjectData*> splines;
	for (Int32 i = 0; i < data.arr->GetCount(); ++i)
	{
		GeListNode* node = data.arr->GetIndex(i);
		if (scene::PolygonObjectData* poly = scene::PolygonDataOf(node))
			polygons.push_back(poly);
		else if (scene::SplineObjectData* spline = scene::SplineDataOf(node))
			splines.push_back(spline);
	}
	// Polygon objects win when both kinds are listed: the result is a mesh.
	BaseObject* joined = nullptr;
	if (!polygons.empty())
		joined = JoinPolygons(polygons);
	else if (!splines.empty())
		joined = JoinSplines(splines);
	if (!joined)
		return false;
	if (!data.result->Append(joined))
	{
		BaseObject::Free(joined);
		return false;
	}
	return true;
}

} // namespace modeling
