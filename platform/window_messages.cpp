#include "platform/window_messages.h"

#include <atomic>
#include <unordered_map>
#include <utility>

namespace lv {

namespace {
thread_local std::shared_ptr<WindowMessageQueue> t_queue;
thread_local std::unordered_map<uint32_t, WindowMessageHandler>* t_handlers = nullptr;
std::atomic<uint32_t> g_nextWindowId{1};

std::unordered_map<uint32_t, WindowMessageHandler>& Handlers() {
  // One map per thread, kept for the thread's life.
  thread_local std::unordered_map<uint32_t, WindowMessageHandler> handlers;
  t_handlers = &handlers;
  return handlers;
}
}  // namespace

bool IsCoalescedKind(WindowMessageKind kind) {
  return kind == WindowMessageKind::kMouseMove || kind == WindowMessageKind::kSize ||
         kind == WindowMessageKind::kPaint || kind == WindowMessageKind::kMove;
}

void WindowMessageQueue::Post(const WindowMessage& msg) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (IsCoalescedKind(msg.kind)) {
    for (WindowMessage& pending : queue_) {
      if (pending.window == msg.window && pending.kind == msg.kind) {
        pending = msg;
        return;
      }
    }
  }
  queue_.push_back(msg);
  present_.Set();
}

bool WindowMessageQueue::Take(WindowMessage& out) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (queue_.empty()) {
    return false;
  }
  out = queue_.front();
  queue_.pop_front();
  if (queue_.empty()) {
    present_.Reset();
  }
  return true;
}

size_t WindowMessageQueue::Size() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return queue_.size();
}

std::shared_ptr<WindowMessageQueue> ThisThreadWindowQueue() {
  if (!t_queue) {
    t_queue = std::make_shared<WindowMessageQueue>();
  }
  return t_queue;
}

void SetWindowMessageHandler(uint32_t window, WindowMessageHandler handler) {
  if (handler) {
    Handlers()[window] = std::move(handler);
  } else {
    Handlers().erase(window);
  }
}

bool DispatchOneWindowMessage() {
  if (!t_queue) {
    return false;
  }
  WindowMessage msg;
  if (!t_queue->Take(msg)) {
    return false;
  }
  auto& handlers = Handlers();
  auto it = handlers.find(msg.window);
  if (it != handlers.end()) {
    // A copy: the handler may remove itself.
    WindowMessageHandler handler = it->second;
    handler(msg);
  }
  return true;
}

int DispatchWindowMessages() {
  int taken = 0;
  while (DispatchOneWindowMessage()) {
    ++taken;
  }
  return taken;
}

void WaitForQueueOrWindowMessages(const PlatformEvent& queueEvent) {
  const PlatformEvent* events[] = {&queueEvent, &ThisThreadWindowQueue()->MessagesPresentEvent()};
  WaitForAny(events, 2);
}

uint32_t NewWindowId() {
  uint32_t id = g_nextWindowId.fetch_add(1);
  if (id == 0) {
    id = g_nextWindowId.fetch_add(1);
  }
  return id;
}

}  // namespace lv
