// Commands that add objects: primitives and nulls, always as the last top-level
// object. Names must be unique among their siblings so that name paths stay unambiguous.
#include "hostapi/document.h"
#include "modeling/primitives.h"
#include "session/lookup.h"
#include "session/words.h"
#include "standin/scene.h"

namespace standin::session
{

namespace
{

const char* kAddObjectUsage = "add-object cube|plane|sphere <name> [size] [segments]";
const char* kAddNullUsage = "add-null <name>";

constexpr Float kDefaultSize = 200.0;
constexpr Int32 kDefaultSegments = 4;
constexpr Float kDefaultSphereRadius = 100.0;
constexpr Int32 kDefaultSphereSegments = 24;
// Enough for any test scene; bounds the polygon count a script can ask for.
constexpr Int32 kMaxSegments = 1000;

struct AddObjectArgs
{
	Int32 type = Ocube;
	std::string name;
	Float size = kDefaultSize;
	Int32 segments = kDefaultSegments;
};

struct NameArgs
{
	std::string name;
};


bool ParseAddObject(const Words& args, AddObjectArgs* out, std::string* error)
{
	if (!CheckArity(args, 2, 4, kAddObjectUsage, error))
		return false;
	if (args[0] != "cube" && args[0] != "plane" && args[0] != "sphere")
	{
		*error = "unknown primitive '" + args[0] + "' (cube, plane or sphere)";
		return false;
	}
	out->type = args[0] == "cube" ? Ocube : args[0] == "plane" ? Oplane : modeling::kSpherePrimitive;
	if (out->type == modeling::kSpherePrimitive)
	{
		// A sphere's size is its radius; its segments are the bands from pole to pole.
		out->size = kDefaultSphereRadius;
		out->segments = kDefaultSphereSegments;
	}
	if (!CheckName(args[1], error))
		return false;
	out->name = args[1];
	if (args.size() > 2 && !ParseReal(args[2], "size", &out->size, error))
		return false;
	if (out->size <= 0.0)
	{
		*error = "size must be greater than 0";
		return false;
	}
	if (args.size() > 3)
	{
		if (out->type == Ocube)
		{
			*error = "a cube takes no segment count";
			return false;
		}
		if (!ParseInt(args[3], "segments", out->type == modeling::kSpherePrimitive ? 2 : 1, kMaxSegments, &out->segments, error))
			return false;
	}
	return true;
}

bool ParseAddNull(const Words& args, NameArgs* out, std::string* error)
{
	if (!CheckArity(args, 1, 1, kAddNullUsage, error) || !CheckName(args[0], error))
		return false;
	out->name = args[0];
	return true;
}

bool RunAddObject(Session& session, const AddObjectArgs& args, std::string* error)
{
	if (!RequireDocument(session, error))
		return false;
	if (NameTaken(session, nullptr, args.name, nullptr))
	{
		*error = "an object named '" + args.name + "' already exists at the top level";
		return false;
	}
	PolygonObject* op = MakePrimitive(args.type, args.size, args.segments, error);
	if (!op)
		return false;
	op->SetName(String(args.name));
	AppendObject(session, op, nullptr);
	return true;
}

bool RunAddNull(Session& session, const NameArgs& args, std::string* error)
{
	if (!RequireDocument(session, error))
		return false;
	if (NameTaken(session, nullptr, args.name, nullptr))
	{
		*error = "an object named '" + args.name + "' already exists at the top level";
		return false;
	}
	BaseObject* op = BaseObject::Alloc(Onull);
	if (!op)
	{
		*error = "the null object could not be created";
		return false;
	}
	op->SetName(String(args.name));
	AppendObject(session, op, nullptr);
	return true;
}

VerbRegistration addObject(SceneEdit(MakeVerb<AddObjectArgs>("add-object", kAddObjectUsage,
	"Adds a cube (edge length size) or a plane (size x size, segments x segments quads); default size 200, 4 segments.", ParseAddObject,
	RunAddObject)));

VerbRegistration addNull(SceneEdit(MakeVerb<NameArgs>("add-null", kAddNullUsage, "Adds an empty null object (a group for parent).", ParseAddNull, RunAddNull)));


} // namespace

} // namespace standin::session
