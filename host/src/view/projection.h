// The arithmetic of an editor view: camera, frame and projection, without any scene state, so that
// the conversions and the pick test can be reasoned about (and tested) on their own. The
// conventions are the ones documented in hostapi/view.h.
#pragma once

#include "hostapi/vector.h"

namespace standin::view
{

struct Projection
{
	Matrix camera;          // global matrix of the camera; it looks along its +Z axis
	Int32 code = 0;         // 0 perspective, 8 to 11 parallel
	Int32 left = 0, top = 0, right = 639, bottom = 479;
	Float scale = 1.0;      // parallel views: pixels per world unit

	bool IsParallel() const { return code != 0; }
	Int32 Width() const { return right - left + 1; }
	Int32 Height() const { return bottom - top + 1; }
	// The pixel centre that the optical axis passes through.
	Float CentreX() const;
	Float CentreY() const;
	// Pixels per world unit at depth 1 (perspective) or at any depth (parallel).
	Float Focal() const;

	Vector WorldToScreen(const Vector& p) const;
	Vector ScreenToWorld(const Vector& s) const;
	bool PointInPixel(const Vector& p, Int32 x, Int32 y) const;
	// The ray through the centre of pixel (x, y): origin at depth 0, direction reaching depth 1, so
	// that origin + direction * t has depth t.
	void PixelRay(Int32 x, Int32 y, Vector* origin, Vector* direction) const;
};

bool IsValidProjectionCode(Int32 code);
// The camera the views start with: 1000 units back and 500 up from the origin, looking at it.
Matrix DefaultCameraMatrix();

} // namespace standin::view
