#include "LoomSurface.h"

#include "ToolSettings.h"
#include "hostapi/console.h"
#include "hostapi/resource.h"

LoomS::LoomS()
{
	PrintBanner(GeLoadString(LOOM_STR_HELP) + GeLoadString(LOOM_STR_RELEASE),
		"Draw strokes in the view, then press Create to weave them into a surface.");
}

Int32 LoomS::GetState(BaseDocument* doc)
{
	(void)doc;
	return 1;
}

Int32 LoomS::GetToolPluginId()
{
	return LOOM_TOOL_ID;
}

const String LoomS::GetResourceSymbol()
{
	return "LoomDialog";
}
