// The host's viewport selection service: which element of one object lies under a pixel of a
// view. It is made over a frame of the view for one object and one element kind, and answers the
// nearest element to a pixel within a radius.
#pragma once

#include "hostapi/objects.h"
#include "hostapi/view.h"

// Flags of ViewportSelect::Init.
enum : Int32
{
	VIEWPORTSELECTFLAGS_USE_HN = 2,      // honour the object's hidden elements
	VIEWPORTSELECTFLAGS_USE_DEFORMERS = 8,
};

class ViewportSelect
{
public:
	static ViewportSelect* Alloc();
	static void Free(ViewportSelect*& vs);

	// Prepares the service for op (a polygon object) in the document's mode `mode` (only the edge
	// mode, 6, is served) over a width x height frame of bd. With onlyVisible, an element hidden
	// behind geometry of any object in the document is never offered. False for anything else.
	bool Init(Int32 width, Int32 height, BaseDraw* bd, BaseObject* op, Int32 mode, bool onlyVisible, Int32 flags);
	// The edge (4 * polygon + side, side 0..3 naming a-b, b-c, c-d, d-a) whose line on screen
	// passes nearest to pixel (x, y), within radius pixels; false when none does. Equal distances
	// go to the lower edge number.
	bool GetNearestEdge(Int32 x, Int32 y, Int32 radius, Int32* edge) const;

protected:
	ViewportSelect() = default;
	~ViewportSelect() = default;
};
