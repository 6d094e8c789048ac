// The in-place butterfly kernels of class 4 (no fused multiply-add) against
// the scalar model with separately rounded twiddle products (bit for bit), and
// against FFTW in double, on the tables of a class-4 specification.
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
#include "tests/fft/kernels/butterfly_model.h"

namespace {

using C = ComplexFloat32;
namespace bm = butterfly_model;

using InPlaceFn = void (*)(C*, uint64_t, const float*, uint8_t*, int32_t);
constexpr InPlaceFn kKernels[2] = {FftForwardInPlaceKernelAvx, FftInverseInPlaceKernelAvx};

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

uint8_t* Align64(void* p) {
  return reinterpret_cast<uint8_t*>((reinterpret_cast<uintptr_t>(p) + 63) & ~uintptr_t{63});
}

// n points starting `offset` bytes past a 64-byte boundary.
struct Placed {
  std::vector<uint8_t> raw;
  C* p;
  Placed(int64_t n, int offset) : raw(static_cast<size_t>(n) * 8 + 128) {
    p = reinterpret_cast<C*>(Align64(raw.data()) + offset);
  }
};

// The twiddle table of a class-4 specification of order L, copied into 8n
// bytes at a 64-byte boundary; `tail` fills the 32 bytes the kernels must not
// read and 64 bytes behind them.
struct Table {
  std::vector<float> storage;
  float* twiddles = nullptr;
  Table(int L, float tail) {
    const int64_t n = int64_t{1} << L;
    int32_t specBytes = 0, initBytes = 0, workBytes = 0;
    EXPECT_EQ(FftGetSizeComplexFloat32Avx(L, kFftNoScale, 2, &specBytes, &initBytes, &workBytes), 0);
    std::vector<uint8_t> specMem(static_cast<size_t>(specBytes) + 64), init(static_cast<size_t>(initBytes) + 64);
    FftSpecComplexFloat32* spec = nullptr;
    EXPECT_EQ(FftInitComplexFloat32Avx(&spec, L, kFftNoScale, 2, Align64(specMem.data()), Align64(init.data())), 0);
    storage.assign(static_cast<size_t>(2 * n + 64), 0.0f);
    twiddles = reinterpret_cast<float*>(Align64(storage.data()));
    if (spec == nullptr) return;
    std::memcpy(twiddles, spec->twiddles, static_cast<size_t>(8 * n - 32));
    for (int i = 0; i < 24; ++i) twiddles[2 * n - 8 + i] = tail;
  }
};

// A 64-byte-aligned work buffer of 8n bytes, for data of any alignment.
struct Work {
  std::vector<uint8_t> raw;
  uint8_t* p;
  explicit Work(int64_t n) : raw(static_cast<size_t>(n) * 8 + 64) { p = Align64(raw.data()); }
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

// The 8-point split blocks (8 real parts, then 8 imaginary parts) as pairs.
std::vector<C> FromBlocks(const C* data, int64_t n) {
  const float* f = &data->re;
  std::vector<C> out(n);
  for (int64_t k = 0; k < n; ++k) out[k] = {f[16 * (k / 8) + k % 8], f[16 * (k / 8) + 8 + k % 8]};
  return out;
}

double ErrorAgainstFftw(const std::vector<C>& x, const std::vector<C>& y, int sign) {
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

class InPlaceAvxTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!IsProcessorClassRunnable(4)) GTEST_SKIP() << "class 4 is not supported by this processor";
  }
};

// n = 2^12 ... 2^18, both directions, equal to the model bit for bit: the
// last-pass flag 1 gives pairs, 0 and any other value 8-point split blocks of
// the same values; data 32-byte aligned (no work buffer: null) or 8, 16 or 40
// bytes past it (through a work buffer of exactly 8n bytes). The table's 32
// unused tail bytes hold NaN, which would show if they were read.
TEST_F(InPlaceAvxTest, EqualsSeparateProductModelUnderEveryFlagAndAlignment) {
  for (int L = 12; L <= 18; ++L) {
    const int64_t n = int64_t{1} << L;
    const Table table(L, NAN);
    const std::vector<C> z = RandomPoints(n, static_cast<uint32_t>(L));
    for (int d = 0; d < 2; ++d) {
      const int sign = d == 0 ? -1 : 1;
      const std::vector<C> want = bm::FromBitReversed(sign, z, table.twiddles, bm::kRotationBits, false);
      for (int offset : {0, 8, 16, 40}) {
        for (int32_t flag : {1, 0, -3}) {
          Placed data(n, offset);
          std::memcpy(data.p, z.data(), static_cast<size_t>(n) * 8);
          std::vector<uint8_t> workRaw(static_cast<size_t>(8 * n + 64));
          uint8_t* work = offset % 32 == 0 ? nullptr : Align64(workRaw.data());
          kKernels[d](data.p, static_cast<uint64_t>(n), table.twiddles, work, flag);
          const std::vector<C> got = flag == 1 ? std::vector<C>(data.p, data.p + n) : FromBlocks(data.p, n);
          ASSERT_TRUE(SameBits(got.data(), want.data(), n))
              << "order " << L << " sign " << sign << " offset " << offset << " flag " << flag << ": "
              << FirstDifference(got.data(), want.data(), n);
        }
      }
    }
  }
}

// The model with fused products differs from the kernel: the products really
// are rounded one by one (orders with and without the radix-8 pass).
TEST_F(InPlaceAvxTest, DiffersFromTheFusedProductModel) {
  for (int L : {12, 13}) {
    const int64_t n = int64_t{1} << L;
    const Table table(L, 0.0f);
    const std::vector<C> z = RandomPoints(n, 50 + static_cast<uint32_t>(L));
    std::vector<C> y(z);
    Work work(n);
    FftForwardInPlaceKernelAvx(y.data(), static_cast<uint64_t>(n), table.twiddles, work.p, 1);
    const std::vector<C> fused = bm::FromBitReversed(-1, z, table.twiddles);
    EXPECT_FALSE(SameBits(y.data(), fused.data(), n)) << "order " << L;
  }
}

// Forward and inverse of the bit-reversed x against FFTW in double within
// 2 * 2^-24 * (1 + L); the inverse mirrors the forward bit for bit
// (inverse(x) == conj(forward(conj(x)))).
TEST_F(InPlaceAvxTest, AgreesWithFftwAndMirrors) {
  for (int L = 12; L <= 18; ++L) {
    const int64_t n = int64_t{1} << L;
    const Table table(L, 0.0f);
    const std::vector<C> x = RandomPoints(n, 100 + static_cast<uint32_t>(L));
    std::vector<C> cx(n);
    for (int64_t i = 0; i < n; ++i) cx[i] = {x[i].re, -x[i].im};
    std::vector<C> f = bm::BitReversed(x), inv = f, fc = bm::BitReversed(cx);
    Work work(n);
    FftForwardInPlaceKernelAvx(f.data(), static_cast<uint64_t>(n), table.twiddles, work.p, 1);
    FftInverseInPlaceKernelAvx(inv.data(), static_cast<uint64_t>(n), table.twiddles, work.p, 1);
    FftForwardInPlaceKernelAvx(fc.data(), static_cast<uint64_t>(n), table.twiddles, work.p, 1);
    const double bound = 2.0 * std::ldexp(1.0, -24) * (1 + L);
    EXPECT_LE(ErrorAgainstFftw(x, f, FFTW_FORWARD), bound) << "forward, order " << L;
    EXPECT_LE(ErrorAgainstFftw(x, inv, FFTW_BACKWARD), bound) << "inverse, order " << L;
    for (int64_t i = 0; i < n; ++i) {
      ASSERT_EQ(inv[i].re, fc[i].re) << "order " << L << " point " << i;
      ASSERT_EQ(inv[i].im, -fc[i].im) << "order " << L << " point " << i;
    }
  }
}

// An impulse gives exactly 1 in every bin in both directions; the forward
// result, bit-reversed and run through the inverse, returns n times the input.
TEST_F(InPlaceAvxTest, ImpulseIsExactAndRoundTripReturnsTheInput) {
  for (int L : {12, 15}) {
    const int64_t n = int64_t{1} << L;
    const Table table(L, 0.0f);
    Work work(n);
    for (int d = 0; d < 2; ++d) {
      std::vector<C> y(n, C{0, 0});
      y[0] = {1, 0};
      kKernels[d](y.data(), static_cast<uint64_t>(n), table.twiddles, work.p, 1);
      for (int64_t i = 0; i < n; ++i) {
        ASSERT_EQ(y[i].re, 1.0f) << "order " << L << " bin " << i;
        ASSERT_EQ(y[i].im, 0.0f) << "order " << L << " bin " << i;
      }
    }
    std::vector<C> x(n);
    for (int64_t i = 0; i < n; ++i) x[i] = {static_cast<float>(i % 7) - 3.0f, static_cast<float>(i % 5) - 2.0f};
    std::vector<C> y = bm::BitReversed(x);
    FftForwardInPlaceKernelAvx(y.data(), static_cast<uint64_t>(n), table.twiddles, work.p, 1);
    y = bm::BitReversed(y);
    FftInverseInPlaceKernelAvx(y.data(), static_cast<uint64_t>(n), table.twiddles, work.p, 1);
    double worst = 0;
    for (int64_t i = 0; i < n; ++i) {
      worst = std::fmax(worst, std::fabs(y[i].re / static_cast<double>(n) - x[i].re));
      worst = std::fmax(worst, std::fabs(y[i].im / static_cast<double>(n) - x[i].im));
    }
    EXPECT_LE(worst, 1e-4) << "order " << L;
  }
}

}  // namespace
