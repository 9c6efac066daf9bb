// The host allocator: tags, zero-filling, size limits, realloc and failure injection.
#include <gtest/gtest.h>

#include <cstring>
#include <thread>
#include <vector>

#include "standin/console.h"
#include "standin/memory.h"

namespace
{

bool AllZero(const void* block, size_t n)
{
	const auto* p = static_cast<const unsigned char*>(block);
	for (size_t i = 0; i < n; ++i)
		if (p[i] != 0)
			return false;
	return true;
}

class HostMemory : public ::testing::Test
{
protected:
	void TearDown() override { standin::FailAllocationsAfter(-1); }
};

TEST_F(HostMemory, BlocksAreTaggedZeroFilledAndForgottenWhenFreed)
{
	const Int64 before = standin::LiveAllocationCount();
	void* block = HostAlloc(64, 42, "source\\Dtool");
	ASSERT_NE(block, nullptr);
	EXPECT_TRUE(AllZero(block, 64));
	standin::AllocationInfo info;
	ASSERT_TRUE(standin::QueryAllocation(block, &info));
	EXPECT_EQ(info.size, 64);
	EXPECT_EQ(info.line, 42);
	EXPECT_EQ(info.sourcePath, "source\\Dtool");
	EXPECT_EQ(standin::LiveAllocationCount(), before + 1);

	HostFree(block);
	EXPECT_FALSE(standin::QueryAllocation(block, &info));
	EXPECT_EQ(standin::LiveAllocationCount(), before);
	HostFree(nullptr); // ignored
}

TEST_F(HostMemory, SizeZeroIsRaisedToOneAndHostileSizesAreRefused)
{
	void* block = HostAlloc(0, 1, "t");
	ASSERT_NE(block, nullptr);
	standin::AllocationInfo info;
	ASSERT_TRUE(standin::QueryAllocation(block, &info));
	EXPECT_EQ(info.size, 1);
	HostFree(block);

	EXPECT_EQ(HostAlloc(-1, 1, "t"), nullptr);
	EXPECT_EQ(HostAlloc((Int64(1) << 30) + 1, 1, "t"), nullptr);
	EXPECT_EQ(HostAlloc(INT64_MAX, 1, "t"), nullptr);
	// A typical overflowed count * size lands negative.
	EXPECT_EQ(NewMemClear(double, -5, "t"), nullptr);
}

TEST_F(HostMemory, ReallocKeepsContentZeroFillsGrowthAndTakesTheNewTag)
{
	auto* block = static_cast<unsigned char*>(HostAlloc(8, 10, "old"));
	ASSERT_NE(block, nullptr);
	std::memset(block, 0xAB, 8);
	auto* grown = static_cast<unsigned char*>(HostRealloc(block, 4096, 20, "new"));
	ASSERT_NE(grown, nullptr);
	for (int i = 0; i < 8; ++i)
		EXPECT_EQ(grown[i], 0xAB);
	EXPECT_TRUE(AllZero(grown + 8, 4096 - 8));
	standin::AllocationInfo info;
	ASSERT_TRUE(standin::QueryAllocation(grown, &info));
	EXPECT_EQ(info.size, 4096);
	EXPECT_EQ(info.line, 20);
	EXPECT_EQ(info.sourcePath, "new");

	auto* shrunk = static_cast<unsigned char*>(HostRealloc(grown, 0, 30, "new"));
	ASSERT_NE(shrunk, nullptr);
	EXPECT_EQ(shrunk[0], 0xAB);
	ASSERT_TRUE(standin::QueryAllocation(shrunk, &info));
	EXPECT_EQ(info.size, 1);

	// A refused size leaves the old block valid and untouched.
	EXPECT_EQ(HostRealloc(shrunk, -3, 40, "x"), nullptr);
	EXPECT_TRUE(standin::QueryAllocation(shrunk, &info));
	HostFree(shrunk);

	void* fresh = HostRealloc(nullptr, 16, 50, "fresh");
	ASSERT_NE(fresh, nullptr);
	EXPECT_TRUE(standin::QueryAllocation(fresh, &info));
	EXPECT_EQ(info.sourcePath, "fresh");
	HostFree(fresh);
}

TEST_F(HostMemory, FailureInjectionFailsExactlyTheChosenRequest)
{
	standin::FailAllocationsAfter(2);
	void* a = HostAlloc(4, 1, "t");
	void* b = HostAlloc(4, 1, "t");
	void* c = HostAlloc(4, 1, "t");
	void* d = HostAlloc(4, 1, "t");
	EXPECT_NE(a, nullptr);
	EXPECT_NE(b, nullptr);
	EXPECT_EQ(c, nullptr);
	EXPECT_NE(d, nullptr);

	// A failed realloc keeps the old block.
	static_cast<char*>(a)[0] = 7;
	standin::FailAllocationsAfter(0);
	EXPECT_EQ(HostRealloc(a, 100, 1, "t"), nullptr);
	standin::AllocationInfo info;
	ASSERT_TRUE(standin::QueryAllocation(a, &info));
	EXPECT_EQ(info.size, 4);
	EXPECT_EQ(static_cast<char*>(a)[0], 7);

	for (void* p : {a, b, d})
		HostFree(p);
}

TEST_F(HostMemory, ForeignAndDoubleFreesAreRefusedWithACriticalLine)
{
	standin::ClearConsole();
	int local = 5;
	HostFree(&local);
	EXPECT_EQ(HostRealloc(&local, 8, 1, "t"), nullptr);
	void* block = HostAlloc(4, 1, "t");
	HostFree(block);
	HostFree(block);
	const auto lines = standin::ConsoleLines();
	ASSERT_EQ(lines.size(), 3u);
	for (const std::string& line : lines)
		EXPECT_EQ(line.rfind("CRITICAL: ", 0), 0u) << line;
	EXPECT_EQ(local, 5);
}

TEST_F(HostMemory, ObjectsConstructInHostMemoryAndDestroyOnce)
{
	struct Counted
	{
		explicit Counted(int* n) : count(n) { ++*count; }
		~Counted() { --*count; }
		int* count;
	};
	int alive = 0;
	Counted* obj = NewObjTagged(Counted, "source\\Test", &alive);
	ASSERT_NE(obj, nullptr);
	EXPECT_EQ(alive, 1);
	EXPECT_TRUE(standin::QueryAllocation(obj, nullptr));
	DeleteObj(obj);
	EXPECT_EQ(obj, nullptr);
	EXPECT_EQ(alive, 0);

	standin::FailAllocationsAfter(0);
	EXPECT_EQ(NewObjTagged(Counted, "source\\Test", &alive), nullptr);
	EXPECT_EQ(alive, 0);
}

TEST_F(HostMemory, ConcurrentUseKeepsTheTableConsistent)
{
	const Int64 before = standin::LiveAllocationCount();
	std::vector<std::thread> threads;
	for (int t = 0; t < 4; ++t)
		threads.emplace_back([t] {
			for (int i = 0; i < 2000; ++i)
			{
				void* p = HostAlloc(16 + i % 7, t, "thread");
				p = HostRealloc(p, 64, t, "thread");
				HostFree(p);
			}
		});
	for (auto& th : threads)
		th.join();
	EXPECT_EQ(standin::LiveAllocationCount(), before);
}

} // namespace
