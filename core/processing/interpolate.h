// CQCInterpolate: raises the sample rate of a complex waveform by an integer
// factor made of 2, 3, 5 and 7, one zero-stuffing + circular low-pass stage per
// prime factor (passband 0.4, stopband 0.6 of each stage's input rate).
#pragma once

#include "core/arrays/carray.h"

// Splits rate into 7s, 5s, 3s and 2s. rate <= 0: false, outputs untouched.
// Otherwise the counts are set and the result is true when nothing else remains.
bool CalcRateFactors(int rate, int* by2, int* by3, int* by5, int* by7);

// An interpolation or decimation rate and its prime factors.
struct CQRateFactors {
  int rate = 0;
  int by2 = 0, by3 = 0, by5 = 0, by7 = 0;
  // False (and nothing changes) for a rate that is not a positive product of 2, 3, 5, 7.
  bool Set(int newRate);
};

class CQCInterpolate {
 public:
  CQCInterpolate() = default;
  ~CQCInterpolate();
  CQCInterpolate(const CQCInterpolate&) = delete;
  CQCInterpolate& operator=(const CQCInterpolate&) = delete;

  // False (and nothing changes) for a rate that is not a positive product of 2, 3, 5, 7.
  bool SetInterpolationRate(int rate);
  int GetInterpolationRate() const { return factors_.rate; }

  void Compute(const CQCArrayTD* input);
  void Compute(const CQComplex* data, int n, double sampleRate);
  CQCArrayTD* GetOutput() { return output_; }

 private:
  void InterpolateBy2();
  void InterpolateBy3();
  void InterpolateBy5();
  void InterpolateBy7();
  void InterpolateStage(int l, const float* taps, int numTaps);

  int numPoints_ = 0;
  CQRateFactors factors_;
  double sampleRate_ = 0.0;
  CQComplex* work_ = nullptr;
  CQCArrayTD* output_ = nullptr;
};
