#include "platform/thread.h"

#include <pthread.h>

#include <system_error>

namespace lv {

WorkerThread::~WorkerThread() {
  if (thread_.joinable()) {
    thread_.join();
  }
}

bool WorkerThread::Start(std::function<void()> body, const std::string& name) {
  if (thread_.joinable()) {
    return false;
  }
  auto finished = std::make_shared<PlatformEvent>();
  finished_ = finished;
  running_.store(true, std::memory_order_release);
  try {
    thread_ = std::thread([this, finished, body = std::move(body), name] {
      if (!name.empty()) {
        pthread_setname_np(pthread_self(), name.substr(0, 15).c_str());
      }
      body();
      running_.store(false, std::memory_order_release);
      finished->Set();
    });
  } catch (const std::system_error&) {
    running_.store(false, std::memory_order_release);
    finished_.reset();
    return false;
  }
  return true;
}

bool WorkerThread::Join(uint32_t timeoutMs) {
  if (!thread_.joinable()) {
    return true;
  }
  if (finished_ && finished_->Wait(timeoutMs) != WaitResult::Signalled) {
    return false;
  }
  thread_.join();
  return true;
}

}  // namespace lv
