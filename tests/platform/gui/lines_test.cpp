// Lines of the image device context: the pixels a GDI-style walk lights, the
// end pixel left out, polylines without doubled vertices, clipping of far-off
// end points, and pen widths under a mapping.
#include <chrono>
#include <cstdint>
#include <random>
#include <vector>

#include "dc_fixture.h"

namespace {

using lv::ImageDc;
using lv::MakeRgb;
using lv::Pen;
using lv::Point;
using lv_test::LitPixels;
using lv_test::PixelSet;

const lv::Color kWhite = MakeRgb(255, 255, 255);

// The walk written plainly: one pixel per step of the major axis, the minor
// coordinate i*minor/major rounded to nearest with halves going back towards
// the start; the end pixel left out; only pixels on the surface kept.
PixelSet ModelLine(Point a, Point b, int w, int h) {
  PixelSet out;
  const long long dx = static_cast<long long>(b.x) - a.x;
  const long long dy = static_cast<long long>(b.y) - a.y;
  const long long adx = dx < 0 ? -dx : dx;
  const long long ady = dy < 0 ? -dy : dy;
  const bool xMajor = adx >= ady;
  const long long steps = xMajor ? adx : ady;
  for (long long i = 0; i < steps; ++i) {
    long long x, y;
    if (xMajor) {
      // off = ceil(i*ady/adx - 1/2)
      const long long off = (2 * i * ady + adx - 1) / (2 * adx);
      x = a.x + (dx < 0 ? -i : i);
      y = a.y + (dy < 0 ? -off : off);
    } else {
      const long long off = (2 * i * adx + ady - 1) / (2 * ady);
      y = a.y + (dy < 0 ? -i : i);
      x = a.x + (dx < 0 ? -off : off);
    }
    if (x >= 0 && y >= 0 && x < w && y < h) {
      out.insert({static_cast<int>(x), static_cast<int>(y)});
    }
  }
  return out;
}

class Lines : public lv_test::GuiTest {};

TEST_F(Lines, ThinLinesLeaveOutTheirEndPixel) {
  const struct {
    Point a, b;
    PixelSet expected;
  } cases[] = {
      {{2, 5}, {6, 5}, {{2, 5}, {3, 5}, {4, 5}, {5, 5}}},
      {{6, 5}, {2, 5}, {{6, 5}, {5, 5}, {4, 5}, {3, 5}}},
      {{3, 1}, {3, 4}, {{3, 1}, {3, 2}, {3, 3}}},
      {{0, 0}, {4, 2}, {{0, 0}, {1, 0}, {2, 1}, {3, 1}}},
      {{4, 2}, {0, 0}, {{4, 2}, {3, 2}, {2, 1}, {1, 1}}},
      {{1, 1}, {4, 4}, {{1, 1}, {2, 2}, {3, 3}}},
      {{5, 0}, {2, 3}, {{5, 0}, {4, 1}, {3, 2}}},
      {{1, 0}, {2, 5}, {{1, 0}, {1, 1}, {1, 2}, {2, 3}, {2, 4}}},
      {{7, 7}, {7, 7}, {}},
      {{9, 9}, {10, 9}, {{9, 9}}},
  };
  for (const auto& c : cases) {
    ImageDc dc(16, 16);
    dc.SelectPen(Pen::Solid(kWhite, 0));
    dc.MoveTo(c.a);
    dc.LineTo(c.b);
    EXPECT_EQ(LitPixels(dc), c.expected) << c.a.x << "," << c.a.y << " -> " << c.b.x << "," << c.b.y;
    EXPECT_EQ(dc.GetCurrentPosition(), c.b);
  }
}

TEST_F(Lines, PenOfWidthOneIsOnePixelWithoutMapping) {
  ImageDc thin(16, 16), one(16, 16);
  thin.SelectPen(Pen::Solid(kWhite, 0));
  one.SelectPen(Pen::Solid(kWhite, 1));
  for (ImageDc* dc : {&thin, &one}) {
    dc->MoveTo(Point{1, 2});
    dc->LineTo(Point{13, 9});
  }
  EXPECT_EQ(LitPixels(thin), LitPixels(one));
  EXPECT_EQ(LitPixels(thin), ModelLine({1, 2}, {13, 9}, 16, 16));
}

TEST_F(Lines, WalkMatchesTheModelOnRandomAndClippedSegments) {
  std::mt19937 rng(20261210);
  std::uniform_int_distribution<int> coord(-120, 160);
  printf("seed 20261210\n");
  for (int n = 0; n < 1500; ++n) {
    const Point a{coord(rng), coord(rng)};
    const Point b{coord(rng), coord(rng)};
    ImageDc dc(53, 41);
    dc.SelectPen(Pen::Solid(kWhite, 0));
    dc.MoveTo(a);
    dc.LineTo(b);
    ASSERT_EQ(LitPixels(dc), ModelLine(a, b, 53, 41)) << a.x << "," << a.y << " -> " << b.x << "," << b.y;
  }
}

TEST_F(Lines, FarOffEndPointsAreClippedWithoutWalkingToThem) {
  const auto start = std::chrono::steady_clock::now();
  ImageDc dc(32, 24);
  dc.SelectPen(Pen::Solid(kWhite, 0));
  dc.MoveTo(Point{INT32_MIN, 7});
  dc.LineTo(Point{INT32_MAX, 7});
  PixelSet row;
  for (int x = 0; x < 32; ++x) row.insert({x, 7});
  EXPECT_EQ(LitPixels(dc), row);

  // A steep line through the surface from far above to far below.
  ImageDc steep(32, 24);
  steep.SelectPen(Pen::Solid(kWhite, 0));
  const Point a{-1000000000, -2000000000}, b{1000000000, 2000000000};
  steep.MoveTo(a);
  steep.LineTo(b);
  const PixelSet lit = LitPixels(steep);
  EXPECT_FALSE(lit.empty());
  for (const auto& [x, y] : lit) {
    // The exact line passes through (0,0) with slope 2.
    EXPECT_LE(std::abs(2 * x - y), 1) << x << "," << y;
  }
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
}

TEST_F(Lines, PolylineDrawsEveryVertexOnceAndLeavesOutTheLast) {
  const Point square[5] = {{2, 2}, {9, 2}, {9, 9}, {2, 9}, {2, 2}};
  ImageDc dc(12, 12);
  dc.SelectPen(Pen::Solid(kWhite, 0));
  ASSERT_TRUE(dc.Polyline(square, 5));
  PixelSet expected;
  for (int k = 2; k <= 9; ++k) {
    expected.insert({k, 2});
    expected.insert({k, 9});
    expected.insert({2, k});
    expected.insert({9, k});
  }
  EXPECT_EQ(LitPixels(dc), expected);

  const Point open[3] = {{0, 0}, {5, 0}, {5, 4}};
  ImageDc dc2(8, 8);
  dc2.SelectPen(Pen::Solid(kWhite, 0));
  ASSERT_TRUE(dc2.Polyline(open, 3));
  const PixelSet lit = LitPixels(dc2);
  EXPECT_EQ(lit.count({5, 4}), 0u);
  EXPECT_EQ(lit.count({5, 0}), 1u);
  EXPECT_EQ(lit.size(), 9u);
  // The polyline neither uses nor moves the current position.
  EXPECT_EQ(dc2.GetCurrentPosition(), (Point{0, 0}));
  EXPECT_FALSE(dc2.Polyline(nullptr, 3));
  EXPECT_TRUE(dc2.Polyline(open, 1));
}

TEST_F(Lines, IsotropicMappingScalesPositionsAndWidePensButNotThinOnes) {
  // Window 100 x 50 onto a viewport of 400 x 400: the smaller scale (4) wins.
  ImageDc dc(200, 200);
  dc.SetIsotropicMapping(lv::Size{100, 50}, lv::Size{400, 400}, Point{10, 20});
  EXPECT_DOUBLE_EQ(dc.MappingScale(), 4.0);
  EXPECT_EQ(dc.ToDevice(Point{5, 5}), (Point{30, 40}));
  dc.SelectPen(Pen::Solid(kWhite, 0));
  dc.MoveTo(Point{0, 10});
  dc.LineTo(Point{10, 10});  // device (10,60) -> (50,60), one pixel high
  PixelSet thin;
  for (int x = 10; x < 50; ++x) thin.insert({x, 60});
  EXPECT_EQ(LitPixels(dc), thin);

  ImageDc wide(200, 200);
  wide.SetIsotropicMapping(lv::Size{100, 50}, lv::Size{400, 400}, Point{10, 20});
  wide.SelectPen(Pen::Solid(kWhite, 1));
  wide.MoveTo(Point{0, 20});
  wide.LineTo(Point{20, 20});  // device y = 100, four pixels wide
  const lv_test::Box box = lv_test::BoundingBox(LitPixels(wide));
  EXPECT_EQ(box.maxY - box.minY + 1, 4);
  EXPECT_LE(box.minY, 100);
  EXPECT_GE(box.maxY, 100);

  wide.ResetMapping();
  EXPECT_EQ(wide.ToDevice(Point{5, 5}), (Point{5, 5}));
}

}  // namespace
