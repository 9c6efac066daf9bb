// Loader-internal access to the registry: which plug-in is being entered (so registrations know
// their owner).
#pragma once

#include <string>

namespace standin::registry
{

// The plug-in whose entry is running; registrations made meanwhile are recorded as its own.
void SetCurrentOwner(const std::string& name);

} // namespace standin::registry
