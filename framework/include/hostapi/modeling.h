// Modelling commands of the host.
#pragma once

#include "hostapi/document.h"

enum : Int32
{
	MCOMMAND_CURRENTSTATETOOBJECT = 245,
	MCOMMAND_JOIN = 246,
	// Rebuilds a spline as {2015: N} points evenly spaced along it (with {2016: 4}).
	MCOMMAND_SPLINE_RESAMPLE = 450000039,
};

// Parameters of MCOMMAND_SPLINE_RESAMPLE.
enum : Int32
{
	MDATA_SPLINE_RESAMPLE_COUNT = 2015,
	MDATA_SPLINE_RESAMPLE_MODE = 2016,
};

struct ModelingCommandData
{
	BaseDocument* doc = nullptr;
	// The element the command works on (commands that take one).
	BaseList2D* op = nullptr;
	// Several elements (join).
	AtomArray* arr = nullptr;
	// Parameters; nullptr means none.
	BaseContainer* bc = nullptr;
	// Filled by commands that make new objects; the caller frees them.
	AtomArray* result = nullptr;
};

// Runs a host modelling command. Answers false (and changes nothing) on bad input or failure.
bool SendModelingCommand(Int32 command, ModelingCommandData& data);
