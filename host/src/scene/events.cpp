// Host update events and view redraw requests. They go to the current redraw target (by default
// the log that scripts and tests read, view/redraw_target.h); the counters count every call
// whichever target takes it.
#include <atomic>

#include "standin/scene.h"
#include "view/draw_pass.h"
#include "standin/redraw_target.h"

namespace
{

std::atomic<Int64> eventCount{0};
std::atomic<Int64> drawViewsCount{0};
std::atomic<Int32> lastDrawFlags{0};

} // namespace

void EventAdd()
{
	eventCount.fetch_add(1);
	standin::view::CurrentRedrawTarget().Update();
}

void DrawViews(Int32 flags)
{
	lastDrawFlags.store(flags);
	drawViewsCount.fetch_add(1);
	// The active view is drawn again at once, as a tool's drag loop expects: its Draw runs before
	// the request returns.
	standin::view::RedrawActiveView();
	standin::view::CurrentRedrawTarget().Redraw(flags);
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
