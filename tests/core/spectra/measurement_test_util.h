// Helpers shared by the spectral measurement tests.
#pragma once

#include <vector>

#include "core/arrays/farray_fd.h"

namespace lv_test_spectral {

// A spectrum of the given values on the grid start + i * step.
inline void MakeSpectrum(CQFArrayFD& s, const std::vector<float>& v, double start, double step) {
  s.Set(v.data(), static_cast<int>(v.size()), start, step, 0.0);
}

// Distinct small integers (exact in float sums): bin i holds (i % 7) + 1.
inline std::vector<float> Ramp(int n) {
  std::vector<float> v(n);
  for (int i = 0; i < n; ++i) v[i] = static_cast<float>(i % 7 + 1);
  return v;
}

inline double SumBins(const std::vector<float>& v, int first, int last) {
  double s = 0.0;
  for (int i = first; i <= last; ++i) s += v[i];
  return s;
}

}  // namespace lv_test_spectral
