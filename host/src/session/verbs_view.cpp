// Commands for editor views, edge selections and editing modes, and inspect-pixel, which prints
// what the view services answer at one pixel of the active view.
#include <algorithm>
#include <cmath>
#include <sstream>

#include "standin/printable.h"
#include "hostapi/picking.h"
#include "hostapi/snapping.h"
#include "session/words.h"
#include "standin/views.h"

namespace standin::session
{

namespace
{

const char* kAddViewUsage = "add-view perspective|parallel|top|front|right [projection 8-11]";
const char* kCameraUsage = "set-camera h p b x y z";
const char* kProjectionUsage = "set-projection <0 or 8-11>";
const char* kFrameUsage = "set-frame left top right bottom";
const char* kScaleUsage = "set-view-scale <pixels per unit>";
const char* kSelectEdgesUsage = "select-edges <path> <edge number>...";
const char* kSelectPointsUsage = "select-edge-points <path> <point a> <point b>";
const char* kClearEdgesUsage = "clear-edges <path>";
const char* kModeUsage = "set-mode points|edges|polygons|model";
const char* kSnapUsage = "set-snap all|115|123|125|127 on|off";
const char* kInspectUsage = "inspect-pixel x y";
const char* kEdgeSelectionUsage = "print-edge-selection <path>";

constexpr Float kToRadians = PI / 180.0;
// Screen coordinates a script may name; views are at most 16384 pixels wide.
constexpr Int32 kPixelLimit = 1 << 20;

std::string V(const Vector& v)
{
	return "(" + String::FloatToString(v.x).Get() + ";" + String::FloatToString(v.y).Get() + ";" + String::FloatToString(v.z).Get() + ")";
}

bool Reals(const Words& args, size_t first, size_t count, Float* values, std::string* error)
{
	for (size_t i = 0; i < count; ++i)
		if (!ParseReal(args[first + i], "value", &values[i], error))
			return false;
	return true;
}

bool RequireView(Context& ctx, BaseDraw** bd, std::string* error)
{
	if (!RequireDocument(ctx, error))
		return false;
	*bd = ctx.document->GetActiveBaseDraw();
	if (!*bd)
	{
		*error = "the document has no view";
		return false;
	}
	return true;
}

bool RequirePolygonObject(Context& ctx, const std::string& path, PolygonObject** op, std::string* error)
{
	BaseObject* found = nullptr;
	if (!RequireDocument(ctx, error) || !FindObject(ctx, path, &found, error))
		return false;
	if (!found->IsInstanceOf(Opolygon))
	{
		*error = "'" + path + "' is not a polygon object";
		return false;
	}
	*op = static_cast<PolygonObject*>(found);
	return true;
}

// ---- views ---------------------------------------------------------------------------------

struct ViewKind
{
	const char* name;
	Int32 projection;
	Float h, p;           // camera heading and pitch in degrees
	Vector position;
};

// The parallel views stand far back so that the whole scene lies in front of them.
constexpr ViewKind kViewKinds[] = {
	{"perspective", 0, 0.0, 0.0, Vector()},
	{"parallel", 8, 0.0, 0.0, Vector()},
	{"top", 8, 0.0, -90.0, Vector(0.0, 100000.0, 0.0)},
	{"front", 8, 0.0, 0.0, Vector(0.0, 0.0, -100000.0)},
	{"right", 8, 90.0, 0.0, Vector(100000.0, 0.0, 0.0)},
};

const ViewKind* FindViewKind(const std::string& name)
{
	for (const ViewKind& k : kViewKinds)
		if (name == k.name)
			return &k;
	return nullptr;
}

bool CheckAddView(const Words& args, std::string* error)
{
	if (!CheckArity(args, 1, 2, kAddViewUsage, error))
		return false;
	const ViewKind* kind = FindViewKind(args[0]);
	if (!kind)
	{
		*error = "unknown view kind '" + args[0] + "'";
		return false;
	}
	Int32 code = 0;
	if (args.size() == 2)
	{
		if (kind->projection == 0)
		{
			*error = "a perspective view takes no projection code";
			return false;
		}
		return ParseInt(args[1], "projection", Pparallel_first, Pparallel_last, &code, error);
	}
	return true;
}

bool RunAddView(Context& ctx, const Words& args, std::string* error)
{
	if (!RequireDocument(ctx, error))
		return false;
	const ViewKind* kind = FindViewKind(args[0]);
	Int32 code = kind->projection;
	if (args.size() == 2 && !ParseInt(args[1], "projection", Pparallel_first, Pparallel_last, &code, error))
		return false;
	BaseDraw* bd = AddView(ctx.document, code, error);
	if (!bd)
		return false;
	if (kind->projection != 0 && std::string(kind->name) != "parallel")
	{
		Matrix m = HPBToMatrix(Vector(kind->h * kToRadians, kind->p * kToRadians, 0.0), ROTATIONORDER_DEFAULT);
		m.off = kind->position;
		SetCameraMatrix(bd, m);
	}
	return true;
}

bool RunSetCamera(Context& ctx, const Words& args, std::string* error)
{
	BaseDraw* bd = nullptr;
	Float v[6];
	if (!Reals(args, 0, 6, v, error) || !RequireView(ctx, &bd, error))
		return false;
	Matrix m = HPBToMatrix(Vector(v[0] * kToRadians, v[1] * kToRadians, v[2] * kToRadians), ROTATIONORDER_DEFAULT);
	m.off = Vector(v[3], v[4], v[5]);
	SetCameraMatrix(bd, m);
	return true;
}

bool ParseProjection(const Words& args, Int32* code, std::string* error)
{
	if (!ParseInt(args[0], "projection", 0, Pparallel_last, code, error))
		return false;
	if (*code != Pperspective && *code < Pparallel_first)
	{
		*error = "projection must be 0 or 8 to 11";
		return false;
	}
	return true;
}

bool RunSetProjection(Context& ctx, const Words& args, std::string* error)
{
	BaseDraw* bd = nullptr;
	Int32 code = 0;
	if (!ParseProjection(args, &code, error) || !RequireView(ctx, &bd, error))
		return false;
	SetProjection(bd, code);
	return true;
}

bool ParseFrame(const Words& args, Int32* f, std::string* error)
{
	const char* names[] = {"left", "top", "right", "bottom"};
	for (int i = 0; i < 4; ++i)
		if (!ParseInt(args[static_cast<size_t>(i)], names[i], -kPixelLimit, kPixelLimit, &f[i], error))
			return false;
	if (f[2] < f[0] || f[3] < f[1] || f[2] - f[0] >= 16384 || f[3] - f[1] >= 16384)
	{
		*error = "the frame must have right >= left, bottom >= top and sides of at most 16384 pixels";
		return false;
	}
	return true;
}

bool RunSetFrame(Context& ctx, const Words& args, std::string* error)
{
	BaseDraw* bd = nullptr;
	Int32 f[4];
	if (!ParseFrame(args, f, error) || !RequireView(ctx, &bd, error))
		return false;
	if (!SetFrame(bd, f[0], f[1], f[2], f[3]))
	{
		*error = "the view refused the frame";
		return false;
	}
	return true;
}

bool ParseScale(const Words& args, Float* scale, std::string* error)
{
	if (!ParseReal(args[0], "scale", scale, error))
		return false;
	if (!(*scale > 0.0))
	{
		*error = "the scale must be greater than 0";
		return false;
	}
	return true;
}

bool RunSetScale(Context& ctx, const Words& args, std::string* error)
{
	BaseDraw* bd = nullptr;
	Float scale = 0.0;
	if (!ParseScale(args, &scale, error) || !RequireView(ctx, &bd, error))
		return false;
	SetParallelScale(bd, scale);
	return true;
}

bool RunPrintView(Context& ctx, const Words&, std::string* error)
{
	BaseDraw* bd = nullptr;
	if (!RequireView(ctx, &bd, error))
		return false;
	*ctx.out << DescribeView(bd) << '\n';
	return true;
}

bool RunPrintDrawLog(Context& ctx, const Words&, std::string* error)
{
	BaseDraw* bd = nullptr;
	if (!RequireView(ctx, &bd, error))
		return false;
	for (const DrawRecord& r : DrawLog(bd))
		*ctx.out << DescribeDrawRecord(r) << '\n';
	ClearDrawLog(bd);
	return true;
}

// ---- edge selections and modes --------------------------------------------------------------

bool CheckSelectEdges(const Words& args, std::string* error)
{
	if (args.size() < 2)
	{
		*error = std::string("usage: ") + kSelectEdgesUsage;
		return false;
	}
	Int32 edge = 0;
	for (size_t i = 1; i < args.size(); ++i)
		if (!ParseInt(args[i], "edge number", 0, 0x7fffffff, &edge, error))
			return false;
	return true;
}

bool RunSelectEdges(Context& ctx, const Words& args, std::string* error)
{
	PolygonObject* op = nullptr;
	if (!RequirePolygonObject(ctx, args[0], &op, error))
		return false;
	std::vector<Int32> edges;
	const Int64 edgeCount = Int64(op->GetPolygonCount()) * 4;
	for (size_t i = 1; i < args.size(); ++i)
	{
		Int32 edge = 0;
		if (!ParseInt(args[i], "edge number", 0, 0x7fffffff, &edge, error))
			return false;
		Int32 a = 0, b = 0;
		if (edge >= edgeCount || !op->GetEdgePoints(edge, &a, &b))
		{
			*error = "'" + args[0] + "' has no edge " + args[i];
			return false;
		}
		if (a == b)
		{
			*error = "edge " + args[i] + " of '" + args[0] + "' joins a point to itself";
			return false;
		}
		edges.push_back(edge);
	}
	BaseSelect* sel = op->GetEdgeS();
	if (!sel)
	{
		*error = "'" + args[0] + "' has no edge selection";
		return false;
	}
	for (const Int32 e : edges)
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

bool RunSelectEdgePoints(Context& ctx, const Words& args, std::string* error)
{
	PolygonObject* op = nullptr;
	Int32 a = 0, b = 0, edge = 0;
	if (!ParseInt(args[1], "point", 0, 0x7fffffff, &a, error) || !ParseInt(args[2], "point", 0, 0x7fffffff, &b, error) ||
		!RequirePolygonObject(ctx, args[0], &op, error))
		return false;
	if (!FindSide(op, a, b, &edge))
	{
		*error = "no polygon of '" + args[0] + "' has the edge " + args[1] + "-" + args[2];
		return false;
	}
	BaseSelect* sel = op->GetEdgeS();
	if (!sel)
	{
		*error = "'" + args[0] + "' has no edge selection";
		return false;
	}
	sel->Select(edge);
	return true;
}

bool RunClearEdges(Context& ctx, const Words& args, std::string* error)
{
	PolygonObject* op = nullptr;
	if (!RequirePolygonObject(ctx, args[0], &op, error))
		return false;
	if (BaseSelect* sel = op->GetEdgeS())
		sel->DeselectAll();
	return true;
}

bool RunPrintEdgeSelection(Context& ctx, const Words& args, std::string* error)
{
	PolygonObject* op = nullptr;
	if (!RequirePolygonObject(ctx, args[0], &op, error))
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
	*ctx.out << "edge selection of " << args[0] << ":" << (segments ? ranges.str() : std::string(" none")) << '\n' << edges.str();
	return true;
}

struct ModeName
{
	const char* name;
	Int32 mode;
};
constexpr ModeName kModes[] = {{"points", Mpoints}, {"edges", Medges}, {"polygons", Mpolygons}, {"model", Mmodel}};

bool CheckMode(const Words& args, std::string* error)
{
	if (!CheckArity(args, 1, 1, kModeUsage, error))
		return false;
	for (const ModeName& m : kModes)
		if (args[0] == m.name)
			return true;
	*error = "unknown mode '" + args[0] + "'";
	return false;
}

bool RunSetMode(Context& ctx, const Words& args, std::string* error)
{
	if (!RequireDocument(ctx, error))
		return false;
	for (const ModeName& m : kModes)
		if (args[0] == m.name)
			ctx.document->SetMode(m.mode);
	return true;
}

// ---- snapping ------------------------------------------------------------------------------

bool ParseSnap(const Words& args, Int32* mode, bool* on, std::string* error)
{
	if (args[0] == "all")
		*mode = SNAPMODE_ALL;
	else if (args[0] == "115" || args[0] == "123" || args[0] == "125" || args[0] == "127")
		*mode = 440000000 + std::stoi(args[0]);
	else
	{
		*error = "unknown snap mode '" + args[0] + "'";
		return false;
	}
	if (args[1] != "on" && args[1] != "off")
	{
		*error = "expected on or off, not '" + args[1] + "'";
		return false;
	}
	*on = args[1] == "on";
	return true;
}

bool RunSetSnap(Context& ctx, const Words& args, std::string* error)
{
	Int32 mode = 0;
	bool on = false;
	if (!ParseSnap(args, &mode, &on, error) || !RequireDocument(ctx, error))
		return false;
	EnableSnap(on, ctx.document, mode);
	return true;
}

// ---- inspection ----------------------------------------------------------------------------

bool RunInspectPixel(Context& ctx, const Words& args, std::string* error)
{
	BaseDraw* bd = nullptr;
	Int32 x = 0, y = 0;
	if (!ParseInt(args[0], "x", -kPixelLimit, kPixelLimit, &x, error) || !ParseInt(args[1], "y", -kPixelLimit, kPixelLimit, &y, error) ||
		!RequireView(ctx, &bd, error))
		return false;
	std::ostream& out = *ctx.out;
	out << "pixel " << x << ' ' << y << '\n';
	for (const Float depth : {0.0, 500.0, 10000.0})
		out << "  depth " << String::FloatToString(depth).Get() << ": " << V(bd->SW(Vector(x, y, depth))) << '\n';

	ObjectPickList* list = ObjectPickList::Alloc();
	if (!list || !PickObjectsAtPixel(ctx.document, bd, x, y, list, PICKOBJECT_DEPTH | PICKOBJECT_ONLY_VISIBLE))
		out << "  objects: (no list)\n";
	else if (list->GetCount() == 0)
		out << "  objects: none\n";
	else
		for (Int32 i = 0; i < list->GetCount(); ++i)
			out << "  object " << Printable(list->GetObject(i)->GetName().Get()) << " depth " << String::FloatToString(list->GetZ(i)).Get() << " at "
				<< V(bd->SW(Vector(x, y, list->GetZ(i)))) << '\n';
	ObjectPickList::Free(list);

	// Where the pixel's ray meets the work plane.
	if (const BaseObject* plane = GetWorkplaneObject(ctx.document))
	{
		const Matrix k = plane->GetMg();
		const Vector n = PlaneNormalOfFrame(k);
		const Vector e = bd->SW(Vector(x, y, 0.0));
		const Vector d = bd->SW(Vector(x, y, 1.0)) - e;
		const Float along = Dot(n, d);
		if (along == 0.0)
			out << "  work plane: parallel to the ray\n";
		else
		{
			const Float t = Dot(n, k.off - e) / along;
			out << "  work plane: " << V(e + d * t) << (t > 0.0 ? "" : " (behind the camera)") << '\n';
		}
	}

	// Points of the active object's selected edges that project into the pixel.
	BaseObject* active = ctx.document->GetActiveObject();
	if (active && active->IsInstanceOf(Opolygon))
	{
		auto* op = static_cast<PolygonObject*>(active);
		const BaseSelect* sel = op->GetEdgeS();
		const Vector* points = op->GetPointR();
		const Matrix mg = op->GetMg();
		const Int64 edgeCount = Int64(op->GetPolygonCount()) * 4;
		std::vector<Int32> seen;
		for (Int32 s = 0; sel && s < sel->GetSegments(); ++s)
		{
			Int32 from = 0, to = -1;
			sel->GetRange(s, &from, &to);
			for (Int64 e = std::max<Int64>(from, 0); e <= to && e < edgeCount; ++e)
			{
				Int32 ab[2] = {0, 0};
				if (!op->GetEdgePoints(static_cast<Int32>(e), &ab[0], &ab[1]))
					continue;
				for (const Int32 p : ab)
				{
					if (p < 0 || p >= op->GetPointCount() || std::find(seen.begin(), seen.end(), p) != seen.end())
						continue;
					if (bd->PointInRange(mg * points[p], x, y))
					{
						seen.push_back(p);
						out << "  selected edge point " << p << " of " << Printable(op->GetName().Get()) << " at " << V(mg * points[p]) << '\n';
					}
				}
			}
		}
	}

	// What the snapping service makes of the point 500 deep under the pixel.
	SnapCore* snap = SnapCore::Alloc();
	SnapResult res;
	const Vector probe = bd->SW(Vector(x, y, 500.0));
	if (snap && snap->Init(ctx.document, bd) && snap->Snap(probe, res))
		out << "  snap: point " << res.component << " of " << (res.target ? Printable(res.target->GetName().Get()) : std::string("?")) << " offset " << V(res.delta)
			<< '\n';
	else
		out << "  snap: none\n";
	SnapCore::Free(snap);
	return true;
}

// ---- registrations -------------------------------------------------------------------------

template <size_t N>
auto Arity(const char* usage)
{
	return [usage](const Words& args, std::string* error) { return CheckArity(args, N, N, usage, error); };
}

VerbRegistration addView(Verb{"add-view", kAddViewUsage, "Adds a view to the document and makes it the active one.", CheckAddView, RunAddView});

VerbRegistration setCamera(Verb{
	"set-camera",
	kCameraUsage,
	"Places the active view's camera: heading, pitch, bank in degrees and a position; it looks along its +Z axis.",
	[](const Words& args, std::string* error) {
		Float v[6];
		return CheckArity(args, 6, 6, kCameraUsage, error) && Reals(args, 0, 6, v, error);
	},
	RunSetCamera,
});

VerbRegistration setProjection(Verb{
	"set-projection",
	kProjectionUsage,
	"Sets the active view's projection: 0 perspective, 8 to 11 parallel.",
	[](const Words& args, std::string* error) {
		Int32 code = 0;
		return CheckArity(args, 1, 1, kProjectionUsage, error) && ParseProjection(args, &code, error);
	},
	RunSetProjection,
});

VerbRegistration setFrame(Verb{
	"set-frame",
	kFrameUsage,
	"Sets the active view's pixel frame (first and last pixel of each side).",
	[](const Words& args, std::string* error) {
		Int32 f[4];
		return CheckArity(args, 4, 4, kFrameUsage, error) && ParseFrame(args, f, error);
	},
	RunSetFrame,
});

VerbRegistration setScale(Verb{
	"set-view-scale",
	kScaleUsage,
	"Sets how many pixels a world unit covers in the active view's parallel projections.",
	[](const Words& args, std::string* error) {
		Float s = 0.0;
		return CheckArity(args, 1, 1, kScaleUsage, error) && ParseScale(args, &s, error);
	},
	RunSetScale,
});

VerbRegistration printView(Verb{"print-view", "print-view", "Prints the active view's projection, frame and camera.", Arity<0>("print-view"), RunPrintView});

VerbRegistration printDrawLog(Verb{
	"print-draw-log",
	"print-draw-log",
	"Prints what was drawn into the active view since the last print-draw-log, and forgets it.",
	Arity<0>("print-draw-log"),
	RunPrintDrawLog,
});

VerbRegistration selectEdges(Verb{"select-edges", kSelectEdgesUsage, "Adds edges (4 * polygon + side) to a polygon object's edge selection.",
								  CheckSelectEdges, RunSelectEdges});

VerbRegistration selectEdgePoints(Verb{
	"select-edge-points",
	kSelectPointsUsage,
	"Selects the edge between two points, on the first polygon that has it.",
	[](const Words& args, std::string* error) {
		Int32 p = 0;
		return CheckArity(args, 3, 3, kSelectPointsUsage, error) && ParseInt(args[1], "point", 0, 0x7fffffff, &p, error) &&
			   ParseInt(args[2], "point", 0, 0x7fffffff, &p, error);
	},
	RunSelectEdgePoints,
});

VerbRegistration clearEdges(Verb{"clear-edges", kClearEdgesUsage, "Empties a polygon object's edge selection.", Arity<1>(kClearEdgesUsage), RunClearEdges});

VerbRegistration printEdges(Verb{"print-edge-selection", kEdgeSelectionUsage, "Prints a polygon object's selected edge ranges and their points.",
								 Arity<1>(kEdgeSelectionUsage), RunPrintEdgeSelection});

VerbRegistration setMode(Verb{"set-mode", kModeUsage, "Switches the document's editing mode.", CheckMode, RunSetMode});

VerbRegistration setSnap(Verb{
	"set-snap",
	kSnapUsage,
	"Switches a snap mode (all: snapping as a whole) of the document on or off.",
	[](const Words& args, std::string* error) {
		Int32 mode = 0;
		bool on = false;
		return CheckArity(args, 2, 2, kSnapUsage, error) && ParseSnap(args, &mode, &on, error);
	},
	RunSetSnap,
});

VerbRegistration inspectPixel(Verb{
	"inspect-pixel",
	kInspectUsage,
	"Prints, for a pixel of the active view: world points at depths 0, 500 and 10000, the objects under it with their depths, the work-plane "
	"point, the active object's selected edge points in it and the snapping service's answer.",
	[](const Words& args, std::string* error) {
		Int32 v = 0;
		return CheckArity(args, 2, 2, kInspectUsage, error) && ParseInt(args[0], "x", -kPixelLimit, kPixelLimit, &v, error) &&
			   ParseInt(args[1], "y", -kPixelLimit, kPixelLimit, &v, error);
	},
	RunInspectPixel,
});

} // namespace

} // namespace standin::session
