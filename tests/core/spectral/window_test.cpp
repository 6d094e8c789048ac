#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <vector>

#include "core/spectral/dsp_window.h"
#include "support/errors.h"
#include "tests/core/spectral/spectral_test_util.h"

namespace {

// Double-precision model of each shape at point i of n.
double ModelValue(int shape, int i, int n) {
  struct Cos {
    double a0, a1, a2, a3;
  };
  static const Cos kCos[5] = {{1, 0, 0, 0},
                              {0.5, 0.5, 0, 0},
                              {0.54348, 0.45652, 0, 0},
                              {0.42323, 0.49755, 0.07922, 0},
                              {0.35875, 0.48829, 0.14128, 0.01168}};
  if (shape <= 5) {
    const Cos& c = kCos[shape - 1];
    const double t = 2.0 * M_PI * i / n;
    return (c.a0 - c.a1 * std::cos(t) + c.a2 * std::cos(2 * t) - c.a3 * std::cos(3 * t)) / c.a0;
  }
  const double alpha = shape == 6 ? 2.78 : shape == 7 ? 3.46 : 4.3;
  const double b = (n - 1) * 0.5;
  double mean = 0.0;
  for (int j = 0; j < n; ++j) mean += std::exp(-0.5 * std::pow((j - b) * alpha / b, 2));
  mean /= n;
  return std::exp(-0.5 * std::pow((i - b) * alpha / b, 2)) / mean;
}

}  // namespace

TEST(DspWindow, HannOfFourPointsIsZeroOneTwoOne) {
  CQDSPWindow w;
  w.SetNumPoints(4);
  w.SetShape(kWindowHann);
  w.Make();
  const float want[4] = {0.0f, 1.0f, 2.0f, 1.0f};
  for (int i = 0; i < 4; ++i) EXPECT_NEAR(w.GetValue(i), want[i], 1e-6) << i;
  EXPECT_EQ(w.GetValue(4), 0.0f);
  EXPECT_EQ(w.GetValue(-1), 0.0f);
  // The complex copy carries the same values with zero imaginary parts.
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(w.GetComplexData()[i].re, w.GetValue(i));
    EXPECT_EQ(w.GetComplexData()[i].im, 0.0f);
  }
}

TEST(DspWindow, EveryShapeMatchesItsModelAndHasMeanOne) {
  for (int shape = 1; shape <= 8; ++shape) {
    for (int n : {7, 64, 1001}) {
      CQDSPWindow w;
      w.SetNumPoints(n);
      w.SetShape(shape);
      w.Make();
      double mean = 0.0, worst = 0.0;
      for (int i = 0; i < n; ++i) {
        mean += w.GetValue(i);
        worst = std::max(worst, std::fabs(w.GetValue(i) - ModelValue(shape, i, n)));
      }
      EXPECT_LT(worst, 4e-6) << "shape " << shape << " n " << n;
      EXPECT_NEAR(mean / n, 1.0, 1e-5) << "shape " << shape << " n " << n;
      if (shape >= 6) {
        for (int i = 0; i < n / 2; ++i) ASSERT_EQ(w.GetValue(i), w.GetValue(n - 1 - i)) << shape;
      }
    }
  }
}

TEST(DspWindow, NoiseBandwidthIsRateTimesSumOfSquaresOverSquaredSum) {
  const double fs = 2.5e6;
  // Known limits for long windows, in bins of fs/N.
  const struct {
    int shape;
    double bins;
  } known[] = {{1, 1.0}, {2, 1.5}, {3, 1.3528}, {5, 2.0044}};
  for (int shape = 1; shape <= 8; ++shape) {
    const int n = 4096;
    CQDSPWindow w;
    w.SetNumPoints(n);
    w.SetShape(shape);
    w.Make();
    double s1 = 0.0, s2 = 0.0;
    for (int i = 0; i < n; ++i) {
      s1 += w.GetValue(i);
      s2 += double(w.GetValue(i)) * w.GetValue(i);
    }
    const double nbw = w.ComputeNBW(fs);
    EXPECT_NEAR(nbw / (fs * s2 / (s1 * s1)), 1.0, 1e-5) << shape;
    for (const auto& k : known)
      if (k.shape == shape) {
        EXPECT_NEAR(nbw / (fs / n), k.bins, 2e-3) << shape;
      }
  }
  CQDSPWindow rect;
  rect.SetNumPoints(1000);
  rect.Make();
  EXPECT_DOUBLE_EQ(rect.ComputeNBW(1e6), 1e6 / 1000);
}

TEST(DspWindow, ApplyMultipliesByTheWindow) {
  CQDSPWindow w;
  w.SetNumPoints(16);
  w.SetShape(kWindowBlackmanHarris3);
  w.Make();
  std::vector<CQComplex> x(16);
  for (int i = 0; i < 16; ++i) x[i] = CQComplex(1.0f + i, -2.0f * i);
  const auto orig = x;
  w.Apply(x.data(), 16);
  for (int i = 0; i < 16; ++i) {
    EXPECT_FLOAT_EQ(x[i].re, orig[i].re * w.GetValue(i)) << i;
    EXPECT_FLOAT_EQ(x[i].im, orig[i].im * w.GetValue(i)) << i;
  }
}

TEST(DspWindow, LengthBandwidthAndTimeSpanConversions) {
  EXPECT_EQ(CalcWindowLengthForRBW(1e6, 1e3, kWindowHann), 1441);
  const struct {
    int shape;
    double k, c;
  } table[] = {{1, 0.886, 1.0}, {2, 1.441, 0.364}, {3, 1.293, 0.383}, {4, 1.623, 0.291},
               {5, 1.899, 0.244}, {6, 1.5, 0.299},  {7, 1.839, 0.24},  {8, 2.281, 0.193}};
  for (const auto& t : table) {
    EXPECT_EQ(CalcWindowLengthForRBW(30.72e6, 10e3, t.shape), static_cast<int>(t.k * 3072 + 0.5)) << t.shape;
    EXPECT_DOUBLE_EQ(CalcRBWForWindowLength(1e6, 2000, t.shape), t.k / (2000 / 1e6)) << t.shape;
    EXPECT_DOUBLE_EQ(CalcTimeSpanForWindowLength(1e6, 2000, t.shape), 2000 / 1e6 * t.c) << t.shape;
  }
}

TEST(DspWindow, BadArgumentsFailWithMessages) {
  CQDSPWindow w;
  std::vector<CQComplex> x(8);
  lv_test::CaughtError e = lv_test::Catch([&] { w.SetNumPoints(0); });
  EXPECT_EQ(e.message, "Invalid number of points in window.");
  EXPECT_NE(e.callStack.find("CQDSPWindow::SetNumPoints"), std::string::npos);
  e = lv_test::Catch([&] { w.SetShape(9); });
  EXPECT_EQ(e.message, "Invalid window shape.");
  EXPECT_NE(e.callStack.find("CQDSPWindow::SetShape"), std::string::npos);
  EXPECT_EQ(lv_test::Catch([&] { w.SetShape(0); }).message, "Invalid window shape.");
  EXPECT_EQ(w.GetShape(), kWindowRectangular);
  e = lv_test::Catch([&] { w.Make(); });
  EXPECT_EQ(e.message, "Invalid number of points in window.");
  EXPECT_NE(e.callStack.find("CQDSPWindow::Make"), std::string::npos);
  EXPECT_EQ(lv_test::Catch([&] { w.ComputeNBW(1e6); }).message, "No window function.");
  w.SetNumPoints(8);
  w.Make();
  const struct {
    const char* what;
    std::function<void()> f;
    const char* want;
  } cases[] = {
      {"null data", [&] { w.Apply(nullptr, 8); }, "Invalid pointer."},
      {"wrong length", [&] { w.Apply(x.data(), 7); }, "Invalid number of points in window."},
      {"rate 0", [&] { w.ComputeNBW(0.0); }, "Invalid sample rate."},
      {"alpha 0", [&] { CQDSPWindow::MakeGaussian(0.0, 8, nullptr); }, "Invalid window parameter: alpha."},
      {"gaussian n 0", [&] { CQDSPWindow::MakeGaussian(2.0, 0, nullptr); }, "Invalid number of points in window."},
      {"gaussian null", [&] { CQDSPWindow::MakeGaussian(2.0, 8, nullptr); }, "NULL pointer."},
      {"rbw shape 9", [&] { CalcWindowLengthForRBW(1e6, 1e3, 9); }, "Invalid window shape."},
      {"rbw 0", [&] { CalcWindowLengthForRBW(1e6, 0.0, 2); }, "Invalid resolution bandwidth."},
      {"rbw tiny", [&] { CalcWindowLengthForRBW(1e9, 1e-6, 2); }, "Invalid resolution bandwidth."},
      {"length 0", [&] { CalcRBWForWindowLength(1e6, 0, 2); }, "Invalid number of points in window."},
      {"span shape 0", [&] { CalcTimeSpanForWindowLength(1e6, 10, 0); }, "Invalid window shape."},
  };
  for (const auto& c : cases) EXPECT_EQ(lv_test::Catch(c.f).message, c.want) << c.what;
  // A one-point Gaussian window is its own mean.
  CQDSPWindow g;
  g.SetNumPoints(1);
  g.SetShape(kWindowGaussian430);
  g.Make();
  EXPECT_EQ(g.GetValue(0), 1.0f);
}
