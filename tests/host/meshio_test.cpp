// Mesh files: OBJ export read back by Assimp, import of OBJ, PLY, STL and glTF, and the files
// that are refused.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <limits>
#include <string>
#include <vector>

#include <assimp/Exporter.hpp>
#include <assimp/Importer.hpp>
#include <assimp/postprocess.h>
#include <assimp/scene.h>

#include "hostapi/api.h"
#include "scratch_folder.h"
#include "standin/meshio.h"
#include "standin/scene.h"

namespace
{

std::string ReadAll(const std::string& path)
{
	std::ifstream in(path, std::ios::binary);
	return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void ExpectNear(const Vector& a, const aiVector3D& b, Float tol = 1e-5)
{
	EXPECT_NEAR(a.x, b.x, tol);
	EXPECT_NEAR(a.y, b.y, tol);
	EXPECT_NEAR(a.z, b.z, tol);
}

// Two quads and a triangle in a row along X, with texture coordinates (x, z) at every corner.
PolygonObject* MakeStrip()
{
	PolygonObject* op = PolygonObject::Alloc(7, 3);
	const Vector points[7] = {Vector(0, 0, 0), Vector(1, 0, 0), Vector(2, 0, 0), Vector(0, 0, 1), Vector(1, 0, 1),
		Vector(2, 0, 1), Vector(3, 0, 0.5)};
	std::copy(points, points + 7, op->GetPointW());
	CPolygon* p = op->GetPolygonW();
	p[0] = CPolygon(0, 3, 4, 1);
	p[1] = CPolygon(1, 4, 5, 2);
	p[2] = CPolygon(2, 5, 6);
	auto* uvw = static_cast<UVWTag*>(op->MakeTag(Tuvw));
	for (Int32 i = 0; i < 3; ++i)
	{
		auto uv = [&](Int32 v) { return Vector(points[v].x, points[v].z, 0); };
		uvw->SetSlow(i, UVWStruct{uv(p[i].a), uv(p[i].b), uv(p[i].c), uv(p[i].d)});
	}
	op->SetName("Strip");
	return op;
}

// The total area of the polygons; quads split along a diagonal.
Float Area(const PolygonObject* op)
{
	const Vector* v = op->GetPointR();
	Float total = 0.0;
	for (Int32 i = 0; i < op->GetPolygonCount(); ++i)
	{
		const CPolygon& p = op->GetPolygonR()[i];
		total += 0.5 * std::sqrt(Cross(v[p.b] - v[p.a], v[p.c] - v[p.a]).GetSquaredLength());
		if (!p.IsTriangle())
			total += 0.5 * std::sqrt(Cross(v[p.c] - v[p.a], v[p.d] - v[p.a]).GetSquaredLength());
	}
	return total;
}

// Every corner's texture coordinate is (x, z) of its point.
void ExpectCoordinatesFollowPositions(PolygonObject* op)
{
	auto* uvw = static_cast<UVWTag*>(op->GetTag(Tuvw));
	ASSERT_NE(uvw, nullptr);
	ASSERT_EQ(uvw->GetDataCount(), op->GetPolygonCount());
	for (Int32 i = 0; i < op->GetPolygonCount(); ++i)
	{
		const CPolygon& p = op->GetPolygonR()[i];
		const UVWStruct r = uvw->GetSlow(i);
		const Int32 corners[4] = {p.a, p.b, p.c, p.d};
		const Vector uv[4] = {r.a, r.b, r.c, r.d};
		for (Int32 k = 0; k < 4; ++k)
		{
			EXPECT_NEAR(uv[k].x, op->GetPointR()[corners[k]].x, 1e-6);
			EXPECT_NEAR(uv[k].y, op->GetPointR()[corners[k]].z, 1e-6);
		}
	}
}

struct MeshFiles : ::testing::Test
{
	void TearDown() override
	{
		for (BaseObject* op : objects)
			BaseObject::Free(op);
	}

	PolygonObject* Import(const std::string& path)
	{
		std::string error;
		PolygonObject* op = standin::ImportMesh(path, &error);
		EXPECT_NE(op, nullptr) << path << ": " << error;
		if (op)
			objects.push_back(op);
		return op;
	}

	std::string Refusal(const std::string& path)
	{
		std::string error;
		PolygonObject* op = standin::ImportMesh(path, &error);
		EXPECT_EQ(op, nullptr) << path;
		if (op)
			objects.push_back(op);
		return error;
	}

	// The strip written by the host's exporter, read by Assimp with the given steps, written again
	// by Assimp in another format.
	std::string Convert(const std::string& format, const std::string& name, unsigned steps)
	{
		PolygonObject* strip = MakeStrip();
		objects.push_back(strip);
		std::string error;
		const std::string obj = folder / (name + ".source.obj");
		EXPECT_TRUE(standin::ExportObj(strip, obj, &error)) << error;
		Assimp::Importer importer;
		const aiScene* scene = importer.ReadFile(obj, steps);
		EXPECT_NE(scene, nullptr) << importer.GetErrorString();
		const std::string path = folder / name;
		Assimp::Exporter exporter;
		EXPECT_EQ(exporter.Export(scene, format, path), AI_SUCCESS) << exporter.GetErrorString();
		return path;
	}

	ScratchFolder folder;
	std::vector<BaseObject*> objects;
};

} // namespace

TEST_F(MeshFiles, ExportIsReadBackByAssimpWithPointsPolygonsAndCoordinates)
{
	PolygonObject* strip = MakeStrip();
	objects.push_back(strip);
	strip->SetMl(Matrix(Vector(10, 20, 30), Vector(0, 1, 0), Vector(-1, 0, 0), Vector(0, 0, 1)));
	const std::string path = folder / "strip.obj";
	std::string error;
	ASSERT_TRUE(standin::ExportObj(strip, path, &error)) << error;

	Assimp::Importer importer;
	const aiScene* scene = importer.ReadFile(path, 0);
	ASSERT_NE(scene, nullptr) << importer.GetErrorString();
	ASSERT_EQ(scene->mNumMeshes, 1u);
	const aiMesh* mesh = scene->mMeshes[0];
	ASSERT_EQ(mesh->mNumFaces, 3u);
	ASSERT_TRUE(mesh->HasTextureCoords(0));
	const Matrix mg = strip->GetMg();
	auto* uvw = static_cast<UVWTag*>(strip->GetTag(Tuvw));
	for (unsigned f = 0; f < mesh->mNumFaces; ++f)
	{
		const CPolygon& p = strip->GetPolygonR()[f];
		const aiFace& face = mesh->mFaces[f];
		ASSERT_EQ(face.mNumIndices, p.IsTriangle() ? 3u : 4u);
		const Int32 corners[4] = {p.a, p.b, p.c, p.d};
		const UVWStruct r = uvw->GetSlow(static_cast<Int32>(f));
		const Vector uv[4] = {r.a, r.b, r.c, r.d};
		for (unsigned k = 0; k < face.mNumIndices; ++k)
		{
			ExpectNear(mg * strip->GetPointR()[corners[k]], mesh->mVertices[face.mIndices[k]]);
			ExpectNear(uv[k], mesh->mTextureCoords[0][face.mIndices[k]]);
		}
	}

	// The host's own reader gets the world positions back exactly, points shared as before.
	PolygonObject* back = Import(path);
	ASSERT_NE(back, nullptr);
	ASSERT_EQ(back->GetPointCount(), 7);
	for (Int32 i = 0; i < 7; ++i)
		EXPECT_EQ(back->GetPointR()[i], mg * strip->GetPointR()[i]);
	EXPECT_EQ(std::vector<CPolygon>(back->GetPolygonR(), back->GetPolygonR() + 3),
		std::vector<CPolygon>(strip->GetPolygonR(), strip->GetPolygonR() + 3));

	// Without a UVW tag there are no texture coordinates.
	strip->KillTag(Tuvw);
	ASSERT_TRUE(standin::ExportObj(strip, path, &error)) << error;
	Assimp::Importer plain;
	const aiScene* bare = plain.ReadFile(path, 0);
	ASSERT_NE(bare, nullptr);
	EXPECT_FALSE(bare->mMeshes[0]->HasTextureCoords(0));
	EXPECT_EQ(ReadAll(path).find("vt"), std::string::npos);
}

TEST_F(MeshFiles, FailedExportsLeaveTheOldFile)
{
	const std::string path = folder.Write("keep.obj", "# an older export\n");
	std::string error;
	BaseObject* null = BaseObject::Alloc(Onull);
	objects.push_back(null);
	EXPECT_FALSE(standin::ExportObj(null, path, &error));
	EXPECT_NE(error.find("polygon objects"), std::string::npos) << error;

	PolygonObject* empty = PolygonObject::Alloc(3, 0);
	objects.push_back(empty);
	EXPECT_FALSE(standin::ExportObj(empty, path, &error));
	EXPECT_NE(error.find("no polygons"), std::string::npos) << error;

	PolygonObject* broken = PolygonObject::Alloc(3, 1);
	objects.push_back(broken);
	broken->GetPolygonW()[0] = CPolygon(0, 1, 9);
	EXPECT_FALSE(standin::ExportObj(broken, path, &error));
	EXPECT_NE(error.find("point 9"), std::string::npos) << error;

	PolygonObject* far = MakeStrip();
	objects.push_back(far);
	far->SetMl(Matrix(Vector(), Vector(1e300, 0, 0), Vector(0, 1e300, 0), Vector(0, 0, 1e300)));
	far->GetPointW()[2] = Vector(1e300, 0, 0);
	EXPECT_FALSE(standin::ExportObj(far, path, &error));
	EXPECT_NE(error.find("not finite"), std::string::npos) << error;
	EXPECT_EQ(ReadAll(path), "# an older export\n");

	PolygonObject* strip = MakeStrip();
	objects.push_back(strip);
	EXPECT_FALSE(standin::ExportObj(strip, folder / "missing/folder/x.obj", &error));
	EXPECT_FALSE(error.empty());
}

TEST_F(MeshFiles, EachFormatImportsAsOnePolygonObject)
{
	// PLY keeps quads and shared points; its texture coordinates are per point.
	const std::string ply = folder.Write("strip.ply",
		"ply\nformat ascii 1.0\nelement vertex 7\nproperty float x\nproperty float y\nproperty float z\n"
		"property float s\nproperty float t\nelement face 3\nproperty list uchar int vertex_indices\nend_header\n"
		"0 0 0 0 0\n1 0 0 1 0\n2 0 0 2 0\n0 0 1 0 1\n1 0 1 1 1\n2 0 1 2 1\n3 0 0.5 3 0.5\n"
		"4 0 3 4 1\n4 1 4 5 2\n3 2 5 6\n");
	PolygonObject* fromPly = Import(ply);
	ASSERT_NE(fromPly, nullptr);
	EXPECT_EQ(fromPly->GetName().Get(), "strip");
	EXPECT_EQ(fromPly->GetPolygonCount(), 3);
	EXPECT_EQ(fromPly->GetPointCount(), 7);
	EXPECT_NEAR(Area(fromPly), 2.5, 1e-6);
	ExpectCoordinatesFollowPositions(fromPly);

	// STL holds triangles with their own corners: equal positions become one point again.
	const std::string stl = Convert("stlb", "strip.stl", aiProcess_Triangulate);
	PolygonObject* fromStl = Import(stl);
	ASSERT_NE(fromStl, nullptr);
	EXPECT_EQ(fromStl->GetPolygonCount(), 5);
	EXPECT_EQ(fromStl->GetPointCount(), 7);
	EXPECT_NEAR(Area(fromStl), 2.5, 1e-6);
	EXPECT_EQ(fromStl->GetTag(Tuvw), nullptr) << "STL has no texture coordinates";

	for (const char* format : {"gltf2", "glb2"})
	{
		const std::string name = std::string("strip.") + (format[2] == 'b' ? "glb" : "gltf");
		const std::string path = Convert(format, name, aiProcess_Triangulate | aiProcess_JoinIdenticalVertices);
		PolygonObject* fromGltf = Import(path);
		ASSERT_NE(fromGltf, nullptr);
		EXPECT_EQ(fromGltf->GetPolygonCount(), 5) << format;
		EXPECT_NEAR(Area(fromGltf), 2.5, 1e-6) << format;
		ExpectCoordinatesFollowPositions(fromGltf);
	}

	// OBJ goes through the host's own reader.
	PolygonObject* fromObj = Import(folder / "strip.stl.source.obj");
	ASSERT_NE(fromObj, nullptr);
	EXPECT_EQ(fromObj->GetPolygonCount(), 3);
	ExpectCoordinatesFollowPositions(fromObj);
}

TEST_F(MeshFiles, HandWrittenFilesMergeMeshesAndFanLargeFaces)
{
	// A quad and a pentagon sharing an edge; the pentagon becomes three triangles.
	const std::string ply = folder.Write("shape.PLY",
		"ply\nformat ascii 1.0\nelement vertex 7\nproperty float x\nproperty float y\nproperty float z\n"
		"element face 2\nproperty list uchar int vertex_indices\nend_header\n"
		"0 0 0\n1 0 0\n1 1 0\n0 1 0\n2 0 0\n2.5 0.5 0\n2 1 0\n"
		"4 0 1 2 3\n5 1 4 5 6 2\n");
	PolygonObject* shape = Import(ply);
	ASSERT_NE(shape, nullptr);
	EXPECT_EQ(shape->GetPointCount(), 7);
	ASSERT_EQ(shape->GetPolygonCount(), 4);
	EXPECT_EQ(shape->GetPolygonR()[0], CPolygon(0, 1, 2, 3));
	EXPECT_EQ(shape->GetPolygonR()[1], CPolygon(1, 4, 5));
	EXPECT_EQ(shape->GetPolygonR()[3], CPolygon(1, 6, 2));
	EXPECT_EQ(shape->GetTag(Tuvw), nullptr);

	// Two solids in one ASCII STL, touching along an edge: merged into one object, the shared
	// corners once.
	const std::string stl = folder.Write("pair.stl",
		"solid a\nfacet normal 0 0 1\nouter loop\nvertex 0 0 0\nvertex 1 0 0\nvertex 1 1 0\nendloop\nendfacet\nendsolid a\n"
		"solid b\nfacet normal 0 0 1\nouter loop\nvertex 0 0 0\nvertex 1 1 0\nvertex -0 1 0\nendloop\nendfacet\nendsolid b\n");
	PolygonObject* pair = Import(stl);
	ASSERT_NE(pair, nullptr);
	EXPECT_EQ(pair->GetPolygonCount(), 2);
	EXPECT_EQ(pair->GetPointCount(), 4);
	EXPECT_NEAR(Area(pair), 1.0, 1e-12);
}

TEST_F(MeshFiles, RefusalsNameTheirReason)
{
	auto expectReason = [this](const std::string& path, const std::string& reason) {
		const std::string error = Refusal(path);
		EXPECT_NE(error.find(reason), std::string::npos) << path << ": " << error;
	};
	expectReason(folder / "nothing-here.ply", "cannot open");
	expectReason(folder.Write("empty.stl", ""), "empty");
	expectReason(folder.Write("empty.obj", ""), "empty");
	expectReason(folder.Write("points.obj", "v 0 0 0\nv 1 0 0\n"), "no polygons");
	expectReason(folder.Write("bad.obj", "v 0 0 0\nf 1 2 3\n"), "line 2");
	expectReason(folder.Write("mesh.xyz", "0 0 0\n"), "unknown mesh format");
	expectReason(folder.Write("noise.stl", "this is not a mesh at all, just some words\n"), "cannot be read");
	expectReason(folder.Write("noise.glb", std::string("glTF\x02\0\0\0\x10\0\0\0", 12)), "cannot be read");
	expectReason(folder.Write("cloud.ply",
		"ply\nformat ascii 1.0\nelement vertex 3\nproperty float x\nproperty float y\nproperty float z\nend_header\n"
		"0 0 0\n1 0 0\n0 1 0\n"), "no polygons");
	// PLY headers Assimp is not safe on are refused before it reads them: without end_header it
	// reads forever, and lines it does not expect corrupted its heap (a fuzzer's find, cut down).
	const std::string plyStart = "ply\nformat ascii 1.0\n";
	expectReason(folder.Write("endless.ply", plyStart + "element vertex 1\nproperty float x\n"), "no end_header line");
	expectReason(folder.Write("long.ply", plyStart + "comment" + std::string(size_t{1} << 21, ' ') + "\nend_header\n"), "does not end within");
	const char heapBreaker[] = "ply\nformat binary_little_endian 1.0ly\nformat binary_little_endian 1.0\nele\0\0\0loat t\n"
		"element1 1.0 rty list uchaindices\nend_header\nel_idic\0\0\0\0\x80?\0\0\0\0\0\0\0\0\0\0";
	expectReason(folder.Write("heap.ply", std::string(heapBreaker, sizeof heapBreaker - 1)), "line 2 of the PLY header");
	const std::string vertex = "element vertex 1\nproperty float x\nproperty float y\nproperty float z\n";
	expectReason(folder.Write("twice.ply", plyStart + vertex + vertex + "end_header\n0 0 0\n0 0 0\n"), "'vertex' is declared twice");
	expectReason(folder.Write("orphan.ply", plyStart + "property float x\n" + vertex + "end_header\n0 0 0\n"), "line 3 of the PLY header: a property before");
	expectReason(folder.Write("type.ply", plyStart + "element vertex 1\nproperty real x\nend_header\n0\n"), "known types");
	expectReason(folder.Write("many.ply", plyStart + "element vertex 4000000000\nproperty float x\nend_header\n0\n"), "more than the file holds");
	// GLB lengths are checked before Assimp, which allocates what a header or chunk head says (a
	// fuzzer's find asked for 1.9 GB in 76 bytes).
	auto glb = [](std::uint32_t version, std::uint32_t length, std::uint32_t chunkLength, std::uint32_t chunkType) {
		const std::uint32_t words[5] = {0x46546C67, version, length, chunkLength, chunkType};
		return std::string(reinterpret_cast<const char*>(words), sizeof words) + std::string(56, ' ');
	};
	const std::uint32_t json = 0x4E4F534A;
	expectReason(folder.Write("long.glb", glb(2, 543515489, 16, json)), "length of 543515489 bytes; the file has 76");
	expectReason(folder.Write("huge.glb", glb(2, 76, 1919945267, json)), "chunk 0 a length of 1919945267 bytes, more than the file holds");
	expectReason(folder.Write("second.glb", glb(2, 76, 40, json)), "chunk 1 a length of 538976288 bytes");
	expectReason(folder.Write("bin.glb", glb(2, 76, 56, 0x004E4942)), "does not start with a JSON chunk");
	expectReason(folder.Write("three.glb", glb(3, 76, 56, json)), "version 3");
	expectReason(folder.Write("scene.glb", glb(1, 76, 1919945267, 0)), "a scene of 1919945267 bytes");
	expectReason(folder.Write("cut.glb", std::string("glTF\x02\0\0", 7)), "ends inside its 12-byte header");
	expectReason(folder.Write("scene.gltf",
		R"({"asset":{"version":"2.0"},"scene":0,"scenes":[{"nodes":[0]}],"nodes":[{"name":"empty"}]})"), "no mesh");

	// A binary PLY triangle with a NaN coordinate.
	std::string nan = "ply\nformat binary_little_endian 1.0\nelement vertex 3\nproperty float x\nproperty float y\n"
		"property float z\nelement face 1\nproperty list uchar int vertex_indices\nend_header\n";
	const float coordinates[9] = {0, 0, 0, 1, 0, 0, 0, std::numeric_limits<float>::quiet_NaN(), 0};
	nan.append(reinterpret_cast<const char*>(coordinates), sizeof coordinates);
	const unsigned char three = 3;
	const std::int32_t corners[3] = {0, 1, 2};
	nan.append(reinterpret_cast<const char*>(&three), 1);
	nan.append(reinterpret_cast<const char*>(corners), sizeof corners);
	expectReason(folder.Write("nan.ply", nan), "not a finite number");
}
