#include "ToolRules.h"

#include "ToolSettings.h"
#include "hostapi/input.h"

void HidingRules(const BaseContainer& settings, HidingRule (&rules)[HIDING_RULE_COUNT])
{
	const bool freehand = settings.GetInt32(LOOM_STROKE_STYLE) == LOOM_STYLE_FREEHAND;
	const bool splitting = settings.GetInt32(LOOM_SURFACE_MODE) == LOOM_MODE_POLYGON_SPLIT;
	Int32 n = 0;
	// The straight-line group only for straight lines, the freehand point count only for freehand.
	rules[n++] = {LOOM_LINE_GROUP, freehand};
	rules[n++] = {LOOM_FREEHAND_POINTS, !freehand};
	rules[n++] = {LOOM_PLANE_INFO, true};
	rules[n++] = {LOOM_RESERVED, true};
	// Guide splines and the surface group belong to new surfaces, the split options to splitting.
	rules[n++] = {LOOM_GUIDE_SPLINES, splitting};
	rules[n++] = {LOOM_SPLIT_OPTIONS, !splitting};
	rules[n++] = {LOOM_SURFACE_GROUP, splitting};
}

Enabling EnablingRule(Int32 id, const BaseContainer& settings, const EnablingState& state)
{
	const Int32 mode = settings.GetInt32(LOOM_SURFACE_MODE);
	auto when = [](bool on) { return on ? Enabling::Enabled : Enabling::Disabled; };
	switch (id)
	{
		case LOOM_STROKE_SEGMENTS:
		case LOOM_SPAN_SEGMENTS:
			return when(mode == LOOM_MODE_NEW_SURFACE);
		case LOOM_CREATE:
			return when(mode == LOOM_MODE_NEW_SURFACE && state.strokeCount > 0);
		case LOOM_PLANE_AXIS:
		case LOOM_PLANE_SOLID:
			return when(state.planeObjectExists);
		case LOOM_UV_FROM_SOURCE:
			return when(mode != LOOM_MODE_POLYGON_SPLIT || state.dragOp != 0);
		case LOOM_STROKE_STYLE:
			// The style cannot change under an edge line that a stroke is being drawn along.
			return when(state.edgeLineEmpty);
		case LOOM_SURFACE_MODE:
			// Strokes drawn for one mode mean nothing in the other.
			return when(state.strokeCount <= 0);
		case LOOM_SPLIT_GROUP:
			return when(mode != LOOM_MODE_NEW_SURFACE);
		default:
			return Enabling::HostDefault;
	}
}

Int32 DragOpForQualifiers(Int32 qualifiers, Int32 surfaceMode)
{
	switch (qualifiers & (QSHIFT | QCTRL | QALT))
	{
		case QCTRL:
			return DRAGOP_POINT_MOVE;
		case QSHIFT:
			if (surfaceMode == LOOM_MODE_NEW_SURFACE)
				return DRAGOP_EDIT_RADIUS;
			if (surfaceMode == LOOM_MODE_POLYGON_SPLIT)
				return DRAGOP_POLYGON_SPLIT;
			return DRAGOP_DRAW;
		case QALT:
			return DRAGOP_EDGE_SELECT;
		case QSHIFT | QCTRL:
			return DRAGOP_POINT_ERASE;
		case QCTRL | QALT:
			return DRAGOP_ADJUST_POINTS;
		case QSHIFT | QALT:
			return DRAGOP_ADD_POINTS;
		default:
			return DRAGOP_DRAW;
	}
}
