// The class-1 large-order drivers called directly with class-1
// specifications, orders 17 to 22: accuracy against FFTW in double, the exact
// properties on both sides of the whole-array/blocked bit-reversal edge (19/20),
// misaligned destinations, the work buffer held to its reported size, and the
// recursion level called directly.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "fft/drivers/large_order.h"
#include "fft/fft_classes.h"
#include "large_check.h"
#include "cpu/dispatch_testing.h"
#include "support/guarded_buffer.h"

namespace {

using namespace lv_large_test;

using DriverFn = void (*)(const FftSpecComplexFloat32*, const C*, C*, int32_t, uint8_t*);
const DriverFn kDrivers[2] = {FftForwardLargeOrderSse3, FftInverseLargeOrderSse3};
const LevelFn kLevels[2] = {FftForwardLargeOrderLevelSse3, FftInverseLargeOrderLevelSse3};

const ClassRoads kSse3 = {1, "Sse3", FftGetSizeComplexFloat32Sse3, FftInitComplexFloat32Sse3, nullptr, nullptr,
                          FftForwardLargeOrderLevelSse3, FftInverseLargeOrderLevelSse3};

uint8_t* Align64(uint8_t* p) {
  return reinterpret_cast<uint8_t*>((reinterpret_cast<uintptr_t>(p) + 63) & ~uintptr_t{63});
}

// n points `offset` bytes past a 64-byte boundary.
struct Placed {
  std::vector<uint8_t> raw;
  C* p;
  Placed(int64_t n, int offset) : raw(static_cast<size_t>(n) * 8 + 128) {
    p = reinterpret_cast<C*>(Align64(raw.data()) + offset);
  }
};

class Sse3LargeDriverTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!IsProcessorClassRunnable(1)) GTEST_SKIP() << "class 1 is not supported by this processor";
  }
};

class Sse3LargeOrderTest : public Sse3LargeDriverTest, public ::testing::WithParamInterface<int> {};

// Forward unscaled and inverse scaled by 1/N, out of place, against FFTW:
// 17 (first order, 32-column blocks), 18-19 (whole-array reversal), 20 (first
// blocked), 21 (outer order 6), 22 (outer order 8).
TEST_P(Sse3LargeOrderTest, AgreesWithFftwInDouble) {
  const int order = GetParam();
  const int64_t n = int64_t{1} << order;
  Plan plan(kSse3, order, kFftScaleInverse);
  ASSERT_EQ(plan.status, 0);
  std::vector<C> x(n), y(n);
  FillRandom(x.data(), n, static_cast<uint32_t>(order));
  fftw_complex* scratch = fftw_alloc_complex(n);
  FftForwardLargeOrderSse3(plan.spec, x.data(), y.data(), order, plan.work.get());
  EXPECT_LE(RelativeError(x.data(), y.data(), n, FFTW_FORWARD, 1.0, scratch), Bound(order));
  FftInverseLargeOrderSse3(plan.spec, x.data(), y.data(), order, plan.work.get());
  EXPECT_LE(RelativeError(x.data(), y.data(), n, FFTW_BACKWARD, 1.0 / static_cast<double>(n), scratch),
            Bound(order));
  fftw_free(scratch);
}

INSTANTIATE_TEST_SUITE_P(Orders, Sse3LargeOrderTest, ::testing::Range(17, 23),
                         [](const auto& info) { return "order" + std::to_string(info.param); });

class Sse3LargeEdgeTest : public Sse3LargeOrderTest {};

// Mirror, scale flags (each point scaled once), in place equal to out of
// place, a destination 8 bytes off 16-byte alignment equal to an aligned one,
// and the source left unchanged.
TEST_P(Sse3LargeEdgeTest, ExactProperties) {
  const int order = GetParam();
  const int64_t n = int64_t{1} << order;
  std::vector<C> x(n), cx(n);
  FillRandom(x.data(), n, 100 + static_cast<uint32_t>(order));
  for (int64_t i = 0; i < n; ++i) cx[i] = {x[i].re, -x[i].im};
  const std::vector<C> xCopy(x);
  Plan p8(kSse3, order, kFftNoScale), p2(kSse3, order, kFftScaleInverse), p4(kSse3, order, kFftScaleForward);
  ASSERT_EQ(p8.status, 0);
  ASSERT_EQ(p2.status, 0);
  ASSERT_EQ(p4.status, 0);
  std::vector<C> f8(n), i8(n), fc(n), i2(n), f4(n);
  FftForwardLargeOrderSse3(p8.spec, x.data(), f8.data(), order, p8.work.get());
  FftInverseLargeOrderSse3(p8.spec, x.data(), i8.data(), order, p8.work.get());
  EXPECT_TRUE(SameBits(x.data(), xCopy.data(), n)) << "out of place leaves the source unchanged";
  FftForwardLargeOrderSse3(p8.spec, cx.data(), fc.data(), order, p8.work.get());
  FftInverseLargeOrderSse3(p2.spec, x.data(), i2.data(), order, p2.work.get());
  FftForwardLargeOrderSse3(p4.spec, x.data(), f4.data(), order, p4.work.get());
  const float s = std::ldexp(1.0f, -order);
  int64_t mirror = 0, scaledInv = 0, scaledFwd = 0;
  for (int64_t i = 0; i < n; ++i) {
    mirror += i8[i].re != fc[i].re || i8[i].im != -fc[i].im;
    scaledInv += i2[i].re != i8[i].re * s || i2[i].im != i8[i].im * s;
    scaledFwd += f4[i].re != f8[i].re * s || f4[i].im != f8[i].im * s;
  }
  EXPECT_EQ(mirror, 0) << "inverse(x) == conj(forward(conj(x)))";
  EXPECT_EQ(scaledInv, 0) << "inverse with its scale flag == unscaled inverse * 2^-order";
  EXPECT_EQ(scaledFwd, 0) << "forward with its scale flag == unscaled forward * 2^-order";
  const std::vector<C>* want[2] = {&f8, &i8};
  for (int d = 0; d < 2; ++d) {
    std::vector<C> inPlace = x;
    kDrivers[d](p8.spec, inPlace.data(), inPlace.data(), order, p8.work.get());
    EXPECT_TRUE(SameBits(inPlace.data(), want[d]->data(), n)) << "in place, direction " << d;
    for (int offset : {8, 24}) {
      Placed dst(n, offset);
      kDrivers[d](p8.spec, x.data(), dst.p, order, p8.work.get());
      EXPECT_TRUE(SameBits(dst.p, want[d]->data(), n)) << "destination offset " << offset << ", direction " << d;
      Placed both(n, offset);
      std::memcpy(both.p, x.data(), static_cast<size_t>(n) * 8);
      kDrivers[d](p8.spec, both.p, both.p, order, p8.work.get());
      EXPECT_TRUE(SameBits(both.p, want[d]->data(), n)) << "in place at offset " << offset << ", direction " << d;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Edges, Sse3LargeEdgeTest, ::testing::Values(17, 18, 19, 20, 21),
                         [](const auto& info) { return "order" + std::to_string(info.param); });

// The caller's work buffer of exactly the reported bytes, at an odd address
// rounded up to 64 bytes as the transforms do, with a protected page behind
// it: every road (aligned and misaligned data, in place and out of place, both
// directions) stays inside and gives the same result.
TEST_F(Sse3LargeDriverTest, WorkBufferStaysWithinItsReportedSize) {
  for (int order : {17, 19, 20, 22}) {
    const int64_t n = int64_t{1} << order;
    Plan plan(kSse3, order, kFftScaleInverse);
    ASSERT_EQ(plan.status, 0);
    lv_test::GuardedBuffer work(static_cast<size_t>(plan.workBytes));
    uint8_t* w = Align64(work.data());
    std::vector<C> x(n), want(n);
    FillRandom(x.data(), n, 7);
    for (int d = 0; d < 2; ++d) {
      kDrivers[d](plan.spec, x.data(), want.data(), order, plan.work.get());
      for (int offset : {0, 8}) {
        Placed y(n, offset);
        kDrivers[d](plan.spec, x.data(), y.p, order, w);
        EXPECT_TRUE(SameBits(y.p, want.data(), n)) << "order " << order << " offset " << offset;
        std::memcpy(y.p, x.data(), static_cast<size_t>(n) * 8);
        kDrivers[d](plan.spec, y.p, y.p, order, w);
        EXPECT_TRUE(SameBits(y.p, want.data(), n)) << "order " << order << " offset " << offset << " in place";
      }
    }
  }
}

// The level function at depth 0 on bit-reversed input is the whole transform
// without its bit reversal.
TEST_F(Sse3LargeDriverTest, LevelOnReversedInputGivesTheTransform) {
  for (int order : {18, 20}) {
    const int64_t n = int64_t{1} << order;
    Plan plan(kSse3, order, kFftNoScale);
    ASSERT_EQ(plan.status, 0);
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
      kLevels[d](plan.spec, y.data(), order, 0, plan.work.get());
      EXPECT_TRUE(SameBits(y.data(), want.data(), n)) << "order " << order << " direction " << d;
    }
  }
}

}  // namespace
