// A picture of an open dialog as a user would see it, on the host's picture canvas (the dialog
// painted onto a surface over it, standin/dialog_surface.h).
#pragma once

#include <memory>
#include <string>

#include "picture/canvas.h"

class GeDialog;

namespace standin::dialogs
{

// The dialog painted on a canvas of its size; nullptr with *error when the dialog is not open or
// the canvas cannot be made.
std::unique_ptr<picture::Canvas> PaintDialog(GeDialog* dialog, std::string* error);

} // namespace standin::dialogs
