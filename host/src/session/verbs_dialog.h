// What the dialog verbs share: the dialog a script acts on (the most recently opened window) and
// how a gadget is named.
#pragma once

#include <string>
#include <vector>

#include "session/session.h"
#include "standin/dialogs.h"

class GeDialog;
class BaseList2D;

namespace standin::session
{

// The open dialog the verbs act on; false with *error when none is open.
bool CurrentDialog(GeDialog** dialog, std::string* error);
// A gadget ID word.
bool ParseGadget(const std::string& word, Int32* id, std::string* error);
// Draw records as one line: pictures (by file, size and place from x0, y0), texts, fills, check
// boxes, then the number of lines; "-" when nothing was drawn.
std::string DescribeDrawing(const std::vector<dialogs::DrawOp>& ops, Int32 x0, Int32 y0);

} // namespace standin::session
