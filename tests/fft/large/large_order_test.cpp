// The large-order roads of classes 1 to 7, one table of classes and orders:
// the drivers called directly (classes 5 and 7 through their own transforms),
// with specifications from the same class:
// - the verifier's properties against FFTW in double at the first large
//   orders;
// - the exact relations on both sides of each bit-reversal edge (whole-array
//   reversal, tiles straight from the source, chunked copy first): mirror,
//   scale flags applied once, in place equal to out of place, misaligned
//   destinations, the source left unchanged;
// - the work buffer held to the size the specification reports;
// - the recursion level on bit-reversed input;
// - the classes that share their arithmetic giving the same bits.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <ostream>
#include <string>
#include <vector>

#include "tests/fft/large/large_classes.h"
#include "support/bits.h"
#include "support/guarded_buffer.h"

namespace {

using namespace lv_large_test;
using lv_test::FftPlan;
using lv_test::SameBits;

// ---- accuracy and the verifier's properties --------------------------------

class LargeAccuracyTest : public LargeCaseTest {};

// Forward unscaled and inverse scaled by 1/N (flag 2), out of place, against
// FFTW in double within 2 * 2^-24 * (1 + order); up to order 22 also
// linearity, impulse response, time shift, the source untouched and in place
// equal to out of place (the edge orders check the last two above 22).
TEST_P(LargeAccuracyTest, AgreesWithFftwInDouble) {
  const auto [cls, order] = GetParam();
  const FftPlan plan = Plan(cls, order, kFftScaleInverse);
  ASSERT_EQ(plan.status, 0);
  const unsigned properties = order <= 22 ? lv_test::kFftAllProperties : lv_test::kFftAccuracy;
  const double n = std::ldexp(1.0, order);
  EXPECT_TRUE(lv_test::VerifyFft(Subject(cls, plan, order, 0, 1.0), static_cast<uint32_t>(order), properties));
  EXPECT_TRUE(lv_test::VerifyFft(Subject(cls, plan, order, 1, 1.0 / n), static_cast<uint32_t>(order), properties));
}

INSTANTIATE_TEST_SUITE_P(Orders, LargeAccuracyTest, ::testing::ValuesIn(Cases(&LargeClass::accuracyOrders)), CaseName);

// ---- exact relations around the bit-reversal edges ---------------------------

class LargeEdgeTest : public LargeCaseTest {};

// Mirror, scale flags (each point scaled once, forward and inverse), in place
// equal to out of place, misaligned destinations (out of place and in place)
// equal to an aligned one, and the source left unchanged.
TEST_P(LargeEdgeTest, ExactProperties) {
  const auto [cls, order] = GetParam();
  const int64_t n = int64_t{1} << order;
  const std::vector<C> x = lv_test::RandomSignal(n, 100 + static_cast<uint32_t>(order));
  const std::vector<C> cx = lv_test::Conjugated(x);
  const FftPlan p8 = Plan(cls, order, kFftNoScale), p2 = Plan(cls, order, kFftScaleInverse),
                p1 = Plan(cls, order, kFftScaleForward);
  ASSERT_EQ(p8.status, 0);
  ASSERT_EQ(p2.status, 0);
  ASSERT_EQ(p1.status, 0);
  std::vector<C> src(x), f8(n), i8(n), fc(n), i2(n), f1(n);
  RunRoad(cls, 0, p8, src.data(), f8.data(), order);
  RunRoad(cls, 1, p8, src.data(), i8.data(), order);
  EXPECT_TRUE(SameBits(src, x)) << "out of place leaves the source unchanged";
  RunRoad(cls, 0, p8, cx.data(), fc.data(), order);
  RunRoad(cls, 1, p2, x.data(), i2.data(), order);
  RunRoad(cls, 0, p1, x.data(), f1.data(), order);
  EXPECT_TRUE(lv_test::IsMirror(i8, fc));
  const float s = std::ldexp(1.0f, -order);
  EXPECT_TRUE(lv_test::IsScaledOnce(i2, i8, s)) << "inverse with its scale flag";
  EXPECT_TRUE(lv_test::IsScaledOnce(f1, f8, s)) << "forward with its scale flag";
  const std::vector<C>* want[2] = {&f8, &i8};
  for (int d = 0; d < 2; ++d) {
    std::vector<C> inPlace = x;
    RunRoad(cls, d, p8, inPlace.data(), inPlace.data(), order);
    EXPECT_TRUE(SameBits(inPlace, *want[d])) << "in place, direction " << d;
    for (size_t offset : Large(cls).misalignedOffsets) {
      lv_test::PlacedPoints dst(n, offset), both(n, offset);
      RunRoad(cls, d, p8, x.data(), dst.data(), order);
      EXPECT_TRUE(SameBits(dst.data(), want[d]->data(), n)) << "destination offset " << offset << ", direction " << d;
      RunRoad(cls, d, p8, both.Fill(x), both.data(), order);
      EXPECT_TRUE(SameBits(both.data(), want[d]->data(), n)) << "in place at offset " << offset << ", direction " << d;
      EXPECT_TRUE(dst.CanariesIntact() && both.CanariesIntact()) << "offset " << offset << ", direction " << d;
    }
  }
  if (Large(cls).transform[0] != nullptr) {
    EXPECT_EQ(Large(cls).transform[0](x.data(), f8.data(), p8.spec, nullptr), StatusNullPointer);
    EXPECT_EQ(Large(cls).transform[1](x.data(), i8.data(), p8.spec, nullptr), StatusNullPointer);
  }
}

INSTANTIATE_TEST_SUITE_P(Edges, LargeEdgeTest, ::testing::ValuesIn(Cases(&LargeClass::edgeOrders)), CaseName);

// ---- work buffer and recursion level ---------------------------------------

class LargeClassTest : public lv_test::PerClassTest {};

// The drivers get a 64-byte-aligned work buffer of the size the
// specification stores (the reported size less the 64 bytes the transforms
// may spend aligning it) with a protected page right behind it; the
// destination is aligned or 8 bytes off. Out of place and in place, both
// directions, the result equals the one with a roomy buffer bit for bit.
// Classes 5 and 7 also through their own transforms, given exactly the
// reported bytes at an odd address.
TEST_P(LargeClassTest, WorkBufferStaysWithinItsReportedSize) {
  const LargeClass& k = Large(Cls());
  int visited = 0;
  for (int order : k.workOrders) {
    const int64_t n = int64_t{1} << order;
    const FftPlan plan = Plan(Cls(), order, kFftScaleInverse);
    ASSERT_EQ(plan.status, 0);
    ASSERT_EQ(plan.workBytes, plan.spec->workBytes + 64) << order;
    lv_test::GuardedBuffer work(static_cast<size_t>(plan.spec->workBytes), 64);
    ASSERT_EQ(reinterpret_cast<uintptr_t>(work.data()) % 64, 0u);
    const std::vector<C> x = lv_test::RandomSignal(n, 7);
    for (int d = 0; d < 2; ++d) {
      std::vector<C> want(n);
      k.driver[d](plan.spec, x.data(), want.data(), order, plan.work());
      for (size_t offset : {size_t{0}, size_t{8}}) {
        lv_test::PlacedPoints y(n, offset);
        k.driver[d](plan.spec, x.data(), y.data(), order, work.data());
        EXPECT_TRUE(SameBits(y.data(), want.data(), n)) << "order " << order << " offset " << offset;
        k.driver[d](plan.spec, y.Fill(x), y.data(), order, work.data());
        EXPECT_TRUE(SameBits(y.data(), want.data(), n)) << "order " << order << " offset " << offset << " in place";
      }
      if (k.transform[d] != nullptr) {
        lv_test::GuardedBuffer exact(static_cast<size_t>(plan.workBytes));
        std::vector<C> y(n);
        ASSERT_EQ(k.transform[d](x.data(), y.data(), plan.spec, exact.data()), 0);
        EXPECT_TRUE(SameBits(y, want)) << "order " << order;
        y = x;
        ASSERT_EQ(k.transform[d](y.data(), y.data(), plan.spec, exact.data()), 0);
        EXPECT_TRUE(SameBits(y, want)) << "order " << order << " in place";
      }
      ++visited;
    }
  }
  EXPECT_GT(visited, 0);
}

// The level function at depth 0 on bit-reversed input is the whole transform
// without its bit reversal.
TEST_P(LargeClassTest, LevelOnReversedInputGivesTheTransform) {
  const LargeClass& k = Large(Cls());
  int visited = 0;
  for (int order : k.levelOrders) {
    const int64_t n = int64_t{1} << order;
    const FftPlan plan = Plan(Cls(), order, kFftNoScale);
    ASSERT_EQ(plan.status, 0);
    const std::vector<C> x = lv_test::RandomSignal(n, 21);
    for (int d = 0; d < 2; ++d) {
      std::vector<C> y = lv_test::BitReversed(x), want(n);
      k.driver[d](plan.spec, x.data(), want.data(), order, plan.work());
      k.level[d](plan.spec, y.data(), order, 0, plan.work());
      EXPECT_TRUE(SameBits(y, want)) << "order " << order << (d == 0 ? " forward" : " inverse");
      ++visited;
    }
  }
  EXPECT_GT(visited, 0);
}

INSTANTIATE_TEST_SUITE_P(Classes, LargeClassTest, ::testing::Range(1, kProcessorClassCount), lv_test::ClassParamName);

// ---- classes with the same arithmetic ---------------------------------------

// Classes 2 and 3 share their kernel and their column-pass arithmetic: their
// drivers give the same bits, in both directions, across the edges where
// their bit-reversal roads differ (class 2 copies in chunks at 22, class 3
// still takes tiles from the source).
TEST(LargeSharedArithmetic, Class2AndClass3AgreeBitForBit) {
  if (!IsProcessorClassRunnable(2) || !IsProcessorClassRunnable(3)) {
    GTEST_SKIP() << "classes 2 and 3 are not both supported by this processor";
  }
  for (int order : {18, 22}) {
    const int64_t n = int64_t{1} << order;
    const FftPlan p2 = Plan(2, order, kFftScaleInverse), p3 = Plan(3, order, kFftScaleInverse);
    ASSERT_EQ(p2.status, 0);
    ASSERT_EQ(p3.status, 0);
    const std::vector<C> x = lv_test::RandomSignal(n, 300 + static_cast<uint32_t>(order));
    for (int d = 0; d < 2; ++d) {
      std::vector<C> a(n), b(n);
      Large(2).driver[d](p2.spec, x.data(), a.data(), order, p2.work());
      Large(3).driver[d](p3.spec, x.data(), b.data(), order, p3.work());
      EXPECT_TRUE(SameBits(a, b)) << "order " << order << " direction " << d;
    }
  }
}

// The class-6 driver runs the class-5 kernels and passes under its own names
// with its own tile moves, copy and scaling: with a class-6 specification it
// gives the class-5 transform bit for bit, in place and out of place, on both
// sides of the tile-copy/chunked-copy edge, and leaves the source unchanged.
TEST(LargeSharedArithmetic, ManyCoreDriverEqualsTheClass5TransformBitForBit) {
  if (!IsProcessorClassRunnable(6) || !IsProcessorClassRunnable(5)) {
    GTEST_SKIP() << "classes 5 and 6 are not both supported by this processor";
  }
  for (int order : {19, 22, 23}) {
    const int64_t n = int64_t{1} << order;
    const FftPlan p5 = Plan(5, order, kFftScaleInverse), p6 = Plan(6, order, kFftScaleInverse);
    ASSERT_EQ(p5.status, 0);
    ASSERT_EQ(p6.status, 0);
    const std::vector<C> x = lv_test::RandomSignal(n, 300 + static_cast<uint32_t>(order));
    for (int d = 0; d < 2; ++d) {
      const char* dir = d == 0 ? "forward" : "inverse";
      std::vector<C> src(x), want(n), y(n);
      RunRoad(5, d, p5, x.data(), want.data(), order);
      Large(6).driver[d](p6.spec, src.data(), y.data(), order, p6.work());
      EXPECT_TRUE(SameBits(y, want)) << dir << " order " << order;
      EXPECT_TRUE(SameBits(src, x)) << dir << " order " << order << " source";
      y = x;
      Large(6).driver[d](p6.spec, y.data(), y.data(), order, p6.work());
      EXPECT_TRUE(SameBits(y, want)) << dir << " order " << order << " in place";
    }
  }
}

}  // namespace
