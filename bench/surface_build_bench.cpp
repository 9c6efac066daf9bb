// The surface build on a big request: a hundred strokes of two hundred samples each (settings
// 3000 = 199 segments, 3001 = 3 spans), built into one polygon object.
#include <benchmark/benchmark.h>

#include "LoomSurface.h"
#include "ToolSettings.h"
#include "standin/scene.h"
#include "standin/views.h"

namespace
{

constexpr int kStrokes = 100;
constexpr int kStrokePoints = 20;

void BuildHundredStrokesOfTwoHundredSamples(benchmark::State& state)
{
	BaseDocument* doc = standin::NewDocument();
	std::string error;
	if (!standin::AddView(doc, 0, &error))
		state.SkipWithError(error.c_str());
	LoomS tool;
	BaseContainer settings;
	tool.InitDefaultSettings(doc, settings);
	settings.SetInt32(LOOM_STROKE_SEGMENTS, 199);
	Int32 points = 0;
	for (auto _ : state)
	{
		state.PauseTiming();
		// Wavy strokes side by side, as a user would draw them from left to right.
		for (int i = 0; i < kStrokes; ++i)
		{
			Stroke* stroke = tool.BeginStroke(Vector(0, i * 5.0, 0));
			for (int j = 1; j < kStrokePoints; ++j)
				stroke->AppendPoint(j, Vector(j * 10.0, i * 5.0 + (j % 3), j * j * 0.1));
		}
		state.ResumeTiming();
		if (!tool.BuildSurface(doc, settings))
			state.SkipWithError("the build failed");
		state.PauseTiming();
		if (PolygonObject* made = static_cast<PolygonObject*>(doc->GetFirstObject()))
		{
			points = made->GetPointCount();
			made->Remove();
			BaseObject* gone = made;
			BaseObject::Free(gone);
		}
		state.ResumeTiming();
	}
	state.counters["points"] = points;
	standin::CloseAllDocuments();
}
BENCHMARK(BuildHundredStrokesOfTwoHundredSamples)->Unit(benchmark::kMillisecond)->Iterations(20);

} // namespace
