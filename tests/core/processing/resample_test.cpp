#include <gtest/gtest.h>

#include <vector>

#include "core/error.h"
#include "core/processing/decimate.h"
#include "core/processing/interpolate.h"
#include "support/errors.h"
#include "tests/core/processing/test_util.h"

using namespace lv_test_proc;

TEST(RateFactors, SplitsIntoPrimesOrRefuses) {
  struct Case {
    int rate;
    bool ok;
    int c2, c3, c5, c7;
  } cases[] = {
      {12, true, 2, 1, 0, 0}, {1, true, 0, 0, 0, 0}, {11, false, 0, 0, 0, 0},
      {2 * 9 * 25 * 7, true, 1, 2, 2, 1}, {22, false, 1, 0, 0, 0},
  };
  for (const auto& c : cases) {
    int a = -9, b = -9, d = -9, e = -9;
    EXPECT_EQ(CalcRateFactors(c.rate, &a, &b, &d, &e), c.ok) << c.rate;
    EXPECT_EQ(a, c.c2) << c.rate;
    EXPECT_EQ(b, c.c3) << c.rate;
    EXPECT_EQ(d, c.c5) << c.rate;
    EXPECT_EQ(e, c.c7) << c.rate;
  }
  for (int bad : {0, -4}) {
    int a = 5, b = 6, d = 7, e = 8;
    EXPECT_FALSE(CalcRateFactors(bad, &a, &b, &d, &e));
    EXPECT_EQ(a, 5);
    EXPECT_EQ(b, 6);
    EXPECT_EQ(d, 7);
    EXPECT_EQ(e, 8);
  }
}

TEST(Interpolate, BySixGivesSixTimesTheRateWithImagesSuppressed) {
  const int n = 1000;
  auto x = Tone(n, 0.3);  // 300 kHz at 1 Msps, on a bin
  CQCArrayTD in;
  in.Set(x.data(), n, 1e6, 0.5);
  in.SetCenterFreq(1e9);
  in.SetBandwidth(8e5);
  CQCInterpolate ip;
  ASSERT_TRUE(ip.SetInterpolationRate(6));
  ip.Compute(&in);
  CQCArrayTD* out = ip.GetOutput();
  ASSERT_EQ(out->GetNumPoints(), 6000);
  EXPECT_EQ(out->GetSampleRate(), 6e6);
  EXPECT_EQ(out->GetCenterFreq(), 1e9);
  EXPECT_EQ(out->GetBandwidth(), 8e5);
  EXPECT_EQ(out->GetTimeOrigin(), 0.5);
  // The tone keeps its amplitude (0.001 dB); images at 0.3 + k MHz are >= 88 dB down.
  const double a = ToneAmplitude(out->GetDataPtr(), 6000, 0.3 / 6);
  EXPECT_NEAR(Db(a), 0.0, 0.0015);
  for (int k = 1; k < 6; ++k) {
    const double img = ToneAmplitude(out->GetDataPtr(), 6000, (0.3 + k) / 6);
    EXPECT_LT(Db(img / a), -88.0) << k;
  }
  // Interpolation is exact at the original instants up to the ripple.
  for (int i = 0; i < n; i += 97) {
    EXPECT_NEAR(out->GetDataPtr()[6 * i].re, x[i].re, 2e-3) << i;
  }
}

TEST(Interpolate, ByOneCopiesAndRefusedRateKeepsTheOld) {
  auto x = Tone(50, 0.1);
  CQCInterpolate ip;
  EXPECT_FALSE(ip.SetInterpolationRate(11));
  EXPECT_EQ(lv_test::Catch([&] { ip.Compute(x.data(), 50, 1e6); }).message,
            "Coding error: Call SetInterpolationRate() first.");
  ASSERT_TRUE(ip.SetInterpolationRate(1));
  EXPECT_FALSE(ip.SetInterpolationRate(0));
  EXPECT_EQ(ip.GetInterpolationRate(), 1);
  ip.Compute(x.data(), 50, 1e6);
  ASSERT_EQ(ip.GetOutput()->GetNumPoints(), 50);
  for (int i = 0; i < 50; ++i) EXPECT_EQ(ip.GetOutput()->GetDataPtr()[i].re, x[i].re);
}

// Short inputs wrap around the whole waveform: still defined, no stray reads.
TEST(Interpolate, ShortInputsAreDefined) {
  CQComplex one[1] = {{1.0f, 0.5f}};
  CQCInterpolate ip;
  ASSERT_TRUE(ip.SetInterpolationRate(14));
  ip.Compute(one, 1, 1e3);
  ASSERT_EQ(ip.GetOutput()->GetNumPoints(), 14);
  for (int i = 0; i < 14; ++i) EXPECT_NEAR(ip.GetOutput()->GetDataPtr()[i].re, 1.0, 1e-3) << i;
}

TEST(Decimate, BySixGivesTheRateAndBandwidth) {
  const int n = 6000;
  auto x = Tone(n, 0.35 / 6);   // 0.35 of the output rate: passes
  auto y = Tone(n, 0.65 / 6);   // 0.65 of the output rate: would alias to -0.35
  CQCDecimate dec;
  ASSERT_TRUE(dec.SetDecimationRate(6));
  for (auto* v : {&x, &y}) {
    CQCArrayTD in;
    in.Set(v->data(), n, 6e6, 0.0);
    in.SetBandwidth(5e6);
    dec.Decimate(&in);
    CQCArrayTD* out = dec.GetOutput();
    ASSERT_EQ(out->GetNumPoints(), 1000);
    EXPECT_EQ(out->GetSampleRate(), 1e6);
    EXPECT_DOUBLE_EQ(out->GetBandwidth(), 8e5);
    if (v == &x) {
      EXPECT_NEAR(Db(ToneAmplitude(out->GetDataPtr(), 1000, 0.35)), 0.0, 0.002);
    } else {
      EXPECT_LT(Db(ToneAmplitude(out->GetDataPtr(), 1000, -0.35)), -78.0);
    }
  }
}

TEST(Decimate, OddLengthAndBadInputs) {
  auto x = Tone(1001, 0.01);
  CQCDecimate dec;
  EXPECT_EQ(lv_test::Catch([&] { dec.Decimate(x.data(), 1001, 1e6); }).message,
            "Coding error: Call SetDecimationRate() first.");
  ASSERT_TRUE(dec.SetDecimationRate(2));
  EXPECT_FALSE(dec.SetDecimationRate(13));
  dec.Decimate(x.data(), 1001, 1e6);
  EXPECT_EQ(dec.GetOutput()->GetNumPoints(), 500);
  EXPECT_EQ(lv_test::Catch([&] { dec.Decimate(x.data(), 1001, 0.0); }).message, "Invalid input sample rate.");
}
