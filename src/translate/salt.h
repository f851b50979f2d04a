#pragma once

#include <cstdint>

namespace quillmere {

// One step of the linear congruential generator (multiplier 214013, increment 2531011) on
// `counter`, kept to 15 bits, then placed from `min` upwards: min + r mod (max - min + 1).
// A `max` of 0 stands for 2147483647. The result never exceeds min + 32767.
std::uint32_t RandomFromCounter(std::uint32_t counter, std::uint32_t min, std::uint32_t max);

// RandomFromCounter on the low 32 bits of the processor's time-stamp counter (a steady
// clock where there is none). Holds no state between calls.
std::uint32_t RandomInRange(std::uint32_t min = 0, std::uint32_t max = 0);

}  // namespace quillmere
