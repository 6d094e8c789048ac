// The large-order road of classes 5 and 7, orders 19-24: accuracy against FFTW
// in double, the exact properties (mirror, flag scaling, in place equal to out
// of place on both sides of the tile-copy/chunked-copy edge, the source left
// unchanged), the work buffer held to its reported size, and the recursion
// level called directly.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>
#include <tuple>
#include <vector>

#include "large_check.h"
#include "cpu/dispatch_testing.h"
#include "support/guarded_buffer.h"

namespace {

using namespace lv_large_test;

bool Runnable(int cls) { return IsProcessorClassRunnable(cls); }

class LargeAccuracyTest : public ::testing::TestWithParam<std::tuple<ClassRoads, int>> {};

// Forward unscaled, inverse scaled by 1/N (flag 2), out of place, against FFTW.
TEST_P(LargeAccuracyTest, AgreesWithFftwInDouble) {
  const auto& [c, order] = GetParam();
  if (!Runnable(c.cls)) GTEST_SKIP() << "class not runnable here";
  const int64_t n = int64_t{1} << order;
  Plan plan(c, order, kFftScaleInverse);
  ASSERT_EQ(plan.status, 0);
  std::vector<C> x(n), y(n);
  FillRandom(x.data(), n, static_cast<uint32_t>(order));
  fftw_complex* scratch = fftw_alloc_complex(n);
  ASSERT_EQ(c.forward(x.data(), y.data(), plan.spec, plan.work.get()), 0);
  EXPECT_LE(RelativeError(x.data(), y.data(), n, FFTW_FORWARD, 1.0, scratch), Bound(order));
  ASSERT_EQ(c.inverse(x.data(), y.data(), plan.spec, plan.work.get()), 0);
  EXPECT_LE(RelativeError(x.data(), y.data(), n, FFTW_BACKWARD, 1.0 / static_cast<double>(n), scratch), Bound(order));
  fftw_free(scratch);
}

INSTANTIATE_TEST_SUITE_P(Orders19To24, LargeAccuracyTest,
                         ::testing::Combine(::testing::ValuesIn(kClasses), ::testing::Range(19, 25)),
                         [](const auto& info) {
                           return std::string(std::get<0>(info.param).name) + "_order" +
                                  std::to_string(std::get<1>(info.param));
                         });

class LargePropertiesTest : public ::testing::TestWithParam<std::tuple<ClassRoads, int>> {};

// 19: first blocked order; 22: last order whose out-of-place reversal moves
// tiles straight from the source; 23: first order copied in chunks first.
TEST_P(LargePropertiesTest, ExactProperties) {
  const auto& [c, order] = GetParam();
  if (!Runnable(c.cls)) GTEST_SKIP() << "class not runnable here";
  const int64_t n = int64_t{1} << order;
  std::vector<C> x(n), cx(n);
  FillRandom(x.data(), n, 100 + static_cast<uint32_t>(order));
  for (int64_t i = 0; i < n; ++i) cx[i] = {x[i].re, -x[i].im};
  const std::vector<C> xCopy(x);
  Plan p8(c, order, kFftNoScale), p2(c, order, kFftScaleInverse), p4(c, order, kFftScaleForward);
  ASSERT_EQ(p8.status, 0);
  ASSERT_EQ(p2.status, 0);
  ASSERT_EQ(p4.status, 0);
  std::vector<C> f8(n), i8(n), fc(n), i2(n), f4(n), inPlace(n);
  ASSERT_EQ(c.forward(x.data(), f8.data(), p8.spec, p8.work.get()), 0);
  ASSERT_EQ(c.inverse(x.data(), i8.data(), p8.spec, p8.work.get()), 0);
  EXPECT_TRUE(SameBits(x.data(), xCopy.data(), n)) << "out of place leaves the source unchanged";
  ASSERT_EQ(c.forward(cx.data(), fc.data(), p8.spec, p8.work.get()), 0);
  ASSERT_EQ(c.inverse(x.data(), i2.data(), p2.spec, p2.work.get()), 0);
  ASSERT_EQ(c.forward(x.data(), f4.data(), p4.spec, p4.work.get()), 0);
  const float s = std::ldexp(1.0f, -order);
  int64_t mirror = 0, scaledInv = 0, scaledFwd = 0;
  for (int64_t i = 0; i < n; ++i) {
    mirror += i8[i].re != fc[i].re || i8[i].im != -fc[i].im;
    scaledInv += i2[i].re != i8[i].re * s || i2[i].im != i8[i].im * s;
    scaledFwd += f4[i].re != f8[i].re * s || f4[i].im != f8[i].im * s;
  }
  EXPECT_EQ(mirror, 0) << "inverse(x) == conj(forward(conj(x)))";
  EXPECT_EQ(scaledInv, 0) << "flag 2 inverse == flag 8 inverse * 2^-order";
  EXPECT_EQ(scaledFwd, 0) << "flag 4 forward == flag 8 forward * 2^-order";
  inPlace = x;
  ASSERT_EQ(c.forward(inPlace.data(), inPlace.data(), p8.spec, p8.work.get()), 0);
  EXPECT_TRUE(SameBits(inPlace.data(), f8.data(), n)) << "forward in place";
  inPlace = x;
  ASSERT_EQ(c.inverse(inPlace.data(), inPlace.data(), p8.spec, p8.work.get()), 0);
  EXPECT_TRUE(SameBits(inPlace.data(), i8.data(), n)) << "inverse in place";
  EXPECT_EQ(c.forward(x.data(), f8.data(), p8.spec, nullptr), StatusNullPointer);
}

INSTANTIATE_TEST_SUITE_P(Edges, LargePropertiesTest,
                         ::testing::Combine(::testing::ValuesIn(kClasses), ::testing::Values(19, 22, 23)),
                         [](const auto& info) {
                           return std::string(std::get<0>(info.param).name) + "_order" +
                                  std::to_string(std::get<1>(info.param));
                         });

class LargeClassTest : public ::testing::TestWithParam<ClassRoads> {
 protected:
  void SetUp() override {
    if (!Runnable(GetParam().cls)) GTEST_SKIP() << "class not runnable here";
  }
};

// The work buffer has exactly the reported bytes, at an odd address, with a
// protected page behind it: every road of both directions stays inside.
TEST_P(LargeClassTest, WorkBufferStaysWithinItsReportedSize) {
  const ClassRoads& c = GetParam();
  for (int order : {19, 23}) {
    const int64_t n = int64_t{1} << order;
    Plan plan(c, order, kFftScaleInverse);
    ASSERT_EQ(plan.status, 0);
    lv_test::GuardedBuffer work(static_cast<size_t>(plan.workBytes));
    std::vector<C> x(n), y(n), want(n);
    FillRandom(x.data(), n, 7);
    for (TransformFn fn : {c.forward, c.inverse}) {
      ASSERT_EQ(fn(x.data(), want.data(), plan.spec, plan.work.get()), 0);
      ASSERT_EQ(fn(x.data(), y.data(), plan.spec, work.data()), 0);
      EXPECT_TRUE(SameBits(y.data(), want.data(), n)) << "order " << order;
      y = x;
      ASSERT_EQ(fn(y.data(), y.data(), plan.spec, work.data()), 0);
      EXPECT_TRUE(SameBits(y.data(), want.data(), n)) << "order " << order << " in place";
    }
  }
}

// The level function at depth 0 on bit-reversed input is the whole transform
// without its bit reversal.
TEST_P(LargeClassTest, LevelOnReversedInputGivesTheTransform) {
  const ClassRoads& c = GetParam();
  const int order = 20;
  const int64_t n = int64_t{1} << order;
  Plan plan(c, order, kFftNoScale);
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
    ASSERT_EQ((d == 0 ? c.forward : c.inverse)(x.data(), want.data(), plan.spec, plan.work.get()), 0);
    (d == 0 ? c.forwardLevel : c.inverseLevel)(plan.spec, y.data(), order, 0, plan.work.get());
    EXPECT_TRUE(SameBits(y.data(), want.data(), n)) << (d == 0 ? "forward" : "inverse");
  }
}

INSTANTIATE_TEST_SUITE_P(Classes, LargeClassTest, ::testing::ValuesIn(kClasses),
                         [](const auto& info) { return std::string(info.param.name); });

// The class-6 driver runs the class-5 kernels and passes under its own names
// with its own tile moves, copy and scaling: with a class-6 specification it
// gives the class-5 transform bit for bit, in place and out of place, on both
// sides of the tile-copy/chunked-copy edge, and leaves the source unchanged.
TEST(LargeManyCoreDriver, EqualsTheClass5TransformBitForBit) {
  if (!IsProcessorClassRunnable(6) || !IsProcessorClassRunnable(5)) GTEST_SKIP() << "class not runnable here";
  const ClassRoads manyCore{6,
                            "Avx512ManyCore",
                            FftGetSizeComplexFloat32Avx512ManyCore,
                            FftInitComplexFloat32Avx512ManyCore,
                            nullptr,
                            nullptr,
                            FftForwardLargeOrderLevelAvx512ManyCore,
                            FftInverseLargeOrderLevelAvx512ManyCore};
  for (int order : {19, 22, 23}) {
    const int64_t n = int64_t{1} << order;
    Plan p5(kClasses[0], order, kFftScaleInverse), p6(manyCore, order, kFftScaleInverse);
    ASSERT_EQ(p5.status, 0);
    ASSERT_EQ(p6.status, 0);
    std::vector<C> x(n), want(n), y(n);
    FillRandom(x.data(), n, 300 + static_cast<uint32_t>(order));
    const std::vector<C> xCopy(x);
    for (int d = 0; d < 2; ++d) {
      const char* dir = d == 0 ? "forward" : "inverse";
      ASSERT_EQ((d == 0 ? kClasses[0].forward : kClasses[0].inverse)(x.data(), want.data(), p5.spec, p5.work.get()),
                0);
      (d == 0 ? FftForwardLargeOrderAvx512ManyCore : FftInverseLargeOrderAvx512ManyCore)(p6.spec, x.data(), y.data(),
                                                                                          order, p6.work.get());
      EXPECT_TRUE(SameBits(y.data(), want.data(), n)) << dir << " order " << order;
      EXPECT_TRUE(SameBits(x.data(), xCopy.data(), n)) << dir << " order " << order << " source";
      y = x;
      (d == 0 ? FftForwardLargeOrderAvx512ManyCore : FftInverseLargeOrderAvx512ManyCore)(p6.spec, y.data(), y.data(),
                                                                                          order, p6.work.get());
      EXPECT_TRUE(SameBits(y.data(), want.data(), n)) << dir << " order " << order << " in place";
    }
  }
}

}  // namespace
