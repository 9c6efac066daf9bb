// Host-side control of editor views for the executable, session scripts and tests (not for
// plug-ins): creating views, placing their cameras, and reading what was drawn into them.
#pragma once

#include <string>
#include <vector>

#include "hostapi/view.h"
#include "standin/draw_records.h"

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

// The records of the view's current draw pass, in order: what the last DrawPass drew, and any
// drawing since. A pass keeps at most 1,000,000 records; later calls are counted, not kept.
std::vector<DrawRecord> DrawLog(const BaseDraw* bd);
void ClearDrawLog(BaseDraw* bd);
// Drawing calls a full pass did not keep.
Int64 DrawRecordsDropped(const BaseDraw* bd);

// A draw pass of the view as the host's redraw makes it: the records are emptied, then the active
// tool's Draw (flags TOOLDRAWFLAGS_HIGHLIGHT) fills them afresh. Answers what Draw answered (0 when
// no tool is active). Only the main thread draws; a pass started from within a pass is refused (-1).
Int32 DrawPass(BaseDocument* doc, BaseDraw* bd);

// A drawing context for the object op (its global matrix; identity when op is null).
BaseDrawHelp* AllocDrawHelp(BaseDraw* bd, BaseObject* op);
void FreeDrawHelp(BaseDrawHelp*& bh);

// The view as text: projection, frame, scale and camera matrix.
std::string DescribeView(const BaseDraw* bd);

} // namespace standin
