// The bubble help the view shows beside the pointer: set by each cursor query, gone when the
// pointer leaves the view or the tool is left.
#pragma once

#include <string>

namespace standin::tools
{

std::string& ShownCursorHelp();

} // namespace standin::tools
