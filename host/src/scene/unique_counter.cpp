#include <atomic>

#include "hostapi/baselist.h"
#include "scene/node_data.h"

namespace
{
// Starts above 0 so that a counter value never looks like "no number".
std::atomic<Int32> counter{1};
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
