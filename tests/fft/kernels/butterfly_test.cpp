// The butterfly kernels of classes 1 to 7, one table of classes: the in-place
// kernels (data in bit-reversed order) of every class and the medium kernels
// (bit reversal fused into the first pass) of classes 1 to 7, each against
// the scalar model of its class bit for bit, through the verifier against
// FFTW in double, for its exact results, and for what it may read and write:
// the twiddle table up to float 2n - 8 (and the swap-list entries it needs),
// the data, and the work buffer only when the data cannot serve as the
// working array.
//
// The kernels of class 6 are the class-5 code under the class-6 names; their
// cases are named as forwarders (Avx512ManyCoreForwardsToAvx2).
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "fft/kernels/butterfly.h"
#include "fft/fft.h"
#include "fft/fft_classes.h"
#include "fft/setup/permute.h"
#include "fft/setup/many_core_plan.h"
#include "fft/setup/setup.h"
#include "fft/setup/fft_spec.h"
#include "support/bits.h"
#include "support/class_fixture.h"
#include "support/fft_reference.h"
#include "tests/fft/kernels/butterfly_model.h"
#include "tests/fft/kernels/butterfly_sse_model.h"
#include "tests/fft/stage_rule.h"

namespace {

using C = ComplexFloat32;
using lv_test::SameBits;

using InPlaceFn = void (*)(C* data, uint64_t n, const float* twiddles, uint8_t* work, int32_t lastFlag);
using MediumFn = void (*)(const C* src, C* dst, uint64_t n, const float* twiddles, const int32_t* swapList,
                          uint8_t* work);
// The model of a class: the transform of the bit-reversed points z in natural
// order, with the factor of the radix-8 rotations given by its bits.
using ModelFn = std::vector<C> (*)(int sign, const std::vector<C>& z, const float* twiddles, uint32_t rotationBits);
using SineFn = void* (*)(int32_t order, float* table);
using ExpandFn = void* (*)(int32_t n, const float* sine, int32_t b, float* out);
using ListFn = void* (*)(int32_t n, int32_t* out);

constexpr uint32_t kRotationBits = 0x3F3504F4u;         // the kernels' factor of 45 degrees
constexpr uint32_t kNearestRotationBits = 0x3F3504F3u;  // the float nearest to 1/sqrt(2)

struct KernelClass {
  InPlaceFn inPlace[2];  // forward, inverse
  MediumFn medium[2];    // forward, inverse
  SineFn sine;           // the class's table builders
  ExpandFn expand;
  ListFn list;
  ModelFn model;
  int blockPoints;            // points per block of the layout a last flag other than 1 leaves
  int alignment;              // data at other byte offsets run through the work buffer
  int firstOrder, lastOrder;  // of the in-place kernel
  int forwardsTo;             // the class whose code the kernels are; -1: their own
  int listStep;               // the medium kernel reads swap-list entries listStep, 2 listStep, ...
  int mediumLast;             // the medium kernel's largest order (its first is 6)
};

std::vector<C> Class1Model(int sign, const std::vector<C>& z, const float* t, uint32_t bits) {
  return butterfly_sse_model::class1::Model(sign, z, t, bits);
}
std::vector<C> Class23Model(int sign, const std::vector<C>& z, const float* t, uint32_t bits) {
  return butterfly_sse_model::class23::Model(sign, z, t, bits);
}
std::vector<C> SeparateProductModel(int sign, const std::vector<C>& z, const float* t, uint32_t bits) {
  return butterfly_model::FromBitReversed(sign, z, t, bits, false);
}
std::vector<C> FusedProductModel(int sign, const std::vector<C>& z, const float* t, uint32_t bits) {
  return butterfly_model::FromBitReversed(sign, z, t, bits, true);
}

#define LV_IN_PLACE(Sfx) {FftForwardInPlaceKernel##Sfx, FftInverseInPlaceKernel##Sfx}
#define LV_MEDIUM(Sfx) {FftForwardMediumKernel##Sfx, FftInverseMediumKernel##Sfx}
#define LV_BUILDERS(Sfx) MakeSineTable##Sfx, ExpandRadix4Twiddles##Sfx, MakeBitReverseList##Sfx

// Indexed by the class (entry 0 unused).
const KernelClass& Kernels(int cls) {
  static const KernelClass kClasses[8] = {
      {},
      {LV_IN_PLACE(Sse3), LV_MEDIUM(Sse3), LV_BUILDERS(Sse3), Class1Model, 4, 16, 12, 18, -1, 4, 15},
      {LV_IN_PLACE(Ssse3), LV_MEDIUM(Ssse3), LV_BUILDERS(Ssse3), Class23Model, 4, 16, 6, 17, -1, 4, 17},
      {LV_IN_PLACE(Sse42), LV_MEDIUM(Sse42), LV_BUILDERS(Sse42), Class23Model, 4, 16, 6, 17, -1, 4, 17},
      {LV_IN_PLACE(Avx), LV_MEDIUM(Avx), LV_BUILDERS(Avx), SeparateProductModel, 8, 32, 12, 18, -1, 16, 18},
      {LV_IN_PLACE(Avx2), LV_MEDIUM(Avx2), LV_BUILDERS(Avx2), FusedProductModel, 8, 32, 12, 18, -1, 16, 18},
      {LV_IN_PLACE(Avx512ManyCore), LV_MEDIUM(Avx512ManyCore), LV_BUILDERS(Avx512ManyCore), FusedProductModel, 8, 32,
       12, 18, 5, 16, 18},
      {LV_IN_PLACE(Avx512), LV_MEDIUM(Avx512), LV_BUILDERS(Avx512), FusedProductModel, 8, 32, 12, 18, -1, 16, 18},
  };
  return kClasses[cls];
}

#undef LV_IN_PLACE
#undef LV_MEDIUM
#undef LV_BUILDERS

// Case names: the class suffix, or for a forwarder "Avx512ManyCoreForwardsToAvx2".
std::string KernelCaseName(const ::testing::TestParamInfo<int>& info) {
  const int to = Kernels(info.param).forwardsTo;
  return std::string(ProcessorClassSuffix(info.param)) +
         (to >= 0 ? std::string("ForwardsTo") + ProcessorClassSuffix(to) : "");
}

template <typename T>
T* Align64(T* p) {
  return reinterpret_cast<T*>((reinterpret_cast<uintptr_t>(p) + 63) & ~uintptr_t{63});
}

// The class's twiddle table of order L built by its own builders (from the
// fixed sine table up to order 10, from the generated one of the order above),
// in 8n reserved bytes at a 64-byte boundary; floats from 2n - 8 on (the 32
// bytes the kernels must not read and 64 more) hold `tail`.
struct Table {
  std::vector<float> storage;
  float* p;
  Table(const KernelClass& k, int L, float tail) {
    const int64_t n = int64_t{1} << L;
    storage.assign(static_cast<size_t>(2 * n + 64), 0.0f);
    p = Align64(storage.data());
    if (L <= 10) {
      k.expand(L, kFftQuarterSineOrder10, 10, p);
    } else {
      std::vector<float> sine(static_cast<size_t>(n / 4 + 64));
      k.sine(L, Align64(sine.data()));
      k.expand(L, Align64(sine.data()), L, p);
    }
    for (int64_t i = 2 * n - 8; i < 2 * n + 16; ++i) p[i] = tail;
  }
};

// The complete-format swap list of order L (n/4 + 1 entries).
std::vector<int32_t> SwapList(const KernelClass& k, int L) {
  const int64_t entries = (int64_t{1} << L) / 4 + 1;
  std::vector<int32_t> raw(static_cast<size_t>(entries + 32));
  int32_t* start = Align64(raw.data());
  k.list(L, start);
  return std::vector<int32_t>(start, start + entries);
}

// Blocks of `block` points (block real parts, then block imaginary parts), as pairs.
std::vector<C> FromBlocks(const C* data, int64_t n, int block) {
  const float* f = &data->re;
  std::vector<C> out(static_cast<size_t>(n));
  for (int64_t b = 0; b < n; b += block, f += 2 * block) {
    for (int i = 0; i < block; ++i) out[b + i] = {f[i], f[block + i]};
  }
  return out;
}

// The in-place kernel as a transform of natural-order points (bit reversal
// first, last flag 1), for the verifier.
lv_test::FftSubject InPlaceSubject(const KernelClass& k, const Table& table, int L, int d) {
  lv_test::FftSubject s;
  s.order = L;
  s.sign = d == 0 ? lv_test::kFftForward : lv_test::kFftInverse;
  s.run = [&k, &table, L, d](const C* src, C* dst) {
    const int64_t n = int64_t{1} << L;
    std::vector<C> z = lv_test::BitReversed(std::vector<C>(src, src + n));
    lv_test::PatternedWork work(8 * n);
    k.inPlace[d](z.data(), static_cast<uint64_t>(n), table.p, work.data(), 1);
    std::memcpy(dst, z.data(), static_cast<size_t>(n) * 8);
  };
  return s;
}

// ---- in-place kernels, classes 1 to 7 ------------------------------------------

class InPlaceKernelTest : public lv_test::PerClassTest {
 protected:
  const KernelClass& K() const { return Kernels(Cls()); }
};

INSTANTIATE_TEST_SUITE_P(Classes, InPlaceKernelTest, ::testing::Range(1, kProcessorClassCount), KernelCaseName);

// Every order of the kernel, both directions, equals the model bit for bit on
// every road: data at the class's alignment with a null work buffer (any use
// of it would fault), and data 4, 8, 16, 24 or 40 bytes past a 64-byte
// boundary through a work buffer of exactly 8n bytes, which it then uses. Last
// flag 1 leaves pairs; 0, 2 and -1 the same values in blocks (which differ
// from pairs). Nothing around the data or past the work buffer is written, and
// the table is read only up to float 2n - 8 (the rest holds NaN).
TEST_P(InPlaceKernelTest, EqualsScalarModelOnEveryRoad) {
  int checked = 0;
  for (int L = K().firstOrder; L <= K().lastOrder; ++L) {
    const int64_t n = int64_t{1} << L;
    const Table table(K(), L, NAN);
    const std::vector<C> z = lv_test::RandomSignal(n, static_cast<uint32_t>(L));
    for (int d = 0; d < 2; ++d) {
      const int sign = d == 0 ? -1 : 1;
      const std::vector<C> want = K().model(sign, z, table.p, kRotationBits);
      for (size_t offset : {size_t{0}, size_t{4}, size_t{8}, size_t{16}, size_t{24}, size_t{40}}) {
        for (int32_t flag : {1, 0, 2, -1}) {
          const bool aligned = offset % static_cast<size_t>(K().alignment) == 0;
          lv_test::PlacedPoints data(n, offset);
          lv_test::PatternedWork work(8 * n);
          K().inPlace[d](data.Fill(z), static_cast<uint64_t>(n), table.p, aligned ? nullptr : work.data(), flag);
          const size_t points = static_cast<size_t>(n);
          if (flag == 1) {
            ASSERT_TRUE(SameBits(data.data(), want.data(), points))
                << "order " << L << " sign " << sign << " offset " << offset << " flag " << flag;
          } else {
            ASSERT_TRUE(SameBits(FromBlocks(data.data(), n, K().blockPoints), want))
                << "order " << L << " sign " << sign << " offset " << offset << " flag " << flag;
            EXPECT_FALSE(SameBits(data.data(), want.data(), points)) << "blocks, order " << L << " flag " << flag;
          }
          EXPECT_TRUE(data.CanariesIntact()) << "order " << L << " offset " << offset;
          EXPECT_TRUE(work.GuardIntact()) << "order " << L << " offset " << offset;
          EXPECT_EQ(work.Untouched(), aligned) << "order " << L << " offset " << offset;
          ++checked;
        }
      }
    }
  }
  EXPECT_GT(checked, 0);
}

// Every order through the verifier against FFTW in double (accuracy,
// linearity, impulse response, time shift), the inverse as the exact mirror
// of the forward (inverse(x) == conj(forward(conj(x)))), and the forward
// result, bit-reversed and run through the inverse, n times the input.
TEST_P(InPlaceKernelTest, VerifierPropertiesMirrorAndRoundTrip) {
  for (int L = K().firstOrder; L <= K().lastOrder; ++L) {
    const int64_t n = int64_t{1} << L;
    const Table table(K(), L, 0.0f);
    lv_test::PatternedWork work(8 * n);
    for (int d = 0; d < 2; ++d) {
      EXPECT_TRUE(lv_test::VerifyFft(InPlaceSubject(K(), table, L, d), 100 + static_cast<uint32_t>(L)));
    }
    const std::vector<C> x = lv_test::RandomSignal(n, 200 + static_cast<uint32_t>(L));
    std::vector<C> f = lv_test::BitReversed(x), inv = f, fc = lv_test::BitReversed(lv_test::Conjugated(x));
    K().inPlace[0](f.data(), static_cast<uint64_t>(n), table.p, work.data(), 1);
    K().inPlace[1](inv.data(), static_cast<uint64_t>(n), table.p, work.data(), 1);
    K().inPlace[0](fc.data(), static_cast<uint64_t>(n), table.p, work.data(), 1);
    EXPECT_TRUE(lv_test::IsMirror(inv, fc)) << "order " << L;
    std::vector<C> back = lv_test::BitReversed(f);
    K().inPlace[1](back.data(), static_cast<uint64_t>(n), table.p, work.data(), 1);
    EXPECT_TRUE(lv_test::ReturnsScaledInput(back, x, static_cast<double>(n), 2 * lv_test::FftErrorBound(L)))
        << "order " << L;
  }
}

// Exact results in both directions: an impulse at point 0 gives 1 + 0i at
// every point under both layouts; all ones give n at point 0 and zero
// elsewhere; point 1 of the natural order (n/2 bit-reversed) gives
// e^(-+2 pi i k/n) within 4e-7 in every bin.
TEST_P(InPlaceKernelTest, ImpulsesAndOnesGiveExactResults) {
  for (int L = K().firstOrder; L <= K().lastOrder; ++L) {
    const int64_t n = int64_t{1} << L;
    const Table table(K(), L, 0.0f);
    lv_test::PatternedWork work(8 * n);
    for (int d = 0; d < 2; ++d) {
      for (int flag : {1, 0}) {
        std::vector<C> x(n, C{0, 0});
        x[0] = {1, 0};  // bit reversal leaves the impulse at point 0
        K().inPlace[d](x.data(), static_cast<uint64_t>(n), table.p, work.data(), flag);
        const std::vector<C> got = flag == 1 ? x : FromBlocks(x.data(), n, K().blockPoints);
        for (int64_t k = 0; k < n; ++k) {
          ASSERT_TRUE(got[k].re == 1.0f && got[k].im == 0.0f) << "order " << L << " flag " << flag << " bin " << k;
        }
      }
      std::vector<C> ones(n, C{1, 0});
      K().inPlace[d](ones.data(), static_cast<uint64_t>(n), table.p, work.data(), 1);
      EXPECT_EQ(ones[0].re, static_cast<float>(n));
      EXPECT_EQ(ones[0].im, 0.0f);
      for (int64_t i = 1; i < n; ++i) {
        ASSERT_TRUE(ones[i].re == 0.0f && ones[i].im == 0.0f) << "order " << L << " bin " << i;
      }
      std::vector<C> y(n, C{0, 0});
      y[n / 2] = {1, 0};
      K().inPlace[d](y.data(), static_cast<uint64_t>(n), table.p, work.data(), 1);
      const double sign = d == 0 ? -1.0 : 1.0;
      for (int64_t k = 0; k < n; ++k) {
        const double a = sign * 2 * M_PI * static_cast<double>(k) / static_cast<double>(n);
        ASSERT_NEAR(y[k].re, std::cos(a), 4e-7) << "order " << L << " bin " << k;
        ASSERT_NEAR(y[k].im, std::sin(a), 4e-7) << "order " << L << " bin " << k;
      }
    }
  }
}

// The kernel reads its table up to float 2n - 8 and nothing behind: a table
// whose tail holds NaN gives the bits of a clean one; a table built for
// another order gives a different result.
TEST_P(InPlaceKernelTest, ReadsExactlyItsOwnTable) {
  for (int L = K().firstOrder; L <= K().lastOrder; ++L) {
    const int64_t n = int64_t{1} << L;
    const Table clean(K(), L, 0.0f), poisoned(K(), L, NAN), other(K(), L + 1, 0.0f);
    const std::vector<C> z = lv_test::RandomSignal(n, 300 + static_cast<uint32_t>(L));
    lv_test::PatternedWork work(8 * n);
    for (int d = 0; d < 2; ++d) {
      std::vector<C> a = z, b = z, c = z;
      K().inPlace[d](a.data(), static_cast<uint64_t>(n), clean.p, work.data(), 0);
      K().inPlace[d](b.data(), static_cast<uint64_t>(n), poisoned.p, work.data(), 0);
      K().inPlace[d](c.data(), static_cast<uint64_t>(n), other.p, work.data(), 0);
      EXPECT_TRUE(SameBits(a, b)) << "order " << L << " direction " << d;
      EXPECT_FALSE(SameBits(a, c)) << "order " << L << " direction " << d;
    }
  }
}

// The radix-8 rotations multiply by 0x3F3504F4: the model built on the float
// nearest to 1/sqrt(2) (0x3F3504F3) differs from the kernel at every order
// with a radix-8 stage and agrees with it at the orders without one.
TEST_P(InPlaceKernelTest, RadixEightRotationUsesItsOwnFactor) {
  const int ruleClass = Cls();
  for (int L = K().firstOrder; L <= K().lastOrder; ++L) {
    const int64_t n = int64_t{1} << L;
    const Table table(K(), L, 0.0f);
    const std::vector<C> z = lv_test::RandomSignal(n, 77 + static_cast<uint32_t>(L));
    lv_test::PatternedWork work(8 * n);
    std::vector<C> y = z;
    K().inPlace[0](y.data(), static_cast<uint64_t>(n), table.p, work.data(), 1);
    const std::vector<C> nearest = K().model(-1, z, table.p, kNearestRotationBits);
    EXPECT_EQ(static_cast<bool>(SameBits(y, nearest)), !fft_stage_rule::HasRadix8Stage(ruleClass, L)) << "order " << L;
  }
}

// ---- the 256-bit classes: products rounded as the class says ---------------------

class ProductRoundingTest : public InPlaceKernelTest {};

INSTANTIATE_TEST_SUITE_P(Classes, ProductRoundingTest, ::testing::Range(4, kProcessorClassCount), KernelCaseName);

// Class 4 rounds every twiddle product before it is added, classes 5 to 7
// fuse it: the model with the other choice differs from the kernel (orders
// with and without a radix-8 stage).
TEST_P(ProductRoundingTest, TheOtherRoundingDiffers) {
  const ModelFn other = Cls() == 4 ? FusedProductModel : SeparateProductModel;
  for (int L : {12, 13}) {
    const int64_t n = int64_t{1} << L;
    const Table table(K(), L, 0.0f);
    const std::vector<C> z = lv_test::RandomSignal(n, 50 + static_cast<uint32_t>(L));
    lv_test::PatternedWork work(8 * n);
    std::vector<C> y(z);
    K().inPlace[0](y.data(), static_cast<uint64_t>(n), table.p, work.data(), 1);
    EXPECT_FALSE(SameBits(y, other(-1, z, table.p, kRotationBits))) << "order " << L;
  }
}

// ---- medium kernels, classes 1 to 7 -----------------------------------------------

class MediumKernelTest : public InPlaceKernelTest {};

INSTANTIATE_TEST_SUITE_P(Classes, MediumKernelTest, ::testing::Range(1, kProcessorClassCount), KernelCaseName);

lv_test::FftSubject MediumSubject(const KernelClass& k, const Table& table, const std::vector<int32_t>& list, int L,
                                  int d) {
  lv_test::FftSubject s;
  s.order = L;
  s.sign = d == 0 ? lv_test::kFftForward : lv_test::kFftInverse;
  s.run = [&k, &table, &list, L, d](const C* src, C* dst) {
    lv_test::PatternedWork work(8 * (int64_t{1} << L));
    k.medium[d](src, dst, uint64_t{1} << L, table.p, list.data(), work.data());
  };
  return s;
}

// The medium kernel equals the scalar model bit for bit at every order its
// callers use (every pass plan: radix-8 final passes, unblocked and blocked,
// even and odd orders), in both directions, on each road: separate aligned
// destination (no work buffer), in place, destination misaligned by 8 or 16
// bytes, source misaligned. The source of a separate destination is
// unchanged; the aligned separate road leaves a given work buffer untouched.
TEST_P(MediumKernelTest, EqualsScalarModel) {
  struct Road {
    size_t srcOffset, dstOffset;
    bool inPlace, nullWork;
  };
  const Road roads[] = {{0, 0, false, true},    {8, 32, false, false}, {0, 8, false, false},
                        {24, 16, false, false}, {0, 0, true, false},   {8, 8, true, false}};
  for (int L = 6; L <= K().mediumLast; ++L) {
    const int64_t n = int64_t{1} << L;
    const Table table(K(), L, NAN);
    const std::vector<int32_t> list = SwapList(K(), L);
    const std::vector<C> x = lv_test::RandomSignal(n, static_cast<uint32_t>(L));
    const std::vector<C> z = lv_test::BitReversed(x);
    for (int d = 0; d < 2; ++d) {
      const int sign = d == 0 ? -1 : 1;
      const std::vector<C> want = K().model(sign, z, table.p, kRotationBits);
      for (const Road& r : roads) {
        lv_test::PlacedPoints src(n, r.srcOffset), dst(n, r.dstOffset);
        lv_test::PatternedWork work(8 * n);
        C* out = r.inPlace ? src.data() : dst.data();
        K().medium[d](src.Fill(x), out, static_cast<uint64_t>(n), table.p, list.data(),
                      r.nullWork ? nullptr : work.data());
        ASSERT_TRUE(SameBits(out, want.data(), static_cast<size_t>(n)))
            << "order " << L << " sign " << sign << " offsets " << r.srcOffset << "/" << r.dstOffset << " in place "
            << r.inPlace;
        EXPECT_TRUE(src.CanariesIntact() && dst.CanariesIntact() && work.GuardIntact()) << "order " << L;
        if (!r.inPlace) {
          EXPECT_TRUE(SameBits(src.data(), x.data(), static_cast<size_t>(n))) << "source changed, order " << L;
          if (r.dstOffset % static_cast<size_t>(K().alignment) == 0) {
            EXPECT_TRUE(work.Untouched()) << "order " << L;
          }
        }
      }
    }
  }
}

// Every order through the verifier against FFTW in double (accuracy,
// linearity, impulse response, time shift, source untouched, in place equal
// to out of place); the inverse mirrors the forward exactly.
TEST_P(MediumKernelTest, VerifierPropertiesAndMirror) {
  for (int L = 6; L <= K().mediumLast; ++L) {
    const int64_t n = int64_t{1} << L;
    const Table table(K(), L, 0.0f);
    const std::vector<int32_t> list = SwapList(K(), L);
    for (int d = 0; d < 2; ++d) {
      EXPECT_TRUE(lv_test::VerifyFft(MediumSubject(K(), table, list, L, d), 200 + static_cast<uint32_t>(L)));
    }
    const std::vector<C> x = lv_test::RandomSignal(n, 400 + static_cast<uint32_t>(L));
    const std::vector<C> cx = lv_test::Conjugated(x);
    std::vector<C> inv(n), fc(n);
    lv_test::PatternedWork work(8 * n);
    K().medium[1](x.data(), inv.data(), static_cast<uint64_t>(n), table.p, list.data(), work.data());
    K().medium[0](cx.data(), fc.data(), static_cast<uint64_t>(n), table.p, list.data(), work.data());
    EXPECT_TRUE(lv_test::IsMirror(inv, fc)) << "order " << L;
  }
}

// The kernel reads exactly the first 8n - 32 bytes of the twiddle table and
// the swap-list entries of its step up to n/4 (16, 32, ... on the 256-bit
// classes, 4, 8, ... on classes 1 to 3): poisoning everything else (the
// table tail, the list's other entries and what follows it) changes nothing.
TEST_P(MediumKernelTest, ReadsOnlyTheTableAndListEntriesItNeeds) {
  for (int L : {7, 10, 11, 12, 13, 16}) {
    const int64_t n = int64_t{1} << L;
    const Table clean(K(), L, 0.0f), poisoned(K(), L, NAN);
    const std::vector<int32_t> cleanList = SwapList(K(), L);
    std::vector<int32_t> list(cleanList.size() + 64, 0x7FFFFFF0);
    const size_t step = static_cast<size_t>(K().listStep);
    for (size_t i = step; i < cleanList.size(); i += step) list[i] = cleanList[i];
    const std::vector<C> x = lv_test::RandomSignal(n, 300 + static_cast<uint32_t>(L));
    for (int d = 0; d < 2; ++d) {
      std::vector<C> a(n), b(n);
      lv_test::PatternedWork work(8 * n);
      K().medium[d](x.data(), a.data(), static_cast<uint64_t>(n), clean.p, cleanList.data(), work.data());
      K().medium[d](x.data(), b.data(), static_cast<uint64_t>(n), poisoned.p, list.data(), work.data());
      ASSERT_TRUE(SameBits(a, b)) << "order " << L << " direction " << d;
    }
  }
}

// Exact results: a constant v gives n v at point 0 and 0 elsewhere; the
// radix-8 rotations use the kernel's own factor.
TEST_P(MediumKernelTest, ConstantIsExactAndRotationUsesItsOwnFactor) {
  for (int L = 6; L <= K().mediumLast; ++L) {
    const int64_t n = int64_t{1} << L;
    const Table table(K(), L, 0.0f);
    const std::vector<int32_t> list = SwapList(K(), L);
    lv_test::PatternedWork work(8 * n);
    std::vector<C> v(n, C{0.5f, -0.25f}), y(n);
    K().medium[0](v.data(), y.data(), static_cast<uint64_t>(n), table.p, list.data(), work.data());
    EXPECT_EQ(y[0].re, 0.5f * static_cast<float>(n));
    EXPECT_EQ(y[0].im, -0.25f * static_cast<float>(n));
    for (int64_t i = 1; i < n; ++i) {
      ASSERT_TRUE(y[i].re == 0.0f && y[i].im == 0.0f) << "order " << L << " bin " << i;
    }
    const std::vector<C> x = lv_test::RandomSignal(n, 500 + static_cast<uint32_t>(L));
    K().medium[0](x.data(), y.data(), static_cast<uint64_t>(n), table.p, list.data(), work.data());
    const std::vector<C> nearest = K().model(-1, lv_test::BitReversed(x), table.p, kNearestRotationBits);
    EXPECT_EQ(static_cast<bool>(SameBits(y, nearest)), !fft_stage_rule::HasRadix8Stage(Cls(), L)) << "order " << L;
  }
}

}  // namespace
