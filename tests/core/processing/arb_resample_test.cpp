#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "core/error.h"
#include "core/processing/resample_czt.h"
#include "support/errors.h"
#include "tests/core/processing/test_util.h"

using namespace lv_test_proc;

namespace {

// n pseudo-random samples in [-1, 1) (seed printed by the callers' messages).
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

struct Waveform {
  Waveform(const std::vector<CQComplex>& x, double rate) {
    arr.Set(x.data(), static_cast<int>(x.size()), rate, 0.25);
    arr.SetCenterFreq(915e6);
    arr.SetBandwidth(0.7 * rate);
  }
  CQCArrayTD arr;
};

CQCArrayTD* Resample(CQCResampleCZT& r, const CQCArrayTD& in, double outRate) {
  r.SetOutputParameters(outRate, 0.0);
  r.SetInput(&in);
  r.Compute();
  return r.GetOutput();
}

}  // namespace

TEST(ArbitraryResample, DoublingTheRateKeepsEveryInputSample) {
  const auto x = Noise(1000, 42u);
  Waveform in(x, 1e6);
  CQCResampleCZT r;
  CQCArrayTD* out = Resample(r, in.arr, 2e6);
  ASSERT_EQ(out->GetNumPoints(), 2000);
  EXPECT_EQ(out->GetSampleRate(), 2e6);
  EXPECT_EQ(out->GetTimeOrigin(), 0.25);
  EXPECT_EQ(out->GetCenterFreq(), 915e6);
  EXPECT_EQ(out->GetBandwidth(), 0.7e6);
  double worst = 0.0;
  for (int i = 0; i < 1000; ++i) {
    const CQComplex y = out->GetDataPtr()[2 * i];
    worst = std::max<double>(worst, std::hypot(y.re - x[i].re, y.im - x[i].im));
  }
  EXPECT_LT(worst, 1e-5) << "seed 42";
}

TEST(ArbitraryResample, OutputLengthIsRateTimesPeriodRounded) {
  const struct {
    int n;
    double in, out;
    int want;
  } cases[] = {{1000, 3e6, 1e6, 333}, {1000, 1e6, 3e6, 3000}, {1000, 1e6, 2.5e6, 2500},
               {999, 30.72e6, 61.44e6, 1998}, {1024, 61.44e6, 30.72e6, 512}, {10, 1e6, 1.26e6, 13}};
  for (const auto& c : cases) {
    Waveform in(Noise(c.n, 1u), c.in);
    CQCResampleCZT r;
    EXPECT_EQ(Resample(r, in.arr, c.out)->GetNumPoints(), c.want) << c.n << " " << c.in << " -> " << c.out;
  }
}

// A periodic tone (a whole number of cycles per waveform) is band-limited, so
// the reconstruction at any new rate is the same tone, for positive and
// negative frequencies and up to just below half the input rate.
TEST(ArbitraryResample, PeriodicTonesComeOutExactAtAnyRate) {
  const int n = 1000;
  const double fs = 1e6;
  const struct {
    int cycles;
    double outRate;
  } cases[] = {{7, 2.5e6}, {-7, 2.5e6}, {0, 1.7e6}, {123, 3e6}, {-400, 4.4e6}, {499, 1.23e6}, {90, 0.3e6}};
  for (const auto& c : cases) {
    Waveform in(Tone(n, double(c.cycles) / n), fs);
    CQCResampleCZT r;
    CQCArrayTD* out = Resample(r, in.arr, c.outRate);
    const int m = out->GetNumPoints();
    double worst = 0.0;
    for (int i = 0; i < m; ++i) {
      const double p = 2.0 * M_PI * c.cycles * fs / n * (i / c.outRate);
      worst = std::max<double>(worst, std::hypot(out->GetDataPtr()[i].re - std::cos(p), out->GetDataPtr()[i].im - std::sin(p)));
    }
    EXPECT_LT(worst, 2e-5) << c.cycles << " cycles to " << c.outRate;
  }
}

// 2^20 samples to twice the rate: the chirps run over millions of indices
// and must keep their phase.
TEST(ArbitraryResample, LongWaveformKeepsItsAccuracy) {
  const int n = 1 << 20;
  const double fs = 30.72e6;
  const int cycles = 123457;
  Waveform in(Tone(n, double(cycles) / n), fs);
  CQCResampleCZT r;
  const CQCArrayTD* out = Resample(r, in.arr, 2 * fs);
  ASSERT_EQ(out->GetNumPoints(), 2 * n);
  double worst = 0.0;
  for (int m = 0; m < 2 * n; m += 97) {
    const double p = 2.0 * M_PI * std::fmod(double(cycles) * m / (2.0 * n), 1.0);
    worst = std::max<double>(worst, std::hypot(out->GetDataPtr()[m].re - std::cos(p), out->GetDataPtr()[m].im - std::sin(p)));
  }
  EXPECT_LT(worst, 1e-5);
}

// A time offset moves the first output instant to -offset and shortens the
// period by its magnitude; the output's time origin moves by the offset.
TEST(ArbitraryResample, TimeOffsetMovesTheOutputInstants) {
  const int n = 800;
  const double fs = 1e6, outRate = 1.5e6;
  for (double offset : {2.5e-6, -4.25e-6}) {
    Waveform in(Tone(n, 13.0 / n), fs);
    CQCResampleCZT r;
    r.SetOutputParameters(outRate, offset);
    r.SetInput(&in.arr);
    r.Compute();
    const CQCArrayTD* out = r.GetOutput();
    ASSERT_EQ(out->GetNumPoints(), static_cast<int>(outRate * (n / fs - std::fabs(offset)) + 0.5)) << offset;
    EXPECT_DOUBLE_EQ(out->GetTimeOrigin(), 0.25 + offset);
    double worst = 0.0;
    for (int m = 0; m < out->GetNumPoints(); ++m) {
      const double p = 2.0 * M_PI * 13.0 * fs / n * (m / outRate - offset);
      worst = std::max<double>(worst, std::hypot(out->GetDataPtr()[m].re - std::cos(p), out->GetDataPtr()[m].im - std::sin(p)));
    }
    EXPECT_LT(worst, 2e-5) << offset;
  }
}

// The component at half the input rate of an even length is a cosine
// (split evenly between +fs/2 and -fs/2), for the array and for one real
// channel; at twice the rate it reads 1, 0, -1, 0, ...
TEST(ArbitraryResample, HalfRateComponentComesBackAsACosine) {
  const int n = 1000;
  std::vector<CQComplex> x(n);
  std::vector<float> re(n);
  for (int i = 0; i < n; ++i) {
    x[i] = CQComplex(i % 2 ? -1.0f : 1.0f, i % 2 ? 0.5f : -0.5f);
    re[i] = x[i].re;
  }
  Waveform in(x, 1e6);
  CQCResampleCZT r;
  CQCArrayTD* out = Resample(r, in.arr, 2e6);
  ASSERT_EQ(out->GetNumPoints(), 2 * n);
  std::vector<float> realOut(2 * n);
  r.Compute(re.data(), realOut.data());
  const float want[4] = {1.0f, 0.0f, -1.0f, 0.0f};
  double worst = 0.0;
  for (int m = 0; m < 2 * n; ++m) {
    const CQComplex y = out->GetDataPtr()[m];
    worst = std::max<double>(worst, std::hypot(y.re - want[m % 4], y.im + 0.5 * want[m % 4]));
    worst = std::max<double>(worst, std::fabs(realOut[m] - want[m % 4]));
  }
  EXPECT_LT(worst, 1e-5);
}

// An odd length at an unchanged rate returns its input (the bins are spaced
// fs/N and the last one is not halved).
TEST(ArbitraryResample, OddLengthAtTheSameRateReturnsTheInput) {
  for (int n : {3, 999, 1001}) {
    const auto x = Noise(n, 7u);
    Waveform in(x, 1e6);
    CQCResampleCZT r;
    CQCArrayTD* out = Resample(r, in.arr, 1e6);
    ASSERT_EQ(out->GetNumPoints(), n);
    double worst = 0.0;
    for (int i = 0; i < n; ++i)
      worst = std::max<double>(worst, std::hypot(out->GetDataPtr()[i].re - x[i].re, out->GetDataPtr()[i].im - x[i].im));
    EXPECT_LT(worst, 1e-5) << n << " seed 7";
  }
}

TEST(ArbitraryResample, TransformsAreReusedUntilLengthOrRateChanges) {
  Waveform a(Noise(1000, 3u), 1e6), b(Noise(1200, 4u), 1e6), c(Noise(1000, 5u), 2e6);
  CQCResampleCZT r;
  const struct {
    const CQCArrayTD* in;
    double outRate;
    int64_t builds;
  } steps[] = {
      {&a.arr, 2e6, 1},        // first run builds
      {&a.arr, 2e6, 1},        // identical: reused
      {&a.arr, 2e6 + 0.5, 1},  // within 1 Hz: reused
      {&b.arr, 2e6, 2},        // new length
      {&b.arr, 2.2e6, 3},      // new output rate
      {&c.arr, 2.2e6, 4},      // new length and input rate
      {&c.arr, 2.2e6, 4},
  };
  for (const auto& s : steps) {
    Resample(r, *s.in, s.outRate);
    EXPECT_EQ(r.GetInitCount(), s.builds) << s.in->GetNumPoints() << " " << s.outRate;
  }
  // Same length, new input rate.
  Waveform d(Noise(1000, 6u), 1.5e6);
  Resample(r, d.arr, 2.2e6);
  EXPECT_EQ(r.GetInitCount(), 5);
  EXPECT_EQ(r.GetOutput()->GetNumPoints(), 1467);
}

TEST(ArbitraryResample, FailuresHaveMessagesAndTheNextRunRetries) {
  Waveform in(Noise(100, 9u), 1e6);
  CQCResampleCZT r;
  const lv_test::CaughtError badRate = lv_test::Catch([&] { r.SetOutputParameters(0.0, 0.0); });
  EXPECT_EQ(badRate.message, "Invalid output sample rate.");
  EXPECT_NE(badRate.callStack.find("CQCResampleCZT::SetOutputParameters"), std::string::npos);
  r.SetInput(nullptr);
  EXPECT_EQ(lv_test::Catch([&] { r.Compute(); }).message, "Null pointer to input data.");
  // 100 samples at 1 Msps to 10 ksps: a single output point.
  const lv_test::CaughtError onePoint = lv_test::Catch([&] { Resample(r, in.arr, 1e4); });
  EXPECT_EQ(onePoint.message, "Invalid number of time domain points.");
  EXPECT_NE(onePoint.callStack.find("CQCResampleCZT::Initialize"), std::string::npos);
  EXPECT_FALSE(r.IsInitialized());
  EXPECT_EQ(Resample(r, in.arr, 2e4)->GetNumPoints(), 2);
  EXPECT_TRUE(r.IsInitialized());
  float out[2];
  EXPECT_EQ(lv_test::Catch([&] { r.Compute(nullptr, out); }).message, "Null pointer to input data.");
}
