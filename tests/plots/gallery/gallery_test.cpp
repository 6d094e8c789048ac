// Pictures of the plots for a person to look at, written to
// <build>/gallery/plots (ctest -L gallery runs these alone), with a few checks
// that the pictures hold what they show.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "platform/gui/image_dc.h"
#include "plots/color_map.h"
#include "plots/colors.h"
#include "plots/plot2d.h"
#include "support/gui_app.h"

namespace {

using lv::MakeRgb;

class PlotsGallery : public ::testing::Test {
 protected:
  void SetUp() override { lv_test::EnsureGuiApplication(); }
};

TEST_F(PlotsGallery, ColourMapsAndThePalette) {
  lv::ImageDc dc(560, 330, MakeRgb(32, 32, 32));
  dc.SetBkMode(lv::BkMode::kTransparent);
  dc.SetTextColor(MakeRgb(255, 255, 255));
  dc.SetTextAlign(lv::TextAlign{lv::HAlign::kCenter, lv::VAlign::kTop});
  CWColorMap map;
  for (int t = 0; t < CWColorMap::kNumTypes; ++t) {
    map.SetType(t);
    const lv::Bitmap bar = map.MakeColorScale(&dc, 40, 256);
    const int x = 20 + t * 70;
    dc.BitBlt(lv::Rect{x, 20, x + 40, 276}, bar, lv::Point{0, 0});
    dc.TextOut(x + 20, 282, L"Type " + std::to_wstring(t));
  }
  for (int i = 0; i < CWColors::kNumColors; ++i) {
    const int x = 450 + (i % 3) * 34;
    const int y = 20 + (i / 3) * 40;
    dc.FillSolidRect(lv::Rect{x, y, x + 28, y + 24}, CWColors::GetRGBColor(i));
    dc.TextOut(x + 14, y + 24, std::to_wstring(i));
  }
  const std::string path = lv_test::GalleryFolder("plots") + "/colour_maps.png";
  ASSERT_TRUE(dc.GetBitmap().Save(path));
  // The bars were copied without change: the bottom of type 3 is black, its
  // top 251,255,255.
  EXPECT_EQ(dc.GetBitmap().Pixel(20 + 3 * 70 + 5, 275), MakeRgb(0, 0, 0));
  EXPECT_EQ(dc.GetBitmap().Pixel(20 + 3 * 70 + 5, 20), MakeRgb(251, 255, 255));
}

void SavePlot(CWPlot2D& p, int w, int h, const std::string& name, lv::Color clear) {
  lv::ImageDc dc(w, h, clear);
  p.drawRect = lv::Rect{0, 0, w, h};
  p.DrawAll(dc, false);
  ASSERT_TRUE(dc.GetBitmap().Save(lv_test::GalleryFolder("plots") + "/" + name));
}

TEST_F(PlotsGallery, Plot2DScreens) {
  std::vector<float> x(2000), y(2000), y2(2000);
  for (int i = 0; i < 2000; ++i) {
    x[i] = i * 1e-6f;
    y[i] = 0.8f * std::sin(i * 0.0125f);
    y2[i] = 0.5f * std::cos(i * 0.02f);
  }
  {
    CWPlot2D p;
    p.xAxisType = 0;
    p.yAxisType = 6;
    p.SetDatasetData(x.data(), y.data(), 2000, 1);
    SavePlot(p, 800, 450, "plot2d_screen_sine.png", 0);
  }
  {
    CWPlot2D p;
    const CWColorScheme s = CWColorScheme::Paper();
    p.SetNumDatasets(2);
    p.SetColors(s.axesLabel, s.notation, 0, s.background);
    p.gridColor = s.grid;
    p.datasetColor[0] = s.dataset[0];
    p.datasetColor[1] = s.dataset[1];
    p.xAxisType = 0;
    p.yAxisType = 8;
    p.SetDatasetData(x.data(), y.data(), 2000, 1);
    p.SetDatasetData(x.data(), y2.data(), 2000, 2);
    p.SetDatasetLabel(L"Transmitter 1", 1);
    p.SetDatasetLabel(L"Transmitter 2", 2);
    p.legendOn = true;
    p.bottomLeftNotationOn = true;
    p.SetBottomLeftNotation(L"Paper scheme|two datasets");
    SavePlot(p, 800, 450, "plot2d_paper_legend.png", lv::MakeRgb(255, 255, 255));
  }
  {
    CWPlot2D p;
    std::vector<float> fx(40), fy(40);
    for (int i = 0; i < 40; ++i) {
      fx[i] = 10.0f * std::pow(10.0f, i * 0.1f);
      fy[i] = 20.0f + 10.0f * std::sin(i * 0.3f);
    }
    p.xLog = true;
    p.xAxisType = 2;
    p.yAxisType = 12;
    p.barsOn[0] = true;
    p.linesOn[0] = false;
    p.datasetColor[0] = CWColors::kMossGreen;
    p.SetDatasetData(fx.data(), fy.data(), 40, 1);
    SavePlot(p, 800, 450, "plot2d_log_bars.png", 0);
  }
  {
    CWPlot2D p;
    const float bx[] = {0, 100}, by[] = {0, 1};
    p.SetDatasetData(bx, by, 2, 1);
    for (int pat = 0; pat < 4; ++pat) {
      CWBackgroundBlock b;
      b.on = true;
      b.xStart = 5 + pat * 25;
      b.xEnd = 20 + pat * 25;
      b.pattern = pat;
      b.color = 3 + pat;
      p.BackgroundBlocks().AddItem(&b);
    }
    SavePlot(p, 800, 450, "plot2d_block_patterns.png", 0);
  }
}

}  // namespace
