// Host-side scene services for the executable, session scripts and tests.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "standin/printable.h"
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

// Lines are indented two blanks per level down to this depth; deeper objects keep that
// indentation and show their depth as a number, so that a very deep chain prints in time and
// space proportional to its object count rather than to the square of its depth.
constexpr size_t kIndentedLevels = 32;

void DescribeObject(std::string& out, const scene::NodeCore* n, size_t depth, const Matrix& mg)
{
	out.append(2 + 2 * std::min(depth, kIndentedLevels), ' ');
	if (depth > kIndentedLevels)
		out += "(depth " + std::to_string(depth) + ") ";
	const BaseObject* op = scene::ApiOf<BaseObject>(n);
	out += TypeWord(n->type) + " \"" + standin::Printable(n->name.Get()) + "\" id=" + std::to_string(op->GetGUID());
	out += " pos=(" + Number(mg.off.x) + ", " + Number(mg.off.y) + ", " + Number(mg.off.z) + ")";
	if (const scene::PolygonObjectData* poly = scene::PolygonDataOf(op))
		out += " points=" + std::to_string(poly->points.size()) + " polygons=" + std::to_string(poly->polygons.size());
	else if (const scene::SplineObjectData* spline = scene::SplineDataOf(op))
	{
		out += " points=" + std::to_string(spline->points.size());
		if (spline->curves.size() > 1)
			out += " curves=" + std::to_string(spline->curves.size());
	}
	const scene::NodeCore* tag = n->AsObject()->tags.first;
	if (tag)
	{
		out += " tags=";
		for (; tag; tag = tag->next)
			out += TypeWord(tag->type) + (tag->next ? "," : "");
	}
	out += '\n';
}

// The next member of a list after `after` with the same name, for the search below to try when
// the first one leads nowhere; nullptr when the name is unique in the list.
scene::NodeCore* FollowingNamed(scene::NodeCore* after, const std::string& name)
{
	if (scene::CountNamed(*after->list, name, after) == 0)
		return nullptr;
	for (scene::NodeCore* n = after->next; n; n = n->next)
		if (n->name.Get() == name)
			return n;
	return nullptr;
}

// Depth-first search along the name path, trying every sibling with a matching name in list
// order. Iterative, and each level is found through the list's name index, so long paths and
// long sibling lists cost no more than the path's length when names are unique.
BaseObject* FindPath(scene::ListHead& top, const std::vector<std::string>& names)
{
	std::vector<scene::NodeCore*> chosen; // the candidate taken at each level above the current one
	scene::NodeCore* candidate = scene::FindNamed(top, names[0]);
	while (true)
	{
		if (!candidate)
		{
			if (chosen.empty())
				return nullptr;
			scene::NodeCore* previous = chosen.back();
			chosen.pop_back();
			candidate = FollowingNamed(previous, names[chosen.size()]);
			continue;
		}
		if (chosen.size() + 1 == names.size())
			return scene::ApiOf<BaseObject>(candidate);
		chosen.push_back(candidate);
		candidate = scene::FindNamed(candidate->children, names[chosen.size()]);
	}
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
	scene::DocumentData* d = scene::DocumentDataOf(doc);
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
	return FindPath(d->children, names);
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
	std::string out = "objects:\n";
	// Depth first, keeping the global matrix of every object above the current one, so that each
	// object costs one matrix product however deep it lies.
	std::vector<Matrix> above;
	const scene::NodeCore* n = d->children.first;
	while (n)
	{
		const Matrix& ml = n->AsObject()->ml;
		const Matrix mg = above.empty() ? ml : above.back() * ml;
		DescribeObject(out, n, above.size(), mg);
		if (n->children.first)
		{
			above.push_back(mg);
			n = n->children.first;
			continue;
		}
		while (n && !n->next)
		{
			n = n->Up();
			if (n)
				above.pop_back();
		}
		if (n)
			n = n->next;
	}
	out += "materials:\n";
	for (const scene::NodeCore* m = d->materials.first; m; m = m->next)
		out += "  material \"" + Printable(m->name.Get()) + "\"\n";
	return out;
}

} // namespace standin
