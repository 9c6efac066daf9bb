// The plug-in loader and the registry: message order, refusing and broken plug-ins, shutdown
// order, the command line, and what registration accepts.
#include <gtest/gtest.h>

#include <algorithm>

#include "plugin_fixture.h"
#include "standin/console.h"
#include "standin/memory.h"
#include "standin/plugins.h"

namespace
{

// Console lines that start with prefix, in order.
std::vector<std::string> LinesStarting(const std::string& prefix)
{
	std::vector<std::string> out;
	for (const std::string& line : standin::ConsoleLines())
		if (line.rfind(prefix, 0) == 0)
			out.push_back(line);
	return out;
}

size_t IndexOf(const std::string& line)
{
	const auto lines = standin::ConsoleLines();
	return static_cast<size_t>(std::find(lines.begin(), lines.end(), line) - lines.begin());
}

const standin::LoadedPlugin* Find(const standin::PluginHost& host, const std::string& name)
{
	for (const auto& p : host.Plugins())
		if (p.name == name)
			return &p;
	return nullptr;
}

class Loader : public ::testing::Test
{
protected:
	void SetUp() override { standin::ClearConsole(); }
	void TearDown() override { standin::ClearRegistry(); }
	ScratchFolder folder;
};

TEST_F(Loader, EntersEachPluginInOrderAndEndsInReverse)
{
	AddProbe(folder, "b_second");
	AddProbe(folder, "a_first");
	standin::PluginHost host;
	std::string report;
	ASSERT_TRUE(host.LoadFolder(folder.Path().string(), &report)) << report;
	ASSERT_EQ(host.Plugins().size(), 2u);
	EXPECT_EQ(host.Plugins()[0].name, "a_first");
	EXPECT_EQ(host.Plugins()[0].state, standin::PluginState::Started);
	EXPECT_EQ(host.Plugins()[1].state, standin::PluginState::Started);
	EXPECT_EQ(report, "");

	const std::vector<std::string> expected = {
		"probe a_first: message 0", "probe a_first: message 1", "probe a_first: start",
		"probe b_second: message 0", "probe b_second: message 1", "probe b_second: start",
		"probe a_first: message 1002", "probe b_second: message 1002",
	};
	EXPECT_EQ(LinesStarting("probe "), expected);

	standin::ClearConsole();
	host.Shutdown();
	const std::vector<std::string> ends = {"probe b_second: end", "probe a_first: end"};
	EXPECT_EQ(LinesStarting("probe "), ends);
	EXPECT_EQ(host.Plugins()[0].state, standin::PluginState::Ended);
	host.Shutdown(); // twice is harmless
	EXPECT_EQ(LinesStarting("probe ").size(), 2u);
}

TEST_F(Loader, BrokenPluginsAreSkippedAndRefusingOnesStillGetTheirEnd)
{
	AddProbe(folder, "a_good");
	AddProbe(folder, "b_refuses", "init-sys false\n");
	folder.Write("c_broken/c_broken.so", "this is not a shared library");
	std::filesystem::create_directories(folder.Path() / "d_noentry");
	std::filesystem::copy_file(std::string(TEST_FIXTURE_PLUGINS_DIR) + "/noentry/noentry.so", folder.Path() / "d_noentry" / "d_noentry.so");
	std::filesystem::create_directories(folder.Path() / "e_empty");
	AddProbe(folder, "f_startfails", "start false\n");
	folder.Write("loose.so", "a file beside the folders is ignored");

	standin::PluginHost host;
	std::string report;
	ASSERT_TRUE(host.LoadFolder(folder.Path().string(), &report));
	ASSERT_EQ(host.Plugins().size(), 6u);
	EXPECT_EQ(Find(host, "a_good")->state, standin::PluginState::Started);
	EXPECT_EQ(Find(host, "b_refuses")->state, standin::PluginState::Refused);
	EXPECT_EQ(Find(host, "c_broken")->state, standin::PluginState::Failed);
	EXPECT_EQ(Find(host, "d_noentry")->state, standin::PluginState::Failed);
	EXPECT_NE(Find(host, "d_noentry")->problem.find("c4d_main"), std::string::npos);
	EXPECT_EQ(Find(host, "e_empty")->state, standin::PluginState::Failed);
	EXPECT_NE(Find(host, "e_empty")->problem.find("missing"), std::string::npos);
	EXPECT_EQ(Find(host, "f_startfails")->state, standin::PluginState::StartFailed);
	for (const char* name : {"b_refuses", "c_broken", "d_noentry", "e_empty", "f_startfails"})
		EXPECT_NE(report.find(std::string("Plug-in ") + name), std::string::npos) << name;
	EXPECT_TRUE(standin::ConsoleContains("Plug-in c_broken skipped: cannot be opened"));

	// A refused plug-in is never started and gets no command line.
	EXPECT_EQ(standin::ConsoleContains("probe b_refuses: start"), false);
	EXPECT_EQ(standin::ConsoleContains("probe b_refuses: message 1002"), false);
	EXPECT_EQ(standin::ConsoleContains("probe f_startfails: message 1002"), false);

	standin::ClearConsole();
	host.Shutdown();
	const std::vector<std::string> ends = {"probe f_startfails: end", "probe b_refuses: end", "probe a_good: end"};
	EXPECT_EQ(LinesStarting("probe "), ends);
}

TEST_F(Loader, RegisteredObjectsAreFreedAtShutdownWhileTheirCodeIsLoaded)
{
	AddProbe(folder, "reg", "register-tool 1990001\nregister-command 1990002\nregister-hook 1990003\nregister-tag 1990004 ProbeTag\n");
	const Int64 liveBefore = standin::LiveAllocationCount();
	standin::PluginHost host;
	ASSERT_TRUE(host.LoadFolder(folder.Path().string(), nullptr));
	ASSERT_EQ(host.Plugins()[0].state, standin::PluginState::Started);

	standin::Registration tool;
	ASSERT_TRUE(standin::FindRegistration(1990001, &tool));
	EXPECT_EQ(tool.kind, standin::PluginKind::Tool);
	EXPECT_EQ(tool.name, "Probe tool");
	EXPECT_EQ(tool.help, "probe help");
	EXPECT_EQ(tool.owner, "reg");
	EXPECT_TRUE(tool.hasIcon);
	EXPECT_EQ(tool.iconWidth, 4);
	EXPECT_NE(tool.data, nullptr);
	standin::Registration tag;
	ASSERT_TRUE(standin::FindRegistration(1990004, &tag));
	EXPECT_EQ(tag.description, "ProbeTag");
	EXPECT_EQ(standin::Registrations().size(), 4u);

	NodeData* kept = standin::NewNodeData(1990003); // as a document would hold it
	ASSERT_NE(kept, nullptr);
	EXPECT_EQ(standin::NewNodeData(1990001), nullptr); // a tool has no allocator

	host.Shutdown();
	EXPECT_TRUE(standin::Registrations().empty());
	const size_t end = IndexOf("probe reg: end");
	EXPECT_LT(end, IndexOf("probe reg: tool destroyed"));
	EXPECT_LT(end, IndexOf("probe reg: command destroyed"));
	EXPECT_LT(end, IndexOf("probe: node data destroyed"));
	EXPECT_EQ(standin::LiveAllocationCount(), liveBefore);
}

TEST_F(Loader, CommandLineReachesStartedPluginsWhichMayClearEntries)
{
	AddProbe(folder, "args", "clear-arg -probe\n");
	standin::PluginHost host;
	host.SetCommandLine({"-probe", "", "keep me", "-probe"});
	ASSERT_TRUE(host.LoadFolder(folder.Path().string(), nullptr));
	const std::vector<std::string> after = {"", "", "keep me", ""};
	EXPECT_EQ(host.CommandLineAfterPlugins(), after);
	EXPECT_TRUE(standin::ConsoleContains("probe args: arg keep me"));
	host.Shutdown();
}

TEST_F(Loader, FolderProblemsAreReported)
{
	standin::PluginHost host;
	std::string report;
	EXPECT_FALSE(host.LoadFolder((folder.Path() / "nowhere").string(), &report));
	EXPECT_NE(report.find("does not exist"), std::string::npos);
	EXPECT_FALSE(host.IsLoaded());

	ASSERT_TRUE(host.LoadFolder(folder.Path().string(), &report)); // empty: nothing to load
	EXPECT_TRUE(host.Plugins().empty());
	report.clear();
	EXPECT_FALSE(host.LoadFolder(folder.Path().string(), &report));
	EXPECT_NE(report.find("already loaded"), std::string::npos);
	host.Shutdown();
}

// ---- Registration rules, without a plug-in ----

struct CountedTool : ToolData
{
	explicit CountedTool(int* alive) : alive(alive) { ++*alive; }
	~CountedTool() override { --*alive; }
	int* alive;
};

struct CountedCommand : CommandData
{
	explicit CountedCommand(int* alive) : alive(alive) { ++*alive; }
	~CountedCommand() override { --*alive; }
	bool Execute(BaseDocument*) override { return true; }
	int* alive;
};

NodeData* NewNode()
{
	return NewObjTagged(NodeData, "test");
}

TEST_F(Loader, RegistrationRefusesBadRequestsAndFreesWhatItWasHanded)
{
	int alive = 0;
	EXPECT_TRUE(RegisterToolPlugin(1990100, "Tool", 0, nullptr, "", NewObjTagged(CountedTool, "test", &alive)));
	EXPECT_EQ(alive, 1);
	// Same ID again, of any kind.
	EXPECT_FALSE(RegisterToolPlugin(1990100, "Other", 0, nullptr, "", NewObjTagged(CountedTool, "test", &alive)));
	EXPECT_FALSE(RegisterCommandPlugin(1990100, "Cmd", 0, nullptr, "", NewObjTagged(CountedCommand, "test", &alive)));
	EXPECT_FALSE(RegisterSceneHookPlugin(1990100, "Hook", 0, NewNode, 0, 0));
	EXPECT_EQ(alive, 1);
	// Empty name.
	EXPECT_FALSE(RegisterCommandPlugin(1990101, "", 0, nullptr, "", NewObjTagged(CountedCommand, "test", &alive)));
	EXPECT_FALSE(RegisterSceneHookPlugin(1990102, "", 0, NewNode, 0, 0));
	EXPECT_EQ(alive, 1);
	// Missing data.
	EXPECT_FALSE(RegisterToolPlugin(1990103, "Tool", 0, nullptr, "", nullptr));
	EXPECT_FALSE(RegisterCommandPlugin(1990104, "Cmd", 0, nullptr, "", nullptr));
	EXPECT_FALSE(RegisterSceneHookPlugin(1990105, "Hook", 0, nullptr, 0, 0));
	EXPECT_FALSE(RegisterTagPlugin(1990106, "Tag", 0, nullptr, "ProbeTag", nullptr, 0));
	// A tag needs its description loaded.
	EXPECT_FALSE(RegisterTagPlugin(1990107, "Tag", 0, NewNode, "NoSuchDescription", nullptr, 0));
	EXPECT_TRUE(standin::ConsoleContains("description \"NoSuchDescription\" is not loaded"));

	EXPECT_FALSE(standin::FindRegistration(1990101, nullptr));
	EXPECT_EQ(standin::Registrations().size(), 1u);
	standin::ClearRegistry();
	EXPECT_EQ(alive, 0);
}

TEST_F(Loader, NodeDataIsTrackedUntilFreed)
{
	ASSERT_TRUE(RegisterSceneHookPlugin(1990200, "Hook", 0, NewNode, 0, 0));
	const Int64 before = standin::LiveAllocationCount();
	NodeData* a = standin::NewNodeData(1990200);
	NodeData* b = standin::NewNodeData(1990200);
	ASSERT_NE(a, nullptr);
	ASSERT_NE(b, nullptr);
	EXPECT_EQ(standin::NewNodeData(1990201), nullptr);
	standin::FreeNodeData(a);
	EXPECT_EQ(a, nullptr);
	EXPECT_EQ(standin::LiveAllocationCount(), before + 1);
	standin::ClearRegistry(); // frees b too
	EXPECT_EQ(standin::LiveAllocationCount(), before);
	standin::FreeNodeData(b); // already freed with the registry: left alone
	EXPECT_EQ(b, nullptr);
}

} // namespace
