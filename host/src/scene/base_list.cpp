// BaseList2D: type, name, parameters, unique-ID entries and copies.
#include <new>

#include "scene/node_data.h"

using scene::CoreOf;

namespace
{

// Unique-ID entries are small markers; a larger block is refused rather than stored.
constexpr Int64 kMaxUniqueIdBytes = 1 << 20;

} // namespace

Int32 BaseList2D::GetType() const { return CoreOf(this)->type; }

bool BaseList2D::IsInstanceOf(Int32 type) const { return CoreOf(this)->IsInstanceOf(type); }

String BaseList2D::GetName() const { return CoreOf(this)->name; }

void BaseList2D::SetName(const String& name) { scene::RenameNode(CoreOf(this), name); }

BaseContainer* BaseList2D::GetDataInstance() { return &CoreOf(this)->data; }

const BaseContainer* BaseList2D::GetDataInstance() const { return &CoreOf(this)->data; }

bool BaseList2D::GetParameter(Int32 id, GeData& value) const
{
	const GeData* cell = CoreOf(this)->data.GetDataPointer(id);
	if (!cell)
		return false;
	value = *cell;
	return true;
}

bool BaseList2D::SetParameter(Int32 id, const GeData& value)
{
	CoreOf(this)->data.SetData(id, value);
	return true;
}

bool BaseList2D::AddUniqueID(Int32 appId, const Char* data, Int64 bytes)
{
	if (bytes < 0 || bytes > kMaxUniqueIdBytes || (bytes > 0 && !data))
		return false;
	try
	{
		std::vector<Char> copy(data, data + bytes);
		auto& entries = CoreOf(this)->uniqueIds;
		scene::NoteStructureChange();
		// One entry per application number: a second add replaces the bytes.
		for (scene::UniqueIdEntry& e : entries)
		{
			if (e.appId == appId)
			{
				e.bytes = std::move(copy);
				return true;
			}
		}
		entries.push_back({appId, std::move(copy)});
		return true;
	}
	catch (const std::bad_alloc&)
	{
		return false;
	}
}

Int32 BaseList2D::GetUniqueIDCount() const
{
	return static_cast<Int32>(CoreOf(this)->uniqueIds.size());
}

bool BaseList2D::GetUniqueIDIndex(Int32 i, Int32* appId, const Char** data, Int64* bytes) const
{
	const auto& entries = CoreOf(this)->uniqueIds;
	if (i < 0 || static_cast<size_t>(i) >= entries.size())
		return false;
	const scene::UniqueIdEntry& e = entries[static_cast<size_t>(i)];
	static const Char empty[1] = {0};
	if (appId)
		*appId = e.appId;
	if (data)
		*data = e.bytes.empty() ? empty : e.bytes.data();
	if (bytes)
		*bytes = static_cast<Int64>(e.bytes.size());
	return true;
}

BaseList2D* BaseList2D::GetClone() const
{
	return scene::ApiOf<BaseList2D>(scene::CloneTree(CoreOf(this)));
}
