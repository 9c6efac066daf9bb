// Sampling a stroke into a grid row: the host's resampling, then evenly spaced points along it.
#include <gtest/gtest.h>

#include <vector>

#include "SurfaceBuild.h"
#include "hostapi/document.h"
#include "hostapi/modeling.h"

namespace
{
Stroke Wiggle()
{
	Stroke s;
	const Vector pts[] = {{0.1, 0.2, 0.3}, {13.7, 4.1, -2.0}, {13.7, 4.1, -2.0}, {30.0, -9.5, 7.25}, {31.0, -9.0, 40.0}, {55.5, 3.0, 41.0}};
	for (Int32 i = 0; i < 6; ++i)
		EXPECT_TRUE(s.AppendPoint(i, pts[i]));
	return s;
}

// The same row the slow way: the host's resampled spline sampled point by point.
std::vector<Vector> HostRow(BaseDocument* doc, const Stroke& stroke, Int32 segments, Int32 n)
{
	SplineObject* spline = SplineObject::Alloc(stroke.GetCount(), SPLINETYPE_BEZIER);
	for (Int32 i = 0; i < stroke.GetCount(); ++i)
		spline->GetPointW()[i] = stroke[i].pos;
	spline->GetDataInstance()->SetInt32(SPLINEOBJECT_INTERPOLATION, 2);
	BaseContainer params;
	params.SetInt32(MDATA_SPLINE_RESAMPLE_MODE, 4);
	params.SetInt32(MDATA_SPLINE_RESAMPLE_COUNT, 2 * segments);
	ModelingCommandData cd;
	cd.doc = doc;
	cd.op = spline;
	cd.bc = &params;
	EXPECT_TRUE(SendModelingCommand(MCOMMAND_SPLINE_RESAMPLE, cd));
	// Every sampler of the host: the walk, the table (the one rows of chain-bound strokes are
	// taken with) and the table for many offsets at once all give the same points.
	std::vector<Vector> row, byTable, many(static_cast<size_t>(n));
	for (Int32 j = 0; j < n; ++j)
	{
		row.push_back(spline->SampleUniform(static_cast<Float>(j) / (n - 1)));
		byTable.push_back(spline->SampleUniformByTable(static_cast<Float>(j) / (n - 1)));
	}
	spline->SampleUniformMany(n, many.data());
	EXPECT_EQ(byTable, row);
	EXPECT_EQ(many, row);
	BaseObject* dead = spline;
	BaseObject::Free(dead);
	return row;
}
} // namespace

TEST(BuildSamplesTest, RowsMatchTheHostsSamplerAndKeepTheStrokesEnds)
{
	BaseDocument* doc = BaseDocument::Alloc();
	const Stroke stroke = Wiggle();
	for (const auto& [segments, n] : {std::pair{5, 6}, std::pair{3, 11}, std::pair{40, 7}, std::pair{1, 2}})
	{
		std::vector<Vector> row(static_cast<size_t>(n));
		ASSERT_TRUE(SampleStroke(doc, stroke, segments, n, row.data()));
		const std::vector<Vector> want = HostRow(doc, stroke, segments, n);
		for (Int32 j = 1; j + 1 < n; ++j)
			EXPECT_EQ(row[static_cast<size_t>(j)], want[static_cast<size_t>(j)]) << segments << " " << j;
		EXPECT_EQ(row.front(), stroke[0].pos);
		EXPECT_EQ(row.back(), stroke[5].pos);
	}
	BaseDocument::Free(doc);
}

TEST(BuildSamplesTest, StrokesWithoutLengthOrPointsAndBadCounts)
{
	BaseDocument* doc = BaseDocument::Alloc();
	Stroke dot;
	ASSERT_TRUE(dot.AppendPoint(0, Vector(4, 5, 6)));
	std::vector<Vector> row(5);
	ASSERT_TRUE(SampleStroke(doc, dot, 2, 5, row.data()));
	for (const Vector& v : row)
		EXPECT_EQ(v, Vector(4, 5, 6));
	Stroke empty;
	EXPECT_FALSE(SampleStroke(doc, empty, 2, 5, row.data()));
	EXPECT_FALSE(SampleStroke(doc, dot, 0, 5, row.data()));
	EXPECT_FALSE(SampleStroke(doc, dot, 2, 1, row.data()));
	BaseDocument::Free(doc);
}
