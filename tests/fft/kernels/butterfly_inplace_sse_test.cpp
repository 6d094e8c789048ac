// The 128-bit in-place butterfly kernel of classes 2 and 3 against a scalar
// model (bit for bit), against FFTW in double, and for what it may read and
// write: the twiddle table up to float 2(n - 4), data, and the work buffer only
// when data is not 16-byte aligned.
#include <fftw3.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <ostream>
#include <string>
#include <vector>

#include "fft/kernels/butterfly.h"
#include "fft/setup/setup.h"
#include "fft/setup/fft_spec.h"
#include "cpu/dispatch_testing.h"

namespace {

using C = ComplexFloat32;
using InPlaceFn = void (*)(C*, uint64_t, const float*, uint8_t*, int32_t);
using ExpandFn = void* (*)(int32_t, const float*, int32_t, float*);
using SineFn = void* (*)(int32_t, float*);

struct ClassKernel {
  int cls;
  const char* name;
  InPlaceFn inPlace[2];  // forward, inverse
  SineFn sine;
  ExpandFn expand;
};

void PrintTo(const ClassKernel& k, std::ostream* os) { *os << k.name; }

const ClassKernel kClasses[] = {
    {2, "Ssse3", {FftForwardInPlaceKernelSsse3, FftInverseInPlaceKernelSsse3}, MakeSineTableSsse3,
     ExpandRadix4TwiddlesSsse3},
    {3, "Sse42", {FftForwardInPlaceKernelSse42, FftInverseInPlaceKernelSse42}, MakeSineTableSse42,
     ExpandRadix4TwiddlesSse42},
};

// ---- Scalar model: the kernel's passes on complex values in natural point
// order, every sum and product rounded to float in the kernel's order.

C Add(C a, C b) { return {a.re + b.re, a.im + b.im}; }
C Sub(C a, C b) { return {a.re - b.re, a.im - b.im}; }
C AddI(C a, C b) { return {a.re - b.im, a.im + b.re}; }  // a + i b
C SubI(C a, C b) { return {a.re + b.im, a.im - b.re}; }  // a - i b
// a + j b, a - j b with j = -i forward, +i inverse.
C AddJ(int sign, C a, C b) { return sign < 0 ? SubI(a, b) : AddI(a, b); }
C SubJ(int sign, C a, C b) { return sign < 0 ? AddI(a, b) : SubI(a, b); }

C Mul(int sign, C x, float wr, float wi) {
  if (sign < 0) return {x.re * wr - x.im * wi, x.im * wr + x.re * wi};
  return {x.re * wr + x.im * wi, x.im * wr - x.re * wi};
}

float FromBits(uint32_t b) {
  float f;
  std::memcpy(&f, &b, 4);
  return f;
}

// z holds the input in bit-reversed order; returns the transform in natural
// order.
std::vector<C> Model(int sign, const std::vector<C>& z, const float* table, uint32_t cBits = 0x3F3504F4u) {
  const int64_t n = static_cast<int64_t>(z.size());
  std::vector<C> y(n);
  for (int64_t j = 0; j < n; j += 4) {
    const C s01 = Add(z[j], z[j + 1]), d01 = Sub(z[j], z[j + 1]);
    const C s23 = Add(z[j + 2], z[j + 3]), d23 = Sub(z[j + 2], z[j + 3]);
    y[j] = Add(s01, s23);
    y[j + 1] = AddJ(sign, d01, d23);
    y[j + 2] = Sub(s01, s23);
    y[j + 3] = SubJ(sign, d01, d23);
  }
  int levels = 0;
  while ((int64_t{4} << levels) < n) ++levels;
  // levels = log2(n) - 2; radix-4 passes first while it is not a multiple of 3.
  int radix4 = levels % 3 == 0 ? 0 : (levels % 3 == 2 ? 1 : 2);
  const float c = FromBits(cBits), nc = FromBits(cBits ^ 0x80000000u);
  for (int64_t l = 4; l < n;) {
    const int radix = radix4-- > 0 ? 4 : 8;
    const float* run = table + 2 * (l - 4);
    auto tw = [&](int64_t k, int r, C x) {
      const float* b = run + 8 * (radix - 1) * (k / 4) + 8 * (r - 1) + k % 4;
      return Mul(sign, x, b[0], b[4]);
    };
    for (int64_t g = 0; g < n; g += radix * l) {
      for (int64_t k = 0; k < l; ++k) {
        C* p = &y[g + k];
        if (radix == 4) {
          const C A = p[0];
          const C tC = tw(k, 1, p[2 * l]), tB = tw(k, 2, p[l]), tD = tw(k, 3, p[3 * l]);
          const C s = Add(tC, tD), d = Sub(tC, tD), a = Add(A, tB), b = Sub(A, tB);
          p[0] = Add(a, s);
          p[l] = AddJ(sign, b, d);
          p[2 * l] = Sub(a, s);
          p[3 * l] = SubJ(sign, b, d);
        } else {
          const C t0 = p[0], t1 = tw(k, 1, p[4 * l]), t2 = tw(k, 2, p[2 * l]), t3 = tw(k, 3, p[6 * l]);
          const C t4 = tw(k, 4, p[l]), t5 = tw(k, 5, p[5 * l]), t6 = tw(k, 6, p[3 * l]), t7 = tw(k, 7, p[7 * l]);
          const C a = Add(t0, t4), b = Sub(t0, t4), s26 = Add(t2, t6), d26 = Sub(t2, t6);
          const C s15 = Add(t1, t5), d15 = Sub(t1, t5), s37 = Add(t3, t7), d37 = Sub(t3, t7);
          const C e0 = Add(a, s26), e2 = Sub(a, s26), g0 = Add(s15, s37), g2 = Sub(s15, s37);
          C u, v;
          if (sign < 0) {
            const float pp = c * (d15.re + d37.im), qq = c * (d15.im - d37.re);
            u = {pp + qq, qq - pp};
            const float p2 = nc * (d15.re - d37.im), q2 = nc * (d15.im + d37.re);
            v = {p2 - q2, q2 + p2};
          } else {
            const float pp = c * (d15.re - d37.im), qq = c * (d15.im + d37.re);
            u = {pp - qq, qq + pp};
            const float p2 = nc * (d15.re + d37.im), q2 = nc * (d15.im - d37.re);
            v = {p2 + q2, q2 - p2};
          }
          const C h1 = AddJ(sign, b, d26), h3 = SubJ(sign, b, d26);
          p[0] = Add(e0, g0);
          p[4 * l] = Sub(e0, g0);
          p[2 * l] = AddJ(sign, e2, g2);
          p[6 * l] = SubJ(sign, e2, g2);
          p[l] = Add(h1, u);
          p[5 * l] = Sub(h1, u);
          p[3 * l] = Add(h3, v);
          p[7 * l] = Sub(h3, v);
        }
      }
    }
    l *= radix;
  }
  return y;
}

// ---- Fixtures.

std::vector<C> RandomPoints(int64_t n, uint32_t seed) {
  std::vector<C> x(n);
  uint64_t st = 0x9E3779B97F4A7C15ull * (seed + 5);
  auto next = [&st]() {
    st = st * 6364136223846793005ull + 1442695040888963407ull;
    return static_cast<float>(static_cast<int32_t>(st >> 32)) / 2147483648.0f;
  };
  for (auto& v : x) v = {next(), next()};
  return x;
}

std::vector<C> BitReversed(const std::vector<C>& x) {
  const int64_t n = static_cast<int64_t>(x.size());
  int bits = 0;
  while ((int64_t{1} << bits) < n) ++bits;
  std::vector<C> z(n);
  for (int64_t i = 0; i < n; ++i) {
    int64_t r = 0;
    for (int b = 0; b < bits; ++b) r |= ((i >> b) & 1) << (bits - 1 - b);
    z[r] = x[i];
  }
  return z;
}

uint8_t* Align64(uint8_t* p) {
  return reinterpret_cast<uint8_t*>((reinterpret_cast<uintptr_t>(p) + 63) & ~uintptr_t{63});
}

// The class's twiddle table of order L in 8n reserved bytes, 64-byte aligned;
// floats from 2(n - 4) on are filled with `tail` (NaN to prove they are not
// read).
struct Table {
  std::vector<uint8_t> raw;
  float* p;
  Table(const ClassKernel& k, int L, float tail) {
    const int64_t n = int64_t{1} << L;
    raw.assign(static_cast<size_t>(8 * n + 128), 0);
    p = reinterpret_cast<float*>(Align64(raw.data()));
    if (L <= 10) {
      k.expand(L, kFftQuarterSineOrder10, 10, p);
    } else {
      std::vector<uint8_t> sine(static_cast<size_t>(n + 128));
      auto* s = reinterpret_cast<float*>(Align64(sine.data()));
      k.sine(L, s);
      k.expand(L, s, L, p);
    }
    for (int64_t i = 2 * (n - 4); i < 2 * n + 8; ++i) p[i] = tail;
  }
};

// n points `offset` bytes past a 64-byte boundary, 64 guard bytes each side.
struct Placed {
  std::vector<uint8_t> raw;
  C* p;
  int64_t n;
  Placed(int64_t count, int offset) : raw(static_cast<size_t>(count) * 8 + 256, 0xC3), n(count) {
    p = reinterpret_cast<C*>(Align64(raw.data() + 64) + offset);
  }
  bool GuardsIntact() const {
    const auto* b = reinterpret_cast<const uint8_t*>(p);
    for (const uint8_t* q = raw.data(); q < b; ++q) {
      if (*q != 0xC3) return false;
    }
    for (const uint8_t* q = b + 8 * n; q < raw.data() + raw.size(); ++q) {
      if (*q != 0xC3) return false;
    }
    return true;
  }
};

// A 64-byte-aligned work buffer of exactly 8n bytes and a guard behind it.
struct Work {
  std::vector<uint8_t> raw;
  uint8_t* p;
  int64_t bytes;
  explicit Work(int64_t n) : raw(static_cast<size_t>(n) * 8 + 128, 0x5A), bytes(n * 8) { p = Align64(raw.data()); }
  bool GuardIntact() const {
    for (const uint8_t* q = p + bytes; q < raw.data() + raw.size(); ++q) {
      if (*q != 0x5A) return false;
    }
    return true;
  }
};

bool SameBits(const C* a, const C* b, int64_t n) { return std::memcmp(a, b, static_cast<size_t>(n) * 8) == 0; }

std::string FirstDifference(const C* a, const C* b, int64_t n) {
  for (int64_t i = 0; i < n; ++i) {
    if (std::memcmp(&a[i], &b[i], 8) != 0) {
      return "point " + std::to_string(i) + ": (" + std::to_string(a[i].re) + ", " + std::to_string(a[i].im) +
             ") vs (" + std::to_string(b[i].re) + ", " + std::to_string(b[i].im) + ")";
    }
  }
  return "none";
}

// Blocks of 4 points (4 real parts, then 4 imaginary parts) as pairs.
std::vector<C> FromBlocks(const C* data, int64_t n) {
  const float* f = &data->re;
  std::vector<C> out(n);
  for (int64_t k = 0; k < n; ++k) out[k] = {f[8 * (k / 4) + k % 4], f[8 * (k / 4) + 4 + k % 4]};
  return out;
}

double ErrorAgainstFftw(const std::vector<C>& x, const C* y, int sign) {
  const int64_t n = static_cast<int64_t>(x.size());
  fftw_complex* buf = fftw_alloc_complex(n);
  fftw_plan plan = fftw_plan_dft_1d(static_cast<int>(n), buf, buf, sign, FFTW_ESTIMATE);
  for (int64_t i = 0; i < n; ++i) {
    buf[i][0] = x[i].re;
    buf[i][1] = x[i].im;
  }
  fftw_execute(plan);
  double num = 0, den = 0;
  for (int64_t i = 0; i < n; ++i) {
    num += std::pow(buf[i][0] - y[i].re, 2) + std::pow(buf[i][1] - y[i].im, 2);
    den += buf[i][0] * buf[i][0] + buf[i][1] * buf[i][1];
  }
  fftw_destroy_plan(plan);
  fftw_free(buf);
  return std::sqrt(num / den);
}

class InPlaceSseTest : public ::testing::TestWithParam<ClassKernel> {
 protected:
  void SetUp() override {
    if (!IsProcessorClassRunnable(GetParam().cls)) {
      GTEST_SKIP() << "processor class " << GetParam().name << " is not supported by this processor";
    }
  }
};

// Every order of the kernel (6: the only radix-4 final pass; 7 and 8: one
// radix-4 pass or none before radix 8; 17: five radix-8 passes), both
// directions, equals the model bit for bit: aligned data with a null work
// buffer (any use of it would fault), and data 4, 8 and 24 bytes past a
// boundary through the work buffer. Flag 1 gives pairs; 0, 2 and -1 the same
// values in blocks of 4. Nothing around data or past the 8n work bytes is
// written, and the table is read only up to float 2(n - 4) (the rest is NaN).
TEST_P(InPlaceSseTest, EqualsScalarModelOnEveryRoad) {
  const ClassKernel& k = GetParam();
  struct Road {
    int offset, flag;
  };
  const Road roads[] = {{0, 1}, {0, 0}, {8, 1}, {8, 2}, {4, 0}, {24, -1}, {4, 1}};
  for (int L = 6; L <= 17; ++L) {
    const int64_t n = int64_t{1} << L;
    const Table table(k, L, NAN);
    const std::vector<C> z = RandomPoints(n, static_cast<uint32_t>(L));
    for (int d = 0; d < 2; ++d) {
      const int sign = d == 0 ? -1 : 1;
      const std::vector<C> want = Model(sign, z, table.p);
      for (const Road& r : roads) {
        Placed data(n, r.offset);
        std::memcpy(data.p, z.data(), static_cast<size_t>(n) * 8);
        Work work(n);
        k.inPlace[d](data.p, static_cast<uint64_t>(n), table.p, r.offset % 16 == 0 ? nullptr : work.p, r.flag);
        const std::vector<C> got = r.flag == 1 ? std::vector<C>(data.p, data.p + n) : FromBlocks(data.p, n);
        ASSERT_TRUE(SameBits(got.data(), want.data(), n))
            << "order " << L << " sign " << sign << " offset " << r.offset << " flag " << r.flag << ": "
            << FirstDifference(got.data(), want.data(), n);
        EXPECT_TRUE(data.GuardsIntact()) << "order " << L << " offset " << r.offset;
        EXPECT_TRUE(work.GuardIntact()) << "order " << L << " offset " << r.offset;
      }
    }
  }
}

// Orders 12 to 17 (the sub-transform orders of the large transforms) against
// FFTW in double, forward and inverse, and the inverse as the mirror of the
// forward: inverse(x) == conj(forward(conj(x))) bit for bit.
TEST_P(InPlaceSseTest, AgreesWithFftwAndMirrors) {
  const ClassKernel& k = GetParam();
  for (int L = 12; L <= 17; ++L) {
    const int64_t n = int64_t{1} << L;
    const Table table(k, L, 0.0f);
    const std::vector<C> x = RandomPoints(n, 100 + static_cast<uint32_t>(L));
    std::vector<C> cx(n);
    for (int64_t i = 0; i < n; ++i) cx[i] = {x[i].re, -x[i].im};
    std::vector<C> f = BitReversed(x), inv = BitReversed(x), fc = BitReversed(cx);
    k.inPlace[0](f.data(), static_cast<uint64_t>(n), table.p, nullptr, 1);
    k.inPlace[1](inv.data(), static_cast<uint64_t>(n), table.p, nullptr, 1);
    k.inPlace[0](fc.data(), static_cast<uint64_t>(n), table.p, nullptr, 1);
    const double bound = 2.0 * std::ldexp(1.0, -24) * (1 + L);
    EXPECT_LE(ErrorAgainstFftw(x, f.data(), FFTW_FORWARD), bound) << "forward, order " << L;
    EXPECT_LE(ErrorAgainstFftw(x, inv.data(), FFTW_BACKWARD), bound) << "inverse, order " << L;
    for (int64_t i = 0; i < n; ++i) {
      ASSERT_EQ(inv[i].re, fc[i].re) << "order " << L << " point " << i;
      ASSERT_EQ(inv[i].im, -fc[i].im) << "order " << L << " point " << i;
    }
  }
}

// Exact results in both directions: an impulse at point 0 gives 1 + 0i at
// every point; all ones give n at point 0 and zero elsewhere.
TEST_P(InPlaceSseTest, ImpulseAndOnesAreExact) {
  const ClassKernel& k = GetParam();
  for (int L : {6, 7, 8, 12, 17}) {
    const int64_t n = int64_t{1} << L;
    const Table table(k, L, 0.0f);
    for (int d = 0; d < 2; ++d) {
      std::vector<C> y(n, C{0, 0});
      y[0] = {1, 0};  // bit reversal leaves the impulse at point 0
      k.inPlace[d](y.data(), static_cast<uint64_t>(n), table.p, nullptr, 1);
      for (int64_t i = 0; i < n; ++i) {
        ASSERT_EQ(y[i].re, 1.0f) << "order " << L << " bin " << i;
        ASSERT_EQ(y[i].im, 0.0f) << "order " << L << " bin " << i;
      }
      std::vector<C> ones(n, C{1, 0});
      k.inPlace[d](ones.data(), static_cast<uint64_t>(n), table.p, nullptr, 1);
      EXPECT_EQ(ones[0].re, static_cast<float>(n));
      EXPECT_EQ(ones[0].im, 0.0f);
      for (int64_t i = 1; i < n; ++i) {
        ASSERT_EQ(ones[i].re, 0.0f) << "order " << L << " bin " << i;
        ASSERT_EQ(ones[i].im, 0.0f) << "order " << L << " bin " << i;
      }
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Classes, InPlaceSseTest, ::testing::ValuesIn(kClasses),
                         [](const ::testing::TestParamInfo<ClassKernel>& info) { return info.param.name; });

// The radix-8 rotations multiply by 0x3F3504F4: the model built on the float
// nearest to 1/sqrt(2) (0x3F3504F3) differs from the kernel at every order with
// a radix-8 pass and agrees with it at order 6, which has none.
TEST(InPlaceSseConstant, RadixEightRotationUsesItsOwnFactor) {
  if (!IsProcessorClassRunnable(2)) GTEST_SKIP() << "class 2 is not supported by this processor";
  for (int L : {6, 7, 8, 12}) {
    const int64_t n = int64_t{1} << L;
    const Table table(kClasses[0], L, 0.0f);
    const std::vector<C> z = RandomPoints(n, 77 + static_cast<uint32_t>(L));
    std::vector<C> y = z;
    FftForwardInPlaceKernelSsse3(y.data(), static_cast<uint64_t>(n), table.p, nullptr, 1);
    const std::vector<C> nearest = Model(-1, z, table.p, 0x3F3504F3u);
    EXPECT_EQ(SameBits(y.data(), nearest.data(), n), L == 6) << "order " << L;
  }
}

}  // namespace
