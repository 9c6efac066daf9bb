// The stroke tool's settings panel: defaults, hiding, enabling, the panel's messages, the reset
// and Escape, and the small rules the cursor query and freehand drawing follow.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "FreehandRule.h"
#include "LoomSurface.h"
#include "ToolRules.h"
#include "ToolSettings.h"
#include "hostapi/customdata.h"
#include "hostapi/description.h"
#include "hostapi/input.h"
#include "hostapi/resource.h"
#include "standin/memory.h"
#include "standin/scene.h"
#include "standin/views.h"
#include "tools/host_description.h"

namespace
{
class ToolSettingsTest : public ::testing::Test
{
protected:
	void SetUp() override
	{
		ASSERT_TRUE(g_resource.Init(Filename(TEST_SOURCE_DIR "/loomcast")));
		doc = standin::NewDocument();
		ASSERT_NE(doc, nullptr);
		std::string error;
		ASSERT_NE(standin::AddView(doc, Pperspective, &error), nullptr) << error;
		tool = NewObjTagged(LoomS, "test");
		ASSERT_NE(tool, nullptr);
		ASSERT_TRUE(tool->InitDefaultSettings(doc, settings));
	}
	void TearDown() override
	{
		DeleteObj(tool);
		standin::CloseAllDocuments();
		g_resource.Free();
	}

	BaseObject* AddCube(const char* name)
	{
		std::string error;
		PolygonObject* cube = standin::MakePrimitive(Ocube, 100.0, 1, &error);
		EXPECT_NE(cube, nullptr) << error;
		cube->SetName(name);
		doc->InsertObject(cube, nullptr, nullptr);
		return cube;
	}

	void AddStroke(const Vector& a, const Vector& b)
	{
		Stroke* s = tool->BeginStroke(a);
		ASSERT_NE(s, nullptr);
		ASSERT_TRUE(s->AppendPoint(1, b));
	}

	bool Enabled(Int32 id) { return tool->GetDEnabling(doc, settings, id, GeData(), 0, nullptr); }

	bool Checked()
	{
		const DescID id(LOOM_STROKE_SEGMENTS);
		DescriptionCheckUpdate update;
		update.doc = doc;
		update.descid = &id;
		return tool->Message(doc, settings, MSG_DESCRIPTION_CHECKUPDATE, &update);
	}

	BaseDocument* doc = nullptr;
	LoomS* tool = nullptr;
	BaseContainer settings;
};

const SplineData* FalloffOf(const BaseContainer& settings)
{
	return static_cast<const SplineData*>(settings.GetCustomDataType(LOOM_FALLOFF, CUSTOMDATATYPE_SPLINE));
}

const Gradient* SplitsOf(const BaseContainer& settings)
{
	return static_cast<const Gradient*>(settings.GetCustomDataType(LOOM_SPLITS, CUSTOMDATATYPE_GRADIENT));
}
} // namespace

TEST_F(ToolSettingsTest, DefaultsFillEverySetting)
{
	EXPECT_EQ(settings.GetInt32(LOOM_STROKE_SEGMENTS), 5);
	EXPECT_EQ(settings.GetInt32(LOOM_SPAN_SEGMENTS), 3);
	EXPECT_EQ(settings.GetInt32(LOOM_RADIUS), 10);
	EXPECT_EQ(settings.GetLink(LOOM_PLANE_OBJECT, doc), nullptr);
	EXPECT_EQ(settings.GetInt32(LOOM_PLANE_AXIS), LOOM_PLANE_TURN_Z);
	EXPECT_FALSE(settings.GetBool(LOOM_PLANE_SOLID, true));
	EXPECT_EQ(settings.GetFloat(LOOM_PLANE_TOLERANCE), 10.0);
	EXPECT_FALSE(settings.GetBool(LOOM_UV_FROM_SOURCE, true));
	EXPECT_FALSE(settings.GetBool(LOOM_GUIDE_SPLINES, true));
	EXPECT_FALSE(settings.GetBool(LOOM_ON_SURFACE, true));
	EXPECT_EQ(settings.GetInt32(LOOM_STROKE_STYLE), LOOM_STYLE_FREEHAND);
	EXPECT_FALSE(settings.GetBool(LOOM_ANGLE_SNAP, true));
	EXPECT_EQ(settings.GetFloat(LOOM_ANGLE_STEP, 1.0), 0.0);
	EXPECT_EQ(settings.GetString(LOOM_TEXT_A), GeLoadString(LOOM_STR_TEXT_A));
	EXPECT_FALSE(settings.GetString(LOOM_TEXT_A).IsEmpty());
	EXPECT_EQ(settings.GetFloat(LOOM_OFFSET, 1.0), 0.0);
	EXPECT_EQ(settings.GetFloat(LOOM_PLANE_SIZE), 100.0);
	EXPECT_EQ(settings.GetInt32(LOOM_THREADS), GeGetCurrentThreadCount());
	EXPECT_TRUE(settings.Contains(LOOM_RESULT));
	EXPECT_TRUE(settings.GetString(LOOM_RESULT).IsEmpty());
	EXPECT_EQ(settings.GetInt32(LOOM_SURFACE_MODE), LOOM_MODE_NEW_SURFACE);
	EXPECT_TRUE(settings.GetBool(LOOM_USE_X));
	EXPECT_TRUE(settings.GetBool(LOOM_USE_Y));
	EXPECT_TRUE(settings.GetBool(LOOM_USE_Z));
	EXPECT_EQ(settings.GetString(LOOM_TEXT_B), GeLoadString(LOOM_STR_TEXT_B));
	EXPECT_FALSE(settings.GetBool(LOOM_EVEN_SPLITS, true));
	EXPECT_EQ(settings.GetInt32(LOOM_FREEHAND_POINTS), 20);

	const Gradient* splits = SplitsOf(settings);
	ASSERT_NE(splits, nullptr);
	EXPECT_EQ(splits->GetData(1002).GetInt32(), 2);
	const SplineData* falloff = FalloffOf(settings);
	ASSERT_NE(falloff, nullptr);
	EXPECT_EQ(falloff->GetKnotCount(), 2);
}

TEST_F(ToolSettingsTest, ActivationStartsFromTheLinearFalloff)
{
	SplineData* bent = SplineData::Alloc();
	ASSERT_NE(bent, nullptr);
	bent->InsertKnot(0.0, 0.2);
	bent->InsertKnot(0.5, 0.9);
	bent->InsertKnot(1.0, 0.1);
	settings.SetData(LOOM_FALLOFF, GeData(*bent));
	SplineData::Free(bent);

	ASSERT_TRUE(tool->InitTool(doc, settings, nullptr));
	const SplineData* falloff = FalloffOf(settings);
	ASSERT_NE(falloff, nullptr);
	ASSERT_EQ(falloff->GetKnotCount(), 2);
	EXPECT_EQ(falloff->GetKnot(0).vPos.x, 0.0);
	EXPECT_EQ(falloff->GetKnot(0).vPos.y, 1.0);
	EXPECT_EQ(falloff->GetKnot(1).vPos.x, 1.0);
	EXPECT_EQ(falloff->GetKnot(1).vPos.y, 0.0);
	EXPECT_DOUBLE_EQ(falloff->GetPoint(0.25), 0.75);
}

TEST_F(ToolSettingsTest, TheHostsQueriesAndTheDescriptionFlags)
{
	EXPECT_EQ(tool->GetState(doc), 1);
	// Listed as enabled: bit 30 and nothing else.
	EXPECT_EQ(tool->GetCommandFlags(), 1073741824);
	// The tool draws in a pass exactly when bit 1 of its flags is set.
	for (int f = 0; f < 256; ++f)
		EXPECT_EQ(tool->WantsDrawPass(static_cast<UChar>(f)), (f & 2) != 0) << f;

	// The description is loaded, hidden entries hidden, and the flags say so (6), keeping what the
	// host had set: adding 6 to flags that already hold bit 1 or 2 would carry into bit 3.
	for (const Int32 in : {Int32(0), Int32(DESCFLAGS_DESC_LOADED), Int32(2), Int32(1 << 8)})
	{
		standin::tools::HostDescription description;
		Int32 flags = in;
		ASSERT_TRUE(tool->GetDDescription(doc, settings, &description, flags));
		EXPECT_TRUE(description.IsLoaded());
		EXPECT_EQ(description.Name(), "LoomDialog");
		EXPECT_EQ(flags, in | 6) << in;
		const BaseContainer* reserved = description.Properties(3013);
		ASSERT_NE(reserved, nullptr);
		EXPECT_TRUE(reserved->GetBool(DESC_HIDE));
	}
}

TEST(ToolRulesTest, HidingFollowsTheStrokeStyleAndTheSurfaceMode)
{
	auto hidden = [](Int32 style, Int32 mode, Int32 id) {
		BaseContainer bc;
		bc.SetInt32(LOOM_STROKE_STYLE, style);
		bc.SetInt32(LOOM_SURFACE_MODE, mode);
		HidingRule rules[HIDING_RULE_COUNT];
		HidingRules(bc, rules);
		for (const HidingRule& r : rules)
			if (r.id == id)
				return r.hidden ? 1 : 0;
		return -1;
	};
	for (const Int32 mode : {LOOM_MODE_NEW_SURFACE, LOOM_MODE_POLYGON_SPLIT})
	{
		EXPECT_EQ(hidden(LOOM_STYLE_FREEHAND, mode, LOOM_LINE_GROUP), 1);
		EXPECT_EQ(hidden(LOOM_STYLE_FREEHAND, mode, LOOM_FREEHAND_POINTS), 0);
		EXPECT_EQ(hidden(LOOM_STYLE_LINE, mode, LOOM_LINE_GROUP), 0);
		EXPECT_EQ(hidden(LOOM_STYLE_LINE, mode, LOOM_FREEHAND_POINTS), 1);
		EXPECT_EQ(hidden(LOOM_STYLE_LINE, mode, LOOM_PLANE_INFO), 1);
		EXPECT_EQ(hidden(LOOM_STYLE_FREEHAND, mode, LOOM_RESERVED), 1);
	}
	for (const Int32 style : {LOOM_STYLE_LINE, LOOM_STYLE_FREEHAND})
	{
		EXPECT_EQ(hidden(style, LOOM_MODE_POLYGON_SPLIT, LOOM_GUIDE_SPLINES), 1);
		EXPECT_EQ(hidden(style, LOOM_MODE_POLYGON_SPLIT, LOOM_SPLIT_OPTIONS), 0);
		EXPECT_EQ(hidden(style, LOOM_MODE_POLYGON_SPLIT, LOOM_SURFACE_GROUP), 1);
		EXPECT_EQ(hidden(style, LOOM_MODE_NEW_SURFACE, LOOM_GUIDE_SPLINES), 0);
		EXPECT_EQ(hidden(style, LOOM_MODE_NEW_SURFACE, LOOM_SPLIT_OPTIONS), 1);
		EXPECT_EQ(hidden(style, LOOM_MODE_NEW_SURFACE, LOOM_SURFACE_GROUP), 0);
	}
	// A style that is neither choice counts as not freehand.
	EXPECT_EQ(hidden(0, 0, LOOM_FREEHAND_POINTS), 1);
	EXPECT_EQ(hidden(0, 0, LOOM_GUIDE_SPLINES), 0);
}

TEST(ToolRulesTest, EnablingTable)
{
	BaseContainer bc;
	EnablingState st;
	auto rule = [&](Int32 id) { return EnablingRule(id, bc, st); };
	bc.SetInt32(LOOM_SURFACE_MODE, LOOM_MODE_NEW_SURFACE);
	EXPECT_EQ(rule(LOOM_STROKE_SEGMENTS), Enabling::Enabled);
	EXPECT_EQ(rule(LOOM_SPAN_SEGMENTS), Enabling::Enabled);
	EXPECT_EQ(rule(LOOM_CREATE), Enabling::Disabled);
	st.strokeCount = 1;
	EXPECT_EQ(rule(LOOM_CREATE), Enabling::Enabled);
	EXPECT_EQ(rule(LOOM_SURFACE_MODE), Enabling::Disabled);
	st.strokeCount = 0;
	EXPECT_EQ(rule(LOOM_SURFACE_MODE), Enabling::Enabled);
	EXPECT_EQ(rule(LOOM_SPLIT_GROUP), Enabling::Disabled);
	EXPECT_EQ(rule(LOOM_UV_FROM_SOURCE), Enabling::Enabled);
	EXPECT_EQ(rule(LOOM_PLANE_AXIS), Enabling::Disabled);
	EXPECT_EQ(rule(LOOM_PLANE_SOLID), Enabling::Disabled);
	st.planeObjectExists = true;
	EXPECT_EQ(rule(LOOM_PLANE_AXIS), Enabling::Enabled);
	EXPECT_EQ(rule(LOOM_PLANE_SOLID), Enabling::Enabled);
	EXPECT_EQ(rule(LOOM_STROKE_STYLE), Enabling::Enabled);
	st.edgeLineEmpty = false;
	EXPECT_EQ(rule(LOOM_STROKE_STYLE), Enabling::Disabled);

	bc.SetInt32(LOOM_SURFACE_MODE, LOOM_MODE_POLYGON_SPLIT);
	st.strokeCount = 3;
	EXPECT_EQ(rule(LOOM_STROKE_SEGMENTS), Enabling::Disabled);
	EXPECT_EQ(rule(LOOM_CREATE), Enabling::Disabled);
	EXPECT_EQ(rule(LOOM_SPLIT_GROUP), Enabling::Enabled);
	EXPECT_EQ(rule(LOOM_UV_FROM_SOURCE), Enabling::Disabled);
	st.dragOp = DRAGOP_POLYGON_SPLIT;
	EXPECT_EQ(rule(LOOM_UV_FROM_SOURCE), Enabling::Enabled);

	for (const Int32 other : {Int32{LOOM_RADIUS}, Int32{LOOM_UPDATE}, Int32{LOOM_THREADS}, Int32{LOOM_SPLITS}, Int32{3029}, Int32{9999}})
		EXPECT_EQ(rule(other), Enabling::HostDefault) << other;
}

TEST_F(ToolSettingsTest, EnablingFollowsTheToolsStrokesEdgeLineAndPlaneLink)
{
	EXPECT_FALSE(Enabled(LOOM_CREATE));
	EXPECT_TRUE(Enabled(LOOM_SURFACE_MODE));
	AddStroke(Vector(0, 0, 0), Vector(10, 0, 0));
	EXPECT_TRUE(Enabled(LOOM_CREATE));
	EXPECT_FALSE(Enabled(LOOM_SURFACE_MODE));

	EXPECT_TRUE(Enabled(LOOM_STROKE_STYLE));
	ASSERT_TRUE(tool->GetEdgeLine().Append(3, Vector()));
	EXPECT_FALSE(Enabled(LOOM_STROKE_STYLE));

	EXPECT_FALSE(Enabled(LOOM_PLANE_AXIS));
	BaseObject* plane = AddCube("Plane holder");
	settings.SetLink(LOOM_PLANE_OBJECT, plane);
	EXPECT_TRUE(Enabled(LOOM_PLANE_AXIS));
	EXPECT_TRUE(Enabled(LOOM_PLANE_SOLID));
	// A deleted plane object no longer counts.
	BaseObject::Free(plane);
	EXPECT_FALSE(Enabled(LOOM_PLANE_SOLID));
	// Entries without a rule keep the host's answer.
	EXPECT_TRUE(Enabled(LOOM_RADIUS));
}

TEST_F(ToolSettingsTest, AChangedSettingPutsTheOthersRight)
{
	// Rule 1: a texture source without texture coordinates is dropped, and UV from source with it.
	BaseObject* bare = AddCube("Bare");
	settings.SetLink(LOOM_UV_SOURCE, bare);
	settings.SetBool(LOOM_UV_FROM_SOURCE, true);
	const Int64 draws = standin::DrawViewsCount();
	EXPECT_TRUE(Checked());
	EXPECT_EQ(settings.GetLink(LOOM_UV_SOURCE, doc), nullptr);
	EXPECT_FALSE(settings.GetBool(LOOM_UV_FROM_SOURCE));
	// ... and one that has them stays.
	BaseObject* textured = AddCube("Textured");
	ASSERT_NE(textured->MakeTag(Tuvw), nullptr);
	settings.SetLink(LOOM_UV_SOURCE, textured);
	settings.SetBool(LOOM_UV_FROM_SOURCE, true);
	EXPECT_TRUE(Checked());
	EXPECT_EQ(settings.GetLink(LOOM_UV_SOURCE, doc), textured);
	EXPECT_TRUE(settings.GetBool(LOOM_UV_FROM_SOURCE));

	// Rule 2: never more threads than the machine has.
	const Int32 cores = GeGetCurrentThreadCount();
	settings.SetInt32(LOOM_THREADS, cores + 7);
	EXPECT_TRUE(Checked());
	EXPECT_EQ(settings.GetInt32(LOOM_THREADS), cores);
	settings.SetInt32(LOOM_THREADS, 1);
	EXPECT_TRUE(Checked());
	EXPECT_EQ(settings.GetInt32(LOOM_THREADS), 1);

	// Rule 3: even splits space the knots on every change.
	Gradient* g = Gradient::Alloc();
	ASSERT_NE(g, nullptr);
	for (const double pos : {0.9, 0.1, 0.3})
	{
		GradientKnot k;
		k.pos = pos;
		g->InsertKnot(k);
	}
	settings.SetData(LOOM_SPLITS, GeData(*g));
	Gradient::Free(g);
	EXPECT_TRUE(Checked());
	EXPECT_EQ(SplitsOf(settings)->GetKnot(0).pos, 0.9);
	settings.SetBool(LOOM_EVEN_SPLITS, true);
	EXPECT_TRUE(Checked());
	EXPECT_DOUBLE_EQ(SplitsOf(settings)->GetKnot(0).pos, 0.25);
	EXPECT_DOUBLE_EQ(SplitsOf(settings)->GetKnot(1).pos, 0.5);
	EXPECT_DOUBLE_EQ(SplitsOf(settings)->GetKnot(2).pos, 0.75);

	// Rule 4: splitting puts the document into edge mode.
	doc->SetMode(Mmodel);
	EXPECT_TRUE(Checked());
	EXPECT_EQ(doc->GetMode(), Mmodel);
	settings.SetInt32(LOOM_SURFACE_MODE, LOOM_MODE_POLYGON_SPLIT);
	EXPECT_TRUE(Checked());
	EXPECT_EQ(doc->GetMode(), Medges);

	// Rule 5: every change redraws the active view.
	EXPECT_EQ(standin::DrawViewsCount(), draws + 8);
	EXPECT_EQ(standin::LastDrawViewsFlags(), 1282);
}

TEST_F(ToolSettingsTest, ButtonsAndTheEndOfAnInteraction)
{
	const Int64 events = standin::EventCount();
	DescriptionCommand update;
	update.id = DescID(LOOM_UPDATE);
	EXPECT_TRUE(tool->Message(doc, settings, MSG_DESCRIPTION_COMMAND, &update));
	EXPECT_EQ(standin::EventCount(), events + 1);

	// Other buttons, a command without data and unknown messages change nothing and answer true.
	DescriptionCommand other;
	other.id = DescID(LOOM_RADIUS);
	EXPECT_TRUE(tool->Message(doc, settings, MSG_DESCRIPTION_COMMAND, &other));
	EXPECT_TRUE(tool->Message(doc, settings, MSG_DESCRIPTION_COMMAND, nullptr));
	EXPECT_TRUE(tool->Message(doc, settings, 12345, nullptr));
	EXPECT_EQ(standin::EventCount(), events + 1);

	const Int64 draws = standin::DrawViewsCount();
	EXPECT_TRUE(tool->Message(doc, settings, MSG_DESCRIPTION_USERINTERACTION_END, nullptr));
	EXPECT_EQ(standin::DrawViewsCount(), draws + 1);
	EXPECT_EQ(standin::LastDrawViewsFlags(), DRAWFLAGS_TOOL_REDRAW);
	EXPECT_EQ(standin::EventCount(), events + 2);
}

TEST_F(ToolSettingsTest, EscapeDiscardsStrokesAndTheEdgeLineButLeavesTheKeyToTheHost)
{
	BaseContainer escape;
	escape.SetInt32(BFM_INPUT_CHANNEL, KEY_ESC);
	// Nothing to discard: nothing changes.
	EXPECT_FALSE(tool->KeyboardInput(doc, settings, nullptr, nullptr, escape));
	EXPECT_EQ(tool->GetStrokeCount(), 0);
	EXPECT_TRUE(tool->GetEdgeLine().IsEmpty());

	AddStroke(Vector(0, 0, 0), Vector(10, 0, 0));
	AddStroke(Vector(0, 10, 0), Vector(10, 10, 0));
	ASSERT_TRUE(tool->GetEdgeLine().Append(5, Vector(1, 2, 3)));
	BaseContainer other;
	other.SetInt32(BFM_INPUT_CHANNEL, 'A');
	EXPECT_FALSE(tool->KeyboardInput(doc, settings, nullptr, nullptr, other));
	EXPECT_EQ(tool->GetStrokeCount(), 2);
	EXPECT_FALSE(tool->GetEdgeLine().IsEmpty());

	EXPECT_FALSE(tool->KeyboardInput(doc, settings, nullptr, nullptr, escape));
	EXPECT_EQ(tool->GetStrokeCount(), 0);
	EXPECT_TRUE(tool->GetEdgeLine().IsEmpty());
	EXPECT_EQ(tool->GetEdgeLine().pointCount, 0);
}

TEST_F(ToolSettingsTest, LeavingTheToolResetsOnlyWithADocument)
{
	AddStroke(Vector(0, 0, 0), Vector(10, 0, 0));
	ASSERT_TRUE(tool->GetEdgeLine().Append(5, Vector()));
	tool->FreeTool(nullptr, settings);
	EXPECT_EQ(tool->GetStrokeCount(), 1);
	tool->FreeTool(doc, settings);
	EXPECT_EQ(tool->GetStrokeCount(), 0);
	EXPECT_EQ(tool->GetCursorPos(), Vector());
	EXPECT_FALSE(tool->IsSnapped());
	EXPECT_FALSE(tool->GetHitFlag());
	EXPECT_EQ(tool->GetRadiusPx(), 0);
	EXPECT_EQ(tool->GetOpenEndPoint(), -1);
	// The reset leaves the edge line alone.
	EXPECT_FALSE(tool->GetEdgeLine().IsEmpty());
	EXPECT_EQ(tool->GetDepth(), 500.0);
}

TEST_F(ToolSettingsTest, ThePickedObjectIsHeldByLinkAndForgottenWhenDeleted)
{
	BaseObject* cube = AddCube("Picked");
	EXPECT_EQ(tool->GetPickedObject(doc), nullptr);
	ASSERT_TRUE(tool->SetPickedObject(cube));
	EXPECT_EQ(tool->GetPickedObject(doc), cube);
	EXPECT_EQ(tool->GetPickedObject(nullptr), cube);
	BaseDocument* other = BaseDocument::Alloc();
	EXPECT_EQ(tool->GetPickedObject(other), nullptr);
	BaseDocument::Free(other);
	BaseObject::Free(cube);
	EXPECT_EQ(tool->GetPickedObject(doc), nullptr);
	ASSERT_TRUE(tool->SetPickedObject(nullptr));
	EXPECT_EQ(tool->GetPickedObject(nullptr), nullptr);
}

TEST_F(ToolSettingsTest, StrokesLiveInTheToolsHostMemory)
{
	for (Int32 i = 0; i < 9; ++i)
		AddStroke(Vector(i, 0, 0), Vector(i, 10, 0));
	const StrokeList& strokes = tool->GetStrokes();
	ASSERT_EQ(strokes.GetCount(), 9);
	standin::AllocationInfo info;
	ASSERT_TRUE(standin::QueryAllocation(strokes.GetStrokes(), &info));
	EXPECT_EQ(info.sourcePath, "source\\LoomSurface");
	for (Int32 i = 0; i < 9; ++i)
		EXPECT_EQ(strokes[i][1].pos, Vector(i, 10, 0)) << i;

	tool->GetStrokes().RemoveAt(0);
	EXPECT_EQ(strokes[0][0].pos, Vector(1, 0, 0));
	EXPECT_EQ(tool->GetStrokeCount(), 8);

	// A stroke whose first point finds no memory is not started, and the others stay as they were.
	standin::FailAllocationsAfter(0);
	EXPECT_EQ(tool->BeginStroke(Vector(99, 0, 0)), nullptr);
	standin::FailAllocationsAfter(-1);
	EXPECT_EQ(tool->GetStrokeCount(), 8);
	EXPECT_EQ(strokes[7][1].pos, Vector(8, 10, 0));
}

TEST(ToolRulesTest, HeldKeysChooseTheDragOperation)
{
	const Int32 newSurface = LOOM_MODE_NEW_SURFACE, split = LOOM_MODE_POLYGON_SPLIT;
	EXPECT_EQ(DragOpForQualifiers(0, newSurface), DRAGOP_DRAW);
	EXPECT_EQ(DragOpForQualifiers(QCTRL, newSurface), DRAGOP_POINT_MOVE);
	EXPECT_EQ(DragOpForQualifiers(QSHIFT, newSurface), DRAGOP_EDIT_RADIUS);
	EXPECT_EQ(DragOpForQualifiers(QSHIFT, split), DRAGOP_POLYGON_SPLIT);
	EXPECT_EQ(DragOpForQualifiers(QSHIFT, 0), DRAGOP_DRAW);
	EXPECT_EQ(DragOpForQualifiers(QALT, split), DRAGOP_EDGE_SELECT);
	EXPECT_EQ(DragOpForQualifiers(QSHIFT | QCTRL, newSurface), DRAGOP_POINT_ERASE);
	EXPECT_EQ(DragOpForQualifiers(QCTRL | QALT, newSurface), DRAGOP_ADJUST_POINTS);
	EXPECT_EQ(DragOpForQualifiers(QSHIFT | QALT, newSurface), DRAGOP_ADD_POINTS);
	EXPECT_EQ(DragOpForQualifiers(QSHIFT | QCTRL | QALT, newSurface), DRAGOP_DRAW);
	// Bits beyond the three qualifiers play no part.
	EXPECT_EQ(DragOpForQualifiers(QCTRL | 0x100, newSurface), DRAGOP_POINT_MOVE);
}

TEST(FreehandRuleTest, AStraightMotionSlidesTheLastPoint)
{
	Stroke s;
	ASSERT_TRUE(s.AppendPoint(0, Vector(0, 0, 0)));
	ASSERT_TRUE(ExtendFreehand(s, Vector(1, 0, 0)));
	ASSERT_EQ(s.GetCount(), 2);
	for (Int32 i = 2; i <= 50; ++i)
	{
		// A little wobble well inside the 14 degrees.
		ASSERT_TRUE(ExtendFreehand(s, Vector(i, (i % 2) * 0.05, 0)));
		EXPECT_EQ(s.GetCount(), 2);
	}
	EXPECT_EQ(s[1].pos, Vector(50, 0, 0));
	EXPECT_EQ(s[1].index, 1);

	// A turn leaves the corner and starts a new last point.
	ASSERT_TRUE(ExtendFreehand(s, Vector(50, 10, 0)));
	ASSERT_EQ(s.GetCount(), 3);
	EXPECT_EQ(s[2].index, 2);
	EXPECT_EQ(s[1].pos, Vector(50, 0, 0));
	// Standing still is no direction at all, so the position is appended again.
	ASSERT_TRUE(ExtendFreehand(s, Vector(50, 10, 0)));
	EXPECT_EQ(s.GetCount(), 4);
	// Going back the way it came is a sharp turn, not a straight run.
	EXPECT_FALSE(RunsOnStraight(Vector(0, 0, 0), Vector(10, 0, 0), Vector(5, 0, 0)));
	EXPECT_TRUE(RunsOnStraight(Vector(0, 0, 0), Vector(10, 0, 0), Vector(20, 1, 0)));
	// About 14 degrees is the limit: cos(166 deg) = -0.9703.
	EXPECT_TRUE(RunsOnStraight(Vector(-1, 0, 0), Vector(), Vector(std::cos(0.2443), std::sin(0.2443), 0)));
	EXPECT_FALSE(RunsOnStraight(Vector(-1, 0, 0), Vector(), Vector(std::cos(0.2460), std::sin(0.2460), 0)));
}

TEST_F(ToolSettingsTest, TheInspectorReadsTheStrokes)
{
	String text("old");
	EXPECT_TRUE(tool->Message(doc, settings, MSG_TOOL_INSPECT, &text));
	EXPECT_EQ(text, String("strokes 0"));
	AddStroke(Vector(0, 0, 0), Vector(2.5, -1, 1000));
	ASSERT_NE(tool->BeginStroke(Vector(7, 8, 9)), nullptr);
	EXPECT_TRUE(tool->Message(doc, settings, MSG_TOOL_INSPECT, &text));
	EXPECT_EQ(text, String("strokes 2\nstroke 0 points 2: (0;0;0) (2.5;-1;1000)\nstroke 1 points 1: (7;8;9)"));
	EXPECT_TRUE(tool->Message(doc, settings, MSG_TOOL_INSPECT, nullptr));
}
