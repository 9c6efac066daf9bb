// The default redraw target: a log of the requests in order, read by TakeRedraws.
#include <deque>
#include <mutex>

#include "standin/redraws.h"
#include "standin/redraw_target.h"

namespace standin::view
{

namespace
{

// A session that never prints its redraws must not grow the log without bound: past this many
// the oldest go and are counted instead.
constexpr size_t kMaxRecorded = 1u << 16;

class RedrawLog final : public RedrawTarget
{
public:
	void Redraw(Int32 flags) override { Add({RedrawRequest::Kind::Redraw, flags}); }
	void Update() override { Add({RedrawRequest::Kind::Update, 0}); }

	std::vector<RedrawRequest> Take()
	{
		std::lock_guard<std::mutex> lock(_mutex);
		std::vector<RedrawRequest> out(_requests.begin(), _requests.end());
		_requests.clear();
		_dropped = 0;
		return out;
	}

	Int64 Dropped()
	{
		std::lock_guard<std::mutex> lock(_mutex);
		return _dropped;
	}

private:
	void Add(RedrawRequest r)
	{
		// Worker threads may ask too.
		std::lock_guard<std::mutex> lock(_mutex);
		if (_requests.size() >= kMaxRecorded)
		{
			_requests.pop_front();
			++_dropped;
		}
		_requests.push_back(r);
	}

	std::mutex _mutex;
	std::deque<RedrawRequest> _requests;
	Int64 _dropped = 0;
};

// Never destroyed: a plug-in that asks for a redraw while the process ends still finds it.
RedrawLog& Log()
{
	static RedrawLog* log = new RedrawLog;
	return *log;
}

std::mutex targetMutex;
RedrawTarget* plugged = nullptr;

} // namespace

RedrawTarget& CurrentRedrawTarget()
{
	std::lock_guard<std::mutex> lock(targetMutex);
	return plugged ? *plugged : Log();
}

RedrawTarget* UseRedrawTarget(RedrawTarget* target)
{
	std::lock_guard<std::mutex> lock(targetMutex);
	RedrawTarget* before = plugged;
	plugged = target;
	return before;
}

} // namespace standin::view

namespace standin
{

std::vector<RedrawRequest> TakeRedraws()
{
	return view::Log().Take();
}

Int64 RedrawsDropped()
{
	return view::Log().Dropped();
}

} // namespace standin
