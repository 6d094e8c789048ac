// Runs a call that should fail and returns the message and call stack of the
// CQError it throws (deleting it).
#pragma once

#include <string>

#include "core/error.h"

namespace lv_test {

struct Raised {
  bool thrown = false;
  std::wstring message;
  std::string callStack;
};

template <typename F>
Raised Capture(F&& f) {
  Raised r;
  try {
    f();
  } catch (CQError* e) {
    r.thrown = true;
    r.message = e->GetMessage() ? e->GetMessage() : L"";
    r.callStack = e->GetCallStack() ? e->GetCallStack() : "";
    delete e;
  }
  return r;
}

}  // namespace lv_test
