// The spectrum window's computation on known signals: the averaged spectrum in
// dBm, notations, marker on the frequency grid, and the ACPR and power-in-band
// measurements (the signal core's numbers, their blocks and texts), drawn by
// the real plot engine into images.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "core/arrays/carray.h"
#include "core/spectral/acpr.h"
#include "core/spectral/avg_spectrum.h"
#include "core/spectral/power_in_band.h"
#include "platform/gui/image_dc.h"
#include "platform/gui/recording_dc.h"
#include "plots/colors.h"
#include "plots/plot2d.h"
#include "platform/text.h"
#include "plots/windows/spectrum_model.h"
#include "support/errors.h"
#include "support/gui_app.h"

namespace {

constexpr double kRate = 10e6;
constexpr int kN = 1 << 16;

struct Tone {
  double freq;
  double amp;
};

std::unique_ptr<CQCArrayTD> Tones(std::initializer_list<Tone> tones, double centre = 0.0) {
  std::vector<CQComplex> v(kN);
  for (int k = 0; k < kN; ++k) {
    double re = 0.0, im = 0.0;
    for (const Tone& t : tones) {
      const double ph = 2.0 * M_PI * t.freq * k / kRate;
      re += t.amp * std::cos(ph);
      im += t.amp * std::sin(ph);
    }
    v[k] = CQComplex(static_cast<float>(re), static_cast<float>(im));
  }
  auto a = std::make_unique<CQCArrayTD>();
  a->Set(v.data(), kN, kRate, 0.0);
  a->SetCenterFreq(centre);
  return a;
}

// Noise confined to |f| < 1.5 MHz: a sum of many tones of random phase on a
// grid that avoids the segment bins.
std::unique_ptr<CQCArrayTD> BandNoise() {
  std::mt19937 gen(20261211);
  std::uniform_real_distribution<double> phase(0.0, 2.0 * M_PI);
  std::vector<double> ph(150);
  for (double& p : ph) p = phase(gen);
  std::vector<CQComplex> v(kN);
  for (int k = 0; k < kN; ++k) {
    double re = 0.0, im = 0.0;
    for (int j = 0; j < 150; ++j) {
      const double f = -1.49e6 + j * 20e3 + 3.3e3;
      const double a = 2.0 * M_PI * f * k / kRate + ph[j];
      re += 0.02 * std::cos(a);
      im += 0.02 * std::sin(a);
    }
    v[k] = CQComplex(static_cast<float>(re), static_cast<float>(im));
  }
  auto a = std::make_unique<CQCArrayTD>();
  a->Set(v.data(), kN, kRate, 0.0);
  return a;
}

// The plot engine with the spectrum window's overlay hook.
class SpectrumPlot : public CWPlot2D {
 public:
  CWSpectrumModel model;

 protected:
  void PaintOverlay(lv::DeviceContext& dc) override {
    model.PaintACPR(dc, *this);
    model.PaintPiB(dc, *this);
  }
};

// The window's steps for new data: copy, compute, hand to the plot.
void NewData(SpectrumPlot& p, const CQCArrayTD* input) {
  p.model.SetData(input);
  ASSERT_TRUE(p.model.ComputeSpectrum(p, L"Spectrum 1", nullptr));
  ASSERT_TRUE(p.model.BuildPlot(p));
}

// The signal core on its own, with the window's averaged-spectrum settings.
struct Reference {
  CQAvgSpectrum avg;
  explicit Reference(CQCArrayTD* input) {
    avg.SetAutoFreqLimits(true);
    avg.SetAutoNumFreqs(false);
    avg.SetNumFreqs(501);
    avg.SetAutoRBW(true);
    avg.SetAutoNumAvgs(true);
    avg.SetNumAvgs(100);
    avg.SetInputData(input);
    avg.Compute();
  }
};

TEST(SpectrumWindow, ToneOfKnownPowerPeaksAtThatPowerInDbm) {
  struct Case {
    double freq;
    double amp;
    double centre;
  };
  const Case cases[] = {{1e6, 0.5, 0.0}, {-2.2e6, 0.05, 0.0}, {1e6, 1.0, 2.4e9}, {0.0, 0.1, 915e6}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.freq) + " amp " + std::to_string(c.amp));
    SpectrumPlot p;
    auto input = Tones({{c.freq, c.amp}}, c.centre);
    NewData(p, input.get());
    const CQFArrayFD* s = p.model.Spectrum();
    ASSERT_EQ(s->GetNumPoints(), 501);
    int peak = 0;
    for (int i = 1; i < s->GetNumPoints(); ++i) {
      if (s->GetDataPtr()[i] > s->GetDataPtr()[peak]) peak = i;
    }
    const double expected = 10.0 * std::log10(c.amp * c.amp / 100.0) + 30.0;
    EXPECT_NEAR(s->GetDataPtr()[peak], expected, 0.1);
    // On the grid, the peak sits at the tone's absolute frequency.
    EXPECT_NEAR(p.DatasetX(1, peak), c.centre + c.freq, s->GetFreqStep());
    EXPECT_EQ(p.xAxisType, 2);
    EXPECT_EQ(p.yAxisType, 13);
    EXPECT_TRUE(p.xAutoScale);
    EXPECT_FALSE(p.xLog || p.yLog);
  }
}

TEST(SpectrumWindow, StartsWithItsAveragerSettingsAndFixedVerticalRange) {
  SpectrumPlot p;
  CWSpectrumModel::ConfigurePlot(p);
  EXPECT_FALSE(p.yAutoScale);
  EXPECT_EQ(p.yMin, -80.0);
  EXPECT_EQ(p.yMax, 20.0);
  CQAvgSpectrum& a = p.model.AvgSpectrum();
  EXPECT_TRUE(a.GetAutoFreqLimits());
  EXPECT_FALSE(a.GetAutoNumFreqs());
  EXPECT_EQ(a.GetNumFreqs(), 501);
  EXPECT_TRUE(a.GetAutoRBW());
  EXPECT_TRUE(a.GetAutoNumAvgs());
  EXPECT_EQ(a.GetNumAvgs(), 100);
  EXPECT_EQ(p.model.PiBBands().GetCapacity(), 2);
  EXPECT_EQ(p.model.PiBBands().GetSize(), 0);
  EXPECT_FALSE(p.model.acprOn || p.model.pibOn);
}

TEST(SpectrumWindow, Notations) {
  struct Case {
    double value;
    const wchar_t* rbw;
    const wchar_t* span;
  };
  const Case cases[] = {
      {999.0, L"RBW|999|Hz", L"Span|999|Hz"},
      {1500.0, L"RBW|1.5|kHz", L"Span|1.50|kHz"},
      {1e3, L"RBW|1.0|kHz", L"Span|1.00|kHz"},
      {25e6, L"RBW|25.0|MHz", L"Span|25.00|MHz"},
      {2.5e9, L"RBW|2.5|GHz", L"Span|2.50|GHz"},
      {0.0, L"RBW|0|Hz", L"Span|0|Hz"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(CWSpectrumModel::RBWNotation(c.value), c.rbw) << c.value;
    EXPECT_EQ(CWSpectrumModel::SpanNotation(c.value), c.span) << c.value;
  }
  SpectrumPlot p;
  auto input = Tones({{1e6, 0.5}});
  NewData(p, input.get());
  EXPECT_TRUE(p.topLeftNotationOn);
  EXPECT_TRUE(p.bottomLeftNotationOn);
  const CQFArrayFD* s = p.model.Spectrum();
  EXPECT_DOUBLE_EQ(s->GetRBW(), p.model.AvgSpectrum().GetActualRBW());
  EXPECT_NEAR(s->GetStopFreq() - s->GetStartFreq(), kRate, 1.0);
}

TEST(SpectrumWindow, EmptyInputKeepsTheLastWaveformAndResults) {
  SpectrumPlot p;
  auto input = Tones({{1e6, 0.5}});
  NewData(p, input.get());
  const float before = p.model.Spectrum()->GetDataPtr()[300];
  CQCArrayTD empty;
  p.model.SetData(&empty);
  p.model.SetData(nullptr);
  ASSERT_TRUE(p.model.ComputeSpectrum(p, L"Spectrum 1", nullptr));
  EXPECT_EQ(p.model.Input()->GetNumPoints(), kN);
  EXPECT_FLOAT_EQ(p.model.Spectrum()->GetDataPtr()[300], before);
  // Nothing to compute or draw before the first waveform.
  SpectrumPlot fresh;
  EXPECT_FALSE(fresh.model.ComputeSpectrum(fresh, L"x", nullptr));
  EXPECT_FALSE(fresh.model.BuildPlot(fresh));
}

TEST(SpectrumWindow, MarkerSnapsAndStepsOnTheFrequencyGrid) {
  SpectrumPlot p;
  auto input = Tones({{1e6, 0.5}});
  NewData(p, input.get());
  const CQFArrayFD* s = p.model.Spectrum();
  const double f0 = s->GetStartFreq();
  const double df = s->GetFreqStep();
  CWSampleMarker m;
  m.on = true;
  m.x = f0 + 300.4 * df;
  p.model.SnapMarker(m);
  EXPECT_TRUE(m.on);
  EXPECT_DOUBLE_EQ(m.x, f0 + 300 * df);
  EXPECT_EQ(m.value, s->GetDataPtr()[300]);
  ASSERT_TRUE(p.model.StepMarker(m, +1));
  EXPECT_DOUBLE_EQ(m.x, f0 + 301 * df);
  EXPECT_EQ(m.value, s->GetDataPtr()[301]);
  m.x = f0;
  ASSERT_TRUE(p.model.StepMarker(m, -1));
  EXPECT_DOUBLE_EQ(m.x, f0);
  m.x = f0 + 500 * df;
  ASSERT_TRUE(p.model.StepMarker(m, +1));
  EXPECT_DOUBLE_EQ(m.x, f0 + 500 * df);
  // Outside the grid: off. The computation snaps a marker it is given.
  m.x = f0 - df;
  p.model.SnapMarker(m);
  EXPECT_FALSE(m.on);
  m.on = true;
  m.x = f0 + 100.2 * df;
  ASSERT_TRUE(p.model.ComputeSpectrum(p, L"Spectrum 1", &m));
  EXPECT_DOUBLE_EQ(m.x, f0 + 100 * df);
  // Without a spectrum the marker stays as it was.
  SpectrumPlot fresh;
  m.x = 123.0;
  fresh.model.SnapMarker(m);
  EXPECT_TRUE(m.on);
  EXPECT_EQ(m.x, 123.0);
  EXPECT_FALSE(fresh.model.StepMarker(m, 1));
}

CQACPRMeasBands TestBands(bool adjacent2, bool extra) {
  CQACPRMeasBands b;
  b.centerOffset = 100e3;
  b.centerBW = 1e6;
  b.adjRelToCenter = true;
  b.adjacentOffset = 1.2e6;
  b.adjacentBW = 1e6;
  b.adjacent2On = adjacent2;
  b.adjacent2Offset = 2.4e6;
  b.adjacent2BW = 1e6;
  b.extraOn = extra;
  b.extraOffset = -3.5e6;
  b.extraBW = 200e3;
  return b;
}

TEST(SpectrumWindow, ACPRGivesTheSignalCoresNumbers) {
  // A strong tone in the centre channel, a weak one in the upper channel.
  auto input = Tones({{100e3, 0.5}, {1.3e6, 0.05}, {-2.3e6, 0.005}});
  SpectrumPlot p;
  p.model.SetData(input.get());
  p.model.ApplyACPR(p, true, TestBands(true, true));
  ASSERT_TRUE(p.model.ComputeSpectrum(p, L"Spectrum 3", nullptr));
  const CQACPRMeasBands& got = p.model.ACPRBands();

  auto copy = std::unique_ptr<CQCArrayTD>(input->MakeCopy());
  Reference ref(copy.get());
  CQACPRMeasBands want = TestBands(true, true);
  CQACPRMeasurement m;
  m.SetNoiseBW(ref.avg.GetNBW());
  m.SetSpectrum(ref.avg.GetSpectrum());
  m.SetBands(&want);
  m.Compute();

  ASSERT_TRUE(got.resultsValid);
  EXPECT_EQ(got.centerPowerAvg, want.centerPowerAvg);
  EXPECT_EQ(got.lowerPowerAvg, want.lowerPowerAvg);
  EXPECT_EQ(got.upperPowerAvg, want.upperPowerAvg);
  EXPECT_EQ(got.lower2PowerAvg, want.lower2PowerAvg);
  EXPECT_EQ(got.upper2PowerAvg, want.upper2PowerAvg);
  EXPECT_EQ(got.extraPowerAvg, want.extraPowerAvg);
  EXPECT_EQ(got.upperRatioAvg, want.upperRatioAvg);
  EXPECT_EQ(got.lower2RatioAvg, want.lower2RatioAvg);
  // And the numbers are the tones': 0.0025 W in the centre, -20 dB above,
  // -40 dB two channels below.
  EXPECT_NEAR(10.0 * std::log10(got.centerPowerAvg) + 30.0, 3.98, 0.1);
  EXPECT_NEAR(10.0 * std::log10(got.upperRatioAvg), -20.0, 0.2);
  EXPECT_NEAR(10.0 * std::log10(got.lower2RatioAvg), -40.0, 0.2);
  // The band set is named after the window.
  EXPECT_EQ(std::wstring(got.GetName()), L"Spectrum 3");

  // Blocks: centre, two adjacent, two adjacent-2 and the extra band, in the
  // plot's absolute frequencies.
  const CQFArrayFD* s = p.model.Spectrum();
  const double c = (s->GetStartFreq() + s->GetStopFreq()) / 2.0;
  const double r = c + 100e3;
  struct Block {
    double from, to;
    int pattern;
  };
  const Block blocks[] = {{r - 0.5e6, r + 0.5e6, 0},           {r - 1.2e6 - 0.5e6, r - 1.2e6 + 0.5e6, 1},
                          {r + 1.2e6 - 0.5e6, r + 1.2e6 + 0.5e6, 1}, {r - 2.4e6 - 0.5e6, r - 2.4e6 + 0.5e6, 2},
                          {r + 2.4e6 - 0.5e6, r + 2.4e6 + 0.5e6, 2}, {r - 3.5e6 - 0.1e6, r - 3.5e6 + 0.1e6, 3}};
  ASSERT_EQ(p.BackgroundBlocks().GetCount(), 6);
  for (int i = 0; i < 6; ++i) {
    const CWBackgroundBlock* b = p.BackgroundBlocks().GetItem(i);
    EXPECT_TRUE(b->on);
    EXPECT_NEAR(b->xStart, blocks[i].from, 1e-3) << i;
    EXPECT_NEAR(b->xEnd, blocks[i].to, 1e-3) << i;
    EXPECT_EQ(b->pattern, blocks[i].pattern);
    EXPECT_EQ(b->color, 6);
  }
  // Without relative offsets the side channels sit around the spectrum's middle.
  CQACPRMeasBands absolute = TestBands(false, false);
  absolute.adjRelToCenter = false;
  p.model.ApplyACPR(p, true, absolute);
  ASSERT_TRUE(p.model.ComputeSpectrum(p, L"Spectrum 3", nullptr));
  ASSERT_EQ(p.BackgroundBlocks().GetCount(), 3);
  EXPECT_NEAR(p.BackgroundBlocks().GetItem(2)->xStart, c + 1.2e6 - 0.5e6, 1e-3);
}

TEST(SpectrumWindow, ACPROfBandLimitedNoise) {
  auto input = BandNoise();
  SpectrumPlot p;
  p.model.SetData(input.get());
  p.model.ApplyACPR(p, true, CQACPRMeasBands());
  ASSERT_TRUE(p.model.ComputeSpectrum(p, L"Spectrum 1", nullptr));
  auto copy = std::unique_ptr<CQCArrayTD>(input->MakeCopy());
  Reference ref(copy.get());
  CQACPRMeasBands want;
  CQACPRMeasurement m;
  m.SetNoiseBW(ref.avg.GetNBW());
  m.SetSpectrum(ref.avg.GetSpectrum());
  m.SetBands(&want);
  m.Compute();
  EXPECT_EQ(p.model.ACPRBands().centerPowerAvg, want.centerPowerAvg);
  EXPECT_EQ(p.model.ACPRBands().lowerRatioAvg, want.lowerRatioAvg);
  EXPECT_EQ(p.model.ACPRBands().upperRatioAvg, want.upperRatioAvg);
  // 50 of the 150 tones fall in the 1 MHz centre channel: a third of the power.
  EXPECT_NEAR(p.model.ACPRBands().centerPowerAvg, 50 * 0.02 * 0.02 / 100.0, 50 * 0.02 * 0.02 / 100.0 * 0.1);
}

CQPiBMeasBandList* TwoBands(bool secondOn) {
  auto* list = new CQPiBMeasBandList(2);
  list->SetSize(2);
  CQPiBMeasBand* a = list->GetItem(0);
  a->on = true;
  a->freq = -1e6;
  a->bandwidth = 400e3;
  a->avgFactor = 1;
  CQPiBMeasBand* b = list->GetItem(1);
  b->on = secondOn;
  b->freq = 2e6;
  b->bandwidth = 600e3;
  b->avgFactor = 1;
  return list;
}

TEST(SpectrumWindow, PowerInBandGivesTheSignalCoresNumbers) {
  auto input = Tones({{-1e6, 0.3}, {2e6, 0.03}}, 100e6);
  SpectrumPlot p;
  p.model.SetData(input.get());
  std::unique_ptr<CQPiBMeasBandList> bands(TwoBands(true));
  p.model.ApplyPiB(p, true, *bands);
  ASSERT_TRUE(p.model.ComputeSpectrum(p, L"Spectrum 1", nullptr));

  auto copy = std::unique_ptr<CQCArrayTD>(input->MakeCopy());
  Reference ref(copy.get());
  std::unique_ptr<CQPiBMeasBandList> want(TwoBands(true));
  CQPiBMeasurement m;
  m.SetNoiseBW(ref.avg.GetNBW());
  m.SetSpectrum(ref.avg.GetSpectrum());
  m.SetBandList(want.get());
  m.Compute();
  for (int i = 0; i < 2; ++i) {
    CQPiBMeasBand* g = p.model.PiBBands().GetItem(i);
    ASSERT_TRUE(g->valid);
    EXPECT_EQ(g->powerdBm, want->GetItem(i)->powerdBm);
    EXPECT_EQ(g->spectrumMiddle, want->GetItem(i)->spectrumMiddle);
  }
  EXPECT_NEAR(p.model.PiBBands().GetItem(0)->powerdBm, 10.0 * std::log10(0.09 / 100.0) + 30.0, 0.1);
  EXPECT_NEAR(p.model.PiBBands().GetItem(1)->powerdBm, 10.0 * std::log10(0.0009 / 100.0) + 30.0, 0.1);
  ASSERT_EQ(p.BackgroundBlocks().GetCount(), 2);
  const double mid = p.model.PiBBands().GetItem(0)->spectrumMiddle;
  EXPECT_NEAR(mid, 100e6, 1.0);
  EXPECT_NEAR(p.BackgroundBlocks().GetItem(0)->xStart, mid - 1e6 - 200e3, 1e-3);
  EXPECT_EQ(p.BackgroundBlocks().GetItem(0)->color, 15);
  EXPECT_NEAR(p.BackgroundBlocks().GetItem(1)->xEnd, mid + 2e6 + 300e3, 1e-3);
  EXPECT_EQ(p.BackgroundBlocks().GetItem(1)->color, 17);
}

TEST(SpectrumWindow, MeasurementsExcludeEachOtherAndTurnOff) {
  auto input = Tones({{1e6, 0.5}});
  SpectrumPlot p;
  p.model.SetData(input.get());
  p.model.ApplyACPR(p, true, TestBands(false, false));
  EXPECT_EQ(p.bottomMargin, p.defaultBottomMargin + 36);
  ASSERT_TRUE(p.model.ComputeSpectrum(p, L"S", nullptr));
  EXPECT_EQ(p.BackgroundBlocks().GetCount(), 3);
  std::unique_ptr<CQPiBMeasBandList> bands(TwoBands(true));
  EXPECT_TRUE(lv_test::ThrowsError([&] { p.model.ApplyPiB(p, true, *bands); }, CWSpectrumModel::kPiBRefused));
  EXPECT_TRUE(p.model.acprOn);
  EXPECT_FALSE(p.model.pibOn);
  EXPECT_EQ(p.BackgroundBlocks().GetCount(), 3);
  // Off through its own dialog: no blocks, automatic margin, the dialog's
  // bands not kept.
  CQACPRMeasBands other = TestBands(true, false);
  other.centerBW = 5e3;
  p.model.ApplyACPR(p, false, other);
  EXPECT_EQ(p.BackgroundBlocks().GetCount(), 0);
  EXPECT_EQ(p.bottomMargin, -1);
  EXPECT_EQ(p.model.ACPRBands().centerBW, 1e6);
  // Now PiB may go on, and ACPR is refused.
  p.model.ApplyPiB(p, true, *bands);
  EXPECT_TRUE(lv_test::ThrowsError([&] { p.model.ApplyACPR(p, true, other); }, CWSpectrumModel::kACPRRefused));
  // Turning a measurement on clears its averaging; so does the reset command.
  ASSERT_TRUE(p.model.ComputeSpectrum(p, L"S", nullptr));
  EXPECT_TRUE(p.model.PiBBands().GetItem(0)->valid);
  p.model.ResetMeasurementAveraging();
  EXPECT_FALSE(p.model.PiBBands().GetItem(0)->valid);
  EXPECT_EQ(p.model.PiBBands().GetItem(0)->numAvgs, 0);
}

// The texts under the plot, in drawing order.
std::vector<std::pair<lv::Point, std::wstring>> Texts(SpectrumPlot& p, int w, int h) {
  lv::RecordingDc dc(lv::Size{w, h});
  p.drawRect = lv::Rect{0, 0, w, h};
  p.DrawAll(dc, false);
  std::vector<std::pair<lv::Point, std::wstring>> out;
  for (const lv::DcRecord& r : dc.Records()) {
    // The span notation stands left of the plot area.
    if (r.op == lv::DcOp::kTextOut && r.point.y >= h - 28 && r.point.x >= p.plotArea.left) {
      out.emplace_back(r.point, r.text);
    }
  }
  return out;
}

bool Has(const std::vector<std::pair<lv::Point, std::wstring>>& texts, const std::wstring& t) {
  for (const auto& [pt, s] : texts) {
    if (s == t) return true;
  }
  return false;
}

class SpectrumOverlay : public ::testing::Test {
 protected:
  void SetUp() override { lv_test::EnsureGuiApplication(); }
};

TEST_F(SpectrumOverlay, ACPRTextsFollowTheSwitches) {
  auto input = Tones({{100e3, 0.5}, {1.3e6, 0.05}});
  SpectrumPlot p;
  NewData(p, input.get());
  // Turned on, before the next computation: the labels only.
  p.model.ApplyACPR(p, true, TestBands(false, false));
  {
    const auto t = Texts(p, 800, 450);
    ASSERT_EQ(t.size(), 3u);
    EXPECT_EQ(t[0].second, L"Center");
    EXPECT_EQ(t[1].second, L"Lower");
    EXPECT_EQ(t[2].second, L"Upper");
    EXPECT_EQ(t[0].first.y, 450 - 28);
  }
  ASSERT_TRUE(p.model.ComputeSpectrum(p, L"S", nullptr));
  ASSERT_TRUE(p.model.BuildPlot(p));
  auto t = Texts(p, 800, 450);
  EXPECT_EQ(t.size(), 3u + 3u + 2u);
  EXPECT_FALSE(Has(t, L"Lower2"));
  EXPECT_TRUE(Has(t, L"4.0 dBm"));
  EXPECT_TRUE(Has(t, L"-20.0 dB"));
  const int32_t L = p.plotArea.left, R = p.plotArea.right;
  for (const auto& [pt, s] : t) {
    if (s == L"Center") {
      EXPECT_EQ(pt.x, (L + R) / 2);
    }
    if (s == L"Lower") {
      EXPECT_EQ(pt.x, L + (R - L) / 4);
    }
    if (s == L"Upper") {
      EXPECT_EQ(pt.x, L + 3 * (R - L) / 4);
    }
    if (s == L"-20.0 dB") {
      EXPECT_EQ(pt.x, L + 3 * (R - L) / 4);
      EXPECT_EQ(pt.y, 450 - 4);
    }
  }
  p.model.ApplyACPR(p, true, TestBands(true, true));
  ASSERT_TRUE(p.model.ComputeSpectrum(p, L"S", nullptr));
  t = Texts(p, 800, 450);
  EXPECT_EQ(t.size(), 5u + 5u + 4u);  // the extra band has no text
  EXPECT_TRUE(Has(t, L"Lower2"));
  EXPECT_TRUE(Has(t, L"Upper2"));
}

TEST_F(SpectrumOverlay, PowerInBandTextsAndDelta) {
  auto input = Tones({{-1e6, 0.3}, {2e6, 0.03}}, 2.4e9);
  SpectrumPlot p;
  p.model.SetData(input.get());
  std::unique_ptr<CQPiBMeasBandList> both(TwoBands(true));
  p.model.ApplyPiB(p, true, *both);
  ASSERT_TRUE(p.model.ComputeSpectrum(p, L"S", nullptr));
  ASSERT_TRUE(p.model.BuildPlot(p));
  auto t = Texts(p, 800, 450);
  EXPECT_TRUE(Has(t, L"CF 2.399000 GHz"));
  EXPECT_TRUE(Has(t, L"BW 400.0000 kHz"));
  EXPECT_TRUE(Has(t, L"CF 2.402000 GHz"));
  EXPECT_TRUE(Has(t, L"BW 600.0000 kHz"));
  const float p1 = p.model.PiBBands().GetItem(0)->powerdBm;
  const float p2 = p.model.PiBBands().GetItem(1)->powerdBm;
  EXPECT_NEAR(p1, -0.46, 0.1);
  EXPECT_NEAR(p2, -20.46, 0.1);
  EXPECT_TRUE(Has(t, lv::Utf8ToWide(lv::FormatC("%.1f dBm", static_cast<double>(p1)))));
  EXPECT_TRUE(Has(t, lv::Utf8ToWide(lv::FormatC("%.1f dBm", static_cast<double>(p2)))));
  for (const auto& [pt, s] : t) {
    if (s.rfind(L"CF 2.399", 0) == 0) {
      EXPECT_EQ(pt.x, p.plotArea.left);
      EXPECT_EQ(pt.y, 450 - 28);
    }
    if (s.rfind(L"BW 600", 0) == 0) {
      EXPECT_EQ(pt.x, p.plotArea.right);
      EXPECT_EQ(pt.y, 450 - 16);
    }
    if (s == L"Delta") {
      EXPECT_EQ(pt.x, (p.plotArea.left + p.plotArea.right) / 2);
    }
  }
  EXPECT_TRUE(Has(t, L"Delta"));
  EXPECT_TRUE(Has(t, L"20.0 dB"));
  EXPECT_EQ(t.size(), 8u);

  // Band 2 off: both bands' CF and BW, band 1's power, no delta.
  std::unique_ptr<CQPiBMeasBandList> one(TwoBands(false));
  p.model.ApplyPiB(p, true, *one);
  ASSERT_TRUE(p.model.ComputeSpectrum(p, L"S", nullptr));
  t = Texts(p, 800, 450);
  EXPECT_EQ(t.size(), 5u);
  EXPECT_FALSE(Has(t, L"Delta"));
  EXPECT_EQ(p.BackgroundBlocks().GetCount(), 1);

  // A list without bands: no text, no block.
  CQPiBMeasBandList none(2);
  p.model.ApplyPiB(p, true, none);
  ASSERT_TRUE(p.model.ComputeSpectrum(p, L"S", nullptr));
  EXPECT_TRUE(Texts(p, 800, 450).empty());
  EXPECT_EQ(p.BackgroundBlocks().GetCount(), 0);

  // A list of one band has nothing to take a difference with.
  CQPiBMeasBandList single(1);
  single.SetSize(1);
  single.GetItem(0)->on = true;
  single.GetItem(0)->bandwidth = 1e6;
  single.GetItem(0)->avgFactor = 1;
  p.model.ApplyPiB(p, true, single);
  ASSERT_TRUE(p.model.ComputeSpectrum(p, L"S", nullptr));
  t = Texts(p, 800, 450);
  EXPECT_EQ(t.size(), 3u);
  EXPECT_FALSE(Has(t, L"Delta"));
}

// Pixels of a palette colour in column x between the plot's top and bottom.
int ColourCount(const lv::Bitmap& bmp, int x, int top, int bottom, lv::Color c) {
  int n = 0;
  for (int y = top + 1; y < bottom; ++y) {
    if (bmp.Pixel(x, y) == c) ++n;
  }
  return n;
}

class SpectrumPictures : public ::testing::Test {
 protected:
  void SetUp() override { lv_test::EnsureGuiApplication(); }
};

TEST_F(SpectrumPictures, BandBlocksAreDrawnWhereTheBandsAre) {
  auto input = Tones({{100e3, 0.5}, {1.3e6, 0.05}, {-2.3e6, 0.005}});
  SpectrumPlot p;
  CWSpectrumModel::ConfigurePlot(p);
  p.model.SetData(input.get());
  p.model.ApplyACPR(p, true, TestBands(true, false));
  ASSERT_TRUE(p.model.ComputeSpectrum(p, L"Spectrum 1", nullptr));
  ASSERT_TRUE(p.model.BuildPlot(p));
  const int w = 1000, h = 560;
  lv::ImageDc dc(w, h, 0);
  p.drawRect = lv::Rect{0, 0, w, h};
  p.DrawAll(dc, false);
  const lv::Bitmap& bmp = dc.GetBitmap();
  ASSERT_TRUE(bmp.Save(lv_test::GalleryFolder("plots_windows") + "/spectrum_acpr_blocks_test.png"));
  const lv::Color hatch = CWColors::GetRGBColor(6);
  auto px = [&](double f) {
    int32_t x, y;
    bool inside;
    p.DataToPixel(f, 0.0, x, y, inside);
    return x;
  };
  const double r = (p.model.Spectrum()->GetStartFreq() + p.model.Spectrum()->GetStopFreq()) / 2.0 + 100e3;
  // Inside every band every column carries hatch pixels, but for a vertical
  // grid line or the trace drawn over it.
  for (double centre : {r, r - 1.2e6, r + 1.2e6, r - 2.4e6, r + 2.4e6}) {
    SCOPED_TRACE(centre);
    int columns = 0, hatched = 0;
    for (int x = px(centre - 0.45e6); x <= px(centre + 0.45e6); ++x) {
      ++columns;
      if (ColourCount(bmp, x, p.plotArea.top, p.plotArea.bottom, hatch) > 10) ++hatched;
    }
    EXPECT_GT(columns, 30);
    EXPECT_GE(hatched, columns - 2);
  }
  // Between the bands (0.6..0.7 MHz and -1.6..-1.8 MHz from r) and beyond
  // the outer bands: none.
  for (double gap : {r + 0.65e6, r - 0.65e6, r + 1.8e6, r - 1.8e6, r + 3.2e6, r - 3.2e6}) {
    for (int dx = -3; dx <= 3; ++dx) {
      EXPECT_EQ(ColourCount(bmp, px(gap) + dx, p.plotArea.top, p.plotArea.bottom, hatch), 0) << gap;
    }
  }
}

}  // namespace
