// One polygon object in world space made from any object and its children, for rays to sample.
#include "Dtool.h"
#include "hostapi/modeling.h"
#include "hostapi/proxytag.h"

namespace
{
// Parameters of the two host commands, as the copy needs them.
constexpr Int32 kStateInherit = 2140;
constexpr Int32 kStateKeepAnimation = 2141;
constexpr Int32 kStateNoGenerate = 2162;
constexpr Int32 kJoinMergeSelections = 2167;

struct ArrayHandle
{
	AtomArray* arr = AtomArray::Alloc();
	~ArrayHandle() { AtomArray::Free(arr); }
};

// The next object after op in a depth-first walk of root's tree; skipChildren passes op's subtree.
BaseObject* NextInTree(BaseObject* op, BaseObject* root, bool skipChildren)
{
	if (!skipChildren && op->GetDown())
		return op->GetDown();
	for (BaseObject* at = op; at && at != root; at = at->GetUp())
	{
		if (at->GetNext())
			return at->GetNext();
	}
	return nullptr;
}

// Frees every object of result but the first.
void FreeRest(AtomArray* result)
{
	for (Int32 i = 1; i < result->GetCount(); ++i)
	{
		BaseObject* op = static_cast<BaseObject*>(result->GetIndex(i));
		BaseObject::Free(op);
	}
}

void ToWorld(PolygonObject* op, const Matrix& mg)
{
	if (mg == Matrix())
		return;
	Vector* pts = op->GetPointW();
	for (Int32 i = 0; pts && i < op->GetPointCount(); ++i)
		pts[i] = mg * pts[i];
}
} // namespace

PolygonObject* DTOOL::FlattenedCopy(BaseDocument* doc, BaseObject* source)
{
	if (!doc || !source)
		return nullptr;
	ArrayHandle result, parts;
	if (!result.arr || !parts.arr)
		return nullptr;
	BaseContainer state;
	state.SetBool(kStateKeepAnimation, true);
	state.SetBool(kStateInherit, true);
	state.SetBool(kStateNoGenerate, false);
	ModelingCommandData current;
	current.doc = doc;
	current.op = source;
	current.bc = &state;
	current.result = result.arr;
	if (!SendModelingCommand(MCOMMAND_CURRENTSTATETOOBJECT, current) || result.arr->GetCount() == 0)
		return nullptr;
	FreeRest(result.arr);
	BaseObject* top = static_cast<BaseObject*>(result.arr->GetIndex(0));

	// What the host reports as hidden in the editor is no surface to sample.
	for (BaseObject* op = top->GetDown(); op;)
	{
		const bool drop = GetObjectState(op, OBJECTSTATE_EDITOR_HIDDEN) == 1;
		BaseObject* next = NextInTree(op, top, drop);
		if (drop)
		{
			op->Remove();
			BaseObject::Free(op);
		}
		op = next;
	}
	for (BaseObject* op = top; op; op = NextInTree(op, top, false))
	{
		if (!parts.arr->Append(op))
		{
			BaseObject::Free(top);
			return nullptr;
		}
	}

	// Both ways the points end up in world space and the copy's own frame is the identity, so a
	// ray in the copy's space is a ray in the world, whether or not the source has a parent.
	const BaseObject* parent = source->GetUp();
	PolygonObject* copy = nullptr;
	if (parts.arr->GetCount() < 2)
	{
		if (!top->IsInstanceOf(Opolygon))
		{
			BaseObject::Free(top);
			return nullptr;
		}
		copy = static_cast<PolygonObject*>(top);
		ToWorld(copy, source->GetMg());
	}
	else
	{
		BaseContainer join;
		join.SetBool(kJoinMergeSelections, true);
		ArrayHandle joined;
		ModelingCommandData command;
		command.doc = doc;
		command.arr = parts.arr;
		command.bc = &join;
		command.result = joined.arr;
		const bool ok = joined.arr && SendModelingCommand(MCOMMAND_JOIN, command) && joined.arr->GetCount() > 0;
		if (ok)
			FreeRest(joined.arr);
		BaseObject* first = ok ? static_cast<BaseObject*>(joined.arr->GetIndex(0)) : nullptr;
		BaseObject::Free(top);
		if (!first || !first->IsInstanceOf(Opolygon))
		{
			BaseObject::Free(first);
			return nullptr;
		}
		copy = static_cast<PolygonObject*>(first);
		// The join placed the parts by their frames in the free copy, which are relative to the
		// source's parent.
		if (parent)
			ToWorld(copy, parent->GetMg());
	}
	copy->SetMg(Matrix());
	copy->Message(MSG_UPDATE);
	return copy;
}
