// What a CQError carried, for tests that expect one, and what the error
// dialog was asked to show.
//
//   const lv_test::CaughtError e = lv_test::Catch([&] { array.Set(nullptr, 4); });
//   EXPECT_EQ(e.message, "Null pointer to input data.");
//   EXPECT_EQ(e.callStack, "CQCArray::Set\n");
//
// A call that returns its error rather than throwing it goes through
// TakeError(call(...)). Where the message and the call stack are the whole
// point:
//
//   EXPECT_TRUE(lv_test::ThrowsError([&] { array.Set(nullptr, 4); }, "Null pointer to input data.",
//                                    "CQCArray::Set\n"));
#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "core/error.h"
#include "core/error_dialog.h"
#include "platform/text.h"

namespace lv_test {

struct CaughtError {
  bool thrown = false;    // false: the call threw nothing (or returned no error)
  int code = 0;
  std::string message;    // narrow (UTF-8) text; "" when the error has none
  std::string callStack;  // "" when the error has none
};

// Records what the error carries and deletes it; null gives thrown == false.
inline CaughtError TakeError(CQError* e) {
  CaughtError out;
  if (e == nullptr) {
    return out;
  }
  out.thrown = true;
  out.code = e->GetCode();
  out.message = e->GetMessage() != nullptr ? lv::WideToUtf8(e->GetMessage()) : std::string();
  out.callStack = e->GetCallStack() != nullptr ? e->GetCallStack() : "";
  delete e;
  return out;
}

// Runs f; what the CQError it threw carried (thrown == false when it threw none).
template <typename F>
CaughtError Catch(F&& f) {
  try {
    f();
  } catch (CQError* e) {
    return TakeError(e);
  }
  return CaughtError{};
}

// Success when f throws a CQError with this message and, unless callStack is
// null, exactly this call stack; otherwise a failure that says what came.
template <typename F>
::testing::AssertionResult ThrowsError(F&& f, const std::string& message, const char* callStack = nullptr) {
  const CaughtError e = Catch(std::forward<F>(f));
  if (!e.thrown) {
    return ::testing::AssertionFailure() << "no CQError was thrown (expected \"" << message << "\")";
  }
  if (e.message != message || (callStack != nullptr && e.callStack != callStack)) {
    return ::testing::AssertionFailure() << "CQError \"" << e.message << "\" from\n"
                                         << e.callStack << "expected \"" << message << "\""
                                         << (callStack != nullptr ? std::string(" from\n") + callStack : "");
  }
  return ::testing::AssertionSuccess();
}

// Records every error the error dialog is asked to show, on whichever thread,
// while it lives: it installs itself as the presenter and puts the previous
// one back.
class ShownErrors {
 public:
  ShownErrors() {
    previous_ = SetErrorPresenter([this](CQErrorDlg& dlg) {
      CaughtError e = TakeError(dlg.Error().MakeCopy());
      std::lock_guard<std::mutex> lock(mutex_);
      shown_.push_back(std::move(e));
      arrived_.notify_all();
    });
  }
  ~ShownErrors() { SetErrorPresenter(previous_); }
  ShownErrors(const ShownErrors&) = delete;
  ShownErrors& operator=(const ShownErrors&) = delete;

  // The errors shown so far, in order.
  std::vector<CaughtError> Entries() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return shown_;
  }
  // Their messages.
  std::vector<std::string> Messages() const {
    std::lock_guard<std::mutex> lock(mutex_);
    std::vector<std::string> out;
    for (const CaughtError& e : shown_) {
      out.push_back(e.message);
    }
    return out;
  }
  // Waits for the n-th error (1-based) to be shown; false when the time ran out.
  bool WaitFor(size_t n, std::chrono::milliseconds limit = std::chrono::seconds(10)) const {
    std::unique_lock<std::mutex> lock(mutex_);
    return arrived_.wait_for(lock, limit, [&] { return shown_.size() >= n; });
  }

 private:
  mutable std::mutex mutex_;
  mutable std::condition_variable arrived_;
  std::vector<CaughtError> shown_;
  CQErrorPresenter previous_;
};

}  // namespace lv_test
