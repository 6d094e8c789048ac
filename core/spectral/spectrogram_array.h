// CQAltTDSpgmArray: the grid of a spectrogram, rows (time points) of complex
// values over columns (frequency points), both axes uniform between their
// limits.
#pragma once

#include "core/arrays/complex.h"

class CQAltTDSpgmArray {
 public:
  CQAltTDSpgmArray() = default;
  ~CQAltTDSpgmArray();
  CQAltTDSpgmArray(const CQAltTDSpgmArray&) = delete;
  CQAltTDSpgmArray& operator=(const CQAltTDSpgmArray&) = delete;

  // rows x columns zero values; the same size as now keeps the values. A grid
  // larger than the allocator's limit fails with "Error allocating memory.".
  void SetSize(int rows, int columns);
  void SetTimeLimits(double start, double stop) {
    startTime_ = start;
    stopTime_ = stop;
  }
  void SetFreqLimits(double start, double stop) {
    startFreq_ = start;
    stopFreq_ = stop;
  }
  int GetNumRows() const { return numRows_; }
  int GetNumColumns() const { return numColumns_; }
  double GetStartTime() const { return startTime_; }
  double GetStopTime() const { return stopTime_; }
  double GetStartFreq() const { return startFreq_; }
  double GetStopFreq() const { return stopFreq_; }
  // Null before the first SetSize.
  CQComplex* GetDataPtr() { return values_; }
  CQComplex* GetRowPtr(int i);
  // The value nearest the time and frequency; the actual time and frequency
  // of that value are written where the pointers are not null. With clamp the
  // nearest row and column inside the grid are taken; without it a point
  // outside fails. An axis with one point answers that point (exactly at it
  // without clamp, anywhere with clamp).
  CQComplex GetValue(double time, double freq, double* actualTime, double* actualFreq, bool clamp);

 private:
  int numRows_ = 0;
  int numColumns_ = 0;
  double startTime_ = 0.0;
  double stopTime_ = 0.00001;
  double startFreq_ = -1000000.0;
  double stopFreq_ = 1000000.0;
  CQComplex* values_ = nullptr;
};
