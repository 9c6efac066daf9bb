// Serial numbers of live elements. Links hold serials; the registry answers the element for a
// serial only while it exists. Worker threads resolve links too, so the registry is locked.
#pragma once

#include "hostapi/types.h"

namespace scene
{

struct NodeCore;

UInt64 RegisterNode(NodeCore* node);
void UnregisterNode(UInt64 serial);

} // namespace scene
