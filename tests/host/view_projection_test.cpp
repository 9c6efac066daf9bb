// Projection arithmetic of editor views, checked against hand-computed screen positions, and the
// pixel convention the pick test depends on.
#include <gtest/gtest.h>

#include <cmath>

#include "hostapi/view.h"
#include "standin/scene.h"
#include "standin/views.h"

namespace
{
class ViewTest : public ::testing::Test
{
protected:
	void SetUp() override
	{
		doc = standin::NewDocument();
		ASSERT_NE(doc, nullptr);
		std::string error;
		bd = standin::AddView(doc, Pperspective, &error);
		ASSERT_NE(bd, nullptr) << error;
		// Camera at the origin looking along +Z: camera space is world space.
		standin::SetCameraMatrix(bd, Matrix());
	}
	void TearDown() override { standin::CloseAllDocuments(); }

	BaseDocument* doc = nullptr;
	BaseDraw* bd = nullptr;
};

void ExpectNear(const Vector& got, const Vector& want, Float tol)
{
	EXPECT_NEAR(got.x, want.x, tol);
	EXPECT_NEAR(got.y, want.y, tol);
	EXPECT_NEAR(got.z, want.z, tol);
}

TEST_F(ViewTest, PerspectiveMatchesTheFocalLengthOfTheFrameWidth)
{
	// Default frame 0..639 x 0..479: axis through pixel (320, 240), focal length 640 pixels.
	ExpectNear(bd->WS(Vector(100.0, 50.0, 640.0)), Vector(420.0, 190.0, 640.0), 1e-9);
	ExpectNear(bd->WS(Vector(-100.0, -50.0, 320.0)), Vector(120.0, 340.0, 320.0), 1e-9);
	ExpectNear(bd->SW(Vector(420.0, 190.0, 640.0)), Vector(100.0, 50.0, 640.0), 1e-9);
	// Depth 0 is the camera itself, whatever the pixel.
	ExpectNear(bd->SW(Vector(17.0, 400.0, 0.0)), Vector(), 1e-12);
}

TEST_F(ViewTest, ParallelUsesTheScaleAndIgnoresDepthOnScreen)
{
	ASSERT_TRUE(standin::SetProjection(bd, 8));
	ASSERT_TRUE(standin::SetParallelScale(bd, 2.0));
	EXPECT_TRUE(bd->IsParallelProjection());
	ExpectNear(bd->WS(Vector(10.0, 5.0, 7.0)), Vector(340.0, 230.0, 7.0), 1e-12);
	ExpectNear(bd->WS(Vector(10.0, 5.0, 7000.0)), Vector(340.0, 230.0, 7000.0), 1e-12);
	ExpectNear(bd->SW(Vector(340.0, 230.0, 3.0)), Vector(10.0, 5.0, 3.0), 1e-12);
}

TEST_F(ViewTest, ScreenWorldScreenRoundTripsAtSeveralDepths)
{
	Matrix turned = HPBToMatrix(Vector(0.7, -0.4, 0.2), ROTATIONORDER_DEFAULT);
	turned.off = Vector(120.0, 300.0, -800.0);
	for (const Matrix& camera : {Matrix(), turned, standin::DefaultCameraMatrix()})
	{
		for (const Int32 code : {0, 8, 11})
		{
			standin::SetCameraMatrix(bd, camera);
			ASSERT_TRUE(standin::SetProjection(bd, code));
			for (const Float depth : {0.5, 300.0, 10000.0})
			{
				for (const Vector& pixel : {Vector(0.0, 0.0, 0.0), Vector(320.0, 240.0, 0.0), Vector(639.0, 17.5, 0.0)})
				{
					const Vector s(pixel.x, pixel.y, depth);
					const Vector world = bd->SW(s);
					ExpectNear(bd->WS(world), s, 1e-7);
					ExpectNear(bd->SW(bd->WS(world)), world, 1e-6);
				}
			}
		}
	}
}

TEST_F(ViewTest, FrameCentreIsThePixelRightOfAndBelowTheMiddle)
{
	ASSERT_TRUE(standin::SetFrame(bd, 10, 20, 109, 219)); // 100 x 200 pixels
	Int32 l = 0, t = 0, r = 0, b = 0;
	bd->GetFrame(&l, &t, &r, &b);
	EXPECT_EQ(l, 10);
	EXPECT_EQ(b, 219);
	// Focal length 100, axis through pixel (60, 120).
	ExpectNear(bd->WS(Vector(0.0, 0.0, 5.0)), Vector(60.0, 120.0, 5.0), 1e-12);
	ExpectNear(bd->WS(Vector(1.0, 1.0, 100.0)), Vector(61.0, 119.0, 100.0), 1e-12);
}

TEST_F(ViewTest, PickTestAcceptsThePixelThePointRoundsTo)
{
	// Screen x = 320 + 640 * wx / 640 = 320 + wx at depth 640.
	EXPECT_TRUE(bd->PointInRange(Vector(0.0, 0.0, 640.0), 320, 240));
	EXPECT_TRUE(bd->PointInRange(Vector(0.49, 0.0, 640.0), 320, 240));
	EXPECT_FALSE(bd->PointInRange(Vector(0.49, 0.0, 640.0), 321, 240));
	// Exactly half way belongs to the pixel right of it (and below it).
	EXPECT_TRUE(bd->PointInRange(Vector(0.5, 0.0, 640.0), 321, 240));
	EXPECT_TRUE(bd->PointInRange(Vector(0.0, -0.5, 640.0), 320, 241));
	EXPECT_FALSE(bd->PointInRange(Vector(0.0, -0.5, 640.0), 320, 240));
	EXPECT_TRUE(bd->PointInRange(Vector(-0.51, 0.0, 640.0), 319, 240));
}

TEST_F(ViewTest, PickTestSeesWhatLiesInFrontAndAParallelViewItsOwnPlane)
{
	EXPECT_FALSE(bd->PointInRange(Vector(0.0, 0.0, -640.0), 320, 240));
	EXPECT_FALSE(bd->PointInRange(Vector(0.0, 0.0, 0.0), 320, 240));
	ASSERT_TRUE(standin::SetProjection(bd, 9));
	EXPECT_FALSE(bd->PointInRange(Vector(0.0, 0.0, -5.0), 320, 240));
	EXPECT_TRUE(bd->PointInRange(Vector(0.0, 0.0, 5.0), 320, 240));
	// A parallel view sees its own plane: a cursor placed there without a depth stays pickable.
	EXPECT_TRUE(bd->PointInRange(Vector(0.0, 0.0, 0.0), 320, 240));
	// A point in the camera plane projects far away, never to infinity.
	ASSERT_TRUE(standin::SetProjection(bd, 0));
	const Vector s = bd->WS(Vector(1.0, 1.0, 0.0));
	EXPECT_TRUE(std::isfinite(s.x) && std::isfinite(s.y));
}

TEST_F(ViewTest, SettingsOutsideTheirRangeAreRefused)
{
	EXPECT_FALSE(standin::SetProjection(bd, 1));
	EXPECT_FALSE(standin::SetProjection(bd, 12));
	EXPECT_EQ(bd->GetProjection(), 0);
	EXPECT_FALSE(standin::SetFrame(bd, 10, 0, 9, 100));
	EXPECT_FALSE(standin::SetFrame(bd, 0, 0, 20000, 100));
	EXPECT_FALSE(standin::SetParallelScale(bd, 0.0));
	EXPECT_FALSE(standin::SetParallelScale(bd, std::nan("")));
	EXPECT_EQ(standin::GetParallelScale(bd), 1.0);
	std::string error;
	EXPECT_EQ(standin::AddView(doc, 5, &error), nullptr);
	EXPECT_FALSE(error.empty());
}

TEST(ViewsOfDocument, FirstRequestMakesADefaultViewAndAddedViewsBecomeActive)
{
	BaseDocument* doc = standin::NewDocument();
	ASSERT_NE(doc, nullptr);
	BaseDraw* first = doc->GetActiveBaseDraw();
	ASSERT_NE(first, nullptr);
	EXPECT_EQ(first->GetProjection(), 0);
	EXPECT_EQ(standin::ViewCount(doc), 1);
	EXPECT_EQ(first->GetEditorCamera()->GetMg(), standin::DefaultCameraMatrix());
	EXPECT_EQ(first->GetSceneCamera(doc), first->GetEditorCamera());
	// The default camera looks at the origin.
	const Vector s = first->WS(Vector());
	EXPECT_NEAR(s.x, 320.0, 1e-9);
	EXPECT_NEAR(s.y, 240.0, 1e-9);

	std::string error;
	BaseDraw* second = standin::AddView(doc, 10, &error);
	ASSERT_NE(second, nullptr);
	EXPECT_EQ(doc->GetActiveBaseDraw(), second);
	EXPECT_EQ(doc->GetRenderBaseDraw(), second);
	EXPECT_TRUE(standin::SetActiveView(doc, first));
	EXPECT_EQ(doc->GetActiveBaseDraw(), first);
	EXPECT_EQ(standin::GetView(doc, 1), second);
	EXPECT_EQ(standin::GetView(doc, 2), nullptr);
	standin::CloseAllDocuments();
}
} // namespace
