#include "PluginMessages.h"

#include <cstring>

#include "hostapi/console.h"
#include "hostapi/resource.h"

void HandleCommandLine(PLUGINMSG_CommandLineArgs* args)
{
	if (!args || !args->argv)
		return;
	for (Int32 i = 0; i < args->argc; ++i)
	{
		char* arg = args->argv[i];
		if (!arg || arg[0] == '\0')
			continue;
		if (std::strcmp(arg, "--help") == 0 || std::strcmp(arg, "-help") == 0)
		{
			GePrint("\x01-SDK is here :-)");
		}
		else if (std::strcmp(arg, "-SDK") == 0)
		{
			// Emptied so the host does not report it as an argument nobody handled.
			arg[0] = '\0';
			GePrint("\x01-SDK executed:-)");
		}
		else if (std::strcmp(arg, "-plugincrash") == 0)
		{
			arg[0] = '\0';
		}
	}
}

void HandleEditImage(const PLUGINMSG_EditImage* image)
{
	if (!image || image->return_processed)
		return;
	GePrint(String("C4DSDK - Edit Image Hook: ") + String(image->imagefn));
}

bool TarnwickPluginMessage(Int32 id, void* data)
{
	switch (id)
	{
		case PLUGINMSG_PRIORITY:
			return true;
		case PLUGINMSG_INIT_SYS:
			return g_resource.Init();
		case PLUGINMSG_COMMANDLINEARGS:
			HandleCommandLine(static_cast<PLUGINMSG_CommandLineArgs*>(data));
			return false;
		case PLUGINMSG_EDITIMAGE:
			HandleEditImage(static_cast<const PLUGINMSG_EditImage*>(data));
			return false;
		default:
			return false;
	}
}
