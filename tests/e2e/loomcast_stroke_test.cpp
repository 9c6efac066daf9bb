// Strokes drawn with the mouse in a view, through session scripts and the built Loomcast plug-in:
// what a drag leaves in the tool, what the Create button builds from two strokes, what the host
// was asked to redraw and record, and scripts whose input words are wrong.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "hostapi/vector.h"
#include "scratch_folder.h"
#include "host_run.h"

namespace
{

bool Contains(const std::string& text, const std::string& part)
{
	return text.find(part) != std::string::npos;
}

// The scene every script starts from: the plug-ins, a document with its default view (camera at
// (0, 500, -1000) looking at the origin, 640 x 480 pixels) and the stroke tool active.
const char* kStart =
	"load-plugins\n"
	"new-document\n"
	"activate-tool 1027250\n";

HostRun RunWithTool(const std::string& body)
{
	ScratchFolder dir;
	return RunHostScript(dir.Write("strokes.session", std::string(kStart) + body));
}

// The point counts of the strokes print-strokes listed ("stroke i points n:"), in order, for each
// print-strokes of the output.
std::vector<std::vector<int>> StrokePointCounts(const std::string& output)
{
	std::vector<std::vector<int>> prints;
	std::istringstream in(output);
	std::string line;
	while (std::getline(in, line))
	{
		if (line.rfind("strokes ", 0) == 0)
			prints.emplace_back();
		else if (line.rfind("stroke ", 0) == 0 && !prints.empty())
		{
			const size_t at = line.find(" points ");
			if (at != std::string::npos)
				prints.back().push_back(std::stoi(line.substr(at + 8)));
		}
	}
	return prints;
}

TEST(LoomcastStrokes, TwoFreehandStrokesBuildAGridFacingTheViewer)
{
	ScratchFolder dir;
	const std::string script = dir.Write("build.session", std::string(kStart) +
		"drag left 200 200 220 200 240 200 260 210 280 230 300 260\n"
		"drag left 200 300 220 300 240 300 260 310 280 330 300 360\n"
		"print-strokes\n"
		"print-undo\n"
		"press-button 3003\n"
		"print-strokes\n"
		"print-undo\n"
		"print-scene\n"
		"export-mesh Polygon built.obj\n");
	const HostRun run = RunHostScript(script);
	ASSERT_EQ(run.status, 0) << run.output;
	// Each stroke was resampled to 20 points when its drag ended; the build consumed them.
	const std::vector<std::vector<int>> counts = StrokePointCounts(run.output);
	ASSERT_EQ(counts.size(), 2u) << run.output;
	EXPECT_EQ(counts[0], (std::vector<int>{20, 20})) << run.output;
	EXPECT_TRUE(counts[1].empty()) << run.output;
	// Drawing records nothing; the build records the new object as one step.
	const size_t none = run.output.find("no undo steps\n");
	const size_t made = run.output.find("undo step 1: 44 new object \"Polygon\"\n");
	ASSERT_NE(none, std::string::npos) << run.output;
	ASSERT_NE(made, std::string::npos) << run.output;
	EXPECT_LT(none, made) << run.output;
	// 6 points along each stroke, 3 spans between them: 6 x 4 points, 5 x 3 quads.
	EXPECT_TRUE(Contains(run.output, "points=24 polygons=15 tags=phong")) << run.output;

	// Every quad faces the camera: the cross product of its diagonals points back towards it (a quad facing away gets its corners swapped).
	std::ifstream obj(dir / "built.obj");
	ASSERT_TRUE(obj) << run.output;
	std::vector<Vector> points;
	int quads = 0;
	std::string line;
	const Vector camera(0, 500, -1000);
	while (std::getline(obj, line))
	{
		std::istringstream words(line);
		std::string kind;
		words >> kind;
		if (kind == "v")
		{
			Vector p;
			words >> p.x >> p.y >> p.z;
			points.push_back(p);
		}
		else if (kind == "f")
		{
			int i[4] = {};
			words >> i[0] >> i[1] >> i[2] >> i[3];
			ASSERT_TRUE(words || words.eof()) << line;
			const Vector a = points.at(size_t(i[0] - 1)), b = points.at(size_t(i[1] - 1));
			const Vector c = points.at(size_t(i[2] - 1)), d = points.at(size_t(i[3] - 1));
			const Vector n = Cross(c - a, d - b);
			const Vector toCamera = camera - (a + b + c + d) * 0.25;
			EXPECT_GT(Dot(n, toCamera), 0.0) << "quad " << quads << ": " << line;
			++quads;
		}
	}
	EXPECT_EQ(points.size(), 24u);
	EXPECT_EQ(quads, 15);
}

TEST(LoomcastStrokes, PointCountsOfStraightAndFreehandStrokes)
{
	const HostRun run = RunWithTool(
		// A straight line keeps its two ends, however the mouse wanders.
		"set-tool-setting 3020 3021\n"
		"drag left 100 100 120 100 140 130 150 90\n"
		"print-strokes\n"
		"press-key escape\n"
		// A freehand stroke in one straight motion slides its end instead of growing...
		"set-tool-setting 3020 3022\n"
		"drag left 100 100 110 100 120 100 130 100 escape\n"
		"print-strokes\n"
		// ...until a finished drag resamples it (every stroke, this one too).
		"drag left 100 200 110 200 120 200 130 200\n"
		"print-strokes\n"
		// Escape forgets every stroke.
		"press-key escape\n"
		"print-strokes\n");
	ASSERT_EQ(run.status, 0) << run.output;
	const std::vector<std::vector<int>> counts = StrokePointCounts(run.output);
	ASSERT_EQ(counts.size(), 4u) << run.output;
	EXPECT_EQ(counts[0], (std::vector<int>{2})) << run.output;
	EXPECT_EQ(counts[1], (std::vector<int>{2})) << run.output;
	EXPECT_EQ(counts[2], (std::vector<int>{20, 20})) << run.output;
	EXPECT_TRUE(counts[3].empty()) << run.output;
}

TEST(LoomcastStrokes, RightAndMiddlePressesOnlyRedraw)
{
	const HostRun run = RunWithTool(
		"print-redraws\n"
		"drag right 10 10 20 20 30 30\n"
		"drag middle 10 10 20 20\n"
		"print-strokes\n"
		"print-redraws\n"
		// A left drag redraws after every step that moves and once at the end.
		"drag left 10 10 20 20 20 20 30 30\n"
		"print-redraws\n"
		"print-redraws\n");
	ASSERT_EQ(run.status, 0) << run.output;
	// Per press: the cursor query on arriving there, then the press itself.
	EXPECT_TRUE(Contains(run.output, "strokes 0\nredraw 1282 x4\n")) << run.output;
	EXPECT_TRUE(Contains(run.output, "redraw 1282 x4\nredraw 1282 x4\nno redraws\n")) << run.output;
	EXPECT_TRUE(Contains(run.output, "\nredraw 1282 x4\nno redraws\n")) << run.output;
}

TEST(LoomcastStrokes, OnSurfaceTheStrokeLiesOnTheObjectUnderTheMouse)
{
	// The box's front face stands at z = -100; the view's middle pixel looks at it.
	const HostRun run = RunWithTool(
		"add-object cube Box 200\n"
		"set-tool-setting 3019 on\n"
		"drag left 320 240 330 240 340 245\n"
		"print-strokes\n");
	ASSERT_EQ(run.status, 0) << run.output;
	const std::vector<std::vector<int>> counts = StrokePointCounts(run.output);
	ASSERT_EQ(counts.size(), 1u) << run.output;
	EXPECT_EQ(counts[0], (std::vector<int>{20})) << run.output;
	const size_t at = run.output.find("stroke 0 points 20: ");
	ASSERT_NE(at, std::string::npos) << run.output;
	std::istringstream points(run.output.substr(at + 20, run.output.find('\n', at) - at - 20));
	std::string point;
	int seen = 0;
	while (points >> point)
	{
		EXPECT_TRUE(Contains(point, ";-100)")) << point;
		++seen;
	}
	EXPECT_EQ(seen, 20);
}

TEST(LoomcastStrokes, InputVerbsNeedAToolAndRefuseBadWords)
{
	ScratchFolder dir;
	// No tool active: a clear error, nothing else happens.
	HostRun run = RunHostScript(dir.Write("notool.session", "load-plugins\nnew-document\ndrag left 1 2 3 4\n"));
	EXPECT_EQ(run.status, 1);
	EXPECT_TRUE(Contains(run.output, "notool.session:3:")) << run.output;
	EXPECT_TRUE(Contains(run.output, "no tool is active")) << run.output;

	const char* bad[] = {
		"drag up 1 2\n",
		"drag left\n",
		"drag left 1\n",
		"drag left shift 1 2 3\n",
		"drag left 1 2 escape escape\n",
		"drag left 1 2 shift\n",
		"drag left nan 2\n",
		"drag left 1 1e300\n",
		"move-mouse 1\n",
		"move-mouse 1 2 hyper\n",
		"move-mouse 1 2 shift ctrl alt extra\n",
		"mouse-leave now\n",
		"press-key\n",
		"press-key 0\n",
		"press-key -5\n",
		"press-key 99999999999\n",
		"press-key \"\x1b[2J\"\n",
		"print-redraws 1\n",
		"print-undo all\n",
	};
	for (const char* line : bad)
	{
		run = RunHostScript(dir.Write("bad.session", std::string(kStart) + line));
		EXPECT_EQ(run.status, 1) << line << run.output;
		EXPECT_TRUE(Contains(run.output, "bad.session:4:")) << line << run.output;
		EXPECT_FALSE(Contains(run.output, "\x1b[2J")) << line;
	}
}

} // namespace
