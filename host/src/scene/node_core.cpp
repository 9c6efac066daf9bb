#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <unordered_map>

#include "scene/link_translation.h"
#include "scene/name_index.h"
#include "scene/node_data.h"
#include "scene/node_registry.h"
#include "scene/object_data.h"

namespace scene
{

namespace
{
// Elements may be made and freed on worker threads (copies for a projection, say).
std::atomic<UInt64> structureCount{1};
} // namespace

void NoteStructureChange()
{
	structureCount.fetch_add(1, std::memory_order_relaxed);
}

UInt64 StructureCount()
{
	return structureCount.load(std::memory_order_relaxed);
}

void CheckLayout(const void* apiAddress, const void* coreAddress)
{
	if (apiAddress != coreAddress)
	{
		// CoreOf() would read the wrong memory; nothing sensible can run after this.
		std::fputs("CRITICAL: scene element layout does not match the host's assumption\n", stderr);
		std::abort();
	}
}

NodeCore::NodeCore(Int32 t, Family f) : type(t), family(f)
{
	children.owner = this;
	children.ownerIsParent = true;
	children.family = Family::None;
	serial = RegisterNode(this);
	NoteStructureChange();
}

NodeCore::~NodeCore()
{
	UnregisterNode(serial);
	NoteStructureChange();
	Unlink();
	// Normally DestroyNode has emptied the lists already; this only catches direct deletes.
	DestroyList(children);
}

bool NodeCore::HandleMessage(Int32 msg, void* payload)
{
	(void)payload;
	return msg == MSG_UPDATE;
}

NodeCore* NodeCore::DocumentCore() const
{
	const NodeCore* n = this;
	while (n)
	{
		if (n->family == Family::Document)
			return const_cast<NodeCore*>(n);
		n = n->list ? n->list->owner : nullptr;
	}
	return nullptr;
}

bool NodeCore::Contains(const NodeCore* other) const
{
	for (const NodeCore* n = other; n; n = n->list ? n->list->owner : nullptr)
	{
		if (n == this)
			return true;
	}
	return false;
}

void NodeCore::Unlink()
{
	if (!list)
		return;
	NoteStructureChange();
	IndexUnlinked(*list, this);
	if (pred)
		pred->next = next;
	else
		list->first = next;
	if (next)
		next->pred = pred;
	else
		list->last = pred;
	next = nullptr;
	pred = nullptr;
	list = nullptr;
}

void NodeCore::CopyBaseTo(NodeCore& dst) const
{
	dst.bits = bits;
	dst.name = name;
	dst.data = data;
	dst.uniqueIds = uniqueIds;
}

namespace
{

// True when the element holds other elements (children or tags).
bool HoldsMembers(const NodeCore* node)
{
	const ObjectState* object = node->AsObject();
	return node->children.first || (object && object->tags.first);
}

bool Accepts(const ListHead& head, const NodeCore* node)
{
	if (!node || head.family == Family::None || head.family != node->family)
		return false;
	// A node must not end up in a list that it owns itself, directly or further down. Only a
	// node that holds members can; skipping the walk keeps building deep trees linear.
	if (head.owner == node)
		return false;
	return !HoldsMembers(node) || !node->Contains(head.owner);
}

} // namespace

bool LinkBefore(NodeCore* node, NodeCore* other)
{
	if (!other || !other->list || node == other || !Accepts(*other->list, node))
		return false;
	node->Unlink();
	ListHead* head = other->list;
	node->list = head;
	node->next = other;
	node->pred = other->pred;
	if (other->pred)
		other->pred->next = node;
	else
		head->first = node;
	other->pred = node;
	IndexLinked(*head, node);
	NoteStructureChange();
	return true;
}

bool LinkAfter(NodeCore* node, NodeCore* other)
{
	if (!other || !other->list || node == other || !Accepts(*other->list, node))
		return false;
	node->Unlink();
	ListHead* head = other->list;
	node->list = head;
	node->pred = other;
	node->next = other->next;
	if (other->next)
		other->next->pred = node;
	else
		head->last = node;
	other->next = node;
	IndexLinked(*head, node);
	NoteStructureChange();
	return true;
}

bool LinkFirst(NodeCore* node, ListHead& head)
{
	if (!Accepts(head, node))
		return false;
	node->Unlink();
	node->list = &head;
	node->next = head.first;
	if (head.first)
		head.first->pred = node;
	else
		head.last = node;
	head.first = node;
	IndexLinked(head, node);
	NoteStructureChange();
	return true;
}

bool LinkLast(NodeCore* node, ListHead& head)
{
	if (!Accepts(head, node))
		return false;
	node->Unlink();
	node->list = &head;
	node->pred = head.last;
	if (head.last)
		head.last->next = node;
	else
		head.first = node;
	head.last = node;
	IndexLinked(head, node);
	NoteStructureChange();
	return true;
}

void DestroyNode(NodeCore* node)
{
	if (!node)
		return;
	node->Unlink();
	std::vector<NodeCore*> work{node};
	std::vector<ListHead*> lists;
	while (!work.empty())
	{
		NodeCore* n = work.back();
		work.pop_back();
		lists.clear();
		n->OwnedLists(lists);
		for (ListHead* head : lists)
		{
			while (NodeCore* member = head->first)
			{
				member->Unlink();
				work.push_back(member);
			}
		}
		delete n;
	}
}

void DestroyList(ListHead& head)
{
	while (NodeCore* member = head.first)
		DestroyNode(member);
}

NodeCore* CloneTree(const NodeCore* root, std::unordered_map<UInt64, NodeCore*>* copiesOut)
{
	if (!root)
		return nullptr;
	NodeCore* top = nullptr;
	try
	{
		std::unordered_map<UInt64, NodeCore*> copies;
		top = root->CloneSelf();
		if (!top)
			return nullptr;
		copies.emplace(root->serial, top);
		// Each pending entry: an original whose owned lists still have to be copied into its copy.
		std::vector<std::pair<const NodeCore*, NodeCore*>> work{{root, top}};
		std::vector<ListHead*> srcLists, dstLists;
		while (!work.empty())
		{
			auto [src, dst] = work.back();
			work.pop_back();
			srcLists.clear();
			dstLists.clear();
			const_cast<NodeCore*>(src)->OwnedLists(srcLists);
			dst->OwnedLists(dstLists);
			for (size_t i = 0; i < srcLists.size() && i < dstLists.size(); ++i)
			{
				for (const NodeCore* m = srcLists[i]->first; m; m = m->next)
				{
					NodeCore* copy = m->CloneSelf();
					if (!copy)
					{
						DestroyNode(top);
						return nullptr;
					}
					if (!LinkLast(copy, *dstLists[i]))
					{
						DestroyNode(copy);
						continue;
					}
					copies.emplace(m->serial, copy);
					work.emplace_back(m, copy);
				}
			}
		}
		TranslateLinks(top, copies);
		if (copiesOut)
			copiesOut->swap(copies);
		return top;
	}
	catch (const std::bad_alloc&)
	{
		DestroyNode(top);
		return nullptr;
	}
}

} // namespace scene
