// The stroke tool's cursor query as the pointer moves over a view, through session scripts with
// the built Loomcast plug-in loaded in this process: the help beside the pointer, the operation the
// held keys choose (and the edge mode Alt asks for), the erase position, the pointer leaving, and
// where the cursor stands: on the view plane of a parallel view, and on the drawing plane.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "hostapi/api.h"
#include "in_process_session.h"

namespace
{

bool Contains(const std::string& text, const std::string& part)
{
	return text.find(part) != std::string::npos;
}

// The help text of the tool (string 10000 of its resources), as its string table has it.
std::string HelpString()
{
	std::ifstream in(TEST_SOURCE_DIR "/loomcast/res/strings.str");
	std::string line;
	while (std::getline(in, line))
		if (line.rfind("10000 \"", 0) == 0)
			return line.substr(7, line.rfind('"') - 7);
	return std::string();
}

// What print-cursor showed: the help beside the pointer and the tool's cursor line.
struct CursorState
{
	std::string help;
	Vector pos;
	int operation = -1;
	int onPlane = -1;
	int snapped = -1;
	double eraseX = 0.0, eraseY = 0.0;
	std::string line;
};

class LoomCursor : public InProcessSession
{
protected:
	void SetUp() override { Start("new-document\nactivate-tool 1027250\n"); }


	// Runs the script, then print-cursor, and reads what it printed.
	CursorState After(const std::string& script)
	{
		CursorState c;
		EXPECT_EQ(Run(script + "print-cursor\n"), 0) << out;
		std::istringstream in(out);
		std::string line;
		while (std::getline(in, line))
		{
			if (line.rfind("help ", 0) == 0)
				c.help = line.substr(5);
			else if (line.rfind("cursor (", 0) == 0)
			{
				c.line = line;
				std::string text = line;
				for (char& ch : text)
					if (ch == '(' || ch == ')' || ch == ';')
						ch = ' ';
				std::istringstream words(text);
				std::string word;
				words >> word >> c.pos.x >> c.pos.y >> c.pos.z >> word >> c.operation >> word >> c.onPlane >> word >> c.snapped >> word >> c.eraseX >> c.eraseY;
				EXPECT_TRUE(words || words.eof()) << line;
			}
		}
		EXPECT_FALSE(c.line.empty()) << out;
		return c;
	}

};

void ExpectAt(const CursorState& c, const Vector& want)
{
	EXPECT_NEAR(c.pos.x, want.x, 1e-3) << c.line;
	EXPECT_NEAR(c.pos.y, want.y, 1e-3) << c.line;
	EXPECT_NEAR(c.pos.z, want.z, 1e-3) << c.line;
}

// A parallel view along +Z from z = -1000 at one unit a pixel: pixel (x, y) at depth d is the
// world point (x - 320, 240 - y, d - 1000).
const char* kParallelView = "add-view parallel\nset-camera 0 0 0 0 0 -1000\n";

TEST_F(LoomCursor, HelpOperationEraseSpotAndEdgeModeFollowThePointerAndItsKeys)
{
	const std::string help = HelpString();
	ASSERT_FALSE(help.empty());
	CursorState c = After("");
	EXPECT_EQ(c.help, "none");

	c = After("move-mouse 200 100\n");
	EXPECT_EQ(c.help, "\"" + help + "\"");
	EXPECT_EQ(c.operation, 0);

	// Shift + Ctrl chooses Point erase, which keeps the spot for the brush; other keys leave it.
	c = After("move-mouse 210 110 shift ctrl\n");
	EXPECT_EQ(c.operation, 4);
	EXPECT_EQ(c.eraseX, 210.0);
	EXPECT_EQ(c.eraseY, 110.0);
	c = After("move-mouse 220 120 ctrl\n");
	EXPECT_EQ(c.operation, 1);
	EXPECT_EQ(c.eraseX, 210.0);
	EXPECT_EQ(c.eraseY, 110.0);

	// Alt alone selects edges, so the document goes to edge mode; Ctrl + Alt does not.
	BaseDocument* doc = GetActiveDocument();
	ASSERT_NE(doc, nullptr);
	ASSERT_EQ(Run("set-mode points\n"), 0) << out;
	c = After("move-mouse 220 120 ctrl alt\n");
	EXPECT_EQ(c.operation, 6);
	EXPECT_EQ(doc->GetMode(), Mpoints);
	c = After("move-mouse 220 120 alt\n");
	EXPECT_EQ(c.operation, 3);
	EXPECT_EQ(doc->GetMode(), Medges);
	c = After("move-mouse 220 120 shift ctrl alt\n");
	EXPECT_EQ(c.operation, 0);

	// The pointer leaving is answered at once: the help goes, nothing is redrawn or changed.
	ASSERT_EQ(Run("move-mouse 230 130 shift\nprint-redraws\n"), 0) << out;
	const CursorState before = After("");
	EXPECT_EQ(before.operation, 2);
	ASSERT_EQ(Run("mouse-leave\nprint-redraws\n"), 0) << out;
	EXPECT_EQ(out, "no redraws\n");
	const CursorState left = After("");
	EXPECT_EQ(left.help, "none");
	EXPECT_EQ(left.line, before.line);
	// Picking the tool again starts without help until the pointer moves.
	EXPECT_EQ(After("move-mouse 1 1\nactivate-tool 1027250\n").help, "none");
}

TEST_F(LoomCursor, InAParallelViewAPlainCursorLiesOnTheViewPlane)
{
	// No object under the pointer: the cursor goes to the view plane (depth 0) while no key is
	// held, and to the remembered depth (500) for every other operation.
	CursorState c = After(std::string(kParallelView) + "move-mouse 330 200\n");
	ExpectAt(c, Vector(10, 40, -1000));
	c = After("move-mouse 330 200 ctrl\n");
	ExpectAt(c, Vector(10, 40, -500));
	// A cursor on a point of the active object's selected edges stays on that point: a plane facing
	// the view, its corner (-100; -100; 0) seen at pixel (220, 340), five pixels off along the cross.
	c = After("add-object plane P 200 2\nset-rotation P 0 90 0\nselect-object P\nset-mode edges\nselect-edge-points P 0 1\n"
			  "move-mouse 225 340\n");
	EXPECT_EQ(c.snapped, 1) << c.line;
	ExpectAt(c, Vector(-100, -100, 0));
	c = After("move-mouse 300 200\n");
	EXPECT_EQ(c.snapped, 0) << c.line;
	ExpectAt(c, Vector(-20, 40, -1000));
	// A perspective view has no view plane to put it on: the cursor stays at the depth last found
	// under the pointer (the plane's, 1000).
	c = After("delete-object P\nset-projection 0\nmove-mouse 320 240\n");
	ExpectAt(c, Vector(0, 0, 0));
}

TEST_F(LoomCursor, TheCursorSnapsOntoTheDrawingPlaneWithinItsTolerance)
{
	// The cursor stands at (10; 40; -1000); the plane object at (5; 0; -996).
	const std::string setup = std::string(kParallelView) + "add-null Plane\nset-position Plane 5 0 -996\n";
	CursorState c = After(setup + "move-mouse 330 200\n");
	EXPECT_EQ(c.onPlane, 0);
	ExpectAt(c, Vector(10, 40, -1000));

	// Turned about X, the object's X-Z plane stands at z = -996, 4 units off: within 10.
	c = After("set-tool-setting LOOM_PLANE_OBJECT Plane\nset-tool-setting LOOM_PLANE_AXIS LOOM_PLANE_TURN_X\nmove-mouse 330 200\n");
	EXPECT_EQ(c.onPlane, 1) << c.line;
	ExpectAt(c, Vector(10, 40, -996));

	// Turned about Z it stands at x = 5, 5 units off.
	c = After("set-tool-setting LOOM_PLANE_AXIS LOOM_PLANE_TURN_Z\nmove-mouse 330 200\n");
	EXPECT_EQ(c.onPlane, 1) << c.line;
	ExpectAt(c, Vector(5, 40, -1000));
	// Beyond the tolerance the cursor stays; a negative tolerance counts by its size.
	c = After("set-tool-setting LOOM_PLANE_TOLERANCE 5\nmove-mouse 330 200\n");
	EXPECT_EQ(c.onPlane, 0) << c.line;
	ExpectAt(c, Vector(10, 40, -1000));
	c = After("set-tool-setting LOOM_PLANE_TOLERANCE -6\nmove-mouse 330 200\n");
	EXPECT_EQ(c.onPlane, 1) << c.line;

	// The turn follows the object's own frame: headed 90 degrees, the object's Y turned about its
	// Z axis points along world Z, so the plane is z = -996 again (x = 5 if the turn were taken in
	// world axes).
	c = After("set-rotation Plane 90 0 0\nmove-mouse 330 200\n");
	EXPECT_EQ(c.onPlane, 1) << c.line;
	ExpectAt(c, Vector(10, 40, -996));

	// Without a plane object nothing snaps.
	c = After("set-tool-setting LOOM_PLANE_OBJECT none\nmove-mouse 330 200\n");
	EXPECT_EQ(c.onPlane, 0) << c.line;
	ExpectAt(c, Vector(10, 40, -1000));
}

TEST_F(LoomCursor, PrintCursorNeedsAToolAndTakesNoWords)
{
	EXPECT_EQ(Run("print-cursor now\n"), 1);
	EXPECT_TRUE(Contains(out, "usage: print-cursor")) << out;
	ASSERT_EQ(Run("activate-tool 1027250\n"), 0) << out;
}

} // namespace
