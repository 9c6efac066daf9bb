// Dialog resources: a plug-in's res/dialogs/<id>.dlg, one gadget a line, built into the group that
// is open when the dialog loads it.
//
//   GROUP <id> <columns> ["title"]   ...   END
//   BUTTON|CHECKBOX|TEXT <id> "caption"     (a caption "@<n>" is resource string n)
//   EDIT|COMBO|LINK|TREE|USERAREA <id> [width height]
//   RADIO <id> <columns>
//   CHILD <id> "caption"                    (a choice of the last combo box or radio group)
//
// Blank lines and # comments are skipped. A malformed line stops the build with a console line
// naming the file and line.
#pragma once

#include <string>

#include "dialog/dialog_state.h"
#include "hostapi/resource.h"

namespace standin::dialogs
{

bool BuildDialogResource(GeDialog& dialog, DialogState& state, Int32 id, const GeResource* resource);
// The same from text (path names it in errors); *error says what was wrong.
bool BuildDialogText(GeDialog& dialog, const std::string& text, const std::string& path, const GeResource* resource, std::string* error);

} // namespace standin::dialogs
