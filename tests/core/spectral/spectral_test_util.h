// Shared helpers of the spectral tests: double-precision references.
#pragma once

#include <cmath>
#include <complex>
#include <cstdint>
#include <vector>

#include "core/arrays/complex.h"

namespace lv_test_spectral {

using cd = std::complex<double>;

// Direct DFT in double: sum x[n] e^(sign*2*pi*i*n*k/size) for k = 0..size-1,
// x zero-padded to size.
inline std::vector<cd> Dft(const CQComplex* x, int n, int size, int sign) {
  std::vector<cd> out(size);
  for (int k = 0; k < size; ++k) {
    cd s = 0.0;
    for (int i = 0; i < n; ++i) {
      const int64_t m = (int64_t{i} * k) % size;
      const double p = sign * 2.0 * M_PI * static_cast<double>(m) / size;
      s += cd(x[i].re, x[i].im) * cd(std::cos(p), std::sin(p));
    }
    out[k] = s;
  }
  return out;
}

// Largest |a - b| over the count divided by the largest |b|.
inline double RelativeError(const CQComplex* a, const std::vector<cd>& b, int count) {
  double err = 0.0, scale = 0.0;
  for (int i = 0; i < count; ++i) {
    err = std::max(err, std::abs(cd(a[i].re, a[i].im) - b[i]));
    scale = std::max(scale, std::abs(b[i]));
  }
  return scale > 0.0 ? err / scale : err;
}

// Reproducible pseudo-random complex samples in [-1, 1).
inline std::vector<CQComplex> RandomSignal(int n, uint32_t seed) {
  std::vector<CQComplex> v(n);
  uint32_t x = seed;
  auto next = [&x] {
    x = x * 1664525u + 1013904223u;
    return static_cast<float>((x >> 8) * (1.0 / 8388608.0) - 1.0);
  };
  for (auto& c : v) {
    c.re = next();
    c.im = next();
  }
  return v;
}

}  // namespace lv_test_spectral
