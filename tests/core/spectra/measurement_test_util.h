// Helpers shared by the spectral measurement tests.
#pragma once

#include <string>
#include <vector>

#include "core/arrays/farray_fd.h"
#include "core/error.h"

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

struct Thrown {
  bool thrown = false;
  int code = 0;
  std::string message;
  std::string callStack;
};

// Runs f and reports the CQError it threw (deleting it).
template <typename F>
Thrown Catch(F&& f) {
  Thrown t;
  try {
    f();
  } catch (CQError* e) {
    t.thrown = true;
    t.code = e->GetCode();
    for (const wchar_t* p = e->GetMessage(); p != nullptr && *p != 0; ++p) t.message += static_cast<char>(*p);
    t.callStack = e->GetCallStack() ? e->GetCallStack() : "";
    delete e;
  }
  return t;
}

}  // namespace lv_test_spectral
