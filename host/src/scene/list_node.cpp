// GeListNode: tree links, node bits, the owning document and messages.
#include "hostapi/document.h"
#include "scene/node_data.h"

using scene::ApiOf;
using scene::CoreOf;

GeListNode* GeListNode::GetNext() const { return ApiOf<GeListNode>(CoreOf(this)->next); }
GeListNode* GeListNode::GetPred() const { return ApiOf<GeListNode>(CoreOf(this)->pred); }
GeListNode* GeListNode::GetUp() const { return ApiOf<GeListNode>(CoreOf(this)->Up()); }
GeListNode* GeListNode::GetDown() const { return ApiOf<GeListNode>(CoreOf(this)->children.first); }
GeListNode* GeListNode::GetDownLast() const { return ApiOf<GeListNode>(CoreOf(this)->children.last); }

void GeListNode::InsertBefore(GeListNode* other)
{
	scene::LinkBefore(CoreOf(this), CoreOf(other));
}

void GeListNode::InsertAfter(GeListNode* other)
{
	scene::LinkAfter(CoreOf(this), CoreOf(other));
}

void GeListNode::InsertUnder(GeListNode* parent)
{
	if (parent)
		scene::LinkFirst(CoreOf(this), CoreOf(parent)->children);
}

void GeListNode::InsertUnderLast(GeListNode* parent)
{
	if (parent)
		scene::LinkLast(CoreOf(this), CoreOf(parent)->children);
}

void GeListNode::Remove()
{
	CoreOf(this)->Unlink();
}

bool GeListNode::GetNBit(Int32 index) const
{
	if (index < 0 || index > 63)
		return false;
	return (CoreOf(this)->bits >> index) & 1u;
}

void GeListNode::SetNBit(Int32 index, bool on)
{
	if (index < 0 || index > 63)
		return;
	const UInt64 mask = UInt64{1} << index;
	UInt64& bits = CoreOf(this)->bits;
	bits = on ? (bits | mask) : (bits & ~mask);
}

UInt64 GeListNode::GetAllBits() const
{
	return CoreOf(this)->bits;
}

void GeListNode::SetBit(UInt64 mask)
{
	CoreOf(this)->bits |= mask;
}

void GeListNode::DelBit(UInt64 mask)
{
	CoreOf(this)->bits &= ~mask;
}

BaseDocument* GeListNode::GetDocument() const
{
	return ApiOf<BaseDocument>(CoreOf(this)->DocumentCore());
}

bool GeListNode::Message(Int32 type, void* data)
{
	scene::NodeCore* core = CoreOf(this);
	if (type == MSG_UPDATE)
		++core->updateMessages;
	return core->HandleMessage(type, data);
}
