#include "platform/gui/test_hooks.h"

#include <deque>
#include <mutex>

#include "platform/gui/gui_runtime_qt.h"

namespace lv::test_hooks {

namespace {
std::mutex g_mutex;
std::deque<ScriptedAnswer> g_answers;
std::function<void(ShownModal&)> g_observer;
}  // namespace

void PushAnswer(ScriptedAnswer answer) {
  std::lock_guard<std::mutex> lock(g_mutex);
  g_answers.push_back(std::move(answer));
}

void PushResult(int result) {
  PushAnswer([result](ShownModal& shown) { shown.Finish(result); });
}

size_t PendingAnswers() {
  std::lock_guard<std::mutex> lock(g_mutex);
  return g_answers.size();
}

void ClearAnswers() {
  std::lock_guard<std::mutex> lock(g_mutex);
  g_answers.clear();
}

void SetModalShownObserver(std::function<void(ShownModal&)> observer) {
  std::lock_guard<std::mutex> lock(g_mutex);
  g_observer = std::move(observer);
}

}  // namespace lv::test_hooks

namespace lv::gui_internal {

bool TakeScriptedAnswer(test_hooks::ScriptedAnswer& answer) {
  std::lock_guard<std::mutex> lock(test_hooks::g_mutex);
  if (test_hooks::g_answers.empty()) {
    return false;
  }
  answer = std::move(test_hooks::g_answers.front());
  test_hooks::g_answers.pop_front();
  return true;
}

std::function<void(test_hooks::ShownModal&)> ModalShownObserver() {
  std::lock_guard<std::mutex> lock(test_hooks::g_mutex);
  return test_hooks::g_observer;
}

}  // namespace lv::gui_internal
