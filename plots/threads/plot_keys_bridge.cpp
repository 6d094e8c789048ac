// The plot UI classes reach their window kind's keys (plot_settings_keys.h)
// through one overloaded pair, so each UI class's SaveSettings and
// RecallSettings read the same.
#include "plots/threads/plot_keys_bridge.h"

#include "plots/threads/plot_settings_keys.h"

void SaveWindowKeys(CWPlotCTDWndw& w, const std::wstring& prefix, CQAppSettings& s) {
  SavePlotTDSettings(w, prefix, s);
}
void RecallWindowKeys(CWPlotCTDWndw& w, const std::wstring& prefix, CQAppSettings& s) {
  RecallPlotTDSettings(w, prefix, s);
}
void SaveWindowKeys(CWPlotSAWndw& w, const std::wstring& prefix, CQAppSettings& s) {
  SavePlotSpectrumSettings(w, prefix, s);
}
void RecallWindowKeys(CWPlotSAWndw& w, const std::wstring& prefix, CQAppSettings& s) {
  RecallPlotSpectrumSettings(w, prefix, s);
}
void SaveWindowKeys(CWPlotPersSpecWndw& w, const std::wstring& prefix, CQAppSettings& s) {
  SavePlotPersSpecSettings(w, prefix, s);
}
void RecallWindowKeys(CWPlotPersSpecWndw& w, const std::wstring& prefix, CQAppSettings& s) {
  RecallPlotPersSpecSettings(w, prefix, s);
}
void SaveWindowKeys(CWPlotSpgmWndw& w, const std::wstring& prefix, CQAppSettings& s) {
  SavePlotSpgmSettings(w, prefix, s);
}
void RecallWindowKeys(CWPlotSpgmWndw& w, const std::wstring& prefix, CQAppSettings& s) {
  RecallPlotSpgmSettings(w, prefix, s);
}
