#include "workers/ui_thread.h"

#include <exception>
#include <new>
#include <thread>

#include "core/error.h"
#include "core/error_dialog.h"
#include "platform/ui_post.h"
#include "platform/window_messages.h"

namespace {

constexpr const char* kNotRunning = "The worker thread is not running.";

// Runs f; any exception that is not a CQError becomes one, so that workers
// report every failure the same way.
template <typename F>
void AsCQError(F&& f) {
  try {
    f();
  } catch (CQError*) {
    throw;
  } catch (const std::bad_alloc&) {
    throw new CQError(1);
  } catch (const std::exception& ex) {
    throw new CQError(ex.what());
  }
}

}  // namespace

CWUIThread::CWUIThread(const char* className, const char* threadName)
    : className_(className != nullptr ? className : "CWUIThread"),
      threadName_(threadName != nullptr ? threadName : className_) {}

CWUIThread::~CWUIThread() { StopAndJoin(); }

std::string CWUIThread::NameOf(const char* method) const { return className_ + "::" + method; }

bool CWUIThread::StartUIThread() {
  if (thread_.WasStarted()) {
    if (thread_.IsRunning()) {
      return false;  // one thread per worker object
    }
    thread_.Join();  // an ended thread may be started again
  }
  try {
    Initialize();
  } catch (CQError* e) {
    delete e;
    return false;
  }
  if (!thread_.Start([this] { Run(); }, threadName_)) {
    Close();
    return false;
  }
  return true;
}

bool CWUIThread::Join(uint32_t timeoutMs) { return thread_.Join(timeoutMs); }

bool CWUIThread::StopAndJoin(uint32_t timeoutMs) {
  if (!thread_.WasStarted()) {
    return true;
  }
  if (IsOwnerThread() && thread_.IsRunning()) {
    RequestQuit();  // a thread cannot wait for its own end
    return false;
  }
  if (thread_.IsRunning() && GetCapacity() != 0) {
    try {
      PutMessage(kMsgQuit);
    } catch (CQError* e) {
      delete e;
    }
  }
  return thread_.Join(timeoutMs);
}

void CWUIThread::Run() {
  SetOwnerThread(std::this_thread::get_id());
  quit_ = false;
  readyPosted_ = false;
  bool initialised = false;
  try {
    AsCQError([&] { initialised = InitInstance(); });
  } catch (CQError* e) {
    e->AddToCallStack(NameOf("InitInstance").c_str());
    ShowErrorDialog(e);
  }
  if (initialised) {
    long count = 0;
    while (!quit_) {
      if (OnIdle(count)) {
        ++count;
      } else if (!quit_) {
        count = 0;
        WaitForWork();
      }
    }
  }
  try {
    AsCQError([&] { ExitInstance(); });
  } catch (CQError* e) {
    e->AddToCallStack(NameOf("ExitInstance").c_str());
    ShowErrorDialog(e);
  }
  FailHeldMessages();
}

void CWUIThread::FailHeldMessages() {
  for (const CWThreadMessage& msg : Close()) {
    auto* request = static_cast<CWGetSetData*>(msg.parameter);
    if (request == nullptr) {
      continue;
    }
    if (msg.id == kMsgGetParam || msg.id == kMsgSetParam) {
      request->Fail(new CQError(kNotRunning),
                    NameOf(msg.id == kMsgGetParam ? "OnMsgGetParam" : "OnMsgSetParam").c_str());
    } else if (msg.id == kMsgSetParamNoWait) {
      delete request;
    }
  }
}

bool CWUIThread::InitInstance() { return true; }

void CWUIThread::ExitInstance() {}

bool CWUIThread::OnIdle(long /*count*/) {
  if (!readyPosted_) {
    lv::PostToUi(kWmWorkerReady, this);
    readyPosted_ = true;
  }
  try {
    // Window messages of the thread's own windows come before queue messages.
    bool handledWindowMessage = false;
    AsCQError([&] { handledWindowMessage = lv::DispatchOneWindowMessage(); });
    if (handledWindowMessage) {
      return true;
    }
    CWThreadMessage msg;
    if (!RetrieveMessage(&msg)) {
      return false;
    }
    AsCQError([&] { OnMessage(msg); });
  } catch (CQError* e) {
    e->AddToCallStack(NameOf("OnIdle").c_str());
    ShowErrorDialog(e);
  }
  return true;
}

void CWUIThread::WaitForWork() { lv::WaitForQueueOrWindowMessages(MessagesPresentEvent()); }

void CWUIThread::OnMessage(const CWThreadMessage& msg) {
  switch (msg.id) {
    case kMsgQuit:
      RequestQuit();
      return;
    case kMsgGetParam:
      OnMsgGetParam(msg.parameter);
      return;
    case kMsgSetParam:
      OnMsgSetParam(msg.parameter);
      return;
    case kMsgSetParamNoWait:
      OnMsgSetParamNoWait(msg.parameter);
      return;
    case kMsgSaveSettings:
      OnMsgSaveSettings(msg.parameter);
      return;
    case kMsgRecallSettings:
      OnMsgRecallSettings(msg.parameter);
      return;
    default:
      throw new CQError("Unhandled message in thread queue.");
  }
}

void CWUIThread::OnMsgGetParam(CWGetSetData& /*request*/) { throw new CQError("Unknown parameter type."); }

void CWUIThread::OnMsgSetParam(CWGetSetData& /*request*/) { throw new CQError("Unknown parameter type."); }

void CWUIThread::OnMsgSetParamNoWait(CWGetSetData& request) { OnMsgSetParam(request); }

void CWUIThread::OnMsgSaveSettings(CQAppSettings& /*settings*/) {}

void CWUIThread::OnMsgRecallSettings(CQAppSettings& /*settings*/) {}

template <typename Handler>
bool CWUIThread::HandleRequest(Handler handler, CWGetSetData* request, const char* name) {
  afterAnswer_ = nullptr;
  inRequestHandler_ = true;
  try {
    AsCQError(handler);
  } catch (CQError* e) {
    inRequestHandler_ = false;
    afterAnswer_ = nullptr;
    request->Fail(e, NameOf(name).c_str());
    return false;
  }
  inRequestHandler_ = false;
  return true;
}

void CWUIThread::OnMsgGetParam(void* parameter) {
  auto* request = static_cast<CWGetSetData*>(parameter);
  if (request == nullptr) {
    throw new CQError("Null pointer to GetSet object.", NameOf("OnMsgGetParam").c_str());
  }
  if (!HandleRequest([&] { OnMsgGetParam(*request); }, request, "OnMsgGetParam")) {
    return;
  }
  request->Complete();
  RunAnswerWork("OnMsgGetParam");
}

void CWUIThread::OnMsgSetParam(void* parameter) {
  auto* request = static_cast<CWGetSetData*>(parameter);
  if (request == nullptr) {
    throw new CQError("Null pointer to GetSet object.", NameOf("OnMsgSetParam").c_str());
  }
  if (!HandleRequest([&] { OnMsgSetParam(*request); }, request, "OnMsgSetParam")) {
    return;
  }
  request->Complete();
  RunAnswerWork("OnMsgSetParam");
}

void CWUIThread::OnMsgSetParamNoWait(void* parameter) {
  auto* request = static_cast<CWGetSetData*>(parameter);
  if (request == nullptr) {
    throw new CQError("Null pointer to GetSet object.", NameOf("OnMsgSetParamNoWait").c_str());
  }
  // Nobody waits: the request is freed here and a failure goes to OnIdle.
  std::unique_ptr<CWGetSetData> owned(request);
  afterAnswer_ = nullptr;
  inRequestHandler_ = true;
  try {
    AsCQError([&] { OnMsgSetParamNoWait(*owned); });
  } catch (CQError* e) {
    inRequestHandler_ = false;
    afterAnswer_ = nullptr;
    e->AddToCallStack(NameOf("OnMsgSetParamNoWait").c_str());
    throw;
  }
  inRequestHandler_ = false;
  owned.reset();
  RunAnswerWork("OnMsgSetParamNoWait");
}

void CWUIThread::RunAfterAnswer(std::function<void()> work) {
  if (!work) {
    return;
  }
  if (!inRequestHandler_) {
    work();
    return;
  }
  if (afterAnswer_) {
    // Two pieces of work from one handler run in the order given.
    afterAnswer_ = [first = std::move(afterAnswer_), second = std::move(work)] {
      first();
      second();
    };
  } else {
    afterAnswer_ = std::move(work);
  }
}

void CWUIThread::RunAnswerWork(const char* handler) {
  std::function<void()> work = std::move(afterAnswer_);
  afterAnswer_ = nullptr;
  if (!work) {
    return;
  }
  try {
    AsCQError([&] { work(); });
  } catch (CQError* e) {
    e->AddToCallStack(NameOf(handler).c_str());
    throw;
  }
}

void CWUIThread::OnMsgSaveSettings(void* parameter) {
  CQError* failure = nullptr;
  try {
    if (parameter == nullptr) {
      throw new CQError("Null pointer to settings object.");
    }
    AsCQError([&] { OnMsgSaveSettings(*static_cast<CQAppSettings*>(parameter)); });
  } catch (CQError* e) {
    failure = e;
  }
  // The reply goes out whatever happened, so that the save chain goes on;
  // lParam 1 tells the main window this link's keys were not written.
  lv::PostToUi(kWmWorkerSaved, this, 0, failure != nullptr ? 1 : 0);
  if (failure != nullptr) {
    failure->AddToCallStack(NameOf("OnMsgSaveSettings").c_str());
    throw failure;
  }
}

void CWUIThread::OnMsgRecallSettings(void* parameter) {
  CQError* failure = nullptr;
  try {
    if (parameter == nullptr) {
      throw new CQError("Null pointer to settings object.");
    }
    AsCQError([&] { OnMsgRecallSettings(*static_cast<CQAppSettings*>(parameter)); });
  } catch (CQError* e) {
    failure = e;
  }
  lv::PostToUi(kWmWorkerRecalled, this);
  if (failure != nullptr) {
    failure->AddToCallStack(NameOf("OnMsgRecallSettings").c_str());
    throw failure;
  }
}

// ---------------------------------------------------------------------------
// Requests

template <typename Fill, typename Read>
void CWUIThread::Request(int32_t message, const char* name, int32_t id, int32_t index, Fill fill, Read read) {
  CWGetSetData* request = nullptr;
  try {
    if (GetCapacity() == 0 || IsClosed()) {
      throw new CQError(kNotRunning);
    }
    if (IsOwnerThread()) {
      throw new CQError("A thread cannot wait for an answer from itself.");
    }
    request = new CWGetSetData;
    request->paramId = id;
    request->index = index;
    fill(*request);
    if (!PutMessage(message, request)) {
      throw new CQError(kNotRunning);
    }
    if (CQError* waitError = request->WaitForDone()) {
      request = nullptr;  // abandoned: the target frees it
      throw waitError;
    }
    if (request->GetError() != nullptr) {
      throw request->GetError()->MakeCopy();
    }
    read(*request);
    delete request;
  } catch (CQError* e) {
    delete request;  // not queued, or answered
    e->AddToCallStack(name);
    throw;
  }
}

template <typename Fill>
void CWUIThread::RequestNoWait(int32_t id, int32_t index, Fill fill) {
  CWGetSetData* request = nullptr;
  try {
    if (GetCapacity() == 0 || IsClosed()) {
      throw new CQError(kNotRunning);
    }
    request = new CWGetSetData;
    request->paramId = id;
    request->index = index;
    fill(*request);
    if (!PutMessage(kMsgSetParamNoWait, request)) {
      throw new CQError(kNotRunning);
    }
  } catch (CQError* e) {
    delete request;  // not queued
    e->AddToCallStack("CWUIThread::SetParamNoWait");
    throw;
  }
}

namespace {
constexpr const char* kSetName = "CWUIThread::SetParam";
constexpr const char* kGetName = "CWUIThread::GetParam";
auto NoRead = [](CWGetSetData&) {};

template <typename T>
void CheckOut(T* out) {
  if (out == nullptr) {
    throw new CQError("Null pointer to output data.", kGetName);
  }
}

void ExpectType(const CWGetSetData& r, int32_t type, const char* message) {
  if (r.valueType != type) {
    throw new CQError(message);
  }
}
}  // namespace

void CWUIThread::SetParam(bool value, int32_t id, int32_t index) {
  Request(kMsgSetParam, kSetName, id, index, [&](CWGetSetData& r) { r.SetBool(value); }, NoRead);
}
void CWUIThread::SetParam(int32_t value, int32_t id, int32_t index) {
  Request(kMsgSetParam, kSetName, id, index, [&](CWGetSetData& r) { r.SetInt(value); }, NoRead);
}
void CWUIThread::SetParam(float value, int32_t id, int32_t index) {
  Request(kMsgSetParam, kSetName, id, index, [&](CWGetSetData& r) { r.SetFloat(value); }, NoRead);
}
void CWUIThread::SetParam(double value, int32_t id, int32_t index) {
  Request(kMsgSetParam, kSetName, id, index, [&](CWGetSetData& r) { r.SetDouble(value); }, NoRead);
}
void CWUIThread::SetParam(const wchar_t* value, int32_t id, int32_t index) {
  Request(kMsgSetParam, kSetName, id, index, [&](CWGetSetData& r) { r.SetStringRef(value); }, NoRead);
}
void CWUIThread::SetParam(void* value, int32_t id, int32_t index) {
  Request(kMsgSetParam, kSetName, id, index, [&](CWGetSetData& r) { r.SetPointer(value); }, NoRead);
}
void CWUIThread::SetParam(const CWRect& value, int32_t id, int32_t index) {
  Request(kMsgSetParam, kSetName, id, index, [&](CWGetSetData& r) { r.SetRect(value); }, NoRead);
}
void CWUIThread::SetParam(CQCArrayTD* value, int32_t id, int32_t index) {
  Request(kMsgSetParam, kSetName, id, index, [&](CWGetSetData& r) { r.SetArrayTD(value); }, NoRead);
}
void CWUIThread::SetParam(CQFileInfo* value, int32_t id, int32_t index) {
  Request(kMsgSetParam, kSetName, id, index, [&](CWGetSetData& r) { r.SetFileInfo(value); }, NoRead);
}
void CWUIThread::SetParam(CQFileDataBlock* value, int32_t id, int32_t index) {
  Request(kMsgSetParam, kSetName, id, index, [&](CWGetSetData& r) { r.SetFileDataBlock(value); }, NoRead);
}

void CWUIThread::SetParamNoWait(const CWRect& value, int32_t id) {
  RequestNoWait(id, 0, [&](CWGetSetData& r) { r.SetRect(value); });
}
void CWUIThread::SetParamNoWait(bool value, int32_t id, int32_t index) {
  RequestNoWait(id, index, [&](CWGetSetData& r) { r.SetBool(value); });
}
void CWUIThread::SetParamNoWait(int32_t value, int32_t id, int32_t index) {
  RequestNoWait(id, index, [&](CWGetSetData& r) { r.SetInt(value); });
}
void CWUIThread::SetParamNoWait(double value, int32_t id, int32_t index) {
  RequestNoWait(id, index, [&](CWGetSetData& r) { r.SetDouble(value); });
}

void CWUIThread::GetParam(bool* out, int32_t id, int32_t index) {
  CheckOut(out);
  Request(kMsgGetParam, kGetName, id, index, [](CWGetSetData&) {}, [&](CWGetSetData& r) {
    ExpectType(r, kValueBool, "Returned data type was not boolean, which was expected.");
    *out = r.boolValue;
  });
}
void CWUIThread::GetParam(int32_t* out, int32_t id, int32_t index) {
  CheckOut(out);
  Request(kMsgGetParam, kGetName, id, index, [](CWGetSetData&) {}, [&](CWGetSetData& r) {
    ExpectType(r, kValueInt, "Returned data type was not integer, which was expected.");
    *out = r.intValue;
  });
}
void CWUIThread::GetParam(float* out, int32_t id, int32_t index) {
  CheckOut(out);
  Request(kMsgGetParam, kGetName, id, index, [](CWGetSetData&) {}, [&](CWGetSetData& r) {
    ExpectType(r, kValueFloat, "Returned data type was not float, which was expected.");
    *out = r.floatValue;
  });
}
void CWUIThread::GetParam(double* out, int32_t id, int32_t index) {
  CheckOut(out);
  Request(kMsgGetParam, kGetName, id, index, [](CWGetSetData&) {}, [&](CWGetSetData& r) {
    ExpectType(r, kValueDouble, "Returned data type was not double, which was expected.");
    *out = r.doubleValue;
  });
}
void CWUIThread::GetParam(std::wstring* out, int32_t id, int32_t index) {
  CheckOut(out);
  Request(kMsgGetParam, kGetName, id, index, [](CWGetSetData&) {}, [&](CWGetSetData& r) {
    ExpectType(r, kValueString, "Returned data type was not wide character, which was expected.");
    if (r.stringValue != nullptr) {
      out->assign(r.stringValue);
    } else {
      out->clear();
    }
  });
}
void CWUIThread::GetParam(void** out, int32_t id, int32_t index) {
  CheckOut(out);
  Request(kMsgGetParam, kGetName, id, index, [](CWGetSetData&) {}, [&](CWGetSetData& r) {
    ExpectType(r, kValuePointer, "Returned data type was not void*, which was expected.");
    *out = r.pointerValue;
  });
}
void CWUIThread::GetParam(CWRect* out, int32_t id, int32_t index) {
  CheckOut(out);
  Request(kMsgGetParam, kGetName, id, index, [](CWGetSetData&) {}, [&](CWGetSetData& r) {
    ExpectType(r, kValueRect, "Returned data type was not rectangle, which was expected.");
    *out = r.rectValue;
  });
}
void CWUIThread::GetParam(CQCArrayTD** out, int32_t id, int32_t index) {
  CheckOut(out);
  Request(kMsgGetParam, kGetName, id, index, [](CWGetSetData&) {}, [&](CWGetSetData& r) {
    ExpectType(r, kValueArrayTD, "Returned data type was not the expected type of pointer.");
    *out = static_cast<CQCArrayTD*>(r.pointerValue);
  });
}
void CWUIThread::GetParam(CQFileInfo** out, int32_t id, int32_t index) {
  CheckOut(out);
  Request(kMsgGetParam, kGetName, id, index, [](CWGetSetData&) {}, [&](CWGetSetData& r) {
    ExpectType(r, kValueFileInfo, "Returned data type was not the expected type of pointer.");
    *out = static_cast<CQFileInfo*>(r.pointerValue);
  });
}
void CWUIThread::GetParam(CQFileDataBlock** out, int32_t id, int32_t index) {
  CheckOut(out);
  Request(kMsgGetParam, kGetName, id, index, [](CWGetSetData&) {}, [&](CWGetSetData& r) {
    ExpectType(r, kValueFileDataBlock, "Returned data type was not the expected type of pointer.");
    *out = static_cast<CQFileDataBlock*>(r.pointerValue);
  });
}
