// Running a dialog's window modally from any thread.
#include <QCoreApplication>
#include <QEventLoop>
#include <QMetaObject>
#include <condition_variable>
#include <memory>
#include <mutex>

#include "platform/gui/dialog_window.h"

namespace lv::gui_internal {

namespace {

// What one modal run shares between the window's finish and the waiter: the
// first done() wins, later calls are ignored.
struct ModalState {
  std::mutex mutex;
  std::condition_variable cv;
  bool finished = false;
  int result = 0;
  QEventLoop* loop = nullptr;  // GUI-thread runs only
};

ModalDone MakeDone(const std::shared_ptr<ModalState>& state) {
  return [state](int result) {
    std::lock_guard<std::mutex> lock(state->mutex);
    if (state->finished) {
      return;
    }
    state->finished = true;
    state->result = result;
    if (state->loop != nullptr) {
      state->loop->quit();
    }
    state->cv.notify_all();
  };
}

}  // namespace

int RunModalWindow(std::function<void(ModalDone done)> open, int cancelResult) {
  QCoreApplication* app = QCoreApplication::instance();
  if (app == nullptr) {
    return cancelResult;
  }
  auto state = std::make_shared<ModalState>();
  state->result = cancelResult;
  if (OnGuiThread()) {
    QEventLoop loop;
    {
      std::lock_guard<std::mutex> lock(state->mutex);
      state->loop = &loop;
    }
    open(MakeDone(state));
    bool finished = false;
    {
      std::lock_guard<std::mutex> lock(state->mutex);
      finished = state->finished;
    }
    if (!finished) {
      loop.exec(QEventLoop::DialogExec);
    }
    std::lock_guard<std::mutex> lock(state->mutex);
    state->loop = nullptr;
    return state->result;
  }
  QMetaObject::invokeMethod(
      app, [open = std::move(open), done = MakeDone(state)]() mutable { open(std::move(done)); },
      Qt::QueuedConnection);
  std::unique_lock<std::mutex> lock(state->mutex);
  state->cv.wait(lock, [&] { return state->finished; });
  return state->result;
}

}  // namespace lv::gui_internal
