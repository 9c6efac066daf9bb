// Alias translation: copies made one by one (GetClone with a translator) point their links at each
// other's copies afterwards, as one copied tree does by itself.
//
// The translator keeps originals and copies by serial, so copies freed before Translate are
// skipped rather than followed. Translate(true) leaves links to elements that were not copied on
// those elements; Translate(false) empties such parameter links instead (layer and material
// memberships stay).
#include <new>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "hostapi/modeling.h"
#include "scene/link_data.h"
#include "scene/link_translation.h"
#include "scene/node_data.h"

namespace
{

struct AliasTransData final : AliasTrans
{
	bool active = false;
	std::unordered_map<UInt64, UInt64> copyOf; // original serial -> copy serial
	std::vector<UInt64> roots;                 // serials of the copied trees' tops
};

AliasTransData* DataOf(AliasTrans* trans) { return static_cast<AliasTransData*>(trans); }

// Every element of the tree below top, top included.
template <typename Visit>
void ForEachInTree(scene::NodeCore* top, Visit&& visit)
{
	std::vector<scene::NodeCore*> work{top};
	std::vector<scene::ListHead*> lists;
	while (!work.empty())
	{
		scene::NodeCore* n = work.back();
		work.pop_back();
		visit(n);
		lists.clear();
		n->OwnedLists(lists);
		for (scene::ListHead* head : lists)
			for (scene::NodeCore* m = head->first; m; m = m->next)
				work.push_back(m);
	}
}

// Empties links whose element is not in keep; answers true when something changed.
bool DropForeignLinks(BaseContainer& bc, const std::unordered_set<UInt64>& keep)
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
			const UInt64 serial = link ? scene::LinkDataOf(link)->serial : 0;
			if (serial != 0 && !keep.count(serial))
			{
				if (GeData* cell = bc.GetDataPointerWritable(id))
				{
					cell->SetLink(nullptr);
					changed = true;
				}
			}
		}
		else if (value->GetType() == DA_CONTAINER && value->GetContainer())
		{
			BaseContainer inner = *value->GetContainer();
			if (DropForeignLinks(inner, keep))
			{
				bc.SetContainer(id, inner);
				changed = true;
			}
		}
	}
	return changed;
}

} // namespace

AliasTrans* AliasTrans::Alloc()
{
	return new (std::nothrow) AliasTransData;
}

void AliasTrans::Free(AliasTrans*& trans)
{
	delete DataOf(trans);
	trans = nullptr;
}

bool AliasTrans::Init(const BaseDocument* doc)
{
	AliasTransData* data = DataOf(this);
	data->copyOf.clear();
	data->roots.clear();
	// Copies are recorded whatever document their originals belong to; doc names the scene the
	// caller is copying in and is not needed for that.
	(void)doc;
	data->active = true;
	return true;
}

void AliasTrans::Translate(bool connectOldGoals)
{
	AliasTransData* data = DataOf(this);
	if (!data->active)
		return;
	try
	{
		std::unordered_map<UInt64, scene::NodeCore*> copies;
		for (const auto& [original, copy] : data->copyOf)
		{
			if (scene::NodeCore* node = scene::NodeBySerial(copy))
				copies.emplace(original, node);
		}
		std::vector<scene::NodeCore*> roots;
		for (UInt64 serial : data->roots)
		{
			if (scene::NodeCore* node = scene::NodeBySerial(serial))
				roots.push_back(node);
		}
		for (scene::NodeCore* root : roots)
			scene::TranslateLinks(root, copies);
		if (connectOldGoals)
			return;
		std::unordered_set<UInt64> inCopies;
		for (scene::NodeCore* root : roots)
			ForEachInTree(root, [&inCopies](scene::NodeCore* n) { inCopies.insert(n->serial); });
		for (scene::NodeCore* root : roots)
			ForEachInTree(root, [&inCopies](scene::NodeCore* n) { DropForeignLinks(n->data, inCopies); });
	}
	catch (const std::bad_alloc&)
	{
		// Links that were not reached keep their originals, as without translation.
	}
}

BaseList2D* BaseList2D::GetClone(Int32 flags, AliasTrans* trans) const
{
	(void)flags; // no copy flags are defined yet
	AliasTransData* data = trans ? DataOf(trans) : nullptr;
	if (!data || !data->active)
		return GetClone();
	std::unordered_map<UInt64, scene::NodeCore*> copies;
	scene::NodeCore* top = scene::CloneTree(scene::CoreOf(this), &copies);
	if (!top)
		return nullptr;
	try
	{
		data->roots.push_back(top->serial);
		for (const auto& [original, copy] : copies)
			data->copyOf[original] = copy->serial;
	}
	catch (const std::bad_alloc&)
	{
		scene::DestroyNode(top);
		return nullptr;
	}
	return scene::ApiOf<BaseList2D>(top);
}
