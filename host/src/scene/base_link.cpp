#include <new>

#include "hostapi/document.h"
#include "scene/link_data.h"
#include "scene/node_data.h"

using scene::BaseLinkData;
using scene::LinkDataOf;

BaseLink* BaseLink::Alloc()
{
	return new (std::nothrow) BaseLinkData;
}

void BaseLink::Free(BaseLink*& link)
{
	delete LinkDataOf(link);
	link = nullptr;
}

void BaseLink::SetLink(BaseList2D* element)
{
	const scene::NodeCore* core = scene::CoreOf(element);
	LinkDataOf(this)->serial = core ? core->serial : 0;
}

BaseList2D* BaseLink::GetLink(BaseDocument* doc) const
{
	scene::NodeCore* core = scene::NodeBySerial(LinkDataOf(this)->serial);
	if (!core)
		return nullptr;
	if (doc && core->DocumentCore() != scene::CoreOf(doc))
		return nullptr;
	return scene::ApiOf<BaseList2D>(core);
}

BaseLink* BaseLink::GetClone() const
{
	BaseLinkData* copy = new (std::nothrow) BaseLinkData;
	if (copy)
		copy->serial = LinkDataOf(this)->serial;
	return copy;
}
