// The host's threads: start, wait, end and break; the pool; the clock a test sets; the cursor.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "core/thread_share.h"
#include "hostapi/input.h"
#include "hostapi/thread.h"
#include "input/input_source.h"
#include "input/scripted_input.h"
#include "standin/threads.h"

namespace
{

class Counter : public C4DThread
{
public:
	void Main() override
	{
		ranOn = std::this_thread::get_id();
		for (int i = 0; i < 1000; ++i)
			value.fetch_add(1);
	}
	const char* GetThreadName() override { return "counter"; }
	std::atomic<int> value{0};
	std::thread::id ranOn;
};

// Runs until asked to stop.
class Spinner : public C4DThread
{
public:
	void Main() override
	{
		while (!TestBreak())
			std::this_thread::yield();
		stopped.store(true);
	}
	const char* GetThreadName() override { return "spinner"; }
	std::atomic<bool> stopped{false};
};

// Stops when the user holds Escape, as a worker's parent does.
class EscapeSpinner : public Spinner
{
public:
	bool TestDBreak() override
	{
		BaseContainer state;
		return GetInputState(BFM_INPUT_KEYBOARD, BFM_INPUT_CHANNEL, state) && state.GetInt32(BFM_INPUT_CHANNEL) == KEY_ESC;
	}
};

TEST(Threads, StartRunsMainOnItsOwnThreadAndWaitJoinsIt)
{
	Counter t;
	ASSERT_TRUE(t.Start(THREADMODE_ASYNC, THREADPRIORITY_NORMAL));
	t.Wait(false);
	EXPECT_EQ(t.value.load(), 1000);
	EXPECT_NE(t.ranOn, std::this_thread::get_id());
	EXPECT_FALSE(t.IsRunning());
	// A thread that ended may run again.
	ASSERT_TRUE(t.Start());
	t.Wait(true);
	EXPECT_EQ(t.value.load(), 2000);
}

TEST(Threads, SynchronousModeRunsOnTheCaller)
{
	Counter t;
	ASSERT_TRUE(t.Start(THREADMODE_SYNCHRONOUS, THREADPRIORITY_BELOW));
	EXPECT_EQ(t.value.load(), 1000);
	EXPECT_EQ(t.ranOn, std::this_thread::get_id());
	EXPECT_EQ(t.GetPriority(), THREADPRIORITY_BELOW);
}

TEST(Threads, UnknownModeOrPriorityAndASecondStartAreRefused)
{
	Counter c;
	EXPECT_FALSE(c.Start(7, THREADPRIORITY_NORMAL));
	EXPECT_FALSE(c.Start(THREADMODE_ASYNC, 5));
	Spinner s;
	ASSERT_TRUE(s.Start());
	EXPECT_FALSE(s.Start());
	s.End(true);
	EXPECT_TRUE(s.stopped.load());
}

TEST(Threads, WaitWithEventsStopsTheThreadWhenTheUserHoldsEscape)
{
	standin::input::ScriptedInput input;
	standin::input::InputSource* before = standin::input::UseSource(&input);
	EscapeSpinner s;
	ASSERT_TRUE(s.Start());
	input.Hold(0, 0, KEY_ESC);
	s.Wait(true);
	EXPECT_TRUE(s.stopped.load());
	input.ReleaseAll();
	standin::input::UseSource(before);
}

TEST(Threads, PoolStartsEveryThreadAndWaitsForAll)
{
	Counter parent;
	std::vector<Counter> workers(5);
	std::vector<C4DThread*> list;
	for (Counter& w : workers)
		list.push_back(&w);
	MPThreadPool pool;
	EXPECT_FALSE(pool.Init(&parent, 0, list.data()));
	ASSERT_TRUE(pool.Init(&parent, 5, list.data()));
	standin::ClearThreadStarts();
	ASSERT_TRUE(pool.Start(THREADPRIORITY_BELOW));
	pool.Wait();
	for (Counter& w : workers)
	{
		EXPECT_EQ(w.value.load(), 1000);
		EXPECT_EQ(w.GetPriority(), THREADPRIORITY_BELOW);
	}
	// Every start is on the host's record, by name and priority.
	EXPECT_EQ(standin::ThreadStarts(), std::vector<standin::ThreadStart>(5, standin::ThreadStart{"counter", THREADPRIORITY_BELOW}));
	// A priority the host does not know starts nothing, and records nothing.
	EXPECT_FALSE(pool.Start(3));
	EXPECT_EQ(standin::ThreadStarts().size(), 5u);
}

// Records the processor share its Main ran with.
class ShareProbe : public C4DThread
{
public:
	void Main() override { seen = standin::threads::CallerShare(); }
	const char* GetThreadName() override { return "probe"; }
	Int32 seen = -1;
};

TEST(Threads, APoolsThreadsShareItsSizeAndOtherThreadsHaveNoLimit)
{
	for (Int32 n : {1, 3})
	{
		std::vector<ShareProbe> probes(static_cast<size_t>(n));
		std::vector<C4DThread*> list;
		for (ShareProbe& p : probes)
			list.push_back(&p);
		MPThreadPool pool;
		ASSERT_TRUE(pool.Init(nullptr, n, list.data()));
		ASSERT_TRUE(pool.Start(THREADPRIORITY_NORMAL));
		pool.Wait();
		for (const ShareProbe& p : probes)
			EXPECT_EQ(p.seen, n);
	}
	// Started on its own, after a pool: no limit; run on the caller: the caller's (none here).
	ShareProbe alone;
	ASSERT_TRUE(alone.Start());
	alone.Wait(false);
	EXPECT_EQ(alone.seen, 0);
	ASSERT_TRUE(alone.Start(THREADMODE_SYNCHRONOUS));
	EXPECT_EQ(alone.seen, 0);
	EXPECT_EQ(standin::threads::CallerShare(), 0);
}

TEST(Threads, ClockStepMakesTwoReadingsExactlyApart)
{
	standin::SetClockStep(1500);
	const Int32 a = GeGetTimer();
	const Int32 b = GeGetTimer();
	EXPECT_EQ(b - a, 1500);
	standin::SetClockStep(-1);
	const Int32 c = GeGetTimer();
	std::this_thread::sleep_for(std::chrono::milliseconds(20));
	EXPECT_GE(GeGetTimer() - c, 19);
}

TEST(Threads, CursorShapesAreRecordedInOrderFromAnyThread)
{
	standin::ClearCursorLog();
	GeShowMouse(MOUSE_BUSY);
	std::thread([] { GeShowMouse(MOUSE_NORMAL); }).join();
	EXPECT_EQ(standin::CursorLog(), (std::vector<Int32>{MOUSE_BUSY, MOUSE_NORMAL}));
	EXPECT_EQ(standin::CurrentCursor(), MOUSE_NORMAL);
}

TEST(Threads, ProcessorCountIsAtLeastOneAndFollowsTheTestKnob)
{
	EXPECT_GE(GeGetCurrentThreadCount(), 1);
	standin::SetThreadCount(3);
	EXPECT_EQ(GeGetCurrentThreadCount(), 3);
	standin::SetThreadCount(0);
	EXPECT_GE(GeGetCurrentThreadCount(), 1);
}

} // namespace
