#include <atomic>

#include "hostapi/baselist.h"

Int32 GeGetUniqueCounter()
{
	// Starts above 0 so that a counter value never looks like "no number".
	static std::atomic<Int32> counter{1};
	return counter.fetch_add(1);
}
