#include "PNode.h"

PNode::PNode()
{
}

PNode::~PNode()
{
	if (link)
		BaseLink::Free(link);
	// Children belong to the pool; they only leave this list here.
	children.UnlinkAll();
}

BaseList2D* PNode::Resolve() const
{
	if (!link)
		return nullptr;
	BaseDocument* doc = GetActiveDocument();
	if (!doc)
		return nullptr;
	return link->GetLink(doc);
}
