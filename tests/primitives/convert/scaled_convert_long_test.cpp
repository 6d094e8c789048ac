// Long runs (exhaustive label): every class's scaled conversions against the
// scalar model over a regular walk through all float bit patterns and over
// 10^7 random double patterns, in every rounding mode.
#include <bit>
#include <cstdint>
#include <random>
#include <vector>

#include <gtest/gtest.h>

#include "primitives/convert/convert.h"
#include "primitives/convert/convert_classes.h"
#include "primitives/convert/convert_model.h"
#include "support/class_fixture.h"

namespace {

namespace cm = lv_test::convert_model;

using F32I16Fn = int32_t (*)(const float*, int16_t*, int32_t, int32_t, int32_t);
using F32I32Fn = int32_t (*)(const float*, int32_t*, int32_t, int32_t, int32_t);
using F64I32Fn = int32_t (*)(const double*, int32_t*, int32_t, int32_t, int32_t);

#define LV_CLASS_TABLE(Fn)                                                                              \
  {                                                                                                     \
    &Fn##Sse2, &Fn##Sse3, &Fn##Ssse3, &Fn##Sse42, &Fn##Avx, &Fn##Avx2, &Fn##Avx512ManyCore, &Fn##Avx512 \
  }
const F32I16Fn kF32I16[kProcessorClassCount] = LV_CLASS_TABLE(VectorConvertScaledFloat32ToInt16);
const F32I32Fn kF32I32[kProcessorClassCount] = LV_CLASS_TABLE(VectorConvertScaledFloat32ToInt32);
const F64I32Fn kF64I32[kProcessorClassCount] = LV_CLASS_TABLE(VectorConvertScaledFloat64ToInt32);
#undef LV_CLASS_TABLE

class ScaledConvertLongTest : public lv_test::PerClassTest {};

// Every 61st float bit pattern (7 * 10^7 values, all exponents, both signs,
// NaNs and infinities), scale factors 0 and 3.
TEST_P(ScaledConvertLongTest, FloatWalkMatchesTheModel) {
  const int32_t kChunk = 1 << 16;
  std::vector<float> src(kChunk);
  std::vector<int16_t> d16(kChunk);
  std::vector<int32_t> d32(kChunk);
  long compared = 0;
  for (int32_t sf : {0, 3}) {
    for (int32_t mode : {int32_t{RoundNearestEven}, int32_t{RoundTowardZero}, int32_t{RoundHalfAwayFromZero}}) {
      const cm::Road road{Cls(), mode, sf, cm::kRcNearest};
      uint64_t bits = uint64_t(Cls()) * 7;  // a different phase of the walk in each class
      while (bits < (uint64_t{1} << 32)) {
        int32_t n = 0;
        for (; n < kChunk && bits < (uint64_t{1} << 32); ++n, bits += 61) src[n] = std::bit_cast<float>(uint32_t(bits));
        ASSERT_EQ(kF32I16[Cls()](src.data(), d16.data(), n, mode, sf), StatusOk);
        ASSERT_EQ(kF32I32[Cls()](src.data(), d32.data(), n, mode, sf), StatusOk);
        for (int32_t i = 0; i < n; ++i) {
          ASSERT_EQ(d16[i], cm::ModelF32ToI16(road, src[i]))
              << std::hex << "bits " << std::bit_cast<uint32_t>(src[i]) << std::dec << " mode " << mode << " scale " << sf;
          ASSERT_EQ(d32[i], cm::ModelF32ToI32(road, src[i]))
              << std::hex << "bits " << std::bit_cast<uint32_t>(src[i]) << std::dec << " mode " << mode << " scale " << sf;
        }
        compared += n;
      }
    }
  }
  ASSERT_GT(compared, 100000000);
}

// 10^7 random double patterns per mode: exponents near the int32 range are
// weighted up so that rounding and saturation are exercised.
TEST_P(ScaledConvertLongTest, RandomDoublesMatchTheModel) {
  std::mt19937_64 rng(2026u + Cls());
  const int32_t kChunk = 1 << 16;
  std::vector<double> src(kChunk);
  std::vector<int32_t> dst(kChunk);
  long compared = 0;
  for (int32_t mode : {int32_t{RoundNearestEven}, int32_t{RoundTowardZero}, int32_t{RoundHalfAwayFromZero}}) {
    const cm::Road road{Cls(), mode, 0, cm::kRcNearest};
    for (int chunk = 0; chunk < 10000000 / kChunk; ++chunk) {
      for (double& x : src) {
        uint64_t b = rng();
        if (b & 1) {
          // Exponent between 2^-2 and 2^32.
          b = (b & 0x800FFFFFFFFFFFFFull) | (uint64_t(1021 + (b >> 53) % 35) << 52);
        }
        x = std::bit_cast<double>(b);
      }
      ASSERT_EQ(kF64I32[Cls()](src.data(), dst.data(), kChunk, mode, 0), StatusOk);
      for (int32_t i = 0; i < kChunk; ++i) {
        ASSERT_EQ(dst[i], cm::ModelF64ToI32(road, src[i]))
            << std::hex << "bits " << std::bit_cast<uint64_t>(src[i]) << std::dec << " mode " << mode;
      }
      compared += kChunk;
    }
  }
  ASSERT_GT(compared, 20000000);
}

LV_INSTANTIATE_PER_CLASS(ScaledConvertLongTest);

}  // namespace
