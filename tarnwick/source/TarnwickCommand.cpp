#include "TarnwickCommand.h"

bool TarnwickCommand::Execute(BaseDocument* doc)
{
	(void)doc;
	return true;
}
