// The plug-in's resource record: its folder (the resource argument of initialise) and the
// resource tables loaded from it.
#include <string>

#include "binding.h"
#include "hostapi/plugin.h"
#include "hostapi/resource.h"

GeResource g_resource;

namespace
{
std::string g_folder;
}

namespace binding
{

const std::string& PluginFolder()
{
	return g_folder;
}

void SetPluginFolder(const char* folder)
{
	g_folder = folder ? folder : "";
}

void ForgetPluginFolder()
{
	g_folder.clear();
	g_folder.shrink_to_fit();
}

} // namespace binding

Filename GeGetPluginPath()
{
	return Filename(String(g_folder));
}

String GeGetPluginName()
{
	std::string folder = g_folder;
	while (folder.size() > 1 && folder.back() == '/')
		folder.pop_back();
	const size_t slash = folder.find_last_of('/');
	return String(slash == std::string::npos ? folder : folder.substr(slash + 1));
}

bool GeResource::Init()
{
	return Init(GeGetPluginPath());
}
