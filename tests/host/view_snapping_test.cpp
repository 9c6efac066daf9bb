// The work plane, snapping settings and modes, the snapping service, and the draw log.
#include <gtest/gtest.h>

#include "hostapi/snapping.h"
#include "standin/memory.h"
#include "standin/scene.h"
#include "front_view.h"
#include "standin/views.h"

namespace
{
class SnapTest : public ::testing::Test
{
protected:
	void SetUp() override
	{
		doc = standin::NewDocument();
		ASSERT_NE(doc, nullptr);
		std::string error;
		bd = AddFrontView(doc, &error);
		ASSERT_NE(bd, nullptr) << error;
		PolygonObject* op = PolygonObject::Alloc(3, 1);
		ASSERT_NE(op, nullptr);
		op->GetPointW()[0] = Vector(0.0, 0.0, 0.0);
		op->GetPointW()[1] = Vector(100.0, 0.0, 0.0);
		op->GetPointW()[2] = Vector(0.0, 100.0, 0.0);
		op->GetPolygonW()[0] = CPolygon(0, 1, 2);
		Matrix at;
		at.off = Vector(5.0, 0.0, 0.0);
		op->SetMg(at);
		doc->InsertObject(op, nullptr, nullptr);
		mesh = op;
		snap = SnapCore::Alloc();
		ASSERT_NE(snap, nullptr);
	}
	void TearDown() override
	{
		SnapCore::Free(snap);
		standin::CloseAllDocuments();
	}

	BaseDocument* doc = nullptr;
	BaseDraw* bd = nullptr;
	PolygonObject* mesh = nullptr;
	SnapCore* snap = nullptr;
};

TEST_F(SnapTest, WorkPlaneIsTheGroundPlaneOfEachDocument)
{
	BaseObject* plane = GetWorkplaneObject(doc);
	ASSERT_NE(plane, nullptr);
	EXPECT_EQ(plane, GetWorkplaneObject(doc));
	EXPECT_EQ(plane->GetMg(), Matrix());
	const Vector n = PlaneNormalOfFrame(plane->GetMg());
	EXPECT_EQ(n, Vector(0.0, 1.0, 0.0));
	EXPECT_EQ(GetWorkplaneObject(nullptr), nullptr);
	BaseDocument* other = standin::NewDocument();
	EXPECT_NE(GetWorkplaneObject(other), plane);
}

TEST_F(SnapTest, SettingsAndModesAreKeptPerDocumentAndSet)
{
	EXPECT_FALSE(IsSnapEnabled(doc, SNAPMODE_ALL));
	EnableSnap(true, doc, SNAPMODE_125);
	EXPECT_TRUE(IsSnapEnabled(doc, SNAPMODE_125));
	EXPECT_FALSE(IsSnapEnabled(doc, SNAPMODE_127));
	BaseContainer bc = GetSnapSettings(doc);
	EXPECT_EQ(bc.GetCount(), 0);
	bc.SetInt32(SNAP_SETTINGS_RADIUS, 4);
	SetSnapSettings(doc, bc);
	EXPECT_EQ(GetSnapSettings(doc, SNAPMODE_ALL).GetInt32(SNAP_SETTINGS_RADIUS), 4);
	EXPECT_EQ(GetSnapSettings(doc, 7).GetCount(), 0);
	BaseDocument* other = standin::NewDocument();
	EXPECT_FALSE(IsSnapEnabled(other, SNAPMODE_125));
}

TEST_F(SnapTest, SnapsToTheNearestPointWithinTheRadiusOnlyWhileEnabled)
{
	ASSERT_TRUE(snap->Init(doc, bd));
	SnapResult res;
	const Vector probe(9.0, 3.0, 0.0); // 4 and 3 pixels from the point at (5, 0, 0)
	EXPECT_FALSE(snap->Snap(probe, res)); // snapping off
	EnableSnap(true, doc, SNAPMODE_ALL);
	EXPECT_FALSE(snap->Snap(probe, res)); // no snap mode on
	EnableSnap(true, doc, SNAPMODE_127);
	ASSERT_TRUE(snap->Snap(probe, res));
	EXPECT_EQ(res.delta, Vector(-4.0, -3.0, 0.0));
	EXPECT_EQ(res.target, mesh);
	EXPECT_EQ(res.component, 0);
	EXPECT_EQ(res.snapmode, SNAPMODE_127);

	BaseContainer bc;
	bc.SetInt32(SNAP_SETTINGS_RADIUS, 4); // 5 pixels away is now too far
	SetSnapSettings(doc, bc);
	EXPECT_FALSE(snap->Snap(probe, res));
	bc.SetInt32(SNAP_SETTINGS_RADIUS, 5);
	SetSnapSettings(doc, bc);
	EXPECT_TRUE(snap->Snap(probe, res));
}

TEST_F(SnapTest, ServiceNeedsADocumentAndAView)
{
	SnapResult res;
	EXPECT_FALSE(snap->Snap(Vector(), res));
	EXPECT_FALSE(snap->Init(nullptr, bd));
	EXPECT_FALSE(snap->Init(doc, nullptr));
	standin::FailAllocationsAfter(0);
	EXPECT_EQ(SnapCore::Alloc(), nullptr);
	standin::FailAllocationsAfter(-1);
}

TEST_F(SnapTest, DrawingIsRecordedInOrder)
{
	standin::ClearDrawLog(bd);
	EXPECT_EQ(bd->GetDrawParam(1000).GetType(), DA_NIL);
	bd->SetDrawParam(1000, GeData(1.0));
	bd->SetPen(Vector(1.0, 0.5, 0.0));
	bd->DrawLine(Vector(), Vector(1.0, 2.0, 3.0), 0);
	bd->DrawHandle(Vector(4.0, 5.0, 6.0), DRAWHANDLE_BIG, 1);
	bd->DrawCircle2D(10, 20, 7.5);
	bd->DrawHUDText(3, 4, "S1");
	BaseDrawHelp* bh = standin::AllocDrawHelp(bd, mesh);
	ASSERT_NE(bh, nullptr);
	EXPECT_EQ(bh->GetMg(), mesh->GetMg());
	EXPECT_EQ(bh->GetBd(), bd);
	EXPECT_EQ(bd->DrawPolygonObject(bh, mesh, 0x6a02, Vector(0.0, 1.0, 0.0)), DRAWRESULT_OK);
	EXPECT_EQ(bd->DrawPolygonObject(bh, nullptr, 0, Vector()), DRAWRESULT_ERROR);
	standin::FreeDrawHelp(bh);
	EXPECT_EQ(bd->GetDrawParam(1000).GetFloat(), 1.0);

	const auto log = standin::DrawLog(bd);
	ASSERT_EQ(log.size(), 7u);
	std::vector<std::string> lines;
	for (const auto& r : log)
		lines.push_back(standin::DescribeDrawRecord(r));
	EXPECT_EQ(lines[0], "param 1000 = 1");
	EXPECT_EQ(lines[1], "pen (1;0.5;0)");
	EXPECT_EQ(lines[2], "line (0;0;0) (1;2;3) flags 0");
	EXPECT_EQ(lines[3], "handle (4;5;6) kind 3 flags 1");
	EXPECT_EQ(lines[4], "circle 10 20 radius 7.5");
	EXPECT_EQ(lines[5], "text 3 4 \"S1\"");
	const auto* drawing = std::get_if<standin::ObjectDrawing>(&log[6]);
	ASSERT_TRUE(drawing && *drawing);
	const standin::ObjectRecord* object = drawing->get();
	EXPECT_EQ(object->flags, 0x6a02);
	EXPECT_EQ(object->polygons.size(), 1u);
	EXPECT_EQ(object->points.size(), static_cast<size_t>(mesh->GetPointCount()));
	standin::ClearDrawLog(bd);
	EXPECT_TRUE(standin::DrawLog(bd).empty());
}
} // namespace
