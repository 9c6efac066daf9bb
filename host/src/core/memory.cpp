// The host allocator. Blocks come from the C heap; a table keyed by address keeps each live block's
// size and tag so that realloc knows how much to zero, frees of foreign pointers are caught, and
// tests can check what a plug-in allocated.
#include "standin/memory.h"

#include <cstdlib>
#include <cstring>
#include <mutex>
#include <string>
#include <unordered_map>

#include "standin/console.h"

namespace
{

// Anything larger is a corrupted or hostile size, not a real request of these plug-ins.
constexpr Int64 kMaxBlockSize = Int64(1) << 30;

struct Allocator
{
	std::mutex mutex;
	std::unordered_map<const void*, standin::AllocationInfo> live;
	Int64 failAfter = -1;
};

Allocator& State()
{
	// Never destroyed: plug-in globals may free host blocks while the process exits.
	static Allocator* state = new Allocator;
	return *state;
}

// Answers true when this request is the one failure injection picks (caller holds the mutex).
bool InjectedFailure(Allocator& a)
{
	if (a.failAfter < 0)
		return false;
	if (a.failAfter == 0)
	{
		a.failAfter = -1;
		return true;
	}
	--a.failAfter;
	return false;
}

std::string TagOf(const char* sourcePath)
{
	return sourcePath ? std::string(sourcePath) : std::string();
}

} // namespace

void* HostAlloc(Int64 size, Int32 line, const char* sourcePath)
{
	if (size < 0 || size > kMaxBlockSize)
		return nullptr;
	if (size == 0)
		size = 1;
	Allocator& a = State();
	std::lock_guard<std::mutex> lock(a.mutex);
	if (InjectedFailure(a))
		return nullptr;
	void* block = std::calloc(1, static_cast<size_t>(size));
	if (!block)
		return nullptr;
	a.live[block] = standin::AllocationInfo{size, line, TagOf(sourcePath)};
	return block;
}

void* HostRealloc(void* block, Int64 size, Int32 line, const char* sourcePath)
{
	if (!block)
		return HostAlloc(size, line, sourcePath);
	if (size < 0 || size > kMaxBlockSize)
		return nullptr;
	if (size == 0)
		size = 1;
	Allocator& a = State();
	bool foreign = false;
	void* grown = nullptr;
	{
		std::lock_guard<std::mutex> lock(a.mutex);
		auto it = a.live.find(block);
		if (it == a.live.end())
			foreign = true;
		else if (!InjectedFailure(a))
		{
			const Int64 oldSize = it->second.size;
			grown = std::realloc(block, static_cast<size_t>(size));
			if (grown)
			{
				if (size > oldSize)
					std::memset(static_cast<char*>(grown) + oldSize, 0, static_cast<size_t>(size - oldSize));
				a.live.erase(it);
				a.live[grown] = standin::AllocationInfo{size, line, TagOf(sourcePath)};
			}
		}
	}
	// Reallocating memory the host never handed out would corrupt the heap; refuse it loudly.
	if (foreign)
		standin::HostFault("CRITICAL:", "HostRealloc of a block the host did not allocate", __FILE__, __LINE__);
	return grown;
}

void HostFree(void* block)
{
	if (!block)
		return;
	Allocator& a = State();
	bool foreign = false;
	{
		std::lock_guard<std::mutex> lock(a.mutex);
		auto it = a.live.find(block);
		if (it == a.live.end())
			foreign = true;
		else
		{
			a.live.erase(it);
			std::free(block);
		}
	}
	// A double free or a foreign pointer: leaving it alone is the only safe answer.
	if (foreign)
		standin::HostFault("CRITICAL:", "HostFree of a block the host did not allocate", __FILE__, __LINE__);
}

namespace standin
{

bool QueryAllocation(const void* block, AllocationInfo* info)
{
	Allocator& a = State();
	std::lock_guard<std::mutex> lock(a.mutex);
	auto it = a.live.find(block);
	if (it == a.live.end())
		return false;
	if (info)
		*info = it->second;
	return true;
}

Int64 LiveAllocationCount()
{
	Allocator& a = State();
	std::lock_guard<std::mutex> lock(a.mutex);
	return static_cast<Int64>(a.live.size());
}

void FailAllocationsAfter(Int64 n)
{
	Allocator& a = State();
	std::lock_guard<std::mutex> lock(a.mutex);
	a.failAfter = n < 0 ? -1 : n;
}

} // namespace standin
