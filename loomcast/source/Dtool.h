// The geometry services of the stroke tool. DTOOL keeps no state of its own: the tool and the
// worker threads make one wherever they need a service.
#pragma once

#include "StrokeTypes.h"
#include "hostapi/document.h"

// View picking, stroke placement and edge chains.
#include "EdgeChains.h"
#include "EdgeLine.h"
#include "hostapi/view.h"

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

	// ---- View picking and stroke placement ----------------------------------------------------
	// Mouse positions are real pixel coordinates; the host's pixel tests take them truncated toward
	// zero (values beyond the screen's reach are clamped first, NaN counts as 0).

	// The nearest object under the pixel other than `exclude`, with its depth; nullptr when none.
	BaseObject* ObjectUnderCursor(BaseDocument* doc, BaseDraw* bd, Float x, Float y, BaseObject* exclude, Float* depth);
	bool IsObjectUnderCursor(BaseDocument* doc, BaseDraw* bd, Float x, Float y, BaseObject* op);
	// Depth of the nearest object under the pixel; defaultDepth when none; 0 when the host cannot
	// make its object list.
	Float DepthUnderCursor(BaseDocument* doc, BaseDraw* bd, Float x, Float y, Float defaultDepth);
	// True when the view's pick test accepts p at the mouse pixel or one of 24 pixels around it.
	bool PointNearPixel(BaseDraw* bd, const Vector& p, Float x, Float y);
	// True when the pick test accepts p along a cross and a diagonal of radius LOOM_RADIUS pixels.
	bool PointNearCross(const BaseContainer& settings, BaseDraw* bd, const Vector& p, Float x, Float y);
	// The first point of op's selected edges under the mouse: *pos (world) and *found = 1, true.
	// fineTest visits every selected edge with PointNearPixel; otherwise only while op is under
	// the mouse, with PointNearCross. Outputs untouched when nothing is found.
	bool SelectedEdgePointUnderCursor(BaseDocument* doc, BaseDraw* bd, PolygonObject* op, const BaseContainer& settings, Float x, Float y, bool fineTest, Vector* pos, Int32* found);
	// Where a new stroke point under the mouse goes; *depth is read as the current depth and
	// receives the depth used (except when the work-plane point itself is the answer).
	Vector StrokeDepthPoint(BaseDocument* doc, BaseDraw* bd, const BaseContainer& settings, Float x, Float y, const Stroke* strokes, Int32 strokeCount, Float* depth);
	// The point under the mouse on the document's work plane (looking down), or on snapped geometry
	// (looking up); the point 500 deep under the mouse when neither gives one.
	Vector WorkPlanePoint(BaseDocument* doc, BaseDraw* bd, Float x, Float y);
	// p with its height over the work plane replaced by the reference's.
	Vector AlignToWorkPlaneHeight(BaseDocument* doc, const Vector& p, const Vector& reference);
	// Turns anchor->moving onto the nearest multiple of `step` (radians) in the x-z plane of
	// `reference`, keeping its length; *angle receives the snapped angle (radians). Answers the new
	// moving point, which is also written back. A step that is 0 or not finite changes nothing.
	Vector SnapDirection(Vector& moving, const Vector& anchor, Float step, const Matrix& reference, Float* angle);
	// newPos on the local axes of op that LOOM_USE_X/Y/Z allow, oldPos on the others.
	Vector ApplyAxisLocks(BaseObject* op, const BaseContainer& settings, const Vector& oldPos, const Vector& newPos);
	// "(x;y;z)" in the host's number formatting.
	String VectorText(const Vector& v);
	// Sets the document's snapping up for the tool (radius LOOM_RADIUS, point snapping only).
	void ConfigureSnapping(BaseDocument* doc, const BaseContainer& settings);

	// ---- Selected edge chains and edge lines ----------------------------------------------------
	// Border runs of op's selected edges (op a polygon object, doc in edge mode).
	bool BuildEdgeChains(EdgeChains& chains, BaseDocument* doc, BaseObject* op);
	void ClearEdgeChains(EdgeChains& chains);
	// The polyline along op's selected edges from the free end nearest to the world point p.
	bool BuildEdgeLine(EdgeLineData& line, PolygonObject* op, const Vector& p);
	void ClearEdgeLine(EdgeLineData& line);
	// The free end of a selected edge run under the mouse: *pos (world), *found = 1, *point.
	bool OpenEndUnderCursor(PolygonObject* op, BaseDraw* bd, Float x, Float y, Vector* pos, Int32* found, Int32* point);
	// False when the first polygon on edge a-b holds the points in the order b, a; true otherwise.
	bool EdgeRunsForward(Int32 a, Int32 b, PolygonObject* op);

	// ---- Surface sampling (safe on worker threads while the main thread waits) ------------------
	// Where the active view's line of sight through the world point first meets target (or the
	// polygon object its surface proxy tag names), seen from the camera: *point becomes the hit
	// (world) and *polygon the hit polygon, true. False, both unchanged, on a miss, without a view,
	// or for a target without polygons.
	bool ProjectThroughView(BaseDocument* doc, Vector* point, Int32* polygon, BaseObject* target);
	// The texture coordinate (U in x, V in y, z 0) of op's surface at the world point hit, which
	// lies on polygon p. True with *uv written when one was found; false (and *uv unchanged)
	// without a UVW tag, for a polygon index outside op or a degenerate polygon.
	bool UVAtSurfacePoint(const PolygonObject* op, Int32 p, const Vector& hit, Vector* uv);
	// A new polygon object (the caller frees it) holding source's current geometry with its
	// children's, points in world space, identity matrix; nullptr when the host refuses a step.
	PolygonObject* FlattenedCopy(BaseDocument* doc, BaseObject* source);
};
