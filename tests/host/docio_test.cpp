// Whole documents on disk: what a save holds comes back on open, and damaged or hostile files open
// nothing.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <limits>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "data/bytes.h"
#include "docio_fixture.h"
#include "file/hyperfile_format.h"
#include "hostapi/document.h"
#include "hostapi/modeling.h"
#include "standin/console.h"
#include "standin/documents.h"
#include "standin/scene.h"

namespace
{

using docio_testing::Bytes;
using docio_testing::DocumentFileTest;

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

// The writer refuses such numbers (docio_save_test.cpp), so these files are made by patching a
// saved one: each odd value stands where a file made elsewhere could hold a NaN or infinity.
TEST_F(DocumentFileTest, NumbersThatAreNotFiniteAreRefused)
{
	const Float nan = std::numeric_limits<Float>::quiet_NaN();
	const Float inf = std::numeric_limits<Float>::infinity();
	BaseObject* null = Append(BaseObject::Alloc(Onull));
	null->SetMl(Matrix(Vector(1.0625, 0, 0), Vector(1, 0, 0), Vector(0, 1, 0), Vector(0, 0, 1)));
	SaveAndPatch([&](Bytes& payload) { ReplaceF64(payload, 1.0625, nan); });
	ExpectRefused("NaN matrix", "not finite");
	null->SetMl(Matrix());

	PolygonObject* mesh = PolygonObject::Alloc(3, 1);
	Append(mesh);
	mesh->GetPolygonW()[0] = CPolygon(0, 1, 2);
	mesh->GetPointW()[1] = Vector(0, 3.0625, 0);
	SaveAndPatch([&](Bytes& payload) { ReplaceF64(payload, 3.0625, inf); });
	ExpectRefused("infinite point", "point 1 is not a finite number");
	mesh->GetPointW()[1] = Vector(1, 0, 0);

	auto* uvw = static_cast<UVWTag*>(mesh->MakeTag(Tuvw));
	uvw->SetSlow(0, UVWStruct{Vector(), Vector(5.0625, 0, 0), Vector(), Vector()});
	SaveAndPatch([&](Bytes& payload) { ReplaceF64(payload, 5.0625, nan); });
	ExpectRefused("NaN texture coordinate", "UVW record 0");
	uvw->SetSlow(0, UVWStruct{});

	// Each matrix is finite, but the child's world matrix is not.
	null->SetMl(Matrix(Vector(), Vector(7.0625, 0, 0), Vector(0, 1, 0), Vector(0, 0, 1)));
	BaseObject* child = Append(BaseObject::Alloc(Onull), null);
	child->SetName("Child");
	child->SetMl(Matrix(Vector(), Vector(9.0625, 0, 0), Vector(0, 1, 0), Vector(0, 0, 1)));
	SaveAndPatch([&](Bytes& payload) {
		ReplaceF64(payload, 7.0625, 1e200);
		ReplaceF64(payload, 9.0625, 1e200);
	});
	ExpectRefused("overflowing world matrix", "world matrix of object 'Child' overflows");

	child->SetMl(Matrix());
	BaseDocument* loaded = SaveAndOpen();
	ASSERT_NE(loaded, nullptr);
}

TEST_F(DocumentFileTest, RepeatedIdentitiesAndNamesAreRepairedAndSaid)
{
	BaseObject* a = Append(BaseObject::Alloc(Onull));
	a->SetName("A");
	BaseObject* b = Append(BaseObject::Alloc(Onull));
	b->SetName("B");
	BaseObject* c = Append(BaseObject::Alloc(Onull));
	c->SetName("C");
	const UInt64 first = a->GetGUID();
	const UInt64 third = c->GetGUID();
	SaveAndPatch([&](Bytes& payload) {
		ReplaceU64(payload, b->GetGUID(), first);
		ReplaceU64(payload, third, ~UInt64{0}); // would make the identity counter wrap
	});
	standin::ClearConsole();
	std::string error;
	BaseDocument* loaded = standin::LoadDocument(path, &error);
	ASSERT_NE(loaded, nullptr) << error;
	BaseObject* la = loaded->GetFirstObject();
	BaseObject* lb = la->GetNext();
	BaseObject* lc = lb->GetNext();
	EXPECT_EQ(la->GetGUID(), first); // the first keeps it
	EXPECT_NE(lb->GetGUID(), first);
	EXPECT_NE(lc->GetGUID(), ~UInt64{0});
	EXPECT_NE(lb->GetGUID(), lc->GetGUID());
	EXPECT_TRUE(standin::ConsoleContains("2 object(s) given a new identity")) << standin::DescribeScene(loaded);
	BaseObject* fresh = BaseObject::Alloc(Onull);
	EXPECT_NE(fresh->GetGUID(), lb->GetGUID());
	EXPECT_NE(fresh->GetGUID(), lc->GetGUID());
	BaseObject::Free(fresh);

	// Sibling names the verbs could never make: the same twice, empty, with a path separator.
	// Children of different parents may share a name.
	standin::CloseDocument(loaded);
	standin::SetActiveDocument(doc);
	a->SetName("Same");
	b->SetName("Same");
	c->SetName("");
	Append(BaseObject::Alloc(Onull))->SetName("x/y");
	Append(BaseObject::Alloc(Onull), a)->SetName("Kid");
	Append(BaseObject::Alloc(Onull), b)->SetName("Kid");
	Append(BaseObject::Alloc(Onull), b)->SetName("Kid");
	Append(BaseObject::Alloc(Onull))->SetName("Same");
	standin::ClearConsole();
	loaded = SaveAndOpen();
	ASSERT_NE(loaded, nullptr);
	std::vector<std::string> top;
	for (BaseObject* op = loaded->GetFirstObject(); op; op = op->GetNext())
		top.push_back(op->GetName().Get());
	EXPECT_EQ(top, (std::vector<std::string>{"Same", "Same 2", "Null", "x_y", "Same 3"}));
	EXPECT_EQ(loaded->GetFirstObject()->GetDown()->GetName().Get(), "Kid");
	BaseObject* second = loaded->GetFirstObject()->GetNext();
	EXPECT_EQ(second->GetDown()->GetName().Get(), "Kid");
	EXPECT_EQ(second->GetDown()->GetNext()->GetName().Get(), "Kid 2");
	EXPECT_NE(standin::FindObjectByPath(loaded, "Same 2/Kid 2"), nullptr);
	EXPECT_TRUE(standin::ConsoleContains("5 object(s) renamed")) << standin::DescribeScene(loaded);

	// Materials are found by name too: ones named alike or not at all open under names of their
	// own ('/' is fine in a material name), and a texture keeps the material it had.
	standin::CloseDocument(loaded);
	standin::SetActiveDocument(doc);
	std::vector<BaseMaterial*> mats;
	for (const char* name : {"Alpha", "Alpha", "", "a/b", "Mat"})
	{
		BaseMaterial* mat = BaseMaterial::Alloc();
		mat->SetName(name);
		doc->InsertMaterial(mat, mats.empty() ? nullptr : mats.back());
		mats.push_back(mat);
	}
	static_cast<TextureTag*>(a->MakeTag(Ttexture))->SetMaterial(mats[1]);
	standin::ClearConsole();
	loaded = SaveAndOpen();
	ASSERT_NE(loaded, nullptr);
	std::vector<std::string> materials;
	for (BaseMaterial* mat = loaded->GetFirstMaterial(); mat; mat = mat->GetNext())
		materials.push_back(mat->GetName().Get());
	EXPECT_EQ(materials, (std::vector<std::string>{"Alpha", "Alpha 2", "Mat", "a/b", "Mat 2"}));
	const auto* texture = static_cast<TextureTag*>(loaded->GetFirstObject()->GetTag(Ttexture));
	ASSERT_NE(texture, nullptr);
	ASSERT_NE(texture->GetMaterial(), nullptr);
	EXPECT_EQ(texture->GetMaterial()->GetName().Get(), "Alpha 2");
	EXPECT_TRUE(standin::ConsoleContains("3 material(s) renamed")) << standin::DescribeScene(loaded);
	EXPECT_TRUE(standin::ConsoleContains("'Alpha' became 'Alpha 2'"));
}

TEST_F(DocumentFileTest, TexturesFitThePolygonsUnknownTagsAreLeftOutAndUnknownObjectsRefused)
{
	PolygonObject* mesh = PolygonObject::Alloc(4, 2);
	Append(mesh);
	mesh->GetPolygonW()[0] = CPolygon(0, 1, 2);
	mesh->GetPolygonW()[1] = CPolygon(0, 2, 3);
	UVWTag* uvw = UVWTag::Alloc(5); // more records than polygons
	uvw->SetSlow(1, UVWStruct{Vector(1, 2, 0), Vector(), Vector(), Vector()});
	mesh->InsertTag(uvw, nullptr);
	BaseObject* null = Append(BaseObject::Alloc(Onull));
	null->InsertTag(UVWTag::Alloc(3), nullptr); // no polygons at all
	standin::ClearConsole();
	BaseDocument* loaded = SaveAndOpen();
	ASSERT_NE(loaded, nullptr);
	auto* m = static_cast<PolygonObject*>(loaded->GetFirstObject());
	auto* fitted = static_cast<UVWTag*>(m->GetTag(Tuvw));
	ASSERT_NE(fitted, nullptr);
	EXPECT_EQ(fitted->GetDataCount(), 2);
	EXPECT_EQ(fitted->GetSlow(1).a, Vector(1, 2, 0));
	EXPECT_EQ(static_cast<UVWTag*>(m->GetNext()->GetTag(Tuvw))->GetDataCount(), 0);
	EXPECT_TRUE(standin::ConsoleContains("2 UVW tag(s) fitted"));

	// Fewer records than polygons: padded with zeros.
	standin::CloseDocument(loaded);
	standin::SetActiveDocument(doc);
	mesh->KillTag(Tuvw, 0);
	mesh->InsertTag(UVWTag::Alloc(1), nullptr);
	loaded = SaveAndOpen();
	ASSERT_NE(loaded, nullptr);
	EXPECT_EQ(static_cast<UVWTag*>(loaded->GetFirstObject()->GetTag(Tuvw))->GetDataCount(), 2);

	// A tag of a plug-in that is not loaded is left out and the console says so; the rest opens,
	// and refs after it (a texture's material, a parameter link) still name the right elements.
	standin::CloseDocument(loaded);
	standin::SetActiveDocument(doc);
	BaseMaterial* steel = BaseMaterial::Alloc();
	steel->SetName("Steel");
	doc->InsertMaterial(steel);
	BaseTag* stranger = BaseTag::Alloc(1999999);
	ASSERT_NE(stranger, nullptr);
	stranger->GetDataInstance()->SetString(1, "what its plug-in keeps");
	ASSERT_TRUE(stranger->AddUniqueID(77, "id", 2));
	null->InsertTag(stranger, nullptr);
	static_cast<TextureTag*>(null->MakeTag(Ttexture))->SetMaterial(steel);
	BaseObject* after = Append(BaseObject::Alloc(Onull));
	after->SetName("After");
	null->GetDataInstance()->SetLink(1000, after);
	null->GetDataInstance()->SetLink(1001, stranger);
	standin::ClearConsole();
	loaded = SaveAndOpen();
	ASSERT_NE(loaded, nullptr);
	BaseObject* n = loaded->GetFirstObject()->GetNext();
	ASSERT_NE(n, nullptr);
	EXPECT_EQ(n->GetTag(1999999), nullptr);
	EXPECT_NE(n->GetTag(Tuvw), nullptr);
	const auto* texture = static_cast<TextureTag*>(n->GetTag(Ttexture));
	ASSERT_NE(texture, nullptr);
	ASSERT_NE(texture->GetMaterial(), nullptr);
	EXPECT_EQ(texture->GetMaterial()->GetName().Get(), "Steel");
	ASSERT_NE(n->GetNext(), nullptr);
	EXPECT_EQ(n->GetDataInstance()->GetLink(1000, loaded), n->GetNext());
	EXPECT_EQ(n->GetNext()->GetName().Get(), "After");
	EXPECT_EQ(n->GetDataInstance()->GetLink(1001, loaded), nullptr);
	EXPECT_TRUE(standin::ConsoleContains("1 tag(s) of unknown type left out (type 1999999")) << standin::DescribeScene(loaded);
	standin::CloseDocument(loaded);
	standin::SetActiveDocument(doc);

	// Objects of kinds the host does not make cannot be made, so they are not saved either;
	// a file that holds one is refused.
	EXPECT_EQ(BaseObject::Alloc(1999999), nullptr);
	BaseTag::Free(stranger);
	BaseObject* plain = Append(BaseObject::Alloc(Onull));
	SaveAndPatch([&](Bytes& payload) {
		// The last object's head: depth 0, type, a name of 4 bytes.
		const std::uint8_t head[] = {0, 0, 0, 0, Onull & 0xff, (Onull >> 8) & 0xff, 0, 0, 4, 0, 0, 0, 'N', 'u', 'l', 'l'};
		size_t at = 0;
		for (size_t i = 0; i + sizeof head <= payload.size(); ++i)
			if (std::memcmp(&payload[i], head, sizeof head) == 0)
				at = i;
		ASSERT_NE(at, 0u);
		payload[at + 4] = 0x7f; // 5140 becomes 5247
	});
	(void)plain;
	ExpectRefused("unknown object type", "object type 5247 is not known");

	// The editing mode follows the record head (kind, length) and the version.
	SaveAndPatch([](Bytes& payload) { payload[12] = 99; });
	ExpectRefused("unknown editing mode", "unknown editing mode 99");
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

TEST_F(DocumentFileTest, SplineCurvesAreKeptAndFilesWithoutThemStillOpen)
{
	// A spline of two curves, from a join.
	AtomArray* arr = AtomArray::Alloc();
	AtomArray* result = AtomArray::Alloc();
	BaseObject* parts[2] = {SplineObject::Alloc(2, SPLINETYPE_BSPLINE), SplineObject::Alloc(2, SPLINETYPE_BSPLINE)};
	static_cast<SplineObject*>(parts[0])->GetPointW()[1] = Vector(1, 0, 0);
	static_cast<SplineObject*>(parts[1])->GetPointW()[0] = Vector(5, 0, 0);
	static_cast<SplineObject*>(parts[1])->GetPointW()[1] = Vector(5, 3, 0);
	arr->Append(parts[0]);
	arr->Append(parts[1]);
	ModelingCommandData cd;
	cd.arr = arr;
	cd.result = result;
	ASSERT_TRUE(SendModelingCommand(MCOMMAND_JOIN, cd));
	auto* joined = static_cast<SplineObject*>(result->GetIndex(0));
	Append(joined);
	for (BaseObject* p : parts)
		BaseObject::Free(p);
	AtomArray::Free(arr);
	AtomArray::Free(result);

	BaseDocument* loaded = SaveAndOpen();
	ASSERT_NE(loaded, nullptr);
	auto* back = static_cast<SplineObject*>(loaded->GetFirstObject());
	ASSERT_NE(back, nullptr);
	EXPECT_DOUBLE_EQ(back->GetLength(), 4.0) << "two curves, not one line through the gap";
	EXPECT_NE(standin::DescribeScene(loaded).find("curves=2"), std::string::npos);
	standin::SetActiveDocument(doc);

	// A curve table that does not add up to the points is refused.
	SaveAndPatch([](Bytes& payload) {
		// The body ends with the two curve counts (2, 2) and the tag count (0).
		std::uint8_t* last = payload.data() + payload.size() - 8;
		ASSERT_EQ(last[0], 2);
		last[0] = 3;
	});
	ExpectRefused("curve table", "curves hold");

	// A file of the first version has no curve table: its splines are one curve each.
	ASSERT_TRUE(joined->ResizeObject(2));
	std::string error;
	ASSERT_TRUE(standin::SaveDocument(doc, path, &error)) << error;
	Int32 ident = 0;
	Bytes payload;
	ASSERT_TRUE(standin::file::LoadHyperFile(path, &ident, &payload, &error)) << error;
	size_t pos = 0;
	std::uint32_t kind = 0;
	const std::uint8_t* body = nullptr;
	size_t length = 0;
	ASSERT_TRUE(standin::file::NextRecord(payload, &pos, &kind, &body, &length, &error)) << error;
	Bytes old(body, body + length);
	ASSERT_EQ(old[0], 2);
	old[0] = 1;
	// Drop the empty curve table, the four bytes before the tag count.
	old.erase(old.end() - 8, old.end() - 4);
	WriteBody(old);
	BaseDocument* first = standin::LoadDocument(path, &error);
	ASSERT_NE(first, nullptr) << error;
	EXPECT_DOUBLE_EQ(static_cast<SplineObject*>(first->GetFirstObject())->GetLength(), 1.0);
}
