// Commands that write and read mesh files: a polygon object out as Wavefront OBJ, and OBJ, PLY,
// STL or glTF in as a new top-level polygon object (import-obj through the host's own OBJ reader).
#include <cctype>
#include <filesystem>
#include <functional>

#include "hostapi/document.h"
#include "session/lookup.h"
#include "session/placement.h"
#include "session/words.h"
#include "standin/meshio.h"
#include "standin/scene.h"

namespace standin::session
{

namespace
{

const char* kExportUsage = "export-mesh <object path> <file.obj>";
const char* kImportUsage = "import-mesh <file> [name]";
const char* kImportObjUsage = "import-obj <file> [name]";

struct ExportArgs
{
	std::string object;
	std::string file;
};

struct ImportArgs
{
	std::string file;
	std::string name; // empty: named after the file
};

bool ParseExport(const Words& args, ExportArgs* out, std::string* error)
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
	out->object = args[0];
	out->file = args[1];
	return true;
}

// import-obj and import-mesh read the same words: a file, then a name.
std::function<bool(const Words&, ImportArgs*, std::string*)> ImportWords(std::string usage)
{
	return [usage = std::move(usage)](const Words& args, ImportArgs* out, std::string* error) {
		if (!CheckArity(args, 1, 2, usage, error) || (args.size() > 1 && !CheckName(args[1], error)))
			return false;
		out->file = args[0];
		if (args.size() > 1)
			out->name = args[1];
		return true;
	};
}

bool RunExport(Session& session, const ExportArgs& args, std::string* error)
{
	if (!RequireDocument(session, error))
		return false;
	BaseObject* op = nullptr;
	if (!FindObject(session, args.object, &op, error))
		return false;
	std::string path;
	if (!ResolveOutputFile(session, args.file, &path, error))
		return false;
	std::string why;
	if (!ExportObj(op, path, &why))
	{
		// The exporter's reasons already name the file.
		*error = why.rfind(path, 0) == 0 ? why : path + ": " + why;
		return false;
	}
	return true;
}

using Importer = PolygonObject* (*)(const std::string& path, std::string* why);

// Reads the file with the importer and puts the object at the top level under its name.
bool RunImport(Session& session, const ImportArgs& args, Importer importer, std::string* error)
{
	if (!RequireDocument(session, error))
		return false;
	const std::string path = ResolveScriptFile(session, args.file);
	std::string why;
	PolygonObject* op = importer(path, &why);
	if (!op)
	{
		*error = path + ": " + why;
		return false;
	}
	if (!args.name.empty())
		op->SetName(String(args.name));
	const std::string name = op->GetName().Get();
	// A file named "a/b.ply" gives "b"; a name with '/' could not be found by its path.
	std::string nameError;
	if (!CheckName(name, &nameError) || NameTaken(session, nullptr, name, nullptr))
	{
		BaseObject* free = op;
		BaseObject::Free(free);
		*error = nameError.empty() ? "an object named '" + name + "' already exists at the top level" : nameError + " (give the object a name)";
		return false;
	}
	AppendObject(session, op, nullptr);
	return true;
}

VerbRegistration exportMesh(MakeVerb<ExportArgs>(
	"export-mesh",
	kExportUsage,
	"Writes a polygon object (points in world space, texture coordinates from its UVW tag) to a Wavefront OBJ file; an older file is replaced only once the new one is complete.",
	ParseExport,
	RunExport));

VerbRegistration importMesh(SceneEdit(MakeVerb<ImportArgs>(
	"import-mesh",
	kImportUsage,
	"Imports an OBJ, PLY, STL, glTF or GLB file (relative to the script's folder) as one polygon object, named after the file unless a name is given.",
	ImportWords(kImportUsage),
	[](Session& session, const ImportArgs& args, std::string* error) { return RunImport(session, args, ImportMesh, error); })));

VerbRegistration importObj(SceneEdit(MakeVerb<ImportArgs>("import-obj", kImportObjUsage,
	"Imports a Wavefront OBJ file (relative to the script's folder) as one polygon object, named after the file unless a name is given; its own reader names the line of every problem.",
	ImportWords(kImportObjUsage),
	[](Session& session, const ImportArgs& args, std::string* error) { return RunImport(session, args, ImportObj, error); })));

} // namespace

} // namespace standin::session
