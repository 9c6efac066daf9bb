// The geometry services of the stroke tool. DTOOL keeps no state of its own: the tool and the
// worker threads make one wherever they need a service.
#pragma once

#include "StrokeTypes.h"
#include "hostapi/document.h"

class DTOOL
{
public:
	virtual ~DTOOL() = default;

	// Rebuilds the stroke as the evenly spaced points the host's spline resampling makes from it
	// (setting LOOM_FREEHAND_POINTS points), renumbered from 0 with weight 0 and origin zero.
	// False only when the host command fails; the stroke is then unchanged. When memory for the
	// working spline or the new points is short the stroke is left as it was and the answer is true.
	bool ResampleStroke(BaseDocument* doc, const BaseContainer& settings, Stroke& stroke);

	// Places the knots of the split gradient (LOOM_SPLITS) evenly: knot i of n at (i + 1) / (n + 1).
	// Nothing happens when the setting holds no gradient.
	void SpaceGradientKnots(BaseContainer& settings);

	// The share of gradient segment k in what remains of the unit interval from segment k on,
	// segments taken between the knots in storage order. Always a finite value in [0, 1]:
	// 0 without a gradient, for k outside 0 .. knot count, or when memory is short; 1 when the
	// remainder from segment k on has no positive length (knots piled up at position 1).
	Float GradientSegmentShare(const BaseContainer& settings, Int32 k);
};
