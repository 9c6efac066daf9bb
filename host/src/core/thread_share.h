// How many processor threads the host's own heavy work on a thread may spread over (a ray
// acceleration build, say). A thread that a plug-in started in a pool of n threads has asked
// for n processors in all, so the host's work on its behalf stays within n; on any other
// thread it may use every processor.
#pragma once

#include "hostapi/types.h"

namespace standin::threads
{

// The calling thread's share: the size of the pool it was started in, 0 for no limit.
Int32 CallerShare();
void SetCallerShare(Int32 n);

} // namespace standin::threads
