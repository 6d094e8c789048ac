// CWSpectrumModel: what the spectrum window computes and shows, apart from the
// window itself: the held copy of the input, its averaged spectrum in dBm, the
// ACPR and power-in-band measurements on the averaged spectrum (at most one
// of them on), the hatched blocks of their bands, the texts under the plot,
// the RBW and span notations, and the marker on the frequency grid.
//
// The measurements are the signal core's (CQACPRMeasurement, CQPiBMeasurement
// over the linear spectrum of CQAvgSpectrum); nothing is measured here.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "core/arrays/carray.h"
#include "core/arrays/farray_fd.h"
#include "core/spectral/acpr.h"
#include "core/spectral/avg_spectrum.h"
#include "core/spectral/power_in_band.h"
#include "plots/windows/sample_marker.h"

class CWPlot2D;
namespace lv {
class DeviceContext;
}

class CWSpectrumModel {
 public:
  // Extra bottom margin (pixels) for the measurement texts.
  static constexpr int32_t kMeasurementMargin = 36;
  static constexpr int32_t kNumPiBBands = 2;

  // The averaged spectrum's settings: automatic limits, 501 bins, automatic
  // RBW, automatic averages of 100.
  CWSpectrumModel();
  // The plot's start: vertical range -80..20 dBm with auto-scaling off.
  static void ConfigurePlot(CWPlot2D& plot);
  CWSpectrumModel(const CWSpectrumModel&) = delete;
  CWSpectrumModel& operator=(const CWSpectrumModel&) = delete;

  // The notations of a resolution bandwidth and a span.
  static std::wstring RBWNotation(double rbw);
  static std::wstring SpanNotation(double span);

  // Null or empty input: nothing changes. Otherwise the held copy (made on
  // first use, then reused) takes the input's samples and attributes.
  void SetData(const CQCArrayTD* input);
  const CQCArrayTD* Input() const { return input_.get(); }

  // The averaged spectrum of the held input in dBm, the marker snapped to it
  // (when given), the plot's blocks rebuilt and the measurement that is on
  // computed. False without input or result. The title names the ACPR band set.
  bool ComputeSpectrum(CWPlot2D& plot, const wchar_t* title, CWSampleMarker* marker);
  // Hands the spectrum, axis types and notations to the plot; false without a
  // spectrum. Horizontal auto-scaling is turned on.
  bool BuildPlot(CWPlot2D& plot) const;
  // Rebuilds the background blocks of the measurement that is on.
  void RebuildBlocks(CWPlot2D& plot) const;

  // The texts under the plot (nothing when the measurement is off).
  void PaintACPR(lv::DeviceContext& dc, const CWPlot2D& plot) const;
  void PaintPiB(lv::DeviceContext& dc, const CWPlot2D& plot);

  void SnapMarker(CWSampleMarker& marker) const;
  // Arrow-key step on the frequency grid; false without a spectrum.
  bool StepMarker(CWSampleMarker& marker, int32_t step) const;

  // The measurement dialogs' results (the window opens a dialog only while
  // the other measurement is off; otherwise these refuse with its message and
  // change nothing). Blocks cleared; on: the extra bottom margin and the
  // dialog's bands with their averaging cleared (the caller then computes and
  // draws); off: the automatic margin, the dialog's bands dropped.
  void ApplyACPR(CWPlot2D& plot, bool on, const CQACPRMeasBands& bands);
  void ApplyPiB(CWPlot2D& plot, bool on, const CQPiBMeasBandList& bands);
  // Clears the averaging of the measurement that is on.
  void ResetMeasurementAveraging();

  bool acprOn = false;
  bool pibOn = false;

  CQAvgSpectrum& AvgSpectrum() { return avg_; }
  const CQFArrayFD* Spectrum() const { return spectrum_.get(); }
  CQACPRMeasBands& ACPRBands() { return acprBands_; }
  CQPiBMeasBandList& PiBBands() { return pibBands_; }

  static constexpr const char* kACPRRefused =
      "You must turn off Power in a Band measurements before performing ACPR measurements.";
  static constexpr const char* kPiBRefused =
      "You must turn off ACPR measurements before performing Power in a Band measurements.";

 private:
  bool HasSpectrum() const;

  std::unique_ptr<CQCArrayTD> input_;
  std::unique_ptr<CQFArrayFD> spectrum_;
  CQAvgSpectrum avg_;
  CQACPRMeasBands acprBands_;
  CQACPRMeasurement acprMeas_;
  CQPiBMeasBandList pibBands_{kNumPiBBands};
  CQPiBMeasurement pibMeas_;
};
