// The time-domain window's plot types, marker and memories on known
// waveforms (a tone and a chirp), drawn into the real plot engine.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

#include "core/arrays/carray.h"
#include "plots/plot2d.h"
#include "plots/windows/sample_marker.h"
#include "plots/windows/time_domain_model.h"
#include "support/errors.h"

namespace {

constexpr double kRate = 10e6;
constexpr double kTone = 1e6;
constexpr float kAmp = 0.5f;
constexpr int kN = 1000;

// A complex tone of amplitude kAmp at kTone, or a linear chirp from -2 MHz
// to +2 MHz over kN samples.
std::unique_ptr<CQCArrayTD> Tone(double origin = 0.0) {
  std::vector<CQComplex> v(kN);
  for (int k = 0; k < kN; ++k) {
    const double ph = 2.0 * M_PI * kTone * k / kRate;
    v[k] = CQComplex(static_cast<float>(kAmp * std::cos(ph)), static_cast<float>(kAmp * std::sin(ph)));
  }
  auto a = std::make_unique<CQCArrayTD>();
  a->Set(v.data(), kN, kRate, origin);
  return a;
}

constexpr double kChirpStart = -2e6;
constexpr double kChirpSlope = 4e6 / (kN / kRate);  // Hz per second

std::unique_ptr<CQCArrayTD> Chirp() {
  std::vector<CQComplex> v(kN);
  for (int k = 0; k < kN; ++k) {
    const double t = k / kRate;
    const double ph = 2.0 * M_PI * (kChirpStart * t + 0.5 * kChirpSlope * t * t);
    v[k] = CQComplex(static_cast<float>(std::cos(ph)), static_cast<float>(std::sin(ph)));
  }
  auto a = std::make_unique<CQCArrayTD>();
  a->Set(v.data(), kN, kRate, 0.0);
  return a;
}

struct Built {
  CWPlot2D plot;
  CWTimeDomainModel model;
};

void Build(Built& b, const CQCArrayTD* input, int type, bool iq = true) {
  b.model.iqNaming = iq;
  b.model.plotType = type;
  b.model.SetData(input);
  ASSERT_TRUE(b.model.BuildDatasets(b.plot));
}

TEST(TimeDomainPlotTypes, AxesDatasetsAndLabelsOfEveryType) {
  struct Case {
    int type;
    bool iq;
    int datasets;
    int xType;
    int yType;
    bool legend;
    const wchar_t* text;
  };
  const Case cases[] = {
      {0, true, 1, 0, 13, false, L"Log Mag vs Time"},
      {1, true, 1, 0, 14, false, L"Phase vs Time"},
      {2, true, 1, 0, 14, false, L"Unwrapped Phase vs Time"},
      {3, true, 1, 0, 2, false, L"Deriv Unwrapped Phase vs Time"},
      {4, true, 1, 6, 7, false, L"Q vs I"},
      {5, true, 2, 0, 10, true, L"I && Q vs Time"},
      {4, false, 1, 8, 9, false, L"Imaginary vs Real"},
      {5, false, 2, 0, 10, true, L"Real && Imaginary vs Time"},
  };
  const auto tone = Tone(2e-3);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.type);
    Built b;
    b.plot.xLog = b.plot.yLog = true;
    Build(b, tone.get(), c.type, c.iq);
    EXPECT_EQ(CWTimeDomainModel::PlotTypeText(c.type, c.iq), c.text);
    EXPECT_EQ(b.plot.numDatasets, c.datasets);
    EXPECT_EQ(b.plot.xAxisType, c.xType);
    EXPECT_EQ(b.plot.yAxisType, c.yType);
    EXPECT_EQ(b.plot.legendOn, c.legend);
    EXPECT_FALSE(b.plot.xLog);
    EXPECT_FALSE(b.plot.yLog);
    EXPECT_EQ(b.plot.GetPointCount(1), kN);
    EXPECT_DOUBLE_EQ(b.model.timeOrigin, 2e-3);
    EXPECT_DOUBLE_EQ(b.model.sampleInterval, 1.0 / kRate);
    if (c.type != 4) {
      // Times: origin + i / rate.
      EXPECT_DOUBLE_EQ(b.plot.DatasetX(1, 0), 2e-3);
      EXPECT_NEAR(b.plot.DatasetX(1, 500), 2e-3 + 500 / kRate, 1e-15);
    }
  }
  EXPECT_EQ(CWTimeDomainModel::PlotTypeText(6, true), L"");
}

TEST(TimeDomainPlotTypes, ToneCurves) {
  const auto tone = Tone();
  const double dBm = 20.0 * std::log10(kAmp) + 10.0;  // |x|^2 / 100 W
  Built mag, phase, unwrapped, deriv, qi, iq;
  Build(mag, tone.get(), 0);
  Build(phase, tone.get(), 1);
  Build(unwrapped, tone.get(), 2);
  Build(deriv, tone.get(), 3);
  Build(qi, tone.get(), 4);
  Build(iq, tone.get(), 5);
  for (int k = 0; k < kN; ++k) {
    SCOPED_TRACE(k);
    EXPECT_NEAR(mag.plot.DatasetY(1, k), dBm, 1e-3);
    // The phase advances 36 degrees a sample: wrapped into (-180, 180].
    double expected = std::remainder(36.0 * k, 360.0);
    if (expected <= -180.0) expected += 360.0;
    const double got = phase.plot.DatasetY(1, k);
    EXPECT_NEAR(std::remainder(got - expected, 360.0), 0.0, 2e-3);
    EXPECT_NEAR(unwrapped.plot.DatasetY(1, k), 36.0 * k, 36.0 * k * 1e-5 + 2e-3);
    if (k > 0) {
      EXPECT_NEAR(deriv.plot.DatasetY(1, k), kTone, kTone * 1e-4);  // flat at 1 MHz
    }
    // Q vs I: a circle of the tone's amplitude.
    EXPECT_NEAR(std::hypot(qi.plot.DatasetX(1, k), qi.plot.DatasetY(1, k)), kAmp, 1e-6);
    EXPECT_FLOAT_EQ(static_cast<float>(qi.plot.DatasetX(1, k)), tone->GetDataPtr()[k].re);
    EXPECT_FLOAT_EQ(static_cast<float>(iq.plot.DatasetY(1, k)), tone->GetDataPtr()[k].re);
    EXPECT_FLOAT_EQ(static_cast<float>(iq.plot.DatasetY(2, k)), tone->GetDataPtr()[k].im);
  }
  EXPECT_EQ(iq.plot.GetPointCount(2), kN);
}

TEST(TimeDomainPlotTypes, ChirpFrequencyRampsLinearly) {
  const auto chirp = Chirp();
  Built deriv;
  Build(deriv, chirp.get(), 3);
  for (int k = 0; k + 1 < kN; ++k) {
    // The difference to the next sample: the frequency half a sample later.
    const double f = kChirpStart + kChirpSlope * (k + 0.5) / kRate;
    EXPECT_NEAR(deriv.plot.DatasetY(1, k), f, 2e3) << k;
  }
  Built qi;
  Build(qi, chirp.get(), 4);
  EXPECT_NEAR(std::hypot(qi.plot.DatasetX(1, 123), qi.plot.DatasetY(1, 123)), 1.0, 1e-6);
}

TEST(TimeDomainPlotTypes, NothingIsBuiltWithoutInputOrForAnUnknownType) {
  Built b;
  EXPECT_FALSE(b.model.BuildDatasets(b.plot));
  const auto tone = Tone();
  b.model.SetData(tone.get());
  EXPECT_EQ(b.model.inputCount, 1);
  for (int type : {-1, 6, 99}) {
    b.model.plotType = type;
    EXPECT_FALSE(b.model.BuildDatasets(b.plot));
    EXPECT_EQ(b.plot.GetPointCount(1), 0);
  }
  // An empty or absent input leaves the window without input: no error.
  CQCArrayTD empty;
  b.model.SetData(&empty);
  EXPECT_EQ(b.model.inputCount, 0);
  b.model.SetData(nullptr);
  EXPECT_EQ(b.model.inputCount, 0);
  b.model.plotType = 0;
  EXPECT_FALSE(b.model.BuildDatasets(b.plot));
  // The copy does not follow the caller's array.
  auto source = Tone();
  b.model.SetData(source.get());
  source->GetDataPtr()[3] = CQComplex(9.0f, 9.0f);
  EXPECT_EQ(b.model.Input()->GetDataPtr()[3], Tone()->GetDataPtr()[3]);
}

TEST(TimeDomainMarker, SnapsToSamplesAndStepsWithoutWrapping) {
  const auto tone = Tone(1e-3);
  const double dt = 1.0 / kRate;
  struct Case {
    double x;       // where the marker was placed
    bool on;        // after snapping
    int64_t index;  // the sample it landed on
  };
  const Case cases[] = {
      {1e-3, true, 0},
      {1e-3 + 10.4 * dt, true, 10},
      {1e-3 + 10.5 * dt, true, 11},  // half rounds away from zero
      {1e-3 - 0.4 * dt, true, 0},
      {1e-3 - 0.6 * dt, false, 0},
      {1e-3 + (kN - 1) * dt, true, kN - 1},
      {1e-3 + (kN - 0.3) * dt, false, 0},
      {1e9, false, 0},
      {-1e300, false, 0},
  };
  for (int type : {0, 1, 2, 3, 5}) {
    Built b;
    Build(b, tone.get(), type);
    for (const Case& c : cases) {
      SCOPED_TRACE(std::to_string(type) + " at " + std::to_string(c.x));
      CWSampleMarker m;
      m.on = true;
      m.x = c.x;
      b.model.SnapMarker(b.plot, m);
      ASSERT_EQ(m.on, c.on);
      if (!c.on) continue;
      EXPECT_DOUBLE_EQ(m.x, 1e-3 + c.index * dt);
      EXPECT_EQ(m.value, b.plot.DatasetY(1, static_cast<int32_t>(c.index)));
      EXPECT_EQ(m.twoValues, type == 5);
      if (type == 5) {
        EXPECT_EQ(m.first, tone->GetDataPtr()[c.index].re);
        EXPECT_EQ(m.second, tone->GetDataPtr()[c.index].im);
      }
    }
    // Steps: left from the first sample stays there, right from the last too.
    CWSampleMarker m;
    m.on = true;
    m.x = 1e-3 + 1 * dt;
    ASSERT_TRUE(b.model.StepMarker(b.plot, m, -1));
    EXPECT_DOUBLE_EQ(m.x, 1e-3);
    ASSERT_TRUE(b.model.StepMarker(b.plot, m, -1));
    EXPECT_DOUBLE_EQ(m.x, 1e-3);
    m.x = 1e-3 + (kN - 2) * dt;
    ASSERT_TRUE(b.model.StepMarker(b.plot, m, +1));
    EXPECT_DOUBLE_EQ(m.x, 1e-3 + (kN - 1) * dt);
    EXPECT_EQ(m.value, b.plot.DatasetY(1, kN - 1));
    ASSERT_TRUE(b.model.StepMarker(b.plot, m, +1));
    EXPECT_DOUBLE_EQ(m.x, 1e-3 + (kN - 1) * dt);
  }
}

TEST(TimeDomainMarker, QVersusIAndEmptyPlotsTurnTheMarkerOff) {
  const auto tone = Tone();
  Built b;
  Build(b, tone.get(), 4);
  CWSampleMarker m;
  m.on = true;
  m.x = 5.0 / kRate;
  b.model.SnapMarker(b.plot, m);
  EXPECT_FALSE(m.on);
  // Off stays off.
  b.model.SnapMarker(b.plot, m);
  EXPECT_FALSE(m.on);
  Built empty;
  m.on = true;
  empty.model.SnapMarker(empty.plot, m);
  EXPECT_FALSE(m.on);
  EXPECT_FALSE(empty.model.StepMarker(empty.plot, m, 1));
}

TEST(TimeDomainMemories, FollowThePlotType) {
  const auto tone = Tone();
  for (int type = 0; type <= 5; ++type) {
    SCOPED_TRACE(type);
    Built b;
    Build(b, tone.get(), type);
    EXPECT_TRUE(b.model.SaveMemory1(b.plot));
    EXPECT_TRUE(b.plot.memoryShown[0]);
    EXPECT_EQ(b.plot.GetMemoryPointCount(1), kN);
    EXPECT_EQ(b.plot.MemoryY(1, 7), b.plot.DatasetY(1, 7));
    if (type == 5) {
      // Memory 1 holds I, memory 2 Q; "Save to Memory 2" does nothing here.
      EXPECT_TRUE(b.plot.memoryShown[1]);
      EXPECT_EQ(b.plot.MemoryY(2, 7), b.plot.DatasetY(2, 7));
      Built other;
      Build(other, tone.get(), 5);
      EXPECT_FALSE(other.model.SaveMemory2(other.plot));
      EXPECT_EQ(other.plot.GetMemoryPointCount(2), 0);
      EXPECT_FALSE(other.plot.memoryShown[1]);
    } else {
      EXPECT_FALSE(b.plot.memoryShown[1]);
      EXPECT_TRUE(b.model.SaveMemory2(b.plot));
      EXPECT_TRUE(b.plot.memoryShown[1]);
      EXPECT_EQ(b.plot.MemoryY(2, 9), b.plot.DatasetY(1, 9));
    }
  }
  Built b;
  Build(b, tone.get(), 0);
  b.model.plotType = 7;
  EXPECT_FALSE(b.model.SaveMemory1(b.plot));
  EXPECT_FALSE(b.model.SaveMemory2(b.plot));
}

TEST(SampleMarkerGrid, RoundsHalfAwayFromZeroAndSaturates) {
  EXPECT_EQ(NearestGridIndex(2.5, 0.0, 1.0), 3);
  EXPECT_EQ(NearestGridIndex(-2.5, 0.0, 1.0), -3);
  EXPECT_EQ(NearestGridIndex(2.4999, 0.0, 1.0), 2);
  EXPECT_EQ(NearestGridIndex(1e300, 0.0, 1.0), INT64_MAX);
  EXPECT_EQ(NearestGridIndex(-1e300, 0.0, 1.0), INT64_MIN);
  EXPECT_EQ(NearestGridIndex(std::nan(""), 0.0, 1.0), INT64_MIN);
  EXPECT_EQ(SteppedGridIndex(1e300, 0.0, 1.0, 1, 10), 9);
  EXPECT_EQ(SteppedGridIndex(-1e300, 0.0, 1.0, -1, 10), 0);
  EXPECT_EQ(SteppedGridIndex(4.0, 0.0, 1.0, 1, 10), 5);
}

}  // namespace
