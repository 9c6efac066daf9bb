#include "docio/document_rules.h"

#include <cmath>

#include "hostapi/document.h"
#include "scene/object_data.h"
#include "scene/tag_data.h"
#include "standin/printable.h"

namespace standin::docio
{

bool Finite(const Vector& v)
{
	return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z);
}

bool Finite(const Matrix& m)
{
	return Finite(m.off) && Finite(m.v1) && Finite(m.v2) && Finite(m.v3);
}

bool ValidEditingMode(Int32 mode)
{
	return mode == Mmodel || mode == Mpoints || mode == Medges || mode == Mpolygons;
}

bool ValidVisibility(Int32 mode)
{
	return mode >= 0 && mode <= 2;
}

bool ValidSplineType(Int32 type)
{
	return type >= SPLINETYPE_LINEAR && type <= SPLINETYPE_BEZIER;
}

std::string Quoted(const String& name)
{
	std::string quoted(1, '\'');
	quoted.append(standin::Printable(name.Get(), 64)).append(1, '\'');
	return quoted;
}

namespace
{

std::string PointsProblem(const std::vector<Vector>& points)
{
	for (const Vector& p : points)
		if (!Finite(p))
			return "point " + std::to_string(&p - points.data()) + " is not a finite number";
	return {};
}

std::string PolygonProblem(const scene::PolygonObjectData& poly)
{
	const auto points = static_cast<Int64>(poly.points.size());
	for (const CPolygon& p : poly.polygons)
		for (const Int32 index : {p.a, p.b, p.c, p.d})
			if (index < 0 || index >= points)
				return "polygon " + std::to_string(&p - poly.polygons.data()) + " has corner " + std::to_string(index) + ", which names no point";
	return {};
}

std::string CurvesProblem(const scene::SplineObjectData& spline)
{
	if (spline.curves.empty())
		return {};
	Int64 sum = 0;
	for (const Int32 c : spline.curves)
	{
		if (c < 1)
			return "a curve of " + std::to_string(c) + " points";
		sum += c;
	}
	if (sum != static_cast<Int64>(spline.points.size()))
		return "the curves hold " + std::to_string(sum) + " points, the spline " + std::to_string(spline.points.size());
	return {};
}

std::string TagProblem(const scene::NodeCore& tag)
{
	if (tag.type != Tuvw)
		return {};
	const auto& uvw = static_cast<const scene::UVWTagData&>(tag).uvw;
	for (const UVWStruct& u : uvw)
		if (!Finite(u.a) || !Finite(u.b) || !Finite(u.c) || !Finite(u.d))
			return "UVW record " + std::to_string(&u - uvw.data()) + " is not a finite number";
	return {};
}

} // namespace

std::string ObjectProblem(const scene::NodeCore& object, const Matrix& world)
{
	const scene::ObjectState* state = object.AsObject();
	if (!state)
		return "it is not an object";
	if (!scene::IsHostObjectType(object.type))
		return "object type " + std::to_string(object.type) + " is not known";
	if (!Finite(state->ml))
		return "its matrix is not finite";
	if (!Finite(world))
		return "its world matrix overflows";
	if (!ValidVisibility(state->editorMode) || !ValidVisibility(state->renderMode))
		return "it has an unknown visibility mode";
	std::string problem;
	if (const auto* poly = scene::PolygonDataOf(scene::ApiOf<GeListNode>(&object)))
	{
		problem = PointsProblem(poly->points);
		if (problem.empty())
			problem = PolygonProblem(*poly);
	}
	else if (const auto* spline = scene::SplineDataOf(scene::ApiOf<GeListNode>(&object)))
	{
		if (!ValidSplineType(spline->splineType))
			return "unknown spline type " + std::to_string(spline->splineType);
		problem = PointsProblem(spline->points);
		if (problem.empty())
			problem = CurvesProblem(*spline);
	}
	for (const scene::NodeCore* tag = state->tags.first; tag && problem.empty(); tag = tag->next)
		problem = TagProblem(*tag);
	return problem;
}

} // namespace standin::docio
