// BaseSelect: selected indices kept as ascending ranges.
#include <algorithm>
#include <limits>
#include <new>

#include "scene/select_data.h"

using scene::SelectDataOf;

namespace scene
{
namespace
{

using Range = std::pair<Int32, Int32>;

// First range that ends at or after i.
std::vector<Range>::iterator FirstEndingAtOrAfter(std::vector<Range>& ranges, Int64 i)
{
	return std::lower_bound(ranges.begin(), ranges.end(), i, [](const Range& r, Int64 v) { return r.second < v; });
}

} // namespace

bool BaseSelectData::Contains(Int32 i) const
{
	auto it = std::lower_bound(ranges.begin(), ranges.end(), i, [](const Range& r, Int32 v) { return r.second < v; });
	return it != ranges.end() && it->first <= i;
}

bool BaseSelectData::Add(Int32 i)
{
	if (i < 0)
		return false;
	try
	{
		// The range that could touch i: it ends at i - 1 or later.
		auto it = FirstEndingAtOrAfter(ranges, Int64{i} - 1);
		if (it == ranges.end() || Int64{it->first} > Int64{i} + 1)
		{
			ranges.insert(it, {i, i});
		}
		else if (it->first <= i && i <= it->second)
		{
			return true;
		}
		else if (i == it->second + 1)
		{
			it->second = i;
			auto after = it + 1;
			if (after != ranges.end() && after->first == i + 1)
			{
				it->second = after->second;
				ranges.erase(after);
			}
		}
		else
		{
			it->first = i; // i == it->first - 1; the range before ends below i - 1
		}
		++count;
		return true;
	}
	catch (const std::bad_alloc&)
	{
		return false;
	}
}

bool BaseSelectData::Erase(Int32 i)
{
	if (i < 0)
		return false;
	auto it = FirstEndingAtOrAfter(ranges, i);
	if (it == ranges.end() || it->first > i)
		return true;
	try
	{
		if (it->first == i && it->second == i)
			ranges.erase(it);
		else if (it->first == i)
			it->first = i + 1;
		else if (it->second == i)
			it->second = i - 1;
		else
		{
			const Range tail{i + 1, it->second};
			it->second = i - 1;
			ranges.insert(it + 1, tail);
		}
	}
	catch (const std::bad_alloc&)
	{
		return false;
	}
	--count;
	return true;
}

} // namespace scene

BaseSelect* BaseSelect::Alloc()
{
	return new (std::nothrow) scene::BaseSelectData;
}

void BaseSelect::Free(BaseSelect*& bs)
{
	delete SelectDataOf(bs);
	bs = nullptr;
}

Int32 BaseSelect::GetCount() const
{
	const Int64 count = SelectDataOf(this)->count;
	return count > std::numeric_limits<Int32>::max() ? std::numeric_limits<Int32>::max() : static_cast<Int32>(count);
}

bool BaseSelect::IsSelected(Int32 i) const { return SelectDataOf(this)->Contains(i); }
bool BaseSelect::Select(Int32 i) { return SelectDataOf(this)->Add(i); }
bool BaseSelect::Deselect(Int32 i) { return SelectDataOf(this)->Erase(i); }
void BaseSelect::DeselectAll() { SelectDataOf(this)->Clear(); }

Int32 BaseSelect::GetSegments() const
{
	return static_cast<Int32>(SelectDataOf(this)->ranges.size());
}

bool BaseSelect::GetRange(Int32 seg, Int32* a, Int32* b) const
{
	const auto& ranges = SelectDataOf(this)->ranges;
	if (seg < 0 || static_cast<size_t>(seg) >= ranges.size())
		return false;
	if (a)
		*a = ranges[static_cast<size_t>(seg)].first;
	if (b)
		*b = ranges[static_cast<size_t>(seg)].second;
	return true;
}

bool BaseSelect::CopyTo(BaseSelect* dst) const
{
	if (!dst)
		return false;
	if (dst == this)
		return true;
	try
	{
		*SelectDataOf(dst) = *SelectDataOf(this);
		return true;
	}
	catch (const std::bad_alloc&)
	{
		return false;
	}
}
