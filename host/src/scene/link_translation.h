// Redirecting links inside a copied tree to the copies of their targets.
#pragma once

#include <unordered_map>

#include "hostapi/types.h"

class BaseContainer;

namespace scene
{

struct NodeCore;

// copies maps an original element's serial to its copy. Every link held by an element of the
// tree below top (parameters, nested containers, layer and material links) that names an
// original is pointed at the copy instead.
void TranslateLinks(NodeCore* top, const std::unordered_map<UInt64, NodeCore*>& copies);
// The same for one container; answers true when something changed.
bool TranslateContainerLinks(BaseContainer& bc, const std::unordered_map<UInt64, NodeCore*>& copies);

} // namespace scene
