// The band-limited reconstruction shared by the chirp-z resampler and the
// circular time shift: one real channel of N samples at rate fs is taken as
// one period of a periodic signal, its one-sided spectrum (K = N/2 + 1 bins
// spaced fs/N) is found with a forward chirp-z transform, and the real
// trigonometric interpolant is evaluated at M new instants with an inverse one.
#pragma once

#include <cstdint>

#include "core/arrays/complex.h"

class CQCZT;

class CQCZTChannel {
 public:
  CQCZTChannel() = default;
  ~CQCZTChannel();
  CQCZTChannel(const CQCZTChannel&) = delete;
  CQCZTChannel& operator=(const CQCZTChannel&) = delete;

  // Builds both transforms: n input samples at sampleRate, m output instants
  // outStart + i * outStep (seconds). Clears the ready flag first, so a
  // failure leaves the channel unusable until the next successful call.
  void Initialize(int n, double sampleRate, double outStart, double outStep, int m);
  bool IsReady() const { return ready_; }
  // n values in, m values out.
  void Compute(const float* in, float* out);
  int GetNumBins() const { return numBins_; }
  // How many times both transforms were built.
  int64_t GetInitCount() const { return initCount_; }

 private:
  bool ready_ = false;
  int32_t n_ = 0, m_ = 0, numBins_ = 0;
  CQCZT* forward_ = nullptr;
  CQCZT* inverse_ = nullptr;
  int32_t workSize_ = 0;
  CQComplex* workA_ = nullptr;
  CQComplex* workB_ = nullptr;
  int64_t initCount_ = 0;
};
