#include "scene/link_translation.h"

#include <vector>

#include "scene/link_data.h"
#include "scene/node_data.h"

namespace scene
{

bool TranslateContainerLinks(BaseContainer& bc, const std::unordered_map<UInt64, NodeCore*>& copies)
{
	bool changed = false;
	for (Int32 i = 0; i < bc.GetCount(); ++i)
	{
		Int32 id = 0;
		const GeData* value = nullptr;
		if (!bc.GetIndex(i, &id, &value) || !value)
			continue;
		if (value->GetType() == DA_ALIASLINK)
		{
			const BaseLink* link = value->GetBaseLink();
			if (!link)
				continue;
			auto it = copies.find(LinkDataOf(link)->serial);
			if (it == copies.end())
				continue;
			if (GeData* cell = bc.GetDataPointerWritable(id))
			{
				cell->SetLink(ApiOf<BaseList2D>(it->second));
				changed = true;
			}
		}
		else if (value->GetType() == DA_CONTAINER && value->GetContainer())
		{
			BaseContainer inner = *value->GetContainer();
			if (TranslateContainerLinks(inner, copies))
			{
				bc.SetContainer(id, inner);
				changed = true;
			}
		}
	}
	return changed;
}

void TranslateLinks(NodeCore* top, const std::unordered_map<UInt64, NodeCore*>& copies)
{
	std::vector<NodeCore*> work{top};
	std::vector<ListHead*> lists;
	while (!work.empty())
	{
		NodeCore* n = work.back();
		work.pop_back();
		TranslateContainerLinks(n->data, copies);
		n->ForEachLinkSerial([&](UInt64& serial) {
			auto it = copies.find(serial);
			if (it != copies.end())
				serial = it->second->serial;
		});
		lists.clear();
		n->OwnedLists(lists);
		for (ListHead* head : lists)
		{
			for (NodeCore* m = head->first; m; m = m->next)
				work.push_back(m);
		}
	}
}

} // namespace scene
