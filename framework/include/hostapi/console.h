// The host console as the plug-ins see it.
#pragma once

#include "hostapi/text.h"

// Appends one line to the host console.
void GePrint(const String& line);

// The plug-in banner: a line of 56 "-", the product lines, the notice line, again 56 "-".
void PrintBanner(const String& productLine, const String& noticeLine);

// The binding's own fault reports: "WARNING: <text> <HH:MM:SS> [<module> <file> L<line>]"
// (and the same with "CRITICAL:"). The module is the plug-in's name as the binding knows it.
void FrameworkWarning(const char* text, const char* file, Int32 line);
void FrameworkCritical(const char* text, const char* file, Int32 line);

#define HOST_WARNING(text) FrameworkWarning(text, __FILE__, __LINE__)
#define HOST_CRITICAL(text) FrameworkCritical(text, __FILE__, __LINE__)
