// Attaching strokes to selected border chains: matching stroke ends to chain points, the
// attachment kinds with their rails and closing rows, and the grid rows along a rail.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "Attachment.h"
#include "Rails.h"
#include "StrokeTypes.h"

namespace
{
// Points 0..99 on a 10 x 10 lattice in the x-z plane, 10 units apart: point r * 10 + c at (c, 0, r).
Vector Where(Int32 index)
{
	return Vector((index % 10) * 10.0, 0.0, (index / 10) * 10.0);
}

void Fill(ChainSet& set, const std::vector<std::vector<Int32>>& chains)
{
	for (const auto& chain : chains)
	{
		std::vector<ChainPoint> pts;
		for (Int32 i : chain)
			pts.push_back(ChainPoint{Where(i), i});
		ASSERT_TRUE(set.AddChain(pts.data(), static_cast<Int32>(pts.size())));
	}
}

Stroke Line(const Vector& a, const Vector& b, Int32 points = 2)
{
	Stroke s;
	for (Int32 i = 0; i < points; ++i)
		EXPECT_TRUE(s.AppendPoint(i, a + (b - a) * (static_cast<double>(i) / (points - 1))));
	return s;
}

// The attachment of strokes drawn between the given lattice points (or free positions).
class AttachmentTest : public ::testing::Test
{
protected:
	Attachment Classify(const std::vector<std::vector<Int32>>& chains, std::vector<Stroke>& strokes)
	{
		chainSet.Clear();
		Fill(chainSet, chains);
		ChainPointIndex index;
		EXPECT_TRUE(index.Build(chainSet));
		hits.assign(strokes.size() * 2, ChainHit());
		MatchStrokeEnds(index, strokes.data(), static_cast<Int32>(strokes.size()), hits.data());
		const Stroke& s0 = strokes[0];
		return ClassifyAttachment(chainSet, hits.data(), static_cast<Int32>(strokes.size()), s0[0].pos, s0[s0.GetCount() - 1].pos);
	}

	static void ExpectRun(const ChainRun& run, Int32 chain, Int32 from, Int32 to)
	{
		EXPECT_EQ(run.chain, chain);
		EXPECT_EQ(run.from, from);
		EXPECT_EQ(run.to, to);
	}

	ChainSet chainSet;
	std::vector<ChainHit> hits;
};

// Chains used below: A along the first lattice row, B along the fourth.
const std::vector<Int32> kRowA = {0, 1, 2, 3, 4};
const std::vector<Int32> kRowB = {30, 31, 32, 33, 34};
} // namespace

TEST_F(AttachmentTest, StrokeEndsMatchChainPointsOnlyExactly)
{
	Fill(chainSet, {{0, 1, 2}, {2, 12, 22}});
	ChainPointIndex index;
	ASSERT_TRUE(index.Build(chainSet));
	ChainHit hit = index.Find(Where(1));
	EXPECT_EQ(hit.chain, 0);
	EXPECT_EQ(hit.position, 1);
	// A point on both chains belongs to the later one.
	hit = index.Find(Where(2));
	EXPECT_EQ(hit.chain, 1);
	EXPECT_EQ(hit.position, 0);
	// The next representable coordinate is a miss, and so is anything not a number.
	Vector nearby = Where(12);
	nearby.x = std::nextafter(nearby.x, 1e9);
	EXPECT_FALSE(index.Find(nearby).Found());
	EXPECT_TRUE(index.Find(Where(12)).Found());
	EXPECT_FALSE(index.Find(Vector(std::numeric_limits<double>::quiet_NaN(), 0, 0)).Found());

	// Strokes without points have no ends to match.
	std::vector<Stroke> strokes;
	strokes.push_back(Line(Where(0), Where(22)));
	strokes.emplace_back();
	std::vector<ChainHit> h(4);
	MatchStrokeEnds(index, strokes.data(), 2, h.data());
	EXPECT_EQ(h[0].chain, 0);
	EXPECT_EQ(h[1].chain, 1);
	EXPECT_EQ(h[1].position, 2);
	EXPECT_FALSE(h[2].Found());
	EXPECT_FALSE(h[3].Found());
}

TEST_F(AttachmentTest, StrokesThatStartOffTheChainsMakeAFreeSurface)
{
	std::vector<Stroke> strokes;
	strokes.push_back(Line(Vector(5, 0, 5), Where(4)));
	strokes.push_back(Line(Vector(5, 0, 15), Vector(45, 0, 15)));
	EXPECT_EQ(Classify({kRowA}, strokes).kind, ATTACH_NONE);
	EXPECT_EQ(Classify({kRowA, kRowB, {50, 51}}, strokes).kind, ATTACH_NONE);
	// Both ends on chains, but the last stroke on neither: no kind fits, so a free surface.
	strokes[0] = Line(Where(0), Where(30));
	const Attachment at = Classify({kRowA, kRowB}, strokes);
	EXPECT_EQ(at.kind, ATTACH_NONE);
	EXPECT_TRUE(at.usable);
}

TEST_F(AttachmentTest, OneRailRunsFromTheFirstToTheLastStrokesStart)
{
	// Strokes across the lattice from points 1 and 4 of row A.
	std::vector<Stroke> strokes;
	strokes.push_back(Line(Where(1), Where(61)));
	strokes.push_back(Line(Where(2), Where(62)));
	strokes.push_back(Line(Where(4), Where(64)));
	Attachment at = Classify({{90, 91}, kRowA}, strokes);
	EXPECT_EQ(at.kind, ATTACH_RAIL);
	EXPECT_TRUE(at.usable);
	EXPECT_EQ(at.RailCount(), 1);
	ExpectRun(at.rails[0], 1, 1, 4);

	// Drawn the other way along the chain, the rail runs backwards.
	std::swap(strokes[0], strokes[2]);
	at = Classify({kRowA}, strokes);
	ExpectRun(at.rails[0], 0, 4, 1);
	EXPECT_EQ(at.rails[0].PointAt(chainSet, 1).index, 3);

	// A last stroke that does not start on the rail leaves it without an end.
	strokes[2] = Line(Vector(3, 0, 3), Where(61));
	at = Classify({kRowA}, strokes);
	EXPECT_EQ(at.kind, ATTACH_RAIL);
	EXPECT_FALSE(at.usable);
}

TEST_F(AttachmentTest, AChainFromTheRailsEndClosesTheGrid)
{
	std::vector<Stroke> strokes;
	strokes.push_back(Line(Where(1), Where(31)));
	// R starts where A ends: taken forwards.
	Attachment at = Classify({kRowA, {4, 14, 24, 34}}, strokes);
	EXPECT_EQ(at.kind, ATTACH_RAIL_CLOSED);
	EXPECT_TRUE(at.usable);
	ExpectRun(at.rails[0], 0, 1, 4);
	ExpectRun(at.closing, 1, 0, 3);
	// R ends where A ends: taken backwards.
	at = Classify({{34, 24, 14, 4}, kRowA}, strokes);
	EXPECT_EQ(at.kind, ATTACH_RAIL_CLOSED);
	ExpectRun(at.rails[0], 1, 1, 4);
	ExpectRun(at.closing, 0, 3, 0);
	EXPECT_EQ(at.closing.PointAt(chainSet, 0).index, 4);
}

TEST_F(AttachmentTest, TwoRailsRunAlongBothEndsOfTheStrokes)
{
	std::vector<Stroke> strokes;
	strokes.push_back(Line(Where(0), Where(30)));
	strokes.push_back(Line(Where(3), Where(33)));
	Attachment at = Classify({kRowA, kRowB}, strokes);
	EXPECT_EQ(at.kind, ATTACH_TWO_RAILS);
	EXPECT_TRUE(at.usable);
	EXPECT_EQ(at.RailCount(), 2);
	ExpectRun(at.rails[0], 0, 0, 3);
	ExpectRun(at.rails[1], 1, 0, 3);

	// Rails of different lengths do not make one grid: refused, nothing is read past a rail.
	strokes[1] = Line(Where(3), Where(32));
	at = Classify({kRowA, kRowB}, strokes);
	EXPECT_EQ(at.kind, ATTACH_TWO_RAILS);
	EXPECT_FALSE(at.usable);

	// A single stroke from A to B is its own last stroke: rails of one point, no rows.
	strokes.pop_back();
	at = Classify({kRowA, kRowB}, strokes);
	EXPECT_EQ(at.kind, ATTACH_TWO_RAILS);
	EXPECT_FALSE(at.usable);
}

TEST_F(AttachmentTest, AChainJoiningBothRailsClosesTheGridAndWinsOverTwoRails)
{
	std::vector<Stroke> strokes;
	strokes.push_back(Line(Where(1), Where(31)));
	strokes.push_back(Line(Where(3), Where(33)));
	// C joins A's last point to B's last point.
	const std::vector<Int32> joinLast = {4, 14, 24, 34};
	Attachment at = Classify({kRowA, kRowB, joinLast}, strokes);
	EXPECT_EQ(at.kind, ATTACH_TWO_RAILS_CLOSED);
	EXPECT_TRUE(at.usable);
	ExpectRun(at.rails[0], 0, 1, 4);
	ExpectRun(at.rails[1], 1, 1, 4);
	ExpectRun(at.closing, 2, 0, 3);

	// The same chain stored the other way round: it still runs from A to B.
	at = Classify({kRowA, kRowB, {34, 24, 14, 4}}, strokes);
	EXPECT_EQ(at.kind, ATTACH_TWO_RAILS_CLOSED);
	ExpectRun(at.closing, 2, 3, 0);

	// C joining the first points: the rails run back to them.
	at = Classify({kRowA, kRowB, {0, 10, 20, 30}}, strokes);
	EXPECT_EQ(at.kind, ATTACH_TWO_RAILS_CLOSED);
	ExpectRun(at.rails[0], 0, 1, 0);
	ExpectRun(at.rails[1], 1, 1, 0);

	// B ends one point short, so its rail is shorter than A's: refused.
	at = Classify({kRowA, {30, 31, 32, 33}, {4, 14, 24, 33}}, strokes);
	EXPECT_EQ(at.kind, ATTACH_TWO_RAILS_CLOSED);
	EXPECT_FALSE(at.usable);
}

TEST_F(AttachmentTest, StrokesBetweenTwoChainsRunTheChainsTheirWay)
{
	// A stroke halfway between rows A (z = 0) and B (z = 30), drawn along +x.
	std::vector<Stroke> strokes;
	strokes.push_back(Line(Vector(0, 0, 20), Vector(40, 0, 20)));
	Attachment at = Classify({kRowA, kRowB}, strokes);
	EXPECT_EQ(at.kind, ATTACH_BETWEEN_CHAINS);
	EXPECT_TRUE(at.usable);
	// B is nearer to the stroke's start, so it is the first row.
	ExpectRun(at.outer[0], 1, 0, 4);
	ExpectRun(at.outer[1], 0, 0, 4);

	// Drawn along -x: both chains are taken backwards, so no row crosses another.
	strokes[0] = Line(Vector(40, 0, 5), Vector(0, 0, 5));
	at = Classify({kRowA, {34, 33, 32, 31, 30}}, strokes);
	EXPECT_EQ(at.kind, ATTACH_BETWEEN_CHAINS);
	ExpectRun(at.outer[0], 0, 4, 0);
	ExpectRun(at.outer[1], 1, 0, 4);
	EXPECT_EQ(at.outer[1].PointAt(chainSet, 0).index, 34);

	// Chains of different lengths cannot both be rows of one grid.
	at = Classify({kRowA, {30, 31, 32}}, strokes);
	EXPECT_FALSE(at.usable);
}

TEST_F(AttachmentTest, KnotRowsFindTheirGridRowsAlongTheRail)
{
	Fill(chainSet, {{0, 1, 2, 3, 4, 5}});
	const ChainRun rail{0, 0, 5};
	// Three knot rows of two columns starting at rail points 0, 2 and 5.
	std::vector<Vector> knots = {Where(0), Where(50), Where(2), Where(52), Where(5), Where(55)};
	Int32 rowOf[3] = {};
	ASSERT_TRUE(RowsAlongRail(chainSet, rail, knots.data(), 3, 2, rowOf));
	EXPECT_EQ(rowOf[0], 0);
	EXPECT_EQ(rowOf[1], 2);
	EXPECT_EQ(rowOf[2], 5);
	// Backwards along the same chain the same rows come out mirrored.
	std::vector<Vector> back = {Where(5), Where(55), Where(3), Where(53), Where(0), Where(50)};
	ASSERT_TRUE(RowsAlongRail(chainSet, ChainRun{0, 5, 0}, back.data(), 3, 2, rowOf));
	EXPECT_EQ(rowOf[1], 2);

	std::vector<Vector> offRail = knots;
	offRail[2] = Vector(11, 0, 0);
	EXPECT_FALSE(RowsAlongRail(chainSet, rail, offRail.data(), 3, 2, rowOf));
	std::vector<Vector> outOfOrder = {Where(0), Where(50), Where(4), Where(54), Where(2), Where(52)};
	EXPECT_FALSE(RowsAlongRail(chainSet, rail, outOfOrder.data(), 3, 2, rowOf));
	std::vector<Vector> shortOfTheEnd = {Where(0), Where(50), Where(2), Where(52), Where(4), Where(54)};
	EXPECT_FALSE(RowsAlongRail(chainSet, rail, shortOfTheEnd.data(), 3, 2, rowOf));
}

TEST_F(AttachmentTest, ChainPointsTakeTheirCellsWithTheMeshsPointIndices)
{
	Fill(chainSet, {kRowA, kRowB, {4, 14, 24, 34}});
	Attachment at;
	at.kind = ATTACH_TWO_RAILS_CLOSED;
	at.rails[0] = ChainRun{0, 1, 4};
	at.rails[1] = ChainRun{1, 1, 4};
	at.closing = ChainRun{2, 0, 3};
	SurfaceGrid grid;
	ASSERT_TRUE(grid.Resize(4, 4));
	ASSERT_TRUE(PlaceChainPoints(chainSet, at, grid));
	for (Int32 r = 0; r < 4; ++r)
	{
		EXPECT_EQ(grid.PointAt(r, 0), 1 + r);
		EXPECT_EQ(grid.At(r, 0), Where(1 + r));
		EXPECT_EQ(grid.PointAt(r, 3), 31 + r);
	}
	for (Int32 c = 0; c < 4; ++c)
		EXPECT_EQ(grid.PointAt(3, c), 4 + 10 * c);
	EXPECT_EQ(grid.PointAt(1, 1), -1);

	// A grid of another size is left alone.
	SurfaceGrid other;
	ASSERT_TRUE(other.Resize(5, 4));
	EXPECT_FALSE(PlaceChainPoints(chainSet, at, other));
	EXPECT_EQ(other.PointAt(0, 0), -1);
}
