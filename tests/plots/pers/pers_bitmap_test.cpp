// The persistence bitmap against a plain model of its rules (fading, the rows
// of a trace, the joined trace, accumulation, colour indices, recolouring and
// the overlay) in every processor class, its settling and fading figures, and
// the persistence plot that feeds it spectra and paints it.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <random>
#include <vector>

#include "core/arrays/farray_fd.h"
#include "platform/gui/image_dc.h"
#include "plots/color_map.h"
#include "plots/pers_bitmap.h"
#include "plots/plot_pers_spec.h"
#include "support/class_fixture.h"
#include "support/errors.h"

namespace {

// The rules of the bitmap written plainly, one cell at a time.
struct Model {
  int32_t cols, rows;
  float decay;
  bool overlay, connect;
  std::vector<float> intensity;
  std::vector<int16_t> index;
  std::vector<int32_t> hit;
  std::vector<uint32_t> pixels;

  Model(int32_t c, int32_t r, float d, bool o, bool cp)
      : cols(c), rows(r), decay(d), overlay(o), connect(cp), intensity(size_t(c) * r, 0.0f),
        index(size_t(c) * r, 0), hit(size_t(c) * r, 0), pixels(size_t(c) * r, 0) {}

  static int32_t RoundEven(float v) {
    const double r = std::nearbyint(static_cast<double>(v));
    if (r >= 2147483647.0) return INT32_MAX;
    if (r <= -2147483648.0) return INT32_MIN;
    return static_cast<int32_t>(r);
  }

  void Mark(int32_t x, int32_t y) { hit[size_t(y) * cols + x] = 1; }

  void Add(const std::vector<float>& v, float top, float bottom) {
    for (float& i : intensity) i = i + (-decay);
    std::vector<int32_t> row(cols);
    const float scale = static_cast<float>(rows - 1) / (top - bottom);
    for (int32_t c = 0; c < cols; ++c) {
      int32_t r = RoundEven((v[c] + (-bottom)) * scale + 0.5f);
      row[c] = r > rows - 1 ? rows - 1 : (r < 0 ? 0 : r);
    }
    std::fill(hit.begin(), hit.end(), 0);
    if (!connect) {
      for (int32_t c = 0; c < cols; ++c) Mark(c, row[c]);
    } else {
      // Column x takes the first ceil(D/2) rows of the way to the next point,
      // column x + 1 the rest.
      for (int32_t x = 0; x + 1 < cols; ++x) {
        const int32_t d = std::abs(row[x + 1] - row[x]);
        const int32_t s = row[x + 1] >= row[x] ? 1 : -1;
        const int32_t half = (d + 1) / 2;
        for (int32_t k = 0; k <= d; ++k) {
          Mark(d == 0 || k < half ? x : x + 1, row[x] + s * k);
        }
        if (d == 0) Mark(x + 1, row[x]);
      }
    }
    const float g = (1.0f / 150.0f) * 255.0f;
    for (size_t i = 0; i < intensity.size(); ++i) {
      const float w = (intensity[i] * (-1.0f / 255.0f) + 1.0f) * g * static_cast<float>(hit[i]);
      float n = intensity[i] + w;
      n = n > 0.0f ? n : 0.0f;
      n = n < 255.0f ? n : 255.0f;
      intensity[i] = n;
      index[i] = static_cast<int16_t>(RoundEven(n));
    }
    CWColorMap map(5);
    for (size_t i = 0; i < pixels.size(); ++i) {
      const lv::RgbQuad q = CWColorMap::ComputeColor(5, index[i] & 0xFF);
      pixels[i] = overlay && hit[i] ? 0x00FFFF00u : (uint32_t(q.blue) | uint32_t(q.green) << 8 | uint32_t(q.red) << 16);
    }
  }
};

struct RuleCase {
  const char* name;
  int32_t cols, rows;
  int32_t type;  // persistence type
  bool overlay, connect;
  float top, bottom;
  float spread;  // trace values from bottom - spread .. top + spread
};

const RuleCase kRuleCases[] = {
    {"medium, overlay, joined", 101, 201, 2, true, true, -30.0f, -130.0f, 10.0f},
    {"infinite, no overlay", 64, 50, 0, false, true, 0.0f, -100.0f, 0.0f},
    {"fast, points only", 37, 90, 3, true, false, -10.0f, -70.0f, 20.0f},
    {"slow, steep traces", 300, 17, 1, true, true, 10.0f, -150.0f, 60.0f},
    {"two columns", 2, 400, 2, false, true, 0.0f, -1.0f, 0.5f},
};

class PersBitmapRules : public lv_test::PerClassTest {};

// Random traces, some smooth and some jumping across the whole image, give the
// same intensities, indices, hit map and pixels as the model, bit for bit.
TEST_P(PersBitmapRules, MatchThePlainModel) {
  static constexpr float kDecays[4] = {0.0f, 1.0f / 35.0f, 1.0f / 15.0f, 1.0f / 6.0f};
  const unsigned seed = 4242u + static_cast<unsigned>(Cls());
  SCOPED_TRACE("seed " + std::to_string(seed));
  std::mt19937 rng(seed);
  for (const RuleCase& rc : kRuleCases) {
    SCOPED_TRACE(rc.name);
    CWPersBitmap bmp;
    bmp.SetSize(rc.cols, rc.rows);
    bmp.SetPersistenceType(rc.type);
    bmp.SetOverlayTrace(rc.overlay);
    bmp.SetConnectPoints(rc.connect);
    EXPECT_EQ(bmp.GetDecay(), kDecays[rc.type]);
    Model model(rc.cols, rc.rows, kDecays[rc.type], rc.overlay, rc.connect);
    std::uniform_real_distribution<float> level(rc.bottom - rc.spread, rc.top + rc.spread);
    std::normal_distribution<float> wiggle(0.0f, 2.0f);
    for (int t = 0; t < 60; ++t) {
      std::vector<float> v(rc.cols);
      float base = level(rng);
      for (int32_t c = 0; c < rc.cols; ++c) {
        v[c] = (t % 3 == 0) ? level(rng) : base + wiggle(rng);
      }
      bmp.NewData(v.data(), rc.cols, rc.top, rc.bottom);
      model.Add(v, rc.top, rc.bottom);
    }
    const size_t n = size_t(rc.cols) * rc.rows;
    size_t bad = 0;
    for (size_t i = 0; i < n && bad < 5; ++i) {
      if (bmp.GetIntensity()[i] != model.intensity[i] || bmp.GetColorIndex()[i] != model.index[i] ||
          bmp.GetHitMap()[i] != model.hit[i] || bmp.GetPixels()[i] != model.pixels[i]) {
        ++bad;
        ADD_FAILURE() << "cell " << i % rc.cols << "," << i / rc.cols << ": intensity " << bmp.GetIntensity()[i]
                      << " (model " << model.intensity[i] << "), hit " << bmp.GetHitMap()[i] << " (model "
                      << model.hit[i] << ")";
      }
    }
  }
}
LV_INSTANTIATE_PER_CLASS(PersBitmapRules);

// In a bitmap of R rows over 0 .. R - 1 dBm a value v lands on the row nearest
// to v + 0.5 (ties to even), so v = k - 0.3 lands on row k.
constexpr float OnRow(int k) { return static_cast<float>(k) - 0.3f; }

std::vector<int32_t> RowsOfColumn(const CWPersBitmap& b, int32_t column) {
  std::vector<int32_t> rows;
  for (int32_t r = 0; r < b.GetRows(); ++r) {
    if (b.GetHitMap()[r * b.GetColumns() + column]) rows.push_back(r);
  }
  return rows;
}

TEST(CWPersBitmap, AJumpIsSplitBetweenItsTwoColumns) {
  CWPersBitmap b;
  b.SetSize(4, 40);
  const float up[4] = {OnRow(10), OnRow(15), OnRow(15), OnRow(15)};
  b.NewData(up, 4, 39.0f, 0.0f);
  EXPECT_EQ(RowsOfColumn(b, 0), (std::vector<int32_t>{10, 11, 12}));
  EXPECT_EQ(RowsOfColumn(b, 1), (std::vector<int32_t>{13, 14, 15}));
  EXPECT_EQ(RowsOfColumn(b, 2), (std::vector<int32_t>{15}));
  const float down[4] = {OnRow(20), OnRow(16), OnRow(16), OnRow(17)};
  b.NewData(down, 4, 39.0f, 0.0f);
  // Four rows down: the first half (20, 19) in column 0, then 18, 17, 16.
  EXPECT_EQ(RowsOfColumn(b, 0), (std::vector<int32_t>{19, 20}));
  EXPECT_EQ(RowsOfColumn(b, 1), (std::vector<int32_t>{16, 17, 18}));
  EXPECT_EQ(RowsOfColumn(b, 3), (std::vector<int32_t>{17}));  // one up: all in the next column
  EXPECT_EQ(RowsOfColumn(b, 2), (std::vector<int32_t>{16}));
}

TEST(CWPersBitmap, ValuesBeyondTheRangeLandOnTheEndRows) {
  CWPersBitmap b;
  b.SetSize(3, 40);
  b.SetConnectPoints(false);
  const float v[3] = {500.0f, -500.0f, 1e30f};
  b.NewData(v, 3, 39.0f, 0.0f);
  EXPECT_EQ(b.GetTraceRows()[0], 39);
  EXPECT_EQ(b.GetTraceRows()[1], 0);
  EXPECT_EQ(b.GetTraceRows()[2], 39);
  EXPECT_EQ(RowsOfColumn(b, 0), (std::vector<int32_t>{39}));
  EXPECT_EQ(RowsOfColumn(b, 1), (std::vector<int32_t>{0}));
}

// A cell hit by every trace settles where the gain term equals the decay:
// 255 - 149 * decay after the accumulation (245 for 1/15, 230 for 1/6, 255
// without decay), and shows that colour index's colour.
TEST(CWPersBitmap, ARepeatedTraceSettlesAtTheLevelOfItsDecay) {
  struct Case {
    int32_t type;
    int16_t index;
  };
  for (const Case c : {Case{2, 245}, Case{3, 230}, Case{1, 251}, Case{0, 255}}) {
    SCOPED_TRACE(c.type);
    CWPersBitmap b;
    b.SetSize(16, 64);
    b.SetPersistenceType(c.type);
    b.SetOverlayTrace(false);
    std::vector<float> v(16, OnRow(32));
    for (int i = 0; i < 2000; ++i) b.NewData(v.data(), 16, 63.0f, 0.0f);
    const int32_t cell = 32 * 16 + 5;
    if (c.type != 0) {
      EXPECT_NEAR(b.GetIntensity()[cell], 255.0f - 149.0f * b.GetDecay(), 0.05f);
    }
    EXPECT_EQ(b.GetColorIndex()[cell], c.index);
    const lv::RgbQuad q = CWColorMap::ComputeColor(5, c.index);
    EXPECT_EQ(b.GetPixels()[cell], uint32_t(q.blue) | uint32_t(q.green) << 8 | uint32_t(q.red) << 16);
    EXPECT_EQ(b.GetColorIndex()[cell + 16], 0);  // the row above never lit
  }
}

// An untouched cell loses exactly the decay per trace until it reaches 0;
// with "Infinite" persistence it keeps its value.
TEST(CWPersBitmap, AnUntouchedCellFadesByTheDecayPerTrace) {
  for (int32_t type : {0, 1, 2, 3}) {
    SCOPED_TRACE(type);
    CWPersBitmap b;
    b.SetSize(8, 20);
    b.SetPersistenceType(type == 0 ? 3 : type);
    std::vector<float> lit(8, OnRow(5)), elsewhere(8, OnRow(15));
    for (int i = 0; i < 1500; ++i) b.NewData(lit.data(), 8, 19.0f, 0.0f);
    b.SetPersistenceType(type);
    const int32_t cell = 5 * 8 + 3;
    const float start = b.GetIntensity()[cell];
    ASSERT_GT(start, 200.0f);
    const int expectedTraces = type == 0 ? -1 : static_cast<int>(std::ceil(start / b.GetDecay()));
    int traces = 0;
    float previous = start;
    while (b.GetIntensity()[cell] > 0.0f && traces < 20000) {
      b.NewData(elsewhere.data(), 8, 19.0f, 0.0f);
      ++traces;
      const float now = b.GetIntensity()[cell];
      if (type == 0) {
        ASSERT_EQ(now, start);
        if (traces == 3000) break;
      } else if (now > 0.0f) {
        ASSERT_NEAR(previous - now, b.GetDecay(), 1e-3f) << "trace " << traces;
      }
      previous = now;
    }
    if (type != 0) {
      EXPECT_NEAR(traces, expectedTraces, 2);
      EXPECT_EQ(b.GetColorIndex()[cell], 0);
    }
  }
  // The figure of the fast rate: from 255, 1530 traces to 0.
  EXPECT_EQ(static_cast<int>(std::lround(255.0 / CWPersBitmap::kDecayFast)), 1530);
}

TEST(CWPersBitmap, TheOverlayPaintsTheLastTraceYellow) {
  CWPersBitmap b;
  b.SetSize(6, 10);
  std::vector<float> v(6, 3.6f);  // 4.1 rounds to row 4
  b.NewData(v.data(), 6, 9.0f, 0.0f);
  EXPECT_EQ(b.GetPixels()[4 * 6 + 2], CWPersBitmap::kOverlayPixel);
  EXPECT_EQ(b.GetPixels()[3 * 6 + 2], 0u);
  b.SetOverlayTrace(false);
  b.Recolor();
  const lv::RgbQuad q = CWColorMap::ComputeColor(5, b.GetColorIndex()[4 * 6 + 2]);
  EXPECT_EQ(b.GetPixels()[4 * 6 + 2], uint32_t(q.blue) | uint32_t(q.green) << 8 | uint32_t(q.red) << 16);
  b.ResetImage();
  EXPECT_EQ(b.GetPixels()[4 * 6 + 2], 0u);
  EXPECT_NE(b.GetColorIndex()[4 * 6 + 2], 0);  // the indices stay
  b.ResetPersistence();
  EXPECT_EQ(b.GetIntensity()[4 * 6 + 2], 0.0f);
}

TEST(CWPersBitmap, SizesAndRefusals) {
  CWPersBitmap b;
  EXPECT_EQ(b.GetColumns(), 101);
  EXPECT_EQ(b.GetRows(), 201);
  EXPECT_EQ(b.GetPersistenceType(), 2);
  EXPECT_EQ(b.GetDecay(), 0.0666666701f);
  EXPECT_EQ(b.GetHeader().width, 101);
  EXPECT_EQ(b.GetHeader().height, 201);  // positive: row 0 at the bottom
  EXPECT_EQ(b.GetHeader().bitCount, 32);
  for (auto [c, r] : {std::pair{0, 5}, {5, 0}, {-1, -1}}) {
    EXPECT_TRUE(lv_test::ThrowsError([&] { b.SetSize(c, r); }, "Invalid number of rows.", "CWPersBitmap::SetSize\n"));
  }
  b.SetSize(10, 10);
  std::vector<float> v(10, 1.0f);
  EXPECT_TRUE(lv_test::ThrowsError([&] { b.NewData(nullptr, 10, 1, 0); }, "Null pointer to row data.",
                                   "CWPersBitmap::NewData\n"));
  EXPECT_TRUE(lv_test::ThrowsError([&] { b.NewData(v.data(), 9, 1, 0); }, "Invalid number of points."));
  b.SetDrawRange(3, 3);
  EXPECT_TRUE(lv_test::ThrowsError([&] { b.NewData(v.data(), 10, 1, 0); },
                                   "Invalid draw stop index and draw stop index."));
  b.SetSize(11, 10);  // a new size restores the whole column range
  std::vector<float> w(11, 0.5f);
  b.NewData(w.data(), 11, 1, 0);
}

void MakeSpectrum(CQFArrayFD& s, int n, float level, double start, double step) {
  std::vector<float> v(n, level);
  s.Set(v.data(), n, start, step, 0.0);
}

TEST(CWPlotPersSpec, FeedsSpectraAndRefusesAWrongWidth) {
  CWPlotPersSpec p;
  EXPECT_FALSE(p.IsReady());
  EXPECT_EQ(p.GetBottom(), -130.0f);
  EXPECT_EQ(p.GetTop(), -30.0f);
  p.SetSize(0, 50);  // refused quietly
  EXPECT_EQ(p.GetBitmap().GetColumns(), 101);
  p.SetSize(40, 30);
  EXPECT_EQ(p.GetDisplayWidth(), 40);
  EXPECT_EQ(p.GetBitmap().GetColumns(), 40);
  p.SetBottom(-100.0f);
  p.SetTop(0.0f);
  CQFArrayFD good;
  MakeSpectrum(good, 40, -50.0f, -2e6, 1e5);
  p.AddASpectrum(&good);
  EXPECT_EQ(p.GetStartFreq(), -2e6);
  EXPECT_DOUBLE_EQ(p.GetStopFreq(), -2e6 + 39 * 1e5);
  const std::vector<float> before(p.GetBitmap().GetIntensity(), p.GetBitmap().GetIntensity() + 40 * 30);
  CQFArrayFD wrong;
  MakeSpectrum(wrong, 39, -50.0f, 0, 1);
  EXPECT_TRUE(lv_test::ThrowsError([&] { p.AddASpectrum(&wrong); },
                                   "The number of spectrum points does not match the bitmap width.",
                                   "CWPlotPersSpec::AddASpectrum\n"));
  EXPECT_TRUE(std::equal(before.begin(), before.end(), p.GetBitmap().GetIntensity()));
  EXPECT_TRUE(lv_test::ThrowsError([&] { p.AddASpectrum(nullptr); }, "Null pointer to spectrum."));
  CQFArrayFD empty;
  EXPECT_TRUE(lv_test::ThrowsError([&] { p.AddASpectrum(&empty); }, "Null pointer to spectrum data."));
  p.DrawNow();
  EXPECT_TRUE(p.IsReady());
  p.ResetPlot();
  EXPECT_FALSE(p.IsReady());
  EXPECT_EQ(p.GetStartFreq(), -1e6);
  EXPECT_EQ(p.GetStopFreq(), 1e6);
  EXPECT_EQ(p.GetBitmap().GetIntensity()[0], 0.0f);
}

// Painting puts the bitmap one to one at the point given, row 0 at the bottom.
TEST(CWPlotPersSpec, PaintsOneToOneWithLowPowersLow) {
  CWPlotPersSpec p;
  p.SetSize(20, 10);
  p.SetBottom(0.0f);
  p.SetTop(9.0f);
  std::vector<float> v(20, 1.7f);  // row 2 from the bottom
  CQFArrayFD s;
  s.Set(v.data(), 20, 0.0, 1.0, 0.0);
  p.AddASpectrum(&s);
  p.DrawNow();
  lv::ImageDc dc(40, 30, lv::MakeRgb(1, 2, 3));
  p.Paint(&dc, 5, 7);
  p.Paint(nullptr, 0, 0);  // nothing to paint on
  const lv::Bitmap& bmp = dc.GetBitmap();
  EXPECT_EQ(bmp.Pixel(4, 7), lv::MakeRgb(1, 2, 3));
  EXPECT_EQ(bmp.Pixel(5, 7 + 9 - 2), lv::MakeRgb(255, 255, 0));   // the yellow trace
  EXPECT_EQ(bmp.Pixel(24, 7 + 9 - 2), lv::MakeRgb(255, 255, 0));
  EXPECT_EQ(bmp.Pixel(5, 7 + 9), lv::MakeRgb(0, 0, 0));
  EXPECT_EQ(bmp.Pixel(25, 7 + 9 - 2), lv::MakeRgb(1, 2, 3));
  EXPECT_EQ(bmp.Pixel(5, 17), lv::MakeRgb(1, 2, 3));
}

}  // namespace
