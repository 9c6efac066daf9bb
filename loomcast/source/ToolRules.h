// The decisions of the tool's settings panel and input that depend only on a few values: which
// entries are hidden, which are enabled, which drag operation the held keys choose.
#pragma once

#include "hostapi/container.h"

// ---- Hiding --------------------------------------------------------------------------------
struct HidingRule
{
	Int32 id;
	bool hidden;
};

// The entries whose visibility the tool decides, with their state for these settings.
constexpr Int32 HIDING_RULE_COUNT = 7;
void HidingRules(const BaseContainer& settings, HidingRule (&rules)[HIDING_RULE_COUNT]);

// ---- Enabling ------------------------------------------------------------------------------
// What the enabling rules look at besides the settings.
struct EnablingState
{
	Int32 strokeCount = 0;
	Int32 dragOp = 0;
	bool edgeLineEmpty = true;
	bool planeObjectExists = false; // LOOM_PLANE_OBJECT links an object of the document
};

enum class Enabling
{
	HostDefault, // the tool has no rule for the entry
	Enabled,
	Disabled,
};

Enabling EnablingRule(Int32 id, const BaseContainer& settings, const EnablingState& state);

// ---- Drag operations -----------------------------------------------------------------------
enum : Int32
{
	DRAGOP_DRAW = 0,
	DRAGOP_POINT_MOVE = 1,
	DRAGOP_EDIT_RADIUS = 2,
	DRAGOP_EDGE_SELECT = 3,
	DRAGOP_POINT_ERASE = 4,
	DRAGOP_POLYGON_SPLIT = 5,
	DRAGOP_ADJUST_POINTS = 6,
	DRAGOP_ADD_POINTS = 7,
};

// The operation that the held qualifiers (QSHIFT | QCTRL | QALT) choose in a surface mode.
Int32 DragOpForQualifiers(Int32 qualifiers, Int32 surfaceMode);
