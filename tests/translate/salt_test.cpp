#include "translate/salt.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <set>

namespace quillmere {
namespace {

TEST(RandomFromCounter, TakesOneGeneratorStepOnTheCounter) {
  struct Case {
    std::uint32_t counter, min, max, want;
  } cases[] = {
      // The first values of the classic C library rand() seeded with 0 and 1.
      {0, 0, 0, 38},
      {1, 0, 0, 41},
      {1, 10000, 99999, 10041},
      // The product wraps at 2^32.
      {0xFFFFFFFF, 0, 0, 35},
      // Bit 31 of the step is set and must be masked off: 33020 keeps only 15 bits.
      {10100, 0, 0, 252},
      {10100, 0, 100, 252 % 101},
      {1, 7, 7, 7},
      // Every 32-bit value in range: the span wraps to 0.
      {1, 0, 0xFFFFFFFF, 41},
      {1, 5, 4, 46},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(RandomFromCounter(c.counter, c.min, c.max), c.want)
        << c.counter << " in " << c.min << ".." << c.max;
  }
}

TEST(RandomInRange, StaysWithinFifteenBitsAboveTheMinimum) {
  constexpr int kDraws = 10000;
  std::set<std::uint32_t> salts;
  std::set<std::uint32_t> unbounded;
  for (int i = 0; i < kDraws; ++i) {
    const std::uint32_t salt = RandomInRange(10000, 99999);
    ASSERT_GE(salt, 10000u);
    ASSERT_LE(salt, 42767u);
    salts.insert(salt);
    ASSERT_EQ(RandomInRange(7, 7), 7u);
    const std::uint32_t any = RandomInRange();
    ASSERT_LE(any, 32767u);
    unbounded.insert(any);
  }
  // The counter moves between calls, so the draws spread out.
  EXPECT_GT(salts.size(), 100u);
  EXPECT_GT(unbounded.size(), 100u);
}

}  // namespace
}  // namespace quillmere
