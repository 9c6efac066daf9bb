// What the dialog verbs share: the dialog a script acts on (the most recently opened window) and
// how a gadget is named.
#pragma once

#include <string>

#include "session/session.h"

class GeDialog;
class BaseList2D;

namespace standin::session
{

// The open dialog the verbs act on; false with *error when none is open.
bool CurrentDialog(GeDialog** dialog, std::string* error);
// A gadget ID word.
bool ParseGadget(const std::string& word, Int32* id, std::string* error);

} // namespace standin::session
