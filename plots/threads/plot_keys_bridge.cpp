// The common keys of every plot window (Visible, Window rect), until the
// kinds' full key sets take their place.
#include "plots/threads/plot_keys_bridge.h"

#include "core/error.h"
#include "platform/gui/window.h"
#include "plots/windows/pers_spec_wndw.h"
#include "plots/windows/spectrum_window.h"
#include "plots/windows/spgm_window.h"
#include "plots/windows/time_domain_window.h"
#include "workers/settings_file.h"

namespace {

void RequirePrefix(const std::wstring& prefix) {
  if (prefix.empty()) {
    throw new CQError("Programming error: Settings prefix string not set.");
  }
}

void SaveCommon(lv::ChildWindow* window, const std::wstring& prefix, CQAppSettings& s) {
  RequirePrefix(prefix);
  const bool visible = window != nullptr && window->IsVisible();
  const lv::Rect g = window != nullptr ? window->Geometry() : lv::Rect{};
  s.SetValue((prefix + L"Visible").c_str(), visible);
  s.SetValue((prefix + L"Window rect").c_str(), CWRect{g.left, g.top, g.right, g.bottom});
}

void RecallCommon(const std::wstring& prefix) { RequirePrefix(prefix); }

}  // namespace

void SaveWindowKeys(CWPlotCTDWndw& w, const std::wstring& prefix, CQAppSettings& s) {
  SaveCommon(w.Window(), prefix, s);
}
void RecallWindowKeys(CWPlotCTDWndw&, const std::wstring& prefix, CQAppSettings&) { RecallCommon(prefix); }
void SaveWindowKeys(CWPlotSAWndw& w, const std::wstring& prefix, CQAppSettings& s) {
  SaveCommon(w.Window(), prefix, s);
}
void RecallWindowKeys(CWPlotSAWndw&, const std::wstring& prefix, CQAppSettings&) { RecallCommon(prefix); }
void SaveWindowKeys(CWPlotPersSpecWndw& w, const std::wstring& prefix, CQAppSettings& s) {
  SaveCommon(w.Window(), prefix, s);
}
void RecallWindowKeys(CWPlotPersSpecWndw&, const std::wstring& prefix, CQAppSettings&) { RecallCommon(prefix); }
void SaveWindowKeys(CWPlotSpgmWndw& w, const std::wstring& prefix, CQAppSettings& s) {
  SaveCommon(w.Window(), prefix, s);
}
void RecallWindowKeys(CWPlotSpgmWndw&, const std::wstring& prefix, CQAppSettings&) { RecallCommon(prefix); }
