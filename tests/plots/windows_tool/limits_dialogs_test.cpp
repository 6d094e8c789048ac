// The axis limits dialogs in both modes, answered through the dialog test
// hooks as a person would, and the tool window's "Axes Limits..." command
// that divides by the label divisors and multiplies back.
#include <gtest/gtest.h>

#include "platform/gui/dialog_test_hooks.h"
#include "platform/text.h"
#include "plots/windows/limits_dialogs.h"
#include "tool_fixture.h"

namespace {

using namespace tool_test;
using namespace limits_dlg;
using Step = lv::DialogStep;
using W = CWPlot2DToolWndw;

class LimitsDialogs : public ::testing::Test {
 protected:
  void SetUp() override {
    lv_test::EnsureGuiApplication();
    ASSERT_TRUE(lv::StartGuiRuntime());
  }
  void TearDown() override {
    lv::ClearDialogAnswers();
    lv::ShutDownGuiRuntime();
  }
};

// What the dialog shows, read in an Inspect step.
struct Shown {
  std::wstring yMax, yMin, yStep, xMin, xMax, yTitle, xTitle;
  bool minVisible = false, stepVisible = false, minLabel = false, divLabel = false;
  int yAuto = -1, yManual = -1, xAuto = -1, xManual = -1;
};

Step Read(Shown& s) {
  return Step::Inspect([&s](lv::Dialog* d) {
    s.yMax = d->GetItemText(kYMax);
    s.yMin = d->GetItemText(kYMin);
    s.yStep = d->GetItemText(kYStep);
    s.xMin = d->GetItemText(kXMin);
    s.xMax = d->GetItemText(kXMax);
    s.yTitle = d->GetItemText(kYTitle);
    s.xTitle = d->GetItemText(kXTitle);
    s.minVisible = d->IsItemVisible(kYMin);
    s.stepVisible = d->IsItemVisible(kYStep);
    s.minLabel = d->IsItemVisible(kMinLabel);
    s.divLabel = d->IsItemVisible(kDivLabel);
    s.yAuto = d->GetCheck(kYAuto);
    s.yManual = d->GetCheck(kYManual);
    s.xAuto = d->GetCheck(kXAuto);
    s.xManual = d->GetCheck(kXManual);
  });
}

TEST_F(LimitsDialogs, VerticalDialogModeZeroShowsMaxAndMinAndStoresThem) {
  CWPlot2DVertLimitsDlg dlg(0, 10.0, -70.5, true, L"Magnitude (dBm)");
  EXPECT_EQ(dlg.GetCaption(), L"Y Axis Limits");
  EXPECT_EQ(dlg.Template().name, "AxesVertLimitsDialog");
  Shown s, after;
  lv::AnswerNextDialog({Read(s), Step::Type(kYMax, L"20"), Read(after), Step::Type(kYMin, L"-40.25"),
                        Step::Click(kAccept)});
  EXPECT_EQ(dlg.DoModal(), 1);
  EXPECT_EQ(s.yMax, L"10.000000");
  EXPECT_EQ(s.yMin, L"-70.500000");
  EXPECT_TRUE(s.minVisible);
  EXPECT_TRUE(s.minLabel);
  EXPECT_FALSE(s.stepVisible);
  EXPECT_FALSE(s.divLabel);
  EXPECT_EQ(s.yAuto, lv::kChecked);
  EXPECT_EQ(s.yManual, lv::kUnchecked);
  EXPECT_EQ(s.yTitle, L"Magnitude (dBm)");
  // Typing into "Max" selects "Manual Scale".
  EXPECT_EQ(after.yManual, lv::kChecked);
  EXPECT_EQ(after.yAuto, lv::kUnchecked);
  EXPECT_FALSE(dlg.automaticScale);
  EXPECT_EQ(dlg.maximum, 20.0);
  EXPECT_EQ(dlg.secondValue, -40.25);
}

TEST_F(LimitsDialogs, VerticalDialogModeOneShowsStepAndStoresTheTypedStep) {
  struct Case {
    const wchar_t* typed;
    double expected;
  };
  // A step of 0 or less becomes 1; a text that is no number leaves it.
  const Case cases[] = {{L"5", 5.0}, {L"0", 1.0}, {L"-3", 1.0}, {L"abc", 2.5}, {L"7.5 dB", 7.5}};
  for (const Case& c : cases) {
    SCOPED_TRACE(lv::WideToUtf8(c.typed));
    CWPlot2DVertLimitsDlg dlg(1, 0.0, 2.5, false, nullptr);
    Shown s;
    lv::AnswerNextDialog({Read(s), Step::Type(kYStep, c.typed), Step::Click(kAccept)});
    EXPECT_EQ(dlg.DoModal(), 1);
    EXPECT_TRUE(s.stepVisible);
    EXPECT_TRUE(s.divLabel);
    EXPECT_FALSE(s.minVisible);
    EXPECT_FALSE(s.minLabel);
    EXPECT_EQ(s.yStep, L"2.500000");
    EXPECT_EQ(s.yManual, lv::kChecked);
    EXPECT_EQ(s.yTitle, L"");
    EXPECT_EQ(dlg.secondValue, c.expected);
    EXPECT_EQ(dlg.maximum, 0.0);
  }
}

TEST_F(LimitsDialogs, CancelEscapeAndCloseBoxReturnTheGivenValues) {
  const Step ends[] = {Step::Click(kCancel), Step::Escape(), Step::CloseBox()};
  for (const Step& end : ends) {
    CWPlot2DLimitsDlg dlg(0, 1.0, 2.0, true, L"Time", -1.0, 1.0, false, L"I");
    lv::AnswerNextDialog({Step::Type(kXMin, L"-5"), Step::Type(kYMax, L"9"), Step::Click(kXAuto), end});
    EXPECT_EQ(dlg.DoModal(), 0);
    EXPECT_EQ(dlg.xMinimum, 1.0);
    EXPECT_EQ(dlg.xMaximum, 2.0);
    EXPECT_TRUE(dlg.xAutomaticScale);
    EXPECT_EQ(dlg.ySecondValue, -1.0);
    EXPECT_EQ(dlg.yMaximum, 1.0);
    EXPECT_FALSE(dlg.yAutomaticScale);
  }
  CWPlot2DVertLimitsDlg v(0, 3.0, 1.0, true, nullptr);
  lv::AnswerNextDialog({Step::Type(kYMax, L"30"), Step::Click(kCancel)});
  EXPECT_EQ(v.DoModal(), 0);
  EXPECT_EQ(v.maximum, 3.0);
  EXPECT_TRUE(v.automaticScale);
}

TEST_F(LimitsDialogs, FullDialogChecksBothPairsAndKeepsTheRest) {
  struct Case {
    const wchar_t *xMin, *xMax, *yMax, *yMin;
    double eXMin, eXMax, eYMax, eYMin;
  };
  const Case cases[] = {
      // Both pairs valid.
      {L"0.5", L"8", L"2", L"-2", 0.5, 8.0, 2.0, -2.0},
      // x minimum above the maximum: the x limits stay, the rest is stored.
      {L"9", L"8", L"2", L"-2", 1.0, 5.0, 2.0, -2.0},
      // y minimum above the maximum: the y limits stay.
      {L"0.5", L"8", L"-3", L"-2", 0.5, 8.0, 1.0, -1.0},
      // Equal values are no range either.
      {L"4", L"4", L"0", L"0", 1.0, 5.0, 1.0, -1.0},
      // A text that is no number: an x pair without both numbers stays; a y
      // field keeps its own value and the pair is checked with it.
      {L"x", L"8", L"2", L"?", 1.0, 5.0, 2.0, -1.0},
      {L"0", L"8", L"-5", L"?", 0.0, 8.0, 1.0, -1.0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(lv::WideToUtf8(std::wstring(c.xMin) + L" " + c.xMax + L" " + c.yMax + L" " + c.yMin));
    CWPlot2DLimitsDlg dlg(0, 1.0, 5.0, true, L"Time (microsec)", -1.0, 1.0, true, L"I");
    Shown s, after;
    lv::AnswerNextDialog({Read(s), Step::Type(kXMin, c.xMin), Step::Type(kXMax, c.xMax), Step::Type(kYMax, c.yMax),
                          Step::Type(kYMin, c.yMin), Read(after), Step::Click(kAccept)});
    EXPECT_EQ(dlg.DoModal(), 1);
    EXPECT_EQ(s.xMin, L"1.000000");
    EXPECT_EQ(s.xMax, L"5.000000");
    EXPECT_EQ(s.yMin, L"-1.000000");
    EXPECT_EQ(s.yMax, L"1.000000");
    EXPECT_EQ(s.xAuto, lv::kChecked);
    EXPECT_EQ(s.yAuto, lv::kChecked);
    EXPECT_EQ(s.xTitle, L"Time (microsec)");
    EXPECT_EQ(s.yTitle, L"I");
    EXPECT_FALSE(s.stepVisible);
    EXPECT_EQ(after.xManual, lv::kChecked);
    EXPECT_EQ(after.yManual, lv::kChecked);
    EXPECT_FALSE(dlg.xAutomaticScale);
    EXPECT_FALSE(dlg.yAutomaticScale);
    EXPECT_EQ(dlg.xMinimum, c.eXMin);
    EXPECT_EQ(dlg.xMaximum, c.eXMax);
    EXPECT_EQ(dlg.yMaximum, c.eYMax);
    EXPECT_EQ(dlg.ySecondValue, c.eYMin);
  }
}

TEST_F(LimitsDialogs, FullDialogModeOneAndAutoScaleChoices) {
  CWPlot2DLimitsDlg dlg(1, 0.0, 10.0, false, nullptr, 2.0, 4.0, false, nullptr);
  Shown s;
  lv::AnswerNextDialog({Read(s), Step::Type(kYStep, L"0.25"), Step::Click(kXAuto), Step::Click(kYAuto),
                        Step::Click(kAccept)});
  EXPECT_EQ(dlg.DoModal(), 1);
  EXPECT_TRUE(s.stepVisible);
  EXPECT_FALSE(s.minVisible);
  EXPECT_EQ(s.yStep, L"2.000000");
  EXPECT_EQ(s.xManual, lv::kChecked);
  EXPECT_TRUE(dlg.xAutomaticScale);
  EXPECT_TRUE(dlg.yAutomaticScale);
  EXPECT_EQ(dlg.ySecondValue, 0.25);
  EXPECT_EQ(dlg.yMaximum, 4.0);
}

TEST_F(LimitsDialogs, GalleryOfBothDialogs) {
  const std::string folder = lv_test::GalleryFolder("plots_windows");
  CWPlot2DLimitsDlg full(0, 0.0, 10.0, false, L"Time (microsec)", -1.0, 1.0, true, L"I");
  lv::AnswerNextDialog({Step::SavePng(lv::Utf8ToWide(folder + "/axes_limits_dialog.png")), Step::Click(kCancel)});
  EXPECT_EQ(full.DoModal(), 0);
  CWPlot2DVertLimitsDlg vert(1, 0.0, 10.0, false, L"Magnitude (dBm)");
  lv::AnswerNextDialog({Step::SavePng(lv::Utf8ToWide(folder + "/y_axis_limits_dialog.png")), Step::Click(kCancel)});
  EXPECT_EQ(vert.DoModal(), 0);
}

// ---- the tool window's command ---------------------------------------------

TEST_F(ToolWindowTest, AxesLimitsOfTheTimeDomainKindInLabelUnits) {
  Make(0);
  const double xd = window_->xLabelDivisor;
  ASSERT_NE(xd, 1.0);  // microseconds
  Shown s;
  lv::AnswerNextDialog({Read(s), Step::Type(kXMin, L"2"), Step::Type(kXMax, L"4"), Step::Type(kYMax, L"0.5"),
                        Step::Type(kYMin, L"-0.5"), Step::Click(kAccept)});
  Command(W::kCmdAxesLimits);
  EXPECT_EQ(lv::ClearDialogAnswers(), 0);
  EXPECT_EQ(s.xMax, lv::FormatCW(L"%.6lf", 1000 * 1e-8 / xd));
  EXPECT_FALSE(window_->xAutoScale);
  EXPECT_FALSE(window_->yAutoScale);
  EXPECT_DOUBLE_EQ(window_->xMin, 2.0 * xd);
  EXPECT_DOUBLE_EQ(window_->xMax, 4.0 * xd);
  EXPECT_DOUBLE_EQ(window_->yMax, 0.5 * window_->yLabelDivisor);
  EXPECT_DOUBLE_EQ(window_->yMin, -0.5 * window_->yLabelDivisor);
}

TEST_F(ToolWindowTest, AxesLimitsOfTheSpectrumKindUseTopAndStep) {
  Make(3);
  const double yMin = window_->yMin, yMax = window_->yMax;
  // Cancel: the values come back as given.
  lv::AnswerNextDialog({Step::Type(kYMax, L"5"), Step::Click(kCancel)});
  Command(W::kCmdAxesLimits);
  EXPECT_TRUE(window_->yAutoScale);
  EXPECT_DOUBLE_EQ(window_->yMin, yMin);
  EXPECT_DOUBLE_EQ(window_->yMax, yMax);
  // Top and step: minimum = top - 10 step.
  Shown s;
  lv::AnswerNextDialog({Read(s), Step::Type(kYMax, L"10"), Step::Type(kYStep, L"5"), Step::Click(kAccept)});
  Command(W::kCmdAxesLimits);
  EXPECT_EQ(s.yStep, lv::FormatCW(L"%.6lf", (yMax - yMin) / 10.0));
  EXPECT_FALSE(s.xMin.size());  // the vertical dialog has no x fields
  EXPECT_FALSE(window_->yAutoScale);
  EXPECT_EQ(window_->yMax, 10.0);
  EXPECT_EQ(window_->yMin, -40.0);
  // A step of 0 becomes 1.
  lv::AnswerNextDialog({Step::Type(kYMax, L"0"), Step::Type(kYStep, L"0"), Step::Click(kAccept)});
  Command(W::kCmdAxesLimits);
  EXPECT_EQ(window_->yMin, -10.0);
  // Auto scale chosen: on again.
  lv::AnswerNextDialog({Step::Click(kYAuto), Step::Click(kAccept)});
  Command(W::kCmdAxesLimits);
  EXPECT_TRUE(window_->yAutoScale);
}

TEST_F(ToolWindowTest, AxesLimitsOfKindsOneAndTwo) {
  Make(1);
  lv::AnswerNextDialog({Step::Type(kYMax, L"1"), Step::Type(kYStep, L"0.1"), Step::Click(kAccept)});
  Command(W::kCmdAxesLimits);
  const double yd = window_->yLabelDivisor;
  EXPECT_DOUBLE_EQ(window_->yMax, 1.0 * yd);
  EXPECT_DOUBLE_EQ(window_->yMin, 0.0 * yd);
  window_.reset();
  Pump();
  Make(2);
  lv::AnswerNextDialog({Step::Type(kYMax, L"-10"), Step::Type(kYMin, L"-60"), Step::Click(kAccept)});
  Command(W::kCmdAxesLimits);
  EXPECT_FALSE(window_->yAutoScale);
  EXPECT_DOUBLE_EQ(window_->yMax, -10.0);
  EXPECT_DOUBLE_EQ(window_->yMin, -60.0);
}

}  // namespace
