// The view commands of session scripts: views, edge selections, modes and inspect-pixel.
#include <gtest/gtest.h>

#include <sstream>

#include "hostapi/api.h"
#include "standin/scene.h"
#include "standin/session.h"
#include "standin/views.h"

namespace
{
struct Result
{
	int status = 0;
	std::string out;
	std::string err;
};

Result RunViews(const std::string& script)
{
	std::ostringstream out, err;
	Result r;
	r.status = standin::RunSessionText(script, "views.session", out, err, {});
	r.out = out.str();
	r.err = err.str();
	return r;
}

class ViewSession : public ::testing::Test
{
protected:
	void TearDown() override { standin::CloseAllDocuments(); }
};

const char* kScene = "new-document\n"
					 "add-object plane Floor 400 2\n"
					 "add-object cube Box 100\n"
					 "set-position Box 0 50 0\n"
					 "add-view top\n";

TEST_F(ViewSession, InspectPixelListsObjectsNearestFirst)
{
	const Result r = RunViews(std::string(kScene) + "inspect-pixel 320 240\ninspect-pixel 500 240\n");
	ASSERT_EQ(r.status, 0) << r.err;
	const auto box = r.out.find("object Box depth 99900");
	const auto floor = r.out.find("object Floor depth 100000");
	ASSERT_NE(box, std::string::npos) << r.out;
	ASSERT_NE(floor, std::string::npos) << r.out;
	EXPECT_LT(box, floor);
	EXPECT_NE(r.out.find("work plane: (0;0;0)"), std::string::npos);
	EXPECT_NE(r.out.find("pixel 500 240\n  depth 0: (180;100000;0)"), std::string::npos) << r.out;
}

TEST_F(ViewSession, ViewCommandsSetTheActiveView)
{
	const Result r = RunViews("new-document\nadd-view parallel 10\nset-frame 0 0 99 49\nset-view-scale 2\nset-camera 0 0 0 1 2 3\nset-mode edges\n");
	ASSERT_EQ(r.status, 0) << r.err;
	BaseDocument* doc = GetActiveDocument();
	ASSERT_NE(doc, nullptr);
	BaseDraw* bd = doc->GetActiveBaseDraw();
	EXPECT_EQ(bd->GetProjection(), 10);
	EXPECT_EQ(standin::GetParallelScale(bd), 2.0);
	EXPECT_EQ(bd->GetEditorCamera()->GetMg().off, Vector(1.0, 2.0, 3.0));
	Int32 r0 = 0, b0 = 0;
	bd->GetFrame(nullptr, nullptr, &r0, &b0);
	EXPECT_EQ(r0, 99);
	EXPECT_EQ(b0, 49);
	EXPECT_EQ(doc->GetMode(), Medges);
}

TEST_F(ViewSession, EdgesAreSelectedByNumberOrByPointPair)
{
	const Result r = RunViews(std::string(kScene) + "select-edges Floor 3\nselect-edge-points Floor 2 1\nprint-edge-selection Floor\n");
	ASSERT_EQ(r.status, 0) << r.err;
	EXPECT_NE(r.out.find("edge selection of Floor: 3-3 7-7\n  edge 3: 1 0\n  edge 7: 2 1\n"), std::string::npos) << r.out;
}

TEST_F(ViewSession, BadLinesAreRefusedBeforeAnythingChanges)
{
	for (const char* bad : {"set-projection 3\n", "add-view sideways\n", "add-view perspective 9\n", "set-frame 10 0 5 5\n", "set-mode vertices\n",
							"set-snap 999 on\n", "inspect-pixel 1 x\n"})
	{
		const Result r = RunViews(std::string("new-document\n") + bad);
		EXPECT_NE(r.status, 0) << bad;
		EXPECT_NE(r.err.find("views.session:2:"), std::string::npos) << bad << r.err;
	}
	// A bad edge number among good ones selects none of them.
	const Result r = RunViews(std::string(kScene) + "select-edges Floor 3 16\n");
	EXPECT_NE(r.status, 0);
	EXPECT_NE(r.err.find("has no edge 16"), std::string::npos) << r.err;
	BaseObject* floor = GetActiveDocument()->SearchObject("Floor");
	ASSERT_NE(floor, nullptr);
	EXPECT_EQ(static_cast<PolygonObject*>(floor)->GetEdgeS()->GetCount(), 0);
	EXPECT_NE(RunViews(std::string(kScene) + "select-edge-points Floor 0 8\n").status, 0);
	EXPECT_NE(RunViews(std::string(kScene) + "select-edges Box 1\nselect-edges Nowhere 1\n").status, 0);
}
} // namespace
