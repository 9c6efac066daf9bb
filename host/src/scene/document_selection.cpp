// The selected (active) objects of a document.
#include "scene/document_data.h"
#include "scene/link_data.h"

using scene::ApiOf;
using scene::CoreOf;
using scene::DocumentData;
using scene::NodeCore;

namespace
{

constexpr UInt64 kActive = UInt64{1} << NBIT_ACTIVE;

bool IsActive(const NodeCore* n) { return (n->bits & kActive) != 0; }

} // namespace

BaseObject* BaseDocument::GetActiveObject() const
{
	const DocumentData* doc = scene::DocumentDataOf(this);
	if (!doc)
		return nullptr;
	// The object made active last wins while it is still selected here; otherwise the first
	// selected object in tree order.
	NodeCore* hint = scene::NodeBySerial(doc->activeHint);
	if (hint && hint->family == scene::Family::Object && IsActive(hint) && hint->DocumentCore() == doc)
		return ApiOf<BaseObject>(hint);
	for (NodeCore* n = doc->children.first; n; n = scene::NextDepthFirst(n))
	{
		if (IsActive(n))
			return ApiOf<BaseObject>(n);
	}
	return nullptr;
}

void BaseDocument::SetActiveObject(BaseObject* op, Int32 mode)
{
	DocumentData* doc = scene::DocumentDataOf(this);
	if (!doc)
		return;
	NodeCore* target = CoreOf(op);
	if (target && (target->family != scene::Family::Object || target->DocumentCore() != doc))
		target = nullptr;
	switch (mode)
	{
		case SELECTION_NEW:
			for (NodeCore* n = doc->children.first; n; n = scene::NextDepthFirst(n))
				n->bits &= ~kActive;
			if (target)
			{
				target->bits |= kActive;
				doc->activeHint = target->serial;
			}
			break;
		case SELECTION_ADD:
			if (target)
			{
				target->bits |= kActive;
				doc->activeHint = target->serial;
			}
			break;
		case SELECTION_SUB:
			if (target)
				target->bits &= ~kActive;
			break;
		default:
			break;
	}
}

void BaseDocument::GetActiveObjects(AtomArray& selection) const
{
	selection.Flush();
	const DocumentData* doc = scene::DocumentDataOf(this);
	if (!doc)
		return;
	for (NodeCore* n = doc->children.first; n; n = scene::NextDepthFirst(n))
	{
		if (IsActive(n))
			selection.Append(n->self);
	}
}
