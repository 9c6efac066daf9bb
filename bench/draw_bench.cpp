// The stroke tool's view drawing on a big request, as its drag loops redraw on every mouse step:
// 50 strokes of 200 points each, previewed with 200 samples a stroke (setting 3000 = 199) and
// 3 spans between strokes, plus the cursor query that runs before each step; and the picture of
// that view at 1280 x 720. The tool is the host's active tool, as in a session, so the cursor
// query's own redraw is a full pass too: a step costs two passes.
#include <benchmark/benchmark.h>

#include <memory>

#include "LoomSurface.h"
#include "ToolSettings.h"
#include "hostapi/memory.h"
#include "picture/canvas.h"
#include "picture/view_picture.h"
#include "standin/plugins.h"
#include "standin/scene.h"
#include "standin/tools.h"
#include "standin/views.h"

namespace
{

constexpr int kStrokes = 50;
constexpr int kStrokePoints = 200;

struct DrawScene
{
	BaseDocument* doc = nullptr;
	BaseDraw* bd = nullptr;
	LoomS* tool = nullptr;

	bool Make(std::string* error)
	{
		doc = standin::NewDocument();
		bd = doc ? standin::AddView(doc, 0, error) : nullptr;
		if (!bd || !standin::SetFrame(bd, 0, 0, 1279, 719))
			return false;
		if (!RegisterToolPlugin(LOOM_TOOL_ID, "Loomcast", 0, nullptr, "", NewObjTagged(LoomS, "bench")) ||
			!standin::tools::ActivateTool(doc, LOOM_TOOL_ID, error))
		{
			if (error->empty())
				*error = "the tool does not register";
			return false;
		}
		tool = static_cast<LoomS*>(standin::tools::ActiveTool());
		standin::tools::ActiveToolSettings()->SetInt32(LOOM_STROKE_SEGMENTS, kStrokePoints - 1);
		// Wavy strokes side by side in front of the camera, as a user would draw them.
		for (int i = 0; i < kStrokes; ++i)
		{
			Stroke* stroke = tool->BeginStroke(Vector(-300.0, i * 8.0, 0.0));
			for (int j = 1; j < kStrokePoints && stroke; ++j)
				stroke->AppendPoint(j, Vector(-300.0 + j * 3.0, i * 8.0 + (j % 5), (j % 7) * 2.0));
		}
		// The cursor query must redraw through the host, or the figure would leave a pass out.
		standin::ClearDrawLog(bd);
		standin::tools::PointerMove(doc, 640.0, 360.0, nullptr);
		if (standin::DrawLog(bd).size() < static_cast<size_t>(kStrokes * kStrokePoints))
		{
			*error = "the cursor query did not redraw the view";
			return false;
		}
		return true;
	}
	~DrawScene()
	{
		if (doc)
			standin::tools::DeactivateTool(doc);
		standin::ClearRegistry();
		standin::CloseAllDocuments();
	}
};

// One mouse step of a drag as the host runs it: the cursor query (which redraws the view) and the
// step's own redraw.
void DrawPassAndCursorQuery(benchmark::State& state)
{
	DrawScene scene;
	std::string error;
	if (!scene.Make(&error))
	{
		state.SkipWithError(error.c_str());
		return;
	}
	for (auto _ : state)
	{
		standin::tools::PointerMove(scene.doc, 640.0, 360.0, nullptr);
		benchmark::DoNotOptimize(standin::DrawPass(scene.doc, scene.bd));
	}
	state.counters["records"] = static_cast<double>(standin::DrawLog(scene.bd).size());
}
BENCHMARK(DrawPassAndCursorQuery)->Unit(benchmark::kMicrosecond);

void PictureOfThatView(benchmark::State& state)
{
	DrawScene scene;
	std::string error;
	if (!scene.Make(&error))
	{
		state.SkipWithError(error.c_str());
		return;
	}
	standin::DrawPass(scene.doc, scene.bd);
	const std::vector<standin::DrawRecord> records = standin::DrawLog(scene.bd);
	for (auto _ : state)
	{
		standin::picture::Canvas canvas(1280, 720, Vector(0.24, 0.25, 0.27));
		standin::picture::PaintScene(scene.doc, scene.bd, canvas);
		standin::picture::PaintRecords(scene.bd, records, canvas);
		std::vector<unsigned char> png;
		benchmark::DoNotOptimize(canvas.EncodePng(&png));
	}
	state.counters["records"] = static_cast<double>(records.size());
}
BENCHMARK(PictureOfThatView)->Unit(benchmark::kMillisecond);

} // namespace
