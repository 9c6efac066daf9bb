// Links between the elements of a document, as stored in a file: element refs instead of the
// run's serial numbers.
#pragma once

#include <cstdint>
#include <unordered_map>
#include <vector>

#include "hostapi/container.h"

namespace scene
{
struct NodeCore;
}

namespace standin::docio
{

// Copy of bc with every link to an element of the document replaced by a link cell holding its
// ref; links to anything else become empty (DA_NIL). refs maps serials to refs.
BaseContainer LinksToRefs(const BaseContainer& bc, const std::unordered_map<UInt64, UInt64>& refs);

// Replaces the link cells of bc by links to the loaded elements (elements[ref - 1]); a cell with
// a ref outside the list, or to an element that was left out (nullptr), becomes empty.
void RefsToLinks(BaseContainer& bc, const std::vector<scene::NodeCore*>& elements);

} // namespace standin::docio
