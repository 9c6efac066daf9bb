#include <atomic>
#include <random>

#include "hostapi/baselist.h"
#include "scene/node_data.h"

namespace
{
// Plug-ins store counter values in scenes and in their own files (material markers in saved
// sets), which are read again in later runs and other scenes. Counting from the same number in
// every run would hand a new scene's material the marker a stored set means for another one, so
// each run starts at its own random point in [2^24, 2^30): above 0 (never "no number") and with
// room to count up.
Int32 FirstValueOfThisRun()
{
	std::random_device source;
	return static_cast<Int32>((1u << 24) + source() % ((1u << 30) - (1u << 24)));
}

std::atomic<Int32> counter{FirstValueOfThisRun()};
} // namespace

Int32 GeGetUniqueCounter()
{
	return counter.fetch_add(1);
}

namespace scene
{

void NoteRestoredUniqueId(Int32 appId)
{
	Int32 current = counter.load();
	while (appId >= current && appId != 0x7fffffff && !counter.compare_exchange_weak(current, appId + 1))
	{
	}
}

} // namespace scene
