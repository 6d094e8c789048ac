#include "plots/threads/plot_threads.h"

#include <cstdint>

#include "core/error.h"
#include "platform/gui/window.h"
#include "workers/get_set_data.h"

namespace {

constexpr size_t kMaxTitle = 127;  // the title's 128 characters less the terminator

}  // namespace

CWUIPlotThread::CWUIPlotThread(const char* className, CWPlotKind kind, const std::wstring& title,
                               const lv::FrameWindow& parent)
    : CWUIThread(className), kind_(kind), title_(title.substr(0, kMaxTitle)), parent_(parent) {}

CWUIPlotThread::~CWUIPlotThread() { StopAndJoin(); }

lv::Rect CWUIPlotThread::InitialRect(CWPlotKind kind) {
  // The spectrum's rectangle is 50 pixels further in than the other three.
  return kind == CWPlotKind::kSpectrum ? lv::Rect{200, 200, 600, 600} : lv::Rect{150, 150, 550, 550};
}

bool CWUIPlotThread::InitInstance() {
  std::unique_ptr<CWPlotUI> ui = MakeUI();
  if (!ui->CreatePlotWindow(parent_, title_, InitialRect(kind_), hasIcon_ ? &icon_ : nullptr)) {
    return false;  // the thread ends; the window said what went wrong, if anything
  }
  ui_ = std::move(ui);
  return true;
}

void CWUIPlotThread::ExitInstance() { DestroyUI(); }

void CWUIPlotThread::DestroyUI() {
  // The window goes with its UI object, on the thread that made it.
  ui_.reset();
}

void CWUIPlotThread::OnMessage(const CWThreadMessage& msg) {
  switch (msg.id) {
    case kMsgQuit:
      DestroyUI();
      CWUIThread::OnMessage(msg);
      return;
    case kMsgPlotShowWindow: {
      const bool show = msg.word == 1 || reinterpret_cast<uintptr_t>(msg.parameter) == 1;
      if (ui_) ui_->ShowOrHide(show);
      return;
    }
    case kMsgPlotRedraw:
      if (ui_) ui_->RedrawPlot();
      return;
    case kMsgPlotClear:
      if (ui_) ui_->ClearView();
      return;
    default:
      CWUIThread::OnMessage(msg);
  }
}

void CWUIPlotThread::OnMsgGetParam(CWGetSetData& request) {
  if (!ui_) throw new CQError("The plot window does not exist.");
  ui_->GetParam(&request);
}

void CWUIPlotThread::OnMsgSetParam(CWGetSetData& request) {
  if (!ui_) throw new CQError("The plot window does not exist.");
  if (ui_->SetParam(&request)) {
    // Copy taken: the requester is released first, then the window computes
    // and draws from its own copy.
    CWPlotUI* ui = ui_.get();
    RunAfterAnswer([ui] { ui->ComputeAfterRelease(); });
  }
}

void CWUIPlotThread::OnMsgSetParamNoWait(CWGetSetData& request) {
  if (!ui_) return;
  try {
    ui_->SetParamNoWait(&request);
  } catch (CQError* e) {
    // Nobody waits for this answer: a refused move or bounding rectangle is
    // dropped.
    delete e;
  }
}

void CWUIPlotThread::OnMsgSaveSettings(CQAppSettings& settings) {
  if (!ui_) throw new CQError("The plot window does not exist.");
  ui_->SaveSettings(settings);
}

void CWUIPlotThread::OnMsgRecallSettings(CQAppSettings& settings) {
  if (!ui_) throw new CQError("The plot window does not exist.");
  ui_->RecallSettings(settings);
}

bool CWUIPlotIQThread::InitInstance() {
  if (!CWUIPlotThread::InitInstance()) {
    return false;
  }
  // I-and-Q naming: the pop-up menu's plot types 4 and 5 read "Q vs I" and
  // "I && Q vs Time".
  static_cast<CWUIPlotIQ*>(UI())->SetIQNaming(true);
  return true;
}

std::unique_ptr<CWUIThread> MakePlotThread(CWPlotKind kind, int /*xmtrNumber*/, const std::wstring& title,
                                           const lv::FrameWindow& parent) {
  switch (kind) {
    case CWPlotKind::kTimeDomain:
      return std::make_unique<CWUIPlotIQThread>(title, parent);
    case CWPlotKind::kPersistence:
      return std::make_unique<CWUIPlotPersSpecThread>(title, parent);
    case CWPlotKind::kSpectrogram:
      return std::make_unique<CWUIPlotSpgmThread>(title, parent);
    case CWPlotKind::kSpectrum:
      return std::make_unique<CWUIPlotSpectrumThread>(title, parent);
  }
  return nullptr;
}
