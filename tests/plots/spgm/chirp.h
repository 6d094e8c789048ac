// A complex linear chirp for the spectrogram tests: the instantaneous
// frequency runs from f0 at the first sample to f1 at the last.
#pragma once

#include <cmath>
#include <memory>

#include "core/arrays/carray.h"

namespace spgm_test {

inline std::unique_ptr<CQCArrayTD> MakeChirp(int n, double rate, double f0, double f1, double centre = 0.0) {
  auto a = std::make_unique<CQCArrayTD>(n);
  CQComplex* p = a->GetDataPtr();
  const double duration = n / rate;
  const double k = (f1 - f0) / duration;  // Hz per second
  for (int i = 0; i < n; ++i) {
    const double t = i / rate;
    const double phase = 2.0 * M_PI * (f0 * t + 0.5 * k * t * t);
    p[i].re = static_cast<float>(std::cos(phase));
    p[i].im = static_cast<float>(std::sin(phase));
  }
  a->SetSampleRate(rate);
  a->SetTimeOrigin(0.0);
  a->SetCenterFreq(centre);
  return a;
}

// The frequency the chirp passes at time t (from its first sample).
inline double ChirpFreqAt(double t, int n, double rate, double f0, double f1) {
  return f0 + (f1 - f0) * t / (n / rate);
}

}  // namespace spgm_test
