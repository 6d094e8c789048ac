#include "fake_plot_thread.h"

#include <chrono>
#include <thread>

#include "app/engine.h"
#include "core/arrays/carray.h"
#include "core/error.h"
#include "platform/text.h"
#include "workers/settings_file.h"

namespace lv_test {

FakePlotThread::FakePlotThread(CWPlotKind kind, int xmtrNumber, std::wstring title, EventLog& log, int startDelayMs)
    : CWUIThread("FakePlotThread"),
      kind_(kind),
      xmtr_(xmtrNumber),
      title_(lv::WideToUtf8(title)),
      log_(log),
      startDelayMs_(startDelayMs) {}

std::wstring FakePlotThread::Prefix() {
  std::lock_guard<std::mutex> lock(mutex_);
  return prefix_;
}

std::vector<std::string> FakePlotThread::Requests() {
  std::lock_guard<std::mutex> lock(mutex_);
  return requests_;
}

void FakePlotThread::ClearRequests() {
  std::lock_guard<std::mutex> lock(mutex_);
  requests_.clear();
}

std::vector<std::vector<CQComplex>> FakePlotThread::Waveforms() {
  std::lock_guard<std::mutex> lock(mutex_);
  return waveforms_;
}

void FakePlotThread::Record(std::string r) {
  std::lock_guard<std::mutex> lock(mutex_);
  requests_.push_back(std::move(r));
}

bool FakePlotThread::InitInstance() {
  if (startDelayMs_ > 0) std::this_thread::sleep_for(std::chrono::milliseconds(startDelayMs_));
  return true;
}

bool FakePlotThread::OnIdle(long count) {
  if (!announced_) {
    announced_ = true;
    log_.Add("ready " + title_);  // the base announces itself in this call
  }
  return CWUIThread::OnIdle(count);
}

void FakePlotThread::OnMessage(const CWThreadMessage& msg) {
  if (msg.id == kMsgQuit) {
    ++quits;
    log_.Add("quit " + title_);
  } else if (msg.id == kMsgPlotShowWindow) {
    Record("show-window " + std::to_string(msg.word));
    return;
  }
  CWUIThread::OnMessage(msg);
}

void FakePlotThread::OnMsgGetParam(CWGetSetData& r) {
  if (r.paramId != PlotIds(kind_).shown) throw new CQError("Unknown parameter type.");
  r.SetBool(shown_);
}

void FakePlotThread::OnMsgSetParam(CWGetSetData& r) {
  const CWPlotIds& ids = PlotIds(kind_);
  if (r.paramId == kPlotSetData) {
    if (!shown_) return;  // a hidden window takes nothing
    const CQCArrayTD* a = r.GetArrayTD();
    std::vector<CQComplex> copy(a->GetDataPtr(), a->GetDataPtr() + a->GetNumPoints());
    std::lock_guard<std::mutex> lock(mutex_);
    waveforms_.push_back(std::move(copy));
  } else if (r.paramId == ids.shown) {
    shown_ = r.GetBool();
    Record(std::string("shown ") + (r.GetBool() ? "1" : "0"));
  } else if (r.paramId == ids.prefix) {
    std::lock_guard<std::mutex> lock(mutex_);
    prefix_ = r.GetString();
  } else if (r.paramId == ids.toolbar) {
    Record(std::string("toolbar ") + (r.GetBool() ? "1" : "0"));
  } else {
    throw new CQError("Unknown parameter type.");
  }
}

void FakePlotThread::OnMsgSetParamNoWait(CWGetSetData& r) {
  const CWPlotIds& ids = PlotIds(kind_);
  const CWRect c = r.GetRect();
  const std::string rect = std::to_string(c.left) + " " + std::to_string(c.top) + " " + std::to_string(c.right) +
                           " " + std::to_string(c.bottom);
  if (r.paramId == ids.arrange) {
    Record("arrange " + rect);
  } else if (r.paramId == ids.plotArea) {
    Record("area " + rect);
  } else {
    throw new CQError("Unknown parameter type.");
  }
}

void FakePlotThread::OnMsgSaveSettings(CQAppSettings& s) {
  inSave = true;
  saveGate.Wait(lv::kWaitForever);
  inSave = false;
  if (failSave) throw new CQError(4);  // "Error while writing to a file."
  s.SetValue((Prefix() + L"Shown").c_str(), static_cast<bool>(shown_));
}

void FakePlotThread::OnMsgRecallSettings(CQAppSettings& s) {
  log_.Add("recall " + title_);
  bool shown = false;
  if (s.GetValue((Prefix() + L"Shown").c_str(), &shown)) shown_ = shown;
}

}  // namespace lv_test
