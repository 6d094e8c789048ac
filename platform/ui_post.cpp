#include "platform/ui_post.h"

#include <atomic>

namespace lv {

namespace {
std::atomic<UiPostTarget*> g_target{nullptr};
}

UiPostTarget* SetUiPostTarget(UiPostTarget* target) { return g_target.exchange(target); }

bool PostToUi(uint32_t id, const void* sender, uint64_t wParam, int64_t lParam) {
  UiPostTarget* target = g_target.load();
  if (target == nullptr) {
    return false;
  }
  target->Post(UiMessage{id, sender, wParam, lParam});
  return true;
}

void HeadlessUiLoop::Post(const UiMessage& msg) {
  std::lock_guard<std::mutex> lock(mutex_);
  queue_.push_back(msg);
  ready_.Set();
}

bool HeadlessUiLoop::Take(UiMessage& out) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (queue_.empty()) {
    if (!quit_) {
      ready_.Reset();
    }
    return false;
  }
  out = queue_.front();
  queue_.pop_front();
  return true;
}

int HeadlessUiLoop::ProcessPending(const Handler& handler) {
  int handled = 0;
  UiMessage msg;
  while (Take(msg)) {
    handler(msg);
    ++handled;
  }
  return handled;
}

bool HeadlessUiLoop::RunOne(const Handler& handler, uint32_t timeoutMs) {
  UiMessage msg;
  if (!Take(msg)) {
    if (ready_.Wait(timeoutMs) != WaitResult::Signalled || !Take(msg)) {
      return false;
    }
  }
  handler(msg);
  return true;
}

void HeadlessUiLoop::Run(const Handler& handler) {
  for (;;) {
    UiMessage msg;
    if (Take(msg)) {
      handler(msg);
      continue;
    }
    {
      std::lock_guard<std::mutex> lock(mutex_);
      if (quit_) {
        quit_ = false;
        return;
      }
    }
    ready_.Wait();
  }
}

void HeadlessUiLoop::Quit() {
  std::lock_guard<std::mutex> lock(mutex_);
  quit_ = true;
  ready_.Set();
}

}  // namespace lv
