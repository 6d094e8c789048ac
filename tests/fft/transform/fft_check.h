// Shared helpers of the FFT transform tests: a specification built through the
// class-0 implementation and the comparison against FFTW in double precision.
#pragma once

#include <fftw3.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <vector>

#include "fft/fft.h"
#include "fft/fft_spec.h"
#include "platform/random.h"

namespace fft_test {

struct Plan {
  std::vector<uint8_t> specMem, work;
  FftSpecComplexFloat32* spec = nullptr;
  int32_t workBytes = 0;
  Plan(int order, int flag) {
    int32_t s, i, w;
    EXPECT_EQ(FftGetSizeComplexFloat32(order, flag, 2, &s, &i, &w), 0);
    specMem.resize(s);
    std::vector<uint8_t> init(i);
    work.resize(w);
    workBytes = w;
    EXPECT_EQ(FftInitComplexFloat32(&spec, order, flag, 2, specMem.data(), i ? init.data() : nullptr), 0);
  }
  uint8_t* workBuffer() { return workBytes ? work.data() : nullptr; }
};

inline std::vector<ComplexFloat32> RandomSignal(int64_t n, uint32_t seed) {
  std::vector<ComplexFloat32> x(n);
  uint64_t state = 0x9E3779B97F4A7C15ull * (seed + 1);
  auto next = [&state]() {
    state = state * 6364136223846793005ull + 1442695040888963407ull;
    return static_cast<float>(static_cast<int32_t>(state >> 33) - (1 << 30)) / static_cast<float>(1 << 30);
  };
  for (auto& v : x) v = {next(), next()};
  return x;
}

// Relative L2 error of y against the double transform of x (sign -1 forward,
// +1 inverse), scaled by scale.
inline double RelativeError(const std::vector<ComplexFloat32>& x, const std::vector<ComplexFloat32>& y, int sign,
                            double scale) {
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
    const double er = out[i][0] * scale - y[i].re;
    const double ei = out[i][1] * scale - y[i].im;
    num += er * er + ei * ei;
    den += out[i][0] * out[i][0] * scale * scale + out[i][1] * out[i][1] * scale * scale;
  }
  fftw_destroy_plan(p);
  fftw_free(in);
  fftw_free(out);
  return std::sqrt(num / den);
}

inline double Bound(int order) { return 2.0 * std::ldexp(1.0, -24) * (1 + order); }

// Forward and inverse of one order against FFTW, and the round trip.
inline void CheckAccuracy(int order) {
  const int64_t n = int64_t{1} << order;
  Plan plan(order, 2);
  const std::vector<ComplexFloat32> x = RandomSignal(n, order);
  std::vector<ComplexFloat32> y(n), z(n);
  ASSERT_EQ(FftForwardComplexFloat32(x.data(), y.data(), plan.spec, plan.workBuffer()), 0);
  EXPECT_LE(RelativeError(x, y, FFTW_FORWARD, 1.0), Bound(order)) << "forward, order " << order;
  ASSERT_EQ(FftInverseComplexFloat32(x.data(), z.data(), plan.spec, plan.workBuffer()), 0);
  EXPECT_LE(RelativeError(x, z, FFTW_BACKWARD, 1.0 / static_cast<double>(n)), Bound(order))
      << "inverse, order " << order;
  ASSERT_EQ(FftInverseComplexFloat32(y.data(), z.data(), plan.spec, plan.workBuffer()), 0);
  double num = 0, den = 0;
  for (int64_t i = 0; i < n; ++i) {
    num += std::pow(double(z[i].re) - x[i].re, 2) + std::pow(double(z[i].im) - x[i].im, 2);
    den += double(x[i].re) * x[i].re + double(x[i].im) * x[i].im;
  }
  EXPECT_LE(std::sqrt(num / den), 2 * Bound(order)) << "round trip, order " << order;
}

}  // namespace fft_test
