// The one entry through which the tool runs the projection post-pass (the surface build and the
// polygon split both): the control thread over the polygons [first, end) of mesh, started and
// awaited on the calling thread, its read-out written into the tool's result setting.
#pragma once

#include "hostapi/container.h"
#include "hostapi/document.h"

// picked: what the mesh is wrapped onto (nullptr: no surface projection); textureSource: what its
// corners take their texture coordinates from (nullptr: no texture transfer). Without either the
// read-out is the plain one and nothing runs. With a texture source a mesh without a UVW tag is
// given one first. The mesh gets the change message either way.
void RunProjectionPass(BaseDocument* doc, BaseContainer& settings, PolygonObject* mesh, BaseObject* picked, BaseObject* textureSource,
	Int32 first, Int32 end);

// The object the result's corners take their texture coordinates from: the picked object when
// setting 3015 is on and the picked object carries a UVW tag holding data; nullptr otherwise. (A
// picked object with a surface proxy tag is sampled through its proxy, which the workers resolve.)
BaseObject* TextureSourceOf(BaseObject* picked, const BaseContainer& settings);
