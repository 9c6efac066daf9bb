// The projection post-pass on a dense target: texture transfer plus surface projection of a
// 10,000-quad patch onto a sphere of about a million triangles, on 1 and 2 threads, beside the
// floor measured in the same run (one acceleration build of the target on as many processors as
// the run had, and the pass's rays); ProjectThroughView's cost per call against a bare ray
// question on the cached acceleration; and the offset pass's normals, one pass over the mesh,
// for 10k and 100k points (with the per-point scans they replace, for 10k points).
#include <benchmark/benchmark.h>

#include <time.h>

#include <chrono>
#include <string>
#include <vector>

#include "ControlThread.h"
#include "Dtool.h"
#include "NormalTables.h"
#include "Normals.h"
#include "ToolSettings.h"
#include "core/thread_share.h"
#include "hostapi/collider.h"
#include "modeling/primitives.h"
#include "standin/scene.h"
#include "standin/views.h"

namespace
{

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point since)
{
	return std::chrono::duration<double>(Clock::now() - since).count();
}

// The processor time of the whole process so far, every thread's (Embree's builders included).
// On a busy machine the wall time of a run stretches with the load; this does not, so it shows
// what the run itself cost.
double ProcessSeconds()
{
	timespec t{};
	clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
	return static_cast<double>(t.tv_sec) + 1e-9 * static_cast<double>(t.tv_nsec);
}

// A grid of cells x cells quads in the plane z = depth, side `size`, facing the camera (-Z).
PolygonObject* FacingGrid(Int32 cells, Float size, Float depth)
{
	const Int32 side = cells + 1;
	PolygonObject* op = PolygonObject::Alloc(side * side, cells * cells);
	Vector* p = op->GetPointW();
	for (Int32 j = 0; j < side; ++j)
		for (Int32 i = 0; i < side; ++i)
			p[j * side + i] = Vector(-size / 2 + size * i / cells, -size / 2 + size * j / cells, depth);
	CPolygon* q = op->GetPolygonW();
	for (Int32 j = 0; j < cells; ++j)
		for (Int32 i = 0; i < cells; ++i)
			q[j * cells + i] = CPolygon(j * side + i, j * side + i + 1, (j + 1) * side + i + 1, (j + 1) * side + i);
	return op;
}

// The scene: a parallel front view, a textured sphere of 2 x 500 x 500 polygons (998,000
// triangles), radius 300.
struct Scene
{
	Scene()
	{
		doc = standin::NewDocument();
		std::string error;
		bd = standin::AddView(doc, 8, &error);
		Matrix camera;
		camera.off = Vector(0, 0, -2000);
		standin::SetCameraMatrix(bd, camera);
		target = standin::MakePrimitive(modeling::kSpherePrimitive, 300, 500, &error);
		target->SetName("Ball");
		doc->InsertObject(target, nullptr, nullptr);
		UVWTag* tag = static_cast<UVWTag*>(target->MakeTag(Tuvw));
		const Vector* p = target->GetPointR();
		for (Int32 i = 0; i < target->GetPolygonCount(); ++i)
		{
			const CPolygon& c = target->GetPolygonR()[i];
			auto uv = [&](Int32 k) { return Vector(p[k].x / 600 + 0.5, p[k].y / 600 + 0.5, 0); };
			tag->SetSlow(i, UVWStruct{uv(c.a), uv(c.b), uv(c.c), uv(c.d)});
		}
	}
	~Scene() { standin::CloseAllDocuments(); }

	// A change of the target's content, so that its acceleration is built again on next use.
	void Perturb()
	{
		static Int32 round = 0;
		target->GetPointW()[0].y = 300.0 + 1e-7 * (++round);
	}

	BaseDocument* doc = nullptr;
	BaseDraw* bd = nullptr;
	PolygonObject* target = nullptr;
};

Scene& TheScene()
{
	static Scene scene;
	return scene;
}

void ProjectionPass(benchmark::State& state)
{
	Scene& s = TheScene();
	const Int32 threads = static_cast<Int32>(state.range(0));
	double floorBuild = 0.0, floorRays = 0.0, passCpu = 0.0;
	Int64 rays = 0;
	for (auto _ : state)
	{
		state.PauseTiming();
		s.Perturb();
		PolygonObject* patch = FacingGrid(100, 360, -400);
		patch->MakeTag(Tuvw);
		s.doc->InsertObject(patch, nullptr, nullptr);
		ControlThread control;
		control.mesh = patch;
		control.uvSource = s.target;
		control.surfaceTarget = s.target;
		control.document = s.doc;
		control.view = s.bd;
		control.settings.SetInt32(LOOM_THREADS, threads);
		control.settings.SetFloat(LOOM_OFFSET, 1.0);
		control.settings.SetBool(LOOM_UV_FROM_SOURCE, true);
		control.endPolygon = patch->GetPolygonCount();
		String text;
		control.resultText = &text;
		state.ResumeTiming();
		const double cpu = ProcessSeconds();
		control.Start(THREADMODE_ASYNC, THREADPRIORITY_NORMAL);
		control.Wait(true);
		passCpu += ProcessSeconds() - cpu;
		state.PauseTiming();
		// The floor, in the same run: one build of the target's acceleration, then the pass's
		// rays (a line of sight per corner and up to two rays per point) on it, on one thread.
		// The build gets the processors the run had: one for a one-worker run.
		s.Perturb();
		standin::threads::SetCallerShare(threads);
		GeRayCollider* rc = GeRayCollider::Alloc();
		const auto built = Clock::now();
		rc->Init(s.target, true);
		floorBuild = Seconds(built);
		const auto cast = Clock::now();
		rays = 0;
		GeRayColResult hit;
		for (Int32 i = 0; i < patch->GetPolygonCount(); ++i)
		{
			for (Int32 k = 0; k < 4; ++k)
			{
				const Vector start(-180 + 0.036 * i, -180 + 3.6 * (i % 100) + k, -2000);
				if (rc->Intersect(start, Vector(0, 0, 1), 2e7))
					rc->GetNearestIntersection(&hit);
				++rays;
			}
		}
		for (Int32 p = 0; p < patch->GetPointCount(); ++p)
		{
			const Vector start = patch->GetPointR()[p] * 1.5;
			rc->Intersect(start, Vector(0, 0, 1), 2e5);
			rc->Intersect(start, Vector(0, 0, -1), 2e5);
			rays += 2;
		}
		floorRays = Seconds(cast);
		standin::threads::SetCallerShare(0);
		GeRayCollider::Free(rc);
		patch->Remove();
		BaseObject* gone = patch;
		BaseObject::Free(gone);
		state.ResumeTiming();
	}
	state.counters["pass_cpu_s"] = passCpu / static_cast<double>(state.iterations());
	state.counters["floor_build_s"] = floorBuild;
	state.counters["floor_rays_s"] = floorRays;
	state.counters["floor_s"] = floorBuild + floorRays;
	state.counters["floor_rays"] = static_cast<double>(rays);
	state.counters["target_triangles"] = 2.0 * s.target->GetPolygonCount() - 2 * 1000;
}
BENCHMARK(ProjectionPass)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

constexpr Int32 kViewCalls = 40000;

// Lines of sight through 40,000 points in front of the ball, as the texture transfer casts them.
void ProjectThroughView40k(benchmark::State& state)
{
	Scene& s = TheScene();
	DTOOL dtool;
	Vector warm(0, 0, -400);
	Int32 polygon = -1;
	dtool.ProjectThroughView(s.doc, &warm, &polygon, s.target);
	for (auto _ : state)
	{
		Int32 hits = 0;
		for (Int32 i = 0; i < kViewCalls; ++i)
		{
			Vector p(-200 + 0.01 * i, -200 + (i % 400), -400);
			hits += dtool.ProjectThroughView(s.doc, &p, &polygon, s.target) ? 1 : 0;
		}
		benchmark::DoNotOptimize(hits);
	}
}
BENCHMARK(ProjectThroughView40k)->Unit(benchmark::kMillisecond)->UseRealTime();

// The same 40,000 rays as bare questions to one collider on the cached acceleration.
void ColliderRays40k(benchmark::State& state)
{
	Scene& s = TheScene();
	GeRayCollider* rc = GeRayCollider::Alloc();
	rc->Init(s.target, true);
	for (auto _ : state)
	{
		Int32 hits = 0;
		for (Int32 i = 0; i < kViewCalls; ++i)
			hits += rc->Intersect(Vector(-200 + 0.01 * i, -200 + (i % 400), -2000), Vector(0, 0, 1), 2e7) ? 1 : 0;
		benchmark::DoNotOptimize(hits);
	}
	GeRayCollider::Free(rc);
}
BENCHMARK(ColliderRays40k)->Unit(benchmark::kMillisecond)->UseRealTime();

// The offset pass's normals for every point of a grid of about n points: both tables.
void OffsetNormals(benchmark::State& state)
{
	const Int32 cells = state.range(0) == 10000 ? 99 : 315;
	PolygonObject* mesh = FacingGrid(cells, 300, 0);
	const Int32 n = mesh->GetPointCount();
	std::vector<Vector> out(n), sums(n);
	std::vector<Int32> counts(n);
	for (auto _ : state)
	{
		VertexNormalTable(mesh, out.data());
		ScanNormalTable(mesh, out.data(), sums.data(), counts.data());
		benchmark::DoNotOptimize(out.data());
	}
	state.counters["points"] = n;
	BaseObject* gone = mesh;
	BaseObject::Free(gone);
}
BENCHMARK(OffsetNormals)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

// What the tables replace: VertexNormal and PointNormalByScan asked point by point.
void OffsetNormalsPerPoint(benchmark::State& state)
{
	PolygonObject* mesh = FacingGrid(99, 300, 0);
	const Int32 n = mesh->GetPointCount();
	for (auto _ : state)
	{
		Vector sum;
		for (Int32 p = 0; p < n; ++p)
			sum += VertexNormal(mesh, p) + PointNormalByScan(mesh, p);
		benchmark::DoNotOptimize(sum);
	}
	state.counters["points"] = n;
	BaseObject* gone = mesh;
	BaseObject::Free(gone);
}
BENCHMARK(OffsetNormalsPerPoint)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace

namespace
{
// The one flattened copy a run makes of the target (a copy of its points, polygons and tags).
void FlattenedCopyOfTarget(benchmark::State& state)
{
	Scene& s = TheScene();
	DTOOL dtool;
	for (auto _ : state)
	{
		PolygonObject* copy = dtool.FlattenedCopy(s.doc, s.target);
		state.PauseTiming();
		BaseObject* gone = copy;
		BaseObject::Free(gone);
		state.ResumeTiming();
	}
}
BENCHMARK(FlattenedCopyOfTarget)->Unit(benchmark::kMillisecond)->UseRealTime();
} // namespace
