// Whole documents on disk: what a save holds comes back on open, and damaged or hostile files open
// nothing.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "data/bytes.h"
#include "file/hyperfile_format.h"
#include "hostapi/document.h"
#include "standin/documents.h"
#include "standin/scene.h"

namespace
{

using Bytes = std::vector<std::uint8_t>;

class DocumentFileTest : public ::testing::Test
{
protected:
	void SetUp() override
	{
		char pattern[] = "/tmp/docio-XXXXXX";
		ASSERT_NE(mkdtemp(pattern), nullptr);
		folder = pattern;
		path = folder + "/scene.doc";
		doc = standin::NewDocument();
	}

	void TearDown() override
	{
		standin::CloseAllDocuments();
		std::error_code ignored;
		std::filesystem::remove_all(folder, ignored);
	}

	BaseObject* Append(BaseObject* op, BaseObject* parent = nullptr)
	{
		BaseObject* pred = parent ? parent->GetDown() : doc->GetFirstObject();
		while (pred && pred->GetNext())
			pred = pred->GetNext();
		doc->InsertObject(op, parent, pred);
		return op;
	}

	BaseDocument* SaveAndOpen()
	{
		std::string error;
		EXPECT_TRUE(standin::SaveDocument(doc, path, &error)) << error;
		BaseDocument* loaded = standin::LoadDocument(path, &error);
		EXPECT_NE(loaded, nullptr) << error;
		return loaded;
	}

	// A document file with a hand-made body.
	void WriteBody(const Bytes& body, Int32 ident = 0x73646f63)
	{
		Bytes payload;
		standin::file::AppendRecord(payload, 2, body);
		Bytes image;
		standin::file::BuildHyperFile(ident, payload, &image);
		std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(image.data()), static_cast<std::streamsize>(image.size()));
	}

	// Opening must fail, name a reason and leave the open documents as they were.
	void ExpectRefused(const char* what)
	{
		std::string error;
		EXPECT_EQ(standin::LoadDocument(path, &error), nullptr) << what;
		EXPECT_FALSE(error.empty()) << what;
		EXPECT_EQ(GetActiveDocument(), doc) << what;
	}

	std::string folder;
	std::string path;
	BaseDocument* doc = nullptr;
};

TEST_F(DocumentFileTest, ObjectsKeepHierarchyIdentityGeometryAndTags)
{
	BaseObject* root = Append(BaseObject::Alloc(Onull));
	root->SetName("Root");
	root->SetNBit(NBIT_ACTIVE, true);
	root->SetNBit(NBIT_OM1_FOLD, true);
	Matrix ml(Vector(1, 2, 3), Vector(0, 1, 0), Vector(-1, 0, 0), Vector(0, 0, 2));
	root->SetMl(ml);
	root->SetEditorMode(1);
	ASSERT_TRUE(root->AddUniqueID(77, "abc", 4));

	PolygonObject* mesh = PolygonObject::Alloc(4, 1);
	Append(mesh, root);
	mesh->SetName("Mesh");
	Vector* points = mesh->GetPointW();
	points[1] = Vector(1, 0, 0);
	points[2] = Vector(1, 0, 1);
	points[3] = Vector(0, 0, 1);
	mesh->GetPolygonW()[0] = CPolygon(0, 1, 2, 3);
	mesh->GetPolygonS()->Select(0);
	mesh->GetEdgeS()->Select(2);
	mesh->GetEdgeS()->Select(3);
	auto* uvw = static_cast<UVWTag*>(mesh->MakeTag(Tuvw));
	ASSERT_NE(uvw, nullptr);
	uvw->SetSlow(0, UVWStruct{Vector(0, 0, 0), Vector(1, 0, 0), Vector(1, 1, 0), Vector(0, 1, 0)});
	mesh->MakeTag(Tphong);

	SplineObject* spline = SplineObject::Alloc(3, SPLINETYPE_CUBIC);
	Append(spline, root);
	spline->GetPointW()[2] = Vector(5, 5, 5);

	BaseMaterial* mat = BaseMaterial::Alloc();
	mat->SetName("Steel");
	ASSERT_TRUE(mat->AddUniqueID(1234567890, "Tarnwick", 9));
	doc->InsertMaterial(mat);
	auto* texture = static_cast<TextureTag*>(mesh->MakeTag(Ttexture));
	texture->SetMaterial(mat);

	LayerObject* layer = LayerObject::Alloc();
	layer->SetName("Walls");
	doc->InsertLayer(layer, nullptr, nullptr);
	mesh->SetLayerObject(layer);

	// A parameter link inside the document survives; one into another document does not.
	BaseObject* deformer = Append(BaseObject::Alloc(Osplinedeformer));
	deformer->GetDataInstance()->SetLink(2000, spline);
	BaseDocument* other = standin::NewDocument();
	BaseObject* stranger = BaseObject::Alloc(Onull);
	other->InsertObject(stranger, nullptr, nullptr);
	deformer->GetDataInstance()->SetLink(2001, stranger);
	deformer->GetDataInstance()->SetFloat(7, 2.5);
	standin::SetActiveDocument(doc);

	const UInt64 rootGuid = root->GetGUID();
	const UInt64 meshGuid = mesh->GetGUID();
	const std::string before = standin::DescribeScene(doc);

	BaseDocument* loaded = SaveAndOpen();
	ASSERT_NE(loaded, nullptr);
	EXPECT_EQ(GetActiveDocument(), loaded);
	EXPECT_EQ(standin::DescribeScene(loaded), before);

	BaseObject* r = loaded->GetFirstObject();
	ASSERT_NE(r, nullptr);
	EXPECT_EQ(r->GetName().Get(), "Root");
	EXPECT_EQ(r->GetGUID(), rootGuid);
	EXPECT_TRUE(r->GetNBit(NBIT_ACTIVE));
	EXPECT_TRUE(r->GetNBit(NBIT_OM1_FOLD));
	EXPECT_EQ(r->GetMl(), ml);
	EXPECT_EQ(r->GetEditorMode(), 1);
	ASSERT_EQ(r->GetUniqueIDCount(), 1);

	auto* m = static_cast<PolygonObject*>(r->GetDown());
	ASSERT_NE(m, nullptr);
	ASSERT_EQ(m->GetType(), Opolygon);
	EXPECT_EQ(m->GetGUID(), meshGuid);
	ASSERT_EQ(m->GetPointCount(), 4);
	EXPECT_EQ(m->GetPointR()[2], Vector(1, 0, 1));
	EXPECT_EQ(m->GetPolygonR()[0], CPolygon(0, 1, 2, 3));
	EXPECT_TRUE(m->GetPolygonS()->IsSelected(0));
	EXPECT_EQ(m->GetEdgeS()->GetCount(), 2);
	auto* u = static_cast<UVWTag*>(m->GetTag(Tuvw));
	ASSERT_NE(u, nullptr);
	EXPECT_EQ(u->GetSlow(0).c, Vector(1, 1, 0));
	EXPECT_NE(m->GetTag(Tphong), nullptr);
	auto* t = static_cast<TextureTag*>(m->GetTag(Ttexture));
	ASSERT_NE(t, nullptr);
	ASSERT_NE(t->GetMaterial(), nullptr);
	EXPECT_EQ(t->GetMaterial(), loaded->GetFirstMaterial());
	EXPECT_EQ(t->GetMaterial()->GetName().Get(), "Steel");
	ASSERT_NE(m->GetLayerObject(), nullptr);
	EXPECT_EQ(m->GetLayerObject()->GetName().Get(), "Walls");

	Int32 appId = 0;
	const Char* bytes = nullptr;
	Int64 length = 0;
	ASSERT_TRUE(loaded->GetFirstMaterial()->GetUniqueIDIndex(0, &appId, &bytes, &length));
	EXPECT_EQ(appId, 1234567890);
	EXPECT_EQ(std::string(bytes, static_cast<size_t>(length)), std::string("Tarnwick", 9));

	auto* s = static_cast<SplineObject*>(m->GetNext());
	ASSERT_NE(s, nullptr);
	EXPECT_EQ(s->GetSplineType(), SPLINETYPE_CUBIC);
	EXPECT_EQ(s->GetPointR()[2], Vector(5, 5, 5));

	BaseObject* d = r->GetNext();
	ASSERT_NE(d, nullptr);
	EXPECT_EQ(d->GetDataInstance()->GetLink(2000, loaded), s);
	EXPECT_EQ(d->GetDataInstance()->GetLink(2001), nullptr);
	EXPECT_EQ(d->GetDataInstance()->GetFloat(7), 2.5);

	// Counter values of this run never repeat a restored unique-ID number (a material marker
	// from an earlier run), and objects made after the open never take a restored identity.
	EXPECT_GT(GeGetUniqueCounter(), 1234567890);
	BaseObject* fresh = BaseObject::Alloc(Onull);
	EXPECT_NE(fresh->GetGUID(), rootGuid);
	EXPECT_NE(fresh->GetGUID(), meshGuid);
	BaseObject::Free(fresh);
}

TEST_F(DocumentFileTest, WhateverIsSavedOpensAgainHoweverDeep)
{
	BaseObject* op = nullptr;
	for (int i = 0; i < 5000; ++i)
	{
		BaseObject* child = BaseObject::Alloc(Onull);
		doc->InsertObject(child, op, nullptr);
		op = child;
	}
	BaseDocument* loaded = SaveAndOpen();
	ASSERT_NE(loaded, nullptr);
	int depth = 0;
	for (BaseObject* o = loaded->GetFirstObject(); o; o = o->GetDown())
		++depth;
	EXPECT_EQ(depth, 5000);
}

TEST_F(DocumentFileTest, DamagedFilesOpenNothing)
{
	for (int i = 0; i < 3; ++i)
		Append(BaseObject::Alloc(Ocube));
	std::string error;
	ASSERT_TRUE(standin::SaveDocument(doc, path, &error)) << error;
	std::ifstream in(path, std::ios::binary);
	const std::string whole((std::istreambuf_iterator<char>(in)), {});
	in.close();
	for (size_t cut : {size_t(0), size_t(10), whole.size() / 2, whole.size() - 1})
	{
		std::ofstream(path, std::ios::binary | std::ios::trunc) << whole.substr(0, cut);
		ExpectRefused("cut short");
	}
	std::filesystem::remove(path);
	ExpectRefused("missing");

	// Another kind of hyper file is no document.
	WriteBody(Bytes{1, 0, 0, 0}, 0x74656d70);
	ExpectRefused("foreign ident");
}

TEST_F(DocumentFileTest, HostileBodiesAreRefusedBeforeTheyCostAnything)
{
	std::vector<std::uint8_t> emptyContainer;
	{
		// The encoding of an empty container, taken from a saved empty document's layout.
		standin::data::ByteWriter w(emptyContainer);
		w.U32(1); // encoding version
		w.I32(0); // id
		w.U32(0); // entries
	}
	auto start = [&](standin::data::ByteWriter& w) {
		w.U32(1);
		w.I32(Mmodel);
		w.U32(0);
		w.U64(0);
		w.U32(static_cast<std::uint32_t>(emptyContainer.size()));
		w.Bytes(emptyContainer.data(), emptyContainer.size());
		w.U32(0); // unique IDs
		w.U32(0); // layers
		w.U32(0); // materials
	};
	auto objectHead = [&](standin::data::ByteWriter& w, std::uint32_t depth, Int32 type) {
		w.U32(depth);
		w.I32(type);
		w.U32(0);
		w.U64(0);
		w.U32(static_cast<std::uint32_t>(emptyContainer.size()));
		w.Bytes(emptyContainer.data(), emptyContainer.size());
		w.U32(0);
		for (int i = 0; i < 12; ++i)
			w.F64(i % 4 == 0 ? 0.0 : 1.0);
		w.U64(42); // identity
		w.I32(2);
		w.I32(2);
		w.U64(0); // layer
	};

	{
		Bytes body;
		standin::data::ByteWriter w(body);
		start(w);
		w.U32(0xffffffffu); // four billion objects announced, none there
		WriteBody(body);
		ExpectRefused("object count");
	}
	{
		Bytes body;
		standin::data::ByteWriter w(body);
		start(w);
		w.U32(1);
		objectHead(w, 1, Onull); // a child without a parent
		w.U32(0);
		WriteBody(body);
		ExpectRefused("depth");
	}
	{
		Bytes body;
		standin::data::ByteWriter w(body);
		start(w);
		w.U32(1);
		objectHead(w, 0, Opolygon);
		w.U32(3);
		for (int i = 0; i < 9; ++i)
			w.F64(0.0);
		w.U32(1);
		for (Int32 corner : {0, 1, 2, 7}) // point 7 does not exist
			w.I32(corner);
		w.U32(0);
		w.U32(0);
		w.U32(0);
		w.U32(0);
		WriteBody(body);
		ExpectRefused("polygon corner");
	}
	{
		Bytes body;
		standin::data::ByteWriter w(body);
		start(w);
		w.U32(1);
		objectHead(w, 0, Onull);
		w.U32(1);
		w.I32(Ttexture);
		w.U32(0);
		w.U64(0);
		w.U32(static_cast<std::uint32_t>(emptyContainer.size()));
		w.Bytes(emptyContainer.data(), emptyContainer.size());
		w.U32(0);
		w.U64(99); // a material ref that names nothing
		WriteBody(body);
		ExpectRefused("material ref");
	}
	{
		Bytes body;
		standin::data::ByteWriter w(body);
		start(w);
		w.U32(1);
		objectHead(w, 0, Mmaterial); // not an object type
		w.U32(0);
		WriteBody(body);
		ExpectRefused("type");
	}
}

TEST_F(DocumentFileTest, FailedSaveLeavesTheOldFile)
{
	Append(BaseObject::Alloc(Onull))->SetName("Old");
	std::string error;
	ASSERT_TRUE(standin::SaveDocument(doc, path, &error));
	EXPECT_FALSE(standin::SaveDocument(doc, folder + "/missing/scene.doc", &error));
	EXPECT_FALSE(error.empty());
	size_t files = 0;
	for (const auto& entry : std::filesystem::directory_iterator(folder))
		files += entry.is_regular_file() ? 1 : 0;
	EXPECT_EQ(files, 1u);
	BaseDocument* loaded = standin::LoadDocument(path, &error);
	ASSERT_NE(loaded, nullptr) << error;
	EXPECT_EQ(loaded->GetFirstObject()->GetName().Get(), "Old");

	standin::CloseDocument(loaded);
	EXPECT_EQ(GetActiveDocument(), nullptr);
}

} // namespace
