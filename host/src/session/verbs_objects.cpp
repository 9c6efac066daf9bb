// Commands that add objects: primitives, nulls and OBJ imports, always as the last top-level
// object. Names must be unique among their siblings so that name paths stay unambiguous.
#include "hostapi/document.h"
#include "session/words.h"
#include "standin/scene.h"

namespace standin::session
{

namespace
{

const char* kAddObjectUsage = "add-object cube|plane <name> [size] [segments]";
const char* kAddNullUsage = "add-null <name>";
const char* kImportUsage = "import-obj <file> [name]";

constexpr Float kDefaultSize = 200.0;
constexpr Int32 kDefaultSegments = 4;
// Enough for any test scene; bounds the polygon count a script can ask for.
constexpr Int32 kMaxSegments = 1000;

bool CheckAddObject(const Words& args, std::string* error)
{
	if (!CheckArity(args, 2, 4, kAddObjectUsage, error))
		return false;
	if (args[0] != "cube" && args[0] != "plane")
	{
		*error = "unknown primitive '" + args[0] + "' (cube or plane)";
		return false;
	}
	if (!CheckName(args[1], error))
		return false;
	Float size = 0.0;
	if (args.size() > 2 && !ParseReal(args[2], "size", &size, error))
		return false;
	if (args.size() > 2 && size <= 0.0)
	{
		*error = "size must be greater than 0";
		return false;
	}
	Int32 segments = 0;
	if (args.size() > 3)
	{
		if (args[0] == "cube")
		{
			*error = "a cube takes no segment count";
			return false;
		}
		if (!ParseInt(args[3], "segments", 1, kMaxSegments, &segments, error))
			return false;
	}
	return true;
}

bool RunAddObject(Context& ctx, const Words& args, std::string* error)
{
	if (!RequireDocument(ctx, error))
		return false;
	if (NameTaken(ctx, nullptr, args[1], nullptr))
	{
		*error = "an object named '" + args[1] + "' already exists at the top level";
		return false;
	}
	Float size = kDefaultSize;
	Int32 segments = kDefaultSegments;
	std::string ignored;
	if (args.size() > 2)
		ParseReal(args[2], "size", &size, &ignored);
	if (args.size() > 3)
		ParseInt(args[3], "segments", 1, kMaxSegments, &segments, &ignored);
	PolygonObject* op = MakePrimitive(args[0] == "cube" ? Ocube : Oplane, size, segments, error);
	if (!op)
		return false;
	op->SetName(String(args[1]));
	AppendObject(ctx, op, nullptr);
	return true;
}

bool RunAddNull(Context& ctx, const Words& args, std::string* error)
{
	if (!RequireDocument(ctx, error))
		return false;
	if (NameTaken(ctx, nullptr, args[0], nullptr))
	{
		*error = "an object named '" + args[0] + "' already exists at the top level";
		return false;
	}
	BaseObject* op = BaseObject::Alloc(Onull);
	if (!op)
	{
		*error = "the null object could not be created";
		return false;
	}
	op->SetName(String(args[0]));
	AppendObject(ctx, op, nullptr);
	return true;
}

bool RunImport(Context& ctx, const Words& args, std::string* error)
{
	if (!RequireDocument(ctx, error))
		return false;
	const std::string path = ResolveScriptFile(ctx, args[0]);
	std::string why;
	PolygonObject* op = ImportObj(path, &why);
	if (!op)
	{
		*error = path + ": " + why;
		return false;
	}
	if (args.size() > 1)
		op->SetName(String(args[1]));
	const std::string name = op->GetName().Get();
	if (NameTaken(ctx, nullptr, name, nullptr))
	{
		BaseObject* free = op;
		BaseObject::Free(free);
		*error = "an object named '" + name + "' already exists at the top level";
		return false;
	}
	AppendObject(ctx, op, nullptr);
	return true;
}

VerbRegistration addObject(Verb{
	"add-object",
	kAddObjectUsage,
	"Adds a cube (edge length size) or a plane (size x size, segments x segments quads); default size 200, 4 segments.",
	CheckAddObject,
	RunAddObject,
});

VerbRegistration addNull(Verb{
	"add-null",
	kAddNullUsage,
	"Adds an empty null object (a group for parent).",
	[](const Words& args, std::string* error) { return CheckArity(args, 1, 1, kAddNullUsage, error) && CheckName(args[0], error); },
	RunAddNull,
});

VerbRegistration importObj(Verb{
	"import-obj",
	kImportUsage,
	"Imports a Wavefront OBJ file (relative to the script's folder) as one polygon object, named after the file unless a name is given.",
	[](const Words& args, std::string* error) {
		return CheckArity(args, 1, 2, kImportUsage, error) && (args.size() < 2 || CheckName(args[1], error));
	},
	RunImport,
});

} // namespace

} // namespace standin::session
