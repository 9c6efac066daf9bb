// The manager dialog: the held list, the saved sets and the placement store.
#pragma once

#include "hostapi/dialog.h"

class Tarnwick : public GeDialog
{
public:
	Tarnwick();
};
