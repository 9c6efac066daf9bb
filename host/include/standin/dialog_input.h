// Where a plug-in dialog's mouse and keyboard state come from when the plug-in polls it
// (GeDialog::GetInputState, a user area's or tree's drag loop). The scripted user of the session's
// dialog verbs answers by default; a window system's events can plug in here later without any
// change to the plug-ins that poll.
#pragma once

#include "hostapi/types.h"

class GeDialog;

namespace standin::dialogs
{

// The mouse as a dialog sees it, in the dialog's own pixels.
struct MouseState
{
	Int32 x = 0, y = 0;
	bool down = false;  // the left button is held
	Int32 qualifier = 0; // QSHIFT | QCTRL | QALT held
};

class DialogInput
{
public:
	virtual ~DialogInput() = default;
	// The mouse now; a poll inside a plug-in's drag loop may move the pointer on.
	virtual MouseState PollMouse(GeDialog* dialog) = 0;
	// The dialog drops the input events still queued for it.
	virtual void DropEvents(GeDialog* dialog) = 0;
};

// The input the host reads now; the scripted one when none is plugged in.
DialogInput& CurrentDialogInput();
// Plugs an input in (nullptr: the scripted one again); answers the one it replaces (nullptr when
// that was the scripted one).
DialogInput* UseDialogInput(DialogInput* input);

} // namespace standin::dialogs
