// The checks of one order of the portable transforms (class 0, reached through
// the dispatched entry points), shared by the quick, exhaustive and huge tests.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <vector>

#include "fft/fft.h"
#include "fft/fft_classes.h"
#include "support/bits.h"
#include "support/fft_reference.h"

namespace fft_transform_checks {

// Forward (flag 2: unscaled) and inverse (scaled by 1/N) through the
// verifier's chosen properties, and the round trip inverse(forward(x)) = x.
inline void CheckOrder(int order, unsigned properties) {
  const int64_t n = int64_t{1} << order;
  lv_test::FftPlan plan(order, 2);
  ASSERT_EQ(plan.status, 0);
  const double inverseScale = 1.0 / static_cast<double>(n);
  EXPECT_TRUE(lv_test::VerifyFft(
      lv_test::TransformSubject(FftForwardComplexFloat32, plan, order, lv_test::kFftForward, 1.0), order, properties));
  EXPECT_TRUE(lv_test::VerifyFft(
      lv_test::TransformSubject(FftInverseComplexFloat32, plan, order, lv_test::kFftInverse, inverseScale), order,
      properties));
  const std::vector<ComplexFloat32> x = lv_test::RandomSignal(n, order);
  std::vector<ComplexFloat32> y(n), z(n);
  ASSERT_EQ(FftForwardComplexFloat32(x.data(), y.data(), plan.spec, plan.work()), 0);
  ASSERT_EQ(FftInverseComplexFloat32(y.data(), z.data(), plan.spec, plan.work()), 0);
  EXPECT_TRUE(lv_test::ReturnsScaledInput(z, x, 1.0, 2 * lv_test::FftErrorBound(order))) << "order " << order;
}

// inverse(x) == conj(forward(conj(x))) compared with ==; flag 2 and flag 1
// against flag 8 times 2^-order bit for bit; in place equals out of place; the
// source of an out-of-place call unchanged.
inline void CheckExactProperties(int order) {
  const int64_t n = int64_t{1} << order;
  lv_test::FftPlan p2(order, 2), p8(order, 8), p1(order, 1);
  ASSERT_EQ(p2.status, 0);
  ASSERT_EQ(p8.status, 0);
  ASSERT_EQ(p1.status, 0);
  const std::vector<ComplexFloat32> x = lv_test::RandomSignal(n, 100 + order);
  const std::vector<ComplexFloat32> cx = lv_test::Conjugated(x);
  std::vector<ComplexFloat32> fwdOfConj(n), inv(n), inv2(n), f8(n), f1(n), f2(n);
  ASSERT_EQ(FftForwardComplexFloat32(cx.data(), fwdOfConj.data(), p8.spec, p8.work()), 0);
  ASSERT_EQ(FftInverseComplexFloat32(x.data(), inv.data(), p8.spec, p8.work()), 0);
  EXPECT_TRUE(lv_test::IsMirror(inv, fwdOfConj)) << "order " << order;

  ASSERT_EQ(FftInverseComplexFloat32(x.data(), inv2.data(), p2.spec, p2.work()), 0);
  ASSERT_EQ(FftForwardComplexFloat32(x.data(), f8.data(), p8.spec, p8.work()), 0);
  ASSERT_EQ(FftForwardComplexFloat32(x.data(), f2.data(), p2.spec, p2.work()), 0);
  ASSERT_EQ(FftForwardComplexFloat32(x.data(), f1.data(), p1.spec, p1.work()), 0);
  EXPECT_TRUE(lv_test::SameBits(f2, f8)) << "flag 2 leaves the forward transform unscaled, order " << order;
  const float s = std::ldexp(1.0f, -order);
  EXPECT_TRUE(lv_test::IsScaledOnce(inv2, inv, s)) << "flag 2 inverse, order " << order;
  EXPECT_TRUE(lv_test::IsScaledOnce(f1, f8, s)) << "flag 1 forward, order " << order;

  EXPECT_TRUE(lv_test::SameBits(x, lv_test::RandomSignal(n, 100 + order)))
      << "out-of-place calls leave the source alone";

  std::vector<ComplexFloat32> inPlace(x);
  ASSERT_EQ(FftForwardComplexFloat32(inPlace.data(), inPlace.data(), p2.spec, p2.work()), 0);
  EXPECT_TRUE(lv_test::SameBits(inPlace, f2)) << "forward in place, order " << order;
  inPlace = x;
  ASSERT_EQ(FftInverseComplexFloat32(inPlace.data(), inPlace.data(), p2.spec, p2.work()), 0);
  EXPECT_TRUE(lv_test::SameBits(inPlace, inv2)) << "inverse in place, order " << order;
}

}  // namespace fft_transform_checks
