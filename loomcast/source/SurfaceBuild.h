// The parts of the surface build that work with the host: sampling strokes into grid rows,
// writing the grid's quads, and the guide splines.
#pragma once

#include "HostHandle.h"
#include "StrokeTypes.h"
#include "SurfaceGrid.h"
#include "hostapi/objects.h"

class BaseDocument;

// Samples the stroke at n >= 2 points evenly spaced by length (unit offsets j / (n - 1)) along the
// spline the host's resampling makes from it (2 x segments points). row[0] and row[n - 1] are the
// stroke's own end points, exactly. False when the stroke has no points, the host refuses or
// memory is short.
bool SampleStroke(BaseDocument* doc, const Stroke& stroke, Int32 segments, Int32 n, Vector* row);

// Writes one quad per grid cell into op through the host's modelling kernel: a new point (mapped
// by toObject) for every cell without a mesh point, the mesh's own point for the others. With
// flip every quad runs the other way round. False, with op unchanged, when the kernel refuses.
bool WriteGridQuads(PolygonObject* op, const SurfaceGrid& grid, const Matrix& toObject, bool flip);

// Guide splines for a spline deformer below the output: the knot rows (k x n, world space) joined
// with the guide curves of earlier builds into one "OrgSpline", and its copy "TgSpline", both
// placed with the frame mg and linked from the deformer. They are made before the surface is
// written and placed after it, so a build whose guide splines cannot be made changes nothing.
class GuideSplines
{
public:
	// Makes the two curves (and the deformer when output has none; output is nullptr for a new
	// object) without touching the scene. False when the host refuses a step.
	bool Make(BaseDocument* doc, BaseObject* output, const Vector* knots, Int32 k, Int32 n, const Matrix& mg);
	// Puts them below output's deformer in place of its children; cannot fail once Make succeeded
	// for this output (or for nullptr, and output is the new object).
	void Place(BaseObject* output);

private:
	HostHandle<BaseObject> _freshDeformer;
	HostHandle<BaseObject> _original;
	HostHandle<BaseObject> _target;
	Matrix _mg;
};
