// The stroke tool's drag operations and its view drawing, through session scripts and the built
// plug-in: Point Move's falloff, Point erase, Edit Radius, Edge selection with hidden edges,
// polygon splitting with gradient knots, and what a draw pass records.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "scratch_folder.h"
#include "host_run.h"

namespace
{

HostRun RunScript(const ScratchFolder& dir, const std::string& body)
{
	const std::string script = dir.Write("drag.session", "load-plugins\nnew-document\n" + body);
	return RunHostScript(script);
}

bool Contains(const std::string& text, const std::string& part)
{
	return text.find(part) != std::string::npos;
}

std::vector<std::string> Lines(const std::string& text)
{
	std::vector<std::string> lines;
	std::istringstream in(text);
	std::string line;
	while (std::getline(in, line))
		lines.push_back(line);
	return lines;
}

// The lines after the n-th occurrence (from 0) of a marker line, up to the next line that starts
// with "== " (the scripts print their markers so).
std::vector<std::string> Section(const std::string& output, const std::string& marker, int n)
{
	std::vector<std::string> out;
	int seen = -1;
	bool inside = false;
	for (const std::string& line : Lines(output))
	{
		if (line.rfind("== ", 0) == 0)
		{
			seen += line == marker ? 1 : 0;
			inside = line == marker && seen == n;
			continue;
		}
		if (inside)
			out.push_back(line);
	}
	return out;
}

int CountPrefix(const std::vector<std::string>& lines, const std::string& prefix)
{
	int n = 0;
	for (const std::string& l : lines)
		n += l.rfind(prefix, 0) == 0 ? 1 : 0;
	return n;
}

// A floor of 4 x 4 quads, 400 across, in the default perspective view; its far border (z = 200)
// runs through points 20 to 24 and is seen at pixel row 196 from x 222 to 418.
const char* kFloor = "add-object plane Floor 400 4\nselect-object Floor\n";

} // namespace

TEST(LoomDrags, ARightOrMiddlePressInDrawModeOnlyRedraws)
{
	ScratchFolder dir;
	const HostRun r = RunScript(dir,
		"activate-tool 1027250\nprint-redraws\n"
		"drag right 100 100  120 120  140 140\ndrag middle 100 100  130 100\nprint-strokes\nprint-redraws\n");
	ASSERT_EQ(r.status, 0) << r.output;
	EXPECT_TRUE(Contains(r.output, "strokes 0")) << r.output;
	EXPECT_TRUE(Contains(r.output, "redraw 1282")) << r.output;
	EXPECT_FALSE(Contains(r.output, "the tool answered false")) << r.output;
}

TEST(LoomDrags, PointMoveWeighsOneAtTheCursorFallingLinearlyToNothingAtTheRadius)
{
	// The front view shows world (x, y) at pixel (320 + x, 240 - y): a straight stroke from
	// pixel 300 to 320 and one from 350 to 420, then the brush (radius 100) pressed on 300 and
	// dragged 40 pixels up.
	ScratchFolder dir;
	const HostRun r = RunScript(dir,
		"add-view front\nactivate-tool 1027250\n"
		"set-tool-setting LOOM_STROKE_STYLE LOOM_STYLE_LINE\nset-tool-setting LOOM_RADIUS 100\n"
		"drag left 300 240  320 240\ndrag left 350 240  420 240\n"
		"drag left ctrl 300 240  300 220  300 200\nprint-strokes\n");
	ASSERT_EQ(r.status, 0) << r.output;
	// Distances 0, 20, 50 and 120 pixels: moved by 40, 32 and 20; the last one stays.
	EXPECT_TRUE(Contains(r.output, "stroke 0 points 2: (-20;40;")) << r.output;
	EXPECT_TRUE(Contains(r.output, ") (0;32;")) << r.output;
	EXPECT_TRUE(Contains(r.output, "stroke 1 points 2: (30;20;")) << r.output;
	EXPECT_TRUE(Contains(r.output, ") (100;0;-99750)")) << r.output;
}

TEST(LoomDrags, EditRadiusSetsTheRadiusToTheDistanceDragged)
{
	ScratchFolder dir;
	const HostRun r = RunScript(dir,
		"activate-tool 1027250\ndrag left shift 300 240  250 240  240 250\nprint-tool-settings\n"
		"drag left shift 300 240  330 240\nprint-tool-settings\n");
	ASSERT_EQ(r.status, 0) << r.output;
	EXPECT_TRUE(Contains(r.output, "3002 LONG 60\n")) << r.output;
	EXPECT_TRUE(Contains(r.output, "3002 LONG 30\n")) << r.output;
}

TEST(LoomDrags, PointEraseTakesNeighboursTogetherAndRemovesEmptiedStrokesAtTheEnd)
{
	ScratchFolder dir;
	const HostRun r = RunScript(dir,
		"activate-tool 1027250\nset-tool-setting LOOM_STROKE_STYLE LOOM_STYLE_LINE\n"
		"drag left 300 240  302 240\ndrag left 400 240  450 240\n"
		// Both points of the first stroke lie under the cross at the press.
		"drag left shift ctrl 301 240  301 241\nprint-strokes\n"
		// An escaped drag erases but keeps an emptied stroke; a finished one removes it.
		"drag left shift ctrl 450 240 escape\nprint-strokes\n"
		"drag left shift ctrl 400 240 escape\nprint-strokes\n"
		"drag left shift ctrl 200 100\nprint-strokes\n");
	ASSERT_EQ(r.status, 0) << r.output;
	const std::vector<std::string> lines = Lines(r.output);
	std::vector<std::string> counts;
	for (const std::string& l : lines)
		if (l.rfind("strokes ", 0) == 0 || l.rfind("stroke ", 0) == 0)
			counts.push_back(l.substr(0, l.find(':')));
	const std::vector<std::string> want = {"strokes 1", "stroke 0 points 2", "strokes 1", "stroke 0 points 1", "strokes 1", "stroke 0 points 0",
		"strokes 0"};
	EXPECT_EQ(counts, want) << r.output;
}

TEST(LoomDrags, EdgeSelectionTakesOnlyOpenEdgesThatTheViewShows)
{
	ScratchFolder dir;
	const HostRun r = RunScript(dir, std::string(kFloor) +
		"activate-tool 1027250\n"
		"drag left alt 222 196  260 196  300 196  340 196  380 196  418 196\nprint-edge-selection Floor\n"
		// Across the middle of the floor: only inner edges there, none is taken.
		"drag left alt 320 250  320 260  320 270  322 280\nprint-edge-selection Floor\n"
		// A box in front of the border's middle hides its two middle edges.
		"add-object cube Box 250\nset-position Box 0 125 150\nselect-object Floor\n"
		"drag left alt 222 196  260 196  300 196  340 196  380 196  418 196\nprint-edge-selection Floor\n");
	ASSERT_EQ(r.status, 0) << r.output;
	EXPECT_TRUE(Contains(r.output, "edge selection of Floor: 49-49 53-53 57-57 61-61\n")) << r.output;
	EXPECT_TRUE(Contains(r.output, "edge selection of Floor: none\n")) << r.output;
	EXPECT_TRUE(Contains(r.output, "edge selection of Floor: 49-49 61-61\n")) << r.output;
	EXPECT_FALSE(Contains(r.output, "the tool answered false")) << r.output;
}

namespace
{
// The floor's far border selected, the tool in polygon splitting with two split knots, and a
// stroke drawn beyond the border: the preview places the border's five points along it.
const char* kSplitSetup =
	"set-mode edges\nselect-edges Floor 49 53 57 61\nactivate-tool 1027250\n"
	"set-tool-setting LOOM_ON_SURFACE on\nset-tool-setting LOOM_SURFACE_MODE LOOM_MODE_POLYGON_SPLIT\n"
	"set-tool-gradient LOOM_SPLITS 0.3 0.6\n"
	"drag left shift 215 170  260 168  300 166  340 166  380 168  425 170\nprint-strokes\n";
} // namespace

TEST(LoomDrags, ASplitWithTwoKnotsGrowsABandOfThreeRowsWoundLikeTheMesh)
{
	ScratchFolder dir;
	const HostRun r = RunScript(dir, std::string(kFloor) + kSplitSetup + "drag left shift 320 300\nprint-scene\nprint-undo\nprint-tool-settings\n" +
		"export-mesh Floor " + (dir / "floor.obj") + "\n");
	ASSERT_EQ(r.status, 0) << r.output;
	// Shift with an empty edge line drew the stroke (and collected the line).
	EXPECT_TRUE(Contains(r.output, "strokes 1\nstroke 0 points 20:")) << r.output;
	// 25 + 5 new rung ends + 2 split points on each of the 5 rungs; 16 + 4 quads cut into 3 each.
	EXPECT_TRUE(Contains(r.output, "points=40 polygons=28")) << r.output;
	EXPECT_TRUE(Contains(r.output, "undo step 1: 40 change \"Floor\"")) << r.output;
	EXPECT_TRUE(Contains(r.output, "3035 STRING \"Result Time:\"")) << r.output;
	EXPECT_FALSE(Contains(r.output, "the tool answered false")) << r.output;

	std::ifstream obj(dir / "floor.obj");
	std::stringstream text;
	text << obj.rdbuf();
	const std::vector<std::string> lines = Lines(text.str());
	std::vector<std::string> faces, vertices;
	for (const std::string& l : lines)
	{
		if (l.rfind("f ", 0) == 0)
			faces.push_back(l);
		if (l.rfind("v ", 0) == 0)
			vertices.push_back(l);
	}
	ASSERT_EQ(faces.size(), 28u);
	// The first new quad runs old 20, its first split point, the next rung's, old 21 (OBJ counts
	// from 1): the shared border edge 20-21 is crossed the other way round than by the floor's
	// quad, so the two surfaces face the same side.
	EXPECT_EQ(faces[16], "f 21 31 33 22");
	// Split points at 0.3 and 0.6 of the 150-unit rung from z = 200.
	ASSERT_EQ(vertices.size(), 40u);
	EXPECT_TRUE(Contains(vertices[30], " 0 245")) << vertices[30];
	EXPECT_TRUE(Contains(vertices[31], " 0 290")) << vertices[31];
}

TEST(LoomDrags, ASplitOfAnObjectDeletedSinceTheLineWasBuiltIsRefused)
{
	ScratchFolder dir;
	const HostRun r = RunScript(dir, std::string(kFloor) + kSplitSetup + "delete-object Floor\ndrag left shift 320 300\nprint-strokes\nprint-scene\n");
	ASSERT_EQ(r.status, 0) << r.output;
	EXPECT_TRUE(Contains(r.output, "the tool answered false")) << r.output;
	EXPECT_TRUE(Contains(r.output, "strokes 0")) << r.output;
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

namespace
{
// The second point of the only stroke, as print-strokes shows it.
std::string SecondPoint(const std::string& output)
{
	for (const std::string& l : Lines(output))
	{
		if (l.rfind("stroke 0 points 2: ", 0) != 0)
			continue;
		const size_t gap = l.find(") (");
		return gap == std::string::npos ? std::string() : l.substr(gap + 2);
	}
	return std::string();
}
} // namespace

TEST(LoomDrags, AdjustPointsEndsItsGrabAtTheStrokesLastPoint)
{
	ScratchFolder dir;
	const char* line = "activate-tool 1027250\nset-tool-setting LOOM_STROKE_STYLE LOOM_STYLE_LINE\n";
	// The grab on the last point moves it once, to 380; then there is no next point to pass to.
	const HostRun adjusted = RunScript(dir, std::string(line) + "drag left 300 240  340 240\ndrag left ctrl alt 340 240  380 240  420 240\nprint-strokes\n");
	const HostRun drawn = RunScript(dir, std::string(line) + "drag left 300 240  380 240\nprint-strokes\n");
	ASSERT_EQ(adjusted.status, 0) << adjusted.output;
	ASSERT_EQ(drawn.status, 0) << drawn.output;
	ASSERT_FALSE(SecondPoint(drawn.output).empty()) << drawn.output;
	EXPECT_EQ(SecondPoint(adjusted.output), SecondPoint(drawn.output)) << adjusted.output;
}

TEST(LoomDrags, AddPointsExtendsTheGrabbedStrokeAndResamplesItWhenTheDragFinishes)
{
	ScratchFolder dir;
	const HostRun r = RunScript(dir,
		"activate-tool 1027250\nset-tool-setting LOOM_STROKE_STYLE LOOM_STYLE_LINE\ndrag left 300 240  340 240\n"
		"drag left shift alt 340 240  360 250  380 270\nprint-strokes\n"
		"drag left shift alt 100 100  120 100\nprint-strokes\n");
	ASSERT_EQ(r.status, 0) << r.output;
	EXPECT_TRUE(Contains(r.output, "strokes 1\nstroke 0 points 20:")) << r.output;
	// A press on no point changes nothing.
	const std::vector<std::string> lines = Lines(r.output);
	EXPECT_EQ(CountPrefix(lines, "stroke 0 points 20:"), 2) << r.output;
}

TEST(LoomDrags, AClickWithoutShiftMovesTheLinesPointsOnTheAxesLeftFree)
{
	ScratchFolder dir;
	// X locked: the border points keep their x and go out to the stroke's depth (z = 350).
	const HostRun r = RunScript(dir, std::string(kFloor) +
		"set-mode edges\nselect-edges Floor 49 53 57 61\nactivate-tool 1027250\n"
		"set-tool-setting LOOM_ON_SURFACE on\nset-tool-setting LOOM_SURFACE_MODE LOOM_MODE_POLYGON_SPLIT\nset-tool-setting LOOM_USE_X off\n"
		"drag left 215 170  260 168  300 166  340 166  380 168  425 170\ndrag left 320 300\nprint-scene\nprint-points Floor\n");
	ASSERT_EQ(r.status, 0) << r.output;
	EXPECT_TRUE(Contains(r.output, "points=25 polygons=16")) << r.output;
	EXPECT_TRUE(Contains(r.output, "  20: (-200;0;350) (-200;0;350)\n")) << r.output;
	EXPECT_TRUE(Contains(r.output, "  22: (0;0;350) (0;0;350)\n")) << r.output;
	EXPECT_TRUE(Contains(r.output, "  15: (-200;0;100) (-200;0;100)\n")) << r.output;
}

TEST(LoomDrags, ASplitClickedOverAnotherObjectRunsThePostPassOnTheNewBand)
{
	// The click that grows the floor lands on a ball in front of it: the ball is the picked object,
	// so the projection post-pass runs over the band (two threads, the stepped clock's read-out).
	// The band lies far off the ball, so its points keep their places.
	ScratchFolder dir;
	const HostRun r = RunScript(dir, std::string("add-object plane Floor 400 4\nadd-object sphere Ball 80 16\nset-position Ball 0 0 -300\n") +
		"select-object Floor\nset-mode edges\nselect-edges Floor 49 53 57 61\nactivate-tool 1027250\n"
		"set-tool-setting LOOM_ON_SURFACE on\nset-tool-setting LOOM_SURFACE_MODE LOOM_MODE_POLYGON_SPLIT\nset-clock-step 340\n"
		"drag left shift 215 170  260 168  300 166  340 166  380 168  425 170\ndrag left shift 320 300\n"
		"print-scene\nprint-tool-settings\nprint-points Floor\n");
	ASSERT_EQ(r.status, 0) << r.output;
	EXPECT_TRUE(Contains(r.output, "\"Floor\"")) << r.output;
	EXPECT_TRUE(Contains(r.output, "points=30 polygons=20")) << r.output;
	EXPECT_TRUE(Contains(r.output, "3035 STRING \"2CPU Result Time:340ms\"")) << r.output;
	EXPECT_TRUE(Contains(r.output, "  27: (0;0;350) (0;0;350)")) << r.output;
}
