// CWPlotPersSpecDlg ("Persistence Spectrum") on real widgets: its template and
// lists, values shown with their units and decimals, the boxes edits clear,
// the persistence types and what each end of the dialog leaves.
#include "plots/windows/pers_spec_dlg.h"

#include <string>

#include <gtest/gtest.h>

#include "dialog_fixture.h"

namespace {

using lv::DialogStep;

class PersSpecDlgTest : public lv_test::SettingsDialogTest {
 protected:
  static void FillManual(CWPlotPersSpecDlg& d) {
    d.autoFreqRange = false;
    d.autoRBW = false;
    d.overlayTrace = false;
    d.spectraPerInput = 16;
    d.minPower = -87.25f;
    d.maxPower = 12.5f;
    d.startFreq = -20e6;
    d.stopFreq = 20e6;
    d.rbw = 2.5e3;
    d.persistenceType = 2;
  }
};

TEST_F(PersSpecDlgTest, TemplateControlsSitAtTheirRectanglesWithTheirTexts) {
  CWPlotPersSpecDlg d;
  EXPECT_EQ(d.Template().name, "PersSpecDialog");
  const std::vector<ItemText> texts = {
      {kIdcPersAutoFreqRange, L"Automatically choose the frequency range"},
      {kIdcPersAutoRBW, L"Automatically choose the RBW"},
      {kIdcPersOverlay, L"Overlay spectrum trace"},
      {kIdcPersAccept, L"Accept"},
      {kIdcPersCancel, L"Cancel"},
  };
  EXPECT_EQ(Run(d, {Read([&](lv::Dialog& dlg) {
                      EXPECT_EQ(dlg.GetCaption(), L"Persistence Spectrum");
                      ExpectTemplateLayout(dlg);
                      ExpectItemTexts(dlg, texts);
                      ASSERT_EQ(dlg.GetCount(kIdcPersPersistence), 4);
                      const wchar_t* entries[] = {L"Infinite", L"Slow decay", L"Medium decay", L"Fast decay"};
                      for (int i = 0; i < 4; ++i) {
                        EXPECT_EQ(dlg.GetListText(kIdcPersPersistence, i), entries[i]);
                      }
                    }),
                    DialogStep::Click(kIdcPersCancel)}),
            0);
  const lv::ControlTemplate* overlay = lv::FindControl(d.Template(), kIdcPersOverlay);
  ASSERT_NE(overlay, nullptr);
  EXPECT_NE(overlay->style & lv::kStyleLeftText, 0u) << "the text stands left of the box";
  ExpectTemplateLabels(d.Template(), {L"Frequencies", L"Resolution Bandwidth", L"Power Scale", L"Start", L"Stop", L"RBW",
                               L"Max power", L"Min power", L"dBm", L"Persistence", L"Number of spectra per input"});
}

TEST_F(PersSpecDlgTest, ShowsValuesWithTheirUnitsAndDecimals) {
  struct Case {
    const char* name;
    bool manual;
    const wchar_t* start;
    const wchar_t* startUnit;
    const wchar_t* rbw;
    const wchar_t* rbwUnit;
    const wchar_t* minPower;
    const wchar_t* maxPower;
    int persistence;
    const wchar_t* spectra;
    int boxes;
  };
  const Case cases[] = {
      {"defaults", false, L"0.000", L"Hz", L"0.000", L"Hz", L"-100.00", L"0.00", 1, L"0", lv::kChecked},
      {"manual", true, L"-20.000", L"MHz", L"2.500", L"kHz", L"-87.25", L"12.50", 2, L"16", lv::kUnchecked},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    CWPlotPersSpecDlg d;
    if (c.manual) {
      FillManual(d);
    }
    EXPECT_EQ(Run(d, {Read([&](lv::Dialog& dlg) {
                        EXPECT_EQ(dlg.GetItemText(kIdcPersStart), c.start);
                        EXPECT_EQ(dlg.GetItemText(kIdcPersStartUnits), c.startUnit);
                        EXPECT_EQ(dlg.GetItemText(kIdcPersRBW), c.rbw);
                        EXPECT_EQ(dlg.GetItemText(kIdcPersRBWUnits), c.rbwUnit);
                        EXPECT_EQ(dlg.GetItemText(kIdcPersMinPower), c.minPower);
                        EXPECT_EQ(dlg.GetItemText(kIdcPersMaxPower), c.maxPower);
                        EXPECT_EQ(dlg.GetCurSel(kIdcPersPersistence), c.persistence);
                        EXPECT_EQ(dlg.GetItemText(kIdcPersNumSpectra), c.spectra);
                        EXPECT_EQ(dlg.GetCheck(kIdcPersAutoFreqRange), c.boxes);
                        EXPECT_EQ(dlg.GetCheck(kIdcPersAutoRBW), c.boxes);
                        EXPECT_EQ(dlg.GetCheck(kIdcPersOverlay), c.boxes);
                      }),
                      DialogStep::Escape()}),
              0);
  }
}

TEST_F(PersSpecDlgTest, PersistenceTypesOutsideTheListShowInfinite) {
  for (int type : {0, 4, -1, 1000}) {
    SCOPED_TRACE(type);
    CWPlotPersSpecDlg d;
    d.persistenceType = type;
    int shown = -2;
    EXPECT_EQ(Run(d, {Read([&](lv::Dialog& dlg) { shown = dlg.GetCurSel(kIdcPersPersistence); }),
                      DialogStep::Click(kIdcPersAccept)}),
              1);
    EXPECT_EQ(shown, 0);
    EXPECT_EQ(d.persistenceType, 0);
  }
}

TEST_F(PersSpecDlgTest, NoPersistenceSelectionStoresInfinite) {
  CWPlotPersSpecDlg d;
  d.persistenceType = 3;
  EXPECT_EQ(Run(d, {Read([](lv::Dialog& dlg) { EXPECT_TRUE(dlg.SetCurSel(kIdcPersPersistence, -1)); }),
                    DialogStep::Click(kIdcPersAccept)}),
            1);
  EXPECT_EQ(d.persistenceType, 0);
}

TEST_F(PersSpecDlgTest, EditsAndUnitButtonsClearTheirAutomaticBox) {
  struct Case {
    const char* name;
    DialogStep step;
    int cleared;
  };
  const Case cases[] = {
      {"start", DialogStep::Type(kIdcPersStart, L"1"), kIdcPersAutoFreqRange},
      {"stop unit", ChooseUnit(kIdcPersStopUnits, CWUnitsButton::UnitCommand(CWUnitsButton::kKHz)),
       kIdcPersAutoFreqRange},
      {"rbw", DialogStep::Type(kIdcPersRBW, L"3"), kIdcPersAutoRBW},
      {"rbw unit", ChooseUnit(kIdcPersRBWUnits, CWUnitsButton::UnitCommand(CWUnitsButton::kMHz)), kIdcPersAutoRBW},
      {"max power", DialogStep::Type(kIdcPersMaxPower, L"-10"), 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    CWPlotPersSpecDlg d;
    EXPECT_EQ(Run(d, {c.step, DialogStep::Click(kIdcPersAccept)}), 1);
    EXPECT_EQ(d.autoFreqRange, c.cleared != kIdcPersAutoFreqRange);
    EXPECT_EQ(d.autoRBW, c.cleared != kIdcPersAutoRBW);
    EXPECT_TRUE(d.overlayTrace);
  }
}

TEST_F(PersSpecDlgTest, AcceptStoresEveryField) {
  CWPlotPersSpecDlg d;
  FillManual(d);
  EXPECT_EQ(Run(d, {DialogStep::Type(kIdcPersStart, L"-5.5"), DialogStep::Type(kIdcPersStop, L"7"),
                    ChooseUnit(kIdcPersRBWUnits, CWUnitsButton::UnitCommand(CWUnitsButton::kHz)),
                    DialogStep::Type(kIdcPersRBW, L"750"), DialogStep::Type(kIdcPersMinPower, L"-120.5"),
                    DialogStep::Type(kIdcPersMaxPower, L"-3"), DialogStep::Pick(kIdcPersPersistence, 3),
                    DialogStep::Type(kIdcPersNumSpectra, L"64"), DialogStep::Check(kIdcPersOverlay, lv::kChecked),
                    DialogStep::Click(kIdcPersAccept)}),
            1);
  EXPECT_FALSE(d.autoFreqRange);
  EXPECT_DOUBLE_EQ(d.startFreq, -5.5e6);
  EXPECT_DOUBLE_EQ(d.stopFreq, 7e6);
  EXPECT_FALSE(d.autoRBW);
  EXPECT_DOUBLE_EQ(d.rbw, 750.0);
  EXPECT_EQ(d.minPower, -120.5f);
  EXPECT_EQ(d.maxPower, -3.0f);
  EXPECT_EQ(d.persistenceType, 3);  // "Fast decay"
  EXPECT_EQ(d.spectraPerInput, 64);
  EXPECT_TRUE(d.overlayTrace);
  EXPECT_TRUE(messages_.empty());
}

TEST_F(PersSpecDlgTest, TextsWithoutANumberKeepTheShownValues) {
  CWPlotPersSpecDlg d;
  FillManual(d);
  EXPECT_EQ(Run(d, {DialogStep::Type(kIdcPersStop, L"--"), DialogStep::Type(kIdcPersMinPower, L"low"),
                    DialogStep::Type(kIdcPersMaxPower, L"1e99"), DialogStep::Type(kIdcPersNumSpectra, L""),
                    DialogStep::Click(kIdcPersAccept)}),
            1);
  EXPECT_DOUBLE_EQ(d.stopFreq, 20e6);
  EXPECT_EQ(d.minPower, -87.25f);
  EXPECT_EQ(d.maxPower, 12.5f);  // beyond a float: not stored
  EXPECT_EQ(d.spectraPerInput, 16);
}

TEST_F(PersSpecDlgTest, CancelEscapeAndCloseBoxAnswerZeroAndChangeNothing) {
  for (const DialogStep& end : {DialogStep::Click(kIdcPersCancel), DialogStep::Escape(), DialogStep::CloseBox()}) {
    CWPlotPersSpecDlg d;
    FillManual(d);
    EXPECT_EQ(Run(d, {DialogStep::Pick(kIdcPersPersistence, 0), DialogStep::Type(kIdcPersStart, L"1"), end}), 0);
    EXPECT_EQ(d.persistenceType, 2);
    EXPECT_DOUBLE_EQ(d.startFreq, -20e6);
  }
}

TEST_F(PersSpecDlgTest, Gallery) {
  CWPlotPersSpecDlg d;
  FillManual(d);
  d.overlayTrace = true;
  EXPECT_EQ(Run(d, {DialogStep::SavePng(lv_test::DialogPngPath("pers_spec_dialog")), DialogStep::Escape()}), 0);
}

}  // namespace
