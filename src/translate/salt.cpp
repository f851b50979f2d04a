#include "translate/salt.h"

#if defined(__x86_64__) || defined(__i386__)
#include <x86intrin.h>
#else
#include <chrono>
#endif

namespace quillmere {
namespace {

constexpr std::uint32_t kMultiplier = 214013;
constexpr std::uint32_t kIncrement = 2531011;
constexpr std::uint32_t kDefaultMax = 2147483647;

std::uint32_t freeRunningCounter() {
#if defined(__x86_64__) || defined(__i386__)
  return static_cast<std::uint32_t>(__rdtsc());
#else
  return static_cast<std::uint32_t>(std::chrono::steady_clock::now().time_since_epoch().count());
#endif
}

}  // namespace

std::uint32_t RandomFromCounter(std::uint32_t counter, std::uint32_t min, std::uint32_t max) {
  const std::uint32_t r = ((counter * kMultiplier + kIncrement) >> 16) & 0x7FFF;
  if (max == 0) max = kDefaultMax;
  const std::uint32_t span = max - min + 1;
  // A span of 0 means all 2^32 values (or bounds given the wrong way round): r fits as it is.
  if (span == 0) return min + r;
  return min + r % span;
}

std::uint32_t RandomInRange(std::uint32_t min, std::uint32_t max) {
  return RandomFromCounter(freeRunningCounter(), min, max);
}

}  // namespace quillmere
