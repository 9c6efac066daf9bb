// A scan-sized mesh: five million triangles saved and reopened as a document and imported from
// an OBJ file, and two million imported from a binary STL file through Assimp.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

#include "bench_support.h"
#include "hostapi/api.h"
#include "standin/documents.h"
#include "standin/meshio.h"
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

// A binary STL scan read through Assimp: a grid of kStlSide x kStlSide points, two triangles per
// cell (2,000,000 triangles), every triangle with its own three corners as STL stores them, so
// the import also merges the six million corners back into the grid's million points.
constexpr int kStlSide = 1001;
constexpr Int32 kStlTriangles = 2 * (kStlSide - 1) * (kStlSide - 1);

bool WriteGridStl(const std::string& path)
{
	std::FILE* f = std::fopen(path.c_str(), "wb");
	if (!f)
		return false;
	// The header must not begin with "solid", which marks the text form.
	char header[80] = "binary grid scan";
	const auto count = static_cast<std::uint32_t>(kStlTriangles);
	bool ok = std::fwrite(header, 1, sizeof header, f) == sizeof header && std::fwrite(&count, sizeof count, 1, f) == 1;
	auto corner = [](int x, int y, float* out) {
		out[0] = static_cast<float>(x);
		out[1] = static_cast<float>(0.001 * ((x * 7 + y * 13) % 100));
		out[2] = static_cast<float>(y);
	};
	// 50 bytes a triangle: normal, three corners, a 16-bit attribute count.
	unsigned char record[50] = {};
	auto put = [&](const int (*c)[2]) {
		float v[12] = {0.0f, 1.0f, 0.0f};
		for (int k = 0; k < 3; ++k)
			corner(c[k][0], c[k][1], v + 3 + 3 * k);
		std::memcpy(record, v, sizeof v);
		return std::fwrite(record, 1, sizeof record, f) == sizeof record;
	};
	for (int y = 0; ok && y + 1 < kStlSide; ++y)
		for (int x = 0; ok && x + 1 < kStlSide; ++x)
		{
			const int first[3][2] = {{x, y}, {x + 1, y}, {x + 1, y + 1}};
			const int second[3][2] = {{x, y}, {x + 1, y + 1}, {x, y + 1}};
			ok = put(first) && put(second);
		}
	return std::fclose(f) == 0 && ok;
}

void ImportTwoMillionTriangleStl(benchmark::State& state)
{
	const std::string path = bench::ScratchFolder() + "/scan.stl";
	if (!WriteGridStl(path))
	{
		state.SkipWithError("the STL file could not be written");
		return;
	}
	for (auto _ : state)
	{
		std::string error;
		PolygonObject* op = standin::ImportMesh(path, &error);
		if (!op || op->GetPolygonCount() != kStlTriangles || op->GetPointCount() != kStlSide * kStlSide)
		{
			state.SkipWithError(op ? "the imported mesh differs" : error.c_str());
			BaseObject* dead = op;
			BaseObject::Free(dead);
			break;
		}
		state.PauseTiming();
		BaseObject* dead = op;
		BaseObject::Free(dead);
		state.ResumeTiming();
	}
	state.counters["triangles"] = kStlTriangles;
	std::remove(path.c_str());
}
BENCHMARK(ImportTwoMillionTriangleStl)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace
