// Shared helpers of the dialog tests: a fixture with the Qt application
// object, a dialog that records its notifications, and look-ups of the real
// widgets behind a dialog.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QWidget>
#include <string>
#include <vector>

#include "platform/gui/dialog.h"
#include "platform/gui/dialog_test_hooks.h"
#include "platform/gui/gui_runtime.h"
#include "support/gui_app.h"

namespace lv_test {

class DialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    EnsureGuiApplication();
    ASSERT_TRUE(lv::StartGuiRuntime());
    lv::ClearDialogAnswers();
  }
  void TearDown() override {
    EXPECT_EQ(lv::ClearDialogAnswers(), 0) << "a script was never used";
    if (lv::IsGuiRuntimeStarted()) {
      lv::ShutDownGuiRuntime();
    }
  }
};

// Records every notification as "click 7", "edit 12", "select 3", "init".
class RecordingDialog : public lv::Dialog {
 public:
  using lv::Dialog::Dialog;
  std::vector<std::string> events;
  std::function<void(RecordingDialog&)> onInit;

 protected:
  bool OnInitDialog() override {
    events.push_back("init");
    if (onInit) {
      onInit(*this);
    }
    return true;
  }
  void OnButtonClicked(int id) override {
    events.push_back("click " + std::to_string(id));
    lv::Dialog::OnButtonClicked(id);
  }
  void OnEditChanged(int id) override { events.push_back("edit " + std::to_string(id)); }
  void OnSelectionChanged(int id) override { events.push_back("select " + std::to_string(id)); }
};

// The visible or hidden top-level widget with this title (the newest one).
inline QWidget* TopLevelByTitle(const std::wstring& title) {
  QWidget* found = nullptr;
  for (QWidget* w : QApplication::topLevelWidgets()) {
    if (w->windowTitle() == QString::fromStdWString(title)) {
      found = w;
    }
  }
  return found;
}

// The child widget whose geometry is exactly r (null when none).
inline QWidget* ChildAtRect(QWidget* top, const lv::Rect& r) {
  for (QWidget* w : top->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
    const QRect g = w->geometry();
    if (g.x() == r.left && g.y() == r.top && g.width() == r.Width() && g.height() == r.Height()) {
      return w;
    }
  }
  return nullptr;
}

}  // namespace lv_test
