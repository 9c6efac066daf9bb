// Threads of the host: C4DThread is what plug-in threads derive from; MPThreadPool runs a group
// of them together; the millisecond clock, the cursor state and the processor count go with them.
#pragma once

#include "hostapi/text.h"

class BaseThread
{
protected:
	BaseThread() = default;
	~BaseThread() = default;
};

// Start modes.
enum : Int32
{
	THREADMODE_ASYNC = 0,       // Main runs on a new thread; Start returns at once
	THREADMODE_SYNCHRONOUS = 1, // Main runs on the caller's thread before Start returns
};

// Thread priorities: the host accepts these and records them; the machine's scheduler decides.
enum : Int32
{
	THREADPRIORITY_NORMAL = 0,
	THREADPRIORITY_ABOVE = 1000,
	THREADPRIORITY_BELOW = 1001,
	THREADPRIORITY_LOWEST = 1002,
};

class C4DThread
{
public:
	C4DThread();
	virtual ~C4DThread();
	C4DThread(const C4DThread&) = delete;
	C4DThread& operator=(const C4DThread&) = delete;

	// Whether the user wants the thread to stop (Escape held, say). Asked on the thread that waits
	// for this one with checkevents, which owns the user's input; the thread itself asks TestBreak.
	virtual bool TestDBreak() { return false; }
	virtual void Main() = 0;
	virtual const char* GetThreadName() = 0;

	// Runs Main (mode THREADMODE_ASYNC or THREADMODE_SYNCHRONOUS). False when the thread is already
	// running, the mode or priority is unknown, or the system cannot make a thread.
	bool Start(Int32 mode = THREADMODE_ASYNC, Int32 priority = THREADPRIORITY_NORMAL);
	// Blocks until Main has returned. With checkevents the caller's thread keeps looking at the
	// user's input meanwhile: when TestDBreak answers true the thread is asked to stop (TestBreak
	// answers true from then on) and the wait goes on until it has.
	void Wait(bool checkevents);
	// Asks the thread to stop; with wait, also waits for it.
	void End(bool wait = true);
	// True once End was asked for, or once a Wait with checkevents saw TestDBreak answer true.
	bool TestBreak();
	bool IsRunning() const;
	// The priority of the last Start.
	Int32 GetPriority() const;

	// The host's own record of the thread; plug-ins never look inside.
	struct State;

private:
	State* _state;
};

// Several threads started and awaited together, under a parent thread that is itself running.
class MPThreadPool
{
public:
	MPThreadPool() = default;
	~MPThreadPool();
	MPThreadPool(const MPThreadPool&) = delete;
	MPThreadPool& operator=(const MPThreadPool&) = delete;

	// Takes count threads (none of them nullptr, none running). False for a count below 1.
	bool Init(C4DThread* parent, Int32 count, C4DThread** threads);
	// Starts every thread at the priority. When one cannot start, the ones already started are
	// awaited and the answer is false.
	bool Start(Int32 priority);
	// Waits for every started thread.
	void Wait();
	Int32 GetCount() const { return _count; }

private:
	C4DThread* _parent = nullptr;
	C4DThread** _threads = nullptr;
	Int32 _count = 0;
};

// The host's millisecond clock (monotonic; starts near 0 when the host starts).
Int32 GeGetTimer();

// Cursor shapes of GeShowMouse.
enum : Int32
{
	MOUSE_HIDE = 0,
	MOUSE_SHOW = 1,
	MOUSE_NORMAL = 2,
	MOUSE_BUSY = 3,
};

// Sets the cursor shape (from any thread); the host shows the last one set.
void GeShowMouse(Int32 cursor);

// The number of processor threads the host offers plug-ins (at least 1).
Int32 GeGetCurrentThreadCount();
