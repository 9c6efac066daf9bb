// The plug-in's start: resources at system initialisation, the tool's registration at start.
#include "KernelTags.h"
#include "LoomSurface.h"
#include "ToolSettings.h"
#include "hostapi/memory.h"
#include "hostapi/plugin.h"
#include "hostapi/resource.h"

namespace
{
bool RegisterLoomTool()
{
	const String name = GeLoadString(LOOM_STR_NAME);
	// When the tool cannot be made the host refuses the registration, and so the start fails.
	LoomS* tool = NewObjTagged(LoomS, LOOMSURFACE_SOURCE);

	BaseBitmap* icon = BaseBitmap::Alloc();
	if (icon && !icon->Init(GeGetPluginPath() + "res" + "Loomcast.tif", 1.0))
		BaseBitmap::Free(icon);

	const String help = GeLoadString(LOOM_STR_HELP);
	const bool ok = RegisterToolPlugin(LOOM_TOOL_ID, name, LOOM_TOOL_INFO, icon, help, tool);
	BaseBitmap::Free(icon);
	return ok;
}
} // namespace

bool PluginStart()
{
	return RegisterLoomTool();
}

void PluginEnd()
{
}

bool PluginMessage(Int32 id, void* data)
{
	(void)data;
	if (id == PLUGINMSG_INIT_SYS)
		return g_resource.Init();
	return false;
}
