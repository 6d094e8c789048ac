// Complex packing: split, real part and join in every processor class, compared
// bit for bit with a plain model on random bit patterns (NaN payloads, negative
// zeros, infinities and subnormals included).
#include "primitives/complexpack/complexpack.h"
#include "primitives/complexpack/complexpack_classes.h"

#include <cstdint>
#include <cstring>
#include <random>
#include <vector>

#include <gtest/gtest.h>

#include "support/bits.h"
#include "support/class_fixture.h"
#include "support/guarded_buffer.h"

namespace {

using SplitFn = int32_t (*)(const ComplexFloat32*, float*, float*, int32_t);
using RealPartFn = int32_t (*)(const ComplexFloat32*, float*, int32_t);
using JoinFn = int32_t (*)(const float*, const float*, ComplexFloat32*, int32_t);

const SplitFn kSplit[kProcessorClassCount] = {
    VectorSplitComplexFloat32Sse2, VectorSplitComplexFloat32Sse3,           VectorSplitComplexFloat32Ssse3,
    VectorSplitComplexFloat32Sse42, VectorSplitComplexFloat32Avx,           VectorSplitComplexFloat32Avx2,
    VectorSplitComplexFloat32Avx512ManyCore, VectorSplitComplexFloat32Avx512};
const RealPartFn kRealPart[kProcessorClassCount] = {
    VectorRealPartComplexFloat32Sse2, VectorRealPartComplexFloat32Sse3, VectorRealPartComplexFloat32Ssse3,
    VectorRealPartComplexFloat32Sse42, VectorRealPartComplexFloat32Avx, VectorRealPartComplexFloat32Avx2,
    VectorRealPartComplexFloat32Avx512ManyCore, VectorRealPartComplexFloat32Avx512};
const JoinFn kJoin[kProcessorClassCount] = {
    VectorJoinComplexFloat32Sse2, VectorJoinComplexFloat32Sse3,           VectorJoinComplexFloat32Ssse3,
    VectorJoinComplexFloat32Sse42, VectorJoinComplexFloat32Avx,           VectorJoinComplexFloat32Avx2,
    VectorJoinComplexFloat32Avx512ManyCore, VectorJoinComplexFloat32Avx512};

// Bit patterns the routines must carry unchanged, mixed into random words.
const uint32_t kSpecialBits[] = {
    0x80000000u,  // -0
    0x00000000u,  // +0
    0x7f800001u,  // signalling NaN, smallest payload
    0x7fa5a5a5u,  // signalling NaN
    0xffc12345u,  // negative quiet NaN with payload
    0x7fc00000u,  // default quiet NaN
    0x7f800000u,  // +infinity
    0xff800000u,  // -infinity
    0x00000001u,  // smallest subnormal
    0x807fffffu,  // largest negative subnormal
};

void FillBits(uint32_t* p, size_t words, std::mt19937& rng) {
  for (size_t i = 0; i < words; ++i) {
    p[i] = (rng() % 4 == 0) ? kSpecialBits[rng() % std::size(kSpecialBits)] : static_cast<uint32_t>(rng());
  }
}

template <typename T>
T* As(lv_test::CanaryBuffer& b) {
  return reinterpret_cast<T*>(b.region());
}

uint32_t Bits(float f) {
  uint32_t u;
  std::memcpy(&u, &f, 4);
  return u;
}

// Counts that cross every head, round and tail bound of the kernels.
std::vector<int> Counts() {
  std::vector<int> c;
  for (int n = 1; n <= 40; ++n) c.push_back(n);
  for (int n : {47, 48, 49, 63, 64, 65, 127, 128, 129, 255, 1000, 1027}) c.push_back(n);
  return c;
}

class ComplexPackTest : public lv_test::PerClassTest {};

// Split and real part: every source and destination alignment from 4 bytes
// upward (offsets 0..60 bytes from a 64-byte boundary), every count across the
// bounds; exact bits, nothing written outside the destinations.
TEST_P(ComplexPackTest, SplitAndRealPartMoveEveryBitAtEveryAlignment) {
  std::mt19937 rng(1234 + Cls());
  long checked = 0;
  for (int n : Counts()) {
    for (int srcOff = 0; srcOff < 64; srcOff += 4) {
      const int dstOff = (srcOff * 7 + n * 4) % 64;  // a different destination alignment per case
      lv_test::CanaryBuffer src(8 * size_t(n), srcOff);
      FillBits(reinterpret_cast<uint32_t*>(src.region()), 2 * size_t(n), rng);
      const auto* s = reinterpret_cast<const ComplexFloat32*>(src.region());
      lv_test::CanaryBuffer re(4 * size_t(n), dstOff), im(4 * size_t(n), (dstOff + 20) % 64);
      ASSERT_EQ(kSplit[Cls()](s, As<float>(re), As<float>(im), n), StatusOk);
      const uint32_t* sw = reinterpret_cast<const uint32_t*>(src.region());
      const uint32_t* rw = reinterpret_cast<const uint32_t*>(re.region());
      const uint32_t* iw = reinterpret_cast<const uint32_t*>(im.region());
      for (int i = 0; i < n; ++i) {
        ASSERT_EQ(rw[i], sw[2 * i]) << "split real, n=" << n << " srcOff=" << srcOff << " dstOff=" << dstOff << " i=" << i;
        ASSERT_EQ(iw[i], sw[2 * i + 1]) << "split imag, n=" << n << " srcOff=" << srcOff << " i=" << i;
      }
      ASSERT_TRUE(re.CanariesIntact()) << "n=" << n << " srcOff=" << srcOff;
      ASSERT_TRUE(im.CanariesIntact()) << "n=" << n << " srcOff=" << srcOff;

      lv_test::CanaryBuffer re2(4 * size_t(n), (dstOff + 36) % 64);
      ASSERT_EQ(kRealPart[Cls()](s, As<float>(re2), n), StatusOk);
      ASSERT_TRUE(lv_test::SameBytes(re2.region(), re.region(), 4 * size_t(n))) << "real part, n=" << n;
      ASSERT_TRUE(re2.CanariesIntact());
      ++checked;
    }
  }
  EXPECT_GT(checked, 0);
}

// Join with both parts, real only and imaginary only; an absent part is +0.0.
TEST_P(ComplexPackTest, JoinMovesEveryBitAndAbsentPartIsPositiveZero) {
  std::mt19937 rng(99 + Cls());
  long checked = 0;
  for (int n : Counts()) {
    for (int reOff = 0; reOff < 64; reOff += 4) {
      const int imOff = (reOff * 3 + n * 4) % 64;
      const int dstOff = (reOff * 5 + 12) % 64;
      lv_test::CanaryBuffer re(4 * size_t(n), reOff), im(4 * size_t(n), imOff);
      FillBits(reinterpret_cast<uint32_t*>(re.region()), size_t(n), rng);
      FillBits(reinterpret_cast<uint32_t*>(im.region()), size_t(n), rng);
      const uint32_t* rw = reinterpret_cast<const uint32_t*>(re.region());
      const uint32_t* iw = reinterpret_cast<const uint32_t*>(im.region());
      for (int mode = 0; mode < 3; ++mode) {  // both, real only, imaginary only
        const float* r = mode != 2 ? As<float>(re) : nullptr;
        const float* m = mode != 1 ? As<float>(im) : nullptr;
        lv_test::CanaryBuffer dst(8 * size_t(n), dstOff);
        ASSERT_EQ(kJoin[Cls()](r, m, As<ComplexFloat32>(dst), n), StatusOk);
        const uint32_t* dw = reinterpret_cast<const uint32_t*>(dst.region());
        for (int i = 0; i < n; ++i) {
          ASSERT_EQ(dw[2 * i], r ? rw[i] : 0u) << "mode=" << mode << " n=" << n << " reOff=" << reOff << " i=" << i;
          ASSERT_EQ(dw[2 * i + 1], m ? iw[i] : 0u) << "mode=" << mode << " n=" << n << " reOff=" << reOff << " i=" << i;
        }
        ASSERT_TRUE(dst.CanariesIntact()) << "mode=" << mode << " n=" << n << " reOff=" << reOff;
        ++checked;
      }
    }
  }
  EXPECT_GT(checked, 0);
}

// Sources that end right before an inaccessible page: no routine reads past
// the n elements it was given.
TEST_P(ComplexPackTest, NoReadBeyondTheSources) {
  for (int n = 1; n <= 70; ++n) {
    lv_test::GuardedBuffer src(8 * size_t(n), 4), re(4 * size_t(n), 4), im(4 * size_t(n), 4);
    std::memset(src.data(), 0x3f, src.size());
    std::memset(re.data(), 0x40, re.size());
    std::memset(im.data(), 0x41, im.size());
    std::vector<float> a(n), b(n);
    std::vector<ComplexFloat32> c(n);
    ASSERT_EQ(kSplit[Cls()](src.as<ComplexFloat32>(), a.data(), b.data(), n), StatusOk);
    ASSERT_EQ(kRealPart[Cls()](src.as<ComplexFloat32>(), a.data(), n), StatusOk);
    ASSERT_EQ(kJoin[Cls()](re.as<float>(), im.as<float>(), c.data(), n), StatusOk);
    ASSERT_EQ(kJoin[Cls()](re.as<float>(), nullptr, c.data(), n), StatusOk);
    ASSERT_EQ(kJoin[Cls()](nullptr, im.as<float>(), c.data(), n), StatusOk);
    ASSERT_EQ(Bits(c[n - 1].im), 0x41414141u);
    ASSERT_EQ(Bits(c[n - 1].re), 0u);
  }
}

// The argument checks and their order; nothing is written on an error.
TEST_P(ComplexPackTest, ChecksComeFirstInTheirOrder) {
  float re[4] = {1, 2, 3, 4}, im[4] = {5, 6, 7, 8};
  ComplexFloat32 src[4] = {{1, 2}, {3, 4}, {5, 6}, {7, 8}};
  const uint32_t kMark = 0xdeadbeefu;
  struct Case {
    const char* what;
    int32_t status;
    int32_t (*call)(int cls, float* outA, float* outB, ComplexFloat32* outC, const float* re, const float* im,
                    const ComplexFloat32* src);
  };
  const Case cases[] = {
      {"split null src", StatusNullPointer,
       [](int c, float* a, float* b, ComplexFloat32*, const float*, const float*, const ComplexFloat32*) {
         return kSplit[c](nullptr, a, b, 4);
       }},
      {"split null real", StatusNullPointer,
       [](int c, float*, float* b, ComplexFloat32*, const float*, const float*, const ComplexFloat32* s) {
         return kSplit[c](s, nullptr, b, 4);
       }},
      {"split null imaginary", StatusNullPointer,
       [](int c, float* a, float*, ComplexFloat32*, const float*, const float*, const ComplexFloat32* s) {
         return kSplit[c](s, a, nullptr, 4);
       }},
      {"split null with bad count", StatusNullPointer,
       [](int c, float* a, float*, ComplexFloat32*, const float*, const float*, const ComplexFloat32* s) {
         return kSplit[c](s, a, nullptr, 0);
       }},
      {"split count 0", StatusBadCount,
       [](int c, float* a, float* b, ComplexFloat32*, const float*, const float*, const ComplexFloat32* s) {
         return kSplit[c](s, a, b, 0);
       }},
      {"split count -1", StatusBadCount,
       [](int c, float* a, float* b, ComplexFloat32*, const float*, const float*, const ComplexFloat32* s) {
         return kSplit[c](s, a, b, -1);
       }},
      {"real part null src", StatusNullPointer,
       [](int c, float* a, float*, ComplexFloat32*, const float*, const float*, const ComplexFloat32*) {
         return kRealPart[c](nullptr, a, -3);
       }},
      {"real part null dst", StatusNullPointer,
       [](int c, float*, float*, ComplexFloat32*, const float*, const float*, const ComplexFloat32* s) {
         return kRealPart[c](s, nullptr, 4);
       }},
      {"real part count 0", StatusBadCount,
       [](int c, float* a, float*, ComplexFloat32*, const float*, const float*, const ComplexFloat32* s) {
         return kRealPart[c](s, a, 0);
       }},
      {"join null dst first", StatusNullPointer,
       [](int c, float*, float*, ComplexFloat32*, const float*, const float*, const ComplexFloat32*) {
         return kJoin[c](nullptr, nullptr, nullptr, 0);
       }},
      {"join count before both parts null", StatusBadCount,
       [](int c, float*, float*, ComplexFloat32* d, const float*, const float*, const ComplexFloat32*) {
         return kJoin[c](nullptr, nullptr, d, 0);
       }},
      {"join negative count", StatusBadCount,
       [](int c, float*, float*, ComplexFloat32* d, const float* r, const float* m, const ComplexFloat32*) {
         return kJoin[c](r, m, d, -5);
       }},
      {"join both parts null", StatusNullPointer,
       [](int c, float*, float*, ComplexFloat32* d, const float*, const float*, const ComplexFloat32*) {
         return kJoin[c](nullptr, nullptr, d, 4);
       }},
  };
  for (const Case& k : cases) {
    float a[4], b[4];
    ComplexFloat32 d[4];
    for (int i = 0; i < 4; ++i) {
      std::memcpy(&a[i], &kMark, 4);
      std::memcpy(&b[i], &kMark, 4);
      std::memcpy(&d[i].re, &kMark, 4);
      std::memcpy(&d[i].im, &kMark, 4);
    }
    EXPECT_EQ(k.call(Cls(), a, b, d, re, im, src), k.status) << k.what;
    for (int i = 0; i < 4; ++i) {
      EXPECT_EQ(Bits(a[i]), kMark) << k.what;
      EXPECT_EQ(Bits(b[i]), kMark) << k.what;
      EXPECT_EQ(Bits(d[i].re), kMark) << k.what;
      EXPECT_EQ(Bits(d[i].im), kMark) << k.what;
    }
  }
}

// The entry points reach the forced class and give its results.
TEST_P(ComplexPackTest, EntryPointsDispatch) {
  ComplexFloat32 src[17];
  float re[17], im[17];
  for (int i = 0; i < 17; ++i) src[i] = {float(i), -float(i) - 0.5f};
  src[3].re = -0.0f;
  ASSERT_EQ(VectorSplitComplexFloat32(src, re, im, 17), StatusOk);
  EXPECT_EQ(Bits(re[3]), 0x80000000u);
  EXPECT_EQ(im[16], -16.5f);
  float re2[17];
  ASSERT_EQ(VectorRealPartComplexFloat32(src, re2, 17), StatusOk);
  EXPECT_TRUE(lv_test::SameBits(re, re2, 17));
  ComplexFloat32 back[17];
  ASSERT_EQ(VectorJoinComplexFloat32(re, im, back, 17), StatusOk);
  EXPECT_TRUE(lv_test::SameBits(back, src, 17));
  EXPECT_EQ(VectorJoinComplexFloat32(nullptr, nullptr, back, 17), StatusNullPointer);
  EXPECT_EQ(VectorSplitComplexFloat32(src, re, nullptr, 17), StatusNullPointer);
  EXPECT_EQ(CurrentProcessorClass(), Cls());
}

LV_INSTANTIATE_PER_CLASS(ComplexPackTest);

}  // namespace
