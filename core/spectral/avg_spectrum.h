// CQAvgSpectrum: the averaged power spectrum of a waveform, in watts per bin
// (|x|^2 / 100 per sample: a complex tone of amplitude 1 reads 0.01 W, +10 dBm).
//
// The waveform is cut into overlapping segments as CQSegmentedSpectrum
// describes and the squared magnitudes of their spectra are averaged. Every
// setting may be automatic: Compute then derives it from the input and writes
// the value it used back, so the getters show what is in use.
#pragma once

#include "core/spectral/segmented_spectrum.h"

class CQFArrayFD;

class CQAvgSpectrum : public CQSegmentedSpectrum {
 public:
  static constexpr int kAutoNumAvgs = 100;

  CQAvgSpectrum() = default;
  ~CQAvgSpectrum();

  void SetAutoNumAvgs(bool on) { autoNumAvgs_ = on; }
  bool GetAutoNumAvgs() const { return autoNumAvgs_; }
  void SetNumAvgs(int n) { numAvgs_ = n; }
  int GetNumAvgs() const { return numAvgs_; }
  // The window's noise bandwidth at the input's rate, from the last Compute.
  double GetNBW() const { return nbw_; }

  // Derives and stores the settings (limits, RBW, segment length, bins,
  // averages and hop) as Compute does, without transforming anything.
  void ResolveSettings();
  // The averaged spectrum of the input.
  void Compute();
  // Owned by the object; null before the first Compute. Its frequencies are
  // absolute (centre frequency + start + i x step).
  CQFArrayFD* GetSpectrum() { return result_; }

 private:
  void Resolve();

  bool autoNumAvgs_ = true;
  int numAvgs_ = 0;
  double nbw_ = 0.0;
  int binCapacity_ = 0;
  float* magSqr_ = nullptr;
  float* accum_ = nullptr;
  CQFArrayFD* result_ = nullptr;
};
