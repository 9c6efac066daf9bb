// BaseSelect as the host keeps it: ascending, disjoint, non-adjacent ranges of selected indices.
// Readers (worker threads included) never change it, so there is no cache to race on.
#pragma once

#include <utility>
#include <vector>

#include "hostapi/objects.h"

namespace scene
{

struct BaseSelectData final : BaseSelect
{
	BaseSelectData() = default;
	BaseSelectData(const BaseSelectData& o) : BaseSelect(), ranges(o.ranges), count(o.count) {}
	BaseSelectData& operator=(const BaseSelectData& o)
	{
		ranges = o.ranges;
		count = o.count;
		return *this;
	}

	std::vector<std::pair<Int32, Int32>> ranges; // [first, last], ascending
	Int64 count = 0;

	bool Contains(Int32 i) const;
	bool Add(Int32 i);
	bool Erase(Int32 i);
	void Clear()
	{
		ranges.clear();
		count = 0;
	}
};

inline BaseSelectData* SelectDataOf(BaseSelect* bs) { return static_cast<BaseSelectData*>(bs); }
inline const BaseSelectData* SelectDataOf(const BaseSelect* bs) { return static_cast<const BaseSelectData*>(bs); }

} // namespace scene
