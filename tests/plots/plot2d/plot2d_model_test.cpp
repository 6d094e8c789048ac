// The plot engine's data model, limits, auto-scaling and data export.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <unistd.h>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "support/errors.h"
#include "platform/gui/recording_dc.h"
#include "plots/plot2d.h"
#include "support/gui_app.h"

namespace {

struct NiceCase {
  double lo, hi, step, wantLo, wantHi;
};

TEST(Plot2DLimits, NiceLimitsTable) {
  const NiceCase cases[] = {
      {0.13, 0.87, -1.0, 0.08, 0.88},  // first automatic step that holds the range: 0.08
      {2.0, 19.0, -1.0, 0.0, 20.0},    // step 2
      {-73.0, -12.0, 10.0, -100.0, 0.0},  // -110/-10, then one shift up
      {0.0, 360.0, -1.0, -40.0, 360.0},
  };
  for (const NiceCase& c : cases) {
    double lo = c.lo, hi = c.hi;
    CWPlot2D::MakeNiceLimits(lo, hi, c.step);
    EXPECT_NEAR(lo, c.wantLo, 1e-9) << c.lo << " " << c.hi;
    EXPECT_NEAR(hi, c.wantHi, 1e-9) << c.lo << " " << c.hi;
  }
}

TEST(Plot2DLimits, PhaseLimits) {
  double lo = -170, hi = 175;
  CWPlot2D::MakePhaseLimits(lo, hi);
  EXPECT_EQ(lo, -180.0);
  EXPECT_EQ(hi, 180.0);
  lo = 10;
  hi = 350;
  CWPlot2D::MakePhaseLimits(lo, hi);
  EXPECT_NEAR(lo, -40.0, 1e-9);
  EXPECT_NEAR(hi, 360.0, 1e-9);
}

// Non-finite limits, a zero span and a span near the largest double end
// without division by zero or endless loops: the helpers return, make no
// value non-finite that was finite, give finite limits in order for finite
// ones, and leave the nice limits of non-finite ones alone.
TEST(Plot2DLimits, NonFiniteLimitsEndWithoutHang) {
  const double bad[][2] = {{NAN, 1.0}, {0.0, INFINITY}, {-INFINITY, INFINITY}, {5.0, 5.0}, {1e300, 1.7e308}};
  auto same = [](double a, double b) { return (std::isnan(a) && std::isnan(b)) || a == b; };
  for (auto& b : bad) {
    SCOPED_TRACE(testing::Message() << b[0] << " " << b[1]);
    const bool finite = std::isfinite(b[0]) && std::isfinite(b[1]);
    for (double step : {-1.0, 10.0}) {
      double lo = b[0], hi = b[1];
      CWPlot2D::MakeNiceLimits(lo, hi, step);
      if (finite) {
        EXPECT_TRUE(std::isfinite(lo) && std::isfinite(hi)) << step << ": " << lo << " " << hi;
        EXPECT_LE(lo, hi) << step;
      } else {
        EXPECT_TRUE(same(lo, b[0]) && same(hi, b[1])) << step << ": " << lo << " " << hi;
      }
    }
    double lo = b[0], hi = b[1];
    CWPlot2D::MakePhaseLimits(lo, hi);
    EXPECT_EQ(std::isfinite(lo), std::isfinite(b[0])) << lo;
    EXPECT_EQ(std::isfinite(hi), std::isfinite(b[1])) << hi;
    if (finite) {
      EXPECT_LE(lo, hi);
    }
  }
  // A zero span opens around its value.
  double lo = 5.0, hi = 5.0;
  CWPlot2D::MakeNiceLimits(lo, hi, -1.0);
  EXPECT_LT(lo, 5.0);
  EXPECT_GT(hi, 5.0);
}

class Plot2DModel : public ::testing::Test {
 protected:
  void SetUp() override { lv_test::EnsureGuiApplication(); }
};

TEST_F(Plot2DModel, EvmAxisStartsAtZero) {
  CWPlot2D p;
  p.drawRect = lv::Rect{0, 0, 640, 480};
  p.yAxisType = 17;
  const float x[] = {0, 1, 2, 3, 4, 5};
  const float y[] = {-2, 3, 0, 1, 2, -1};
  p.SetDatasetData(x, y, 6, 1);
  p.AutoScale();
  EXPECT_DOUBLE_EQ(p.yMin, 0.0);
  EXPECT_DOUBLE_EQ(p.yMax, 5.0);
  EXPECT_NEAR(p.xMin, 0.0, 1e-12);
  EXPECT_NEAR(p.xMax, 5.0, 1e-12);
}

TEST_F(Plot2DModel, DegenerateDataGiveFiniteScales) {
  struct Case {
    std::vector<float> y;
    bool yLog;
    lv::Rect rect;
    int yType;
  };
  const Case cases[] = {
      {{3, 3, 3}, false, {0, 0, 640, 480}, 11},              // zero span, no nice limits
      {{0, -1, 0}, true, {0, 0, 640, 480}, 11},              // non-positive on a log axis
      {{NAN, NAN, NAN}, false, {0, 0, 640, 480}, 7},         // undefined values
      {{INFINITY, 1, -INFINITY}, false, {0, 0, 640, 480}, 7},
      {{1, 2, 3}, false, {0, 0, 20, 10}, 7},                 // smaller than the margins
  };
  for (const Case& c : cases) {
    CWPlot2D p;
    p.drawRect = c.rect;
    p.yLog = c.yLog;
    p.yAxisType = c.yType;
    const float x[] = {1, 2, 3};
    p.SetDatasetData(x, c.y.data(), 3, 1);
    lv::RecordingDc dc(lv::Size{640, 480});
    p.symbolsOn[0] = true;
    p.barsOn[0] = true;
    p.DrawAll(dc, false);
    EXPECT_TRUE(std::isfinite(p.yPixelsPerUnit));
    EXPECT_TRUE(std::isfinite(p.xPixelsPerUnit));
    EXPECT_LT(p.yMin, p.yMax);
    if (c.yLog) {
      EXPECT_GT(p.yMin, 0.0);
    }
  }
}

TEST_F(Plot2DModel, SetterChecks) {
  CWPlot2D p;
  const float x[] = {1, 2}, y[] = {3, 4};
  p.SetNumDatasets(2);
  auto r = lv_test::Catch([&] { p.SetDatasetData(x, y, 2, 3); });
  EXPECT_EQ(r.message, "Invalid data set number.");
  EXPECT_NE(r.callStack.find("CWPlot2D::SetDatasetData"), std::string::npos);
  r = lv_test::Catch([&] { p.SetDatasetData(x, y, 2, 0); });
  EXPECT_EQ(r.message, "Invalid data set number.");
  r = lv_test::Catch([&] { p.SetNumDatasets(9); });
  EXPECT_EQ(r.message, "Invalid number of data sets.");
  r = lv_test::Catch([&] { p.SetDatasetData(static_cast<const float*>(nullptr), y, 2, 1); });
  EXPECT_EQ(r.message, "Null pointer to input data.");
  p.SetDatasetData(x, y, 2, 1);
  r = lv_test::Catch([&] { p.SetDatasetData(x, y, 0, 1); });
  EXPECT_EQ(r.message, "Invalid number of input points.");
  EXPECT_EQ(p.GetPointCount(1), 2);
  EXPECT_EQ(p.DatasetY(1, 1), 4.0);
  r = lv_test::Catch([&] { p.SetMemoryDatasetData(x, y, 2, 3); });
  EXPECT_TRUE(r.thrown);
  p.SaveDatasetToMemory(1, 2);
  EXPECT_EQ(p.GetMemoryPointCount(2), 2);
  EXPECT_EQ(p.MemoryX(2, 1), 2.0);
  // Notation colour 18: the axes label colour is kept, the rest unchanged.
  r = lv_test::Catch([&] { p.SetColors(3, 18, 0, 4); });
  EXPECT_EQ(r.message, "Invalid notation color.");
  EXPECT_EQ(p.axesLabelColor, 3);
  EXPECT_EQ(p.notationColor, 1);
  EXPECT_EQ(p.gridColor, 2);
  EXPECT_EQ(p.backgroundColor, 0);
}

TEST_F(Plot2DModel, ExportWritesHeaderAndCrLfLines) {
  const std::filesystem::path dir = std::filesystem::temp_directory_path() / ("lv_plot2d_" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir);
  CWPlot2D p;
  p.drawRect = lv::Rect{0, 0, 640, 480};
  p.SetNumDatasets(2);
  std::vector<float> x(1000), y1(1000), y2(1000);
  for (int i = 0; i < 1000; ++i) {
    x[i] = i * 0.5f;
    y1[i] = std::sin(i * 0.01f);
    y2[i] = -i;
  }
  p.SetDatasetData(x.data(), y1.data(), 1000, 1);
  p.SetDatasetData(x.data(), y2.data(), 1000, 2);
  p.SetDatasetLabel(L"Tx1", 1);
  p.AutoScale();
  const std::filesystem::path file = dir / "data.txt";
  p.SaveDataToFile(file.wstring().c_str());
  std::ifstream in(file, std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  const std::string text = ss.str();
  size_t lines = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\n') {
      ++lines;
      ASSERT_GT(i, 0u);
      ASSERT_EQ(text[i - 1], '\r');
    }
  }
  EXPECT_EQ(lines, 1001u);
  const std::string header = text.substr(0, text.find('\r'));
  EXPECT_EQ(std::count(header.begin(), header.end(), '\t'), 2);
  EXPECT_NE(header.find("\tTx1 "), std::string::npos);
  const size_t second = text.find('\n') + 1;
  const std::string row = text.substr(second, text.find('\r', second) - second);
  EXPECT_EQ(row, "0.000000\t0.000000\t0.000000");
  EXPECT_NE(text.find("\r\n499.500000\t"), std::string::npos);

  // Differing lengths: an error and no file.
  p.SetDatasetData(x.data(), y2.data(), 999, 2);
  const std::filesystem::path file2 = dir / "bad.txt";
  auto r = lv_test::Catch([&] { p.SaveDataToFile(file2.wstring().c_str()); });
  EXPECT_EQ(r.message, "Attempt to write a file with differing number of points in the data sets.");
  EXPECT_NE(r.callStack.find("CWPlot2D::SaveDataToFile"), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(file2));
  std::filesystem::remove_all(dir);
}

}  // namespace
