#include <cmath>
#include <limits>

#include <gtest/gtest.h>

#include "core/numbers.h"
#include "platform/random.h"

namespace {

std::wstring Time(double s) {
  wchar_t buf[kTimeTextSize];
  FormatTimeWithUnits(s, buf);
  return buf;
}
std::wstring Freq(double hz) {
  wchar_t buf[kFrequencyTextSize];
  FormatFrequencyWithUnits(hz, buf);
  return buf;
}
std::wstring SI(double v) {
  wchar_t buf[kSIPrefixTextSize];
  FormatWithSIPrefix(v, buf);
  return buf;
}

TEST(Numbers, UnitFormatting) {
  const struct {
    double value;
    const wchar_t* time;
  } times[] = {{0, L"0.0 sec"},          {1.25e-5, L"12.5 \u00B5sec"}, {0.001, L"1 msec"},
               {1.0 / 300, L"3.3333 msec"}, {1e-13, L"0.1 psec"},     {123456, L"123456 sec"}};
  for (const auto& row : times) {
    EXPECT_EQ(Time(row.value), row.time) << row.value;
  }
  const struct {
    double value;
    const wchar_t* text;
  } freqs[] = {{999, L"999 Hz"},       {1000, L"1 kHz"},          {30.72e6, L"30.72 MHz"},
               {2.412345678e9, L"2.4123 GHz"}, {-10e3, L"-10 kHz"}, {0, L"0 Hz"}};
  for (const auto& row : freqs) {
    EXPECT_EQ(Freq(row.value), row.text) << row.value;
  }
  const struct {
    double value;
    const wchar_t* text;
  } si[] = {{0.5, L"500 m"}, {1500, L"1.5 k"}, {2.5e-7, L"250 n"}, {47e9, L"47 G"}, {12, L"12 "}};
  for (const auto& row : si) {
    EXPECT_EQ(SI(row.value), row.text) << row.value;
  }
  FormatTimeWithUnits(1.0, nullptr);  // a null buffer is ignored
  // A huge value is cut to the buffer, never overrun.
  wchar_t small[kFrequencyTextSize + 8];
  for (auto& c : small) c = L'#';
  FormatFrequencyWithUnits(1e300, small);
  EXPECT_EQ(small[kFrequencyTextSize], L'#');
  EXPECT_EQ(small[kFrequencyTextSize - 1], L'\0');
}

TEST(Numbers, CountSignificantDecimals) {
  const struct {
    double value;
    int decimals;
  } table[] = {{0.5, 1}, {0.25, 2}, {1.0 / 3, 4}, {12.5, 1}, {100, 0}, {1e-5, 0},
               {2e-5, 4}, {999.999, 0}, {-0.25, 2}, {0, 0}, {30.72, 2}};
  for (const auto& row : table) {
    EXPECT_EQ(CountSignificantDecimals(row.value), row.decimals) << row.value;
  }
  EXPECT_EQ(CountSignificantDecimals(std::numeric_limits<double>::quiet_NaN()), 0);
  EXPECT_EQ(CountSignificantDecimals(std::numeric_limits<double>::infinity()), 0);
}

TEST(Numbers, RoundingHalfAwayFromZeroSaturates) {
  EXPECT_EQ(RoundToInt(2.5), 3);
  EXPECT_EQ(RoundToInt(-2.5), -3);
  EXPECT_EQ(RoundToInt(-0.4), 0);
  EXPECT_EQ(RoundToInt(0.49999999999999994), 0);
  EXPECT_EQ(RoundToInt(1e10), std::numeric_limits<int32_t>::max());
  EXPECT_EQ(RoundToInt(-1e10), std::numeric_limits<int32_t>::min());
  EXPECT_EQ(RoundToInt(2147483646.6), std::numeric_limits<int32_t>::max());
  EXPECT_EQ(RoundToInt(std::numeric_limits<double>::quiet_NaN()), 0);
  EXPECT_EQ(RoundToInt64(-2.5), -3);
  EXPECT_EQ(RoundToInt64(1e30), std::numeric_limits<int64_t>::max());
  EXPECT_EQ(RoundToInt64(-1e30), std::numeric_limits<int64_t>::min());
}

TEST(Numbers, DecibelsAndTolerances) {
  EXPECT_NEAR(PowerToDbm(0.001f), 0.0f, 1e-5f);
  EXPECT_EQ(PowerToDbm(0.0f), -200.0f);
  EXPECT_EQ(PowerToDbm(-1.0f), -200.0f);
  EXPECT_NEAR(PowerToDbm(0.01f), 10.0f, 1e-5f);
  EXPECT_NEAR(DbToAmplitude(-6.0206f), 0.5f, 1e-6f);
  EXPECT_TRUE(IsLessOrNearlyEqual(1.0, 1.0000001, 0));
  EXPECT_FALSE(IsLessOrNearlyEqual(1.0000001, 1.0, 0));
  EXPECT_TRUE(IsLessOrNearlyEqual(1.5, 1.0, 0.5));
  EXPECT_TRUE(IsNearlyEqual(1e6, 1e6 + 1.0, 1.0));
  EXPECT_FALSE(IsNearlyEqual(1e6, 1e6 + 1.5, 1.0));
  EXPECT_TRUE(IsNearlyEqualFloat(0.5f, 0.51f, 0.01f));
  EXPECT_FALSE(IsNearlyEqualFloat(0.5f, 0.52f, 0.01f));
}

TEST(Numbers, StringConversions) {
  char u8[16];
  EXPECT_EQ(WideToUtf8(L"192.168.\u00E9", u8, sizeof u8), 11);
  EXPECT_STREQ(u8, "192.168.\xC3\xA9");
  EXPECT_EQ(WideToUtf8(L"too long for it", u8, 4), 0);
  EXPECT_EQ(WideToUtf8(nullptr, u8, 4), 0);
  wchar_t w[8];
  EXPECT_EQ(AnsiToWide("usb:1", w, 8), 6);
  EXPECT_STREQ(w, L"usb:1");
  EXPECT_EQ(AnsiToWide("123456789", w, 8), 0);
}

TEST(Numbers, GaussianDrawsHaveUnitVariance) {
  lv::SeedRand(1);
  constexpr int kPairs = 500000;  // 10^6 values
  double sum = 0, sumSq = 0;
  for (int i = 0; i < kPairs; ++i) {
    float a, b;
    CQGaussianRandom::Draw(1.0f, &a, &b);
    ASSERT_TRUE(std::isfinite(a) && std::isfinite(b));
    sum += a + b;
    sumSq += double(a) * a + double(b) * b;
  }
  const double n = 2.0 * kPairs;
  const double mean = sum / n;
  const double var = sumSq / n - mean * mean;
  EXPECT_NEAR(mean, 0.0, 0.01);
  EXPECT_NEAR(var, 1.0, 0.01);
  // The standard deviation scales and null outputs are allowed.
  lv::SeedRand(1);
  float x1;
  CQGaussianRandom::Draw(1.0f, &x1, nullptr);
  lv::SeedRand(1);
  float x3;
  CQGaussianRandom::Draw(3.0f, &x3, nullptr);
  EXPECT_NEAR(x3, 3.0f * x1, 1e-5f);
  CQGaussianRandom::Draw(1.0f, nullptr, nullptr);
}

}  // namespace
