#include "platform/gui/gui_runtime.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QEventLoop>
#include <QPointer>
#include <QThread>
#include <QTimer>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/gui/gui_runtime_qt.h"
#include "platform/gui/modal_bridge.h"
#include "platform/gui/window_qt.h"

namespace lv {

namespace {

// Runtime state. The atomics may be read from any thread; the rest belongs to
// the GUI thread.
std::atomic<bool> g_started{false};
std::atomic<uint64_t> g_generation{0};   // counts starts; queued calls carry it
std::atomic<uint64_t> g_closedCount{0};  // counts shut-downs; GUI waits watch it
std::thread::id g_guiThread;
std::function<void(const UiMessage&)> g_uiHandler;
UiPostTarget* g_previousTarget = nullptr;
ThreadEventWait g_previousWait;
QEventLoop* g_mainLoop = nullptr;
std::atomic<bool> g_quitRequested{false};
std::atomic<int> g_quitCode{0};
std::vector<QPointer<QWidget>> g_layerWidgets;

QObject* g_runtimeObject = nullptr;  // created once, never deleted

// PostToUi's target while the runtime runs: each message becomes a queued
// call on the GUI thread, so messages are handled in posting order.
class GuiPostTarget : public UiPostTarget {
 public:
  void Post(const UiMessage& msg) override {
    gui_internal::PostToGuiThread([msg] {
      if (g_uiHandler) {
        g_uiHandler(msg);
      }
    });
  }
};
GuiPostTarget g_postTarget;

// Wakes the GUI thread's serving wait when the awaited event is set.
class GuiWaker : public EventObserver {
 public:
  explicit GuiWaker(QAbstractEventDispatcher* dispatcher) : dispatcher_(dispatcher) {}
  void OnEventSet() override {
    fired_.store(true, std::memory_order_release);
    if (dispatcher_ != nullptr) {
      dispatcher_->wakeUp();
    }
  }
  bool Fired() const { return fired_.load(std::memory_order_acquire); }

 private:
  QAbstractEventDispatcher* dispatcher_;
  std::atomic<bool> fired_{false};
};

void EnsureApplication() {
  if (QCoreApplication::instance() != nullptr) {
    return;
  }
  // Qt's own event dispatcher instead of GLib's: a worker's wake-up of the
  // GUI thread's serving wait costs about half as much (measured in
  // bench/gui). Only when nobody has chosen otherwise.
  setenv("QT_NO_GLIB", "1", 0);
  // Lives until the process ends: a Qt application object must not be
  // destroyed after main returns.
  static int argc = 1;
  static char name[] = "lumvard-sorvek";
  static char* argv[] = {name, nullptr};
  new QApplication(argc, argv);
}

}  // namespace

namespace gui_internal {

QObject* RuntimeObject() { return g_runtimeObject; }

bool PostToGuiThread(std::function<void()> fn) {
  if (!g_started.load(std::memory_order_acquire) || g_runtimeObject == nullptr) {
    return false;
  }
  const uint64_t generation = g_generation.load(std::memory_order_acquire);
  QMetaObject::invokeMethod(
      g_runtimeObject,
      [fn = std::move(fn), generation] {
        if (g_started.load(std::memory_order_acquire) && g_generation.load() == generation) {
          fn();
        }
      },
      Qt::QueuedConnection);
  return true;
}

void RegisterLayerWidget(QWidget* widget) { g_layerWidgets.emplace_back(widget); }

}  // namespace gui_internal

bool StartGuiRuntime(const GuiRuntimeOptions& options) {
  if (g_started.load()) {
    return false;
  }
  EnsureApplication();
  QCoreApplication* app = QCoreApplication::instance();
  if (app == nullptr || app->thread() != QThread::currentThread()) {
    return false;
  }
  if (g_runtimeObject == nullptr) {
    g_runtimeObject = new QObject();
    g_runtimeObject->setObjectName(QStringLiteral("lv-gui-runtime"));
  }
  g_guiThread = std::this_thread::get_id();
  g_uiHandler = options.uiMessageHandler;
  g_quitRequested.store(false);
  g_quitCode.store(0);
  g_generation.fetch_add(1);
  gui_internal::OpenModalBridge();
  gui_internal::MeasureFrameInsets();
  g_started.store(true, std::memory_order_release);
  g_previousTarget = SetUiPostTarget(&g_postTarget);
  g_previousWait = SetThisThreadEventWait(
      [](const PlatformEvent& event, uint32_t timeoutMs) { return GuiWait(event, timeoutMs); });
  return true;
}

bool IsGuiRuntimeStarted() { return g_started.load(std::memory_order_acquire); }

bool IsGuiThread() { return g_started.load(std::memory_order_acquire) && std::this_thread::get_id() == g_guiThread; }

int RunGuiEventLoop() {
  if (!IsGuiThread()) {
    return -1;
  }
  if (g_quitRequested.load()) {
    return g_quitCode.load();
  }
  QEventLoop loop;
  QEventLoop* outer = g_mainLoop;
  g_mainLoop = &loop;
  const int code = loop.exec();
  g_mainLoop = outer;
  return code;
}

void QuitGuiEventLoop(int exitCode) {
  g_quitCode.store(exitCode);
  g_quitRequested.store(true);
  if (IsGuiThread()) {
    if (g_mainLoop != nullptr) {
      g_mainLoop->exit(exitCode);
    }
    return;
  }
  gui_internal::PostToGuiThread([exitCode] {
    if (g_mainLoop != nullptr) {
      g_mainLoop->exit(exitCode);
    }
  });
}

void ServeGuiEvents(uint32_t ms) {
  if (!IsGuiThread()) {
    return;
  }
  QEventLoop loop;
  QTimer::singleShot(static_cast<int>(ms), &loop, &QEventLoop::quit);
  loop.exec();
}

WaitResult GuiWait(const PlatformEvent& event, uint32_t timeoutMs) {
  if (!IsGuiThread() || gui_internal::IsModalBridgeClosed()) {
    // Other threads, and the GUI thread once shut-down has begun (no worker
    // depends on the GUI any more: every modal call returns cancel).
    return event.Wait(timeoutMs);
  }
  if (event.IsSet()) {
    return WaitResult::Signalled;
  }
  const uint64_t closedAtStart = g_closedCount.load();
  GuiWaker waker(QAbstractEventDispatcher::instance());
  event.AddObserver(&waker);
  bool timedOut = false;
  QTimer timer;
  if (timeoutMs != kWaitForever) {
    timer.setSingleShot(true);
    QObject::connect(&timer, &QTimer::timeout, [&timedOut] { timedOut = true; });
    timer.start(static_cast<int>(std::min<uint32_t>(timeoutMs, 0x7FFFFFFF)));
  }
  gui_internal::EnterModal();
  WaitResult result = WaitResult::Failed;
  for (;;) {
    if (event.IsSet()) {
      result = WaitResult::Signalled;
      break;
    }
    if (g_closedCount.load() != closedAtStart) {
      result = WaitResult::Failed;
      break;
    }
    if (timedOut) {
      result = WaitResult::TimedOut;
      break;
    }
    QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
  }
  event.RemoveObserver(&waker);
  gui_internal::LeaveModal();
  return result;
}

void ShutDownGuiRuntime(const std::function<void()>& stopWorkers) {
  if (!IsGuiThread()) {
    return;
  }
  // 1. The bridge: pending and later modal calls return cancel.
  gui_internal::CloseModalBridge();
  g_closedCount.fetch_add(1);
  if (QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance()) {
    dispatcher->wakeUp();
  }
  // 2. The event loop, explicitly.
  QuitGuiEventLoop(0);
  // 3. The workers (the caller's step: quit messages, joins with a limit).
  if (stopWorkers) {
    stopWorkers();
  }
  // 4. The layer's widgets.
  for (QPointer<QWidget>& widget : g_layerWidgets) {
    delete widget.data();
  }
  g_layerWidgets.clear();
  SetUiPostTarget(g_previousTarget);
  g_previousTarget = nullptr;
  SetThisThreadEventWait(std::move(g_previousWait));
  g_previousWait = nullptr;
  g_uiHandler = nullptr;
  g_started.store(false, std::memory_order_release);
}

}  // namespace lv
