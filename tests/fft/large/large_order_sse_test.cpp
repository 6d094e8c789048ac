// The large-order drivers of classes 2 and 3, called directly with their own
// specifications, orders 18-23: accuracy against FFTW in double, the exact
// properties on both sides of each bit-reversal edge (whole-array reversal at
// 18, tiles straight from the source from 19, chunked copy first from 22 on
// class 2 and from 23 on class 3), the two classes equal bit for bit, the work
// buffer held to its reported size with a misaligned destination, and the
// recursion level called directly.
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

using DriverFn = void (*)(const FftSpecComplexFloat32*, const C*, C*, int32_t, uint8_t*);

struct SseClass {
  ClassRoads roads;  // size query, initialisation and level functions
  DriverFn driver[2];  // forward, inverse
  int lastTileCopy;  // last order whose out-of-place reversal takes tiles from the source
};

void PrintTo(const SseClass& c, std::ostream* os) { *os << c.roads.name; }

const SseClass kSseClasses[] = {
    {{2, "Ssse3", FftGetSizeComplexFloat32Ssse3, FftInitComplexFloat32Ssse3, nullptr, nullptr,
      FftForwardLargeOrderLevelSsse3, FftInverseLargeOrderLevelSsse3},
     {FftForwardLargeOrderSsse3, FftInverseLargeOrderSsse3},
     21},
    {{3, "Sse42", FftGetSizeComplexFloat32Sse42, FftInitComplexFloat32Sse42, nullptr, nullptr,
      FftForwardLargeOrderLevelSse42, FftInverseLargeOrderLevelSse42},
     {FftForwardLargeOrderSse42, FftInverseLargeOrderSse42},
     22},
};

std::string Name(const SseClass& c, int order) { return std::string(c.roads.name) + "_order" + std::to_string(order); }

class SseLargeAccuracyTest : public ::testing::TestWithParam<std::tuple<SseClass, int>> {};

// Forward unscaled and inverse scaled by 1/N (inverse-scale flag), out of
// place, against FFTW in double within 2 * 2^-24 * (1 + order).
TEST_P(SseLargeAccuracyTest, AgreesWithFftwInDouble) {
  const auto& [c, order] = GetParam();
  if (!IsProcessorClassRunnable(c.roads.cls)) GTEST_SKIP() << "class not runnable here";
  const int64_t n = int64_t{1} << order;
  Plan plan(c.roads, order, kFftScaleInverse);
  ASSERT_EQ(plan.status, 0);
  std::vector<C> x(n), y(n);
  FillRandom(x.data(), n, static_cast<uint32_t>(order));
  fftw_complex* scratch = fftw_alloc_complex(n);
  c.driver[0](plan.spec, x.data(), y.data(), order, plan.work.get());
  EXPECT_LE(RelativeError(x.data(), y.data(), n, FFTW_FORWARD, 1.0, scratch), Bound(order));
  c.driver[1](plan.spec, x.data(), y.data(), order, plan.work.get());
  EXPECT_LE(RelativeError(x.data(), y.data(), n, FFTW_BACKWARD, 1.0 / static_cast<double>(n), scratch),
            Bound(order));
  fftw_free(scratch);
}

INSTANTIATE_TEST_SUITE_P(Orders18To22, SseLargeAccuracyTest,
                         ::testing::Combine(::testing::ValuesIn(kSseClasses), ::testing::Range(18, 23)),
                         [](const auto& info) { return Name(std::get<0>(info.param), std::get<1>(info.param)); });

class SseLargeEdgeTest : public ::testing::TestWithParam<std::tuple<SseClass, int>> {};

// At each edge of the bit reversal: in place equals out of place bit for bit
// in both directions, the source is left unchanged, the inverse mirrors the
// forward (inverse(x) == conj(forward(conj(x)))), and the forward- and
// inverse-scale flags multiply the unscaled result by 2^-order exactly.
TEST_P(SseLargeEdgeTest, ExactPropertiesAroundTheReversalEdges) {
  const auto& [c, rel] = GetParam();
  if (!IsProcessorClassRunnable(c.roads.cls)) GTEST_SKIP() << "class not runnable here";
  // rel: 0 whole-array reversal, 1 first tiled order, 2 last order taking
  // tiles from the source, 3 first order copied in chunks first.
  const int order = rel == 0 ? 18 : rel == 1 ? 19 : rel == 2 ? c.lastTileCopy : c.lastTileCopy + 1;
  const int64_t n = int64_t{1} << order;
  std::vector<C> x(n), cx(n);
  FillRandom(x.data(), n, 100 + static_cast<uint32_t>(order));
  for (int64_t i = 0; i < n; ++i) cx[i] = {x[i].re, -x[i].im};
  const std::vector<C> xCopy(x);
  Plan plain(c.roads, order, kFftNoScale), invScaled(c.roads, order, kFftScaleInverse),
      fwdScaled(c.roads, order, kFftScaleForward);
  ASSERT_EQ(plain.status, 0);
  ASSERT_EQ(invScaled.status, 0);
  ASSERT_EQ(fwdScaled.status, 0);
  std::vector<C> f(n), inv(n), fc(n), scaled(n);
  c.driver[0](plain.spec, x.data(), f.data(), order, plain.work.get());
  c.driver[1](plain.spec, x.data(), inv.data(), order, plain.work.get());
  EXPECT_TRUE(SameBits(x.data(), xCopy.data(), n)) << "out of place leaves the source unchanged";
  c.driver[0](plain.spec, cx.data(), fc.data(), order, plain.work.get());
  int64_t mirror = 0;
  for (int64_t i = 0; i < n; ++i) mirror += inv[i].re != fc[i].re || inv[i].im != -fc[i].im;
  EXPECT_EQ(mirror, 0) << "inverse(x) == conj(forward(conj(x)))";
  const float s = std::ldexp(1.0f, -order);
  for (int d = 0; d < 2; ++d) {
    const Plan& p = d == 0 ? fwdScaled : invScaled;
    const std::vector<C>& unscaled = d == 0 ? f : inv;
    c.driver[d](p.spec, x.data(), scaled.data(), order, p.work.get());
    int64_t bad = 0;
    for (int64_t i = 0; i < n; ++i) bad += scaled[i].re != unscaled[i].re * s || scaled[i].im != unscaled[i].im * s;
    EXPECT_EQ(bad, 0) << (d == 0 ? "forward" : "inverse") << " scaled once by 2^-order";
    std::vector<C> y(x);
    c.driver[d](plain.spec, y.data(), y.data(), order, plain.work.get());
    EXPECT_TRUE(SameBits(y.data(), unscaled.data(), n)) << (d == 0 ? "forward" : "inverse") << " in place";
  }
}

INSTANTIATE_TEST_SUITE_P(Edges, SseLargeEdgeTest,
                         ::testing::Combine(::testing::ValuesIn(kSseClasses), ::testing::Values(0, 1, 2, 3)),
                         [](const auto& info) {
                           const SseClass& c = std::get<0>(info.param);
                           const int rel = std::get<1>(info.param);
                           return Name(c, rel == 0 ? 18 : rel == 1 ? 19 : c.lastTileCopy + (rel == 3 ? 1 : 0));
                         });

class SseLargeClassTest : public ::testing::TestWithParam<SseClass> {
 protected:
  void SetUp() override {
    if (!IsProcessorClassRunnable(GetParam().roads.cls)) GTEST_SKIP() << "class not runnable here";
  }
};

// The work buffer has exactly the reported bytes with a protected page behind
// it; the destination sits 8 bytes past a 16-byte boundary, so every
// sub-transform runs through the work buffer. Out of place and in place, both
// directions, the result equals the aligned one bit for bit, at the
// whole-array reversal (18), the tiled reversal (19) and the chunked copy of
// class 2 (22).
TEST_P(SseLargeClassTest, WorkBufferStaysWithinItsReportedSize) {
  const SseClass& c = GetParam();
  for (int order : {18, 19, 22}) {
    const int64_t n = int64_t{1} << order;
    Plan plan(c.roads, order, kFftScaleInverse);
    ASSERT_EQ(plan.status, 0);
    lv_test::GuardedBuffer work(static_cast<size_t>(plan.workBytes), 64);
    std::vector<C> x(n), want(n), storage(n + 2);
    C* y = storage.data() + ((reinterpret_cast<uintptr_t>(storage.data()) & 15) == 0 ? 1 : 0);
    ASSERT_EQ(reinterpret_cast<uintptr_t>(y) & 15, 8u);
    FillRandom(x.data(), n, 7);
    for (int d = 0; d < 2; ++d) {
      c.driver[d](plan.spec, x.data(), want.data(), order, plan.work.get());
      c.driver[d](plan.spec, x.data(), y, order, work.data());
      EXPECT_TRUE(SameBits(y, want.data(), n)) << "order " << order << " direction " << d;
      std::memcpy(y, x.data(), static_cast<size_t>(n) * 8);
      c.driver[d](plan.spec, y, y, order, work.data());
      EXPECT_TRUE(SameBits(y, want.data(), n)) << "order " << order << " direction " << d << " in place";
    }
  }
}

// The level function at depth 0 on bit-reversed input is the whole transform
// without its bit reversal (order 20: outer order 8, inner order 12).
TEST_P(SseLargeClassTest, LevelOnReversedInputGivesTheTransform) {
  const SseClass& c = GetParam();
  const int order = 20;
  const int64_t n = int64_t{1} << order;
  Plan plan(c.roads, order, kFftNoScale);
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
    c.driver[d](plan.spec, x.data(), want.data(), order, plan.work.get());
    (d == 0 ? c.roads.forwardLevel : c.roads.inverseLevel)(plan.spec, y.data(), order, 0, plan.work.get());
    EXPECT_TRUE(SameBits(y.data(), want.data(), n)) << (d == 0 ? "forward" : "inverse");
  }
}

INSTANTIATE_TEST_SUITE_P(Classes, SseLargeClassTest, ::testing::ValuesIn(kSseClasses),
                         [](const auto& info) { return std::string(info.param.roads.name); });

// Classes 2 and 3 share their kernel and their column-pass arithmetic: their
// drivers give the same bits, in both directions, across the edges where
// their bit-reversal roads differ (class 2 copies in chunks at 22, class 3
// still takes tiles from the source).
TEST(SseLargeClasses, Class2AndClass3AgreeBitForBit) {
  if (!IsProcessorClassRunnable(2) || !IsProcessorClassRunnable(3)) GTEST_SKIP() << "class not runnable here";
  for (int order : {18, 22}) {
    const int64_t n = int64_t{1} << order;
    Plan p2(kSseClasses[0].roads, order, kFftScaleInverse), p3(kSseClasses[1].roads, order, kFftScaleInverse);
    ASSERT_EQ(p2.status, 0);
    ASSERT_EQ(p3.status, 0);
    std::vector<C> x(n), a(n), b(n);
    FillRandom(x.data(), n, 300 + static_cast<uint32_t>(order));
    for (int d = 0; d < 2; ++d) {
      kSseClasses[0].driver[d](p2.spec, x.data(), a.data(), order, p2.work.get());
      kSseClasses[1].driver[d](p3.spec, x.data(), b.data(), order, p3.work.get());
      EXPECT_TRUE(SameBits(a.data(), b.data(), n)) << "order " << order << " direction " << d;
    }
  }
}

}  // namespace
