// A modal dialog takes the answer queued for it: the actions a user takes in it, in order.
#pragma once

#include "dialog/dialog_state.h"

namespace standin::dialogs
{

// Runs the next queued modal answer against the open modal dialog; nothing queued leaves it open
// (the caller cancels it). Actions that cannot be done are logged and the rest skipped.
void RunModalAnswer(DialogState& state);

} // namespace standin::dialogs
