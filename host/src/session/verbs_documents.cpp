// Documents and objects in a session: save, open and close whole documents in the host's own
// format (a save, quit and reopen is how a user meets the same scene again), delete and select
// objects.
#include "hostapi/document.h"
#include "session/lookup.h"
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

struct PathArgs
{
	std::string path;
};

std::function<bool(const Words&, PathArgs*, std::string*)> OnePath(const char* usage)
{
	return [usage](const Words& args, PathArgs* out, std::string* error) {
		if (!CheckArity(args, 1, 1, usage, error))
			return false;
		out->path = args[0];
		return true;
	};
}

struct SelectArgs
{
	std::string path;
	bool add = false;
};

bool ParseSelect(const Words& args, SelectArgs* out, std::string* error)
{
	if (!CheckNameThenOptionalAdd(args, kSelectUsage, error))
		return false;
	out->path = args[0];
	out->add = args.size() == 2;
	return true;
}

bool RunSave(Session& session, const PathArgs& args, std::string* error)
{
	if (!RequireDocument(session, error))
		return false;
	return SaveDocument(session.Document(), ResolveScriptFile(session, args.path), error);
}

bool RunOpen(Session& session, const PathArgs& args, std::string* error)
{
	BaseDocument* doc = LoadDocument(ResolveScriptFile(session, args.path), error);
	if (!doc)
		return false;
	session.SetDocument(doc);
	return true;
}

bool RunClose(Session& session, const NoArgs&, std::string* error)
{
	if (!RequireDocument(session, error))
		return false;
	CloseDocument(session.Document());
	session.SetDocument(nullptr);
	return true;
}

bool RunDelete(Session& session, const PathArgs& args, std::string* error)
{
	BaseObject* op = nullptr;
	if (!FindObject(session, args.path, &op, error))
		return false;
	BaseObject::Free(op);
	return true;
}

bool RunSelect(Session& session, const SelectArgs& args, std::string* error)
{
	BaseObject* op = nullptr;
	if (!FindObject(session, args.path, &op, error))
		return false;
	session.Document()->SetActiveObject(op, args.add ? SELECTION_ADD : SELECTION_NEW);
	return true;
}

VerbRegistration save(MakeVerb<PathArgs>("save-document", kSaveUsage,
	"Saves the document to a file in the host's own format (objects keep their identities).", OnePath(kSaveUsage), RunSave));

VerbRegistration open(SceneEdit(MakeVerb<PathArgs>("open-document", kOpenUsage,
	"Opens a saved document; it becomes the active one and later commands work in it.", OnePath(kOpenUsage), RunOpen)));

VerbRegistration close(SceneEdit(MakeVerb<NoArgs>("close-document", kCloseUsage,
	"Closes the document; until new-document or open-document there is none.", NoWords(kCloseUsage), RunClose)));

VerbRegistration remove(SceneEdit(MakeVerb<PathArgs>("delete-object", kDeleteUsage, "Deletes an object with its children and tags.", OnePath(kDeleteUsage),
	RunDelete)));

VerbRegistration select(SceneEdit(MakeVerb<SelectArgs>("select-object", kSelectUsage, "Selects an object (with add: keeping the others selected).",
	ParseSelect, RunSelect)));

} // namespace

} // namespace standin::session
