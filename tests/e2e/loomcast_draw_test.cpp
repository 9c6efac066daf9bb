// What the stroke tool draws in the view, read from the draw log of the built plug-in: the brush
// and its falloff colours, the edge-selection and erase brushes, the grid preview with its
// in-between rows, the splitting rungs, the drawing plane, the inspected object's console lines,
// the operation labels, and the picture file render-view writes. Records are counted by the pen
// they are drawn in.
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "host_run.h"
#include "scratch_folder.h"
#include "script_output.h"

namespace
{

HostRun RunScript(const ScratchFolder& dir, const std::string& body)
{
	return RunHostScript(dir.Write("draw.session", "load-plugins\nnew-document\n" + body));
}

// Every drawing record of a log prefixed with the pen it is drawn in: "(1;0.8;0) handle ...".
std::vector<std::string> Penned(const std::vector<std::string>& log)
{
	std::vector<std::string> out;
	std::string pen = "(none)";
	for (const std::string& line : log)
	{
		if (line.rfind("pen ", 0) == 0)
			pen = line.substr(4);
		else if (line.rfind("param ", 0) != 0 && line.rfind("matrix ", 0) != 0)
			out.push_back(pen + " " + line);
	}
	return out;
}

int Count(const std::vector<std::string>& log, const std::string& pen, const std::string& record)
{
	return CountPrefix(Penned(log), pen + " " + record);
}

// The front view shows world (x, y) at pixel (320 + x, 240 - y), so pixel distances are read off
// the script.
const char* kFrontLines = "add-view front\nactivate-tool 1027250\nset-tool-setting LOOM_STROKE_STYLE LOOM_STYLE_LINE\n";

const char* kFloor = "add-object plane Floor 400 4\nselect-object Floor\n";
// The floor's far border (points 20 to 24, seen at row 196 from x 222 to 418) selected, polygon
// splitting with knots at 0.3 and 0.6, and a stroke beyond the border that collects it.
const char* kSplitSetup =
	"set-mode edges\nselect-edges Floor 49 53 57 61\nactivate-tool 1027250\n"
	"set-tool-setting LOOM_ON_SURFACE on\nset-tool-setting LOOM_SURFACE_MODE LOOM_MODE_POLYGON_SPLIT\n"
	"set-tool-gradient LOOM_SPLITS 0.3 0.6\n"
	"drag left 215 170  260 168  300 166  340 166  380 168  425 170\n";

} // namespace

TEST(LoomDraw, EachOperationNamesItselfFiftyPixelsAboveTheCursor)
{
	// The default perspective view: the mouse pixel goes to the world and back a hair off, and the
	// circle and labels still sit on the pixel itself.
	ScratchFolder dir;
	const HostRun r = RunScript(dir,
		"activate-tool 1027250\n"
		"move-mouse 320 300\nprint \"== none\"\nprint-draw-log\n"
		"move-mouse 320 300 ctrl\nprint \"== ctrl\"\nprint-draw-log\n"
		"move-mouse 320 300 shift\nprint \"== shift\"\nprint-draw-log\n"
		"move-mouse 320 300 alt\nprint \"== alt\"\nprint-draw-log\n"
		"move-mouse 320 300 shift ctrl\nprint \"== shift ctrl\"\nprint-draw-log\n"
		"move-mouse 320 300 ctrl alt\nprint \"== ctrl alt\"\nprint-draw-log\n"
		"move-mouse 320 300 shift alt\nprint \"== shift alt\"\nprint-draw-log\n"
		"move-mouse 320 300 shift ctrl alt\nprint \"== all\"\nprint-draw-log\n");
	ASSERT_EQ(r.status, 0) << r.output;
	const struct
	{
		const char* section;
		const char* label; // nullptr: no label
	} cases[] = {{"== none", nullptr}, {"== ctrl", "Point Move"}, {"== shift", "Edit Radius"}, {"== alt", "Edge selection"},
		{"== shift ctrl", "Point erase"}, {"== ctrl alt", "Adjust points"}, {"== shift alt", "Add points"}, {"== all", nullptr}};
	for (const auto& c : cases)
	{
		const std::vector<std::string> log = Section(r.output, c.section);
		ASSERT_FALSE(log.empty()) << c.section;
		EXPECT_EQ(CountPrefix(log, "circle 320 300 radius 10"), 1) << c.section << "\n" << r.output;
		if (c.label)
		{
			EXPECT_EQ(CountPrefix(log, "text "), 1) << c.section;
			EXPECT_EQ(CountPrefix(log, std::string("text 320 250 \"") + c.label + "\""), 1) << c.section << "\n" << r.output;
		}
		else
			EXPECT_EQ(CountPrefix(log, "text "), 0) << c.section;
	}
}

TEST(LoomDraw, TheBrushShadesEachPointByTheFalloffAndIsWhiteOnlyForPointMove)
{
	// Brush radius 100 pressed at pixel (300, 240): stroke points at pixel distances 0, 40, 60 and
	// about 206. With the default falloff the pen is white at the centre, (0.6;0.6;1) and
	// (0.4;0.4;1) on the way out, blue beyond the rim.
	ScratchFolder dir;
	const HostRun r = RunScript(dir, std::string(kFrontLines) +
		"set-tool-setting LOOM_RADIUS 100\ndrag left 300 240  340 240\ndrag left 300 300  500 300\n"
		"move-mouse 300 240 ctrl\nprint \"== move\"\nprint-draw-log\n"
		"move-mouse 300 240 ctrl alt\nprint \"== adjust\"\nprint-draw-log\n"
		"move-mouse 300 240 shift alt\nprint \"== add\"\nprint-draw-log\n"
		"move-mouse 300 240 shift\nprint \"== radius\"\nprint-draw-log\n");
	ASSERT_EQ(r.status, 0) << r.output;
	for (const char* section : {"== move", "== adjust", "== add", "== radius"})
	{
		const std::vector<std::string> log = Section(r.output, section);
		const std::string circlePen = std::string(section) == "== move" ? "(1;1;1)" : "(0;1;0)";
		EXPECT_EQ(Count(log, circlePen, "circle 300 240 radius 100"), 1) << section << "\n" << r.output;
		EXPECT_EQ(Count(log, "(1;1;1)", "handle (-20;0;"), 1) << section;
		EXPECT_EQ(Count(log, "(0.6;0.6;1)", "handle (20;0;"), 1) << section;
		EXPECT_EQ(Count(log, "(0.4;0.4;1)", "handle (-20;-60;"), 1) << section;
		EXPECT_EQ(Count(log, "(0;0;1)", "handle (180;-60;"), 1) << section;
		EXPECT_EQ(CountPrefix(log, "handle "), 4 + 1) << section; // the points and the cursor
		// One line from each stroke's first point to its second, and both labels.
		EXPECT_EQ(CountPrefix(log, "line "), 2) << section;
		EXPECT_EQ(CountPrefix(log, "text 300 220 \"S1\""), 1) << section;
		EXPECT_EQ(CountPrefix(log, "text 300 280 \"S2\""), 1) << section;
	}
}

TEST(LoomDraw, EdgeSelectionAndEraseDrawTheirOwnBrushes)
{
	ScratchFolder dir;
	const HostRun r = RunScript(dir, std::string(kFrontLines) +
		"set-tool-setting LOOM_RADIUS 30\ndrag left 300 240  340 240\ndrag left 300 300  500 300\n"
		"move-mouse 340 240 alt\nprint \"== edges\"\nprint-draw-log\n"
		"move-mouse 340 240 shift ctrl\nprint \"== erase\"\nprint-draw-log\n");
	ASSERT_EQ(r.status, 0) << r.output;

	// Edge selection: a yellow circle and its label; the strokes are not drawn.
	const std::vector<std::string> edges = Section(r.output, "== edges");
	EXPECT_EQ(Count(edges, "(1;1;0)", "circle 340 240 radius 30"), 1) << r.output;
	EXPECT_EQ(Count(edges, "(1;1;0)", "text 340 190 \"Edge selection\""), 1) << r.output;
	EXPECT_EQ(CountPrefix(edges, "handle "), 1) << r.output;
	EXPECT_EQ(CountPrefix(edges, "line "), 0) << r.output;

	// Point erase: a green circle; the point under the cross (the end of the first stroke) red,
	// the others blue, and blue lines.
	const std::vector<std::string> erase = Section(r.output, "== erase");
	EXPECT_EQ(Count(erase, "(0;1;0)", "circle 340 240 radius 30"), 1) << r.output;
	EXPECT_EQ(Count(erase, "(1;0;0)", "handle (20;0;"), 1) << r.output;
	EXPECT_EQ(Count(erase, "(0;0;1)", "handle "), 3) << r.output;
	EXPECT_EQ(Count(erase, "(0;0;1)", "line "), 2) << r.output;
	EXPECT_EQ(CountPrefix(erase, "text 300 220 \"S1\""), 1) << r.output;
	EXPECT_EQ(CountPrefix(erase, "text 340 190 \"Point erase\""), 1) << r.output;
}

TEST(LoomDraw, TheGridPreviewFadesEachStrokeAndJoinsItsSamplesWithInBetweenRows)
{
	// Three freehand strokes of 20 points: segment m is drawn in (1;m/20;m/20), 19 segments each.
	// Each stroke's S + 1 samples are orange handles; each pair of neighbouring strokes is joined
	// by S + 1 rungs, and the D - 1 points on each rung by S lines each.
	ScratchFolder dir;
	const std::string strokes =
		"activate-tool 1027250\n"
		"drag left 180 300  260 296  340 296  460 300\ndrag left 180 340  260 336  340 336  460 340\n"
		"drag left 180 380  260 376  340 376  460 380\nmove-mouse 320 440\n";
	const HostRun r = RunScript(dir, strokes + "print \"== defaults\"\nprint-draw-log\n" +
		"set-tool-setting LOOM_STROKE_SEGMENTS 2\nset-tool-setting LOOM_SPAN_SEGMENTS 4\nprint \"== 2 by 4\"\nprint-draw-log\n" +
		"set-tool-setting LOOM_SPAN_SEGMENTS 1\nprint \"== 2 by 1\"\nprint-draw-log\n");
	ASSERT_EQ(r.status, 0) << r.output;

	const std::vector<std::string> defaults = Section(r.output, "== defaults");
	EXPECT_EQ(Count(defaults, "(1;0;0)", "line "), 3) << r.output;
	EXPECT_EQ(Count(defaults, "(1;0.5;0.5)", "line "), 3) << r.output;
	EXPECT_EQ(Count(defaults, "(1;0.9;0.9)", "line "), 3) << r.output;
	EXPECT_EQ(Count(defaults, "(1;0.95;0.95)", "line "), 0) << r.output;
	EXPECT_EQ(Count(defaults, "(1;0.8;0)", "handle "), 3 * 6) << r.output;
	EXPECT_EQ(CountPrefix(defaults, "handle "), 3 * 6 + 1) << r.output;
	// S = 5, D = 3: 6 rungs and 5 x 2 in-between lines per pair.
	EXPECT_EQ(Count(defaults, "(1;0.8;0)", "line "), 2 * (6 + 10)) << r.output;
	EXPECT_EQ(CountPrefix(defaults, "line "), 3 * 19 + 2 * (6 + 10)) << r.output;
	for (int i = 1; i <= 3; ++i)
		EXPECT_EQ(Count(defaults, "(1;0.8;0)", "text 180 " + std::to_string(240 + 40 * i) + " \"S" + std::to_string(i) + "\""), 1) << r.output;

	// S = 2, D = 4: 3 rungs and 2 x 3 in-between lines per pair; D = 1: the rungs alone.
	EXPECT_EQ(Count(Section(r.output, "== 2 by 4"), "(1;0.8;0)", "line "), 2 * (3 + 6)) << r.output;
	EXPECT_EQ(Count(Section(r.output, "== 2 by 1"), "(1;0.8;0)", "line "), 2 * 3) << r.output;
}

TEST(LoomDraw, AStrokeEmptiedByErasingIsLeftOutOfTheGrid)
{
	// An escaped erase keeps an emptied stroke in the store. The grid then joins the strokes that
	// still have points, and no rung starts at the world origin.
	ScratchFolder dir;
	const std::string shortStroke = "drag left 300 240  302 240\n";
	const std::string erase = "drag left shift ctrl 301 240  301 241 escape\n";
	const std::string longStrokes = "drag left 200 300  440 300\ndrag left 200 360  440 360\n";
	const std::string head = "activate-tool 1027250\nset-tool-setting LOOM_STROKE_STYLE LOOM_STYLE_LINE\n";
	const HostRun first = RunScript(dir, head + shortStroke + longStrokes + erase + "print-strokes\nmove-mouse 320 420\nprint \"== log\"\nprint-draw-log\n");
	ASSERT_EQ(first.status, 0) << first.output;
	ASSERT_TRUE(Contains(first.output, "strokes 3\nstroke 0 points 0:\n")) << first.output;
	const HostRun middle = RunScript(dir, head + "drag left 200 300  440 300\n" + shortStroke + "drag left 200 360  440 360\n" + erase +
		"print-strokes\nmove-mouse 320 420\nprint \"== log\"\nprint-draw-log\n");
	ASSERT_EQ(middle.status, 0) << middle.output;
	ASSERT_TRUE(Contains(middle.output, "stroke 1 points 0:\n")) << middle.output;

	for (const HostRun* r : {&first, &middle})
	{
		const std::vector<std::string> log = Section(r->output, "== log");
		EXPECT_EQ(CountPrefix(log, "line (0;0;0)"), 0) << r->output;
		// The two remaining strokes: one red segment each, 6 rungs and 10 in-between lines.
		EXPECT_EQ(Count(log, "(1;0;0)", "line "), 2) << r->output;
		EXPECT_EQ(Count(log, "(1;0.8;0)", "line "), 6 + 10) << r->output;
		EXPECT_EQ(Count(log, "(1;0.8;0)", "handle "), 2 * 6) << r->output;
	}
}

TEST(LoomDraw, InSplittingModeRungsRunFromTheBorderToTheStrokeAndShiftShowsTheKnotCuts)
{
	ScratchFolder dir;
	const HostRun r = RunScript(dir, std::string(kFloor) + kSplitSetup +
		"move-mouse 320 300\nprint \"== draw\"\nprint-draw-log\n"
		"move-mouse 320 300 shift\nprint \"== split\"\nprint-draw-log\n"
		"move-mouse 222 196\nprint \"== on the border's end\"\nprint-draw-log\n");
	ASSERT_EQ(r.status, 0) << r.output;

	// Five border points, so S = 4: five samples on the stroke (z = 350), a handle on each border
	// point and a rung from it to its sample.
	const std::vector<std::string> draw = Section(r.output, "== draw");
	EXPECT_EQ(Count(draw, "(1;0.8;0)", "handle "), 5 + 5) << r.output;
	EXPECT_EQ(Count(draw, "(1;0.8;0)", "handle (-200;0;200) kind 1"), 1) << r.output;
	EXPECT_EQ(Count(draw, "(1;0.8;0)", "line "), 5) << r.output;
	EXPECT_EQ(Count(draw, "(1;0.8;0)", "line (-200;0;200) (-234.787;0;350)"), 1) << r.output;
	EXPECT_EQ(Count(draw, "(0;1;0.5)", "circle 320 300 radius 10"), 1) << r.output;
	EXPECT_EQ(CountPrefix(draw, "text "), 1) << r.output; // S1 only

	// Shift: between neighbouring rungs a cut at each knot (0.3 and 0.6 of the 150-unit rungs),
	// drawn as two handles and a line: 4 gaps x 2 knots.
	const std::vector<std::string> split = Section(r.output, "== split");
	EXPECT_EQ(Count(split, "(1;0.8;0)", "handle "), 5 + 5 + 4 * 2 * 2) << r.output;
	EXPECT_EQ(Count(split, "(1;0.8;0)", "line "), 5 + 4 * 2) << r.output;
	EXPECT_EQ(Count(split, "(1;0.8;0)", "line (-210.436;0;245) (-105.218;0;245)"), 1) << r.output;
	EXPECT_EQ(Count(split, "(1;0.8;0)", "line (-220.872;0;290) (-110.436;0;290)"), 1) << r.output;
	EXPECT_EQ(Count(split, "(0;1;0.5)", "text 320 250 \"Polygon splitting Mode\""), 1) << r.output;

	// The cursor snapped to the border's free end: the circle turns red around that point.
	const std::vector<std::string> snapped = Section(r.output, "== on the border's end");
	EXPECT_EQ(Count(snapped, "(1;0;0)", "circle "), 1) << r.output;
	EXPECT_EQ(Count(snapped, "(1;0.5;0)", "handle (-200;0;200) kind 3"), 1) << r.output;
}

TEST(LoomDraw, TheDrawingPlaneIsFilledWhenSolidAndOutlinedOtherwise)
{
	ScratchFolder dir;
	const HostRun r = RunScript(dir,
		"add-null Rig\nactivate-tool 1027250\nset-tool-setting LOOM_PLANE_OBJECT Rig\nmove-mouse 100 100\nprint \"== wire\"\nprint-draw-log\n"
		"set-tool-setting LOOM_PLANE_SOLID on\nprint \"== solid\"\nprint-draw-log\n");
	ASSERT_EQ(r.status, 0) << r.output;
	EXPECT_EQ(CountPrefix(Section(r.output, "== wire"), "object \"Polygon\" polygons 1 flags 24579 colour (0;1;0)"), 1) << r.output;
	EXPECT_EQ(CountPrefix(Section(r.output, "== solid"), "object \"Polygon\" polygons 1 flags 27138 colour (0;1;0)"), 1) << r.output;
}

TEST(LoomDraw, AnInspectedMeshPrintsEachPointsNormalPositionAndScaledNormal)
{
	// A cube of side 100 moved 10 along x: its point 0 sits at (-40;-50;-50) in the world, its
	// normal points out along the diagonal. A null is no mesh and prints nothing.
	ScratchFolder dir;
	const HostRun r = RunScript(dir,
		"add-object cube Box 100\nset-position Box 10 0 0\nadd-null Empty\nactivate-tool 1027250\n"
		"set-tool-setting LOOM_INSPECT_OBJECT Empty\nmove-mouse 100 100\nprint \"== null\"\nprint-console\n"
		"set-tool-setting LOOM_INSPECT_OBJECT Box\nprint \"== box\"\nprint-console\n");
	ASSERT_EQ(r.status, 0) << r.output;
	EXPECT_EQ(CountPrefix(Section(r.output, "== null"), "wtail["), 0) << r.output;
	const std::vector<std::string> box = Section(r.output, "== box");
	std::vector<std::string> point0;
	for (size_t i = 0; i < box.size(); ++i)
		if (box[i] == "0=(-0.577;-0.577;-0.577)" && i + 2 < box.size())
			point0 = {box[i + 1], box[i + 2]};
	const std::vector<std::string> want = {"wtail[0]=(-40;-50;-50)", "n=(-57.735;-57.735;-57.735)"};
	EXPECT_EQ(point0, want) << r.output;
	// Every pass prints all eight points, three lines each.
	const int passes = CountPrefix(box, "wtail[0]=");
	EXPECT_GE(passes, 1);
	EXPECT_EQ(CountPrefix(box, "wtail["), 8 * passes);
	EXPECT_EQ(CountPrefix(box, "n="), 8 * passes);
}

TEST(LoomDraw, WithoutStrokesOnlyTheCursorItsCircleAndThePlaneAreDrawn)
{
	ScratchFolder dir;
	const HostRun r = RunScript(dir,
		"add-null Plane\nactivate-tool 1027250\nmove-mouse 200 200\nprint \"== plain\"\nprint-draw-log\n"
		"set-tool-setting LOOM_PLANE_OBJECT Plane\nprint \"== plane\"\nprint-draw-log\n"
		"move-mouse 200 200 ctrl\nprint \"== brush\"\nprint-draw-log\n");
	ASSERT_EQ(r.status, 0) << r.output;
	const std::vector<std::string> plain = Section(r.output, "== plain", 0);
	const std::vector<std::string> want = {"param 1000 = 1", "param 2 = 2", "matrix off (0;0;0) v1 (1;0;0) v2 (0;1;0) v3 (0;0;1)", "pen (0;1;0.5)",
		"circle 200 200 radius 10", "pen (1;0.5;0)"};
	ASSERT_GE(plain.size(), want.size() + 1) << r.output;
	EXPECT_EQ(std::vector<std::string>(plain.begin(), plain.begin() + static_cast<long>(want.size())), want);
	EXPECT_EQ(plain[want.size()].rfind("handle ", 0), 0u) << plain[want.size()];
	EXPECT_EQ(plain.size(), want.size() + 1) << r.output;

	const std::vector<std::string> plane = Section(r.output, "== plane", 0);
	ASSERT_EQ(plane.size(), want.size() + 2) << r.output;
	// The square is the polygon primitive, green while the cursor is off it, as wireframe.
	EXPECT_EQ(plane.back().rfind("object \"Polygon\" polygons 1 flags 24579 colour (0;1;0)", 0), 0u) << plane.back();

	const std::vector<std::string> brush = Section(r.output, "== brush", 0);
	EXPECT_EQ(CountPrefix(brush, "text "), 1) << r.output;
	EXPECT_TRUE(Contains(r.output, "\"Point Move\"")) << r.output;
}

TEST(LoomDraw, SplittingWithoutAnEdgeLineDrawsNoSamples)
{
	ScratchFolder dir;
	const HostRun r = RunScript(dir,
		"activate-tool 1027250\nset-tool-setting LOOM_SURFACE_MODE LOOM_MODE_POLYGON_SPLIT\n"
		"add-null Target\nselect-object Target\ndrag left 300 240  320 240  340 250\nprint \"== log\"\nprint-draw-log\n");
	ASSERT_EQ(r.status, 0) << r.output;
	const std::vector<std::string> log = Section(r.output, "== log", 0);
	EXPECT_EQ(CountPrefix(log, "handle "), 1) << r.output; // the cursor alone
	EXPECT_GT(CountPrefix(log, "line "), 0) << r.output;    // the stroke itself
}

TEST(LoomDraw, AOnePointStrokeIsItsLabelAndHandlesWithoutLines)
{
	ScratchFolder dir;
	const HostRun r = RunScript(dir,
		"activate-tool 1027250\nset-tool-setting LOOM_STROKE_STYLE LOOM_STYLE_LINE\n"
		"drag left 300 240  340 240\ndrag left shift ctrl 340 240\nprint-strokes\nmove-mouse 100 100\nprint \"== log\"\nprint-draw-log\n");
	ASSERT_EQ(r.status, 0) << r.output;
	EXPECT_TRUE(Contains(r.output, "stroke 0 points 1:")) << r.output;
	const std::vector<std::string> log = Section(r.output, "== log", 0);
	EXPECT_EQ(CountPrefix(log, "line "), 0) << r.output;
	EXPECT_EQ(CountPrefix(log, "text 300 220 \"S1\""), 1) << r.output;
	EXPECT_EQ(CountPrefix(log, "handle "), 6 + 1) << r.output; // 5 + 1 samples, the cursor
}

TEST(LoomDraw, TheAngleReadOutIsNotShownOnceTheLineIsDrawn)
{
	ScratchFolder dir;
	const HostRun r = RunScript(dir,
		"activate-tool 1027250\nset-tool-setting LOOM_STROKE_STYLE LOOM_STYLE_LINE\nset-tool-setting LOOM_ANGLE_SNAP on\n"
		"set-tool-setting LOOM_ANGLE_STEP 0.5\ndrag left 300 240  340 200\nprint \"== log\"\nprint-draw-log\n");
	ASSERT_EQ(r.status, 0) << r.output;
	EXPECT_EQ(CountPrefix(Section(r.output, "== log", 0), "text "), 1) << r.output; // the stroke label only
}

TEST(LoomDraw, APictureOfTheToolIsWritten)
{
	ScratchFolder dir;
	const HostRun r = RunScript(dir, std::string(kFloor) + kSplitSetup + "move-mouse 320 300 shift\nrender-view " + (dir / "split.png") + " 320 240\n");
	ASSERT_EQ(r.status, 0) << r.output;
	EXPECT_TRUE(Contains(r.output, "picture " + (dir / "split.png") + " 320 x 240")) << r.output;
	// Sizes a picture cannot have are refused before the script runs.
	const HostRun refused = RunScript(dir, "render-view " + (dir / "none.png") + " 0 10\n");
	EXPECT_NE(refused.status, 0);
	EXPECT_TRUE(Contains(refused.output, "width 0 is outside")) << refused.output;
	std::ifstream png(dir / "split.png", std::ios::binary);
	std::string head(4, '\0');
	png.read(head.data(), 4);
	EXPECT_EQ(head.substr(1), "PNG");
}
