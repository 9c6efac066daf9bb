// Edge chains, edge lines, free ends under the mouse and edge winding on small meshes.
#include <gtest/gtest.h>

#include <initializer_list>
#include <vector>

#include "Dtool.h"
#include "standin/memory.h"
#include "standin/scene.h"
#include "front_view.h"
#include "standin/views.h"

namespace
{
class EdgeTest : public ::testing::Test
{
protected:
	void SetUp() override
	{
		doc = standin::NewDocument();
		ASSERT_NE(doc, nullptr);
		doc->SetMode(Medges);
	}
	void TearDown() override { standin::CloseAllDocuments(); }

	PolygonObject* Mesh(std::initializer_list<Vector> points, std::initializer_list<CPolygon> polys)
	{
		PolygonObject* op = PolygonObject::Alloc(static_cast<Int32>(points.size()), static_cast<Int32>(polys.size()));
		EXPECT_NE(op, nullptr);
		Int32 i = 0;
		for (const Vector& p : points)
			op->GetPointW()[i++] = p;
		i = 0;
		for (const CPolygon& p : polys)
			op->GetPolygonW()[i++] = p;
		doc->InsertObject(op, nullptr, nullptr);
		return op;
	}

	// Three quads in a row along x: bottom points 0..3 (y = 0), top points 4..7 (y = 10).
	// Quad k = (k, k+1, k+5, k+4); its side 0 (bottom) is a border edge.
	PolygonObject* Strip()
	{
		return Mesh({{0, 0, 0}, {10, 0, 0}, {20, 0, 0}, {30, 0, 0}, {0, 10, 0}, {10, 10, 0}, {20, 10, 0}, {30, 10, 0}},
					{{0, 1, 5, 4}, {1, 2, 6, 5}, {2, 3, 7, 6}});
	}

	static void Select(PolygonObject* op, std::initializer_list<Int32> edges)
	{
		for (const Int32 e : edges)
			op->GetEdgeS()->Select(e);
	}

	static std::vector<Int32> Points(const EdgeChain& chain) { return std::vector<Int32>(chain.points, chain.points + chain.count); }

	static std::vector<Int32> Points(const EdgeLineData& line)
	{
		std::vector<Int32> out;
		for (const EdgeLineNode* n = line.head; n; n = n->next)
			out.push_back(n->point);
		return out;
	}

	DTOOL tool;
	BaseDocument* doc = nullptr;
};

TEST_F(EdgeTest, OneBorderEdgeOfOneQuadIsAChainOfTwoPoints)
{
	PolygonObject* op = Mesh({{0, 0, 0}, {10, 0, 0}, {10, 0, 10}, {0, 0, 10}}, {{0, 1, 2, 3}});
	Select(op, {0});
	EdgeChains chains;
	ASSERT_TRUE(tool.BuildEdgeChains(chains, doc, op));
	ASSERT_EQ(chains.chainCount, 1);
	EXPECT_EQ(Points(chains.chains[0]), (std::vector<Int32>{0, 1}));
	// The quad's diagonal cross product (10,0,10) x (-10,0,10) points down: (0,-200,0) + (0,1,0).
	EXPECT_NEAR(chains.meanNormal.y, -1.0, 1e-12);
	EXPECT_EQ(chains.mark, -1);
	tool.ClearEdgeChains(chains);
	EXPECT_EQ(chains.chainCount, 0);
	EXPECT_EQ(chains.chains, nullptr);
	EXPECT_EQ(chains.meanNormal, Vector());
}

TEST_F(EdgeTest, ConsecutiveBorderEdgesOfAStripChainInStripOrder)
{
	PolygonObject* op = Strip();
	Select(op, {8, 0, 4}); // selection ranges come back in edge order whatever the order of selecting
	EdgeChains chains;
	ASSERT_TRUE(tool.BuildEdgeChains(chains, doc, op));
	ASSERT_EQ(chains.chainCount, 1);
	EXPECT_EQ(Points(chains.chains[0]), (std::vector<Int32>{0, 1, 2, 3}));

	// Two separate runs: the ends of the strip.
	op->GetEdgeS()->DeselectAll();
	Select(op, {0, 8});
	ASSERT_TRUE(tool.BuildEdgeChains(chains, doc, op));
	ASSERT_EQ(chains.chainCount, 2);
	EXPECT_EQ(Points(chains.chains[0]), (std::vector<Int32>{0, 1}));
	EXPECT_EQ(Points(chains.chains[1]), (std::vector<Int32>{2, 3}));
}

TEST_F(EdgeTest, ChainsNeedAPolygonObjectEdgeModeAndASelection)
{
	PolygonObject* op = Strip();
	EdgeChains chains;
	EXPECT_FALSE(tool.BuildEdgeChains(chains, doc, op)); // nothing selected
	Select(op, {0});
	doc->SetMode(Mpolygons);
	EXPECT_FALSE(tool.BuildEdgeChains(chains, doc, op));
	doc->SetMode(Medges);
	BaseObject* null = BaseObject::Alloc(Onull);
	EXPECT_FALSE(tool.BuildEdgeChains(chains, doc, null));
	BaseObject::Free(null);
	EXPECT_FALSE(tool.BuildEdgeChains(chains, doc, nullptr));
	EXPECT_EQ(chains.chainCount, 0);
	// Refused memory: false, nothing held.
	standin::FailAllocationsAfter(1);
	EXPECT_FALSE(tool.BuildEdgeChains(chains, doc, op));
	standin::FailAllocationsAfter(-1);
	EXPECT_EQ(chains.chainCount, 0);
	EXPECT_EQ(chains.chains, nullptr);
}

TEST_F(EdgeTest, AClosedRingGivesNoChain)
{
	// A ring of four quads around a square hole; the inner border edges (side 2) form a loop.
	// Outer points 0..3, inner points 4..7.
	PolygonObject* op = Mesh({{0, 0, 0}, {30, 0, 0}, {30, 0, 30}, {0, 0, 30}, {10, 0, 10}, {20, 0, 10}, {20, 0, 20}, {10, 0, 20}},
							 {{0, 1, 5, 4}, {1, 2, 6, 5}, {2, 3, 7, 6}, {3, 0, 4, 7}});
	Select(op, {2, 6, 10, 14});
	EdgeChains chains;
	EXPECT_TRUE(tool.BuildEdgeChains(chains, doc, op));
	EXPECT_EQ(chains.chainCount, 0);
	EdgeLineData line;
	EXPECT_FALSE(tool.BuildEdgeLine(line, op, Vector()));
	EXPECT_EQ(line.pointCount, 0);
	EXPECT_TRUE(line.IsEmpty());
}

TEST_F(EdgeTest, DegenerateAndDoubleSelectionsAreReadOnce)
{
	// Two triangles sharing edge 1-2; triangle side 2 (c-c) and numbers past the polygons are
	// selected too, and the shared edge is selected on both triangles.
	PolygonObject* op = Mesh({{0, 0, 0}, {10, 0, 0}, {0, 0, 10}, {10, 0, 10}}, {{0, 1, 2}, {1, 3, 2}});
	Select(op, {2, 6, 1, 7, 99});
	EdgeChains chains;
	ASSERT_TRUE(tool.BuildEdgeChains(chains, doc, op));
	ASSERT_EQ(chains.chainCount, 1);
	EXPECT_EQ(Points(chains.chains[0]), (std::vector<Int32>{1, 2}));
	EdgeLineData line;
	ASSERT_TRUE(tool.BuildEdgeLine(line, op, Vector()));
	EXPECT_EQ(line.pointCount, 2);
}

TEST_F(EdgeTest, EdgeLineWalksFromTheNearerFreeEnd)
{
	PolygonObject* op = Strip();
	Matrix mg;
	mg.off = Vector(100.0, 0.0, 0.0);
	op->SetMg(mg);
	Select(op, {0, 4, 8});
	EdgeLineData line;
	ASSERT_TRUE(tool.BuildEdgeLine(line, op, Vector(131.0, 0.0, 0.0)));
	EXPECT_EQ(line.pointCount, 4);
	EXPECT_EQ(Points(line), (std::vector<Int32>{3, 2, 1, 0}));
	EXPECT_EQ(line.head->base, Vector(130.0, 0.0, 0.0));
	EXPECT_EQ(line.head->target, Vector());
	EXPECT_EQ(line.tail->base, Vector(100.0, 0.0, 0.0));
	EXPECT_EQ(line.GetObject(doc), op);
	EXPECT_EQ(line.NodeAt(2)->point, 1);
	EXPECT_EQ(line.NodeAt(4), nullptr);

	// Equal distances keep the earlier candidate (point 0, the first free end in record order).
	ASSERT_TRUE(tool.BuildEdgeLine(line, op, Vector(115.0, 0.0, 0.0)));
	EXPECT_EQ(Points(line), (std::vector<Int32>{0, 1, 2, 3}));
	tool.ClearEdgeLine(line);
	EXPECT_EQ(line.pointCount, 0);
	EXPECT_EQ(line.GetObject(doc), nullptr);
}

TEST_F(EdgeTest, EdgeLineCountsAnEdgeSelectedOnBothPolygonsOnce)
{
	PolygonObject* op = Strip();
	// Edge 1-5 is side 1 of quad 0 and side 3 of quad 1. Counted twice, point 1 would look like a
	// branch and point 5 like an inner point of the run.
	Select(op, {0, 1, 7});
	EdgeLineData line;
	ASSERT_TRUE(tool.BuildEdgeLine(line, op, Vector(0.0, 0.0, 0.0)));
	EXPECT_EQ(Points(line), (std::vector<Int32>{0, 1, 5}));
}

TEST_F(EdgeTest, EdgeLineForgetsAnObjectThatWasDeleted)
{
	PolygonObject* op = Strip();
	Select(op, {0});
	EdgeLineData line;
	ASSERT_TRUE(tool.BuildEdgeLine(line, op, Vector()));
	BaseObject* gone = op;
	BaseObject::Free(gone);
	EXPECT_EQ(line.GetObject(doc), nullptr);
	EXPECT_EQ(line.pointCount, 2);
}

TEST_F(EdgeTest, OpenEndUnderCursorReportsOnlyFreeEnds)
{
	std::string error;
	BaseDraw* bd = AddFrontView(doc, &error); // world (x, y) at pixel (320 + x, 240 - y)
	ASSERT_NE(bd, nullptr);
	PolygonObject* op = Strip();
	Select(op, {0, 4});
	Vector pos;
	Int32 found = 0, point = -1;
	ASSERT_TRUE(tool.OpenEndUnderCursor(op, bd, 341.0, 241.0, &pos, &found, &point)); // near point 2 (20, 0)
	EXPECT_EQ(point, 2);
	EXPECT_EQ(found, 1);
	EXPECT_EQ(pos, Vector(20.0, 0.0, 0.0));
	// Point 1 joins the two edges: not a free end.
	EXPECT_FALSE(tool.OpenEndUnderCursor(op, bd, 330.0, 240.0, &pos, &found, &point));
	op->GetEdgeS()->DeselectAll();
	EXPECT_FALSE(tool.OpenEndUnderCursor(op, bd, 341.0, 241.0, &pos, &found, &point));
}

TEST_F(EdgeTest, EdgeRunsForwardFollowsTheFirstPolygonsWinding)
{
	PolygonObject* op = Mesh({{0, 0, 0}, {10, 0, 0}, {0, 0, 10}, {10, 0, 10}}, {{0, 1, 2}, {1, 3, 2}});
	EXPECT_TRUE(tool.EdgeRunsForward(0, 1, op));
	EXPECT_FALSE(tool.EdgeRunsForward(1, 0, op));
	EXPECT_TRUE(tool.EdgeRunsForward(2, 0, op));  // triangle side c-a
	EXPECT_FALSE(tool.EdgeRunsForward(0, 2, op));
	EXPECT_TRUE(tool.EdgeRunsForward(0, 3, op));  // no polygon on it
	EXPECT_TRUE(tool.EdgeRunsForward(-4, 99, op)); // outside the points
	EXPECT_FALSE(tool.EdgeRunsForward(0, 1, nullptr));
}
} // namespace
