// Test hooks of the window layer (used only by tests).
//
// Scripted answers: a queue of answers the modal bridge applies, in order, to
// the next modal things shown through it. An answer runs on the GUI thread
// once the thing is shown (after open() has returned and its events have been
// served), sees the shown thing and finishes it, for instance by pressing a
// button. With no answer queued the thing stays open for a person (or for the
// test's own code) to answer.
#pragma once

#include <cstddef>
#include <functional>
#include <string>

namespace lv::test_hooks {

// The modal thing just shown, as an answer sees it.
class ShownModal {
 public:
  virtual ~ShownModal() = default;
  // Its window title ("" when none was found).
  virtual std::wstring Title() const = 0;
  // The Qt class name of its widget ("QMessageBox", "QFileDialog", ...; ""
  // when the bridge found no new top-level widget).
  virtual std::string KindName() const = 0;
  // Its top-level widget (a QWidget*), for answers written inside the window
  // layer and its tests; null when none was found.
  virtual void* Widget() const = 0;
  // Finishes it with the result: a dialog is finished through its own done(),
  // so its finished signal and handlers run; anything else is finished
  // through the bridge's done.
  virtual void Finish(int result) = 0;
};

using ScriptedAnswer = std::function<void(ShownModal& shown)>;

// Queues an answer for the next modal thing shown.
void PushAnswer(ScriptedAnswer answer);
// Queues the plainest answer: finish with the result.
void PushResult(int result);
// How many answers are still queued.
size_t PendingAnswers();
// Drops every queued answer.
void ClearAnswers();

// Called (on the GUI thread) with every modal thing the bridge shows, before
// any scripted answer; empty removes it.
void SetModalShownObserver(std::function<void(ShownModal& shown)> observer);

}  // namespace lv::test_hooks
