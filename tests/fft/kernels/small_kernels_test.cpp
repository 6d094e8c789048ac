// The small-order FFT kernels of classes 4, 5 and 7 against their scalar model
// (bit for bit), against FFTW in double, and for the exact properties: access
// path, in place, scale placement, the two directions as mirrors.
#include <fftw3.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <ostream>
#include <string>
#include <vector>

#include "fft/kernels/small_kernels.h"
#include "cpu/dispatch_testing.h"
#include "tests/fft/kernels/small_model.h"

namespace {

using C = ComplexFloat32;

struct ClassKernels {
  int cls;
  const char* name;
  const FftSmallKernelSet* forward;
  const FftSmallKernelSet* inverse;
  bool fused;
};

const ClassKernels kClasses[] = {
    {4, "Avx", &kFftForwardSmallKernelsAvx, &kFftInverseSmallKernelsAvx, false},
    {5, "Avx2", &kFftForwardSmallKernelsAvx2, &kFftInverseSmallKernelsAvx2, true},
    {7, "Avx512", &kFftForwardSmallKernelsAvx512, &kFftInverseSmallKernelsAvx512, true},
};

// Random floats of mixed magnitudes and signs (seeded, printed on failure).
std::vector<C> RandomPoints(int n, uint32_t seed, bool wideRange) {
  std::vector<C> x(n);
  uint64_t st = 0x9E3779B97F4A7C15ull * (seed + 7);
  auto next = [&st]() {
    st = st * 6364136223846793005ull + 1442695040888963407ull;
    return static_cast<uint32_t>(st >> 32);
  };
  auto value = [&]() {
    const float m = static_cast<float>(static_cast<int32_t>(next())) / 2147483648.0f;
    return wideRange ? std::ldexp(m, static_cast<int>(next() % 40) - 20) : m;
  };
  for (auto& v : x) v = {value(), value()};
  return x;
}

// A buffer whose data starts `offset` bytes past a 64-byte boundary.
struct Placed {
  std::vector<uint8_t> raw;
  C* p;
  Placed(int n, int offset) : raw(static_cast<size_t>(n) * 8 + 128) {
    uintptr_t a = (reinterpret_cast<uintptr_t>(raw.data()) + 63) & ~uintptr_t{63};
    p = reinterpret_cast<C*>(a + offset);
  }
};

void RunKernel(const FftSmallKernelSet* set, int order, bool normalised, float s, const C* src, C* dst) {
  if (normalised) {
    set->normalised[order](src, dst, s);
  } else {
    set->plain[order](src, dst, nullptr);
  }
}

bool SameBits(const C* a, const C* b, int n) { return std::memcmp(a, b, static_cast<size_t>(n) * 8) == 0; }

// Bit for bit, except that any two NaNs match (which operand's payload an
// operation on two NaNs keeps is not part of the arithmetic).
bool SameBitsOrBothNan(const C* a, const C* b, int n) {
  for (int i = 0; i < 2 * n; ++i) {
    const float x = (&a->re)[i], y = (&b->re)[i];
    if (std::isnan(x) && std::isnan(y)) continue;
    if (std::memcmp(&x, &y, 4) != 0) return false;
  }
  return true;
}

std::string FirstDifference(const C* a, const C* b, int n) {
  for (int i = 0; i < n; ++i) {
    if (std::memcmp(&a[i], &b[i], 8) != 0) {
      return "point " + std::to_string(i) + ": (" + std::to_string(a[i].re) + ", " + std::to_string(a[i].im) +
             ") vs (" + std::to_string(b[i].re) + ", " + std::to_string(b[i].im) + ")";
    }
  }
  return "none";
}

void PrintTo(const ClassKernels& k, std::ostream* os) { *os << k.name; }

class SmallKernelTest : public ::testing::TestWithParam<ClassKernels> {
 protected:
  void SetUp() override {
    if (!IsProcessorClassRunnable(GetParam().cls)) {
      GTEST_SKIP() << "processor class " << GetParam().name << " is not supported by this processor";
    }
  }
};

// Every kernel equals the scalar model bit for bit, for both directions,
// plain and normalising, on every access path (both aligned, one or both
// misaligned by 4, 8 or 16 bytes, in place).
TEST_P(SmallKernelTest, EqualsScalarModelBitForBit) {
  const ClassKernels& k = GetParam();
  struct Placement {
    int srcOffset, dstOffset;
    bool inPlace;
  };
  const Placement placements[] = {{0, 0, false}, {0, 32, false}, {8, 0, false}, {4, 16, false},
                                  {16, 8, false}, {0, 0, true},  {8, 8, true}};
  const float scales[] = {0.37f, 1.0f / 64.0f, 3.0e4f};
  int checked = 0;
  for (int order = 0; order <= 6; ++order) {
    const int n = 1 << order;
    for (int dir : {-1, 1}) {
      const FftSmallKernelSet* set = dir < 0 ? k.forward : k.inverse;
      for (int normalised = 0; normalised < 2; ++normalised) {
        for (float s : scales) {
          if (!normalised && s != scales[0]) continue;
          for (uint32_t seed = 0; seed < 4; ++seed) {
            const std::vector<C> x = RandomPoints(n, seed * 131 + order, seed % 2 == 1);
            const std::vector<C> want =
                small_model::Transform({dir, k.fused}, order, x, normalised != 0, s);
            for (const Placement& pl : placements) {
              Placed src(n, pl.srcOffset), dst(n, pl.dstOffset);
              std::memcpy(src.p, x.data(), static_cast<size_t>(n) * 8);
              C* out = pl.inPlace ? src.p : dst.p;
              RunKernel(set, order, normalised != 0, s, src.p, out);
              ASSERT_TRUE(SameBits(out, want.data(), n))
                  << "order " << order << " dir " << dir << " normalised " << normalised << " scale " << s
                  << " seed " << seed << " offsets " << pl.srcOffset << "/" << pl.dstOffset << " in place "
                  << pl.inPlace << ": first difference " << FirstDifference(out, want.data(), n);
              if (!pl.inPlace) {
                EXPECT_TRUE(SameBits(src.p, x.data(), n)) << "source changed, order " << order;
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

// Forward and inverse against FFTW in double: relative L2 error within
// 2 * 2^-24 * (1 + order).
TEST_P(SmallKernelTest, AgreesWithFftwInDouble) {
  const ClassKernels& k = GetParam();
  for (int order = 0; order <= 6; ++order) {
    const int n = 1 << order;
    fftw_complex* in = fftw_alloc_complex(n);
    fftw_complex* out = fftw_alloc_complex(n);
    for (int dir : {-1, 1}) {
      fftw_plan plan = fftw_plan_dft_1d(n, in, out, dir < 0 ? FFTW_FORWARD : FFTW_BACKWARD, FFTW_ESTIMATE);
      for (uint32_t seed = 0; seed < 3; ++seed) {
        const std::vector<C> x = RandomPoints(n, 1000 + seed, false);
        for (int i = 0; i < n; ++i) {
          in[i][0] = x[i].re;
          in[i][1] = x[i].im;
        }
        fftw_execute(plan);
        std::vector<C> y(n);
        (dir < 0 ? k.forward : k.inverse)->plain[order](x.data(), y.data(), nullptr);
        double num = 0, den = 0;
        for (int i = 0; i < n; ++i) {
          num += std::pow(out[i][0] - y[i].re, 2) + std::pow(out[i][1] - y[i].im, 2);
          den += out[i][0] * out[i][0] + out[i][1] * out[i][1];
        }
        EXPECT_LE(std::sqrt(num / den), 2.0 * std::ldexp(1.0, -24) * (1 + order))
            << "order " << order << " dir " << dir << " seed " << seed;
      }
      fftw_destroy_plan(plan);
    }
    fftw_free(in);
    fftw_free(out);
  }
}

// The inverse of x equals the conjugate of the forward transform of the
// conjugate of x (compared as values).
TEST_P(SmallKernelTest, InverseMirrorsForward) {
  const ClassKernels& k = GetParam();
  for (int order = 0; order <= 6; ++order) {
    const int n = 1 << order;
    const std::vector<C> x = RandomPoints(n, 77 + order, true);
    std::vector<C> cx(n), f(n), inv(n);
    for (int i = 0; i < n; ++i) cx[i] = {x[i].re, -x[i].im};
    k.forward->plain[order](cx.data(), f.data(), nullptr);
    k.inverse->plain[order](x.data(), inv.data(), nullptr);
    for (int i = 0; i < n; ++i) {
      ASSERT_EQ(inv[i].re, f[i].re) << "order " << order << " point " << i;
      ASSERT_EQ(inv[i].im, -f[i].im) << "order " << order << " point " << i;
    }
  }
}

// Scale placement: scale 1 gives the plain bits; 1/N gives plain/N exactly;
// orders 2-4 scale the outputs (fl(s*y)); class 4 at orders 5-6 is the plain
// transform of fl(s*x).
TEST_P(SmallKernelTest, ScaleIsAppliedWhereTheClassRulesSay) {
  const ClassKernels& k = GetParam();
  for (int order = 0; order <= 6; ++order) {
    const int n = 1 << order;
    for (const FftSmallKernelSet* set : {k.forward, k.inverse}) {
      const std::vector<C> x = RandomPoints(n, 500 + order, false);
      std::vector<C> plain(n), y(n);
      set->plain[order](x.data(), plain.data(), nullptr);
      set->normalised[order](x.data(), y.data(), 1.0f);
      EXPECT_TRUE(SameBits(y.data(), plain.data(), n)) << "scale 1, order " << order;
      const float inv = std::ldexp(1.0f, -order);
      set->normalised[order](x.data(), y.data(), inv);
      for (int i = 0; i < n; ++i) {
        EXPECT_EQ(y[i].re, plain[i].re * inv) << "1/N, order " << order << " point " << i;
        EXPECT_EQ(y[i].im, plain[i].im * inv) << "1/N, order " << order << " point " << i;
      }
      const float s = 0.37f;
      set->normalised[order](x.data(), y.data(), s);
      if (order <= 4) {
        for (int i = 0; i < n; ++i) {
          EXPECT_EQ(y[i].re, s * plain[i].re) << "order " << order << " point " << i;
          EXPECT_EQ(y[i].im, s * plain[i].im) << "order " << order << " point " << i;
        }
      } else if (!k.fused) {
        std::vector<C> sx(n), want(n);
        for (int i = 0; i < n; ++i) sx[i] = {s * x[i].re, s * x[i].im};
        set->plain[order](sx.data(), want.data(), nullptr);
        EXPECT_TRUE(SameBits(y.data(), want.data(), n)) << "order " << order;
      }
    }
  }
}

// Exact results: the 4-point impulse at x[1]; the impulse at x[1] up to order 4
// gives the nearest floats of the twiddles; a constant 1 gives N and +0.
TEST_P(SmallKernelTest, ImpulseAndConstantGiveExactResults) {
  const ClassKernels& k = GetParam();
  {
    const std::vector<C> x = {{0, 0}, {1, 0}, {0, 0}, {0, 0}};
    std::vector<C> y(4);
    k.inverse->plain[2](x.data(), y.data(), nullptr);
    const float want[8] = {1, 0, 0, 1, -1, 0, 0, -1};
    EXPECT_EQ(std::memcmp(y.data(), want, 32), 0) << "inverse 4-point impulse";
  }
  for (int order = 1; order <= 6; ++order) {
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
  const ClassKernels& k = GetParam();
  uint32_t nanBits = 0x7FC01234u;
  C x0;
  std::memcpy(&x0.re, &nanBits, 4);
  x0.im = -0.0f;
  C y0{1, 1};
  k.forward->plain[0](&x0, &y0, nullptr);
  EXPECT_EQ(std::memcmp(&x0, &y0, 8), 0);
  k.inverse->plain[0](&x0, &y0, nullptr);
  EXPECT_EQ(std::memcmp(&x0, &y0, 8), 0);
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

INSTANTIATE_TEST_SUITE_P(Classes, SmallKernelTest, ::testing::ValuesIn(kClasses),
                         [](const ::testing::TestParamInfo<ClassKernels>& info) { return info.param.name; });

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
        ASSERT_TRUE(SameBitsOrBothNan(a.data(), b.data(), n)) << "order " << order << " seed " << seed;
        pair[0]->normalised[order](x.data(), a.data(), 0.3f);
        pair[1]->normalised[order](x.data(), b.data(), 0.3f);
        ASSERT_TRUE(SameBitsOrBothNan(a.data(), b.data(), n)) << "normalised, order " << order << " seed " << seed;
      }
    }
  }
}

}  // namespace
