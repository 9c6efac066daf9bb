#include <new>

#include "scene/link_data.h"

using scene::ArrayDataOf;

AtomArray* AtomArray::Alloc()
{
	return new (std::nothrow) scene::AtomArrayData;
}

void AtomArray::Free(AtomArray*& arr)
{
	delete ArrayDataOf(arr);
	arr = nullptr;
}

Int32 AtomArray::GetCount() const
{
	return static_cast<Int32>(ArrayDataOf(this)->items.size());
}

GeListNode* AtomArray::GetIndex(Int32 i) const
{
	const auto& items = ArrayDataOf(this)->items;
	if (i < 0 || static_cast<size_t>(i) >= items.size())
		return nullptr;
	return items[static_cast<size_t>(i)];
}

bool AtomArray::Append(GeListNode* element)
{
	if (!element)
		return false;
	try
	{
		ArrayDataOf(this)->items.push_back(element);
		return true;
	}
	catch (const std::bad_alloc&)
	{
		return false;
	}
}

void AtomArray::Flush()
{
	ArrayDataOf(this)->items.clear();
}
