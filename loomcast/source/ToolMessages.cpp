// What the settings panel tells the tool: buttons, the end of an interaction, changed settings.
#include "Dtool.h"
#include "LoomSurface.h"
#include "ToolSettings.h"
#include "hostapi/description.h"
#include "hostapi/input.h"

namespace
{
// A changed setting may leave others inconsistent; this puts them right, in a fixed order.
void CheckSettings(BaseDocument* doc, BaseContainer& data)
{
	// The texture source must carry texture coordinates, or it is no source at all.
	BaseList2D* source = data.GetLink(LOOM_UV_SOURCE, doc);
	if (source && (!source->IsInstanceOf(Obase) || !static_cast<BaseObject*>(source)->GetTag(Tuvw)))
	{
		data.SetLink(LOOM_UV_SOURCE, nullptr);
		data.SetBool(LOOM_UV_FROM_SOURCE, false);
	}
	const Int32 threads = GeGetCurrentThreadCount();
	if (data.GetInt32(LOOM_THREADS) > threads)
		data.SetInt32(LOOM_THREADS, threads);
	if (data.GetBool(LOOM_EVEN_SPLITS))
		DTOOL().SpaceGradientKnots(data);
	// Splitting works on selected edges, so the document goes to edge mode with it.
	if (doc && data.GetInt32(LOOM_SURFACE_MODE) == LOOM_MODE_POLYGON_SPLIT && doc->GetMode() != Medges)
		doc->SetMode(Medges);
	DrawViews(DRAWFLAGS_TOOL_REDRAW);
}
} // namespace

bool LoomS::Message(BaseDocument* doc, BaseContainer& data, Int32 type, void* t_data)
{
	switch (type)
	{
		case MSG_DESCRIPTION_COMMAND:
		{
			const auto* command = static_cast<const DescriptionCommand*>(t_data);
			if (!command)
				break;
			const Int32 button = command->id[0].id;
			if (button == LOOM_CREATE)
				BuildSurface(doc, data);
			else if (button == LOOM_UPDATE)
				EventAdd();
			break;
		}
		case MSG_DESCRIPTION_USERINTERACTION_END:
			DrawViews(DRAWFLAGS_TOOL_REDRAW);
			EventAdd();
			break;
		case MSG_DESCRIPTION_CHECKUPDATE:
			CheckSettings(doc, data);
			break;
		case MSG_TOOL_INSPECT:
			if (auto* text = static_cast<String*>(t_data))
				*text = DescribeStrokes();
			break;
		case MSG_TOOL_INSPECT_CURSOR:
			if (auto* text = static_cast<String*>(t_data))
				*text = DescribeCursor();
			break;
		default:
			break;
	}
	return true;
}
