#include "app/main_window.h"

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <system_error>
#include <thread>
#include <utility>

#include "app/app_icon.h"
#include "app/engine.h"
#include "app/engine_thread.h"
#include "app/main_dialogs.h"
#include "app/xmtr_proc_sheet.h"
#include "core/error.h"
#include "core/error_dialog.h"
#include "platform/gui/gui_runtime.h"
#include "platform/gui/modal_bridge.h"
#include "platform/gui/window_icon.h"
#include "platform/text.h"
#include "xcvr/gui/ad9081_single_file_dlg.h"
#include "xcvr/gui/board_sheets.h"
#include "xcvr/gui/instr_conn_dlg.h"
#include "xcvr/instr_thread.h"

namespace {

using lv::MenuItem;

constexpr int kStatusPanes = 5;

// Toolbar pictures (24 x 24), drawn here rather than loaded: Start a green
// triangle, Stop a red square, Arrange windows four tiles.
lv::Bitmap StartImage() {
  lv::Bitmap b(24, 24, lv::MakeRgb(255, 255, 255));
  for (int y = 5; y < 19; ++y) {
    const int half = y < 12 ? y - 5 : 18 - y;
    for (int x = 7; x <= 7 + 2 * half && x < 20; ++x) b.SetPixel(x, y, lv::MakeRgb(0, 150, 0));
  }
  return b;
}

lv::Bitmap StopImage() {
  lv::Bitmap b(24, 24, lv::MakeRgb(255, 255, 255));
  for (int y = 6; y < 18; ++y)
    for (int x = 6; x < 18; ++x) b.SetPixel(x, y, lv::MakeRgb(200, 0, 0));
  return b;
}

lv::Bitmap ArrangeImage() {
  lv::Bitmap b(24, 24, lv::MakeRgb(255, 255, 255));
  const lv::Color edge = lv::MakeRgb(0, 0, 128);
  for (int tile = 0; tile < 4; ++tile) {
    const int x0 = 3 + (tile % 2) * 10;
    const int y0 = 3 + (tile / 2) * 10;
    for (int i = 0; i < 8; ++i) {
      b.SetPixel(x0 + i, y0, edge);
      b.SetPixel(x0 + i, y0 + 1, edge);
      b.SetPixel(x0 + i, y0 + 7, edge);
      b.SetPixel(x0, y0 + i, edge);
      b.SetPixel(x0 + 7, y0 + i, edge);
    }
  }
  return b;
}

lv::ToolbarButton Button(uint32_t id, lv::Bitmap image, const wchar_t* text) {
  lv::ToolbarButton b;
  b.id = id;
  b.image = std::move(image);
  b.text = text;
  b.tooltip = text;
  return b;
}

MenuItem Disabled(MenuItem item) {
  item.enabled = false;
  return item;
}

}  // namespace

void CWTextStatusBar::SetPaneText(int pane, const wchar_t* text) { frame_.SetPaneText(pane, text); }

void CWTextStatusBar::Clear() {
  for (int pane = 0; pane < 4; ++pane) frame_.SetPaneText(pane, L" ");
}

CWSorvekMainWndw::CWSorvekMainWndw(int transmitters, int receivers, CWSorvekThreads& threads,
                                   const CWSorvekTimings& timings)
    : numXmtrs_(transmitters), numRcvrs_(receivers), threads_(threads), timings_(timings) {}

CWSorvekMainWndw::~CWSorvekMainWndw() {
  // The dialogs' windows go before the frame.
  DestroyDialogs();
  statusBar_.reset();
  frame_.reset();
}

uint32_t CWSorvekMainWndw::WindowId() const { return frame_ ? frame_->Id() : 0; }

bool CWSorvekMainWndw::Create() {
  frame_ = std::make_unique<lv::FrameWindow>(L"Lumvard Sorvek", lv::Rect{100, 10, 800, 610});
  frame_->SetMessageHandler([this](const lv::WindowMessage& m) { OnWindowMessage(m); });
  lv::SetWindowIcon(*frame_, SorvekIcon());

  // The board dialogs' items stay disabled until their dialogs are given
  // (SetBoardCommand). The four sheets that have no item of their own get
  // one each, named after their captions.
  frame_->SetMenu({
      MenuItem::Popup(L"File", {MenuItem::Command(kCmdSaveSettings, L"Save Settings..."),
                                MenuItem::Command(kCmdSaveStartupSettings, L"Save Startup Settings"),
                                MenuItem::Separator(),
                                MenuItem::Command(kCmdRecallSettings, L"Recall Settings..."),
                                MenuItem::Command(kCmdRecallStartupSettings, L"Recall StartupSettings..."),
                                MenuItem::Separator(), MenuItem::Command(kCmdExit, L"Exit")}),
      MenuItem::Popup(L"Processing", {MenuItem::Command(kCmdTransmitterProcessing, L"Transmitter Processing...")}),
      MenuItem::Popup(L"Instrument", {Disabled(MenuItem::Command(kCmdConnect, L"Connect...")), MenuItem::Separator()}),
      MenuItem::Popup(L"Windows", {MenuItem::Command(kCmdActiveWindows, L"Active Windows..."), MenuItem::Separator(),
                                   MenuItem::Command(kCmdShowPlotToolbars, L"Show Plot Toolbars"),
                                   MenuItem::Command(kCmdHidePlotToolbars, L"Hide Plot Toolbars")}),
      MenuItem::Popup(L"Help", {MenuItem::Command(kCmdAbout, L"About...")}),
  });
  // Appended at creation, as the board family's items are.
  frame_->AppendMenuItem(2, Disabled(MenuItem::Command(kCmdAd9081Control, L"AD9081 Control...")));
  frame_->AppendMenuItem(2, Disabled(MenuItem::Command(kCmdAd9081SingleFile, L"AD9081 Single File Control...")));
  frame_->AppendMenuItem(2, Disabled(MenuItem::Command(kCmdAd9082Control, L"AD9082 Control...")));
  frame_->AppendMenuItem(2, Disabled(MenuItem::Command(kCmdAd9361Control, L"AD9361 (and PLUTO) Control...")));
  frame_->AppendMenuItem(2, Disabled(MenuItem::Command(kCmdAdrv9009Control, L"ADRV9009 Control...")));
  frame_->AppendMenuItem(2, Disabled(MenuItem::Command(kCmdAd9371Control, L"AD9371 Control...")));

  std::vector<lv::ToolbarButton> buttons;
  buttons.push_back(Button(kCmdStart, StartImage(), L"Start"));
  buttons.push_back(Button(kCmdStop, StopImage(), L"Stop"));
  lv::ToolbarButton separator;
  separator.separator = true;
  buttons.push_back(separator);
  buttons.push_back(Button(kCmdArrangeWindows, ArrangeImage(), L"Arrange windows"));
  frame_->SetToolbar(std::move(buttons));

  frame_->SetStatusPanes({150, 300, 600, 1100, -1});
  statusBar_ = std::make_unique<CWTextStatusBar>(*frame_);
  for (int pane = 0; pane < kStatusPanes; ++pane) frame_->SetPaneText(pane, L" ");

  std::error_code ec;
  workingDir_ = lv::Utf8ToWide(std::filesystem::current_path(ec).string());
  basebandDir_ = workingDir_ + L"/Baseband";
  frame_->Show(true);
  return true;
}

bool CWSorvekMainWndw::CreateDialogs() {
  procSheet_ = std::make_unique<CWSorvekXmtrProcSheet>(numXmtrs_, threads_.engine.get());
  if (!procSheet_->Create()) return false;
  activePlots_ = std::make_unique<CWSorvekActivePlotsDlg>(
      numXmtrs_, threads_, [this] { frame_->Show(true); },
      [] { lv::PostToUi(kWmArrangeWindows, nullptr); }, timings_.applyPauseMs);
  if (!activePlots_->Create()) return false;

  auto bringToFront = [this] {
    if (frame_) frame_->Show(true);
  };
  CWUIThread* instr = threads_.instrumentManager.get();
  CWUIThread* data = threads_.dataManager.get();
  connDlg_ = std::make_unique<CWUIInstrMultiConnDlg>(numXmtrs_);
  if (!connDlg_->Create()) return false;
  connDlg_->SetForegroundHook(bringToFront);
  SetBoardCommand(kCmdConnect, [this] {
    connDlg_->SetInstrThread(dynamic_cast<CWInstrIIOMultiXcvrMgrThread*>(threads_.instrumentManager.get()));
    connDlg_->ShowWindow(true);
  });

  ad9081Dlg_ = std::make_unique<CWSorvekInstrAD9081Dlg>(instr, data, threads_.engine.get(), numXmtrs_, numRcvrs_);
  if (!ad9081Dlg_->Create()) return false;
  ad9081Dlg_->SetBringOwnerToFront(bringToFront);
  SetBoardCommand(kCmdAd9081SingleFile, [this] { ad9081Dlg_->ShowWindow(true); });

  boardSheets_.emplace_back(kCmdAd9081Control,
                            std::make_unique<CWSorvekInstrAD9081Sheet>(instr, data, numXmtrs_, numRcvrs_));
  boardSheets_.emplace_back(kCmdAd9082Control,
                            std::make_unique<CWSorvekInstrAD9082Sheet>(instr, data, numXmtrs_, numRcvrs_));
  boardSheets_.emplace_back(kCmdAd9361Control,
                            std::make_unique<CWSorvekInstrAD9361Sheet>(instr, data, numXmtrs_, numRcvrs_));
  boardSheets_.emplace_back(kCmdAdrv9009Control,
                            std::make_unique<CWSorvekInstrADRV9009Sheet>(instr, data, numXmtrs_, numRcvrs_));
  boardSheets_.emplace_back(kCmdAd9371Control,
                            std::make_unique<CWSorvekInstrAD9371Sheet>(instr, data, numXmtrs_, numRcvrs_));
  for (auto& [command, sheet] : boardSheets_) {
    if (!sheet->Create()) return false;
    sheet->SetBringOwnerToFront(bringToFront);
    SetBoardCommand(command, [s = sheet.get()] { s->ShowWindow(true); });
  }
  return true;
}

CWSorvekInstrBoardSheet* CWSorvekMainWndw::BoardSheet(uint32_t command) {
  for (auto& [c, sheet] : boardSheets_) {
    if (c == command) return sheet.get();
  }
  return nullptr;
}

void CWSorvekMainWndw::DestroyDialogs() {
  // The commands that show them go first.
  for (auto& [command, show] : boardCommands_) show = nullptr;
  procSheet_.reset();
  activePlots_.reset();
  connDlg_.reset();
  ad9081Dlg_.reset();
  boardSheets_.clear();
}

void CWSorvekMainWndw::SetBoardCommand(uint32_t command, std::function<void()> show) {
  const bool enabled = static_cast<bool>(show);
  boardCommands_[command] = std::move(show);
  if (frame_) frame_->SetMenuItemEnabled(command, enabled);
}

// ---------------------------------------------------------------------------
// Messages

void CWSorvekMainWndw::OnUiMessage(const lv::UiMessage& msg) {
  switch (msg.id) {
    case kWmWorkerReady:
      lv::DeferWhileModal([this, sender = msg.sender] { OnMsgThreadReady(sender); });
      return;
    case kWmBeginSaveSettings:
      lv::DeferWhileModal([this] { OnMsgBeginSaveSettings(); });
      return;
    case kWmWorkerSaved:
      OnMsgSaveSettingsDone(msg.sender, msg.lParam != 0);
      return;
    case kWmBeginRecallSettings:
      lv::DeferWhileModal([this] { OnMsgBeginRecallSettings(); });
      return;
    case kWmWorkerRecalled:
      OnMsgRecallSettingsDone(msg.sender);
      return;
    case kWmArrangeWindows:
      lv::DeferWhileModal([this] {
        if (closing_) return;
        lv::ServeGuiEvents(timings_.arrangeDelayMs);
        if (!closing_) ArrangeWindows();
      });
      return;
    case kWmMainCommand:
      OnCommand(static_cast<uint32_t>(msg.wParam));
      return;
    default:
      return;
  }
}

void CWSorvekMainWndw::OnWindowMessage(const lv::WindowMessage& msg) {
  switch (msg.kind) {
    case lv::WindowMessageKind::kCommand:
      OnCommand(static_cast<uint32_t>(msg.a));
      return;
    case lv::WindowMessageKind::kKeyDown:
      OnKeyDown(msg.a);
      return;
    case lv::WindowMessageKind::kClose:
      OnClose();
      return;
    case lv::WindowMessageKind::kSize:
      OnWindowPosChanged(true);
      return;
    case lv::WindowMessageKind::kMove:
      OnWindowPosChanged(false);
      return;
    default:
      return;
  }
}

void CWSorvekMainWndw::OnKeyDown(int32_t key) {
  if (key == 'S') {
    lv::PostToUi(kWmMainCommand, nullptr, kCmdAd9081SingleFile);
  }
}

void CWSorvekMainWndw::OnClose() {
  if (closing_) return;
  if (!startupComplete_) {
    // The application is still starting workers: the sequence runs once it
    // has finished.
    closeAfterStartup_ = true;
    return;
  }
  // The sequence runs once nothing modal is active on the GUI thread.
  lv::DeferWhileModal([this] {
    if (closing_) return;
    closing_ = true;
    if (onClose_) onClose_();
  });
}

void CWSorvekMainWndw::OnCommand(uint32_t command) {
  if (closing_) return;
  switch (command) {
    case kCmdExit:
      OnClose();
      return;
    case kCmdStart:
      if (threads_.engine) threads_.engine->PutMessageIfAbsent(kMsgEngineStart);
      return;
    case kCmdStop:
      if (threads_.engine) threads_.engine->PutMessageIfAbsent(kMsgEngineStop);
      if (threads_.instrumentManager) threads_.instrumentManager->PutMessageIfAbsent(kMsgInstrDisconnect);
      if (statusBar_) {
        statusBar_->SetPaneText(1, L" ");
        statusBar_->SetPaneText(2, L" ");
      }
      return;
    case kCmdArrangeWindows:
      lv::DeferWhileModal([this] { ArrangeWindows(); });
      return;
    case kCmdSaveSettings:
      lv::DeferWhileModal([this] { DoSaveSettingsDialog(); });
      return;
    case kCmdSaveStartupSettings:
      lv::DeferWhileModal([this] { DoMenuFileSaveStartupSettings(); });
      return;
    case kCmdRecallSettings:
      lv::DeferWhileModal([this] { DoRecallSettingsDialog(); });
      return;
    case kCmdRecallStartupSettings:
      lv::DeferWhileModal([this] { DoMenuFileRecallStartupSettings(); });
      return;
    case kCmdTransmitterProcessing:
      lv::DeferWhileModal([this] {
        if (procSheet_) procSheet_->ShowWindow(true);
      });
      return;
    case kCmdActiveWindows:
      lv::DeferWhileModal([this] {
        if (activePlots_) activePlots_->ShowWindow(true);
      });
      return;
    case kCmdShowPlotToolbars:
    case kCmdHidePlotToolbars:
      lv::DeferWhileModal([this, show = command == kCmdShowPlotToolbars] { SetPlotToolbars(show); });
      return;
    case kCmdAbout:
      lv::DeferWhileModal([this] { ShowAbout(); });
      return;
    default:
      break;
  }
  auto it = boardCommands_.find(command);
  if (it != boardCommands_.end() && it->second) {
    lv::DeferWhileModal([show = it->second] { show(); });
  }
}

void CWSorvekMainWndw::ShowAbout() {
  CWSorvekAboutDlg about;
  about.DoModal();
}

void CWSorvekMainWndw::SetPlotToolbars(bool show) {
  try {
    for (int i = 0; i < numXmtrs_; ++i) {
      for (int k = 0; k < kPlotKinds; ++k) {
        const auto kind = static_cast<CWPlotKind>(k);
        if (CWUIThread* t = threads_.Plot(kind, i)) t->SetParam(show, PlotIds(kind).toolbar);
      }
    }
  } catch (CQError* e) {
    e->AddToCallStack(show ? "CWSorvekMainWndw::OnShowPlotToolbars" : "CWSorvekMainWndw::OnHidePlotToolbars");
    ShowErrorDialog(e);
  }
}

// ---------------------------------------------------------------------------
// Start-up handshake

void CWSorvekMainWndw::OnMsgThreadReady(const void* thread) {
  if (thread == nullptr || closing_) return;
  try {
    if (thread == threads_.engine.get()) {
      threads_.engine->SetParam(static_cast<void*>(static_cast<lv::StatusSink*>(statusBar_.get())),
                                kEngineParamStatusBar, 0);
    } else if (thread == threads_.instrumentManager.get()) {
      std::error_code ec;
      if (std::filesystem::is_directory(lv::WideToUtf8(basebandDir_), ec)) {
        threads_.instrumentManager->SetParam(basebandDir_.c_str(), kInstrSetBasebandDir);
      }
      threads_.instrumentManager->SetParam(static_cast<void*>(static_cast<lv::StatusSink*>(statusBar_.get())),
                                           kInstrSetStatusSink);
    } else if (thread != threads_.dataManager.get()) {
      bool found = false;
      for (int i = 0; i < 4 && !found; ++i) {
        for (CWPlotKind kind : {CWPlotKind::kTimeDomain, CWPlotKind::kPersistence, CWPlotKind::kSpectrum,
                                CWPlotKind::kSpectrogram}) {
          CWUIThread* t = threads_.Plot(kind, i);
          if (t != nullptr && t == thread) {
            t->SetParam(PlotSettingsPrefix(kind, i + 1).c_str(), PlotIds(kind).prefix);
            // A size report that came before this thread ran skipped it: it
            // learns the bounds it must keep to now.
            t->SetParamNoWait(PlotArea(), PlotIds(kind).plotArea);
            found = true;
            break;
          }
        }
      }
      if (!found) return;  // not one of ours
    }
  } catch (CQError* e) {
    e->AddToCallStack("CWSorvekMainWndw::OnMsgThreadReady");
    ShowErrorDialog(e);
  }
  announced_.insert(thread);
  CheckStartupHandshake();
}

void CWSorvekMainWndw::SetStartupComplete(const std::vector<CWUIThread*>& started) {
  expected_.clear();
  for (CWUIThread* t : started) expected_.insert(t);
  startupComplete_ = true;
  if (closeAfterStartup_) {
    OnClose();
    return;
  }
  CheckStartupHandshake();
}

void CWSorvekMainWndw::CheckStartupHandshake() {
  if (!startupComplete_ || startupRecallDone_) return;
  for (const void* t : expected_) {
    if (announced_.count(t) == 0) return;
  }
  startupRecallDone_ = true;
  DoMenuFileRecallStartupSettings();
}

// ---------------------------------------------------------------------------
// Window layout

CWRect CWSorvekMainWndw::PlotArea() const {
  // The frame's client area is its plot area: the toolbar and the status bar
  // lie outside it.
  const lv::Size client = frame_ ? frame_->ClientSize() : lv::Size{};
  return CWRect{0, 0, client.cx, client.cy};
}

void CWSorvekMainWndw::ArrangeWindows() {
  try {
    struct Slot {
      CWPlotKind kind;
      bool shown = false;
    };
    // Time domain, spectrum, persistence spectrum, spectrogram: the order of
    // the rows inside a column.
    const CWPlotKind order[kPlotKinds] = {CWPlotKind::kTimeDomain, CWPlotKind::kSpectrum, CWPlotKind::kPersistence,
                                          CWPlotKind::kSpectrogram};
    std::vector<std::array<bool, kPlotKinds>> shown(static_cast<size_t>(numXmtrs_));
    bool kindShown[kPlotKinds] = {};
    int columns = 0;
    for (int i = 0; i < numXmtrs_; ++i) {
      bool any = false;
      for (int r = 0; r < kPlotKinds; ++r) {
        bool s = false;
        if (CWUIThread* t = threads_.Plot(order[r], i)) t->GetParam(&s, PlotIds(order[r]).shown);
        shown[static_cast<size_t>(i)][static_cast<size_t>(r)] = s;
        any |= s;
        kindShown[r] |= s;
      }
      columns += any ? 1 : 0;
    }
    const int rows = static_cast<int>(std::count(std::begin(kindShown), std::end(kindShown), true));
    if (columns == 0 || rows == 0) return;
    const CWRect area = PlotArea();
    const int h = (area.bottom - area.top) / rows;
    const int w = (area.right - area.left) / columns;
    int c = 0;
    for (int i = 0; i < numXmtrs_; ++i) {
      const auto& s = shown[static_cast<size_t>(i)];
      if (std::find(s.begin(), s.end(), true) == s.end()) continue;
      const int x0 = area.left + c * w + 1;
      const int x1 = area.left + c * w + w - 1;
      int r = 0;
      for (int k = 0; k < kPlotKinds; ++k) {
        if (!s[static_cast<size_t>(k)]) continue;
        CWUIThread* t = threads_.Plot(order[k], i);
        const CWRect rect{x0, area.top + r * h + 1, x1, area.top + r * h + h - 1};
        t->PutMessage(kMsgPlotShowWindow, nullptr, 1);
        t->SetParamNoWait(rect, PlotIds(order[k]).arrange);
        ++r;
      }
      ++c;
    }
  } catch (CQError* e) {
    e->AddToCallStack("CWSorvekMainWndw::ArrangeWindows");
    ShowErrorDialog(e);
  }
}

void CWSorvekMainWndw::OnWindowPosChanged(bool sizeChanged) {
  if (!sizeChanged || closing_) return;
  const CWRect area = PlotArea();
  try {
    for (int i = 0; i < numXmtrs_; ++i) {
      for (CWPlotKind kind : {CWPlotKind::kTimeDomain, CWPlotKind::kPersistence, CWPlotKind::kSpectrogram,
                              CWPlotKind::kSpectrum}) {
        // A thread not yet running (start-up) is skipped: it gets the area
        // when it announces itself.
        CWUIThread* t = threads_.Plot(kind, i);
        if (t != nullptr && t->IsRunning()) t->SetParamNoWait(area, PlotIds(kind).plotArea);
      }
    }
  } catch (CQError* e) {
    e->AddToCallStack("CWSorvekMainWndw::OnWindowPosChanged");
    ShowErrorDialog(e);
  }
  if (frame_) frame_->Invalidate();
}
