// Ray questions on dense targets (rolling height fields of 20k, 200k and 2M triangles seen by a
// perspective view): rays per second of the host's pick (PickObjectsAtPixel, through the
// per-object acceleration), of one object's ray question (accel::RayObject), of the plain loop
// over every triangle, and of Embree's own traversal of the same scene; and the time to build
// the acceleration. For the build on one core: taskset -c 0 host_bench --benchmark_filter=Ray
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <limits>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "accel/object_cache.h"
#include "accel/ray_target.h"
#include "accel/triangle_mesh.h"
#include "hostapi/document.h"
#include "hostapi/picking.h"
#include "standin/documents.h"
#include "standin/scene.h"
#include "standin/views.h"
#include "view/raycast.h"
#include "view/view_data.h"

namespace
{

constexpr Float kSize = 1000.0;
constexpr int kPixels = 4096;
constexpr Float kInf = std::numeric_limits<Float>::infinity();

// 2 * segments^2 triangles: the host's plane with its points lifted into hills and ripples.
PolygonObject* HeightField(Int64 triangles)
{
	const auto segments = static_cast<Int32>(std::lround(std::sqrt(static_cast<double>(triangles) / 2.0)));
	std::string error;
	PolygonObject* op = standin::MakePrimitive(Oplane, kSize, segments, &error);
	if (!op)
		return nullptr;
	Vector* p = op->GetPointW();
	for (Int32 i = 0; i < op->GetPointCount(); ++i)
		p[i].y = 40.0 * std::sin(p[i].x * 0.013) * std::cos(p[i].z * 0.011) + 5.0 * std::sin(p[i].x * 0.21 + p[i].z * 0.17);
	return op;
}

// The fields outlive every benchmark run (other benchmark files close all documents, so they
// are kept as free objects); a pick's document holds a copy, which shares the mesh by content.
struct Fields
{
	std::map<Int64, PolygonObject*> made;
	~Fields()
	{
		for (auto& [count, op] : made)
		{
			BaseObject* dead = op;
			BaseObject::Free(dead);
		}
	}
	PolygonObject* Get(Int64 triangles)
	{
		PolygonObject*& op = made[triangles];
		if (!op)
			op = HeightField(triangles);
		return op;
	}
};

PolygonObject* Field(Int64 triangles)
{
	static Fields fields;
	return fields.Get(triangles);
}

// A perspective view from above one edge of the field, looking down across it.
BaseDraw* AddLookingView(BaseDocument* doc)
{
	std::string error;
	BaseDraw* bd = standin::AddView(doc, 0, &error);
	if (!bd)
		return nullptr;
	Matrix camera = HPBToMatrix(Vector(0.0, -0.6, 0.0), ROTATIONORDER_DEFAULT);
	camera.off = Vector(0.0, 600.0, -900.0);
	standin::SetCameraMatrix(bd, camera);
	return bd;
}

std::vector<std::pair<Int32, Int32>> RandomPixels()
{
	std::mt19937 rng(7);
	std::uniform_int_distribution<Int32> x(0, 639), y(0, 479);
	std::vector<std::pair<Int32, Int32>> pixels;
	for (int i = 0; i < kPixels; ++i)
		pixels.emplace_back(x(rng), y(rng));
	return pixels;
}

struct Ray
{
	Vector origin, direction;
};

// The rays of those pixels, as the pick asks them.
std::vector<Ray> PixelRays(BaseDraw* bd)
{
	std::vector<Ray> rays;
	for (const auto& [x, y] : RandomPixels())
	{
		Ray r;
		standin::view::ViewDataOf(bd)->Current().PixelRay(x, y, &r.origin, &r.direction);
		rays.push_back(r);
	}
	return rays;
}

std::vector<Ray> FieldRays()
{
	static const std::vector<Ray> rays = [] {
		BaseDocument* doc = standin::NewDocument();
		std::vector<Ray> out = PixelRays(AddLookingView(doc));
		standin::CloseDocument(doc);
		return out;
	}();
	return rays;
}

void Rates(benchmark::State& state, Int64 rays)
{
	state.counters["rays/s"] = benchmark::Counter(static_cast<double>(rays), benchmark::Counter::kIsRate);
	state.counters["triangles"] = static_cast<double>(state.range(0));
}

void RayHostPick(benchmark::State& state)
{
	PolygonObject* field = Field(state.range(0));
	BaseDocument* doc = standin::NewDocument();
	BaseDraw* bd = doc ? AddLookingView(doc) : nullptr;
	ObjectPickList* list = ObjectPickList::Alloc();
	auto* copy = field ? static_cast<PolygonObject*>(field->GetClone()) : nullptr;
	if (!bd || !list || !copy)
	{
		state.SkipWithError("out of memory");
		return;
	}
	doc->InsertObject(copy, nullptr, nullptr);
	// The field's mesh is built once for the run; the copy finds it by its content.
	accel::ObjectMesh(field);
	accel::ObjectMesh(copy);
	const auto pixels = RandomPixels();
	std::size_t i = 0;
	Int64 hits = 0, rays = 0;
	for (auto _ : state)
	{
		const auto& [x, y] = pixels[i++ % pixels.size()];
		PickObjectsAtPixel(doc, bd, x, y, list, PICKOBJECT_DEPTH);
		hits += list->GetCount();
		++rays;
	}
	Rates(state, rays);
	state.counters["hit share"] = rays ? static_cast<double>(hits) / static_cast<double>(rays) : 0.0;
	ObjectPickList::Free(list);
	standin::CloseDocument(doc);
}
BENCHMARK(RayHostPick)->Arg(20000)->Arg(200000)->Arg(2000000)->Unit(benchmark::kMicrosecond);

void RayObjectQuestion(benchmark::State& state)
{
	PolygonObject* field = Field(state.range(0));
	const std::vector<Ray> rays = FieldRays();
	accel::ObjectMesh(field);
	accel::PolygonHit hit;
	std::size_t i = 0;
	for (auto _ : state)
	{
		const Ray& r = rays[i++ % rays.size()];
		benchmark::DoNotOptimize(accel::RayObject(field, r.origin, r.direction, kInf, &hit));
	}
	Rates(state, state.iterations());
}
BENCHMARK(RayObjectQuestion)->Arg(20000)->Arg(200000)->Arg(2000000)->Unit(benchmark::kMicrosecond);

// The plain loop; 2M triangles would take seconds per figure and are left out.
void RayBruteForce(benchmark::State& state)
{
	PolygonObject* field = Field(state.range(0));
	const std::vector<Ray> rays = FieldRays();
	std::size_t i = 0;
	for (auto _ : state)
	{
		const Ray& r = rays[i++ % rays.size()];
		Float t = 0.0;
		benchmark::DoNotOptimize(standin::view::RayPolygonObject(field, r.origin, r.direction, &t));
	}
	Rates(state, state.iterations());
}
BENCHMARK(RayBruteForce)->Arg(20000)->Arg(200000)->Unit(benchmark::kMicrosecond);

// rtcIntersect1 on the very scene the host built, in float, with nothing tested again.
void RayEmbreeDirect(benchmark::State& state)
{
	PolygonObject* field = Field(state.range(0));
	const std::vector<Ray> rays = FieldRays();
	const std::shared_ptr<const accel::TriangleMesh> mesh = accel::ObjectMesh(field);
	if (!mesh || mesh->AcceleratedCount() == 0)
	{
		state.SkipWithError("no Embree scene");
		return;
	}
	std::size_t i = 0;
	for (auto _ : state)
	{
		const Ray& r = rays[i++ % rays.size()];
		Float t = 0.0;
		benchmark::DoNotOptimize(mesh->IntersectFloat(r.origin, r.direction, &t));
	}
	Rates(state, state.iterations());
}
BENCHMARK(RayEmbreeDirect)->Arg(20000)->Arg(200000)->Arg(2000000)->Unit(benchmark::kMicrosecond);

Float ResidentMegabytes()
{
	long pages = 0, resident = 0;
	std::FILE* f = std::fopen("/proc/self/statm", "r");
	if (f)
	{
		if (std::fscanf(f, "%ld %ld", &pages, &resident) != 2)
			resident = 0;
		std::fclose(f);
	}
	return static_cast<Float>(resident) * static_cast<Float>(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
}

// A fresh mesh each time (the cache would find the one already built).
void RayBuild(benchmark::State& state)
{
	PolygonObject* field = Field(state.range(0));
	Float megabytes = 0.0;
	for (auto _ : state)
	{
		const Float before = ResidentMegabytes();
		std::string warning;
		auto mesh = accel::TriangleMesh::Build(field->GetPointR(), field->GetPointCount(), field->GetPolygonR(), field->GetPolygonCount(), &warning);
		megabytes = ResidentMegabytes() - before;
		benchmark::DoNotOptimize(mesh.get());
		state.PauseTiming();
		mesh.reset();
		state.ResumeTiming();
	}
	state.counters["triangles"] = static_cast<double>(state.range(0));
	state.counters["MB held"] = megabytes;
	state.counters["Mtriangles/s"] = benchmark::Counter(static_cast<double>(state.range(0)) * static_cast<double>(state.iterations()) / 1e6,
		benchmark::Counter::kIsRate);
}
// CPU time of the whole process: the build runs on Embree's worker threads as well.
BENCHMARK(RayBuild)->Arg(20000)->Arg(200000)->Arg(2000000)->MeasureProcessCPUTime()->Unit(benchmark::kMillisecond);

} // namespace
