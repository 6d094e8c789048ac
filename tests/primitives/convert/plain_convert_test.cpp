// Plain conversions (int16 -> float, int32 -> float, float -> double) in every
// processor class: exact element rules, offsets and counts across every block
// bound, the non-temporal road of classes 1-3, checks.
#include <xmmintrin.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <random>
#include <vector>

#include <gtest/gtest.h>

#include "primitives/convert/convert.h"
#include "primitives/convert/convert_classes.h"
#include "support/class_fixture.h"
#include "support/guarded_buffer.h"

namespace {

using I16Fn = int32_t (*)(const int16_t*, float*, int32_t);
using I32Fn = int32_t (*)(const int32_t*, float*, int32_t);
using F32Fn = int32_t (*)(const float*, double*, int32_t);

const I16Fn kI16[kProcessorClassCount] = {
    &VectorConvertInt16ToFloat32Sse2, &VectorConvertInt16ToFloat32Sse3,           &VectorConvertInt16ToFloat32Ssse3,
    &VectorConvertInt16ToFloat32Sse42, &VectorConvertInt16ToFloat32Avx,           &VectorConvertInt16ToFloat32Avx2,
    &VectorConvertInt16ToFloat32Avx512ManyCore, &VectorConvertInt16ToFloat32Avx512};
const I32Fn kI32[kProcessorClassCount] = {
    &VectorConvertInt32ToFloat32Sse2, &VectorConvertInt32ToFloat32Sse3,           &VectorConvertInt32ToFloat32Ssse3,
    &VectorConvertInt32ToFloat32Sse42, &VectorConvertInt32ToFloat32Avx,           &VectorConvertInt32ToFloat32Avx2,
    &VectorConvertInt32ToFloat32Avx512ManyCore, &VectorConvertInt32ToFloat32Avx512};
const F32Fn kF32[kProcessorClassCount] = {
    &VectorConvertFloat32ToFloat64Sse2, &VectorConvertFloat32ToFloat64Sse3,
    &VectorConvertFloat32ToFloat64Ssse3, &VectorConvertFloat32ToFloat64Sse42,
    &VectorConvertFloat32ToFloat64Avx,  &VectorConvertFloat32ToFloat64Avx2,
    &VectorConvertFloat32ToFloat64Avx512ManyCore, &VectorConvertFloat32ToFloat64Avx512};

// Counts that cross every block bound and alignment threshold of the classes.
const int32_t kCounts[] = {1, 3, 4, 7, 8, 9, 15, 16, 17, 28, 29, 31, 32, 33, 63, 64, 65, 184, 185, 1184, 1185, 4096, 4112};

// The double a float converts to: the exact value, a NaN quietened with its sign and payload.
uint64_t ExpectedDoubleBits(float x) {
  const uint32_t b = std::bit_cast<uint32_t>(x);
  if ((b & 0x7FFFFFFFu) > 0x7F800000u) {
    const uint64_t payload = (b & 0x007FFFFFu) | 0x00400000u;
    return (uint64_t{b >> 31} << 63) | (0x7FFull << 52) | (payload << 29);
  }
  return std::bit_cast<uint64_t>(static_cast<double>(x));
}

uint32_t ExpectedFloatBits(int32_t x) { return std::bit_cast<uint32_t>(static_cast<float>(x)); }
uint32_t ExpectedFloatBits(int16_t x) { return std::bit_cast<uint32_t>(static_cast<float>(x)); }
uint64_t ExpectedBits(float x) { return ExpectedDoubleBits(x); }
uint32_t ExpectedBits(int32_t x) { return ExpectedFloatBits(x); }
uint32_t ExpectedBits(int16_t x) { return ExpectedFloatBits(x); }

// A pointer into `buffer` whose address is `offsetElems` elements past a 64-byte boundary.
template <typename T>
T* AtOffset(lv_test::GuardedBuffer& buffer, int32_t n, int offsetElems) {
  uint8_t* base = buffer.data();
  const size_t span = buffer.size() - size_t(n) * sizeof(T);
  // From the end down, so that the array ends within 64 bytes of the guard page
  // (right at it for one offset).
  for (size_t k = span + sizeof(T); k-- > 0;) {
    if (k % sizeof(T) == 0 && (reinterpret_cast<uintptr_t>(base + k) % 64) == size_t(offsetElems) * sizeof(T)) {
      return reinterpret_cast<T*>(base + k);
    }
  }
  return nullptr;
}

// Runs conversion fn on `n` random source elements at the given offsets: the
// results must equal the exact conversion bit for bit, and nothing outside the
// destination may change.
template <typename S, typename D, typename Fn>
void CheckOne(Fn fn, std::mt19937& rng, int32_t n, int srcOffset, int dstOffset) {
  lv_test::GuardedBuffer src((size_t(n) + 64) * sizeof(S), sizeof(S));
  S* s = AtOffset<S>(src, n, srcOffset);
  ASSERT_NE(s, nullptr);
  for (int32_t i = 0; i < n; ++i) {
    uint64_t bits = (uint64_t{rng()} << 32) | rng();
    std::memcpy(&s[i], &bits, sizeof(S));
  }
  lv_test::CanaryBuffer dst(size_t(n) * sizeof(D), size_t(dstOffset) * sizeof(D));
  D* d = reinterpret_cast<D*>(dst.region());
  ASSERT_EQ(fn(s, d, n), StatusOk);
  for (int32_t i = 0; i < n; ++i) {
    auto expected = ExpectedBits(s[i]);
    decltype(expected) got;
    std::memcpy(&got, &d[i], sizeof(got));
    ASSERT_EQ(got, expected) << "element " << i << " of " << n << ", source offset " << srcOffset
                             << ", destination offset " << dstOffset;
  }
  ASSERT_TRUE(dst.CanariesIntact()) << "write outside the destination, count " << n;
}

template <typename S, typename D, typename Fn>
void SweepCountsAndOffsets(Fn fn, uint32_t seed) {
  std::mt19937 rng(seed);
  const int srcOffsets = 64 / int(sizeof(S));
  const int dstOffsets = 64 / int(sizeof(D));
  long visited = 0;
  for (int32_t n : kCounts) {
    for (int so = 0; so < srcOffsets; ++so) {
      for (int dof = 0; dof < dstOffsets; ++dof) {
        // Every pair for short arrays; for long ones every source offset with
        // one destination offset, and every destination offset with one source offset.
        if (n > 65 && dof != (so * 5) % dstOffsets && so != 0) {
          continue;
        }
        CheckOne<S, D>(fn, rng, n, so, dof);
        ++visited;
        if (::testing::Test::HasFatalFailure()) return;
      }
    }
  }
  ASSERT_GT(visited, 1000);
}

class PlainConvertTest : public lv_test::PerClassTest {};

TEST_P(PlainConvertTest, Int16ToFloat32MatchesExactConversionAtEveryOffsetAndCount) {
  SweepCountsAndOffsets<int16_t, float>(kI16[Cls()], 1601u + Cls());
}

TEST_P(PlainConvertTest, Int32ToFloat32MatchesRoundedConversionAtEveryOffsetAndCount) {
  SweepCountsAndOffsets<int32_t, float>(kI32[Cls()], 3201u + Cls());
}

TEST_P(PlainConvertTest, Float32ToFloat64MatchesExactConversionAtEveryOffsetAndCount) {
  SweepCountsAndOffsets<float, double>(kF32[Cls()], 6401u + Cls());
}

TEST_P(PlainConvertTest, Int16EdgeValues) {
  const int16_t src[] = {-32768, -1, 0, 32767, 1, -32767, 12345, -12345, 256, -256, 32767, -32768, 7, -7, 0, 1, 2};
  const int32_t n = int32_t(std::size(src));
  std::vector<float> dst(n, -99.0f);
  ASSERT_EQ(kI16[Cls()](src, dst.data(), n), StatusOk);
  for (int32_t i = 0; i < n; ++i) EXPECT_EQ(dst[i], float(src[i])) << i;
  EXPECT_EQ(dst[0], -32768.0f);
  EXPECT_EQ(dst[3], 32767.0f);
}

// int32 -> float rounds by the caller's rounding control, also in place, and
// leaves the control register as it found it.
TEST_P(PlainConvertTest, Int32ToFloat32RoundsByCallersControlAlsoInPlace) {
  struct Row {
    int32_t in;
    float nearest;
    float towardZero;
  };
  const Row rows[] = {{16777217, 16777216.0f, 16777216.0f},     {16777219, 16777220.0f, 16777218.0f},
                      {2147483647, 2147483648.0f, 2147483520.0f}, {-2147483647, -2147483648.0f, -2147483520.0f},
                      {INT32_MIN, -2147483648.0f, -2147483648.0f}, {16777216, 16777216.0f, 16777216.0f},
                      {-16777217, -16777216.0f, -16777216.0f},     {0, 0.0f, 0.0f}};
  // Repeat the rows so that the vector loops, not only single elements, see them.
  std::vector<int32_t> src;
  for (int rep = 0; rep < 9; ++rep)
    for (const Row& r : rows) src.push_back(r.in);
  const int32_t n = int32_t(src.size());
  for (uint32_t rc : {0x0000u, 0x6000u}) {
    for (bool inPlace : {false, true}) {
      std::vector<int32_t> buffer = src;
      std::vector<float> out(n);
      float* dst = inPlace ? reinterpret_cast<float*>(buffer.data()) : out.data();
      const uint32_t caller = 0x1F80u | rc;
      const uint32_t before = _mm_getcsr();
      _mm_setcsr(caller);
      const int32_t status = kI32[Cls()](buffer.data(), dst, n);
      const uint32_t after = _mm_getcsr();
      _mm_setcsr(before);
      ASSERT_EQ(status, StatusOk);
      EXPECT_EQ(after & 0xFFC0u, caller & 0xFFC0u);
      for (int32_t i = 0; i < n; ++i) {
        const Row& r = rows[i % std::size(rows)];
        EXPECT_EQ(dst[i], rc == 0 ? r.nearest : r.towardZero)
            << "input " << r.in << (inPlace ? " in place" : "") << (rc ? " toward zero" : " nearest");
      }
    }
  }
}

// In place gives the same values as into a separate array, for every count and
// start offset (every block, masked step and single-element road).
TEST_P(PlainConvertTest, Int32ToFloat32InPlaceAtEveryCount) {
  std::mt19937 rng(99u);
  long visited = 0;
  for (int32_t n : kCounts) {
    for (int offset = 0; offset < 16; offset += 3) {
      std::vector<int32_t> storage(size_t(n) + 32);
      int32_t* p = storage.data() + offset;
      for (int32_t i = 0; i < n; ++i) p[i] = int32_t(rng());
      std::vector<float> expected(n);
      for (int32_t i = 0; i < n; ++i) expected[i] = static_cast<float>(p[i]);
      ASSERT_EQ(kI32[Cls()](p, reinterpret_cast<float*>(p), n), StatusOk);
      for (int32_t i = 0; i < n; ++i) {
        ASSERT_EQ(std::bit_cast<uint32_t>(p[i]), std::bit_cast<uint32_t>(expected[i]))
            << "count " << n << " offset " << offset << " element " << i;
      }
      ++visited;
    }
  }
  ASSERT_GT(visited, 0);
}

TEST_P(PlainConvertTest, Float32ToFloat64KeepsSpecialValues) {
  const float specials[] = {std::bit_cast<float>(0x7FC00001u),  // quiet NaN with a payload
                            std::bit_cast<float>(0xFFC12345u),  // negative quiet NaN
                            std::bit_cast<float>(0x7F800001u),  // signalling NaN
                            std::bit_cast<float>(0xFFA00000u),  // negative signalling NaN
                            INFINITY, -INFINITY, -0.0f, 0.0f,
                            std::numeric_limits<float>::denorm_min(), -std::numeric_limits<float>::denorm_min(),
                            std::bit_cast<float>(0x007FFFFFu), FLT_MAX, -FLT_MAX, FLT_MIN};
  const int32_t n = 67;
  std::vector<float> src(n);
  for (int32_t i = 0; i < n; ++i) src[i] = specials[(i * 5) % std::size(specials)];
  std::vector<double> dst(n);
  ASSERT_EQ(kF32[Cls()](src.data(), dst.data(), n), StatusOk);
  for (int32_t i = 0; i < n; ++i) {
    EXPECT_EQ(std::bit_cast<uint64_t>(dst[i]), ExpectedDoubleBits(src[i])) << "element " << i;
  }
  EXPECT_EQ(std::bit_cast<uint64_t>(dst[0]), 0x7FF8000020000000ull);  // quiet, payload shifted up
  EXPECT_EQ(std::bit_cast<uint64_t>(dst[2 * 3 % n]), ExpectedDoubleBits(specials[(2 * 3 * 5) % std::size(specials)]));
}

// Classes 1-3 stream long arrays past the cache; the first counts that stream
// and the last that do not give the same values as the exact conversion.
TEST_P(PlainConvertTest, Float32ToFloat64StreamingThresholdsGiveTheSameResults) {
  std::mt19937 rng(77u);
  for (int32_t threshold : {kConvertStreamThresholdSse3, kConvertStreamThresholdSsse3}) {
    for (int32_t n : {threshold + 8, threshold + 9, threshold + 10}) {
      std::vector<float> src(n);
      for (float& x : src) x = std::bit_cast<float>(uint32_t(rng()));
      lv_test::CanaryBuffer dst(size_t(n) * sizeof(double), 16);
      double* d = reinterpret_cast<double*>(dst.region());
      ASSERT_EQ(kF32[Cls()](src.data(), d, n), StatusOk);
      for (int32_t i = 0; i < n; ++i) {
        ASSERT_EQ(std::bit_cast<uint64_t>(d[i]), ExpectedDoubleBits(src[i])) << "count " << n << " element " << i;
      }
      ASSERT_TRUE(dst.CanariesIntact());
    }
  }
}

TEST_P(PlainConvertTest, ChecksComeFirstAndWriteNothing) {
  const int16_t s16[4] = {1, 2, 3, 4};
  const int32_t s32[4] = {1, 2, 3, 4};
  const float sf[4] = {1, 2, 3, 4};
  float df[4] = {-7, -7, -7, -7};
  double dd[4] = {-7, -7, -7, -7};
  struct Case {
    bool nullSrc, nullDst;
    int32_t n;
    int32_t status;
  };
  const Case cases[] = {{true, false, 4, StatusNullPointer}, {false, true, 4, StatusNullPointer},
                        {true, false, 0, StatusNullPointer}, {false, true, -1, StatusNullPointer},
                        {false, false, 0, StatusBadCount},   {false, false, -1, StatusBadCount},
                        {false, false, INT32_MIN, StatusBadCount}};
  for (const Case& c : cases) {
    EXPECT_EQ(kI16[Cls()](c.nullSrc ? nullptr : s16, c.nullDst ? nullptr : df, c.n), c.status);
    EXPECT_EQ(kI32[Cls()](c.nullSrc ? nullptr : s32, c.nullDst ? nullptr : df, c.n), c.status);
    EXPECT_EQ(kF32[Cls()](c.nullSrc ? nullptr : sf, c.nullDst ? nullptr : dd, c.n), c.status);
  }
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(df[i], -7.0f);
    EXPECT_EQ(dd[i], -7.0);
  }
}

// The entry points reach the forced class's implementation (results are the
// same in every class; the status and values show the call went through).
TEST_P(PlainConvertTest, EntryPointsDispatch) {
  ASSERT_EQ(CurrentProcessorClass(), Cls());
  const int16_t s16[3] = {-32768, 5, 32767};
  const int32_t s32[3] = {16777217, -3, INT32_MAX};
  const float sf[3] = {-0.0f, 1.5f, INFINITY};
  float df[3];
  double dd[3];
  ASSERT_EQ(VectorConvertInt16ToFloat32(s16, df, 3), StatusOk);
  EXPECT_EQ(df[0], -32768.0f);
  ASSERT_EQ(VectorConvertInt32ToFloat32(s32, df, 3), StatusOk);
  EXPECT_EQ(df[0], 16777216.0f);
  ASSERT_EQ(VectorConvertFloat32ToFloat64(sf, dd, 3), StatusOk);
  EXPECT_TRUE(std::signbit(dd[0]));
  EXPECT_EQ(VectorConvertFloat32ToFloat64(nullptr, dd, 0), StatusNullPointer);
}

LV_INSTANTIATE_PER_CLASS(PlainConvertTest);

}  // namespace
