// Commands for the edge selections of polygon objects: select edges by number or by their two
// points, clear them, print them.
#include <algorithm>
#include <sstream>

#include "hostapi/objects.h"
#include "session/lookup.h"
#include "session/words.h"

namespace standin::session
{

namespace
{

const char* kSelectEdgesUsage = "select-edges <path> <edge number>...";
const char* kSelectPointsUsage = "select-edge-points <path> <point a> <point b>";
const char* kClearEdgesUsage = "clear-edges <path>";
const char* kEdgeSelectionUsage = "print-edge-selection <path>";

struct EdgesArgs
{
	std::string path;
	std::vector<Int32> edges;
};

struct PointPairArgs
{
	std::string path;
	Int32 a = 0;
	Int32 b = 0;
};

struct PathArgs
{
	std::string path;
};

bool ParseSelectEdges(const Words& args, EdgesArgs* out, std::string* error)
{
	if (args.size() < 2)
	{
		*error = std::string("usage: ") + kSelectEdgesUsage;
		return false;
	}
	out->path = args[0];
	for (size_t i = 1; i < args.size(); ++i)
	{
		Int32 edge = 0;
		if (!ParseInt(args[i], "edge number", 0, 0x7fffffff, &edge, error))
			return false;
		out->edges.push_back(edge);
	}
	return true;
}

bool ParsePointPair(const Words& args, PointPairArgs* out, std::string* error)
{
	if (!CheckArity(args, 3, 3, kSelectPointsUsage, error) || !ParseInt(args[1], "point", 0, 0x7fffffff, &out->a, error) ||
		!ParseInt(args[2], "point", 0, 0x7fffffff, &out->b, error))
		return false;
	out->path = args[0];
	return true;
}

std::function<bool(const Words&, PathArgs*, std::string*)> OnePath(const char* usage)
{
	return [usage](const Words& args, PathArgs* out, std::string* error) {
		if (!CheckArity(args, 1, 1, usage, error))
			return false;
		out->path = args[0];
		return true;
	};
}

bool RunSelectEdges(Session& session, const EdgesArgs& args, std::string* error)
{
	PolygonObject* op = nullptr;
	if (!FindPolygonObject(session, args.path, &op, error))
		return false;
	const Int64 edgeCount = Int64(op->GetPolygonCount()) * 4;
	// Every edge is checked before any is selected: a bad one among good ones selects none.
	for (const Int32 edge : args.edges)
	{
		Int32 a = 0, b = 0;
		if (edge >= edgeCount || !op->GetEdgePoints(edge, &a, &b))
		{
			*error = "'" + args.path + "' has no edge " + std::to_string(edge);
			return false;
		}
		if (a == b)
		{
			*error = "edge " + std::to_string(edge) + " of '" + args.path + "' joins a point to itself";
			return false;
		}
	}
	BaseSelect* sel = op->GetEdgeS();
	if (!sel)
	{
		*error = "'" + args.path + "' has no edge selection";
		return false;
	}
	for (const Int32 e : args.edges)
		sel->Select(e);
	return true;
}

// The first polygon (in index order) with a and b as neighbouring corners, and the side they form.
bool FindSide(const PolygonObject* op, Int32 a, Int32 b, Int32* edge)
{
	const CPolygon* polys = op->GetPolygonR();
	for (Int32 p = 0; polys && p < op->GetPolygonCount(); ++p)
	{
		for (Int32 side = 0; side < 4; ++side)
		{
			Int32 first = 0, second = 0;
			if (!op->GetEdgePoints(p * 4 + side, &first, &second) || first == second)
				continue;
			if ((first == a && second == b) || (first == b && second == a))
			{
				*edge = p * 4 + side;
				return true;
			}
		}
	}
	return false;
}

bool RunSelectEdgePoints(Session& session, const PointPairArgs& args, std::string* error)
{
	PolygonObject* op = nullptr;
	Int32 edge = 0;
	if (!FindPolygonObject(session, args.path, &op, error))
		return false;
	if (!FindSide(op, args.a, args.b, &edge))
	{
		*error = "no polygon of '" + args.path + "' has the edge " + std::to_string(args.a) + "-" + std::to_string(args.b);
		return false;
	}
	BaseSelect* sel = op->GetEdgeS();
	if (!sel)
	{
		*error = "'" + args.path + "' has no edge selection";
		return false;
	}
	sel->Select(edge);
	return true;
}

bool RunClearEdges(Session& session, const PathArgs& args, std::string* error)
{
	PolygonObject* op = nullptr;
	if (!FindPolygonObject(session, args.path, &op, error))
		return false;
	if (BaseSelect* sel = op->GetEdgeS())
		sel->DeselectAll();
	return true;
}

bool RunPrintEdgeSelection(Session& session, const PathArgs& args, std::string* error)
{
	PolygonObject* op = nullptr;
	if (!FindPolygonObject(session, args.path, &op, error))
		return false;
	const BaseSelect* sel = op->GetEdgeS();
	std::ostringstream ranges, edges;
	const Int32 segments = sel ? sel->GetSegments() : 0;
	const Int64 edgeCount = Int64(op->GetPolygonCount()) * 4;
	for (Int32 s = 0; s < segments; ++s)
	{
		Int32 from = 0, to = -1;
		if (!sel->GetRange(s, &from, &to))
			continue;
		ranges << ' ' << from << '-' << to;
		for (Int64 e = std::max<Int64>(from, 0); e <= to && e < edgeCount; ++e)
		{
			Int32 a = 0, b = 0;
			if (op->GetEdgePoints(static_cast<Int32>(e), &a, &b))
				edges << "  edge " << e << ": " << a << ' ' << b << '\n';
		}
	}
	session.Out() << "edge selection of " << args.path << ":" << (segments ? ranges.str() : std::string(" none")) << '\n' << edges.str();
	return true;
}

VerbRegistration selectEdges(SceneEdit(MakeVerb<EdgesArgs>("select-edges", kSelectEdgesUsage, "Adds edges (4 * polygon + side) to a polygon object's edge selection.",
	ParseSelectEdges, RunSelectEdges)));

VerbRegistration selectEdgePoints(SceneEdit(MakeVerb<PointPairArgs>("select-edge-points", kSelectPointsUsage,
	"Selects the edge between two points, on the first polygon that has it.", ParsePointPair, RunSelectEdgePoints)));

VerbRegistration clearEdges(SceneEdit(MakeVerb<PathArgs>("clear-edges", kClearEdgesUsage, "Empties a polygon object's edge selection.", OnePath(kClearEdgesUsage),
	RunClearEdges)));

VerbRegistration printEdges(MakeVerb<PathArgs>("print-edge-selection", kEdgeSelectionUsage, "Prints a polygon object's selected edge ranges and their points.",
	OnePath(kEdgeSelectionUsage), RunPrintEdgeSelection));

} // namespace

} // namespace standin::session
