// host_bench: runs every benchmark registered by the files of this folder, then removes the
// scratch folder.
#include <unistd.h>

#include <benchmark/benchmark.h>

#include <filesystem>
#include <iostream>
#include <sstream>

#include "bench_support.h"
#include "standin/scene.h"
#include "standin/session.h"

namespace bench
{

const std::string& ScratchFolder()
{
	static const std::string folder = [] {
		const std::filesystem::path p = std::filesystem::temp_directory_path() / ("host-bench-" + std::to_string(::getpid()));
		std::filesystem::create_directories(p);
		return p.string();
	}();
	return folder;
}

bool RunScript(const std::string& text)
{
	std::ostringstream out, err;
	if (standin::RunSessionText(text, ScratchFolder() + "/bench.session", out, err, {}) == 0)
		return true;
	std::cerr << err.str();
	return false;
}

} // namespace bench

int main(int argc, char** argv)
{
	benchmark::Initialize(&argc, argv);
	if (benchmark::ReportUnrecognizedArguments(argc, argv))
		return 1;
	benchmark::RunSpecifiedBenchmarks();
	benchmark::Shutdown();
	standin::CloseAllDocuments();
	std::error_code ignored;
	std::filesystem::remove_all(bench::ScratchFolder(), ignored);
	return 0;
}
