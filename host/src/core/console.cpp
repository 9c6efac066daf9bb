// The host console: an in-memory list of lines with an optional echo to standard output.
#include "standin/console.h"

#include "standin/printable.h"

#include <cstdio>
#include <ctime>
#include <deque>
#include <iostream>
#include <mutex>

namespace
{

// Keeps a long session's console from growing without bound.
constexpr size_t kMaxLines = 100000;

struct Console
{
	std::mutex mutex;
	std::deque<std::string> lines;
	bool echo = false;
};

Console& State()
{
	static Console* console = new Console; // outlives plug-ins that print while unloading
	return *console;
}

const char* BaseName(const char* path)
{
	if (!path)
		return "";
	const char* base = path;
	for (const char* p = path; *p; ++p)
		if (*p == '/' || *p == '\\')
			base = p + 1;
	return base;
}

} // namespace

void GePrint(const String& line)
{
	Console& c = State();
	std::lock_guard<std::mutex> lock(c.mutex);
	c.lines.push_back(line.Get());
	if (c.lines.size() > kMaxLines)
		c.lines.pop_front();
	if (c.echo)
		std::cout << standin::Printable(line.Get()) << '\n' << std::flush;
}

namespace standin
{

std::vector<std::string> ConsoleLines()
{
	Console& c = State();
	std::lock_guard<std::mutex> lock(c.mutex);
	return std::vector<std::string>(c.lines.begin(), c.lines.end());
}

void ClearConsole()
{
	Console& c = State();
	std::lock_guard<std::mutex> lock(c.mutex);
	c.lines.clear();
}

void SetConsoleEcho(bool on)
{
	Console& c = State();
	std::lock_guard<std::mutex> lock(c.mutex);
	c.echo = on;
}

bool ConsoleContains(const std::string& text)
{
	Console& c = State();
	std::lock_guard<std::mutex> lock(c.mutex);
	for (const std::string& line : c.lines)
		if (line.find(text) != std::string::npos)
			return true;
	return false;
}

void HostFault(const char* level, const std::string& text, const char* file, Int32 line)
{
	char stamp[16] = "";
	std::time_t now = std::time(nullptr);
	std::tm local{};
	if (localtime_r(&now, &local))
		std::strftime(stamp, sizeof stamp, "%H:%M:%S", &local);
	char place[512];
	std::snprintf(place, sizeof place, " [%s %s L%d]", "host", BaseName(file), static_cast<int>(line));
	GePrint(String(std::string(level ? level : "WARNING:") + " " + text + " " + stamp + place));
}

} // namespace standin
