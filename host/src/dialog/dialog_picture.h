// A picture of an open dialog as a user would see it: every shown gadget with its caption and
// state (disabled ones greyed), user areas and tree cells from the plug-in's own draw calls, icons
// with their pixels. Drawn through the host's picture canvas.
#pragma once

#include <memory>
#include <string>

#include "picture/canvas.h"

class GeDialog;

namespace standin::dialogs
{

// nullptr with *error when the dialog is not open or the canvas cannot be made.
std::unique_ptr<picture::Canvas> PaintDialog(GeDialog* dialog, std::string* error);

} // namespace standin::dialogs
