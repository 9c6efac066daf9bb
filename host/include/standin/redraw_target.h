// Where the host's redraw requests and update events go. Plug-ins ask with DrawViews and EventAdd;
// the stand-in host has no screen, so by default a log records every request in order for scripts
// and tests to read. A real output (a window that repaints) plugs in here instead of the log,
// without any change to the callers: the executable or a test plugs one in through this header.
#pragma once

#include "hostapi/types.h"

namespace standin::view
{

class RedrawTarget
{
public:
	virtual ~RedrawTarget() = default;
	// A plug-in asked for the views to be drawn again (DRAWFLAGS_*).
	virtual void Redraw(Int32 flags) = 0;
	// A plug-in posted a host update event.
	virtual void Update() = 0;
};

// The target the host sends to now; the recording log when none is plugged in.
RedrawTarget& CurrentRedrawTarget();
// Plugs a target in (nullptr: the recording log again); answers the one it replaces (nullptr when
// that was the log).
RedrawTarget* UseRedrawTarget(RedrawTarget* target);

} // namespace standin::view
