// The stroke tool's settings panel as a user works it through session scripts, with the built
// Loomcast plug-in loaded in this process: what is hidden and enabled in which state, what the
// tool puts right after an edit, what survives an activation, and lines a user could not enter.
#include <gtest/gtest.h>

#include <map>
#include <sstream>
#include <string>

#include "hostapi/api.h"
#include "in_process_session.h"
#include "standin/threads.h"
#include "standin/tools.h"

namespace
{

constexpr Int32 kLoomTool = 1027250;

bool Contains(const std::string& text, const std::string& part)
{
	return text.find(part) != std::string::npos;
}

class LoomPanel : public InProcessSession
{
protected:
	void SetUp() override { Start("new-document\nactivate-tool Loomcast\n"); }
	void TearDown() override
	{
		InProcessSession::TearDown();
		standin::SetThreadCount(0);
	}


	// The panel as print-panel shows it, by entry number.
	std::map<Int32, std::string> Panel()
	{
		std::map<Int32, std::string> lines;
		EXPECT_EQ(Run("print-panel\n"), 0) << out;
		std::istringstream in(out);
		std::string line;
		while (std::getline(in, line))
			lines[std::stoi(line)] = line;
		return lines;
	}

	// The tail of a panel line: "<value> shown|hidden enabled|disabled" for the state words.
	static bool Shown(const std::string& line) { return Contains(line, " shown "); }
	static bool Enabled(const std::string& line) { return line.size() >= 8 && line.compare(line.size() - 8, 8, " enabled") == 0; }

};

TEST_F(LoomPanel, HiddenEntriesFollowStrokeStyleAndSurfaceMode)
{
	auto panel = Panel();
	EXPECT_EQ(panel[3029], "3029 LOOM_LINE_GROUP \"Straight line\" GROUP - hidden enabled");
	EXPECT_EQ(panel[3050], "3050 LOOM_FREEHAND_POINTS \"Freehand points\" LONG 20 shown enabled");
	EXPECT_EQ(panel[3013], "3013 LOOM_PLANE_INFO \"Plane\" GROUP - hidden enabled");
	EXPECT_FALSE(Shown(panel[3033])) << panel[3033];
	EXPECT_TRUE(Shown(panel[3018])) << panel[3018];
	EXPECT_FALSE(Shown(panel[3047])) << panel[3047];
	EXPECT_TRUE(Shown(panel[3039])) << panel[3039];

	ASSERT_EQ(Run("set-tool-setting LOOM_STROKE_STYLE LOOM_STYLE_LINE\n"), 0) << out;
	panel = Panel();
	EXPECT_EQ(panel[3020], "3020 LOOM_STROKE_STYLE \"Stroke style\" CYCLE \"Straight line\" 3021 shown enabled");
	EXPECT_TRUE(Shown(panel[3029])) << panel[3029];
	EXPECT_FALSE(Shown(panel[3050])) << panel[3050];
	// A hidden field cannot be typed into.
	EXPECT_EQ(Run("set-tool-setting 3050 30\n"), 1);
	EXPECT_TRUE(Contains(out, "test.session:1: set-tool-setting: entry 3050 (LOOM_FREEHAND_POINTS) is hidden")) << out;

	ASSERT_EQ(Run("set-tool-setting 3036 3038\n"), 0) << out;
	panel = Panel();
	EXPECT_FALSE(Shown(panel[3018])) << panel[3018];
	EXPECT_TRUE(Shown(panel[3047])) << panel[3047];
	EXPECT_FALSE(Shown(panel[3039])) << panel[3039];
	EXPECT_FALSE(Shown(panel[3013])) << panel[3013];
	EXPECT_FALSE(Shown(panel[3033])) << panel[3033];
	ASSERT_EQ(Run("set-tool-setting LOOM_STROKE_STYLE 3022\nset-tool-setting 3036 LOOM_MODE_NEW_SURFACE\n"), 0) << out;
	panel = Panel();
	EXPECT_FALSE(Shown(panel[3029])) << panel[3029];
	EXPECT_TRUE(Shown(panel[3050])) << panel[3050];
	EXPECT_TRUE(Shown(panel[3018])) << panel[3018];
	EXPECT_FALSE(Shown(panel[3047])) << panel[3047];
}

TEST_F(LoomPanel, EnabledEntriesFollowModeAndThePlaneObject)
{
	auto panel = Panel();
	EXPECT_TRUE(Enabled(panel[3000])) << panel[3000];
	EXPECT_TRUE(Enabled(panel[3001])) << panel[3001];
	EXPECT_EQ(panel[3003], "3003 LOOM_CREATE \"Create\" BUTTON - shown disabled"); // no strokes yet
	EXPECT_EQ(panel[3007], "3007 LOOM_PLANE_AXIS \"Plane axis\" CYCLE \"Turn about Z\" 3008 shown disabled");
	EXPECT_FALSE(Enabled(panel[3011])) << panel[3011];
	EXPECT_TRUE(Enabled(panel[3036])) << panel[3036];
	EXPECT_FALSE(Enabled(panel[3040])) << panel[3040];

	ASSERT_EQ(Run("add-null Rig\nadd-object plane Ground 200\nparent Ground Rig\nset-tool-setting LOOM_PLANE_OBJECT Rig/Ground\n"), 0) << out;
	panel = Panel();
	EXPECT_EQ(panel[3006], "3006 LOOM_PLANE_OBJECT \"Plane object\" LINK \"Rig/Ground\" shown enabled");
	EXPECT_TRUE(Enabled(panel[3007])) << panel[3007];
	EXPECT_TRUE(Enabled(panel[3011])) << panel[3011];
	ASSERT_EQ(Run("set-tool-setting LOOM_PLANE_AXIS LOOM_PLANE_TURN_X\nset-tool-setting LOOM_PLANE_SOLID on\n"), 0) << out;
	// The object deleted, the link resolves to nothing and the plane settings lock again.
	ASSERT_EQ(Run("delete-object Rig\n"), 0) << out;
	panel = Panel();
	EXPECT_EQ(panel[3006], "3006 LOOM_PLANE_OBJECT \"Plane object\" LINK none shown enabled");
	EXPECT_EQ(panel[3007], "3007 LOOM_PLANE_AXIS \"Plane axis\" CYCLE \"Turn about X\" 3009 shown disabled");
	EXPECT_EQ(Run("set-tool-setting LOOM_PLANE_SOLID off\n"), 1);
	EXPECT_TRUE(Contains(out, "entry 3011 (LOOM_PLANE_SOLID) is disabled")) << out;

	ASSERT_EQ(Run("set-tool-setting LOOM_SURFACE_MODE LOOM_MODE_POLYGON_SPLIT\n"), 0) << out;
	panel = Panel();
	EXPECT_FALSE(Enabled(panel[3000])) << panel[3000];
	EXPECT_FALSE(Enabled(panel[3001])) << panel[3001];
	EXPECT_FALSE(Enabled(panel[3003])) << panel[3003];
	EXPECT_TRUE(Enabled(panel[3040])) << panel[3040];
}

TEST_F(LoomPanel, StrokesEnableCreateAndLockTheSurfaceMode)
{
	ASSERT_EQ(Run("drag left 200 200 220 200 240 210 260 230\n"), 0) << out;
	auto panel = Panel();
	EXPECT_TRUE(Enabled(panel[3003])) << panel[3003];
	EXPECT_FALSE(Enabled(panel[3036])) << panel[3036];
	EXPECT_EQ(Run("set-tool-setting LOOM_SURFACE_MODE 3038\n"), 1);
	EXPECT_TRUE(Contains(out, "entry 3036 (LOOM_SURFACE_MODE) is disabled")) << out;
	// Leaving the tool discards the strokes.
	ASSERT_EQ(Run("activate-tool 1027250\nprint-strokes\n"), 0) << out;
	EXPECT_EQ(out, "strokes 0\n");
	EXPECT_FALSE(Enabled(Panel()[3003]));
}

TEST_F(LoomPanel, AChangedSettingIsPutRightBeforeThePanelShowsIt)
{
	// Threads never above the host's count.
	standin::SetThreadCount(4);
	ASSERT_EQ(Run("set-tool-setting LOOM_THREADS 9\n"), 0) << out;
	EXPECT_EQ(Panel()[3034], "3034 LOOM_THREADS \"Threads\" LONG 4 shown enabled");
	ASSERT_EQ(Run("set-tool-setting LOOM_THREADS 3\n"), 0) << out;
	EXPECT_EQ(Panel()[3034], "3034 LOOM_THREADS \"Threads\" LONG 3 shown enabled");

	// A texture source must carry texture coordinates (a UVW tag), or it is dropped with the switch.
	dir.Write("tex.obj", "v 0 0 0\nv 1 0 0\nv 1 1 0\nvt 0 0\nvt 1 0\nvt 1 1\nf 1/1 2/2 3/3\n");
	ASSERT_EQ(Run("import-obj tex.obj Textured\nadd-object cube Bare 100\nset-tool-setting LOOM_UV_FROM_SOURCE on\nset-tool-setting LOOM_UV_SOURCE Textured\n"), 0) << out;
	auto panel = Panel();
	EXPECT_EQ(panel[3016], "3016 LOOM_UV_SOURCE \"UV source\" LINK \"Textured\" shown enabled");
	EXPECT_EQ(panel[3015], "3015 LOOM_UV_FROM_SOURCE \"UV from source\" BOOL on shown enabled");
	ASSERT_EQ(Run("set-tool-setting LOOM_UV_SOURCE Bare\n"), 0) << out;
	panel = Panel();
	EXPECT_EQ(panel[3016], "3016 LOOM_UV_SOURCE \"UV source\" LINK none shown enabled");
	EXPECT_EQ(panel[3015], "3015 LOOM_UV_FROM_SOURCE \"UV from source\" BOOL off shown enabled");

	// Polygon splitting works on edges: the document follows into edge mode.
	ASSERT_EQ(Run("set-mode points\n"), 0) << out;
	ASSERT_EQ(GetActiveDocument()->GetMode(), Mpoints);
	ASSERT_EQ(Run("set-tool-setting LOOM_SURFACE_MODE LOOM_MODE_POLYGON_SPLIT\n"), 0) << out;
	EXPECT_EQ(GetActiveDocument()->GetMode(), Medges);
}

TEST_F(LoomPanel, OnlyTheFalloffStartsAfreshOnEveryActivation)
{
	BaseContainer* settings = standin::tools::ToolSettings(kLoomTool);
	ASSERT_NE(settings, nullptr);
	auto* falloff = static_cast<SplineData*>(settings->GetDataPointerWritable(3014)->GetCustomDataTypeWritable(CUSTOMDATATYPE_SPLINE));
	ASSERT_NE(falloff, nullptr);
	falloff->InsertKnot(0.5, 0.25); // shaped by the user in the panel
	ASSERT_EQ(Run("set-tool-setting LOOM_STROKE_SEGMENTS 9\nset-tool-setting LOOM_TEXT_A kept\nprint-tool-settings\n"), 0) << out;
	EXPECT_TRUE(Contains(out, "3014 SPLINE 3 knots\n")) << out;
	ASSERT_EQ(Run("activate-tool 1027250\nprint-tool-settings\n"), 0) << out;
	EXPECT_TRUE(Contains(out, "3014 SPLINE 2 knots\n")) << out;
	EXPECT_TRUE(Contains(out, "3000 LONG 9\n")) << out;
	EXPECT_TRUE(Contains(out, "3030 STRING \"kept\"\n")) << out;

	// A restart of the plug-ins brings a new tool with its own defaults, and nothing of the old
	// one is reached.
	ASSERT_EQ(Run("restart-plugins\nnew-document\nprint-panel\n"), 1);
	EXPECT_TRUE(Contains(out, "print-panel: no tool is active")) << out;
	ASSERT_EQ(Run("activate-tool Loomcast\nprint-tool-settings\n"), 0) << out;
	EXPECT_TRUE(Contains(out, "3000 LONG 5\n")) << out;
}

TEST_F(LoomPanel, TheAngleStepIsTypedAndShownInDegreesAndKeptInRadians)
{
	ASSERT_EQ(Run("set-tool-setting LOOM_STROKE_STYLE LOOM_STYLE_LINE\nset-tool-setting LOOM_ANGLE_STEP 22.5\n"), 0) << out;
	EXPECT_EQ(Panel()[3028], "3028 LOOM_ANGLE_STEP \"Angle step\" REAL 22.5\u00b0 shown enabled");
	const BaseContainer* settings = standin::tools::ActiveToolSettings();
	ASSERT_NE(settings, nullptr);
	EXPECT_DOUBLE_EQ(settings->GetFloat(3028), PI / 8.0);
	// Other numbers are kept as typed.
	ASSERT_EQ(Run("set-tool-setting LOOM_PLANE_TOLERANCE 22.5\n"), 0) << out;
	EXPECT_EQ(settings->GetFloat(3012), 22.5);
	ASSERT_EQ(Run("set-tool-setting LOOM_ANGLE_STEP -90\n"), 0) << out;
	EXPECT_DOUBLE_EQ(settings->GetFloat(3028), -PI / 2.0);
	EXPECT_EQ(Panel()[3028], "3028 LOOM_ANGLE_STEP \"Angle step\" REAL -90\u00b0 shown enabled");
}

TEST_F(LoomPanel, ButtonsAUserCannotPressAreRefused)
{
	EXPECT_EQ(Run("press-button LOOM_CREATE\n"), 1);
	EXPECT_TRUE(Contains(out, "test.session:1: press-button: entry 3003 (LOOM_CREATE) is disabled")) << out;
	EXPECT_EQ(Run("press-button 3000\n"), 1);
	EXPECT_TRUE(Contains(out, "entry 3000 (LOOM_STROKE_SEGMENTS) is no button")) << out;
	EXPECT_EQ(Run("press-button LOOM_NO_SUCH\n"), 1);
	EXPECT_TRUE(Contains(out, "the settings panel has no entry LOOM_NO_SUCH")) << out;
	EXPECT_EQ(Run("press-button LOOM_UPDATE\n"), 0) << out;
}

TEST_F(LoomPanel, WordsAUserCouldNotTypeAreErrorsThatChangeNothing)
{
	ASSERT_EQ(Run("add-object cube Box 100\nprint-tool-settings\n"), 0) << out;
	const std::string before = out;
	const struct
	{
		const char* line;
		const char* why;
	} cases[] = {
		{"activate-tool", "usage: activate-tool"},
		{"activate-tool 1 2", "usage: activate-tool"},
		{"activate-tool 99999999999", "tool ID '99999999999' is not a whole number"},
		{"activate-tool -5", "outside"},
		{"activate-tool 1039103", "no tool is registered under 1039103"},
		{"activate-tool \"Loom\x1b[2Jcast\"", "no tool is named"},
		{"activate-tool 3D", "no tool is named '3D'"},
		{"set-tool-setting 3000", "usage: set-tool-setting"},
		{"set-tool-setting \"a b\" 1", "neither an entry number nor a symbol"},
		{"set-tool-setting 0 1", "outside"},
		{"set-tool-setting 3000 abc", "3000 (LOOM_STROKE_SEGMENTS): value 'abc' is not a whole number"},
		{"set-tool-setting 3000 99999999999", "not a whole number"},
		{"set-tool-setting LOOM_PLANE_TOLERANCE nan", "3012 (LOOM_PLANE_TOLERANCE): value 'nan' is not a number"},
		{"set-tool-setting LOOM_PLANE_TOLERANCE 1e999", "value '1e999' is not a number"},
		{"set-tool-setting LOOM_PLANE_SOLID maybe", "expected on or off"},
		{"set-tool-setting LOOM_PLANE_OBJECT No/Such", "No/Such"},
		{"set-tool-setting LOOM_STROKE_STYLE 3037", "is not a choice of LOOM_STROKE_STYLE (3021 LOOM_STYLE_LINE, 3022 LOOM_STYLE_FREEHAND)"},
		{"set-tool-setting LOOM_FALLOFF 1", "a script cannot type in"},
		{"set-tool-setting LOOM_CREATE 1", "holds no value"},
		{"set-tool-setting 4000 1", "the settings panel has no entry 4000"},
		{"press-button", "usage: press-button"},
		{"press-button \"\"", "neither an entry number nor a symbol"},
		{"print-panel now", "usage: print-panel"},
		{"print-tool-settings now", "usage: print-tool-settings"},
		{"print-strokes now", "usage: print-strokes"},
	};
	for (const auto& c : cases)
	{
		EXPECT_EQ(Run(std::string(c.line) + "\n"), 1) << c.line;
		EXPECT_TRUE(Contains(out, "test.session:1: ")) << out;
		EXPECT_TRUE(Contains(out, c.why)) << c.line << ": " << out;
		EXPECT_FALSE(Contains(out, "\x1b")) << out; // the user's words come back escaped
	}
	ASSERT_EQ(Run("print-tool-settings\n"), 0) << out;
	EXPECT_EQ(out, before.substr(before.find("3000 LONG")));
	EXPECT_EQ(standin::tools::ActiveToolId(), kLoomTool);
}

TEST_F(LoomPanel, WithoutADocumentOrAToolTheVerbsSaySo)
{
	standin::tools::DeactivateTool(GetActiveDocument());
	for (const char* line : {"print-panel", "print-tool-settings", "print-strokes", "press-button 3004", "set-tool-setting 3000 1"})
	{
		EXPECT_EQ(Run(std::string(line) + "\n"), 1) << line;
		EXPECT_TRUE(Contains(out, "no tool is active")) << line << ": " << out;
	}
	ASSERT_EQ(Run("activate-tool 1027250\nprint-strokes\n"), 0) << out;
	EXPECT_EQ(out, "strokes 0\n");
}

} // namespace
