// CWSorvekEngine: what the Start command does, as a resumable state machine.
//
// A pass finds the transmitters that are on, has the data manager describe and
// read each one's IQ file, runs each transmitter's processing chain
// (CQSampleRateMgr) on it, hands each processed waveform to the instrument
// manager (which loads the board's cyclic transmit buffers and transmits) and
// to the transmitter's plot threads. Execute() performs one small step per
// call, so the engine thread can answer requests between steps.
//
// Every request the engine makes blocks the engine thread until the target
// answers; no step waits on the user-interface thread (status texts go
// through lv::StatusSink, which only posts).
//
// Pass: 1 prepare; 2.1 file information, 2.2 "frequency shift first" cleared,
// 2.3 backoff choice sent; 3.1 read, 3.2 process, 3.3 hand on and transmit,
// 3.4 disconnect when a Stop arrived; 4 finish; 5 idle.
//
// The engine owns each transmitter's processing settings and saves and
// recalls them under "Xmtr:<i>:" (i from 0). A transmitter whose keys are
// missing from a file keeps its own current values.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "workers/get_set_data.h"

class CQAppSettings;
class CQCArrayTD;
class CQFileDataBlock;
class CQSampleRateMgr;
class CQSampleRateMgrSettings;
struct CQFileInfo;
class CQInstrIIOMultiXcvrSettings;
class CWUIThread;
namespace lv {
class StatusSink;
}

// Engine states.
enum : int32_t {
  kEngineStatePrepare = 1,
  kEngineStateFileInfo = 2,
  kEngineStateTransmit = 3,
  kEngineStateFinish = 4,
  kEngineStateIdle = 5,
};

// Request ids of the engine (get and set).
enum : int32_t {
  kEngineParamState = 1,       // int
  // Processing settings of transmitter `index`. Get: a pointer to a new
  // CQSampleRateMgrSettings copied from the manager, which the requester
  // deletes. Set: a pointer to a CQSampleRateMgrSettings the manager copies
  // (the requester keeps it); a field that differs marks the manager changed.
  kEngineParamProcessing = 3,
  kEngineParamStatusBar = 4,   // set only: pointer to an lv::StatusSink (may be null)
};

// Request ids the engine uses on the data manager.
enum : int32_t {
  kDataMgrGetFileInfo = 7,  // CQFileInfo*, index = transmitter; a new record the requester owns
  kDataMgrSetReadData = 9,  // CQFileDataBlock*, index = transmitter; filled in place
};

// Request id a plot thread takes a waveform with (CQCArrayTD*, copied).
inline constexpr int32_t kPlotSetData = 1;

// Plot threads of one transmitter, in the order they get each waveform.
struct CWEnginePlots {
  CWUIThread* timeDomain = nullptr;
  CWUIThread* spectrum = nullptr;
  CWUIThread* persistence = nullptr;
  CWUIThread* spectrogram = nullptr;
};

// The threads the engine talks to. Not owned; they outlive the engine thread.
struct CWEngineLinks {
  CWUIThread* dataManager = nullptr;
  CWUIThread* instrumentManager = nullptr;
  std::vector<CWEnginePlots> plots;  // one per transmitter; may be shorter (no plots)
};

class CWSorvekEngine {
 public:
  CWSorvekEngine(int transmitters, int receivers, const CWEngineLinks& links);
  ~CWSorvekEngine();
  CWSorvekEngine(const CWSorvekEngine&) = delete;
  CWSorvekEngine& operator=(const CWSorvekEngine&) = delete;

  // Request handlers of the engine thread. Throw CQError* (the thread's base
  // stores it in the request and releases the requester).
  void GetParam(CWGetSetData& request);
  void SetParam(CWGetSetData& request);

  // One step of the pass. False only when the engine is idle. On failure the
  // status bar is cleared, the board is disconnected (message 25 to the
  // instrument manager), the engine goes idle and the error is thrown on.
  bool Execute();

  // The processing settings of every transmitter under "Xmtr:<i>:". Errors are
  // thrown on with the operation's name appended.
  void SaveSettings(CQAppSettings* store);
  void RecallSettings(CQAppSettings* store);

  int32_t State() const { return state_; }
  void SetState(int32_t state);
  void RequestStop() { stopRequest_ = true; }
  bool StopRequested() const { return stopRequest_; }

 private:
  // Transmitter i's processing manager; "Invalid transmitter index." outside 0..n-1.
  CQSampleRateMgr* Processing(int i);
  void Step();
  void Prepare();
  void ReadFileInfo();
  void ClearFreqShiftFirst();
  void SetBackoff();
  void ReadData();
  void Process();
  void HandOn();
  void FinishPass();
  void ClearStatus();
  void Disconnect();

  bool connectionTextShown_ = false;
  int32_t numXmtrs_;
  int32_t numRcvrs_;
  int32_t activeCount_ = 0;
  bool stopRequest_ = false;
  int32_t state_ = kEngineStateIdle;
  int32_t subStep_ = 0;
  lv::StatusSink* statusBar_ = nullptr;
  CWEngineLinks links_;
  std::vector<bool> active_;
  std::vector<bool> newData_;
  std::vector<std::unique_ptr<CQFileInfo>> fileInfo_;
  std::vector<std::unique_ptr<CQFileDataBlock>> dataBlocks_;
  std::vector<std::unique_ptr<CQCArrayTD>> outputs_;
  std::vector<std::unique_ptr<CQSampleRateMgr>> processing_;
  // A copy of the instrument manager's settings, fetched at the start of each pass.
  std::unique_ptr<CQInstrIIOMultiXcvrSettings> xcvrSettings_;
};
