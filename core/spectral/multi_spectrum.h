// CQMultiSpectrum: one spectrum per segment of a waveform, in dBm, without
// averaging, for the persistence display. The waveform is cut into a given
// number of equally spaced segments; segment length, window (Gaussian, alpha
// 4.3), frequency grid and transform are chosen as in CQAvgSpectrum. Each
// bin reads 20 log10(|X| + c) + 10 dBm: a complex tone of amplitude 1 reads
// +10 dBm, an empty bin about -192.76 dBm.
#pragma once

#include "core/arrays/complex.h"

class CQCArrayTD;
class CQFArrayFD;
class CQFArrayFDList;
class CQDSPWindow;
class CQCZT;

class CQMultiSpectrum {
 public:
  static constexpr int kWindowShape = 8;

  CQMultiSpectrum();
  ~CQMultiSpectrum();
  CQMultiSpectrum(const CQMultiSpectrum&) = delete;
  CQMultiSpectrum& operator=(const CQMultiSpectrum&) = delete;

  // Not copied and not owned.
  void SetInputData(CQCArrayTD* input) { input_ = input; }
  void SetAutoNumFreqs(bool on) { autoNumFreqs_ = on; }
  void SetAutoRBW(bool on) { autoRBW_ = on; }
  void SetAutoFreqLimits(bool on) { autoFreqLimits_ = on; }
  void SetNumFreqs(int n) { numFreqs_ = n; }
  void SetNumSpectra(int n) { numSpectra_ = n; }
  void SetFreqLimits(double start, double stop) {
    startFreq_ = start;
    stopFreq_ = stop;
  }
  void SetRBW(double rbw) { rbw_ = rbw; }

  double GetRBW() const { return rbw_; }
  double GetActualRBW() const { return actualRBW_; }
  double GetStartFreq() const { return startFreq_; }
  double GetStopFreq() const { return stopFreq_; }
  double GetFreqStep() const { return freqStep_; }
  int GetNumFreqs() const { return numFreqs_; }
  // After Compute: the number of spectra made (possibly corrected).
  int GetNumSpectra() const { return numSpectra_; }
  // Segment length and hop (samples) of the last computation.
  int GetWindowLength() const { return windowLength_; }
  int GetHop() const { return hop_; }
  // Owned by the object; null before the first Compute; the list object stays
  // for the object's life, its items until the next Compute.
  CQFArrayFDList* GetSpectra() { return spectra_; }

  // Derives and stores the settings as Compute does, without transforming.
  void ResolveSettings();
  void Compute();

 private:
  void Resolve();

  bool autoNumFreqs_ = true;
  bool autoRBW_ = true;
  bool autoFreqLimits_ = true;
  int numFreqs_ = 0;
  int numSpectra_ = 0;
  double startFreq_ = 0.0;
  double stopFreq_ = 0.0;
  double freqStep_ = 0.0;
  double rbw_ = 0.0;
  double actualRBW_ = 0.0;
  int windowLength_ = 0;
  int hop_ = 0;
  int workCapacity_ = 0;
  CQComplex* work_ = nullptr;
  int binCapacity_ = 0;
  float* levels_ = nullptr;
  CQCArrayTD* input_ = nullptr;
  CQFArrayFD* template_ = nullptr;
  CQFArrayFDList* spectra_ = nullptr;
  CQDSPWindow* window_ = nullptr;
  CQCZT* czt_ = nullptr;
};
