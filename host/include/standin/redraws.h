// What the plug-ins asked the host to show: every redraw request with its flags and every update
// event, in the order they came, as the host's default redraw target records them. Scripts print
// them and tests read them; the counters of standin/scene.h count the same calls.
#pragma once

#include <vector>

#include "hostapi/types.h"

namespace standin
{

struct RedrawRequest
{
	enum class Kind
	{
		Redraw, // DrawViews(flags)
		Update, // EventAdd()
	};
	Kind kind = Kind::Redraw;
	Int32 flags = 0; // the DrawViews flags; 0 for an update event
};

// The requests recorded since the last call, oldest first; the record is emptied. A log that is
// never read keeps the newest requests only (see RedrawsDropped).
std::vector<RedrawRequest> TakeRedraws();
// How many old requests the log let go since the last TakeRedraws because it was full.
Int64 RedrawsDropped();

} // namespace standin
