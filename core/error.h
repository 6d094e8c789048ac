// CQError: the one error type of the system.
//
// Failures are reported by allocating a CQError with new and throwing the
// pointer. Every function that lets one pass appends its own "Class::Method"
// line to the call stack and rethrows; the outermost handler shows it with
// ShowErrorDialog, which deletes it. Across threads an error travels as a copy
// made by MakeCopy.
#pragma once

#include <optional>
#include <string>

// Marks the narrow text of CQError(int, CQMessage) as the message rather than
// the first call-stack line.
struct CQMessage {
  const char* text;
};

// The time line of an error report, in UTC.
struct CQErrorReportTime {
  int day = 0;
  int month = 0;
  int year = 0;
  int hour = 0;
  int minute = 0;
  double second = 0.0;  // seconds + milliseconds / 1000
};

class CQError {
 public:
  explicit CQError(const char* message);
  explicit CQError(const wchar_t* message);
  CQError(const char* message, const char* name);
  explicit CQError(int code);
  // A code of the table with the first call-stack line (allocation failures).
  CQError(int code, const char* name);
  // A code stored as given, with a message of the raiser's own.
  CQError(int code, CQMessage message);
  ~CQError() = default;

  CQError(const CQError&) = delete;
  CQError& operator=(const CQError&) = delete;

  void SetCode(int code);
  void SetMessage(const char* message);
  void SetMessage(const wchar_t* message);
  void AddToCallStack(const char* name);
  CQError* MakeCopy() const;

  int GetCode() const { return code_; }
  // Null when the error has no message / no call stack.
  const wchar_t* GetMessage() const { return message_ ? message_->c_str() : nullptr; }
  const char* GetCallStack() const { return callStack_ ? callStack_->c_str() : nullptr; }

  // Writes the report ("Time: ...", "Error: ...", "Call Stack: ...") to the
  // file with CR LF line ends, replacing it. Silent when the path is null or the
  // file cannot be written. The first form takes the current UTC time.
  // Both answer whether the whole report reached the file.
  bool WriteToFile(const wchar_t* path) const;
  bool WriteToFile(const wchar_t* path, const CQErrorReportTime& time) const;

 private:
  CQError() = default;

  int code_ = 0;
  std::optional<std::wstring> message_;
  std::optional<std::string> callStack_;
};

// The message of a code of the table ("Unknown error." outside 1..6); null for 0.
const wchar_t* CQErrorCodeMessage(int code);

// Current UTC time in the report's fields.
CQErrorReportTime CQErrorCurrentUtcTime();

// Makes operator new throw CQError code 1 when memory runs out.
void InstallCQErrorNewHandler();
