// Building blocks of the portable FFT (class 0): the radix-4 stage engine
// against a scalar model of its stage list and twiddle cells, the small-order
// kernels, and the transforms' use of the caller's buffers and their statuses.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

#include "fft/fft.h"
#include "fft/fft_classes.h"
#include "fft/setup/fft_spec.h"
#include "fft/kernels/butterfly.h"
#include "fft/kernels/small_kernels.h"
#include "fft/setup/permute.h"
#include "fft/setup/many_core_plan.h"
#include "fft/setup/setup.h"
#include "support/bits.h"
#include "support/fft_reference.h"
#include "support/guarded_buffer.h"

namespace {

using Cx = ComplexFloat32;
using lv_test::RandomSignal;
using lv_test::SameBits;

uint32_t Bits(float v) {
  uint32_t b;
  std::memcpy(&b, &v, 4);
  return b;
}

std::vector<float> Triples(int order) {
  std::vector<float> t(6 * ((1 << order) / 4 + 1) + 16);
  ExpandRadix4TwiddlesSse2(order, kFftQuarterSineOrder10, 10, t.data());
  return t;
}

// ---------------------------------------------------------------------------
// Scalar model of the forward radix-4 stages, written out stage by stage:
// radix 4 of span 1; odd orders radix 2 of span 4, even orders radix 4 of span
// 4 with the short forms of its twiddle cells; then general spans.

Cx Product(Cx x, Cx w) { return {x.re * w.re - x.im * w.im, x.re * w.im + x.im * w.re}; }

void ModelButterfly(std::vector<Cx>& x, int64_t p0, int64_t q, Cx b, Cx c, Cx d) {
  const Cx a = x[p0];
  const Cx ab = {a.re + b.re, a.im + b.im};
  const Cx cd = {c.re + d.re, c.im + d.im};
  const Cx amb = {a.re - b.re, a.im - b.im};
  const Cx cmd = {c.re - d.re, c.im - d.im};
  x[p0] = {ab.re + cd.re, ab.im + cd.im};
  x[p0 + 2 * q] = {ab.re - cd.re, ab.im - cd.im};
  x[p0 + q] = {amb.re + cmd.im, amb.im - cmd.re};
  x[p0 + 3 * q] = {amb.re - cmd.im, amb.im + cmd.re};
}

void ModelForwardStages(std::vector<Cx>& x, const float* tw, int order) {
  const int64_t n = int64_t{1} << order;
  auto triple = [tw](int64_t t, int k) { return Cx{tw[6 * t + 2 * (k - 1)], tw[6 * t + 2 * k - 1]}; };
  for (int64_t g = 0; g < n; g += 4) ModelButterfly(x, g, 1, x[g + 1], x[g + 2], x[g + 3]);
  int64_t q;
  if (order % 2 == 1) {
    if (n >= 8) {
      const float c = tw[6 * (n / 8)];
      const float s = tw[6 * (n / 8) + 1];
      for (int64_t g = 0; g < n; g += 8) {
        for (int k = 0; k < 4; ++k) {
          const Cx v = x[g + k + 4];
          const Cx u = k == 0   ? v
                       : k == 1 ? Cx{c * (v.re + v.im), c * (v.im - v.re)}
                       : k == 2 ? Cx{v.im, -v.re}
                                : Cx{s * (v.re - v.im), s * (v.re + v.im)};
          const Cx a = x[g + k];
          x[g + k] = {a.re + u.re, a.im + u.im};
          x[g + k + 4] = {a.re - u.re, a.im - u.im};
        }
      }
    }
    q = 8;
  } else {
    if (n >= 16) {
      const int64_t t = n / 16;
      const Cx w1 = triple(t, 1), w2 = triple(t, 2), w3 = triple(t, 3);
      const float c = w2.re, s = w2.im;
      auto cForm = [c](Cx v) { return Cx{c * (v.re + v.im), c * (v.im - v.re)}; };
      auto sForm = [s](Cx v) { return Cx{s * (v.re - v.im), s * (v.re + v.im)}; };
      for (int64_t g = 0; g < n; g += 16) {
        ModelButterfly(x, g, 4, x[g + 4], x[g + 8], x[g + 12]);
        ModelButterfly(x, g + 1, 4, cForm(x[g + 5]), Product(x[g + 9], w1), Product(x[g + 13], w3));
        ModelButterfly(x, g + 2, 4, Cx{x[g + 6].im, -x[g + 6].re}, cForm(x[g + 10]), sForm(x[g + 14]));
        const Cx v = x[g + 15];
        ModelButterfly(x, g + 3, 4, sForm(x[g + 7]), Product(x[g + 11], w3),
                       Cx{w3.im * v.re - w3.re * v.im, w3.im * v.im + w3.re * v.re});
      }
    }
    q = 16;
  }
  for (; 4 * q <= n; q *= 4) {
    for (int64_t g = 0; g < n; g += 4 * q) {
      ModelButterfly(x, g, q, x[g + q], x[g + 2 * q], x[g + 3 * q]);
      for (int64_t k = 1; k < q; ++k) {
        const int64_t t = k * n / (4 * q);
        ModelButterfly(x, g + k, q, Product(x[g + k + q], triple(t, 2)), Product(x[g + k + 2 * q], triple(t, 1)),
                       Product(x[g + k + 3 * q], triple(t, 3)));
      }
    }
  }
}

// Odd and even orders, each with its own stage list and twiddle cells, agree
// bit for bit with the model; the inverse engine is the exact mirror.
TEST(FftRadix4Stages, StageListsAndTwiddleCellsMatchTheModel) {
  for (int order = 2; order <= 10; ++order) {
    const int64_t n = int64_t{1} << order;
    const std::vector<float> tw = Triples(order);
    const std::vector<Cx> x = RandomSignal(n, 40 + order);
    std::vector<Cx> ours(x), model(x);
    FftForwardRadix4StagesSse2(ours.data(), static_cast<int32_t>(n), tw.data());
    ModelForwardStages(model, tw.data(), order);
    ASSERT_TRUE(SameBits(ours, model)) << "order " << order;

    std::vector<Cx> inv(x), mirror = lv_test::Conjugated(x);
    FftForwardRadix4StagesSse2(mirror.data(), static_cast<int32_t>(n), tw.data());
    FftInverseRadix4StagesSse2(inv.data(), static_cast<int32_t>(n), tw.data());
    ASSERT_TRUE(lv_test::IsMirror(inv, mirror)) << "order " << order;
  }
}

// The stages after a bit reversal are the whole transform: the verifier's
// properties against FFTW in double, both directions, every order.
TEST(FftRadix4Stages, VerifierPropertiesOfEveryOrder) {
  for (int order = 2; order <= 10; ++order) {
    const std::vector<float> tw = Triples(order);
    for (int sign : {lv_test::kFftForward, lv_test::kFftInverse}) {
      lv_test::FftSubject s;
      s.order = order;
      s.sign = sign;
      s.run = [&tw, order, sign](const Cx* src, Cx* dst) {
        const int64_t n = int64_t{1} << order;
        std::vector<Cx> z = lv_test::BitReversed(std::vector<Cx>(src, src + n));
        (sign < 0 ? FftForwardRadix4StagesSse2 : FftInverseRadix4StagesSse2)(z.data(), static_cast<int32_t>(n),
                                                                            tw.data());
        std::copy(z.begin(), z.end(), dst);
      };
      EXPECT_TRUE(lv_test::VerifyFft(s, 500 + order));
    }
  }
}

// A constant gives n at element 0 and +0.0 in every other float; the
// bit-reversed impulse x[1] (at position n/2) gives e^(-+2 pi i k/n).
TEST(FftRadix4Stages, ConstantAndImpulse) {
  for (int order = 2; order <= 10; ++order) {
    const int64_t n = int64_t{1} << order;
    const std::vector<float> tw = Triples(order);
    for (bool inverse : {false, true}) {
      std::vector<Cx> x(n, {1.0f, 0.0f});
      (inverse ? FftInverseRadix4StagesSse2 : FftForwardRadix4StagesSse2)(x.data(), static_cast<int32_t>(n), tw.data());
      EXPECT_EQ(x[0].re, static_cast<float>(n));
      EXPECT_EQ(Bits(x[0].im), 0u);
      for (int64_t k = 1; k < n; ++k) {
        ASSERT_EQ(Bits(x[k].re), 0u) << order << " " << k;
        ASSERT_EQ(Bits(x[k].im), 0u) << order << " " << k;
      }
      std::vector<Cx> y(n, {0.0f, 0.0f});
      y[n / 2] = {1.0f, 0.0f};
      (inverse ? FftInverseRadix4StagesSse2 : FftForwardRadix4StagesSse2)(y.data(), static_cast<int32_t>(n), tw.data());
      const double sign = inverse ? 1.0 : -1.0;
      for (int64_t k = 0; k < n; ++k) {
        const double a = 2.0 * M_PI * static_cast<double>(k) / static_cast<double>(n);
        ASSERT_NEAR(y[k].re, std::cos(a), 1e-6) << order << " " << k;
        ASSERT_NEAR(y[k].im, sign * std::sin(a), 1e-6) << order << " " << k;
      }
    }
  }
}

// ---------------------------------------------------------------------------
// Small-order kernels.

struct KernelSet {
  const FftNormalisedKernel* normalised;
  const FftPlainKernel* plain;
  double sign;  // of the exponent
};
const KernelSet kForward{kFftForwardNormalisedKernelsSse2, kFftForwardPlainKernelsSse2, -1.0};
const KernelSet kInverse{kFftInverseNormalisedKernelsSse2, kFftInversePlainKernelsSse2, 1.0};

// An impulse at x[1] gives the nearest floats of cos and -+sin up to order 4.
TEST(FftSmallKernels, ImpulseGivesTheRoundedTwiddles) {
  for (const KernelSet& set : {kForward, kInverse}) {
    for (int order = 1; order <= 4; ++order) {
      const int n = 1 << order;
      std::vector<Cx> x(n, {0.0f, 0.0f}), y(n);
      x[1] = {1.0f, 0.0f};
      set.plain[order](x.data(), y.data(), nullptr);
      for (int k = 0; k < n; ++k) {
        const double a = 2.0 * M_PI * k / n;
        // Exact 0 on the axes, otherwise the nearest float of the value.
        auto nearest = [](double v) { return std::fabs(v) < 1e-12 ? 0.0f : static_cast<float>(v); };
        EXPECT_EQ(y[k].re, nearest(std::cos(a))) << order << " " << k;
        EXPECT_EQ(y[k].im, nearest(set.sign * std::sin(a))) << order << " " << k;
      }
    }
  }
}

// A constant 1 gives N at X[0] and +0.0 in every other float; the
// normalising kernel with scale 1 gives the same.
TEST(FftSmallKernels, ConstantIsExact) {
  for (const KernelSet& set : {kForward, kInverse}) {
    for (int order = 0; order <= 5; ++order) {
      const int n = 1 << order;
      std::vector<Cx> x(n, {1.0f, 0.0f}), y(n), z(n);
      set.plain[order](x.data(), y.data(), nullptr);
      set.normalised[order](x.data(), z.data(), 1.0f);
      EXPECT_EQ(y[0].re, static_cast<float>(n)) << order;
      EXPECT_TRUE(SameBits(y, z)) << order;
      for (int k = 0; k < n; ++k) {
        if (k > 0) {
          EXPECT_EQ(Bits(y[k].re), 0u) << order << " " << k;
        }
        EXPECT_EQ(Bits(y[k].im), 0u) << order << " " << k;
      }
    }
  }
}

// Scale 1 gives the plain kernel's bits; in place and at float alignment the
// same bits as out of place; the forward and inverse kernels mirror each other.
TEST(FftSmallKernels, VariantsAgreeBitForBit) {
  for (int order = 0; order <= 5; ++order) {
    const int n = 1 << order;
    const std::vector<Cx> x = RandomSignal(n, 70 + order);
    for (const KernelSet& set : {kForward, kInverse}) {
      std::vector<Cx> plain(n), norm(n);
      set.plain[order](x.data(), plain.data(), nullptr);
      set.normalised[order](x.data(), norm.data(), 1.0f);
      EXPECT_TRUE(SameBits(plain, norm)) << order;
      std::vector<Cx> inPlace(x);
      set.plain[order](inPlace.data(), inPlace.data(), nullptr);
      EXPECT_TRUE(SameBits(plain, inPlace)) << order;
      std::vector<Cx> scaled(n), scaledInPlace(x);
      set.normalised[order](x.data(), scaled.data(), 0.25f);
      set.normalised[order](scaledInPlace.data(), scaledInPlace.data(), 0.25f);
      EXPECT_TRUE(SameBits(scaled, scaledInPlace)) << order;
      // Arrays 4 bytes off an 8-byte boundary.
      std::vector<float> raw(2 * n + 3);
      std::memcpy(raw.data() + 1, x.data(), 8 * n);
      Cx* odd = reinterpret_cast<Cx*>(raw.data() + 1);
      set.plain[order](odd, odd, nullptr);
      EXPECT_TRUE(SameBits(odd, plain.data(), n)) << order;
    }
    const std::vector<Cx> cx = lv_test::Conjugated(x);
    std::vector<Cx> fwd(n), inv(n);
    kFftForwardPlainKernelsSse2[order](cx.data(), fwd.data(), nullptr);
    kFftInversePlainKernelsSse2[order](x.data(), inv.data(), nullptr);
    EXPECT_TRUE(lv_test::IsMirror(inv, fwd)) << order;
  }
  // The plain one-point kernel copies the bits, NaN payload included.
  uint32_t words[2] = {0x7FC01234u, 0x80000000u};
  Cx in, out;
  std::memcpy(&in, words, 8);
  FftOrder0KernelSse2(&in, &out, nullptr);
  EXPECT_TRUE(SameBits(&in, &out, 1));
  FftOrder0NormalisedKernelSse2(&in, &out, 0.5f);
  EXPECT_TRUE(std::isnan(out.re));
  EXPECT_EQ(Bits(out.im), Bits(-0.0f));
}

// Every kernel, plain and normalising with 1/N, through the verifier's
// properties against FFTW in double.
TEST(FftSmallKernels, VerifierPropertiesOfEveryOrder) {
  for (const KernelSet& set : {kForward, kInverse}) {
    for (int order = 0; order <= 5; ++order) {
      const float inv = std::ldexp(1.0f, -order);
      lv_test::FftSubject plain{order, static_cast<int>(set.sign), 1.0, [&set, order](const Cx* src, Cx* dst) {
                                  set.plain[order](src, dst, nullptr);
                                }};
      lv_test::FftSubject normalised{
          order, static_cast<int>(set.sign), inv,
          [&set, order, inv](const Cx* src, Cx* dst) { set.normalised[order](src, dst, inv); }};
      EXPECT_TRUE(lv_test::VerifyFft(plain, 600 + order));
      EXPECT_TRUE(lv_test::VerifyFft(normalised, 700 + order));
    }
  }
}

// The normalising kernels scale the first additions x[n] +- x[n+N/2] before
// the rest: two large values in the same first-level sum's partner positions
// (x[0] and x[N/4]) stay finite with a scale of 1/2 where the plain kernel
// overflows.
TEST(FftSmallKernels, NormalisingScalesTheFirstLevel) {
  for (const KernelSet& set : {kForward, kInverse}) {
    for (int order = 2; order <= 5; ++order) {
      const int n = 1 << order;
      std::vector<Cx> x(n, {0.0f, 0.0f}), plain(n), norm(n);
      x[0] = {3.0e38f, 0.0f};
      x[n / 4] = {3.0e38f, 0.0f};
      set.plain[order](x.data(), plain.data(), nullptr);
      set.normalised[order](x.data(), norm.data(), 0.5f);
      EXPECT_TRUE(std::isinf(plain[0].re)) << order;
      EXPECT_EQ(norm[0].re, 3.0e38f) << order;
    }
  }
}

// ---------------------------------------------------------------------------
// Buffers and statuses of the transforms.

// A work buffer of exactly the reported size ending at a guard page, starting
// off a 64-byte boundary, and a destination at float alignment between
// canaries: the transforms stay inside both and give the bits of a plain run.
TEST(FftTransformBuffers, WorkAndDestinationStayInBounds) {
  for (int order : {0, 5, 6, 10, 11, 12, 13, 17, 19, 21, 23}) {
    const int64_t n = int64_t{1} << order;
    int32_t s, i, w;
    ASSERT_EQ(FftGetSizeComplexFloat32Sse2(order, 4, 2, &s, &i, &w), 0);
    std::vector<uint8_t> specMemory(s), init(i);
    FftSpecComplexFloat32* spec = nullptr;
    ASSERT_EQ(FftInitComplexFloat32Sse2(&spec, order, 4, 2, specMemory.data(), i ? init.data() : nullptr), 0);
    const std::vector<Cx> x = RandomSignal(n, 900 + order);
    std::vector<Cx> wantForward(n), wantInverse(n);
    std::vector<uint8_t> roomy(w + 128);
    ASSERT_EQ(FftForwardComplexFloat32Sse2(x.data(), wantForward.data(), spec, w ? roomy.data() : nullptr), 0);
    ASSERT_EQ(FftInverseComplexFloat32Sse2(x.data(), wantInverse.data(), spec, w ? roomy.data() : nullptr), 0);
    if (order <= 12) {
      EXPECT_EQ(w, 0) << order;
    }
    lv_test::GuardedBuffer work(w > 0 ? w : 1, 8);
    for (bool inverse : {false, true}) {
      lv_test::CanaryBuffer dst(8 * n, 4);
      Cx* out = reinterpret_cast<Cx*>(dst.region());
      auto run = inverse ? FftInverseComplexFloat32Sse2 : FftForwardComplexFloat32Sse2;
      ASSERT_EQ(run(x.data(), out, spec, w ? work.data() : nullptr), 0) << order;
      EXPECT_TRUE(dst.CanariesIntact()) << order;
      EXPECT_TRUE(SameBits(out, (inverse ? wantInverse : wantForward).data(), n)) << order;
    }
  }
}

// The checks in their order: null specification first, then the identifier
// (even with null arrays), source, destination, and the work buffer when the
// specification asks for one. A failed call writes nothing.
TEST(FftTransformStatus, ChecksInOrder) {
  for (int order : {3, 8, 12, 13}) {
    lv_test::FftPlan plan(order, 2);
    const int64_t n = int64_t{1} << order;
    std::vector<Cx> src(n, {1.0f, 2.0f}), dst(n, {5.0f, 5.0f});
    const std::vector<Cx> untouched(dst);
    std::vector<uint8_t> refused(256, 0);
    const auto* zero = reinterpret_cast<const FftSpecComplexFloat32*>(
        reinterpret_cast<uint8_t*>((reinterpret_cast<uintptr_t>(refused.data()) + 63) & ~uintptr_t{63}));
    uint8_t* work = plan.work();
    const bool needsWork = plan.workBytes > 0;
    EXPECT_EQ(needsWork, order == 13);
    const struct {
      const Cx* src;
      Cx* dst;
      const FftSpecComplexFloat32* spec;
      uint8_t* work;
      int32_t status;
    } cases[] = {
        {nullptr, nullptr, nullptr, nullptr, -8},
        {src.data(), dst.data(), nullptr, work, -8},
        {nullptr, nullptr, zero, nullptr, -17},
        {src.data(), dst.data(), zero, work, -17},
        {nullptr, dst.data(), plan.spec, work, -8},
        {src.data(), nullptr, plan.spec, work, -8},
        {nullptr, nullptr, plan.spec, nullptr, -8},
        {src.data(), dst.data(), plan.spec, nullptr, needsWork ? -8 : 0},
    };
    for (const auto& c : cases) {
      for (bool inverse : {false, true}) {
        auto run = inverse ? FftInverseComplexFloat32 : FftForwardComplexFloat32;
        EXPECT_EQ(run(c.src, c.dst, c.spec, c.work), c.status) << "order " << order << " inverse " << inverse;
        if (c.status != 0) {
          EXPECT_TRUE(SameBits(dst, untouched)) << order;
        }
        dst = untouched;
      }
    }
  }
}

}  // namespace
