// Axis titles, units and divisors by axis type; one-value labels; unit
// stripping; decimals of tick labels.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "support/errors.h"
#include "plots/axis_scale.h"

namespace {

struct TitleCase {
  int type;
  double a, b;
  const wchar_t* title;
  double divisor;
};

const TitleCase kTitles[] = {
    {0, 0, 0.5e-9, L"Time (psec)", 1e-12},
    {0, -1e-10, 5e-10, L"Time (psec)", 1e-12},
    {0, 0, 1e-9, L"Time (nsec)", 1e-9},
    {0, 0, 2e-6, L"Time (microsec)", 1e-6},
    {0, 0, 5e-4, L"Time (microsec)", 1e-6},
    {0, 0, 0.5, L"Time (msec)", 1e-3},
    {0, 0, 1, L"Time (sec)", 1},
    {0, -3, 0.001, L"Time (sec)", 1},
    {1, 0, 5e-8, L"Group Delay (nsec)", 1e-9},
    {1, 0, 100, L"Group Delay (sec)", 1},
    {2, 0, 999.9, L"Frequency (Hz)", 1},
    {2, 0, 1000, L"Frequency (kHz)", 1e3},
    {2, -2e6, 1e6, L"Frequency (MHz)", 1e6},
    {2, 0, 1e9, L"Frequency (GHz)", 1e9},
    {2, -5e9, 0, L"Frequency (GHz)", 1e9},
    {3, -500, 500, L"Relative Freq (Hz)", 1},
    {3, -5e4, 5e4, L"Relative Freq (kHz)", 1e3},
    {3, -2e8, 2e8, L"Relative Freq (MHz)", 1e6},
    {3, 0, 3e9, L"Relative Freq (GHz)", 1e9},
    {4, 0, 5e-4, L"Length (micrometers)", 1e-6},
    {4, 0, 0.005, L"Length (millimeters)", 1e-3},
    {4, 0, 0.5, L"Length (centimeters)", 1e-2},
    {4, 0, 999, L"Length (meters)", 1},
    {4, 0, 1000, L"Length (kilometers)", 1e3},
    {5, 0, 999, L"Range (meters)", 1},
    {5, -1000, 1, L"Range (kilometers)", 1e3},
    {6, 0, 1e9, L"I", 1},
    {7, 0, 1, L"Q", 1},
    {8, 0, 1, L"Real", 1},
    {9, 0, 1, L"Imaginary", 1},
    {10, 0, 1, L"Amplitude", 1},
    {11, 0, 1, L"Magnitude", 1},
    {12, 0, 1, L"Magnitude (dB)", 1},
    {13, -130, -30, L"Magnitude (dBm)", 1},
    {14, -180, 180, L"Phase (deg)", 1},
    {15, -180, 180, L"Phase (deg)", 1},
    {16, 0, 52, L"Subcarrier", 1},
    {17, 0, 5, L"EVM (%)", 1},
    {18, 0, 100, L"Percent Time (%)", 1},
    {19, 0, 10, L"Power Above Average (dB)", 1},
};

TEST(CQAxisScale, AxisTitlesAndDivisorsByTypeAndRange) {
  for (const TitleCase& c : kTitles) {
    std::wstring title = L"old title";
    double divisor = -1;
    CQAxisScale::MakeAxisLabel(c.type, c.a, c.b, title, divisor);
    EXPECT_EQ(title, c.title) << c.type << " " << c.a << " " << c.b;
    EXPECT_EQ(divisor, c.divisor) << c.type << " " << c.a << " " << c.b;
    EXPECT_LT(title.size(), 32u);
  }
}

TEST(CQAxisScale, UnknownTypesDropTheTitleAndFail) {
  for (int bad : {-1, 20, 100}) {
    std::wstring title = L"Frequency (Hz)";
    double divisor = 7;
    const lv_test::CaughtError r = lv_test::Catch([&] { CQAxisScale::MakeAxisLabel(bad, 0, 1, title, divisor); });
    EXPECT_TRUE(r.thrown);
    EXPECT_EQ(r.message, "Invalid axis type.");
    EXPECT_NE(r.callStack.find("CQAxisScale::MakeAxisLabel"), std::string::npos);
    EXPECT_TRUE(title.empty());
    EXPECT_EQ(divisor, 7);
  }
}

TEST(CQAxisScale, NonFiniteLimitsStillGiveATitle) {
  std::wstring title;
  double divisor = 0;
  CQAxisScale::MakeAxisLabel(2, std::numeric_limits<double>::quiet_NaN(), 1.0, title, divisor);
  EXPECT_EQ(title, L"Frequency (GHz)");
  CQAxisScale::MakeAxisLabel(0, 0, std::numeric_limits<double>::infinity(), title, divisor);
  EXPECT_EQ(title, L"Time (sec)");
}

TEST(CQAxisScale, OneValueLabelsUseShortUnits) {
  const TitleCase cases[] = {
      {0, 0, 2.5e-6, L"Time (microsec)", 1e-6},  {0, 0, -0.2, L"Time (msec)", 1e-3},
      {1, 0, 3e-12, L"Group Delay (psec)", 1e-12}, {2, 0, 2.4e9, L"Frequency (GHz)", 1e9},
      {2, 0, -150e3, L"Frequency (kHz)", 1e3},   {4, 0, 5e-4, L"Length (microns)", 1e-6},
      {4, 0, 0.005, L"Length (mm)", 1e-3},       {4, 0, 0.05, L"Length (cm)", 1e-2},
      {4, 0, 12, L"Length (m)", 1},              {4, 0, -2500, L"Length (km)", 1e3},
      {5, 0, 12, L"Range (m)", 1},               {5, 0, 1000, L"Range (km)", 1e3},
      {13, 0, -40, L"Magnitude (dBm)", 1},       {17, 0, 3, L"EVM (%)", 1},
  };
  for (const TitleCase& c : cases) {
    std::wstring text;
    double divisor = 0;
    CQAxisScale::MakeLabel(c.type, c.b, text, divisor);
    EXPECT_EQ(text, c.title) << c.type << " " << c.b;
    EXPECT_EQ(divisor, c.divisor) << c.type << " " << c.b;
  }
  for (int bad : {3, -1, 20}) {
    std::wstring text = L"x";
    double divisor = 0;
    const lv_test::CaughtError r = lv_test::Catch([&] { CQAxisScale::MakeLabel(bad, 1.0, text, divisor); });
    EXPECT_EQ(r.message, "Invalid axis type.") << bad;
    EXPECT_NE(r.callStack.find("CQAxisScale::MakeLabel"), std::string::npos);
  }
}

TEST(CQAxisScale, StripUnitsKeepsTheWordAndItsSpace) {
  const struct {
    const wchar_t* in;
    const wchar_t* out;
  } cases[] = {
      {L"Frequency (Hz)", L"Frequency "},
      {L"Magnitude (dBm)", L"Magnitude "},
      {L"Amplitude", L"Amplitude"},
      {L"EVM (%)", L"EVM "},
      {L"", L""},
      {L"(dB)", L""},
  };
  for (const auto& c : cases) {
    std::wstring out = L"junk";
    CQAxisScale::StripUnitsFromText(c.in, out);
    EXPECT_EQ(out, c.out) << c.in;
  }
  std::wstring out;
  EXPECT_EQ(lv_test::Catch([&] { CQAxisScale::StripUnitsFromText(nullptr, out); }).message,
            "Error copying string.");
  const std::wstring longText(64, L'x');
  EXPECT_EQ(lv_test::Catch([&] { CQAxisScale::StripUnitsFromText(longText.c_str(), out); }).message,
            "Error copying string.");
  const std::wstring fits(63, L'y');
  CQAxisScale::StripUnitsFromText(fits.c_str(), out);
  EXPECT_EQ(out, fits);
}

TEST(CQAxisScale, DecimalsOfEvenlySpacedValues) {
  const struct {
    double a, b;
    int count;
    int decimals;
  } cases[] = {
      {0, 1, 11, 1},
      {0, 0.25, 6, 2},
      {0, 1000, 6, 0},
      {0, 1.0 / 3.0, 2, 6},  // the cap
      {0, 1, 0, 1},          // no values
      {0, 1, -4, 1},
      {5, 5, 1, 0},
      {-2, 2, 5, 0},
      {-1, 1, 11, 1},
      {0, 0.001, 11, 4},
      {1e-6, 2e-6, 2, 0},  // values of 1e-5 and below are not looked at
      {1e-7, 1e-7, 1, 0},  // below 1e-5: needs nothing
      {1.5, 2.5, 3, 1},
      {0.125, 0.125, 1, 3},
      {-130, -30, 11, 0},
      {2400, 2500, 11, 0},
      {2400.5, 2400.75, 2, 2},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(CQAxisScale::CountDecimals(c.a, c.b, c.count), c.decimals) << c.a << " " << c.b << " " << c.count;
  }
  // Non-finite limits need no decimals and end.
  EXPECT_EQ(CQAxisScale::CountDecimals(0, std::numeric_limits<double>::infinity(), 11), 0);
  EXPECT_EQ(CQAxisScale::CountDecimals(std::numeric_limits<double>::quiet_NaN(), 1, 11), 0);
}

}  // namespace
