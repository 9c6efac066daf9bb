#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "PluginMessages.h"
#include "Tarnwick.h"
#include "hostapi/resource.h"
#include "standin/console.h"

namespace
{
// A command line as the host hands it over: writable entries, some of them missing or empty.
class CommandLine
{
public:
	explicit CommandLine(const std::vector<const char*>& args)
	{
		for (const char* a : args)
			_storage.push_back(a ? std::string(a) : std::string());
		for (size_t i = 0; i < args.size(); ++i)
			_argv.push_back(args[i] ? _storage[i].data() : nullptr);
		_msg.argc = static_cast<Int32>(_argv.size());
		_msg.argv = _argv.data();
	}

	PLUGINMSG_CommandLineArgs* Msg() { return &_msg; }
	std::string Arg(size_t i) const { return _argv[i] ? std::string(_argv[i]) : std::string("<null>"); }

private:
	std::vector<std::string> _storage;
	std::vector<char*> _argv;
	PLUGINMSG_CommandLineArgs _msg;
};

class PluginMessageTest : public ::testing::Test
{
protected:
	PluginMessageTest() { standin::ClearConsole(); }
};

const std::string HELP_LINE = "\x01-SDK is here :-)";
const std::string SDK_LINE = "\x01-SDK executed:-)";
} // namespace

TEST_F(PluginMessageTest, CommandLineConsumesOnlyWhatItHandles)
{
	CommandLine cl({"--help", "", nullptr, "-SDK", "-plugincrash", "-SDK", "-sdk", "scene.doc", "-help"});
	EXPECT_FALSE(TarnwickPluginMessage(PLUGINMSG_COMMANDLINEARGS, cl.Msg()));

	// Help stays for other plug-ins; the entries this plug-in owns are emptied.
	EXPECT_EQ(cl.Arg(0), "--help");
	EXPECT_EQ(cl.Arg(1), "");
	EXPECT_EQ(cl.Arg(2), "<null>");
	EXPECT_EQ(cl.Arg(3), "");
	EXPECT_EQ(cl.Arg(4), "");
	EXPECT_EQ(cl.Arg(5), "");
	EXPECT_EQ(cl.Arg(6), "-sdk");
	EXPECT_EQ(cl.Arg(7), "scene.doc");
	EXPECT_EQ(cl.Arg(8), "-help");

	const std::vector<std::string> expected = {HELP_LINE, SDK_LINE, SDK_LINE, HELP_LINE};
	EXPECT_EQ(standin::ConsoleLines(), expected);
}

TEST_F(PluginMessageTest, MissingCommandLineIsIgnored)
{
	EXPECT_FALSE(TarnwickPluginMessage(PLUGINMSG_COMMANDLINEARGS, nullptr));
	PLUGINMSG_CommandLineArgs noArgv;
	noArgv.argc = 3;
	EXPECT_FALSE(TarnwickPluginMessage(PLUGINMSG_COMMANDLINEARGS, &noArgv));
	CommandLine negative({"-SDK"});
	negative.Msg()->argc = -1;
	EXPECT_FALSE(TarnwickPluginMessage(PLUGINMSG_COMMANDLINEARGS, negative.Msg()));
	EXPECT_EQ(negative.Arg(0), "-SDK");
	EXPECT_TRUE(standin::ConsoleLines().empty());
}

TEST_F(PluginMessageTest, EditImageIsReportedOnceUnprocessed)
{
	PLUGINMSG_EditImage image;
	image.imagefn = "/tmp/render.tif";
	EXPECT_FALSE(TarnwickPluginMessage(PLUGINMSG_EDITIMAGE, &image));
	image.return_processed = true;
	EXPECT_FALSE(TarnwickPluginMessage(PLUGINMSG_EDITIMAGE, &image));
	EXPECT_FALSE(TarnwickPluginMessage(PLUGINMSG_EDITIMAGE, nullptr));

	const std::vector<std::string> expected = {"C4DSDK - Edit Image Hook: /tmp/render.tif"};
	EXPECT_EQ(standin::ConsoleLines(), expected);
}

TEST_F(PluginMessageTest, PriorityIsAnsweredAndOtherMessagesAreNot)
{
	EXPECT_TRUE(TarnwickPluginMessage(PLUGINMSG_PRIORITY, nullptr));
	EXPECT_FALSE(TarnwickPluginMessage(4711, nullptr));
	EXPECT_FALSE(TarnwickPluginMessage(-1, nullptr));
	// The command's own ID is no message of the plug-in: whatever comes with it is left alone.
	char payload[4] = {'x', 'y', 'z', '\0'};
	EXPECT_FALSE(TarnwickPluginMessage(1039103, payload));
	EXPECT_EQ(std::string(payload), "xyz");
}

TEST_F(PluginMessageTest, DialogBannerNamesTheProduct)
{
	ASSERT_TRUE(g_resource.Init(Filename(TEST_SOURCE_DIR "/tarnwick")));
	{
		Tarnwick dialog;
	}
	const std::vector<std::string> lines = standin::ConsoleLines();
	g_resource.Free();
	ASSERT_EQ(lines.size(), 4u);
	const std::string dashes(56, '-');
	EXPECT_EQ(lines[0], dashes);
	EXPECT_EQ(lines[1], "Tarnwick Tarnwick PRS 1.0");
	EXPECT_FALSE(lines[2].empty());
	EXPECT_EQ(lines[3], dashes);
}
