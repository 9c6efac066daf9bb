#include "modeling/modeling_log.h"

#include <deque>
#include <mutex>
#include <new>

namespace
{

constexpr size_t kMaxLog = 100000;

struct Log
{
	std::mutex mutex;
	std::deque<standin::ModelingCall> calls;
};

Log& TheLog()
{
	static Log* log = new Log;
	return *log;
}

} // namespace

namespace modeling
{

void LogCall(standin::ModelingCall::Kind kind, const BaseObject* op, Int32 flags, Int32 result)
{
	Log& log = TheLog();
	std::lock_guard<std::mutex> lock(log.mutex);
	try
	{
		if (log.calls.size() >= kMaxLog)
			log.calls.pop_front();
		log.calls.push_back({kind, op, flags, result});
	}
	catch (const std::bad_alloc&)
	{
		// The log is for observers; a full memory loses an entry, never the call.
	}
}

} // namespace modeling

namespace standin
{

std::vector<ModelingCall> ModelingLog()
{
	Log& log = TheLog();
	std::lock_guard<std::mutex> lock(log.mutex);
	return std::vector<ModelingCall>(log.calls.begin(), log.calls.end());
}

void ClearModelingLog()
{
	Log& log = TheLog();
	std::lock_guard<std::mutex> lock(log.mutex);
	log.calls.clear();
}

} // namespace standin
