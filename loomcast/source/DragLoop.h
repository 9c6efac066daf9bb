// The modal loop every drag operation runs: the drag starts with the pressed button, each step
// that moves adds its deltas to the mouse position (mx, my), calls the operation and redraws the
// active view; the answer is whether the drag finished normally (false: escaped).
#pragma once

#include "hostapi/document.h"
#include "hostapi/input.h"

template <typename Step>
bool RunDragLoop(EditorWindow* win, Int32 button, Float x, Float y, Float* mx, Float* my, Step step)
{
	*mx = x;
	*my = y;
	win->MouseDragStart(button, x, y, MOUSEDRAGFLAGS_DONTHIDEMOUSE | MOUSEDRAGFLAGS_NOMOVE);
	Float dx = 0.0, dy = 0.0;
	BaseContainer channels;
	while (win->MouseDrag(&dx, &dy, &channels) == MOUSEDRAGRESULT_CONTINUE)
	{
		if (dx == 0.0 && dy == 0.0)
			continue;
		*mx += dx;
		*my += dy;
		step(*mx, *my);
		DrawViews(DRAWFLAGS_TOOL_REDRAW);
	}
	return win->MouseDragEnd() == MOUSEDRAGRESULT_FINISHED;
}
