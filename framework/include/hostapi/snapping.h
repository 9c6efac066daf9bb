// The document's work plane and the host's snapping: settings, modes and the snapping service.
//
// The snapping settings and modes are host facilities known to the plug-ins only by their numbers.
// The host gives them the least behaviour the tools rely on: the settings container stores what is
// written into it; the service moves a point onto the nearest point of the document's polygon
// objects within a pixel radius (entry SNAP_SETTINGS_RADIUS) while snapping as a whole is enabled
// together with at least one of the snap modes below.
#pragma once

#include "hostapi/view.h"

// Host library id under which the work plane is reached.
constexpr Int32 ID_WORKPLANE_LIBRARY = 440000112;

// Snap modes. SNAPMODE_ALL (-1) stands for snapping as a whole.
enum : Int32
{
	SNAPMODE_ALL = -1,
	SNAPMODE_115 = 440000115,
	SNAPMODE_123 = 440000123,
	SNAPMODE_125 = 440000125,
	SNAPMODE_127 = 440000127,
};

// Entries of the snapping settings container.
enum : Int32
{
	SNAP_SETTINGS_RADIUS = 440000120, // pixel radius of the snap search (Int32; 10 when unset)
	SNAP_SETTINGS_121 = 440000121,
	SNAP_SETTINGS_431 = 431000020,
};

// The document's work-plane object; its global matrix is the plane (origin and frame, the plane
// spanned by v1 and v3). nullptr without a document.
BaseObject* GetWorkplaneObject(BaseDocument* doc);

// The document's snapping settings of a set (-1: the settings shared by all snap modes).
BaseContainer GetSnapSettings(BaseDocument* doc, Int32 set = -1);
void SetSnapSettings(BaseDocument* doc, const BaseContainer& settings, Int32 set = -1);

// Whether a snap mode (SNAPMODE_ALL: snapping as a whole) is switched on for the document.
bool IsSnapEnabled(BaseDocument* doc, Int32 mode = SNAPMODE_ALL);
void EnableSnap(bool on, BaseDocument* doc, Int32 mode = SNAPMODE_ALL);

struct SnapResult
{
	Vector delta;        // what to add to the point to reach the snapped position
	Int32 snapmode = 0;  // the mode that snapped
	BaseObject* target = nullptr; // the object snapped to
	Int32 component = -1; // the point index snapped to
};

class SnapCore
{
public:
	static SnapCore* Alloc();
	static void Free(SnapCore*& snap);

	// Binds the service to a document and one of its views; false when either is missing.
	bool Init(BaseDocument* doc, BaseDraw* bd);
	// Snaps a world point: true with result.delta set when a snap target was found.
	bool Snap(const Vector& p, SnapResult& result);

protected:
	SnapCore() = default;
	~SnapCore() = default;
};
