// Setting values as the panel and the inspector print them.
#pragma once

#include <string>

#include "hostapi/container.h"
#include "standin/plugins.h"

namespace standin::tools
{

// Text quoted for one line: backslashes and quotes escaped, control bytes as printable escapes.
std::string QuotedText(const std::string& text);
// A linked element as a user reads it: an object's quoted name path, another element's kind and
// quoted name; "none" when nothing resolves in doc.
std::string LinkText(const GeData& value, BaseDocument* doc);
// The value of a panel entry's setting, read according to the entry's kind (see PanelEntry).
std::string EntryValueText(const DescriptionEntry& entry, const BaseContainer& settings, BaseDocument* doc);
// An angle entry's value (radians in the container) as the panel shows it: degrees, "15°".
std::string DegreesText(Float radians);
// What a user typed into an angle entry (degrees), as the container keeps it (radians).
Float DegreesToRadians(Float degrees);

} // namespace standin::tools
