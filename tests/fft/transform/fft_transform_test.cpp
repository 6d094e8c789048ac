// Forward and inverse transforms of the portable FFT (class 0): accuracy
// against FFTW in double precision and the exact properties.
#include <cstring>

#include "fft/setup/setup.h"
#include "fft/fft_classes.h"
#include "fft_check.h"
#include "cpu/dispatch_testing.h"

namespace {

using fft_test::Plan;
using fft_test::RandomSignal;

using fft_test::SameBits;

// Forward, inverse and round trip against FFTW in double, one case per order.
class FftAccuracy : public testing::TestWithParam<int> {};
TEST_P(FftAccuracy, AgainstDoublePrecision) { fft_test::CheckAccuracy(GetParam()); }
INSTANTIATE_TEST_SUITE_P(Orders, FftAccuracy, testing::Range(0, 25));

// inverse(x) == conj(forward(conj(x))); in place equals out of place; flag 2
// equals flag 8 times 2^-order bit for bit (scaled exactly once), one case per
// order (orders 23 to 27 in the huge tests).
class FftExactProperties : public testing::TestWithParam<int> {};
TEST_P(FftExactProperties, MirrorScaleAndInPlace) { fft_test::CheckExactProperties(GetParam()); }
INSTANTIATE_TEST_SUITE_P(Orders, FftExactProperties, testing::Range(0, 23));

TEST(FftTransform, ImpulseAndConstantAreExact) {
  for (int order = 0; order <= 12; ++order) {
    const int64_t n = int64_t{1} << order;
    Plan p(order, 8);
    std::vector<ComplexFloat32> x(n, {0.0f, 0.0f}), y(n);
    x[0] = {1.0f, -2.0f};
    ASSERT_EQ(FftForwardComplexFloat32(x.data(), y.data(), p.spec, p.workBuffer()), 0);
    for (int64_t k = 0; k < n; ++k) {
      ASSERT_EQ(y[k].re, 1.0f) << order << " " << k;
      ASSERT_EQ(y[k].im, -2.0f) << order << " " << k;
    }
    std::fill(x.begin(), x.end(), ComplexFloat32{0.5f, 0.25f});
    ASSERT_EQ(FftInverseComplexFloat32(x.data(), y.data(), p.spec, p.workBuffer()), 0);
    EXPECT_EQ(y[0].re, 0.5f * static_cast<float>(n));
    EXPECT_EQ(y[0].im, 0.25f * static_cast<float>(n));
    for (int64_t k = 1; k < n; ++k) {
      ASSERT_LE(std::fabs(y[k].re) + std::fabs(y[k].im), 1e-6f * static_cast<float>(n)) << order << " " << k;
    }
  }
}

// Linearity and the shift theorem on every road: forward(a x + y) equals
// a forward(x) + forward(y), and a circular shift by one sample multiplies
// bin k by e^(-2 pi i k/N) (e^(+..) for the inverse), within the accuracy
// bound.
TEST(FftTransform, LinearityAndShiftTheorem) {
  for (int order : {2, 4, 5, 6, 9, 11, 12, 13, 17, 21}) {
    const int64_t n = int64_t{1} << order;
    Plan p(order, 8);
    const auto x = RandomSignal(n, 300 + order);
    const auto y = RandomSignal(n, 400 + order);
    std::vector<ComplexFloat32> mix(n), shifted(n);
    for (int64_t i = 0; i < n; ++i) {
      mix[i] = {0.5f * x[i].re + y[i].re, 0.5f * x[i].im + y[i].im};
      shifted[(i + 1) % n] = x[i];
    }
    for (bool inverse : {false, true}) {
      auto run = inverse ? FftInverseComplexFloat32 : FftForwardComplexFloat32;
      std::vector<ComplexFloat32> fx(n), fy(n), fmix(n), fshift(n);
      ASSERT_EQ(run(x.data(), fx.data(), p.spec, p.workBuffer()), 0);
      ASSERT_EQ(run(y.data(), fy.data(), p.spec, p.workBuffer()), 0);
      ASSERT_EQ(run(mix.data(), fmix.data(), p.spec, p.workBuffer()), 0);
      ASSERT_EQ(run(shifted.data(), fshift.data(), p.spec, p.workBuffer()), 0);
      double errMix = 0, errShift = 0, norm = 0;
      for (int64_t k = 0; k < n; ++k) {
        const std::complex<double> a(fx[k].re, fx[k].im), b(fy[k].re, fy[k].im);
        const std::complex<double> m(fmix[k].re, fmix[k].im), s(fshift[k].re, fshift[k].im);
        const double angle = (inverse ? 2.0 : -2.0) * M_PI * static_cast<double>(k) / static_cast<double>(n);
        errMix += std::norm(m - (0.5 * a + b));
        errShift += std::norm(s - a * std::polar(1.0, angle));
        norm += std::norm(a) + std::norm(b);
      }
      EXPECT_LE(std::sqrt(errMix / norm), 4 * fft_test::Bound(order)) << "linearity, order " << order;
      EXPECT_LE(std::sqrt(errShift / norm), 4 * fft_test::Bound(order)) << "shift, order " << order;
    }
  }
}

// A single tone lands in its own bin.
TEST(FftTransform, ToneLandsInItsBin) {
  const int order = 8;
  const int n = 1 << order;
  Plan p(order, 1);
  std::vector<ComplexFloat32> x(n), y(n);
  for (int i = 0; i < n; ++i) {
    const double a = 2.0 * M_PI * 5.0 * i / n;
    x[i] = {static_cast<float>(std::cos(a)), static_cast<float>(std::sin(a))};
  }
  ASSERT_EQ(FftForwardComplexFloat32(x.data(), y.data(), p.spec, p.workBuffer()), 0);
  for (int k = 0; k < n; ++k) {
    EXPECT_NEAR(y[k].re, k == 5 ? 1.0f : 0.0f, 1e-6f) << k;
    EXPECT_NEAR(y[k].im, 0.0f, 1e-6f) << k;
  }
}

TEST(FftTransform, StatusOrder) {
  Plan p(13, 2);
  ASSERT_GT(p.workBytes, 0);
  std::vector<ComplexFloat32> x(1 << 13, {1.0f, 0.0f}), y(x);
  const std::vector<ComplexFloat32> before(y);
  EXPECT_EQ(FftForwardComplexFloat32(nullptr, nullptr, nullptr, nullptr), -8);
  std::vector<uint8_t> zero(256, 0);
  auto* bad = reinterpret_cast<const FftSpecComplexFloat32*>(
      reinterpret_cast<uint8_t*>((reinterpret_cast<uintptr_t>(zero.data()) + 63) & ~uintptr_t{63}));
  EXPECT_EQ(FftForwardComplexFloat32(nullptr, y.data(), bad, nullptr), -17);
  EXPECT_EQ(FftInverseComplexFloat32(nullptr, y.data(), bad, nullptr), -17);
  EXPECT_EQ(FftForwardComplexFloat32(nullptr, y.data(), p.spec, p.workBuffer()), -8);
  EXPECT_EQ(FftForwardComplexFloat32(x.data(), nullptr, p.spec, p.workBuffer()), -8);
  EXPECT_EQ(FftForwardComplexFloat32(x.data(), y.data(), p.spec, nullptr), -8);
  EXPECT_EQ(FftInverseComplexFloat32(x.data(), y.data(), p.spec, nullptr), -8);
  EXPECT_TRUE(SameBits(y, before));
  // Orders 11 and 12 need no work buffer: null is accepted.
  Plan p12(12, 2);
  EXPECT_EQ(p12.workBytes, 0);
  std::vector<ComplexFloat32> a(1 << 12, {1.0f, 0.0f}), b(1 << 12);
  EXPECT_EQ(FftForwardComplexFloat32(a.data(), b.data(), p12.spec, nullptr), 0);
}

// Through the dispatch each class runs its own size query, initialisation
// and transform: classes 5 and 7 their own code, the others class 0's. The
// result of the dispatched calls equals, bit for bit, that of the class's
// functions called directly.
TEST(FftTransform, EveryClassThroughTheDispatch) {
  using GetSizeFn = int32_t (*)(int32_t, int32_t, int32_t, int32_t*, int32_t*, int32_t*);
  using InitFn = int32_t (*)(FftSpecComplexFloat32**, int32_t, int32_t, int32_t, uint8_t*, uint8_t*);
  using TransformFn = int32_t (*)(const ComplexFloat32*, ComplexFloat32*, const FftSpecComplexFloat32*, uint8_t*);
  struct Own {
    GetSizeFn getSize;
    InitFn init;
    TransformFn forward;
  };
  const Own portable{FftGetSizeComplexFloat32Sse2, FftInitComplexFloat32Sse2, FftForwardComplexFloat32Sse2};
  const Own avx2{FftGetSizeComplexFloat32Avx2, FftInitComplexFloat32Avx2, FftForwardComplexFloat32Avx2};
  const Own avx512{FftGetSizeComplexFloat32Avx512, FftInitComplexFloat32Avx512, FftForwardComplexFloat32Avx512};
  for (int order : {10, 20}) {
    const auto x = RandomSignal(1 << order, 7);
    for (int cls = 0; cls < kProcessorClassCount; ++cls) {
      if (!IsProcessorClassRunnable(cls)) continue;
      const Own& own = cls == 5 ? avx2 : cls == 7 ? avx512 : portable;
      int32_t s, i, w;
      ASSERT_EQ(own.getSize(order, 2, 2, &s, &i, &w), 0);
      std::vector<uint8_t> mem(s), init(i), work(w);
      FftSpecComplexFloat32* spec = nullptr;
      ASSERT_EQ(own.init(&spec, order, 2, 2, mem.data(), i ? init.data() : nullptr), 0);
      std::vector<ComplexFloat32> ref(x.size()), y(x.size());
      ASSERT_EQ(own.forward(x.data(), ref.data(), spec, w ? work.data() : nullptr), 0);
      ScopedProcessorClass scoped(cls);
      Plan p(order, 2);
      EXPECT_EQ(p.workBytes, w) << cls;
      ASSERT_EQ(FftForwardComplexFloat32(x.data(), y.data(), p.spec, p.workBuffer()), 0);
      EXPECT_TRUE(SameBits(y, ref)) << "class " << cls << " order " << order;
    }
  }
}

}  // namespace
