// The recall rules on hand-written settings files: missing keys, lone halves
// of pairs, the two measurements, the power-in-band count, visibility and
// position, no drawing, and the failures (no prefix, no file).
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/arrays/carray.h"
#include "core/spectral/acpr.h"
#include "core/spectral/power_in_band.h"
#include "keys_fixture.h"
#include "platform/gui/bitmap.h"
#include "platform/gui/test_hooks.h"
#include "platform/text.h"
#include "platform/window_messages.h"
#include "plots/background_blocks.h"
#include "plots/threads/plot_settings_keys.h"
#include "plots/windows/spectrum_model.h"
#include "support/errors.h"

namespace lv_keys_test {
namespace {

namespace hooks = lv::test_hooks;

std::unique_ptr<CQCArrayTD> Tone(int n, double f) {
  std::vector<CQComplex> v(n);
  for (int k = 0; k < n; ++k) {
    const double ph = 2.0 * M_PI * f * k / 10e6;
    v[k] = CQComplex(static_cast<float>(0.5 * std::cos(ph)), static_cast<float>(0.5 * std::sin(ph)));
  }
  auto a = std::make_unique<CQCArrayTD>();
  a->Set(v.data(), n, 10e6, 0.0);
  return a;
}

bool SamePixels(const lv::Bitmap& a, const lv::Bitmap& b) {
  if (a.Width() != b.Width() || a.Height() != b.Height()) return false;
  for (int32_t y = 0; y < a.Height(); ++y) {
    for (int32_t x = 0; x < a.Width(); ++x) {
      if (a.Pixel(x, y) != b.Pixel(x, y)) return false;
    }
  }
  return true;
}

// A block the measurement would have drawn.
void AddBlock(CWPlot2D& plot) {
  CWBackgroundBlock block;
  plot.BackgroundBlocks().AddItem(&block);
}

TEST_F(PlotKeys, AFileWithoutTheWindowsKeysChangesNothing) {
  // Only another transmitter's keys (and a longer prefix that contains
  // neither "PlotTD1:" nor the others as a part).
  {
    CQAppSettings s;
    Fresh(s, "other.txt");
    s.SetValue(L"PlotTD2:Visible", false);
    s.SetValue(L"PlotTD2:Plot type", 4);
    s.SetValue(L"PlotTD12:Visible", true);
    s.SetValue(L"PlotSpectrum3:Visible", false);
    s.SetValue(L"PlotSpectrum3:ACPR on", true);
    s.SetValue(L"PlotPersSpec2:Visible", true);
    s.SetValue(L"PlotSpgm2:Visible", true);
    s.SetValue(L"PlotSpgm2:Window rect", CWRect{1, 2, 300, 400});
  }
  auto td = MakeTD();
  auto sa = MakeSA();
  auto pers = MakePers();
  auto spgm = MakeSpgm();
  td->SetPlotType(2);
  sa->Model().pibOn = true;
  SetShown(*td->Window(), true);
  SetShown(*pers->Window(), true);

  const std::string tdBefore = SaveBytes<CWPlotCTDWndw>(SavePlotTDSettings, *td, L"PlotTD1:", "td0.txt");
  const std::string saBefore = SaveBytes<CWPlotSAWndw>(SavePlotSpectrumSettings, *sa, L"PlotSpectrum1:", "sa0.txt");
  const std::string persBefore =
      SaveBytes<CWPlotPersSpecWndw>(SavePlotPersSpecSettings, *pers, L"PlotPersSpec1:", "p0.txt");
  const std::string spgmBefore = SaveBytes<CWPlotSpgmWndw>(SavePlotSpgmSettings, *spgm, L"PlotSpgm1:", "g0.txt");
  const size_t pending = lv::ThisThreadWindowQueue()->Size();

  for (const char* file : {"other.txt", "td0.txt"}) {
    SCOPED_TRACE(file);
    // td0.txt holds the time-domain window's own keys only: the others find
    // none of theirs there.
    if (std::string(file) == "other.txt") {
      RecallFrom<CWPlotCTDWndw>(RecallPlotTDSettings, *td, L"PlotTD1:", file);
    }
    RecallFrom<CWPlotSAWndw>(RecallPlotSpectrumSettings, *sa, L"PlotSpectrum1:", file);
    RecallFrom<CWPlotPersSpecWndw>(RecallPlotPersSpecSettings, *pers, L"PlotPersSpec1:", file);
    RecallFrom<CWPlotSpgmWndw>(RecallPlotSpgmSettings, *spgm, L"PlotSpgm1:", file);
  }
  EXPECT_EQ(lv::ThisThreadWindowQueue()->Size(), pending) << "nothing posted";
  EXPECT_TRUE(td->Window()->IsVisible());
  EXPECT_FALSE(sa->Window()->IsVisible());
  EXPECT_TRUE(pers->Window()->IsVisible());
  EXPECT_FALSE(spgm->Window()->IsVisible());
  EXPECT_EQ(spgm->Window()->Geometry(), lv::Rect({40, 40, 640, 440}));
  EXPECT_EQ(SaveBytes<CWPlotCTDWndw>(SavePlotTDSettings, *td, L"PlotTD1:", "td1.txt"), tdBefore);
  EXPECT_EQ(SaveBytes<CWPlotSAWndw>(SavePlotSpectrumSettings, *sa, L"PlotSpectrum1:", "sa1.txt"), saBefore);
  EXPECT_EQ(SaveBytes<CWPlotPersSpecWndw>(SavePlotPersSpecSettings, *pers, L"PlotPersSpec1:", "p1.txt"), persBefore);
  EXPECT_EQ(SaveBytes<CWPlotSpgmWndw>(SavePlotSpgmSettings, *spgm, L"PlotSpgm1:", "g1.txt"), spgmBefore);
  EXPECT_TRUE(sa->Model().pibOn);
  Pump(20);
  EXPECT_TRUE(hooks::IsShown(td->Window()->Id()));
  EXPECT_FALSE(hooks::IsShown(sa->Window()->Id()));
  EXPECT_FALSE(hooks::IsShown(spgm->Window()->Id()));
}

TEST_F(PlotKeys, AHalfOfALimitPairChangesNeitherLimit) {
  struct Case {
    const wchar_t* key;
    double value;
  };
  const Case cases[] = {{L"PlotTD1:Xscale min value", -5.0}, {L"PlotTD1:Xscale max value", 5.0},
                        {L"PlotTD1:Yscale min value", -5.0}, {L"PlotTD1:Yscale max value", 5.0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(lv::WideToUtf8(c.key));
    {
      CQAppSettings s;
      Fresh(s, "half.txt");
      s.SetValue(c.key, c.value);
    }
    auto td = MakeTD();
    td->xMin = 1.0;
    td->xMax = 2.0;
    td->yMin = 3.0;
    td->yMax = 4.0;
    RecallFrom<CWPlotCTDWndw>(RecallPlotTDSettings, *td, L"PlotTD1:", "half.txt");
    EXPECT_EQ(td->xMin, 1.0);
    EXPECT_EQ(td->xMax, 2.0);
    EXPECT_EQ(td->yMin, 3.0);
    EXPECT_EQ(td->yMax, 4.0);
  }
  // The spectrum's y pair and its frequency pair likewise.
  {
    CQAppSettings s;
    Fresh(s, "half.txt");
    s.SetValue(L"PlotSpectrum1:Start freq", -4e6);
    s.SetValue(L"PlotSpectrum1:Yscale max value", 30.0);
  }
  auto sa = MakeSA();
  sa->Model().AvgSpectrum().SetFreqLimits(-1e6, 1e6);
  const double yMin = sa->yMin;
  const double yMax = sa->yMax;
  RecallFrom<CWPlotSAWndw>(RecallPlotSpectrumSettings, *sa, L"PlotSpectrum1:", "half.txt");
  EXPECT_EQ(sa->Model().AvgSpectrum().GetStartFreq(), -1e6);
  EXPECT_EQ(sa->Model().AvgSpectrum().GetStopFreq(), 1e6);
  EXPECT_EQ(sa->yMin, yMin);
  EXPECT_EQ(sa->yMax, yMax);
}

TEST_F(PlotKeys, PersistenceAndSpectrogramApplyEachLimitWhenPresent) {
  {
    CQAppSettings s;
    Fresh(s, "one.txt");
    s.SetValue(L"PlotPersSpec1:Power scale max", 5.5f);
    s.SetValue(L"PlotPersSpec1:Freq min", -3e6);
    s.SetValue(L"PlotSpgm1:Power scale min", -120.0f);
    s.SetValue(L"PlotSpgm1:Stop freq", 4e6);
  }
  auto pers = MakePers();
  auto spgm = MakeSpgm();
  RecallFrom<CWPlotPersSpecWndw>(RecallPlotPersSpecSettings, *pers, L"PlotPersSpec1:", "one.txt");
  RecallFrom<CWPlotSpgmWndw>(RecallPlotSpgmSettings, *spgm, L"PlotSpgm1:", "one.txt");
  EXPECT_EQ(pers->MinPower(), -100.0f);
  EXPECT_EQ(pers->MaxPower(), 5.5f);
  EXPECT_EQ(pers->StartFreq(), -3e6);
  EXPECT_EQ(pers->StopFreq(), 1e6);
  EXPECT_EQ(spgm->minPower, -120.0f);
  EXPECT_EQ(spgm->maxPower, 0.0f);
  EXPECT_EQ(spgm->startFreq, -1e6);
  EXPECT_EQ(spgm->stopFreq, 4e6);
}

TEST_F(PlotKeys, BothMeasurementsOnInAFileRecallsACPROnly) {
  {
    CQAppSettings s;
    Fresh(s, "both.txt");
    s.SetValue(L"PlotSpectrum1:ACPR on", true);
    s.SetValue(L"PlotSpectrum1:ACPR center BW", 3e6);
    s.SetValue(L"PlotSpectrum1:PiB on", true);
    s.SetValue(L"PlotSpectrum1:PiB num bands", 2);
    s.SetValue(L"PlotSpectrum1:PiB band0 on", true);
    s.SetValue(L"PlotSpectrum1:PiB band0 BW", 7e5);
  }
  auto sa = MakeSA();
  AddBlock(*sa);
  RecallFrom<CWPlotSAWndw>(RecallPlotSpectrumSettings, *sa, L"PlotSpectrum1:", "both.txt");
  EXPECT_TRUE(sa->Model().acprOn);
  EXPECT_FALSE(sa->Model().pibOn);
  EXPECT_EQ(sa->Model().ACPRBands().centerBW, 3e6);
  EXPECT_EQ(sa->bottomMargin, sa->defaultBottomMargin + CWSpectrumModel::kMeasurementMargin);
  EXPECT_EQ(sa->BackgroundBlocks().GetCount(), 0);
  // The band list is still read (it waits for power-in-band to be turned on).
  ASSERT_EQ(sa->Model().PiBBands().GetSize(), 2);
  EXPECT_EQ(sa->Model().PiBBands().GetItem(0)->bandwidth, 7e5);
}

TEST_F(PlotKeys, MeasurementTurnedOnHereYieldsToTheFilesState) {
  // ACPR on here, the file: ACPR off, power in a band on.
  {
    CQAppSettings s;
    Fresh(s, "pib.txt");
    s.SetValue(L"PlotSpectrum1:ACPR on", false);
    s.SetValue(L"PlotSpectrum1:PiB on", true);
    s.SetValue(L"PlotSpectrum1:PiB num bands", 1);
    s.SetValue(L"PlotSpectrum1:PiB band0 on", true);
    s.SetValue(L"PlotSpectrum1:PiB band0 freq", 1.5e6);
  }
  auto sa = MakeSA();
  sa->Model().acprOn = true;
  RecallFrom<CWPlotSAWndw>(RecallPlotSpectrumSettings, *sa, L"PlotSpectrum1:", "pib.txt");
  EXPECT_FALSE(sa->Model().acprOn);
  EXPECT_TRUE(sa->Model().pibOn);
  ASSERT_EQ(sa->Model().PiBBands().GetSize(), 1);
  EXPECT_EQ(sa->Model().PiBBands().GetItem(0)->freq, 1.5e6);
  EXPECT_EQ(sa->bottomMargin, sa->defaultBottomMargin + CWSpectrumModel::kMeasurementMargin);

  // Power in a band on here, the file: ACPR on, power in a band off. The
  // file's state is restored rather than both ending off.
  {
    CQAppSettings s;
    Fresh(s, "acpr.txt");
    s.SetValue(L"PlotSpectrum1:ACPR on", true);
    s.SetValue(L"PlotSpectrum1:PiB on", false);
  }
  RecallFrom<CWPlotSAWndw>(RecallPlotSpectrumSettings, *sa, L"PlotSpectrum1:", "acpr.txt");
  EXPECT_TRUE(sa->Model().acprOn);
  EXPECT_FALSE(sa->Model().pibOn);
  EXPECT_EQ(sa->bottomMargin, sa->defaultBottomMargin + CWSpectrumModel::kMeasurementMargin);

  // Both off: blocks cleared, the automatic margin.
  {
    CQAppSettings s;
    Fresh(s, "off.txt");
    s.SetValue(L"PlotSpectrum1:ACPR on", false);
    s.SetValue(L"PlotSpectrum1:PiB on", false);
  }
  AddBlock(*sa);
  RecallFrom<CWPlotSAWndw>(RecallPlotSpectrumSettings, *sa, L"PlotSpectrum1:", "off.txt");
  EXPECT_FALSE(sa->Model().acprOn);
  EXPECT_FALSE(sa->Model().pibOn);
  EXPECT_EQ(sa->bottomMargin, -1);
  EXPECT_EQ(sa->BackgroundBlocks().GetCount(), 0);
}

TEST_F(PlotKeys, OptionalACPRChannelsAreReadOnlyWhenTheirSwitchReadsTrue) {
  {
    CQAppSettings s;
    Fresh(s, "acpr.txt");
    s.SetValue(L"PlotSpectrum1:ACPR on", true);
    s.SetValue(L"PlotSpectrum1:ACPR adjacent2 on", false);
    s.SetValue(L"PlotSpectrum1:ACPR adjacent2 offset", 9e6);
    s.SetValue(L"PlotSpectrum1:ACPR adjacent2 BW", 9e5);
    s.SetValue(L"PlotSpectrum1:ACPR extra offset", 8e6);  // no "ACPR extra on"
    s.SetValue(L"PlotSpectrum1:ACPR avg on", false);
    s.SetValue(L"PlotSpectrum1:ACPR avg factor", 33);
  }
  auto sa = MakeSA();
  CQACPRMeasBands& b = sa->Model().ACPRBands();
  b.adjacent2On = true;
  b.avgOn = true;
  b.resultsValid = true;
  b.numAvgs = 5;
  const CQACPRMeasBands defaults;
  RecallFrom<CWPlotSAWndw>(RecallPlotSpectrumSettings, *sa, L"PlotSpectrum1:", "acpr.txt");
  EXPECT_FALSE(b.adjacent2On);
  EXPECT_EQ(b.adjacent2Offset, defaults.adjacent2Offset);
  EXPECT_EQ(b.adjacent2BW, defaults.adjacent2BW);
  EXPECT_EQ(b.extraOffset, defaults.extraOffset);
  EXPECT_FALSE(b.avgOn);
  EXPECT_EQ(b.avgFactor, defaults.avgFactor);
  // Results gathered with the old layout are dropped.
  EXPECT_FALSE(b.resultsValid);
  EXPECT_EQ(b.numAvgs, 0);

  // A file with ACPR off reads none of the band values.
  {
    CQAppSettings s;
    Fresh(s, "off.txt");
    s.SetValue(L"PlotSpectrum1:ACPR on", false);
    s.SetValue(L"PlotSpectrum1:ACPR center BW", 4e6);
  }
  RecallFrom<CWPlotSAWndw>(RecallPlotSpectrumSettings, *sa, L"PlotSpectrum1:", "off.txt");
  EXPECT_EQ(b.centerBW, defaults.centerBW);
}

TEST_F(PlotKeys, APowerInBandCountBelowOneOrMissingKeepsTheList) {
  struct Case {
    const char* name;
    bool write;
    int32_t count;
  };
  const Case cases[] = {{"zero", true, 0}, {"negative", true, -2}, {"missing", false, 0}, {"huge", true, 1 << 30}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    {
      CQAppSettings s;
      Fresh(s, "pib.txt");
      s.SetValue(L"PlotSpectrum1:PiB on", true);
      if (c.write) s.SetValue(L"PlotSpectrum1:PiB num bands", c.count);
      s.SetValue(L"PlotSpectrum1:PiB band0 on", false);
    }
    auto sa = MakeSA();
    CQPiBMeasBandList& list = sa->Model().PiBBands();
    list.SetSize(2);
    CQPiBMeasBand band;
    band.on = true;
    band.freq = 3e5;
    list.SetItem(0, &band);
    RecallFrom<CWPlotSAWndw>(RecallPlotSpectrumSettings, *sa, L"PlotSpectrum1:", "pib.txt");
    EXPECT_TRUE(sa->Model().pibOn);
    ASSERT_EQ(list.GetSize(), 2);
    EXPECT_TRUE(list.GetItem(0)->on);
    EXPECT_EQ(list.GetItem(0)->freq, 3e5);
  }
}

TEST_F(PlotKeys, PowerInBandBandsStartFromTheDefaultsAndCarryOver) {
  {
    CQAppSettings s;
    Fresh(s, "pib.txt");
    s.SetValue(L"PlotSpectrum1:PiB on", true);
    s.SetValue(L"PlotSpectrum1:PiB num bands", 3);
    s.SetValue(L"PlotSpectrum1:PiB band0 on", true);
    s.SetValue(L"PlotSpectrum1:PiB band0 freq", -2e6);  // no BW: the default
    s.SetValue(L"PlotSpectrum1:PiB band0 avg on", true);
    s.SetValue(L"PlotSpectrum1:PiB band0 avg factor", 6);
    // band1: no keys at all; band2 off with values that are not read.
    s.SetValue(L"PlotSpectrum1:PiB band2 on", false);
    s.SetValue(L"PlotSpectrum1:PiB band2 freq", 9e6);
  }
  auto sa = MakeSA();
  RecallFrom<CWPlotSAWndw>(RecallPlotSpectrumSettings, *sa, L"PlotSpectrum1:", "pib.txt");
  CQPiBMeasBandList& list = sa->Model().PiBBands();
  const CQPiBMeasBand defaults;
  ASSERT_EQ(list.GetSize(), 3);
  EXPECT_TRUE(list.GetItem(0)->on);
  EXPECT_EQ(list.GetItem(0)->freq, -2e6);
  EXPECT_EQ(list.GetItem(0)->bandwidth, defaults.bandwidth);
  EXPECT_TRUE(list.GetItem(0)->avgOn);
  EXPECT_EQ(list.GetItem(0)->avgFactor, 6);
  // Band 1 keeps what band 0 left in the working band.
  EXPECT_TRUE(list.GetItem(1)->on);
  EXPECT_EQ(list.GetItem(1)->freq, -2e6);
  EXPECT_EQ(list.GetItem(1)->avgFactor, 6);
  EXPECT_FALSE(list.GetItem(2)->on);
  EXPECT_EQ(list.GetItem(2)->freq, -2e6);
}

TEST_F(PlotKeys, PlotTypeIsRestoredWithoutDrawing) {
  auto td = MakeTD();
  SetShown(*td->Window(), true);
  const auto wave = Tone(4096, 1e6);
  td->SetData(wave.get());
  td->DrawPlot();
  Pump(10);
  const lv::Bitmap before = td->OffScreenBitmap();
  const lv::Bitmap frameBefore = td->LastFrame();
  {
    CQAppSettings s;
    Fresh(s, "type.txt");
    s.SetValue(L"PlotTD1:Plot type", 2);
  }
  RecallFrom<CWPlotCTDWndw>(RecallPlotTDSettings, *td, L"PlotTD1:", "type.txt");
  EXPECT_EQ(td->GetPlotType(), 2);
  EXPECT_TRUE(SamePixels(td->OffScreenBitmap(), before));
  EXPECT_TRUE(SamePixels(td->LastFrame(), frameBefore));
  Pump(10);
  EXPECT_TRUE(SamePixels(td->OffScreenBitmap(), before)) << "nothing drawn until the next data";
  // The next drawing shows the recalled type.
  td->DrawPlot();
  EXPECT_FALSE(SamePixels(td->OffScreenBitmap(), before));
}

TEST_F(PlotKeys, VisibleHidesShowsAndMovesOnlyAShownWindow) {
  struct Case {
    const char* name;
    bool shownBefore;
    int visible;  // -1: no Visible key
    bool withRect;
    bool shownAfter;
    bool moved;
  };
  const Case cases[] = {
      {"show and move", false, 1, true, true, true},
      {"move a shown one", true, 1, true, true, true},
      {"show in place", false, 1, false, true, false},
      {"hide, rect ignored", true, 0, true, false, false},
      {"stay hidden", false, 0, true, false, false},
      {"no Visible: rect ignored", true, -1, true, true, false},
      {"no Visible, hidden", false, -1, true, false, false},
  };
  const CWRect target{120, 80, 700, 460};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    {
      CQAppSettings s;
      Fresh(s, "vis.txt");
      if (c.visible >= 0) s.SetValue(L"PlotSpgm1:Visible", c.visible == 1);
      if (c.withRect) s.SetValue(L"PlotSpgm1:Window rect", target);
    }
    auto spgm = MakeSpgm();
    if (c.shownBefore) SetShown(*spgm->Window(), true);
    const lv::Rect start = spgm->Window()->Geometry();
    RecallFrom<CWPlotSpgmWndw>(RecallPlotSpgmSettings, *spgm, L"PlotSpgm1:", "vis.txt");
    EXPECT_EQ(spgm->Window()->IsVisible(), c.shownAfter);
    const lv::Rect want = c.moved ? lv::Rect{target.left, target.top, target.right, target.bottom} : start;
    EXPECT_EQ(spgm->Window()->Geometry(), want);
    Pump(20);
    EXPECT_EQ(hooks::IsShown(spgm->Window()->Id()), c.shownAfter);
    if (c.moved) {
      EXPECT_EQ(hooks::WidgetGeometry(spgm->Window()->Id()), want);
    }
  }
}

TEST_F(PlotKeys, AMoveLaysTheWindowOutForItsNewSizeAtItsNextMessages) {
  auto td = MakeTD(lv::Rect{10, 10, 610, 410});
  SetShown(*td->Window(), true);
  const int32_t oldWidth = td->OffScreenBitmap().Width();
  {
    CQAppSettings s;
    Fresh(s, "move.txt");
    s.SetValue(L"PlotTD1:Visible", true);
    s.SetValue(L"PlotTD1:Window rect", CWRect{30, 40, 930, 540});
  }
  RecallFrom<CWPlotCTDWndw>(RecallPlotTDSettings, *td, L"PlotTD1:", "move.txt");
  EXPECT_EQ(td->OffScreenBitmap().Width(), oldWidth) << "nothing laid out during the recall";
  Pump(20);
  const lv::Size client = td->Window()->ClientSize();
  EXPECT_EQ(td->OffScreenBitmap().Width(), client.cx - td->ToolbarWidth());
  EXPECT_EQ(td->OffScreenBitmap().Height(), client.cy);
  EXPECT_GT(td->OffScreenBitmap().Width(), oldWidth);

  // The persistence window too: its image takes the new size.
  auto pers = MakePers(lv::Rect{0, 0, 700, 500});
  SetShown(*pers->Window(), true);
  const int32_t oldImage = pers->ImageRect().right - pers->ImageRect().left;
  {
    CQAppSettings s;
    Fresh(s, "move2.txt");
    s.SetValue(L"PlotPersSpec1:Visible", true);
    s.SetValue(L"PlotPersSpec1:Window rect", CWRect{0, 0, 900, 600});
  }
  RecallFrom<CWPlotPersSpecWndw>(RecallPlotPersSpecSettings, *pers, L"PlotPersSpec1:", "move2.txt");
  Pump(20);
  EXPECT_EQ(pers->ImageRect().right - pers->ImageRect().left, oldImage + 200);
}

TEST_F(PlotKeys, AnEmptyPrefixFailsWithTheCallersName) {
  auto td = MakeTD();
  auto sa = MakeSA();
  auto pers = MakePers();
  auto spgm = MakeSpgm();
  CQAppSettings s;
  Fresh(s, "p.txt");
  const std::string header = Bytes("p.txt");
  struct Case {
    const char* caller;
    std::function<void()> call;
  };
  const std::vector<Case> cases = {
      {"CWUIPlotIQ::SaveSettings", [&] { SavePlotTDSettings(*td, L"", s, "CWUIPlotIQ::SaveSettings"); }},
      {"CWUIPlotIQ::RecallSettings", [&] { RecallPlotTDSettings(*td, L"", s, "CWUIPlotIQ::RecallSettings"); }},
      {"CWUIPlotSpectrum::SaveSettings",
       [&] { SavePlotSpectrumSettings(*sa, L"", s, "CWUIPlotSpectrum::SaveSettings"); }},
      {"CWUIPlotSpectrum::RecallSettings",
       [&] { RecallPlotSpectrumSettings(*sa, L"", s, "CWUIPlotSpectrum::RecallSettings"); }},
      {"CWUIPlotPersSpec::SaveSettings",
       [&] { SavePlotPersSpecSettings(*pers, L"", s, "CWUIPlotPersSpec::SaveSettings"); }},
      {"CWUIPlotPersSpec::RecallSettings",
       [&] { RecallPlotPersSpecSettings(*pers, L"", s, "CWUIPlotPersSpec::RecallSettings"); }},
      {"CWUIPlotSpgm::SaveSettings", [&] { SavePlotSpgmSettings(*spgm, L"", s, "CWUIPlotSpgm::SaveSettings"); }},
      {"CWUIPlotSpgm::RecallSettings",
       [&] { RecallPlotSpgmSettings(*spgm, L"", s, "CWUIPlotSpgm::RecallSettings"); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.caller);
    EXPECT_TRUE(lv_test::ThrowsError(c.call, "Programming error: Settings prefix string not set.",
                                     (std::string(c.caller) + "\n").c_str()));
    EXPECT_EQ(s.GetUseSection(), 0);
  }
  EXPECT_EQ(Bytes("p.txt"), header) << "nothing written";
  // Without a caller's name the call stack stays empty.
  const lv_test::CaughtError e = lv_test::Catch([&] { SavePlotTDSettings(*td, L"", s); });
  EXPECT_EQ(e.message, "Programming error: Settings prefix string not set.");
  EXPECT_EQ(e.callStack, "");
}

TEST_F(PlotKeys, AMissingFileFailsAndLeavesSectionModeOff) {
  auto spgm = MakeSpgm();
  SetShown(*spgm->Window(), true);
  CQAppSettings s;
  s.SetFileName(Path("absent.txt"));
  const lv_test::CaughtError e =
      lv_test::Catch([&] { RecallPlotSpgmSettings(*spgm, L"PlotSpgm1:", s, "CWUIPlotSpgm::RecallSettings"); });
  EXPECT_TRUE(e.thrown);
  EXPECT_EQ(e.message, "Error opening settings file.");
  ASSERT_GE(e.callStack.size(), std::string("CWUIPlotSpgm::RecallSettings\n").size());
  EXPECT_EQ(e.callStack.substr(e.callStack.size() - std::string("CWUIPlotSpgm::RecallSettings\n").size()),
            "CWUIPlotSpgm::RecallSettings\n");
  EXPECT_EQ(s.GetUseSection(), 0);
  EXPECT_TRUE(spgm->Window()->IsVisible());

  // A save into a folder that does not exist fails the same way.
  auto td = MakeTD();
  CQAppSettings w;
  w.SetFileName(Path("no/such/folder/s.txt"));
  const lv_test::CaughtError e2 =
      lv_test::Catch([&] { SavePlotTDSettings(*td, L"PlotTD1:", w, "CWUIPlotIQ::SaveSettings"); });
  EXPECT_TRUE(e2.thrown);
  EXPECT_NE(e2.callStack.find("CWUIPlotIQ::SaveSettings\n"), std::string::npos);
}

}  // namespace
}  // namespace lv_keys_test
