// CQSegmentedSpectrum: what the averaged spectrum and the multi-spectrum share.
//
// Both cut a waveform into overlapping segments whose length follows from the
// resolution bandwidth, window each segment (Gaussian, alpha 4.3, for the
// object's life) and evaluate its spectrum on the requested frequency grid by
// the chirp-z transform. Every setting may be automatic: resolving derives it
// from the input and writes the value it used back, so the getters show what
// is in use. The derived classes add the segment count and what they make of
// each segment's spectrum.
#pragma once

#include "core/arrays/complex.h"

class CQCArrayTD;
class CQDSPWindow;
class CQCZT;

class CQSegmentedSpectrum {
 public:
  static constexpr int kWindowShape = 8;

  CQSegmentedSpectrum(const CQSegmentedSpectrum&) = delete;
  CQSegmentedSpectrum& operator=(const CQSegmentedSpectrum&) = delete;

  // Not copied and not owned; it must not change during Compute.
  void SetInputData(CQCArrayTD* input) { input_ = input; }

  void SetAutoNumFreqs(bool on) { autoNumFreqs_ = on; }
  void SetAutoRBW(bool on) { autoRBW_ = on; }
  void SetAutoFreqLimits(bool on) { autoFreqLimits_ = on; }
  bool GetAutoNumFreqs() const { return autoNumFreqs_; }
  bool GetAutoRBW() const { return autoRBW_; }
  bool GetAutoFreqLimits() const { return autoFreqLimits_; }

  void SetNumFreqs(int n) { numFreqs_ = n; }
  int GetNumFreqs() const { return numFreqs_; }
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
  // Segment length and hop (samples) of the last computation.
  int GetWindowLength() const { return windowLength_; }
  int GetHop() const { return hop_; }

 protected:
  CQSegmentedSpectrum();
  ~CQSegmentedSpectrum();

  // Checks the input and resolves the frequency limits, the RBW, the segment
  // length and the bins; returns the input's number of points. Automatic
  // limits are the input's band around its centre (the whole rate when it has
  // none; a negative bandwidth counts as none rather than giving reversed
  // limits); with `fromZeroWhenInvalid` an input marked not valid gets 0 up
  // to its band (half the rate when it has none) instead.
  int ResolveGrid(bool fromZeroWhenInvalid);
  // The hop that spreads `count` segments over n samples, the last ending at
  // or before sample n: count is at least 1, and lowered when the segments
  // would have to start less than one sample apart.
  void ResolveHop(int n, int& count);
  // Sizes the window, the transform and the work buffer (which only grows)
  // for the resolved segment length and bins.
  void PrepareSegments();
  // Copies the segment starting at `from`, windows it and transforms it;
  // returns the transform's output (GetNumFreqs() bins).
  const CQComplex* TransformSegment(const CQComplex* from);

  bool autoNumFreqs_ = true;
  bool autoRBW_ = true;
  bool autoFreqLimits_ = true;
  int numFreqs_ = 0;
  double startFreq_ = 0.0;
  double stopFreq_ = 0.0;
  double freqStep_ = 0.0;
  double rbw_ = 0.0;
  double actualRBW_ = 0.0;
  int windowLength_ = 0;
  int hop_ = 0;
  int workCapacity_ = 0;
  CQComplex* work_ = nullptr;
  CQCArrayTD* input_ = nullptr;
  CQDSPWindow* window_ = nullptr;
  CQCZT* czt_ = nullptr;
};
