// The check that a new local matrix keeps every world matrix below it finite: a parent scaled
// by 1e200 takes a child scaled by 1e200 to infinity, and an infinite or NaN matrix, once in a
// scene, spreads into everything computed from it and into the saved document.
#include <cmath>
#include <vector>

#include "hostapi/document.h"
#include "scene/object_data.h"
#include "session/placement.h"

namespace standin::session
{

namespace
{

bool Finite(const Vector& v)
{
	return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z);
}

} // namespace

bool FiniteMatrix(const Matrix& m)
{
	return Finite(m.off) && Finite(m.v1) && Finite(m.v2) && Finite(m.v3);
}

bool CheckPlacement(BaseObject* op, const Matrix& parentMg, const Matrix& ml, bool descendants, std::string* error)
{
	const scene::NodeCore* top = scene::CoreOf(op);
	const Matrix mg = parentMg * ml;
	const scene::NodeCore* failed = FiniteMatrix(ml) && FiniteMatrix(mg) ? nullptr : top;
	// The descendants keep their local matrices; their world matrices follow the new one.
	std::vector<Matrix> above{mg};
	const scene::NodeCore* n = descendants ? top->children.first : nullptr;
	while (n && !failed)
	{
		const Matrix global = above.back() * n->AsObject()->ml;
		if (!FiniteMatrix(global))
		{
			failed = n;
			break;
		}
		if (n->children.first)
		{
			above.push_back(global);
			n = n->children.first;
			continue;
		}
		while (n != top && !n->next)
		{
			n = n->Up();
			above.pop_back();
		}
		n = n == top ? nullptr : n->next;
	}
	if (!failed)
		return true;
	*error = "the world matrix of '" + failed->name.Get() + "' would overflow (the scales or positions multiply beyond the range of numbers)";
	return false;
}

} // namespace standin::session
