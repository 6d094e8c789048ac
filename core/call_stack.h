// Every function that lets a CQError pass appends its own "Class::Method" line
// to the error's call stack. Named wraps a body so that the line is added on
// every exit by error, whatever the body returns.
#pragma once

#include <string>
#include <utility>

#include "core/error.h"

namespace lv {

template <typename F>
auto Named(const char* name, F&& body) -> decltype(body()) {
  try {
    return std::forward<F>(body)();
  } catch (CQError* e) {
    e->AddToCallStack(name);
    throw;
  }
}

template <typename F>
auto Named(const std::string& name, F&& body) -> decltype(body()) {
  return Named(name.c_str(), std::forward<F>(body));
}

}  // namespace lv
