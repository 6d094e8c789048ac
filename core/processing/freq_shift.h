// CQFrequencyShift: multiplies a waveform by e^(j*2*pi*shift*(i+1)/fs), moving
// its spectrum by shift Hz, and lowers the centre frequency by the shift so
// the array still describes the same radio-frequency signal.
#pragma once

#include "core/arrays/carray.h"

class CQFrequencyShift {
 public:
  CQFrequencyShift() = default;
  ~CQFrequencyShift();
  CQFrequencyShift(const CQFrequencyShift&) = delete;
  CQFrequencyShift& operator=(const CQFrequencyShift&) = delete;

  void Compute(const CQCArrayTD* input, double shiftHz);
  void Compute(const CQComplex* data, int n, double sampleRate, double shiftHz);
  CQCArrayTD* GetOutput() { return output_; }

 private:
  CQCArrayTD* output_ = nullptr;
};
