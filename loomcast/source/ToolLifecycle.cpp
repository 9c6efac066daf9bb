// The tool becoming active, being left, and Escape.
#include "LoomSurface.h"

#include "ToolDefaults.h"
#include "ToolSettings.h"
#include "hostapi/input.h"

bool LoomS::InitTool(BaseDocument* doc, BaseContainer& data, BaseThread* bt)
{
	(void)doc;
	(void)bt;
	// Point Move always starts from the plain linear falloff.
	return SetFalloffDefault(data);
}

void LoomS::FreeTool(BaseDocument* doc, BaseContainer& data)
{
	if (doc)
		ResetStrokes();
	DescriptionToolData::FreeTool(doc, data);
}

bool LoomS::KeyboardInput(BaseDocument* doc, BaseContainer& data, BaseDraw* bd, EditorWindow* win, const BaseContainer& msg)
{
	(void)doc;
	(void)data;
	(void)bd;
	(void)win;
	if (msg.GetInt32(BFM_INPUT_CHANNEL) == KEY_ESC)
	{
		ResetStrokes();
		if (!_edgeLines.IsEmpty())
			ReleaseEdgeLine(_edgeLines);
	}
	// The key is left to the host, which may want Escape as well.
	return false;
}
