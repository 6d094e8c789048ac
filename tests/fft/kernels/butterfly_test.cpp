// The 256-bit butterfly kernels of classes 5, 6 and 7 against their scalar
// model (bit for bit), against FFTW in double, and for what they may read and
// write: exactly the twiddle table and swap-list entries they need, the work
// buffer only when the destination cannot serve as the working array.
#include <fftw3.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <ostream>
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

using MediumFn = void (*)(const C*, C*, uint64_t, const float*, const int32_t*, uint8_t*);
using InPlaceFn = void (*)(C*, uint64_t, const float*, uint8_t*, int32_t);

struct ClassKernels {
  int cls;
  const char* name;
  MediumFn medium[2];    // forward, inverse
  InPlaceFn inPlace[2];  // forward, inverse
};

void PrintTo(const ClassKernels& k, std::ostream* os) { *os << k.name; }

const ClassKernels kClasses[] = {
    {5, "Avx2", {FftForwardMediumKernelAvx2, FftInverseMediumKernelAvx2},
     {FftForwardInPlaceKernelAvx2, FftInverseInPlaceKernelAvx2}},
    {6, "Avx512ManyCoreForwardsToAvx2", {FftForwardMediumKernelAvx512ManyCore, FftInverseMediumKernelAvx512ManyCore},
     {FftForwardInPlaceKernelAvx512ManyCore, FftInverseInPlaceKernelAvx512ManyCore}},
    {7, "Avx512", {FftForwardMediumKernelAvx512, FftInverseMediumKernelAvx512},
     {FftForwardInPlaceKernelAvx512, FftInverseInPlaceKernelAvx512}},
};

std::vector<C> RandomPoints(int64_t n, uint32_t seed) {
  std::vector<C> x(n);
  uint64_t st = 0x9E3779B97F4A7C15ull * (seed + 3);
  auto next = [&st]() {
    st = st * 6364136223846793005ull + 1442695040888963407ull;
    return static_cast<float>(static_cast<int32_t>(st >> 32)) / 2147483648.0f;
  };
  for (auto& v : x) v = {next(), next()};
  return x;
}

// n points starting `offset` bytes past a 64-byte boundary.
struct Placed {
  std::vector<uint8_t> raw;
  C* p;
  Placed(int64_t n, int offset) : raw(static_cast<size_t>(n) * 8 + 128) {
    p = reinterpret_cast<C*>(((reinterpret_cast<uintptr_t>(raw.data()) + 63) & ~uintptr_t{63}) + offset);
  }
};

// A 64-byte-aligned work buffer of 8n bytes, filled with a pattern.
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

// Copies of the twiddle table (8n bytes reserved, 64-byte aligned) and the
// swap list (n/4 + 1 entries) of a class-5 specification of order L, which the
// tests may poison.
struct Tables {
  std::vector<float> storage;
  float* twiddles;
  std::vector<int32_t> swapList;
};

Tables MakeTables(int L) {
  const int64_t n = int64_t{1} << L;
  if (L == 6) {
    // No specification holds order 6 (the small-order kernels serve it): the
    // set-up's builders make the tables the medium kernel would read.
    Tables t;
    t.storage.assign(static_cast<size_t>(2 * n + 64), 0.0f);
    t.twiddles = reinterpret_cast<float*>((reinterpret_cast<uintptr_t>(t.storage.data()) + 63) & ~uintptr_t{63});
    ExpandRadix4TwiddlesAvx2(L, kFftQuarterSineOrder10, 10, t.twiddles);
    std::vector<int32_t> list(static_cast<size_t>(n / 4 + 1 + 64));
    int32_t* aligned = reinterpret_cast<int32_t*>((reinterpret_cast<uintptr_t>(list.data()) + 63) & ~uintptr_t{63});
    MakeBitReverseListAvx2(L, aligned);
    t.swapList.assign(aligned, aligned + n / 4 + 1);
    return t;
  }
  int32_t specBytes = 0, initBytes = 0, workBytes = 0;
  EXPECT_EQ(FftGetSizeComplexFloat32Avx2(L, kFftNoScale, 2, &specBytes, &initBytes, &workBytes), 0);
  std::vector<uint8_t> specMem(static_cast<size_t>(specBytes) + 64), init(static_cast<size_t>(initBytes) + 64);
  auto align = [](uint8_t* p) {
    return reinterpret_cast<uint8_t*>((reinterpret_cast<uintptr_t>(p) + 63) & ~uintptr_t{63});
  };
  FftSpecComplexFloat32* spec = nullptr;
  EXPECT_EQ(FftInitComplexFloat32Avx2(&spec, L, kFftNoScale, 2, align(specMem.data()), align(init.data())), 0);
  Tables t;
  t.storage.assign(static_cast<size_t>(2 * n + 64), 0.0f);
  t.twiddles = reinterpret_cast<float*>(align(reinterpret_cast<uint8_t*>(t.storage.data())));
  std::memcpy(t.twiddles, spec->twiddles, static_cast<size_t>(8 * n - 32));
  const int32_t* list = static_cast<const int32_t*>(spec->swapList);
  t.swapList.assign(list, list + n / 4 + 1);
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

// The 8-point split blocks of the in-place kernel with flag 0, as pairs.
std::vector<C> FromBlocks(const C* data, int64_t n) {
  const float* f = &data->re;
  std::vector<C> out(n);
  for (int64_t k = 0; k < n; ++k) out[k] = {f[16 * (k / 8) + k % 8], f[16 * (k / 8) + 8 + k % 8]};
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

double Bound(int order) { return 2.0 * std::ldexp(1.0, -24) * (1 + order); }

class ButterflyTest : public ::testing::TestWithParam<ClassKernels> {
 protected:
  void SetUp() override {
    if (!IsProcessorClassRunnable(GetParam().cls)) {
      GTEST_SKIP() << "processor class " << GetParam().name << " is not supported by this processor";
    }
  }
};

// The medium kernel, with the tables of a class-5 specification, equals the
// scalar model bit for bit at every order that its callers use (every pass plan: radix-8 final passes, unblocked and
// blocked, even and odd orders), in both directions, on each road: separate
// aligned destination (no work buffer), in place, destination misaligned by 8
// or 16 bytes, source misaligned. The aligned separate road leaves a given
// work buffer untouched.
TEST_P(ButterflyTest, MediumKernelEqualsScalarModel) {
  const ClassKernels& k = GetParam();
  for (int L = 6; L <= 18; ++L) {
    const int64_t n = int64_t{1} << L;
    const Tables tables = MakeTables(L);
    const std::vector<C> x = RandomPoints(n, static_cast<uint32_t>(L));
    const std::vector<C> z = bm::BitReversed(x);
    for (int d = 0; d < 2; ++d) {
      const int sign = d == 0 ? -1 : 1;
      const std::vector<C> want = bm::FromBitReversed(sign, z, tables.twiddles);
      struct Road {
        int srcOffset, dstOffset;
        bool inPlace, nullWork;
      };
      const Road roads[] = {{0, 0, false, true}, {8, 32, false, false}, {0, 8, false, false},
                            {24, 16, false, false}, {0, 0, true, false}, {8, 8, true, false}};
      for (const Road& r : roads) {
        Placed src(n, r.srcOffset), dst(n, r.dstOffset);
        std::memcpy(src.p, x.data(), static_cast<size_t>(n) * 8);
        Work work(n);
        C* out = r.inPlace ? src.p : dst.p;
        k.medium[d](src.p, out, static_cast<uint64_t>(n), tables.twiddles, tables.swapList.data(),
                    r.nullWork ? nullptr : work.p);
        ASSERT_TRUE(SameBits(out, want.data(), n))
            << "order " << L << " sign " << sign << " offsets " << r.srcOffset << "/" << r.dstOffset << " in place "
            << r.inPlace << ": " << FirstDifference(out, want.data(), n);
        if (!r.inPlace) {
          EXPECT_TRUE(SameBits(src.p, x.data(), n)) << "source changed, order " << L;
          if (r.dstOffset % 32 == 0) {
            EXPECT_TRUE(work.Untouched()) << "order " << L;
          }
        }
      }
    }
  }
}

// The in-place kernel equals the model bit for bit for n = 2^12 ... 2^18, with
// flag 1 (pairs) and flag 0 (8-point blocks) holding the same values, aligned
// (work buffer null) and misaligned by 8 bytes (through the work buffer).
TEST_P(ButterflyTest, InPlaceKernelEqualsScalarModelUnderBothFlags) {
  const ClassKernels& k = GetParam();
  for (int L = 12; L <= 18; ++L) {
    const int64_t n = int64_t{1} << L;
    const Tables tables = MakeTables(L);
    const std::vector<C> z = RandomPoints(n, 100 + static_cast<uint32_t>(L));
    for (int d = 0; d < 2; ++d) {
      const int sign = d == 0 ? -1 : 1;
      const std::vector<C> want = bm::FromBitReversed(sign, z, tables.twiddles);
      for (int offset : {0, 8, 40}) {
        for (int flag : {1, 0}) {
          Placed data(n, offset);
          std::memcpy(data.p, z.data(), static_cast<size_t>(n) * 8);
          Work work(n);
          k.inPlace[d](data.p, static_cast<uint64_t>(n), tables.twiddles, offset % 32 == 0 ? nullptr : work.p, flag);
          const std::vector<C> got = flag == 1 ? std::vector<C>(data.p, data.p + n) : FromBlocks(data.p, n);
          ASSERT_TRUE(SameBits(got.data(), want.data(), n))
              << "order " << L << " sign " << sign << " offset " << offset << " flag " << flag << ": "
              << FirstDifference(got.data(), want.data(), n);
        }
      }
    }
  }
}

// Forward and inverse against FFTW in double; the inverse mirrors the forward
// (inverse(x) == conj(forward(conj(x)))).
TEST_P(ButterflyTest, AgreesWithFftwAndMirrors) {
  const ClassKernels& k = GetParam();
  for (int L = 6; L <= 18; ++L) {
    const int64_t n = int64_t{1} << L;
    const Tables tables = MakeTables(L);
    const std::vector<C> x = RandomPoints(n, 200 + static_cast<uint32_t>(L));
    std::vector<C> cx(n), f(n), inv(n);
    for (int64_t i = 0; i < n; ++i) cx[i] = {x[i].re, -x[i].im};
    Work work(n);
    k.medium[0](x.data(), f.data(), static_cast<uint64_t>(n), tables.twiddles, tables.swapList.data(), work.p);
    EXPECT_LE(ErrorAgainstFftw(x, f.data(), FFTW_FORWARD), Bound(L)) << "forward, order " << L;
    k.medium[1](x.data(), inv.data(), static_cast<uint64_t>(n), tables.twiddles, tables.swapList.data(), work.p);
    EXPECT_LE(ErrorAgainstFftw(x, inv.data(), FFTW_BACKWARD), Bound(L)) << "inverse, order " << L;
    k.medium[0](cx.data(), f.data(), static_cast<uint64_t>(n), tables.twiddles, tables.swapList.data(), work.p);
    for (int64_t i = 0; i < n; ++i) {
      ASSERT_EQ(inv[i].re, f[i].re) << "order " << L << " point " << i;
      ASSERT_EQ(inv[i].im, -f[i].im) << "order " << L << " point " << i;
    }
  }
}

// The kernels read exactly the first 8n - 32 bytes of the twiddle table and
// the swap-list entries 16, 32, ..., n/4: poisoning everything else (the table
// tail, the list's other entries and what follows it) changes nothing.
TEST_P(ButterflyTest, ReadsOnlyTheTableAndListEntriesItNeeds) {
  const ClassKernels& k = GetParam();
  for (int L : {7, 10, 11, 12, 13, 16}) {
    const int64_t n = int64_t{1} << L;
    const Tables clean = MakeTables(L);
    Tables poisoned = MakeTables(L);
    // 32 bytes of table tail and 64 more bytes behind it.
    for (int i = 0; i < 24; ++i) poisoned.twiddles[2 * n - 8 + i] = NAN;
    std::vector<int32_t> list(poisoned.swapList.size() + 64, 0x7FFFFFF0);
    for (size_t i = 16; i < poisoned.swapList.size(); i += 16) list[i] = poisoned.swapList[i];
    list[0] = 0x7FFFFFF0;
    const std::vector<C> x = RandomPoints(n, 300 + static_cast<uint32_t>(L));
    for (int d = 0; d < 2; ++d) {
      std::vector<C> a(n), b(n);
      Work work(n);
      k.medium[d](x.data(), a.data(), static_cast<uint64_t>(n), clean.twiddles, clean.swapList.data(), work.p);
      k.medium[d](x.data(), b.data(), static_cast<uint64_t>(n), poisoned.twiddles, list.data(), work.p);
      ASSERT_TRUE(SameBits(a.data(), b.data(), n)) << "medium, order " << L << " direction " << d;
      if (L >= 12) {
        const std::vector<C> z = RandomPoints(n, 400 + static_cast<uint32_t>(L));
        std::vector<C> c = z, e = z;
        k.inPlace[d](c.data(), static_cast<uint64_t>(n), clean.twiddles, work.p, 1);
        k.inPlace[d](e.data(), static_cast<uint64_t>(n), poisoned.twiddles, work.p, 1);
        ASSERT_TRUE(SameBits(c.data(), e.data(), n)) << "in place, order " << L << " direction " << d;
      }
    }
  }
}

// Exact results: an impulse at point 0 gives 1 everywhere; a constant v gives
// n*v at point 0 and 0 elsewhere.
TEST_P(ButterflyTest, ImpulseAndConstantAreExact) {
  const ClassKernels& k = GetParam();
  for (int L : {7, 10, 13, 18}) {
    const int64_t n = int64_t{1} << L;
    const Tables t = MakeTables(L);
    std::vector<C> x(n, C{0, 0}), y(n);
    x[0] = {1, 0};
    Work work(n);
    for (int d = 0; d < 2; ++d) {
      k.medium[d](x.data(), y.data(), static_cast<uint64_t>(n), t.twiddles, t.swapList.data(), work.p);
      for (int64_t i = 0; i < n; ++i) {
        ASSERT_EQ(y[i].re, 1.0f) << "order " << L << " bin " << i;
        ASSERT_EQ(y[i].im, 0.0f) << "order " << L << " bin " << i;
      }
    }
    std::vector<C> v(n, C{0.5f, -0.25f});
    k.medium[0](v.data(), y.data(), static_cast<uint64_t>(n), t.twiddles, t.swapList.data(), work.p);
    EXPECT_EQ(y[0].re, 0.5f * static_cast<float>(n));
    EXPECT_EQ(y[0].im, -0.25f * static_cast<float>(n));
    for (int64_t i = 1; i < n; ++i) {
      ASSERT_EQ(y[i].re, 0.0f) << "order " << L << " bin " << i;
      ASSERT_EQ(y[i].im, 0.0f) << "order " << L << " bin " << i;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Classes, ButterflyTest, ::testing::ValuesIn(kClasses),
                         [](const ::testing::TestParamInfo<ClassKernels>& info) { return info.param.name; });

// The radix-8 rotations multiply by 0x3F3504F4: a model built on 0x3F3504F3
// (the float nearest to 1/sqrt(2)) differs from the kernel at every order with
// a radix-8 pass and agrees with it at orders without one.
TEST(ButterflyConstant, RadixEightRotationUsesItsOwnFactor) {
  if (!IsProcessorClassRunnable(5)) GTEST_SKIP() << "class 5 is not supported by this processor";
  for (int L : {8, 9, 10, 12, 13}) {
    const int64_t n = int64_t{1} << L;
    bool hasRadix8 = false;
    for (const bm::Pass& p : bm::Plan(L)) hasRadix8 = hasRadix8 || p.radix == 8;
    const Tables t = MakeTables(L);
    const std::vector<C> x = RandomPoints(n, 500 + static_cast<uint32_t>(L));
    std::vector<C> y(n);
    Work work(n);
    FftForwardMediumKernelAvx2(x.data(), y.data(), static_cast<uint64_t>(n), t.twiddles, t.swapList.data(), work.p);
    const std::vector<C> nearest = bm::FromBitReversed(-1, bm::BitReversed(x), t.twiddles, 0x3F3504F3u);
    EXPECT_EQ(SameBits(y.data(), nearest.data(), n), !hasRadix8) << "order " << L;
  }
}

}  // namespace
