// The gradient custom data type: knots in their own storage order plus a property container.
#include <new>

#include "data/custom_types.h"

namespace standin::data
{

GradientData* NewGradient()
{
	return new (std::nothrow) GradientData();
}

CustomDataType* GradientData::Clone() const
{
	GradientData* copy = NewGradient();
	if (!copy)
		return nullptr;
	copy->knots = knots;
	copy->properties = properties;
	return copy;
}

namespace
{
bool SameKnot(const GradientKnot& a, const GradientKnot& b)
{
	return a.col == b.col && a.brightness == b.brightness && a.pos == b.pos && a.bias == b.bias && a.index == b.index;
}
} // namespace

bool GradientData::IsEqual(const CustomDataType& other) const
{
	const auto* o = dynamic_cast<const GradientData*>(&other);
	if (!o || knots.size() != o->knots.size() || properties != o->properties)
		return false;
	for (size_t i = 0; i < knots.size(); ++i)
		if (!SameKnot(knots[i], o->knots[i]))
			return false;
	return true;
}

} // namespace standin::data

using standin::data::GradientData;

Gradient* Gradient::Alloc()
{
	return standin::data::NewGradient();
}

void Gradient::Free(Gradient*& g)
{
	delete g;
	g = nullptr;
}

Int32 Gradient::GetKnotCount() const
{
	return static_cast<Int32>(static_cast<const GradientData*>(this)->knots.size());
}

GradientKnot Gradient::GetKnot(Int32 i) const
{
	const auto& knots = static_cast<const GradientData*>(this)->knots;
	if (i < 0 || static_cast<size_t>(i) >= knots.size())
		return GradientKnot();
	return knots[static_cast<size_t>(i)];
}

void Gradient::SetKnot(Int32 i, const GradientKnot& k)
{
	auto& knots = static_cast<GradientData*>(this)->knots;
	if (i >= 0 && static_cast<size_t>(i) < knots.size())
		knots[static_cast<size_t>(i)] = k;
}

Int32 Gradient::InsertKnot(const GradientKnot& k)
{
	auto& knots = static_cast<GradientData*>(this)->knots;
	try
	{
		knots.push_back(k);
	}
	catch (const std::bad_alloc&)
	{
		return -1;
	}
	return static_cast<Int32>(knots.size() - 1);
}

bool Gradient::RemoveKnot(Int32 i)
{
	auto& knots = static_cast<GradientData*>(this)->knots;
	if (i < 0 || static_cast<size_t>(i) >= knots.size())
		return false;
	knots.erase(knots.begin() + i);
	return true;
}

void Gradient::FlushKnots()
{
	static_cast<GradientData*>(this)->knots.clear();
}

GeData Gradient::GetData(Int32 id) const
{
	return static_cast<const GradientData*>(this)->properties.GetData(id);
}

void Gradient::SetData(Int32 id, const GeData& value)
{
	static_cast<GradientData*>(this)->properties.SetData(id, value);
}
