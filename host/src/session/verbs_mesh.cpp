// Commands that write and read mesh files: a polygon object out as Wavefront OBJ, and OBJ, PLY,
// STL or glTF in as a new top-level polygon object.
#include <cctype>

#include "hostapi/document.h"
#include "session/words.h"
#include "standin/meshio.h"
#include "standin/scene.h"

namespace standin::session
{

namespace
{

const char* kExportUsage = "export-mesh <object path> <file.obj>";
const char* kImportUsage = "import-mesh <file> [name]";

bool CheckExport(const Words& args, std::string* error)
{
	if (!CheckArity(args, 2, 2, kExportUsage, error))
		return false;
	std::string ending = args[1].size() >= 4 ? args[1].substr(args[1].size() - 4) : std::string();
	for (char& c : ending)
		c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
	if (ending != ".obj")
	{
		*error = "meshes are exported as Wavefront OBJ: the file name must end in .obj";
		return false;
	}
	return true;
}

bool RunExport(Context& ctx, const Words& args, std::string* error)
{
	if (!RequireDocument(ctx, error))
		return false;
	BaseObject* op = nullptr;
	if (!FindObject(ctx, args[0], &op, error))
		return false;
	const std::string path = ResolveScriptFile(ctx, args[1]);
	std::string why;
	if (!ExportObj(op, path, &why))
	{
		*error = path + ": " + why;
		return false;
	}
	return true;
}

bool RunImport(Context& ctx, const Words& args, std::string* error)
{
	if (!RequireDocument(ctx, error))
		return false;
	const std::string path = ResolveScriptFile(ctx, args[0]);
	std::string why;
	PolygonObject* op = ImportMesh(path, &why);
	if (!op)
	{
		*error = path + ": " + why;
		return false;
	}
	if (args.size() > 1)
		op->SetName(String(args[1]));
	const std::string name = op->GetName().Get();
	// A file named "a/b.ply" gives "b"; a name with '/' could not be found by its path.
	std::string nameError;
	if (!CheckName(name, &nameError) || NameTaken(ctx, nullptr, name, nullptr))
	{
		BaseObject* free = op;
		BaseObject::Free(free);
		*error = nameError.empty() ? "an object named '" + name + "' already exists at the top level" : nameError + " (give the object a name)";
		return false;
	}
	AppendObject(ctx, op, nullptr);
	return true;
}

VerbRegistration exportMesh(Verb{
	"export-mesh",
	kExportUsage,
	"Writes a polygon object (points in world space, texture coordinates from its UVW tag) to a Wavefront OBJ file; an older file is replaced only once the new one is complete.",
	CheckExport,
	RunExport,
});

VerbRegistration importMesh(Verb{
	"import-mesh",
	kImportUsage,
	"Imports an OBJ, PLY, STL, glTF or GLB file (relative to the script's folder) as one polygon object, named after the file unless a name is given.",
	[](const Words& args, std::string* error) {
		return CheckArity(args, 1, 2, kImportUsage, error) && (args.size() < 2 || CheckName(args[1], error));
	},
	RunImport,
});

} // namespace

} // namespace standin::session
