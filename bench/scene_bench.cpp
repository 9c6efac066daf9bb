// Big scenes through the session verbs: a hundred thousand siblings, and a chain a hundred
// thousand deep built and printed.
#include <benchmark/benchmark.h>

#include <string>

#include "bench_support.h"
#include "standin/scene.h"

namespace
{

constexpr int kCount = 100000;

std::string SiblingsScript()
{
	std::string script = "new-document\n";
	for (int i = 0; i < kCount; ++i)
		script += "add-null n" + std::to_string(i) + "\n";
	return script;
}

// c0 under c1, then c1 under c2, ...: c99999 on top, c0 a hundred thousand levels down.
std::string ChainScript()
{
	std::string script = SiblingsScript();
	for (int i = 0; i + 1 < kCount; ++i)
		script += "parent n" + std::to_string(i) + " n" + std::to_string(i + 1) + "\n";
	return script;
}

void AddHundredThousandSiblings(benchmark::State& state)
{
	const std::string script = SiblingsScript();
	for (auto _ : state)
	{
		if (!bench::RunScript(script))
			state.SkipWithError("the script failed");
		state.PauseTiming();
		standin::CloseAllDocuments();
		state.ResumeTiming();
	}
}
BENCHMARK(AddHundredThousandSiblings)->Unit(benchmark::kMillisecond)->Iterations(3);

void BuildHundredThousandDeepChain(benchmark::State& state)
{
	const std::string script = ChainScript();
	for (auto _ : state)
	{
		if (!bench::RunScript(script))
			state.SkipWithError("the script failed");
		state.PauseTiming();
		standin::CloseAllDocuments();
		state.ResumeTiming();
	}
}
BENCHMARK(BuildHundredThousandDeepChain)->Unit(benchmark::kMillisecond)->Iterations(3);

void PrintHundredThousandDeepChain(benchmark::State& state)
{
	if (!bench::RunScript(ChainScript()))
		state.SkipWithError("the script failed");
	size_t bytes = 0;
	for (auto _ : state)
		bytes = standin::DescribeScene(GetActiveDocument()).size();
	state.counters["bytes"] = static_cast<double>(bytes);
	standin::CloseAllDocuments();
}
BENCHMARK(PrintHundredThousandDeepChain)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace
