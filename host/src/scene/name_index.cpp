// Name indexes of element lists: how many members carry each name, so that the unique-name
// checks and name-path searches of the session verbs stay O(1) on lists of any length.
#include "scene/name_index.h"

#include "scene/node_data.h"

namespace scene
{

namespace
{

// Lists this short are searched by a walk; an index pays off only for longer ones.
constexpr int kShortList = 8;

bool IsShort(const ListHead& head)
{
	int members = 0;
	for (const NodeCore* n = head.first; n; n = n->next)
		if (++members > kShortList)
			return false;
	return true;
}

void BuildIndex(ListHead& head)
{
	auto index = std::make_unique<NameIndex>();
	for (NodeCore* n = head.first; n; n = n->next)
	{
		NameCount& entry = (*index)[n->name.Get()];
		entry.only = ++entry.count == 1 ? n : nullptr;
	}
	head.names = std::move(index);
}

NameIndex& IndexOf(ListHead& head)
{
	if (!head.names)
		BuildIndex(head);
	return *head.names;
}

} // namespace

void IndexLinked(ListHead& head, NodeCore* node)
{
	if (!head.names)
		return;
	try
	{
		NameCount& entry = (*head.names)[node->name.Get()];
		entry.only = ++entry.count == 1 ? node : nullptr;
	}
	catch (const std::bad_alloc&)
	{
		// Without memory for the entry the index is dropped; the next question rebuilds it.
		head.names.reset();
	}
}

void IndexUnlinked(ListHead& head, NodeCore* node)
{
	if (!head.names)
		return;
	auto found = head.names->find(node->name.Get());
	if (found == head.names->end())
	{
		// The name changed without RenameNode: the index no longer describes the list.
		head.names.reset();
		return;
	}
	NameCount& entry = found->second;
	if (--entry.count <= 0)
		head.names->erase(found);
	else
		entry.only = nullptr; // which member is left is found when someone asks
}

void RenameNode(NodeCore* node, const String& name)
{
	if (!node)
		return;
	ListHead* head = node->list;
	if (head)
		IndexUnlinked(*head, node);
	node->name = name;
	if (head)
		IndexLinked(*head, node);
}

Int32 CountNamed(ListHead& head, const std::string& name, const NodeCore* except)
{
	if (!head.names && IsShort(head))
	{
		Int32 count = 0;
		for (const NodeCore* n = head.first; n; n = n->next)
			count += n != except && n->name.Get() == name ? 1 : 0;
		return count;
	}
	const NameIndex& index = IndexOf(head);
	const auto found = index.find(name);
	if (found == index.end())
		return 0;
	const bool exceptCounts = except && except->list == &head && except->name.Get() == name;
	return found->second.count - (exceptCounts ? 1 : 0);
}

NodeCore* FindNamed(ListHead& head, const std::string& name)
{
	if (!head.names && IsShort(head))
	{
		for (NodeCore* n = head.first; n; n = n->next)
			if (n->name.Get() == name)
				return n;
		return nullptr;
	}
	NameIndex& index = IndexOf(head);
	const auto found = index.find(name);
	if (found == index.end())
		return nullptr;
	NameCount& entry = found->second;
	if (entry.count == 1 && entry.only && entry.only->list == &head && entry.only->name.Get() == name)
		return entry.only;
	NodeCore* first = nullptr;
	for (NodeCore* n = head.first; n && !first; n = n->next)
		if (n->name.Get() == name)
			first = n;
	if (entry.count == 1)
		entry.only = first;
	return first;
}

} // namespace scene
