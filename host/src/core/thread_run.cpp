// C4DThread and MPThreadPool on the standard library's threads.
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <new>
#include <system_error>
#include <thread>

#include "core/thread_share.h"
#include "hostapi/thread.h"
#include "standin/threads.h"

struct C4DThread::State
{
	std::mutex mutex;
	std::condition_variable ended;
	std::thread thread;
	bool running = false; // guarded by mutex
	std::atomic<bool> breakAsked{false};
	std::atomic<Int32> priority{THREADPRIORITY_NORMAL};
};

namespace
{
bool KnownPriority(Int32 p)
{
	return p == THREADPRIORITY_NORMAL || p == THREADPRIORITY_ABOVE || p == THREADPRIORITY_BELOW || p == THREADPRIORITY_LOWEST;
}
// How often a waiting thread that checks events looks at the user's input.
constexpr auto kEventPoll = std::chrono::milliseconds(5);
// Set by a pool around the starts of its threads: the share each of them gets.
thread_local Int32 t_startingShare = 0;
} // namespace

C4DThread::C4DThread() : _state(new State) {}

C4DThread::~C4DThread()
{
	// A derived thread must have ended before it goes: its Main belongs to the part already
	// destroyed. Joining here only keeps the system thread from outliving its record.
	_state->breakAsked.store(true);
	if (_state->thread.joinable())
		_state->thread.join();
	delete _state;
}

bool C4DThread::Start(Int32 mode, Int32 priority)
{
	if ((mode != THREADMODE_ASYNC && mode != THREADMODE_SYNCHRONOUS) || !KnownPriority(priority))
		return false;
	{
		std::lock_guard<std::mutex> lock(_state->mutex);
		if (_state->running)
			return false;
	}
	// A thread that ran before has ended; its system thread is collected before the next.
	if (_state->thread.joinable())
		_state->thread.join();
	_state->breakAsked.store(false);
	_state->priority.store(priority);
	standin::RecordThreadStart(GetThreadName(), priority);
	{
		std::lock_guard<std::mutex> lock(_state->mutex);
		_state->running = true;
	}
	const bool async = mode == THREADMODE_ASYNC;
	auto body = [this, async, share = t_startingShare] {
		if (async)
			standin::threads::SetCallerShare(share);
		Main();
		std::lock_guard<std::mutex> lock(_state->mutex);
		_state->running = false;
		_state->ended.notify_all();
	};
	if (!async)
	{
		body();
		return true;
	}
	try
	{
		_state->thread = std::thread(body);
	}
	catch (const std::system_error&)
	{
		std::lock_guard<std::mutex> lock(_state->mutex);
		_state->running = false;
		return false;
	}
	return true;
}

void C4DThread::Wait(bool checkevents)
{
	{
		std::unique_lock<std::mutex> lock(_state->mutex);
		while (_state->running)
		{
			if (!checkevents)
			{
				_state->ended.wait(lock);
				continue;
			}
			_state->ended.wait_for(lock, kEventPoll);
			if (!_state->running)
				break;
			lock.unlock();
			if (TestDBreak())
				_state->breakAsked.store(true);
			lock.lock();
		}
	}
	if (_state->thread.joinable() && _state->thread.get_id() != std::this_thread::get_id())
		_state->thread.join();
}

void C4DThread::End(bool wait)
{
	_state->breakAsked.store(true);
	if (wait)
		Wait(false);
}

bool C4DThread::TestBreak()
{
	// TestDBreak reads the user's input, which belongs to the thread that handles events; that
	// thread asks it while it waits (Wait with checkevents) and passes the answer on here.
	return _state->breakAsked.load();
}

bool C4DThread::IsRunning() const
{
	std::lock_guard<std::mutex> lock(_state->mutex);
	return _state->running;
}

Int32 C4DThread::GetPriority() const
{
	return _state->priority.load();
}

MPThreadPool::~MPThreadPool()
{
	Wait();
}

bool MPThreadPool::Init(C4DThread* parent, Int32 count, C4DThread** threads)
{
	if (count < 1 || !threads)
		return false;
	for (Int32 i = 0; i < count; ++i)
	{
		if (!threads[i] || threads[i]->IsRunning())
			return false;
	}
	_parent = parent;
	_threads = threads;
	_count = count;
	return true;
}

bool MPThreadPool::Start(Int32 priority)
{
	if (!_threads)
		return false;
	// n threads started together have asked for n processors in all; the host's own parallel
	// work on their behalf keeps to that (see core/thread_share.h).
	t_startingShare = _count;
	for (Int32 i = 0; i < _count; ++i)
	{
		if (!_threads[i]->Start(THREADMODE_ASYNC, priority))
		{
			t_startingShare = 0;
			for (Int32 j = 0; j < i; ++j)
				_threads[j]->Wait(false);
			return false;
		}
	}
	t_startingShare = 0;
	return true;
}

void MPThreadPool::Wait()
{
	for (Int32 i = 0; _threads && i < _count; ++i)
		_threads[i]->Wait(false);
}
