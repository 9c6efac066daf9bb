// Many samples of a spline at once give exactly what one sample at a time gives.
#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <vector>

#include "hostapi/objects.h"

TEST(SplineSampleMany, MatchesSingleSamplesAtEveryOffset)
{
	SplineObject* spline = SplineObject::Alloc(4, SPLINETYPE_LINEAR);
	ASSERT_NE(spline, nullptr);
	Vector* p = spline->GetPointW();
	p[0] = Vector(0, 0, 0);
	p[1] = Vector(10, 0, 0);
	p[2] = Vector(10, 30, 0);
	p[3] = Vector(10, 30, 5);
	for (const Int32 count : {1, 2, 5, 17})
	{
		std::vector<Vector> many(static_cast<size_t>(count));
		spline->SampleUniformMany(count, many.data());
		for (Int32 i = 0; i < count; ++i)
		{
			const Float t = count == 1 ? 0.0 : static_cast<Float>(i) / (count - 1);
			const Vector one = spline->SampleUniform(t);
			EXPECT_NEAR(many[static_cast<size_t>(i)].x, one.x, 1e-9) << count << " " << i;
			EXPECT_NEAR(many[static_cast<size_t>(i)].y, one.y, 1e-9) << count << " " << i;
			EXPECT_NEAR(many[static_cast<size_t>(i)].z, one.z, 1e-9) << count << " " << i;
		}
	}
	// Nothing is written for a count below 1.
	Vector untouched(7, 7, 7);
	spline->SampleUniformMany(0, &untouched);
	EXPECT_EQ(untouched, Vector(7, 7, 7));
	BaseObject* gone = spline;
	BaseObject::Free(gone);
}

TEST(SplineSampleMany, PiecesOfNoLengthGiveTheSameSamplesToTheLastBit)
{
	// Repeated points (pieces of length 0) at the start, the middle and the end: the run of
	// samples walks past them exactly as a single sample searches past them.
	const Vector points[] = {{0, 0, 0}, {0, 0, 0}, {3, 4, 0}, {3, 4, 0}, {3, 4, 0}, {3, 4, 12}, {7, 1, 2}, {7, 1, 2}};
	SplineObject* spline = SplineObject::Alloc(8, SPLINETYPE_LINEAR);
	ASSERT_NE(spline, nullptr);
	std::copy(std::begin(points), std::end(points), spline->GetPointW());
	for (const Int32 count : {2, 3, 7, 64, 201})
	{
		std::vector<Vector> many(static_cast<size_t>(count));
		spline->SampleUniformMany(count, many.data());
		for (Int32 i = 0; i < count; ++i)
			EXPECT_EQ(many[static_cast<size_t>(i)], spline->SampleUniform(static_cast<Float>(i) / (count - 1))) << count << " " << i;
	}
	BaseObject* gone = spline;
	BaseObject::Free(gone);
}
