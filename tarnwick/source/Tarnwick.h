// The manager dialog: the held list, the saved sets and the placement store.
#pragma once

#include "ManagerModel.h"
#include "ModelAutomation.h"
#include "hostapi/dialog.h"

class Tarnwick : public GeDialog
{
public:
	Tarnwick();

	// The held list, placement list and saved sets; the gadgets act on it through its operations.
	ManagerModel model;

private:
	// Scripts and tests reach the same model through the plug-in's automation message.
	AutomationAttachment _automation{&model};
};
