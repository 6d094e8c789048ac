// The small-order FFT kernels of classes 1 to 5 and 7 against their scalar model
// (bit for bit), against FFTW in double, and for the exact properties: access
// path, in place, scale placement, the two directions as mirrors.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <ostream>
#include <string>
#include <vector>

#include "cpu/dispatch_testing.h"
#include "fft/kernels/small_kernels.h"
#include "support/bits.h"
#include "support/class_fixture.h"
#include "support/fft_reference.h"
#include "tests/fft/kernels/small_model.h"
#include "tests/fft/kernels/small_model_128.h"

namespace {

using C = ComplexFloat32;
using lv_test::SameBits;

struct ClassKernels {
  const FftSmallKernelSet* forward;
  const FftSmallKernelSet* inverse;
  bool fused;
  bool build128;  // classes 1 to 3: orders 0 to 5, the 128-bit build's grouping
  int lastOrder;
};

// Classes 1 to 5 and 7 (the classes with small-order kernels of their own).
ClassKernels Kernels(int cls) {
  if (cls == 1) return {&kFftForwardSmallKernelsSse3, &kFftInverseSmallKernelsSse3, false, true, 5};
  if (cls == 2) return {&kFftForwardSmallKernelsSsse3, &kFftInverseSmallKernelsSsse3, false, true, 5};
  if (cls == 3) return {&kFftForwardSmallKernelsSse42, &kFftInverseSmallKernelsSse42, false, true, 5};
  if (cls == 4) return {&kFftForwardSmallKernelsAvx, &kFftInverseSmallKernelsAvx, false, false, 6};
  if (cls == 5) return {&kFftForwardSmallKernelsAvx2, &kFftInverseSmallKernelsAvx2, true, false, 6};
  return {&kFftForwardSmallKernelsAvx512, &kFftInverseSmallKernelsAvx512, true, false, 6};
}

// The scalar model of the class (orders 0 and 1 of the 128-bit build are class 0's).
std::vector<C> Model(const ClassKernels& k, int dir, int order, const std::vector<C>& x, bool scaled, float s) {
  if (k.build128 && order >= 2) return small_model_128::Transform(dir, order, x, scaled, s);
  return small_model::Transform({dir, k.fused}, order, x, scaled, s);
}

// Random floats of mixed magnitudes and signs, or uniform in [-1, 1).
std::vector<C> RandomPoints(int n, uint32_t seed, bool wideRange) {
  return wideRange ? lv_test::RandomWideSignal(n, seed) : lv_test::RandomSignal(n, seed);
}

void RunKernel(const FftSmallKernelSet* set, int order, bool normalised, float s, const C* src, C* dst) {
  if (normalised) {
    set->normalised[order](src, dst, s);
  } else {
    set->plain[order](src, dst, nullptr);
  }
}

class SmallKernelTest : public lv_test::PerClassTest {
 protected:
  ClassKernels K() const { return Kernels(Cls()); }
};

INSTANTIATE_TEST_SUITE_P(Classes, SmallKernelTest, ::testing::Values(1, 2, 3, 4, 5, 7), lv_test::ClassParamName);

// Every kernel equals the scalar model bit for bit, for both directions,
// plain and normalising, on every access path (both aligned, one or both
// misaligned by 4, 8 or 16 bytes, in place).
TEST_P(SmallKernelTest, EqualsScalarModelBitForBit) {
  const ClassKernels k = K();
  struct Placement {
    int srcOffset, dstOffset;
    bool inPlace;
  };
  const Placement placements[] = {{0, 0, false}, {0, 32, false}, {8, 0, false}, {4, 16, false},
                                  {16, 8, false}, {0, 0, true},  {8, 8, true}};
  const float scales[] = {0.37f, 1.0f / 64.0f, 3.0e4f};
  int checked = 0;
  for (int order = 0; order <= k.lastOrder; ++order) {
    const int n = 1 << order;
    for (int dir : {-1, 1}) {
      const FftSmallKernelSet* set = dir < 0 ? k.forward : k.inverse;
      for (int normalised = 0; normalised < 2; ++normalised) {
        for (float s : scales) {
          if (!normalised && s != scales[0]) continue;
          for (uint32_t seed = 0; seed < 4; ++seed) {
            const std::vector<C> x = RandomPoints(n, seed * 131 + order, seed % 2 == 1);
            const std::vector<C> want = Model(k, dir, order, x, normalised != 0, s);
            for (const Placement& pl : placements) {
              lv_test::PlacedPoints src(n, static_cast<size_t>(pl.srcOffset)),
                  dst(n, static_cast<size_t>(pl.dstOffset));
              C* out = pl.inPlace ? src.data() : dst.data();
              RunKernel(set, order, normalised != 0, s, src.Fill(x), out);
              ASSERT_TRUE(SameBits(out, want.data(), static_cast<size_t>(n)))
                  << "order " << order << " dir " << dir << " normalised " << normalised << " scale " << s
                  << " seed " << seed << " offsets " << pl.srcOffset << "/" << pl.dstOffset << " in place "
                  << pl.inPlace;
              EXPECT_TRUE(src.CanariesIntact() && dst.CanariesIntact()) << "order " << order;
              if (!pl.inPlace) {
                EXPECT_TRUE(SameBits(src.data(), x.data(), static_cast<size_t>(n)))
                    << "source changed, order " << order;
              }
              ++checked;
            }
          }
        }
      }
    }
  }
  EXPECT_GT(checked, 0);
}

// Forward and inverse, plain and normalising with 1/N, through the verifier
// against FFTW in double (accuracy within 2 * 2^-24 * (1 + order) for three
// signals, linearity, impulse response, time shift, source untouched, in place
// equal to out of place).
TEST_P(SmallKernelTest, VerifierPropertiesAgainstFftwInDouble) {
  const ClassKernels k = K();
  for (int order = 0; order <= k.lastOrder; ++order) {
    const float inv = std::ldexp(1.0f, -order);
    for (int dir : {-1, 1}) {
      const FftSmallKernelSet* set = dir < 0 ? k.forward : k.inverse;
      const lv_test::FftSubject plain{order, dir, 1.0, [set, order](const C* src, C* dst) {
                                        set->plain[order](src, dst, nullptr);
                                      }};
      const lv_test::FftSubject normalised{order, dir, inv, [set, order, inv](const C* src, C* dst) {
                                             set->normalised[order](src, dst, inv);
                                           }};
      for (uint32_t seed = 0; seed < 3; ++seed) {
        EXPECT_TRUE(
            lv_test::VerifyFft(plain, 1000 + seed, seed == 0 ? lv_test::kFftAllProperties : lv_test::kFftAccuracy));
      }
      EXPECT_TRUE(lv_test::VerifyFft(normalised, 1100));
    }
  }
}

// The inverse of x equals the conjugate of the forward transform of the
// conjugate of x (compared as values).
TEST_P(SmallKernelTest, InverseMirrorsForward) {
  const ClassKernels k = K();
  for (int order = 0; order <= k.lastOrder; ++order) {
    const int n = 1 << order;
    const std::vector<C> x = RandomPoints(n, 77 + order, true);
    const std::vector<C> cx = lv_test::Conjugated(x);
    std::vector<C> f(n), inv(n);
    k.forward->plain[order](cx.data(), f.data(), nullptr);
    k.inverse->plain[order](x.data(), inv.data(), nullptr);
    EXPECT_TRUE(lv_test::IsMirror(inv, f)) << "order " << order;
  }
}

// Scale placement: scale 1 gives the plain bits; 1/N gives plain/N exactly;
// orders 2-4 scale the outputs (fl(s*y)); class 4 at orders 5-6 is the plain
// transform of fl(s*x).
TEST_P(SmallKernelTest, ScaleIsAppliedWhereTheClassRulesSay) {
  const ClassKernels k = K();
  for (int order = 0; order <= k.lastOrder; ++order) {
    const int n = 1 << order;
    for (const FftSmallKernelSet* set : {k.forward, k.inverse}) {
      const std::vector<C> x = RandomPoints(n, 500 + order, false);
      std::vector<C> plain(n), y(n);
      set->plain[order](x.data(), plain.data(), nullptr);
      set->normalised[order](x.data(), y.data(), 1.0f);
      EXPECT_TRUE(SameBits(y, plain)) << "scale 1, order " << order;
      const float inv = std::ldexp(1.0f, -order);
      set->normalised[order](x.data(), y.data(), inv);
      EXPECT_TRUE(lv_test::IsScaledOnce(y, plain, inv)) << "1/N, order " << order;
      const float s = 0.37f;
      set->normalised[order](x.data(), y.data(), s);
      if (k.build128 ? order != 4 : order <= 4) {
        for (int i = 0; i < n; ++i) {
          EXPECT_EQ(y[i].re, s * plain[i].re) << "order " << order << " point " << i;
          EXPECT_EQ(y[i].im, s * plain[i].im) << "order " << order << " point " << i;
        }
      } else if (!k.fused && !k.build128) {
        std::vector<C> sx(n), want(n);
        for (int i = 0; i < n; ++i) sx[i] = {s * x[i].re, s * x[i].im};
        set->plain[order](sx.data(), want.data(), nullptr);
        EXPECT_TRUE(SameBits(y, want)) << "order " << order;
      }
    }
  }
}

// Exact results: the 4-point impulse at x[1]; the impulse at x[1] up to order 4
// gives the nearest floats of the twiddles; a constant 1 gives N and +0.
TEST_P(SmallKernelTest, ImpulseAndConstantGiveExactResults) {
  const ClassKernels k = K();
  {
    const std::vector<C> x = {{0, 0}, {1, 0}, {0, 0}, {0, 0}};
    std::vector<C> y(4);
    k.inverse->plain[2](x.data(), y.data(), nullptr);
    const float want[8] = {1, 0, 0, 1, -1, 0, 0, -1};
    EXPECT_TRUE(SameBits(&y[0].re, want, 8)) << "inverse 4-point impulse";
  }
  for (int order = 1; order <= k.lastOrder; ++order) {
    const int n = 1 << order;
    std::vector<C> x(n, C{0, 0}), y(n);
    x[1] = {1, 0};
    for (int dir : {-1, 1}) {
      (dir < 0 ? k.forward : k.inverse)->plain[order](x.data(), y.data(), nullptr);
      for (int i = 0; i < n; ++i) {
        const long double a = 2.0L * 3.14159265358979323846264338327950288L * i / n;
        // Exact zeros at the quarter turns; elsewhere the nearest float.
        const bool cosZero = (4 * i) % n == 0 && ((4 * i) / n) % 2 == 1;
        const bool sinZero = (2 * i) % n == 0;
        const float c = cosZero ? 0.0f : static_cast<float>(std::cos(a));
        const float s = sinZero ? 0.0f : static_cast<float>(dir * std::sin(a));
        if (order <= 4) {
          EXPECT_EQ(y[i].re, c) << "order " << order << " dir " << dir << " bin " << i;
          EXPECT_EQ(y[i].im, s) << "order " << order << " dir " << dir << " bin " << i;
        } else {
          EXPECT_NEAR(y[i].re, c, 2e-7) << "order " << order << " bin " << i;
          EXPECT_NEAR(y[i].im, s, 2e-7) << "order " << order << " bin " << i;
        }
      }
    }
    std::vector<C> ones(n, C{1, 0});
    for (const FftSmallKernelSet* set : {k.forward, k.inverse}) {
      set->plain[order](ones.data(), y.data(), nullptr);
      EXPECT_EQ(y[0].re, static_cast<float>(n));
      EXPECT_EQ(y[0].im, 0.0f);
      for (int i = 1; i < n; ++i) {
        EXPECT_EQ(y[i].re, 0.0f) << "order " << order << " bin " << i;
        EXPECT_EQ(y[i].im, 0.0f) << "order " << order << " bin " << i;
      }
    }
  }
}

// Order 0 plain keeps every bit (NaN payloads, negative zero); order 1 rounds
// the sum and the difference once.
TEST_P(SmallKernelTest, OrdersZeroAndOneAreExact) {
  const ClassKernels k = K();
  uint32_t nanBits = 0x7FC01234u;
  C x0;
  std::memcpy(&x0.re, &nanBits, 4);
  x0.im = -0.0f;
  C y0{1, 1};
  k.forward->plain[0](&x0, &y0, nullptr);
  EXPECT_TRUE(SameBits(&x0, &y0, 1));
  k.inverse->plain[0](&x0, &y0, nullptr);
  EXPECT_TRUE(SameBits(&x0, &y0, 1));
  C two[2] = {{1.0f, 3.0f}, {std::ldexp(1.0f, -30), -2.5f}};
  C out[2];
  k.forward->plain[1](two, out, nullptr);
  EXPECT_EQ(out[0].re, 1.0f + std::ldexp(1.0f, -30));
  EXPECT_EQ(out[0].im, 0.5f);
  EXPECT_EQ(out[1].im, 5.5f);
  k.inverse->normalised[1](two, two, 0.5f);  // in place
  EXPECT_EQ(two[0].im, 0.25f);
  EXPECT_EQ(two[1].im, 2.75f);
}

// Classes 5 and 7 give bit-identical results for every input, plain and
// normalising; with an infinity and a NaN in the input the same outputs are
// NaN and all others agree bit for bit.
TEST(SmallKernelClasses, Avx2AndAvx512AreBitIdentical) {
  if (!IsProcessorClassRunnable(5) || !IsProcessorClassRunnable(7)) {
    GTEST_SKIP() << "classes 5 and 7 are not both supported by this processor";
  }
  for (int order = 0; order <= 6; ++order) {
    const int n = 1 << order;
    for (uint32_t seed = 0; seed < 20; ++seed) {
      std::vector<C> x = RandomPoints(n, 9000 + seed, true);
      if (seed == 19) {
        x[0].re = INFINITY;
        x[n - 1].im = NAN;
      }
      std::vector<C> a(n), b(n);
      const FftSmallKernelSet* sets[2][2] = {{&kFftForwardSmallKernelsAvx2, &kFftForwardSmallKernelsAvx512},
                                             {&kFftInverseSmallKernelsAvx2, &kFftInverseSmallKernelsAvx512}};
      for (auto& pair : sets) {
        pair[0]->plain[order](x.data(), a.data(), nullptr);
        pair[1]->plain[order](x.data(), b.data(), nullptr);
        ASSERT_TRUE(lv_test::SameBitsOrBothNan(a, b)) << "order " << order << " seed " << seed;
        pair[0]->normalised[order](x.data(), a.data(), 0.3f);
        pair[1]->normalised[order](x.data(), b.data(), 0.3f);
        ASSERT_TRUE(lv_test::SameBitsOrBothNan(a, b)) << "normalised, order " << order << " seed " << seed;
      }
    }
  }
}

// The 128-bit build: classes 1, 2 and 3 give bit-identical results for every
// input, plain and normalising, non-finite inputs included.
TEST(SmallKernelClasses, Sse3Ssse3AndSse42AreBitIdentical) {
  const FftSmallKernelSet* sets[2][3] = {
      {&kFftForwardSmallKernelsSse3, &kFftForwardSmallKernelsSsse3, &kFftForwardSmallKernelsSse42},
      {&kFftInverseSmallKernelsSse3, &kFftInverseSmallKernelsSsse3, &kFftInverseSmallKernelsSse42}};
  for (int cls = 1; cls <= 3; ++cls) {
    if (!IsProcessorClassRunnable(cls)) GTEST_SKIP() << "class " << cls << " is not supported by this processor";
  }
  for (int order = 0; order <= 5; ++order) {
    const int n = 1 << order;
    for (uint32_t seed = 0; seed < 20; ++seed) {
      std::vector<C> x = RandomPoints(n, 9500 + seed, true);
      if (seed == 19) {
        x[0].re = INFINITY;
        x[n - 1].im = NAN;
      }
      for (auto& dir : sets) {
        std::vector<C> a(n), b(n), c(n);
        dir[0]->plain[order](x.data(), a.data(), nullptr);
        dir[1]->plain[order](x.data(), b.data(), nullptr);
        dir[2]->plain[order](x.data(), c.data(), nullptr);
        ASSERT_TRUE(SameBits(a, b) && SameBits(a, c)) << "order " << order << " seed " << seed;
        dir[0]->normalised[order](x.data(), a.data(), 0.3f);
        dir[1]->normalised[order](x.data(), b.data(), 0.3f);
        dir[2]->normalised[order](x.data(), c.data(), 0.3f);
        ASSERT_TRUE(SameBits(a, b) && SameBits(a, c)) << "normalised, order " << order << " seed " << seed;
      }
    }
  }
}

}  // namespace
