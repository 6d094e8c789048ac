// A stand-in for a plot thread as the main window sees one: it answers and
// records the requests the main window and the engine send (visibility,
// settings prefix, arrangement, plot area, toolbars, waveforms), writes and
// reads one key in the settings chain, and can be told to fail its save, to
// hold its save at a gate, or to take its time starting. Not product code.
#pragma once

#include <atomic>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "app/sorvek_threads.h"
#include "core/arrays/complex.h"
#include "platform/sync.h"
#include "workers/ui_thread.h"

namespace lv_test {

// One ordered log for every fake plot thread of a test ("ready Spectrum 2",
// "recall Spectrum 2", "quit Spectrum 2").
class EventLog {
 public:
  void Add(std::string e) {
    std::lock_guard<std::mutex> lock(mutex_);
    events_.push_back(std::move(e));
  }
  std::vector<std::string> Events() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return events_;
  }
  void Clear() {
    std::lock_guard<std::mutex> lock(mutex_);
    events_.clear();
  }

 private:
  mutable std::mutex mutex_;
  std::vector<std::string> events_;
};

class FakePlotThread : public CWUIThread {
 public:
  FakePlotThread(CWPlotKind kind, int xmtrNumber, std::wstring title, EventLog& log, int startDelayMs = 0);
  ~FakePlotThread() override { StopAndJoin(5000); }

  CWPlotKind Kind() const { return kind_; }
  int XmtrNumber() const { return xmtr_; }
  const std::string& Title() const { return title_; }
  void SetShown(bool shown) { shown_ = shown; }
  bool Shown() const { return shown_; }
  std::wstring Prefix();
  // The requests seen, in order: "shown 1", "toolbar 0", "arrange l t r b",
  // "area l t r b", "show-window 1"; the prefix and waveforms are kept apart.
  std::vector<std::string> Requests();
  void ClearRequests();
  std::vector<std::vector<CQComplex>> Waveforms();

  std::atomic<int> quits{0};
  std::atomic<bool> failSave{false};
  // Closed: the save handler waits until it is opened.
  lv::PlatformEvent saveGate{true};
  std::atomic<bool> inSave{false};

 protected:
  bool InitInstance() override;
  bool OnIdle(long count) override;
  void OnMessage(const CWThreadMessage& msg) override;
  void OnMsgGetParam(CWGetSetData& r) override;
  void OnMsgSetParam(CWGetSetData& r) override;
  void OnMsgSetParamNoWait(CWGetSetData& r) override;
  void OnMsgSaveSettings(CQAppSettings& s) override;
  void OnMsgRecallSettings(CQAppSettings& s) override;

 private:
  void Record(std::string r);
  CWPlotKind kind_;
  int xmtr_;
  std::string title_;
  EventLog& log_;
  int startDelayMs_;
  bool announced_ = false;
  std::atomic<bool> shown_{false};
  std::mutex mutex_;
  std::wstring prefix_;
  std::vector<std::string> requests_;
  std::vector<std::vector<CQComplex>> waveforms_;
};

}  // namespace lv_test
