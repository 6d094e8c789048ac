// The transforms of classes 5 and 7 at orders 0-18 (small-order kernels and
// medium kernel) with specifications from their own initialisation: accuracy
// against FFTW in double for flags 2 and 8, and the exact properties (mirror,
// flag scaling, in place, misaligned arrays, statuses, work buffer).
#include <fftw3.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <ostream>
#include <string>
#include <vector>

#include "fft/fft.h"
#include "fft/setup/setup.h"
#include "fft/setup/fft_spec.h"
#include "fft/fft_classes.h"
#include "cpu/dispatch.h"
#include "cpu/dispatch_testing.h"

namespace {

using C = ComplexFloat32;
using GetSizeFn = int32_t (*)(int32_t, int32_t, int32_t, int32_t*, int32_t*, int32_t*);
using InitFn = int32_t (*)(FftSpecComplexFloat32**, int32_t, int32_t, int32_t, uint8_t*, uint8_t*);
using TransformFn = int32_t (*)(const C*, C*, const FftSpecComplexFloat32*, uint8_t*);

struct ClassRoads {
  int cls;
  const char* name;
  GetSizeFn getSize;
  InitFn init;
  TransformFn forward, inverse;
};

void PrintTo(const ClassRoads& c, std::ostream* os) { *os << c.name; }

const ClassRoads kClasses[] = {
    {5, "Avx2", FftGetSizeComplexFloat32Avx2, FftInitComplexFloat32Avx2, FftForwardComplexFloat32Avx2,
     FftInverseComplexFloat32Avx2},
    {7, "Avx512", FftGetSizeComplexFloat32Avx512, FftInitComplexFloat32Avx512, FftForwardComplexFloat32Avx512,
     FftInverseComplexFloat32Avx512},
};

// A specification and a work buffer of the class, with the work buffer's
// storage placed `workOffset` bytes past a 64-byte boundary.
struct Plan {
  std::vector<uint8_t> specMem, work;
  FftSpecComplexFloat32* spec = nullptr;
  int32_t workBytes = 0;
  uint8_t* workPtr = nullptr;
  Plan(const ClassRoads& c, int order, int flag, int workOffset = 0) {
    int32_t s = 0, i = 0, w = 0;
    EXPECT_EQ(c.getSize(order, flag, 2, &s, &i, &w), 0);
    specMem.resize(static_cast<size_t>(s) + 64);
    std::vector<uint8_t> init(static_cast<size_t>(i) + 64);
    work.resize(static_cast<size_t>(w) + 128);
    workBytes = w;
    uint8_t* sm = Align(specMem.data(), 0);
    EXPECT_EQ(c.init(&spec, order, flag, 2, sm, i ? Align(init.data(), 0) : nullptr), 0);
    workPtr = w ? Align(work.data(), workOffset) : nullptr;
  }
  static uint8_t* Align(uint8_t* p, int offset) {
    return reinterpret_cast<uint8_t*>(((reinterpret_cast<uintptr_t>(p) + 63) & ~uintptr_t{63}) + offset);
  }
};

std::vector<C> RandomSignal(int64_t n, uint32_t seed) {
  std::vector<C> x(n);
  uint64_t st = 0x9E3779B97F4A7C15ull * (seed + 11);
  auto next = [&st]() {
    st = st * 6364136223846793005ull + 1442695040888963407ull;
    return static_cast<float>(static_cast<int32_t>(st >> 32)) / 2147483648.0f;
  };
  for (auto& v : x) v = {next(), next()};
  return x;
}

double RelativeError(const std::vector<C>& x, const C* y, int sign, double scale) {
  const int64_t n = static_cast<int64_t>(x.size());
  fftw_complex* in = fftw_alloc_complex(n);
  fftw_complex* out = fftw_alloc_complex(n);
  fftw_plan p = fftw_plan_dft_1d(static_cast<int>(n), in, out, sign, FFTW_ESTIMATE);
  for (int64_t i = 0; i < n; ++i) {
    in[i][0] = x[i].re;
    in[i][1] = x[i].im;
  }
  fftw_execute(p);
  double num = 0, den = 0;
  for (int64_t i = 0; i < n; ++i) {
    const double er = out[i][0] * scale - y[i].re, ei = out[i][1] * scale - y[i].im;
    num += er * er + ei * ei;
    den += (out[i][0] * out[i][0] + out[i][1] * out[i][1]) * scale * scale;
  }
  fftw_destroy_plan(p);
  fftw_free(in);
  fftw_free(out);
  return std::sqrt(num / den);
}

double Bound(int order) { return 2.0 * std::ldexp(1.0, -24) * (1 + order); }

bool SameBits(const C* a, const C* b, int64_t n) { return std::memcmp(a, b, static_cast<size_t>(n) * 8) == 0; }

// n points `offset` bytes past a 64-byte boundary.
struct Placed {
  std::vector<uint8_t> raw;
  C* p;
  Placed(int64_t n, int offset) : raw(static_cast<size_t>(n) * 8 + 128) {
    p = reinterpret_cast<C*>(((reinterpret_cast<uintptr_t>(raw.data()) + 63) & ~uintptr_t{63}) + offset);
  }
};

class VectorTransformTest : public ::testing::TestWithParam<ClassRoads> {
 protected:
  void SetUp() override {
    if (!IsProcessorClassRunnable(GetParam().cls)) {
      GTEST_SKIP() << "processor class " << GetParam().name << " is not supported by this processor";
    }
  }
};

// Orders 0-18, forward and inverse, flags 2 (inverse scaled by 1/N) and 8.
TEST_P(VectorTransformTest, AgreesWithFftwInDouble) {
  const ClassRoads& c = GetParam();
  for (int order = 0; order <= 18; ++order) {
    const int64_t n = int64_t{1} << order;
    const std::vector<C> x = RandomSignal(n, static_cast<uint32_t>(order));
    for (int flag : {kFftScaleInverse, kFftNoScale}) {
      Plan plan(c, order, flag);
      std::vector<C> y(n);
      ASSERT_EQ(c.forward(x.data(), y.data(), plan.spec, plan.workPtr), 0);
      EXPECT_LE(RelativeError(x, y.data(), FFTW_FORWARD, 1.0), Bound(order)) << "forward, order " << order;
      ASSERT_EQ(c.inverse(x.data(), y.data(), plan.spec, plan.workPtr), 0);
      const double scale = flag == kFftScaleInverse ? 1.0 / static_cast<double>(n) : 1.0;
      EXPECT_LE(RelativeError(x, y.data(), FFTW_BACKWARD, scale), Bound(order))
          << "inverse, order " << order << " flag " << flag;
    }
  }
}

// inverse(x) == conj(forward(conj(x))); flag 2's inverse equals flag 8's times
// 2^-order bit for bit and its forward is flag 8's forward.
TEST_P(VectorTransformTest, MirrorAndFlagScalingAreExact) {
  const ClassRoads& c = GetParam();
  for (int order = 0; order <= 18; ++order) {
    const int64_t n = int64_t{1} << order;
    const std::vector<C> x = RandomSignal(n, 50 + static_cast<uint32_t>(order));
    std::vector<C> cx(n);
    for (int64_t i = 0; i < n; ++i) cx[i] = {x[i].re, -x[i].im};
    Plan p2(c, order, kFftScaleInverse), p8(c, order, kFftNoScale);
    std::vector<C> f8(n), i8(n), f2(n), i2(n), fc(n);
    ASSERT_EQ(c.forward(x.data(), f8.data(), p8.spec, p8.workPtr), 0);
    ASSERT_EQ(c.inverse(x.data(), i8.data(), p8.spec, p8.workPtr), 0);
    ASSERT_EQ(c.forward(x.data(), f2.data(), p2.spec, p2.workPtr), 0);
    ASSERT_EQ(c.inverse(x.data(), i2.data(), p2.spec, p2.workPtr), 0);
    ASSERT_EQ(c.forward(cx.data(), fc.data(), p8.spec, p8.workPtr), 0);
    EXPECT_TRUE(SameBits(f2.data(), f8.data(), n)) << "flag 2 scales the forward, order " << order;
    const float s = std::ldexp(1.0f, -order);
    for (int64_t i = 0; i < n; ++i) {
      ASSERT_EQ(i8[i].re, fc[i].re) << "mirror, order " << order << " point " << i;
      ASSERT_EQ(i8[i].im, -fc[i].im) << "mirror, order " << order << " point " << i;
      ASSERT_EQ(i2[i].re, i8[i].re * s) << "flag 2, order " << order << " point " << i;
      ASSERT_EQ(i2[i].im, i8[i].im * s) << "flag 2, order " << order << " point " << i;
    }
  }
}

// In place, and source, destination or work buffer 8, 16 or 32 bytes off a
// 64-byte boundary, give the bits of the aligned out-of-place call; the
// source of an out-of-place call is unchanged.
TEST_P(VectorTransformTest, InPlaceAndMisalignedGiveTheSameBits) {
  const ClassRoads& c = GetParam();
  struct Case {
    int srcOffset, dstOffset, workOffset;
    bool inPlace;
  };
  const Case cases[] = {{8, 8, 0, false}, {16, 32, 8, false}, {32, 16, 16, false},
                        {0, 0, 32, true},  {8, 8, 0, true}};
  for (int order : {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 16, 17, 18}) {
    const int64_t n = int64_t{1} << order;
    const std::vector<C> x = RandomSignal(n, 90 + static_cast<uint32_t>(order));
    for (int flag : {kFftScaleInverse, kFftScaleForward}) {
      Plan ref(c, order, flag);
      for (int d = 0; d < 2; ++d) {
        const TransformFn fn = d == 0 ? c.forward : c.inverse;
        std::vector<C> want(n);
        Placed a(n, 0);
        std::memcpy(a.p, x.data(), static_cast<size_t>(n) * 8);
        Placed b(n, 0);
        ASSERT_EQ(fn(a.p, b.p, ref.spec, ref.workPtr), 0);
        std::memcpy(want.data(), b.p, static_cast<size_t>(n) * 8);
        for (const Case& k : cases) {
          Plan plan(c, order, flag, k.workOffset);
          Placed src(n, k.srcOffset), dst(n, k.dstOffset);
          std::memcpy(src.p, x.data(), static_cast<size_t>(n) * 8);
          C* out = k.inPlace ? src.p : dst.p;
          ASSERT_EQ(fn(src.p, out, plan.spec, plan.workPtr), 0);
          ASSERT_TRUE(SameBits(out, want.data(), n))
              << "order " << order << " flag " << flag << " direction " << d << " offsets " << k.srcOffset << "/"
              << k.dstOffset << "/" << k.workOffset << " in place " << k.inPlace;
          if (!k.inPlace) {
            EXPECT_TRUE(SameBits(src.p, x.data(), n)) << "source changed, order " << order;
          }
        }
      }
    }
  }
}

// The statuses in their order, and the work buffer: null is accepted where the
// specification asks for none (orders 0-6) and refused where it asks for one.
TEST_P(VectorTransformTest, StatusesAndWorkBuffer) {
  const ClassRoads& c = GetParam();
  Plan small(c, 5, kFftNoScale), medium(c, 10, kFftNoScale);
  std::vector<C> x(1024, C{1, 0}), y(1024);
  for (TransformFn fn : {c.forward, c.inverse}) {
    EXPECT_EQ(fn(x.data(), y.data(), nullptr, medium.workPtr), StatusNullPointer);
    EXPECT_EQ(fn(nullptr, nullptr, nullptr, nullptr), StatusNullPointer);
    FftSpecComplexFloat32 bad{};
    std::memcpy(&bad, medium.spec, sizeof bad);
    bad.identifier = 0;
    EXPECT_EQ(fn(nullptr, nullptr, &bad, nullptr), StatusFftBadSpec);
    EXPECT_EQ(fn(nullptr, y.data(), medium.spec, medium.workPtr), StatusNullPointer);
    EXPECT_EQ(fn(x.data(), nullptr, medium.spec, medium.workPtr), StatusNullPointer);
    EXPECT_GT(medium.workBytes, 0);
    EXPECT_EQ(fn(x.data(), y.data(), medium.spec, nullptr), StatusNullPointer);
    EXPECT_EQ(small.workBytes, 0);
    EXPECT_EQ(fn(x.data(), y.data(), small.spec, nullptr), StatusOk);
    EXPECT_EQ(y[0].re, 32.0f);
  }
}

// Linearity and the shift theorem at every order: F(a x + b y) = a F(x) + b F(y)
// and a circular delay by one point multiplies bin k by W^k, to float rounding;
// an impulse at point 0 gives exactly 1 in every bin.
TEST_P(VectorTransformTest, LinearityShiftAndImpulse) {
  const ClassRoads& c = GetParam();
  for (int order = 0; order <= 18; ++order) {
    const int64_t n = int64_t{1} << order;
    Plan plan(c, order, kFftNoScale);
    const std::vector<C> x = RandomSignal(n, 700 + static_cast<uint32_t>(order));
    const std::vector<C> v = RandomSignal(n, 900 + static_cast<uint32_t>(order));
    for (int d = 0; d < 2; ++d) {
      const TransformFn fn = d == 0 ? c.forward : c.inverse;
      const double sign = d == 0 ? -1.0 : 1.0;
      std::vector<C> fx(n), fv(n), mix(n), fmix(n), shifted(n), fshift(n);
      ASSERT_EQ(fn(x.data(), fx.data(), plan.spec, plan.workPtr), 0);
      ASSERT_EQ(fn(v.data(), fv.data(), plan.spec, plan.workPtr), 0);
      for (int64_t i = 0; i < n; ++i) {
        mix[i] = {0.75f * x[i].re - 0.5f * v[i].re, 0.75f * x[i].im - 0.5f * v[i].im};
        shifted[i] = x[(i + n - 1) % n];
      }
      ASSERT_EQ(fn(mix.data(), fmix.data(), plan.spec, plan.workPtr), 0);
      ASSERT_EQ(fn(shifted.data(), fshift.data(), plan.spec, plan.workPtr), 0);
      double numL = 0, denL = 0, numS = 0, denS = 0;
      for (int64_t k = 0; k < n; ++k) {
        const double wr = 0.75 * fx[k].re - 0.5 * fv[k].re, wi = 0.75 * fx[k].im - 0.5 * fv[k].im;
        numL += std::pow(fmix[k].re - wr, 2) + std::pow(fmix[k].im - wi, 2);
        denL += wr * wr + wi * wi;
        const double a = sign * 2.0 * 3.14159265358979323846 * static_cast<double>(k) / static_cast<double>(n);
        const double sr = fx[k].re * std::cos(a) - fx[k].im * std::sin(a);
        const double si = fx[k].re * std::sin(a) + fx[k].im * std::cos(a);
        numS += std::pow(fshift[k].re - sr, 2) + std::pow(fshift[k].im - si, 2);
        denS += sr * sr + si * si;
      }
      EXPECT_LE(std::sqrt(numL / denL), 4 * Bound(order)) << "linearity, order " << order << " direction " << d;
      EXPECT_LE(std::sqrt(numS / denS), 4 * Bound(order)) << "shift, order " << order << " direction " << d;
      std::vector<C> impulse(n, C{0, 0}), out(n);
      impulse[0] = {1, 0};
      ASSERT_EQ(fn(impulse.data(), out.data(), plan.spec, plan.workPtr), 0);
      for (int64_t k = 0; k < n; ++k) {
        ASSERT_EQ(out[k].re, 1.0f) << "impulse, order " << order << " bin " << k;
        ASSERT_EQ(out[k].im, 0.0f) << "impulse, order " << order << " bin " << k;
      }
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Classes, VectorTransformTest, ::testing::ValuesIn(kClasses),
                         [](const ::testing::TestParamInfo<ClassRoads>& info) { return info.param.name; });

}  // namespace
