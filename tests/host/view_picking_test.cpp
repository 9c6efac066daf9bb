// Objects under a pixel: real ray casts against the polygon objects of a document.
#include <gtest/gtest.h>

#include "hostapi/picking.h"
#include "standin/memory.h"
#include "standin/scene.h"
#include "standin/views.h"

namespace
{
// A top view: a parallel camera 1000 above the origin looking straight down, one world unit per
// pixel, so pixel (320 + x, 240 - z) looks down onto world (x, z) at depth 1000 - y.
class PickTest : public ::testing::Test
{
protected:
	void SetUp() override
	{
		doc = standin::NewDocument();
		ASSERT_NE(doc, nullptr);
		std::string error;
		bd = standin::AddView(doc, 8, &error);
		ASSERT_NE(bd, nullptr) << error;
		Matrix down = HPBToMatrix(Vector(0.0, -PI / 2.0, 0.0), ROTATIONORDER_DEFAULT);
		down.off = Vector(0.0, 1000.0, 0.0);
		standin::SetCameraMatrix(bd, down);
		list = ObjectPickList::Alloc();
		ASSERT_NE(list, nullptr);
	}
	void TearDown() override
	{
		ObjectPickList::Free(list);
		standin::CloseAllDocuments();
	}

	// A 200 x 200 plane (normal +Y) at height y, inserted under parent (nullptr: top level).
	PolygonObject* AddPlane(const char* name, Float y, BaseObject* parent = nullptr)
	{
		std::string error;
		PolygonObject* op = standin::MakePrimitive(Oplane, 200.0, 1, &error);
		EXPECT_NE(op, nullptr) << error;
		op->SetName(name);
		doc->InsertObject(op, parent, nullptr);
		Matrix m;
		m.off = Vector(0.0, y, 0.0);
		op->SetMg(m);
		return op;
	}

	BaseDocument* doc = nullptr;
	BaseDraw* bd = nullptr;
	ObjectPickList* list = nullptr;
};

TEST_F(PickTest, ObjectsUnderThePixelComeNearestFirstWithTheirDepths)
{
	PolygonObject* low = AddPlane("Low", 0.0);
	PolygonObject* high = AddPlane("High", 250.0);
	ASSERT_TRUE(PickObjectsAtPixel(doc, bd, 330, 250, list, PICKOBJECT_DEPTH));
	ASSERT_EQ(list->GetCount(), 2);
	EXPECT_EQ(list->GetObject(0), high);
	EXPECT_NEAR(list->GetZ(0), 750.0, 1e-9);
	EXPECT_EQ(list->GetObject(1), low);
	EXPECT_NEAR(list->GetZ(1), 1000.0, 1e-9);
	// The depth puts the screen point back onto the surface that was hit.
	const Vector hit = bd->SW(Vector(330.0, 250.0, list->GetZ(0)));
	EXPECT_NEAR(hit.y, 250.0, 1e-9);
	EXPECT_NEAR(hit.x, 10.0, 1e-9);
	EXPECT_NEAR(hit.z, -10.0, 1e-9);
	EXPECT_EQ(list->GetObject(2), nullptr);
	EXPECT_EQ(list->GetZ(-1), 0.0);
}

TEST_F(PickTest, PerspectiveRaysFindMovedAndNestedObjects)
{
	standin::SetProjection(bd, 0);
	BaseObject* group = BaseObject::Alloc(Onull);
	ASSERT_NE(group, nullptr);
	doc->InsertObject(group, nullptr, nullptr);
	PolygonObject* child = AddPlane("Child", 0.0, group);
	Matrix shifted;
	shifted.off = Vector(500.0, 0.0, 0.0);
	child->SetMg(shifted);
	// Straight down hits nothing now; the plane lies 500 to the right, at focal length 640.
	ASSERT_TRUE(PickObjectsAtPixel(doc, bd, 320, 240, list, 0));
	EXPECT_EQ(list->GetCount(), 0);
	ASSERT_TRUE(PickObjectsAtPixel(doc, bd, 320 + 320, 240, list, 0));
	ASSERT_EQ(list->GetCount(), 1);
	EXPECT_EQ(list->GetObject(0), child);
	EXPECT_NEAR(list->GetZ(0), 1000.0, 1e-9);
}

TEST_F(PickTest, HiddenMissedAndBehindObjectsAreLeftOut)
{
	PolygonObject* hidden = AddPlane("Hidden", 100.0);
	hidden->SetEditorMode(1);
	AddPlane("Above", 2000.0); // behind the camera
	PolygonObject* ground = AddPlane("Ground", 0.0);
	ASSERT_TRUE(PickObjectsAtPixel(doc, bd, 320, 240, list, 0));
	ASSERT_EQ(list->GetCount(), 1);
	EXPECT_EQ(list->GetObject(0), ground);
	// Past the plane's edge (100 units out) nothing is hit.
	ASSERT_TRUE(PickObjectsAtPixel(doc, bd, 320 + 101, 240, list, 0));
	EXPECT_EQ(list->GetCount(), 0);
	ASSERT_TRUE(PickObjectsAtPixel(doc, bd, 320 + 99, 240, list, 0));
	EXPECT_EQ(list->GetCount(), 1);
}

TEST_F(PickTest, BrokenPolygonsAreSkippedNotRead)
{
	PolygonObject* op = PolygonObject::Alloc(3, 2);
	ASSERT_NE(op, nullptr);
	op->GetPointW()[0] = Vector(-50.0, 0.0, -50.0);
	op->GetPointW()[1] = Vector(50.0, 0.0, -50.0);
	op->GetPointW()[2] = Vector(0.0, 0.0, 50.0);
	op->GetPolygonW()[0] = CPolygon(0, 1, 7);      // index past the points
	op->GetPolygonW()[1] = CPolygon(0, 2, 1);
	doc->InsertObject(op, nullptr, nullptr);
	ASSERT_TRUE(PickObjectsAtPixel(doc, bd, 320, 240, list, 0));
	ASSERT_EQ(list->GetCount(), 1);
	EXPECT_NEAR(list->GetZ(0), 1000.0, 1e-9);
}

TEST(PickList, MissingArgumentsAndRefusedMemoryAreReported)
{
	BaseDocument* doc = standin::NewDocument();
	BaseDraw* bd = doc->GetActiveBaseDraw();
	ObjectPickList* list = ObjectPickList::Alloc();
	EXPECT_FALSE(PickObjectsAtPixel(nullptr, bd, 0, 0, list, 0));
	EXPECT_FALSE(PickObjectsAtPixel(doc, nullptr, 0, 0, list, 0));
	EXPECT_FALSE(PickObjectsAtPixel(doc, bd, 0, 0, nullptr, 0));
	ObjectPickList::Free(list);
	EXPECT_EQ(list, nullptr);
	standin::FailAllocationsAfter(0);
	EXPECT_EQ(ObjectPickList::Alloc(), nullptr);
	standin::FailAllocationsAfter(-1);
	standin::CloseAllDocuments();
}
} // namespace
