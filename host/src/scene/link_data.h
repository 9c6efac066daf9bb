// BaseLink and AtomArray as the host keeps them.
#pragma once

#include <vector>

#include "hostapi/baselist.h"

namespace scene
{

// A link names its element by serial number, so it cannot dangle: a freed element's serial is
// never handed out again and resolves to nothing.
struct BaseLinkData final : BaseLink
{
	UInt64 serial = 0;
};

inline BaseLinkData* LinkDataOf(BaseLink* link) { return static_cast<BaseLinkData*>(link); }
inline const BaseLinkData* LinkDataOf(const BaseLink* link) { return static_cast<const BaseLinkData*>(link); }

struct AtomArrayData final : AtomArray
{
	std::vector<GeListNode*> items;
};

inline AtomArrayData* ArrayDataOf(AtomArray* arr) { return static_cast<AtomArrayData*>(arr); }
inline const AtomArrayData* ArrayDataOf(const AtomArray* arr) { return static_cast<const AtomArrayData*>(arr); }

} // namespace scene
