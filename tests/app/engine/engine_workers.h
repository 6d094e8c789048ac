// Test doubles around the engine thread: a data manager serving waveforms
// from memory, plot workers that take arrays the way the plot threads do, and
// an instrument manager that only records; with small helpers the engine
// tests share. Not product code.
#pragma once

#include <atomic>
#include <chrono>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "workers/ui_thread.h"
#include "core/arrays/carray.h"
#include "core/arrays/complex.h"
#include "core/error_dialog.h"
#include "platform/status_sink.h"
#include "platform/sync.h"
#include "xcvr/instr_settings.h"
#include "support/errors.h"

namespace lv_test {

// Polls done() until it holds or timeoutMs have passed.
template <typename F>
inline bool WaitUntil(F done, int timeoutMs = 5000) {
  const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  while (!done()) {
    if (std::chrono::steady_clock::now() > until) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  return true;
}

// A ramp of I with Q = -I/2 whose largest component is peak.
inline std::vector<CQComplex> Ramp(int n, float peak) {
  std::vector<CQComplex> v(static_cast<size_t>(n));
  for (int i = 0; i < n; ++i) {
    const float x = peak * static_cast<float>(i + 1) / static_cast<float>(n);
    v[static_cast<size_t>(i)] = CQComplex(x, -x / 2);
  }
  return v;
}

// The waveform interpolated by factor and then shifted by shiftHz, computed
// with the processing blocks themselves (the order the chain runs them in).
std::vector<CQComplex> InterpolatedThenShifted(const std::vector<CQComplex>& in, double rate, int factor,
                                               double shiftHz);

// A gate a worker's handler may wait at: closed, it holds the handler until
// opened. Entered() tells the test the handler has arrived.
class Gate {
 public:
  void Close() { open_.Reset(); armed_ = true; }
  void Open() { armed_ = false; open_.Set(); }
  void Pass() {
    if (!armed_) return;
    entered_.Set();
    open_.Wait(lv::kWaitForever);
  }
  bool Entered(uint32_t ms) { return entered_.Wait(ms) == lv::WaitResult::Signalled; }

 private:
  std::atomic<bool> armed_{false};
  lv::PlatformEvent open_{true};
  lv::PlatformEvent entered_;
};

// Serves get id 7 (file information) and set id 9 (read) from waveforms held
// in memory; a transmitter without one fails with "No input file selected.".
class MemoryDataManager : public CWUIThread {
 public:
  explicit MemoryDataManager(int transmitters) : CWUIThread("MemoryDataManager"), waves_(transmitters) {}
  ~MemoryDataManager() override { StopAndJoin(); }
  void SetWave(int i, std::vector<CQComplex> samples, double rate);

  std::atomic<int> infoRequests{0};
  std::atomic<int> readRequests{0};
  std::atomic<bool> failRead{false};  // reads fail as a damaged file would
  Gate infoGate;

 protected:
  void OnMsgGetParam(CWGetSetData& r) override;
  void OnMsgSetParam(CWGetSetData& r) override;

 private:
  struct Wave {
    std::vector<CQComplex> samples;
    double rate = 0.0;
    bool present = false;
  };
  std::mutex mutex_;
  std::vector<Wave> waves_;
};

// Takes arrays as a plot thread does: set id 1 copies the array when the
// window is shown, the requester is released, and only then the plot is
// computed (here: the copy is recorded) by a message of the worker's own.
class TestPlotWorker : public CWUIThread {
 public:
  TestPlotWorker() : CWUIThread("TestPlotWorker") {}
  ~TestPlotWorker() override { StopAndJoin(); }
  void SetShown(bool shown) { shown_ = shown; }
  // The arrays computed so far.
  std::vector<std::vector<CQComplex>> Computed();
  bool WaitComputed(size_t n, int timeoutMs);

 protected:
  void OnMessage(const CWThreadMessage& msg) override;
  void OnMsgSetParam(CWGetSetData& r) override;
  void OnMsgGetParam(CWGetSetData& r) override;

 private:
  std::atomic<bool> shown_{true};
  CQCArrayTD pending_;  // plot thread only
  std::mutex mutex_;
  std::vector<std::vector<CQComplex>> computed_;
};

// An instrument manager that records what the engine asks of it.
class RecordingInstrument : public CWUIThread {
 public:
  RecordingInstrument() : CWUIThread("RecordingInstrument"), settings_(4, 4) {}
  ~RecordingInstrument() override { StopAndJoin(); }
  void SetXmtrOn(int i, bool on);

  std::atomic<int> settingsRequests{0};
  std::atomic<int> transmits{0};
  std::atomic<int> disconnects{0};
  std::atomic<int> dataSets{0};
  std::atomic<bool> autoBackoff{false};
  std::atomic<int> autoBackoffSets{0};
  std::atomic<bool> failTransmit{false};  // transmissions fail as an unreachable board would
  Gate settingsGate;

 protected:
  void OnMessage(const CWThreadMessage& msg) override;
  void OnMsgGetParam(CWGetSetData& r) override;
  void OnMsgSetParam(CWGetSetData& r) override;

 private:
  std::mutex mutex_;
  CQInstrIIOMultiXcvrSettings settings_;
};

// A status bar that records every text.
class RecordingSink : public lv::StatusSink {
 public:
  void SetPaneText(int pane, const wchar_t* text) override {
    std::lock_guard<std::mutex> lock(mutex_);
    texts_.emplace_back(pane, text);
  }
  std::vector<std::pair<int, std::wstring>> Texts() {
    std::lock_guard<std::mutex> lock(mutex_);
    return texts_;
  }

 private:
  std::mutex mutex_;
  std::vector<std::pair<int, std::wstring>> texts_;
};

}  // namespace lv_test
