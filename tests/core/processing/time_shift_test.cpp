#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "core/error.h"
#include "core/processing/time_shift.h"
#include "support/errors.h"
#include "tests/core/processing/test_util.h"

using namespace lv_test_proc;

namespace {

std::vector<CQComplex> Noise(int n, uint32_t seed) {
  std::vector<CQComplex> v(n);
  for (auto& c : v) {
    seed = seed * 1664525u + 1013904223u;
    c.re = static_cast<float>((seed >> 8) / 8388608.0 - 1.0);
    seed = seed * 1664525u + 1013904223u;
    c.im = static_cast<float>((seed >> 8) / 8388608.0 - 1.0);
  }
  return v;
}

CQCArrayTD* Shift(CQTimeShiftCircular& t, const CQCArrayTD& in, double delay) {
  t.SetDelay(delay);
  t.SetInput(&in);
  t.Compute();
  return t.GetOutput();
}

// Largest distance between out[i] and want[(i - shift) mod n].
double WorstAgainstRotation(const CQCArrayTD* out, const std::vector<CQComplex>& want, int shift) {
  const int n = static_cast<int>(want.size());
  double worst = 0.0;
  for (int i = 0; i < n; ++i) {
    const CQComplex w = want[((i - shift) % n + n) % n];
    worst = std::max<double>(worst, std::hypot(out->GetDataPtr()[i].re - w.re, out->GetDataPtr()[i].im - w.im));
  }
  return worst;
}

}  // namespace

// Whole-sample delays rotate the waveform (the last sample first for one
// sample); a whole period and zero return it, for even and odd lengths.
TEST(TimeShiftCircular, WholeSampleDelaysRotateTheWaveform) {
  const double fs = 2e6;
  const struct {
    int n;
    int samples;  // delay in samples
    int rotation;
  } cases[] = {{1000, 1, 1}, {1000, 0, 0}, {1000, 1000, 0}, {1000, -3, -3}, {1000, 17, 17},
               {999, 0, 0},  {999, 1, 1},  {999, 999, 0},   {64, 2, 2}};
  for (const auto& c : cases) {
    const auto x = Noise(c.n, 100u + c.n);
    CQCArrayTD in;
    in.Set(x.data(), c.n, fs, -1.5);
    in.SetCenterFreq(5.8e9);
    in.SetBandwidth(1e6);
    CQTimeShiftCircular t;
    CQCArrayTD* out = Shift(t, in, c.samples / fs);
    ASSERT_EQ(out->GetNumPoints(), c.n);
    EXPECT_EQ(out->GetSampleRate(), fs);
    EXPECT_EQ(out->GetTimeOrigin(), -1.5);
    EXPECT_EQ(out->GetCenterFreq(), 5.8e9);
    EXPECT_EQ(out->GetBandwidth(), 1e6);
    EXPECT_LT(WorstAgainstRotation(out, x, c.rotation), 1e-5) << c.n << " by " << c.samples;
  }
}

// A fractional delay of a periodic tone is a phase ramp: sample n becomes the
// tone at n/fs - delay.
TEST(TimeShiftCircular, FractionalDelayOfAPeriodicTone) {
  const int n = 1024;
  const double fs = 30.72e6;
  for (int cycles : {1, -5, 200, 511}) {
    for (double samples : {0.25, 0.5, 3.7, -12.125}) {
      CQCArrayTD in;
      const auto x = Tone(n, double(cycles) / n);
      in.Set(x.data(), n, fs, 0.0);
      CQTimeShiftCircular t;
      CQCArrayTD* out = Shift(t, in, samples / fs);
      double worst = 0.0;
      for (int i = 0; i < n; ++i) {
        const double p = 2.0 * M_PI * cycles * (i - samples) / n;
        worst = std::max<double>(worst, std::hypot(out->GetDataPtr()[i].re - std::cos(p), out->GetDataPtr()[i].im - std::sin(p)));
      }
      EXPECT_LT(worst, 2e-5) << cycles << " cycles by " << samples;
    }
  }
}

TEST(TimeShiftCircular, TransformsAreReusedUntilLengthRateOrDelayChanges) {
  const auto x = Noise(1000, 8u);
  CQCArrayTD a, b, c;
  a.Set(x.data(), 1000, 1e6, 0.0);
  b.Set(x.data(), 900, 1e6, 0.0);
  c.Set(x.data(), 900, 3e6, 0.0);
  CQTimeShiftCircular t;
  const struct {
    const CQCArrayTD* in;
    double delay;
    int64_t builds;
  } steps[] = {
      {&a, 2e-6, 1},          // first run builds
      {&a, 2e-6, 1},          // identical: reused
      {&a, 2e-6 + 1e-13, 1},  // delay change within 1e-12 s: reused
      {&a, 3e-6, 2},          // new delay
      {&b, 3e-6, 3},          // new length
      {&c, 3e-6, 4},          // new rate
      {&c, 3e-6, 4},
  };
  for (const auto& s : steps) {
    Shift(t, *s.in, s.delay);
    EXPECT_EQ(t.GetInitCount(), s.builds) << s.in->GetNumPoints() << " " << s.delay;
  }
  EXPECT_EQ(t.GetDelay(), 3e-6);
}

TEST(TimeShiftCircular, FailuresHaveMessagesAndTheNextRunRetries) {
  CQTimeShiftCircular t;
  EXPECT_EQ(lv_test::Catch([&] { t.Compute(); }).message, "Null pointer to input data.");
  // A single sample has no spectrum to interpolate.
  const auto x = Noise(8, 2u);
  CQCArrayTD one, eight;
  one.Set(x.data(), 1, 1e6, 0.0);
  eight.Set(x.data(), 8, 1e6, 0.0);
  const lv_test::CaughtError e = lv_test::Catch([&] { Shift(t, one, 1e-6); });
  EXPECT_EQ(e.message, "Invalid number of time domain points.");
  EXPECT_NE(e.callStack.find("CQTimeShiftCircular::Initialize"), std::string::npos);
  EXPECT_NE(e.callStack.find("CQTimeShiftCircular::Compute"), std::string::npos);
  EXPECT_FALSE(t.IsInitialized());
  CQCArrayTD* out = Shift(t, eight, 1e-6);
  EXPECT_LT(WorstAgainstRotation(out, std::vector<CQComplex>(x.begin(), x.end()), 1), 1e-5);
  float buf[8];
  EXPECT_EQ(lv_test::Catch([&] { t.Compute(buf, nullptr); }).message, "Null pointer to output data.");
}
