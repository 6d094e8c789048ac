// The many-core class's own stages and kernels (fft/manycore/) against their
// scalar models (many_core_model.h), bit for bit, in both directions: the
// first stage out of place and in place, each radix-8 and radix-4 pass and
// each last stage at every order's strides, the whole mixed-radix transform,
// and the small-order kernels of orders 0 to 7 (plain and normalising).
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <vector>

#include "cpu/dispatch_testing.h"
#include "fft/fft_classes.h"
#include "fft/manycore/many_core.h"
#include "fft/setup/many_core_plan.h"
#include "support/bits.h"
#include "support/fft_reference.h"
#include "tests/fft/manycore/many_core_model.h"

namespace {

using C = ComplexFloat32;
using lv_test::SameBits;
namespace model = many_core_model;

class ManyCoreKernels : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!IsProcessorClassRunnable(kClassAvx512ManyCore)) {
      GTEST_SKIP() << "processor class Avx512ManyCore is not supported by this processor";
    }
  }
  static lv_test::FftPlan Plan(int order, int flag = kFftNoScale) {
    lv_test::FftPlan p(FftGetSizeComplexFloat32Avx512ManyCore, FftInitComplexFloat32Avx512ManyCore, order, flag);
    EXPECT_EQ(p.status, 0);
    return p;
  }
  static const FftManyCoreSpecComplexFloat32* Spec(const lv_test::FftPlan& p) {
    return reinterpret_cast<const FftManyCoreSpecComplexFloat32*>(p.spec);
  }
};

// A 64-byte-aligned float array.
struct Aligned {
  explicit Aligned(int64_t floats) : mem(4 * floats + 64), f(reinterpret_cast<float*>(mem.bytes())) {}
  lv_test::AlignedMemory mem;
  float* f;
};

// Data with signed zeros, tiny, huge and ordinary values among random ones.
std::vector<C> EdgeSignal(int64_t n, uint32_t seed) {
  std::vector<C> x = lv_test::RandomSignal(n, seed);
  const float special[] = {0.0f, -0.0f, 1e-30f, -3e30f, 1.0f, -1.0f, 0.5f, 65504.0f};
  for (int64_t i = 0; i < n; i += 7) x[i].re = special[(i / 7) % 8];
  return x;
}

template <int kSign>
using FirstStageFn = void (*)(const C*, float*, const int32_t*, int64_t);

// The first stage, out of place from an unaligned source and in place on an
// aligned array, equals the model's state at every order 8 to 16.
TEST_F(ManyCoreKernels, FirstStageEqualsModelOutOfPlaceAndInPlace) {
  struct Dir {
    void (*fn)(const C*, float*, const int32_t*, int64_t);
    int sign;
  };
  const Dir dirs[] = {{FftForwardMixedRadixFirstStageAvx512ManyCore, -1},
                      {FftInverseFirstStageLargeAvx512ManyCore, 1},
                      {FftInverseFirstStageSmallAvx512ManyCore, 1}};
  for (int order = 8; order <= 16; ++order) {
    const int64_t n = int64_t{1} << order;
    const lv_test::FftPlan plan = Plan(order);
    const std::vector<C> x = EdgeSignal(n, 10 + order);
    for (const Dir& d : dirs) {
      const std::vector<float> want =
          d.sign < 0 ? model::FirstStage<-1>(x, order) : model::FirstStage<1>(x, order);
      // out of place, source 8 bytes off a 64-byte boundary
      Aligned src(2 * n + 2), work(2 * n);
      std::memcpy(src.f + 2, x.data(), 8 * n);
      d.fn(reinterpret_cast<const C*>(src.f + 2), work.f, Spec(plan)->swapList, n);
      EXPECT_EQ(0, std::memcmp(work.f, want.data(), 8 * n)) << "out of place, order " << order << " sign " << d.sign;
      // in place
      Aligned data(2 * n);
      std::memcpy(data.f, x.data(), 8 * n);
      d.fn(reinterpret_cast<const C*>(data.f), data.f, Spec(plan)->swapList, n);
      EXPECT_EQ(0, std::memcmp(data.f, want.data(), 8 * n)) << "in place, order " << order << " sign " << d.sign;
    }
  }
}

// Every pass the driver runs (radix/stride/groups of orders 8 to 16) with the
// plan's twiddle block, on random work areas.
TEST_F(ManyCoreKernels, PassesEqualModel) {
  struct Case {
    int order, radix, stride, groups, block;
  };
  const Case cases[] = {{8, 4, 16, 4, 32},     {9, 8, 16, 4, 32},     {10, 8, 16, 8, 32},   {11, 8, 16, 16, 32},
                        {11, 4, 128, 4, 256},  {12, 8, 128, 4, 256},  {13, 8, 128, 8, 256}, {14, 4, 1024, 4, 2048},
                        {15, 8, 1024, 4, 2048}, {16, 8, 16, 512, 32}, {16, 8, 1024, 8, 2048}};
  using PassFn = void (*)(float*, const float*, int32_t, int32_t);
  for (const Case& k : cases) {
    const lv_test::FftPlan plan = Plan(k.order);
    const float* t = Spec(plan)->twiddles + k.block;
    const int64_t points = int64_t{k.radix} * k.stride * k.groups;
    const std::vector<C> noise = EdgeSignal(points, 300 + k.order);
    std::vector<float> start(2 * points);
    std::memcpy(start.data(), noise.data(), 8 * points);
    for (int sign : {-1, 1}) {
      const PassFn fn = k.radix == 8 ? (sign < 0 ? FftForwardMixedRadix8PassAvx512ManyCore
                                                 : FftInverseRadix8StageLargeAvx512ManyCore)
                                     : (sign < 0 ? FftForwardMixedRadix4PassAvx512ManyCore
                                                 : FftInverseRadix4StageSmallAvx512ManyCore);
      std::vector<float> want = start;
      if (sign < 0) {
        model::Pass<-1>(want, t, k.radix, k.stride, k.groups);
      } else {
        model::Pass<1>(want, t, k.radix, k.stride, k.groups);
      }
      Aligned work(2 * points);
      std::memcpy(work.f, start.data(), 8 * points);
      fn(work.f, t, k.stride, k.groups);
      EXPECT_EQ(0, std::memcmp(work.f, want.data(), 8 * points))
          << "radix " << k.radix << " stride " << k.stride << " groups " << k.groups << " sign " << sign;
    }
  }
}

// Both last stages at every stride the driver uses, into an unaligned
// destination and over the work area itself.
TEST_F(ManyCoreKernels, LastStagesEqualModel) {
  struct Case {
    int order, radix, block;
  };
  const Case cases[] = {{8, 4, 128},   {9, 4, 256},   {10, 8, 256},    {11, 4, 1024}, {12, 4, 2048},
                        {13, 8, 2048}, {14, 4, 8192}, {15, 4, 16384}, {16, 8, 16384}};
  using LastFn = void (*)(const float*, C*, const float*, int64_t);
  for (const Case& k : cases) {
    const int64_t n = int64_t{1} << k.order, s = n / k.radix;
    const lv_test::FftPlan plan = Plan(k.order);
    const float* t = Spec(plan)->twiddles + k.block;
    const std::vector<C> noise = EdgeSignal(n, 500 + k.order);
    std::vector<float> start(2 * n);
    std::memcpy(start.data(), noise.data(), 8 * n);
    for (int sign : {-1, 1}) {
      const LastFn fn = k.radix == 8 ? (sign < 0 ? FftForwardMixedRadix8LastStageAvx512ManyCore
                                                 : FftInverseLastRadix8StageAvx512ManyCore)
                                     : (sign < 0 ? FftForwardMixedRadix4LastStageAvx512ManyCore
                                                 : FftInverseLastRadix4StageAvx512ManyCore);
      const std::vector<C> want =
          sign < 0 ? model::LastStage<-1>(start, t, k.radix, s) : model::LastStage<1>(start, t, k.radix, s);
      Aligned work(2 * n), dst(2 * n + 2);
      std::memcpy(work.f, start.data(), 8 * n);
      fn(work.f, reinterpret_cast<C*>(dst.f + 2), t, s);
      EXPECT_TRUE(SameBits(reinterpret_cast<const C*>(dst.f + 2), want.data(), n))
          << "order " << k.order << " sign " << sign;
      fn(work.f, reinterpret_cast<C*>(work.f), t, s);
      EXPECT_TRUE(SameBits(reinterpret_cast<const C*>(work.f), want.data(), n))
          << "over the work area, order " << k.order << " sign " << sign;
    }
  }
}

// The whole mixed-radix transform equals the model at every order, through
// the work buffer (unaligned destination) and in place.
TEST_F(ManyCoreKernels, MixedRadixEqualsModel) {
  for (int order = 8; order <= 16; ++order) {
    const int64_t n = int64_t{1} << order;
    const lv_test::FftPlan plan = Plan(order);
    const std::vector<C> x = EdgeSignal(n, 700 + order);
    for (int sign : {-1, 1}) {
      const auto fn = sign < 0 ? FftForwardMixedRadixAvx512ManyCore : FftInverseMixedRadixAvx512ManyCore;
      const std::vector<C> want = sign < 0 ? model::MixedRadix<-1>(x, order, Spec(plan)->twiddles)
                                           : model::MixedRadix<1>(x, order, Spec(plan)->twiddles);
      Aligned dst(2 * n + 2), buffer(2 * n), data(2 * n);
      fn(x.data(), reinterpret_cast<C*>(dst.f + 2), static_cast<int32_t>(n), Spec(plan)->twiddles,
         Spec(plan)->swapList, reinterpret_cast<uint8_t*>(buffer.f));
      EXPECT_TRUE(SameBits(reinterpret_cast<const C*>(dst.f + 2), want.data(), n))
          << "order " << order << " sign " << sign;
      std::memcpy(data.f, x.data(), 8 * n);
      fn(reinterpret_cast<C*>(data.f), reinterpret_cast<C*>(data.f), static_cast<int32_t>(n), Spec(plan)->twiddles,
         Spec(plan)->swapList, nullptr);
      EXPECT_TRUE(SameBits(reinterpret_cast<const C*>(data.f), want.data(), n))
          << "in place, order " << order << " sign " << sign;
    }
  }
}

// The small-order kernels of both directions, plain and normalising, out of
// place at an 8-byte offset and in place, against the model; the normalising
// kernel with scale 1 gives the plain kernel's bits.
TEST_F(ManyCoreKernels, SmallKernelsEqualModel) {
  const float scales[] = {0.125f, 1.0f, 0.70710677f};
  for (int order = 0; order <= 7; ++order) {
    const int64_t n = int64_t{1} << order;
    const std::vector<C> x = EdgeSignal(n, 900 + order);
    for (int sign : {-1, 1}) {
      const FftPlainKernel plain = (sign < 0 ? kFftForwardManyCorePlainKernelsAvx512ManyCore
                                             : kFftInverseManyCorePlainKernelsAvx512ManyCore)[order];
      const FftNormalisedKernel norm = (sign < 0 ? kFftForwardManyCoreNormalisedKernelsAvx512ManyCore
                                                 : kFftInverseManyCoreNormalisedKernelsAvx512ManyCore)[order];
      const std::vector<C> want = sign < 0 ? model::Small<-1>(x, order, nullptr) : model::Small<1>(x, order, nullptr);
      lv_test::PlacedPoints src(n, 8), dst(n, 8);
      plain(src.Fill(x), dst.data(), nullptr);
      EXPECT_TRUE(SameBits(dst.data(), want.data(), n)) << "plain, order " << order << " sign " << sign;
      EXPECT_TRUE(SameBits(src.data(), x.data(), n)) << "source changed, order " << order;
      EXPECT_TRUE(src.CanariesIntact() && dst.CanariesIntact()) << "order " << order;
      plain(src.Fill(x), src.data(), nullptr);
      EXPECT_TRUE(SameBits(src.data(), want.data(), n)) << "plain in place, order " << order << " sign " << sign;
      for (float s : scales) {
        const std::vector<C> wantScaled = sign < 0 ? model::Small<-1>(x, order, &s) : model::Small<1>(x, order, &s);
        norm(src.Fill(x), dst.data(), s);
        EXPECT_TRUE(SameBits(dst.data(), wantScaled.data(), n))
            << "normalising, order " << order << " sign " << sign << " scale " << s;
        if (s == 1.0f) {
          EXPECT_TRUE(SameBits(dst.data(), want.data(), n)) << "scale 1, order " << order;
        }
      }
    }
  }
}

// Impulses: x[0] = 1 gives 1 in every bin; x[1] = 1 gives e^(-+2 pi i k/N), so
// bin N/4 is -i forward and +i inverse (orders 2 and up).
TEST_F(ManyCoreKernels, ImpulsesShowTheDirection) {
  for (int order = 0; order <= 16; ++order) {
    const int64_t n = int64_t{1} << order;
    const lv_test::FftPlan plan = Plan(order);
    std::vector<C> x(n, C{0, 0}), y(n);
    x[0] = {1, 0};
    ASSERT_EQ(FftForwardManyCoreSpec(x.data(), y.data(), plan.spec, plan.work()), 0);
    for (int64_t k = 0; k < n; ++k) ASSERT_TRUE(y[k].re == 1.0f && y[k].im == 0.0f) << order << " " << k;
    if (order < 2) continue;
    x[0] = {0, 0};
    x[1] = {1, 0};
    ASSERT_EQ(FftForwardManyCoreSpec(x.data(), y.data(), plan.spec, plan.work()), 0);
    EXPECT_NEAR(y[n / 4].im, -1.0f, 1e-6f) << order;
    ASSERT_EQ(FftInverseManyCoreSpec(x.data(), y.data(), plan.spec, plan.work()), 0);
    EXPECT_NEAR(y[n / 4].im, 1.0f, 1e-6f) << order;
  }
}

}  // namespace
