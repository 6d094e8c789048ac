// CWPlotPersSpecDlg: the "Persistence Spectrum" settings dialog of the
// persistence-spectrum window (template "PersSpecDialog"): frequency range,
// resolution bandwidth, power scale, persistence, spectra per waveform and
// the trace overlay.
//
// Use: construct, set the public fields to the window's current values,
// DoModal, and when it answers 1 read the fields back. Every end other than
// "Accept" (the "Cancel" button, Escape, the close box) answers 0 and leaves
// the fields as they were set. Frequencies are in hertz, powers in dBm;
// persistence type 0 "Infinite", 1 "Slow decay", 2 "Medium decay", 3 "Fast
// decay". The dialog checks no ranges; a text without a number keeps the
// value that was shown.
#pragma once

#include "plots/windows/settings_dlg_fields.h"

// Control ids of "PersSpecDialog".
enum : int {
  kIdcPersNumSpectra = 1231,
  kIdcPersAutoFreqRange = 1232,
  kIdcPersStart = 1233,
  kIdcPersStartUnits = 1234,
  kIdcPersStop = 1235,
  kIdcPersStopUnits = 1236,
  kIdcPersAutoRBW = 1238,
  kIdcPersRBW = 1239,
  kIdcPersRBWUnits = 1240,
  kIdcPersAccept = 1241,
  kIdcPersCancel = 1242,
  kIdcPersMaxPower = 1243,
  kIdcPersMinPower = 1244,
  kIdcPersPersistence = 1245,
  kIdcPersOverlay = 1246,
};

lv::DialogTemplate PersSpecDialogTemplate();

class CWPlotPersSpecDlg : public CWPlotSettingsDlgBase {
 public:
  CWPlotPersSpecDlg();
  ~CWPlotPersSpecDlg() override;

  bool autoFreqRange = true;
  bool autoRBW = true;
  bool overlayTrace = true;
  int spectraPerInput = 0;
  float minPower = -100.0f;  // dBm
  float maxPower = 0.0f;     // dBm
  double startFreq = 0.0;    // Hz
  double stopFreq = 0.0;     // Hz
  double rbw = 0.0;          // Hz
  int persistenceType = 1;

  CWUnitsButton& StartUnits() { return span_.StartUnits(); }
  CWUnitsButton& StopUnits() { return span_.StopUnits(); }
  CWUnitsButton& RBWUnits() { return span_.RBWUnits(); }

 protected:
  bool OnInitDialog() override;
  void OnShowWindow();
  void OnAccept() override;

 private:
  lv_plot_dlg::SpanFields span_;
};
