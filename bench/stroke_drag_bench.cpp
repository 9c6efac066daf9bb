// A freehand stroke drawn "on surface" (setting 3019) across a one-million-triangle object: the
// press through the host's tool runtime, the editor window's drag loop and the stroke tool, every
// step a ray into the big mesh. The figure is the time of one drag step after the first: a drag
// of 201 steps less a drag of 1 step, over 200 (the press, the cursor query, the end of the
// stroke and its resampling fall out).
#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>
#include <deque>

#include "LoomSurface.h"
#include "ToolSettings.h"
#include "hostapi/memory.h"
#include "input/input_source.h"
#include "input/scripted_input.h"
#include "standin/plugins.h"
#include "standin/scene.h"
#include "standin/tools.h"
#include "standin/views.h"

namespace
{

using standin::input::ScriptedInput;

constexpr Int32 kSteps = 200;
// 707 x 707 quads: 999,698 triangles.
constexpr Int32 kPlaneSegments = 707;

// A wavy path left to right through the middle of the default 640 x 480 view, which looks down
// at the plane; it bends all the way, so the freehand stroke grows a point every step.
std::deque<ScriptedInput::Point> Path(Int32 steps)
{
	std::deque<ScriptedInput::Point> path;
	for (Int32 i = 1; i <= steps; ++i)
		path.push_back({220.0 + i, std::round(240.0 + 30.0 * std::sin(i * 0.2))});
	return path;
}

// One press-drag-release of steps steps; answers its seconds. keep: the stroke stays.
double Drag(BaseDocument* doc, ScriptedInput& input, Int32 steps, bool keep = false)
{
	input.Hold(0, 0, 0);
	input.MoveTo(220, 240);
	standin::tools::PointerMove(doc, 220, 240, nullptr);
	input.Hold(0, BFM_INPUT_MOUSELEFT, 0);
	input.QueueDrag(Path(steps), false);
	const auto start = std::chrono::steady_clock::now();
	standin::tools::MouseDown(doc, BFM_INPUT_MOUSELEFT, 220, 240);
	const auto end = std::chrono::steady_clock::now();
	input.ReleaseAll();
	// Escape: the next drag starts without strokes.
	if (!keep)
		standin::tools::KeyDown(doc, KEY_ESC);
	return std::chrono::duration<double>(end - start).count();
}

void FreehandOnSurfaceDragStep(benchmark::State& state)
{
	std::string error;
	BaseDocument* doc = standin::NewDocument();
	PolygonObject* plane = standin::MakePrimitive(Oplane, 2000.0, kPlaneSegments, &error);
	if (!doc || !plane || !standin::AddView(doc, 0, &error))
	{
		state.SkipWithError(error.c_str());
		return;
	}
	doc->InsertObject(plane, nullptr, nullptr);
	// Argument 1: the target is the active object, so every step also looks for its selected
	// edges under the mouse (it has none).
	if (state.range(0) == 1)
		doc->SetActiveObject(plane, SELECTION_NEW);
	if (!RegisterToolPlugin(LOOM_TOOL_ID, "Loomcast", 0, nullptr, "", NewObjTagged(LoomS, "bench")) ||
		!standin::tools::ActivateTool(doc, LOOM_TOOL_ID, &error))
	{
		state.SkipWithError(error.empty() ? "the tool does not register" : error.c_str());
		return;
	}
	standin::tools::ActiveToolSettings()->SetBool(LOOM_ON_SURFACE, true);

	ScriptedInput input;
	standin::input::InputSource* before = standin::input::UseSource(&input);
	// The first ray builds the mesh's acceleration; that is not a drag step. The stroke it draws
	// must lie on the plane, or the figure would time something else.
	Drag(doc, input, kSteps, true);
	const StrokeList& strokes = static_cast<LoomS*>(standin::tools::ActiveTool())->GetStrokes();
	const bool drawn = strokes.GetCount() == 1 && strokes[0].GetCount() == 20 && std::abs(strokes[0][10].pos.y) < 1e-6;
	if (!drawn)
		state.SkipWithError("the drag did not draw a stroke on the plane");
	standin::tools::KeyDown(doc, KEY_ESC);
	for (auto _ : state)
	{
		if (!drawn)
			break;
		const double one = Drag(doc, input, 1);
		const double many = Drag(doc, input, kSteps + 1);
		state.SetIterationTime((many - one) / kSteps);
	}
	state.counters["triangles"] = 2.0 * plane->GetPolygonCount();
	standin::input::UseSource(before);
	standin::tools::DeactivateTool(doc);
	standin::ClearRegistry();
	standin::CloseAllDocuments();
}
BENCHMARK(FreehandOnSurfaceDragStep)->Arg(0)->Arg(1)->UseManualTime()->Unit(benchmark::kMicrosecond)->Iterations(20);

} // namespace
