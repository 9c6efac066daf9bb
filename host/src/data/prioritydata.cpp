// Priority data of expression tags: a small keyed store of values.
#include <new>

#include "data/custom_types.h"

namespace standin::data
{

PriorityValues* NewPriority()
{
	return new (std::nothrow) PriorityValues();
}

CustomDataType* PriorityValues::Clone() const
{
	PriorityValues* copy = NewPriority();
	if (copy)
		copy->values = values;
	return copy;
}

bool PriorityValues::IsEqual(const CustomDataType& other) const
{
	const auto* o = dynamic_cast<const PriorityValues*>(&other);
	return o && values == o->values;
}

} // namespace standin::data

using standin::data::PriorityValues;

PriorityData* PriorityData::Alloc()
{
	return standin::data::NewPriority();
}

void PriorityData::Free(PriorityData*& p)
{
	delete p;
	p = nullptr;
}

GeData PriorityData::GetPriorityValue(Int32 id) const
{
	return static_cast<const PriorityValues*>(this)->values.GetData(id);
}

void PriorityData::SetPriorityValue(Int32 id, const GeData& value)
{
	static_cast<PriorityValues*>(this)->values.SetData(id, value);
}
