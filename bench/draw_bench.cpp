// The stroke tool's view drawing on a big request, as its drag loops redraw on every mouse step:
// 50 strokes of 200 points each, previewed with 200 samples a stroke (setting 3000 = 199) and
// 3 spans between strokes, plus the cursor query that runs before each step; and the picture of
// that view at 1280 x 720.
#include <benchmark/benchmark.h>

#include <memory>

#include "LoomSurface.h"
#include "ToolSettings.h"
#include "picture/canvas.h"
#include "picture/view_picture.h"
#include "standin/scene.h"
#include "standin/views.h"

namespace
{

constexpr int kStrokes = 50;
constexpr int kStrokePoints = 200;

struct DrawScene
{
	BaseDocument* doc = nullptr;
	BaseDraw* bd = nullptr;
	BaseDrawHelp* bh = nullptr;
	LoomS tool;
	BaseContainer settings;

	bool Make(std::string* error)
	{
		doc = standin::NewDocument();
		bd = doc ? standin::AddView(doc, 0, error) : nullptr;
		if (!bd || !standin::SetFrame(bd, 0, 0, 1279, 719))
			return false;
		tool.InitDefaultSettings(doc, settings);
		settings.SetInt32(LOOM_STROKE_SEGMENTS, kStrokePoints - 1);
		// Wavy strokes side by side in front of the camera, as a user would draw them.
		for (int i = 0; i < kStrokes; ++i)
		{
			Stroke* stroke = tool.BeginStroke(Vector(-300.0, i * 8.0, 0.0));
			for (int j = 1; j < kStrokePoints && stroke; ++j)
				stroke->AppendPoint(j, Vector(-300.0 + j * 3.0, i * 8.0 + (j % 5), (j % 7) * 2.0));
		}
		bh = standin::AllocDrawHelp(bd, nullptr);
		return bh != nullptr;
	}
	~DrawScene()
	{
		standin::FreeDrawHelp(bh);
		standin::CloseAllDocuments();
	}
};

void DrawPassAndCursorQuery(benchmark::State& state)
{
	DrawScene scene;
	std::string error;
	if (!scene.Make(&error))
	{
		state.SkipWithError(error.c_str());
		return;
	}
	BaseContainer result;
	Int64 records = 0;
	for (auto _ : state)
	{
		scene.tool.CursorQuery(scene.doc, scene.settings, scene.bd, 640.0, 360.0, result);
		standin::ClearDrawLog(scene.bd);
		benchmark::DoNotOptimize(scene.tool.Draw(scene.doc, scene.settings, scene.bd, scene.bh, nullptr, TOOLDRAWFLAGS_HIGHLIGHT));
	}
	records = static_cast<Int64>(standin::DrawLog(scene.bd).size());
	state.counters["records"] = static_cast<double>(records);
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
	standin::ClearDrawLog(scene.bd);
	scene.tool.Draw(scene.doc, scene.settings, scene.bd, scene.bh, nullptr, TOOLDRAWFLAGS_HIGHLIGHT);
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
