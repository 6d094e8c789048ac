// The band-limited reconstruction shared by the chirp-z resampler and the
// circular time shift. A waveform of N samples at rate fs is taken as one
// period of a periodic signal: a forward chirp-z transform finds its N
// Fourier coefficients (bins spaced fs/N, centred on 0 Hz) and an inverse one
// evaluates the trigonometric interpolant at M new instants. For even N the
// coefficient at fs/2 is split evenly between +fs/2 and -fs/2 (a cosine), so
// a real input gives a real interpolant; for odd N there is no such bin.
// Complex samples go through one pair of transforms; a real channel is the
// same with a zero imaginary part.
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
  // n complex values in, m out.
  void Compute(const CQComplex* in, CQComplex* out);
  // n real values in, m out.
  void Compute(const float* in, float* out);
  // How many times both transforms were built.
  int64_t GetInitCount() const { return initCount_; }

 private:
  bool ready_ = false;
  int32_t n_ = 0, m_ = 0;
  CQCZT* forward_ = nullptr;
  CQCZT* inverse_ = nullptr;
  // Even n: the coefficient at -fs/2 comes back as cos(pi * fs * t) at the
  // output instants t = outStart + i * outStep, computed during Compute.
  bool even_ = false;
  double sampleRate_ = 0.0, outStart_ = 0.0, outStep_ = 0.0;
  int64_t initCount_ = 0;
};
