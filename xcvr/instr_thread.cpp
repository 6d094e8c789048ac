#include "xcvr/instr_thread.h"

#include "core/call_stack.h"
#include "core/error.h"

namespace {

using lv::Named;

}  // namespace

void CWInstrIIOMultiXcvrMgr::ShowStatusText(const wchar_t* text) {
  if (statusSink_ != nullptr && text != nullptr) {
    statusSink_->SetPaneText(2, text);
  }
}

CWInstrIIOMultiXcvrMgrThread::CWInstrIIOMultiXcvrMgrThread(int transmitters, int receivers)
    : CWUIThread("CWInstrIIOMultiXcvrMgrThread", "instrument"), numXmtrs_(transmitters), numRcvrs_(receivers) {}

CWInstrIIOMultiXcvrMgrThread::~CWInstrIIOMultiXcvrMgrThread() { StopAndJoin(); }

bool CWInstrIIOMultiXcvrMgrThread::InitInstance() {
  try {
    manager_ = std::make_unique<CWInstrIIOMultiXcvrMgr>(numXmtrs_, numRcvrs_);
  } catch (CQError* e) {
    e->AddToCallStack("CWInstrIIOMultiXcvrMgrThread::InitInstance");
    throw;
  }
  return true;
}

void CWInstrIIOMultiXcvrMgrThread::ExitInstance() {
  // The board is released here, on the thread that owns its libiio objects.
  manager_.reset();
}

CWInstrIIOMultiXcvrMgr& CWInstrIIOMultiXcvrMgrThread::Manager() {
  if (!manager_) {
    throw new CQError("The instrument manager does not exist.");
  }
  return *manager_;
}

void CWInstrIIOMultiXcvrMgrThread::OnMessage(const CWThreadMessage& msg) {
  switch (msg.id) {
    case kMsgSetParamNoWait:
      // Refused; nobody waits for the request, so it is freed here.
      delete static_cast<CWGetSetData*>(msg.parameter);
      throw new CQError("Unhandled message in thread queue.");
    case kMsgInstrConnect:
      OnMsgInstrConnect();
      return;
    case kMsgInstrDisconnect:
      OnMsgInstrDisconnect();
      return;
    case kMsgInstrTransmit:
      OnMsgInstrTransmit();
      return;
    default:
      CWUIThread::OnMessage(msg);
  }
}

void CWInstrIIOMultiXcvrMgrThread::OnMsgInstrConnect() {
  Named("CWInstrIIOMultiXcvrMgrThread::OnMsgInstrConnect", [&] { Manager().Connect(); });
}

void CWInstrIIOMultiXcvrMgrThread::OnMsgInstrDisconnect() {
  Named("CWInstrIIOMultiXcvrMgrThread::OnMsgInstrDisconnect", [&] { Manager().Disconnect(); });
}

void CWInstrIIOMultiXcvrMgrThread::OnMsgInstrTransmit() {
  Named("CWInstrIIOMultiXcvrMgrThread::OnMsgInstrTransmit", [&] { Manager().Transmit(); });
}

void CWInstrIIOMultiXcvrMgrThread::OnMsgGetParam(CWGetSetData& r) {
  CWInstrIIOMultiXcvrMgr& m = Manager();
  switch (r.paramId) {
    case kInstrGetSettings:
      // The requester gets its own copy, never the live object this thread changes.
      r.SetPointer(new CQInstrIIOMultiXcvrSettings(*m.GetSettings()));
      break;
    case kInstrGetRcvrData:
      r.SetArrayTD(m.GetRcvrData(r.index));
      break;
    case kInstrGetModel:
      r.SetInt(m.GetModel());
      break;
    case kInstrGetDescription:
      r.SetStringCopy(m.GetConnectionDescription());
      break;
    case kInstrGetRcvrOn:
      r.SetBool(m.GetRcvrOn(r.index));
      break;
    case kInstrGetAcquireNow:
      r.SetBool(m.GetAcquireNow());
      break;
    case kInstrGetTransmitNow:
      r.SetBool(m.GetTransmitNow());
      break;
    case kInstrGetBasebandDir:
      r.SetStringCopy(m.GetBasebandDir());
      break;
    case kInstrGetAutoBackoff:
      r.SetBool(m.GetAutoBackoff());
      break;
    case kInstrGetBackoff:
      r.SetFloat(m.GetBackoff());
      break;
    default:
      throw new CQError("Unknown parameter type.");
  }
}

void CWInstrIIOMultiXcvrMgrThread::OnMsgSetParam(CWGetSetData& r) {
  CWInstrIIOMultiXcvrMgr& m = Manager();
  switch (r.paramId) {
    case kInstrSetSettings:
      m.SetSettings(static_cast<const CQInstrIIOMultiXcvrSettings*>(r.pointerValue));
      break;
    case kInstrSetXmtrData:
      m.SetXmtrData(static_cast<const CQCArrayTD*>(r.pointerValue), r.index);
      break;
    case kInstrSetStatusSink:
      m.SetStatusSink(static_cast<lv::StatusSink*>(r.pointerValue));
      break;
    case kInstrSetBasebandDir:
      m.SetBasebandDir(r.stringValue);
      break;
    case kInstrSetAutoBackoff:
      m.SetAutoBackoff(r.boolValue);
      break;
    case kInstrSetBackoff:
      m.SetBackoff(r.floatValue);
      break;
    default:
      throw new CQError("Unknown parameter type.");
  }
}

void CWInstrIIOMultiXcvrMgrThread::OnMsgSaveSettings(CQAppSettings& settings) {
  // The base names this handler in the call stack of an error that leaves it.
  Manager().GetSettings()->SaveSettings(&settings);
}

void CWInstrIIOMultiXcvrMgrThread::OnMsgRecallSettings(CQAppSettings& settings) {
  CQInstrIIOMultiXcvrSettings recalled(numXmtrs_, numRcvrs_);
  recalled.RecallSettings(&settings);
  Manager().SetSettings(&recalled);
}
