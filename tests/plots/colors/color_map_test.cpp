// The six colour maps: spot entries, segment ends, the top entry of every map,
// the piecewise-linear runs, the bitmap descriptions and the colour-scale
// bitmap. (The picture of all
// scales and the palette is in tests/plots/gallery.)
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "support/errors.h"
#include "platform/gui/image_dc.h"
#include "plots/color_map.h"
#include "plots/colors.h"
#include "support/gui_app.h"

namespace {

using lv::MakeRgb;

struct Entry {
  int type;
  int value;
  int r, g, b;
};

const Entry kEntries[] = {
    // Half-way into the first segment of type 0.
    {0, 16, 42, 0, 85},
    // Segment ends are the control points.
    {0, 0, 0, 0, 0}, {0, 32, 85, 0, 170}, {0, 64, 0, 0, 255}, {0, 96, 0, 220, 220}, {0, 128, 0, 255, 0},
    {0, 160, 255, 255, 0}, {0, 192, 255, 180, 0}, {0, 224, 255, 0, 0},
    // 255 lies 31/32 of the way from red to white.
    {0, 255, 255, 247, 247},
    {1, 0, 0, 0, 0}, {1, 77, 77, 77, 77}, {1, 255, 255, 255, 255},
    {2, 51, 127, 0, 0}, {2, 102, 255, 0, 0}, {2, 153, 255, 127, 0}, {2, 204, 255, 255, 0}, {2, 255, 255, 255, 255},
    {3, 64, 64, 0, 128}, {3, 128, 0, 0, 255}, {3, 192, 0, 255, 255}, {3, 255, 251, 255, 255},
    // Type 4: 0 is black, 1 starts from blue, 252 is white, 253..255 head for black.
    {4, 0, 0, 0, 0}, {4, 1, 0, 5, 255}, {4, 42, 0, 220, 220}, {4, 252, 255, 255, 255}, {4, 253, 249, 249, 249},
    {4, 255, 237, 237, 237},
    // Type 5: 0 is black, 255 is exactly red.
    {5, 0, 0, 0, 0}, {5, 1, 0, 4, 255}, {5, 204, 255, 180, 0}, {5, 254, 255, 4, 0}, {5, 255, 255, 0, 0},
};

TEST(CWColorMap, EntriesFollowTheControlPoints) {
  for (const Entry& e : kEntries) {
    const lv::RgbQuad q = CWColorMap::ComputeColor(e.type, e.value);
    EXPECT_EQ(q, (lv::RgbQuad{static_cast<uint8_t>(e.b), static_cast<uint8_t>(e.g), static_cast<uint8_t>(e.r), 0}))
        << "type " << e.type << " value " << e.value << ": " << int(q.red) << "," << int(q.green) << ","
        << int(q.blue);
    CWColorMap map(e.type);
    EXPECT_EQ(map.GetColor(e.value), MakeRgb(e.r, e.g, e.b));
  }
}

// Every map starts at black; type 1 is the grey ramp. The others run
// piecewise linearly over segments of a fixed width: within a segment each
// channel moves one way only, by at most ceil(255 / width) from value to
// value, and by no more across a segment boundary. Type 4 sets value 0 to
// black and type 5 sets 0 to black and 255 to exactly red, outside their runs.
TEST(CWColorMap, MapsStartBlackAndRunPiecewiseLinearly) {
  const struct {
    int type, width, first, last;
  } runs[] = {{0, 32, 0, 255}, {2, 51, 0, 255}, {3, 64, 0, 255}, {4, 42, 1, 255}, {5, 51, 1, 254}};
  for (int t = 0; t < CWColorMap::kNumTypes; ++t) {
    EXPECT_EQ(CWColorMap::ComputeColor(t, 0), (lv::RgbQuad{0, 0, 0, 0})) << t;
  }
  for (int v = 0; v < 256; ++v) {
    const uint8_t g = static_cast<uint8_t>(v);
    ASSERT_EQ(CWColorMap::ComputeColor(1, v), (lv::RgbQuad{g, g, g, 0})) << v;
  }
  EXPECT_EQ(CWColorMap::ComputeColor(5, 255), (lv::RgbQuad{0, 0, 255, 0}));
  for (const auto& run : runs) {
    const int maxStep = (255 + run.width - 1) / run.width;
    int direction[3] = {0, 0, 0};  // per channel within the current segment: -1, 0 (not yet), +1
    for (int v = run.first + 1; v <= run.last; ++v) {
      const lv::RgbQuad a = CWColorMap::ComputeColor(run.type, v - 1);
      const lv::RgbQuad b = CWColorMap::ComputeColor(run.type, v);
      const int steps[3] = {b.red - a.red, b.green - a.green, b.blue - a.blue};
      const bool newSegment = v % run.width == 0;
      for (int c = 0; c < 3; ++c) {
        ASSERT_LE(std::abs(steps[c]), maxStep) << "type " << run.type << " value " << v << " channel " << c;
        if (newSegment) {
          direction[c] = 0;
        } else if (steps[c] != 0) {
          const int d = steps[c] > 0 ? 1 : -1;
          ASSERT_TRUE(direction[c] == 0 || direction[c] == d)
              << "type " << run.type << " value " << v << " channel " << c << " turns inside its segment";
          direction[c] = d;
        }
      }
    }
  }
}

TEST(CWColorMap, ArrayHoldsTheCurrentTypeAndLookupsStayInside) {
  CWColorMap map;
  EXPECT_EQ(map.GetType(), 0);
  for (int t = 0; t < CWColorMap::kNumTypes; ++t) {
    map.SetType(t);
    const lv::RgbQuad* colors = map.GetColorArray();
    for (int v = 0; v < 256; ++v) {
      ASSERT_EQ(colors[v], CWColorMap::ComputeColor(t, v)) << t << " " << v;
      ASSERT_EQ(colors[v].reserved, 0);
    }
    // Values past the ends are taken as the ends.
    EXPECT_EQ(map.GetColor(256), map.GetColor(255));
    EXPECT_EQ(map.GetColor(-3), map.GetColor(0));
  }
}

TEST(CWColorMap, UnknownTypesAreRefusedAndTheTypeKept) {
  CWColorMap map(3);
  for (int bad : {6, -1}) {
    const lv_test::CaughtError r = lv_test::Catch([&map, bad] { map.SetType(bad); });
    EXPECT_TRUE(r.thrown);
    EXPECT_EQ(r.message, "Invalid type of color map.");
    EXPECT_NE(r.callStack.find("CWColorMap::SetType"), std::string::npos);
    EXPECT_EQ(map.GetType(), 3);
    EXPECT_EQ(map.GetColor(255), MakeRgb(251, 255, 255));
  }
}

TEST(CWColorMap, BitmapDescriptions) {
  const auto header = CWColorMap::MakeBITMAPINFOHEADER(120, 15);
  EXPECT_EQ(header->size, 40u);
  EXPECT_EQ(header->width, 15);
  EXPECT_EQ(header->height, 120);
  EXPECT_EQ(header->planes, 1);
  EXPECT_EQ(header->bitCount, 8);
  EXPECT_EQ(header->compression, 0u);
  EXPECT_EQ(header->sizeImage, 0u);
  EXPECT_EQ(header->xPelsPerMeter, 10000);
  EXPECT_EQ(header->yPelsPerMeter, 10000);
  EXPECT_EQ(header->clrUsed, 0u);
  EXPECT_EQ(header->clrImportant, 0u);

  const auto info = CWColorMap::MakeBITMAPINFO(10, 20, 4);
  EXPECT_EQ(info->header.width, 20);
  EXPECT_EQ(info->header.height, 10);
  for (int v = 0; v < 256; ++v) {
    ASSERT_EQ(info->colors[v], CWColorMap::ComputeColor(4, v)) << v;
  }

  const struct {
    int h, w, type;
    const char* message;
  } bad[] = {{0, 5, 0, "Invalid image size."}, {5, 0, 0, "Invalid image size."},
             {5, 5, 6, "Invalid color map type."}, {5, 5, -1, "Invalid color map type."}};
  for (const auto& b : bad) {
    const lv_test::CaughtError r = lv_test::Catch([&b] { CWColorMap::MakeBITMAPINFO(b.h, b.w, b.type); });
    EXPECT_EQ(r.message, b.message) << b.h << " " << b.w << " " << b.type;
  }
  EXPECT_EQ(lv_test::Catch([] { CWColorMap::MakeBITMAPINFOHEADER(-1, 3); }).message, "Invalid image size.");
}

class ColorScale : public ::testing::Test {
 protected:
  void SetUp() override { lv_test::EnsureGuiApplication(); }
};

TEST_F(ColorScale, RowsRunFromValueZeroAtTheBottomToTheTopValue) {
  CWColorMap map(0);
  // Rows are whole multiples of 4 bytes: a bar 5 wide is made 8 wide.
  const lv::Bitmap five = map.MakeColorScale(nullptr, 5, 3);
  EXPECT_EQ(five.Width(), 8);
  EXPECT_EQ(five.Height(), 3);
  // Values 0, 128 (127.5 rounded away from zero) and 255, bottom row first.
  EXPECT_EQ(five.Pixel(0, 2), map.GetColor(0));
  EXPECT_EQ(five.Pixel(7, 1), map.GetColor(128));
  EXPECT_EQ(five.Pixel(3, 0), map.GetColor(255));

  const lv::Bitmap single = map.MakeColorScale(nullptr, 4, 1);
  EXPECT_EQ(single.Width(), 4);
  EXPECT_EQ(single.Height(), 1);
  EXPECT_EQ(single.Pixel(2, 0), map.GetColor(0));

  map.SetType(5);
  const lv::Bitmap tall = map.MakeColorScale(nullptr, 15, 256);
  EXPECT_EQ(tall.Width(), 16);
  for (int v = 0; v < 256; ++v) {
    ASSERT_EQ(tall.Pixel(9, 255 - v), map.GetColor(v)) << v;
  }

  for (auto [w, h] : {std::pair{0, 10}, std::pair{10, 0}, std::pair{-4, -4}}) {
    const lv_test::CaughtError r = lv_test::Catch([&map, w = w, h = h] { map.MakeColorScale(nullptr, w, h); });
    EXPECT_EQ(r.message, "Invalid bitmap size.");
    EXPECT_NE(r.callStack.find("CWColorMap::MakeColorScale"), std::string::npos);
  }
}

}  // namespace
