// The surface build as the Create button runs it: strokes into quads in a new object or the active
// mesh, joined to its selected border chains, with guide splines, the undo records and the
// strokes consumed.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "Dtool.h"
#include "LoomSurface.h"
#include "ToolRules.h"
#include "ToolSettings.h"
#include "hostapi/description.h"
#include "hostapi/memory.h"
#include "hostapi/resource.h"
#include "standin/memory.h"
#include "standin/scene.h"
#include "standin/views.h"

namespace
{
void ExpectNear(const Vector& got, const Vector& want, double tol = 1e-9)
{
	EXPECT_NEAR(got.x, want.x, tol);
	EXPECT_NEAR(got.y, want.y, tol);
	EXPECT_NEAR(got.z, want.z, tol);
}

// A mesh in the x-z plane made of axis-aligned cells; corners at equal positions are one point,
// so pieces that touch at a corner share that point. Every cell faces +y.
struct MeshMaker
{
	std::vector<Vector> points;
	std::vector<CPolygon> polygons;

	Int32 Point(double x, double z)
	{
		const Vector p(x, 0.0, z);
		for (size_t i = 0; i < points.size(); ++i)
			if (points[i] == p)
				return static_cast<Int32>(i);
		points.push_back(p);
		return static_cast<Int32>(points.size() - 1);
	}
	void Cell(double x0, double z0, double x1, double z1)
	{
		polygons.emplace_back(Point(x0, z0), Point(x0, z1), Point(x1, z1), Point(x1, z0));
	}
	// cells x 10-unit cells from (x, z) along +x (alongX) or +z.
	void Strip(double x, double z, Int32 cells, bool alongX)
	{
		for (Int32 i = 0; i < cells; ++i)
		{
			if (alongX)
				Cell(x + 10.0 * i, z, x + 10.0 * (i + 1), z + 10.0);
			else
				Cell(x, z + 10.0 * i, x + 10.0, z + 10.0 * (i + 1));
		}
	}
	PolygonObject* Make(BaseDocument* doc)
	{
		PolygonObject* op = PolygonObject::Alloc(static_cast<Int32>(points.size()), static_cast<Int32>(polygons.size()));
		if (!op)
			return nullptr;
		std::copy(points.begin(), points.end(), op->GetPointW());
		std::copy(polygons.begin(), polygons.end(), op->GetPolygonW());
		op->SetName("Mesh");
		doc->InsertObject(op, nullptr, nullptr);
		return op;
	}
};

// Selects every border edge of op whose two points both satisfy the test.
template <typename Test>
void SelectEdges(PolygonObject* op, Test test)
{
	const Vector* p = op->GetPointR();
	for (Int32 e = 0; e < 4 * op->GetPolygonCount(); ++e)
	{
		Int32 a = 0, b = 0;
		if (op->GetEdgePoints(e, &a, &b) && a != b && test(p[a]) && test(p[b]))
			op->GetEdgeS()->Select(e);
	}
}

// The unit normal of quad q (cross product of its diagonals).
Vector QuadNormal(const Vector* p, const CPolygon& q)
{
	const Vector n = Cross(p[q.c] - p[q.a], p[q.d] - p[q.b]);
	const double len = n.GetLength();
	return len > 0.0 ? n / len : Vector();
}

class SurfaceBuildTest : public ::testing::Test
{
protected:
	void SetUp() override
	{
		ASSERT_TRUE(g_resource.Init(Filename(TEST_SOURCE_DIR "/loomcast")));
		doc = standin::NewDocument();
		ASSERT_NE(doc, nullptr);
		std::string error;
		bd = standin::AddView(doc, Pperspective, &error);
		ASSERT_NE(bd, nullptr) << error;
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

	void AddStroke(std::initializer_list<Vector> points)
	{
		auto it = points.begin();
		Stroke* s = tool->BeginStroke(*it);
		ASSERT_NE(s, nullptr);
		Int32 index = 1;
		for (++it; it != points.end(); ++it)
			ASSERT_TRUE(s->AppendPoint(index++, *it));
	}

	// Presses Create in the settings panel (the press answers true whatever the build did).
	void PressCreate()
	{
		DescriptionCommand press;
		press.id = DescID(LOOM_CREATE);
		EXPECT_TRUE(tool->Message(doc, settings, MSG_DESCRIPTION_COMMAND, &press));
	}
	bool Create() { return tool->BuildSurface(doc, settings); }

	Vector CameraAxis() const { return bd->GetSceneCamera(doc)->GetMg().v3; }

	// Every polygon from `first` on faces the viewer.
	void ExpectFacingTheViewer(const PolygonObject* op, Int32 first = 0)
	{
		const Vector* p = op->GetPointR();
		for (Int32 i = first; i < op->GetPolygonCount(); ++i)
			EXPECT_LT(Dot(QuadNormal(p, op->GetPolygonR()[i]), CameraAxis()), -0.1) << "polygon " << i;
	}

	BaseDocument* doc = nullptr;
	BaseDraw* bd = nullptr;
	LoomS* tool = nullptr;
	BaseContainer settings;
};
} // namespace

TEST_F(SurfaceBuildTest, TwoStrokesWithDefaultsMakeANewObjectOfFifteenQuads)
{
	AddStroke({Vector(0, 0, 0), Vector(100, 0, 0)});
	AddStroke({Vector(0, 30, 0), Vector(40, 30, 0), Vector(100, 30, 0)});
	const Int64 events = standin::EventCount();
	const Int32 undos = standin::UndoRecordCount(doc);
	PressCreate();

	BaseObject* first = doc->GetFirstObject();
	ASSERT_NE(first, nullptr);
	ASSERT_TRUE(first->IsInstanceOf(Opolygon));
	auto* op = static_cast<PolygonObject*>(first);
	EXPECT_EQ(op->GetPointCount(), 24);
	EXPECT_EQ(op->GetPolygonCount(), 15);
	EXPECT_NE(op->GetTag(Tphong), nullptr);
	EXPECT_EQ(op->GetTag(Tuvw), nullptr);
	EXPECT_TRUE(op->GetBit(2));
	EXPECT_EQ(op->GetMg(), Matrix());

	// Rows of six samples 20 apart; the two in between are straight blends of the strokes.
	const Vector* p = op->GetPointR();
	for (Int32 r = 0; r < 4; ++r)
		for (Int32 c = 0; c < 6; ++c)
			ExpectNear(p[r * 6 + c], Vector(20.0 * c, 10.0 * r, 0.0), 1e-7);

	ASSERT_EQ(standin::UndoRecordCount(doc), undos + 1);
	Int32 type = 0;
	BaseList2D* element = nullptr;
	ASSERT_TRUE(standin::UndoRecord(doc, undos, &type, &element));
	EXPECT_EQ(type, UNDOTYPE_NEW);
	EXPECT_EQ(element, op);
	EXPECT_EQ(standin::EventCount(), events + 1);
	EXPECT_EQ(settings.GetString(LOOM_RESULT), String("Result Time:"));

	// The strokes are used up, so Create is disabled until new ones are drawn.
	EXPECT_EQ(tool->GetStrokeCount(), 0);
	EXPECT_FALSE(tool->GetDEnabling(doc, settings, LOOM_CREATE, GeData(), 0, nullptr));
}

TEST_F(SurfaceBuildTest, ThreeStrokesBendTheRowsAlongNaturalSplines)
{
	// Three straight strokes at heights 0, 30 and 0, shifted in z: every column runs through
	// (0, 0), (1, 30), (2, 0) in (t, y), whose natural spline has curvature 6 * (0 - 60 + 0) / 4 at
	// t = 1: y(t) = 30 t + 7.5 (t - t^3) ... on the first segment.
	AddStroke({Vector(0, 0, 0), Vector(50, 0, 0)});
	AddStroke({Vector(0, 30, 10), Vector(50, 30, 10)});
	AddStroke({Vector(0, 0, 20), Vector(50, 0, 20)});
	settings.SetInt32(LOOM_STROKE_SEGMENTS, 2);
	settings.SetInt32(LOOM_SPAN_SEGMENTS, 4);
	ASSERT_TRUE(Create());
	auto* op = static_cast<PolygonObject*>(doc->GetFirstObject());
	ASSERT_NE(op, nullptr);
	ASSERT_EQ(op->GetPointCount(), 9 * 3);
	ASSERT_EQ(op->GetPolygonCount(), 8 * 2);
	// Second derivative at the middle knot from the full system: M1 = 6 (y0 - 2 y1 + y2) / 4.
	const double m1 = 6.0 * (0.0 - 60.0 + 0.0) / 4.0;
	auto y = [&](double t) {
		const double i = t < 1.0 ? 0.0 : 1.0;
		const double u = t - i, w = 1.0 - u;
		const double y0 = i == 0.0 ? 0.0 : 30.0, y1 = i == 0.0 ? 30.0 : 0.0;
		const double ma = i == 0.0 ? 0.0 : m1, mb = i == 0.0 ? m1 : 0.0;
		return w * y0 + u * y1 + ((w * w * w - w) * ma + (u * u * u - u) * mb) / 6.0;
	};
	const Vector* p = op->GetPointR();
	for (Int32 r = 0; r < 9; ++r)
	{
		const double t = r / 4.0;
		for (Int32 c = 0; c < 3; ++c)
			ExpectNear(p[r * 3 + c], Vector(25.0 * c, y(t), 10.0 * t), 1e-7);
	}
}

TEST_F(SurfaceBuildTest, QuadsFaceTheViewerWhicheverWayTheStrokesWereDrawn)
{
	// The default camera looks down at the origin from above and in front.
	const Vector a0(0, 0, 0), a1(100, 0, 0), b0(0, 0, 60), b1(100, 0, 60);
	const Vector orders[4][4] = {{a0, a1, b0, b1}, {a1, a0, b1, b0}, {b0, b1, a0, a1}, {b1, b0, a1, a0}};
	for (const auto& o : orders)
	{
		AddStroke({o[0], o[1]});
		AddStroke({o[2], o[3]});
		ASSERT_TRUE(Create());
		auto* op = static_cast<PolygonObject*>(doc->GetFirstObject());
		ASSERT_EQ(op->GetPolygonCount(), 15);
		ExpectFacingTheViewer(op);
		BaseObject* dead = op;
		BaseObject::Free(dead);
	}
}

TEST_F(SurfaceBuildTest, TheActiveMeshReceivesTheQuadsInItsOwnSpace)
{
	std::string error;
	PolygonObject* plane = standin::MakePrimitive(Oplane, 100.0, 1, &error);
	ASSERT_NE(plane, nullptr) << error;
	doc->InsertObject(plane, nullptr, nullptr);
	Matrix mg = MatrixRotY(0.5);
	mg.off = Vector(200, -50, 30);
	plane->SetMg(mg);
	doc->SetActiveObject(plane);
	const Int32 oldPoints = plane->GetPointCount(), oldPolygons = plane->GetPolygonCount();
	const Int32 undos = standin::UndoRecordCount(doc);

	AddStroke({Vector(0, 0, 0), Vector(100, 0, 0)});
	AddStroke({Vector(0, 0, 60), Vector(100, 0, 60)});
	ASSERT_TRUE(Create());
	EXPECT_EQ(doc->GetFirstObject(), plane);
	EXPECT_EQ(plane->GetNext(), nullptr);
	ASSERT_EQ(plane->GetPointCount(), oldPoints + 24);
	ASSERT_EQ(plane->GetPolygonCount(), oldPolygons + 15);
	// The new points are where the strokes were in the world.
	const Vector* p = plane->GetPointR();
	ExpectNear(mg * p[oldPoints], Vector(0, 0, 0), 1e-7);
	ExpectNear(mg * p[oldPoints + 23], Vector(100, 0, 60), 1e-7);
	ExpectFacingTheViewer(plane, oldPolygons);

	ASSERT_EQ(standin::UndoRecordCount(doc), undos + 1);
	Int32 type = 0;
	BaseList2D* element = nullptr;
	ASSERT_TRUE(standin::UndoRecord(doc, undos, &type, &element));
	EXPECT_EQ(type, UNDOTYPE_CHANGE);
	EXPECT_EQ(element, plane);
}

TEST_F(SurfaceBuildTest, ASingleStrokeOrNoSegmentsBuildNothing)
{
	AddStroke({Vector(0, 0, 0), Vector(100, 0, 0)});
	EXPECT_FALSE(Create());
	EXPECT_EQ(doc->GetFirstObject(), nullptr);
	EXPECT_EQ(tool->GetStrokeCount(), 0);
	EXPECT_FALSE(tool->BuildSurface(doc, settings)); // nothing left to build from

	AddStroke({Vector(0, 0, 0), Vector(100, 0, 0)});
	AddStroke({Vector(0, 0, 50), Vector(100, 0, 50)});
	settings.SetInt32(LOOM_SPAN_SEGMENTS, 0);
	EXPECT_FALSE(tool->BuildSurface(doc, settings));
	EXPECT_EQ(doc->GetFirstObject(), nullptr);
	EXPECT_EQ(tool->GetStrokeCount(), 0);
}

TEST_F(SurfaceBuildTest, AStrokeEmptiedByErasingTakesNoPartAndBreaksNothing)
{
	AddStroke({Vector(0, 0, 0), Vector(100, 0, 0)});
	ASSERT_NE(tool->GetStrokes().AppendStroke(), nullptr);
	AddStroke({Vector(0, 0, 60), Vector(100, 0, 60)});
	ASSERT_TRUE(tool->BuildSurface(doc, settings));
	auto* op = static_cast<PolygonObject*>(doc->GetFirstObject());
	ASSERT_NE(op, nullptr);
	EXPECT_EQ(op->GetPolygonCount(), 15);
}

TEST_F(SurfaceBuildTest, APickedObjectDeletedBeforeTheBuildCountsAsNone)
{
	std::string error;
	PolygonObject* cube = standin::MakePrimitive(Ocube, 50.0, 1, &error);
	ASSERT_NE(cube, nullptr) << error;
	ASSERT_NE(cube->MakeTag(Tuvw), nullptr);
	doc->InsertObject(cube, nullptr, nullptr);
	ASSERT_TRUE(tool->SetPickedObject(cube));
	settings.SetBool(LOOM_UV_FROM_SOURCE, true);
	BaseObject* dead = cube;
	BaseObject::Free(dead);

	AddStroke({Vector(0, 0, 0), Vector(100, 0, 0)});
	AddStroke({Vector(0, 0, 60), Vector(100, 0, 60)});
	ASSERT_TRUE(tool->BuildSurface(doc, settings));
	auto* op = static_cast<PolygonObject*>(doc->GetFirstObject());
	ASSERT_NE(op, nullptr);
	EXPECT_EQ(op->GetPolygonCount(), 15);
	// No texture source any more, so no texture coordinates either.
	EXPECT_EQ(op->GetTag(Tuvw), nullptr);
	EXPECT_EQ(settings.GetString(LOOM_RESULT), String("Result Time:"));
}

TEST_F(SurfaceBuildTest, APickedObjectWithTextureCoordinatesIsTheSourceAndNeverTheTarget)
{
	std::string error;
	PolygonObject* cube = standin::MakePrimitive(Ocube, 50.0, 1, &error);
	ASSERT_NE(cube, nullptr) << error;
	ASSERT_NE(cube->MakeTag(Tuvw), nullptr);
	doc->InsertObject(cube, nullptr, nullptr);
	ASSERT_TRUE(tool->SetPickedObject(cube));
	doc->SetActiveObject(cube);
	settings.SetBool(LOOM_UV_FROM_SOURCE, true);
	const Int32 cubePolygons = cube->GetPolygonCount();

	AddStroke({Vector(0, 0, 0), Vector(100, 0, 0)});
	AddStroke({Vector(0, 0, 60), Vector(100, 0, 60)});
	ASSERT_TRUE(tool->BuildSurface(doc, settings));
	auto* op = static_cast<PolygonObject*>(doc->GetFirstObject());
	ASSERT_NE(op, nullptr);
	ASSERT_NE(op, cube);
	EXPECT_EQ(cube->GetPolygonCount(), cubePolygons);
	EXPECT_EQ(op->GetPolygonCount(), 15);
	const BaseTag* uvw = op->GetTag(Tuvw);
	ASSERT_NE(uvw, nullptr);
	EXPECT_EQ(static_cast<const UVWTag*>(uvw)->GetDataCount(), 15);
	// The projection ran on the new polygons: the read-out is its timing.
	const std::string text = settings.GetString(LOOM_RESULT).Get();
	const std::string threads = std::to_string(std::min(std::max(settings.GetInt32(LOOM_THREADS), 1), 15));
	EXPECT_EQ(text.rfind(threads + "CPU Result Time:", 0), 0u) << text;
}

TEST_F(SurfaceBuildTest, GuideSplinesBuiltTwiceJoinTheEarlierCurves)
{
	settings.SetBool(LOOM_GUIDE_SPLINES, true);
	AddStroke({Vector(0, 0, 0), Vector(100, 0, 0)});
	AddStroke({Vector(0, 0, 60), Vector(100, 0, 60)});
	ASSERT_TRUE(Create());
	auto* op = static_cast<PolygonObject*>(doc->GetFirstObject());
	ASSERT_NE(op, nullptr);
	BaseObject* deformer = op->GetDown();
	ASSERT_NE(deformer, nullptr);
	ASSERT_EQ(deformer->GetType(), Osplinedeformer);
	auto children = [&]() {
		std::vector<BaseObject*> list;
		for (BaseObject* c = deformer->GetDown(); c; c = c->GetNext())
			list.push_back(c);
		return list;
	};
	std::vector<BaseObject*> kids = children();
	ASSERT_EQ(kids.size(), 2u);
	EXPECT_EQ(kids[0]->GetName(), String("OrgSpline"));
	EXPECT_EQ(kids[1]->GetName(), String("TgSpline"));
	ASSERT_TRUE(kids[0]->IsInstanceOf(Ospline));
	ASSERT_TRUE(kids[1]->IsInstanceOf(Ospline));
	// One curve of six points per stroke, joined into one spline, and its copy.
	EXPECT_EQ(static_cast<SplineObject*>(kids[0])->GetPointCount(), 12);
	EXPECT_EQ(static_cast<SplineObject*>(kids[1])->GetPointCount(), 12);
	EXPECT_EQ(deformer->GetDataInstance()->GetLink(2000, doc), kids[0]);
	EXPECT_EQ(deformer->GetDataInstance()->GetLink(2001, doc), kids[1]);
	ExpectNear(kids[0]->GetMg() * static_cast<SplineObject*>(kids[0])->GetPointR()[11], Vector(100, 0, 60));

	// Again on the same object, which is active now: the deformer is reused and the earlier
	// original curve is carried into the new one.
	doc->SetActiveObject(op);
	AddStroke({Vector(0, 20, 0), Vector(100, 20, 0)});
	AddStroke({Vector(0, 20, 60), Vector(100, 20, 60)});
	ASSERT_TRUE(Create());
	ASSERT_EQ(op->GetDown(), deformer);
	EXPECT_EQ(deformer->GetNext(), nullptr);
	kids = children();
	ASSERT_EQ(kids.size(), 2u);
	EXPECT_EQ(kids[0]->GetName(), String("OrgSpline"));
	EXPECT_EQ(kids[1]->GetName(), String("TgSpline"));
	EXPECT_EQ(static_cast<SplineObject*>(kids[0])->GetPointCount(), 24);
	EXPECT_EQ(static_cast<SplineObject*>(kids[1])->GetPointCount(), 24);
	EXPECT_EQ(deformer->GetDataInstance()->GetLink(2000, doc), kids[0]);
	EXPECT_EQ(deformer->GetDataInstance()->GetLink(2001, doc), kids[1]);
	EXPECT_EQ(op->GetPolygonCount(), 30);
}

TEST_F(SurfaceBuildTest, MemoryRefusedAtAnyStepFailsTheBuildCleanly)
{
	// Every allocation of the build refused in turn, with and without guide splines: the build
	// either fails with nothing added to the document and no undo step, or, once it gets all it
	// needs, makes the whole surface with its guide splines.
	for (const bool guides : {false, true})
	{
		bool built = false;
		Int64 refusals = 0;
		for (Int64 n = 0; n < 400 && !built; ++n, ++refusals)
		{
			AddStroke({Vector(0, 0, 0), Vector(50, 0, 0), Vector(100, 0, 0)});
			AddStroke({Vector(0, 0, 60), Vector(100, 0, 60)});
			settings.SetBool(LOOM_GUIDE_SPLINES, guides);
			const Int64 live = standin::LiveAllocationCount();
			const Int32 undos = standin::UndoRecordCount(doc);
			standin::FailAllocationsAfter(n);
			built = tool->BuildSurface(doc, settings);
			standin::FailAllocationsAfter(-1);
			EXPECT_EQ(tool->GetStrokeCount(), 0);
			BaseObject* op = doc->GetFirstObject();
			if (!built)
			{
				EXPECT_EQ(op, nullptr) << n;
				EXPECT_EQ(standin::UndoRecordCount(doc), undos) << n;
				// The strokes' blocks are gone and nothing else of the build is left.
				EXPECT_LE(standin::LiveAllocationCount(), live) << n;
			}
			else
			{
				ASSERT_NE(op, nullptr);
				EXPECT_EQ(static_cast<PolygonObject*>(op)->GetPolygonCount(), 15);
				EXPECT_EQ(standin::UndoRecordCount(doc), undos + 1);
				const BaseObject* deformer = op->GetDown();
				EXPECT_EQ(deformer != nullptr, guides);
				if (deformer)
				{
					ASSERT_NE(deformer->GetDown(), nullptr);
					EXPECT_EQ(deformer->GetDown()->GetName(), String("OrgSpline"));
					ASSERT_NE(deformer->GetDown()->GetNext(), nullptr);
					EXPECT_EQ(deformer->GetDown()->GetNext()->GetName(), String("TgSpline"));
				}
				BaseObject* dead = op;
				dead->Remove();
				BaseObject::Free(dead);
			}
		}
		EXPECT_TRUE(built) << guides;
		// The build takes several blocks of its own, so several of the runs above were refused.
		EXPECT_GT(refusals, 5) << guides;
	}
}

TEST_F(SurfaceBuildTest, ARefusedBuildIntoTheActiveMeshLeavesItAndTheUndoLogAsTheyWere)
{
	std::string error;
	PolygonObject* plane = standin::MakePrimitive(Oplane, 100.0, 2, &error);
	ASSERT_NE(plane, nullptr) << error;
	doc->InsertObject(plane, nullptr, nullptr);
	doc->SetActiveObject(plane);
	const Int32 oldPoints = plane->GetPointCount(), oldPolygons = plane->GetPolygonCount();
	bool built = false;
	for (Int64 n = 0; n < 400 && !built; ++n)
	{
		AddStroke({Vector(0, 0, 0), Vector(100, 0, 0)});
		AddStroke({Vector(0, 0, 60), Vector(100, 0, 60)});
		const Int32 undos = standin::UndoRecordCount(doc);
		standin::FailAllocationsAfter(n);
		built = tool->BuildSurface(doc, settings);
		standin::FailAllocationsAfter(-1);
		if (built)
		{
			EXPECT_EQ(plane->GetPolygonCount(), oldPolygons + 15);
			EXPECT_EQ(standin::UndoRecordCount(doc), undos + 1);
			break;
		}
		// A change step for a mesh that did not change would undo nothing and mislead.
		EXPECT_EQ(standin::UndoRecordCount(doc), undos) << n;
		EXPECT_EQ(plane->GetPointCount(), oldPoints) << n;
		EXPECT_EQ(plane->GetPolygonCount(), oldPolygons) << n;
	}
	EXPECT_TRUE(built);
}

TEST_F(SurfaceBuildTest, GuideSplinesThatCannotBeMadeLeaveTheMeshUntouched)
{
	// The mesh's deformer holds an "OrgSpline" that is no curve (a user renamed a mesh): joining it
	// with the new curves makes no spline, so the build is refused before anything is written.
	std::string error;
	PolygonObject* plane = standin::MakePrimitive(Oplane, 100.0, 2, &error);
	ASSERT_NE(plane, nullptr) << error;
	doc->InsertObject(plane, nullptr, nullptr);
	BaseObject* deformer = BaseObject::Alloc(Osplinedeformer);
	ASSERT_NE(deformer, nullptr);
	deformer->InsertUnder(plane);
	PolygonObject* impostor = standin::MakePrimitive(Ocube, 10.0, 1, &error);
	ASSERT_NE(impostor, nullptr) << error;
	impostor->SetName("OrgSpline");
	impostor->InsertUnder(deformer);
	doc->SetActiveObject(plane);
	const Int32 oldPoints = plane->GetPointCount(), oldPolygons = plane->GetPolygonCount();
	const Int32 undos = standin::UndoRecordCount(doc);
	const Int64 events = standin::EventCount();

	settings.SetBool(LOOM_GUIDE_SPLINES, true);
	AddStroke({Vector(0, 0, 0), Vector(100, 0, 0)});
	AddStroke({Vector(0, 0, 60), Vector(100, 0, 60)});
	EXPECT_FALSE(Create());
	EXPECT_EQ(tool->GetStrokeCount(), 0);
	EXPECT_EQ(plane->GetPointCount(), oldPoints);
	EXPECT_EQ(plane->GetPolygonCount(), oldPolygons);
	EXPECT_EQ(standin::UndoRecordCount(doc), undos);
	EXPECT_EQ(standin::EventCount(), events);
	EXPECT_EQ(plane->GetDown(), deformer);
	EXPECT_EQ(deformer->GetDown(), impostor);
	EXPECT_EQ(impostor->GetNext(), nullptr);

	// Without guide splines the same strokes build.
	AddStroke({Vector(0, 0, 0), Vector(100, 0, 0)});
	AddStroke({Vector(0, 0, 60), Vector(100, 0, 60)});
	settings.SetBool(LOOM_GUIDE_SPLINES, false);
	EXPECT_TRUE(Create());
	EXPECT_EQ(plane->GetPolygonCount(), oldPolygons + 15);
}

// ---- Attachment to selected border chains ---------------------------------------------------

class AttachedBuildTest : public SurfaceBuildTest
{
protected:
	// Builds the mesh, selects its chains, makes it active in edge mode.
	PolygonObject* Mesh(MeshMaker& maker)
	{
		PolygonObject* op = maker.Make(doc);
		EXPECT_NE(op, nullptr);
		doc->SetActiveObject(op);
		doc->SetMode(Medges);
		return op;
	}

	struct Snapshot
	{
		std::vector<Vector> points;
		std::vector<CPolygon> polygons;
	};
	static Snapshot Take(const PolygonObject* op)
	{
		Snapshot s;
		s.points.assign(op->GetPointR(), op->GetPointR() + op->GetPointCount());
		s.polygons.assign(op->GetPolygonR(), op->GetPolygonR() + op->GetPolygonCount());
		return s;
	}
	static void ExpectUnchanged(const PolygonObject* op, const Snapshot& s)
	{
		ASSERT_EQ(op->GetPointCount(), static_cast<Int32>(s.points.size()));
		ASSERT_EQ(op->GetPolygonCount(), static_cast<Int32>(s.polygons.size()));
		EXPECT_TRUE(std::equal(s.points.begin(), s.points.end(), op->GetPointR()));
		EXPECT_TRUE(std::equal(s.polygons.begin(), s.polygons.end(), op->GetPolygonR()));
	}
	// The polygons from `first` on use the point: how many of them.
	static Int32 Uses(const PolygonObject* op, Int32 first, Int32 point)
	{
		Int32 n = 0;
		for (Int32 i = first; i < op->GetPolygonCount(); ++i)
		{
			const CPolygon& q = op->GetPolygonR()[i];
			n += (q.a == point || q.b == point || q.c == point || q.d == point) ? 1 : 0;
		}
		return n;
	}
	static Int32 IndexAt(const MeshMaker& m, double x, double z)
	{
		for (size_t i = 0; i < m.points.size(); ++i)
			if (m.points[i] == Vector(x, 0, z))
				return static_cast<Int32>(i);
		return -1;
	}
};

TEST_F(AttachedBuildTest, OneRailJoinsTheNewQuadsToTheBorder)
{
	// A strip below z = 0; its upper border (z = 0, x = 0 .. 40) is the rail.
	MeshMaker m;
	m.Strip(0, -10, 4, true);
	PolygonObject* op = Mesh(m);
	SelectEdges(op, [](const Vector& p) { return p.z == 0.0; });
	const Int32 oldPoints = op->GetPointCount(), oldPolygons = op->GetPolygonCount();
	// Strokes up from the border points at x = 0, 20 and 40 (as snapped, then resampled).
	AddStroke({Vector(0, 0, 0), Vector(0, 0, 25), Vector(0, 0, 50)});
	AddStroke({Vector(20, 0, 0), Vector(20, 0, 50)});
	AddStroke({Vector(40, 0, 0), Vector(40, 0, 50)});
	ASSERT_TRUE(Create());
	// Five rows, one per rail point; the first column is the rail itself.
	EXPECT_EQ(op->GetPointCount(), oldPoints + 5 * 5);
	EXPECT_EQ(op->GetPolygonCount(), oldPolygons + 4 * 5);
	for (Int32 i = 0; i <= 4; ++i)
		EXPECT_EQ(Uses(op, oldPolygons, IndexAt(m, 10.0 * i, 0)), i == 0 || i == 4 ? 1 : 2) << i;
	ExpectFacingTheViewer(op, oldPolygons);
}

TEST_F(AttachedBuildTest, AClosingChainFromTheRailsEndBecomesTheLastRow)
{
	// An L: the strip below z = 0 (rail along z = 0) and a strip right of x = 40 whose left border
	// runs from the rail's last point up to z = 40.
	MeshMaker m;
	m.Strip(0, -10, 4, true);
	m.Strip(40, 0, 4, false);
	PolygonObject* op = Mesh(m);
	SelectEdges(op, [](const Vector& p) { return p.z == 0.0 && p.x <= 40.0; });
	SelectEdges(op, [](const Vector& p) { return p.x == 40.0 && p.z >= 0.0; });
	EdgeChains chains;
	ASSERT_TRUE(DTOOL().BuildEdgeChains(chains, doc, op));
	ASSERT_EQ(chains.chainCount, 2);
	const Int32 oldPoints = op->GetPointCount(), oldPolygons = op->GetPolygonCount();
	AddStroke({Vector(0, 0, 0), Vector(0, 0, 40)});
	AddStroke({Vector(20, 0, 0), Vector(20, 0, 40)});
	ASSERT_TRUE(Create());
	// 5 x 5 grid: the rail is column 0, the closing chain row 4; the rest is new.
	EXPECT_EQ(op->GetPointCount(), oldPoints + 4 * 4);
	EXPECT_EQ(op->GetPolygonCount(), oldPolygons + 4 * 4);
	for (Int32 j = 0; j <= 4; ++j)
		EXPECT_GE(Uses(op, oldPolygons, IndexAt(m, 40, 10.0 * j)), 1) << j;
	ExpectFacingTheViewer(op, oldPolygons);
}

TEST_F(AttachedBuildTest, TwoRailsAndAJoiningChainFillTheGap)
{
	// A U: rail A along z = 0, rail B along z = 40 (the lower border of a strip above), and the
	// strip right of x = 40 joining their ends.
	MeshMaker m;
	m.Strip(0, -10, 4, true);
	m.Strip(0, 40, 4, true);
	m.Strip(40, 0, 4, false);
	PolygonObject* op = Mesh(m);
	SelectEdges(op, [](const Vector& p) { return (p.z == 0.0 || p.z == 40.0) && p.x <= 40.0; });
	SelectEdges(op, [](const Vector& p) { return p.x == 40.0 && p.z >= 0.0 && p.z <= 40.0; });
	const Int32 oldPoints = op->GetPointCount(), oldPolygons = op->GetPolygonCount();
	AddStroke({Vector(0, 0, 0), Vector(0, 0, 40)});
	AddStroke({Vector(20, 0, 0), Vector(20, 0, 40)});
	ASSERT_TRUE(Create());
	// Columns 0 and 4 are the rails, row 4 the joining chain: 4 rows x 3 columns are new.
	EXPECT_EQ(op->GetPointCount(), oldPoints + 4 * 3);
	EXPECT_EQ(op->GetPolygonCount(), oldPolygons + 16);
	for (Int32 i = 0; i <= 4; ++i)
	{
		EXPECT_GE(Uses(op, oldPolygons, IndexAt(m, 10.0 * i, 0)), 1) << i;
		EXPECT_GE(Uses(op, oldPolygons, IndexAt(m, 10.0 * i, 40)), 1) << i;
	}
	ExpectFacingTheViewer(op, oldPolygons);
}

TEST_F(AttachedBuildTest, TwoRailsOfEqualLengthCarryTheStrokesBetweenThem)
{
	MeshMaker m;
	m.Strip(0, -10, 4, true);
	m.Strip(0, 40, 4, true);
	PolygonObject* op = Mesh(m);
	SelectEdges(op, [](const Vector& p) { return p.z == 0.0 || p.z == 40.0; });
	const Int32 oldPoints = op->GetPointCount(), oldPolygons = op->GetPolygonCount();
	AddStroke({Vector(0, 0, 0), Vector(0, 0, 40)});
	AddStroke({Vector(40, 0, 0), Vector(40, 0, 40)});
	ASSERT_TRUE(Create());
	// Five rows along the rails, six columns of which the outer two are the rails.
	EXPECT_EQ(op->GetPointCount(), oldPoints + 5 * 4);
	EXPECT_EQ(op->GetPolygonCount(), oldPolygons + 4 * 5);
	ExpectFacingTheViewer(op, oldPolygons);
}

TEST_F(AttachedBuildTest, RailsOfDifferentLengthsAreRefusedWithTheMeshUntouched)
{
	MeshMaker m;
	m.Strip(0, -10, 4, true);
	m.Strip(0, 40, 3, true);
	PolygonObject* op = Mesh(m);
	SelectEdges(op, [](const Vector& p) { return p.z == 0.0 || p.z == 40.0; });
	const Snapshot before = Take(op);
	const Int32 undos = standin::UndoRecordCount(doc);
	AddStroke({Vector(0, 0, 0), Vector(0, 0, 40)});
	AddStroke({Vector(40, 0, 0), Vector(30, 0, 40)});
	EXPECT_FALSE(tool->BuildSurface(doc, settings));
	ExpectUnchanged(op, before);
	EXPECT_EQ(op->GetNext(), nullptr);
	EXPECT_EQ(standin::UndoRecordCount(doc), undos);
	EXPECT_EQ(tool->GetStrokeCount(), 0);
}

TEST_F(AttachedBuildTest, StrokesBetweenTwoChainsJoinBothWhicheverWayTheyRun)
{
	for (const bool backwards : {false, true})
	{
		SCOPED_TRACE(backwards ? "drawn along -x" : "drawn along +x");
		MeshMaker m;
		m.Strip(0, -10, 4, true);
		m.Strip(0, 40, 4, true);
		PolygonObject* op = Mesh(m);
		SelectEdges(op, [](const Vector& p) { return p.z == 0.0 || p.z == 40.0; });
		const Int32 oldPoints = op->GetPointCount(), oldPolygons = op->GetPolygonCount();
		if (backwards)
			AddStroke({Vector(40, 5, 20), Vector(0, 5, 20)});
		else
			AddStroke({Vector(0, 5, 20), Vector(40, 5, 20)});
		ASSERT_TRUE(Create());
		// Rows: chain, stroke, chain (3 knots, 3 segments apart) of five points each.
		EXPECT_EQ(op->GetPointCount(), oldPoints + 5 * 5);
		EXPECT_EQ(op->GetPolygonCount(), oldPolygons + 6 * 4);
		for (Int32 i = 0; i <= 4; ++i)
		{
			EXPECT_EQ(Uses(op, oldPolygons, IndexAt(m, 10.0 * i, 0)), i == 0 || i == 4 ? 1 : 2) << i;
			EXPECT_EQ(Uses(op, oldPolygons, IndexAt(m, 10.0 * i, 40)), i == 0 || i == 4 ? 1 : 2) << i;
		}
		// No quad is twisted: each faces the viewer.
		ExpectFacingTheViewer(op, oldPolygons);
		BaseObject* dead = op;
		BaseObject::Free(dead);
	}
}

TEST_F(AttachedBuildTest, StrokesOffTheChainsMakeAFreeSurfaceInTheMesh)
{
	MeshMaker m;
	m.Strip(0, -10, 4, true);
	PolygonObject* op = Mesh(m);
	SelectEdges(op, [](const Vector& p) { return p.z == 0.0; });
	const Int32 oldPoints = op->GetPointCount(), oldPolygons = op->GetPolygonCount();
	AddStroke({Vector(0, 0, 20), Vector(40, 0, 20)});
	AddStroke({Vector(0, 0, 50), Vector(40, 0, 50)});
	ASSERT_TRUE(Create());
	EXPECT_EQ(op->GetPointCount(), oldPoints + 24);
	EXPECT_EQ(op->GetPolygonCount(), oldPolygons + 15);
}
