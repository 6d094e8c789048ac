// CWPlotSpgm: the spectrogram engine of the spectrogram window. It keeps its
// own copy of the waveform, runs the spectrogram computation (CQAltTDSpgm)
// over it and turns the complex time x frequency grid into the colour image
// of a CWBitmap, one row per time, one column per frequency. The window
// decides every range and size, sets the fields directly and then calls
// SetNumPoints (on layout), SetInputData, ComputeSpgm and DrawSpgm; it
// paints the bitmap itself. Runs on the spectrogram plot thread.
#pragma once

#include "plots/color_map.h"
#include "plots/spgm_bitmap.h"

class CQAltTDSpgm;
class CQCArrayTD;

class CWPlotSpgm {
 public:
  CWPlotSpgm();
  ~CWPlotSpgm();
  CWPlotSpgm(const CWPlotSpgm&) = delete;
  CWPlotSpgm& operator=(const CWPlotSpgm&) = delete;

  // rows <= 0: "Invalid number of time points."; columns <= 0: "Invalid
  // number of frequency points.". The current size keeps the last
  // computation; a new one sizes the grid and the bitmap (black) and needs a
  // new ComputeSpgm.
  void SetNumPoints(int rows, int columns);
  // Copies the waveform (null: "Null pointer to input data.") and takes its
  // centre frequency.
  void SetInputData(const CQCArrayTD* input);
  // The spectrogram of the copy with the fields' settings; nothing without
  // input samples.
  void ComputeSpgm();
  // Colours every row of the last computation with the current power range
  // and colour map; nothing before a computation. Bitmap rows that the grid
  // does not reach are left black.
  void DrawSpgm();

  CWBitmap& GetBitmap() { return *bitmap_; }
  CWColorMap& GetColorMap() { return *colorMap_; }
  CQAltTDSpgm& GetSpectrogram() { return *spgm_; }
  const CQCArrayTD* GetInput() const { return input_; }

  // Settings and results, read and written by the window.
  bool autoFreqRange = true;
  bool autoRBW = true;
  bool computed = false;
  bool drawn = false;
  bool oneSampleStep = true;
  int rows = 0;
  int columns = 0;
  float minPower = -50.0f;
  float maxPower = 10.0f;
  double timeRange = 1e-4;
  double startFreq = 0.0;
  double stopFreq = 0.0;
  double rbw = 10000.0;
  double centerFreq = 0.0;
  double startTime = 0.0;
  double stopTime = 0.0;
  double timeSpan = 0.0;
  int windowShape = 7;

 private:
  CQCArrayTD* input_ = nullptr;
  CWBitmap* bitmap_ = nullptr;
  CWColorMap* colorMap_ = nullptr;
  CQAltTDSpgm* spgm_ = nullptr;
};
