// CWPlotSADlg: the "Spectrum Analyzer" dialog of the spectrum window (template
// "SpectrumDialog"): frequency range, number of frequencies, resolution
// bandwidth and averaging of the averaged spectrum.
//
// Use: construct, set the public fields to the window's current values,
// DoModal, and when it answers 1 read the fields back. Every end other than
// "Accept" (the "Cancel" button, Escape, the close box) answers 0 and leaves
// the fields as they were set. Frequencies are in hertz; start and stop are
// offsets from the waveform's centre frequency. The dialog checks no ranges;
// a field whose text holds no number keeps the value it showed.
#pragma once

#include "plots/windows/settings_dlg_fields.h"

// Control ids of "SpectrumDialog".
enum : int {
  kIdcSAAutoRBW = 1021,
  kIdcSAAutoFreqRange = 1022,
  kIdcSAAutoNumAvgs = 1023,
  kIdcSAAccept = 1024,
  kIdcSACancel = 1027,
  kIdcSAStop = 1030,
  kIdcSAStopUnits = 1033,
  kIdcSAStart = 1036,
  kIdcSAStartUnits = 1037,
  kIdcSANumFreqs = 1038,
  kIdcSANumAvgs = 1039,
  kIdcSARBW = 1040,
  kIdcSARBWUnits = 1044,
};

lv::DialogTemplate SpectrumDialogTemplate();

class CWPlotSADlg : public CWPlotSettingsDlgBase {
 public:
  CWPlotSADlg();
  ~CWPlotSADlg() override;

  bool autoFreqRange = true;
  bool autoRBW = true;
  bool autoNumAvgs = true;
  int numFreqs = 0;
  int numAvgs = 0;
  double startFreq = 0.0;  // Hz
  double stopFreq = 0.0;   // Hz
  double rbw = 0.0;        // Hz

  CWUnitsButton& StartUnits() { return span_.StartUnits(); }
  CWUnitsButton& StopUnits() { return span_.StopUnits(); }
  CWUnitsButton& RBWUnits() { return span_.RBWUnits(); }

 protected:
  bool OnInitDialog() override;
  // Writes the fields into the controls (texts of a group before its boxes).
  void OnShowWindow();
  void OnAccept() override;

 private:
  lv_plot_dlg::SpanFields span_;
};
