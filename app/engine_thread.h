// CWSorvekEngineThread: the worker that hosts the engine.
//
// Start (message 30) restarts the pass at state 1 and queues one continue
// token (33) to the thread's own queue; each continue runs one engine step and
// queues the next token, unless a get or set request is waiting, which is
// older and goes first. Repeated Starts coalesce into one pass; at most one
// continue token is queued at any time. Stop (31) only marks the pass: it ends
// normally and then disconnects the board. An error in a step ends the pass
// (the engine clears the status bar and disconnects) and is shown once by the
// thread's OnIdle. Save (5) and recall (6) write and read the processing
// settings of every transmitter.
#pragma once

#include <memory>

#include "app/engine.h"
#include "workers/ui_thread.h"

// Messages of the engine thread.
enum : int32_t { kMsgEngineStart = 30, kMsgEngineStop = 31, kMsgEngineContinue = 33 };

class CWSorvekEngineThread : public CWUIThread {
 public:
  // links: the threads the engine talks to; they must outlive this thread.
  CWSorvekEngineThread(int transmitters, int receivers, const CWEngineLinks& links);
  ~CWSorvekEngineThread() override;

 protected:
  bool InitInstance() override;
  void ExitInstance() override;
  void OnMessage(const CWThreadMessage& msg) override;
  void OnMsgGetParam(CWGetSetData& request) override;
  void OnMsgSetParam(CWGetSetData& request) override;
  void OnMsgSaveSettings(CQAppSettings& settings) override;
  void OnMsgRecallSettings(CQAppSettings& settings) override;

 private:
  void OnMsgEngineStart();
  void OnMsgEngineStop();
  void OnMsgEngineContinue();

  int numXmtrs_;
  int numRcvrs_;
  CWEngineLinks links_;
  std::unique_ptr<CWSorvekEngine> engine_;
};
