// The settings command of the persistence-spectrum window. Kept apart from
// the window's other code: the dialog layer's headers and the message-box
// header both define the dialog result ids, so one file cannot include both.
#include "plots/windows/pers_spec_dlg.h"
#include "plots/windows/pers_spec_wndw.h"

void CWPlotPersSpecWndw::DoSettingsDialog() {
  CWPersSpecSettings s = GetSettings();
  CWPlotPersSpecDlg dlg;
  dlg.autoFreqRange = s.autoFreqRange;
  dlg.autoRBW = s.autoRBW;
  dlg.overlayTrace = s.overlayTrace;
  dlg.spectraPerInput = s.spectraPerInput;
  dlg.minPower = s.minPower;
  dlg.maxPower = s.maxPower;
  dlg.startFreq = s.startFreq;
  dlg.stopFreq = s.stopFreq;
  dlg.rbw = s.rbw;
  dlg.persistenceType = s.persistenceType;
  if (dlg.DoModal() == 0) {
    return;  // Cancel, Escape and the close box apply nothing
  }
  s.autoFreqRange = dlg.autoFreqRange;
  s.autoRBW = dlg.autoRBW;
  s.overlayTrace = dlg.overlayTrace;
  s.spectraPerInput = dlg.spectraPerInput;
  s.minPower = dlg.minPower;
  s.maxPower = dlg.maxPower;
  s.startFreq = dlg.startFreq;
  s.stopFreq = dlg.stopFreq;
  s.rbw = dlg.rbw;
  s.persistenceType = dlg.persistenceType;
  ApplySettings(s);
}
