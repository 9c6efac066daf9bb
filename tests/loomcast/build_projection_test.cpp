// The surface build's projection step: strokes drawn over a picked textured object become quads
// wrapped onto it, textured from it, with the control thread's read-out in the tool's result.
#include <gtest/gtest.h>

#include <string>

#include "LoomSurface.h"
#include "ToolSettings.h"
#include "front_view.h"
#include "hostapi/memory.h"
#include "hostapi/resource.h"
#include "standin/scene.h"
#include "standin/threads.h"

namespace
{
constexpr Int32 kSphere = 5160;

class BuildProjectionTest : public ::testing::Test
{
protected:
	void SetUp() override
	{
		ASSERT_TRUE(g_resource.Init(Filename(TEST_SOURCE_DIR "/loomcast")));
		doc = standin::NewDocument();
		std::string error;
		bd = AddFrontView(doc, &error);
		ASSERT_NE(bd, nullptr) << error;
		tool = NewObjTagged(LoomS, "test");
		ASSERT_NE(tool, nullptr);
		ASSERT_TRUE(tool->InitDefaultSettings(doc, settings));
		sphere = standin::MakePrimitive(kSphere, 100, 48, nullptr);
		sphere->SetName("Ball");
		doc->InsertObject(sphere, nullptr, nullptr);
		// U and V follow world x and y, so what the view sees at (x, y) reads (x, y) / 400 + 0.5.
		UVWTag* tag = static_cast<UVWTag*>(sphere->MakeTag(Tuvw));
		for (Int32 i = 0; i < sphere->GetPolygonCount(); ++i)
		{
			const CPolygon& c = sphere->GetPolygonR()[i];
			auto uv = [&](Int32 k) { return Vector(sphere->GetPointR()[k].x / 400 + 0.5, sphere->GetPointR()[k].y / 400 + 0.5, 0); };
			tag->SetSlow(i, UVWStruct{uv(c.a), uv(c.b), uv(c.c), uv(c.d)});
		}
		standin::SetClockStep(-1);
	}
	void TearDown() override
	{
		standin::SetClockStep(-1);
		DeleteObj(tool);
		standin::CloseAllDocuments();
		g_resource.Free();
	}
	void AddStroke(const Vector& a, const Vector& b)
	{
		Stroke* s = tool->BeginStroke(a);
		ASSERT_NE(s, nullptr);
		ASSERT_TRUE(s->AppendPoint(1, b));
	}

	BaseDocument* doc = nullptr;
	BaseDraw* bd = nullptr;
	LoomS* tool = nullptr;
	BaseContainer settings;
	PolygonObject* sphere = nullptr;
};

TEST_F(BuildProjectionTest, StrokesOverAPickedTexturedObjectWrapOntoItWithItsCoordinates)
{
	// Strokes in front of the ball (camera side), the patch facing the camera.
	AddStroke(Vector(-40, -30, -150), Vector(40, -30, -150));
	AddStroke(Vector(-40, 30, -150), Vector(40, 30, -150));
	ASSERT_TRUE(tool->SetPickedObject(sphere));
	settings.SetBool(LOOM_UV_FROM_SOURCE, true);
	settings.SetFloat(LOOM_OFFSET, 0.0);
	settings.SetInt32(LOOM_THREADS, 2);
	standin::SetClockStep(340);
	ASSERT_TRUE(tool->BuildSurface(doc, settings));
	EXPECT_EQ(settings.GetString(LOOM_RESULT), String("2CPU Result Time:340ms"));

	auto* patch = static_cast<PolygonObject*>(doc->GetFirstObject());
	ASSERT_NE(patch, sphere);
	ASSERT_EQ(patch->GetPolygonCount(), 15);
	const Vector* p = patch->GetPointR();
	for (Int32 i = 0; i < patch->GetPointCount(); ++i)
	{
		EXPECT_NEAR(p[i].GetLength(), 100.0, 0.5) << "point " << i;
		EXPECT_LT(p[i].z, 0.0) << "point " << i;
	}
	// The corners were textured where the view saw them before they moved: at the stroke grid.
	const UVWTag* uvw = static_cast<const UVWTag*>(patch->GetTag(Tuvw));
	ASSERT_NE(uvw, nullptr);
	const UVWStruct first = uvw->GetSlow(0);
	for (const Vector& c : {first.a, first.b, first.c, first.d})
	{
		EXPECT_GE(c.x, 0.4 - 1e-9);
		EXPECT_LE(c.x, 0.6 + 1e-9);
		EXPECT_GE(c.y, 0.425 - 1e-9);
		EXPECT_LE(c.y, 0.575 + 1e-9);
	}
}

TEST_F(BuildProjectionTest, WithoutAPickedObjectTheReadOutIsPlain)
{
	AddStroke(Vector(-40, -30, -150), Vector(40, -30, -150));
	AddStroke(Vector(-40, 30, -150), Vector(40, 30, -150));
	ASSERT_TRUE(tool->BuildSurface(doc, settings));
	EXPECT_EQ(settings.GetString(LOOM_RESULT), String("Result Time:"));
}

} // namespace
