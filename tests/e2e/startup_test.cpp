// The real plug-ins of this build, started through the host's loader, and the host executable
// itself run the way users run it.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <fstream>
#include <string>

#include "scratch_folder.h"
#include "standin/console.h"
#include "standin/memory.h"
#include "standin/plugins.h"
#include "host_run.h"

namespace
{

TEST(Startup, BothPluginsStartRegisterAndShutDownCleanly)
{
	standin::ClearConsole();
	standin::PluginHost host;
	host.SetCommandLine({"-SDK", "--help"});
	std::string report;
	ASSERT_TRUE(host.LoadFolder(TEST_PLUGINS_DIR, &report)) << report;
	ASSERT_EQ(host.Plugins().size(), 2u) << report;
	for (const auto& plugin : host.Plugins())
		EXPECT_EQ(plugin.state, standin::PluginState::Started) << plugin.name << ": " << plugin.problem;
	EXPECT_EQ(report, "");

	// Each plug-in's banner is framed by two rules.
	int rules = 0;
	for (const std::string& line : standin::ConsoleLines())
		rules += line == std::string(56, '-') ? 1 : 0;
	EXPECT_GE(rules, 4);

	standin::Registration tool;
	ASSERT_TRUE(standin::FindRegistration(1027250, &tool));
	EXPECT_EQ(tool.kind, standin::PluginKind::Tool);
	EXPECT_EQ(tool.owner, "loomcast");
	EXPECT_EQ(tool.info, 296);
	EXPECT_FALSE(tool.name.empty());
	EXPECT_TRUE(tool.hasIcon);
	EXPECT_NE(tool.data, nullptr);

	standin::Registration command;
	ASSERT_TRUE(standin::FindRegistration(1039103, &command));
	EXPECT_EQ(command.kind, standin::PluginKind::Command);
	EXPECT_EQ(command.owner, "tarnwick");
	EXPECT_FALSE(command.name.empty());
	EXPECT_EQ(command.help, command.name);
	EXPECT_NE(command.data, nullptr);

	// Tarnwick takes "-SDK" off the command line and leaves "--help" for others.
	const std::vector<std::string> after = {"", "--help"};
	EXPECT_EQ(host.CommandLineAfterPlugins(), after);
	EXPECT_TRUE(standin::ConsoleContains("\x01-SDK executed:-)"));

	host.Shutdown();
	EXPECT_TRUE(standin::Registrations().empty());
	for (const auto& plugin : host.Plugins())
		EXPECT_EQ(plugin.state, standin::PluginState::Ended);
}

// The tool's help text, string 10000 of its string table.
std::string LoomHelpString()
{
	std::ifstream in(TEST_SOURCE_DIR "/loomcast/res/strings.str");
	std::string line;
	while (std::getline(in, line))
		if (line.rfind("10000 \"", 0) == 0)
			return line.substr(7, line.rfind('"') - 7);
	return std::string();
}

TEST(Startup, TheToolRegistersWithItsHelpTextAndAStartWithoutItsToolFails)
{
	{
		standin::PluginHost host;
		std::string report;
		ASSERT_TRUE(host.LoadFolder(TEST_PLUGINS_DIR, &report)) << report;
		standin::Registration tool;
		ASSERT_TRUE(standin::FindRegistration(1027250, &tool));
		ASSERT_FALSE(LoomHelpString().empty());
		EXPECT_EQ(tool.help, LoomHelpString());
		EXPECT_NE(tool.name, tool.help);
		host.Shutdown();
	}

	// Memory refused at each block in turn: once it is the tool object's, the host refuses the
	// registration without tool data and the start answers false; the tool is not there.
	bool sawFailedStart = false;
	for (Int64 n = 0; n < 200 && !sawFailedStart; ++n)
	{
		standin::ClearConsole();
		standin::PluginHost host;
		std::string report;
		standin::FailAllocationsAfter(n);
		host.LoadFolder(TEST_PLUGINS_DIR, &report);
		standin::FailAllocationsAfter(-1);
		const standin::LoadedPlugin* loom = nullptr;
		for (const auto& plugin : host.Plugins())
			if (plugin.name == "loomcast")
				loom = &plugin;
		ASSERT_NE(loom, nullptr) << report;
		if (loom->state == standin::PluginState::StartFailed)
		{
			sawFailedStart = true;
			EXPECT_FALSE(standin::FindRegistration(1027250, nullptr));
			EXPECT_TRUE(standin::ConsoleContains("refused: no tool data")) << n;
		}
		else if (loom->state == standin::PluginState::Started)
		{
			EXPECT_TRUE(standin::FindRegistration(1027250, nullptr)) << n;
		}
		host.Shutdown();
		EXPECT_TRUE(standin::Registrations().empty());
	}
	EXPECT_TRUE(sawFailedStart);
}

using Outcome = HostRun;

Outcome RunHost(const std::string& args)
{
	return RunHostExecutable(args);
}

TEST(HostExecutable, HelpAndBadArguments)
{
	const Outcome help = RunHost("--help");
	EXPECT_EQ(help.status, 0);
	EXPECT_NE(help.output.find("--plugins DIR"), std::string::npos);
	EXPECT_NE(help.output.find("add-object cube|plane"), std::string::npos);
	EXPECT_NE(help.output.find("expect-console"), std::string::npos);

	for (const char* bad : {"", "--bogus x.session", "--plugins", "--plugins /no/such/folder x.session"})
	{
		const Outcome o = RunHost(bad);
		EXPECT_EQ(o.status, 2) << bad << ": " << o.output;
		EXPECT_NE(o.output.find("standin-host: "), std::string::npos) << bad;
	}

	// A file where a folder belongs is named as such, not as missing.
	ScratchFolder dir;
	const std::string file = dir.Write("prefs.txt", "not a folder\n");
	const std::string script = dir.Write("s.session", "print hi\n");
	for (const char* option : {"--prefs", "--plugins"})
	{
		const Outcome o = RunHost(std::string(option) + " '" + file + "' '" + script + "'");
		EXPECT_EQ(o.status, 2) << o.output;
		EXPECT_NE(o.output.find(file + " is not a folder"), std::string::npos) << o.output;
	}
}

TEST(HostExecutable, RunsTheDemoAndReportsScriptErrors)
{
	const std::string demo = std::string(TEST_SOURCE_DIR) + "/examples/demo.session";
	const Outcome o = RunHost("--quiet --plugins '" + std::string(TEST_PLUGINS_DIR) + "' '" + demo + "'");
	EXPECT_EQ(o.status, 0) << o.output;
	EXPECT_NE(o.output.find("plug-in loomcast: started"), std::string::npos) << o.output;
	EXPECT_NE(o.output.find("plug-in tarnwick: started"), std::string::npos) << o.output;
	// The dense wrap ran its projection on two workers and timed it.
	EXPECT_NE(o.output.find("3035 STRING \"2CPU Result Time:"), std::string::npos) << o.output;

	ScratchFolder dir;
	const std::string script = dir.Write("broken.session", "new-document\nadd-null A\nparent A Missing\n");
	const Outcome broken = RunHost("--quiet '" + script + "'");
	EXPECT_EQ(broken.status, 1);
	EXPECT_NE(broken.output.find(script + ":3: parent: no object 'Missing'"), std::string::npos) << broken.output;
}

} // namespace
