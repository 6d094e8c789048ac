// The transforms of classes 1 to 7 at orders 0-18 (small-order kernels,
// medium kernel, the in-place roads of class 1 at 16 and class 2 at 17, the
// drivers of classes 1 to 3 above their leaf limits; on class 6 the many-core
// road up to order 16) with specifications from their own initialisation: the
// verifier's properties against FFTW in double for flags 2 and 8, and the
// exact relations (mirror, flag scaling, in place, misaligned arrays, statuses,
// work buffer).
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

#include "fft/fft.h"
#include "fft/setup/permute.h"
#include "fft/setup/many_core_plan.h"
#include "fft/setup/setup.h"
#include "fft/setup/fft_spec.h"
#include "fft/fft_classes.h"
#include "support/bits.h"
#include "support/class_fixture.h"
#include "support/fft_reference.h"

namespace {

using C = ComplexFloat32;
using lv_test::FftPlan;
using lv_test::SameBits;

// The classes with transforms of their own.
struct ClassTransforms {
  lv_test::FftGetSizeFn getSize;
  lv_test::FftInitFn init;
  lv_test::FftTransformFn forward, inverse;
};

ClassTransforms Transforms(int cls) {
  if (cls == 1) {
    return {FftGetSizeComplexFloat32Sse3, FftInitComplexFloat32Sse3, FftForwardComplexFloat32Sse3,
            FftInverseComplexFloat32Sse3};
  }
  if (cls == 2) {
    return {FftGetSizeComplexFloat32Ssse3, FftInitComplexFloat32Ssse3, FftForwardComplexFloat32Ssse3,
            FftInverseComplexFloat32Ssse3};
  }
  if (cls == 3) {
    return {FftGetSizeComplexFloat32Sse42, FftInitComplexFloat32Sse42, FftForwardComplexFloat32Sse42,
            FftInverseComplexFloat32Sse42};
  }
  if (cls == 4) {
    return {FftGetSizeComplexFloat32Avx, FftInitComplexFloat32Avx, FftForwardComplexFloat32Avx,
            FftInverseComplexFloat32Avx};
  }
  if (cls == 5) {
    return {FftGetSizeComplexFloat32Avx2, FftInitComplexFloat32Avx2, FftForwardComplexFloat32Avx2,
            FftInverseComplexFloat32Avx2};
  }
  if (cls == 6) {
    return {FftGetSizeComplexFloat32Avx512ManyCore, FftInitComplexFloat32Avx512ManyCore,
            FftForwardComplexFloat32Avx512ManyCore, FftInverseComplexFloat32Avx512ManyCore};
  }
  return {FftGetSizeComplexFloat32Avx512, FftInitComplexFloat32Avx512, FftForwardComplexFloat32Avx512,
          FftInverseComplexFloat32Avx512};
}

class VectorTransformTest : public lv_test::PerClassTest {
 protected:
  ClassTransforms T() const { return Transforms(Cls()); }
  FftPlan Plan(int order, int flag, size_t workOffset = 0) const {
    FftPlan p(T().getSize, T().init, order, flag, workOffset);
    EXPECT_EQ(p.status, 0) << "order " << order << " flag " << flag;
    return p;
  }
};

INSTANTIATE_TEST_SUITE_P(Classes, VectorTransformTest, ::testing::Values(1, 2, 3, 4, 5, 6, 7), lv_test::ClassParamName);

// Orders 0-18, forward and inverse, flags 2 (inverse scaled by 1/N) and 8:
// accuracy against FFTW in double, linearity, impulse response, time shift,
// source untouched, in place equal to out of place.
TEST_P(VectorTransformTest, VerifierPropertiesOfEveryOrder) {
  for (int order = 0; order <= 18; ++order) {
    const double n = std::ldexp(1.0, order);
    for (int flag : {kFftScaleInverse, kFftNoScale}) {
      const FftPlan plan = Plan(order, flag);
      const double inverseScale = flag == kFftScaleInverse ? 1.0 / n : 1.0;
      EXPECT_TRUE(lv_test::VerifyFft(lv_test::TransformSubject(T().forward, plan, order, lv_test::kFftForward, 1.0),
                                     static_cast<uint32_t>(order)))
          << "flag " << flag;
      EXPECT_TRUE(
          lv_test::VerifyFft(lv_test::TransformSubject(T().inverse, plan, order, lv_test::kFftInverse, inverseScale),
                             static_cast<uint32_t>(700 + order)))
          << "flag " << flag;
    }
  }
}

// inverse(x) == conj(forward(conj(x))); flag 2's inverse equals flag 8's times
// 2^-order bit for bit and its forward is flag 8's forward.
TEST_P(VectorTransformTest, MirrorAndFlagScalingAreExact) {
  for (int order = 0; order <= 18; ++order) {
    const int64_t n = int64_t{1} << order;
    const std::vector<C> x = lv_test::RandomSignal(n, 50 + static_cast<uint32_t>(order));
    const std::vector<C> cx = lv_test::Conjugated(x);
    const FftPlan p2 = Plan(order, kFftScaleInverse), p8 = Plan(order, kFftNoScale);
    std::vector<C> f8(n), i8(n), f2(n), i2(n), fc(n);
    ASSERT_EQ(T().forward(x.data(), f8.data(), p8.spec, p8.work()), 0);
    ASSERT_EQ(T().inverse(x.data(), i8.data(), p8.spec, p8.work()), 0);
    ASSERT_EQ(T().forward(x.data(), f2.data(), p2.spec, p2.work()), 0);
    ASSERT_EQ(T().inverse(x.data(), i2.data(), p2.spec, p2.work()), 0);
    ASSERT_EQ(T().forward(cx.data(), fc.data(), p8.spec, p8.work()), 0);
    EXPECT_TRUE(SameBits(f2, f8)) << "flag 2 leaves the forward unscaled, order " << order;
    EXPECT_TRUE(lv_test::IsMirror(i8, fc)) << "order " << order;
    EXPECT_TRUE(lv_test::IsScaledOnce(i2, i8, std::ldexp(1.0f, -order))) << "flag 2, order " << order;
  }
}

// In place, and source, destination or work buffer 8, 16 or 32 bytes off a
// 64-byte boundary, give the bits of the aligned out-of-place call; the
// source of an out-of-place call is unchanged.
TEST_P(VectorTransformTest, InPlaceAndMisalignedGiveTheSameBits) {
  struct Case {
    int srcOffset, dstOffset, workOffset;
    bool inPlace;
  };
  const Case cases[] = {{8, 8, 0, false}, {16, 32, 8, false}, {32, 16, 16, false}, {0, 0, 32, true}, {8, 8, 0, true}};
  for (int order : {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18}) {
    const int64_t n = int64_t{1} << order;
    const std::vector<C> x = lv_test::RandomSignal(n, 90 + static_cast<uint32_t>(order));
    for (int flag : {kFftScaleInverse, kFftScaleForward}) {
      const FftPlan ref = Plan(order, flag);
      for (lv_test::FftTransformFn fn : {T().forward, T().inverse}) {
        lv_test::PlacedPoints a(n, 0), b(n, 0);
        ASSERT_EQ(fn(a.Fill(x), b.data(), ref.spec, ref.work()), 0);
        const std::vector<C> want = b.Values();
        for (const Case& k : cases) {
          const FftPlan plan = Plan(order, flag, static_cast<size_t>(k.workOffset));
          lv_test::PlacedPoints src(n, static_cast<size_t>(k.srcOffset)), dst(n, static_cast<size_t>(k.dstOffset));
          C* out = k.inPlace ? src.data() : dst.data();
          ASSERT_EQ(fn(src.Fill(x), out, plan.spec, plan.work()), 0);
          ASSERT_TRUE(SameBits(out, want.data(), n))
              << "order " << order << " flag " << flag << " offsets " << k.srcOffset << "/" << k.dstOffset << "/"
              << k.workOffset << " in place " << k.inPlace;
          EXPECT_TRUE(src.CanariesIntact() && dst.CanariesIntact()) << "order " << order;
          if (!k.inPlace) {
            EXPECT_TRUE(SameBits(src.data(), x.data(), n)) << "source changed, order " << order;
          }
        }
      }
    }
  }
}

// The statuses in their order, and the work buffer: null is accepted where the
// specification asks for none (orders 0-6) and refused where it asks for one.
TEST_P(VectorTransformTest, StatusesAndWorkBuffer) {
  const FftPlan small = Plan(5, kFftNoScale), medium = Plan(10, kFftNoScale);
  std::vector<C> x(1024, C{1, 0}), y(1024);
  for (lv_test::FftTransformFn fn : {T().forward, T().inverse}) {
    EXPECT_EQ(fn(x.data(), y.data(), nullptr, medium.work()), StatusNullPointer);
    EXPECT_EQ(fn(nullptr, nullptr, nullptr, nullptr), StatusNullPointer);
    FftSpecComplexFloat32 bad{};
    std::memcpy(&bad, medium.spec, sizeof bad);
    bad.identifier = 0;
    EXPECT_EQ(fn(nullptr, nullptr, &bad, nullptr), StatusFftBadSpec);
    EXPECT_EQ(fn(nullptr, y.data(), medium.spec, medium.work()), StatusNullPointer);
    EXPECT_EQ(fn(x.data(), nullptr, medium.spec, medium.work()), StatusNullPointer);
    EXPECT_GT(medium.workBytes, 0);
    EXPECT_EQ(fn(x.data(), y.data(), medium.spec, nullptr), StatusNullPointer);
    EXPECT_EQ(small.workBytes, 0);
    EXPECT_EQ(fn(x.data(), y.data(), small.spec, nullptr), StatusOk);
    EXPECT_EQ(y[0].re, 32.0f);
  }
}

}  // namespace
