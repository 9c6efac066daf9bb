// The projection post-pass through session scripts and the built plug-in: examples/wrap.session
// wraps a patch onto a textured ball and exports it with its texture coordinates, a polygon split
// wraps and textures its new band the same way; the verbs that make and show texture
// coordinates refuse what they cannot use.
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

// The (x;y;z) triples on the line of a print-uvw or print-points listing that starts "  <index>: ".
std::vector<std::array<double, 3>> Triples(const std::string& output, int index)
{
	std::vector<std::array<double, 3>> found;
	const std::string head = "\n  " + std::to_string(index) + ": ";
	const size_t at = output.find(head);
	if (at == std::string::npos)
		return found;
	std::istringstream line(output.substr(at + head.size(), output.find('\n', at + head.size()) - at - head.size()));
	std::string word;
	while (line >> word)
	{
		std::array<double, 3> v{};
		if (std::sscanf(word.c_str(), "(%lf;%lf;%lf)", &v[0], &v[1], &v[2]) == 3)
			found.push_back(v);
	}
	return found;
}

TEST(LoomcastWrap, ASplitBandOverATexturedBallTakesItsCoordinates)
{
	// The floor's far border grows by a band (cut twice across) while the mouse is over a big ball
	// below it: the band is wrapped onto the ball and, the floor having no UVW tag, gets one for
	// the ball's coordinates. The ball's planar coordinates follow its X and Z over 0..1.
	ScratchFolder dir;
	const HostRun run = RunHostScript(dir.Write("split.session",
		"load-plugins\nnew-document\nadd-object plane Floor 400 4\nadd-object sphere Ball 400 24\nset-position Ball 0 -300 275\n"
		"add-uvw Ball planar\nselect-object Floor\nset-mode edges\nselect-edges Floor 49 53 57 61\nactivate-tool 1027250\n"
		"set-tool-setting LOOM_ON_SURFACE on\nset-tool-setting LOOM_UV_FROM_SOURCE on\n"
		"set-tool-setting LOOM_SURFACE_MODE LOOM_MODE_POLYGON_SPLIT\nset-tool-gradient LOOM_SPLITS 0.3 0.6\n"
		"set-tool-setting LOOM_THREADS 2\nset-clock-step 340\n"
		"drag left shift 215 170  260 168  300 166  340 166  380 168  425 170\ndrag left shift 320 180\n"
		"print-tool-settings\nprint-uvw Floor\nprint-points Floor\n"));
	ASSERT_EQ(run.status, 0) << run.output;
	EXPECT_TRUE(Contains(run.output, "3035 STRING \"2CPU Result Time:340ms\"")) << run.output;
	ASSERT_TRUE(Contains(run.output, "uvw Floor: 28 records")) << run.output;
	// The floor's own 16 quads keep the zero records the new tag starts with; the band's 12 take
	// the ball's coordinates at every corner (its whole width lies over the ball).
	const std::vector<std::array<double, 3>> zero(4, std::array<double, 3>{0, 0, 0});
	for (int i = 0; i < 16; ++i)
		EXPECT_EQ(Triples(run.output, i), zero) << "record " << i;
	for (int i = 16; i < 28; ++i)
	{
		const auto corners = Triples(run.output, i);
		ASSERT_EQ(corners.size(), 4u) << "record " << i << run.output;
		for (const auto& uv : corners)
		{
			EXPECT_GT(uv[0], 0.2) << "record " << i;
			EXPECT_LT(uv[0], 0.8) << "record " << i;
			EXPECT_GT(uv[1], 0.2) << "record " << i;
			EXPECT_LT(uv[1], 0.5) << "record " << i;
		}
	}
	// The band's 15 points lie on the ball (24 segments: within 4 of its radius).
	const size_t points = run.output.find("points Floor: 40");
	ASSERT_NE(points, std::string::npos) << run.output;
	for (int i = 25; i < 40; ++i)
	{
		const auto p = Triples(run.output.substr(points), i);
		ASSERT_EQ(p.size(), 2u) << "point " << i;
		EXPECT_NEAR(std::sqrt(p[1][0] * p[1][0] + (p[1][1] + 300) * (p[1][1] + 300) + (p[1][2] - 275) * (p[1][2] - 275)), 400.0, 4.0) << "point " << i;
	}
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
