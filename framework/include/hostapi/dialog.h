// Dialogs, gadgets, user areas and tree views of the host's headless dialog runtime.
#pragma once

#include "hostapi/container.h"

class GeDialog
{
public:
	virtual ~GeDialog() = default;
	virtual bool CreateLayout() { return true; }
	virtual bool InitValues() { return true; }
	virtual bool Command(Int32 id, const BaseContainer& msg) { (void)id; (void)msg; return true; }
	virtual bool CoreMessage(Int32 id, const BaseContainer& msg) { (void)id; (void)msg; return true; }
	virtual Int32 Message(const BaseContainer& msg, BaseContainer& result) { (void)msg; (void)result; return 0; }
	virtual bool AskClose() { return false; }
	virtual void DestroyWindow() {}
	// Opening, gadgets and layout come with the dialog issue.
};

class GeModalDialog : public GeDialog
{
};

class GeUserArea
{
public:
	virtual ~GeUserArea() = default;
};

class TreeViewFunctions
{
public:
	virtual ~TreeViewFunctions() = default;
};
