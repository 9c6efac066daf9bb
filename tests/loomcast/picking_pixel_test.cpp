// The pixel tests of the stroke tool's picking services, the objects under the mouse, and the
// selected edge points under it.
#include <gtest/gtest.h>

#include <cmath>

#include "Dtool.h"
#include "ToolSettings.h"
#include "hostapi/picking.h"
#include "standin/memory.h"
#include "standin/scene.h"
#include "front_view.h"
#include "standin/views.h"

namespace
{
// A parallel view along +Z, one unit per pixel: world (x, y, z) is seen at pixel (320 + x, 240 - y)
// at depth z + 1000.
class PixelTest : public ::testing::Test
{
protected:
	void SetUp() override
	{
		doc = standin::NewDocument();
		ASSERT_NE(doc, nullptr);
		std::string error;
		bd = AddFrontView(doc, &error);
		ASSERT_NE(bd, nullptr) << error;
	}
	void TearDown() override { standin::CloseAllDocuments(); }

	// The world point at the centre of pixel (x, y).
	Vector AtPixel(Int32 x, Int32 y, Float depth = 1000.0) const { return bd->SW(Vector(x, y, depth)); }

	// A quad of the given half size facing the camera, centred at (cx, cy, z).
	PolygonObject* AddQuad(const char* name, Float cx, Float cy, Float z, Float half = 50.0)
	{
		PolygonObject* op = PolygonObject::Alloc(4, 1);
		EXPECT_NE(op, nullptr);
		op->GetPointW()[0] = Vector(cx - half, cy - half, z);
		op->GetPointW()[1] = Vector(cx + half, cy - half, z);
		op->GetPointW()[2] = Vector(cx + half, cy + half, z);
		op->GetPointW()[3] = Vector(cx - half, cy + half, z);
		op->GetPolygonW()[0] = CPolygon(0, 1, 2, 3);
		op->SetName(name);
		doc->InsertObject(op, nullptr, nullptr);
		return op;
	}

	DTOOL tool;
	BaseDocument* doc = nullptr;
	BaseDraw* bd = nullptr;
};

TEST_F(PixelTest, PointNearPixelTriesTheCrossAndTheDiagonalsOnly)
{
	const Float x = 100.0, y = 100.0;
	EXPECT_TRUE(tool.PointNearPixel(bd, AtPixel(100, 100), x, y));
	EXPECT_TRUE(tool.PointNearPixel(bd, AtPixel(97, 100), x, y));  // three left
	EXPECT_TRUE(tool.PointNearPixel(bd, AtPixel(100, 103), x, y)); // three down
	EXPECT_TRUE(tool.PointNearPixel(bd, AtPixel(98, 98), x, y));   // (-2, -2)
	EXPECT_TRUE(tool.PointNearPixel(bd, AtPixel(103, 97), x, y));  // (3, -3)
	EXPECT_FALSE(tool.PointNearPixel(bd, AtPixel(98, 99), x, y));  // (-2, -1)
	EXPECT_FALSE(tool.PointNearPixel(bd, AtPixel(96, 100), x, y)); // four left
	EXPECT_FALSE(tool.PointNearPixel(bd, AtPixel(100, 100, -5.0), x, y)); // behind the camera
	// Mouse positions are truncated to the pixel they lie in.
	EXPECT_TRUE(tool.PointNearPixel(bd, AtPixel(97, 100), 100.9, 100.7));
	EXPECT_FALSE(tool.PointNearPixel(nullptr, AtPixel(100, 100), x, y));
}

TEST_F(PixelTest, PointNearCrossReachesTheRadiusMinusOne)
{
	BaseContainer settings;
	settings.SetInt32(LOOM_RADIUS, 1);
	EXPECT_TRUE(tool.PointNearCross(settings, bd, AtPixel(100, 100), 100.0, 100.0));
	EXPECT_FALSE(tool.PointNearCross(settings, bd, AtPixel(101, 100), 100.0, 100.0));
	EXPECT_FALSE(tool.PointNearCross(settings, bd, AtPixel(99, 99), 100.0, 100.0));

	settings.SetInt32(LOOM_RADIUS, 4);
	EXPECT_TRUE(tool.PointNearCross(settings, bd, AtPixel(103, 100), 100.0, 100.0));
	EXPECT_TRUE(tool.PointNearCross(settings, bd, AtPixel(100, 97), 100.0, 100.0));
	EXPECT_TRUE(tool.PointNearCross(settings, bd, AtPixel(97, 97), 100.0, 100.0));
	EXPECT_TRUE(tool.PointNearCross(settings, bd, AtPixel(103, 103), 100.0, 100.0));
	EXPECT_FALSE(tool.PointNearCross(settings, bd, AtPixel(104, 100), 100.0, 100.0));
	// Only the main diagonal: (+3, -3) is not on it.
	EXPECT_FALSE(tool.PointNearCross(settings, bd, AtPixel(103, 97), 100.0, 100.0));

	settings.SetInt32(LOOM_RADIUS, 0);
	EXPECT_FALSE(tool.PointNearCross(settings, bd, AtPixel(100, 100), 100.0, 100.0));
	settings.SetInt32(LOOM_RADIUS, 0x7fffffff); // bounded, answers
	EXPECT_TRUE(tool.PointNearCross(settings, bd, AtPixel(100, 100), 100.0, 100.0));
}

TEST_F(PixelTest, HostileMousePositionsAreClampedNotOverflowed)
{
	EXPECT_FALSE(tool.PointNearPixel(bd, AtPixel(100, 100), 1e300, -1e300));
	EXPECT_FALSE(tool.PointNearPixel(bd, AtPixel(100, 100), std::nan(""), 100.0));
	BaseContainer settings;
	EXPECT_FALSE(tool.PointNearCross(settings, bd, AtPixel(100, 100), 3e9, 3e9));
	EXPECT_EQ(tool.ObjectUnderCursor(doc, bd, 1e300, 1e300, nullptr, nullptr), nullptr);
}

TEST_F(PixelTest, ObjectsUnderTheMouseHonourOrderExclusionAndDefaults)
{
	PolygonObject* back = AddQuad("Back", 0.0, 0.0, 200.0);
	PolygonObject* front = AddQuad("Front", 0.0, 0.0, -100.0);
	Float depth = -1.0;
	EXPECT_EQ(tool.ObjectUnderCursor(doc, bd, 320.0, 240.0, nullptr, &depth), front);
	EXPECT_NEAR(depth, 900.0, 1e-9);
	EXPECT_EQ(tool.ObjectUnderCursor(doc, bd, 320.0, 240.0, front, &depth), back);
	EXPECT_NEAR(depth, 1200.0, 1e-9);
	depth = -1.0;
	EXPECT_EQ(tool.ObjectUnderCursor(doc, bd, 0.0, 0.0, nullptr, &depth), nullptr);
	EXPECT_EQ(depth, -1.0);

	EXPECT_TRUE(tool.IsObjectUnderCursor(doc, bd, 320.0, 240.0, back));
	EXPECT_FALSE(tool.IsObjectUnderCursor(doc, bd, 0.0, 0.0, back));
	EXPECT_NEAR(tool.DepthUnderCursor(doc, bd, 320.0, 240.0, 7.0), 900.0, 1e-9);
	EXPECT_EQ(tool.DepthUnderCursor(doc, bd, 0.0, 0.0, 7.0), 7.0);

	// Without the host's object list: depth 0, no object.
	standin::FailAllocationsAfter(0);
	EXPECT_EQ(tool.DepthUnderCursor(doc, bd, 320.0, 240.0, 7.0), 0.0);
	standin::FailAllocationsAfter(0);
	EXPECT_EQ(tool.ObjectUnderCursor(doc, bd, 320.0, 240.0, nullptr, &depth), nullptr);
	standin::FailAllocationsAfter(-1);
}

TEST_F(PixelTest, SelectedEdgePointUnderCursorFindsTheFirstAcceptedEdgePoint)
{
	PolygonObject* quad = AddQuad("Quad", 0.0, 0.0, 0.0); // corners at pixels (270,290) (370,290) (370,190) (270,190)
	BaseSelect* sel = quad->GetEdgeS();
	sel->Select(1); // b-c: (370, 290) - (370, 190)
	BaseContainer settings;
	settings.SetInt32(LOOM_RADIUS, 10);
	Vector pos;
	Int32 found = 0;
	ASSERT_TRUE(tool.SelectedEdgePointUnderCursor(doc, bd, quad, settings, 368.0, 192.0, true, &pos, &found));
	EXPECT_EQ(found, 1);
	EXPECT_EQ(pos, Vector(50.0, 50.0, 0.0));
	// A point of an unselected edge is not found.
	found = 0;
	EXPECT_FALSE(tool.SelectedEdgePointUnderCursor(doc, bd, quad, settings, 270.0, 190.0, true, &pos, &found));
	EXPECT_EQ(found, 0);
	// The coarse test needs the object under the mouse, then searches the cross of radius 10.
	ASSERT_TRUE(tool.SelectedEdgePointUnderCursor(doc, bd, quad, settings, 363.0, 283.0, false, &pos, &found));
	EXPECT_EQ(pos, Vector(50.0, -50.0, 0.0));
	EXPECT_FALSE(tool.SelectedEdgePointUnderCursor(doc, bd, quad, settings, 375.0, 290.0, false, &pos, &found));
	// Selected numbers past the polygons are ignored.
	sel->DeselectAll();
	sel->Select(400);
	EXPECT_FALSE(tool.SelectedEdgePointUnderCursor(doc, bd, quad, settings, 370.0, 290.0, true, &pos, &found));
}
} // namespace
