// The window layer's runtime on the user-interface (GUI) thread.
//
// StartGuiRuntime makes the calling thread the GUI thread: it creates the
// application object when there is none, installs the target of PostToUi
// (messages are handled in posting order on the GUI thread by the handler
// given), installs the GUI thread's serving wait (GuiWait) as that thread's
// wait, so every wait of the thread framework on a worker keeps the GUI
// serving, and opens the modal bridge. Window creation needs no running event
// loop: start-up may create windows and start workers before RunGuiEventLoop.
//
// Shut-down goes in this order:
//   1. the modal bridge closes: pending and later modal calls return their
//      cancel result and the dialogs they opened are rejected; GUI waits in
//      progress return WaitResult::Failed;
//   2. the event loop is told to quit explicitly (never relying on the quit
//      that follows the last window's close: a nested dialog loop swallows it);
//   3. the caller's step runs: each worker gets its quit message and is joined
//      with a time limit (the step is the caller's, who knows its workers);
//   4. the widgets of the layer's windows are deleted.
//
// No Qt type appears here; code outside platform/gui uses only this header.
#pragma once

#include <cstdint>
#include <functional>

#include "platform/sync.h"
#include "platform/ui_post.h"

namespace lv {

struct GuiRuntimeOptions {
  // Handles the messages posted with PostToUi, on the GUI thread, in order.
  // Empty: such messages are dropped.
  std::function<void(const UiMessage&)> uiMessageHandler;
};

// Starts the layer on the calling thread. False when it is already started
// or no window system can be opened (the application object cannot be made).
bool StartGuiRuntime(const GuiRuntimeOptions& options = {});

// True between StartGuiRuntime and the end of ShutDownGuiRuntime.
bool IsGuiRuntimeStarted();
// True on the thread that started the runtime.
bool IsGuiThread();

// Runs the event loop on the GUI thread until QuitGuiEventLoop; returns its
// exit code.
int RunGuiEventLoop();
// Tells the event loop to return (any thread).
void QuitGuiEventLoop(int exitCode = 0);

// Serves the GUI thread's events for up to the given milliseconds (tests and
// start-up pauses on the GUI thread). Returns at once elsewhere.
void ServeGuiEvents(uint32_t ms);

// The GUI thread's serving wait: a nested event loop that keeps handling
// window events, posted messages and the workers' modal requests until the
// event is set (Signalled), the time-out passes (TimedOut) or the runtime shuts
// down (Failed). On another thread it is the plain wait. While it runs, work
// given to DeferWhileModal waits.
WaitResult GuiWait(const PlatformEvent& event, uint32_t timeoutMs = kWaitForever);

// Shuts the layer down in the order above. stopWorkers is step 3 (may be
// empty). GUI thread only; the layer may be started again afterwards.
void ShutDownGuiRuntime(const std::function<void()>& stopWorkers = {});

}  // namespace lv
