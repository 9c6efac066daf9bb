// Test knob for the host's processor thread count.
#pragma once

#include "hostapi/types.h"

namespace standin
{

// Makes GeGetCurrentThreadCount answer n (n < 1: back to the machine's count).
void SetThreadCount(Int32 n);

} // namespace standin
