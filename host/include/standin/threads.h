// Test knobs of the host's threads: the processor thread count, the millisecond clock, the
// cursor shapes plug-ins set and the threads they start.
#pragma once

#include <string>
#include <vector>

#include "hostapi/types.h"

namespace standin
{

// Makes GeGetCurrentThreadCount answer n (n < 1: back to the machine's count).
void SetThreadCount(Int32 n);

// Makes GeGetTimer a counter that advances by step milliseconds at every reading, starting from
// start (so two readings in a row are exactly step apart); step < 0 goes back to the real clock.
void SetClockStep(Int32 step, Int32 start = 0);

// Every cursor shape GeShowMouse was given since the last ClearCursorLog, in order.
std::vector<Int32> CursorLog();
void ClearCursorLog();
// The shape shown now (MOUSE_NORMAL until a plug-in sets one).
Int32 CurrentCursor();

// One C4DThread::Start that the host accepted: the thread's name and the priority asked for.
struct ThreadStart
{
	std::string name;
	Int32 priority = 0;
	bool operator==(const ThreadStart&) const = default;
};
// Every accepted start since the last ClearThreadStarts, in order (from any thread).
std::vector<ThreadStart> ThreadStarts();
void ClearThreadStarts();
// Called by the host's threads as they start.
void RecordThreadStart(const char* name, Int32 priority);

} // namespace standin
