// Spectra: CQFArrayFD (power per frequency bin with its frequency axis and
// bandwidths) and CQFArrayFDList (a counted list of them).
#pragma once

#include <vector>

#include "core/arrays/farray.h"

class CQFArrayFD : public CQFArray {
 public:
  using CQFArray::Set;
  void Set(const float* values, int n, double startFreq, double freqStep, double spectrumTime);
  void Set(const CQFArrayFD* other);
  void SetFreqAxis(double startFreq, double freqStep);
  void SetCenterFreq(double v) { centerFreq_ = v; }
  void SetRBW(double v) { rbw_ = v; }
  void SetNBW(double v) { nbw_ = v; }

  double GetStartFreq() const { return startFreq_; }
  double GetStopFreq() const { return stopFreq_; }
  double GetFreqStep() const { return freqStep_; }
  double GetSpectrumTime() const { return spectrumTime_; }
  double GetCenterFreq() const { return centerFreq_; }
  double GetRBW() const { return rbw_; }
  double GetNBW() const { return nbw_; }

  // The frequency of every value: offset + start + i * step. Owned by the caller.
  CQDArray* MakeCopyOfFreq() const;

 private:
  double startFreq_ = 0.0;
  double stopFreq_ = 0.0;
  double freqStep_ = 0.0;
  double spectrumTime_ = 0.0;
  double centerFreq_ = 0.0;
  double rbw_ = 0.0;
  double nbw_ = 0.0;
};

class CQFArrayFDList {
 public:
  explicit CQFArrayFDList(int numItems = 0);
  ~CQFArrayFDList();
  CQFArrayFDList(const CQFArrayFDList&) = delete;
  CQFArrayFDList& operator=(const CQFArrayFDList&) = delete;

  // Rebuilds the list with that many new, empty items (the same count changes nothing).
  void SetNumItems(int numItems);
  int GetNumItems() const { return static_cast<int>(items_.size()); }
  // Copies item into the list's item at index.
  void SetItem(int index, const CQFArrayFD* item);
  // The list keeps ownership.
  CQFArrayFD* GetItem(int index);

 private:
  void Release();
  std::vector<CQFArrayFD*> items_;
};
