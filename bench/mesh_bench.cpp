// A scan-sized mesh: five million triangles saved and reopened as a document, and imported from
// an OBJ file.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

#include "bench_support.h"
#include "hostapi/api.h"
#include "standin/documents.h"
#include "standin/scene.h"

namespace
{

// A grid of kSide x kSide points, two triangles per cell: 5,005,448 triangles.
constexpr int kSide = 1583;
constexpr Int32 kTriangles = 2 * (kSide - 1) * (kSide - 1);

PolygonObject* GridMesh()
{
	PolygonObject* op = PolygonObject::Alloc(kSide * kSide, kTriangles);
	if (!op)
		return nullptr;
	Vector* points = op->GetPointW();
	CPolygon* polys = op->GetPolygonW();
	for (int y = 0; y < kSide; ++y)
		for (int x = 0; x < kSide; ++x)
			points[y * kSide + x] = Vector(x, 0.001 * ((x * 7 + y * 13) % 100), y);
	Int32 n = 0;
	for (int y = 0; y + 1 < kSide; ++y)
		for (int x = 0; x + 1 < kSide; ++x)
		{
			const Int32 a = y * kSide + x;
			polys[n++] = CPolygon(a, a + 1, a + kSide + 1);
			polys[n++] = CPolygon(a, a + kSide + 1, a + kSide);
		}
	op->SetName("Scan");
	return op;
}

void SaveAndReopenFiveMillionTriangles(benchmark::State& state)
{
	standin::CloseAllDocuments();
	BaseDocument* doc = standin::NewDocument();
	PolygonObject* mesh = GridMesh();
	if (!doc || !mesh)
	{
		state.SkipWithError("out of memory");
		return;
	}
	doc->InsertObject(mesh, nullptr, nullptr);
	const std::string path = bench::ScratchFolder() + "/scan.doc";
	for (auto _ : state)
	{
		std::string error;
		if (!standin::SaveDocument(doc, path, &error))
		{
			state.SkipWithError(error.c_str());
			break;
		}
		BaseDocument* loaded = standin::LoadDocument(path, &error);
		if (!loaded || static_cast<PolygonObject*>(loaded->GetFirstObject())->GetPolygonCount() != kTriangles)
		{
			state.SkipWithError(loaded ? "the reopened mesh differs" : error.c_str());
			break;
		}
		state.PauseTiming();
		standin::CloseDocument(loaded);
		standin::SetActiveDocument(doc);
		state.ResumeTiming();
	}
	state.counters["triangles"] = kTriangles;
	standin::CloseAllDocuments();
	std::remove(path.c_str());
}
BENCHMARK(SaveAndReopenFiveMillionTriangles)->Unit(benchmark::kMillisecond)->Iterations(3);

// The same grid as an OBJ file, in the form scanners write ("v x y z", "f a b c").
bool WriteGridObj(const std::string& path)
{
	std::FILE* f = std::fopen(path.c_str(), "wb");
	if (!f)
		return false;
	std::fputs("# grid scan\n", f);
	for (int y = 0; y < kSide; ++y)
		for (int x = 0; x < kSide; ++x)
			std::fprintf(f, "v %d.000000 %.6f %d.000000\n", x, 0.001 * ((x * 7 + y * 13) % 100), y);
	for (int y = 0; y + 1 < kSide; ++y)
		for (int x = 0; x + 1 < kSide; ++x)
		{
			const int a = y * kSide + x + 1;
			std::fprintf(f, "f %d %d %d\nf %d %d %d\n", a, a + 1, a + kSide + 1, a, a + kSide + 1, a + kSide);
		}
	return std::fclose(f) == 0;
}

void ImportFiveMillionTriangleObj(benchmark::State& state)
{
	const std::string path = bench::ScratchFolder() + "/scan.obj";
	if (!WriteGridObj(path))
	{
		state.SkipWithError("the OBJ file could not be written");
		return;
	}
	for (auto _ : state)
	{
		std::string error;
		PolygonObject* op = standin::ImportObj(path, &error);
		if (!op || op->GetPolygonCount() != kTriangles)
		{
			state.SkipWithError(op ? "the imported mesh differs" : error.c_str());
			break;
		}
		state.PauseTiming();
		BaseObject* dead = op;
		BaseObject::Free(dead);
		state.ResumeTiming();
	}
	state.counters["triangles"] = kTriangles;
	std::remove(path.c_str());
}
BENCHMARK(ImportFiveMillionTriangleObj)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace
