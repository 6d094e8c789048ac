// The in-place butterfly kernels of class 1 against a scalar model (bit for
// bit), against FFTW in double, and for what they may read and write: the
// first 8(n - 4) bytes of the twiddle table, the work buffer only when the
// data are not 16-byte aligned.
#include <fftw3.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "fft/kernels/butterfly.h"
#include "fft/fft.h"
#include "fft/setup/setup.h"
#include "fft/setup/fft_spec.h"
#include "fft/fft_classes.h"
#include "cpu/dispatch_testing.h"

namespace {

using C = ComplexFloat32;
using InPlaceFn = void (*)(C*, uint64_t, const float*, uint8_t*, int32_t);

const InPlaceFn kKernels[2] = {FftForwardInPlaceKernelSse3, FftInverseInPlaceKernelSse3};

// ---- scalar model -----------------------------------------------------------

struct Pass {
  int radix;
  int64_t span;
};

// Passes after the twiddle-free first one, for n = 2^L.
std::vector<Pass> Plan(int L) {
  std::vector<Pass> plan;
  int done = 2;
  int64_t s = 4;
  while (done < L) {
    const int left = L - done;
    bool eight = left == 3 || (left > 4 && done > 2);
    if (done == 2 && (L == 7 || L == 10 || L == 11 || L == 13 || L == 14)) eight = true;
    plan.push_back({eight ? 8 : 4, s});
    s *= eight ? 8 : 4;
    done += eight ? 3 : 2;
  }
  return plan;
}

// sign -1 forward, +1 inverse; j = sign * i.
C Add(C a, C b) { return {a.re + b.re, a.im + b.im}; }
C Sub(C a, C b) { return {a.re - b.re, a.im - b.im}; }
C TimesJ(int sign, C b) { return sign < 0 ? C{b.im, -b.re} : C{-b.im, b.re}; }
C Twiddle(int sign, C z, float c, float s) {
  if (sign < 0) return {z.re * c - z.im * s, z.im * c + z.re * s};
  return {z.re * c + z.im * s, z.im * c - z.re * s};
}

// The kernel's arithmetic on points in bit-reversed order, one butterfly at a
// time; returns the transform in natural order.
std::vector<C> Model(int sign, std::vector<C> x, const float* table, int L) {
  const int64_t n = int64_t{1} << L;
  for (int64_t k = 0; k < n; k += 4) {
    const C a0 = Add(x[k], x[k + 1]), b0 = Sub(x[k], x[k + 1]);
    const C a1 = Add(x[k + 2], x[k + 3]), b1 = Sub(x[k + 2], x[k + 3]);
    x[k] = Add(a0, a1);
    x[k + 2] = Sub(a0, a1);
    x[k + 1] = Add(b0, TimesJ(sign, b1));
    x[k + 3] = Sub(b0, TimesJ(sign, b1));
  }
  uint32_t c8bits = 0x3F3504F4u;
  float c8 = 0;
  std::memcpy(&c8, &c8bits, 4);
  const float nc8 = -c8;
  const float* run = table;
  for (const Pass& p : Plan(L)) {
    const int r = p.radix;
    const int64_t s = p.span;
    for (int64_t base = 0; base < n; base += r * s) {
      for (int64_t j = 0; j < s; ++j) {
        const float* group = run + (j / 4) * 8 * (r - 1);
        auto tw = [&](C z, int power) {
          return Twiddle(sign, z, group[8 * (power - 1) + j % 4], group[8 * (power - 1) + 4 + j % 4]);
        };
        C* v[8];
        for (int m = 0; m < r; ++m) v[m] = &x[base + m * s + j];
        if (r == 4) {
          const C t1 = tw(*v[1], 2), t2 = tw(*v[2], 1), t3 = tw(*v[3], 3);
          const C a = Add(*v[0], t1), b = Sub(*v[0], t1), e = Add(t2, t3), f = Sub(t2, t3);
          *v[0] = Add(a, e);
          *v[2] = Sub(a, e);
          *v[1] = Add(b, TimesJ(sign, f));
          *v[3] = Sub(b, TimesJ(sign, f));
        } else {
          const int power[8] = {0, 4, 2, 6, 1, 5, 3, 7};
          C t[8];
          t[0] = *v[0];
          for (int m = 1; m < 8; ++m) t[m] = tw(*v[m], power[m]);
          const C a = Add(t[0], t[1]), b = Sub(t[0], t[1]);
          const C s23 = Add(t[2], t[3]), d23 = Sub(t[2], t[3]);
          const C s45 = Add(t[4], t[5]), d45 = Sub(t[4], t[5]);
          const C s67 = Add(t[6], t[7]), d67 = Sub(t[6], t[7]);
          const C e = Add(a, s23), f = Sub(a, s23), g = Add(s45, s67), h = Sub(s45, s67);
          const C e1 = Add(b, TimesJ(sign, d23)), e3 = Sub(b, TimesJ(sign, d23));
          C r1, r3;
          if (sign < 0) {
            const float u1 = (d45.re + d67.im) * c8, w1 = (d45.im - d67.re) * c8;
            const float u3 = (d45.re - d67.im) * nc8, w3 = (d45.im + d67.re) * nc8;
            r1 = {u1 + w1, w1 - u1};
            r3 = {u3 - w3, w3 + u3};
          } else {
            const float u1 = (d45.re - d67.im) * c8, w1 = (d45.im + d67.re) * c8;
            const float u3 = (d45.re + d67.im) * nc8, w3 = (d45.im - d67.re) * nc8;
            r1 = {u1 - w1, w1 + u1};
            r3 = {u3 + w3, w3 - u3};
          }
          *v[0] = Add(e, g);
          *v[4] = Sub(e, g);
          *v[2] = Add(f, TimesJ(sign, h));
          *v[6] = Sub(f, TimesJ(sign, h));
          *v[1] = Add(e1, r1);
          *v[5] = Sub(e1, r1);
          *v[3] = Add(e3, r3);
          *v[7] = Sub(e3, r3);
        }
      }
    }
    run += 2 * (r - 1) * s;
  }
  return x;
}

// ---- fixtures ---------------------------------------------------------------

std::vector<C> RandomPoints(int64_t n, uint32_t seed) {
  std::vector<C> x(n);
  uint64_t st = 0x9E3779B97F4A7C15ull * (seed + 7);
  auto next = [&st]() {
    st = st * 6364136223846793005ull + 1442695040888963407ull;
    return static_cast<float>(static_cast<int32_t>(st >> 32)) / 2147483648.0f;
  };
  for (auto& v : x) v = {next(), next()};
  return x;
}

std::vector<C> BitReversed(const std::vector<C>& x) {
  const int64_t n = static_cast<int64_t>(x.size());
  int L = 0;
  while ((int64_t{1} << L) < n) ++L;
  std::vector<C> y(n);
  for (int64_t k = 0; k < n; ++k) {
    int64_t r = 0;
    for (int b = 0; b < L; ++b) r |= ((k >> b) & 1) << (L - 1 - b);
    y[r] = x[k];
  }
  return y;
}

// n points starting `offset` bytes past a 64-byte boundary.
struct Placed {
  std::vector<uint8_t> raw;
  C* p;
  Placed(int64_t n, int offset) : raw(static_cast<size_t>(n) * 8 + 128) {
    p = reinterpret_cast<C*>(((reinterpret_cast<uintptr_t>(raw.data()) + 63) & ~uintptr_t{63}) + offset);
  }
};

// A 64-byte-aligned work buffer of 8n bytes filled with a pattern.
struct Work {
  std::vector<uint8_t> raw;
  uint8_t* p;
  int64_t bytes;
  explicit Work(int64_t n) : raw(static_cast<size_t>(n) * 8 + 64), bytes(n * 8) {
    p = reinterpret_cast<uint8_t*>((reinterpret_cast<uintptr_t>(raw.data()) + 63) & ~uintptr_t{63});
    for (int64_t i = 0; i < bytes; ++i) p[i] = static_cast<uint8_t>(0xA5 ^ i);
  }
  bool Untouched() const {
    for (int64_t i = 0; i < bytes; ++i) {
      if (p[i] != static_cast<uint8_t>(0xA5 ^ i)) return false;
    }
    return true;
  }
};

// A 64-byte-aligned copy of the class-1 twiddle table of order L (8n bytes),
// taken from a class-1 specification where one exists for that order as a
// butterfly table (orders 12 to 16), else from the set-up's builders.
struct Table {
  std::vector<float> storage;
  float* p;
};

float* Align64(std::vector<float>& v) {
  return reinterpret_cast<float*>((reinterpret_cast<uintptr_t>(v.data()) + 63) & ~uintptr_t{63});
}

Table MakeTable(int L) {
  const int64_t n = int64_t{1} << L;
  Table t;
  t.storage.assign(static_cast<size_t>(2 * n + 64), 0.0f);
  t.p = Align64(t.storage);
  if (L <= 16) {
    int32_t specBytes = 0, initBytes = 0, workBytes = 0;
    EXPECT_EQ(FftGetSizeComplexFloat32Sse3(L, kFftNoScale, 2, &specBytes, &initBytes, &workBytes), 0);
    std::vector<uint8_t> specMem(static_cast<size_t>(specBytes) + 64), init(static_cast<size_t>(initBytes) + 64);
    auto align = [](uint8_t* p) {
      return reinterpret_cast<uint8_t*>((reinterpret_cast<uintptr_t>(p) + 63) & ~uintptr_t{63});
    };
    FftSpecComplexFloat32* spec = nullptr;
    EXPECT_EQ(FftInitComplexFloat32Sse3(&spec, L, kFftNoScale, 2, align(specMem.data()), align(init.data())), 0);
    std::memcpy(t.p, spec->twiddles, static_cast<size_t>(8 * (n - 4)));
  } else {
    std::vector<float> sine(static_cast<size_t>(n / 4 + 64));
    MakeSineTableSse3(L, Align64(sine));
    ExpandRadix4TwiddlesSse3(L, Align64(sine), L, t.p);
  }
  return t;
}

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

// Blocks of 4 points (4 real parts, then 4 imaginary parts), as pairs.
std::vector<C> FromBlocks(const C* data, int64_t n) {
  const float* f = &data->re;
  std::vector<C> out(n);
  for (int64_t k = 0; k < n; ++k) out[k] = {f[8 * (k / 4) + k % 4], f[8 * (k / 4) + 4 + k % 4]};
  return out;
}

double ErrorAgainstFftw(const std::vector<C>& x, const C* y, int sign) {
  const int64_t n = static_cast<int64_t>(x.size());
  fftw_complex* in = fftw_alloc_complex(n);
  fftw_complex* out = fftw_alloc_complex(n);
  fftw_plan plan = fftw_plan_dft_1d(static_cast<int>(n), in, out, sign, FFTW_ESTIMATE);
  for (int64_t i = 0; i < n; ++i) {
    in[i][0] = x[i].re;
    in[i][1] = x[i].im;
  }
  fftw_execute(plan);
  double num = 0, den = 0;
  for (int64_t i = 0; i < n; ++i) {
    num += std::pow(out[i][0] - y[i].re, 2) + std::pow(out[i][1] - y[i].im, 2);
    den += out[i][0] * out[i][0] + out[i][1] * out[i][1];
  }
  fftw_destroy_plan(plan);
  fftw_free(in);
  fftw_free(out);
  return std::sqrt(num / den);
}

class Sse3InPlaceKernelTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!IsProcessorClassRunnable(1)) GTEST_SKIP() << "class 1 is not supported by this processor";
  }
};

// Both directions equal the scalar model bit for bit at every order 12 to 18
// (second pass radix 8 at 13 and 14, radix 4 at 12, 15 to 18; final radix 4 or
// 8), for each layout flag and data alignment. Aligned data leave the work
// buffer untouched; data 8 bytes past a 16-byte boundary go through it.
TEST_F(Sse3InPlaceKernelTest, EqualsScalarModelForEveryFlagAndAlignment) {
  struct Road {
    int offset, flag;
  };
  const Road roads[] = {{0, 1}, {0, 0}, {16, 1}, {8, 1}, {8, 0}, {40, 0}, {24, 1}};
  for (int L = 12; L <= 18; ++L) {
    const int64_t n = int64_t{1} << L;
    const Table table = MakeTable(L);
    const std::vector<C> z = RandomPoints(n, static_cast<uint32_t>(L));
    for (int d = 0; d < 2; ++d) {
      const int sign = d == 0 ? -1 : 1;
      const std::vector<C> want = Model(sign, z, table.p, L);
      for (const Road& r : roads) {
        Placed data(n, r.offset);
        std::memcpy(data.p, z.data(), static_cast<size_t>(n) * 8);
        Work work(n);
        kKernels[d](data.p, static_cast<uint64_t>(n), table.p, work.p, r.flag);
        const std::vector<C> got = r.flag == 1 ? std::vector<C>(data.p, data.p + n) : FromBlocks(data.p, n);
        ASSERT_TRUE(SameBits(got.data(), want.data(), n))
            << "order " << L << " sign " << sign << " offset " << r.offset << " flag " << r.flag << ": "
            << FirstDifference(got.data(), want.data(), n);
        EXPECT_EQ(work.Untouched(), r.offset % 16 == 0) << "order " << L << " offset " << r.offset;
      }
    }
  }
}

// Any flag other than 1 leaves blocks of 4 points; a null work buffer is fine
// for aligned data.
TEST_F(Sse3InPlaceKernelTest, FlagsOtherThanOneLeaveBlocks) {
  const int L = 16;
  const int64_t n = int64_t{1} << L;
  const Table table = MakeTable(L);
  const std::vector<C> z = RandomPoints(n, 31);
  const std::vector<C> want = Model(-1, z, table.p, L);
  for (int flag : {1, 0, 2, -1}) {
    std::vector<C> data = z;
    FftForwardInPlaceKernelSse3(data.data(), static_cast<uint64_t>(n), table.p, nullptr, flag);
    const std::vector<C> got = flag == 1 ? data : FromBlocks(data.data(), n);
    ASSERT_TRUE(SameBits(got.data(), want.data(), n)) << "flag " << flag;
    if (flag != 1) {
      EXPECT_FALSE(SameBits(data.data(), want.data(), n)) << "flag " << flag;
    }
  }
}

// Forward and inverse agree with FFTW in double within 2 * 2^-24 * (1 + L);
// the inverse mirrors the forward (inverse(x) == conj(forward(conj(x))) bit
// for bit); inverse after forward returns n times the input within rounding.
TEST_F(Sse3InPlaceKernelTest, AgreesWithFftwMirrorsAndInverts) {
  for (int L = 12; L <= 18; ++L) {
    const int64_t n = int64_t{1} << L;
    const Table table = MakeTable(L);
    const std::vector<C> x = RandomPoints(n, 100 + static_cast<uint32_t>(L));
    std::vector<C> cx(n);
    for (int64_t i = 0; i < n; ++i) cx[i] = {x[i].re, -x[i].im};
    const double bound = 2.0 * std::ldexp(1.0, -24) * (1 + L);
    std::vector<C> f = BitReversed(x), inv = BitReversed(x), fc = BitReversed(cx);
    FftForwardInPlaceKernelSse3(f.data(), static_cast<uint64_t>(n), table.p, nullptr, 1);
    FftInverseInPlaceKernelSse3(inv.data(), static_cast<uint64_t>(n), table.p, nullptr, 1);
    FftForwardInPlaceKernelSse3(fc.data(), static_cast<uint64_t>(n), table.p, nullptr, 1);
    EXPECT_LE(ErrorAgainstFftw(x, f.data(), FFTW_FORWARD), bound) << "forward, order " << L;
    EXPECT_LE(ErrorAgainstFftw(x, inv.data(), FFTW_BACKWARD), bound) << "inverse, order " << L;
    for (int64_t i = 0; i < n; ++i) {
      ASSERT_EQ(inv[i].re, fc[i].re) << "order " << L << " point " << i;
      ASSERT_EQ(inv[i].im, -fc[i].im) << "order " << L << " point " << i;
    }
    std::vector<C> back = BitReversed(f);
    FftInverseInPlaceKernelSse3(back.data(), static_cast<uint64_t>(n), table.p, nullptr, 1);
    double num = 0, den = 0;
    for (int64_t i = 0; i < n; ++i) {
      const double er = back[i].re - static_cast<double>(n) * x[i].re;
      const double ei = back[i].im - static_cast<double>(n) * x[i].im;
      num += er * er + ei * ei;
      den += std::pow(static_cast<double>(n) * x[i].re, 2) + std::pow(static_cast<double>(n) * x[i].im, 2);
    }
    EXPECT_LE(std::sqrt(num / den), 2 * bound) << "round trip, order " << L;
  }
}

// An impulse at point 0 gives exactly 1 in every bin, in both directions and
// layouts; point 1 of the natural order gives exp(-+2 pi i k/n).
TEST_F(Sse3InPlaceKernelTest, ImpulsesGiveExactOnesAndTheTwiddleRamp) {
  for (int L : {13, 14, 15, 16}) {
    const int64_t n = int64_t{1} << L;
    const Table table = MakeTable(L);
    for (int d = 0; d < 2; ++d) {
      for (int flag : {1, 0}) {
        std::vector<C> x(n, C{0, 0});
        x[0] = {1, 0};
        kKernels[d](x.data(), static_cast<uint64_t>(n), table.p, nullptr, flag);
        const std::vector<C> got = flag == 1 ? x : FromBlocks(x.data(), n);
        for (int64_t k = 0; k < n; ++k) {
          ASSERT_EQ(got[k].re, 1.0f) << "order " << L << " bin " << k;
          ASSERT_EQ(got[k].im, 0.0f) << "order " << L << " bin " << k;
        }
      }
      std::vector<C> y(n, C{0, 0});
      y[n / 2] = {1, 0};
      kKernels[d](y.data(), static_cast<uint64_t>(n), table.p, nullptr, 1);
      const double sign = d == 0 ? -1.0 : 1.0;
      for (int64_t k = 0; k < n; ++k) {
        const double a = sign * 2 * M_PI * static_cast<double>(k) / static_cast<double>(n);
        ASSERT_NEAR(y[k].re, std::cos(a), 4e-7) << "order " << L << " bin " << k;
        ASSERT_NEAR(y[k].im, std::sin(a), 4e-7) << "order " << L << " bin " << k;
      }
    }
  }
}

// The kernels read the first 8(n - 4) bytes of the twiddle table and nothing
// behind them; a table built for another order gives a different result.
TEST_F(Sse3InPlaceKernelTest, ReadsExactlyItsOwnTable) {
  for (int L : {13, 14, 15, 16}) {
    const int64_t n = int64_t{1} << L;
    const Table clean = MakeTable(L);
    Table poisoned = MakeTable(L);
    for (int64_t i = 2 * n - 8; i < 2 * n + 16; ++i) poisoned.p[i] = NAN;
    const Table other = MakeTable(L + 1);
    const std::vector<C> z = RandomPoints(n, 200 + static_cast<uint32_t>(L));
    for (int d = 0; d < 2; ++d) {
      std::vector<C> a = z, b = z, c = z;
      kKernels[d](a.data(), static_cast<uint64_t>(n), clean.p, nullptr, 0);
      kKernels[d](b.data(), static_cast<uint64_t>(n), poisoned.p, nullptr, 0);
      kKernels[d](c.data(), static_cast<uint64_t>(n), other.p, nullptr, 0);
      EXPECT_TRUE(SameBits(a.data(), b.data(), n)) << "order " << L << " direction " << d;
      EXPECT_FALSE(SameBits(a.data(), c.data(), n)) << "order " << L << " direction " << d;
    }
  }
}

}  // namespace
