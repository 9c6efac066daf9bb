// Objects under a pixel.
#include <new>
#include <vector>

#include "hostapi/memory.h"
#include "hostapi/picking.h"
#include "view/raycast.h"
#include "view/view_data.h"

namespace
{
struct PickListData final : ObjectPickList
{
	std::vector<standin::view::RayHit> hits;
};

PickListData* DataOf(ObjectPickList* list)
{
	return static_cast<PickListData*>(list);
}
const PickListData* DataOf(const ObjectPickList* list)
{
	return static_cast<const PickListData*>(list);
}
} // namespace

// The block comes from the host allocator so that tests can make the list fail to exist.
ObjectPickList* ObjectPickList::Alloc()
{
	void* mem = HostAlloc(sizeof(PickListData), __LINE__, "host\\picking");
	return mem ? new (mem) PickListData() : nullptr;
}

void ObjectPickList::Free(ObjectPickList*& list)
{
	if (!list)
		return;
	PickListData* data = DataOf(list);
	data->~PickListData();
	HostFree(data);
	list = nullptr;
}

Int32 ObjectPickList::GetCount() const
{
	return static_cast<Int32>(DataOf(this)->hits.size());
}

BaseObject* ObjectPickList::GetObject(Int32 i) const
{
	const auto& hits = DataOf(this)->hits;
	return i >= 0 && i < GetCount() ? hits[static_cast<std::size_t>(i)].object : nullptr;
}

Float ObjectPickList::GetZ(Int32 i) const
{
	const auto& hits = DataOf(this)->hits;
	return i >= 0 && i < GetCount() ? hits[static_cast<std::size_t>(i)].t : 0.0;
}

bool PickObjectsAtPixel(BaseDocument* doc, BaseDraw* bd, Int32 x, Int32 y, ObjectPickList* list, Int32 /*flags*/)
{
	if (!doc || !bd || !list)
		return false;
	PickListData* data = DataOf(list);
	data->hits.clear();
	Vector origin, direction;
	standin::view::ViewDataOf(bd)->Current().PixelRay(x, y, &origin, &direction);
	try
	{
		// The ray's direction reaches depth 1, so each hit's parameter is its depth.
		data->hits = standin::view::CastRay(doc, origin, direction);
	}
	catch (const std::bad_alloc&)
	{
		data->hits.clear();
		return false;
	}
	return true;
}
