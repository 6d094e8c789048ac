// CWGetSetData: the request record of the blocking get/set exchange between
// threads.
//
// A requester fills a record, puts it as the parameter of message 2 (get),
// 3 (set) or 4 (set without wait) into the target's queue and, for get and
// set, waits on the record's done event. The target answers with Complete()
// (after writing the value of a get) or Fail() (storing its error), which
// releases the waiter. The requester then throws a copy of the record's error,
// or reads the value and checks its type.
//
// Ownership: a blocking request belongs to the requester, which frees it after
// its wait; the target frees it only when it finds it abandoned (the waiter
// gave up). A request without wait is freed by the target once handled. The
// record owns its error. Values passed by pointer are not owned by the record;
// a string answered by a get is copied into the record.
#pragma once

#include <cstdint>
#include <string>

#include "workers/cw_rect.h"
#include "platform/sync.h"

class CQError;
class CQCArrayTD;
struct CQFileInfo;
class CQFileDataBlock;

// Message ids common to every worker.
enum CWCommonMessage : int32_t {
  kMsgQuit = 1,
  kMsgGetParam = 2,
  kMsgSetParam = 3,
  kMsgSetParamNoWait = 4,
  kMsgSaveSettings = 5,
  kMsgRecallSettings = 6,
};

// Value types of a request (codes 3, 6, 10 and 12 are not used).
enum CWValueType : int32_t {
  kValueNone = 0,
  kValueBool = 1,
  kValueInt = 2,
  kValueFloat = 4,
  kValueDouble = 5,
  kValueString = 7,
  kValuePointer = 8,
  kValueRect = 9,
  kValueArrayTD = 11,
  kValueFileInfo = 13,
  kValueFileDataBlock = 14,
};

class CWGetSetData {
 public:
  // All fields zero, no error, done event not set.
  CWGetSetData() = default;
  // Deletes the record's error.
  ~CWGetSetData();
  CWGetSetData(const CWGetSetData&) = delete;
  CWGetSetData& operator=(const CWGetSetData&) = delete;

  // Fields. The value fields are meaningful according to valueType.
  int32_t valueType = kValueNone;  // 0 in a get until the target answers
  int32_t paramId = 0;             // what is asked or set; the target defines it
  int32_t index = 0;               // transmitter or item index; 0 when there is none
  bool boolValue = false;
  int32_t intValue = 0;
  float floatValue = 0.0f;
  double doubleValue = 0.0;
  void* pointerValue = nullptr;            // types 8, 11, 13, 14
  const wchar_t* stringValue = nullptr;    // type 7
  CWRect rectValue;                        // type 9

  // Value setters: each stores the value and its type.
  void SetBool(bool v);
  void SetInt(int32_t v);
  void SetFloat(float v);
  void SetDouble(double v);
  // Points at the caller's text (a set: the requester's text outlives the wait).
  void SetStringRef(const wchar_t* text);
  // Copies the text into the record (a get: the answer must not point into the
  // target's live data). Null stays null.
  void SetStringCopy(const wchar_t* text);
  void SetPointer(void* p);
  void SetRect(const CWRect& r);
  void SetArrayTD(CQCArrayTD* p);
  void SetFileInfo(CQFileInfo* p);
  void SetFileDataBlock(CQFileDataBlock* p);

  // Typed readers for a target handling a set: each throws CQError
  // "Wrong data type in set request." when the record carries another type.
  bool GetBool() const;
  int32_t GetInt() const;
  float GetFloat() const;
  double GetDouble() const;
  const wchar_t* GetString() const;
  void* GetPointer() const;
  CWRect GetRect() const;
  CQCArrayTD* GetArrayTD() const;
  CQFileInfo* GetFileInfo() const;
  CQFileDataBlock* GetFileDataBlock() const;

  // Requester: waits for the answer (at most timeoutMs) with the calling
  // thread's wait (CWWaitForEvent). Returns null once the target has answered
  // (its error, if any, is then in GetError). Otherwise the requester gives
  // the record up: it is marked abandoned, the target frees it when it gets to
  // it, and the caller must not touch it again; the returned error (the
  // caller's) is "Get or Set operation timed out." or "Error while waiting for
  // a Get or Set operation to complete.".
  [[nodiscard]] CQError* WaitForDone(uint32_t timeoutMs = lv::kWaitForever);

  // True once the waiter has given up (read under the request lock). Only
  // the target may ask, and only before it answers.
  bool IsAbandoned() const;
  // The error that ended the request; null on success. Owned by the record.
  CQError* GetError() const { return error_; }
  // Stores an error (the record takes it; a previous one is deleted).
  void SetError(CQError* error);

  // Target: the request succeeded. Releases the waiter, or frees the record
  // when the waiter has abandoned it. The record must not be used afterwards.
  void Complete();
  // Target: the request failed. Appends name (may be null) to the error's call
  // stack, stores it and releases the waiter (or frees an abandoned record).
  // The record must not be used afterwards.
  void Fail(CQError* error, const char* name);

  // True once the target has answered.
  bool IsDone() const { return done_.IsSet(); }
  const lv::PlatformEvent& DoneEvent() const { return done_; }

 private:
  bool abandoned_ = false;  // guarded by the request lock
  lv::PlatformEvent done_;
  CQError* error_ = nullptr;
  std::wstring stringStorage_;
};

// The process-wide request lock: it orders a waiter giving up against a
// target finishing, and guards nothing else.
lv::CriticalSection& CWRequestLock();
