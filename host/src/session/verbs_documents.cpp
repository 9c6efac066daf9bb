// Documents and objects in a session: save, open and close whole documents in the host's own
// format (a save, quit and reopen is how a user meets the same scene again), delete and select
// objects.
#include "hostapi/document.h"
#include "session/words.h"
#include "standin/documents.h"
#include "standin/scene.h"

namespace standin::session
{

namespace
{

const char* kSaveUsage = "save-document <path>";
const char* kOpenUsage = "open-document <path>";
const char* kCloseUsage = "close-document";
const char* kDeleteUsage = "delete-object <path>";
const char* kSelectUsage = "select-object <path> [add]";

bool RunSave(Context& ctx, const Words& args, std::string* error)
{
	if (!RequireDocument(ctx, error))
		return false;
	return SaveDocument(ctx.document, ResolveScriptFile(ctx, args[0]), error);
}

bool RunOpen(Context& ctx, const Words& args, std::string* error)
{
	BaseDocument* doc = LoadDocument(ResolveScriptFile(ctx, args[0]), error);
	if (!doc)
		return false;
	ctx.document = doc;
	return true;
}

bool RunClose(Context& ctx, const Words&, std::string* error)
{
	if (!RequireDocument(ctx, error))
		return false;
	CloseDocument(ctx.document);
	ctx.document = nullptr;
	return true;
}

bool RunDelete(Context& ctx, const Words& args, std::string* error)
{
	BaseObject* op = nullptr;
	if (!FindObject(ctx, args[0], &op, error))
		return false;
	BaseObject::Free(op);
	return true;
}

bool RunSelect(Context& ctx, const Words& args, std::string* error)
{
	BaseObject* op = nullptr;
	if (!FindObject(ctx, args[0], &op, error))
		return false;
	ctx.document->SetActiveObject(op, args.size() == 2 ? SELECTION_ADD : SELECTION_NEW);
	return true;
}

VerbRegistration save(Verb{
	"save-document",
	kSaveUsage,
	"Saves the document to a file in the host's own format (objects keep their identities).",
	[](const Words& args, std::string* error) { return CheckArity(args, 1, 1, kSaveUsage, error); },
	RunSave,
});

VerbRegistration open(Verb{
	"open-document",
	kOpenUsage,
	"Opens a saved document; it becomes the active one and later commands work in it.",
	[](const Words& args, std::string* error) { return CheckArity(args, 1, 1, kOpenUsage, error); },
	RunOpen,
});

VerbRegistration close(Verb{
	"close-document",
	kCloseUsage,
	"Closes the document; until new-document or open-document there is none.",
	[](const Words& args, std::string* error) { return CheckArity(args, 0, 0, kCloseUsage, error); },
	RunClose,
});

VerbRegistration remove(Verb{
	"delete-object",
	kDeleteUsage,
	"Deletes an object with its children and tags.",
	[](const Words& args, std::string* error) { return CheckArity(args, 1, 1, kDeleteUsage, error); },
	RunDelete,
});

VerbRegistration select(Verb{
	"select-object",
	kSelectUsage,
	"Selects an object (with add: keeping the others selected).",
	[](const Words& args, std::string* error) { return CheckNameThenOptionalAdd(args, kSelectUsage, error); },
	RunSelect,
});

} // namespace

} // namespace standin::session
