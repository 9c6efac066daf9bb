// The host console as the executable and tests see it: every GePrint line is kept in memory (for
// print-console and expect-console) and echoed to standard output while echo is on.
#pragma once

#include <string>
#include <vector>

#include "hostapi/console.h"

namespace standin
{

// The console lines so far, oldest first (the oldest are dropped past a generous limit).
std::vector<std::string> ConsoleLines();
void ClearConsole();
// Echo to standard output; off by default so tests stay quiet, the executable turns it on.
void SetConsoleEcho(bool on);
// True when any console line contains text.
bool ConsoleContains(const std::string& text);

// The host's own fault report, in the same form as the plug-in binding's:
// "<level> <text> <HH:MM:SS> [host <file> L<line>]", level being "WARNING:" or "CRITICAL:".
void HostFault(const char* level, const std::string& text, const char* file, Int32 line);

} // namespace standin
