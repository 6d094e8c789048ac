// Every key of every kind of plot window: non-default values set on real
// windows, saved (the four kinds into one file, as the save chain does),
// recalled into fresh windows, every value restored, and a second save that
// equals the first byte for byte.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "core/spectral/acpr.h"
#include "core/spectral/avg_spectrum.h"
#include "core/spectral/power_in_band.h"
#include "keys_fixture.h"
#include "platform/gui/test_hooks.h"
#include "plots/threads/plot_settings_keys.h"
#include "plots/windows/spectrum_model.h"

namespace lv_keys_test {
namespace {

using Names = std::vector<std::string>;

// The time-domain window with every saved value away from its default.
void ConfigureTD(CWPlotCTDWndw& w) {
  w.xMin = -1.25e-3;
  w.xMax = 2.5e-3;
  w.xAutoScale = false;
  w.yMin = -0.75;
  w.yMax = 1.5;
  w.yAutoScale = false;
  w.SetPlotType(3);
}
void ExpectTD(CWPlotCTDWndw& w) {
  EXPECT_EQ(w.xMin, -1.25e-3);
  EXPECT_EQ(w.xMax, 2.5e-3);
  EXPECT_FALSE(w.xAutoScale);
  EXPECT_EQ(w.yMin, -0.75);
  EXPECT_EQ(w.yMax, 1.5);
  EXPECT_FALSE(w.yAutoScale);
  EXPECT_EQ(w.GetPlotType(), 3);
}
const Names kTDKeys = {"Visible",         "Window rect", "Xscale min value", "Xscale max value", "Xscale auto",
                       "Yscale min value", "Yscale max value", "Yscale auto", "Plot type"};

// The averager's settings and the y scale of the spectrum.
void ConfigureAveraging(CWPlotSAWndw& w) {
  CQAvgSpectrum& a = w.Model().AvgSpectrum();
  a.SetAutoNumFreqs(false);
  a.SetNumFreqs(801);
  a.SetAutoFreqLimits(false);
  a.SetFreqLimits(-3e6, 2.5e6);
  a.SetAutoRBW(false);
  a.SetRBW(12345.678);
  a.SetAutoNumAvgs(false);
  a.SetNumAvgs(7);
  w.yMin = -120.5;
  w.yMax = 15.25;
  w.yAutoScale = !w.yAutoScale;
}
void ExpectAveraging(CWPlotSAWndw& w, bool yAuto) {
  CQAvgSpectrum& a = w.Model().AvgSpectrum();
  EXPECT_FALSE(a.GetAutoNumFreqs());
  EXPECT_EQ(a.GetNumFreqs(), 801);
  EXPECT_FALSE(a.GetAutoFreqLimits());
  EXPECT_EQ(a.GetStartFreq(), -3e6);
  EXPECT_EQ(a.GetStopFreq(), 2.5e6);
  EXPECT_FALSE(a.GetAutoRBW());
  EXPECT_EQ(a.GetRBW(), 12345.678);
  EXPECT_FALSE(a.GetAutoNumAvgs());
  EXPECT_EQ(a.GetNumAvgs(), 7);
  EXPECT_EQ(w.yMin, -120.5);
  EXPECT_EQ(w.yMax, 15.25);
  EXPECT_EQ(w.yAutoScale, yAuto);
}

// ACPR on with every optional channel and averaging on.
void ConfigureACPR(CWPlotSAWndw& w) {
  w.Model().acprOn = true;
  w.bottomMargin = w.defaultBottomMargin + CWSpectrumModel::kMeasurementMargin;
  CQACPRMeasBands& b = w.Model().ACPRBands();
  b.centerOffset = 1e5;
  b.centerBW = 2.5e6;
  b.adjacentOffset = 3e6;
  b.adjacentBW = 2e6;
  b.adjacent2On = true;
  b.adjacent2Offset = 6e6;
  b.adjacent2BW = 1.5e6;
  b.extraOn = true;
  b.extraOffset = -4.5e6;
  b.extraBW = 3e5;
  b.adjRelToCenter = false;
  b.avgOn = true;
  b.avgFactor = 12;
}
void ExpectACPR(CWPlotSAWndw& w) {
  EXPECT_TRUE(w.Model().acprOn);
  EXPECT_FALSE(w.Model().pibOn);
  EXPECT_EQ(w.bottomMargin, w.defaultBottomMargin + CWSpectrumModel::kMeasurementMargin);
  const CQACPRMeasBands& b = w.Model().ACPRBands();
  EXPECT_EQ(b.centerOffset, 1e5);
  EXPECT_EQ(b.centerBW, 2.5e6);
  EXPECT_EQ(b.adjacentOffset, 3e6);
  EXPECT_EQ(b.adjacentBW, 2e6);
  EXPECT_TRUE(b.adjacent2On);
  EXPECT_EQ(b.adjacent2Offset, 6e6);
  EXPECT_EQ(b.adjacent2BW, 1.5e6);
  EXPECT_TRUE(b.extraOn);
  EXPECT_EQ(b.extraOffset, -4.5e6);
  EXPECT_EQ(b.extraBW, 3e5);
  EXPECT_FALSE(b.adjRelToCenter);
  EXPECT_TRUE(b.avgOn);
  EXPECT_EQ(b.avgFactor, 12);
}
const Names kSpectrumACPRKeys = {
    "Visible",           "Window rect",         "Auto num freqs on",
    "Num freqs",         "Auto freq limits on", "Start freq",
    "Stop freq",         "Auto RBW on",         "RBW",
    "Auto num avgs on",  "Num avgs",            "Yscale min value",
    "Yscale max value",  "Yscale auto",         "ACPR on",
    "ACPR center offset", "ACPR center BW",     "ACPR adjacent offset",
    "ACPR adjacent BW",  "ACPR adjacent2 on",   "ACPR adjacent2 offset",
    "ACPR adjacent2 BW", "ACPR extra on",       "ACPR extra offset",
    "ACPR extra BW",     "ACPR adj rel to center on", "ACPR avg on",
    "ACPR avg factor",   "PiB on"};

// Power in a band on with three bands: one averaged, one off, one plain.
void ConfigurePiB(CWPlotSAWndw& w) {
  w.Model().pibOn = true;
  w.bottomMargin = w.defaultBottomMargin + CWSpectrumModel::kMeasurementMargin;
  CQPiBMeasBandList& list = w.Model().PiBBands();
  list.SetSize(3);
  CQPiBMeasBand b0;
  b0.on = true;
  b0.freq = -1e6;
  b0.bandwidth = 5e5;
  b0.avgOn = true;
  b0.avgFactor = 4;
  CQPiBMeasBand b1;
  b1.on = false;
  b1.freq = 7e5;
  CQPiBMeasBand b2;
  b2.on = true;
  b2.freq = 2e6;
  b2.bandwidth = 1e5;
  b2.avgOn = false;
  list.SetItem(0, &b0);
  list.SetItem(1, &b1);
  list.SetItem(2, &b2);
}
void ExpectPiB(CWPlotSAWndw& w) {
  EXPECT_TRUE(w.Model().pibOn);
  EXPECT_FALSE(w.Model().acprOn);
  EXPECT_EQ(w.bottomMargin, w.defaultBottomMargin + CWSpectrumModel::kMeasurementMargin);
  CQPiBMeasBandList& list = w.Model().PiBBands();
  ASSERT_EQ(list.GetSize(), 3);
  EXPECT_TRUE(list.GetItem(0)->on);
  EXPECT_EQ(list.GetItem(0)->freq, -1e6);
  EXPECT_EQ(list.GetItem(0)->bandwidth, 5e5);
  EXPECT_TRUE(list.GetItem(0)->avgOn);
  EXPECT_EQ(list.GetItem(0)->avgFactor, 4);
  EXPECT_FALSE(list.GetItem(1)->on);
  EXPECT_TRUE(list.GetItem(2)->on);
  EXPECT_EQ(list.GetItem(2)->freq, 2e6);
  EXPECT_EQ(list.GetItem(2)->bandwidth, 1e5);
  EXPECT_FALSE(list.GetItem(2)->avgOn);
}
const Names kSpectrumPiBKeys = {
    "Visible",          "Window rect",         "Auto num freqs on", "Num freqs",           "Auto freq limits on",
    "Start freq",       "Stop freq",           "Auto RBW on",       "RBW",                 "Auto num avgs on",
    "Num avgs",         "Yscale min value",    "Yscale max value",  "Yscale auto",         "ACPR on",
    "PiB on",           "PiB num bands",       "PiB band0 on",      "PiB band0 freq",      "PiB band0 BW",
    "PiB band0 avg on", "PiB band0 avg factor", "PiB band1 on",     "PiB band2 on",        "PiB band2 freq",
    "PiB band2 BW",     "PiB band2 avg on"};

CWPersSpecSettings PersValues() {
  CWPersSpecSettings s;
  s.minPower = -90.5f;
  s.maxPower = 12.25f;
  s.autoFreqRange = false;
  s.startFreq = -2.5e6;
  s.stopFreq = 3e6;
  s.autoRBW = false;
  s.rbw = 25e3;
  s.persistenceType = 3;
  s.overlayTrace = false;
  s.spectraPerInput = 40;
  return s;
}
void ExpectPers(const CWPlotPersSpecWndw& w) {
  const CWPersSpecSettings s = w.GetSettings();
  const CWPersSpecSettings want = PersValues();
  EXPECT_EQ(s.minPower, want.minPower);
  EXPECT_EQ(s.maxPower, want.maxPower);
  EXPECT_EQ(s.autoFreqRange, want.autoFreqRange);
  EXPECT_EQ(s.startFreq, want.startFreq);
  EXPECT_EQ(s.stopFreq, want.stopFreq);
  EXPECT_EQ(s.autoRBW, want.autoRBW);
  EXPECT_EQ(s.rbw, want.rbw);
  EXPECT_EQ(s.persistenceType, want.persistenceType);
  EXPECT_EQ(s.overlayTrace, want.overlayTrace);
  EXPECT_EQ(s.spectraPerInput, want.spectraPerInput);
}
const Names kPersKeys = {"Visible", "Window rect", "Power scale min", "Power scale max", "Auto freq limits",
                         "Freq min", "Freq max",   "Auto RBW",        "RBW",             "Persistence type",
                         "Overlay spectrum", "Num spectra"};

void ConfigureSpgm(CWPlotSpgmWndw& w) {
  w.minPower = -110.25f;
  w.maxPower = -5.5f;
  w.autoTimeRange = false;
  w.timeRange = 2.5e-3;
  w.autoFreqRange = false;
  w.startFreq = -1.5e6;
  w.stopFreq = 2e6;
  w.autoRBW = false;
  w.rbw = 50e3;
  w.windowShape = 1;
}
void ExpectSpgm(const CWPlotSpgmWndw& w) {
  EXPECT_EQ(w.minPower, -110.25f);
  EXPECT_EQ(w.maxPower, -5.5f);
  EXPECT_FALSE(w.autoTimeRange);
  EXPECT_EQ(w.timeRange, 2.5e-3);
  EXPECT_FALSE(w.autoFreqRange);
  EXPECT_EQ(w.startFreq, -1.5e6);
  EXPECT_EQ(w.stopFreq, 2e6);
  EXPECT_FALSE(w.autoRBW);
  EXPECT_EQ(w.rbw, 50e3);
  EXPECT_EQ(w.windowShape, 1);
}
const Names kSpgmKeys = {"Visible",  "Window rect", "Power scale min", "Power scale max", "Auto time range",
                         "Time range", "Auto freq", "Start freq",      "Stop freq",       "Auto RBW",
                         "RBW",      "DSP window"};

const lv::Rect kTDRect{55, 66, 755, 566};
const lv::Rect kSARect{105, 95, 905, 655};
const lv::Rect kSA2Rect{215, 5, 815, 405};
const lv::Rect kPersRect{75, 125, 875, 725};
const lv::Rect kSpgmRect{310, 220, 910, 720};

// Saves every window into one file, as the save chain does, in a fixed order.
struct Set {
  CWPlotCTDWndw* td;
  CWPlotSAWndw* sa;   // ACPR, shown
  CWPlotSAWndw* sa2;  // power in a band, hidden
  CWPlotPersSpecWndw* pers;
  CWPlotSpgmWndw* spgm;
};
void SaveAll(CQAppSettings& s, const Set& w) {
  SavePlotTDSettings(*w.td, L"PlotTD1:", s, "CWUIPlotIQ::SaveSettings");
  SavePlotSpectrumSettings(*w.sa, L"PlotSpectrum1:", s, "CWUIPlotSpectrum::SaveSettings");
  SavePlotSpectrumSettings(*w.sa2, L"PlotSpectrum2:", s, "CWUIPlotSpectrum::SaveSettings");
  SavePlotPersSpecSettings(*w.pers, L"PlotPersSpec1:", s, "CWUIPlotPersSpec::SaveSettings");
  SavePlotSpgmSettings(*w.spgm, L"PlotSpgm3:", s, "CWUIPlotSpgm::SaveSettings");
}
void RecallAll(CQAppSettings& s, const Set& w) {
  RecallPlotTDSettings(*w.td, L"PlotTD1:", s, "CWUIPlotIQ::RecallSettings");
  RecallPlotSpectrumSettings(*w.sa, L"PlotSpectrum1:", s, "CWUIPlotSpectrum::RecallSettings");
  RecallPlotSpectrumSettings(*w.sa2, L"PlotSpectrum2:", s, "CWUIPlotSpectrum::RecallSettings");
  RecallPlotPersSpecSettings(*w.pers, L"PlotPersSpec1:", s, "CWUIPlotPersSpec::RecallSettings");
  RecallPlotSpgmSettings(*w.spgm, L"PlotSpgm3:", s, "CWUIPlotSpgm::RecallSettings");
}

TEST_F(PlotKeys, EveryKeyOfEveryKindIsRestoredAndSavesTheSameBytes) {
  auto td = MakeTD(kTDRect);
  auto sa = MakeSA(kSARect);
  auto sa2 = MakeSA(kSA2Rect);
  auto pers = MakePers(kPersRect);
  auto spgm = MakeSpgm(kSpgmRect);
  ConfigureTD(*td);
  ConfigureAveraging(*sa);
  ConfigureACPR(*sa);
  ConfigureAveraging(*sa2);
  ConfigurePiB(*sa2);
  pers->StoreSettings(PersValues());
  ConfigureSpgm(*spgm);
  const bool saYAuto = sa->yAutoScale;
  SetShown(*td->Window(), true);
  SetShown(*sa->Window(), true);
  SetShown(*pers->Window(), true);
  SetShown(*spgm->Window(), true);

  CQAppSettings s;
  Fresh(s, "first.txt");
  SaveAll(s, {td.get(), sa.get(), sa2.get(), pers.get(), spgm.get()});
  const std::string first = Bytes("first.txt");

  // Every key, in the order of its kind's table.
  EXPECT_EQ(KeyNames("first.txt", "PlotTD1:"), kTDKeys);
  EXPECT_EQ(KeyNames("first.txt", "PlotSpectrum1:"), kSpectrumACPRKeys);
  EXPECT_EQ(KeyNames("first.txt", "PlotSpectrum2:"), kSpectrumPiBKeys);
  EXPECT_EQ(KeyNames("first.txt", "PlotPersSpec1:"), kPersKeys);
  EXPECT_EQ(KeyNames("first.txt", "PlotSpgm3:"), kSpgmKeys);
  // Window rect in plot-area coordinates, Visible as shown.
  EXPECT_NE(first.find("PlotTD1:Visible = 1\r\n"), std::string::npos);
  EXPECT_NE(first.find("PlotSpectrum2:Visible = 0\r\n"), std::string::npos);

  // Fresh windows elsewhere, with their defaults, hidden (the file shows
  // them); the power-in-band one shown (the file hides it) and where the
  // saved one was, since a hidden window's rectangle is not applied.
  auto td2 = MakeTD();
  auto saB = MakeSA();
  auto sa2B = MakeSA(kSA2Rect);
  auto pers2 = MakePers();
  auto spgm2 = MakeSpgm();
  SetShown(*sa2B->Window(), true);
  const Set fresh{td2.get(), saB.get(), sa2B.get(), pers2.get(), spgm2.get()};
  {
    CQAppSettings before;
    Fresh(before, "before.txt");
    SaveAll(before, fresh);
    ASSERT_NE(Bytes("before.txt"), first) << "the fresh windows must differ from the saved ones";
  }

  CQAppSettings r;
  r.SetFileName(Path("first.txt"));
  RecallAll(r, fresh);
  EXPECT_EQ(r.GetUseSection(), 0);

  ExpectTD(*td2);
  ExpectAveraging(*saB, saYAuto);
  ExpectACPR(*saB);
  ExpectAveraging(*sa2B, saYAuto);
  ExpectPiB(*sa2B);
  ExpectPers(*pers2);
  ExpectSpgm(*spgm2);
  EXPECT_EQ(td2->Window()->Geometry(), kTDRect);
  EXPECT_EQ(saB->Window()->Geometry(), kSARect);
  EXPECT_EQ(pers2->Window()->Geometry(), kPersRect);
  EXPECT_EQ(spgm2->Window()->Geometry(), kSpgmRect);
  EXPECT_TRUE(td2->Window()->IsVisible());
  EXPECT_TRUE(saB->Window()->IsVisible());
  EXPECT_FALSE(sa2B->Window()->IsVisible());
  EXPECT_TRUE(pers2->Window()->IsVisible());
  EXPECT_TRUE(spgm2->Window()->IsVisible());

  // The widgets follow.
  Pump(20);
  EXPECT_TRUE(lv::test_hooks::IsShown(td2->Window()->Id()));
  EXPECT_FALSE(lv::test_hooks::IsShown(sa2B->Window()->Id()));
  EXPECT_TRUE(lv::test_hooks::IsShown(spgm2->Window()->Id()));

  Fresh(r, "second.txt");
  SaveAll(r, fresh);
  EXPECT_EQ(Bytes("second.txt"), first);
}

TEST_F(PlotKeys, AlwaysShownSpectrumSavesNoVisibleAndIsShownAfterRecall) {
  auto sa = MakeSA(kSARect);
  sa->alwaysShown = true;
  ConfigureAveraging(*sa);
  const std::string first = SaveBytes<CWPlotSAWndw>(SavePlotSpectrumSettings, *sa, L"PlotSpectrum1:", "a.txt");
  const Names keys = KeyNames("a.txt", "PlotSpectrum1:");
  ASSERT_FALSE(keys.empty());
  EXPECT_EQ(keys.front(), "Window rect");
  EXPECT_EQ(std::count(keys.begin(), keys.end(), "Visible"), 0);

  // A hidden always-shown window: moved and shown. Even a Visible = 0 line
  // written by hand is not read.
  {
    CQAppSettings s;
    s.SetFileName(Path("a.txt"));
    s.SetValue(L"PlotSpectrum1:Visible", false);
  }
  auto fresh = MakeSA();
  fresh->alwaysShown = true;
  RecallFrom<CWPlotSAWndw>(RecallPlotSpectrumSettings, *fresh, L"PlotSpectrum1:", "a.txt");
  EXPECT_TRUE(fresh->Window()->IsVisible());
  EXPECT_EQ(fresh->Window()->Geometry(), kSARect);
  Pump(20);
  EXPECT_TRUE(lv::test_hooks::IsShown(fresh->Window()->Id()));
  EXPECT_EQ(SaveBytes<CWPlotSAWndw>(SavePlotSpectrumSettings, *fresh, L"PlotSpectrum1:", "b.txt"), first);

  // Without any key it is still shown, and stays where it is.
  auto bare = MakeSA();
  bare->alwaysShown = true;
  {
    CQAppSettings s;
    Fresh(s, "empty.txt");
  }
  RecallFrom<CWPlotSAWndw>(RecallPlotSpectrumSettings, *bare, L"PlotSpectrum1:", "empty.txt");
  EXPECT_TRUE(bare->Window()->IsVisible());
  EXPECT_EQ(bare->Window()->Geometry(), lv::Rect({20, 20, 620, 420}));
}

}  // namespace
}  // namespace lv_keys_test
