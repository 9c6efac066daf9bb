// Host update events and view redraw requests. Views redraw on their own schedule in the
// stand-in host; the counters let tests and scripts see that a plug-in asked.
#include <atomic>

#include "standin/scene.h"

namespace
{

std::atomic<Int64> eventCount{0};
std::atomic<Int64> drawViewsCount{0};
std::atomic<Int32> lastDrawFlags{0};

} // namespace

void EventAdd()
{
	eventCount.fetch_add(1);
}

void DrawViews(Int32 flags)
{
	lastDrawFlags.store(flags);
	drawViewsCount.fetch_add(1);
}

namespace standin
{

Int64 EventCount()
{
	return eventCount.load();
}

Int64 DrawViewsCount()
{
	return drawViewsCount.load();
}

Int32 LastDrawViewsFlags()
{
	return lastDrawFlags.load();
}

} // namespace standin
