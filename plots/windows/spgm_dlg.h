// CWPlotSpgmDlg: the "Spectrogram Settings" dialog of the spectrogram window
// (template "SpgmDialog"): time range, frequency range, resolution bandwidth,
// analysis window, power scale and colour map.
//
// Use: construct, set the public fields to the window's current values,
// DoModal, and when it answers 1 read the fields back. Every end other than
// "Accept" (the "Cancel" button, Escape, the close box) answers 0; the
// fields then hold no new settings to apply (a refused Accept may have
// stored the entries before the refused one). Times are in seconds,
// frequencies in hertz, powers in dBm; the window shape is its code (1
// rectangular, 6, 7, 8 Gaussian with -50, -70, -100 dB sidelobes) and the
// colour map its CWColorMap type (0 rainbow, 1 grayscale).
//
// Accept checks every text: a text without a number, a time range or
// resolution bandwidth that is not above 0, a stop frequency below the
// start, or a minimum power not below the maximum is refused with an
// information message and the dialog stays open.
#pragma once

#include <memory>

#include "plots/windows/settings_dlg_fields.h"

// Control ids of "SpgmDialog".
enum : int {
  kIdcSpgmTimeRange = 1249,
  kIdcSpgmTimeRangeUnits = 1250,
  kIdcSpgmAccept = 1252,
  kIdcSpgmCancel = 1253,
  kIdcSpgmStart = 1254,
  kIdcSpgmStartUnits = 1255,
  kIdcSpgmStop = 1256,
  kIdcSpgmStopUnits = 1257,
  kIdcSpgmAutoFreqRange = 1258,
  kIdcSpgmRBW = 1259,
  kIdcSpgmRBWUnits = 1260,
  kIdcSpgmAutoRBW = 1261,
  kIdcSpgmMaxPower = 1262,
  kIdcSpgmMinPower = 1263,
  kIdcSpgmColors = 1264,
  kIdcSpgmAutoTimeRange = 1265,
  kIdcSpgmWindow = 1266,
};

lv::DialogTemplate SpgmDialogTemplate();

class CWPlotSpgmDlg : public CWPlotSettingsDlgBase {
 public:
  CWPlotSpgmDlg();
  ~CWPlotSpgmDlg() override;

  bool autoTimeRange = true;
  double timeRange = 1e-4;  // s
  bool autoFreqRange = true;
  double startFreq = -1e6;  // Hz
  double stopFreq = 1e6;    // Hz
  bool autoRBW = true;
  double rbw = 100000.0;  // Hz
  int windowShape = 7;
  float minPower = -100.0f;  // dBm
  float maxPower = 0.0f;     // dBm
  int colorMapType = 0;

  CWUnitsButton& TimeRangeUnits() { return *timeUnits_; }
  CWUnitsButton& StartUnits() { return span_.StartUnits(); }
  CWUnitsButton& StopUnits() { return span_.StopUnits(); }
  CWUnitsButton& RBWUnits() { return span_.RBWUnits(); }

  // The message that refuses a minimum power not below the maximum.
  static const wchar_t* const kPowerOrderMessage;

 protected:
  bool OnInitDialog() override;
  void OnShowWindow();
  void OnAccept() override;

 private:
  std::unique_ptr<CWUnitsButton> timeUnits_;
  lv_plot_dlg::SpanFields span_;
};
