// The host's processor thread count: the machine's, or what a test set.
#include "standin/threads.h"

#include <atomic>
#include <thread>

#include "hostapi/plugin.h"

namespace
{
std::atomic<Int32> g_override{0};
}

Int32 GeGetCurrentThreadCount()
{
	const Int32 forced = g_override.load();
	if (forced > 0)
		return forced;
	const unsigned hw = std::thread::hardware_concurrency();
	// hardware_concurrency may answer 0 when it cannot tell; a host always has one thread.
	return hw == 0 ? 1 : static_cast<Int32>(hw > 1024 ? 1024 : hw);
}

namespace standin
{

void SetThreadCount(Int32 n)
{
	g_override.store(n > 0 ? n : 0);
}

} // namespace standin
