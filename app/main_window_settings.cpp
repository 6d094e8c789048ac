// The main window's part of saving and recalling settings: the four menu
// commands, its own key "MainWindow:Rect" and the chain that hands the
// settings store from worker to worker. The GUI thread never waits here: each
// link answers with a posted message, on which the next link gets the store.
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "app/main_window.h"
#include "core/error.h"
#include "core/error_dialog.h"
#include "platform/gui/dialogs.h"
#include "platform/gui/screens.h"
#include "platform/text.h"
#include "workers/app_identity.h"
#include "workers/get_set_data.h"
#include "workers/settings_file.h"

namespace {

constexpr const wchar_t* kMainWindowRectKey = L"MainWindow:Rect";

lv::FileDialogOptions SettingsFileDialog(const wchar_t* title) {
  lv::FileDialogOptions o;
  o.title = title;
  o.filters = {{L"Settings Files (*.config)", L"*.config"}, {L"All Files (*.*)", L"*.*"}};
  std::wstring folder;
  try {
    folder = CWAppDirectories::GetUserDirectoryText();
  } catch (CQError* e) {
    delete e;  // no folder yet: the dialog starts wherever it likes
  }
  o.initialPath = folder + CQAppType::DefaultSettingsFileName(CQAppType::kLumvardSorvek);
  return o;
}

bool CanOpenForReading(const std::filesystem::path& path) {
  if (path.empty()) return false;
  FILE* f = std::fopen(path.c_str(), "rb");
  if (f == nullptr) return false;
  std::fclose(f);
  return true;
}

}  // namespace

std::wstring CWSorvekMainWndw::WithConfigExtension(const std::wstring& name) {
  static const std::wstring kExt = L".config";
  if (name.size() >= kExt.size() && name.compare(name.size() - kExt.size(), kExt.size(), kExt) == 0) return name;
  return name + kExt;
}

void CWSorvekMainWndw::RefuseWhileChainRuns() {
  if (chain_ != Chain::kNone) {
    throw new CQError("Settings are being saved or recalled. Try again when that has finished.");
  }
}

void CWSorvekMainWndw::DoSaveSettingsDialog() {
  try {
    RefuseWhileChainRuns();
    const std::wstring chosen = lv::ShowSaveFileDialog(SettingsFileDialog(L"Save Settings"));
    if (chosen.empty()) return;
    const std::wstring name = WithConfigExtension(chosen);
    CWAppSettings::SetFileName(name.c_str());
    lv::PostToUi(kWmBeginSaveSettings, nullptr);
  } catch (CQError* e) {
    e->AddToCallStack("CWSorvekMainWndw::DoSaveSettingsDialog");
    ShowErrorDialog(e);
  }
}

void CWSorvekMainWndw::DoRecallSettingsDialog() {
  try {
    RefuseWhileChainRuns();
    const std::wstring chosen = lv::ShowOpenFileDialog(SettingsFileDialog(L"Recall Settings"));
    if (chosen.empty()) return;
    CWAppSettings::SetFileName(chosen.c_str());
    lv::PostToUi(kWmBeginRecallSettings, nullptr);
  } catch (CQError* e) {
    e->AddToCallStack("CWSorvekMainWndw::DoRecallSettingsDialog");
    ShowErrorDialog(e);
  }
}

void CWSorvekMainWndw::DoMenuFileSaveStartupSettings() {
  try {
    RefuseWhileChainRuns();
    CWAppSettings::SetFileNameToStartupSettings();
    OnMsgBeginSaveSettings();
  } catch (CQError* e) {
    e->AddToCallStack("CWSorvekMainWndw::DoMenuFileSaveStartupSettings");
    ShowErrorDialog(e);
  }
}

void CWSorvekMainWndw::DoMenuFileRecallStartupSettings() {
  try {
    RefuseWhileChainRuns();
    CWAppSettings::SetFileNameToStartupSettings();
    if (CanOpenForReading(CWAppSettings::GetSettings().GetFileName())) OnMsgBeginRecallSettings();
  } catch (CQError* e) {
    e->AddToCallStack("CWSorvekMainWndw::DoMenuFileRecallStartupSettings");
    ShowErrorDialog(e);
  }
}

void CWSorvekMainWndw::OnMsgBeginSaveSettings() {
  CQAppSettings& settings = CWAppSettings::GetSettings();
  try {
    RefuseWhileChainRuns();
    // Everything goes to a temporary file beside the target until the last
    // link has written.
    settings.BeginSave();
    const lv::Rect g = frame_->Geometry();
    settings.SetValue(kMainWindowRectKey, CWRect{g.left, g.top, g.right, g.bottom});
    chain_ = Chain::kSave;
    chainLinks_ = ChainLinks();
    chainFailed_ = false;
    ContinueChain(0);
  } catch (CQError* e) {
    if (chain_ == Chain::kNone) settings.AbortSave();
    e->AddToCallStack("CWSorvekMainWndw::OnMsgBeginSaveSettings");
    ShowErrorDialog(e);
  }
}

void CWSorvekMainWndw::OnMsgBeginRecallSettings() {
  CQAppSettings& settings = CWAppSettings::GetSettings();
  try {
    RefuseWhileChainRuns();
    if (!CanOpenForReading(settings.GetFileName())) return;
    CWRect r;
    if (settings.GetValue(kMainWindowRectKey, &r)) {
      const lv::Rect rect{r.left, r.top, r.right, r.bottom};
      if (lv::IsOnAnyScreen(rect)) {
        const bool resized = rect.Width() != frame_->Geometry().Width() || rect.Height() != frame_->Geometry().Height();
        frame_->MoveSize(rect);
        // A move made here reports no size: tell the plot threads as a
        // user's resize would.
        if (resized) OnWindowPosChanged(true);
      }
    }
    chain_ = Chain::kRecall;
    chainLinks_ = ChainLinks();
    chainFailed_ = false;
    ContinueChain(0);
  } catch (CQError* e) {
    e->AddToCallStack("CWSorvekMainWndw::OnMsgBeginRecallSettings");
    ShowErrorDialog(e);
  }
}

std::vector<CWUIThread*> CWSorvekMainWndw::ChainLinks() const {
  std::vector<CWUIThread*> links;
  for (CWUIThread* t : {threads_.dataManager.get(), threads_.engine.get(), threads_.instrumentManager.get()}) {
    if (t != nullptr) links.push_back(t);
  }
  for (CWPlotKind kind :
       {CWPlotKind::kTimeDomain, CWPlotKind::kPersistence, CWPlotKind::kSpectrum, CWPlotKind::kSpectrogram}) {
    for (int i = 0; i < numXmtrs_; ++i) {
      if (CWUIThread* t = threads_.Plot(kind, i)) links.push_back(t);
    }
  }
  return links;
}

void CWSorvekMainWndw::ContinueChain(size_t index) {
  const int32_t message = chain_ == Chain::kSave ? kMsgSaveSettings : kMsgRecallSettings;
  for (; index < chainLinks_.size(); ++index) {
    // A link that no longer runs cannot answer; it is passed over (and a
    // save then keeps the previous file).
    if (chainLinks_[index]->PutMessage(message, &CWAppSettings::GetSettings())) {
      chainIndex_ = index;
      return;
    }
    chainFailed_ = true;
  }
  EndChain();
}

void CWSorvekMainWndw::EndChain() {
  const Chain ended = chain_;
  chain_ = Chain::kNone;
  chainLinks_.clear();
  chainIndex_ = 0;
  if (ended != Chain::kSave) return;
  CQAppSettings& settings = CWAppSettings::GetSettings();
  if (chainFailed_) {
    settings.AbortSave();
    ShowErrorDialog(new CQError(
        "The settings were not saved: part of them could not be written. The previous settings file is unchanged.",
        "CWSorvekMainWndw::OnMsgSaveSettingsDone"));
    return;
  }
  try {
    settings.CommitSave();
  } catch (CQError* e) {
    e->AddToCallStack("CWSorvekMainWndw::OnMsgSaveSettingsDone");
    ShowErrorDialog(e);
  }
}

void CWSorvekMainWndw::OnMsgSaveSettingsDone(const void* thread, bool failed) {
  if (chain_ != Chain::kSave || chainIndex_ >= chainLinks_.size() || chainLinks_[chainIndex_] != thread) return;
  if (failed) chainFailed_ = true;
  ContinueChain(chainIndex_ + 1);
}

void CWSorvekMainWndw::OnMsgRecallSettingsDone(const void* thread) {
  if (chain_ != Chain::kRecall || chainIndex_ >= chainLinks_.size() || chainLinks_[chainIndex_] != thread) return;
  ContinueChain(chainIndex_ + 1);
}

void CWSorvekMainWndw::AbandonSettingsChain() {
  if (chain_ == Chain::kSave) CWAppSettings::GetSettings().AbortSave();
  chain_ = Chain::kNone;
  chainLinks_.clear();
  chainIndex_ = 0;
}
