#include "TarnwickCommand.h"

bool TarnwickCommand::Execute(BaseDocument* doc)
{
	(void)doc;
	return _dialog.Open(DLG_TYPE_ASYNC, TARNWICK_COMMAND_ID, -1, -1, 300, 400, 0);
}

Int32 TarnwickCommand::GetState(BaseDocument* doc)
{
	(void)doc;
	return CMD_ENABLED;
}

bool TarnwickCommand::RestoreLayout(void* secret)
{
	return _dialog.RestoreLayout(TARNWICK_COMMAND_ID, 0, secret);
}
