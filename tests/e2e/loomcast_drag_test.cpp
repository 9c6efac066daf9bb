// The stroke tool's drag operations, through session scripts and the built plug-in: Point Move's
// falloff, Point erase, Edit Radius, Edge selection with hidden edges, Adjust and Add points, and
// polygon splitting with gradient knots, in either direction and over other objects or its own.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "host_run.h"
#include "scratch_folder.h"
#include "script_output.h"

namespace
{

HostRun RunScript(const ScratchFolder& dir, const std::string& body)
{
	const std::string script = dir.Write("drag.session", "load-plugins\nnew-document\n" + body);
	return RunHostScript(script);
}

// The lines of an OBJ file that start with prefix ("f ", "v ").
std::vector<std::string> ObjLines(const std::string& path, const std::string& prefix)
{
	std::ifstream in(path);
	std::vector<std::string> out;
	for (std::string line; std::getline(in, line);)
		if (line.rfind(prefix, 0) == 0)
			out.push_back(line);
	return out;
}

// The directed edges (a, b) that more than one face runs along. A mesh whose faces all face the
// same side crosses every shared edge once each way, so it has none.
std::set<std::pair<int, int>> RepeatedDirectedEdges(const std::vector<std::string>& faces)
{
	std::map<std::pair<int, int>, int> uses;
	for (const std::string& f : faces)
	{
		std::istringstream words(f.substr(2));
		std::vector<int> corners;
		for (std::string w; words >> w;)
			corners.push_back(std::stoi(w));
		for (size_t i = 0; i < corners.size(); ++i)
			++uses[{corners[i], corners[(i + 1) % corners.size()]}];
	}
	std::set<std::pair<int, int>> repeated;
	for (const auto& [edge, n] : uses)
		if (n > 1)
			repeated.insert(edge);
	return repeated;
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

// In a parallel view a press without anything under the cursor places the stroke's first point on
// the view's own plane; the view still shows it, so it can be erased like any other point.
TEST(LoomDrags, PointEraseReachesAStrokeStartedOnAParallelViewsPlane)
{
	ScratchFolder dir;
	const HostRun r = RunScript(dir,
		"add-view front\nactivate-tool 1027250\nset-tool-setting LOOM_STROKE_STYLE LOOM_STYLE_LINE\n"
		"drag left 300 240  360 240\ndrag left shift ctrl 300 240\nprint-strokes\n");
	ASSERT_EQ(r.status, 0) << r.output;
	EXPECT_TRUE(Contains(r.output, "stroke 0 points 1")) << r.output;
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

	const std::vector<std::string> faces = ObjLines(dir / "floor.obj", "f "), vertices = ObjLines(dir / "floor.obj", "v ");
	ASSERT_EQ(faces.size(), 28u);
	EXPECT_TRUE(RepeatedDirectedEdges(faces).empty());
	// The first new quad runs old 20, its first split point, the next rung's, old 21 (OBJ counts
	// from 1): the shared border edge 20-21 is crossed the other way round than by the floor's
	// quad, so the two surfaces face the same side.
	EXPECT_EQ(faces[16], "f 21 31 33 22");
	// Split points at 0.3 and 0.6 of the 150-unit rung from z = 200.
	ASSERT_EQ(vertices.size(), 40u);
	EXPECT_TRUE(Contains(vertices[30], " 0 245")) << vertices[30];
	EXPECT_TRUE(Contains(vertices[31], " 0 290")) << vertices[31];
}

TEST(LoomDrags, ASplitAlongAStrokeDrawnRightToLeftWindsTheBandLikeTheMesh)
{
	// The stroke starts at the border's right end, so the line runs 24, 23, ... 20: against the
	// floor's own edges, and every new quad is made reversed to face the floor's side.
	ScratchFolder dir;
	const HostRun r = RunScript(dir, std::string(kFloor) +
		"set-mode edges\nselect-edges Floor 49 53 57 61\nactivate-tool 1027250\n"
		"set-tool-setting LOOM_ON_SURFACE on\nset-tool-setting LOOM_SURFACE_MODE LOOM_MODE_POLYGON_SPLIT\n"
		"drag left shift 425 170  380 168  340 166  300 166  260 168  215 170\ndrag left shift 320 250\nprint-scene\n"
		"export-mesh Floor " + (dir / "floor.obj") + "\n");
	ASSERT_EQ(r.status, 0) << r.output;
	EXPECT_TRUE(Contains(r.output, "points=30 polygons=20")) << r.output;
	const std::vector<std::string> faces = ObjLines(dir / "floor.obj", "f ");
	ASSERT_EQ(faces.size(), 20u);
	// Old 24, old 23, then the new points placed for 23 and 24 (OBJ counts from 1): the border
	// edge 23-24 is crossed against the floor's quad.
	EXPECT_EQ(faces[16], "f 25 24 27 26");
	EXPECT_TRUE(RepeatedDirectedEdges(faces).empty());
}

TEST(LoomDrags, ASplitClickedOnTheSplitObjectItselfWrapsNothing)
{
	// The click lands well inside the floor, which is the object being split. It is never its own
	// wrapping target: no post-pass runs (the stepped clock would show in the read-out) and the
	// band keeps the places the preview gave it.
	ScratchFolder dir;
	const HostRun r = RunScript(dir, std::string(kFloor) + kSplitSetup + "set-clock-step 340\ndrag left shift 320 250\nprint-scene\nprint-tool-settings\nprint-points Floor\n");
	ASSERT_EQ(r.status, 0) << r.output;
	EXPECT_TRUE(Contains(r.output, "points=40 polygons=28")) << r.output;
	EXPECT_TRUE(Contains(r.output, "3035 STRING \"Result Time:\"")) << r.output;
	EXPECT_TRUE(Contains(r.output, "  27: (0;0;350) (0;0;350)\n")) << r.output;
	EXPECT_TRUE(Contains(r.output, "  34: (0;0;245) (0;0;245)\n")) << r.output;
	EXPECT_TRUE(Contains(r.output, "  35: (0;0;290) (0;0;290)\n")) << r.output;
}

TEST(LoomDrags, ASplitOfAnObjectDeletedSinceTheLineWasBuiltIsRefused)
{
	ScratchFolder dir;
	const HostRun r = RunScript(dir, std::string(kFloor) + kSplitSetup + "delete-object Floor\ndrag left shift 320 300\nprint-strokes\nprint-scene\n");
	ASSERT_EQ(r.status, 0) << r.output;
	EXPECT_TRUE(Contains(r.output, "the tool answered false")) << r.output;
	EXPECT_TRUE(Contains(r.output, "strokes 0")) << r.output;
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

TEST(LoomDrags, AdjustPointsOnAStrokesFirstPointMovesOnlyThatPoint)
{
	// The first point has no point before it to measure against: it follows the mouse for the
	// whole drag and keeps the grab, so the rest of the stroke stays where it was.
	ScratchFolder dir;
	const char* line = "activate-tool 1027250\nset-tool-setting LOOM_STROKE_STYLE LOOM_STYLE_LINE\n";
	const HostRun adjusted = RunScript(dir, std::string(line) + "drag left 300 240  340 240\ndrag left ctrl alt 300 240  280 240  260 250\nprint-strokes\n");
	const HostRun drawn = RunScript(dir, std::string(line) + "drag left 260 250  340 240\nprint-strokes\n");
	ASSERT_EQ(adjusted.status, 0) << adjusted.output;
	ASSERT_EQ(drawn.status, 0) << drawn.output;
	const std::vector<std::string> lines = Lines(drawn.output);
	std::string stroke;
	for (const std::string& l : lines)
		if (l.rfind("stroke 0 points 2: ", 0) == 0)
			stroke = l;
	ASSERT_FALSE(stroke.empty()) << drawn.output;
	EXPECT_TRUE(Contains(adjusted.output, stroke + "\n")) << adjusted.output << "\nwanted: " << stroke;
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
