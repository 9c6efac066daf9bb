// Threads of the host: C4DThread is what plug-in threads derive from.
#pragma once

#include "hostapi/text.h"

class BaseThread
{
protected:
	BaseThread() = default;
	~BaseThread() = default;
};

class C4DThread
{
public:
	virtual ~C4DThread() = default;
	virtual bool TestDBreak() { return false; }
	virtual void Main() = 0;
	virtual const char* GetThreadName() = 0;
	// Start, wait and end come with the worker-thread issue.
};
