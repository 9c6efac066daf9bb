// Host-side control of editor views for the executable, session scripts and tests (not for
// plug-ins): creating views, placing their cameras, and reading what was drawn into them.
#pragma once

#include <string>
#include <vector>

#include "hostapi/view.h"

namespace standin
{

// Adds a view with the given projection (0, 8 to 11) to the document and makes it the active one.
// nullptr with *error set for another code or a missing document. A document that is asked for its
// active view before any was added gets a perspective view with the default camera.
BaseDraw* AddView(BaseDocument* doc, Int32 projection, std::string* error);
Int32 ViewCount(BaseDocument* doc);
BaseDraw* GetView(BaseDocument* doc, Int32 index);
bool SetActiveView(BaseDocument* doc, BaseDraw* bd);

// The camera the views start with: at (0, 500, -1000), looking at the origin.
Matrix DefaultCameraMatrix();
void SetCameraMatrix(BaseDraw* bd, const Matrix& mg);
// false (nothing changed) for codes other than 0 and 8 to 11.
bool SetProjection(BaseDraw* bd, Int32 code);
// false (nothing changed) unless left <= right, top <= bottom and each side at most 16384 pixels.
bool SetFrame(BaseDraw* bd, Int32 left, Int32 top, Int32 right, Int32 bottom);
// Pixels per world unit of the parallel projections; false unless finite and > 0.
bool SetParallelScale(BaseDraw* bd, Float scale);
Float GetParallelScale(const BaseDraw* bd);

// One drawing call as the view recorded it.
struct DrawRecord
{
	enum class Kind
	{
		Pen,           // a = colour
		Matrix,        // m = matrix, object = object (may be null)
		Line,          // a, b = end points, i1 = flags
		Handle,        // a = point, i1 = kind, i2 = flags
		Circle2D,      // i1, i2 = centre pixel, f = radius
		HudText,       // i1, i2 = pixel, text
		DrawParam,     // i1 = id, text = value
		PolygonObject, // object, m = its global matrix, a = colour, i1 = flags, i2 = polygon count
	};
	Kind kind = Kind::Pen;
	Vector a, b;
	Matrix m;
	Int32 i1 = 0, i2 = 0;
	Float f = 0.0;
	std::string text;
	// For comparing only: the object may have been freed since it was drawn.
	BaseObject* object = nullptr;
};

// The view's draw log, oldest first. The log keeps the most recent 100000 records.
std::vector<DrawRecord> DrawLog(const BaseDraw* bd);
void ClearDrawLog(BaseDraw* bd);
// One line of text per record ("line (0;0;0) (1;0;0) flags 0").
std::string DescribeDrawRecord(const DrawRecord& record);

// A drawing context for the object op (its global matrix; identity when op is null).
BaseDrawHelp* AllocDrawHelp(BaseDraw* bd, BaseObject* op);
void FreeDrawHelp(BaseDrawHelp*& bh);

// The view as text: projection, frame, scale and camera matrix.
std::string DescribeView(const BaseDraw* bd);

} // namespace standin
