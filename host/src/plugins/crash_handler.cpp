// The host's crash-handler slot: plug-ins read it and put a callback of their own in its place. The
// host's own callback only records the text, so tests can see the chain reach it.
#include <atomic>
#include <string>

#include "hostapi/plugin.h"
#include "standin/plugins.h"

namespace
{

std::string& LastCrashText()
{
	static auto* text = new std::string;
	return *text;
}

void HostCrashHandler(Char* text)
{
	LastCrashText() = text ? text : "";
}

std::atomic<CrashHandler> g_handler{&HostCrashHandler};

} // namespace

CrashHandler GeGetCrashHandler()
{
	return g_handler.load();
}

void GeSetCrashHandler(CrashHandler handler)
{
	g_handler.store(handler);
}

namespace standin
{

void RunCrashHandler(const std::string& text)
{
	std::string copy = text;
	if (CrashHandler h = g_handler.load())
		h(copy.data());
}

std::string LastCrashHandlerText()
{
	return LastCrashText();
}

void ResetCrashHandler()
{
	g_handler.store(&HostCrashHandler);
	LastCrashText().clear();
}

} // namespace standin
