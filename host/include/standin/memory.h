// Host allocator introspection for the executable and tests: every live block of HostAlloc /
// HostRealloc is recorded with its size and the source line and path it was tagged with.
#pragma once

#include <string>

#include "hostapi/memory.h"

namespace standin
{

struct AllocationInfo
{
	Int64 size = 0;
	Int32 line = 0;
	std::string sourcePath;
};

// The record of a live block; false when block is not a live host block.
bool QueryAllocation(const void* block, AllocationInfo* info);
// Number of live host blocks.
Int64 LiveAllocationCount();
// Failure injection for tests of failure paths: the n+1-th next allocation (HostAlloc or
// HostRealloc) fails once, after which allocation works again; -1 switches it off.
void FailAllocationsAfter(Int64 n);

} // namespace standin
