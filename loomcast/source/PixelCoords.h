// Mouse positions arrive as real numbers; the host's pixel tests want whole pixels.
#pragma once

#include <cmath>

#include "hostapi/types.h"

// Truncates toward zero. Values past +-2^30 (far beyond any screen) are clamped and NaN counts as 0,
// so the conversion and the small offsets added to it afterwards always stay within Int32.
inline Int32 PixelOf(Float v)
{
	constexpr Float limit = 1073741824.0;
	if (std::isnan(v))
		return 0;
	if (v > limit)
		v = limit;
	if (v < -limit)
		v = -limit;
	return static_cast<Int32>(v);
}
