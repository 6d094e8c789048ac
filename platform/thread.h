// Worker threads of the platform layer: start, join with a time limit.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <thread>

#include "platform/sync.h"

namespace lv {

class WorkerThread {
 public:
  WorkerThread() = default;
  ~WorkerThread();  // joins a thread that is still running
  WorkerThread(const WorkerThread&) = delete;
  WorkerThread& operator=(const WorkerThread&) = delete;

  // Starts the thread running body. The name (at most 15 characters are kept)
  // shows in debuggers. Returns false when a thread is already running or the
  // system refuses a new thread.
  bool Start(std::function<void()> body, const std::string& name = {});

  // True between Start and the end of the body.
  bool IsRunning() const { return running_.load(std::memory_order_acquire); }
  bool WasStarted() const { return thread_.joinable(); }

  // Waits up to timeoutMs for the body to end and joins it. Returns true when
  // the thread has ended (or was never started), false on time-out; the thread
  // then keeps running and a later Join may succeed.
  bool Join(uint32_t timeoutMs = kWaitForever);

  std::thread::id Id() const { return thread_.get_id(); }

 private:
  std::thread thread_;
  std::shared_ptr<PlatformEvent> finished_;
  std::atomic<bool> running_{false};
};

}  // namespace lv
