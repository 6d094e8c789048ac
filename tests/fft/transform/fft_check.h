// Shared helpers of the FFT transform tests: a specification built through the
// class-0 implementation and the comparison against FFTW in double precision.
#pragma once

#include <fftw3.h>
#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <cstdint>
#include <cstring>
#include <vector>

#include "fft/fft.h"
#include "fft/setup/fft_spec.h"
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

// The forward DFT of x in double precision (FFTW). The inverse transform's
// reference is the same spectrum read backwards: bin k of the +i transform is
// bin (N - k) mod N of the -i one.
inline std::vector<std::complex<double>> DoubleSpectrum(const std::vector<ComplexFloat32>& x) {
  const int64_t n = static_cast<int64_t>(x.size());
  fftw_complex* in = fftw_alloc_complex(n);
  fftw_complex* out = fftw_alloc_complex(n);
  fftw_plan p = fftw_plan_dft_1d(static_cast<int>(n), in, out, FFTW_FORWARD, FFTW_ESTIMATE);
  for (int64_t i = 0; i < n; ++i) {
    in[i][0] = x[i].re;
    in[i][1] = x[i].im;
  }
  fftw_execute(p);
  std::vector<std::complex<double>> spectrum(n);
  for (int64_t i = 0; i < n; ++i) spectrum[i] = {out[i][0], out[i][1]};
  fftw_destroy_plan(p);
  fftw_free(in);
  fftw_free(out);
  return spectrum;
}

// Relative L2 error of y against the double spectrum (sign -1 forward, +1
// inverse), scaled by scale.
inline double RelativeError(const std::vector<std::complex<double>>& ref, const std::vector<ComplexFloat32>& y,
                            int sign, double scale) {
  const int64_t n = static_cast<int64_t>(ref.size());
  double num = 0, den = 0;
  for (int64_t i = 0; i < n; ++i) {
    const std::complex<double> r = ref[sign < 0 ? i : (n - i) % n] * scale;
    const double er = r.real() - y[i].re;
    const double ei = r.imag() - y[i].im;
    num += er * er + ei * ei;
    den += std::norm(r);
  }
  return std::sqrt(num / den);
}

inline double Bound(int order) { return 2.0 * std::ldexp(1.0, -24) * (1 + order); }

// Forward and inverse of one order against FFTW, and the round trip.
inline void CheckAccuracy(int order) {
  const int64_t n = int64_t{1} << order;
  Plan plan(order, 2);
  const std::vector<ComplexFloat32> x = RandomSignal(n, order);
  std::vector<ComplexFloat32> y(n), z(n);
  const std::vector<std::complex<double>> ref = DoubleSpectrum(x);
  ASSERT_EQ(FftForwardComplexFloat32(x.data(), y.data(), plan.spec, plan.workBuffer()), 0);
  EXPECT_LE(RelativeError(ref, y, FFTW_FORWARD, 1.0), Bound(order)) << "forward, order " << order;
  ASSERT_EQ(FftInverseComplexFloat32(x.data(), z.data(), plan.spec, plan.workBuffer()), 0);
  EXPECT_LE(RelativeError(ref, z, FFTW_BACKWARD, 1.0 / static_cast<double>(n)), Bound(order))
      << "inverse, order " << order;
  ASSERT_EQ(FftInverseComplexFloat32(y.data(), z.data(), plan.spec, plan.workBuffer()), 0);
  double num = 0, den = 0;
  for (int64_t i = 0; i < n; ++i) {
    num += std::pow(double(z[i].re) - x[i].re, 2) + std::pow(double(z[i].im) - x[i].im, 2);
    den += double(x[i].re) * x[i].re + double(x[i].im) * x[i].im;
  }
  EXPECT_LE(std::sqrt(num / den), 2 * Bound(order)) << "round trip, order " << order;
}

inline bool SameBits(const std::vector<ComplexFloat32>& a, const std::vector<ComplexFloat32>& b) {
  return a.size() == b.size() && std::memcmp(a.data(), b.data(), a.size() * sizeof(ComplexFloat32)) == 0;
}

// inverse(x) == conj(forward(conj(x))) compared with ==; flag 2 and flag 1
// against flag 8 times 2^-order bit for bit; in place equals out of place.
inline void CheckExactProperties(int order) {
  const int64_t n = int64_t{1} << order;
  Plan p2(order, 2), p8(order, 8), p1(order, 1);
  const auto x = RandomSignal(n, 100 + order);
  std::vector<ComplexFloat32> cx(x), fwd(n), inv(n);
  for (auto& v : cx) v.im = -v.im;
  ASSERT_EQ(FftForwardComplexFloat32(cx.data(), fwd.data(), p8.spec, p8.workBuffer()), 0);
  for (auto& v : fwd) v.im = -v.im;
  ASSERT_EQ(FftInverseComplexFloat32(x.data(), inv.data(), p8.spec, p8.workBuffer()), 0);
  for (int64_t i = 0; i < n; ++i) {
    ASSERT_TRUE(inv[i].re == fwd[i].re && inv[i].im == fwd[i].im) << "mirror, order " << order << " bin " << i;
  }

  std::vector<ComplexFloat32> inv2(n), f8(n), f1(n), f2(n);
  ASSERT_EQ(FftInverseComplexFloat32(x.data(), inv2.data(), p2.spec, p2.workBuffer()), 0);
  ASSERT_EQ(FftForwardComplexFloat32(x.data(), f8.data(), p8.spec, p8.workBuffer()), 0);
  ASSERT_EQ(FftForwardComplexFloat32(x.data(), f2.data(), p2.spec, p2.workBuffer()), 0);
  ASSERT_EQ(FftForwardComplexFloat32(x.data(), f1.data(), p1.spec, p1.workBuffer()), 0);
  EXPECT_TRUE(SameBits(f2, f8)) << "flag 2 leaves the forward transform unscaled, order " << order;
  for (int64_t i = 0; i < n; ++i) {
    ASSERT_EQ(inv2[i].re, std::ldexp(inv[i].re, -order)) << order << " " << i;
    ASSERT_EQ(inv2[i].im, std::ldexp(inv[i].im, -order)) << order << " " << i;
    ASSERT_EQ(f1[i].re, std::ldexp(f8[i].re, -order)) << order << " " << i;
    ASSERT_EQ(f1[i].im, std::ldexp(f8[i].im, -order)) << order << " " << i;
  }

  EXPECT_TRUE(SameBits(x, RandomSignal(n, 100 + order))) << "out-of-place calls leave the source alone";

  std::vector<ComplexFloat32> inPlace(x);
  ASSERT_EQ(FftForwardComplexFloat32(inPlace.data(), inPlace.data(), p2.spec, p2.workBuffer()), 0);
  EXPECT_TRUE(SameBits(inPlace, f2)) << "forward in place, order " << order;
  inPlace = x;
  ASSERT_EQ(FftInverseComplexFloat32(inPlace.data(), inPlace.data(), p2.spec, p2.workBuffer()), 0);
  EXPECT_TRUE(SameBits(inPlace, inv2)) << "inverse in place, order " << order;
}

}  // namespace fft_test
