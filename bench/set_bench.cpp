// The set manager on a big scene: a set of ten thousand members saved from a scene of a hundred
// thousand objects, then read back and resolved as opening the manager does; and the document
// change events the manager answers while the set file also keeps sets of other scenes.
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
	standin::SetPrefsFolder(bench::ScratchFolder() + "/set-bench/open/prefs");
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
	standin::SetPrefsFolder(bench::ScratchFolder() + "/set-bench/load/prefs");
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

// Document change events on the big scene while the file also keeps a set of another scene, whose
// members never resolve here. Arg 0: the scene stays as it is between events; arg 1: one object is
// added before each event, so every event sees a changed scene.
void ChangeEventWithDormantSet(benchmark::State& state)
{
	standin::SetPrefsFolder(bench::ScratchFolder() + "/set-bench/dormant-" + std::to_string(state.range(0)) + "/prefs");
	BaseDocument* doc = standin::NewDocument();
	if (!MakeSceneWithSavedSet(doc))
		state.SkipWithError("the set could not be saved");
	BaseDocument* elsewhere = standin::NewDocument();
	BaseObject* away = BaseObject::Alloc(Onull);
	away->SetName(String("away"));
	elsewhere->InsertObject(away, nullptr, nullptr);
	AtomArray* members = AtomArray::Alloc();
	members->Append(away);
	ManagerModel saver;
	saver.Open(String("None"));
	if (!saver.AddElements(*members) || !saver.SaveAsNewSetNamed(String("elsewhere")))
		state.SkipWithError("the other scene's set could not be saved");
	AtomArray::Free(members);
	standin::SetActiveDocument(doc);

	ManagerModel model;
	model.Open(String("None"));
	if (model.sets.GetCount() != 1 || model.sets.GetKeptCount() != 1)
		state.SkipWithError("the sets did not read as one shown and one kept");
	const bool change = state.range(0) != 0;
	for (auto _ : state)
	{
		if (change)
		{
			state.PauseTiming();
			doc->InsertObject(BaseObject::Alloc(Onull), nullptr, nullptr);
			state.ResumeTiming();
		}
		model.ResolveSets();
	}
	state.counters["sets_shown"] = model.sets.GetCount();
	standin::CloseAllDocuments();
	standin::SetPrefsFolder("");
}
BENCHMARK(ChangeEventWithDormantSet)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond)->Iterations(50);

} // namespace
