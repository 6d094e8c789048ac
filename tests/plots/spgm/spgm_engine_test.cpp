// The spectrogram engine and its bitmap: the colour mapping of a row against
// a plain model of the rule, the sizes and their errors, a silent waveform,
// and a chirp that must draw a diagonal (time upward, frequency to the right).
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

#include "core/arrays/carray.h"
#include "core/spectral/spectrogram.h"
#include "plots/color_map.h"
#include "plots/plot_spgm.h"
#include "plots/spgm_bitmap.h"
#include "plots/spgm/chirp.h"
#include "support/errors.h"

namespace {

// The colour entry of value v for the range lo .. hi, written out step by step
// the way the row is coloured: limit, shift, scale in single precision, then
// round the 0..1 fraction onto 0..255 by truncating after adding one half.
int ModelEntry(float v, float hi, float lo) {
  float w = v;
  if (w > hi) w = hi;
  if (w < lo) w = lo;
  w = w + (-lo);
  w = w * (1.0f / (hi - lo));
  if (w < 0.0f) w = 0.0f;
  if (w > 1.0f) w = 1.0f;
  return static_cast<int>(w * 255 + 0.5);
}

struct RangeCase {
  float lo, hi;
  int mapType;
};

const RangeCase kRanges[] = {
    {-50.0f, 10.0f, 0}, {-100.0f, 0.0f, 1}, {-200.0f, 30.0f, 4}, {-1.0f, 1.0f, 5}, {-80.5f, -79.0f, 2},
};

TEST(SpgmBitmap, RowColoursFollowThePlainModel) {
  std::mt19937 gen(20261211);
  std::printf("seed 20261211\n");
  for (const RangeCase& rc : kRanges) {
    SCOPED_TRACE(testing::Message() << "range " << rc.lo << " .. " << rc.hi << " map " << rc.mapType);
    CWColorMap map(rc.mapType);
    const int width = 517;
    CWBitmap bitmap;
    bitmap.SetSize(width, 3);
    std::uniform_real_distribution<float> dist(rc.lo - 20.0f, rc.hi + 20.0f);
    std::vector<float> values(width);
    for (float& v : values) v = dist(gen);
    // The edges and the half-way points between entries.
    values[0] = rc.lo;
    values[1] = rc.hi;
    values[2] = -200.0f;
    values[3] = 1e30f;
    const float step = (rc.hi - rc.lo) / 255.0f;
    for (int k = 0; k < 255 && 4 + k < width; ++k) values[4 + k] = rc.lo + (k + 0.5f) * step;
    const std::vector<float> before = values;
    bitmap.SetRow(1, values.data(), width, rc.hi, rc.lo, &map);
    EXPECT_EQ(values, before) << "the row handed in is not changed";
    for (int j = 0; j < width; ++j) {
      const lv::RgbQuad want = CWColorMap::ComputeColor(rc.mapType, ModelEntry(values[j], rc.hi, rc.lo));
      ASSERT_EQ(bitmap.GetPixel(1, j), want) << "column " << j << " value " << values[j];
      EXPECT_EQ(bitmap.GetPixel(0, j), lv::RgbQuad{}) << "other rows stay black";
      EXPECT_EQ(bitmap.GetPixel(2, j), lv::RgbQuad{});
    }
  }
}

TEST(SpgmBitmap, EdgeEntries) {
  struct Case {
    float value;
    int entry;
  };
  const Case cases[] = {{10.0f, 255}, {50.0f, 255}, {-50.0f, 0}, {-300.0f, 0}, {-20.0f, 128}};
  CWColorMap map(0);
  CWBitmap bitmap;
  bitmap.SetSize(static_cast<int>(std::size(cases)), 1);
  std::vector<float> row;
  for (const Case& c : cases) row.push_back(c.value);
  bitmap.SetRow(0, row.data(), static_cast<int>(row.size()), 10.0f, -50.0f, &map);
  for (size_t j = 0; j < std::size(cases); ++j) {
    EXPECT_EQ(bitmap.GetPixel(0, static_cast<int>(j)), CWColorMap::ComputeColor(0, cases[j].entry))
        << cases[j].value << " dBm";
  }
}

TEST(SpgmBitmap, SizesHeaderAndErrors) {
  CWBitmap bitmap;
  EXPECT_EQ(bitmap.GetWidth(), 0);
  EXPECT_EQ(bitmap.GetPixels(), nullptr);
  EXPECT_EQ(bitmap.GetHeader().bitCount, 32);
  EXPECT_EQ(bitmap.GetHeader().planes, 1);
  EXPECT_NO_THROW(bitmap.ResetContent());

  bitmap.SetSize(7, 5);
  EXPECT_EQ(bitmap.GetHeader().width, 7);
  EXPECT_EQ(bitmap.GetHeader().height, 5) << "positive: bottom-up rows";
  EXPECT_EQ(bitmap.GetHeader().xPelsPerMeter, 96);

  for (const auto& [w, h] : std::vector<std::pair<int, int>>{{0, 5}, {-3, 5}, {7, 0}, {7, -1}}) {
    EXPECT_TRUE(lv_test::ThrowsError([&] { bitmap.SetSize(w, h); }, "Invalid number of rows.", "CWBitmap::SetSize\n"))
        << w << " x " << h;
  }

  CWColorMap map;
  std::vector<float> row(7, 0.0f);
  struct Bad {
    int r;
    const float* v;
    int n;
    CWColorMap* m;
    const char* message;
  };
  const Bad bad[] = {
      {-1, row.data(), 7, &map, "Invalid row index."},
      {5, row.data(), 7, &map, "Invalid row index."},
      {0, nullptr, 7, &map, "Null pointer to row data."},
      {0, row.data(), 6, &map, "Invalid number of points."},
      {0, row.data(), 7, nullptr, "Null pointer to color map."},
  };
  for (const Bad& b : bad) {
    EXPECT_TRUE(lv_test::ThrowsError([&] { bitmap.SetRow(b.r, b.v, b.n, 10.0f, -50.0f, b.m); }, b.message,
                                     "CWBitmap::SetRow\n"));
  }
}

TEST(SpgmBitmap, SameSizeKeepsPixelsNewSizeBlanks) {
  CWColorMap map(1);
  CWBitmap bitmap;
  bitmap.SetSize(4, 2);
  std::vector<float> row(4, 100.0f);
  bitmap.SetRow(0, row.data(), 4, 0.0f, -10.0f, &map);
  bitmap.SetSize(4, 2);
  EXPECT_EQ(bitmap.GetPixel(0, 3).red, 255);
  bitmap.ResetContent();
  EXPECT_EQ(bitmap.GetPixel(0, 3), lv::RgbQuad{});
  bitmap.SetRow(0, row.data(), 4, 0.0f, -10.0f, &map);
  bitmap.SetSize(3, 2);
  EXPECT_EQ(bitmap.GetPixel(0, 2), lv::RgbQuad{});
}

// ---- The engine ------------------------------------------------------------

TEST(SpgmEngine, Defaults) {
  CWPlotSpgm e;
  EXPECT_TRUE(e.autoFreqRange);
  EXPECT_TRUE(e.autoRBW);
  EXPECT_FALSE(e.computed);
  EXPECT_FALSE(e.drawn);
  EXPECT_TRUE(e.oneSampleStep);
  EXPECT_EQ(e.minPower, -50.0f);
  EXPECT_EQ(e.maxPower, 10.0f);
  EXPECT_EQ(e.timeRange, 1e-4);
  EXPECT_EQ(e.rbw, 10000.0);
  EXPECT_EQ(e.windowShape, 7);
  EXPECT_EQ(e.GetColorMap().GetType(), 0);
  EXPECT_EQ(e.GetBitmap().GetWidth(), 0);
  EXPECT_EQ(e.GetSpectrogram().GetDSPWindowShape(), 7);
}

TEST(SpgmEngine, ErrorsOfTheInterface) {
  CWPlotSpgm e;
  EXPECT_TRUE(lv_test::ThrowsError([&] { e.SetNumPoints(0, 10); }, "Invalid number of time points.",
                                   "CWPlotSpgm::SetNumPoints\n"));
  EXPECT_TRUE(lv_test::ThrowsError([&] { e.SetNumPoints(10, -1); }, "Invalid number of frequency points.",
                                   "CWPlotSpgm::SetNumPoints\n"));
  const lv_test::CaughtError null = lv_test::Catch([&] { e.SetInputData(nullptr); });
  EXPECT_EQ(null.code, 3);
  EXPECT_EQ(null.callStack, "CWPlotSpgm::SetInputData\n");
  // Without input, compute and draw do nothing.
  e.SetNumPoints(10, 10);
  EXPECT_NO_THROW(e.ComputeSpgm());
  EXPECT_FALSE(e.computed);
  EXPECT_NO_THROW(e.DrawSpgm());
  EXPECT_FALSE(e.drawn);
}

std::unique_ptr<CQCArrayTD> Silent(int n, double rate) {
  auto a = std::make_unique<CQCArrayTD>(n);
  a->SetSampleRate(rate);
  return a;
}

TEST(SpgmEngine, SilentInputTakesTheFirstColourEverywhere) {
  CWPlotSpgm e;
  e.SetNumPoints(20, 30);
  auto in = Silent(4000, 1e6);
  e.SetInputData(in.get());
  e.ComputeSpgm();
  ASSERT_TRUE(e.computed);
  e.DrawSpgm();
  ASSERT_TRUE(e.drawn);
  const lv::RgbQuad first = e.GetColorMap().GetColorArray()[0];
  for (int r = 0; r < 20; ++r) {
    for (int c = 0; c < 30; ++c) ASSERT_EQ(e.GetBitmap().GetPixel(r, c), first);
  }
}

TEST(SpgmEngine, AutomaticRangesFollowTheInput) {
  struct Case {
    double bandwidth;
    bool valid;
    double start, stop;
  };
  const Case cases[] = {{0.0, true, -5e5, 5e5}, {2e5, true, -1e5, 1e5}, {0.0, false, 0.0, 5e5}};
  for (const Case& c : cases) {
    CWPlotSpgm e;
    e.SetNumPoints(10, 16);
    auto in = Silent(3000, 1e6);
    in->SetBandwidth(c.bandwidth);
    in->SetValid(c.valid);
    in->SetCenterFreq(2.4e9);
    e.SetInputData(in.get());
    e.ComputeSpgm();
    EXPECT_EQ(e.startFreq, c.start);
    EXPECT_EQ(e.stopFreq, c.stop);
    EXPECT_EQ(e.rbw, 2500.0);
    EXPECT_EQ(e.centerFreq, 2.4e9);
    EXPECT_EQ(e.GetSpectrogram().GetStartFreq(), c.start);
  }
}

TEST(SpgmEngine, SizeChangeNeedsANewComputation) {
  CWPlotSpgm e;
  e.SetNumPoints(10, 16);
  auto in = Silent(3000, 1e6);
  e.SetInputData(in.get());
  e.ComputeSpgm();
  e.DrawSpgm();
  e.SetNumPoints(10, 16);
  EXPECT_TRUE(e.computed) << "the same size keeps the computation";
  EXPECT_EQ(e.GetBitmap().GetPixel(0, 0), e.GetColorMap().GetColorArray()[0]);
  e.SetNumPoints(11, 16);
  EXPECT_FALSE(e.computed);
  EXPECT_EQ(e.GetBitmap().GetHeight(), 11);
  EXPECT_EQ(e.GetBitmap().GetWidth(), 16);
  EXPECT_EQ(e.GetSpectrogram().GetNumRows(), 11);
  e.DrawSpgm();  // nothing before a new computation
  EXPECT_EQ(e.GetBitmap().GetPixel(0, 0), lv::RgbQuad{});
}

// The column holding the brightest pixel of a row of a grey-scale image.
int BrightestColumn(const CWBitmap& b, int row) {
  int best = 0;
  for (int c = 1; c < b.GetWidth(); ++c) {
    if (b.GetPixel(row, c).red > b.GetPixel(row, best).red) best = c;
  }
  return best;
}

TEST(SpgmEngine, ChirpDrawsADiagonal) {
  const int n = 200000;
  const double rate = 1e6, f0 = -4e5, f1 = 4e5;
  auto chirp = spgm_test::MakeChirp(n, rate, f0, f1);
  CWPlotSpgm e;
  e.GetColorMap().SetType(1);  // grey: the red byte is the entry
  ASSERT_EQ(CWColorMap::ComputeColor(1, 200).red, 200);
  e.SetNumPoints(100, 161);
  e.oneSampleStep = false;
  e.timeRange = 0.19;
  e.minPower = -100.0f;
  e.maxPower = 60.0f;
  e.SetInputData(chirp.get());
  e.ComputeSpgm();
  e.DrawSpgm();
  const CQAltTDSpgm& s = e.GetSpectrogram();
  ASSERT_EQ(s.GetNumRows(), 100);
  const double binHz = (e.stopFreq - e.startFreq) / (161 - 1);
  for (int row : {5, 50, 94}) {
    const double t = e.startTime + row * (e.stopTime - e.startTime) / 99;
    const double f = spgm_test::ChirpFreqAt(t, n, rate, f0, f1);
    const int want = static_cast<int>(std::lround((f - e.startFreq) / binHz));
    EXPECT_NEAR(BrightestColumn(e.GetBitmap(), row), want, 2) << "row " << row << " at " << t << " s";
  }
  // Later rows sit further right: the diagonal rises to the right.
  EXPECT_LT(BrightestColumn(e.GetBitmap(), 5), BrightestColumn(e.GetBitmap(), 50));
  EXPECT_LT(BrightestColumn(e.GetBitmap(), 50), BrightestColumn(e.GetBitmap(), 94));
}

TEST(SpgmEngine, NewPowerRangeOrMapRecoloursWithoutComputing) {
  const int n = 20000;
  auto chirp = spgm_test::MakeChirp(n, 1e6, -2e5, 2e5);
  CWPlotSpgm e;
  e.SetNumPoints(20, 40);
  e.oneSampleStep = false;
  e.timeRange = 0.015;
  e.SetInputData(chirp.get());
  e.ComputeSpgm();
  e.DrawSpgm();
  const lv::RgbQuad before = e.GetBitmap().GetPixel(10, 20);
  e.GetColorMap().SetType(1);
  e.minPower = -300.0f;
  e.maxPower = 300.0f;
  e.DrawSpgm();
  const lv::RgbQuad after = e.GetBitmap().GetPixel(10, 20);
  EXPECT_NE(before, after);
  EXPECT_EQ(after.red, after.green);
  EXPECT_EQ(after.green, after.blue);
}

}  // namespace
