#include "workers/thread_wait.h"

#include <utility>

namespace {
thread_local CWEventWait t_wait;
}

CWEventWait CWSetThreadEventWait(CWEventWait wait) {
  CWEventWait previous = std::move(t_wait);
  t_wait = std::move(wait);
  return previous;
}

lv::WaitResult CWWaitForEvent(const lv::PlatformEvent& event, uint32_t timeoutMs) {
  if (t_wait) {
    return t_wait(event, timeoutMs);
  }
  // No wait of the thread framework: the platform layer's wait of this thread
  // (the user-interface thread's serving wait, or the plain one).
  return lv::WaitOnThisThread(event, timeoutMs);
}
