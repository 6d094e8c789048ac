#include "workers/get_set_data.h"

#include "workers/thread_wait.h"
#include "core/error.h"

lv::CriticalSection& CWRequestLock() {
  static lv::CriticalSection lock;
  return lock;
}

namespace {
// Constructed before main runs, as the request lock must exist before any
// thread starts.
[[maybe_unused]] lv::CriticalSection& g_requestLockAtStart = CWRequestLock();

[[noreturn]] void WrongType(const char* name) { throw new CQError("Wrong data type in set request.", name); }
}  // namespace

CWGetSetData::~CWGetSetData() { delete error_; }

void CWGetSetData::SetBool(bool v) {
  valueType = kValueBool;
  boolValue = v;
}
void CWGetSetData::SetInt(int32_t v) {
  valueType = kValueInt;
  intValue = v;
}
void CWGetSetData::SetFloat(float v) {
  valueType = kValueFloat;
  floatValue = v;
}
void CWGetSetData::SetDouble(double v) {
  valueType = kValueDouble;
  doubleValue = v;
}
void CWGetSetData::SetStringRef(const wchar_t* text) {
  valueType = kValueString;
  stringValue = text;
}
void CWGetSetData::SetStringCopy(const wchar_t* text) {
  valueType = kValueString;
  if (text == nullptr) {
    stringStorage_.clear();
    stringValue = nullptr;
    return;
  }
  stringStorage_.assign(text);
  stringValue = stringStorage_.c_str();
}
void CWGetSetData::SetPointer(void* p) {
  valueType = kValuePointer;
  pointerValue = p;
}
void CWGetSetData::SetRect(const CWRect& r) {
  valueType = kValueRect;
  rectValue = r;
}
void CWGetSetData::SetArrayTD(CQCArrayTD* p) {
  valueType = kValueArrayTD;
  pointerValue = p;
}
void CWGetSetData::SetFileInfo(CQFileInfo* p) {
  valueType = kValueFileInfo;
  pointerValue = p;
}
void CWGetSetData::SetFileDataBlock(CQFileDataBlock* p) {
  valueType = kValueFileDataBlock;
  pointerValue = p;
}

bool CWGetSetData::GetBool() const {
  if (valueType != kValueBool) WrongType("CWGetSetData::GetBool");
  return boolValue;
}
int32_t CWGetSetData::GetInt() const {
  if (valueType != kValueInt) WrongType("CWGetSetData::GetInt");
  return intValue;
}
float CWGetSetData::GetFloat() const {
  if (valueType != kValueFloat) WrongType("CWGetSetData::GetFloat");
  return floatValue;
}
double CWGetSetData::GetDouble() const {
  if (valueType != kValueDouble) WrongType("CWGetSetData::GetDouble");
  return doubleValue;
}
const wchar_t* CWGetSetData::GetString() const {
  if (valueType != kValueString) WrongType("CWGetSetData::GetString");
  return stringValue;
}
void* CWGetSetData::GetPointer() const {
  if (valueType != kValuePointer) WrongType("CWGetSetData::GetPointer");
  return pointerValue;
}
CWRect CWGetSetData::GetRect() const {
  if (valueType != kValueRect) WrongType("CWGetSetData::GetRect");
  return rectValue;
}
CQCArrayTD* CWGetSetData::GetArrayTD() const {
  if (valueType != kValueArrayTD) WrongType("CWGetSetData::GetArrayTD");
  return static_cast<CQCArrayTD*>(pointerValue);
}
CQFileInfo* CWGetSetData::GetFileInfo() const {
  if (valueType != kValueFileInfo) WrongType("CWGetSetData::GetFileInfo");
  return static_cast<CQFileInfo*>(pointerValue);
}
CQFileDataBlock* CWGetSetData::GetFileDataBlock() const {
  if (valueType != kValueFileDataBlock) WrongType("CWGetSetData::GetFileDataBlock");
  return static_cast<CQFileDataBlock*>(pointerValue);
}

void CWGetSetData::SetError(CQError* error) {
  if (error == error_) {
    return;
  }
  delete error_;
  error_ = error;
}

bool CWGetSetData::IsAbandoned() const {
  lv::CriticalSectionLock lock(CWRequestLock());
  return abandoned_;
}

CQError* CWGetSetData::WaitForDone(uint32_t timeoutMs) {
  const lv::WaitResult result = CWWaitForEvent(done_, timeoutMs);
  // The target sets the done event while it holds the request lock; taking the
  // lock here means the target has finished with the record once we go on.
  lv::CriticalSectionLock lock(CWRequestLock());
  if (done_.IsSet()) {
    return nullptr;  // answered, possibly just after a time-out
  }
  // Given up: from here the record is the target's to free.
  abandoned_ = true;
  if (result == lv::WaitResult::TimedOut) {
    return new CQError("Get or Set operation timed out.", "CWGetSetData::WaitForDone");
  }
  return new CQError("Error while waiting for a Get or Set operation to complete.", "CWGetSetData::WaitForDone");
}

void CWGetSetData::Complete() {
  bool abandoned;
  {
    lv::CriticalSectionLock lock(CWRequestLock());
    abandoned = abandoned_;
    if (!abandoned) {
      done_.Set();
    }
  }
  if (abandoned) {
    delete this;
  }
}

void CWGetSetData::Fail(CQError* error, const char* name) {
  if (error != nullptr && name != nullptr) {
    error->AddToCallStack(name);
  }
  bool abandoned;
  {
    lv::CriticalSectionLock lock(CWRequestLock());
    abandoned = abandoned_;
    if (!abandoned) {
      SetError(error != nullptr ? error : new CQError("Get or Set operation failed."));
      done_.Set();
    }
  }
  if (abandoned) {
    delete error;
    delete this;
  }
}
