// A polygon-splitting click on an object that changed since its edge line was built: the line's
// point indices no longer fit, so the click is refused and the object is left as it is.
#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <string>
#include <vector>

#include "Dtool.h"
#include "LoomSurface.h"
#include "ToolSettings.h"
#include "hostapi/input.h"
#include "hostapi/memory.h"
#include "hostapi/resource.h"
#include "standin/scene.h"
#include "standin/views.h"

namespace
{
class SplitTest : public ::testing::Test
{
protected:
	void SetUp() override
	{
		ASSERT_TRUE(g_resource.Init(Filename(TEST_SOURCE_DIR "/loomcast")));
		doc = standin::NewDocument();
		ASSERT_NE(doc, nullptr);
		doc->SetMode(Medges);
		std::string error;
		bd = standin::AddView(doc, Pperspective, &error);
		ASSERT_NE(bd, nullptr) << error;
		tool = NewObjTagged(LoomS, "test");
		ASSERT_NE(tool, nullptr);
		ASSERT_TRUE(tool->InitDefaultSettings(doc, settings));
		settings.SetInt32(LOOM_SURFACE_MODE, LOOM_MODE_POLYGON_SPLIT);

		// Three quads in a row along x: bottom points 0..3 (y = 0), top points 4..7 (y = 10);
		// the top border (sides 2 of the quads) becomes the edge line 4, 5, 6, 7.
		const Vector points[] = {{0, 0, 0}, {10, 0, 0}, {20, 0, 0}, {30, 0, 0}, {0, 10, 0}, {10, 10, 0}, {20, 10, 0}, {30, 10, 0}};
		const CPolygon polygons[] = {{0, 1, 5, 4}, {1, 2, 6, 5}, {2, 3, 7, 6}};
		op = PolygonObject::Alloc(8, 3);
		ASSERT_NE(op, nullptr);
		std::copy(std::begin(points), std::end(points), op->GetPointW());
		std::copy(std::begin(polygons), std::end(polygons), op->GetPolygonW());
		doc->InsertObject(op, nullptr, nullptr);
		for (const Int32 e : {2, 6, 10})
			op->GetEdgeS()->Select(e);
		ASSERT_TRUE(DTOOL().BuildEdgeLine(tool->GetEdgeLine(), op, Vector(0, 10, 0)));
		ASSERT_EQ(tool->GetEdgeLine().pointCount, 4);
		// Where a preview would have placed the line: 5 units further up.
		for (EdgeLineNode* n = tool->GetEdgeLine().head; n; n = n->next)
			n->target = n->base + Vector(0, 5, 0);
	}
	void TearDown() override
	{
		DeleteObj(tool);
		standin::CloseAllDocuments();
		g_resource.Free();
	}

	// A left click in the view with no keys held: the split that moves the line's points.
	bool Click()
	{
		BaseContainer msg;
		msg.SetFloat(BFM_INPUT_X, 320.0);
		msg.SetFloat(BFM_INPUT_Y, 240.0);
		msg.SetInt32(BFM_INPUT_CHANNEL, BFM_INPUT_MOUSELEFT);
		return tool->MouseDispatch(doc, settings, bd, nullptr, msg);
	}

	std::vector<Vector> Points() const { return std::vector<Vector>(op->GetPointR(), op->GetPointR() + op->GetPointCount()); }

	BaseDocument* doc = nullptr;
	BaseDraw* bd = nullptr;
	LoomS* tool = nullptr;
	BaseContainer settings;
	PolygonObject* op = nullptr;
};
} // namespace

TEST_F(SplitTest, TheLineFittingItsObjectMovesThePoints)
{
	ASSERT_TRUE(Click());
	EXPECT_EQ(op->GetPointR()[5], Vector(10, 15, 0));
	EXPECT_EQ(op->GetPointR()[1], Vector(10, 0, 0));
	EXPECT_TRUE(tool->GetEdgeLine().IsEmpty());
}

TEST_F(SplitTest, AnObjectWithFewerPointsThanTheLineNamesIsRefusedAndLeftAlone)
{
	// The user replaced the mesh by a single quad: points 4 to 7 no longer exist.
	ASSERT_TRUE(op->ResizeObject(4, 1));
	const Vector square[] = {{0, 0, 0}, {10, 0, 0}, {10, 10, 0}, {0, 10, 0}};
	std::copy(std::begin(square), std::end(square), op->GetPointW());
	op->GetPolygonW()[0] = CPolygon(0, 1, 2, 3);
	const std::vector<Vector> before = Points();

	EXPECT_FALSE(Click());
	EXPECT_EQ(op->GetPointCount(), 4);
	EXPECT_EQ(op->GetPolygonCount(), 1);
	EXPECT_EQ(Points(), before);
	// The stale line is dropped and the strokes reset.
	EXPECT_TRUE(tool->GetEdgeLine().IsEmpty());
	EXPECT_EQ(tool->GetStrokeCount(), 0);
}
