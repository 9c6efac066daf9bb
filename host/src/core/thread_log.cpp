// Every thread start, by name and priority, kept for tests and sessions to read: the stand-in
// host has no system thread list a user could look at.
#include <mutex>
#include <vector>

#include "standin/threads.h"

namespace
{
std::mutex g_mutex;
std::vector<standin::ThreadStart> g_starts;
} // namespace

namespace standin
{

void RecordThreadStart(const char* name, Int32 priority)
{
	std::lock_guard<std::mutex> lock(g_mutex);
	// A long session starts many threads; the log keeps the latest only.
	if (g_starts.size() >= 4096)
		g_starts.erase(g_starts.begin(), g_starts.begin() + 2048);
	g_starts.push_back(ThreadStart{name ? name : "", priority});
}

std::vector<ThreadStart> ThreadStarts()
{
	std::lock_guard<std::mutex> lock(g_mutex);
	return g_starts;
}

void ClearThreadStarts()
{
	std::lock_guard<std::mutex> lock(g_mutex);
	g_starts.clear();
}

} // namespace standin
