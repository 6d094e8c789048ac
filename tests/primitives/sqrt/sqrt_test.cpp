// The scalar square roots: IEEE special cases in every member, correctly
// rounded roots, and bit-identical results across the members of a precision.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

#include "primitives/arith/data_util.h"
#include "cpu/dispatch_testing.h"
#include "primitives/sqrt/sqrt_classes.h"

namespace {

using lv_test::Bits;
using lv_test::DoubleFromBits;
using lv_test::FloatFromBits;

struct Member64 {
  const char* name;
  int cls;
  double (*fn)(double);
};
struct Member32 {
  const char* name;
  int cls;
  float (*fn)(float);
};

const Member64 kMembers64[] = {
    {"Sse2", 0, &ScalarSqrtFloat64Sse2},   {"Sse3", 1, &ScalarSqrtFloat64Sse3},
    {"Ssse3", 2, &ScalarSqrtFloat64Ssse3}, {"Sse42", 3, &ScalarSqrtFloat64Sse42},
    {"Avx", 4, &ScalarSqrtFloat64Avx},     {"Avx2", 5, &ScalarSqrtFloat64Avx2},
    {"Avx512ManyCore", 6, &ScalarSqrtFloat64Avx512ManyCore}, {"Avx512", 7, &ScalarSqrtFloat64Avx512}};
const Member32 kMembers32[] = {{"Sse2", 0, &ScalarSqrtFloat32Sse2},
                               {"Avx2", 5, &ScalarSqrtFloat32Avx2},
                               {"Avx512ManyCore", 6, &ScalarSqrtFloat32Avx512ManyCore},
                               {"Avx512", 7, &ScalarSqrtFloat32Avx512}};

constexpr uint64_t kDefaultNaN64 = 0xFFF8000000000000ull;
constexpr uint32_t kDefaultNaN32 = 0xFFC00000u;

// (argument bits, expected result bits)
const std::pair<uint64_t, uint64_t> kCases64[] = {
    {Bits(4.0), Bits(2.0)},
    {Bits(2.0), Bits(1.4142135623730951)},
    {Bits(0.0), Bits(0.0)},
    {Bits(-0.0), Bits(-0.0)},
    {0x7FF0000000000000ull, 0x7FF0000000000000ull},  // +inf
    {Bits(-1.0), kDefaultNaN64},
    {0xFFF0000000000000ull, kDefaultNaN64},          // -inf
    {0x0000000000000001ull, Bits(std::ldexp(1.0, -537))},  // smallest subnormal
    {0x7FF8000000001234ull, 0x7FF8000000001234ull},  // quiet NaN returned
    {0xFFF8000000005678ull, 0xFFF8000000005678ull},  // negative quiet NaN
    {0x7FF0000000000001ull, 0x7FF8000000000001ull},  // signalling NaN quietened, payload kept
    {0x7FF0000100000000ull, 0x7FF8000100000000ull},
    {0xFFF0000000000001ull, 0xFFF8000000000001ull},  // negative signalling NaN
    {0x8000000000000001ull, kDefaultNaN64},          // negative subnormal
};
const std::pair<uint32_t, uint32_t> kCases32[] = {
    {Bits(4.0f), Bits(2.0f)},
    {Bits(2.0f), Bits(1.41421356f)},
    {Bits(0.0f), Bits(0.0f)},
    {Bits(-0.0f), Bits(-0.0f)},
    {0x7F800000u, 0x7F800000u},
    {Bits(-1.0f), kDefaultNaN32},
    {0xFF800000u, kDefaultNaN32},
    {0x00000001u, Bits(std::ldexp(1.0f, -75) * std::sqrt(2.0f))},  // sqrt(2^-149)
    {0x7FC01234u, 0x7FC01234u},
    {0xFFC05678u, 0xFFC05678u},
    {0x7F800001u, 0x7FC00001u},
    {0xFF800001u, 0xFFC00001u},
    {0x80000001u, kDefaultNaN32},
};

TEST(ScalarSqrt, SpecialCasesInEveryMember64) {
  for (const auto& m : kMembers64) {
    if (!IsProcessorClassRunnable(m.cls)) {
      GTEST_SKIP() << m.name << " is not supported by this processor";
    }
    for (const auto& [arg, want] : kCases64) {
      EXPECT_EQ(Bits(m.fn(DoubleFromBits(arg))), want) << m.name << " arg 0x" << std::hex << arg;
    }
  }
}

TEST(ScalarSqrt, SpecialCasesInEveryMember32) {
  for (const auto& m : kMembers32) {
    if (!IsProcessorClassRunnable(m.cls)) {
      GTEST_SKIP() << m.name << " is not supported by this processor";
    }
    for (const auto& [arg, want] : kCases32) {
      EXPECT_EQ(Bits(m.fn(FloatFromBits(arg))), want) << m.name << " arg 0x" << std::hex << arg;
    }
  }
}

// Random bit patterns of every kind (all signs, subnormals, NaNs): every member
// gives the bits of member 0, and a positive argument gives the correctly
// rounded root (checked with the C library's sqrt).
TEST(ScalarSqrt, MembersAgreeBitForBitOnRandomPatterns) {
  std::mt19937_64 rng(20261210);
  for (int k = 0; k < 200000; ++k) {
    uint64_t b = rng();
    if (k % 4 == 1) b &= 0x800FFFFFFFFFFFFFull;  // subnormals
    if (k % 4 == 2) b |= 0x7FF0000000000000ull;  // infinities and NaNs
    const double x = DoubleFromBits(b);
    const uint64_t first = Bits(kMembers64[0].fn(x));
    if (!std::signbit(x) && !std::isnan(x)) {
      ASSERT_EQ(first, Bits(std::sqrt(x))) << std::hex << b;
    }
    for (const auto& m : kMembers64) {
      if (!IsProcessorClassRunnable(m.cls)) continue;
      ASSERT_EQ(Bits(m.fn(x)), first) << m.name << " arg 0x" << std::hex << b;
    }
    const uint32_t b32 = static_cast<uint32_t>(b >> 32) ^ static_cast<uint32_t>(b);
    const float y = FloatFromBits(b32);
    const uint32_t first32 = Bits(kMembers32[0].fn(y));
    if (!std::signbit(y) && !std::isnan(y)) {
      ASSERT_EQ(first32, Bits(std::sqrt(y))) << std::hex << b32;
    }
    for (const auto& m : kMembers32) {
      if (!IsProcessorClassRunnable(m.cls)) continue;
      ASSERT_EQ(Bits(m.fn(y)), first32) << m.name << " arg 0x" << std::hex << b32;
    }
  }
}

// The FFT's normalisation 1/sqrt(N) for N = 2^order, computed in double and
// rounded to float, is exactly 2^(-order/2) for even orders and the float
// nearest it for odd orders.
TEST(ScalarSqrt, FftNormalisationScales) {
  for (const auto& m : kMembers64) {
    if (!IsProcessorClassRunnable(m.cls)) continue;
    for (int order = 0; order <= 30; ++order) {
      const float scale = static_cast<float>(1.0 / m.fn(std::ldexp(1.0, order)));
      const long double exact = std::pow(2.0L, -order / 2.0L);
      const float nearest = static_cast<float>(exact);
      ASSERT_EQ(scale, nearest) << m.name << " order " << order;
      if (order % 2 == 0) {
        ASSERT_EQ(scale, std::ldexp(1.0f, -order / 2));
      }
    }
  }
}

}  // namespace
