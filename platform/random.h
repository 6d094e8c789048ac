// The 15-bit linear congruential generator the noise maths is built on:
// x = x * 214013 + 2531011, result (x >> 16) & 0x7FFF, seed 1. Each thread
// has its own state, so one thread's draws do not disturb another's sequence.
#pragma once

#include <cstdint>

namespace lv {

inline constexpr int kRandMax = 0x7FFF;

// Next value 0..32767 of the calling thread's sequence.
int Rand();
// Restarts the calling thread's sequence.
void SeedRand(uint32_t seed);

}  // namespace lv
