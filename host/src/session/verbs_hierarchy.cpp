// Commands that rearrange or rename objects.
#include "hostapi/document.h"
#include "session/words.h"

namespace standin::session
{

namespace
{

const char* kParentUsage = "parent <child-path> <parent-path>";
const char* kRenameUsage = "rename <path> <new-name>";

bool RunParent(Context& ctx, const Words& args, std::string* error)
{
	BaseObject* child = nullptr;
	BaseObject* parent = nullptr;
	if (!FindObject(ctx, args[0], &child, error) || !FindObject(ctx, args[1], &parent, error))
		return false;
	for (BaseObject* up = parent; up; up = up->GetUp())
		if (up == child)
		{
			*error = "cannot put '" + args[0] + "' under itself or its own child";
			return false;
		}
	const std::string name = child->GetName().Get();
	if (NameTaken(ctx, parent, name, child))
	{
		*error = "'" + args[1] + "' already has a child named '" + name + "'";
		return false;
	}
	// Like moving it in an object list: the object stays where it is in the world.
	const Matrix parentMg = parent->GetMg();
	const Matrix ml = InvertMatrix(parentMg) * child->GetMg();
	// The child keeps its world matrix, so those below it keep theirs: only its own is checked.
	if (!CheckPlacement(child, parentMg, ml, false, error))
		return false;
	child->Remove();
	AppendObject(ctx, child, parent);
	child->SetMl(ml);
	return true;
}

bool RunRename(Context& ctx, const Words& args, std::string* error)
{
	BaseObject* op = nullptr;
	if (!FindObject(ctx, args[0], &op, error))
		return false;
	if (NameTaken(ctx, op->GetUp(), args[1], op))
	{
		*error = "a sibling is already named '" + args[1] + "'";
		return false;
	}
	op->SetName(String(args[1]));
	return true;
}

VerbRegistration parent(Verb{
	"parent",
	kParentUsage,
	"Moves an object under another one as its last child, keeping its place in the world.",
	[](const Words& args, std::string* error) { return CheckArity(args, 2, 2, kParentUsage, error); },
	RunParent,
});

VerbRegistration rename(Verb{
	"rename",
	kRenameUsage,
	"Renames an object.",
	[](const Words& args, std::string* error) { return CheckArity(args, 2, 2, kRenameUsage, error) && CheckName(args[1], error); },
	RunRename,
});

} // namespace

} // namespace standin::session
