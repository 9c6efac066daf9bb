// inspect-pixel: prints what the view services answer at one pixel of the active view.
#include <algorithm>
#include <vector>

#include "hostapi/picking.h"
#include "hostapi/snapping.h"
#include "hostapi/view.h"
#include "session/lookup.h"
#include "session/words.h"
#include "standin/printable.h"

namespace standin::session
{

namespace
{

const char* kInspectUsage = "inspect-pixel x y";

// Screen coordinates a script may name; views are at most 16384 pixels wide.
constexpr Int32 kPixelLimit = 1 << 20;

std::string V(const Vector& v)
{
	return "(" + String::FloatToString(v.x).Get() + ";" + String::FloatToString(v.y).Get() + ";" + String::FloatToString(v.z).Get() + ")";
}

struct PixelArgs
{
	Int32 x = 0;
	Int32 y = 0;
};

bool ParsePixelArgs(const Words& args, PixelArgs* out, std::string* error)
{
	return CheckArity(args, 2, 2, kInspectUsage, error) && ParseInt(args[0], "x", -kPixelLimit, kPixelLimit, &out->x, error) &&
		ParseInt(args[1], "y", -kPixelLimit, kPixelLimit, &out->y, error);
}

bool RunInspectPixel(Session& session, const PixelArgs& args, std::string* error)
{
	BaseDraw* bd = nullptr;
	if (!RequireView(session, &bd, error))
		return false;
	const Int32 x = args.x, y = args.y;
	BaseDocument* doc = session.Document();
	std::ostream& out = session.Out();
	out << "pixel " << x << ' ' << y << '\n';
	for (const Float depth : {0.0, 500.0, 10000.0})
		out << "  depth " << String::FloatToString(depth).Get() << ": " << V(bd->SW(Vector(x, y, depth))) << '\n';

	ObjectPickList* list = ObjectPickList::Alloc();
	if (!list || !PickObjectsAtPixel(doc, bd, x, y, list, PICKOBJECT_DEPTH | PICKOBJECT_ONLY_VISIBLE))
		out << "  objects: (no list)\n";
	else if (list->GetCount() == 0)
		out << "  objects: none\n";
	else
		for (Int32 i = 0; i < list->GetCount(); ++i)
			out << "  object " << Printable(list->GetObject(i)->GetName().Get()) << " depth " << String::FloatToString(list->GetZ(i)).Get() << " at "
				<< V(bd->SW(Vector(x, y, list->GetZ(i)))) << '\n';
	ObjectPickList::Free(list);

	// Where the pixel's ray meets the work plane.
	if (const BaseObject* plane = GetWorkplaneObject(doc))
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
	BaseObject* active = doc->GetActiveObject();
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
	if (snap && snap->Init(doc, bd) && snap->Snap(probe, res))
		out << "  snap: point " << res.component << " of " << (res.target ? Printable(res.target->GetName().Get()) : std::string("?")) << " offset " << V(res.delta)
			<< '\n';
	else
		out << "  snap: none\n";
	SnapCore::Free(snap);
	return true;
}

VerbRegistration inspectPixel(MakeVerb<PixelArgs>("inspect-pixel", kInspectUsage,
	"Prints, for a pixel of the active view: world points at depths 0, 500 and 10000, the objects under it with their depths, the work-plane "
	"point, the active object's selected edge points in it and the snapping service's answer.",
	ParsePixelArgs, RunInspectPixel));

} // namespace

} // namespace standin::session
