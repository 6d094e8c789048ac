// Lines of the image device context: the pixels a GDI-style walk lights, the
// end pixel left out, polylines without doubled vertices, clipping of far-off
// end points, pen widths under a mapping, and thin polylines with many points
// per pixel column drawing exactly what their segments one by one draw.
#include <QImage>
#include <algorithm>
#include <chrono>
#include <cmath>
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


// The same points drawn as one polyline and as separate segments (MoveTo /
// LineTo each, which the polyline's column folding does not touch).
struct PolylineAgainstSegments {
  int differing = 0;
  int lit = 0;
};

PolylineAgainstSegments DrawBothWays(const std::vector<Point>& pts, int w, int h, bool mapped = false) {
  ImageDc folded(w, h), plain(w, h);
  for (ImageDc* dc : {&folded, &plain}) {
    dc->SelectPen(Pen::Solid(kWhite, 0));
    if (mapped) dc->SetIsotropicMapping(lv::Size{2 * w, 2 * h}, lv::Size{w, h}, Point{3, -2});
  }
  EXPECT_TRUE(folded.Polyline(pts.data(), static_cast<int32_t>(pts.size())));
  for (size_t k = 1; k < pts.size(); ++k) {
    plain.MoveTo(pts[k - 1]);
    plain.LineTo(pts[k]);
  }
  PolylineAgainstSegments r;
  const QImage& a = *folded.GetBitmap().Image();
  const QImage& b = *plain.GetBitmap().Image();
  for (int y = 0; y < h; ++y) {
    const QRgb* ra = reinterpret_cast<const QRgb*>(a.constScanLine(y));
    const QRgb* rb = reinterpret_cast<const QRgb*>(b.constScanLine(y));
    for (int x = 0; x < w; ++x) {
      r.differing += ra[x] != rb[x];
      r.lit += (rb[x] & 0xFFFFFFu) != 0;
    }
  }
  return r;
}

TEST_F(Lines, DenseTracesFoldedPerColumnLightTheSamePixelsAsEverySegment) {
  constexpr int kW = 1600, kH = 900;
  std::mt19937 rng(20261211);
  std::normal_distribution<double> noise(0.0, 1.0);
  auto trace = [&](int n, auto&& yOf) {
    std::vector<Point> pts(n);
    for (int i = 0; i < n; ++i) {
      const int x = 60 + static_cast<int>(static_cast<long long>(i) * (kW - 100) / n);
      pts[i] = Point{x, static_cast<int>(std::lround(yOf(i, n)))};
    }
    return pts;
  };
  const struct {
    const char* name;
    std::vector<Point> pts;
  } cases[] = {
      {"noisy", trace(200000, [&](int, int) { return 450 + 120 * noise(rng); })},
      {"sine", trace(150000, [](int i, int n) { return 450 + 400 * std::sin(i * 6.2831853 * 7 / n); })},
      {"step", trace(100000, [](int i, int n) { return (i * 16 / n) % 2 ? 100.0 : 800.0; })},
      {"sparse", trace(300, [&](int, int) { return 450 + 300 * noise(rng); })},
      // Beyond the surface at both ends and above and below it.
      {"clipped", trace(120000, [&](int i, int n) { return 450 + 700 * std::sin(i * 6.2831853 * 3 / n) + 20 * noise(rng); })},
      // Flat with single-pixel spikes: the last point of a column often the only extreme.
      {"spikes", trace(90000, [&](int i, int) { return i % 37 == 0 ? 300.0 : 450.0 + (i % 5 == 0); })},
  };
  for (const auto& c : cases) {
    const PolylineAgainstSegments r = DrawBothWays(c.pts, kW, kH);
    EXPECT_EQ(r.differing, 0) << c.name;
    EXPECT_GT(r.lit, 1000) << c.name;
  }
  // Under a mapping (printing) the device points are folded the same way.
  const PolylineAgainstSegments mapped = DrawBothWays(cases[0].pts, kW, kH, true);
  EXPECT_EQ(mapped.differing, 0);
}

TEST_F(Lines, EveryShortRunInAFewColumnsMatchesItsSegments) {
  // Short chains in three columns with repeated points, covering every order
  // of first, lowest, highest and last (and runs on the surface's edges).
  std::mt19937 rng(20261212);
  std::uniform_int_distribution<int> column(-1, 2), row(-2, 9), length(2, 9);
  for (int trial = 0; trial < 20000; ++trial) {
    std::vector<Point> pts(length(rng));
    for (Point& p : pts) p = Point{column(rng), row(rng)};
    std::sort(pts.begin(), pts.end(), [](Point a, Point b) { return a.x < b.x; });  // columns in runs
    if (trial % 2) std::shuffle(pts.begin(), pts.end(), rng);
    const PolylineAgainstSegments r = DrawBothWays(pts, 2, 8);
    ASSERT_EQ(r.differing, 0) << "trial " << trial;
  }
}

}  // namespace
