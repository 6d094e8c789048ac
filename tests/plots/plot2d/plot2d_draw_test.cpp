// Drawing of the plot engine, checked on the recording device context. (The
// pictures for a person to look at are in tests/plots/gallery.)
#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <cstdlib>
#include <new>
#include <random>
#include <string>
#include <vector>

#include "platform/gui/image_dc.h"
#include "platform/gui/recording_dc.h"
#include "plots/colors.h"
#include "plots/plot2d.h"
#include "support/gui_app.h"

// Counts every allocation of the test program while counting is on.
namespace {
std::atomic<bool> g_counting{false};
std::atomic<long> g_allocations{0};
}  // namespace

void* operator new(std::size_t n) {
  if (g_counting.load(std::memory_order_relaxed)) g_allocations.fetch_add(1, std::memory_order_relaxed);
  if (void* p = std::malloc(n ? n : 1)) return p;
  throw std::bad_alloc();
}
void* operator new[](std::size_t n) { return operator new(n); }
void* operator new(std::size_t n, const std::nothrow_t&) noexcept {
  if (g_counting.load(std::memory_order_relaxed)) g_allocations.fetch_add(1, std::memory_order_relaxed);
  return std::malloc(n ? n : 1);
}
void* operator new[](std::size_t n, const std::nothrow_t& t) noexcept { return operator new(n, t); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }

namespace {

using lv::DcOp;
using lv::DcRecord;

// A device context that draws nothing and measures text by a fixed width,
// so that the allocation count sees only the plot engine.
class NullDc : public lv::DeviceContext {
 public:
  void LineTo(lv::Point p) override { MoveTo(p); }
  bool Polyline(const lv::Point* pts, int32_t n) override {
    polylinePoints += n;
    return pts && n >= 0;
  }
  void Rectangle(const lv::Rect&) override {}
  void FillRect(const lv::Rect&, const lv::Brush&) override {}
  void TextOut(int32_t, int32_t, std::wstring_view) override {}
  lv::Size GetTextExtent(std::wstring_view t) override { return lv::Size{static_cast<int32_t>(t.size()) * 7, 14}; }
  lv::TextMetrics GetTextMetrics() override { return lv::TextMetrics{14, 11, 3, 0, 0, 7, 14}; }
  bool StretchDib(const lv::Rect&, const lv::Rect&, const void*, const lv::BitmapInfoHeader&, const lv::RgbQuad*) override {
    return true;
  }
  bool BitBlt(const lv::Rect&, const lv::Bitmap&, lv::Point) override { return true; }
  lv::Size DeviceSize() const override { return lv::Size{1600, 900}; }
  long polylinePoints = 0;
};

class Plot2DDraw : public ::testing::Test {
 protected:
  void SetUp() override { lv_test::EnsureGuiApplication(); }
};

std::vector<const DcRecord*> Find(const lv::RecordingDc& dc, DcOp op) {
  std::vector<const DcRecord*> out;
  for (const DcRecord& r : dc.Records())
    if (r.op == op) out.push_back(&r);
  return out;
}

TEST_F(Plot2DDraw, LongCurveIsDrawnInJoinedChunks) {
  CWPlot2D p;
  p.drawRect = lv::Rect{0, 0, 1600, 900};
  std::vector<float> x(40000), y(40000);
  for (int i = 0; i < 40000; ++i) {
    x[i] = static_cast<float>(i);
    y[i] = std::sin(i * 0.001f);
  }
  p.SetDatasetData(x.data(), y.data(), 40000, 1);
  lv::RecordingDc dc(lv::Size{1600, 900});
  p.DrawAll(dc, false);
  const auto polys = Find(dc, DcOp::kPolyline);
  ASSERT_EQ(polys.size(), 3u);
  EXPECT_EQ(polys[0]->points.size(), 16000u);
  EXPECT_EQ(polys[1]->points.size(), 16000u);
  EXPECT_EQ(polys[2]->points.size(), 8002u);
  EXPECT_EQ(polys[1]->points.front(), polys[0]->points.back());
  EXPECT_EQ(polys[2]->points.front(), polys[1]->points.back());
  // First and last point on the plot area's left and right edges.
  EXPECT_EQ(polys[0]->points.front().x, p.plotArea.left);
  EXPECT_EQ(polys[2]->points.back().x, p.plotArea.right);
}

TEST_F(Plot2DDraw, ValuesOutsideTheLimitsLandOnTheEdge) {
  CWPlot2D p;
  p.drawRect = lv::Rect{0, 0, 640, 480};
  p.yAutoScale = false;
  p.xAutoScale = false;
  p.xMin = 0;
  p.xMax = 10;
  p.yMin = -1;
  p.yMax = 1;
  const float x[] = {-5, 2, 5, 8, 25};
  const float y[] = {0, 50, -50, 0.5f, 0};
  p.SetDatasetData(x, y, 5, 1);
  lv::RecordingDc dc(lv::Size{640, 480});
  p.DrawAll(dc, false);
  const auto polys = Find(dc, DcOp::kPolyline);
  ASSERT_EQ(polys.size(), 1u);
  const auto& pts = polys[0]->points;
  EXPECT_EQ(pts[0].x, p.plotArea.left);
  EXPECT_EQ(pts[1].y, p.plotArea.top);
  EXPECT_EQ(pts[2].y, p.plotArea.bottom);
  EXPECT_EQ(pts[4].x, p.plotArea.right);
  for (const lv::Point& q : pts) {
    EXPECT_GE(q.x, p.plotArea.left);
    EXPECT_LE(q.x, p.plotArea.right);
    EXPECT_GE(q.y, p.plotArea.top);
    EXPECT_LE(q.y, p.plotArea.bottom);
  }
}

TEST_F(Plot2DDraw, OnePointDrawsSymbolAndBarButNoLine) {
  CWPlot2D p;
  p.drawRect = lv::Rect{0, 0, 640, 480};
  p.symbolsOn[0] = true;
  p.barsOn[0] = true;
  p.gridOn = false;
  p.datasetColor[0] = CWColors::kRed;
  const float x[] = {3}, y[] = {2};
  p.SetDatasetData(x, y, 1, 1);
  lv::RecordingDc dc(lv::Size{640, 480});
  p.DrawAll(dc, false);
  EXPECT_EQ(Find(dc, DcOp::kPolyline).size(), 0u);
  const lv::Color red = CWColors::GetRGBColor(CWColors::kRed);
  int bars = 0;
  for (const DcRecord* r : Find(dc, DcOp::kFillRect))
    if (r->brush == lv::Brush::Solid(red)) ++bars;
  EXPECT_EQ(bars, 1);
  int redLines = 0;
  lv::Pen pen;
  for (const DcRecord& r : dc.Records()) {
    if (r.op == DcOp::kSelectPen) pen = r.pen;
    if (r.op == DcOp::kLineTo && pen.color == red) ++redLines;
  }
  EXPECT_EQ(redLines, 2);  // the two arms of the plus sign
}

TEST_F(Plot2DDraw, MemoryMarkerAtTopRightInOrange) {
  CWPlot2D p;
  p.drawRect = lv::Rect{0, 0, 640, 480};
  const float x[] = {0, 1, 2}, y[] = {0, 1, 0};
  p.SetDatasetData(x, y, 3, 1);
  p.SaveDatasetToMemory(1, 1);
  p.memoryShown[0] = true;
  lv::RecordingDc dc(lv::Size{640, 480});
  p.DrawAll(dc, false);
  lv::Color text = 0;
  lv::TextAlign align;
  bool found = false;
  for (const DcRecord& r : dc.Records()) {
    if (r.op == DcOp::kSetTextColor) text = r.color;
    if (r.op == DcOp::kSetTextAlign) align = r.align;
    if (r.op == DcOp::kTextOut && r.text == L"M1") {
      found = true;
      EXPECT_EQ(text, CWColors::GetRGBColor(CWColors::kOrange));
      EXPECT_EQ(r.point, (lv::Point{638, p.plotArea.top}));
      EXPECT_EQ(align, (lv::TextAlign{lv::HAlign::kRight, lv::VAlign::kTop}));
    }
  }
  EXPECT_TRUE(found);
  // The memory is drawn as a line as well as the dataset.
  EXPECT_EQ(Find(dc, DcOp::kPolyline).size(), 2u);
}

TEST_F(Plot2DDraw, LegendLabelsRightToLeftAndNotationLines) {
  CWPlot2D p;
  p.drawRect = lv::Rect{0, 0, 640, 480};
  p.SetNumDatasets(2);
  const float x[] = {0, 1}, y[] = {0, 1};
  p.SetDatasetData(x, y, 2, 1);
  p.SetDatasetData(x, y, 2, 2);
  p.SetDatasetLabel(L"One", 1);
  p.SetDatasetLabel(L"Two", 2);
  p.legendOn = true;
  p.topLeftNotationOn = true;
  p.SetTopLeftNotation(L"first|second");
  lv::RecordingDc dc(lv::Size{640, 480});
  p.DrawAll(dc, false);
  EXPECT_EQ(p.plotArea.top, 17);  // the legend enlarges the top margin
  std::vector<const DcRecord*> texts;
  for (const DcRecord* r : Find(dc, DcOp::kTextOut))
    if (r->text == L"One" || r->text == L"Two" || r->text == L"first" || r->text == L"second") texts.push_back(r);
  ASSERT_EQ(texts.size(), 4u);
  EXPECT_EQ(texts[0]->text, L"Two");
  EXPECT_EQ(texts[0]->point, (lv::Point{p.plotArea.right - 1, p.plotArea.top + 10}));
  EXPECT_LT(texts[1]->point.x, texts[0]->point.x);
  EXPECT_EQ(texts[2]->point, (lv::Point{2, 2}));
  EXPECT_EQ(texts[3]->point, (lv::Point{2, 14}));
}

TEST_F(Plot2DDraw, BackgroundBlockPatterns) {
  CWPlot2D p;
  p.drawRect = lv::Rect{0, 0, 640, 480};
  const float x[] = {0, 100}, y[] = {0, 1};
  p.SetDatasetData(x, y, 2, 1);
  CWBackgroundBlock b;
  b.on = true;
  b.xStart = 20;
  b.xEnd = 40;
  b.pattern = 4;
  p.BackgroundBlocks().AddItem(&b);
  b.pattern = 0;
  b.color = CWColors::kGreen;
  p.BackgroundBlocks().AddItem(&b);
  lv::RecordingDc dc(lv::Size{640, 480});
  p.DrawAll(dc, false);
  std::vector<const DcRecord*> hatches;
  for (const DcRecord* r : Find(dc, DcOp::kFillRect))
    if (r->brush.kind == lv::Brush::Kind::kHatch) hatches.push_back(r);
  ASSERT_EQ(hatches.size(), 1u);
  EXPECT_EQ(hatches[0]->brush.hatch, lv::HatchStyle::kDiagonalCross);
  EXPECT_EQ(hatches[0]->brush.color, CWColors::GetRGBColor(CWColors::kGreen));
  EXPECT_EQ(hatches[0]->rect.top, p.plotArea.top);
  EXPECT_EQ(hatches[0]->rect.bottom, p.plotArea.bottom);
  EXPECT_LT(hatches[0]->rect.left, hatches[0]->rect.right);
}

TEST_F(Plot2DDraw, FreshEngineDrawsOnlyBackground) {
  CWPlot2D p;
  p.drawRect = lv::Rect{0, 0, 100, 80};
  lv::RecordingDc dc(lv::Size{100, 80});
  p.DrawAll(dc, false);
  ASSERT_EQ(dc.Records().size(), 1u);
  EXPECT_EQ(dc.Records()[0].op, DcOp::kFillRect);
}

TEST_F(Plot2DDraw, RedrawOfTheSameSizeAllocatesNothing) {
  CWPlot2D p;
  p.drawRect = lv::Rect{0, 0, 1600, 900};
  p.SetNumDatasets(2);
  std::vector<float> x(100000), y(100000);
  for (int i = 0; i < 100000; ++i) {
    x[i] = i * 1e-3f;
    y[i] = std::sin(i * 0.01f);
  }
  p.SetDatasetData(x.data(), y.data(), 100000, 1);
  p.SetDatasetData(x.data(), y.data(), 50000, 2);
  p.SetDatasetLabel(L"A", 1);
  p.legendOn = true;
  p.symbolsOn[1] = true;
  p.SaveDatasetToMemory(2, 1);
  p.memoryShown[0] = true;
  NullDc dc;
  p.DrawAll(dc, false);
  const double* temp = p.TempX();
  g_allocations = 0;
  g_counting = true;
  p.DrawAll(dc, false);
  g_counting = false;
  EXPECT_EQ(g_allocations.load(), 0);
  EXPECT_EQ(p.TempX(), temp);
  EXPECT_GT(dc.polylinePoints, 0);
}


TEST_F(Plot2DDraw, LinesOfANewWaveformOfTheSameSizeOnAnImageAllocateNothing) {
  // A running play: each new waveform has the size of the one before; its
  // lines go onto the image surface without an allocation. (The data arrays
  // themselves are made afresh: reusing them measured slower in the window,
  // as the allocator then returns the window's own large temporaries to the
  // system and faults their pages in again on every waveform.)
  constexpr int kN = 1 << 20;
  CWPlot2D p;
  p.drawRect = lv::Rect{0, 0, 1600, 900};
  std::vector<double> t(kN);
  std::vector<float> y(kN), y2(kN);
  for (int i = 0; i < kN; ++i) {
    t[i] = i * 1e-7;
    y[i] = std::sin(i * 0.001f);
    y2[i] = std::cos(i * 0.003f);
  }
  p.SetDatasetData(t.data(), y.data(), kN, 1);
  lv::ImageDc dc(1600, 900);
  p.AutoScale();
  p.PlotDataWithLines(dc, false);
  const lv::Bitmap first = dc.GetBitmap();  // shares the pixels until the surface changes
  dc.Clear(0);
  p.SetDatasetData(t.data(), y2.data(), kN, 1);
  p.SetDatasetData(t.data(), y.data(), kN, 1);
  g_allocations = 0;
  g_counting = true;
  p.AutoScale();
  p.PlotDataWithLines(dc, false);
  g_counting = false;
  EXPECT_EQ(g_allocations.load(), 0);
  EXPECT_EQ(p.DatasetY(1, 1234), static_cast<double>(y[1234]));
  // The same data give the same picture.
  EXPECT_TRUE(dc.GetBitmap().SamePixels(first));
  EXPECT_FALSE(dc.GetBitmap().SamePixels(lv::Bitmap(1600, 900)));
}

TEST_F(Plot2DDraw, SymbolsPiledOnOnePixelAreDrawnOnceWithTheSamePicture) {
  // A constellation: 16 points, each sample landing on one of them many
  // times, against the 16 points alone; and a trace with no repeats.
  std::vector<float> ix, qx, ux, uq;
  for (int k = 0; k < 16; ++k) {
    ux.push_back(static_cast<float>(k % 4) - 1.5f);
    uq.push_back(static_cast<float>(k / 4) - 1.5f);
  }
  std::mt19937 rng(5);
  for (int i = 0; i < 40000; ++i) {
    const int k = static_cast<int>(rng() % 16);
    ix.push_back(ux[k]);
    qx.push_back(uq[k]);
  }
  // The same auto-scaled limits either way: the 16 points in their order of
  // first appearance come first in the long list too.
  std::vector<float> fx(ux), fq(uq);
  fx.insert(fx.end(), ix.begin(), ix.end());
  fq.insert(fq.end(), qx.begin(), qx.end());
  auto draw = [](const std::vector<float>& x, const std::vector<float>& y, lv::DeviceContext& dc) {
    CWPlot2D p;
    p.drawRect = lv::Rect{0, 0, 800, 600};
    p.linesOn[0] = false;
    p.symbolsOn[0] = true;
    p.SetDatasetData(x.data(), y.data(), static_cast<int32_t>(x.size()), 1);
    p.DrawAll(dc, false);
  };
  lv::ImageDc many(800, 600), few(800, 600);
  draw(fx, fq, many);
  draw(ux, uq, few);
  EXPECT_TRUE(many.GetBitmap().SamePixels(few.GetBitmap()));
  lv::RecordingDc rec(lv::Size{800, 600});
  draw(fx, fq, rec);
  lv::RecordingDc recFew(lv::Size{800, 600});
  draw(ux, uq, recFew);
  EXPECT_EQ(Find(rec, DcOp::kLineTo).size(), Find(recFew, DcOp::kLineTo).size());

  // Distinct centres each get their symbol.
  std::vector<float> sx(300), sy(300);
  for (int i = 0; i < 300; ++i) {
    sx[i] = static_cast<float>(i);
    sy[i] = static_cast<float>((i * 37) % 101);
  }
  lv::RecordingDc distinct(lv::Size{800, 600});
  draw(sx, sy, distinct);
  lv::RecordingDc grid(lv::Size{800, 600});
  {
    CWPlot2D p;
    p.drawRect = lv::Rect{0, 0, 800, 600};
    p.linesOn[0] = false;
    p.SetDatasetData(sx.data(), sy.data(), 300, 1);
    p.DrawAll(grid, false);
  }
  EXPECT_EQ(Find(distinct, DcOp::kLineTo).size(), Find(grid, DcOp::kLineTo).size() + 2 * 300);
}

}  // namespace
