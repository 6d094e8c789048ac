// CQCDecimate: lowers the sample rate of a complex waveform by an integer
// factor made of 2, 3, 5 and 7 (stages by 7 first, then 5, 3, 2), each stage a
// circular decimating low-pass keeping 0.4 of the new rate on either side; the
// recorded bandwidth shrinks to at most 0.8 of the new rate.
#pragma once

#include "core/arrays/carray.h"
#include "core/processing/interpolate.h"

class CQCDecimate {
 public:
  CQCDecimate() = default;
  ~CQCDecimate();
  CQCDecimate(const CQCDecimate&) = delete;
  CQCDecimate& operator=(const CQCDecimate&) = delete;

  // False (and nothing changes) for a rate that is not a positive product of 2, 3, 5, 7.
  bool SetDecimationRate(int rate);
  int GetDecimationRate() const { return factors_.rate; }

  void Decimate(const CQCArrayTD* input);
  void Decimate(const CQComplex* data, int n, double sampleRate);
  CQCArrayTD* GetOutput() { return output_; }

 private:
  void DecimateBy2();
  void DecimateBy3();
  void DecimateBy5();
  void DecimateBy7();
  void DecimateStage(int r, const float* taps, int numTaps, const char* name);

  CQRateFactors factors_;
  CQCArrayTD* output_ = nullptr;
};
