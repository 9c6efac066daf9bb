// How a freehand stroke follows the mouse: while the path runs on almost straight (the turn at the
// last point is within about 14 degrees) the last point slides along with the cursor instead of
// leaving a point at every mouse step, so straight runs stay two points long.
#pragma once

#include "StrokeTypes.h"

// True when going on from `last` to `cursor` continues the direction previous -> last almost
// straight (the cosine between cursor - last and previous - last is below -0.97).
bool RunsOnStraight(const Vector& previous, const Vector& last, const Vector& cursor);

// Slides the stroke's last point to the cursor when the path runs on straight, else appends the
// cursor as a new point with the next index. False (stroke unchanged) when memory is short.
bool ExtendFreehand(Stroke& stroke, const Vector& cursor);
