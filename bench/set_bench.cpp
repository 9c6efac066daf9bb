// The set manager on a big scene: a set of ten thousand members saved from a scene of a hundred
// thousand objects, then read back and resolved as opening the manager does.
#include <benchmark/benchmark.h>

#include <string>

#include "ManagerModel.h"
#include "bench_support.h"
#include "standin/paths.h"
#include "standin/scene.h"

namespace
{

constexpr int kObjects = 100000;
constexpr int kMembers = 10000;

// A flat scene of kObjects nulls and a saved set of every tenth one; answers false when the set
// could not be saved.
bool MakeSceneWithSavedSet(BaseDocument* doc)
{
	AtomArray* members = AtomArray::Alloc();
	BaseObject* last = nullptr;
	for (int i = 0; i < kObjects; ++i)
	{
		BaseObject* op = BaseObject::Alloc(Onull);
		op->SetName(String("n" + std::to_string(i)));
		doc->InsertObject(op, nullptr, last);
		last = op;
		if (i % (kObjects / kMembers) == 0)
			members->Append(op);
	}
	ManagerModel model;
	const bool ok = model.AddElements(*members) && model.SaveAsNewSetNamed(String("big"));
	AtomArray::Free(members);
	return ok;
}

void OpenManagerWithTenThousandMemberSet(benchmark::State& state)
{
	standin::SetPrefsFolder(bench::ScratchFolder() + "/set-bench/prefs");
	BaseDocument* doc = standin::NewDocument();
	if (!MakeSceneWithSavedSet(doc))
		state.SkipWithError("the set could not be saved");
	Int32 shown = 0;
	for (auto _ : state)
	{
		ManagerModel model;
		model.Open(String("None"));
		shown = model.sets.GetCount();
	}
	state.counters["sets_shown"] = shown;
	standin::CloseAllDocuments();
	standin::SetPrefsFolder("");
}
BENCHMARK(OpenManagerWithTenThousandMemberSet)->Unit(benchmark::kMillisecond)->Iterations(3);

void LoadTenThousandMemberSet(benchmark::State& state)
{
	standin::SetPrefsFolder(bench::ScratchFolder() + "/set-bench/prefs");
	BaseDocument* doc = standin::NewDocument();
	if (!MakeSceneWithSavedSet(doc))
		state.SkipWithError("the set could not be saved");
	ManagerModel model;
	model.Open(String("None"));
	for (auto _ : state)
		if (!model.LoadSet(1))
			state.SkipWithError("the set did not load");
	Int32 held = 0;
	for (PNode* entry = model.FirstHeld(); entry; entry = entry->Next())
		++held;
	state.counters["held"] = held;
	standin::CloseAllDocuments();
	standin::SetPrefsFolder("");
}
BENCHMARK(LoadTenThousandMemberSet)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace
