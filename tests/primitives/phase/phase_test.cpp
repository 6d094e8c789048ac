// Phase of complex floats in every class: blocks of 128 in order, the special
// values of the arctangent, argument checks, bounds.
#include <bit>
#include <cmath>
#include <cstring>
#include <random>
#include <vector>

#include <gtest/gtest.h>

#include "primitives/phase/phase.h"
#include "primitives/phase/phase_classes.h"
#include "support/class_fixture.h"
#include "support/guarded_buffer.h"
#include "vmath/atan2/atan2.h"

namespace {

using PhaseFn = int32_t (*)(const ComplexFloat32*, float*, int32_t);

const PhaseFn kImpl[8] = {&VectorPhaseComplexFloat32Sse2, &VectorPhaseComplexFloat32Sse3,
                          &VectorPhaseComplexFloat32Ssse3, &VectorPhaseComplexFloat32Sse42,
                          &VectorPhaseComplexFloat32Avx,  &VectorPhaseComplexFloat32Avx2,
                          &VectorPhaseComplexFloat32Avx512ManyCore, &VectorPhaseComplexFloat32Avx512};
const Atan2Float32Kernel kAtan2[8] = {&Atan2Float32StubSse2, &Atan2Float32StubSse3, &Atan2Float32StubSsse3,
                                      &Atan2Float32StubSse42, &Atan2Float32StubAvx, &Atan2Float32StubAvx2,
                                      &Atan2Float32StubAvx512ManyCore, &Atan2Float32StubAvx512};

uint32_t BitsOf(float f) { return std::bit_cast<uint32_t>(f); }
float Bits(uint32_t b) { return std::bit_cast<float>(b); }

class PhaseTest : public lv_test::PerClassTest {};

TEST_P(PhaseTest, BlocksGiveInOrderPhases) {
  std::mt19937 rng(1234 + Cls());
  std::uniform_real_distribution<float> uni(-100.0f, 100.0f);
  for (int n : {1, 2, 127, 128, 129, 255, 256, 257, 1000}) {
    // Source and destination end at guard pages: nothing past element n-1 is touched.
    lv_test::GuardedBuffer src(n * sizeof(ComplexFloat32), 8);
    lv_test::GuardedBuffer dstDispatched(n * sizeof(float));
    lv_test::GuardedBuffer dstDirect(n * sizeof(float));
    ComplexFloat32* s = src.as<ComplexFloat32>();
    std::vector<float> re(n), im(n), expected(n);
    for (int i = 0; i < n; ++i) {
      s[i] = {uni(rng), uni(rng)};
      if (i % 37 == 5) {
        s[i].im = -0.0f;
        s[i].re = -1.0f;
      }
      re[i] = s[i].re;
      im[i] = s[i].im;
    }
    ASSERT_EQ(kAtan2[Cls()](im.data(), re.data(), expected.data(), n), 0);
    ASSERT_EQ(VectorPhaseComplexFloat32(s, dstDispatched.as<float>(), n), StatusOk);
    ASSERT_EQ(kImpl[Cls()](s, dstDirect.as<float>(), n), StatusOk);
    for (int i = 0; i < n; ++i) {
      ASSERT_EQ(BitsOf(dstDispatched.as<float>()[i]), BitsOf(expected[i])) << "n " << n << " i " << i;
      ASSERT_EQ(BitsOf(dstDirect.as<float>()[i]), BitsOf(expected[i])) << "n " << n << " i " << i;
    }
  }
}

TEST_P(PhaseTest, SpecialValues) {
  const float inf = Bits(0x7F800000u);
  const float nan = Bits(0x7FC00000u);
  struct Case {
    ComplexFloat32 c;
    uint32_t expected;  // 0xFFFFFFFF: any NaN
  };
  const Case cases[] = {
      {{-1.0f, 0.0f}, 0x40490FDBu},  {{-1.0f, -0.0f}, 0xC0490FDBu}, {{0.0f, 0.0f}, 0x00000000u},
      {{-0.0f, -0.0f}, 0xC0490FDBu}, {{-0.0f, 0.0f}, 0x40490FDBu},  {{inf, inf}, 0x3F490FDBu},
      {{-inf, inf}, 0x4016CBE4u},    {{0.0f, 1.0f}, 0x3FC90FDBu},   {{nan, 1.0f}, 0xFFFFFFFFu},
      {{1.0f, nan}, 0xFFFFFFFFu},
  };
  constexpr int kN = sizeof(cases) / sizeof(cases[0]);
  ComplexFloat32 src[kN];
  float dst[kN];
  for (int i = 0; i < kN; ++i) {
    src[i] = cases[i].c;
  }
  ASSERT_EQ(VectorPhaseComplexFloat32(src, dst, kN), StatusOk);
  for (int i = 0; i < kN; ++i) {
    if (cases[i].expected == 0xFFFFFFFFu) {
      EXPECT_TRUE(std::isnan(dst[i])) << i;
    } else {
      EXPECT_EQ(BitsOf(dst[i]), cases[i].expected) << i;
    }
  }
}

TEST_P(PhaseTest, ChecksWriteNothing) {
  ComplexFloat32 src[2] = {{1, 1}, {1, 2}};
  float dst[2] = {7, 7};
  for (PhaseFn fn : {&VectorPhaseComplexFloat32, kImpl[Cls()]}) {
    EXPECT_EQ(fn(nullptr, dst, 2), StatusNullPointer);
    EXPECT_EQ(fn(src, nullptr, 2), StatusNullPointer);
    EXPECT_EQ(fn(nullptr, dst, 0), StatusNullPointer);  // pointers are checked before the count
    EXPECT_EQ(fn(src, dst, 0), StatusBadCount);
    EXPECT_EQ(fn(src, dst, -1), StatusBadCount);
    EXPECT_EQ(dst[0], 7.0f);
    EXPECT_EQ(dst[1], 7.0f);
  }
}

LV_INSTANTIATE_PER_CLASS(PhaseTest);

}  // namespace
