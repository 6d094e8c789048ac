// CWPlotSAWndw: the spectrum plot window of one transmitter. It keeps a copy
// of the waveform last transmitted, shows its averaged spectrum in dBm with
// the RBW and span notations, and runs at most one measurement on it: ACPR or
// power in a band, whose bands are drawn as hatched blocks and whose results
// stand under the plot (CWSpectrumModel). Its settings and measurements are
// chosen in CWPlotSADlg, CWACPRDlg and CWPiBDlg.
//
// Everything runs on the owning plot thread.
#pragma once

#include <cstdint>
#include <vector>

#include "plots/windows/spectrum_model.h"
#include "plots/windows/tool_window.h"

class CQCArrayTD;

class CWPlotSAWndw : public CWPlot2DToolWndw {
 public:
  static constexpr uint32_t kCmdSpectrumDialog = 36129;
  static constexpr uint32_t kCmdACPRDialog = 36130;
  static constexpr uint32_t kCmdPiBDialog = 36131;
  static constexpr uint32_t kCmdResetAveraging = 36132;

  // The averaged spectrum's settings as the spectrum dialog shows them.
  struct SpectrumSettings {
    bool autoFreqLimits = true;
    int numFreqs = 0;
    double startFreq = 0.0;  // Hz, from the centre frequency
    double stopFreq = 0.0;
    bool autoRBW = true;
    double rbw = 0.0;
    bool autoNumAvgs = true;
    int numAvgs = 0;
  };

  CWPlotSAWndw();
  ~CWPlotSAWndw() override;

  // Null or empty input: nothing changes. Otherwise copies it (no computing).
  void SetData(const CQCArrayTD* input);
  // The spectrum and the measurement that is on; errors are shown.
  void ComputeSpectrum();
  // Hands the spectrum to the plot and draws; errors are shown.
  void DrawPlot();
  void PaintACPR(lv::DeviceContext& dc);
  void PaintPiB(lv::DeviceContext& dc);
  // Clears the ACPR results or the power-in-band averaging (no redraw).
  void ResetMeasurementAveraging() { model_.ResetMeasurementAveraging(); }

  // What the dialogs' Accept does, also for callers without a dialog: the
  // settings written back, then computed and drawn; a measurement turned on
  // (refused with its message while the other one is on) or off.
  SpectrumSettings GetSpectrumSettings();
  void ApplySpectrumSettings(const SpectrumSettings& s);
  void ApplyACPR(bool on, const CQACPRMeasBands& bands);
  void ApplyPiB(bool on, const CQPiBMeasBandList& bands);

  void SnapMarkerToData() override;
  void OnWindowMessage(const lv::WindowMessage& m) override;
  void OnCommand(uint32_t id) override;
  std::vector<lv::MenuItem> BuildPopupMenu() override;

  CWSpectrumModel& Model() { return model_; }

 protected:
  void PaintOverlay(lv::DeviceContext& dc) override;

 private:
  void OnSpectrumDialog();
  void OnACPRDialog();
  void OnPiBDialog();
  void OnKeyDown(int32_t key);
  CWSampleMarker Marker() const;
  void SetMarker(const CWSampleMarker& m);

  CWSpectrumModel model_;
};
