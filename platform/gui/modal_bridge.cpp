#include "platform/gui/modal_bridge.h"

#include <QApplication>
#include <QDialog>
#include <QPointer>
#include <QSet>
#include <QTimer>
#include <QWidget>
#include <atomic>
#include <cstdio>
#include <deque>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/gui/gui_runtime.h"
#include "platform/gui/gui_runtime_qt.h"
#include "platform/text.h"

namespace lv {

namespace {

// One modal call. Shared between the caller, the GUI-thread side and the
// done callbacks handed to open(); answered exactly once.
struct ModalRequest {
  ModalOpen open;
  int cancelResult = 0;
  int result = 0;
  bool answered = false;       // guarded by g_mutex
  bool counted = false;        // GUI thread: EnterModal was called for it
  QPointer<QWidget> widget;    // GUI thread: the top-level widget open() showed
  PlatformEvent finished;
};
using RequestPtr = std::shared_ptr<ModalRequest>;

std::mutex g_mutex;
bool g_closed = true;                 // guarded by g_mutex
std::vector<RequestPtr> g_pending;    // guarded by g_mutex
std::atomic<int> g_openCount{0};

// GUI thread only.
int g_modalDepth = 0;
std::deque<std::function<void()>> g_deferred;
bool g_deferredScheduled = false;

void RunDeferred();

void ScheduleDeferred() {
  if (g_deferredScheduled || g_deferred.empty()) {
    return;
  }
  g_deferredScheduled = true;
  QTimer::singleShot(0, gui_internal::RuntimeObject(), [] {
    g_deferredScheduled = false;
    RunDeferred();
  });
}

void RunWork(const std::function<void()>& work) {
  try {
    work();
  } catch (...) {
    // Deferred work handles its own errors; one escaping here would unwind
    // through the event loop.
    std::fputs("lumvard-sorvek: deferred work ended with an unhandled error\n", stderr);
  }
}

void RunDeferred() {
  while (g_modalDepth == 0 && !g_deferred.empty()) {
    std::function<void()> work = std::move(g_deferred.front());
    g_deferred.pop_front();
    RunWork(work);
  }
}

// Hands the result back (the first time only).
void Answer(const RequestPtr& request, int result) {
  {
    std::lock_guard<std::mutex> lock(g_mutex);
    if (request->answered) {
      return;
    }
    request->answered = true;
    // Once the bridge is closed every call returns its cancel result.
    request->result = g_closed ? request->cancelResult : result;
    for (size_t i = 0; i < g_pending.size(); ++i) {
      if (g_pending[i] == request) {
        g_pending.erase(g_pending.begin() + static_cast<std::ptrdiff_t>(i));
        break;
      }
    }
  }
  if (request->counted) {
    request->counted = false;
    g_openCount.fetch_sub(1);
    gui_internal::LeaveModal();
  }
  request->finished.Set();
}

bool IsAnswered(const RequestPtr& request) {
  std::lock_guard<std::mutex> lock(g_mutex);
  return request->answered;
}

// What a scripted answer sees.
class ShownRequest : public test_hooks::ShownModal {
 public:
  explicit ShownRequest(RequestPtr request) : request_(std::move(request)) {}
  std::wstring Title() const override {
    QWidget* w = request_->widget.data();
    return w != nullptr ? w->windowTitle().toStdWString() : std::wstring();
  }
  std::string KindName() const override {
    QWidget* w = request_->widget.data();
    return w != nullptr ? std::string(w->metaObject()->className()) : std::string();
  }
  void* Widget() const override { return request_->widget.data(); }
  void Finish(int result) override {
    if (auto* dialog = qobject_cast<QDialog*>(request_->widget.data())) {
      dialog->done(result);
    }
    Answer(request_, result);  // no-op when the dialog's own done answered
  }

 private:
  RequestPtr request_;
};

// The new top-level widget open() showed: a visible dialog first, else any
// visible window.
QWidget* FindShown(const QSet<QWidget*>& before) {
  QWidget* anyVisible = nullptr;
  for (QWidget* w : QApplication::topLevelWidgets()) {
    if (before.contains(w) || !w->isVisible()) {
      continue;
    }
    if (qobject_cast<QDialog*>(w) != nullptr) {
      return w;
    }
    if (anyVisible == nullptr) {
      anyVisible = w;
    }
  }
  return anyVisible;
}

// GUI thread: opens the request's modal thing.
void StartRequest(const RequestPtr& request) {
  if (IsAnswered(request)) {
    return;  // closed (or cancelled) before it got here
  }
  const QList<QWidget*> list = QApplication::topLevelWidgets();
  const QSet<QWidget*> before(list.begin(), list.end());
  request->counted = true;
  g_openCount.fetch_add(1);
  gui_internal::EnterModal();
  ModalDone done = [request](int result) {
    if (IsGuiThread()) {
      Answer(request, result);
    } else {
      gui_internal::PostToGuiThread([request, result] { Answer(request, result); });
    }
  };
  try {
    request->open(done);
  } catch (...) {
    Answer(request, request->cancelResult);
    return;
  }
  request->widget = FindShown(before);
  if (IsAnswered(request)) {
    return;
  }
  // Scripted answers and the observer see the thing once its show events have
  // been served.
  QTimer::singleShot(0, gui_internal::RuntimeObject(), [request] {
    if (IsAnswered(request)) {
      return;
    }
    ShownRequest shown(request);
    if (auto observer = gui_internal::ModalShownObserver()) {
      observer(shown);
    }
    test_hooks::ScriptedAnswer answer;
    if (!IsAnswered(request) && gui_internal::TakeScriptedAnswer(answer)) {
      answer(shown);
    }
  });
}

}  // namespace

namespace gui_internal {

void EnterModal() { ++g_modalDepth; }

void LeaveModal() {
  if (g_modalDepth > 0) {
    --g_modalDepth;
  }
  if (g_modalDepth == 0) {
    ScheduleDeferred();
  }
}

void OpenModalBridge() {
  std::lock_guard<std::mutex> lock(g_mutex);
  g_closed = false;
  g_deferred.clear();
  g_deferredScheduled = false;
}

void CloseModalBridge() {
  std::vector<RequestPtr> pending;
  {
    std::lock_guard<std::mutex> lock(g_mutex);
    g_closed = true;
    pending.swap(g_pending);
    // Put them back so Answer finds and removes each one.
    g_pending = pending;
  }
  // Each window is closed before its caller is released: closing runs the
  // dialog's own cancel handlers, which may still use the caller's objects,
  // so the caller must not return (and perhaps destroy them) before they have
  // run. The answer is the cancel result whatever those handlers chose.
  for (const RequestPtr& request : pending) {
    QPointer<QWidget> widget = request->widget;
    if (widget) {
      if (auto* dialog = qobject_cast<QDialog*>(widget.data())) {
        dialog->reject();
      } else {
        widget->close();
      }
    }
    Answer(request, request->cancelResult);
  }
  g_deferred.clear();
}

bool IsModalBridgeClosed() {
  std::lock_guard<std::mutex> lock(g_mutex);
  return g_closed;
}

}  // namespace gui_internal

int RunModal(ModalOpen open, int cancelResult) {
  auto request = std::make_shared<ModalRequest>();
  request->open = std::move(open);
  request->cancelResult = cancelResult;
  request->result = cancelResult;
  {
    std::lock_guard<std::mutex> lock(g_mutex);
    if (g_closed || !IsGuiRuntimeStarted()) {
      return cancelResult;
    }
    g_pending.push_back(request);
  }
  if (IsGuiThread()) {
    StartRequest(request);
    if (GuiWait(request->finished) != WaitResult::Signalled) {
      Answer(request, cancelResult);
    }
  } else {
    if (!gui_internal::PostToGuiThread([request] { StartRequest(request); })) {
      Answer(request, cancelResult);
    }
    request->finished.Wait();
  }
  std::lock_guard<std::mutex> lock(g_mutex);
  return request->result;
}

void DeferWhileModal(std::function<void()> work) {
  if (!IsGuiThread()) {
    auto shared = std::make_shared<std::function<void()>>(std::move(work));
    gui_internal::PostToGuiThread([shared] { DeferWhileModal(std::move(*shared)); });
    return;
  }
  if (gui_internal::IsModalBridgeClosed()) {
    return;
  }
  if (g_modalDepth == 0 && g_deferred.empty()) {
    RunWork(work);
    return;
  }
  g_deferred.push_back(std::move(work));
  if (g_modalDepth == 0) {
    ScheduleDeferred();
  }
}

bool IsModalActive() { return IsGuiThread() && g_modalDepth > 0; }

int OpenModalCount() { return g_openCount.load(); }

}  // namespace lv
