#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <cmath>
#include <string>
#include <vector>

#include "core/error.h"
#include "core/processing/fir.h"
#include "core/processing/fir_tables.h"
#include "support/errors.h"
#include "tests/core/processing/test_util.h"

using namespace lv_test_proc;

namespace {

std::vector<CQComplex> Ramp(int n) {
  std::vector<CQComplex> v(n);
  for (int i = 0; i < n; ++i) v[i] = CQComplex(static_cast<float>(i + 1), static_cast<float>(-i));
  return v;
}

// Direct circular reference: out[j] = sum_k h[k] x[(r*j - m/2 + k) mod n].
std::vector<CQComplex> Reference(const std::vector<float>& h, const std::vector<CQComplex>& x, int r) {
  const int n = static_cast<int>(x.size()), m = static_cast<int>(h.size()), c = m / 2;
  std::vector<CQComplex> out(n / r);
  for (int j = 0; j < n / r; ++j) {
    double re = 0, im = 0;
    for (int k = 0; k < m; ++k) {
      int idx = ((r * j - c + k) % n + n) % n;
      re += h[k] * x[idx].re;
      im += h[k] * x[idx].im;
    }
    out[j] = CQComplex(static_cast<float>(re), static_cast<float>(im));
  }
  return out;
}

}  // namespace

TEST(Fir, ShiftTapsRotateTheInputCircularly) {
  CQCFIR fir;
  const float taps[3] = {0, 0, 1};
  fir.SetTaps(taps, 3);
  const CQComplex x[4] = {{1, 0}, {2, 0}, {3, 0}, {4, 0}};
  fir.Apply(x, 4);
  ASSERT_EQ(fir.GetNumOutputPoints(), 4);
  const float want[4] = {2, 3, 4, 1};
  for (int i = 0; i < 4; ++i) EXPECT_EQ(fir.GetOutput()[i].re, want[i]) << i;
}

TEST(Fir, OneUnitTapReturnsTheInput) {
  CQCFIR fir;
  const float one = 1.0f;
  fir.SetTaps(&one, 1);
  auto x = Ramp(37);
  fir.Apply(x.data(), 37);
  for (int i = 0; i < 37; ++i) {
    EXPECT_EQ(fir.GetOutput()[i].re, x[i].re);
    EXPECT_EQ(fir.GetOutput()[i].im, x[i].im);
  }
}

// Lengths around and below the filter length (the wrap-around covers the
// whole input several times when it is shorter than the filter), both forms.
TEST(Fir, MatchesCircularReferenceForAllLengths) {
  std::vector<float> h(9);
  for (int k = 0; k < 9; ++k) h[k] = 0.1f * (k + 1) - 0.03f * k * k;
  CQCFIR fir;
  fir.SetTaps(h.data(), 9);
  for (int r : {1, 2, 3}) {
    for (int n : {1, 2, 3, 4, 7, 8, 9, 10, 17, 18, 19, 40, 101}) {
      auto x = Ramp(n);
      if (r == 1) fir.Apply(x.data(), n); else fir.Apply(x.data(), n, r);
      auto want = Reference(h, x, r);
      ASSERT_EQ(fir.GetNumOutputPoints(), n / r) << n << " r=" << r;
      for (int j = 0; j < n / r; ++j) {
        EXPECT_NEAR(fir.GetOutput()[j].re, want[j].re, 1e-3) << "n=" << n << " r=" << r << " j=" << j;
        EXPECT_NEAR(fir.GetOutput()[j].im, want[j].im, 1e-3) << "n=" << n << " r=" << r << " j=" << j;
      }
    }
  }
}

TEST(Fir, DecimatingFormCentresOnEverySecondInput) {
  CQCFIR fir;
  const float taps[3] = {0, 1, 0};
  fir.SetTaps(taps, 3);
  auto x = Ramp(10);
  fir.Apply(x.data(), 10, 2);
  ASSERT_EQ(fir.GetNumOutputPoints(), 5);
  for (int j = 0; j < 5; ++j) EXPECT_EQ(fir.GetOutput()[j].re, x[2 * j].re);
}

TEST(Fir, BadArgumentsGiveClearErrors) {
  CQCFIR fir;
  CQComplex x[4] = {};
  struct Case {
    const char* want;
    std::function<void()> call;
  } cases[] = {
      {"Invalid number of input points.", [&] { fir.Apply(x, 0); }},
      {"Null pointer to input data.", [&] { fir.Apply(nullptr, 4); }},
      {"Invalid number of filter coefficients.", [&] { fir.Apply(x, 4); }},
      {"Invalid decimation rate.", [&] { fir.Apply(x, 4, 0); }},
      {"Invalid number of filter coefficients.", [&] { fir.SetTaps(nullptr, 0); }},
      {"Null pointer to filter coefficients.", [&] { fir.SetTaps(nullptr, 3); }},
  };
  for (auto& c : cases) {
    EXPECT_EQ(lv_test::Catch([&] { c.call(); }).message, c.want);
  }
}

// Every low-pass row: passband flat within 2e-4 (0.0017 dB) up to t/100,
// stopband at least 79 dB down from (t+2)/100, unit gain at DC, symmetric.
TEST(FirTables, LowPassRowsMeetTheirFigures) {
  int row = 0;
  for (int t = 2; t <= 40; t += (t < 20 ? 1 : 2)) {
    const float* h = kLowPassTaps[row++];
    double sum = 0;
    for (int i = 0; i < 239; ++i) sum += h[i];
    EXPECT_NEAR(sum, 1.0, 1e-5) << t;
    for (int i = 0; i < 119; ++i) ASSERT_EQ(h[i], h[238 - i]) << t;
    double pass = 0, stop = 0;
    for (int i = 0; i <= 100; ++i) pass = std::max(pass, std::fabs(Response(h, 239, t / 100.0 * i / 100) - 1));
    for (int i = 0; i <= 200; ++i) {
      const double f = (t + 2) / 100.0 + (0.5 - (t + 2) / 100.0) * i / 200;
      stop = std::max(stop, std::fabs(Response(h, 239, f)));
    }
    EXPECT_LT(pass, 2e-4) << "type " << t;
    EXPECT_LT(Db(stop), -79.0) << "type " << t;
    EXPECT_NEAR(Db(std::fabs(Response(h, 239, (t + 1) / 100.0))), -6.0, 0.5) << "type " << t;
  }
}

TEST(FirTables, StageTablesMeetTheirFigures) {
  struct Case {
    const float* h;
    int m, l;
    double passDev, stopDb;
  } cases[] = {
      {kInterpolateBy2Taps, 51, 2, 8e-5, -88.0}, {kInterpolateBy3Taps, 77, 3, 7.5e-5, -88.5},
      {kInterpolateBy5Taps, 129, 5, 7e-5, -89.5}, {kInterpolateBy7Taps, 181, 7, 7e-5, -90.0},
      {kDecimateBy2Taps, 47, 2, 8.5e-5, -78.0},  {kDecimateBy3Taps, 73, 3, 7.5e-5, -79.0},
      {kDecimateBy5Taps, 121, 5, 7.5e-5, -79.0}, {kDecimateBy7Taps, 169, 7, 7.5e-5, -79.0},
  };
  for (const auto& c : cases) {
    double pass = 0, stop = 0;
    for (int i = 0; i <= 100; ++i) pass = std::max(pass, std::fabs(Response(c.h, c.m, 0.4 / c.l * i / 100) - 1));
    for (int i = 0; i <= 300; ++i) {
      const double f = 0.6 / c.l + (0.5 - 0.6 / c.l) * i / 300;
      stop = std::max(stop, std::fabs(Response(c.h, c.m, f)));
    }
    EXPECT_LT(pass, c.passDev) << c.m;
    EXPECT_LT(Db(stop), c.stopDb) << c.m;
  }
}

TEST(LowPass, Type40KeepsA039ToneAndRemovesA043Tone) {
  const int n = 1000;
  auto pass = Tone(n, 0.39), stop = Tone(n, 0.43);
  for (auto* v : {&pass, &stop}) {
    CQCArrayTD in;
    in.Set(v->data(), n, 1e6, 0.25);
    in.SetCenterFreq(2.4e9);
    in.SetBandwidth(7e5);
    CQCLowPassFIR lp;
    lp.SetFilterType(40);
    lp.SetInput(&in);
    lp.Compute();
    CQCArrayTD* out = lp.GetOutput();
    ASSERT_EQ(out->GetNumPoints(), n);
    EXPECT_EQ(out->GetSampleRate(), 1e6);
    EXPECT_EQ(out->GetTimeOrigin(), 0.25);
    EXPECT_EQ(out->GetCenterFreq(), 2.4e9);
    EXPECT_EQ(out->GetBandwidth(), 7e5);
    const double f = v == &pass ? 0.39 : 0.43;
    const double a = ToneAmplitude(out->GetDataPtr(), n, f);
    if (v == &pass) EXPECT_NEAR(a, 1.0, 3e-4); else EXPECT_LT(Db(a), -78.0);
  }
}

TEST(LowPass, UnknownTypesFail) {
  CQCArrayTD in(300);
  in.SetSampleRate(1e6);
  for (int t : {0, 1, 21, 39, 41}) {
    CQCLowPassFIR lp;
    lp.SetInput(&in);
    lp.SetFilterType(t);
    EXPECT_EQ(lv_test::Catch([&] { lp.Compute(); }).message, "Unknown filter type.") << t;
  }
}
