#include "platform/sync.h"

#include <thread>

namespace lv {

void PlatformEvent::Set() {
  // Notify while holding the lock: a waiter that wakes may destroy the event
  // at once, so the condition variable must not be touched after the unlock.
  std::lock_guard<std::mutex> lock(mutex_);
  set_ = true;
  cv_.notify_all();
  for (EventObserver* observer : observers_) {
    observer->OnEventSet();
  }
}

void PlatformEvent::AddObserver(EventObserver* observer) const {
  std::lock_guard<std::mutex> lock(mutex_);
  observers_.push_back(observer);
}

void PlatformEvent::RemoveObserver(EventObserver* observer) const {
  std::lock_guard<std::mutex> lock(mutex_);
  for (size_t i = 0; i < observers_.size(); ++i) {
    if (observers_[i] == observer) {
      observers_.erase(observers_.begin() + static_cast<std::ptrdiff_t>(i));
      return;
    }
  }
}

namespace {

// Wakes one thread waiting on several events.
class AnyWaiter : public EventObserver {
 public:
  void OnEventSet() override {
    std::lock_guard<std::mutex> lock(mutex_);
    woken_ = true;
    cv_.notify_one();
  }
  void Arm() {
    std::lock_guard<std::mutex> lock(mutex_);
    woken_ = false;
  }
  // False on time-out.
  template <typename Deadline>
  bool Sleep(bool forever, Deadline deadline) {
    std::unique_lock<std::mutex> lock(mutex_);
    if (forever) {
      cv_.wait(lock, [this] { return woken_; });
      return true;
    }
    return cv_.wait_until(lock, deadline, [this] { return woken_; });
  }

 private:
  std::mutex mutex_;
  std::condition_variable cv_;
  bool woken_ = false;
};

thread_local ThreadEventWait t_threadWait;

}  // namespace

int WaitForAny(const PlatformEvent* const* events, int count, uint32_t timeoutMs) {
  const bool forever = timeoutMs == kWaitForever;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(forever ? 0 : timeoutMs);
  AnyWaiter waiter;
  for (int i = 0; i < count; ++i) {
    events[i]->AddObserver(&waiter);
  }
  int found = -1;
  for (;;) {
    // Armed before looking: a Set after the look wakes the sleep below.
    waiter.Arm();
    for (int i = 0; i < count && found < 0; ++i) {
      if (events[i]->IsSet()) {
        found = i;
      }
    }
    if (found >= 0 || !waiter.Sleep(forever, deadline)) {
      break;
    }
  }
  for (int i = 0; i < count; ++i) {
    events[i]->RemoveObserver(&waiter);
  }
  return found;
}

ThreadEventWait SetThisThreadEventWait(ThreadEventWait wait) {
  ThreadEventWait previous = std::move(t_threadWait);
  t_threadWait = std::move(wait);
  return previous;
}

WaitResult WaitOnThisThread(const PlatformEvent& event, uint32_t timeoutMs) {
  if (t_threadWait) {
    return t_threadWait(event, timeoutMs);
  }
  return event.Wait(timeoutMs);
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
