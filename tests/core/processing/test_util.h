#pragma once

#include <cmath>
#include <complex>
#include <vector>

#include "core/arrays/carray.h"

namespace lv_test_proc {

// exp(j*2*pi*f*i) for i = 0..n-1 (f in cycles per sample), amplitude a.
inline std::vector<CQComplex> Tone(int n, double f, double a = 1.0) {
  std::vector<CQComplex> v(n);
  for (int i = 0; i < n; ++i) {
    const double p = 2.0 * M_PI * f * i;
    v[i] = CQComplex(static_cast<float>(a * std::cos(p)), static_cast<float>(a * std::sin(p)));
  }
  return v;
}

// |DFT at frequency f| / n (amplitude of a tone at f), f in cycles per sample.
inline double ToneAmplitude(const CQComplex* x, int n, double f) {
  std::complex<double> s = 0.0;
  for (int i = 0; i < n; ++i) {
    const double p = -2.0 * M_PI * f * i;
    s += std::complex<double>(x[i].re, x[i].im) * std::complex<double>(std::cos(p), std::sin(p));
  }
  return std::abs(s) / n;
}

// Amplitude response of a symmetric odd-length table at f (cycles per sample).
inline double Response(const float* h, int m, double f) {
  double s = 0.0;
  for (int i = 0; i < m; ++i) s += h[i] * std::cos(2.0 * M_PI * f * (i - (m - 1) / 2));
  return s;
}

inline double Db(double amplitudeRatio) { return 20.0 * std::log10(amplitudeRatio); }

}  // namespace lv_test_proc
