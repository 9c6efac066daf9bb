// The document's work plane and its snapping settings and modes.
#include "hostapi/snapping.h"
#include "view/view_data.h"

BaseObject* GetWorkplaneObject(BaseDocument* doc)
{
	standin::view::DocumentViews* views = standin::view::ViewsOf(doc);
	if (!views)
		return nullptr;
	if (!views->workPlane)
	{
		// The ground plane through the origin: its v1-v3 plane is world X-Z, its normal +Y.
		views->workPlane = BaseObject::Alloc(Onull);
		if (views->workPlane)
			views->workPlane->SetName("WorkPlane");
	}
	return views->workPlane;
}

BaseContainer GetSnapSettings(BaseDocument* doc, Int32 set)
{
	standin::view::DocumentViews* views = standin::view::ViewsOf(doc);
	if (!views)
		return BaseContainer();
	const auto it = views->snapSettings.find(set);
	return it == views->snapSettings.end() ? BaseContainer() : it->second;
}

void SetSnapSettings(BaseDocument* doc, const BaseContainer& settings, Int32 set)
{
	if (standin::view::DocumentViews* views = standin::view::ViewsOf(doc))
		views->snapSettings[set] = settings;
}

bool IsSnapEnabled(BaseDocument* doc, Int32 mode)
{
	standin::view::DocumentViews* views = standin::view::ViewsOf(doc);
	if (!views)
		return false;
	const auto it = views->snapModes.find(mode);
	return it != views->snapModes.end() && it->second;
}

void EnableSnap(bool on, BaseDocument* doc, Int32 mode)
{
	if (standin::view::DocumentViews* views = standin::view::ViewsOf(doc))
		views->snapModes[mode] = on;
}
