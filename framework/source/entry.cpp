// The plug-in's single exported entry: the host's messages dispatched to PluginStart, PluginEnd
// and PluginMessage, with the initialise/end reference counting of the binding.
#include <cstdint>

#include "binding.h"
#include "hostapi/plugin.h"
#include "hostapi/resource.h"

namespace
{

// Successful initialisations not yet matched by an end. Only the first sets the record up and
// only the end that brings the count back to 0 tears it down, so a host that enters twice gets
// one start-up and one shutdown.
Int32 g_initCount = 0;

Int32 Initialise(const void* p1, const void* p2)
{
	const auto* info = static_cast<const HostEntryInfo*>(p1);
	const auto* folder = static_cast<const char*>(p2);
	if (!info || info->version < HOST_API_VERSION)
		return -3;
	if (!folder || !*folder)
		return -3;
	// A refused call is not counted: otherwise a later, valid initialise would answer 1 without
	// ever setting up the resource record.
	if (++g_initCount == 1)
		binding::SetPluginFolder(folder);
	return 1;
}

Int32 End()
{
	// An end without a matching initialise has nothing to undo.
	if (g_initCount <= 0)
		return 1;
	if (--g_initCount == 0)
	{
		PluginEnd();
		g_resource.Free();
		binding::ForgetPluginFolder();
	}
	return 1;
}

} // namespace

extern "C" __attribute__((visibility("default"))) Int32 c4d_main(Int32 action, void* p1, void* p2, void* p3)
{
	(void)p3;
	switch (action)
	{
		case ENTRY_INIT:
			return Initialise(p1, p2);
		case ENTRY_START:
			// Without a resource record the plug-in has nothing to register from.
			if (g_initCount <= 0)
				return 0;
			return PluginStart() ? 1 : 0;
		case ENTRY_END:
			return End();
		case ENTRY_VERSION:
			return 5;
		case ENTRY_MESSAGE:
			return PluginMessage(static_cast<Int32>(reinterpret_cast<std::intptr_t>(p1)), p2) ? 1 : -1;
		default:
			return -1;
	}
}
