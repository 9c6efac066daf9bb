// Materials in a session: add, rename, delete and select them by name.
#include "hostapi/document.h"
#include "session/lookup.h"
#include "session/words.h"
#include "standin/scene.h"

namespace standin::session
{

namespace
{

const char* kAddUsage = "add-material <name>";
const char* kRenameUsage = "rename-material <name> <new-name>";
const char* kDeleteUsage = "delete-material <name>";
const char* kSelectUsage = "select-material <name> [add]";

struct NameArgs
{
	std::string name;
};

struct RenameArgs
{
	std::string name;
	std::string newName;
};

struct SelectArgs
{
	std::string name;
	bool add = false;
};

bool CheckMaterialName(const std::string& word, std::string* error)
{
	if (word.empty())
	{
		*error = "a material name cannot be empty";
		return false;
	}
	return true;
}

bool ParseAdd(const Words& args, NameArgs* out, std::string* error)
{
	if (!CheckArity(args, 1, 1, kAddUsage, error) || !CheckMaterialName(args[0], error))
		return false;
	out->name = args[0];
	return true;
}

bool ParseRename(const Words& args, RenameArgs* out, std::string* error)
{
	if (!CheckArity(args, 2, 2, kRenameUsage, error) || !CheckMaterialName(args[1], error))
		return false;
	out->name = args[0];
	out->newName = args[1];
	return true;
}

bool ParseDelete(const Words& args, NameArgs* out, std::string* error)
{
	if (!CheckArity(args, 1, 1, kDeleteUsage, error))
		return false;
	out->name = args[0];
	return true;
}

bool ParseSelect(const Words& args, SelectArgs* out, std::string* error)
{
	if (!CheckNameThenOptionalAdd(args, kSelectUsage, error))
		return false;
	out->name = args[0];
	out->add = args.size() == 2;
	return true;
}

bool FindNamedMaterial(const Session& session, const std::string& name, BaseMaterial** mat, std::string* error)
{
	if (!RequireDocument(session, error))
		return false;
	*mat = FindMaterial(session.Document(), name);
	if (!*mat)
	{
		*error = "no material named '" + name + "'";
		return false;
	}
	return true;
}

bool RunAdd(Session& session, const NameArgs& args, std::string* error)
{
	if (!RequireDocument(session, error))
		return false;
	if (FindMaterial(session.Document(), args.name))
	{
		*error = "a material is already named '" + args.name + "'";
		return false;
	}
	BaseMaterial* mat = BaseMaterial::Alloc();
	if (!mat)
	{
		*error = "the material could not be created";
		return false;
	}
	mat->SetName(String(args.name));
	BaseMaterial* last = session.Document()->GetFirstMaterial();
	while (last && last->GetNext())
		last = last->GetNext();
	session.Document()->InsertMaterial(mat, last);
	return true;
}

bool RunRename(Session& session, const RenameArgs& args, std::string* error)
{
	BaseMaterial* mat = nullptr;
	if (!FindNamedMaterial(session, args.name, &mat, error))
		return false;
	BaseMaterial* other = FindMaterial(session.Document(), args.newName);
	if (other && other != mat)
	{
		*error = "a material is already named '" + args.newName + "'";
		return false;
	}
	mat->SetName(String(args.newName));
	return true;
}

bool RunDelete(Session& session, const NameArgs& args, std::string* error)
{
	BaseMaterial* mat = nullptr;
	if (!FindNamedMaterial(session, args.name, &mat, error))
		return false;
	BaseMaterial::Free(mat);
	return true;
}

bool RunSelect(Session& session, const SelectArgs& args, std::string* error)
{
	BaseMaterial* mat = nullptr;
	if (!FindNamedMaterial(session, args.name, &mat, error))
		return false;
	if (!args.add)
		for (BaseMaterial* m = session.Document()->GetFirstMaterial(); m; m = m->GetNext())
			m->SetNBit(NBIT_ACTIVE, false);
	mat->SetNBit(NBIT_ACTIVE, true);
	return true;
}

VerbRegistration add(SceneEdit(MakeVerb<NameArgs>("add-material", kAddUsage, "Adds a material with that name at the end of the document's materials.", ParseAdd, RunAdd)));

VerbRegistration rename(SceneEdit(MakeVerb<RenameArgs>("rename-material", kRenameUsage, "Gives a material a new name.", ParseRename, RunRename)));

VerbRegistration remove(SceneEdit(MakeVerb<NameArgs>("delete-material", kDeleteUsage, "Deletes a material from the document.", ParseDelete, RunDelete)));

VerbRegistration select(SceneEdit(MakeVerb<SelectArgs>("select-material", kSelectUsage, "Selects a material (with add: keeping the other materials selected).",
	ParseSelect, RunSelect)));

} // namespace

} // namespace standin::session
