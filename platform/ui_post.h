// Fire-and-forget messages from worker threads to the user-interface thread.
//
// A worker never waits on the user-interface thread: it posts a message (an id,
// the posting object and two words) and goes on. The user-interface side
// installs a target that delivers the messages in posting order on its own
// thread. Without a window system the HeadlessUiLoop plays that part.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>

#include "platform/sync.h"

namespace lv {

struct UiMessage {
  uint32_t id = 0;
  const void* sender = nullptr;
  uint64_t wParam = 0;
  int64_t lParam = 0;
};

class UiPostTarget {
 public:
  virtual ~UiPostTarget() = default;
  // Queues the message; must not block for long and must be callable from any thread.
  virtual void Post(const UiMessage& msg) = 0;
};

// Installs the target that PostToUi delivers to (null removes it). Returns the previous one.
UiPostTarget* SetUiPostTarget(UiPostTarget* target);

// Posts a message to the user-interface thread. Returns false when no target
// is installed (the message is dropped: nobody is there to read it).
bool PostToUi(uint32_t id, const void* sender, uint64_t wParam = 0, int64_t lParam = 0);

// A user-interface loop without a window system: messages are handled in
// posting order on the thread that runs the loop.
class HeadlessUiLoop : public UiPostTarget {
 public:
  using Handler = std::function<void(const UiMessage&)>;

  void Post(const UiMessage& msg) override;

  // Handles every message queued now; returns how many were handled.
  int ProcessPending(const Handler& handler);
  // Waits up to timeoutMs for a message and handles it; false on time-out.
  bool RunOne(const Handler& handler, uint32_t timeoutMs);
  // Handles messages until Quit is called.
  void Run(const Handler& handler);
  void Quit();

 private:
  bool Take(UiMessage& out);

  std::mutex mutex_;
  std::deque<UiMessage> queue_;
  PlatformEvent ready_;
  bool quit_ = false;
};

}  // namespace lv
