// Helpers for tests that expect a CQError.
#pragma once

#include <string>
#include <utility>

#include "core/error.h"

namespace lv_test {

struct CaughtError {
  bool thrown = false;
  int code = 0;
  std::wstring message;
  std::string callStack;
};

// Runs f; returns what the CQError it threw carried (thrown == false when none).
template <typename F>
CaughtError Catch(F&& f) {
  CaughtError out;
  try {
    f();
  } catch (CQError* e) {
    out.thrown = true;
    out.code = e->GetCode();
    out.message = e->GetMessage() ? e->GetMessage() : L"";
    out.callStack = e->GetCallStack() ? e->GetCallStack() : "";
    delete e;
  }
  return out;
}

}  // namespace lv_test
