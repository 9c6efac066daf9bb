// Binding-internal access to the plug-in's folder, shared by the entry dispatch and the resource
// record (not part of the host interface).
#pragma once

#include <string>

namespace binding
{

// The plug-in folder handed over at initialise; empty before it and after the end.
const std::string& PluginFolder();
void SetPluginFolder(const char* folder);
void ForgetPluginFolder();

} // namespace binding
