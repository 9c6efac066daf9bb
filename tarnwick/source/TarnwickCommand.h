// The command that opens the manager dialog. The dialog is a member, so there is exactly one
// manager window per run, living as long as the command the host holds.
#pragma once

#include "Tarnwick.h"
#include "hostapi/plugin.h"

constexpr Int32 TARNWICK_COMMAND_ID = 1039103;

class TarnwickCommand : public CommandData
{
public:
	bool Execute(BaseDocument* doc) override;
	Int32 GetState(BaseDocument* doc) override;
	bool RestoreLayout(void* secret) override;

	Tarnwick& GetDialog() { return _dialog; }

private:
	Tarnwick _dialog;
};
