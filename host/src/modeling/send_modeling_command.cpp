#include <new>

#include "modeling/commands.h"

bool SendModelingCommand(Int32 command, ModelingCommandData& data)
{
	try
	{
		switch (command)
		{
			case MCOMMAND_SPLINE_RESAMPLE: return modeling::ResampleSpline(data);
			case MCOMMAND_JOIN: return modeling::JoinObjects(data);
			case MCOMMAND_CURRENTSTATETOOBJECT: return modeling::CurrentStateToObject(data);
			default: return false;
		}
	}
	catch (const std::bad_alloc&)
	{
		// Every command builds its result aside and commits it last, so nothing changed.
		return false;
	}
}
