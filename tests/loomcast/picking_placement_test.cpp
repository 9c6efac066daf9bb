// Where the stroke tool puts points: stroke depth, work plane, direction snapping, axis locks,
// and the snapping set-up.
#include <gtest/gtest.h>

#include <cmath>

#include "Dtool.h"
#include "ToolSettings.h"
#include "hostapi/snapping.h"
#include "standin/memory.h"
#include "standin/scene.h"
#include "standin/views.h"

namespace
{
constexpr Float kDeg = PI / 180.0;

void ExpectNear(const Vector& got, const Vector& want, Float tol = 1e-9)
{
	EXPECT_NEAR(got.x, want.x, tol);
	EXPECT_NEAR(got.y, want.y, tol);
	EXPECT_NEAR(got.z, want.z, tol);
}

class PlacementTest : public ::testing::Test
{
protected:
	void SetUp() override
	{
		doc = standin::NewDocument();
		ASSERT_NE(doc, nullptr);
		std::string error;
		bd = standin::AddView(doc, Pperspective, &error);
		ASSERT_NE(bd, nullptr) << error;
	}
	void TearDown() override { standin::CloseAllDocuments(); }

	// The camera at pos, turned by heading and pitch (degrees).
	void Camera(Float h, Float p, const Vector& pos)
	{
		Matrix m = HPBToMatrix(Vector(h * kDeg, p * kDeg, 0.0), ROTATIONORDER_DEFAULT);
		m.off = pos;
		standin::SetCameraMatrix(bd, m);
	}

	DTOOL tool;
	BaseDocument* doc = nullptr;
	BaseDraw* bd = nullptr;
};

TEST_F(PlacementTest, StrokeDepthPointUsesTheStrokesMeanCameraDepth)
{
	Camera(30.0, -20.0, Vector(50.0, 400.0, -700.0));
	Stroke strokes[2];
	// Every point 300 deep in front of the camera, spread across the view.
	for (const Vector& s : {Vector(100.0, 100.0, 300.0), Vector(500.0, 90.0, 300.0), Vector(320.0, 400.0, 300.0)})
		ASSERT_TRUE(strokes[0].AppendPoint(strokes[0].GetCount(), bd->SW(s)));
	ASSERT_TRUE(strokes[1].AppendPoint(0, bd->SW(Vector(10.0, 10.0, 300.0))));
	BaseContainer settings;
	Float depth = 5.0;
	const Vector p = tool.StrokeDepthPoint(doc, bd, settings, 200.0, 150.0, strokes, 2, &depth);
	EXPECT_NEAR(depth, 300.0, 1e-9);
	ExpectNear(bd->WS(p), Vector(200.0, 150.0, 300.0), 1e-7);

	// Strokes without points: the mean is the origin.
	Stroke empty[1];
	tool.StrokeDepthPoint(doc, bd, settings, 200.0, 150.0, empty, 1, &depth);
	EXPECT_NEAR(depth, std::abs(bd->WS(Vector()).z), 1e-9);
}

TEST_F(PlacementTest, StrokeDepthPointWithoutStrokesFollowsObjectsOrKeepsTheDepth)
{
	Camera(0.0, 0.0, Vector(0.0, 0.0, -1000.0));
	PolygonObject* quad = PolygonObject::Alloc(4, 1);
	ASSERT_NE(quad, nullptr);
	const Vector pts[] = {{-50, -50, 0}, {50, -50, 0}, {50, 50, 0}, {-50, 50, 0}};
	for (Int32 i = 0; i < 4; ++i)
		quad->GetPointW()[i] = pts[i];
	quad->GetPolygonW()[0] = CPolygon(0, 1, 2, 3);
	doc->InsertObject(quad, nullptr, nullptr);
	BaseContainer settings;
	Float depth = 42.0;
	// On the object: its depth.
	ExpectNear(tool.StrokeDepthPoint(doc, bd, settings, 320.0, 240.0, nullptr, 0, &depth), Vector(0.0, 0.0, 0.0), 1e-9);
	EXPECT_NEAR(depth, 1000.0, 1e-9);
	// Beside it: the depth stays.
	depth = 42.0;
	const Vector beside = tool.StrokeDepthPoint(doc, bd, settings, 20.0, 240.0, nullptr, 0, &depth);
	EXPECT_EQ(depth, 42.0);
	EXPECT_NEAR(bd->WS(beside).z, 42.0, 1e-9);

	// On-surface mode beside the object: the work-plane point, depth untouched.
	settings.SetBool(LOOM_ON_SURFACE, true);
	Camera(0.0, -45.0, Vector(0.0, 1000.0, -1000.0));
	depth = 42.0;
	const Vector onPlane = tool.StrokeDepthPoint(doc, bd, settings, 600.0, 400.0, nullptr, 0, &depth);
	EXPECT_EQ(depth, 42.0);
	EXPECT_NEAR(onPlane.y, 0.0, 1e-9);
	// ... and on the object its depth.
	const Vector onObject = tool.StrokeDepthPoint(doc, bd, settings, 320.0, 240.0, nullptr, 0, &depth);
	EXPECT_NEAR(depth, std::sqrt(2.0) * 1000.0, 1e-6);
	ExpectNear(onObject, Vector(), 1e-6);
}

TEST_F(PlacementTest, WorkPlanePointLooksDownOntoTheGroundPlane)
{
	Camera(0.0, -45.0, Vector(0.0, 1000.0, -1000.0));
	ExpectNear(tool.WorkPlanePoint(doc, bd, 320.0, 240.0), Vector(0.0, 0.0, 0.0), 1e-6);
	// A turned, raised work plane.
	BaseObject* plane = GetWorkplaneObject(doc);
	Matrix k = MatrixRotZ(0.3);
	k.off = Vector(0.0, 100.0, 0.0);
	plane->SetMg(k);
	const Vector p = tool.WorkPlanePoint(doc, bd, 400.0, 300.0);
	EXPECT_NEAR(Dot(PlaneNormalOfFrame(k), p - k.off), 0.0, 1e-6);
	ExpectNear(bd->WS(p), Vector(400.0, 300.0, bd->WS(p).z), 1e-6);
}

TEST_F(PlacementTest, WorkPlanePointAlongThePlaneFallsBackToTheDefaultDepth)
{
	// A level camera: the middle row's ray runs along the ground plane (n . d = 0).
	Camera(0.0, 0.0, Vector(0.0, 0.0, -1000.0));
	const Vector p = tool.WorkPlanePoint(doc, bd, 100.0, 240.0);
	ASSERT_TRUE(std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z));
	ExpectNear(p, bd->SW(Vector(100.0, 240.0, 500.0)));
}

TEST_F(PlacementTest, WorkPlanePointLookingUpSnapsAndRestoresTheModes)
{
	Camera(0.0, 0.0, Vector(0.0, 0.0, -1000.0));
	// A mesh point right where the pixel's ray is 10000 deep.
	const Vector target = bd->SW(Vector(320.0, 100.0, 10000.0)) + Vector(3.0, 0.0, 0.0);
	PolygonObject* op = PolygonObject::Alloc(3, 1);
	ASSERT_NE(op, nullptr);
	op->GetPointW()[0] = target;
	op->GetPointW()[1] = target + Vector(0.0, 0.0, 50.0);
	op->GetPointW()[2] = target + Vector(0.0, 50.0, 0.0);
	op->GetPolygonW()[0] = CPolygon(0, 1, 2);
	doc->InsertObject(op, nullptr, nullptr);
	EXPECT_FALSE(IsSnapEnabled(doc, SNAPMODE_ALL));
	ExpectNear(tool.WorkPlanePoint(doc, bd, 320.0, 100.0), target, 1e-6);
	EXPECT_FALSE(IsSnapEnabled(doc, SNAPMODE_ALL));
	EXPECT_FALSE(IsSnapEnabled(doc, SNAPMODE_127));
	// Nothing to snap to: the default point; modes that were on stay on.
	EnableSnap(true, doc, SNAPMODE_127);
	ExpectNear(tool.WorkPlanePoint(doc, bd, 100.0, 20.0), bd->SW(Vector(100.0, 20.0, 500.0)));
	EXPECT_TRUE(IsSnapEnabled(doc, SNAPMODE_127));
	EXPECT_FALSE(IsSnapEnabled(doc, SNAPMODE_ALL));
	// Without the snapping service: the zero point, modes restored all the same.
	EnableSnap(false, doc, SNAPMODE_127);
	standin::FailAllocationsAfter(0);
	EXPECT_EQ(tool.WorkPlanePoint(doc, bd, 320.0, 100.0), Vector());
	standin::FailAllocationsAfter(-1);
	EXPECT_FALSE(IsSnapEnabled(doc, SNAPMODE_127));
	EXPECT_FALSE(IsSnapEnabled(doc, SNAPMODE_ALL));
}

TEST_F(PlacementTest, AlignToWorkPlaneHeightTakesTheReferenceHeight)
{
	ExpectNear(tool.AlignToWorkPlaneHeight(doc, Vector(1.0, 2.0, 3.0), Vector(9.0, 7.0, 9.0)), Vector(1.0, 7.0, 3.0));
	Matrix k = MatrixRotX(PI / 2.0); // plane normal along world Z
	k.off = Vector(0.0, 0.0, 10.0);
	GetWorkplaneObject(doc)->SetMg(k);
	ExpectNear(tool.AlignToWorkPlaneHeight(doc, Vector(1.0, 2.0, 3.0), Vector(9.0, 8.0, 15.0)), Vector(1.0, 2.0, 15.0));
}

TEST(SnapDirection, HeadingsRoundToTheNearestStep)
{
	DTOOL tool;
	const Matrix reference;
	const Vector anchor(10.0, 5.0, -3.0);
	// Heading h points the x-z direction (-sin h, 0, cos h).
	auto dragAt = [&](Float headingDeg, Float length, Float rise) {
		const Float h = headingDeg * kDeg;
		return anchor + Vector(-std::sin(h) * length, rise, std::cos(h) * length);
	};
	Float angle = 0.0;
	Vector moving = dragAt(10.0, 100.0, 0.0);
	const Vector got = tool.SnapDirection(moving, anchor, 45.0 * kDeg, reference, &angle);
	EXPECT_NEAR(angle, 90.0 * kDeg, 1e-12);
	ExpectNear(moving, anchor + Vector(0.0, 0.0, 100.0));
	EXPECT_EQ(got, moving);

	moving = dragAt(30.0, 100.0, 0.0);
	tool.SnapDirection(moving, anchor, 45.0 * kDeg, reference, &angle);
	EXPECT_NEAR(angle, 135.0 * kDeg, 1e-12);
	ExpectNear(moving, dragAt(45.0, 100.0, 0.0));

	// The full length is kept and the rise dropped.
	moving = dragAt(-80.0, 30.0, 40.0);
	tool.SnapDirection(moving, anchor, 90.0 * kDeg, reference, &angle);
	EXPECT_NEAR(angle, 0.0, 1e-12);
	ExpectNear(moving, anchor + Vector(50.0, 0.0, 0.0));
}

TEST(SnapDirection, WorksInTheReferenceFrameAndLeavesTheAnchorAlone)
{
	DTOOL tool;
	Matrix reference = MatrixRotX(PI / 2.0); // its x-z plane is the world x-y plane
	reference.off = Vector(5.0, 6.0, 7.0);
	const Vector anchor(5.0, 6.0, 7.0);
	Vector moving = anchor + Vector(0.0, 100.0, 3.0); // local direction (0, -3, 100): heading 0
	Float angle = 0.0;
	tool.SnapDirection(moving, anchor, 45.0 * kDeg, reference, &angle);
	EXPECT_NEAR(angle, 90.0 * kDeg, 1e-12);
	ExpectNear(moving, anchor + reference.TransformVector(Vector(0.0, 0.0, std::sqrt(100.0 * 100.0 + 9.0))));
	EXPECT_EQ(anchor, Vector(5.0, 6.0, 7.0));

	// A zero step changes nothing.
	Vector still(1.0, 2.0, 3.0);
	angle = 7.0;
	EXPECT_EQ(tool.SnapDirection(still, anchor, 0.0, reference, &angle), Vector(1.0, 2.0, 3.0));
	EXPECT_EQ(angle, 7.0);
}

TEST(ApplyAxisLocks, EnabledLocalAxesComeFromTheNewPosition)
{
	DTOOL tool;
	BaseObject* op = BaseObject::Alloc(Onull);
	ASSERT_NE(op, nullptr);
	Matrix mg = MatrixRotY(PI / 2.0); // local x is world +z, local y world y
	mg.off = Vector(1.0, 2.0, 3.0);
	op->SetMg(mg);
	const Vector before(10.0, 20.0, 30.0), after(-4.0, 8.0, 15.0);
	BaseContainer settings;
	ExpectNear(tool.ApplyAxisLocks(op, settings, before, after), after); // defaults on
	settings.SetBool(LOOM_USE_X, false);
	settings.SetBool(LOOM_USE_Y, false);
	settings.SetBool(LOOM_USE_Z, false);
	ExpectNear(tool.ApplyAxisLocks(op, settings, before, after), before);
	// Only local y: world y here.
	settings.SetBool(LOOM_USE_Y, true);
	ExpectNear(tool.ApplyAxisLocks(op, settings, before, after), Vector(10.0, 8.0, 30.0));
	EXPECT_EQ(tool.ApplyAxisLocks(nullptr, settings, before, after), after);
	BaseObject::Free(op);
}

TEST(VectorText, JoinsTheHostNumberTexts)
{
	DTOOL tool;
	EXPECT_EQ(tool.VectorText(Vector(1.0, -2.5, 0.125)).Get(), "(1;-2.5;0.125)");
	EXPECT_EQ(tool.VectorText(Vector()).Get(), "(0;0;0)");
}

TEST(ConfigureSnapping, SetsThePointSnapWithTheToolRadius)
{
	BaseDocument* doc = standin::NewDocument();
	DTOOL tool;
	EnableSnap(true, doc, SNAPMODE_127);
	EnableSnap(true, doc, SNAPMODE_115);
	BaseContainer keep;
	keep.SetInt32(123, 9);
	SetSnapSettings(doc, keep);
	BaseContainer settings;
	settings.SetInt32(LOOM_RADIUS, 17);
	tool.ConfigureSnapping(doc, settings);
	const BaseContainer snap = GetSnapSettings(doc);
	EXPECT_EQ(snap.GetInt32(SNAP_SETTINGS_RADIUS), 17);
	EXPECT_TRUE(snap.Contains(SNAP_SETTINGS_121));
	EXPECT_EQ(snap.GetInt32(SNAP_SETTINGS_121, 5), 0);
	EXPECT_EQ(snap.GetInt32(SNAP_SETTINGS_431, 5), 0);
	EXPECT_EQ(snap.GetInt32(123), 9);
	EXPECT_FALSE(IsSnapEnabled(doc, SNAPMODE_127));
	EXPECT_TRUE(IsSnapEnabled(doc, SNAPMODE_125));
	EXPECT_FALSE(IsSnapEnabled(doc, SNAPMODE_115));
	EXPECT_FALSE(IsSnapEnabled(doc, SNAPMODE_123));
	tool.ConfigureSnapping(nullptr, settings);
	standin::CloseAllDocuments();
}
} // namespace
