// Constants of the arctangent kernels, given by their bit patterns.
//
// Namespace-scope constexpr objects have internal linkage: every kernel's
// translation unit carries its own read-only copy. The breakpoint table of the
// special-value routine is one shared read-only array (the copies would be
// identical in every class).
#pragma once

#include <bit>
#include <cstdint>

namespace lv_vmath_atan2 {

constexpr float F32(uint32_t bits) { return std::bit_cast<float>(bits); }
constexpr double F64(uint64_t bits) { return std::bit_cast<double>(bits); }

// Lane classes: a lane is special when |x| or |y| is below 2^-125 or at least
// 2^123 (zeros, subnormals, the lowest normal binade, huge values, infinities,
// NaNs). Test on the magnitude pattern: (bits - kSpecialBias), wrapping, is
// special when, as a signed integer, it is >= kSpecialLimit.
constexpr uint32_t kSpecialBias = 0x81000000u;
constexpr uint32_t kSpecialLimit = 0xFC000000u;
constexpr uint32_t kAbsMask = 0x7FFFFFFFu;
constexpr uint32_t kSignMask = 0x80000000u;
constexpr float kFill = F32(0x3F400000u);  // 0.75: lanes beyond the count

// The quotient algorithm (classes 1 to 7).
constexpr float kC1 = F32(0xBEAAAA49u);
constexpr float kC2 = F32(0x3E4CB79Fu);
constexpr float kC3 = F32(0xBE1161F8u);
constexpr float kC4 = F32(0x3DD96474u);
constexpr float kC5 = F32(0xBD987629u);
constexpr float kC6 = F32(0x3D2BC384u);
constexpr float kC7 = F32(0xBC7F2631u);
constexpr float kC8 = F32(0x3B322CC0u);
constexpr float kHalfPi = F32(0x3FC90FDBu);
constexpr float kPi = F32(0x40490FDBu);

// The baseline fast path (class 0).
constexpr float kR0 = F32(0x3EC00000u);  // 0.375
constexpr float kR1 = F32(0x3F3851ECu);  // 0.72
constexpr float kR2 = F32(0x3FE00000u);  // 1.75
constexpr float kR3 = F32(0x402C0000u);  // 2.6875
constexpr float kHalf = F32(0x3F000000u);
constexpr float kOne = F32(0x3F800000u);
constexpr float kTwo = F32(0x40000000u);
// atan of the reduction points 0, 0.5, 1, 2 and infinity as head and tail.
constexpr float kAtanHi[5] = {0.0f, F32(0x3EED6338u), F32(0x3F490FD8u), F32(0x3F8DB710u), F32(0x3FC90FD8u)};
constexpr float kAtanLo[5] = {0.0f, F32(0x31AC3768u), F32(0x34288858u), F32(0xB4DA2880u), F32(0x34A88858u)};
constexpr float kPiHi = F32(0x40490FE0u);
constexpr float kPiLo = F32(0xB5ABBBD3u);
constexpr float kA1 = F32(0xBEAAAA6Cu);
constexpr float kA2 = F32(0x3E4CAA3Bu);
constexpr float kA3 = F32(0xBE0F4E4Eu);
constexpr float kA4 = F32(0x3DAE1329u);
constexpr double kOneD = F64(0x3FF0000000000000ull);
constexpr uint64_t kCut = 0xFFFFFFFFE0000000ull;  // keeps 23 fraction bits of a double

// The special-value routine (double precision; head and tail pairs).
constexpr double kQuarterPiHi = F64(0x3FE921FB54442D18ull);
constexpr double kQuarterPiLo = F64(0x3C81A62633145C07ull);
constexpr double kHalfPiHi = F64(0x3FF921FB54442D18ull);
constexpr double kHalfPiLo = F64(0x3C91A62633145C07ull);
constexpr double kPiHiD = F64(0x400921FB54442D18ull);
constexpr double kPiLoD = F64(0x3CA1A62633145C07ull);
constexpr double kThreeQuarterPiHi = F64(0x4002D97C7F3321D2ull);
constexpr double kThreeQuarterPiLo = F64(0x3C9A79394C9E8A0Aull);
constexpr double kSplit = F64(0x41A0000002000000ull);  // 2^27 + 1
constexpr double kSmall = F64(0x3FC0000000000000ull);  // 0.125
constexpr double kD1 = F64(0xBFD5555555555555ull);
constexpr double kD2 = F64(0x3FC99999999991BBull);
constexpr double kD3 = F64(0xBFC2492492382A27ull);
constexpr double kD4 = F64(0x3FBC71C6F9B157D3ull);
constexpr double kD5 = F64(0xBFB745BE69CCA475ull);
constexpr double kD6 = F64(0x3FB3AB7C1048AFD1ull);
constexpr double kD7 = F64(0xBFB029BD34239994ull);

// atan(c_k) for c_k = 1.25 * 2^(j-3) (k = 2j) and 1.75 * 2^(j-3) (k = 2j + 1),
// k = 0..113, as (head, tail) bit patterns: the head keeps 26 significant
// bits, the tail is the rest rounded to double.
constexpr int kBreakpointCount = 114;
extern const uint64_t kAtanBreakpoints[2 * kBreakpointCount];

}  // namespace lv_vmath_atan2
