// Materials in a session: add, rename, delete and select them by name.
#include "hostapi/document.h"
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

bool FindNamedMaterial(const Context& ctx, const std::string& name, BaseMaterial** mat, std::string* error)
{
	if (!RequireDocument(ctx, error))
		return false;
	*mat = FindMaterial(ctx.document, name);
	if (!*mat)
	{
		*error = "no material named '" + name + "'";
		return false;
	}
	return true;
}

bool RunAdd(Context& ctx, const Words& args, std::string* error)
{
	if (!RequireDocument(ctx, error))
		return false;
	if (FindMaterial(ctx.document, args[0]))
	{
		*error = "a material is already named '" + args[0] + "'";
		return false;
	}
	BaseMaterial* mat = BaseMaterial::Alloc();
	if (!mat)
	{
		*error = "the material could not be created";
		return false;
	}
	mat->SetName(String(args[0]));
	BaseMaterial* last = ctx.document->GetFirstMaterial();
	while (last && last->GetNext())
		last = last->GetNext();
	ctx.document->InsertMaterial(mat, last);
	return true;
}

bool RunRename(Context& ctx, const Words& args, std::string* error)
{
	BaseMaterial* mat = nullptr;
	if (!FindNamedMaterial(ctx, args[0], &mat, error))
		return false;
	BaseMaterial* other = FindMaterial(ctx.document, args[1]);
	if (other && other != mat)
	{
		*error = "a material is already named '" + args[1] + "'";
		return false;
	}
	mat->SetName(String(args[1]));
	return true;
}

bool RunDelete(Context& ctx, const Words& args, std::string* error)
{
	BaseMaterial* mat = nullptr;
	if (!FindNamedMaterial(ctx, args[0], &mat, error))
		return false;
	BaseMaterial::Free(mat);
	return true;
}

bool RunSelect(Context& ctx, const Words& args, std::string* error)
{
	BaseMaterial* mat = nullptr;
	if (!FindNamedMaterial(ctx, args[0], &mat, error))
		return false;
	if (args.size() < 2)
		for (BaseMaterial* m = ctx.document->GetFirstMaterial(); m; m = m->GetNext())
			m->SetNBit(NBIT_ACTIVE, false);
	mat->SetNBit(NBIT_ACTIVE, true);
	return true;
}

bool CheckMaterialName(const std::string& word, std::string* error)
{
	if (word.empty())
	{
		*error = "a material name cannot be empty";
		return false;
	}
	return true;
}

VerbRegistration add(Verb{
	"add-material",
	kAddUsage,
	"Adds a material with that name at the end of the document's materials.",
	[](const Words& args, std::string* error) { return CheckArity(args, 1, 1, kAddUsage, error) && CheckMaterialName(args[0], error); },
	RunAdd,
});

VerbRegistration rename(Verb{
	"rename-material",
	kRenameUsage,
	"Gives a material a new name.",
	[](const Words& args, std::string* error) { return CheckArity(args, 2, 2, kRenameUsage, error) && CheckMaterialName(args[1], error); },
	RunRename,
});

VerbRegistration remove(Verb{
	"delete-material",
	kDeleteUsage,
	"Deletes a material from the document.",
	[](const Words& args, std::string* error) { return CheckArity(args, 1, 1, kDeleteUsage, error); },
	RunDelete,
});

VerbRegistration select(Verb{
	"select-material",
	kSelectUsage,
	"Selects a material (with add: keeping the other materials selected).",
	[](const Words& args, std::string* error) { return CheckNameThenOptionalAdd(args, kSelectUsage, error); },
	RunSelect,
});

} // namespace

} // namespace standin::session
