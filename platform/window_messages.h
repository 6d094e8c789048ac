// Window messages: input and notifications for windows owned by a thread.
//
// Every thread that owns windows has its own unbounded window-message queue,
// apart from its 30-slot thread queue. The GUI side posts what happens to a
// window's widget (a command, the close box, a user's resize, a paint request,
// mouse and keys) into the owner's queue; the owner takes them on its own
// thread and hands each to the window's handler. Mouse moves, sizes and paints
// of one window are coalesced: a newer one replaces the one still pending, in
// its place. The owner's loop serves window messages before thread-queue
// messages, and blocks on both queues' events when idle.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>

#include "platform/sync.h"

namespace lv {

enum class WindowMessageKind : int32_t {
  kCommand,     // a = command id (menu item, toolbar button, pop-up menu)
  kClose,       // the close box was pressed
  kSize,        // a, b = client width, height; x, y = outer width, height (user resize only)
  kMove,        // a = x, b = y of the window in its parent (user move only)
  kPaint,       // the window needs its frame drawn again
  kMouseMove,   // x, y in client coordinates (outside it while captured); buttons held; b = modifiers
  kMouseDown,   // a = button (1 left, 2 right, 3 middle); x, y, buttons, b as for a move
  kMouseUp,     // a = button; x, y, buttons, b as for a move
  kMouseDoubleClick,  // a = button; x, y, buttons, b as for a move
  kKeyDown,     // a = key code (kKey... below), b = modifiers
  kKeyUp,       // a = key code, b = modifiers
  kShow,        // a = 1 shown, 0 hidden (by the user or the system)
};

// Modifier flags (b of mouse and key messages).
inline constexpr int32_t kModShift = 1;
inline constexpr int32_t kModControl = 2;
inline constexpr int32_t kModAlt = 4;

// Key codes (a of key messages): letters as 'A'..'Z' and digits as '0'..'9'
// whatever the shift state, space as ' ', and these; 0 for keys not listed.
inline constexpr int32_t kKeyBackspace = 0x08;
inline constexpr int32_t kKeyTab = 0x09;
inline constexpr int32_t kKeyReturn = 0x0D;
inline constexpr int32_t kKeyEscape = 0x1B;
inline constexpr int32_t kKeyPageUp = 0x21;
inline constexpr int32_t kKeyPageDown = 0x22;
inline constexpr int32_t kKeyEnd = 0x23;
inline constexpr int32_t kKeyHome = 0x24;
inline constexpr int32_t kKeyLeft = 0x25;
inline constexpr int32_t kKeyUp = 0x26;
inline constexpr int32_t kKeyRight = 0x27;
inline constexpr int32_t kKeyArrowDown = 0x28;
inline constexpr int32_t kKeyInsert = 0x2D;
inline constexpr int32_t kKeyDelete = 0x2E;

struct WindowMessage {
  uint32_t window = 0;  // the window's id
  WindowMessageKind kind = WindowMessageKind::kCommand;
  int32_t a = 0;
  int32_t b = 0;
  int32_t x = 0;
  int32_t y = 0;
  uint32_t buttons = 0;  // bit 0 left, bit 1 right, bit 2 middle
};

// True for the kinds where only the newest pending message of a window counts.
bool IsCoalescedKind(WindowMessageKind kind);

class WindowMessageQueue {
 public:
  // Any thread: appends the message, or replaces the pending one it coalesces
  // with. Never blocks for long; never refuses.
  void Post(const WindowMessage& msg);
  // Owner: takes the oldest message; false when none is held.
  bool Take(WindowMessage& out);
  // Set exactly while messages are held.
  const PlatformEvent& MessagesPresentEvent() const { return present_; }
  size_t Size() const;

 private:
  mutable std::mutex mutex_;
  std::deque<WindowMessage> queue_;
  PlatformEvent present_;
};

// The calling thread's window-message queue (made on first use; lives while
// the thread or a window of it refers to it).
std::shared_ptr<WindowMessageQueue> ThisThreadWindowQueue();

// The owner's handler of one window's messages (owner thread only).
using WindowMessageHandler = std::function<void(const WindowMessage&)>;
// Registers the handler of a window on the calling thread; an empty handler
// removes it. Messages for a window without a handler are dropped.
void SetWindowMessageHandler(uint32_t window, WindowMessageHandler handler);

// Takes one message from the calling thread's queue and hands it to its
// window's handler. False when the queue was empty.
bool DispatchOneWindowMessage();
// Dispatches every message held now; returns how many were taken.
int DispatchWindowMessages();

// Blocks until the thread-queue event is set or the calling thread's window
// messages arrive (whichever first), without polling.
void WaitForQueueOrWindowMessages(const PlatformEvent& queueEvent);

// A fresh id for a window (never 0).
uint32_t NewWindowId();

}  // namespace lv
