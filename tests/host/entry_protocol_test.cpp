// The plug-in entry as the binding implements it, driven call by call on private copies of the
// probe plug-in.
#include <gtest/gtest.h>

#include <algorithm>
#include <regex>

#include "plugin_fixture.h"
#include "standin/console.h"
#include "standin/plugins.h"

namespace
{

int CountLines(const std::string& text)
{
	int n = 0;
	for (const std::string& line : standin::ConsoleLines())
		if (line.find(text) != std::string::npos)
			++n;
	return n;
}

class EntryProtocol : public ::testing::Test
{
protected:
	void SetUp() override { standin::ClearConsole(); }
	void TearDown() override { standin::ClearRegistry(); }
};

TEST_F(EntryProtocol, InitialiseRefusesOldHostsAndMissingResourceArgument)
{
	ProbeModule probe;
	ASSERT_TRUE(probe.Ok());
	EXPECT_EQ(probe.Init(19023), -3);
	EXPECT_EQ(probe.Call(ENTRY_INIT, nullptr, const_cast<char*>(probe.Folder().c_str())), -3);
	HostEntryInfo info;
	info.version = HOST_API_VERSION;
	EXPECT_EQ(probe.Call(ENTRY_INIT, &info, nullptr), -3);
	EXPECT_EQ(probe.Call(ENTRY_INIT, &info, const_cast<char*>("")), -3);
	// Refused calls set nothing up: the resource record is still empty.
	probe.Message(5000);
	EXPECT_EQ(CountLines("folder= string1="), 1);

	// ... and are not counted: one valid initialise is undone by one end.
	EXPECT_EQ(probe.Init(HOST_API_VERSION), 1);
	EXPECT_EQ(probe.Init(19025), 1);
	EXPECT_EQ(probe.Call(ENTRY_END), 1);
	EXPECT_EQ(CountLines("probe probe: end"), 0);
	EXPECT_EQ(probe.Call(ENTRY_END), 1);
	EXPECT_EQ(CountLines("probe probe: end"), 1);
}

TEST_F(EntryProtocol, OnlyTheFirstInitialiseWorksAndOnlyTheLastEndEnds)
{
	ProbeModule probe;
	ASSERT_TRUE(probe.Ok());
	ASSERT_EQ(probe.Init(HOST_API_VERSION), 1);
	ASSERT_EQ(probe.Message(PLUGINMSG_INIT_SYS), 1);
	probe.Message(5000);
	EXPECT_EQ(CountLines("folder=" + probe.Folder() + " string1=Probe plug-in"), 1);
	EXPECT_EQ(probe.Init(HOST_API_VERSION), 1);
	EXPECT_EQ(probe.Init(HOST_API_VERSION), 1);
	EXPECT_EQ(probe.Call(ENTRY_START), 1);
	EXPECT_EQ(CountLines("probe probe: start"), 1);

	EXPECT_EQ(probe.Call(ENTRY_END), 1);
	EXPECT_EQ(probe.Call(ENTRY_END), 1);
	EXPECT_EQ(CountLines("probe probe: end"), 0);
	probe.Message(5000);
	EXPECT_EQ(CountLines("string1=Probe plug-in"), 2); // still set up

	EXPECT_EQ(probe.Call(ENTRY_END), 1);
	EXPECT_EQ(CountLines("probe probe: end"), 1);
	// The record is released: no folder, no strings.
	probe.Message(5000);
	EXPECT_EQ(CountLines("folder= string1="), 1);

	// Further ends have nothing to end.
	EXPECT_EQ(probe.Call(ENTRY_END), 1);
	EXPECT_EQ(CountLines("probe probe: end"), 1);
}

TEST_F(EntryProtocol, EndWithoutInitialiseDoesNothing)
{
	ProbeModule probe;
	ASSERT_TRUE(probe.Ok());
	EXPECT_EQ(probe.Call(ENTRY_END), 1);
	EXPECT_EQ(CountLines(": end"), 0);
}

TEST_F(EntryProtocol, StartAnswersWhatPluginStartAnswers)
{
	{
		ProbeModule probe;
		ASSERT_TRUE(probe.Ok());
		// Not initialised: nothing to start from.
		EXPECT_EQ(probe.Call(ENTRY_START), 0);
		EXPECT_EQ(CountLines(": start"), 0);
		ASSERT_EQ(probe.Init(HOST_API_VERSION), 1);
		EXPECT_EQ(probe.Call(ENTRY_START), 1);
		probe.Call(ENTRY_END);
	}
	{
		ProbeModule refusing("start false\n");
		ASSERT_TRUE(refusing.Ok());
		ASSERT_EQ(refusing.Init(HOST_API_VERSION), 1);
		EXPECT_EQ(refusing.Call(ENTRY_START), 0);
		refusing.Call(ENTRY_END);
	}
}

TEST_F(EntryProtocol, VersionQueryMessagesAndUnknownActions)
{
	ProbeModule probe;
	ASSERT_TRUE(probe.Ok());
	EXPECT_EQ(probe.Call(ENTRY_VERSION), 5);
	EXPECT_EQ(probe.Message(PLUGINMSG_PRIORITY), 1);
	EXPECT_EQ(probe.Message(4711), -1);
	EXPECT_EQ(CountLines("probe : message 4711"), 1); // id passed through; no folder yet
	for (Int32 action : {0, 5, 7, -1, 1000})
		EXPECT_EQ(probe.Call(action), -1) << action;
	// A failed system initialisation (no strings in the folder) is a false message answer.
	std::filesystem::remove(probe.Folder() + "/res/strings.str");
	ASSERT_EQ(probe.Init(HOST_API_VERSION), 1);
	EXPECT_EQ(probe.Message(PLUGINMSG_INIT_SYS), -1);
	probe.Call(ENTRY_END);
}

TEST_F(EntryProtocol, BindingWarningsCarryTimeAndPlace)
{
	ProbeModule probe;
	ASSERT_TRUE(probe.Ok());
	ASSERT_EQ(probe.Init(HOST_API_VERSION), 1);
	probe.Message(5001);
	const std::regex form(R"(^WARNING: probe warning \d\d:\d\d:\d\d \[probe probe\.cpp L\d+\]$)");
	int matches = 0;
	for (const std::string& line : standin::ConsoleLines())
		matches += std::regex_match(line, form) ? 1 : 0;
	EXPECT_EQ(matches, 1);
	probe.Call(ENTRY_END);
}

TEST_F(EntryProtocol, BannerIsFramedByRulesOf56Dashes)
{
	ProbeModule probe;
	ASSERT_TRUE(probe.Ok());
	ASSERT_EQ(probe.Init(HOST_API_VERSION), 1);
	ASSERT_EQ(probe.Message(PLUGINMSG_INIT_SYS), 1);
	ASSERT_EQ(probe.Call(ENTRY_START), 1);
	const auto lines = standin::ConsoleLines();
	const std::string rule(56, '-');
	auto it = std::find(lines.begin(), lines.end(), rule);
	ASSERT_NE(it, lines.end());
	ASSERT_GE(std::distance(it, lines.end()), 4);
	EXPECT_EQ(*(it + 1), "Probe plug-in");
	EXPECT_EQ(*(it + 2), "A fixture that records what the host calls");
	EXPECT_EQ(*(it + 3), rule);
	probe.Call(ENTRY_END);
}

} // namespace
