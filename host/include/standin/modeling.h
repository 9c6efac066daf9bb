// Host-side view of the modelling kernel (hostapi/modeling.h) for tests and scripts (not for
// plug-ins): the calls the plug-ins made, with their flags, so that a test can check which
// creation and commit flags a tool used.
#pragma once

#include <vector>

#include "hostapi/modeling.h"

namespace standin
{

struct ModelingCall
{
	enum class Kind
	{
		InitObject,
		CreateNgon,
		SplitEdge,
		Commit,
	};
	Kind kind = Kind::InitObject;
	// For comparing only: the object may have been freed since (nullptr: Commit of every object).
	const BaseObject* object = nullptr;
	Int32 flags = 0;
	// CreateNgon and SplitEdge: the index answered (-1: refused); InitObject and Commit: 1 or 0.
	Int32 result = 0;
};

// The most recent kernel calls (at most 100000), oldest first.
std::vector<ModelingCall> ModelingLog();
void ClearModelingLog();

} // namespace standin
