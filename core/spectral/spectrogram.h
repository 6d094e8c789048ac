// CQAltTDSpgm: the spectrogram of a waveform. Each row is the chirp-z
// transform of one windowed segment of odd length, centred on the row's time,
// evaluated on a fixed frequency grid; the rows are complex transform outputs
// (not levels) in the CQAltTDSpgmArray part.
#pragma once

#include "core/arrays/complex.h"
#include "core/spectral/spectrogram_array.h"

class CQCArrayTD;
class CQDSPWindow;

class CQAltTDSpgm : public CQAltTDSpgmArray {
 public:
  static constexpr int kDefaultWindowShape = 7;

  CQAltTDSpgm();
  ~CQAltTDSpgm();

  // autoTimeRange: a row at every input sample; otherwise the row increment
  // follows from the desired time range. desiredRows caps the rows computed.
  // Frequencies are relative to the input's centre frequency.
  void SetParameters(bool autoTimeRange, int desiredRows, int numFreqPoints, double startFreq, double stopFreq,
                     double desiredTimeRange, double rbw);
  void SetDSPWindowShape(int shape);
  // Copies the samples.
  void SetInputData(const CQCArrayTD* input);
  void SetInputData(const CQComplex* samples, int n, double sampleRate, double timeOrigin, double centerFreq);

  // Samples between rows so that desiredRows rows span the time range: at
  // least 1 (and 1 for a single row).
  static int CalcTimeStepIncrement(int desiredRows, double timeRange, double sampleRate);

  // Derives the layout (segment length, row increment, rows, row times,
  // frequency limits) and sizes the grid, without transforming.
  void ResolveLayout();
  // Fills every row.
  void Compute();

  int GetDSPWindowShape() const { return windowShape_; }
  int GetSegmentLength() const { return segmentLength_; }
  int GetRowIncrement() const { return rowIncrement_; }
  float GetWindowCenterValue() const { return windowCenterValue_; }
  double GetActualRBW() const { return actualRBW_; }
  double GetTimeResolution() const { return timeResolution_; }
  double GetInputCenterFreq() const { return inputCenterFreq_; }

 private:
  void Layout();

  bool autoTimeRange_ = true;
  int numInputPoints_ = 0;
  int rowIncrement_ = 1;
  int desiredRows_ = 0;
  int numFreqPoints_ = 0;
  int segmentLength_ = 0;
  float windowCenterValue_ = 0.0f;
  int windowShape_ = kDefaultWindowShape;
  double inputSampleRate_ = 0.0;
  double inputTimeOrigin_ = 0.0;
  double inputCenterFreq_ = 0.0;
  double reqStartFreq_ = 0.0;
  double reqStopFreq_ = 0.0;
  double desiredTimeRange_ = 0.0;
  double rbw_ = 0.0;
  double actualRBW_ = 0.0;
  double timeResolution_ = 0.0;
  CQComplex* input_ = nullptr;
  CQDSPWindow* window_ = nullptr;
};
