// Editor views: camera, projection, coordinate conversion, pick tests and drawing.
//
// Screen conventions of every view:
// - Pixel (x, y) is the unit square centred on the integer screen point (x, y); x grows to the right,
//   y grows downwards. The frame (left, top, right, bottom) names the first and last pixel of each
//   row and column, both inclusive.
// - The camera looks along the +Z axis of its global matrix; its +Y axis is "up" on screen and its +X
//   axis points right. The depth of a world point is its Z coordinate in the camera's space.
// - The optical axis meets the screen at the pixel centre ((left + right + 1) / 2, (top + bottom + 1)
//   / 2), halves rounded down.
// - Perspective (projection 0): the focal length is the frame width (right - left + 1) in pixels, so
//   a point at depth z that lies w units right of the axis is w * width / z pixels right of the axis.
// - Parallel projections (8 to 11): the view's scale (pixels per world unit) maps camera X and Y to
//   pixels; the depth does not move a point on screen.
// - Only what lies in front of the camera (depth > 0) is seen: pick tests and object picking ignore
//   everything else. Parallel views also see their own plane (depth 0).
#pragma once

#include "hostapi/document.h"
#include "hostapi/input.h"

// Projection codes of a view.
enum : Int32
{
	Pperspective = 0,
	Pparallel_first = 8, // 8 to 11: parallel views
	Pparallel_last = 11,
};

// Handle kinds of DrawHandle.
enum : Int32
{
	DRAWHANDLE_SMALL = 1,
	DRAWHANDLE_BIG = 3,
};

// Answers of DrawPolygonObject.
enum : Int32
{
	DRAWRESULT_ERROR = 0,
	DRAWRESULT_OK = 1,
	DRAWRESULT_SKIP = 2,
};

class BaseDrawHelp;

class BaseDraw : public BaseList2D
{
public:
	// The pixel frame of the view (inclusive bounds). Null pointers are skipped.
	void GetFrame(Int32* left, Int32* top, Int32* right, Int32* bottom) const;
	// 0 for perspective, 8 to 11 for the parallel views.
	Int32 GetProjection() const;
	// True for the parallel projections, where a screen point without depth lies on the view plane.
	bool IsParallelProjection() const;
	// The camera the view renders with: the document's scene camera when the view uses one, else
	// the view's own editor camera. Never nullptr.
	BaseObject* GetSceneCamera(const BaseDocument* doc) const;
	// The view's own camera object (its global matrix places the camera).
	BaseObject* GetEditorCamera() const;

	// World to screen: x, y in pixels (real numbers), z the depth.
	Vector WS(const Vector& p) const;
	// Screen to world: (x, y) in pixels, z the depth; the inverse of WS.
	Vector SW(const Vector& p) const;
	// The pick test: true when the world point is seen (above) and projects into pixel
	// (x, y), that is, its screen position rounds (half up) to x and y.
	bool PointInRange(const Vector& p, Int32 x, Int32 y) const;

	// Drawing. The view records every call in its draw log (inspectable by the host's tools).
	void SetPen(const Vector& color);
	// Points of the following 3D calls are mapped by mg (op is the object being drawn, may be null).
	void SetMatrix_Matrix(BaseObject* op, const Matrix& mg);
	void DrawLine(const Vector& a, const Vector& b, Int32 flags = 0);
	void DrawHandle(const Vector& p, Int32 kind, Int32 flags = 0);
	void DrawCircle2D(Int32 x, Int32 y, Float radius);
	void DrawHUDText(Int32 x, Int32 y, const String& text);
	// Draw parameters: a value per id; an id never set reads as DA_NIL.
	void SetDrawParam(Int32 id, const GeData& value);
	GeData GetDrawParam(Int32 id) const;
	// Draws a whole object (its points and polygons at its global matrix) in a colour.
	Int32 DrawPolygonObject(BaseDrawHelp* bh, BaseObject* op, Int32 flags, const Vector& color);

protected:
	BaseDraw() = default;
};

// Per-object drawing context handed to Draw calls.
class BaseDrawHelp
{
public:
	// The global matrix of the object being drawn (the identity when drawing the scene as a whole).
	Matrix GetMg() const;
	BaseDraw* GetBd() const;

protected:
	BaseDrawHelp() = default;
	~BaseDrawHelp() = default;
};

