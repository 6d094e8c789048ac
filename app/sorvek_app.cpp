#include "app/sorvek_app.h"

#include <chrono>
#include <csignal>
#include <cstdio>
#include <thread>
#include <utility>

#include "app/app_icon.h"
#include "app/engine.h"
#include "app/engine_thread.h"
#include "core/error.h"
#include "core/error_dialog.h"
#include "core/gui/error_window.h"
#include "cpu/dispatch.h"
#include "iqfiles/manager/data_manager_thread.h"
#include "platform/gui/gui_runtime.h"
#include "platform/gui/window_icon.h"
#include "workers/app_identity.h"
#include "xcvr/instr_thread.h"

namespace {

constexpr int kTransmitters = 4;
constexpr int kReceivers = 4;

void Pause(uint32_t ms) {
  if (ms > 0) std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

}  // namespace

CWSorvekApp::CWSorvekApp() : CWSorvekApp(Options{}) {}

CWSorvekApp::CWSorvekApp(Options options) : options_(std::move(options)) {}

CWSorvekApp::~CWSorvekApp() {
  if (runtimeStarted_ && !shutDown_) ShutDown();
  mainWnd_.reset();
  threads_.dataManager.reset();
  threads_.instrumentManager.reset();
  threads_.engine.reset();
  for (CWPlotKind kind :
       {CWPlotKind::kTimeDomain, CWPlotKind::kPersistence, CWPlotKind::kSpectrum, CWPlotKind::kSpectrogram}) {
    for (auto& t : threads_.plots[static_cast<size_t>(kind)]) t.reset();
  }
}

bool CWSorvekApp::InitInstance() {
  // libiio sends without MSG_NOSIGNAL: a board that drops the connection must
  // give an error, not end the process.
  std::signal(SIGPIPE, SIG_IGN);
  lv::GuiRuntimeOptions gui;
  gui.uiMessageHandler = [this](const lv::UiMessage& m) {
    if (mainWnd_ && !shutDown_) mainWnd_->OnUiMessage(m);
  };
  if (!lv::StartGuiRuntime(gui)) return false;
  runtimeStarted_ = true;
  // The application icon: the main window's, and that of every dialog and
  // message box without one of its own.
  lv::SetApplicationIcon(SorvekIcon());
  if (options_.installErrorWindow) InstallErrorDialogWindow();
  InstallCQErrorNewHandler();
  InitProcessorDispatch();  // start-up goes on whatever it answers
  try {
    CQAppType::Initialize();
    CWAppDirectories::Initialize();
    CWAppSettings::Initialize();
  } catch (CQError* e) {
    e->AddToCallStack("CWSorvekApp::InitInstance");
    ShowErrorDialog(e);
    return false;
  }

  mainWnd_ = std::make_unique<CWSorvekMainWndw>(kTransmitters, kReceivers, threads_, options_.timings);
  if (!mainWnd_->Create()) return false;
  mainWnd_->SetCloseHandler([this] { ShutDown(); });

  // The worker objects: the plot threads need the main window as the parent
  // of their windows, the engine every thread it talks to.
  try {
    threads_.dataManager = std::make_unique<CWMultiDataMgrThread>(new CQMultiDataMgr());
    threads_.instrumentManager = std::make_unique<CWInstrIIOMultiXcvrMgrThread>(kTransmitters, kReceivers);
    for (int x = 1; x <= kTransmitters; ++x) {
      for (CWPlotKind kind :
           {CWPlotKind::kTimeDomain, CWPlotKind::kPersistence, CWPlotKind::kSpectrogram, CWPlotKind::kSpectrum}) {
        if (options_.plotThreads) {
          threads_.plots[static_cast<size_t>(kind)][static_cast<size_t>(x - 1)] =
              options_.plotThreads(kind, x, PlotThreadTitle(kind, x), mainWnd_->Frame(), SorvekIcon());
        }
      }
    }
    CWEngineLinks links;
    links.dataManager = threads_.dataManager.get();
    links.instrumentManager = threads_.instrumentManager.get();
    for (int i = 0; i < kTransmitters; ++i) {
      links.plots.push_back({threads_.Plot(CWPlotKind::kTimeDomain, i), threads_.Plot(CWPlotKind::kSpectrum, i),
                             threads_.Plot(CWPlotKind::kPersistence, i), threads_.Plot(CWPlotKind::kSpectrogram, i)});
    }
    threads_.engine = std::make_unique<CWSorvekEngineThread>(kTransmitters, kReceivers, links);
  } catch (CQError* e) {
    e->AddToCallStack("CWSorvekApp::InitInstance");
    ShowErrorDialog(e);
    return false;
  }
  if (!mainWnd_->CreateDialogs()) return false;

  // Started one at a time, in order, with a pause after each; the GUI keeps
  // serving meanwhile, so announcements are handled as they come.
  std::vector<CWUIThread*> started;
  for (CWUIThread* t : threads_.InStartOrder()) {
    startOrder_.push_back(t);
    if (t->StartUIThread()) started.push_back(t);
    lv::ServeGuiEvents(options_.timings.startPauseMs);
  }
  mainWnd_->SetStartupComplete(started);
  return true;
}

int CWSorvekApp::Run() {
  if (!InitInstance()) {
    if (runtimeStarted_ && !shutDown_) ShutDown();
    ExitInstance();
    return 1;
  }
  const int code = shutDown_ ? 0 : lv::RunGuiEventLoop();
  ExitInstance();
  return code;
}

int CWSorvekApp::ExitInstance() { return 0; }

void CWSorvekApp::ShutDown() {
  if (shutDown_) return;
  shutDown_ = true;
  if (mainWnd_) {
    mainWnd_->AbandonSettingsChain();
    mainWnd_->DestroyDialogs();
  }
  lv::ShutDownGuiRuntime([this] { StopWorkers(); });
  runtimeStarted_ = false;
  if (mainWnd_ && mainWnd_->HasFrame()) mainWnd_->Frame().Show(false);
}

void CWSorvekApp::QuitAndPause(std::unique_ptr<CWUIThread>& thread) {
  if (thread) {
    thread->PutMessage(kMsgQuit);
    quitOrder_.push_back(thread.get());
  }
  Pause(options_.timings.quitPauseMs);
}

void CWSorvekApp::StopWorkers() {
  QuitAndPause(threads_.dataManager);
  QuitAndPause(threads_.instrumentManager);
  QuitAndPause(threads_.engine);
  for (size_t i = 0; i < 4; ++i) {
    for (CWPlotKind kind :
         {CWPlotKind::kTimeDomain, CWPlotKind::kPersistence, CWPlotKind::kSpectrum, CWPlotKind::kSpectrogram}) {
      QuitAndPause(threads_.plots[static_cast<size_t>(kind)][i]);
    }
  }
  Pause(options_.timings.finalPauseMs);
  auto join = [this](std::unique_ptr<CWUIThread>& thread) {
    if (!thread || thread->Join(options_.timings.joinLimitMs)) return;
    std::fprintf(stderr, "Lumvard Sorvek: the worker %s did not end within %u ms; it is left running.\n",
                 thread->ClassName().c_str(), options_.timings.joinLimitMs);
    ++unjoined_;
    (void)thread.release();  // never delete a thread object whose thread still runs
  };
  join(threads_.dataManager);
  join(threads_.instrumentManager);
  join(threads_.engine);
  for (auto& table : threads_.plots) {
    for (auto& t : table) join(t);
  }
}
