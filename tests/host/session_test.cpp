// Session scripts: word splitting, the check-before-run rule, error positions, and commands that
// fail leaving the scene as it was.
#include <gtest/gtest.h>

#include <sstream>

#include "hostapi/api.h"
#include "scratch_folder.h"
#include "standin/console.h"
#include "standin/plugins.h"
#include "standin/scene.h"
#include "standin/session.h"

namespace
{

struct Result
{
	int status = 0;
	std::string out;
	std::string err;
};

Result RunScript(const std::string& script, const std::string& name = "test.session", standin::SessionOptions options = {})
{
	std::ostringstream out, err;
	Result r;
	r.status = standin::RunSessionText(script, name, out, err, options);
	r.out = out.str();
	r.err = err.str();
	return r;
}

int TopLevelCount()
{
	BaseDocument* doc = GetActiveDocument();
	int n = 0;
	for (BaseObject* op = doc ? doc->GetFirstObject() : nullptr; op; op = op->GetNext())
		++n;
	return n;
}

class Session : public ::testing::Test
{
protected:
	void SetUp() override { standin::ClearConsole(); }
	void TearDown() override { standin::CloseAllDocuments(); }
};

TEST_F(Session, WordsQuotesEscapesAndComments)
{
	const Result r = RunScript(
		"# a comment line\n"
		"\n"
		"   print plain   words\t here   # trailing comment\n"
		"print \"two words\" \"q\\\"uote\" \"back\\\\slash\" \"\" end\n"
		"print a#b \"# not a comment\"\n");
	ASSERT_EQ(r.status, 0) << r.err;
	EXPECT_EQ(r.out, "plain words here\ntwo words q\"uote back\\slash  end\na#b # not a comment\n");
	EXPECT_EQ(r.err, "");
}

TEST_F(Session, EveryLineIsCheckedBeforeAnythingRuns)
{
	const Result r = RunScript(
		"print started\n"
		"new-document\n"
		"frobnicate now\n"
		"set-position Cube 1 two 3\n"
		"add-object torus S\n"
		"print \"unterminated\n"
		"print \"bad\\q\"\n"
		"add-object cube C 10 4\n"
		"add-object plane P -5\n"
		"add-object plane P 10 0\n"
		"new-document extra\n"
		"print \"glued\"word\n");
	EXPECT_EQ(r.status, 1);
	EXPECT_EQ(r.out, "");
	EXPECT_EQ(GetActiveDocument(), nullptr);
	const char* expected[] = {
		"test.session:3: unknown command 'frobnicate'",
		"test.session:4: set-position: value 'two' is not a number",
		"test.session:5: add-object: unknown primitive 'torus'",
		"test.session:6: missing closing quote",
		"test.session:7: unknown escape \\q",
		"test.session:8: add-object: a cube takes no segment count",
		"test.session:9: add-object: size must be greater than 0",
		"test.session:10: add-object: segments 0 is outside 1..1000",
		"test.session:11: new-document: too many words",
		"test.session:12: a closing quote must end its word",
	};
	for (const char* line : expected)
		EXPECT_NE(r.err.find(line), std::string::npos) << line << "\n" << r.err;
}

TEST_F(Session, NumbersMustBeWholeAndFinite)
{
	for (const char* bad : {"1e999", "nan", "inf", "1,5", "0x10", "", "1.5.2", "--1"})
	{
		const Result r = RunScript(std::string("set-position A \"") + bad + "\" 0 0\n");
		EXPECT_EQ(r.status, 1) << bad;
		EXPECT_NE(r.err.find("is not a number"), std::string::npos) << bad << ": " << r.err;
	}
	const Result ok = RunScript("new-document\nadd-null A\nset-position A +1.5 -2e1 .25\n");
	EXPECT_EQ(ok.status, 0) << ok.err;
}

TEST_F(Session, FailingLineStopsTheRunAndChangesNothing)
{
	const Result r = RunScript(
		"new-document\n"
		"add-null Group\n"
		"add-object cube Box 50\n"
		"parent Box Group\n"
		"add-null Group\n"
		"print never\n");
	EXPECT_EQ(r.status, 1);
	EXPECT_EQ(r.err, "test.session:5: add-null: an object named 'Group' already exists at the top level\n");
	EXPECT_EQ(r.out, "");
	EXPECT_EQ(TopLevelCount(), 1);
	EXPECT_NE(standin::FindObjectByPath(GetActiveDocument(), "Group/Box"), nullptr);
}

TEST_F(Session, HierarchyCommandsKeepWorldPlacesAndRefuseCyclesAndClashes)
{
	const Result setup = RunScript(
		"new-document\n"
		"add-null A\n"
		"add-null B\n"
		"add-null C\n"
		"set-position A 10 0 0\n"
		"set-position B 1 2 3\n"
		"parent B A\n"
		"add-null X\n"
		"parent X A/B\n"
		"rename C D\n");
	ASSERT_EQ(setup.status, 0) << setup.err;
	BaseDocument* doc = GetActiveDocument();
	BaseObject* b = standin::FindObjectByPath(doc, "A/B");
	ASSERT_NE(b, nullptr);
	EXPECT_EQ(b->GetMg().off, Vector(1, 2, 3));
	EXPECT_EQ(b->GetMl().off, Vector(-9, 2, 3));
	EXPECT_NE(standin::FindObjectByPath(doc, "A/B/X"), nullptr);
	EXPECT_NE(standin::FindObjectByPath(doc, "D"), nullptr);

	// Later scripts continue in the active document.
	const struct
	{
		const char* line;
		const char* error;
	} failures[] = {
		{"parent A A/B/X", "cannot put 'A' under itself or its own child"},
		{"parent A A", "cannot put 'A' under itself"},
		{"parent Nobody A", "no object 'Nobody'"},
		{"parent D Nowhere", "no object 'Nowhere'"},
		{"rename D A", "a sibling is already named 'A'"},
		{"rename A/B a/b", "contains '/'"},
	};
	const std::string before = standin::DescribeScene(doc);
	for (const auto& f : failures)
	{
		const Result r = RunScript(std::string(f.line) + "\n");
		EXPECT_EQ(r.status, 1) << f.line;
		EXPECT_NE(r.err.find(f.error), std::string::npos) << f.line << ": " << r.err;
		EXPECT_EQ(standin::DescribeScene(doc), before) << f.line;
	}
	EXPECT_EQ(RunScript("add-null B\nparent B A\n").err, "test.session:2: parent: 'A' already has a child named 'B'\n");
}

TEST_F(Session, TransformsSetTheLocalMatrix)
{
	const Result r = RunScript(
		"new-document\n"
		"add-null M\n"
		"set-matrix M 1 2 3  2 0 0  0 2 0  0 0 2\n"
		"set-rotation M 90 0 0\n"
		"add-null P\n"
		"set-position P 5 6 7\n");
	ASSERT_EQ(r.status, 0) << r.err;
	BaseDocument* doc = GetActiveDocument();
	const Matrix m = standin::FindObjectByPath(doc, "M")->GetMl();
	EXPECT_EQ(m.off, Vector(1, 2, 3));
	// Heading 90 degrees, axis lengths kept.
	const Matrix rot = HPBToMatrix(Vector(PI / 2, 0, 0), ROTATIONORDER_DEFAULT);
	EXPECT_NEAR(m.v1.x, rot.v1.x * 2, 1e-12);
	EXPECT_NEAR(m.v1.z, rot.v1.z * 2, 1e-12);
	EXPECT_NEAR(m.v3.x, rot.v3.x * 2, 1e-12);
	EXPECT_NEAR(m.v2.GetLength(), 2.0, 1e-12);
	EXPECT_EQ(standin::FindObjectByPath(doc, "P")->GetMl().off, Vector(5, 6, 7));
	EXPECT_EQ(RunScript("set-matrix M 1 2 3\n").err.find("test.session:1: set-matrix: too few words"), 0u);
}

TEST_F(Session, NoCommandStoresAMatrixThatOverflows)
{
	// A child put under a parent scaled by 1e200 keeps its world place: no NaN comes back.
	const Result r = RunScript(
		"new-document\n"
		"add-null Big\n"
		"set-matrix Big 0 0 0  1e200 0 0  0 1e200 0  0 0 1e200\n"
		"add-null Kid\n"
		"set-position Kid 5 6 7\n"
		"parent Kid Big\n"
		"print-scene\n");
	ASSERT_EQ(r.status, 0) << r.err;
	EXPECT_NE(r.out.find("null \"Kid\" id="), std::string::npos);
	EXPECT_NE(r.out.find("pos=(5, 6, 7)"), std::string::npos) << r.out;
	EXPECT_EQ(r.out.find("nan"), std::string::npos) << r.out;

	BaseDocument* doc = GetActiveDocument();
	const std::string before = standin::DescribeScene(doc);
	for (const char* line : {"set-matrix Big/Kid 0 0 0  1e200 0 0  0 1 0  0 0 1", "set-position Big/Kid 1e300 0 0",
			 "set-rotation Big 30 0 0\nset-matrix Big/Kid 0 0 0  1e120 0 0  0 1e120 0  0 0 1e120"})
	{
		const Result refused = RunScript(std::string(line) + "\n");
		EXPECT_EQ(refused.status, 1) << line;
		EXPECT_NE(refused.err.find("world matrix of 'Kid' would overflow"), std::string::npos) << line << ": " << refused.err;
	}
	// The last script's rotation ran before its refused line; only that rotation changed anything.
	EXPECT_EQ(RunScript("set-rotation Big 0 0 0\n").status, 0);
	EXPECT_EQ(standin::DescribeScene(doc), before);

	// A finite matrix for a parent that would take a child's world matrix beyond range.
	const Result below = RunScript(
		"add-null P\nadd-null Q\nset-position Q 1e300 0 0\nparent Q P\n"
		"set-matrix P 0 0 0  1e10 0 0  0 1 0  0 0 1\n");
	EXPECT_EQ(below.status, 1);
	EXPECT_NE(below.err.find(":5: set-matrix: the world matrix of 'Q' would overflow"), std::string::npos) << below.err;

	// Moving an object under a parent scaled by 1e-200 would need a local matrix beyond 1e308.
	const Result tiny = RunScript(
		"add-null Tiny\n"
		"set-matrix Tiny 0 0 0  1e-200 0 0  0 1e-200 0  0 0 1e-200\n"
		"add-null Far\n"
		"set-position Far 1e200 0 0\n"
		"parent Far Tiny\n");
	EXPECT_EQ(tiny.status, 1);
	EXPECT_NE(tiny.err.find("world matrix of 'Far' would overflow"), std::string::npos) << tiny.err;
	EXPECT_NE(standin::FindObjectByPath(doc, "Far"), nullptr);
}

TEST_F(Session, ByteOrderMarkAndControlBytesInUserText)
{
	const Result bom = RunScript("\xEF\xBB\xBFnew-document\nadd-null A\n");
	EXPECT_EQ(bom.status, 0) << bom.err;

	// Names and words reach the terminal with their control bytes escaped.
	const Result r = RunScript("add-null \"bell\x07\tand\x1b[31mred\"\nprint-scene\nprint \"\x1b]0;title\x07\"\n");
	ASSERT_EQ(r.status, 0) << r.err;
	EXPECT_NE(r.out.find("null \"bell\\x07\\tand\\x1b[31mred\" id="), std::string::npos) << r.out;
	EXPECT_NE(r.out.find("\\x1b]0;title\\x07\n"), std::string::npos) << r.out;
	EXPECT_EQ(r.out.find('\x1b'), std::string::npos);

	GePrint("plug-in says \x1b[2J and\nmore");
	const Result console = RunScript("print-console\n");
	EXPECT_NE(console.out.find("plug-in says \\x1b[2J and\\nmore\n"), std::string::npos) << console.out;

	// In error messages too, and text that is not UTF-8 comes out as bytes.
	const Result bad = RunScript("rename \"no\x1b" "body\" x\nfrob\xff\n", "odd\x1b.session");
	EXPECT_EQ(bad.status, 1);
	EXPECT_NE(bad.err.find("odd\\x1b.session:2: unknown command 'frob\\xff'"), std::string::npos) << bad.err;
	EXPECT_EQ(bad.err.find('\x1b'), std::string::npos);
	const Result missing = RunScript("rename \"no\x1b" "body\" x\n");
	EXPECT_NE(missing.err.find("no object 'no\\x1bbody'"), std::string::npos) << missing.err;
	EXPECT_EQ(missing.err.find('\x1b'), std::string::npos);
	// Well-formed UTF-8 stays readable.
	const Result utf8 = RunScript("add-null \"W\xc3\xbcrfel\"\nprint-scene\n");
	EXPECT_NE(utf8.out.find("\"W\xc3\xbcrfel\""), std::string::npos) << utf8.out;
}

TEST_F(Session, CommandsNeedADocument)
{
	const Result r = RunScript("add-null A\n");
	EXPECT_EQ(r.status, 1);
	EXPECT_EQ(r.err, "test.session:1: add-null: there is no document yet (use new-document first)\n");
}

TEST_F(Session, ImportsRelativeToTheScriptAndKeepsNamesUnique)
{
	ScratchFolder dir;
	dir.Write("models/tri.obj", "v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 3\n");
	dir.Write("models/bad.obj", "v 0 0 0\nf 1 2 9\n");
	const std::string script = dir / "scene.session";
	const Result r = RunScript("new-document\nimport-obj models/tri.obj Tri\nprint-scene\n", script);
	ASSERT_EQ(r.status, 0) << r.err;
	EXPECT_NE(r.out.find("Tri"), std::string::npos);

	const Result clash = RunScript("import-obj models/tri.obj Tri\n", script);
	EXPECT_EQ(clash.status, 1);
	EXPECT_NE(clash.err.find("already exists"), std::string::npos);
	const Result bad = RunScript("import-obj models/bad.obj\n", script);
	EXPECT_EQ(bad.status, 1);
	EXPECT_NE(bad.err.find(script + ":1: import-obj: "), std::string::npos) << bad.err;
	EXPECT_NE(bad.err.find("bad.obj"), std::string::npos);
	const Result missing = RunScript("import-obj models/none.obj\n", script);
	EXPECT_EQ(missing.status, 1);
	EXPECT_EQ(TopLevelCount(), 1);
}

TEST_F(Session, ConsoleCommands)
{
	GePrint("hello from a plug-in");
	const Result r = RunScript("expect-console \"from a\"\nprint-console\n");
	ASSERT_EQ(r.status, 0) << r.err;
	EXPECT_EQ(r.out, "hello from a plug-in\n");
	const Result missing = RunScript("expect-console \"never printed\"\n");
	EXPECT_EQ(missing.status, 1);
	EXPECT_EQ(missing.err, "test.session:1: expect-console: no console line contains \"never printed\"\n");
}

TEST_F(Session, ScriptFilesAndPluginFolders)
{
	ScratchFolder dir;
	std::ostringstream out, err;
	EXPECT_EQ(standin::RunSessionFile(dir / "absent.session", out, err, {}), 1);
	EXPECT_NE(err.str().find("absent.session: no such file"), std::string::npos);
	err.str("");
	EXPECT_EQ(standin::RunSessionFile(dir.Path().string(), out, err, {}), 1);
	EXPECT_NE(err.str().find("not a file"), std::string::npos);

	const std::string script = dir.Write("s.session", "load-plugins\n");
	err.str("");
	EXPECT_EQ(standin::RunSessionFile(script, out, err, {}), 1);
	EXPECT_NE(err.str().find(script + ":1: load-plugins: no plug-ins folder"), std::string::npos) << err.str();

	err.str("");
	EXPECT_EQ(standin::RunSessionText("load-plugins nowhere\n", script, out, err, {}), 1);
	EXPECT_NE(err.str().find("does not exist"), std::string::npos) << err.str();
}

TEST_F(Session, HelpListsEveryCommand)
{
	const std::string help = standin::SessionCommandHelp();
	for (const char* verb : {"load-plugins", "new-document", "add-object", "import-obj", "add-null", "parent", "rename",
			 "set-position", "set-rotation", "set-matrix", "print-scene", "print-console", "print", "expect-console"})
		EXPECT_NE(help.find(std::string("  ") + verb), std::string::npos) << verb;
}

} // namespace
