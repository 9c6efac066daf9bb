#include "docio/document_links.h"

#include "docio/document_format.h"
#include "scene/link_data.h"
#include "scene/node_data.h"

namespace standin::docio
{

namespace
{

bool IsLinkCell(const GeData& value, UInt64* ref)
{
	if (value.GetType() != DA_CONTAINER)
		return false;
	const BaseContainer* cell = value.GetContainer();
	if (!cell || cell->GetId() != kLinkCellId || cell->GetCount() != 1)
		return false;
	const GeData* stored = cell->GetDataPointer(kLinkCellKey);
	if (!stored || stored->GetType() != DA_LLONG)
		return false;
	*ref = static_cast<UInt64>(stored->GetInt64());
	return true;
}

} // namespace

BaseContainer LinksToRefs(const BaseContainer& bc, const std::unordered_map<UInt64, UInt64>& refs)
{
	BaseContainer out(bc.GetId());
	for (Int32 i = 0; i < bc.GetCount(); ++i)
	{
		Int32 id = 0;
		const GeData* value = nullptr;
		if (!bc.GetIndex(i, &id, &value))
			break;
		if (value->GetType() == DA_ALIASLINK)
		{
			const BaseLink* link = value->GetBaseLink();
			const auto found = link ? refs.find(scene::LinkDataOf(link)->serial) : refs.end();
			if (found == refs.end())
			{
				out.SetData(id, GeData());
				continue;
			}
			BaseContainer cell(kLinkCellId);
			cell.SetInt64(kLinkCellKey, static_cast<Int64>(found->second));
			out.SetContainer(id, cell);
		}
		else if (value->GetType() == DA_CONTAINER && value->GetContainer())
			out.SetContainer(id, LinksToRefs(*value->GetContainer(), refs));
		else
			out.SetData(id, *value);
	}
	return out;
}

void RefsToLinks(BaseContainer& bc, const std::vector<scene::NodeCore*>& elements)
{
	for (Int32 i = 0; i < bc.GetCount(); ++i)
	{
		Int32 id = 0;
		const GeData* value = nullptr;
		if (!bc.GetIndex(i, &id, &value) || value->GetType() != DA_CONTAINER)
			continue;
		UInt64 ref = 0;
		if (IsLinkCell(*value, &ref))
		{
			if (ref >= 1 && ref <= elements.size() && elements[ref - 1])
				bc.SetLink(id, scene::ApiOf<BaseList2D>(elements[ref - 1]));
			else
				bc.SetData(id, GeData());
			continue;
		}
		if (const BaseContainer* nested = value->GetContainer())
		{
			BaseContainer copy = *nested;
			RefsToLinks(copy, elements);
			bc.SetContainer(id, copy);
		}
	}
}

} // namespace standin::docio
