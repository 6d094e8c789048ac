#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "core/error.h"
#include "core/processing/freq_shift.h"
#include "core/processing/noise.h"
#include "support/errors.h"
#include "tests/core/processing/test_util.h"

using namespace lv_test_proc;

TEST(Noise, LevelGivesTheExpectedMeanPower) {
  const int n = 1000000;
  std::vector<CQComplex> v(n);
  CQCNoiseTD noise;
  noise.AddNoise(v.data(), n, 1e6, -100.0f);
  double p = 0;
  for (const auto& c : v) p += double(c.re) * c.re + double(c.im) * c.im;
  p /= n;
  EXPECT_NEAR(p, 1e-5, 0.03e-5);
  for (const auto& c : v) ASSERT_TRUE(std::isfinite(c.re) && std::isfinite(c.im));
  EXPECT_NEAR(CalcNoiseSigma(-90.0f, 1e6) / CalcNoiseSigma(-100.0f, 1e6), std::sqrt(10.0), 1e-5);
}

TEST(Noise, BadRateFailsBeforeAnySampleChanges) {
  std::vector<CQComplex> v(10);
  CQCNoiseTD noise;
  struct Case {
    CQComplex* d;
    int n;
    double rate;
    const char* want;
  } cases[] = {{nullptr, 10, 1e6, "Null pointer to input array."},
               {v.data(), 0, 1e6, "Invalid number of points."},
               {v.data(), 10, 0.0, "Invalid sample rate."}};
  for (const auto& c : cases) {
    EXPECT_EQ(lv_test::Catch([&] { noise.AddNoise(c.d, c.n, c.rate, -100.0f); }).message, c.want);
  }
  for (const auto& c : v) EXPECT_EQ(c.re, 0.0f);
}

TEST(FrequencyShift, QuarterRateShiftsADcWaveform) {
  std::vector<CQComplex> dc(8, CQComplex(2.0f, 0.0f));
  CQCArrayTD in;
  in.Set(dc.data(), 8, 4e6, 0.0);
  in.SetCenterFreq(1e9);
  CQFrequencyShift fs;
  fs.Compute(&in, 1e6);
  const float want[4][2] = {{0, 2}, {-2, 0}, {0, -2}, {2, 0}};
  for (int i = 0; i < 8; ++i) {
    EXPECT_NEAR(fs.GetOutput()->GetDataPtr()[i].re, want[i % 4][0], 1e-5) << i;
    EXPECT_NEAR(fs.GetOutput()->GetDataPtr()[i].im, want[i % 4][1], 1e-5) << i;
  }
  EXPECT_EQ(fs.GetOutput()->GetCenterFreq(), 1e9 - 1e6);
  in.SetValid(false);
  fs.Compute(&in, 1e6);
  EXPECT_EQ(fs.GetOutput()->GetCenterFreq(), -1e6);
}

TEST(FrequencyShift, LongShiftStaysOnTheTone) {
  const int n = 100000;
  auto x = Tone(n, 0.01);
  CQFrequencyShift fs;
  fs.Compute(x.data(), n, 1e6, 123456.0);
  double worst = 0;
  for (int i = 0; i < n; ++i) {
    // sample i carries the rotator of step i+1
    const double p = 2 * M_PI * (0.01 * i + 0.123456 * (i + 1));
    worst = std::max(worst, std::hypot(fs.GetOutput()->GetDataPtr()[i].re - std::cos(p),
                                       fs.GetOutput()->GetDataPtr()[i].im - std::sin(p)));
  }
  EXPECT_LT(worst, 1e-4);
  fs.Compute(x.data(), n, 1e6, 0.0);
  for (int i = 0; i < n; i += 1013) EXPECT_EQ(fs.GetOutput()->GetDataPtr()[i].re, x[i].re);
}

// The rotator of a 0 Hz shift is exactly 1 + 0j: every sample comes back
// unchanged and the centre frequency stays.
TEST(FrequencyShift, ZeroShiftReturnsTheInputAndKeepsTheCentre) {
  const int n = 1234;
  auto x = Tone(n, 0.137, 3.0);
  CQCArrayTD in;
  in.Set(x.data(), n, 7.68e6, 0.5);
  in.SetCenterFreq(2.45e9);
  in.SetBandwidth(5e6);
  CQFrequencyShift fs;
  fs.Compute(&in, 0.0);
  const CQCArrayTD* out = fs.GetOutput();
  ASSERT_EQ(out->GetNumPoints(), n);
  for (int i = 0; i < n; ++i) {
    ASSERT_EQ(out->GetDataPtr()[i].re, x[i].re) << i;
    ASSERT_EQ(out->GetDataPtr()[i].im, x[i].im) << i;
  }
  EXPECT_EQ(out->GetCenterFreq(), 2.45e9);
  EXPECT_EQ(out->GetSampleRate(), 7.68e6);
  EXPECT_EQ(out->GetTimeOrigin(), 0.5);
  EXPECT_EQ(out->GetBandwidth(), 5e6);
}

TEST(FrequencyShift, BadInputsFailWithMessages) {
  std::vector<CQComplex> x(16, CQComplex(1.0f, 0.0f));
  CQCArrayTD empty, noRate;
  noRate.Set(x.data(), 16);
  CQFrequencyShift fs;
  const struct {
    const char* what;
    std::function<void()> f;
    const char* want;
  } cases[] = {
      {"null array", [&] { fs.Compute(nullptr, 1e3); }, "Null pointer to input data."},
      {"no samples", [&] { fs.Compute(&empty, 1e3); }, "Null pointer to input data."},
      {"no rate", [&] { fs.Compute(&noRate, 1e3); }, "Invalid sample rate."},
      {"null data", [&] { fs.Compute(nullptr, 16, 1e6, 1e3); }, "Null pointer to input data."},
      {"zero points", [&] { fs.Compute(x.data(), 0, 1e6, 1e3); }, "Invalid number of input points."},
      {"negative rate", [&] { fs.Compute(x.data(), 16, -1.0, 1e3); }, "Invalid sample rate."},
  };
  for (const auto& c : cases) {
    const lv_test::CaughtError e = lv_test::Catch([&] { c.f(); });
    EXPECT_EQ(e.message, c.want) << c.what;
    EXPECT_NE(e.callStack.find("CQFrequencyShift::Compute"), std::string::npos) << c.what;
  }
}

#include <thread>

// Each thread's generator starts from seed 1: two fresh threads (as two starts
// of the program) give the same noise; the same thread continues its sequence.
TEST(Noise, DeterministicFromSeedOneAndContinuing) {
  auto run = [](std::vector<CQComplex>* a, std::vector<CQComplex>* b) {
    CQCNoiseTD noise;
    a->assign(64, CQComplex());
    b->assign(64, CQComplex());
    noise.AddNoise(a->data(), 64, 1e6, -100.0f);
    noise.AddNoise(b->data(), 64, 1e6, -100.0f);
  };
  std::vector<CQComplex> a1, b1, a2, b2;
  std::thread(run, &a1, &b1).join();
  std::thread(run, &a2, &b2).join();
  for (int i = 0; i < 64; ++i) {
    EXPECT_EQ(a1[i].re, a2[i].re);
    EXPECT_EQ(a1[i].im, a2[i].im);
    EXPECT_EQ(b1[i].re, b2[i].re);
  }
  EXPECT_NE(a1[0].re, b1[0].re);
}
