// The plug-in's entry: resources at system initialisation, registrations at start.
#include "PluginMessages.h"
#include "TarnwickCommand.h"
#include "hostapi/memory.h"
#include "hostapi/plugin.h"
#include "hostapi/resource.h"

namespace
{
constexpr Int32 STR_COMMAND = 10018;

bool RegisterManagerCommand()
{
	// The host must never be handed a missing command, so a refused allocation fails the start.
	TarnwickCommand* command = NewObjTagged(TarnwickCommand, "source\\TarnwickCommand");
	if (!command)
		return false;

	BaseBitmap* icon = BaseBitmap::Alloc();
	if (icon && !icon->Init(GeGetPluginPath() + "res" + "Tarnwick.tif", 1.0))
		BaseBitmap::Free(icon);

	const String name = GeLoadString(STR_COMMAND);
	const bool ok = RegisterCommandPlugin(TARNWICK_COMMAND_ID, name, 0, icon, name, command);
	BaseBitmap::Free(icon);
	return ok;
}
} // namespace

bool PluginStart()
{
	if (!RegisterManagerCommand())
		return false;
	return true;
}

void PluginEnd()
{
}

bool PluginMessage(Int32 id, void* data)
{
	return TarnwickPluginMessage(id, data);
}
