// What the dialog verbs share: the dialog a script acts on (the most recently opened window), and
// the host's handling of the update events an action posted.
#pragma once

#include <string>

#include "session/session.h"

class GeDialog;
class BaseList2D;

namespace standin::session
{

// The open dialog the verbs act on; false with *error when none is open.
bool CurrentDialog(GeDialog** dialog, std::string* error);
// After a user's action: when the plug-ins posted update events, the open dialogs hear the host's
// document-changed message, as after any change on screen.
void ProcessEvents(Int64 eventsBefore);
// A gadget ID word.
bool ParseGadget(const std::string& word, Int32* id, std::string* error);

} // namespace standin::session
