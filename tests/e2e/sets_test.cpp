// The set manager driven through session scripts: sets saved in one run of the host come back in
// the next, and a damaged set file never takes the host down.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <array>
#include <filesystem>
#include <cstdio>
#include <sstream>
#include <string>

#include "scratch_folder.h"
#include "standin/paths.h"
#include "standin/plugins.h"
#include "standin/session.h"
#include "host_run.h"

namespace
{

bool Contains(const std::string& text, const std::string& part)
{
	return text.find(part) != std::string::npos;
}

TEST(ManagerSets, SetsSurviveAQuitAndFindRenamedMembers)
{
	ScratchFolder dir;
	const std::string first = dir.Write("first.session",
		"set-prefs prefs\n"
		"load-plugins\n"
		"new-document\n"
		"add-null Chair\n"
		"add-null Leg\n"
		"parent Leg Chair\n"
		"add-null Lamp\n"
		"add-null Rug\n"
		"add-material Wood\n"
		"manager-open\n"
		"manager-gather Chair Wood\n"
		"manager-save-set Furniture\n"
		"manager-load-set 0\n"
		"manager-gather Lamp\n"
		"manager-save-set Light\n"
		"manager-load-set 0\n"
		"manager-gather Rug\n"
		"manager-save-set Floor\n"
		"rename Chair Armchair\n"
		"rename-material Wood Oak\n"
		"delete-object Lamp\n"
		"save-document room.doc\n"
		"dump-set-file\n");
	const HostRun saved = RunHostScript(first);
	ASSERT_EQ(saved.status, 0) << saved.output;
	// The file lists what the sets held when it was written, under the keys of their layout.
	EXPECT_TRUE(Contains(saved.output, "ident 1952804208")) << saved.output;
	EXPECT_TRUE(Contains(saved.output, "1 STRING \"Furniture\"")) << saved.output;
	EXPECT_TRUE(Contains(saved.output, "2 STRING \"Chair\"")) << saved.output;
	EXPECT_TRUE(Contains(saved.output, "8 STRING \"Light\"")) << saved.output;
	EXPECT_TRUE(Contains(saved.output, "12 STRING \"Floor\"")) << saved.output;
	EXPECT_TRUE(Contains(saved.output, "0 INT32 3")) << saved.output;
	EXPECT_TRUE(Contains(saved.output, "-9999 STRING \"Tarnwick\"")) << saved.output;

	// A new host: the set whose only member was deleted is out of sight (but kept in the file),
	// the others keep their order, and set 1 brings the renamed chair (with its leg) and material
	// back.
	const std::string second = dir.Write("second.session",
		"set-prefs prefs\n"
		"load-plugins\n"
		"open-document room.doc\n"
		"manager-open\n"
		"manager-load-set 1\n"
		"manager-print\n"
		"add-material Fresh\n"
		"manager-gather Fresh\n"
		"manager-update-set\n"
		"manager-load-set 2\n"
		"manager-load-set 1\n"
		"manager-print\n");
	const HostRun loaded = RunHostScript(second);
	ASSERT_EQ(loaded.status, 0) << loaded.output;
	EXPECT_TRUE(Contains(loaded.output,
		"sets 2, current 1, caption \"Furniture\"\n"
		"set 1 \"Furniture\", 2 members\n"
		"  object \"Armchair\"\n"
		"  material \"Oak\"\n"
		"set 2 \"Floor\", 1 member\n"
		"  object \"Rug\"\n"
		"kept 1 set without members in this scene\n"
		"held 3 entries\n"
		"  \"Armchair\" object\n"
		"    \"Leg\" child\n"
		"  \"Oak\" material\n"))
		<< loaded.output;
	// A material marked in this run is told apart from the one marked in the first run.
	EXPECT_TRUE(Contains(loaded.output,
		"set 1 \"Furniture\", 3 members\n"
		"  object \"Armchair\"\n"
		"  material \"Oak\"\n"
		"  material \"Fresh\"\n"))
		<< loaded.output;
}

TEST(ManagerSets, SetsOfOneSceneDoNotTakeTheObjectsOfAnotherScene)
{
	// Two runs of the host each build a new scene the same way. Identities and markers must
	// differ between the runs, or the second scene's objects would answer to the first scene's set.
	ScratchFolder dir;
	const std::string first = dir.Write("first.session",
		"set-prefs prefs\n"
		"load-plugins\n"
		"new-document\n"
		"add-null Chair\n"
		"add-material Wood\n"
		"manager-open\n"
		"manager-gather Chair Wood\n"
		"manager-save-set Furniture\n");
	const HostRun saved = RunHostScript(first);
	ASSERT_EQ(saved.status, 0) << saved.output;

	const std::string second = dir.Write("second.session",
		"set-prefs prefs\n"
		"load-plugins\n"
		"new-document\n"
		"add-null Table\n"
		"add-material Steel\n"
		"manager-open\n"
		"manager-gather Steel\n"
		"manager-load-set 0\n"
		"manager-open\n"
		"manager-print\n");
	const HostRun other = RunHostScript(second);
	ASSERT_EQ(other.status, 0) << other.output;
	EXPECT_TRUE(Contains(other.output, "sets 0, current 0")) << other.output;
	EXPECT_FALSE(Contains(other.output, "Table\"")) << other.output;
}

TEST(ManagerSets, SetsOfASceneSurviveWorkInAnotherSceneAndComeBackWithIt)
{
	ScratchFolder dir;
	const std::string first = dir.Write("first.session",
		"set-prefs prefs\n"
		"load-plugins\n"
		"new-document\n"
		"add-null Chair\n"
		"add-material Wood\n"
		"manager-open\n"
		"manager-gather Chair Wood\n"
		"manager-save-set Furniture\n"
		"save-document a.doc\n"
		"new-document\n"
		"add-null Table\n"
		"manager-open\n"
		"manager-gather Table\n"
		"manager-save-set Desk\n"
		"manager-print\n");
	const HostRun work = RunHostScript(first);
	ASSERT_EQ(work.status, 0) << work.output;
	EXPECT_TRUE(Contains(work.output, "sets 1, current 1, caption \"Desk\"\nset 1 \"Desk\", 1 member\n  object \"Table\"\n"
		"kept 1 set without members in this scene\n")) << work.output;

	const std::string second = dir.Write("second.session",
		"set-prefs prefs\n"
		"load-plugins\n"
		"open-document a.doc\n"
		"manager-open\n"
		"manager-print\n"
		"dump-set-file\n");
	const HostRun back = RunHostScript(second);
	ASSERT_EQ(back.status, 0) << back.output;
	EXPECT_TRUE(Contains(back.output, "set 1 \"Furniture\", 2 members\n  object \"Chair\"\n  material \"Wood\"\n"
		"kept 1 set without members in this scene\n")) << back.output;
	EXPECT_TRUE(Contains(back.output, "0 INT32 2")) << back.output;
}

TEST(ManagerSets, ASaveNeverDropsTheSetsAlreadyInTheFile)
{
	ScratchFolder dir;
	const HostRun first = RunHostScript(dir.Write("first.session",
		"set-prefs prefs\n"
		"load-plugins\n"
		"new-document\n"
		"add-null Q\n"
		"manager-open\n"
		"manager-gather Q\n"
		"manager-save-set Four\n"));
	ASSERT_EQ(first.status, 0) << first.output;

	// The dialog opens before there is a document, then a set is saved through it.
	const HostRun dialog = RunHostScript(dir.Write("dialog.session",
		"set-prefs prefs\n"
		"load-plugins\n"
		"run-command 1039103\n"
		"new-document\n"
		"add-null D\n"
		"drop 10003 D\n"
		"answer-dialog set 10016 Five click 10014\n"
		"click 10011\n"
		"dump-set-file\n"));
	ASSERT_EQ(dialog.status, 0) << dialog.output;
	EXPECT_TRUE(Contains(dialog.output, "STRING \"Four\"")) << dialog.output;
	EXPECT_TRUE(Contains(dialog.output, "STRING \"Five\"")) << dialog.output;
	EXPECT_TRUE(Contains(dialog.output, "0 INT32 2")) << dialog.output;

	// After a restart of the plug-ins the manager saves without having been opened.
	const HostRun restarted = RunHostScript(dir.Write("restart.session",
		"set-prefs prefs\n"
		"load-plugins\n"
		"restart-plugins\n"
		"new-document\n"
		"add-null E\n"
		"manager-gather E\n"
		"manager-save-set Six\n"
		"dump-set-file\n"));
	ASSERT_EQ(restarted.status, 0) << restarted.output;
	EXPECT_TRUE(Contains(restarted.output, "1 STRING \"Four\"")) << restarted.output;
	EXPECT_TRUE(Contains(restarted.output, "STRING \"Five\"")) << restarted.output;
	EXPECT_TRUE(Contains(restarted.output, "STRING \"Six\"")) << restarted.output;
	EXPECT_TRUE(Contains(restarted.output, "0 INT32 3")) << restarted.output;
}

TEST(ManagerSets, ASetTheDialogCouldNotWriteIsAMessageToTheUser)
{
	// A file stands where the plug-in's folder should be, so the set file cannot be written.
	ScratchFolder dir;
	dir.Write("plugins/Tarnwick", "not a folder");
	const HostRun run = RunHostScript(dir.Write("save.session",
		"set-prefs prefs\n"
		"load-plugins\n"
		"new-document\n"
		"add-null D\n"
		"run-command 1039103\n"
		"print-shown\n"
		"drop 10003 D\n"
		"answer-dialog set 10016 Five click 10014\n"
		"click 10011\n"
		"print-shown\n"
		"print-console\n"));
	EXPECT_TRUE(Contains(run.output, "message: The set \"Five\" could not be written to the set file ")) << run.output;
	EXPECT_TRUE(Contains(run.output, "Tarnwick: the sets could not be written to ")) << run.output;

	// A save that reaches the file shows no message.
	std::filesystem::remove(dir / "plugins/Tarnwick");
	const HostRun again = RunHostScript(dir.Write("again.session",
		"set-prefs prefs\n"
		"load-plugins\n"
		"new-document\n"
		"add-null D\n"
		"run-command 1039103\n"
		"drop 10003 D\n"
		"answer-dialog set 10016 Five click 10014\n"
		"click 10011\n"
		"print-shown\n"));
	ASSERT_EQ(again.status, 0) << again.output;
	EXPECT_FALSE(Contains(again.output, "message:")) << again.output;
}

TEST(ManagerSets, ScriptsReportRefusedOperationsAndDamagedFiles)
{
	ScratchFolder dir;
	standin::PluginHost plugins;
	standin::SessionOptions options;
	options.plugins = &plugins;
	options.pluginsFolder = TEST_PLUGINS_DIR;
	auto run = [&](const std::string& text, std::string* out) {
		std::ostringstream o;
		std::ostringstream e;
		const int status = standin::RunSessionText(text, dir / "test.session", o, e, options);
		*out = o.str() + e.str();
		return status;
	};

	std::string out;
	ASSERT_EQ(run("set-prefs prefs\nload-plugins\nnew-document\nadd-null A\nmanager-open\n", &out), 0) << out;
	EXPECT_EQ(run("manager-save-set Empty\n", &out), 1);
	EXPECT_TRUE(Contains(out, "nothing held is still in the scene")) << out;
	EXPECT_EQ(run("manager-load-set 3\n", &out), 1);
	EXPECT_TRUE(Contains(out, "no such set")) << out;
	EXPECT_EQ(run("manager-remove-set\n", &out), 1);
	EXPECT_EQ(run("manager-gather Missing\n", &out), 1);
	EXPECT_TRUE(Contains(out, "no object or material named 'Missing'")) << out;

	// A set file cut short reads as no sets, and is copied aside before the next save.
	const std::string setFile = dir / "plugins/Tarnwick/Tarnwick.dat";
	ASSERT_EQ(run("manager-gather A\nmanager-save-set One\n", &out), 0) << out;
	dir.Write("plugins/Tarnwick/Tarnwick.dat", "SHYF\x01");
	ASSERT_EQ(run("manager-open\nmanager-print\n", &out), 0) << out;
	EXPECT_TRUE(Contains(out, "sets 0, current 0")) << out;
	EXPECT_EQ(run("dump-set-file\n", &out), 1);
	ASSERT_EQ(run("manager-gather A\nmanager-save-set Again\nprint-console\n", &out), 0) << out;
	EXPECT_TRUE(Contains(out, "the damaged set file was kept as")) << out;

	// A set file that cannot be written is an error of the script, not a warning.
	std::filesystem::remove(setFile);
	std::filesystem::create_directories(setFile);
	EXPECT_EQ(run("manager-save-set Lost\n", &out), 1);
	EXPECT_TRUE(Contains(out, "the set file could not be written")) << out;
	std::filesystem::remove(setFile);

	// After a restart the model starts empty until the manager opens and reads the file again.
	ASSERT_EQ(run("manager-gather A\nmanager-save-set Two\nrestart-plugins\nnew-document\nmanager-print\n", &out), 0) << out;
	EXPECT_TRUE(Contains(out, "sets 0, current 0")) << out;
	ASSERT_EQ(run("manager-open\nmanager-print\n", &out), 0) << out;
	EXPECT_TRUE(Contains(out, "sets 0, current 0")) << out; // the object is gone with its document
	plugins.Shutdown();
	standin::SetPrefsFolder("");
}

} // namespace
