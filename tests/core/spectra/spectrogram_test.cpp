#include "core/spectral/spectrogram.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <string>
#include <vector>

#include "core/arrays/carray.h"
#include "core/spectral/dsp_window.h"
#include "measurement_test_util.h"
#include "support/errors.h"

using lv_test::Catch;

namespace {

std::vector<CQComplex> Zeros(int n) { return std::vector<CQComplex>(n); }

struct LayoutCase {
  const char* what;
  int n;
  bool autoTime;
  double range;
  int desiredRows;
  int length, increment, rows;
};

TEST(Spectrogram, LayoutFollowsTheRbwAndTheTimeSettings) {
  const double fs = 1e6;
  // Shape 7 at 2.5 kHz asks for 735.6 -> 736 samples, made odd.
  const LayoutCase cases[] = {
      {"auto time range", 10000, true, 0.0, 400, 737, 1, 400},
      {"few rows possible", 1000, true, 0.0, 400, 737, 1, 1000 - 737 + 1},
      {"desired time range", 10000, false, 9e-3, 400, 737, 23, 400},
      {"time range with room to spare", 10000, false, 50e-3, 400, 737, 125, 9263 / 125 + 1},
      {"input as long as the even length", 736, true, 0.0, 400, 735, 1, 2},
      {"last segment ends on the last sample", 800, true, 0.0, 1000, 737, 1, 64},
      {"one row", 737, true, 0.0, 400, 737, 1, 1},
  };
  for (const LayoutCase& c : cases) {
    const std::vector<CQComplex> v = Zeros(c.n);
    CQAltTDSpgm s;
    s.SetParameters(c.autoTime, c.desiredRows, 64, -200000.0, 300000.0, c.range, 2500.0);
    s.SetInputData(v.data(), c.n, fs, 1.5, 100e6);
    s.ResolveLayout();
    EXPECT_EQ(s.GetSegmentLength(), c.length) << c.what;
    EXPECT_EQ(s.GetRowIncrement(), c.increment) << c.what;
    EXPECT_EQ(s.GetNumRows(), c.rows) << c.what;
    EXPECT_EQ(s.GetNumColumns(), 64) << c.what;
    const double first = 1.5 + (c.length / 2) / fs;
    EXPECT_DOUBLE_EQ(s.GetStartTime(), first) << c.what;
    EXPECT_NEAR(s.GetStopTime(), first + (c.rows - 1) * c.increment / fs, 1e-12) << c.what;
    EXPECT_EQ(s.GetStartFreq(), -200000.0) << c.what;
    EXPECT_EQ(s.GetStopFreq(), 300000.0) << c.what;
    EXPECT_DOUBLE_EQ(s.GetActualRBW(), CalcRBWForWindowLength(fs, c.length, 7)) << c.what;
    EXPECT_DOUBLE_EQ(s.GetTimeResolution(), CalcTimeSpanForWindowLength(fs, c.length, 7)) << c.what;
  }
  // The first row of the 737-sample segment is 368 microseconds after the origin.
  const std::vector<CQComplex> v = Zeros(10000);
  CQAltTDSpgm s;
  s.SetParameters(true, 400, 16, -1.0, 1.0, 0.0, 2500.0);
  s.SetInputData(v.data(), 10000, fs, 0.0, 0.0);
  s.ResolveLayout();
  EXPECT_NEAR(s.GetStartTime(), 368e-6, 1e-15);
}

TEST(Spectrogram, TimeStepIncrement) {
  struct Case {
    int rows;
    double range, fs;
    int expected;
    const char* message;
  } cases[] = {
      {1, 0.01, 1e6, 1, nullptr},
      {400, 9e-3, 1e6, 23, nullptr},
      {400, 1e-7, 1e6, 1, nullptr},  // rounds to 0: one sample
      {3, 1.0, 1e9, 500000000, nullptr},
      {0, 1.0, 1e6, 0, "Invalid desired number of plot points."},
      {10, 0.0, 1e6, 0, "Invalid time range."},
      {10, 1.0, 0.0, 0, "Invalid sample rate."},
  };
  for (const auto& c : cases) {
    int k = 0;
    const auto t = Catch([&] { k = CQAltTDSpgm::CalcTimeStepIncrement(c.rows, c.range, c.fs); });
    if (c.message == nullptr) {
      EXPECT_FALSE(t.thrown) << t.message;
      EXPECT_EQ(k, c.expected) << c.rows << " rows over " << c.range;
    } else {
      EXPECT_EQ(t.message, c.message);
      EXPECT_NE(t.callStack.find("CQAltTDSpgm::CalcTimeStepIncrement"), std::string::npos);
    }
  }
}

TEST(Spectrogram, SettingsAndInputAreChecked) {
  const std::vector<CQComplex> v = Zeros(1000);
  struct Case {
    const char* what;
    double rbw;
    int columns;
    const char* message;
  } cases[] = {
      {"no RBW", 0.0, 10, "The resolution bandwidth is <= 0.\nPlease set it to a positive value."},
      {"no columns", 2500.0, 0, "The number of frequency points is <= 0.\nPlease set it to a positive value."},
      {"RBW too large", 2e6, 10, "Resolution bandwidth too large."},
      {"RBW too small", 1000.0, 10, "Resolution bandwidth too small for the number of input data points."},
      {"RBW far too small", 1e-12, 10, "Resolution bandwidth too small for the number of input data points."},
  };
  for (const auto& c : cases) {
    CQAltTDSpgm s;
    s.SetParameters(true, 100, c.columns, -1.0, 1.0, 0.0, c.rbw);
    s.SetInputData(v.data(), 1000, 1e6, 0.0, 0.0);
    const auto t = Catch([&] { s.Compute(); });
    EXPECT_EQ(t.message, c.message) << c.what;
    EXPECT_NE(t.callStack.find("CQAltTDSpgm::Compute"), std::string::npos) << c.what;
  }
  CQAltTDSpgm s;
  s.SetParameters(true, 100, 10, -1.0, 1.0, 0.0, 2500.0);
  EXPECT_EQ(Catch([&] { s.Compute(); }).message, "Null pointer to input data.");
  EXPECT_EQ(Catch([&] { s.SetInputData(nullptr); }).message, "Null pointer to input data.");
  EXPECT_EQ(Catch([&] { s.SetInputData(nullptr, 10, 1e6, 0, 0); }).message, "Null pointer to input data.");
  EXPECT_EQ(Catch([&] { s.SetInputData(v.data(), 0, 1e6, 0, 0); }).message, "Invalid number of input points.");
  EXPECT_EQ(Catch([&] { s.SetInputData(v.data(), 10, 0.0, 0, 0); }).message, "Invalid input sample rate.");
  const auto shape = Catch([&] { s.SetDSPWindowShape(9); });
  EXPECT_EQ(shape.message, "Invalid window shape.");
  EXPECT_NE(shape.callStack.find("CQAltTDSpgm::SetDSPWindowShape"), std::string::npos);
  EXPECT_EQ(s.GetDSPWindowShape(), 7);
}

TEST(Spectrogram, RowsAreTheTransformsOfTheCentredWindowedSegments) {
  // A random waveform: every row equals the directly computed DFT (scaled by
  // 1/L) of the windowed segment starting at row x increment.
  const double fs = 1e6;
  const int n = 3000;
  std::vector<CQComplex> v(n);
  unsigned state = 12345u;
  for (auto& c : v) {
    state = state * 1103515245u + 12345u;
    const float a = static_cast<float>((state >> 8) & 0xFFFF) / 65536.0f - 0.5f;
    state = state * 1103515245u + 12345u;
    const float b = static_cast<float>((state >> 8) & 0xFFFF) / 65536.0f - 0.5f;
    c = CQComplex(a, b);
  }
  CQCArrayTD x;
  x.Set(v.data(), n, fs, 0.0);
  CQAltTDSpgm s;
  s.SetParameters(false, 6, 33, -300000.0, 100000.0, 2e-3, 10000.0);
  s.SetDSPWindowShape(kWindowHann);
  s.SetInputData(&x);
  s.Compute();
  const int length = s.GetSegmentLength();
  EXPECT_EQ(length % 2, 1);
  EXPECT_EQ(s.GetNumRows(), 6);
  CQDSPWindow w;
  w.SetShape(kWindowHann);
  w.SetNumPoints(length);
  w.Make();
  EXPECT_EQ(s.GetWindowCenterValue(), w.GetValue(length / 2));
  double worst = 0.0, peak = 0.0;
  for (int r = 0; r < s.GetNumRows(); ++r) {
    const CQComplex* row = s.GetRowPtr(r);
    for (int c = 0; c < 33; ++c) {
      const double f = -300000.0 + c * 12500.0;
      std::complex<double> sum = 0.0;
      for (int i = 0; i < length; ++i) {
        const CQComplex& xi = v[r * s.GetRowIncrement() + i];
        sum += std::complex<double>(xi.re, xi.im) * static_cast<double>(w.GetValue(i)) *
               std::polar(1.0, -2.0 * M_PI * f * i / fs);
      }
      sum /= length;
      worst = std::max(worst, std::abs(std::complex<double>(row[c].re, row[c].im) - sum));
      peak = std::max(peak, std::abs(sum));
    }
  }
  EXPECT_LT(worst, 1e-4 * peak);
}

TEST(Spectrogram, ALinearChirpsRidgeFollowsItsInstantaneousFrequency) {
  // From -400 kHz to +400 kHz over 20,000 samples at 1 MHz.
  const double fs = 1e6;
  const int n = 20000;
  const double f0 = -400000.0, rate = 800000.0 / (n / fs);  // Hz per second
  std::vector<CQComplex> v(n);
  for (int i = 0; i < n; ++i) {
    const double t = i / fs;
    const double p = 2.0 * M_PI * (f0 * t + 0.5 * rate * t * t);
    v[i] = CQComplex(static_cast<float>(std::cos(p)), static_cast<float>(std::sin(p)));
  }
  const int columns = 401;  // 2.5 kHz per column
  CQAltTDSpgm s;
  s.SetParameters(false, 50, columns, -500000.0, 500000.0, 18e-3, 20000.0);
  s.SetInputData(v.data(), n, fs, 0.0, 0.0);
  s.Compute();
  ASSERT_EQ(s.GetNumRows(), 50);
  const double df = 1e6 / (columns - 1);
  for (int r = 0; r < s.GetNumRows(); ++r) {
    const CQComplex* row = s.GetRowPtr(r);
    int best = 0;
    for (int c = 1; c < columns; ++c)
      if (row[c].re * row[c].re + row[c].im * row[c].im > row[best].re * row[best].re + row[best].im * row[best].im)
        best = c;
    const double t = s.GetStartTime() + r * (s.GetStopTime() - s.GetStartTime()) / (s.GetNumRows() - 1);
    const double instantaneous = f0 + rate * t;
    EXPECT_NEAR(-500000.0 + best * df, instantaneous, df) << "row " << r << " at " << t;
  }
}

}  // namespace
