// CWPlotSADlg ("Spectrum Analyzer") on real widgets: its template, the values
// shown with their units, the boxes that edits clear, and what each way of
// ending the dialog leaves in its fields.
#include "plots/windows/spectrum_dlg.h"

#include <string>

#include <gtest/gtest.h>

#include "dialog_fixture.h"
#include "platform/text.h"

namespace {

using lv::DialogStep;

class SpectrumDlgTest : public lv_test::SettingsDialogTest {
 protected:
  // A dialog filled as a spectrum window with manual settings fills it.
  static void FillManual(CWPlotSADlg& d) {
    d.autoFreqRange = false;
    d.autoRBW = false;
    d.autoNumAvgs = false;
    d.startFreq = -2.5e6;
    d.stopFreq = 12.25e6;
    d.numFreqs = 1024;
    d.rbw = 30e3;
    d.numAvgs = 10;
  }
};

TEST_F(SpectrumDlgTest, TemplateControlsSitAtTheirRectanglesWithTheirTexts) {
  CWPlotSADlg d;
  EXPECT_EQ(d.Template().name, "SpectrumDialog");
  EXPECT_EQ(d.Template().caption, L"Spectrum Analyzer");
  const std::vector<ItemText> texts = {
      {kIdcSAAutoFreqRange, L"Automatically choose the frequency range"},
      {kIdcSAAutoRBW, L"Automatically choose the RBW"},
      {kIdcSAAutoNumAvgs, L"Automatically choose the numer of averages"},
      {kIdcSAAccept, L"Accept"},
      {kIdcSACancel, L"Cancel"},
  };
  std::wstring caption;
  EXPECT_EQ(Run(d, {Read([&](lv::Dialog& dlg) {
                      caption = dlg.GetCaption();
                      ExpectTemplateLayout(dlg);
                      ExpectItemTexts(dlg, texts);
                    }),
                    DialogStep::Click(kIdcSACancel)}),
            0);
  EXPECT_EQ(caption, L"Spectrum Analyzer");
  // The labels and group boxes of the template.
  ExpectTemplateLabels(d.Template(), {L"Frequencies", L"Resolution Bandwidth", L"Averaging", L"Start", L"Stop",
                               L"Number of frequencies", L"RBW", L"Number of averages",
                               L"Note: Frequencies are relative to the center of the band."});
}

TEST_F(SpectrumDlgTest, ShowsValuesInTheirUnitsAndKeepsTheStoredBoxes) {
  struct Case {
    const char* name;
    bool manual;
    const wchar_t* start;
    const wchar_t* startUnit;
    const wchar_t* stop;
    const wchar_t* stopUnit;
    const wchar_t* rbw;
    const wchar_t* rbwUnit;
    int box;
  };
  const Case cases[] = {
      {"defaults", false, L"0.000", L"Hz", L"0.000", L"Hz", L"0.000", L"Hz", lv::kChecked},
      {"manual", true, L"-2.500", L"MHz", L"12.250", L"MHz", L"30.000", L"kHz", lv::kUnchecked},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    CWPlotSADlg d;
    if (c.manual) {
      FillManual(d);
    }
    EXPECT_EQ(Run(d, {Read([&](lv::Dialog& dlg) {
                        EXPECT_EQ(dlg.GetItemText(kIdcSAStart), c.start);
                        EXPECT_EQ(dlg.GetItemText(kIdcSAStartUnits), c.startUnit);
                        EXPECT_EQ(dlg.GetItemText(kIdcSAStop), c.stop);
                        EXPECT_EQ(dlg.GetItemText(kIdcSAStopUnits), c.stopUnit);
                        EXPECT_EQ(dlg.GetItemText(kIdcSARBW), c.rbw);
                        EXPECT_EQ(dlg.GetItemText(kIdcSARBWUnits), c.rbwUnit);
                        EXPECT_EQ(dlg.GetItemText(kIdcSANumFreqs), c.manual ? L"1024" : L"0");
                        EXPECT_EQ(dlg.GetItemText(kIdcSANumAvgs), c.manual ? L"10" : L"0");
                        // Writing the texts did not clear the stored boxes.
                        EXPECT_EQ(dlg.GetCheck(kIdcSAAutoFreqRange), c.box);
                        EXPECT_EQ(dlg.GetCheck(kIdcSAAutoRBW), c.box);
                        EXPECT_EQ(dlg.GetCheck(kIdcSAAutoNumAvgs), c.box);
                      }),
                      DialogStep::Escape()}),
              0);
  }
  EXPECT_TRUE(errors_.empty());
}

TEST_F(SpectrumDlgTest, EditsAndUnitButtonsClearTheirAutomaticBox) {
  struct Case {
    const char* name;
    DialogStep step;
    int cleared;  // the box that goes; the other two stay ticked
  };
  const Case cases[] = {
      {"start", DialogStep::Type(kIdcSAStart, L"1"), kIdcSAAutoFreqRange},
      {"stop", DialogStep::Type(kIdcSAStop, L"2"), kIdcSAAutoFreqRange},
      {"start unit", ChooseUnit(kIdcSAStartUnits, CWUnitsButton::UnitCommand(CWUnitsButton::kKHz)),
       kIdcSAAutoFreqRange},
      {"stop unit", ChooseUnit(kIdcSAStopUnits, CWUnitsButton::UnitCommand(CWUnitsButton::kGHz)), kIdcSAAutoFreqRange},
      {"rbw", DialogStep::Type(kIdcSARBW, L"3"), kIdcSAAutoRBW},
      {"rbw unit", ChooseUnit(kIdcSARBWUnits, CWUnitsButton::UnitCommand(CWUnitsButton::kHz)), kIdcSAAutoRBW},
      {"averages", DialogStep::Type(kIdcSANumAvgs, L"4"), kIdcSAAutoNumAvgs},
      {"frequencies count", DialogStep::Type(kIdcSANumFreqs, L"512"), 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    CWPlotSADlg d;
    EXPECT_EQ(Run(d, {c.step, Read([&](lv::Dialog& dlg) {
                        for (int box : {kIdcSAAutoFreqRange, kIdcSAAutoRBW, kIdcSAAutoNumAvgs}) {
                          EXPECT_EQ(dlg.GetCheck(box), box == c.cleared ? lv::kUnchecked : lv::kChecked) << box;
                        }
                      }),
                      DialogStep::Click(kIdcSAAccept)}),
              1);
    EXPECT_EQ(d.autoFreqRange, c.cleared != kIdcSAAutoFreqRange);
    EXPECT_EQ(d.autoRBW, c.cleared != kIdcSAAutoRBW);
    EXPECT_EQ(d.autoNumAvgs, c.cleared != kIdcSAAutoNumAvgs);
  }
}

TEST_F(SpectrumDlgTest, AcceptStoresEveryFieldTimesItsUnit) {
  CWPlotSADlg d;
  FillManual(d);
  EXPECT_EQ(Run(d, {DialogStep::Type(kIdcSAStart, L"-1.5"),
                    ChooseUnit(kIdcSAStopUnits, CWUnitsButton::UnitCommand(CWUnitsButton::kKHz)),
                    DialogStep::Type(kIdcSAStop, L"750"), DialogStep::Type(kIdcSANumFreqs, L"2048"),
                    DialogStep::Type(kIdcSARBW, L"12.5"), DialogStep::Check(kIdcSAAutoRBW, lv::kChecked),
                    DialogStep::Type(kIdcSANumAvgs, L"25"), DialogStep::Click(kIdcSAAccept)}),
            1);
  EXPECT_FALSE(d.autoFreqRange);
  EXPECT_DOUBLE_EQ(d.startFreq, -1.5e6);
  EXPECT_DOUBLE_EQ(d.stopFreq, 750e3);
  EXPECT_EQ(d.numFreqs, 2048);
  EXPECT_TRUE(d.autoRBW);
  EXPECT_DOUBLE_EQ(d.rbw, 12.5e3);
  EXPECT_FALSE(d.autoNumAvgs);
  EXPECT_EQ(d.numAvgs, 25);
  EXPECT_TRUE(errors_.empty());
  EXPECT_TRUE(messages_.empty());
}

TEST_F(SpectrumDlgTest, CancelEscapeAndCloseBoxAnswerZeroAndChangeNothing) {
  struct Case {
    const char* name;
    DialogStep end;
  };
  const Case cases[] = {
      {"Cancel", DialogStep::Click(kIdcSACancel)},
      {"Escape", DialogStep::Escape()},
      {"close box", DialogStep::CloseBox()},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    CWPlotSADlg d;
    FillManual(d);
    EXPECT_EQ(Run(d, {DialogStep::Type(kIdcSAStart, L"7"), DialogStep::Check(kIdcSAAutoNumAvgs, lv::kChecked),
                      DialogStep::Type(kIdcSANumFreqs, L"9"), c.end}),
              0);
    EXPECT_FALSE(d.HasWindow());
    EXPECT_FALSE(d.autoFreqRange);
    EXPECT_FALSE(d.autoNumAvgs);
    EXPECT_DOUBLE_EQ(d.startFreq, -2.5e6);
    EXPECT_EQ(d.numFreqs, 1024);
  }
}

TEST_F(SpectrumDlgTest, TextsWithoutANumberKeepTheShownValues) {
  CWPlotSADlg d;
  FillManual(d);
  EXPECT_EQ(Run(d, {DialogStep::Type(kIdcSAStart, L"abc"), DialogStep::Type(kIdcSAStop, L""),
                    DialogStep::Type(kIdcSANumFreqs, L"99999999999"), DialogStep::Type(kIdcSARBW, L"nan"),
                    DialogStep::Type(kIdcSANumAvgs, L"12 averages"), DialogStep::Click(kIdcSAAccept)}),
            1);
  EXPECT_DOUBLE_EQ(d.startFreq, -2.5e6);
  EXPECT_DOUBLE_EQ(d.stopFreq, 12.25e6);
  EXPECT_EQ(d.numFreqs, 1024);
  EXPECT_DOUBLE_EQ(d.rbw, 30e3);
  // "%d" reads the leading number.
  EXPECT_EQ(d.numAvgs, 12);
}

TEST_F(SpectrumDlgTest, Gallery) {
  CWPlotSADlg d;
  FillManual(d);
  EXPECT_EQ(Run(d, {DialogStep::SavePng(lv_test::DialogPngPath("spectrum_dialog")), DialogStep::Escape()}), 0);
}

}  // namespace
