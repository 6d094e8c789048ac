// CQCFIR: the circular, centred FIR filter of the processing chain (complex
// samples, real taps, output j centred on input j, both ends wrapping around so
// a cyclically repeated waveform is filtered without a seam), in a plain and a
// decimating form. CQCLowPassFIR: the chain's low-pass step, one of the fixed
// low-pass tables chosen by the filter type.
#pragma once

#include <cstdint>

#include "core/arrays/carray.h"

class CQCFIR {
 public:
  CQCFIR() = default;
  ~CQCFIR();
  CQCFIR(const CQCFIR&) = delete;
  CQCFIR& operator=(const CQCFIR&) = delete;

  // Copies m taps (applied in stored order, centred on tap m/2).
  void SetTaps(const float* taps, int m);
  // Output j = sum_k tap[k] * x[(j - m/2 + k) mod n], j = 0..n-1. Indices wrap
  // modulo n, so an input shorter than the filter is defined too.
  void Apply(const CQComplex* x, int n);
  // Output j = sum_k tap[k] * x[(r*j - m/2 + k) mod n], j = 0..n/r-1.
  void Apply(const CQComplex* x, int n, int r);

  int GetNumTaps() const { return numTaps_; }
  const CQComplex* GetOutput() const { return output_; }
  int GetNumOutputPoints() const { return numOutput_; }

 private:
  void ApplyFIRFilterWithDecimation(const CQComplex* x, int n, int r);
  void CheckTaps() const;
  // Output points first..last-1 whose taps need no wrap-around (decimation r).
  void DoMiddleFiltering(const CQComplex* x, int first, int last, int r);
  void FilterOneWrapped(const CQComplex* x, int n, int start, CQComplex* out) const;
  void ReserveOutput(int n);

  int numTaps_ = 0;
  int numOutput_ = 0;
  float* taps_ = nullptr;
  CQComplex* output_ = nullptr;
  CQComplex* work_ = nullptr;
  CQComplex* complexTaps_ = nullptr;
};

class CQCLowPassFIR {
 public:
  // Low-pass types: 2..20 and the even 22..40. Type t passes 0..t/100 of the
  // sample rate and stops from (t+2)/100; the odd types 21..39 do not exist.
  static bool IsValidFilterType(int type);
  static constexpr int kNumTaps = 239;

  CQCLowPassFIR();
  ~CQCLowPassFIR();
  CQCLowPassFIR(const CQCLowPassFIR&) = delete;
  CQCLowPassFIR& operator=(const CQCLowPassFIR&) = delete;

  void SetFilterType(int type);
  int GetFilterType() const { return filterType_; }
  void SetInput(CQCArrayTD* input) { input_ = input; }
  void Compute();
  CQCArrayTD* GetOutput() { return output_; }

 private:
  bool tapsChanged_ = true;
  int filterType_ = 0;
  CQCArrayTD* input_ = nullptr;
  CQCArrayTD* output_ = nullptr;
  CQCFIR* fir_ = nullptr;
};
