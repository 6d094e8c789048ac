#include "core/error.h"

#include <chrono>
#include <cstdio>
#include <ctime>
#include <new>

#include "platform/text.h"

namespace {

// Runs f; when memory for the new text cannot be had the error keeps its
// previous state (the new-handler's own error is dropped, not leaked).
template <typename F>
void Guarded(F&& f) {
  try {
    f();
  } catch (CQError* e) {
    delete e;
  } catch (const std::bad_alloc&) {
  }
}

std::string WithCrLf(const std::string& text) {
  std::string out;
  out.reserve(text.size() + text.size() / 16);
  for (char c : text) {
    if (c == '\n') {
      out.push_back('\r');
    }
    out.push_back(c);
  }
  return out;
}

}  // namespace

const wchar_t* CQErrorCodeMessage(int code) {
  switch (code) {
    case 0:
      return nullptr;
    case 1:
      return L"Error allocating memory.";
    case 2:
      return L"Error in math library routine.";
    case 3:
      return L"Null pointer to input data.";
    case 4:
      return L"Error while writing to a file.";
    case 5:
      return L"Error while appending to a file.";
    case 6:
      return L"The number of points in the pulse exceeds the maximum allowed.";
    default:
      return L"Unknown error.";
  }
}

CQError::CQError(const char* message) { SetMessage(message); }

CQError::CQError(const wchar_t* message) { SetMessage(message); }

CQError::CQError(const char* message, const char* name) {
  SetMessage(message);
  AddToCallStack(name);
}

CQError::CQError(int code) { SetCode(code); }

CQError::CQError(int code, const char* name) {
  SetCode(code);
  AddToCallStack(name);
}

CQError::CQError(int code, CQMessage message) : code_(code) { SetMessage(message.text); }

void CQError::SetCode(int code) {
  code_ = code;
  if (code == 0) {
    return;
  }
  message_.reset();
  Guarded([&] { message_ = std::wstring(CQErrorCodeMessage(code)); });
}

void CQError::SetMessage(const char* message) {
  if (message == nullptr) {
    return;
  }
  message_.reset();
  Guarded([&] { message_ = lv::NarrowToWide(message); });
}

void CQError::SetMessage(const wchar_t* message) {
  if (message == nullptr) {
    return;
  }
  message_.reset();
  Guarded([&] { message_ = std::wstring(message); });
}

void CQError::AddToCallStack(const char* name) {
  if (name == nullptr) {
    return;
  }
  Guarded([&] {
    std::string next = callStack_ ? *callStack_ : std::string();
    next += name;
    next += '\n';
    callStack_ = std::move(next);
  });
}

CQError* CQError::MakeCopy() const {
  auto* copy = new CQError();
  copy->code_ = code_;
  copy->message_ = message_;
  copy->callStack_ = callStack_;
  return copy;
}

CQErrorReportTime CQErrorCurrentUtcTime() {
  const auto now = std::chrono::system_clock::now();
  const std::time_t secs = std::chrono::system_clock::to_time_t(now);
  const auto ms =
      std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() % 1000;
  std::tm tm{};
  gmtime_r(&secs, &tm);
  return CQErrorReportTime{tm.tm_mday, tm.tm_mon + 1, tm.tm_year + 1900, tm.tm_hour, tm.tm_min,
                           tm.tm_sec + static_cast<double>(ms) / 1000.0};
}

bool CQError::WriteToFile(const wchar_t* path) const { return WriteToFile(path, CQErrorCurrentUtcTime()); }

bool CQError::WriteToFile(const wchar_t* path, const CQErrorReportTime& t) const {
  if (path == nullptr) {
    return false;
  }
  try {
    std::string text = lv::FormatC("Time: %d-%d-%d %d:%d:%.3lf\n", t.day, t.month, t.year, t.hour,
                                   t.minute, t.second);
    text += message_ ? "Error: " + lv::WideToUtf8(*message_) + "\n" : "Error: None specified\n";
    text += callStack_ ? "Call Stack: " + *callStack_ + "\n\n\n" : "Call Stack: None specified\n\n\n";
    const std::string bytes = WithCrLf(text);
    FILE* f = std::fopen(lv::WideToUtf8(path).c_str(), "wb");
    if (f == nullptr) {
      return false;
    }
    const bool wrote = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return (std::fclose(f) == 0) && wrote;
  } catch (CQError* e) {
    delete e;  // the report writer throws nothing
  } catch (const std::bad_alloc&) {
  }
  return false;
}

namespace {

thread_local bool t_inNewHandler = false;

// Allocation failure becomes CQError code 1. The error itself needs a little
// memory: when even that fails (the handler is re-entered) the plain
// std::bad_alloc goes out instead of recursing.
void ThrowAllocationError() {
  if (t_inNewHandler) {
    throw std::bad_alloc();
  }
  t_inNewHandler = true;
  CQError* error = nullptr;
  try {
    error = new CQError(1);
  } catch (...) {
  }
  t_inNewHandler = false;
  if (error == nullptr) {
    throw std::bad_alloc();
  }
  throw error;
}

}  // namespace

void InstallCQErrorNewHandler() { std::set_new_handler(&ThrowAllocationError); }
