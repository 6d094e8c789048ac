// Forward and inverse transforms of the portable FFT (class 0): the verifier's
// properties and the comparison with FFTW in double at every order, and the
// exact relations between flags, directions and roads.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

#include "cpu/dispatch_testing.h"
#include "fft/setup/permute.h"
#include "fft/setup/many_core_plan.h"
#include "fft/setup/setup.h"
#include "fft/fft_classes.h"
#include "support/bits.h"
#include "support/fft_reference.h"
#include "tests/fft/transform/fft_transform_checks.h"

namespace {

using lv_test::FftPlan;
using lv_test::RandomSignal;
using lv_test::SameBits;

// Forward (flag 2: unscaled) and inverse (scaled by 1/N) against FFTW in
// double, with linearity, impulse response, time shift, the source left
// untouched and in place equal to out of place, and the round trip; one case
// per order (orders above 22 against FFTW alone).
class FftAccuracy : public testing::TestWithParam<int> {};
TEST_P(FftAccuracy, AgainstDoublePrecision) {
  fft_transform_checks::CheckOrder(GetParam(), GetParam() <= 22 ? lv_test::kFftAllProperties : lv_test::kFftAccuracy);
}
INSTANTIATE_TEST_SUITE_P(Orders, FftAccuracy, testing::Range(0, 25));

// inverse(x) == conj(forward(conj(x))); in place equals out of place; flag 2
// equals flag 8 times 2^-order bit for bit (scaled exactly once), one case per
// order (orders 23 to 27 in the huge tests).
class FftExactProperties : public testing::TestWithParam<int> {};
TEST_P(FftExactProperties, MirrorScaleAndInPlace) { fft_transform_checks::CheckExactProperties(GetParam()); }
INSTANTIATE_TEST_SUITE_P(Orders, FftExactProperties, testing::Range(0, 23));

// A constant input gives N times it at bin 0 and nearly nothing elsewhere.
TEST(FftTransform, ConstantGivesItsSumInBinZero) {
  for (int order = 0; order <= 12; ++order) {
    const int64_t n = int64_t{1} << order;
    FftPlan p(order, 8);
    std::vector<ComplexFloat32> x(n, ComplexFloat32{0.5f, 0.25f}), y(n);
    ASSERT_EQ(FftInverseComplexFloat32(x.data(), y.data(), p.spec, p.work()), 0);
    EXPECT_EQ(y[0].re, 0.5f * static_cast<float>(n));
    EXPECT_EQ(y[0].im, 0.25f * static_cast<float>(n));
    for (int64_t k = 1; k < n; ++k) {
      ASSERT_LE(std::fabs(y[k].re) + std::fabs(y[k].im), 1e-6f * static_cast<float>(n)) << order << " " << k;
    }
  }
}

// A single tone lands in its own bin.
TEST(FftTransform, ToneLandsInItsBin) {
  const int order = 8;
  const int n = 1 << order;
  FftPlan p(order, 1);
  std::vector<ComplexFloat32> x(n), y(n);
  for (int i = 0; i < n; ++i) {
    const double a = 2.0 * M_PI * 5.0 * i / n;
    x[i] = {static_cast<float>(std::cos(a)), static_cast<float>(std::sin(a))};
  }
  ASSERT_EQ(FftForwardComplexFloat32(x.data(), y.data(), p.spec, p.work()), 0);
  for (int k = 0; k < n; ++k) {
    EXPECT_NEAR(y[k].re, k == 5 ? 1.0f : 0.0f, 1e-6f) << k;
    EXPECT_NEAR(y[k].im, 0.0f, 1e-6f) << k;
  }
}

TEST(FftTransform, StatusOrder) {
  FftPlan p(13, 2);
  ASSERT_GT(p.workBytes, 0);
  std::vector<ComplexFloat32> x(1 << 13, {1.0f, 0.0f}), y(x);
  const std::vector<ComplexFloat32> before(y);
  EXPECT_EQ(FftForwardComplexFloat32(nullptr, nullptr, nullptr, nullptr), -8);
  std::vector<uint8_t> zero(256, 0);
  auto* bad = reinterpret_cast<const FftSpecComplexFloat32*>(
      reinterpret_cast<uint8_t*>((reinterpret_cast<uintptr_t>(zero.data()) + 63) & ~uintptr_t{63}));
  EXPECT_EQ(FftForwardComplexFloat32(nullptr, y.data(), bad, nullptr), -17);
  EXPECT_EQ(FftInverseComplexFloat32(nullptr, y.data(), bad, nullptr), -17);
  EXPECT_EQ(FftForwardComplexFloat32(nullptr, y.data(), p.spec, p.work()), -8);
  EXPECT_EQ(FftForwardComplexFloat32(x.data(), nullptr, p.spec, p.work()), -8);
  EXPECT_EQ(FftForwardComplexFloat32(x.data(), y.data(), p.spec, nullptr), -8);
  EXPECT_EQ(FftInverseComplexFloat32(x.data(), y.data(), p.spec, nullptr), -8);
  EXPECT_TRUE(SameBits(y, before));
  // Orders 11 and 12 need no work buffer: null is accepted.
  FftPlan p12(12, 2);
  EXPECT_EQ(p12.workBytes, 0);
  std::vector<ComplexFloat32> a(1 << 12, {1.0f, 0.0f}), b(1 << 12);
  EXPECT_EQ(FftForwardComplexFloat32(a.data(), b.data(), p12.spec, nullptr), 0);
}

// Through the dispatch each class runs its own size query, initialisation
// and transforms (the class table's transformClass); the result of the
// dispatched calls equals, bit for bit, that of the class's own functions
// called directly. Only class 0 runs the portable transforms.
TEST(FftTransform, EveryClassThroughTheDispatch) {
  struct Own {
    lv_test::FftGetSizeFn getSize;
    lv_test::FftInitFn init;
    lv_test::FftTransformFn forward, inverse;
  };
  const Own own[kProcessorClassCount] = {
      {FftGetSizeComplexFloat32Sse2, FftInitComplexFloat32Sse2, FftForwardComplexFloat32Sse2,
       FftInverseComplexFloat32Sse2},
      {FftGetSizeComplexFloat32Sse3, FftInitComplexFloat32Sse3, FftForwardComplexFloat32Sse3,
       FftInverseComplexFloat32Sse3},
      {FftGetSizeComplexFloat32Ssse3, FftInitComplexFloat32Ssse3, FftForwardComplexFloat32Ssse3,
       FftInverseComplexFloat32Ssse3},
      {FftGetSizeComplexFloat32Sse42, FftInitComplexFloat32Sse42, FftForwardComplexFloat32Sse42,
       FftInverseComplexFloat32Sse42},
      {FftGetSizeComplexFloat32Avx, FftInitComplexFloat32Avx, FftForwardComplexFloat32Avx,
       FftInverseComplexFloat32Avx},
      {FftGetSizeComplexFloat32Avx2, FftInitComplexFloat32Avx2, FftForwardComplexFloat32Avx2,
       FftInverseComplexFloat32Avx2},
      {FftGetSizeComplexFloat32Avx512ManyCore, FftInitComplexFloat32Avx512ManyCore,
       FftForwardComplexFloat32Avx512ManyCore, FftInverseComplexFloat32Avx512ManyCore},
      {FftGetSizeComplexFloat32Avx512, FftInitComplexFloat32Avx512, FftForwardComplexFloat32Avx512,
       FftInverseComplexFloat32Avx512},
  };
  int visited = 0;
  for (int order : {4, 10, 20}) {
    const auto x = RandomSignal(1 << order, 7);
    for (int cls = 0; cls < kProcessorClassCount; ++cls) {
      if (!IsProcessorClassRunnable(cls)) continue;
      const Own& o = own[cls];
      FftPlan direct(o.getSize, o.init, order, 2);
      ASSERT_EQ(direct.status, 0);
      std::vector<ComplexFloat32> ref(x.size()), refInv(x.size()), y(x.size()), yInv(x.size());
      ASSERT_EQ(o.forward(x.data(), ref.data(), direct.spec, direct.work()), 0);
      ASSERT_EQ(o.inverse(x.data(), refInv.data(), direct.spec, direct.work()), 0);
      ScopedProcessorClass scoped(cls);
      FftPlan p(order, 2);
      EXPECT_EQ(p.workBytes, direct.workBytes) << cls;
      ASSERT_EQ(FftForwardComplexFloat32(x.data(), y.data(), p.spec, p.work()), 0);
      ASSERT_EQ(FftInverseComplexFloat32(x.data(), yInv.data(), p.spec, p.work()), 0);
      EXPECT_TRUE(SameBits(y, ref)) << "class " << cls << " order " << order;
      EXPECT_TRUE(SameBits(yInv, refInv)) << "class " << cls << " order " << order;
      ++visited;
    }
  }
  EXPECT_GT(visited, 0);
}

}  // namespace
