// What a CQError carried, for tests that expect one.
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

#include <string>
#include <utility>

#include <gtest/gtest.h>

#include "core/error.h"
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

}  // namespace lv_test
