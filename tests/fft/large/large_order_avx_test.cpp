// The class-4 large-order drivers called directly (orders 19 to 23): accuracy
// against FFTW in double, in place equal to out of place with the source left
// unchanged, the inverse mirroring the forward, and the work buffer held to
// the size the specification reports.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "large_check.h"
#include "cpu/dispatch_testing.h"
#include "support/guarded_buffer.h"

namespace {

using namespace lv_large_test;

using DriverFn = void (*)(const FftSpecComplexFloat32*, const C*, C*, int32_t, uint8_t*);
constexpr DriverFn kDrivers[2] = {FftForwardLargeOrderAvx, FftInverseLargeOrderAvx};

const ClassRoads kAvx{4, "Avx", FftGetSizeComplexFloat32Avx, FftInitComplexFloat32Avx, nullptr, nullptr,
                      FftForwardLargeOrderLevelAvx, FftInverseLargeOrderLevelAvx};

class LargeAvxTest : public ::testing::TestWithParam<int> {
 protected:
  void SetUp() override {
    if (!IsProcessorClassRunnable(4)) GTEST_SKIP() << "class 4 is not supported by this processor";
  }
};

// 19: first blocked order, four sub-transforms of 2^15; 22: the last order
// whose out-of-place reversal moves tiles straight from the source; 23: copied
// in chunks first, 256 sub-transforms. Forward unscaled and inverse scaled by
// 1/N, each within 2 * 2^-24 * (1 + order) of FFTW in double. The work buffer
// is the reported size less the 64 bytes the transforms may spend aligning it,
// with a protected page right behind it: every road of both directions stays
// inside. In place gives the out-of-place result bit for bit; the source is
// only read; inverse(x) == conj(forward(conj(x))).
TEST_P(LargeAvxTest, AgreesWithFftwAndStaysInItsWorkBuffer) {
  const int order = GetParam();
  const int64_t n = int64_t{1} << order;
  Plan plan(kAvx, order, kFftScaleInverse), unscaled(kAvx, order, kFftNoScale);
  ASSERT_EQ(plan.status, 0);
  ASSERT_EQ(unscaled.status, 0);
  ASSERT_GE(plan.workBytes, 64 * 1024 + 64);
  lv_test::GuardedBuffer work(static_cast<size_t>(plan.workBytes - 64), 64);
  ASSERT_EQ(reinterpret_cast<uintptr_t>(work.data()) % 64, 0u);
  std::vector<C> x(n), cx(n), y(n), inPlace(n), mirror(n);
  FillRandom(x.data(), n, 40 + static_cast<uint32_t>(order));
  for (int64_t i = 0; i < n; ++i) cx[i] = {x[i].re, -x[i].im};
  const std::vector<C> xCopy(x);
  fftw_complex* scratch = fftw_alloc_complex(n);
  for (int d = 0; d < 2; ++d) {
    const char* dir = d == 0 ? "forward" : "inverse";
    kDrivers[d](plan.spec, x.data(), y.data(), order, work.data());
    EXPECT_TRUE(SameBits(x.data(), xCopy.data(), n)) << dir << ": the source is only read";
    const double scale = d == 0 ? 1.0 : 1.0 / static_cast<double>(n);
    EXPECT_LE(RelativeError(x.data(), y.data(), n, d == 0 ? FFTW_FORWARD : FFTW_BACKWARD, scale, scratch),
              Bound(order))
        << dir;
    inPlace = x;
    kDrivers[d](plan.spec, inPlace.data(), inPlace.data(), order, work.data());
    EXPECT_TRUE(SameBits(inPlace.data(), y.data(), n)) << dir << " in place";
  }
  kDrivers[0](unscaled.spec, cx.data(), mirror.data(), order, work.data());
  kDrivers[1](unscaled.spec, x.data(), y.data(), order, work.data());
  int64_t mismatches = 0;
  for (int64_t i = 0; i < n; ++i) mismatches += y[i].re != mirror[i].re || y[i].im != -mirror[i].im;
  EXPECT_EQ(mismatches, 0) << "inverse(x) == conj(forward(conj(x)))";
  fftw_free(scratch);
}

INSTANTIATE_TEST_SUITE_P(Orders, LargeAvxTest, ::testing::Range(19, 24),
                         [](const auto& info) { return "order" + std::to_string(info.param); });

// The level function at depth 0 on bit-reversed input is the whole transform
// without its bit reversal; the forward-scaled specification scales each
// sub-transform so the result is the unscaled one times 2^-order exactly.
TEST(LargeAvxLevel, LevelOnReversedInputGivesTheTransform) {
  if (!IsProcessorClassRunnable(4)) GTEST_SKIP() << "class 4 is not supported by this processor";
  const int order = 20;
  const int64_t n = int64_t{1} << order;
  Plan plan(kAvx, order, kFftNoScale), scaled(kAvx, order, kFftScaleForward);
  ASSERT_EQ(plan.status, 0);
  ASSERT_EQ(scaled.status, 0);
  std::vector<C> x(n), rev(n), want(n);
  FillRandom(x.data(), n, 21);
  for (int64_t i = 0; i < n; ++i) {
    int64_t r = 0;
    for (int b = 0; b < order; ++b) r |= ((i >> b) & 1) << (order - 1 - b);
    rev[r] = x[i];
  }
  for (int d = 0; d < 2; ++d) {
    std::vector<C> y(rev);
    kDrivers[d](plan.spec, x.data(), want.data(), order, plan.work.get());
    (d == 0 ? kAvx.forwardLevel : kAvx.inverseLevel)(plan.spec, y.data(), order, 0, plan.work.get());
    EXPECT_TRUE(SameBits(y.data(), want.data(), n)) << (d == 0 ? "forward" : "inverse");
  }
  std::vector<C> f(n);
  kDrivers[0](scaled.spec, x.data(), f.data(), order, scaled.work.get());
  kDrivers[0](plan.spec, x.data(), want.data(), order, plan.work.get());
  const float s = std::ldexp(1.0f, -order);
  int64_t mismatches = 0;
  for (int64_t i = 0; i < n; ++i) mismatches += f[i].re != want[i].re * s || f[i].im != want[i].im * s;
  EXPECT_EQ(mismatches, 0) << "forward scaled by 2^-order";
}

}  // namespace
