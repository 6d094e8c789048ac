// CWPiBDlg ("Power in A Band") on real widgets: its template, a two-band list
// shown with units, an unfilled list shown empty, the boxes that edits tick,
// and the two bands Accept stores.
#include "plots/windows/pib_dlg.h"

#include <string>

#include <gtest/gtest.h>

#include "dialog_fixture.h"

namespace {

using lv::DialogStep;

class PiBDlgTest : public lv_test::SettingsDialogTest {
 protected:
  // A window's list of two bands: band 1 on, band 2 off, averaging on.
  static void Fill(CWPiBDlg& d, bool on = true) {
    CQPiBMeasBandList list(2);
    list.SetSize(2);
    CQPiBMeasBand b1;
    b1.on = true;
    b1.freq = -1.25e6;
    b1.bandwidth = 500e3;
    b1.avgOn = true;
    b1.avgFactor = 6;
    CQPiBMeasBand b2;
    b2.on = false;
    b2.freq = 3e6;
    b2.bandwidth = 2e6;
    b2.avgOn = true;
    b2.avgFactor = 6;
    list.SetItem(0, &b1);
    list.SetItem(1, &b2);
    d.BandList().Set(&list);
    d.measOn = on;
  }
  static const CQPiBMeasBand& Band(CWPiBDlg& d, int i) { return *d.BandList().GetItem(i); }
};

TEST_F(PiBDlgTest, TemplateControlsSitAtTheirRectanglesWithTheirTexts) {
  CWPiBDlg d;
  EXPECT_EQ(d.Template().name, "PIBDialog");
  const std::vector<ItemText> texts = {
      {kIdcPiBOn, L"Power in a band measurement on"},
      {kIdcPiBBand1On, L"Band on"},
      {kIdcPiBBand2On, L"Band on"},
      {kIdcPiBAvgOn, L"Averaging on"},
      {kIdcPiBAccept, L"Accept"},
      {kIdcPiBCancel, L"Cancel"},
  };
  EXPECT_EQ(Run(d, {Read([&](lv::Dialog& dlg) {
                      EXPECT_EQ(dlg.GetCaption(), L"Power in A Band");
                      ExpectTemplateLayout(dlg);
                      ExpectItemTexts(dlg, texts);
                    }),
                    DialogStep::Click(kIdcPiBCancel)}),
            0);
  ExpectTemplateLabels(d.Template(), {L"Band 1", L"Band 2", L"Measurement Averaging", L"Offset frequency", L"Bandwidth",
                               L"Number of averages"});
}

TEST_F(PiBDlgTest, ShowsTwoBandsInTheirUnitsWithTheStoredSwitches) {
  CWPiBDlg d;
  Fill(d, false);
  EXPECT_EQ(Run(d, {Read([&](lv::Dialog& dlg) {
                      EXPECT_EQ(dlg.GetItemText(kIdcPiBBand1Offset), L"-1.250");
                      EXPECT_EQ(dlg.GetItemText(kIdcPiBBand1OffsetUnits), L"MHz");
                      EXPECT_EQ(dlg.GetItemText(kIdcPiBBand1BW), L"500.000");
                      EXPECT_EQ(dlg.GetItemText(kIdcPiBBand1BWUnits), L"kHz");
                      EXPECT_EQ(dlg.GetItemText(kIdcPiBBand2Offset), L"3.000");
                      EXPECT_EQ(dlg.GetItemText(kIdcPiBBand2BW), L"2.000");
                      EXPECT_EQ(dlg.GetItemText(kIdcPiBNumAvgs), L"6");
                      EXPECT_EQ(dlg.GetCheck(kIdcPiBBand1On), lv::kChecked);
                      EXPECT_EQ(dlg.GetCheck(kIdcPiBBand2On), lv::kUnchecked);
                      EXPECT_EQ(dlg.GetCheck(kIdcPiBAvgOn), lv::kChecked);
                      EXPECT_EQ(dlg.GetCheck(kIdcPiBOn), lv::kUnchecked);
                    }),
                    DialogStep::Escape()}),
            0);
  EXPECT_TRUE(errors_.empty());
}

TEST_F(PiBDlgTest, AnUnfilledListShowsEmptyFieldsThenTheStoredBands) {
  CWPiBDlg d;
  ASSERT_EQ(d.BandList().GetSize(), 0);
  auto empty = [](lv::Dialog& dlg) {
    for (int id : {kIdcPiBBand1Offset, kIdcPiBBand1BW, kIdcPiBBand2Offset, kIdcPiBBand2BW, kIdcPiBNumAvgs}) {
      EXPECT_EQ(dlg.GetItemText(id), L"") << id;
    }
    for (int id : {kIdcPiBBand1On, kIdcPiBBand2On, kIdcPiBAvgOn, kIdcPiBOn}) {
      EXPECT_EQ(dlg.GetCheck(id), lv::kUnchecked) << id;
    }
  };
  EXPECT_EQ(Run(d, {Read(empty), DialogStep::Type(kIdcPiBBand2BW, L"40"),
                    ChooseUnit(kIdcPiBBand2BWUnits, CWUnitsButton::UnitCommand(CWUnitsButton::kKHz)),
                    DialogStep::Click(kIdcPiBAccept)}),
            1);
  ASSERT_EQ(d.BandList().GetSize(), 2);
  EXPECT_TRUE(d.measOn);
  // Band 1 was left off: the band defaults.
  EXPECT_FALSE(Band(d, 0).on);
  EXPECT_EQ(Band(d, 0).freq, 0.0);
  EXPECT_EQ(Band(d, 0).bandwidth, 1e6);
  // Band 2: its offset text was empty, so the shown default stays.
  EXPECT_TRUE(Band(d, 1).on);
  EXPECT_EQ(Band(d, 1).freq, 0.0);
  EXPECT_DOUBLE_EQ(Band(d, 1).bandwidth, 40e3);
  for (int i = 0; i < 2; ++i) {
    EXPECT_FALSE(Band(d, i).avgOn);
    EXPECT_EQ(Band(d, i).avgFactor, 1);
  }
  // The next opening shows what was stored.
  EXPECT_EQ(Run(d, {Read([](lv::Dialog& dlg) {
                      EXPECT_EQ(dlg.GetItemText(kIdcPiBBand2BW), L"40.000");
                      EXPECT_EQ(dlg.GetItemText(kIdcPiBBand2BWUnits), L"kHz");
                      EXPECT_EQ(dlg.GetItemText(kIdcPiBBand1BW), L"1.000");
                      EXPECT_EQ(dlg.GetItemText(kIdcPiBNumAvgs), L"1");
                      EXPECT_EQ(dlg.GetCheck(kIdcPiBBand2On), lv::kChecked);
                      EXPECT_EQ(dlg.GetCheck(kIdcPiBOn), lv::kChecked);
                    }),
                    DialogStep::Escape()}),
            0);
}

TEST_F(PiBDlgTest, EditsAndBandBoxesTickTheMeasurementAndTheirBand) {
  struct Case {
    const char* name;
    DialogStep step;
    int band;  // the band box it ticks (0: none)
  };
  const Case cases[] = {
      {"band 1 box", DialogStep::Check(kIdcPiBBand1On, lv::kChecked), kIdcPiBBand1On},
      {"band 1 offset", DialogStep::Type(kIdcPiBBand1Offset, L"1"), kIdcPiBBand1On},
      {"band 1 bandwidth unit", ChooseUnit(kIdcPiBBand1BWUnits, CWUnitsButton::UnitCommand(CWUnitsButton::kHz)),
       kIdcPiBBand1On},
      {"band 2 offset", DialogStep::Type(kIdcPiBBand2Offset, L"2"), kIdcPiBBand2On},
      {"band 2 bandwidth", DialogStep::Type(kIdcPiBBand2BW, L"3"), kIdcPiBBand2On},
      {"number of averages", DialogStep::Type(kIdcPiBNumAvgs, L"4"), kIdcPiBAvgOn},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    CWPiBDlg d;
    EXPECT_EQ(Run(d, {c.step, Read([&](lv::Dialog& dlg) {
                        EXPECT_EQ(dlg.GetCheck(kIdcPiBOn), lv::kChecked);
                        for (int box : {kIdcPiBBand1On, kIdcPiBBand2On, kIdcPiBAvgOn}) {
                          EXPECT_EQ(dlg.GetCheck(box), box == c.band ? lv::kChecked : lv::kUnchecked) << box;
                        }
                      }),
                      DialogStep::Click(kIdcPiBCancel)}),
              0);
  }
}

TEST_F(PiBDlgTest, AcceptStoresBothBandsAndTheirCommonAveraging) {
  struct Case {
    const char* name;
    const wchar_t* count;
    int box;
    bool on;
    int factor;
  };
  const Case cases[] = {
      {"count", L"10", lv::kChecked, true, 10},
      {"zero becomes one", L"0", lv::kChecked, true, 1},
      {"not a number", L"ten", lv::kChecked, false, 1},
      {"box cleared", L"10", lv::kUnchecked, false, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    CWPiBDlg d;
    Fill(d, false);
    EXPECT_EQ(Run(d, {DialogStep::Type(kIdcPiBBand1Offset, L"-2"), DialogStep::Type(kIdcPiBBand2BW, L"0.25"),
                      DialogStep::Type(kIdcPiBNumAvgs, c.count), DialogStep::Check(kIdcPiBAvgOn, c.box),
                      DialogStep::Click(kIdcPiBAccept)}),
              1);
    EXPECT_TRUE(d.measOn);
    ASSERT_EQ(d.BandList().GetSize(), 2);
    EXPECT_TRUE(Band(d, 0).on);
    EXPECT_DOUBLE_EQ(Band(d, 0).freq, -2e6);
    EXPECT_DOUBLE_EQ(Band(d, 0).bandwidth, 500e3);
    EXPECT_TRUE(Band(d, 1).on);  // typing ticked it
    EXPECT_DOUBLE_EQ(Band(d, 1).freq, 3e6);
    EXPECT_DOUBLE_EQ(Band(d, 1).bandwidth, 0.25e6);
    for (int i = 0; i < 2; ++i) {
      EXPECT_EQ(Band(d, i).avgOn, c.on) << i;
      EXPECT_EQ(Band(d, i).avgFactor, c.factor) << i;
    }
  }
}

TEST_F(PiBDlgTest, ABandSwitchedOffIsStoredWithTheDefaults) {
  CWPiBDlg d;
  Fill(d);
  EXPECT_EQ(Run(d, {DialogStep::Check(kIdcPiBBand1On, lv::kUnchecked), DialogStep::Click(kIdcPiBAccept)}), 1);
  EXPECT_FALSE(Band(d, 0).on);
  EXPECT_EQ(Band(d, 0).freq, 0.0);
  EXPECT_EQ(Band(d, 0).bandwidth, 1e6);
  EXPECT_FALSE(Band(d, 1).on);
  EXPECT_EQ(Band(d, 1).freq, 0.0);
}

TEST_F(PiBDlgTest, CancelEscapeAndCloseBoxAnswerZeroAndChangeNothing) {
  for (const DialogStep& end : {DialogStep::Click(kIdcPiBCancel), DialogStep::Escape(), DialogStep::CloseBox()}) {
    CWPiBDlg d;
    EXPECT_EQ(Run(d, {DialogStep::Type(kIdcPiBBand1Offset, L"5"), end}), 0);
    EXPECT_FALSE(d.measOn);
    EXPECT_EQ(d.BandList().GetSize(), 0);
  }
}

TEST_F(PiBDlgTest, Gallery) {
  CWPiBDlg d;
  Fill(d);
  EXPECT_EQ(Run(d, {DialogStep::SavePng(lv_test::DialogPngPath("pib_dialog")), DialogStep::Escape()}), 0);
}

}  // namespace
