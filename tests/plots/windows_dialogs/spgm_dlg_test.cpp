// CWPlotSpgmDlg ("Spectrogram Settings") on real widgets: its template and
// lists, values shown with as many decimals as they need, the "Auto" boxes
// that edits clear, the checks of Accept with their messages, and what each
// end of the dialog leaves.
#include "plots/windows/spgm_dlg.h"

#include <string>

#include <gtest/gtest.h>

#include "dialog_fixture.h"

namespace {

using lv::DialogStep;

class SpgmDlgTest : public lv_test::SettingsDialogTest {
 protected:
  static void FillManual(CWPlotSpgmDlg& d) {
    d.autoTimeRange = false;
    d.timeRange = 2.5e-3;
    d.autoFreqRange = false;
    d.startFreq = -15.36e6;
    d.stopFreq = 4e6;
    d.autoRBW = false;
    d.rbw = 12.5e3;
    d.windowShape = 8;
    d.minPower = -120.5f;
    d.maxPower = -10.0f;
    d.colorMapType = 1;
  }
};

TEST_F(SpgmDlgTest, TemplateControlsSitAtTheirRectanglesWithTheirTextsAndLists) {
  CWPlotSpgmDlg d;
  EXPECT_EQ(d.Template().name, "SpgmDialog");
  const lv::ControlTemplate* accept = lv::FindControl(d.Template(), kIdcSpgmAccept);
  ASSERT_NE(accept, nullptr);
  EXPECT_EQ(accept->kind, lv::ControlKind::kDefPushButton);
  const lv::ControlTemplate* rbw = lv::FindControl(d.Template(), kIdcSpgmRBW);
  ASSERT_NE(rbw, nullptr);
  EXPECT_EQ(rbw->kind, lv::ControlKind::kComboBox);
  EXPECT_EQ(Run(d, {Read([&](lv::Dialog& dlg) {
                      EXPECT_EQ(dlg.GetCaption(), L"Spectrogram Settings");
                      ExpectTemplateLayout(dlg);
                      for (int id : {kIdcSpgmAutoTimeRange, kIdcSpgmAutoFreqRange, kIdcSpgmAutoRBW}) {
                        EXPECT_EQ(dlg.GetItemText(id), L"Auto") << id;
                      }
                      EXPECT_EQ(dlg.GetItemText(kIdcSpgmAccept), L"Accept");
                      EXPECT_EQ(dlg.GetItemText(kIdcSpgmCancel), L"Cancel");
                      const wchar_t* rbws[] = {L"0.01", L"0.02", L"0.04", L"0.05", L"0.08", L"0.1", L"0.2", L"0.4",
                                               L"0.5",  L"0.8",  L"1",    L"2",    L"4",    L"5",   L"8",   L"10",
                                               L"20",   L"40",   L"50",   L"80",   L"100",  L"200", L"400", L"500",
                                               L"800",  L"1000", L"2000", L"4000", L"5000", L"8000"};
                      ASSERT_EQ(dlg.GetCount(kIdcSpgmRBW), 30);
                      for (int i = 0; i < 30; ++i) {
                        EXPECT_EQ(dlg.GetListText(kIdcSpgmRBW, i), rbws[i]);
                      }
                      const wchar_t* shapes[] = {L"Rectangular", L"Gaussian -50 dB sidelobes",
                                                 L"Gaussian -70 dB sidelobes", L"Gaussian -100 dB sidelobes"};
                      ASSERT_EQ(dlg.GetCount(kIdcSpgmWindow), 4);
                      for (int i = 0; i < 4; ++i) {
                        EXPECT_EQ(dlg.GetListText(kIdcSpgmWindow, i), shapes[i]);
                      }
                      ASSERT_EQ(dlg.GetCount(kIdcSpgmColors), 2);
                      EXPECT_EQ(dlg.GetListText(kIdcSpgmColors, 0), L"Rainbow");
                      EXPECT_EQ(dlg.GetListText(kIdcSpgmColors, 1), L"Grayscale");
                    }),
                    DialogStep::Click(kIdcSpgmCancel)}),
            0);
  ExpectTemplateLabels(d.Template(), {L"Time Range", L"Desired range", L"Frequencies", L"Start", L"Stop", L"RBW",
                               L"DSP window", L"Power Scale", L"Max", L"Min", L"dBm", L"Colors"});
}

TEST_F(SpgmDlgTest, ShowsValuesWithTheirUnitsAndTheDecimalsTheyNeed) {
  struct Case {
    const char* name;
    bool manual;
    const wchar_t* time;
    const wchar_t* timeUnit;
    const wchar_t* start;
    const wchar_t* stop;
    const wchar_t* rbw;
    const wchar_t* rbwUnit;
    int shape;
    const wchar_t* minPower;
    const wchar_t* maxPower;
    int colors;
    int boxes;
  };
  const Case cases[] = {
      {"defaults", false, L"100", L"usec", L"-1", L"1", L"100", L"kHz", 2, L"-100", L"0", 0, lv::kChecked},
      {"manual", true, L"2.5", L"msec", L"-15.36", L"4", L"12.5", L"kHz", 3, L"-120.5", L"-10", 1, lv::kUnchecked},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    CWPlotSpgmDlg d;
    if (c.manual) {
      FillManual(d);
    }
    EXPECT_EQ(Run(d, {Read([&](lv::Dialog& dlg) {
                        EXPECT_EQ(dlg.GetItemText(kIdcSpgmTimeRange), c.time);
                        EXPECT_EQ(dlg.GetItemText(kIdcSpgmTimeRangeUnits), c.timeUnit);
                        EXPECT_EQ(dlg.GetItemText(kIdcSpgmStart), c.start);
                        EXPECT_EQ(dlg.GetItemText(kIdcSpgmStartUnits), L"MHz");
                        EXPECT_EQ(dlg.GetItemText(kIdcSpgmStop), c.stop);
                        EXPECT_EQ(dlg.GetItemText(kIdcSpgmRBW), c.rbw);
                        EXPECT_EQ(dlg.GetItemText(kIdcSpgmRBWUnits), c.rbwUnit);
                        EXPECT_EQ(dlg.GetCurSel(kIdcSpgmWindow), c.shape);
                        EXPECT_EQ(dlg.GetItemText(kIdcSpgmMinPower), c.minPower);
                        EXPECT_EQ(dlg.GetItemText(kIdcSpgmMaxPower), c.maxPower);
                        EXPECT_EQ(dlg.GetCurSel(kIdcSpgmColors), c.colors);
                        for (int box : {kIdcSpgmAutoTimeRange, kIdcSpgmAutoFreqRange, kIdcSpgmAutoRBW}) {
                          EXPECT_EQ(dlg.GetCheck(box), c.boxes) << box;
                        }
                      }),
                      DialogStep::Escape()}),
              0);
  }
  EXPECT_TRUE(errors_.empty());
}

TEST_F(SpgmDlgTest, WindowShapeCodesSelectTheirEntryAndUnknownCodesTheDefault) {
  const int codes[][2] = {{1, 0}, {6, 1}, {7, 2}, {8, 3}, {0, 2}, {5, 2}, {99, 2}};
  for (const auto& pair : codes) {
    SCOPED_TRACE(pair[0]);
    CWPlotSpgmDlg d;
    d.windowShape = pair[0];
    int shown = -2;
    EXPECT_EQ(Run(d, {Read([&](lv::Dialog& dlg) { shown = dlg.GetCurSel(kIdcSpgmWindow); }),
                      DialogStep::Click(kIdcSpgmAccept)}),
              1);
    EXPECT_EQ(shown, pair[1]);
    // Accept stores the code of the entry shown.
    const int stored[4] = {1, 6, 7, 8};
    EXPECT_EQ(d.windowShape, stored[pair[1]]);
  }
}

TEST_F(SpgmDlgTest, WithoutASelectionTheWindowShapeStaysAndTheColourMapIsRainbow) {
  CWPlotSpgmDlg d;
  d.windowShape = 5;  // shown as the default entry, but not a code of the list
  d.colorMapType = 1;
  EXPECT_EQ(Run(d, {Read([](lv::Dialog& dlg) {
                      EXPECT_TRUE(dlg.SetCurSel(kIdcSpgmWindow, -1));
                      EXPECT_TRUE(dlg.SetCurSel(kIdcSpgmColors, -1));
                    }),
                    DialogStep::Click(kIdcSpgmAccept)}),
            1);
  EXPECT_EQ(d.windowShape, 5);
  EXPECT_EQ(d.colorMapType, 0);
}

TEST_F(SpgmDlgTest, EditsPicksAndUnitButtonsClearTheirAutoBox) {
  struct Case {
    const char* name;
    DialogStep step;
    int cleared;
  };
  const Case cases[] = {
      {"time range", DialogStep::Type(kIdcSpgmTimeRange, L"5"), kIdcSpgmAutoTimeRange},
      {"time unit", ChooseUnit(kIdcSpgmTimeRangeUnits, CWUnitsButton::UnitCommand(CWUnitsButton::kMsec)),
       kIdcSpgmAutoTimeRange},
      {"start", DialogStep::Type(kIdcSpgmStart, L"-2"), kIdcSpgmAutoFreqRange},
      {"stop", DialogStep::Type(kIdcSpgmStop, L"2"), kIdcSpgmAutoFreqRange},
      {"stop unit", ChooseUnit(kIdcSpgmStopUnits, CWUnitsButton::UnitCommand(CWUnitsButton::kGHz)),
       kIdcSpgmAutoFreqRange},
      {"rbw typed", DialogStep::Type(kIdcSpgmRBW, L"25"), kIdcSpgmAutoRBW},
      {"rbw picked", DialogStep::Pick(kIdcSpgmRBW, 23), kIdcSpgmAutoRBW},
      {"rbw unit", ChooseUnit(kIdcSpgmRBWUnits, CWUnitsButton::UnitCommand(CWUnitsButton::kHz)), kIdcSpgmAutoRBW},
      {"power", DialogStep::Type(kIdcSpgmMinPower, L"-90"), 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    CWPlotSpgmDlg d;
    EXPECT_EQ(Run(d, {c.step, Read([&](lv::Dialog& dlg) {
                        for (int box : {kIdcSpgmAutoTimeRange, kIdcSpgmAutoFreqRange, kIdcSpgmAutoRBW}) {
                          EXPECT_EQ(dlg.GetCheck(box), box == c.cleared ? lv::kUnchecked : lv::kChecked) << box;
                        }
                      }),
                      DialogStep::Click(kIdcSpgmCancel)}),
              0);
  }
}

TEST_F(SpgmDlgTest, ChoosingFromTheRBWListStoresItInTheButtonsUnit) {
  CWPlotSpgmDlg d;  // 100 kHz: the unit is kHz
  EXPECT_EQ(Run(d, {DialogStep::Pick(kIdcSpgmRBW, 23), Read([](lv::Dialog& dlg) {
                      EXPECT_EQ(dlg.GetItemText(kIdcSpgmRBW), L"500");
                    }),
                    DialogStep::Click(kIdcSpgmAccept)}),
            1);
  EXPECT_FALSE(d.autoRBW);
  EXPECT_DOUBLE_EQ(d.rbw, 500000.0);
  EXPECT_TRUE(d.autoTimeRange);
  EXPECT_TRUE(d.autoFreqRange);
  EXPECT_TRUE(messages_.empty());
}

TEST_F(SpgmDlgTest, AcceptStoresEveryField) {
  CWPlotSpgmDlg d;
  EXPECT_EQ(Run(d, {DialogStep::Type(kIdcSpgmTimeRange, L"250"), DialogStep::Type(kIdcSpgmStart, L"-7.5"),
                    DialogStep::Type(kIdcSpgmStop, L"-7.5"), DialogStep::Type(kIdcSpgmRBW, L"0.75"),
                    DialogStep::Pick(kIdcSpgmWindow, 0), DialogStep::Type(kIdcSpgmMinPower, L"-140.25"),
                    DialogStep::Type(kIdcSpgmMaxPower, L"5"), DialogStep::Pick(kIdcSpgmColors, 1),
                    DialogStep::Click(kIdcSpgmAccept)}),
            1);
  EXPECT_FALSE(d.autoTimeRange);
  EXPECT_DOUBLE_EQ(d.timeRange, 250e-6);
  EXPECT_FALSE(d.autoFreqRange);
  // Equal start and stop frequencies pass.
  EXPECT_DOUBLE_EQ(d.startFreq, -7.5e6);
  EXPECT_DOUBLE_EQ(d.stopFreq, -7.5e6);
  EXPECT_FALSE(d.autoRBW);
  EXPECT_DOUBLE_EQ(d.rbw, 750.0);
  EXPECT_EQ(d.windowShape, 1);
  EXPECT_EQ(d.minPower, -140.25f);
  EXPECT_EQ(d.maxPower, 5.0f);
  EXPECT_EQ(d.colorMapType, 1);
  EXPECT_TRUE(messages_.empty());
}

TEST_F(SpgmDlgTest, AcceptRefusesBadEntriesWithTheirMessagesAndStaysOpen) {
  struct Case {
    const char* name;
    int id;
    const wchar_t* text;
    const wchar_t* message;
  };
  const Case cases[] = {
      {"time range", kIdcSpgmTimeRange, L"abc", L"Invalid time range.\nPlease enter a valid value, or press Cancel."},
      {"time range of zero", kIdcSpgmTimeRange, L"0",
       L"Invalid time range.\nPlease enter a valid value, or press Cancel."},
      {"start", kIdcSpgmStart, L"abc", L"Invalid start frequency.\nPlease enter a valid value, or press Cancel."},
      {"stop", kIdcSpgmStop, L"", L"Invalid stop frequency.\nPlease enter a valid value, or press Cancel."},
      {"stop below start", kIdcSpgmStop, L"-20",
       L"Stop frequency is less than start frequency.\nPlease re-enter the values, or press Cancel."},
      {"rbw", kIdcSpgmRBW, L"wide", L"Invalid resolution bandwidth.\nPlease enter a valid value, or press Cancel."},
      {"negative rbw", kIdcSpgmRBW, L"-5",
       L"Invalid resolution bandwidth.\nPlease enter a valid value, or press Cancel."},
      {"minimum", kIdcSpgmMinPower, L"?", L"Invalid minimum power value.\nPlease enter a valid value, or press Cancel."},
      {"maximum", kIdcSpgmMaxPower, L"nan",
       L"Invalid maximum power value.\nPlease enter a valid value, or press Cancel."},
      {"minimum not below maximum", kIdcSpgmMinPower, L"-10", CWPlotSpgmDlg::kPowerOrderMessage},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    messages_.clear();
    messageCaptions_.clear();
    CWPlotSpgmDlg d;
    FillManual(d);
    bool openAfter = false;
    EXPECT_EQ(Run(d, {DialogStep::Type(c.id, c.text), DialogStep::Click(kIdcSpgmAccept),
                      Read([&](lv::Dialog& dlg) { openAfter = dlg.IsVisible(); }), DialogStep::Click(kIdcSpgmCancel)}),
              0);
    EXPECT_TRUE(openAfter);
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_EQ(messages_[0], c.message);
    EXPECT_EQ(messageCaptions_[0], L"Information");
  }
}

TEST_F(SpgmDlgTest, ARefusalKeepsWhatWasStoredBeforeItAndACorrectionAccepts) {
  CWPlotSpgmDlg d;
  FillManual(d);
  EXPECT_EQ(Run(d, {DialogStep::Type(kIdcSpgmTimeRange, L"4"), DialogStep::Type(kIdcSpgmStart, L"abc"),
                    DialogStep::Click(kIdcSpgmAccept), DialogStep::Type(kIdcSpgmStart, L"-1"),
                    DialogStep::Click(kIdcSpgmAccept)}),
            1);
  ASSERT_EQ(messages_.size(), 1u);
  EXPECT_DOUBLE_EQ(d.timeRange, 4e-3);
  EXPECT_DOUBLE_EQ(d.startFreq, -1e6);
  EXPECT_DOUBLE_EQ(d.stopFreq, 4e6);
}

TEST_F(SpgmDlgTest, AutoBoxesSkipTheChecksOfTheirTexts) {
  CWPlotSpgmDlg d;
  FillManual(d);
  EXPECT_EQ(Run(d, {DialogStep::Type(kIdcSpgmTimeRange, L"x"), DialogStep::Check(kIdcSpgmAutoTimeRange, lv::kChecked),
                    DialogStep::Type(kIdcSpgmStop, L"-99"), DialogStep::Check(kIdcSpgmAutoFreqRange, lv::kChecked),
                    DialogStep::Type(kIdcSpgmRBW, L""), DialogStep::Check(kIdcSpgmAutoRBW, lv::kChecked),
                    DialogStep::Click(kIdcSpgmAccept)}),
            1);
  EXPECT_TRUE(messages_.empty());
  EXPECT_TRUE(d.autoTimeRange);
  EXPECT_DOUBLE_EQ(d.timeRange, 2.5e-3);
  EXPECT_TRUE(d.autoFreqRange);
  EXPECT_DOUBLE_EQ(d.stopFreq, 4e6);
  EXPECT_TRUE(d.autoRBW);
  EXPECT_DOUBLE_EQ(d.rbw, 12.5e3);
}

TEST_F(SpgmDlgTest, CancelEscapeAndCloseBoxAnswerZeroAndChangeNothing) {
  for (const DialogStep& end : {DialogStep::Click(kIdcSpgmCancel), DialogStep::Escape(), DialogStep::CloseBox()}) {
    CWPlotSpgmDlg d;
    FillManual(d);
    EXPECT_EQ(Run(d, {DialogStep::Type(kIdcSpgmMaxPower, L"3"), DialogStep::Pick(kIdcSpgmColors, 0), end}), 0);
    EXPECT_EQ(d.maxPower, -10.0f);
    EXPECT_EQ(d.colorMapType, 1);
  }
}

TEST_F(SpgmDlgTest, Gallery) {
  CWPlotSpgmDlg d;
  FillManual(d);
  EXPECT_EQ(Run(d, {DialogStep::SavePng(lv_test::DialogPngPath("spgm_dialog")), DialogStep::Escape()}), 0);
}

}  // namespace
