// The seam as a build rule: plug-in code compiles with the host interface (framework/include) and
// its own folders, never with a folder of the host's own. The build writes the include folders of
// every plug-in target (cmake/PluginSeam.cmake); a breach also fails to compile (the
// Seam.PluginCannotIncludeHostHeaders test of tests/fixtures/seam_breach).
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <string>

namespace
{

namespace fs = std::filesystem;

TEST(Seam, PluginCodeSeesOnlyTheHostInterface)
{
	const fs::path listing = fs::path(TEST_PLUGINS_DIR).parent_path() / "seam";
	const fs::path source = fs::weakly_canonical(TEST_SOURCE_DIR);
	const fs::path api = source / "framework" / "include";
	const fs::path host = source / "host";
	std::set<std::string> targets;
	for (const auto& entry : fs::directory_iterator(listing))
	{
		if (entry.path().extension() != ".includes")
			continue;
		const std::string target = entry.path().stem().string();
		targets.insert(target);
		std::ifstream in(entry.path());
		bool seesApi = false;
		for (std::string line; std::getline(in, line);)
		{
			if (line.empty())
				continue;
			const fs::path dir = fs::weakly_canonical(line);
			seesApi = seesApi || dir == api;
			const auto rel = dir.lexically_relative(host);
			EXPECT_TRUE(rel.empty() || *rel.begin() == "..") << target << " compiles with the host folder " << line;
		}
		EXPECT_TRUE(seesApi) << target << " does not see framework/include";
	}
	for (const char* t : {"framework", "loomcast", "loomcast_core", "tarnwick", "tarnwick_core", "fixture_probe"})
		EXPECT_TRUE(targets.count(t)) << t << " is not listed as plug-in code";
	EXPECT_FALSE(targets.count("hostlib"));
	EXPECT_FALSE(targets.count("host_tests"));
}

} // namespace
