#include "session/lookup.h"

#include <filesystem>
#include <vector>

#include "hostapi/document.h"
#include "hostapi/view.h"
#include "scene/document_data.h"
#include "standin/printable.h"
#include "standin/scene.h"

namespace standin::session
{

bool RequireDocument(const Session& session, std::string* error)
{
	if (session.Document())
		return true;
	*error = "there is no document yet (use new-document first)";
	return false;
}

bool RequireView(const Session& session, BaseDraw** bd, std::string* error)
{
	if (!RequireDocument(session, error))
		return false;
	*bd = session.Document()->GetActiveBaseDraw();
	if (!*bd)
	{
		*error = "the document has no view";
		return false;
	}
	return true;
}

bool FindObject(const Session& session, const std::string& path, BaseObject** op, std::string* error)
{
	if (!RequireDocument(session, error))
		return false;
	*op = FindObjectByPath(session.Document(), path);
	if (!*op)
	{
		*error = "no object '" + path + "'";
		return false;
	}
	return true;
}

bool FindPolygonObject(const Session& session, const std::string& path, PolygonObject** op, std::string* error)
{
	BaseObject* found = nullptr;
	if (!FindObject(session, path, &found, error))
		return false;
	if (!found->IsInstanceOf(Opolygon))
	{
		*error = "'" + path + "' is not a polygon object";
		return false;
	}
	*op = static_cast<PolygonObject*>(found);
	return true;
}

std::string ObjectPath(const BaseObject* op)
{
	std::vector<std::string> names;
	for (const BaseObject* up = op; up; up = up->GetUp())
		names.push_back(up->GetName().Get());
	std::string path;
	for (auto it = names.rbegin(); it != names.rend(); ++it)
		path += (path.empty() ? "" : "/") + *it;
	return path;
}

namespace
{

// The list that holds the children of parent, or the document's top level.
scene::ListHead* ChildList(const Session& session, BaseObject* parent)
{
	if (parent)
		return &scene::CoreOf(parent)->children;
	scene::DocumentData* doc = scene::DocumentDataOf(session.Document());
	return doc ? &doc->children : nullptr;
}

} // namespace

bool NameTaken(const Session& session, BaseObject* parent, const std::string& name, const BaseObject* except)
{
	scene::ListHead* list = ChildList(session, parent);
	return list && scene::CountNamed(*list, name, scene::CoreOf(except)) > 0;
}

void AppendObject(const Session& session, BaseObject* op, BaseObject* parent)
{
	scene::ListHead* list = ChildList(session, parent);
	session.Document()->InsertObject(op, parent, list ? scene::ApiOf<BaseObject>(list->last) : nullptr);
}

std::string ResolveScriptFile(const Session& session, const std::string& file)
{
	namespace fs = std::filesystem;
	fs::path p(file);
	if (p.is_absolute())
		return p.string();
	return (fs::path(session.ScriptPath()).parent_path() / p).lexically_normal().string();
}

bool ResolveOutputFile(const Session& session, const std::string& file, std::string* path, std::string* error)
{
	*path = ResolveScriptFile(session, file);
	const std::filesystem::path folder = std::filesystem::path(*path).parent_path();
	std::error_code ec;
	if (!folder.empty() && !std::filesystem::is_directory(folder, ec) && !std::filesystem::create_directories(folder, ec))
	{
		*error = Printable(folder.string(), 200) + ": the folder cannot be made (" + ec.message() + ")";
		return false;
	}
	return true;
}

bool FindSceneElement(Session& session, const std::string& word, BaseList2D** element, std::string* error)
{
	if (!RequireDocument(session, error))
		return false;
	const std::string objectPrefix = "object:";
	const std::string materialPrefix = "material:";
	if (word.rfind(materialPrefix, 0) == 0)
	{
		BaseMaterial* mat = FindMaterial(session.Document(), word.substr(materialPrefix.size()));
		if (!mat)
		{
			*error = "no material named '" + Printable(word.substr(materialPrefix.size()), 80) + "'";
			return false;
		}
		*element = mat;
		return true;
	}
	if (word.rfind(objectPrefix, 0) == 0)
	{
		BaseObject* op = nullptr;
		if (!FindObject(session, word.substr(objectPrefix.size()), &op, error))
			return false;
		*element = op;
		return true;
	}
	BaseObject* op = FindObjectByPath(session.Document(), word);
	BaseMaterial* mat = FindMaterial(session.Document(), word);
	if (op && mat)
	{
		const std::string shown = Printable(word, 80);
		*error = std::string("'").append(shown).append("' names an object and a material; write object:").append(shown).append(" or material:").append(shown);
		return false;
	}
	if (!op && !mat)
	{
		*error = "no object or material named '" + Printable(word, 80) + "'";
		return false;
	}
	*element = op ? static_cast<BaseList2D*>(op) : static_cast<BaseList2D*>(mat);
	return true;
}

} // namespace standin::session
