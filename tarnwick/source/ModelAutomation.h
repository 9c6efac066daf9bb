// Drives the manager's model operations from outside the dialog: the host sends the plug-in message
// MODEL_AUTOMATION_MESSAGE (the command's own ID) with a BaseContainer that names an operation and
// its arguments, and gets the outcome back in the same container. Session scripts and end-to-end
// tests use it; the dialog's gadgets call the same ManagerModel operations directly.
#pragma once

#include "hostapi/container.h"

class ManagerModel;

constexpr Int32 MODEL_AUTOMATION_MESSAGE = 1039103;

// Keys of the request and reply container.
enum : Int32
{
	AUTOMATION_OPERATION = 1, // Int32, one of the operations below
	AUTOMATION_NUMBER = 2,    // Int32: set number for load
	AUTOMATION_TEXT = 3,      // String: set name for save, caption for open
	AUTOMATION_LINK_COUNT = 10,
	AUTOMATION_LINK_FIRST = 100, // links to the elements to gather, one key each from here on

	AUTOMATION_RESULT = 1000,  // Bool: the operation succeeded
	AUTOMATION_WRITTEN = 1001, // Bool: save wrote the set file
	AUTOMATION_REPORT = 1002,  // String: the model as text after the operation
};

enum : Int32
{
	AUTOMATION_OPEN = 1,       // what opening the dialog does: read the set file, no current set
	AUTOMATION_GATHER = 2,     // add the linked elements to the held list
	AUTOMATION_SAVE_SET = 3,   // save the held list as a new set named AUTOMATION_TEXT
	AUTOMATION_LOAD_SET = 4,   // load set AUTOMATION_NUMBER (0: none)
	AUTOMATION_REMOVE_SET = 5, // remove the current set
	AUTOMATION_UPDATE_SET = 6, // update the current set from the held list
	AUTOMATION_REFRESH = 7,    // a document change: refresh the held list, then prune the sets
	AUTOMATION_DESCRIBE = 8,   // only the report
};

// The model automation acts on (the one the manager dialog owns); nullptr detaches it.
void SetAutomationModel(ManagerModel* model);
// Detaches the model if it is the attached one.
void DetachAutomationModel(ManagerModel* model);

// Attaches a model to automation for as long as the attachment lives (a member of its owner,
// declared after the model).
class AutomationAttachment
{
public:
	explicit AutomationAttachment(ManagerModel* model) : _model(model) { SetAutomationModel(model); }
	~AutomationAttachment() { DetachAutomationModel(_model); }
	AutomationAttachment(const AutomationAttachment&) = delete;
	AutomationAttachment& operator=(const AutomationAttachment&) = delete;

private:
	ManagerModel* _model;
};

// Runs the request in `data` (a BaseContainer*). False for a malformed request or without a model.
bool HandleModelAutomation(void* data);
