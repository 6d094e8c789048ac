// CQAvgSpectrum: the averaged power spectrum of a waveform, in watts per bin
// (|x|^2 / 100 per sample: a complex tone of amplitude 1 reads 0.01 W, +10 dBm).
//
// The waveform is cut into overlapping segments whose length follows from the
// resolution bandwidth; each segment is windowed (Gaussian, alpha 4.3, for the
// object's life), its spectrum is evaluated on the requested frequency grid by
// the chirp-z transform and the squared magnitudes are averaged. Every
// setting may be automatic: Compute then derives it from the input and writes
// the value it used back, so the getters show what is in use.
#pragma once

#include "core/arrays/complex.h"

class CQCArrayTD;
class CQFArrayFD;
class CQDSPWindow;
class CQCZT;

class CQAvgSpectrum {
 public:
  static constexpr int kWindowShape = 8;
  static constexpr int kAutoNumAvgs = 100;

  CQAvgSpectrum();
  ~CQAvgSpectrum();
  CQAvgSpectrum(const CQAvgSpectrum&) = delete;
  CQAvgSpectrum& operator=(const CQAvgSpectrum&) = delete;

  // Not copied and not owned; it must not change during Compute.
  void SetInputData(CQCArrayTD* input) { input_ = input; }

  void SetAutoNumFreqs(bool on) { autoNumFreqs_ = on; }
  void SetAutoNumAvgs(bool on) { autoNumAvgs_ = on; }
  void SetAutoRBW(bool on) { autoRBW_ = on; }
  void SetAutoFreqLimits(bool on) { autoFreqLimits_ = on; }
  bool GetAutoNumFreqs() const { return autoNumFreqs_; }
  bool GetAutoNumAvgs() const { return autoNumAvgs_; }
  bool GetAutoRBW() const { return autoRBW_; }
  bool GetAutoFreqLimits() const { return autoFreqLimits_; }

  void SetNumFreqs(int n) { numFreqs_ = n; }
  void SetNumAvgs(int n) { numAvgs_ = n; }
  int GetNumFreqs() const { return numFreqs_; }
  int GetNumAvgs() const { return numAvgs_; }
  // Limits relative to the input's centre frequency.
  void SetFreqLimits(double start, double stop) {
    startFreq_ = start;
    stopFreq_ = stop;
  }
  double GetStartFreq() const { return startFreq_; }
  double GetStopFreq() const { return stopFreq_; }
  double GetFreqStep() const { return freqStep_; }
  void SetRBW(double rbw) { rbw_ = rbw; }
  double GetRBW() const { return rbw_; }
  // The RBW of the segment length used by the last computation.
  double GetActualRBW() const { return actualRBW_; }
  // The window's noise bandwidth at the input's rate, from the last Compute.
  double GetNBW() const { return nbw_; }
  // Segment length and hop (samples) of the last computation.
  int GetWindowLength() const { return windowLength_; }
  int GetHop() const { return hop_; }

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

  bool autoNumFreqs_ = true;
  bool autoNumAvgs_ = true;
  bool autoRBW_ = true;
  bool autoFreqLimits_ = true;
  int numFreqs_ = 0;
  int numAvgs_ = 0;
  double startFreq_ = 0.0;
  double stopFreq_ = 0.0;
  double freqStep_ = 0.0;
  double rbw_ = 0.0;
  double nbw_ = 0.0;
  double actualRBW_ = 0.0;
  int windowLength_ = 0;
  int hop_ = 0;
  int workCapacity_ = 0;
  CQComplex* work_ = nullptr;
  int binCapacity_ = 0;
  float* magSqr_ = nullptr;
  float* accum_ = nullptr;
  CQCArrayTD* input_ = nullptr;
  CQFArrayFD* result_ = nullptr;
  CQDSPWindow* window_ = nullptr;
  CQCZT* czt_ = nullptr;
};
