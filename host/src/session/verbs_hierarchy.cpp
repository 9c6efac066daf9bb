// Commands that rearrange or rename objects.
#include "hostapi/document.h"
#include "session/lookup.h"
#include "session/placement.h"
#include "session/words.h"

namespace standin::session
{

namespace
{

const char* kParentUsage = "parent <child-path> <parent-path>";
const char* kRenameUsage = "rename <path> <new-name>";

struct ParentArgs
{
	std::string child;
	std::string parent;
};

struct RenameArgs
{
	std::string path;
	std::string name;
};

bool ParseParent(const Words& args, ParentArgs* out, std::string* error)
{
	if (!CheckArity(args, 2, 2, kParentUsage, error))
		return false;
	out->child = args[0];
	out->parent = args[1];
	return true;
}

bool ParseRename(const Words& args, RenameArgs* out, std::string* error)
{
	if (!CheckArity(args, 2, 2, kRenameUsage, error) || !CheckName(args[1], error))
		return false;
	out->path = args[0];
	out->name = args[1];
	return true;
}

bool RunParent(Session& session, const ParentArgs& args, std::string* error)
{
	BaseObject* child = nullptr;
	BaseObject* parent = nullptr;
	if (!FindObject(session, args.child, &child, error) || !FindObject(session, args.parent, &parent, error))
		return false;
	for (BaseObject* up = parent; up; up = up->GetUp())
		if (up == child)
		{
			*error = "cannot put '" + args.child + "' under itself or its own child";
			return false;
		}
	const std::string name = child->GetName().Get();
	if (NameTaken(session, parent, name, child))
	{
		*error = "'" + args.parent + "' already has a child named '" + name + "'";
		return false;
	}
	// Like moving it in an object list: the object stays where it is in the world.
	const Matrix parentMg = parent->GetMg();
	const Matrix ml = InvertMatrix(parentMg) * child->GetMg();
	// The child keeps its world matrix, so those below it keep theirs: only its own is checked.
	if (!CheckPlacement(child, parentMg, ml, false, error))
		return false;
	child->Remove();
	AppendObject(session, child, parent);
	child->SetMl(ml);
	return true;
}

bool RunRename(Session& session, const RenameArgs& args, std::string* error)
{
	BaseObject* op = nullptr;
	if (!FindObject(session, args.path, &op, error))
		return false;
	if (NameTaken(session, op->GetUp(), args.name, op))
	{
		*error = "a sibling is already named '" + args.name + "'";
		return false;
	}
	op->SetName(String(args.name));
	return true;
}

VerbRegistration parent(SceneEdit(MakeVerb<ParentArgs>("parent", kParentUsage,
	"Moves an object under another one as its last child, keeping its place in the world.", ParseParent, RunParent)));

VerbRegistration rename(SceneEdit(MakeVerb<RenameArgs>("rename", kRenameUsage, "Renames an object.", ParseRename, RunRename)));

} // namespace

} // namespace standin::session
