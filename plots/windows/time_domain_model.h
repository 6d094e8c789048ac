// CWTimeDomainModel: what the time-domain window knows of its waveform and
// does with it, apart from the window itself: the held copy of the input, the
// six plot types and the datasets each gives the plot engine, the marker that
// snaps to samples and steps with the arrow keys, the plot-type aware memory
// saves, and saving the held waveform as an IQ file.
//
// Plot types (axis type codes of CQAxisScale):
//   0 "Log Mag vs Time"                 times / magnitude in dBm      x 0, y 13
//   1 "Phase vs Time"                   times / phase in degrees      x 0, y 14
//   2 "Unwrapped Phase vs Time"         times / unwrapped phase       x 0, y 14
//   3 "Deriv Unwrapped Phase vs Time"   times / its derivative in Hz  x 0, y 2
//   4 "Q vs I"                          real / imaginary parts        x 6, y 7
//   5 "I && Q vs Time"                  times / I and times / Q       x 0, y 10
// Without I/Q naming, 4 and 5 read "Imaginary vs Real" (x 8, y 9) and
// "Real && Imaginary vs Time".
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "core/arrays/carray.h"
#include "plots/windows/sample_marker.h"

class CWPlot2D;

class CWTimeDomainModel {
 public:
  static constexpr int32_t kNumPlotTypes = 6;
  static constexpr int32_t kFirstPlotTypeCommand = 36116;

  CWTimeDomainModel() = default;
  CWTimeDomainModel(const CWTimeDomainModel&) = delete;
  CWTimeDomainModel& operator=(const CWTimeDomainModel&) = delete;

  // The popup text of a plot type ("&&" shows one ampersand); "" outside 0..5.
  static std::wstring PlotTypeText(int32_t type, bool iqNaming);

  // Frees the held copy; keeps a copy of an input with samples.
  void SetData(const CQCArrayTD* input);
  // Frees the held copy; the input count stays.
  void FreeInput() { input_.reset(); }
  bool HasInput() const { return inputCount != 0 && input_ && input_->GetDataPtr() != nullptr && input_->GetNumPoints() > 0; }
  const CQCArrayTD* Input() const { return input_.get(); }

  // Hands the datasets, labels, legend and axis types of the current plot type
  // to the plot. False (the plot untouched) without input or for a type
  // outside 0..5. Temporaries are freed on every path.
  bool BuildDatasets(CWPlot2D& plot);

  // Moves an on marker to the nearest sample of dataset 1 and reads its
  // value(s); turns it off in "Q vs I", without samples or outside them.
  void SnapMarker(const CWPlot2D& plot, CWSampleMarker& marker) const;
  // Arrow-key step (-1 or +1), clamped to the first and last sample. False
  // when nothing moved because there are no samples.
  bool StepMarker(const CWPlot2D& plot, CWSampleMarker& marker, int32_t step) const;

  // The memory saves; true when something was copied (and shown).
  bool SaveMemory1(CWPlot2D& plot) const;
  bool SaveMemory2(CWPlot2D& plot) const;

  // Writes the whole held input to path (see plots/windows/iq_save.h);
  // plotHasData false or no input: "There is no IQ data to save.".
  void SaveIQDataToFile(const wchar_t* path, bool plotHasData) const;

  bool iqNaming = false;
  int32_t inputCount = 0;
  double timeOrigin = 0.0;
  double sampleInterval = 0.0;
  int32_t plotType = 0;

 private:
  void ReadMarkerValues(const CWPlot2D& plot, CWSampleMarker& marker, int64_t k) const;

  std::unique_ptr<CQCArrayTD> input_;
};
