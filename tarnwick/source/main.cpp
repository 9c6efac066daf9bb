// The plug-in's entry: resources at system initialisation, registrations at start.
#include "PluginMessages.h"
#include "TarnwickCommand.h"
#include "TarnwickIds.h"
#include "hostapi/memory.h"
#include "hostapi/plugin.h"
#include "hostapi/resource.h"

namespace
{

// The host's crash handler this plug-in replaced; the text goes on to it.
CrashHandler g_previousCrashHandler = nullptr;

void ForwardCrash(Char* text)
{
	if (g_previousCrashHandler)
		g_previousCrashHandler(text);
}

void ChainCrashHandler()
{
	g_previousCrashHandler = GeGetCrashHandler();
	GeSetCrashHandler(&ForwardCrash);
}

bool RegisterManagerCommand()
{
	// The host must never be handed a missing command, so a refused allocation fails the start.
	TarnwickCommand* command = NewObjTagged(TarnwickCommand, "source\\TarnwickCommand");
	if (!command)
		return false;

	BaseBitmap* icon = BaseBitmap::Alloc();
	if (icon && !icon->Init(GeGetPluginPath() + "res" + "Tarnwick.tif", 1.0))
		BaseBitmap::Free(icon);

	const String name = GeLoadString(STR_TARNWICK);
	const bool ok = RegisterCommandPlugin(TARNWICK_COMMAND_ID, name, 0, icon, name, command);
	BaseBitmap::Free(icon);
	return ok;
}

} // namespace

bool PluginStart()
{
	ChainCrashHandler();
	if (!RegisterManagerCommand())
		return false;
	return true;
}

void PluginEnd()
{
	// The library is closed after this: a handler left pointing into it would crash the host's
	// next crash report, so the chain is put back as it was while it still ends here.
	if (GeGetCrashHandler() == &ForwardCrash)
		GeSetCrashHandler(g_previousCrashHandler);
}

bool PluginMessage(Int32 id, void* data)
{
	return TarnwickPluginMessage(id, data);
}
