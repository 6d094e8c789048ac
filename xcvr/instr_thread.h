// The instrument-manager thread: every access to the transceiver board goes
// through this worker. Other threads use its queue: get and set requests,
// save and recall, and the instrument messages connect (24), disconnect (25)
// and transmit (27).
#pragma once

#include <memory>

#include "workers/ui_thread.h"
#include "platform/status_sink.h"
#include "xcvr/multi_xcvr.h"

// The transceiver with its progress texts going to pane 2 of the status bar.
class CWInstrIIOMultiXcvrMgr : public CQInstrIIOMultiXcvr {
 public:
  CWInstrIIOMultiXcvrMgr(int transmitters, int receivers) : CQInstrIIOMultiXcvr(transmitters, receivers) {}
  void ShowStatusText(const wchar_t* text) override;
  void SetStatusSink(lv::StatusSink* sink) { statusSink_ = sink; }

 private:
  lv::StatusSink* statusSink_ = nullptr;
};

// Message ids of the instrument thread.
enum : int32_t { kMsgInstrConnect = 24, kMsgInstrDisconnect = 25, kMsgInstrTransmit = 27 };

// Get request ids.
enum : int32_t {
  kInstrGetSettings = 1,        // pointer: a new copy of the transceiver settings; the requester deletes it
  kInstrGetRcvrData = 2,        // CQCArrayTD* owned by the manager
  kInstrGetModel = 4,           // int
  kInstrGetDescription = 5,     // string copy
  kInstrGetRcvrOn = 6,          // bool
  kInstrGetAcquireNow = 8,      // bool, runs a reception
  kInstrGetTransmitNow = 9,     // bool, runs a transmission
  kInstrGetBasebandDir = 10,    // string copy
  kInstrGetAutoBackoff = 11,    // bool
  kInstrGetBackoff = 12,        // float dB
};

// Set request ids.
enum : int32_t {
  kInstrSetSettings = 1,     // pointer to a CQInstrIIOMultiXcvrSettings, merged by its flags
  kInstrSetXmtrData = 3,     // CQCArrayTD*, index = transmitter; copied
  kInstrSetStatusSink = 7,   // pointer to an lv::StatusSink
  kInstrSetBasebandDir = 10, // string, copied
  kInstrSetAutoBackoff = 11, // bool
  kInstrSetBackoff = 12,     // float dB
};

class CWInstrIIOMultiXcvrMgrThread : public CWUIThread {
 public:
  CWInstrIIOMultiXcvrMgrThread(int transmitters = 4, int receivers = 4);
  ~CWInstrIIOMultiXcvrMgrThread() override;

 protected:
  bool InitInstance() override;
  void ExitInstance() override;
  void OnMessage(const CWThreadMessage& msg) override;
  void OnMsgGetParam(CWGetSetData& request) override;
  void OnMsgSetParam(CWGetSetData& request) override;
  void OnMsgSaveSettings(CQAppSettings& settings) override;
  void OnMsgRecallSettings(CQAppSettings& settings) override;

 private:
  // Messages 24, 25 and 27: the manager's Connect, Disconnect and Transmit.
  void OnMsgInstrConnect();
  void OnMsgInstrDisconnect();
  void OnMsgInstrTransmit();

  CWInstrIIOMultiXcvrMgr& Manager();

  int numXmtrs_;
  int numRcvrs_;
  std::unique_ptr<CWInstrIIOMultiXcvrMgr> manager_;
};
