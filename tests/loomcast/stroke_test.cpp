#include <gtest/gtest.h>

#include <utility>

#include "StrokeTypes.h"
#include "standin/memory.h"

namespace
{
Stroke StrokeOf(Int32 n)
{
	Stroke s;
	for (Int32 i = 0; i < n; ++i)
		EXPECT_TRUE(s.AppendPoint(i, Vector(i, 2.0 * i, -i)));
	return s;
}

void ExpectIntact(const Stroke& s, Int32 n)
{
	ASSERT_EQ(s.GetCount(), n);
	for (Int32 i = 0; i < n; ++i)
	{
		EXPECT_EQ(s[i].index, i);
		EXPECT_EQ(s[i].pos, Vector(i, 2.0 * i, -i));
	}
}
} // namespace

TEST(StrokeTest, GrowingKeepsEveryPointInHostMemory)
{
	Stroke s = StrokeOf(1000);
	ExpectIntact(s, 1000);
	EXPECT_GE(s.GetCapacity(), 1000);
	EXPECT_EQ(s[999].weight, 0.0);
	EXPECT_EQ(s[999].origin, Vector());

	standin::AllocationInfo info;
	ASSERT_TRUE(standin::QueryAllocation(s.GetPoints(), &info));
	EXPECT_EQ(info.sourcePath, "source\\Dtool");
}

TEST(StrokeTest, RefusedGrowthLeavesTheStrokeAsItWas)
{
	Stroke s = StrokeOf(1);
	while (s.GetCount() < s.GetCapacity())
		ASSERT_TRUE(s.AppendPoint(s.GetCount(), Vector(s.GetCount(), 2.0 * s.GetCount(), -s.GetCount())));
	const Int32 full = s.GetCount();
	const Int32 capacity = s.GetCapacity();

	standin::FailAllocationsAfter(0);
	const bool grown = s.AppendPoint(full, Vector(full, 2.0 * full, -full));
	standin::FailAllocationsAfter(-1);

	EXPECT_FALSE(grown);
	EXPECT_EQ(s.GetCapacity(), capacity);
	ExpectIntact(s, full);
	// The next growth works again and still keeps everything.
	EXPECT_TRUE(s.AppendPoint(full, Vector(full, 2.0 * full, -full)));
	ExpectIntact(s, full + 1);
}

TEST(StrokeTest, RefusedFirstBlockLeavesAnEmptyStroke)
{
	Stroke s;
	standin::FailAllocationsAfter(0);
	EXPECT_FALSE(s.AppendPoint(0, Vector(1, 1, 1)));
	standin::FailAllocationsAfter(0);
	EXPECT_FALSE(s.Reserve(4));
	standin::FailAllocationsAfter(-1);
	EXPECT_EQ(s.GetCount(), 0);
	EXPECT_EQ(s.GetCapacity(), 0);
	EXPECT_EQ(s.GetPoints(), nullptr);
}

TEST(StrokeTest, RemovingKeepsTheOrderOfTheRest)
{
	Stroke s = StrokeOf(5);
	s.RemoveAt(0);
	s.RemoveAt(2); // the former point 3
	s.RemoveAt(-1);
	s.RemoveAt(3);
	ASSERT_EQ(s.GetCount(), 3);
	// Points keep their numbers; removal does not renumber.
	EXPECT_EQ(s[0].index, 1);
	EXPECT_EQ(s[1].index, 2);
	EXPECT_EQ(s[2].index, 4);
	s.RemoveAt(2);
	s.RemoveAt(0);
	s.RemoveAt(0);
	EXPECT_TRUE(s.IsEmpty());
}

TEST(StrokeTest, MovingHandsOverTheBlockAndFreeingReturnsIt)
{
	const Int64 before = standin::LiveAllocationCount();
	{
		Stroke a = StrokeOf(20);
		Stroke b = std::move(a);
		EXPECT_EQ(a.GetCount(), 0);
		EXPECT_EQ(a.GetPoints(), nullptr);
		ExpectIntact(b, 20);

		Stroke c = StrokeOf(3);
		c = std::move(b);
		ExpectIntact(c, 20);
		EXPECT_EQ(standin::LiveAllocationCount(), before + 1);

		c.Clear();
		EXPECT_EQ(c.GetCount(), 0);
		EXPECT_GE(c.GetCapacity(), 20);
		c.Free();
		EXPECT_EQ(c.GetCapacity(), 0);
	}
	EXPECT_EQ(standin::LiveAllocationCount(), before);
}
