// The tool snaps to points only, within its own pick radius.
#include "Dtool.h"

#include "ToolSettings.h"
#include "hostapi/snapping.h"

void DTOOL::ConfigureSnapping(BaseDocument* doc, const BaseContainer& settings)
{
	if (!doc)
		return;
	BaseContainer snap = GetSnapSettings(doc, SNAPMODE_ALL);
	snap.SetInt32(SNAP_SETTINGS_121, 0);
	snap.SetInt32(SNAP_SETTINGS_431, 0);
	snap.SetInt32(SNAP_SETTINGS_RADIUS, settings.GetInt32(LOOM_RADIUS, 10));
	EnableSnap(false, doc, SNAPMODE_127);
	EnableSnap(true, doc, SNAPMODE_125);
	EnableSnap(false, doc, SNAPMODE_115);
	EnableSnap(false, doc, SNAPMODE_123);
	SetSnapSettings(doc, snap, SNAPMODE_ALL);
}
