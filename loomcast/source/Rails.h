// Rails: border chains that run beside the strokes. The grid takes one row per rail point, each
// knot row (a stroke, or the closing chain) sits on the rail point it starts at, and the grid's
// columns on a rail reuse the mesh's own points, so the new surface joins the border.
#pragma once

#include "Attachment.h"
#include "SurfaceGrid.h"

// The grid row of each knot row (knots: k x columns, row-major) along the rail: the position in
// the rail's run whose point equals the row's first sample exactly, searched on from the previous
// row's position. False when a row's start is not further along the rail, when the first row does
// not start the rail, or when the last row does not end it.
bool RowsAlongRail(const ChainSet& chains, const ChainRun& rail, const Vector* knots, Int32 k, Int32 columns, Int32* rowOf);

// Writes the chains' points (world position and mesh point index) into the grid cells that lie on
// them: the rail columns (column 0 for the first rail, the last column for the second), the
// closing chain as the last row, the outer chains as the first and last rows. False, with the
// grid unchanged, when a run does not have exactly as many points as the grid side it fills.
bool PlaceChainPoints(const ChainSet& chains, const Attachment& at, SurfaceGrid& grid);
