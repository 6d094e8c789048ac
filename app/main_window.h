// CWSorvekMainWndw: the program's main window "Lumvard Sorvek".
//
// A frame window of the window layer, owned by the user-interface (GUI)
// thread: menu, toolbar (Start, Stop, Arrange windows, with tooltips) and a
// five-pane status bar. It turns commands into messages for the workers,
// receives each worker's ready announcement and hands it its context, lays
// out the plot windows, drives the settings save and recall chain and starts
// the shut-down sequence on Exit and on the close box.
//
// Everything here runs on the GUI thread. Commands that wait on a worker run
// through lv::DeferWhileModal, so none starts while a dialog or a layer wait
// is active; the waits themselves keep the GUI serving. No worker waits on
// this window: status texts are posted, announcements and chain replies are
// posted messages.
//
// Start-up handshake: every worker announces itself once (1026). The startup
// settings are recalled once, after the application has finished starting
// its workers and every worker it started has announced itself, whatever the
// order of the announcements.
//
// Settings chain: one chain at a time. A save writes into a temporary file
// beside the target, which replaces the target only when the last link has
// written and no link has failed; otherwise the previous file stays as it
// was. A save or recall asked for while a chain runs is refused with a
// message.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "app/sorvek_threads.h"
#include "platform/gui/window.h"
#include "platform/status_sink.h"
#include "platform/ui_post.h"
#include "workers/cw_rect.h"

class CQAppSettings;
class CWSorvekActivePlotsDlg;
class CWSorvekInstrAD9081Dlg;
class CWSorvekInstrBoardSheet;
class CWSorvekXmtrProcSheet;
class CWUIInstrMultiConnDlg;

// Command ids of the menu and the toolbar.
enum : uint32_t {
  kCmdSaveSettings = 32773,
  kCmdRecallSettings = 32774,
  kCmdExit = 32775,
  kCmdAbout = 32777,
  kCmdStart = 32778,
  kCmdStop = 32779,
  kCmdSaveStartupSettings = 32781,
  kCmdRecallStartupSettings = 32782,
  kCmdArrangeWindows = 32787,
  kCmdActiveWindows = 32788,
  kCmdConnect = 32790,
  kCmdAdrv9009Control = 32801,
  kCmdAd9081Control = 32807,
  kCmdTransmitterProcessing = 32808,
  kCmdShowPlotToolbars = 32810,
  kCmdHidePlotToolbars = 32812,
  kCmdAd9361Control = 32813,
  kCmdAd9081SingleFile = 32814,
  kCmdAd9371Control = 32816,
  kCmdAd9082Control = 32817,
};

// Messages the main window handles (ids of lv::UiMessage).
enum : uint32_t {
  kWmMainCommand = 273,       // a command posted to the window itself; wParam = command id
  kWmBeginSaveSettings = 1027,    // WM_USER+3
  kWmBeginRecallSettings = 1029,  // WM_USER+5
  kWmArrangeWindows = 1034,       // WM_USER+10
};

// Pauses of start-up, shut-down and the delayed arrangement (milliseconds).
struct CWSorvekTimings {
  uint32_t startPauseMs = 25;     // after each worker's start
  uint32_t quitPauseMs = 25;      // after each quit message
  uint32_t finalPauseMs = 200;    // after the last quit message
  uint32_t joinLimitMs = 10000;   // per worker, after the pauses
  uint32_t applyPauseMs = 100;    // the active plots dialog's Apply before asking to arrange
  uint32_t arrangeDelayMs = 300;  // WM_USER+10 before arranging
};

// The status bar as the workers see it: five panes; texts are posted.
class CWTextStatusBar : public lv::StatusSink {
 public:
  explicit CWTextStatusBar(lv::FrameWindow& frame) : frame_(frame) {}
  void SetPaneText(int pane, const wchar_t* text) override;
  // Panes 0 to 3 become " ".
  void Clear();

 private:
  lv::FrameWindow& frame_;
};

class CWSorvekMainWndw {
 public:
  CWSorvekMainWndw(int transmitters, int receivers, CWSorvekThreads& threads, const CWSorvekTimings& timings);
  ~CWSorvekMainWndw();
  CWSorvekMainWndw(const CWSorvekMainWndw&) = delete;
  CWSorvekMainWndw& operator=(const CWSorvekMainWndw&) = delete;

  // Creates the frame (title "Lumvard Sorvek", (100,10)-(800,610)), its menu,
  // toolbar and status bar, and remembers the working and baseband
  // directories. False when the window cannot be made.
  bool Create();
  // Creates the modeless dialogs and sheets that talk to the workers, hidden,
  // in this order: the processing sheet, the active plots dialog, the
  // connection dialog, the AD9081 single-file dialog and the AD9081, AD9082,
  // AD9361, ADRV9009 and AD9371 sheets; each command then shows its own. The
  // worker objects exist by now.
  bool CreateDialogs();

  lv::FrameWindow& Frame() { return *frame_; }
  bool HasFrame() const { return frame_ != nullptr; }
  // Deletes the modeless dialogs' windows (shut-down, before the layer's
  // widgets go).
  void DestroyDialogs();
  uint32_t WindowId() const;
  CWTextStatusBar* StatusBar() { return statusBar_.get(); }
  const std::wstring& BasebandDirectory() const { return basebandDir_; }
  CWSorvekActivePlotsDlg* ActivePlotsDialog() { return activePlots_.get(); }
  CWSorvekXmtrProcSheet* ProcessingSheet() { return procSheet_.get(); }
  CWUIInstrMultiConnDlg* ConnectionDialog() { return connDlg_.get(); }
  CWSorvekInstrAD9081Dlg* AD9081SingleFileDialog() { return ad9081Dlg_.get(); }
  // The board sheet a command shows (null for another command).
  CWSorvekInstrBoardSheet* BoardSheet(uint32_t command);

  // What the shut-down sequence is: the application's (Exit and the close box
  // call it once).
  void SetCloseHandler(std::function<void()> onClose) { onClose_ = std::move(onClose); }

  // A board dialog's command: the item becomes enabled and runs show. Items
  // without one stay disabled (and the key S does nothing).
  void SetBoardCommand(uint32_t command, std::function<void()> show);

  // Messages posted to the GUI thread (announcements, chain replies, posted
  // commands, the delayed arrangement).
  void OnUiMessage(const lv::UiMessage& msg);
  // A window message of the frame (commands, keys, size, close box).
  void OnWindowMessage(const lv::WindowMessage& msg);
  void OnCommand(uint32_t command);
  void OnKeyDown(int32_t key);
  void OnClose();

  // The application has started every worker it could; started: those whose
  // start succeeded. The startup recall may follow at once.
  void SetStartupComplete(const std::vector<CWUIThread*>& started);
  bool StartupRecallDone() const { return startupRecallDone_; }
  int AnnouncedCount() const { return static_cast<int>(announced_.size()); }

  void ArrangeWindows();
  // The frame's plot area (client coordinates), where the plot windows live.
  CWRect PlotArea() const;
  void OnWindowPosChanged(bool sizeChanged);

  // Settings (the store of CWAppSettings).
  void DoSaveSettingsDialog();
  void DoRecallSettingsDialog();
  void DoMenuFileSaveStartupSettings();
  void DoMenuFileRecallStartupSettings();
  void OnMsgBeginSaveSettings();
  void OnMsgBeginRecallSettings();
  void OnMsgSaveSettingsDone(const void* thread, bool failed);
  void OnMsgRecallSettingsDone(const void* thread);
  bool IsSettingsChainRunning() const { return chain_ != Chain::kNone; }
  // Ends a chain still running (shut-down): a save leaves the previous file.
  void AbandonSettingsChain();

  // A chosen settings file name with ".config" appended unless it ends in
  // exactly ".config".
  static std::wstring WithConfigExtension(const std::wstring& name);

 private:
  enum class Chain { kNone, kSave, kRecall };
  void OnMsgThreadReady(const void* thread);
  void CheckStartupHandshake();
  void ShowAbout();
  void SetPlotToolbars(bool show);
  std::vector<CWUIThread*> ChainLinks() const;
  // Puts the chain's message into links from index on; ends the chain after
  // the last one (or when no link takes the message).
  void ContinueChain(size_t index);
  void EndChain();
  void RefuseWhileChainRuns();

  int numXmtrs_;
  int numRcvrs_;
  CWSorvekThreads& threads_;
  CWSorvekTimings timings_;
  std::unique_ptr<lv::FrameWindow> frame_;
  std::unique_ptr<CWTextStatusBar> statusBar_;
  std::wstring workingDir_;
  std::wstring basebandDir_;
  std::unique_ptr<CWSorvekXmtrProcSheet> procSheet_;
  std::unique_ptr<CWSorvekActivePlotsDlg> activePlots_;
  std::unique_ptr<CWUIInstrMultiConnDlg> connDlg_;
  std::unique_ptr<CWSorvekInstrAD9081Dlg> ad9081Dlg_;
  // The AD9081, AD9082, AD9361, ADRV9009 and AD9371 sheets with their commands.
  std::vector<std::pair<uint32_t, std::unique_ptr<CWSorvekInstrBoardSheet>>> boardSheets_;
  std::map<uint32_t, std::function<void()>> boardCommands_;
  std::function<void()> onClose_;
  bool closing_ = false;
  bool closeAfterStartup_ = false;

  // Start-up handshake.
  std::set<const void*> announced_;
  std::set<const void*> expected_;
  bool startupComplete_ = false;
  bool startupRecallDone_ = false;

  // The settings chain.
  Chain chain_ = Chain::kNone;
  std::vector<CWUIThread*> chainLinks_;
  size_t chainIndex_ = 0;
  bool chainFailed_ = false;
};
