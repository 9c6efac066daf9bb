// Host-side scene services for the executable, session scripts and tests.
#include <cmath>
#include <cstdio>
#include <sstream>

#include "modeling/primitives.h"
#include "scene/document_data.h"
#include "scene/object_data.h"
#include "standin/scene.h"

namespace
{

// The host's number style: up to three decimals, no trailing zeros, no "-0".
std::string Number(Float v)
{
	if (!std::isfinite(v))
		return std::isnan(v) ? "nan" : (v > 0 ? "inf" : "-inf");
	char buf[64];
	std::snprintf(buf, sizeof buf, "%.3f", v);
	std::string s(buf);
	while (!s.empty() && s.back() == '0')
		s.pop_back();
	if (!s.empty() && s.back() == '.')
		s.pop_back();
	if (s == "-0")
		s = "0";
	return s;
}

std::string TypeWord(Int32 type)
{
	switch (type)
	{
		case Opolygon: return "polygon";
		case Ospline: return "spline";
		case Onull: return "null";
		case Ocube: return "cube";
		case Oplane: return "plane";
		case Opolygonprimitive: return "polygon-primitive";
		case Osplinedeformer: return "spline-deformer";
		case Tuvw: return "uvw";
		case Ttexture: return "texture";
		case Tphong: return "phong";
		default: return std::to_string(type);
	}
}

void DescribeObject(std::ostringstream& out, const scene::NodeCore* n, int depth)
{
	const BaseObject* op = scene::ApiOf<BaseObject>(n);
	const Vector pos = op->GetMg().off;
	out << std::string(static_cast<size_t>(depth) * 2, ' ') << TypeWord(n->type) << " \"" << n->name.Get() << "\" id="
	    << op->GetGUID() << " pos=(" << Number(pos.x) << ", " << Number(pos.y) << ", " << Number(pos.z) << ")";
	if (const scene::PolygonObjectData* poly = scene::PolygonDataOf(op))
		out << " points=" << poly->points.size() << " polygons=" << poly->polygons.size();
	else if (const scene::SplineObjectData* spline = scene::SplineDataOf(op))
		out << " points=" << spline->points.size();
	const scene::NodeCore* tag = n->AsObject()->tags.first;
	if (tag)
	{
		out << " tags=";
		for (; tag; tag = tag->next)
			out << TypeWord(tag->type) << (tag->next ? "," : "");
	}
	out << "\n";
}

int Depth(const scene::NodeCore* n)
{
	int depth = 0;
	for (const scene::NodeCore* p = n->Up(); p; p = p->Up())
		++depth;
	return depth;
}

// Depth-first search along the name path, trying every sibling with a matching name.
BaseObject* FindPath(const scene::NodeCore* first, const std::vector<std::string>& names, size_t level)
{
	for (const scene::NodeCore* n = first; n; n = n->next)
	{
		if (n->name.Get() != names[level])
			continue;
		if (level + 1 == names.size())
			return scene::ApiOf<BaseObject>(n);
		if (BaseObject* found = FindPath(n->children.first, names, level + 1))
			return found;
	}
	return nullptr;
}

} // namespace

namespace standin
{

PolygonObject* MakePrimitive(Int32 type, Float size, Int32 segments, std::string* error)
{
	return modeling::BuildPrimitive(type, size, segments, error);
}

BaseObject* FindObjectByPath(BaseDocument* doc, const std::string& path)
{
	const scene::DocumentData* d = scene::DocumentDataOf(doc);
	if (!d || path.empty())
		return nullptr;
	std::vector<std::string> names;
	size_t start = 0;
	while (true)
	{
		const size_t slash = path.find('/', start);
		names.push_back(path.substr(start, slash == std::string::npos ? std::string::npos : slash - start));
		if (names.back().empty())
			return nullptr;
		if (slash == std::string::npos)
			break;
		start = slash + 1;
	}
	return FindPath(d->children.first, names, 0);
}

BaseMaterial* FindMaterial(BaseDocument* doc, const std::string& name)
{
	const scene::DocumentData* d = scene::DocumentDataOf(doc);
	if (!d)
		return nullptr;
	for (const scene::NodeCore* m = d->materials.first; m; m = m->next)
	{
		if (m->name.Get() == name)
			return scene::ApiOf<BaseMaterial>(m);
	}
	return nullptr;
}

Int64 UpdateMessageCount(const BaseList2D* element)
{
	const scene::NodeCore* core = scene::CoreOf(element);
	return core ? core->updateMessages : 0;
}

std::string DescribeScene(BaseDocument* doc)
{
	const scene::DocumentData* d = scene::DocumentDataOf(doc);
	if (!d)
		return "no document\n";
	std::ostringstream out;
	out << "objects:\n";
	for (const scene::NodeCore* n = d->children.first; n; n = scene::NextDepthFirst(n))
		DescribeObject(out, n, 1 + Depth(n));
	out << "materials:\n";
	for (const scene::NodeCore* m = d->materials.first; m; m = m->next)
		out << "  material \"" << m->name.Get() << "\"\n";
	return out.str();
}

} // namespace standin
