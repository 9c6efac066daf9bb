// The picture of an editor view: the document's polygon objects (shaded or as wireframe, with the
// object, polygon, edge and point selections visible), then the records of a fresh draw pass in
// their pens, anti-aliased, with readable text over all of them.
#pragma once

#include <memory>
#include <span>
#include <string>
#include <vector>

#include "hostapi/view.h"
#include "picture/canvas.h"
#include "standin/draw_records.h"

namespace standin::picture
{

struct ViewPictureOptions
{
	// 0: the view's own frame; otherwise the picture's size, the view's frame set to it for the pass
	// (and restored afterwards).
	Int32 width = 0;
	Int32 height = 0;
};

// Draws the view into a new canvas of its frame's (or the given) size. False with *error when the
// size is refused or the canvas cannot be made.
bool RenderView(BaseDocument* doc, BaseDraw* bd, const ViewPictureOptions& options, std::unique_ptr<Canvas>* out, std::string* error);

// The scene part alone, and the records part alone, onto an existing canvas whose pixel (0, 0) is
// the view frame's top-left pixel.
void PaintScene(BaseDocument* doc, BaseDraw* bd, Canvas& canvas);
void PaintRecords(BaseDraw* bd, std::span<const DrawRecord> records, Canvas& canvas);

} // namespace standin::picture
