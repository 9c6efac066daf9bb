// Documents: selection, materials, layers, modes, the undo log, events and the host's open
// documents with the scene services built on them.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "hostapi/api.h"
#include "standin/scene.h"

// Host-internal setter for an object's identity (the document reader uses it).
namespace scene
{
void SetObjectGuid(BaseObject* op, UInt64 guid);
}

namespace
{

class SceneDocument : public ::testing::Test
{
protected:
	void SetUp() override { doc = standin::NewDocument(); }
	void TearDown() override { standin::CloseAllDocuments(); }

	BaseObject* Add(const char* name, BaseObject* parent = nullptr, Int32 type = Onull)
	{
		BaseObject* op = BaseObject::Alloc(type);
		op->SetName(name);
		// Appends: after the last child of parent (or the last top-level object).
		BaseObject* last = parent ? parent->GetDown() : doc->GetFirstObject();
		while (last && last->GetNext())
			last = last->GetNext();
		doc->InsertObject(op, parent, last);
		return op;
	}

	std::vector<std::string> Selected() const
	{
		AtomArray* arr = AtomArray::Alloc();
		doc->GetActiveObjects(*arr);
		std::vector<std::string> names;
		for (Int32 i = 0; i < arr->GetCount(); ++i)
			names.push_back(static_cast<BaseList2D*>(arr->GetIndex(i))->GetName().Get());
		AtomArray::Free(arr);
		return names;
	}

	BaseDocument* doc = nullptr;
};

} // namespace

TEST_F(SceneDocument, ActiveObjectsInTreeOrderAndSelectionModes)
{
	BaseObject* a = Add("a");
	BaseObject* a1 = Add("a1", a);
	BaseObject* b = Add("b");
	BaseObject* a2 = Add("a2", a);

	doc->SetActiveObject(b, SELECTION_NEW);
	doc->SetActiveObject(a2, SELECTION_ADD);
	doc->SetActiveObject(a1, SELECTION_ADD);
	EXPECT_EQ(Selected(), (std::vector<std::string>{"a1", "a2", "b"}));
	EXPECT_EQ(doc->GetActiveObject(), a1); // made active last
	EXPECT_TRUE(a2->GetBit(2));

	doc->SetActiveObject(a1, SELECTION_SUB);
	EXPECT_EQ(Selected(), (std::vector<std::string>{"a2", "b"}));
	EXPECT_EQ(doc->GetActiveObject(), a2); // first selected in tree order

	doc->SetActiveObject(a, SELECTION_NEW);
	EXPECT_EQ(Selected(), (std::vector<std::string>{"a"}));
	doc->SetActiveObject(nullptr, SELECTION_NEW);
	EXPECT_TRUE(Selected().empty());
	EXPECT_EQ(doc->GetActiveObject(), nullptr);

	// An object of another document is not selected through this one.
	BaseObject* loose = BaseObject::Alloc(Onull);
	doc->SetActiveObject(loose, SELECTION_ADD);
	EXPECT_FALSE(loose->GetBit(2));
	BaseObject::Free(loose);
}

TEST_F(SceneDocument, MaterialsAndLayerTree)
{
	BaseMaterial* first = BaseMaterial::Alloc();
	first->SetName("first");
	BaseMaterial* second = BaseMaterial::Alloc();
	second->SetName("second");
	doc->InsertMaterial(second);
	doc->InsertMaterial(first); // first in the list
	BaseMaterial* third = BaseMaterial::Alloc();
	third->SetName("third");
	doc->InsertMaterial(third, second);
	EXPECT_EQ(doc->GetFirstMaterial(), first);
	EXPECT_EQ(first->GetNext(), second);
	EXPECT_EQ(second->GetNext(), third);
	EXPECT_TRUE(third->IsInstanceOf(Mbase));
	EXPECT_EQ(standin::FindMaterial(doc, "second"), second);
	EXPECT_EQ(standin::FindMaterial(doc, "none"), nullptr);

	LayerObject* top = LayerObject::Alloc();
	LayerObject* sub = LayerObject::Alloc();
	doc->InsertLayer(top, nullptr, nullptr);
	doc->InsertLayer(sub, top, nullptr);
	EXPECT_EQ(doc->GetFirstLayer(), top);
	EXPECT_EQ(top->GetDown(), sub);
	EXPECT_EQ(sub->GetUp(), top);
	EXPECT_EQ(sub->GetType(), Olayer);
	BaseObject* op = BaseObject::Alloc(Onull);
	doc->InsertLayer(op, nullptr, nullptr); // not a layer
	EXPECT_EQ(op->GetDocument(), nullptr);
	BaseObject::Free(op);
}

TEST_F(SceneDocument, ModesDefaultToModelAndRejectUnknownValues)
{
	EXPECT_EQ(doc->GetMode(), Mmodel);
	doc->SetMode(Medges);
	EXPECT_EQ(doc->GetMode(), Medges);
	doc->SetMode(99);
	EXPECT_EQ(doc->GetMode(), Medges);
}

TEST_F(SceneDocument, UndoRecordsInsideAndOutsideSteps)
{
	BaseObject* op = Add("op");
	// Applying a stored placement records changes without opening a step of its own.
	EXPECT_TRUE(doc->AddUndo(UNDOTYPE_CHANGE, op));
	EXPECT_FALSE(doc->EndUndo());
	ASSERT_TRUE(doc->StartUndo());
	EXPECT_TRUE(doc->AddUndo(UNDOTYPE_NEW, op));
	EXPECT_TRUE(doc->AddUndo(UNDOTYPE_CHANGE, op));
	EXPECT_FALSE(doc->AddUndo(UNDOTYPE_CHANGE, nullptr));
	EXPECT_TRUE(doc->EndUndo());
	ASSERT_EQ(standin::UndoRecordCount(doc), 3);
	Int32 type = 0;
	BaseList2D* element = nullptr;
	ASSERT_TRUE(standin::UndoRecord(doc, 2, &type, &element));
	EXPECT_EQ(type, UNDOTYPE_CHANGE);
	EXPECT_EQ(element, op);
	EXPECT_FALSE(standin::UndoRecord(doc, 3, &type, &element));

	// The record outlives its element; it then names none.
	BaseObject::Free(op);
	ASSERT_TRUE(standin::UndoRecord(doc, 1, &type, &element));
	EXPECT_EQ(type, UNDOTYPE_NEW);
	EXPECT_EQ(element, nullptr);
}

TEST_F(SceneDocument, EventsAndRedrawsAreCounted)
{
	const Int64 events = standin::EventCount();
	const Int64 draws = standin::DrawViewsCount();
	EventAdd();
	EventAdd();
	DrawViews(1282);
	EXPECT_EQ(standin::EventCount(), events + 2);
	EXPECT_EQ(standin::DrawViewsCount(), draws + 1);
	EXPECT_EQ(standin::LastDrawViewsFlags(), 1282);
}

TEST_F(SceneDocument, StructureCountMovesOnEveryChangeOfElementsOrIdentities)
{
	BaseObject* a = Add("A");
	BaseMaterial* mat = BaseMaterial::Alloc();
	doc->InsertMaterial(mat);
	UInt64 count = doc->GetStructureCount();
	auto moved = [&] {
		const UInt64 now = doc->GetStructureCount();
		const bool changed = now != count;
		count = now;
		return changed;
	};

	// What a plug-in derives from elements and identities stays valid through these.
	a->SetName("renamed");
	a->SetBit(2);
	a->GetDataInstance()->SetInt32(5, 1);
	a->Message(MSG_UPDATE);
	EXPECT_FALSE(moved());

	BaseObject* b = Add("B", a);
	EXPECT_TRUE(moved());
	b->Remove();
	EXPECT_TRUE(moved());
	doc->InsertObject(b, nullptr, a);
	EXPECT_TRUE(moved());
	BaseObject::Free(b);
	EXPECT_TRUE(moved());
	ASSERT_TRUE(mat->AddUniqueID(77, "mark", 5));
	EXPECT_TRUE(moved());
	scene::SetObjectGuid(a, a->GetGUID() + 1);
	EXPECT_TRUE(moved());
	BaseMaterial::Free(mat);
	EXPECT_TRUE(moved());
}

TEST_F(SceneDocument, OpenDocumentsAndTheActiveOne)
{
	EXPECT_EQ(GetActiveDocument(), doc);
	BaseDocument* second = standin::NewDocument();
	EXPECT_EQ(GetActiveDocument(), second);
	standin::SetActiveDocument(doc);
	EXPECT_EQ(GetActiveDocument(), doc);

	BaseDocument* loose = BaseDocument::Alloc();
	standin::SetActiveDocument(loose); // not open: ignored
	EXPECT_EQ(GetActiveDocument(), doc);
	BaseDocument::Free(loose);

	BaseDocument::Free(doc); // freeing the active document leaves none active
	EXPECT_EQ(GetActiveDocument(), nullptr);
	standin::SetActiveDocument(second);
	EXPECT_EQ(GetActiveDocument(), second);
	standin::CloseAllDocuments();
	EXPECT_EQ(GetActiveDocument(), nullptr);
}

TEST_F(SceneDocument, FindByPathTriesEverySiblingOfTheName)
{
	BaseObject* first = Add("group");
	Add("other", first);
	BaseObject* second = Add("group");
	BaseObject* target = Add("leaf", second);
	EXPECT_EQ(standin::FindObjectByPath(doc, "group/leaf"), target);
	EXPECT_EQ(standin::FindObjectByPath(doc, "group"), first);
	EXPECT_EQ(standin::FindObjectByPath(doc, "group/none"), nullptr);
	EXPECT_EQ(standin::FindObjectByPath(doc, "group//leaf"), nullptr);
	EXPECT_EQ(standin::FindObjectByPath(doc, ""), nullptr);
	EXPECT_EQ(standin::FindObjectByPath(nullptr, "group"), nullptr);
}

TEST_F(SceneDocument, DescriptionListsObjectsByDepthThenMaterials)
{
	std::string error;
	PolygonObject* cube = standin::MakePrimitive(Ocube, 100.0, 1, &error);
	ASSERT_NE(cube, nullptr) << error;
	doc->InsertObject(cube, nullptr, nullptr);
	BaseObject* child = Add("child", cube);
	Matrix m;
	m.off = Vector(10, -0.5, 1.0 / 3.0);
	child->SetMl(m);
	cube->MakeTag(Tphong);
	BaseMaterial* mat = BaseMaterial::Alloc();
	mat->SetName("Red");
	doc->InsertMaterial(mat);

	const std::string expected = "objects:\n"
		"  polygon \"Cube\" id=" + std::to_string(cube->GetGUID()) + " pos=(0, 0, 0) points=8 polygons=6 tags=phong\n"
		"    null \"child\" id=" + std::to_string(child->GetGUID()) + " pos=(10, -0.5, 0.333)\n"
		"materials:\n"
		"  material \"Red\"\n";
	EXPECT_EQ(standin::DescribeScene(doc), expected);
}
