// The plug-in's banner and the binding's own fault reports on the host console.
#include <cstdio>
#include <ctime>
#include <string>

#include "hostapi/console.h"
#include "hostapi/plugin.h"

namespace
{

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

// Each line of text on its own console line (product texts from resources may hold several).
void PrintLines(const std::string& text)
{
	size_t start = 0;
	while (true)
	{
		const size_t end = text.find('\n', start);
		GePrint(String(text.substr(start, end == std::string::npos ? std::string::npos : end - start)));
		if (end == std::string::npos)
			break;
		start = end + 1;
	}
}

void Report(const char* level, const char* text, const char* file, Int32 line)
{
	char stamp[16] = "";
	std::time_t now = std::time(nullptr);
	std::tm local{};
	if (localtime_r(&now, &local))
		std::strftime(stamp, sizeof stamp, "%H:%M:%S", &local);
	const String module = GeGetPluginName();
	char place[512];
	std::snprintf(place, sizeof place, " [%s %s L%d]", module.c_str(), BaseName(file), static_cast<int>(line));
	GePrint(String(std::string(level) + " " + (text ? text : "") + " " + stamp + place));
}

} // namespace

void PrintBanner(const String& productLine, const String& noticeLine)
{
	const String rule(std::string(56, '-'));
	GePrint(rule);
	PrintLines(productLine.Get());
	PrintLines(noticeLine.Get());
	GePrint(rule);
}

void FrameworkWarning(const char* text, const char* file, Int32 line)
{
	Report("WARNING:", text, file, line);
}

void FrameworkCritical(const char* text, const char* file, Int32 line)
{
	Report("CRITICAL:", text, file, line);
}
