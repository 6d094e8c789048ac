// CWACPRDlg ("Adjacent Channel Power Ratio") on real widgets: its template,
// the band set shown with units, the boxes that edits tick, and what Accept
// stores (switched-off bands keep their values, averaging rules, results
// untouched).
#include "plots/windows/acpr_dlg.h"

#include <string>

#include <gtest/gtest.h>

#include "dialog_fixture.h"

namespace {

using lv::DialogStep;

class ACPRDlgTest : public lv_test::SettingsDialogTest {
 protected:
  // A band set away from the defaults, with results.
  static CQACPRMeasBands Stored() {
    CQACPRMeasBands b;
    b.centerOffset = 250e3;
    b.centerBW = 3.84e6;
    b.adjRelToCenter = false;
    b.adjacentOffset = 5e6;
    b.adjacentBW = 3.84e6;
    b.adjacent2On = false;
    b.adjacent2Offset = 10e6;
    b.adjacent2BW = 1.5e6;
    b.extraOn = true;
    b.extraOffset = -750.0;
    b.extraBW = 200e3;
    b.avgOn = true;
    b.avgFactor = 8;
    b.numAvgs = 3;
    b.resultsValid = true;
    b.centerPower = 0.25f;
    b.lowerRatioAvg = 0.001f;
    b.SetName(L"LTE");
    return b;
  }
  static void Fill(CWACPRDlg& d, bool on = true) {
    const CQACPRMeasBands b = Stored();
    d.Bands().Set(&b);
    d.measOn = on;
  }
};

TEST_F(ACPRDlgTest, TemplateControlsSitAtTheirRectanglesWithTheirTexts) {
  CWACPRDlg d;
  EXPECT_EQ(d.Template().name, "ACPRDialog");
  EXPECT_EQ(d.Template().caption, L"Adjacent Channel Power Ratio");
  const std::vector<ItemText> texts = {
      {kIdcACPROn, L"ACPR measurement on"},
      {kIdcACPRRelToCenter, L"Other offsets are relative to the center offset"},
      {kIdcACPRAdj2On, L"Use adjacent 2 bands"},
      {kIdcACPRExtraOn, L"Use extra band"},
      {kIdcACPRAvgOn, L"Averaging on"},
      {kIdcACPRAccept, L"Accept"},
      {kIdcACPRCancel, L"Cancel"},
  };
  EXPECT_EQ(Run(d, {Read([&](lv::Dialog& dlg) {
                      EXPECT_EQ(dlg.GetCaption(), L"Adjacent Channel Power Ratio");
                      ExpectTemplateLayout(dlg);
                      ExpectItemTexts(dlg, texts);
                    }),
                    DialogStep::Click(kIdcACPRCancel)}),
            0);
  ExpectTemplateLabels(d.Template(), {L"Bands", L"Measurement Averaging", L"Center offset frequency", L"Center bandwidth",
        L"Adjacent offset frequency", L"Adjacent bandwidth", L"Adjacent 2 offset frequency", L"Adjacent 2 bandwidth",
        L"Extra offset frequency", L"Extra bandwidth", L"Number of averages"});
}

TEST_F(ACPRDlgTest, ShowsTheBandSetInItsUnitsWithTheStoredSwitches) {
  CWACPRDlg d;
  Fill(d, false);
  struct Field {
    int id;
    const wchar_t* text;
    const wchar_t* unit;
  };
  const Field fields[] = {
      {kIdcACPRCenterOffset, L"250.000", L"kHz"}, {kIdcACPRCenterBW, L"3.840", L"MHz"},
      {kIdcACPRAdjOffset, L"5.000", L"MHz"},      {kIdcACPRAdjBW, L"3.840", L"MHz"},
      {kIdcACPRAdj2Offset, L"10.000", L"MHz"},    {kIdcACPRAdj2BW, L"1.500", L"MHz"},
      {kIdcACPRExtraOffset, L"-750.000", L"Hz"},  {kIdcACPRExtraBW, L"200.000", L"kHz"},
  };
  EXPECT_EQ(Run(d, {Read([&](lv::Dialog& dlg) {
                      for (const Field& f : fields) {
                        EXPECT_EQ(dlg.GetItemText(f.id), f.text) << f.id;
                        EXPECT_EQ(dlg.GetItemText(f.id + 1), f.unit) << f.id;
                      }
                      EXPECT_EQ(dlg.GetItemText(kIdcACPRNumAvgs), L"8");
                      // The texts ticked every box; the stored switches win.
                      EXPECT_EQ(dlg.GetCheck(kIdcACPROn), lv::kUnchecked);
                      EXPECT_EQ(dlg.GetCheck(kIdcACPRAdj2On), lv::kUnchecked);
                      EXPECT_EQ(dlg.GetCheck(kIdcACPRExtraOn), lv::kChecked);
                      EXPECT_EQ(dlg.GetCheck(kIdcACPRRelToCenter), lv::kUnchecked);
                      EXPECT_EQ(dlg.GetCheck(kIdcACPRAvgOn), lv::kChecked);
                    }),
                    DialogStep::Escape()}),
            0);
  EXPECT_TRUE(errors_.empty());
}

TEST_F(ACPRDlgTest, EditsTickTheMeasurementAndTheirBandSwitch) {
  struct Case {
    const char* name;
    DialogStep step;
    int alsoTicked;  // besides "ACPR measurement on"; 0 for none
  };
  const Case cases[] = {
      {"centre offset", DialogStep::Type(kIdcACPRCenterOffset, L"1"), 0},
      {"centre bandwidth unit", ChooseUnit(kIdcACPRCenterBWUnits, CWUnitsButton::UnitCommand(CWUnitsButton::kKHz)), 0},
      {"adjacent bandwidth", DialogStep::Type(kIdcACPRAdjBW, L"2"), 0},
      {"adjacent 2 offset", DialogStep::Type(kIdcACPRAdj2Offset, L"12"), kIdcACPRAdj2On},
      {"adjacent 2 bandwidth unit", ChooseUnit(kIdcACPRAdj2BWUnits, CWUnitsButton::UnitCommand(CWUnitsButton::kHz)),
       kIdcACPRAdj2On},
      {"extra bandwidth", DialogStep::Type(kIdcACPRExtraBW, L"3"), kIdcACPRExtraOn},
      {"number of averages", DialogStep::Type(kIdcACPRNumAvgs, L"4"), kIdcACPRAvgOn},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    CWACPRDlg d;  // defaults: every switch off but the relative offsets
    EXPECT_EQ(Run(d, {c.step, Read([&](lv::Dialog& dlg) {
                        EXPECT_EQ(dlg.GetCheck(kIdcACPROn), lv::kChecked);
                        for (int box : {kIdcACPRAdj2On, kIdcACPRExtraOn, kIdcACPRAvgOn}) {
                          EXPECT_EQ(dlg.GetCheck(box), box == c.alsoTicked ? lv::kChecked : lv::kUnchecked) << box;
                        }
                        EXPECT_EQ(dlg.GetCheck(kIdcACPRRelToCenter), lv::kChecked);
                      }),
                      DialogStep::Click(kIdcACPRAccept)}),
              1);
    EXPECT_TRUE(d.measOn);
    EXPECT_EQ(d.Bands().adjacent2On, c.alsoTicked == kIdcACPRAdj2On);
    EXPECT_EQ(d.Bands().extraOn, c.alsoTicked == kIdcACPRExtraOn);
    EXPECT_EQ(d.Bands().avgOn, c.alsoTicked == kIdcACPRAvgOn);
  }
}

TEST_F(ACPRDlgTest, AcceptStoresTheLayoutAndKeepsTheResults) {
  CWACPRDlg d;
  Fill(d);
  EXPECT_EQ(Run(d, {DialogStep::Type(kIdcACPRCenterOffset, L"-125"),
                    ChooseUnit(kIdcACPRAdjOffsetUnits, CWUnitsButton::UnitCommand(CWUnitsButton::kGHz)),
                    DialogStep::Type(kIdcACPRAdjOffset, L"0.5"), DialogStep::Type(kIdcACPRAdj2Offset, L"20"),
                    DialogStep::Type(kIdcACPRExtraBW, L"50"), DialogStep::Check(kIdcACPRRelToCenter, lv::kChecked),
                    DialogStep::Type(kIdcACPRNumAvgs, L"16"), DialogStep::Click(kIdcACPRAccept)}),
            1);
  const CQACPRMeasBands want = Stored();
  const CQACPRMeasBands& b = d.Bands();
  EXPECT_TRUE(d.measOn);
  EXPECT_DOUBLE_EQ(b.centerOffset, -125e3);
  EXPECT_DOUBLE_EQ(b.centerBW, 3.84e6);
  EXPECT_DOUBLE_EQ(b.adjacentOffset, 0.5e9);
  EXPECT_DOUBLE_EQ(b.adjacentBW, 3.84e6);
  EXPECT_TRUE(b.adjacent2On);  // typing ticked it
  EXPECT_DOUBLE_EQ(b.adjacent2Offset, 20e6);
  EXPECT_DOUBLE_EQ(b.adjacent2BW, 1.5e6);
  EXPECT_TRUE(b.extraOn);
  EXPECT_DOUBLE_EQ(b.extraOffset, -750.0);
  EXPECT_DOUBLE_EQ(b.extraBW, 50e3);
  EXPECT_TRUE(b.adjRelToCenter);
  EXPECT_TRUE(b.avgOn);
  EXPECT_EQ(b.avgFactor, 16);
  // The measured results and the running average are not the dialog's.
  EXPECT_EQ(b.numAvgs, want.numAvgs);
  EXPECT_EQ(b.resultsValid, want.resultsValid);
  EXPECT_EQ(b.centerPower, want.centerPower);
  EXPECT_EQ(b.lowerRatioAvg, want.lowerRatioAvg);
  EXPECT_EQ(std::wstring(b.GetName()), L"LTE");
}

TEST_F(ACPRDlgTest, BandsSwitchedOffKeepTheValuesThatWereShown) {
  CWACPRDlg d;
  Fill(d);
  // Typing ticks the switches; clearing them again drops the typed values.
  EXPECT_EQ(Run(d, {DialogStep::Type(kIdcACPRAdj2Offset, L"99"), DialogStep::Type(kIdcACPRAdj2BW, L"98"),
                    DialogStep::Check(kIdcACPRAdj2On, lv::kUnchecked), DialogStep::Type(kIdcACPRExtraOffset, L"97"),
                    DialogStep::Check(kIdcACPRExtraOn, lv::kUnchecked), DialogStep::Click(kIdcACPRAccept)}),
            1);
  EXPECT_FALSE(d.Bands().adjacent2On);
  EXPECT_DOUBLE_EQ(d.Bands().adjacent2Offset, 10e6);
  EXPECT_DOUBLE_EQ(d.Bands().adjacent2BW, 1.5e6);
  EXPECT_FALSE(d.Bands().extraOn);
  EXPECT_DOUBLE_EQ(d.Bands().extraOffset, -750.0);
}

TEST_F(ACPRDlgTest, AveragingFollowsTheBoxAndTheCount) {
  struct Case {
    const char* name;
    const wchar_t* text;
    int box;
    bool on;
    int factor;
  };
  const Case cases[] = {
      {"count", L"12", lv::kChecked, true, 12},
      {"zero becomes one", L"0", lv::kChecked, true, 1},
      {"negative becomes one", L"-5", lv::kChecked, true, 1},
      {"not a number", L"many", lv::kChecked, false, 1},
      {"empty", L"", lv::kChecked, false, 1},
      {"box cleared", L"12", lv::kUnchecked, false, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    CWACPRDlg d;
    Fill(d);
    EXPECT_EQ(Run(d, {DialogStep::Type(kIdcACPRNumAvgs, c.text), DialogStep::Check(kIdcACPRAvgOn, c.box),
                      DialogStep::Click(kIdcACPRAccept)}),
              1);
    EXPECT_EQ(d.Bands().avgOn, c.on);
    EXPECT_EQ(d.Bands().avgFactor, c.factor);
  }
}

TEST_F(ACPRDlgTest, CancelEscapeAndCloseBoxAnswerZeroAndChangeNothing) {
  for (const DialogStep& end : {DialogStep::Click(kIdcACPRCancel), DialogStep::Escape(), DialogStep::CloseBox()}) {
    CWACPRDlg d;
    Fill(d, false);
    EXPECT_EQ(Run(d, {DialogStep::Type(kIdcACPRCenterBW, L"1"), DialogStep::Type(kIdcACPRNumAvgs, L"2"), end}), 0);
    EXPECT_FALSE(d.measOn);
    EXPECT_DOUBLE_EQ(d.Bands().centerBW, 3.84e6);
    EXPECT_EQ(d.Bands().avgFactor, 8);
  }
}

TEST_F(ACPRDlgTest, FrequencyTextsWithoutANumberKeepTheShownValues) {
  CWACPRDlg d;
  Fill(d);
  EXPECT_EQ(Run(d, {DialogStep::Type(kIdcACPRCenterOffset, L"x"), DialogStep::Type(kIdcACPRCenterBW, L"inf"),
                    DialogStep::Type(kIdcACPRExtraBW, L" 75 kHz"), DialogStep::Click(kIdcACPRAccept)}),
            1);
  EXPECT_DOUBLE_EQ(d.Bands().centerOffset, 250e3);
  EXPECT_DOUBLE_EQ(d.Bands().centerBW, 3.84e6);
  EXPECT_DOUBLE_EQ(d.Bands().extraBW, 75e3);  // "%lf" reads the leading number
}

TEST_F(ACPRDlgTest, Gallery) {
  CWACPRDlg d;
  Fill(d);
  EXPECT_EQ(Run(d, {DialogStep::SavePng(lv_test::DialogPngPath("acpr_dialog")), DialogStep::Escape()}), 0);
}

}  // namespace
