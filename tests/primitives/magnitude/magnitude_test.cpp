// Magnitude, power and absolute value in every processor class, against the
// class models bit for bit, a long-double reference for accuracy, and the
// edge cases of zero, subnormal, overflowing and NaN sums.
#include <gtest/gtest.h>
#include <xmmintrin.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

#include "primitives/arith/data_util.h"
#include "primitives/magnitude/magnitude.h"
#include "primitives/magnitude/magnitude_model.h"
#include "support/class_fixture.h"
#include "support/guarded_buffer.h"

namespace {

using lv_test::Bits;
using lv_test::CanaryBuffer;
using lv_test::CF;
using lv_test::GuardedBuffer;
using lv_test::SameValue;

class MagnitudeTest : public lv_test::PerClassTest {};

// Complex data whose sums of squares are mostly normal, with occasional zero,
// tiny (subnormal sum), huge (overflowing square) and NaN elements, so that
// both roads of every group decision are taken.
std::vector<CF> MixedData(lv_test::WideRandom& rnd, size_t n, int specialEvery) {
  std::vector<CF> x(n);
  for (size_t i = 0; i < n; ++i) {
    x[i] = {rnd.Float(30), rnd.Float(30)};
    if (specialEvery > 0 && rnd.Next() % specialEvery == 0) {
      switch (rnd.Next() % 4) {
        case 0: x[i] = {0.0f, -0.0f}; break;
        case 1: x[i] = {1e-20f, 0.0f}; break;
        case 2: x[i] = {3e19f, 1.0f}; break;
        default: x[i] = {std::numeric_limits<float>::quiet_NaN(), 1.0f}; break;
      }
    }
  }
  return x;
}

std::vector<int> Counts() {
  std::vector<int> c;
  for (int n = 1; n <= 40; ++n) c.push_back(n);
  for (int n : {47, 48, 49, 63, 64, 65, 100, 335, 336, 337, 816, 817, 818, 1000}) c.push_back(n);
  return c;
}

enum class Fn { kMagnitude, kPower };

void CheckAgainstModel(int cls, Fn fn, int n, size_t dstOff, size_t srcOff, lv_test::WideRandom& rnd,
                       int specialEvery) {
  const auto x = MixedData(rnd, n, specialEvery);
  CanaryBuffer src(n * 8, srcOff), dst(n * 4, dstOff);
  std::memcpy(src.region(), x.data(), n * 8);
  const auto* s = reinterpret_cast<const ComplexFloat32*>(src.region());
  auto* d = reinterpret_cast<float*>(dst.region());
  const auto addr = reinterpret_cast<uintptr_t>(d);
  const int32_t st = fn == Fn::kMagnitude ? VectorMagnitudeComplexFloat32(s, d, n)
                                          : VectorMagnitudeSquaredComplexFloat32(s, d, n);
  ASSERT_EQ(st, StatusOk);
  const auto want = fn == Fn::kMagnitude ? lv_test::MagnitudeModel(cls, addr, x) : lv_test::PowerModel(cls, addr, x);
  for (int i = 0; i < n; ++i) {
    float got;
    std::memcpy(&got, dst.region() + 4 * i, 4);
    ASSERT_TRUE(SameValue(got, want[i])) << "n=" << n << " i=" << i << " dstOff=" << dstOff << " element ("
                                         << x[i].re << "," << x[i].im << ") got " << got << " want " << want[i];
  }
  ASSERT_TRUE(dst.CanariesIntact()) << "n=" << n << " dstOff=" << dstOff;
  ASSERT_TRUE(src.CanariesIntact());
}

TEST_P(MagnitudeTest, MagnitudeEqualsTheClassModel) {
  lv_test::WideRandom rnd(11 + Cls());
  for (int specialEvery : {0, 40, 7}) {
    for (size_t off : {0, 4, 8, 12, 16, 20, 24, 28, 32, 36, 44, 52, 60, 2, 6, 22}) {
      for (int n : Counts()) {
        CheckAgainstModel(Cls(), Fn::kMagnitude, n, off, (off * 3 + 8) % 64, rnd, specialEvery);
        if (HasFatalFailure()) return;
      }
    }
  }
}

TEST_P(MagnitudeTest, PowerEqualsTheClassModel) {
  lv_test::WideRandom rnd(21 + Cls());
  for (size_t off : {0, 4, 8, 12, 16, 20, 24, 28, 32, 36, 44, 52, 60, 2, 6, 22}) {
    for (int n : Counts()) {
      CheckAgainstModel(Cls(), Fn::kPower, n, off, (off * 5 + 4) % 64, rnd, 9);
      if (HasFatalFailure()) return;
    }
  }
}

// The fast and refined roots stay within a few units in the last place of the
// correctly rounded magnitude (long double reference).
TEST_P(MagnitudeTest, MagnitudeAccuracy) {
  lv_test::WideRandom rnd(31 + Cls());
  const int n = 20000;
  const auto x = MixedData(rnd, n, 0);
  std::vector<float> d(n);
  ASSERT_EQ(VectorMagnitudeComplexFloat32(reinterpret_cast<const ComplexFloat32*>(x.data()), d.data(), n), StatusOk);
  const double maxUlps = Cls() == 0 ? 0.5 : Cls() <= 4 ? 3.0 : 2.0;
  double worst = 0;
  for (int i = 0; i < n; ++i) {
    const long double re = x[i].re, im = x[i].im;
    const long double exact = std::sqrt(re * re + im * im);
    const float nearest = static_cast<float>(exact);
    const double ulp = std::nextafter(nearest, INFINITY) - nearest;
    const double err = std::fabs(static_cast<double>(d[i] - exact)) / ulp;
    worst = std::max(worst, err);
  }
  // P itself is rounded twice before the root: allow that on top.
  EXPECT_LE(worst, maxUlps + 1.0) << "worst error in ulps";
}

TEST_P(MagnitudeTest, SpecialElements) {
  const float inf = std::numeric_limits<float>::infinity();
  // (0, 0) -> +0 and (3, 4) -> 5: exactly in class 0; in classes 1-7 the zero
  // in the same group sends the group to the exact root.
  std::vector<ComplexFloat32> x(64, {3.0f, 4.0f});
  x[5] = {0.0f, -0.0f};
  std::vector<float> d(64);
  ASSERT_EQ(VectorMagnitudeComplexFloat32(x.data(), d.data(), 64), StatusOk);
  EXPECT_EQ(Bits(d[5]), 0u);
  for (int i = 0; i < 8; ++i) {
    if (i != 5) {
      EXPECT_EQ(d[i], 5.0f) << i;
    }
  }

  // Without a zero nearby the estimate roads are close to 5.
  std::vector<ComplexFloat32> y(64, {3.0f, 4.0f});
  ASSERT_EQ(VectorMagnitudeComplexFloat32(y.data(), d.data(), 64), StatusOk);
  for (float v : d) EXPECT_NEAR(v, 5.0f, 4 * 4.8e-7f);
  if (Cls() == 0) {
    for (float v : d) EXPECT_EQ(v, 5.0f);
  }

  // Overflowing squares give +infinity, NaN components NaN, in every position.
  for (int i = 0; i < 64; ++i) y[i] = {i % 2 ? 3e19f : -2e19f, 1.0f};
  y[17] = {std::numeric_limits<float>::quiet_NaN(), 0.0f};
  ASSERT_EQ(VectorMagnitudeComplexFloat32(y.data(), d.data(), 64), StatusOk);
  for (int i = 0; i < 64; ++i) {
    if (i == 17) {
      EXPECT_TRUE(std::isnan(d[i]));
    } else {
      EXPECT_EQ(d[i], inf) << i;
    }
  }
  ASSERT_EQ(VectorMagnitudeSquaredComplexFloat32(y.data(), d.data(), 64), StatusOk);
  EXPECT_EQ(d[0], inf);
  EXPECT_TRUE(std::isnan(d[17]));
}

// A subnormal sum of squares: its exact root in class 0, in classes 1-4 and in
// the main loop of classes 5-7, but +0 in a head or tail of classes 5-7.
TEST_P(MagnitudeTest, SubnormalSumOfSquares) {
  alignas(64) float d[64];
  std::vector<ComplexFloat32> x(40, {1.0f, 1.0f});
  x[3] = {1e-20f, 0.0f};   // main loop (destination 64-byte aligned)
  x[35] = {1e-20f, 0.0f};  // tail (elements 32..39)
  ASSERT_EQ(VectorMagnitudeComplexFloat32(x.data(), d, 40), StatusOk);
  const float root = std::sqrt(lv_test::PlainSumModel({1e-20f, 0.0f}));
  EXPECT_NEAR(root, 1e-20f, 1e-24f);  // the subnormal square keeps few bits
  EXPECT_EQ(d[3], root);
  EXPECT_EQ(d[35], Cls() >= 5 ? 0.0f : root);
}

// A sum of squares of exactly 2^-126 (the smallest normal float) is inside the
// fast root's range in the head of classes 1-4 (each head element decides
// alone) but outside it in their groups, where it sends its whole group of 8
// to the exact root.
TEST(MagnitudeFastRoot, SmallestNormalSumAtTheRangeBound) {
  // Elements whose fast root differs from the correctly rounded one.
  std::vector<ComplexFloat32> x;
  lv_test::WideRandom rnd(3);
  while (x.size() < 24) {
    const CF e{rnd.Float(8), rnd.Float(8)};
    const float s = lv_test::PlainSumModel(e);
    if (lv_test::FastRootModel(s) != std::sqrt(s)) x.push_back({e.re, e.im});
  }
  const ComplexFloat32 bound{0x1p-63f, 0.0f};  // re^2 = 2^-126 exactly
  auto root = [](ComplexFloat32 e, bool fast) {
    const float s = lv_test::PlainSumModel({e.re, e.im});
    return fast ? lv_test::FastRootModel(s) : std::sqrt(s);
  };
  x[1] = bound;
  x[7] = bound;
  for (int cls = 1; cls <= 4; ++cls) {
    if (!IsProcessorClassRunnable(cls)) continue;
    ScopedProcessorClass force(cls);
    alignas(64) float d[32];
    // Destination 4 bytes past a 16-byte boundary: 3 head elements, then a group of 8.
    ASSERT_EQ(VectorMagnitudeComplexFloat32(x.data(), d + 1, 11), StatusOk);
    EXPECT_EQ(d[1 + 0], root(x[0], true)) << "head element beside the bound keeps its fast root, class " << cls;
    EXPECT_EQ(d[1 + 2], root(x[2], true));
    for (int i = 3; i < 11; ++i) EXPECT_EQ(d[1 + i], root(x[i], false)) << "group element " << i << ", class " << cls;
  }
}

// A group of 8 (classes 1-4) or 16 (classes 5-7) holding one (0, 0) gives the
// correctly rounded root to every element.
TEST_P(MagnitudeTest, GroupWithZeroTakesTheExactRoad) {
  lv_test::WideRandom rnd(77);
  alignas(64) float d[32];
  std::vector<ComplexFloat32> x(32);
  for (auto& e : x) e = {rnd.Float(10), rnd.Float(10)};
  x[9] = {0.0f, 0.0f};
  ASSERT_EQ(VectorMagnitudeComplexFloat32(x.data(), d, 32), StatusOk);
  const int lo = Cls() >= 5 ? 0 : 8, hi = Cls() >= 5 ? 16 : 16;
  for (int i = lo; i < hi; ++i) {
    const CF e{x[i].re, x[i].im};
    EXPECT_EQ(Bits(d[i]), Bits(std::sqrt(lv_test::PlainSumModel(e)))) << i;
  }
}

// The caller's control register survives: classes 0-4 never touch it, and
// classes 5-7 mask exceptions for the run and put the caller's setting back
// (here with invalid and overflow exceptions unmasked, which would trap).
TEST_P(MagnitudeTest, CallerMxcsrIsKept) {
  std::vector<ComplexFloat32> x(100, {3e19f, 0.0f});
  x[3] = {0.0f, 0.0f};
  x[50] = {std::numeric_limits<float>::quiet_NaN(), 1.0f};
  std::vector<float> d(101);
  const unsigned saved = _mm_getcsr();
  const unsigned control = 0x1F80u | 0x6000u;  // all masked, rounding toward zero
  _mm_setcsr(control);
  ASSERT_EQ(VectorMagnitudeComplexFloat32(x.data(), d.data() + 1, 99), StatusOk);
  const unsigned after = _mm_getcsr();
  if (Cls() >= 5) {
    _mm_setcsr(0x1F80u & ~(0x80u | 0x400u));  // invalid and overflow unmasked
    ASSERT_EQ(VectorMagnitudeComplexFloat32(x.data(), d.data() + 1, 99), StatusOk);
    const unsigned unmasked = _mm_getcsr();
    _mm_setcsr(saved);
    EXPECT_EQ(unmasked & ~0x3Fu, 0x1F80u & ~(0x80u | 0x400u)) << "masks and rounding control are the caller's";
  }
  _mm_setcsr(saved);
  EXPECT_EQ(after & ~0x3Fu, control) << "masks, rounding control, FZ and DAZ unchanged";
}

TEST_P(MagnitudeTest, AbsClearsTheSignBitInEveryRoadAndInPlace) {
  lv_test::WideRandom rnd(41);
  for (size_t off : {0, 4, 8, 12, 20, 36, 60, 2}) {
    for (int n : Counts()) {
      CanaryBuffer src(n * 4, (off * 3 + 4) % 64), dst(n * 4, off);
      std::vector<uint32_t> bits(n);
      for (int i = 0; i < n; ++i) {
        bits[i] = rnd.Next();
        if (i % 7 == 0) bits[i] = 0x80000000u;  // -0
        if (i % 11 == 0) bits[i] = 0xFF800000u;  // -infinity
        if (i % 13 == 0) bits[i] = 0xFFC01234u;  // negative NaN
      }
      std::memcpy(src.region(), bits.data(), n * 4);
      auto* s = reinterpret_cast<float*>(src.region());
      ASSERT_EQ(VectorAbsFloat32(s, reinterpret_cast<float*>(dst.region()), n), StatusOk);
      for (int i = 0; i < n; ++i) {
        uint32_t got;
        std::memcpy(&got, dst.region() + 4 * i, 4);
        ASSERT_EQ(got, bits[i] & 0x7FFFFFFFu) << "n=" << n << " i=" << i << " off=" << off;
      }
      ASSERT_EQ(VectorAbsFloat32(s, s, n), StatusOk);
      for (int i = 0; i < n; ++i) {
        uint32_t got;
        std::memcpy(&got, src.region() + 4 * i, 4);
        ASSERT_EQ(got, bits[i] & 0x7FFFFFFFu) << "in place, n=" << n << " i=" << i;
      }
      ASSERT_TRUE(dst.CanariesIntact());
      ASSERT_TRUE(src.CanariesIntact());
    }
  }
}

TEST_P(MagnitudeTest, ArgumentChecks) {
  ComplexFloat32 c[2] = {{1, 2}, {3, 4}};
  float f[2] = {7, 7};
  EXPECT_EQ(VectorMagnitudeComplexFloat32(nullptr, f, 0), StatusNullPointer);
  EXPECT_EQ(VectorMagnitudeComplexFloat32(c, nullptr, 2), StatusNullPointer);
  EXPECT_EQ(VectorMagnitudeSquaredComplexFloat32(nullptr, f, -1), StatusNullPointer);
  EXPECT_EQ(VectorAbsFloat32(f, nullptr, 0), StatusNullPointer);
  for (int32_t n : {0, -5}) {
    EXPECT_EQ(VectorMagnitudeComplexFloat32(c, f, n), StatusBadCount);
    EXPECT_EQ(VectorMagnitudeSquaredComplexFloat32(c, f, n), StatusBadCount);
    EXPECT_EQ(VectorAbsFloat32(f, f, n), StatusBadCount);
  }
  EXPECT_EQ(f[0], 7.0f);
  EXPECT_EQ(f[1], 7.0f);
}

// Vectors that end right before a PROT_NONE page: nothing past the last
// element is read.
TEST_P(MagnitudeTest, NoRoadReadsPastTheLastElement) {
  for (int n = 1; n <= 70; ++n) {
    for (size_t shift : {0, 4, 8, 12, 16, 24, 32, 40, 56, 2}) {
      GuardedBuffer gs(n * 8 + shift), gd(n * 4 + shift);
      std::memset(gs.data(), 0x3F, gs.size());
      auto* s = reinterpret_cast<const ComplexFloat32*>(gs.data() + gs.size() - n * 8);
      auto* d = reinterpret_cast<float*>(gd.data() + gd.size() - n * 4);
      auto* d2 = reinterpret_cast<float*>(gd.data() + shift % 8);
      ASSERT_EQ(VectorMagnitudeComplexFloat32(s, d, n), StatusOk);
      ASSERT_EQ(VectorMagnitudeSquaredComplexFloat32(s, d2, n), StatusOk);
      ASSERT_EQ(VectorAbsFloat32(reinterpret_cast<const float*>(s) + n, d, n), StatusOk);
    }
  }
}

LV_INSTANTIATE_PER_CLASS(MagnitudeTest);

}  // namespace
