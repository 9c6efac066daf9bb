// Geometry of the host's primitive objects, used by MakePrimitive and by "current state to
// object" on a primitive generator.
#pragma once

#include <string>

#include "hostapi/objects.h"

namespace modeling
{

// Parameters of the cube and plane generators: edge length / side length, and the plane's
// segment count along each side.
constexpr Int32 kPrimitiveSize = 1100;
constexpr Int32 kPrimitiveSegments = 1102;
constexpr Int32 kMaxPlaneSegments = 1000;
// A sphere is made as a plain polygon object (there is no sphere generator): size is its radius,
// segments the bands from pole to pole (2 .. kMaxPlaneSegments).
constexpr Int32 kSpherePrimitive = 5160;

// Gives a new generator object its default parameters (nothing for other types).
void SetPrimitiveDefaults(Int32 type, BaseContainer& bc);

// A free polygon object with the primitive's geometry: Ocube (8 points, 6 quads, edge length
// size, centred) or Oplane (size x size in the X-Z plane, segments x segments quads, normal +Y).
// nullptr with *error set for other types, sizes that are not finite and above 0, or plane
// segment counts outside 1..kMaxPlaneSegments.
PolygonObject* BuildPrimitive(Int32 type, Float size, Int32 segments, std::string* error);

} // namespace modeling
