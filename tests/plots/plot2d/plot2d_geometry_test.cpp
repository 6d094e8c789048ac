// Bars, coordinate conversions, the scratch-array rule and the margins of the
// plot engine.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "support/errors.h"
#include "platform/gui/recording_dc.h"
#include "plots/colors.h"
#include "plots/plot2d.h"
#include "support/gui_app.h"

namespace {

using lv::DcOp;

class Plot2DGeometry : public ::testing::Test {
 protected:
  void SetUp() override { lv_test::EnsureGuiApplication(); }
};

int SolidFills(const lv::RecordingDc& dc, lv::Color c) {
  int n = 0;
  for (const lv::DcRecord& r : dc.Records())
    if (r.op == DcOp::kFillRect && r.brush == lv::Brush::Solid(c)) ++n;
  return n;
}

TEST_F(Plot2DGeometry, LinearBarsSkipNearZeroValues) {
  CWPlot2D p;
  p.drawRect = lv::Rect{0, 0, 640, 480};
  p.yAutoScale = false;
  p.yMin = 0;
  p.yMax = 100;
  p.barsOn[0] = true;
  p.linesOn[0] = false;
  p.datasetColor[0] = 3;
  const float x[] = {10, 20, 30, 40};
  const float y[] = {50, 0.05f, 0.2f, 0};  // 0.05 % of the range is skipped, 0.2 % drawn
  p.SetDatasetData(x, y, 4, 1);
  lv::RecordingDc dc(lv::Size{640, 480});
  p.DrawAll(dc, false);
  EXPECT_EQ(SolidFills(dc, CWColors::GetRGBColor(3)), 2);
}

TEST_F(Plot2DGeometry, LogarithmicBarsAreContiguous) {
  CWPlot2D p;
  p.drawRect = lv::Rect{0, 0, 640, 480};
  p.xLog = true;
  p.yAutoScale = false;
  p.yMin = 0;
  p.yMax = 10;
  p.barsOn[0] = true;
  p.linesOn[0] = false;
  p.datasetColor[0] = 4;
  const float x[] = {10, 100, 1000, 10000};
  const float y[] = {0, 5, 0, 0};  // first and last drawn whatever their value
  p.SetDatasetData(x, y, 4, 1);
  lv::RecordingDc dc(lv::Size{640, 480});
  p.DrawAll(dc, false);
  std::vector<lv::Rect> bars;
  for (const lv::DcRecord& r : dc.Records())
    if (r.op == DcOp::kFillRect && r.brush == lv::Brush::Solid(CWColors::GetRGBColor(4))) bars.push_back(r.rect);
  ASSERT_EQ(bars.size(), 3u);
  EXPECT_EQ(bars[0].left, p.plotArea.left);
  // The middle bar runs from the midpoint 55 to the midpoint 550.
  int32_t a, b, unused;
  p.ClampToPixel(55, 0, a, unused);
  p.ClampToPixel(550, 0, b, unused);
  EXPECT_EQ(bars[1].left, a);
  EXPECT_EQ(bars[1].right, b);

  // One point on a logarithmic axis has no defined bar: none is drawn.
  const float x1[] = {100}, y1[] = {5};
  p.SetDatasetData(x1, y1, 1, 1);
  lv::RecordingDc dc1(lv::Size{640, 480});
  p.DrawAll(dc1, false);
  EXPECT_EQ(SolidFills(dc1, CWColors::GetRGBColor(4)), 0);
}

TEST_F(Plot2DGeometry, PixelAndDataConversionsInvertEachOther) {
  for (bool log : {false, true}) {
    CWPlot2D p;
    p.drawRect = lv::Rect{0, 0, 800, 600};
    p.xLog = log;
    p.yLog = log;
    const float x[] = {1, 1000}, y[] = {1, 1000};
    p.SetDatasetData(x, y, 2, 1);
    p.AutoScale();
    for (double v : {2.0, 30.0, 400.0}) {
      int32_t px, py;
      bool inside = false;
      p.DataToPixel(v, v, px, py, inside);
      EXPECT_TRUE(inside);
      double bx, by;
      p.PixelToData(px, py, bx, by);
      const double tol = log ? v * 0.02 : (p.xMax - p.xMin) / 500.0;
      EXPECT_NEAR(bx, v, tol) << log;
      EXPECT_NEAR(by, v, log ? v * 0.02 : (p.yMax - p.yMin) / 400.0) << log;
    }
    int32_t px, py;
    bool inside = true;
    p.DataToPixel(p.xMax * 2, p.yMin, px, py, inside);
    EXPECT_FALSE(inside);
  }
}

TEST_F(Plot2DGeometry, ScratchArraysKeptWhileCapacityWithinNTo2N) {
  CWPlot2D p;
  p.AllocTempArrays(1000);
  const double* a = p.TempX();
  p.AllocTempArrays(600);  // 600 <= 1000 <= 1200: kept
  EXPECT_EQ(p.TempX(), a);
  EXPECT_EQ(p.TempCapacity(), 1000);
  p.AllocTempArrays(400);  // 1000 > 800: replaced
  EXPECT_EQ(p.TempCapacity(), 400);
  p.AllocTempArrays(401);  // grows
  EXPECT_EQ(p.TempCapacity(), 401);
  p.AllocTempArrays(0);
  EXPECT_EQ(p.TempCapacity(), 401);
}

TEST_F(Plot2DGeometry, ProjectionChecks) {
  CWPlot2D p;
  double x[2] = {0, 1}, y[2] = {0, 1};
  int32_t px[2], py[2];
  auto r = lv_test::Catch([&] { p.ProjectAPoint(nullptr, y, px, py, 2); });
  EXPECT_EQ(r.message, "Null pointer to input data.");
  r = lv_test::Catch([&] { p.ProjectAPoint(x, y, px, nullptr, 2); });
  EXPECT_EQ(r.message, "Null pointer to output data.");
  r = lv_test::Catch([&] { p.ProjectAPoint(x, y, px, py, 0); });
  EXPECT_EQ(r.message, "Invalid number of input points.");
  EXPECT_NE(r.callStack.find("CWPlot2D::ProjectAPoint"), std::string::npos);
}

TEST_F(Plot2DGeometry, MarginsOnceSetStayUntilUnset) {
  CWPlot2D p;
  p.drawRect = lv::Rect{0, 0, 640, 480};
  const float x[] = {0, 1}, y[] = {0, 1};
  p.SetDatasetData(x, y, 2, 1);
  p.AutoScale();
  EXPECT_EQ(p.plotArea, (lv::Rect{67, 10, 610, 440}));
  p.legendOn = true;
  p.AutoScale();
  EXPECT_EQ(p.plotArea.top, 10);
  p.topMargin = -1;
  p.AutoScale();
  EXPECT_EQ(p.plotArea.top, 17);
}

TEST_F(Plot2DGeometry, DataStepErrorsStopTheDrawing) {
  CWPlot2D p;
  p.drawRect = lv::Rect{0, 0, 640, 480};
  const float x[] = {0, 1}, y[] = {0, 1};
  p.SetDatasetData(x, y, 2, 1);
  p.datasetColor[0] = 18;
  lv::RecordingDc dc(lv::Size{640, 480});
  auto r = lv_test::Catch([&] { p.DrawAll(dc, false); });
  EXPECT_EQ(r.message, "Invalid color for plotting data.");
  EXPECT_NE(r.callStack.find("CWPlot2D::PlotDataWithLines"), std::string::npos);
  EXPECT_NE(r.callStack.find("CWPlot2D::DrawAll"), std::string::npos);
  // The pen selected before the step is back in place.
  EXPECT_EQ(dc.GetPen(), lv::Pen::Solid(0, 0));
}

}  // namespace
