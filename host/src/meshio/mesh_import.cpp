// Mesh import. OBJ stays with the host's own reader: its errors name the line, it reads doubles
// (Assimp keeps single precision) and streams files of millions of faces. PLY, STL and glTF go
// through Assimp, whose scene is read once into plain point and polygon arrays and then freed.
#include <algorithm>
#include <cctype>
#include <cmath>
#include <filesystem>
#include <new>
#include <string>
#include <utility>
#include <vector>

#include <assimp/Importer.hpp>
#include <assimp/scene.h>

#include "meshio/glb_header.h"
#include "meshio/ply_header.h"
#include "meshio/point_weld.h"
#include "scene/object_data.h"
#include "scene/tag_data.h"
#include "standin/meshio.h"
#include "standin/printable.h"
#include "standin/scene.h"

namespace
{

// Assimp holds the whole file in memory while it reads; larger files are refused up front.
constexpr std::uintmax_t kMaxFileBytes = std::uintmax_t{4} << 30;
constexpr Int64 kMaxElements = scene::kMaxElements;

struct Instance
{
	const aiMesh* mesh = nullptr;
	aiMatrix4x4 transform;
};

struct MeshData
{
	std::vector<Vector> points;
	std::vector<CPolygon> polygons;
	std::vector<UVWStruct> uvw; // one per polygon, only when the file has texture coordinates
	std::string name;
};

std::string Lower(std::string s)
{
	for (char& c : s)
		c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
	return s;
}

std::string BaseName(const std::string& path)
{
	std::string name = std::filesystem::path(path).filename().string();
	const size_t dot = name.find_last_of('.');
	if (dot != std::string::npos && dot > 0)
		name.erase(dot);
	return name;
}

// Exactly the identity (Assimp's own test allows a tolerance).
bool IsIdentity(const aiMatrix4x4& m)
{
	const aiMatrix4x4 one;
	for (unsigned r = 0; r < 4; ++r)
		for (unsigned c = 0; c < 4; ++c)
			if (m[r][c] != one[r][c])
				return false;
	return true;
}

// Every mesh as often as the node tree places it, with the node's accumulated transformation.
// Meshes that no node places are taken as they are (readers that build no tree).
std::vector<Instance> Instances(const aiScene* scene)
{
	std::vector<Instance> out;
	if (scene->mRootNode)
	{
		std::vector<std::pair<const aiNode*, aiMatrix4x4>> work{{scene->mRootNode, scene->mRootNode->mTransformation}};
		while (!work.empty())
		{
			auto [node, m] = work.back();
			work.pop_back();
			for (unsigned i = 0; i < node->mNumMeshes; ++i)
			{
				if (node->mMeshes && node->mMeshes[i] < scene->mNumMeshes)
					out.push_back({scene->mMeshes[node->mMeshes[i]], m});
			}
			for (unsigned i = 0; i < node->mNumChildren; ++i)
			{
				if (node->mChildren && node->mChildren[i])
					work.emplace_back(node->mChildren[i], m * node->mChildren[i]->mTransformation);
			}
		}
	}
	if (out.empty())
	{
		for (unsigned i = 0; i < scene->mNumMeshes; ++i)
			out.push_back({scene->mMeshes[i], aiMatrix4x4()});
	}
	return out;
}

Int64 PolygonsOfFace(unsigned corners)
{
	if (corners < 3)
		return 0;
	return corners <= 4 ? 1 : static_cast<Int64>(corners) - 2;
}

bool Finite(const Vector& v)
{
	return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z);
}

Vector Place(const aiMatrix4x4& m, const aiVector3D& v, bool identity)
{
	const Vector p(v.x, v.y, v.z);
	if (identity)
		return p;
	return Vector(m.a1 * p.x + m.a2 * p.y + m.a3 * p.z + m.a4, m.b1 * p.x + m.b2 * p.y + m.b3 * p.z + m.b4,
		m.c1 * p.x + m.c2 * p.y + m.c3 * p.z + m.c4);
}

// Converts the scene; false with *error set.
bool Convert(const aiScene* scene, bool weld, MeshData& out, std::string* error)
{
	auto fail = [error](std::string text) {
		*error = std::move(text);
		return false;
	};
	if (scene->mNumMeshes == 0 || !scene->mMeshes)
		return fail("the file holds no mesh");
	const std::vector<Instance> instances = Instances(scene);
	Int64 vertices = 0, polygons = 0;
	bool anyUV = false;
	for (const Instance& in : instances)
	{
		const aiMesh* mesh = in.mesh;
		if (!mesh || (mesh->mNumVertices > 0 && !mesh->mVertices) || (mesh->mNumFaces > 0 && !mesh->mFaces))
			return fail("the file holds a damaged mesh");
		vertices += mesh->mNumVertices;
		for (unsigned f = 0; f < mesh->mNumFaces; ++f)
			polygons += PolygonsOfFace(mesh->mFaces[f].mNumIndices);
		anyUV = anyUV || mesh->HasTextureCoords(0);
	}
	if (polygons == 0)
		return fail("the file holds no polygons (only points or lines, or nothing)");
	if (polygons > kMaxElements)
		return fail("too many polygons (" + std::to_string(polygons) + "; at most " + std::to_string(kMaxElements) + ")");
	if (!weld && vertices > kMaxElements)
		return fail("too many points (" + std::to_string(vertices) + "; at most " + std::to_string(kMaxElements) + ")");

	out.polygons.reserve(static_cast<size_t>(polygons));
	if (!weld)
		out.points.reserve(static_cast<size_t>(vertices));
	if (anyUV)
		out.uvw.reserve(static_cast<size_t>(polygons));
	meshio::PointWeld welder(out.points);
	std::vector<Int32> remap;
	Int64 pointNumber = 0;
	for (const Instance& in : instances)
	{
		const aiMesh* mesh = in.mesh;
		const bool identity = IsIdentity(in.transform);
		// Corners are merged by the position the file gives them; a mesh that a node moves is
		// taken as it is (STL readers place none).
		const bool merge = weld && identity;
		remap.resize(merge ? mesh->mNumVertices : 0);
		const Int32 base = static_cast<Int32>(out.points.size());
		for (unsigned v = 0; v < mesh->mNumVertices; ++v, ++pointNumber)
		{
			const Vector p = Place(in.transform, mesh->mVertices[v], identity);
			if (!Finite(p))
				return fail("point " + std::to_string(pointNumber) + " is not a finite number");
			if (merge)
			{
				const aiVector3D& c = mesh->mVertices[v];
				remap[v] = welder.Add(c.x, c.y, c.z);
				if (static_cast<Int64>(out.points.size()) > kMaxElements)
					return fail("too many points (more than " + std::to_string(kMaxElements) + ")");
			}
			else
			{
				if (static_cast<Int64>(out.points.size()) >= kMaxElements)
					return fail("too many points (more than " + std::to_string(kMaxElements) + ")");
				out.points.push_back(p);
			}
		}
		const aiVector3D* uv = mesh->HasTextureCoords(0) ? mesh->mTextureCoords[0] : nullptr;
		auto point = [&](unsigned v) { return merge ? remap[v] : base + static_cast<Int32>(v); };
		auto coordinate = [uv](unsigned v) { return uv ? Vector(uv[v].x, uv[v].y, uv[v].z) : Vector(); };
		auto add = [&](unsigned a, unsigned b, unsigned c, const unsigned* d) {
			out.polygons.push_back(d ? CPolygon(point(a), point(b), point(c), point(*d)) : CPolygon(point(a), point(b), point(c)));
			if (anyUV)
				out.uvw.push_back({coordinate(a), coordinate(b), coordinate(c), coordinate(d ? *d : c)});
		};
		for (unsigned f = 0; f < mesh->mNumFaces; ++f)
		{
			const aiFace& face = mesh->mFaces[f];
			if (face.mNumIndices < 3)
				continue;
			if (!face.mIndices)
				return fail("the file holds a damaged face");
			for (unsigned k = 0; k < face.mNumIndices; ++k)
			{
				if (face.mIndices[k] >= mesh->mNumVertices)
					return fail("a face names vertex " + std::to_string(face.mIndices[k]) + " of a mesh with " + std::to_string(mesh->mNumVertices));
				if (uv && !Finite(coordinate(face.mIndices[k])))
					return fail("a texture coordinate is not a finite number");
			}
			const unsigned* i = face.mIndices;
			if (face.mNumIndices == 3)
				add(i[0], i[1], i[2], nullptr);
			else if (face.mNumIndices == 4)
				add(i[0], i[1], i[2], &i[3]);
			else
				for (unsigned k = 1; k + 1 < face.mNumIndices; ++k)
					add(i[0], i[k], i[k + 1], nullptr);
		}
	}
	return true;
}

PolygonObject* MakeObject(MeshData& data, std::string* error)
{
	PolygonObject* op = PolygonObject::Alloc(0, 0);
	if (!op)
	{
		*error = "not enough memory for the mesh";
		return nullptr;
	}
	scene::PolygonObjectData* poly = scene::PolygonDataOf(op);
	poly->points = std::move(data.points);
	poly->polygons = std::move(data.polygons);
	poly->name = data.name;
	if (!data.uvw.empty())
	{
		BaseTag* tag = BaseTag::Alloc(Tuvw);
		if (!tag)
		{
			BaseObject* dead = op;
			BaseObject::Free(dead);
			*error = "not enough memory for the mesh";
			return nullptr;
		}
		static_cast<scene::UVWTagData*>(scene::CoreOf(tag))->uvw = std::move(data.uvw);
		op->InsertTag(tag);
	}
	return op;
}

PolygonObject* ReadWithAssimp(const std::string& path, bool weld, std::string* error)
{
	MeshData data;
	data.name = BaseName(path);
	try
	{
		Assimp::Importer importer;
		// No post-processing: the faces are taken as the file has them, and nothing is welded or
		// split behind the host's back.
		const aiScene* scene = importer.ReadFile(path, 0);
		if (!scene)
		{
			const std::string why = importer.GetErrorString();
			*error = "the file cannot be read as a mesh" + (why.empty() ? std::string() : ": " + standin::Printable(why, 200));
			return nullptr;
		}
		if (!Convert(scene, weld, data, error))
			return nullptr;
	}
	catch (const std::bad_alloc&)
	{
		*error = "not enough memory for the mesh";
		return nullptr;
	}
	catch (const std::exception& e)
	{
		*error = "the file cannot be read as a mesh: " + standin::Printable(e.what(), 200);
		return nullptr;
	}
	return MakeObject(data, error);
}

} // namespace

namespace standin
{

PolygonObject* ImportMesh(const std::string& path, std::string* error)
{
	std::string why;
	auto fail = [&](const std::string& text) -> PolygonObject* {
		if (error)
			*error = text;
		return nullptr;
	};
	std::string shown(1, '\'');
	shown.append(standin::Printable(path)).append(1, '\'');
	std::error_code ec;
	if (!std::filesystem::is_regular_file(path, ec))
		return fail(std::filesystem::exists(path, ec) ? shown + " is not a file" : "cannot open " + shown);
	const std::uintmax_t size = std::filesystem::file_size(path, ec);
	if (ec)
		return fail("cannot read " + shown);
	if (size == 0)
		return fail("the file is empty");
	const std::string ext = Lower(std::filesystem::path(path).extension().string());
	if (ext == ".obj")
	{
		PolygonObject* op = ImportObj(path, &why);
		if (!op)
			return fail(why);
		if (op->GetPolygonCount() == 0)
		{
			BaseObject* dead = op;
			BaseObject::Free(dead);
			return fail("the file holds no polygons");
		}
		return op;
	}
	if (ext != ".ply" && ext != ".stl" && ext != ".gltf" && ext != ".glb")
		return fail("unknown mesh format '" + standin::Printable(ext) + "' (obj, ply, stl, gltf or glb)");
	if (size > kMaxFileBytes)
		return fail("the file is too large (" + std::to_string(size >> 20) + " MiB; at most " + std::to_string(kMaxFileBytes >> 20) + " MiB)");
	if (ext == ".ply" && !meshio::CheckPlyHeader(path, &why))
		return fail(why);
	if (ext == ".glb" && !meshio::CheckGlbHeader(path, &why))
		return fail("the file cannot be read as a mesh: " + why);
	PolygonObject* op = ReadWithAssimp(path, ext == ".stl", &why);
	if (!op)
		return fail(why);
	return op;
}

} // namespace standin
