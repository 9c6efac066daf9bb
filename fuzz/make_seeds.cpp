// fuzz_seeds <corpus folder>: writes the seed corpus of every fuzz target, made by the host's own
// writers, into <corpus folder>/<target>/. Run by fuzz/make-corpus.sh; the result is committed.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <iterator>
#include <string>
#include <vector>

#include "ManagerModel.h"
#include "data/serialize.h"
#include "file/hyperfile_format.h"
#include "fuzz_scene.h"
#include "hostapi/customdata.h"
#include "hostapi/file.h"
#include "standin/documents.h"
#include "standin/paths.h"
#include "standin/scene.h"
#include "standin/session.h"

namespace fs = std::filesystem;

namespace
{

using Bytes = std::vector<std::uint8_t>;

fs::path g_out;
fs::path g_scratch;
bool g_ok = true;

void Fail(const std::string& what)
{
	std::fprintf(stderr, "fuzz_seeds: %s\n", what.c_str());
	g_ok = false;
}

Bytes Load(const fs::path& path)
{
	std::ifstream in(path, std::ios::binary);
	return Bytes(std::istreambuf_iterator<char>(in), {});
}

void Seed(const std::string& target, const std::string& name, const void* data, size_t size)
{
	fs::create_directories(g_out / target);
	std::ofstream out(g_out / target / name, std::ios::binary | std::ios::trunc);
	out.write(static_cast<const char*>(data), static_cast<std::streamsize>(size));
	if (!out)
		Fail("cannot write " + (g_out / target / name).string());
}

void Seed(const std::string& target, const std::string& name, const Bytes& bytes)
{
	Seed(target, name, bytes.data(), bytes.size());
}

void Seed(const std::string& target, const std::string& name, const std::string& text)
{
	Seed(target, name, text.data(), text.size());
}

// The first record's body of a hyper file: what the document and set file targets take when the
// input is not a whole file.
Bytes FirstRecord(const fs::path& path)
{
	Int32 ident = 0;
	Bytes payload;
	std::string error;
	if (!standin::file::LoadHyperFile(path.string(), &ident, &payload, &error))
	{
		Fail(path.string() + ": " + error);
		return {};
	}
	size_t pos = 0;
	std::uint32_t kind = 0;
	const std::uint8_t* body = nullptr;
	size_t length = 0;
	if (!standin::file::NextRecord(payload, &pos, &kind, &body, &length, &error))
	{
		Fail(path.string() + ": " + error);
		return {};
	}
	return Bytes(body, body + length);
}

bool WriteHyperFile(const fs::path& path, Int32 ident, const std::vector<BaseContainer>& containers)
{
	HyperFile* hf = HyperFile::Alloc();
	bool ok = hf->Open(ident, Filename(path.c_str()), FILEOPEN_WRITE, FILEDIALOG_NONE);
	for (const BaseContainer& bc : containers)
		ok = ok && hf->WriteContainer(bc);
	ok = hf->Close() && ok;
	HyperFile::Free(hf);
	if (!ok)
		Fail("cannot write " + path.string());
	return ok;
}

// Every kind of value a container can hold.
BaseContainer EveryValue()
{
	BaseContainer bc(7);
	bc.SetInt32(1, -3);
	bc.SetInt64(2, 0x1122334455667788LL);
	bc.SetFloat(3, 0.1);
	bc.SetVector(4, Vector(1, -2, 0.25));
	bc.SetMatrix(5, HPBToMatrix(Vector(0.1, -0.2, 0.3), ROTATIONORDER_DEFAULT));
	bc.SetString(6, "Tarn\"wick\"\n");
	BaseContainer inner(8);
	inner.SetInt32(1, 1);
	inner.SetContainer(2, BaseContainer(9));
	bc.SetContainer(7, inner);
	Gradient* g = Gradient::Alloc();
	g->InsertKnot(GradientKnot{Vector(1, 0, 0), 1.0, 0.0, 0.5, 0});
	g->InsertKnot(GradientKnot{Vector(0, 0, 1), 0.5, 1.0, 0.25, 1});
	g->SetData(1002, GeData(Int32{2}));
	bc.SetData(8, GeData(*g));
	Gradient::Free(g);
	SplineData* s = SplineData::Alloc();
	s->InsertKnot(0.0, 1.0);
	s->InsertKnot(1.0, 0.5);
	bc.SetData(9, GeData(*s));
	SplineData::Free(s);
	PriorityData* p = PriorityData::Alloc();
	p->SetPriorityValue(2, GeData(Int32{1}));
	bc.SetData(10, GeData(*p));
	PriorityData::Free(p);
	bc.SetLink(11, nullptr);
	return bc;
}

void HyperFileSeeds()
{
	const BaseContainer every = EveryValue();
	Bytes bare;
	standin::data::EncodeContainer(every, bare);
	Seed("hyperfile", "container-every-value", bare);

	BaseContainer small(1);
	small.SetString(1, "two");
	const fs::path file = g_scratch / "seed.hyp";
	if (WriteHyperFile(file, 1952804208, {every}))
		Seed("hyperfile", "file-every-value", Load(file));
	if (WriteHyperFile(file, 1952804208, {small, BaseContainer(2)}))
		Seed("hyperfile", "file-two-containers", Load(file));
	if (WriteHyperFile(file, 1952804208, {}))
		Seed("hyperfile", "file-empty", Load(file));
}

void DocumentSeeds()
{
	const fs::path file = g_scratch / "seed.doc";
	std::string error;

	BaseDocument* empty = standin::NewDocument();
	if (standin::SaveDocument(empty, file.string(), &error))
		Seed("document", "record-empty", FirstRecord(file));
	else
		Fail(error);
	standin::CloseAllDocuments();

	// Hierarchy, a mesh with selections and tags, a spline, a material on a layer, a link.
	BaseDocument* doc = standin::NewDocument();
	BaseList2D* layer = LayerObject::Alloc();
	layer->SetName("Props");
	doc->InsertLayer(layer, nullptr, nullptr);
	BaseObject* root = fuzz::AddNull(doc, "Root", fuzz::kFirstIdentity);
	root->SetLayerObject(layer);
	PolygonObject* mesh = PolygonObject::Alloc(4, 1);
	mesh->SetName("Mesh");
	doc->InsertObject(mesh, root, nullptr);
	Vector* points = mesh->GetPointW();
	points[1] = Vector(1, 0, 0);
	points[2] = Vector(1, 0, 1);
	points[3] = Vector(0, 0, 1);
	mesh->GetPolygonW()[0] = CPolygon(0, 1, 2, 3);
	mesh->GetPolygonS()->Select(0);
	mesh->GetEdgeS()->Select(2);
	mesh->GetPointS()->Select(3);
	auto* uvw = static_cast<UVWTag*>(mesh->MakeTag(Tuvw));
	uvw->SetSlow(0, UVWStruct{Vector(0, 0, 0), Vector(1, 0, 0), Vector(1, 1, 0), Vector(0, 1, 0)});
	mesh->MakeTag(Tphong);
	SplineObject* spline = SplineObject::Alloc(3, SPLINETYPE_CUBIC);
	doc->InsertObject(spline, root, mesh);
	spline->GetPointW()[2] = Vector(5, 5, 5);
	BaseMaterial* mat = BaseMaterial::Alloc();
	mat->SetName("Steel");
	mat->AddUniqueID(fuzz::kMaterialMarker, "Tarnwick", 9);
	mat->SetLayerObject(layer);
	doc->InsertMaterial(mat);
	auto* texture = static_cast<TextureTag*>(mesh->MakeTag(Ttexture));
	texture->SetMaterial(mat);
	BaseContainer* data = root->GetDataInstance();
	data->SetLink(1000, mesh);
	data->SetContainer(1001, EveryValue());
	if (standin::SaveDocument(doc, file.string(), &error))
	{
		Seed("document", "record-scene", FirstRecord(file));
		Seed("document", "file-scene", Load(file));
	}
	else
		Fail(error);
	standin::CloseAllDocuments();

	// What opening repairs: a tag of a plug-in that is not loaded (with a link to it), two
	// materials of one name and one without, two siblings of one name.
	BaseDocument* odd = standin::NewDocument();
	BaseObject* first = fuzz::AddNull(odd, "Twin", fuzz::kFirstIdentity);
	fuzz::AddNull(odd, "Twin", fuzz::kFirstIdentity + 1);
	BaseTag* stranger = BaseTag::Alloc(1999999);
	stranger->GetDataInstance()->SetInt32(1, 7);
	first->InsertTag(stranger);
	first->GetDataInstance()->SetLink(1000, stranger);
	for (const char* name : {"Alpha", "Alpha", ""})
	{
		BaseMaterial* m = BaseMaterial::Alloc();
		m->SetName(name);
		odd->InsertMaterial(m);
	}
	if (standin::SaveDocument(odd, file.string(), &error))
		Seed("document", "record-repairs", FirstRecord(file));
	else
		Fail(error);
	standin::CloseAllDocuments();
}

void SetFileSeeds()
{
	BaseDocument* doc = fuzz::MakeSetScene();
	// A member that is no longer in the scene is kept in the file as it was read.
	BaseObject* gone = fuzz::AddNull(doc, "Gone", fuzz::kFirstIdentity + 9);
	ManagerModel model;
	auto save = [&](std::initializer_list<BaseList2D*> elements, const char* name) {
		model.ClearHeld();
		AtomArray* arr = AtomArray::Alloc();
		for (BaseList2D* e : elements)
			arr->Append(e);
		if (!model.AddElements(*arr) || !model.SaveAsNewSetNamed(String(name)))
			Fail(std::string("cannot save the set ") + name);
		AtomArray::Free(arr);
	};
	BaseObject* box = doc->GetFirstObject();
	save({box, box->GetNext()}, "front");
	save({box->GetNext()->GetNext(), doc->GetFirstMaterial()}, "lamp and steel");
	save({gone}, "gone");
	BaseObject::Free(gone);

	const fs::path file = g_scratch / "Tarnwick.dat";
	if (model.WriteSetFile(Filename(file.c_str())))
	{
		Seed("setfile", "container-three-sets", FirstRecord(file));
		Seed("setfile", "file-three-sets", Load(file));
	}
	else
		Fail("cannot write the set file");
	// A model writes its sets after those of a file it did not read: the file goes first.
	fs::remove(file);
	ManagerModel none;
	if (none.WriteSetFile(Filename(file.c_str())))
		Seed("setfile", "container-no-sets", FirstRecord(file));
	standin::CloseAllDocuments();
}

void ObjSeeds()
{
	Seed("obj", "quad-uv.obj", "# a quad with texture coordinates\no Quad\nv 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\n"
							   "vt 0 0\nvt 1 0\nvt 1 1\nvt 0 1\nvn 0 0 1\nf 1/1/1 2/2/1 3/3/1 4/4/1\n");
	Seed("obj", "negative-fan.obj", "g fan\ns off\nusemtl none\nv 0 0 0\nv 1 0 0\nv 2 1 0\nv 1 2 0\nv 0 1 0\nf -5 -4 -3 -2 -1\nf 1//1 2//1 3//1\n");
	Seed("obj", "crlf.obj", "v 0 0 0\r\nv 1 0 0\r\nv 0 1 0\r\nf 1 2 3\r\n");
}

// Mesh files of every format mesh_fuzz reads, each as small as it can be while still holding a
// quad and a triangle (or two triangles that share an edge), texture coordinates where the format
// has them, and for glTF a node tree that moves the mesh.
void Append(Bytes& out, const void* data, size_t size)
{
	const auto* bytes = static_cast<const std::uint8_t*>(data);
	out.insert(out.end(), bytes, bytes + size);
}

template <typename T>
void AppendValue(Bytes& out, T value)
{
	// The seeds are written on a little-endian machine, which is what the formats ask for.
	Append(out, &value, sizeof value);
}

std::string Base64(const Bytes& bytes)
{
	static const char digits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
	std::string out;
	for (size_t i = 0; i < bytes.size(); i += 3)
	{
		const std::uint32_t n = (std::uint32_t{bytes[i]} << 16) | (i + 1 < bytes.size() ? std::uint32_t{bytes[i + 1]} << 8 : 0) |
			(i + 2 < bytes.size() ? bytes[i + 2] : 0);
		out += digits[(n >> 18) & 63];
		out += digits[(n >> 12) & 63];
		out += i + 1 < bytes.size() ? digits[(n >> 6) & 63] : '=';
		out += i + 2 < bytes.size() ? digits[n & 63] : '=';
	}
	return out;
}

// A triangle's glTF data: positions (3 x vec3), texture coordinates (3 x vec2), indices (3 x u16,
// padded to 4 bytes).
Bytes GltfBuffer()
{
	Bytes buffer;
	for (float f : {0.f, 0.f, 0.f, 1.f, 0.f, 0.f, 0.f, 1.f, 0.f})
		AppendValue(buffer, f);
	for (float f : {0.f, 0.f, 1.f, 0.f, 0.f, 1.f})
		AppendValue(buffer, f);
	for (std::uint16_t i : {0, 1, 2, 0})
		AppendValue(buffer, i);
	return buffer;
}

std::string GltfJson(const std::string& bufferUri, size_t bufferBytes)
{
	return "{\"asset\":{\"version\":\"2.0\"},\"scene\":0,\"scenes\":[{\"nodes\":[0]}],"
		   "\"nodes\":[{\"translation\":[1,2,3],\"children\":[1]},{\"mesh\":0,\"scale\":[2,2,2]}],"
		   "\"meshes\":[{\"primitives\":[{\"attributes\":{\"POSITION\":0,\"TEXCOORD_0\":1},\"indices\":2}]}],"
		   "\"accessors\":[{\"bufferView\":0,\"componentType\":5126,\"count\":3,\"type\":\"VEC3\",\"min\":[0,0,0],\"max\":[1,1,0]},"
		   "{\"bufferView\":1,\"componentType\":5126,\"count\":3,\"type\":\"VEC2\"},"
		   "{\"bufferView\":2,\"componentType\":5123,\"count\":3,\"type\":\"SCALAR\"}],"
		   "\"bufferViews\":[{\"buffer\":0,\"byteOffset\":0,\"byteLength\":36},{\"buffer\":0,\"byteOffset\":36,\"byteLength\":24},"
		   "{\"buffer\":0,\"byteOffset\":60,\"byteLength\":6}],"
		   "\"buffers\":[{" +
		(bufferUri.empty() ? std::string() : "\"uri\":\"" + bufferUri + "\",") + "\"byteLength\":" + std::to_string(bufferBytes) + "}]}";
}

void MeshSeeds()
{
	const std::string plyHead = "ply\nformat ascii 1.0\ncomment a quad and a triangle\nelement vertex 5\nproperty float x\n"
								"property float y\nproperty float z\nproperty float s\nproperty float t\nelement face 2\n"
								"property list uchar int vertex_indices\nend_header\n";
	Seed("mesh", "quad-triangle-uv.ply", plyHead + "0 0 0 0 0\n1 0 0 1 0\n1 1 0 1 1\n0 1 0 0 1\n2 0 0 1 0\n4 0 1 2 3\n3 1 4 2\n");

	Bytes binary;
	const std::string binaryHead = "ply\nformat binary_little_endian 1.0\nelement vertex 4\nproperty float x\nproperty float y\n"
								   "property float z\nelement face 2\nproperty list uchar int vertex_indices\nend_header\n";
	Append(binary, binaryHead.data(), binaryHead.size());
	for (float f : {0.f, 0.f, 0.f, 1.f, 0.f, 0.f, 1.f, 1.f, 0.f, 0.f, 1.f, 0.f})
		AppendValue(binary, f);
	AppendValue(binary, std::uint8_t{3});
	for (std::int32_t i : {0, 1, 2})
		AppendValue(binary, i);
	AppendValue(binary, std::uint8_t{5}); // a fan of three triangles over four points and one again
	for (std::int32_t i : {0, 2, 3, 1, 0})
		AppendValue(binary, i);
	Seed("mesh", "triangle-fan-binary.ply", binary);

	Seed("mesh", "two-triangles.stl",
		"solid two\nfacet normal 0 0 1\n outer loop\n  vertex 0 0 0\n  vertex 1 0 0\n  vertex 1 1 0\n endloop\nendfacet\n"
		"facet normal 0 0 1\n outer loop\n  vertex 0 0 0\n  vertex 1 1 0\n  vertex 0 1 0\n endloop\nendfacet\nendsolid two\n");

	Bytes stl(80, ' ');
	const char title[] = "binary seed";
	std::copy(title, title + sizeof title - 1, stl.begin());
	AppendValue(stl, std::uint32_t{2});
	for (const auto& triangle : {std::initializer_list<float>{0, 0, 1, 0, 0, 0, 1, 0, 0, 1, 1, 0}, std::initializer_list<float>{0, 0, 1, 0, 0, 0, 1, 1, 0, 0, 1, 0}})
	{
		for (float f : triangle)
			AppendValue(stl, f);
		AppendValue(stl, std::uint16_t{0});
	}
	Seed("mesh", "two-triangles-binary.stl", stl);

	const Bytes buffer = GltfBuffer();
	Seed("mesh", "triangle-uv.gltf", GltfJson("data:application/octet-stream;base64," + Base64(buffer), buffer.size()));

	std::string json = GltfJson("", buffer.size());
	json.resize((json.size() + 3) & ~size_t{3}, ' ');
	Bytes glb;
	Append(glb, "glTF", 4);
	AppendValue(glb, std::uint32_t{2});
	AppendValue(glb, static_cast<std::uint32_t>(12 + 8 + json.size() + 8 + buffer.size()));
	AppendValue(glb, static_cast<std::uint32_t>(json.size()));
	Append(glb, "JSON", 4);
	Append(glb, json.data(), json.size());
	AppendValue(glb, static_cast<std::uint32_t>(buffer.size()));
	Append(glb, "BIN\0", 4);
	Append(glb, buffer.data(), buffer.size());
	Seed("mesh", "triangle-uv.glb", glb);
}

// Dialog resources beside the plug-ins' own (make-corpus.sh copies those): every kind of line.
void DialogSeeds()
{
	Seed("dialog_resource", "every-gadget.dlg",
		"# every kind of line\nGROUP 100 2 \"Page\"\n  BUTTON 101 \"Go\"\n  CHECKBOX 102 \"On\"\n  TEXT 103 \"@1\"\n"
		"  EDIT 104 120 16\n  COMBO 105\n  CHILD 1 \"One\"\n  CHILD 2 \"Two\"\n  LINK 106\n  TREE 107 200 80\n"
		"  USERAREA 108 64 64\n  RADIO 109 2\n  CHILD 110 \"Left\"\n  CHILD 111 \"Right\"\n  GROUP 112 1\n  END\nEND\n");
}

void SessionSeeds()
{
	// Every command once, with its usage words as they stand in the help.
	Seed("session", "every-command.session", standin::SessionCommandHelp());
	Seed("session", "scene.session",
		"new-document\nadd-object cube Box 100\nadd-object plane \"Floor \\\"big\\\"\" 400 4 # a comment\n"
		"set-rotation Box 30 0 0\nparent Box \"Floor \\\"big\\\"\"\nprint-scene\nexpect-console \"Loomcast\"\n");
}

} // namespace

int main(int argc, char** argv)
{
	if (argc != 2)
	{
		std::fprintf(stderr, "usage: fuzz_seeds <corpus folder>\n");
		return 2;
	}
	g_out = argv[1];
	char pattern[] = "/tmp/fuzz-seeds-XXXXXX";
	if (!::mkdtemp(pattern))
		return 1;
	g_scratch = pattern;
	standin::SetPrefsFolder((g_scratch / "prefs").string());

	HyperFileSeeds();
	DocumentSeeds();
	SetFileSeeds();
	ObjSeeds();
	MeshSeeds();
	SessionSeeds();
	DialogSeeds();

	std::error_code ignored;
	fs::remove_all(g_scratch, ignored);
	return g_ok ? 0 : 1;
}
