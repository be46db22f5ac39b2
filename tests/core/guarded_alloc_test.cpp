#include "core/guarded_alloc.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

#include "platform/headless_platform.h"

namespace kiv {
namespace {

using platform::HeadlessPlatform;

// Runs with blocks cut from slabs and with blocks straight from the heap.
class GuardedAllocatorTest : public ::testing::TestWithParam<bool> {
 protected:
  HeadlessPlatform platform;
  GuardedAllocator alloc{platform, GuardedAllocator::kRamThreshold, GetParam()};
};

TEST_P(GuardedAllocatorTest, CountsGrossSizesAndKeepsThePeak) {
  void* small = alloc.allocate(1);
  void* odd = alloc.allocate(100);
  void* big = alloc.allocate(GuardedAllocator::kMaxRequest);
  EXPECT_EQ(GuardedAllocator::capacity(small), 8u);
  EXPECT_EQ(GuardedAllocator::capacity(odd), 104u);
  EXPECT_EQ(GuardedAllocator::capacity(big), GuardedAllocator::kMaxRequest);
  EXPECT_EQ(alloc.bytes(), 16u + 112u + 128104u);
  EXPECT_EQ(alloc.blocks(), 3u);
  alloc.release(big);
  EXPECT_EQ(alloc.bytes(), 128u);
  EXPECT_EQ(alloc.blocks(), 2u);
  EXPECT_EQ(alloc.peak(), 16u + 112u + 128104u);
  alloc.release(small);
  alloc.release(odd);
  EXPECT_EQ(alloc.bytes(), 0u);

  // The reserve is taken by the first request once armed, and not counted.
  EXPECT_FALSE(alloc.holdsReserve());
  alloc.armReserve();
  void* after = alloc.allocate(8);
  EXPECT_TRUE(alloc.holdsReserve());
  EXPECT_EQ(alloc.bytes(), 16u);
  alloc.release(after);
}

TEST_P(GuardedAllocatorTest, BlocksAreZeroFilledDistinctAndReusable) {
  // Enough 48-byte blocks to fill several slabs.
  std::vector<unsigned char*> blocks;
  for (int i = 0; i < 30000; ++i) {
    auto* block = static_cast<unsigned char*>(alloc.allocate(40));
    ASSERT_TRUE(std::all_of(block, block + 40, [](unsigned char c) { return c == 0; }));
    std::memset(block, 0xAB, 40);
    blocks.push_back(block);
  }
  ASSERT_EQ(alloc.bytes(), 30000u * 48u);
  for (unsigned char* block : blocks) {
    ASSERT_EQ(block[0], 0xAB) << "blocks must not overlap";
    alloc.release(block);
  }
  for (std::size_t size : {40u, 300u, 5000u}) {
    auto* block = static_cast<unsigned char*>(alloc.allocate(size));
    std::memset(block, 0xCD, size);
    alloc.release(block);
    block = static_cast<unsigned char*>(alloc.allocate(size));
    EXPECT_TRUE(std::all_of(block, block + size, [](unsigned char c) { return c == 0; }));
    alloc.release(block);
  }
  EXPECT_EQ(alloc.blocks(), 0u);
}

TEST_P(GuardedAllocatorTest, ABlockWithoutItsGuardIsLeftAlone) {
  void* block = alloc.allocate(40);
  char* guard = static_cast<char*>(block) - 8;
  guard[0] ^= 1;
  EXPECT_FALSE(GuardedAllocator::guarded(block));
  alloc.release(block);
  EXPECT_EQ(alloc.blocks(), 1u);
  guard[0] ^= 1;
  alloc.release(block);
  EXPECT_EQ(alloc.blocks(), 0u);
}

INSTANTIATE_TEST_SUITE_P(Sources, GuardedAllocatorTest, ::testing::Values(true, false));

// Runs with blocks cut from spans and with a guarded block for each.
class LinePoolTest : public ::testing::TestWithParam<bool> {
 protected:
  HeadlessPlatform platform;
  GuardedAllocator alloc{platform};
  LinePool pool{alloc, GetParam()};
};

TEST_P(LinePoolTest, BlocksAreDistinctReusedAndGoBackWhenNoneIsTaken) {
  // Sizes of every class, enough to fill several spans and leave their ends.
  struct Taken {
    unsigned char* block;
    std::size_t gross;
  };
  std::vector<Taken> taken;
  std::size_t sum = 0;
  auto takeOne = [&](std::size_t i) {
    std::size_t gross = 8 * (1 + i * 37 % (LinePool::kMaxGross / 8));
    taken[i] = {static_cast<unsigned char*>(pool.take(gross)), gross};
    std::memset(taken[i].block, static_cast<int>(i % 251), gross);
  };
  taken.resize(4000);
  for (std::size_t i = 0; i < taken.size(); ++i) {
    takeOne(i);
    sum += taken[i].gross;
  }
  EXPECT_GE(alloc.bytes(), sum);
  if (GetParam()) {
    EXPECT_LT(alloc.blocks(), 10u) << "spans are counted whole";
  }
  for (std::size_t i = 0; i < taken.size(); i += 2) pool.give(taken[i].block, taken[i].gross);
  std::size_t bytes = alloc.bytes();
  for (std::size_t i = 0; i < taken.size(); i += 2) takeOne(i);
  if (GetParam()) {
    EXPECT_EQ(alloc.bytes(), bytes) << "blocks given back serve their size";
  }
  for (std::size_t i = 0; i < taken.size(); ++i) {
    const Taken& t = taken[i];
    auto own = [&](unsigned char c) { return c == i % 251; };
    ASSERT_TRUE(std::all_of(t.block, t.block + t.gross, own)) << "block " << i << " was overwritten";
  }
  for (const Taken& t : taken) pool.give(t.block, t.gross);
  EXPECT_EQ(pool.taken(), 0u);
  EXPECT_EQ(alloc.bytes(), 0u);
  EXPECT_EQ(alloc.blocks(), 0u);
}

INSTANTIATE_TEST_SUITE_P(Sources, LinePoolTest, ::testing::Values(true, false));

TEST(GuardedAllocatorFatalTextTest, GroupsCountsAndCapsThem) {
  // Grouping is that of groupThousands; the cap is the allocator's own.
  EXPECT_EQ(GuardedAllocator::countText(2147000000), "2,147,000,000");
  EXPECT_EQ(GuardedAllocator::countText(2147000001), "2Gig+");
  EXPECT_EQ(GuardedAllocator::fatalText(14, 1234567, 3000000000u),
            "Memory allocation error ID = 14\n\nBYTES allocated to KIV = 1,234,567\n"
            "BYTES will always be less than max hardware RAM.\n\nBLOCKS allocated to KIV = "
            "2Gig+\nBLOCKS per process limited by the operating system.\n\nKIV terminating now.");
}

// Writes every box to standard error, where a death test can read it.
class StderrPlatform : public HeadlessPlatform {
 public:
  platform::BoxAnswer messageBox(std::string_view title, std::string_view text,
                                 platform::BoxButtons buttons) override {
    std::fprintf(stderr, "[%.*s] %.*s\n", static_cast<int>(title.size()), title.data(),
                 static_cast<int>(text.size()), text.data());
    return HeadlessPlatform::messageBox(title, text, buttons);
  }
};

TEST(GuardedAllocatorDeathTest, BadRequestsEndTheProgramWithTheirErrorId) {
  StderrPlatform platform;
  GuardedAllocator alloc(platform);
  EXPECT_EXIT(alloc.allocate(0), testing::ExitedWithCode(0),
              "\\[KIV Message\\] Memory allocation error ID = 14");
  EXPECT_EXIT(alloc.allocate(GuardedAllocator::kMaxRequest + 1), testing::ExitedWithCode(0),
              "error ID = 14");
  EXPECT_EXIT(alloc.release(nullptr), testing::ExitedWithCode(0), "error ID = 16");
}

TEST(GuardedAllocatorDeathTest, PassingTheRamThresholdWarnsThenStops) {
  StderrPlatform platform;
  GuardedAllocator alloc(platform, 4000);
  void* first = alloc.allocate(3000);
  EXPECT_EXIT(alloc.allocate(1000), testing::ExitedWithCode(0),
              "KIV at max RAM threshold, continued operation may lead to unpredictable "
              "results\n.*error ID = 11\n\nBYTES allocated to KIV = 4,016\n.*BLOCKS allocated "
              "to KIV = 2\n");
  alloc.release(first);
}

}  // namespace
}  // namespace kiv
