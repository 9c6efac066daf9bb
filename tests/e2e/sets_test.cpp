// The set manager driven through its dialog as a user works it: sets saved in one run of the host
// come back in the next, sets of one scene stay out of another, and a damaged or unwritable set
// file never takes the host down.
#include <gtest/gtest.h>

#include <filesystem>
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

// Script lines that save the held list as a set named in the small dialog.
std::string SaveSet(const std::string& name)
{
	return "answer-dialog set 10016 " + name + " click 10014\nclick 10011\n";
}

// Script lines that open the set list, list its rows, click a row when given, and close it.
std::string SetList(const std::string& row = "")
{
	return "print-shown\nanswer-dialog print " + (row.empty() ? "" : "choose 10021 " + row + " ") + "click 10024\nclick 10023\nprint-shown\n";
}

TEST(ManagerSets, SetsSurviveAQuitAndFindRenamedMembers)
{
	ScratchFolder dir;
	const std::string first = dir.Write("first.session",
		"set-prefs prefs\nload-plugins\nnew-document\n"
		"add-null Chair\nadd-null Leg\nparent Leg Chair\nadd-null Lamp\nadd-null Rug\nadd-material Wood\n"
		"run-command 1039103\n"
		"drop 10003 Chair Wood\n" + SaveSet("Furniture") + SetList("0") +
		"drop 10003 Lamp\n" + SaveSet("Light") + SetList("0") +
		"drop 10003 Rug\n" + SaveSet("Floor") +
		"rename Chair Armchair\nrename-material Wood Oak\ndelete-object Lamp\nsave-document room.doc\ndump-set-file\n");
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
	// back. A removal in the tree then makes the held list the current set's members.
	const std::string second = dir.Write("second.session",
		"set-prefs prefs\nload-plugins\nopen-document room.doc\n"
		"run-command 1039103\n" + SetList("1") +
		"print-tree 10003\nprint-dialog\n"
		"add-material Fresh\ndrop 10003 Fresh Rug\ntree-click 10003 3 100 40 4\ntree-delete 10003\n" + SetList());
	const HostRun loaded = RunHostScript(second);
	ASSERT_EQ(loaded.status, 0) << loaded.output;
	EXPECT_TRUE(Contains(loaded.output,
		"[0:\"None\" 1:\"Furniture\" -1:\"     Armchair\" -2:\"     Oak\" 2:\"Floor\" -3:\"     Rug\"]"))
		<< loaded.output;
	EXPECT_TRUE(Contains(loaded.output, "tree 10003: 2 rows")) << loaded.output;
	EXPECT_TRUE(Contains(loaded.output, "row 0 depth 0 folded \"Armchair\"")) << loaded.output;
	EXPECT_TRUE(Contains(loaded.output, "row 1 depth 0 leaf \"Oak\"")) << loaded.output;
	EXPECT_TRUE(Contains(loaded.output, "button 10023 \"Furniture\" enabled shown")) << loaded.output;
	EXPECT_TRUE(Contains(loaded.output, "button 10013 \"Delete Set\" enabled shown")) << loaded.output;
	// A material marked in this run is told apart from the one marked in the first run.
	EXPECT_TRUE(Contains(loaded.output,
		"[0:\"None\" 1:\"Furniture\" -1:\"     Armchair\" -2:\"     Oak\" -3:\"     Fresh\" 2:\"Floor\" -4:\"     Rug\"]"))
		<< loaded.output;
}

TEST(ManagerSets, SetsOfOneSceneStayOutOfAnotherAndComeBackWithIt)
{
	// Two runs of the host each build a new scene the same way. Identities and markers must
	// differ between the runs, or the second scene's objects would answer to the first scene's set.
	ScratchFolder dir;
	const std::string first = dir.Write("first.session",
		"set-prefs prefs\nload-plugins\nnew-document\nadd-null Chair\nadd-material Wood\n"
		"run-command 1039103\ndrop 10003 Chair Wood\n" + SaveSet("Furniture") +
		"save-document a.doc\n"
		// Another scene in the same run: its own set, the first scene's is kept out of sight.
		"new-document\nadd-null Table\ndrop 10003 Table\n" + SaveSet("Desk") + SetList());
	const HostRun work = RunHostScript(first);
	ASSERT_EQ(work.status, 0) << work.output;
	EXPECT_TRUE(Contains(work.output, "[0:\"None\" 1:\"Desk\" -1:\"     Table\"]")) << work.output;

	const std::string second = dir.Write("second.session",
		"set-prefs prefs\nload-plugins\nnew-document\nadd-null Chair\nadd-material Wood\n"
		"run-command 1039103\ndrop 10003 Chair Wood\nprint-dialog\n"
		"open-document a.doc\n" + SetList() + "dump-set-file\n");
	const HostRun back = RunHostScript(second);
	ASSERT_EQ(back.status, 0) << back.output;
	EXPECT_TRUE(Contains(back.output, "button 10023 \"None\" disabled shown")) << back.output;
	EXPECT_TRUE(Contains(back.output, "[0:\"None\" 1:\"Furniture\" -1:\"     Chair\" -2:\"     Wood\"]")) << back.output;
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
		"run-command 1039103\n"
		"drop 10003 Q\n"
		"answer-dialog set 10016 Four click 10014\n"
		"click 10011\n"));
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

	// After a restart of the plug-ins a new dialog saves a third set beside them.
	const HostRun restarted = RunHostScript(dir.Write("restart.session",
		"set-prefs prefs\n"
		"load-plugins\n"
		"restart-plugins\n"
		"new-document\n"
		"add-null E\n"
		"run-command 1039103\n"
		"drop 10003 E\n"
		"answer-dialog set 10016 Six click 10014\n"
		"click 10011\n"
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

TEST(ManagerSets, RefusedActionsAndDamagedFilesAreShownNotFatal)
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
	ASSERT_EQ(run("set-prefs prefs\nload-plugins\nnew-document\nadd-null A\nrun-command 1039103\n", &out), 0) << out;
	// With nothing held the save button asks for no name; with no set the list and the delete
	// button take no clicks.
	ASSERT_EQ(run("click 10011\nprint-shown\nprint-dialog\n", &out), 0) << out;
	EXPECT_FALSE(Contains(out, "modal dialog")) << out;
	EXPECT_TRUE(Contains(out, "button 10023 \"None\" disabled shown")) << out;
	EXPECT_EQ(run("click 10023\n", &out), 1);
	EXPECT_EQ(run("click 10013\n", &out), 1);
	EXPECT_TRUE(Contains(out, "disabled")) << out;
	EXPECT_EQ(run("drop 10003 Missing\n", &out), 1);
	EXPECT_TRUE(Contains(out, "no object or material named 'Missing'")) << out;
	// A row the list does not have is no click; the list is closed unanswered.
	ASSERT_EQ(run("drop 10003 A\n" + SaveSet("One") + SetList("7"), &out), 0) << out;
	EXPECT_TRUE(Contains(out, "list 10021 has no row 7")) << out;

	// A set file cut short reads as no sets when the dialog opens again, and is copied aside
	// before the next save.
	const std::string setFile = dir / "plugins/Tarnwick/Tarnwick.dat";
	dir.Write("plugins/Tarnwick/Tarnwick.dat", "SHYF\x01");
	ASSERT_EQ(run("close-dialog\nrun-command 1039103\nprint-dialog\n", &out), 0) << out;
	EXPECT_TRUE(Contains(out, "button 10023 \"None\" disabled shown")) << out;
	EXPECT_EQ(run("dump-set-file\n", &out), 1);
	ASSERT_EQ(run("drop 10003 A\n" + SaveSet("Again") + "print-console\n", &out), 0) << out;
	EXPECT_TRUE(Contains(out, "the damaged set file was kept as")) << out;

	// A set file that cannot be written: the set is made, and the console says the file was not
	// written.
	std::filesystem::remove(setFile);
	std::filesystem::create_directories(setFile);
	ASSERT_EQ(run(SaveSet("Lost") + "print-console\nprint-dialog\n", &out), 0) << out;
	EXPECT_TRUE(Contains(out, "the sets could not be written")) << out;
	EXPECT_TRUE(Contains(out, "button 10023 \"Lost\" enabled shown")) << out;
	std::filesystem::remove(setFile);

	// After a restart the dialog reads the file again; the object of its sets went with its
	// document, so none shows in the new one.
	ASSERT_EQ(run(SaveSet("Two") + "restart-plugins\nnew-document\nrun-command 1039103\nprint-dialog\n", &out), 0) << out;
	EXPECT_TRUE(Contains(out, "button 10023 \"None\" disabled shown")) << out;
	plugins.Shutdown();
	standin::SetPrefsFolder("");
}

} // namespace
