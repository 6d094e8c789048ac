#include "platform/sync.h"

#include <thread>

namespace lv {

void PlatformEvent::Set() {
  // Notify while holding the lock: a waiter that wakes may destroy the event
  // at once, so the condition variable must not be touched after the unlock.
  std::lock_guard<std::mutex> lock(mutex_);
  set_ = true;
  cv_.notify_all();
}

void PlatformEvent::Reset() {
  std::lock_guard<std::mutex> lock(mutex_);
  set_ = false;
}

bool PlatformEvent::IsSet() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return set_;
}

WaitResult PlatformEvent::Wait(uint32_t timeoutMs) const {
  try {
    std::unique_lock<std::mutex> lock(mutex_);
    if (timeoutMs == kWaitForever) {
      cv_.wait(lock, [this] { return set_; });
      return WaitResult::Signalled;
    }
    return cv_.wait_for(lock, std::chrono::milliseconds(timeoutMs), [this] { return set_; })
               ? WaitResult::Signalled
               : WaitResult::TimedOut;
  } catch (...) {
    return WaitResult::Failed;
  }
}

void SleepMs(uint32_t ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

}  // namespace lv
