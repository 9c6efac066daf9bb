// The cursor shape: the stand-in host has no window cursor, so it keeps what plug-ins set, in
// order, for tests and sessions to read.
#include <mutex>
#include <vector>

#include "hostapi/thread.h"
#include "standin/threads.h"

namespace
{
std::mutex g_mutex;
std::vector<Int32> g_log;
Int32 g_current = MOUSE_NORMAL;
} // namespace

void GeShowMouse(Int32 cursor)
{
	std::lock_guard<std::mutex> lock(g_mutex);
	// A long session sets the cursor often; the log keeps the latest shapes only.
	if (g_log.size() >= 4096)
		g_log.erase(g_log.begin(), g_log.begin() + 2048);
	g_log.push_back(cursor);
	g_current = cursor;
}

namespace standin
{

std::vector<Int32> CursorLog()
{
	std::lock_guard<std::mutex> lock(g_mutex);
	return g_log;
}

void ClearCursorLog()
{
	std::lock_guard<std::mutex> lock(g_mutex);
	g_log.clear();
}

Int32 CurrentCursor()
{
	std::lock_guard<std::mutex> lock(g_mutex);
	return g_current;
}

} // namespace standin
