// The settings dialogs as the plot threads use them (DoModal from a worker
// thread while the GUI thread serves), and the layer controls they brought:
// the combo box with an edit field and the check box with its text on the
// left.
#include <QApplication>
#include <QCheckBox>
#include <QWidget>
#include <thread>

#include <gtest/gtest.h>

#include "dialog_fixture.h"
#include "platform/gui/gui_runtime.h"
#include "platform/sync.h"
#include "plots/windows/pers_spec_dlg.h"
#include "plots/windows/spectrum_dlg.h"
#include "plots/windows/spgm_dlg.h"

namespace {

using lv::DialogStep;

class WorkerDialogs : public lv_test::SettingsDialogTest {
 protected:
  // Runs the dialog's DoModal on a thread of its own, as a plot thread does,
  // while this (GUI) thread serves it; the dialog's answer.
  static int DoModalOnAPlotThread(lv::Dialog& d) {
    lv::PlatformEvent done;
    int result = -1;
    std::thread plotThread([&] {
      result = d.DoModal();
      done.Set();
    });
    EXPECT_EQ(lv::GuiWait(done, 20000), lv::WaitResult::Signalled);
    plotThread.join();
    return result;
  }
};

TEST_F(WorkerDialogs, APlotThreadRunsTheDialogAndReadsTheValuesBack) {
  CWPlotSADlg d;
  d.autoRBW = false;
  d.rbw = 10e3;
  lv::AnswerNextDialog({DialogStep::Type(kIdcSARBW, L"20"), DialogStep::Click(kIdcSAAccept)});
  EXPECT_EQ(DoModalOnAPlotThread(d), 1);
  EXPECT_DOUBLE_EQ(d.rbw, 20e3);
}

TEST_F(WorkerDialogs, ARefusalMessageFromAPlotThreadsDialogIsAnswered) {
  CWPlotSpgmDlg d;
  lv::AnswerNextDialog({DialogStep::Type(kIdcSpgmStart, L"abc"), DialogStep::Click(kIdcSpgmAccept),
                        DialogStep::Click(kIdcSpgmCancel)});
  EXPECT_EQ(DoModalOnAPlotThread(d), 0);
  ASSERT_EQ(messages_.size(), 1u);
  EXPECT_EQ(messages_[0], L"Invalid start frequency.\nPlease enter a valid value, or press Cancel.");
}

// A bare dialog with one combo box (an edit field over a list) that records
// its notifications.
class ComboDialog : public lv::Dialog {
 public:
  ComboDialog()
      : lv::Dialog(lv::DialogTemplate{
            "Combo", L"Combo", 120, 60, {},
            {{7, lv::ControlKind::kComboBox, L"", 7, 7, 60, 80, lv::kStyleTabStop},
             {8, lv::ControlKind::kCheckBox, L"Left text", 7, 30, 60, 10, lv::kStyleLeftText},
             {lv::kIdOk, lv::ControlKind::kDefPushButton, L"OK", 70, 40, 40, 14, lv::kStyleTabStop}}}) {}
  std::vector<std::string> events;

 protected:
  bool OnInitDialog() override {
    SetItemText(7, L"typed");
    events.push_back("init");
    AddString(7, L"one");
    AddString(7, L"two");
    return true;
  }
  void OnEditChanged(int id) override { events.push_back("edit " + std::to_string(id)); }
  void OnSelectionChanged(int id) override { events.push_back("select " + std::to_string(id)); }
};

TEST_F(WorkerDialogs, TheComboBoxReportsTypingAndPicksAndKeepsItsEditFieldWhenFilled) {
  ComboDialog d;
  std::wstring afterInit;
  int entries = 0;
  int selected = -2;
  std::wstring afterPick;
  bool leftText = false;
  EXPECT_EQ(Run(d, {Read([&](lv::Dialog& dlg) {
                      afterInit = dlg.GetItemText(7);
                      entries = dlg.GetCount(7);
                    }),
                    DialogStep::Type(7, L"3.5"), DialogStep::Pick(7, 1), Read([&](lv::Dialog& dlg) {
                      selected = dlg.GetCurSel(7);
                      afterPick = dlg.GetItemText(7);
                      for (QWidget* top : QApplication::topLevelWidgets()) {
                        if (top->isVisible() && top->windowTitle() == QStringLiteral("Combo")) {
                          for (QCheckBox* box : top->findChildren<QCheckBox*>()) {
                            leftText = box->layoutDirection() == Qt::RightToLeft;
                          }
                        }
                      }
                    }),
                    DialogStep::Click(lv::kIdOk)}),
            lv::kIdOk);
  EXPECT_EQ(afterInit, L"typed") << "adding entries leaves the edit field alone";
  EXPECT_EQ(entries, 2);
  EXPECT_EQ(selected, 1);
  EXPECT_EQ(afterPick, L"two");
  EXPECT_TRUE(leftText);
  const std::vector<std::string> want = {"edit 7", "init", "edit 7", "edit 7", "select 7"};
  EXPECT_EQ(d.events, want);
}

}  // namespace
