// Synchronisation primitives of the platform layer: a manual-reset event, a
// critical section, a mutex and a sleep.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <vector>

namespace lv {

// How a wait on an event ended.
enum class WaitResult { Signalled, TimedOut, Failed };

// Infinite time-out for PlatformEvent::Wait.
inline constexpr uint32_t kWaitForever = 0xFFFFFFFFu;

// Told when an event is set. OnEventSet runs on the setting thread while the
// event's lock is held: it must be short and must not touch that event.
class EventObserver {
 public:
  virtual ~EventObserver() = default;
  virtual void OnEventSet() = 0;
};

// A manual-reset event: once set it stays set, releasing every waiter, until
// it is reset.
class PlatformEvent {
 public:
  explicit PlatformEvent(bool initiallySet = false) : set_(initiallySet) {}
  PlatformEvent(const PlatformEvent&) = delete;
  PlatformEvent& operator=(const PlatformEvent&) = delete;

  void Set();
  void Reset();
  bool IsSet() const;
  // Waits until the event is set or the time-out (milliseconds) passes.
  WaitResult Wait(uint32_t timeoutMs = kWaitForever) const;

  // Observers are told of every later Set until they are removed; once
  // RemoveObserver returns, the observer is not called any more.
  void AddObserver(EventObserver* observer) const;
  void RemoveObserver(EventObserver* observer) const;

 private:
  mutable std::mutex mutex_;
  mutable std::condition_variable cv_;
  mutable std::vector<EventObserver*> observers_;
  bool set_;
};

// Waits until any of the events is set or the time-out passes. Returns the
// index of a set event (the lowest), -1 on time-out.
int WaitForAny(const PlatformEvent* const* events, int count, uint32_t timeoutMs = kWaitForever);

// The calling thread's own wait on another thread. A thread that must keep
// serving while it waits (the user-interface thread runs a nested event loop)
// installs one for itself; every other thread blocks on the event.
using ThreadEventWait = std::function<WaitResult(const PlatformEvent& event, uint32_t timeoutMs)>;
// Installs the calling thread's wait (empty restores the plain wait); returns
// the previous one.
ThreadEventWait SetThisThreadEventWait(ThreadEventWait wait);
// Waits on the event with the calling thread's wait.
WaitResult WaitOnThisThread(const PlatformEvent& event, uint32_t timeoutMs = kWaitForever);

// A recursive lock, as a critical section is: the owning thread may enter it
// again.
class CriticalSection {
 public:
  void Enter() { mutex_.lock(); }
  bool TryEnter() { return mutex_.try_lock(); }
  void Leave() { mutex_.unlock(); }
  // BasicLockable, for std::scoped_lock and condition_variable_any.
  void lock() { Enter(); }
  void unlock() { Leave(); }

 private:
  std::recursive_mutex mutex_;
};

// Scoped entry into a critical section.
class CriticalSectionLock {
 public:
  explicit CriticalSectionLock(CriticalSection& cs) : cs_(cs) { cs_.Enter(); }
  ~CriticalSectionLock() { cs_.Leave(); }
  CriticalSectionLock(const CriticalSectionLock&) = delete;
  CriticalSectionLock& operator=(const CriticalSectionLock&) = delete;

 private:
  CriticalSection& cs_;
};

// A non-recursive mutex with a timed lock. It is a flag guarded by a plain
// mutex and a condition rather than std::timed_mutex: the timed lock of
// std::timed_mutex goes through pthread_mutex_clocklock, which GCC 12's
// ThreadSanitizer does not intercept, so the sanitizer could not see the lock.
class PlatformMutex {
 public:
  void Lock() {
    std::unique_lock<std::mutex> guard(mutex_);
    released_.wait(guard, [this] { return !locked_; });
    locked_ = true;
  }
  bool Lock(uint32_t timeoutMs) {
    if (timeoutMs == kWaitForever) {
      Lock();
      return true;
    }
    std::unique_lock<std::mutex> guard(mutex_);
    if (!released_.wait_for(guard, std::chrono::milliseconds(timeoutMs), [this] { return !locked_; })) {
      return false;
    }
    locked_ = true;
    return true;
  }
  void Unlock() {
    {
      std::lock_guard<std::mutex> guard(mutex_);
      locked_ = false;
    }
    released_.notify_one();
  }
  void lock() { Lock(); }
  void unlock() { Unlock(); }

 private:
  std::mutex mutex_;
  std::condition_variable released_;
  bool locked_ = false;
};

// Suspends the calling thread for at least the given milliseconds.
void SleepMs(uint32_t ms);

}  // namespace lv
