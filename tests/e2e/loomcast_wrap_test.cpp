// The projection post-pass through session scripts and the built plug-in: examples/wrap.session
// wraps a patch onto a textured ball and exports it with its texture coordinates; the verbs that
// make and show texture coordinates refuse what they cannot use.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <array>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "scratch_folder.h"
#include "host_run.h"

namespace
{

bool Contains(const std::string& text, const std::string& part)
{
	return text.find(part) != std::string::npos;
}

std::string ReadFile(const std::string& path)
{
	std::ifstream in(path, std::ios::binary);
	std::ostringstream s;
	s << in.rdbuf();
	return s.str();
}

TEST(LoomcastWrap, TheExampleWrapsAPatchOntoTheBallWithItsTextureCoordinates)
{
	ScratchFolder dir;
	std::string script = ReadFile(TEST_SOURCE_DIR "/examples/wrap.session");
	const std::string demoPath = "/tmp/standin-demo/wrap.obj";
	const size_t at = script.find(demoPath);
	ASSERT_NE(at, std::string::npos);
	script.replace(at, demoPath.size(), dir / "wrap.obj");
	const HostRun run = RunHostScript(dir.Write("wrap.session", script));
	ASSERT_EQ(run.status, 0) << run.output;
	EXPECT_TRUE(Contains(run.output, "\"2CPU Result Time:340ms\"")) << run.output;
	EXPECT_TRUE(Contains(run.output, "uvw Polygon: 15 records")) << run.output;

	std::ifstream obj(dir / "wrap.obj");
	ASSERT_TRUE(obj) << run.output;
	std::string line;
	int points = 0, coordinates = 0;
	while (std::getline(obj, line))
	{
		std::istringstream words(line);
		std::string kind;
		words >> kind;
		if (kind == "v")
		{
			double x = 0, y = 0, z = 0;
			words >> x >> y >> z;
			// On the ball of radius 100, pushed off by the offset 2 (a polygonal ball: within 1).
			EXPECT_NEAR(std::sqrt(x * x + y * y + z * z), 102.0, 1.0) << line;
			EXPECT_LT(z, 0.0) << line;
			++points;
		}
		else if (kind == "vt")
		{
			double u = -1, v = -1;
			words >> u >> v;
			// The ball's spherical coordinates on its front (U about 0.75), in its upper half (V
			// below 0.5, the equator) where the strokes were drawn.
			EXPECT_GT(u, 0.55) << line;
			EXPECT_LT(u, 0.95) << line;
			EXPECT_GT(v, 0.15) << line;
			EXPECT_LT(v, 0.52) << line;
			++coordinates;
		}
	}
	EXPECT_EQ(points, 24);
	EXPECT_EQ(coordinates, 60);
}

TEST(LoomcastWrap, TextureVerbsRefuseWhatTheyCannotUse)
{
	ScratchFolder dir;
	const struct
	{
		const char* body;
		const char* error;
	} cases[] = {
		{"add-uvw Ball cylindrical\n", "unknown projection 'cylindrical' (planar or spherical)"},
		{"add-null Empty\nadd-uvw Empty planar\n", "Empty"},
		{"print-uvw Nowhere\n", "Nowhere"},
		{"set-clock-step -4\n", "ms"},
		{"add-proxy-tag Ball Ball\n", "an object cannot stand in for itself"},
		{"add-object sphere Tiny 10 1\n", "segments"},
	};
	for (const auto& c : cases)
	{
		const HostRun run = RunHostScript(dir.Write("bad.session", std::string("new-document\nadd-object sphere Ball\n") + c.body));
		EXPECT_EQ(run.status, 1) << c.body << run.output;
		EXPECT_TRUE(Contains(run.output, c.error)) << c.body << run.output;
	}
	// A ball without a tag prints that it has none; with one, a record per polygon.
	const HostRun run = RunHostScript(dir.Write("good.session",
		"new-document\nadd-object sphere Ball 100 4\nprint-uvw Ball\nadd-uvw Ball planar\nprint-uvw Ball\nprint-points Ball\n"));
	ASSERT_EQ(run.status, 0) << run.output;
	EXPECT_TRUE(Contains(run.output, "uvw Ball: none")) << run.output;
	EXPECT_TRUE(Contains(run.output, "uvw Ball: 32 records")) << run.output;
	EXPECT_TRUE(Contains(run.output, "points Ball: 26 ")) << run.output;
	EXPECT_TRUE(Contains(run.output, "  0: (0;100;0) (0;100;0)")) << run.output;
}

} // namespace
