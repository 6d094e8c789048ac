// The spectrogram window's settings dialog: fills CWPlotSpgmDlg with the
// window's values and reads back what was accepted. (Kept apart from the
// window's drawing and file commands: the dialog controls and the common
// message boxes each name the standard button ids.)
#include "plots/windows/spgm_dlg.h"
#include "plots/windows/spgm_window.h"

bool CWPlotSpgmWndw::RunSettingsDialog(const CWPlotSpgmSettings& current, CWPlotSpgmSettings& result) {
  CWPlotSpgmDlg dlg;
  dlg.autoTimeRange = current.autoTimeRange;
  dlg.timeRange = current.timeRange;
  dlg.autoFreqRange = current.autoFreqRange;
  dlg.startFreq = current.startFreq;
  dlg.stopFreq = current.stopFreq;
  dlg.autoRBW = current.autoRBW;
  dlg.rbw = current.rbw;
  dlg.windowShape = current.windowShape;
  dlg.minPower = current.minPower;
  dlg.maxPower = current.maxPower;
  dlg.colorMapType = current.colorMapType;
  // Only Accept applies: Cancel, Escape and the close box answer 0.
  if (dlg.DoModal() != 1) return false;
  result.autoTimeRange = dlg.autoTimeRange;
  result.timeRange = dlg.timeRange;
  result.autoFreqRange = dlg.autoFreqRange;
  result.startFreq = dlg.startFreq;
  result.stopFreq = dlg.stopFreq;
  result.autoRBW = dlg.autoRBW;
  result.rbw = dlg.rbw;
  result.windowShape = dlg.windowShape;
  result.minPower = dlg.minPower;
  result.maxPower = dlg.maxPower;
  result.colorMapType = dlg.colorMapType;
  return true;
}
