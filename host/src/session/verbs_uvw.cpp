// Texture coordinates and point positions of polygon objects: give an object a UVW tag with a
// simple projection (so that a script has a textured source), print its UVW records and its
// points; a surface proxy tag that makes one object stand in for another under rays; and the
// host clock made a counter so that timing read-outs print the same in every run.
#include <cmath>

#include "hostapi/proxytag.h"
#include "session/lookup.h"
#include "session/words.h"
#include "standin/threads.h"

namespace standin::session
{

namespace
{

const char* kAddUvwUsage = "add-uvw <object path> planar|spherical";
const char* kPrintUvwUsage = "print-uvw <object path>";
const char* kPrintPointsUsage = "print-points <object path>";
const char* kAddProxyUsage = "add-proxy-tag <object path> <proxy object path>";
const char* kClockUsage = "set-clock-step <ms>|real";

// Objects larger than this print their first records only, and say how many were left out.
constexpr Int32 kPrintLimit = 2000;

std::string N(Float v)
{
	return String::FloatToString(v).Get();
}

std::string V(const Vector& v)
{
	return "(" + N(v.x) + ";" + N(v.y) + ";" + N(v.z) + ")";
}

struct UvwArgs
{
	std::string object;
	bool spherical = false;
};

struct ObjectArgs
{
	std::string object;
};

struct ProxyArgs
{
	std::string object;
	std::string proxy;
};

struct ClockArgs
{
	Int32 step = -1; // -1: the real clock
};

bool ParseAddUvw(const Words& args, UvwArgs* out, std::string* error)
{
	if (!CheckArity(args, 2, 2, kAddUvwUsage, error))
		return false;
	if (args[1] != "planar" && args[1] != "spherical")
	{
		*error = "unknown projection '" + args[1] + "' (planar or spherical)";
		return false;
	}
	out->object = args[0];
	out->spherical = args[1] == "spherical";
	return true;
}

bool ParseObject(const Words& args, const char* usage, ObjectArgs* out, std::string* error)
{
	if (!CheckArity(args, 1, 1, usage, error))
		return false;
	out->object = args[0];
	return true;
}

bool ParseProxy(const Words& args, ProxyArgs* out, std::string* error)
{
	if (!CheckArity(args, 2, 2, kAddProxyUsage, error))
		return false;
	out->object = args[0];
	out->proxy = args[1];
	return true;
}

bool ParseClock(const Words& args, ClockArgs* out, std::string* error)
{
	if (!CheckArity(args, 1, 1, kClockUsage, error))
		return false;
	if (args[0] == "real")
		return true;
	return ParseInt(args[0], "ms", 0, 1000000000, &out->step, error);
}

// The coordinate of an object-space point: planar maps the X-Z extent of the object's points
// onto 0..1 (U along X, V along Z); spherical takes the longitude about Y (U) and the polar angle
// from +Y (V) as seen from the centre of that extent, both over 0..1.
Vector Project(const Vector& p, const Vector& lo, const Vector& hi, bool spherical)
{
	if (!spherical)
	{
		const Float du = hi.x - lo.x, dv = hi.z - lo.z;
		return Vector(du > 0.0 ? (p.x - lo.x) / du : 0.0, dv > 0.0 ? (p.z - lo.z) / dv : 0.0, 0.0);
	}
	const Vector d = p - (lo + hi) * 0.5;
	const Float r = d.GetLength();
	if (r == 0.0)
		return Vector();
	Float u = std::atan2(d.z, d.x) / (2.0 * PI);
	if (u < 0.0)
		u += 1.0;
	const Float c = d.y / r;
	return Vector(u, std::acos(c > 1.0 ? 1.0 : (c < -1.0 ? -1.0 : c)) / PI, 0.0);
}

bool RunAddUvw(Session& session, const UvwArgs& args, std::string* error)
{
	PolygonObject* op = nullptr;
	if (!RequireDocument(session, error) || !FindPolygonObject(session, args.object, &op, error))
		return false;
	const Int32 pointCount = op->GetPointCount(), polyCount = op->GetPolygonCount();
	const Vector* pts = op->GetPointR();
	const CPolygon* polys = op->GetPolygonR();
	for (Int32 i = 0; i < polyCount; ++i)
	{
		for (Int32 k : {polys[i].a, polys[i].b, polys[i].c, polys[i].d})
		{
			if (k < 0 || k >= pointCount)
			{
				*error = "polygon " + std::to_string(i) + " of '" + args.object + "' names a point the object does not have";
				return false;
			}
		}
	}
	Vector lo(HUGE_VAL), hi(-HUGE_VAL);
	for (Int32 i = 0; i < pointCount; ++i)
	{
		lo = Vector(std::fmin(lo.x, pts[i].x), std::fmin(lo.y, pts[i].y), std::fmin(lo.z, pts[i].z));
		hi = Vector(std::fmax(hi.x, pts[i].x), std::fmax(hi.y, pts[i].y), std::fmax(hi.z, pts[i].z));
	}
	UVWTag* tag = UVWTag::Alloc(polyCount);
	if (!tag)
	{
		*error = "not enough memory for a UVW tag of " + std::to_string(polyCount) + " polygons";
		return false;
	}
	for (Int32 i = 0; i < polyCount; ++i)
	{
		const CPolygon& p = polys[i];
		UVWStruct r;
		r.a = Project(pts[p.a], lo, hi, args.spherical);
		r.b = Project(pts[p.b], lo, hi, args.spherical);
		r.c = Project(pts[p.c], lo, hi, args.spherical);
		r.d = p.IsTriangle() ? r.c : Project(pts[p.d], lo, hi, args.spherical);
		if (args.spherical)
		{
			// A polygon that straddles the seam takes its corners on the same side of it.
			for (Vector* c : {&r.b, &r.c, &r.d})
			{
				if (c->x - r.a.x > 0.5)
					c->x -= 1.0;
				else if (r.a.x - c->x > 0.5)
					c->x += 1.0;
			}
		}
		tag->SetSlow(i, r);
	}
	// One UVW tag per object: the new one replaces an old one.
	op->KillTag(Tuvw);
	op->InsertTag(tag);
	return true;
}

bool RunPrintUvw(Session& session, const ObjectArgs& args, std::string* error)
{
	PolygonObject* op = nullptr;
	if (!RequireDocument(session, error) || !FindPolygonObject(session, args.object, &op, error))
		return false;
	std::ostream& out = session.Out();
	const BaseTag* tag = op->GetTag(Tuvw);
	if (!tag)
	{
		out << "uvw " << args.object << ": none\n";
		return true;
	}
	const UVWTag* uvw = static_cast<const UVWTag*>(tag);
	const Int32 count = uvw->GetDataCount();
	out << "uvw " << args.object << ": " << count << " records\n";
	const CPolygon* polys = op->GetPolygonR();
	for (Int32 i = 0; i < count && i < kPrintLimit; ++i)
	{
		const UVWStruct r = uvw->GetSlow(i);
		const bool triangle = i < op->GetPolygonCount() && polys[i].IsTriangle();
		out << "  " << i << ": " << V(r.a) << ' ' << V(r.b) << ' ' << V(r.c);
		if (!triangle)
			out << ' ' << V(r.d);
		out << '\n';
	}
	if (count > kPrintLimit)
		out << "  ... " << (count - kPrintLimit) << " more\n";
	return true;
}

bool RunPrintPoints(Session& session, const ObjectArgs& args, std::string* error)
{
	PolygonObject* op = nullptr;
	if (!RequireDocument(session, error) || !FindPolygonObject(session, args.object, &op, error))
		return false;
	std::ostream& out = session.Out();
	const Int32 count = op->GetPointCount();
	const Vector* pts = op->GetPointR();
	const Matrix mg = op->GetMg();
	out << "points " << args.object << ": " << count << " (object space, then world)\n";
	for (Int32 i = 0; i < count && i < kPrintLimit; ++i)
		out << "  " << i << ": " << V(pts[i]) << ' ' << V(mg * pts[i]) << '\n';
	if (count > kPrintLimit)
		out << "  ... " << (count - kPrintLimit) << " more\n";
	return true;
}

bool RunAddProxy(Session& session, const ProxyArgs& args, std::string* error)
{
	BaseObject* op = nullptr;
	PolygonObject* proxy = nullptr;
	if (!RequireDocument(session, error) || !FindObject(session, args.object, &op, error) || !FindPolygonObject(session, args.proxy, &proxy, error))
		return false;
	if (op == proxy)
	{
		*error = "an object cannot stand in for itself";
		return false;
	}
	SurfaceProxyTag* tag = SurfaceProxyTag::Alloc();
	if (!tag)
	{
		*error = "not enough memory for a tag";
		return false;
	}
	tag->SetProxy(proxy);
	op->KillTag(Tsurfaceproxy);
	op->InsertTag(tag);
	return true;
}

bool RunClock(Session& session, const ClockArgs& args, std::string* error)
{
	(void)session;
	(void)error;
	standin::SetClockStep(args.step);
	return true;
}

VerbRegistration addUvw(SceneEdit(MakeVerb<UvwArgs>("add-uvw", kAddUvwUsage,
	"Gives a polygon object a UVW tag (replacing its own): planar maps its X-Z extent onto 0..1, spherical its longitude and polar angle.",
	ParseAddUvw, RunAddUvw)));
VerbRegistration printUvw(MakeVerb<ObjectArgs>("print-uvw", kPrintUvwUsage, "Prints a polygon object's UVW records, one polygon a line.",
	[](const Words& w, ObjectArgs* a, std::string* e) { return ParseObject(w, kPrintUvwUsage, a, e); }, RunPrintUvw));
VerbRegistration printPoints(MakeVerb<ObjectArgs>("print-points", kPrintPointsUsage,
	"Prints a polygon object's points, in object space and in world space.",
	[](const Words& w, ObjectArgs* a, std::string* e) { return ParseObject(w, kPrintPointsUsage, a, e); }, RunPrintPoints));
VerbRegistration addProxy(SceneEdit(MakeVerb<ProxyArgs>("add-proxy-tag", kAddProxyUsage,
	"Gives an object a surface proxy tag: rays that sample its surface meet the proxy polygon object instead.", ParseProxy, RunAddProxy)));
VerbRegistration clock(MakeVerb<ClockArgs>("set-clock-step", kClockUsage,
	"Makes the host's millisecond clock advance by exactly ms at every reading (so timings print the same every run); real: the real clock.",
	ParseClock, RunClock));

} // namespace

} // namespace standin::session
