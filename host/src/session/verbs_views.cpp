// Commands for editor views: adding one, placing its camera, its projection, frame and scale, and
// printing it and what was drawn into it.
#include "hostapi/view.h"
#include "session/lookup.h"
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

constexpr Float kToRadians = PI / 180.0;
// Frame sides a script may name; views are at most 16384 pixels wide.
constexpr Int32 kPixelLimit = 1 << 20;

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

struct AddViewArgs
{
	const ViewKind* kind = nullptr;
	Int32 projection = 0;
};

bool ParseAddView(const Words& args, AddViewArgs* out, std::string* error)
{
	if (!CheckArity(args, 1, 2, kAddViewUsage, error))
		return false;
	for (const ViewKind& k : kViewKinds)
		if (args[0] == k.name)
			out->kind = &k;
	if (!out->kind)
	{
		*error = "unknown view kind '" + args[0] + "'";
		return false;
	}
	out->projection = out->kind->projection;
	if (args.size() == 2)
	{
		if (out->kind->projection == 0)
		{
			*error = "a perspective view takes no projection code";
			return false;
		}
		return ParseInt(args[1], "projection", Pparallel_first, Pparallel_last, &out->projection, error);
	}
	return true;
}

bool RunAddView(Session& session, const AddViewArgs& args, std::string* error)
{
	if (!RequireDocument(session, error))
		return false;
	BaseDraw* bd = AddView(session.Document(), args.projection, error);
	if (!bd)
		return false;
	const ViewKind& kind = *args.kind;
	if (kind.projection != 0 && std::string(kind.name) != "parallel")
	{
		Matrix m = HPBToMatrix(Vector(kind.h * kToRadians, kind.p * kToRadians, 0.0), ROTATIONORDER_DEFAULT);
		m.off = kind.position;
		SetCameraMatrix(bd, m);
	}
	return true;
}

struct CameraArgs
{
	Float v[6] = {};
};

bool ParseCamera(const Words& args, CameraArgs* out, std::string* error)
{
	return CheckArity(args, 6, 6, kCameraUsage, error) && ParseReals(args, 0, 6, "value", out->v, error);
}

bool RunSetCamera(Session& session, const CameraArgs& args, std::string* error)
{
	BaseDraw* bd = nullptr;
	if (!RequireView(session, &bd, error))
		return false;
	const Float* v = args.v;
	Matrix m = HPBToMatrix(Vector(v[0] * kToRadians, v[1] * kToRadians, v[2] * kToRadians), ROTATIONORDER_DEFAULT);
	m.off = Vector(v[3], v[4], v[5]);
	SetCameraMatrix(bd, m);
	return true;
}

struct ProjectionArgs
{
	Int32 code = 0;
};

bool ParseProjection(const Words& args, ProjectionArgs* out, std::string* error)
{
	if (!CheckArity(args, 1, 1, kProjectionUsage, error) || !ParseInt(args[0], "projection", 0, Pparallel_last, &out->code, error))
		return false;
	if (out->code != Pperspective && out->code < Pparallel_first)
	{
		*error = "projection must be 0 or 8 to 11";
		return false;
	}
	return true;
}

bool RunSetProjection(Session& session, const ProjectionArgs& args, std::string* error)
{
	BaseDraw* bd = nullptr;
	if (!RequireView(session, &bd, error))
		return false;
	SetProjection(bd, args.code);
	return true;
}

struct FrameArgs
{
	Int32 f[4] = {};
};

bool ParseFrame(const Words& args, FrameArgs* out, std::string* error)
{
	if (!CheckArity(args, 4, 4, kFrameUsage, error))
		return false;
	const char* names[] = {"left", "top", "right", "bottom"};
	Int32* f = out->f;
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

bool RunSetFrame(Session& session, const FrameArgs& args, std::string* error)
{
	BaseDraw* bd = nullptr;
	if (!RequireView(session, &bd, error))
		return false;
	if (!SetFrame(bd, args.f[0], args.f[1], args.f[2], args.f[3]))
	{
		*error = "the view refused the frame";
		return false;
	}
	return true;
}

struct ScaleArgs
{
	Float scale = 0.0;
};

bool ParseScale(const Words& args, ScaleArgs* out, std::string* error)
{
	if (!CheckArity(args, 1, 1, kScaleUsage, error) || !ParseReal(args[0], "scale", &out->scale, error))
		return false;
	if (!(out->scale > 0.0))
	{
		*error = "the scale must be greater than 0";
		return false;
	}
	return true;
}

bool RunSetScale(Session& session, const ScaleArgs& args, std::string* error)
{
	BaseDraw* bd = nullptr;
	if (!RequireView(session, &bd, error))
		return false;
	SetParallelScale(bd, args.scale);
	return true;
}

bool RunPrintView(Session& session, const NoArgs&, std::string* error)
{
	BaseDraw* bd = nullptr;
	if (!RequireView(session, &bd, error))
		return false;
	session.Out() << DescribeView(bd) << '\n';
	return true;
}

bool RunPrintDrawLog(Session& session, const NoArgs&, std::string* error)
{
	BaseDraw* bd = nullptr;
	if (!RequireView(session, &bd, error))
		return false;
	// A fresh pass, as a redraw would make it now: the same records a picture reads.
	DrawPass(session.Document(), bd);
	for (const DrawRecord& r : DrawLog(bd))
		session.Out() << DescribeDrawRecord(r) << '\n';
	return true;
}

VerbRegistration addView(MakeVerb<AddViewArgs>("add-view", kAddViewUsage, "Adds a view to the document and makes it the active one.", ParseAddView,
	RunAddView));

VerbRegistration setCamera(MakeVerb<CameraArgs>("set-camera", kCameraUsage,
	"Places the active view's camera: heading, pitch, bank in degrees and a position; it looks along its +Z axis.", ParseCamera, RunSetCamera));

VerbRegistration setProjection(MakeVerb<ProjectionArgs>("set-projection", kProjectionUsage,
	"Sets the active view's projection: 0 perspective, 8 to 11 parallel.", ParseProjection, RunSetProjection));

VerbRegistration setFrame(MakeVerb<FrameArgs>("set-frame", kFrameUsage, "Sets the active view's pixel frame (first and last pixel of each side).",
	ParseFrame, RunSetFrame));

VerbRegistration setScale(MakeVerb<ScaleArgs>("set-view-scale", kScaleUsage,
	"Sets how many pixels a world unit covers in the active view's parallel projections.", ParseScale, RunSetScale));

VerbRegistration printView(MakeVerb<NoArgs>("print-view", "print-view", "Prints the active view's projection, frame and camera.", NoWords("print-view"),
	RunPrintView));

VerbRegistration printDrawLog(MakeVerb<NoArgs>("print-draw-log", "print-draw-log",
	"Draws the active view afresh (the active tool's Draw) and prints every drawing call of that pass in order.", NoWords("print-draw-log"), RunPrintDrawLog));

} // namespace

} // namespace standin::session
