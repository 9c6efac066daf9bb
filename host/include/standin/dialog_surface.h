// What a plug-in dialog is painted onto: the few drawing calls a dialog's picture is made of, in
// the dialog's own pixels (pixel (x, y) is the unit square centred on (x, y)). The PNG picture of
// render-dialog is one such surface; a window that shows the dialog can be another, without any
// change to the plug-ins or to how a dialog is painted.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "hostapi/vector.h"

class GeDialog;

namespace standin::dialogs
{

class DialogSurface
{
public:
	virtual ~DialogSurface() = default;
	// The rectangle of whole pixels from (x, y), w x h.
	virtual void Fill(Int32 x, Int32 y, Int32 w, Int32 h, const Vector& colour) = 0;
	virtual void Line(Float x1, Float y1, Float x2, Float y2, const Vector& colour, Float width) = 0;
	// A filled polygon (fold and combo arrows).
	virtual void Polygon(const std::vector<std::pair<Float, Float>>& points, const Vector& colour) = 0;
	virtual void Circle(Float x, Float y, Float radius, const Vector& colour, Float width) = 0;
	// Text in the dialog font, its top at y.
	virtual void Text(Int32 x, Int32 y, const std::string& text, const Vector& colour) = 0;
	// One pixel (of a picture a plug-in drew).
	virtual void Pixel(Int32 x, Int32 y, const Vector& colour) = 0;
};

// The size of the open dialog's picture; false with *error when it is not open.
bool PictureSize(GeDialog* dialog, Int32* width, Int32* height, std::string* error);
// Paints the open dialog (a surface of PictureSize): every shown gadget with its caption and state,
// user areas and tree cells from the plug-in's own draw calls. False with *error when it is not
// open.
bool PaintDialog(GeDialog* dialog, DialogSurface& surface, std::string* error);

} // namespace standin::dialogs
