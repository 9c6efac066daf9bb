// The host's millisecond clock, and the counter tests put in its place.
#include <atomic>
#include <chrono>

#include "hostapi/thread.h"
#include "standin/threads.h"

namespace
{
const auto g_start = std::chrono::steady_clock::now();
std::atomic<Int32> g_step{-1};
std::atomic<Int32> g_counter{0};
} // namespace

Int32 GeGetTimer()
{
	const Int32 step = g_step.load();
	if (step >= 0)
		return g_counter.fetch_add(step) + step;
	const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - g_start).count();
	// The host's clock is 32 bits wide and wraps after some 24 days, as callers expect.
	return static_cast<Int32>(static_cast<UInt32>(static_cast<UInt64>(ms)));
}

namespace standin
{

void SetClockStep(Int32 step, Int32 start)
{
	g_counter.store(start - (step > 0 ? step : 0));
	g_step.store(step < 0 ? -1 : step);
}

} // namespace standin
