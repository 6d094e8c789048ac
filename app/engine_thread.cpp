#include "app/engine_thread.h"

#include "core/error.h"

CWSorvekEngineThread::CWSorvekEngineThread(int transmitters, int receivers, const CWEngineLinks& links)
    : CWUIThread("CWSorvekEngineThread", "SorvekEngine"),
      numXmtrs_(transmitters),
      numRcvrs_(receivers),
      links_(links) {}

CWSorvekEngineThread::~CWSorvekEngineThread() { StopAndJoin(); }

bool CWSorvekEngineThread::InitInstance() {
  engine_ = std::make_unique<CWSorvekEngine>(numXmtrs_, numRcvrs_, links_);
  return true;
}

void CWSorvekEngineThread::ExitInstance() { engine_.reset(); }

void CWSorvekEngineThread::OnMessage(const CWThreadMessage& msg) {
  switch (msg.id) {
    case kMsgEngineStart:
      OnMsgEngineStart();
      return;
    case kMsgEngineStop:
      OnMsgEngineStop();
      return;
    case kMsgEngineContinue:
      OnMsgEngineContinue();
      return;
    default:
      CWUIThread::OnMessage(msg);
  }
}

void CWSorvekEngineThread::OnMsgGetParam(CWGetSetData& request) { engine_->GetParam(request); }

void CWSorvekEngineThread::OnMsgSetParam(CWGetSetData& request) { engine_->SetParam(request); }

void CWSorvekEngineThread::OnMsgSaveSettings(CQAppSettings& settings) { engine_->SaveSettings(&settings); }

void CWSorvekEngineThread::OnMsgRecallSettings(CQAppSettings& settings) { engine_->RecallSettings(&settings); }

void CWSorvekEngineThread::OnMsgEngineStart() {
  try {
    // Starts already queued stand for this one, and a continue token of the
    // pass being restarted must not run a step of the old pass.
    while (IsMessageInQueue(kMsgEngineStart, true)) {
    }
    while (IsMessageInQueue(kMsgEngineContinue, true)) {
    }
    engine_->SetState(kEngineStatePrepare);
    PutMessageIfAbsent(kMsgEngineContinue);
  } catch (CQError* e) {
    e->AddToCallStack("CWSorvekEngineThread::OnMsgEngineStart");
    throw;
  }
}

void CWSorvekEngineThread::OnMsgEngineStop() { engine_->RequestStop(); }

void CWSorvekEngineThread::OnMsgEngineContinue() {
  try {
    while (IsMessageInQueue(kMsgEngineContinue, true)) {
    }
    // A waiting get or set is older than the next step: the token goes behind it.
    if (IsMessageInQueue(2, false) || IsMessageInQueue(3, false)) {
      PutMessageIfAbsent(kMsgEngineContinue);
      return;
    }
    if (engine_->Execute() && engine_->State() != kEngineStateIdle) {
      PutMessageIfAbsent(kMsgEngineContinue);
    }
  } catch (CQError* e) {
    e->AddToCallStack("CWSorvekEngineThread::OnMsgEngineContinue");
    throw;
  }
}
