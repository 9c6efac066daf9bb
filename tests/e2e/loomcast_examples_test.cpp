// The stroke tool's examples run as a user would run them, and build what they say: two strokes
// give the 24-point, 15-quad surface; strokes from a selected border grow the mesh from it.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include "host_run.h"

namespace
{

using Outcome = HostRun;

Outcome RunExample(const std::string& name)
{
	return RunHostScript(std::string(TEST_SOURCE_DIR) + "/examples/" + name);
}

// The point indices (from 1) that the faces of an OBJ file use, and how many faces there are.
std::set<int> FacePoints(const std::string& path, int* faces)
{
	std::set<int> used;
	*faces = 0;
	std::ifstream in(path);
	for (std::string line; std::getline(in, line);)
	{
		if (line.rfind("f ", 0) != 0)
			continue;
		++*faces;
		std::istringstream words(line.substr(2));
		for (std::string w; words >> w;)
			used.insert(std::stoi(w));
	}
	return used;
}

TEST(LoomcastExamples, TwoStrokesBecomeTheDefaultSurface)
{
	const Outcome o = RunExample("surface.session");
	ASSERT_EQ(o.status, 0) << o.output;
	EXPECT_NE(o.output.find("polygon \"Polygon\""), std::string::npos) << o.output;
	EXPECT_NE(o.output.find("points=24 polygons=15 tags=phong"), std::string::npos) << o.output;
	EXPECT_NE(o.output.find("undo step 1: 44 new object \"Polygon\""), std::string::npos) << o.output;
	// The strokes are used up: Create is disabled again.
	EXPECT_NE(o.output.rfind("3003 LOOM_CREATE \"Create\" BUTTON - shown disabled"), o.output.find("3003 LOOM_CREATE")) << o.output;
	int faces = 0;
	EXPECT_EQ(FacePoints("/tmp/standin-demo/surface.obj", &faces).size(), 24u);
	EXPECT_EQ(faces, 15);
}

TEST(LoomcastExamples, StrokesFromASelectedBorderShareItsPoints)
{
	const Outcome o = RunExample("attach.session");
	ASSERT_EQ(o.status, 0) << o.output;
	// Both strokes start exactly on the border's end points.
	EXPECT_NE(o.output.find("stroke 0 points 20: (-200;0;200)"), std::string::npos) << o.output;
	EXPECT_NE(o.output.find("stroke 1 points 20: (200;0;200)"), std::string::npos) << o.output;
	// 5 rows along the border x 6 columns: the border column's 5 points are the floor's own.
	EXPECT_NE(o.output.find("points=50 polygons=36"), std::string::npos) << o.output;
	EXPECT_NE(o.output.find("undo step 1: 40 change \"Floor\""), std::string::npos) << o.output;
	int faces = 0;
	const std::set<int> used = FacePoints("/tmp/standin-demo/attach.obj", &faces);
	EXPECT_EQ(faces, 36);
	// Every point is used by some quad: the new quads hold on to the border points 21-25 (from 1).
	EXPECT_EQ(used.size(), 50u);
}

} // namespace
