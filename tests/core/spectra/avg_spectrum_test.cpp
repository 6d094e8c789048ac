#include "core/spectral/avg_spectrum.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "core/arrays/carray.h"
#include "core/arrays/farray_fd.h"
#include "core/spectral/acpr.h"
#include "core/spectral/dsp_window.h"
#include "core/spectral/power_in_band.h"
#include "core/spectral/spectrum_plan.h"
#include "measurement_test_util.h"
#include "support/errors.h"

using lv_test::Catch;

namespace {

// n samples of amplitude a at frequency f (Hz) on rate fs, or a constant for f = 0.
void MakeTone(CQCArrayTD& x, int n, double fs, double f, double a) {
  std::vector<CQComplex> v(n);
  for (int i = 0; i < n; ++i) {
    const double p = 2.0 * M_PI * f * i / fs;
    v[i] = CQComplex(static_cast<float>(a * std::cos(p)), static_cast<float>(a * std::sin(p)));
  }
  x.Set(v.data(), n, fs, 0.0);
}

struct SettingsCase {
  const char* what;
  int n;
  bool valid;
  double bandwidth;
  double start, stop;  // expected limits
  int length, bins, avgs, hop;
};

TEST(AvgSpectrum, AutomaticSettingsFollowTheInput) {
  const double fs = 1e6;
  const SettingsCase cases[] = {
      {"valid, no bandwidth", 10000, true, 0.0, -500000.0, 500000.0, 912, 1601, 100, 90},
      {"not valid, no bandwidth", 10000, false, 0.0, 0.0, 500000.0, 912, 1601, 100, 90},
      {"valid, 200 kHz", 10000, true, 200000.0, -100000.0, 100000.0, 912, 1601, 100, 90},
      {"not valid, 200 kHz", 10000, false, 200000.0, 0.0, 200000.0, 912, 1601, 100, 90},
      {"shorter than the segment", 500, true, 0.0, -500000.0, 500000.0, 500, 4 * 219 + 1, 1, 1},
      {"fewer segments than asked", 950, true, 0.0, -500000.0, 500000.0, 912, 1601, 39, 1},
  };
  for (const SettingsCase& c : cases) {
    CQCArrayTD x(c.n);
    x.SetSampleRate(fs);
    x.SetValid(c.valid);
    x.SetBandwidth(c.bandwidth);
    CQAvgSpectrum s;
    s.SetInputData(&x);
    s.ResolveSettings();
    EXPECT_EQ(s.GetStartFreq(), c.start) << c.what;
    EXPECT_EQ(s.GetStopFreq(), c.stop) << c.what;
    EXPECT_EQ(s.GetWindowLength(), c.length) << c.what;
    EXPECT_EQ(s.GetNumFreqs(), c.bins) << c.what;
    EXPECT_EQ(s.GetNumAvgs(), c.avgs) << c.what;
    EXPECT_EQ(s.GetHop(), c.hop) << c.what;
    EXPECT_DOUBLE_EQ(s.GetFreqStep(), (c.stop - c.start) / (c.bins - 1)) << c.what;
    EXPECT_DOUBLE_EQ(s.GetActualRBW(), CalcRBWForWindowLength(fs, c.length, 8)) << c.what;
    if (c.length == 912) {
      EXPECT_EQ(s.GetRBW(), 2500.0) << c.what;  // requested value kept when the length was not forced
    } else {
      EXPECT_DOUBLE_EQ(s.GetRBW(), s.GetActualRBW()) << c.what;
    }
  }
}

TEST(AvgSpectrum, ManualSettingsAreCorrectedOrRefused) {
  CQCArrayTD x(10000);
  x.SetSampleRate(1e6);
  CQAvgSpectrum s;
  s.SetInputData(&x);
  s.SetAutoFreqLimits(false);
  s.SetAutoRBW(false);
  s.SetAutoNumFreqs(false);
  s.SetAutoNumAvgs(false);
  s.SetRBW(2500.0);
  s.SetNumFreqs(501);
  s.SetNumAvgs(0);

  s.SetFreqLimits(-2e6, 2e6);
  s.ResolveSettings();
  EXPECT_EQ(s.GetStartFreq(), -500000.0);
  EXPECT_EQ(s.GetStopFreq(), 500000.0);
  EXPECT_EQ(s.GetNumAvgs(), 1);
  EXPECT_EQ(s.GetHop(), 10000 - 912);
  EXPECT_EQ(s.GetNumFreqs(), 501);
  EXPECT_EQ(s.GetFreqStep(), 2000.0);

  // An RBW so large that the segment would be shorter than 4 samples.
  s.SetRBW(7e5);
  s.ResolveSettings();
  EXPECT_EQ(s.GetWindowLength(), 4);
  EXPECT_DOUBLE_EQ(s.GetRBW(), CalcRBWForWindowLength(1e6, 4, 8));

  // An RBW so small that the segment would not fit an int: the whole input.
  s.SetRBW(1e-9);
  s.ResolveSettings();
  EXPECT_EQ(s.GetWindowLength(), 10000);
  EXPECT_EQ(s.GetNumAvgs(), 1);

  struct Bad {
    const char* what;
    double start, stop, rbw;
    int bins;
    bool autoBins;
    const char* message;
  } bad[] = {
      {"empty span", 100e3, 100e3, 2500.0, 501, false, "Invalid frequency limits."},
      {"reversed span", 100e3, -100e3, 2500.0, 501, false, "Invalid frequency limits."},
      {"no RBW", -1e5, 1e5, 0.0, 501, false, "Invalid resolution bandwidth."},
      {"negative RBW", -1e5, 1e5, -5.0, 501, false, "Invalid resolution bandwidth."},
      {"one bin", -1e5, 1e5, 2500.0, 1, false, "Invalid number of frequencies."},
      {"more bins than memory allows", -1e5, 1e5, 2500.0, 300000000, false, "Invalid number of frequencies."},
  };
  for (const Bad& b : bad) {
    s.SetFreqLimits(b.start, b.stop);
    s.SetRBW(b.rbw);
    s.SetNumFreqs(b.bins);
    s.SetAutoNumFreqs(b.autoBins);
    const auto t = Catch([&] { s.Compute(); });
    EXPECT_EQ(t.message, b.message) << b.what;
    EXPECT_NE(t.callStack.find("CQAvgSpectrum::Compute"), std::string::npos) << b.what;
  }
}

TEST(AvgSpectrum, AutomaticBinCountsBeyondTheAllocatorAreRefused) {
  // An RBW that a long enough input could honour asks for more bins than a
  // buffer may hold; the count is formed without overflowing.
  EXPECT_EQ(lv_spectral::AutoNumFreqs(1e6, 2500.0), 1601);
  for (const double rbw : {1e-2, 1e-3, 1e-12}) {
    const auto t = Catch([&] { lv_spectral::AutoNumFreqs(1e6, rbw); });
    EXPECT_EQ(t.message, "Invalid number of frequencies.") << rbw;
  }
  EXPECT_EQ(lv_spectral::AutoNumFreqs(1.0, 1.0 / 67108861), 268435445);
  EXPECT_EQ(Catch([&] { lv_spectral::AutoNumFreqs(1.0, 1.0 / 67108862); }).message,
            "Invalid number of frequencies.");
}

TEST(AvgSpectrum, InputIsChecked) {
  CQAvgSpectrum s;
  EXPECT_EQ(Catch([&] { s.Compute(); }).message, "Null pointer to input data.");
  CQCArrayTD empty;
  s.SetInputData(&empty);
  EXPECT_EQ(Catch([&] { s.Compute(); }).message, "Null pointer to input data.");
  CQCArrayTD x(100);
  s.SetInputData(&x);
  EXPECT_EQ(Catch([&] { s.Compute(); }).message, "Invalid sample rate.");
  x.SetSampleRate(-1.0);
  EXPECT_EQ(Catch([&] { s.Compute(); }).message, "Invalid sample rate.");
  EXPECT_EQ(s.GetSpectrum(), nullptr);
}

TEST(AvgSpectrum, AConstantOfAmplitudeOneReadsTenMilliwattsInTheCentreBinAndPlusTenDbmInAll) {
  CQCArrayTD x;
  MakeTone(x, 10000, 1e6, 0.0, 1.0);
  x.SetCenterFreq(2.4e9);
  CQAvgSpectrum s;
  s.SetInputData(&x);
  s.Compute();
  const CQFArrayFD* r = s.GetSpectrum();
  ASSERT_NE(r, nullptr);
  ASSERT_EQ(r->GetNumPoints(), 1601);
  EXPECT_DOUBLE_EQ(r->GetStartFreq(), 2.4e9 - 500000.0);
  EXPECT_DOUBLE_EQ(r->GetFreqStep(), 625.0);
  EXPECT_EQ(r->GetCenterFreq(), 0.0);
  EXPECT_EQ(r->GetRBW(), s.GetActualRBW());
  EXPECT_EQ(r->GetNBW(), s.GetNBW());
  EXPECT_GT(s.GetNBW(), 0.0);
  const float* v = r->GetDataPtr();
  EXPECT_NEAR(v[800], 0.01, 0.01 * 0.01);
  int peak = 0;
  for (int i = 1; i < 1601; ++i)
    if (v[i] > v[peak]) peak = i;
  EXPECT_EQ(peak, 800);
  EXPECT_LT(v[0], 1e-9);

  // The whole spectrum integrated with the noise bandwidth: +10 dBm.
  CQPiBMeasBandList list(1);
  list.SetSize(1);
  CQPiBMeasBand all;
  all.on = true;
  all.bandwidth = 2e6;
  list.SetItem(0, &all);
  CQPiBMeasurement m;
  m.SetNoiseBW(s.GetNBW());
  m.SetSpectrum(r);
  m.SetBandList(&list);
  m.Compute();
  EXPECT_NEAR(list.GetItem(0)->powerdBm, 10.0, 0.1);
}

TEST(AvgSpectrum, AToneAtABinIsMeasuredAtItsPowerByBandAndChannel) {
  struct ToneCase {
    double freq, amplitude;
  } cases[] = {{100000.0, 0.5}, {-237500.0, 0.01}, {0.0, 3.0}};
  for (const ToneCase& c : cases) {
    const double expectedDbm = 10.0 * std::log10(c.amplitude * c.amplitude / 100.0) + 30.0;
    CQCArrayTD x;
    MakeTone(x, 10000, 1e6, c.freq, c.amplitude);
    CQAvgSpectrum s;
    s.SetInputData(&x);
    s.Compute();

    CQPiBMeasBandList list(1);
    list.SetSize(1);
    CQPiBMeasBand band;
    band.on = true;
    band.freq = c.freq;
    band.bandwidth = 50000.0;
    list.SetItem(0, &band);
    CQPiBMeasurement pib;
    pib.SetNoiseBW(s.GetNBW());
    pib.SetSpectrum(s.GetSpectrum());
    pib.SetBandList(&list);
    pib.Compute();
    EXPECT_NEAR(list.GetItem(0)->powerdBm, expectedDbm, 0.1) << c.freq;

    CQACPRMeasBands bands;
    bands.centerOffset = c.freq;
    bands.centerBW = 50000.0;
    bands.adjacentOffset = 100000.0;
    bands.adjacentBW = 50000.0;
    CQACPRMeasurement acpr;
    acpr.SetNoiseBW(s.GetNBW());
    acpr.SetSpectrum(s.GetSpectrum());
    acpr.SetBands(&bands);
    acpr.Compute();
    EXPECT_NEAR(10.0 * std::log10(bands.centerPowerAvg) + 30.0, expectedDbm, 0.1) << c.freq;
    // The Gaussian window leaves the neighbouring channels > 60 dB down.
    EXPECT_LT(bands.lowerRatioAvg, 1e-6) << c.freq;
    EXPECT_LT(bands.upperRatioAvg, 1e-6) << c.freq;
  }
}

// Welch's method written out: mean over the segments of |DFT of the windowed
// segment at each bin / L|^2, divided by 100; all in double.
std::vector<double> ReferenceWelch(const std::vector<CQComplex>& x, double fs, int length, int hop, int avgs,
                                   double start, double step, int bins) {
  CQDSPWindow w;
  w.SetShape(8);
  w.SetNumPoints(length);
  w.Make();
  std::vector<double> out(bins, 0.0);
  std::vector<std::complex<double>> seg(length);
  for (int k = 0; k < avgs; ++k) {
    for (int i = 0; i < length; ++i)
      seg[i] = std::complex<double>(x[k * hop + i].re, x[k * hop + i].im) * static_cast<double>(w.GetValue(i));
    for (int b = 0; b < bins; ++b) {
      const double f = start + b * step;
      const std::complex<double> rot = std::polar(1.0, -2.0 * M_PI * f / fs);
      std::complex<double> ph = 1.0, sum = 0.0;
      for (int i = 0; i < length; ++i) {
        if (i % 64 == 0) ph = std::polar(1.0, -2.0 * M_PI * f * i / fs);
        sum += seg[i] * ph;
        ph *= rot;
      }
      out[b] += std::norm(sum / static_cast<double>(length));
    }
  }
  for (double& v : out) v /= avgs * 100.0;
  return out;
}

TEST(AvgSpectrum, EqualsAPlainWelchComputationOfARandomWaveform) {
  const unsigned seed = 20261211;
  std::printf("random waveform seed %u\n", seed);
  std::mt19937 gen(seed);
  std::normal_distribution<float> normal(0.0f, 1.0f);
  const int n = 6000;
  std::vector<CQComplex> v(n);
  for (auto& c : v) c = CQComplex(normal(gen), normal(gen));
  CQCArrayTD x;
  x.Set(v.data(), n, 2e6, 0.0);

  struct WelchCase {
    const char* what;
    bool autoLimits;
    double start, stop, rbw;
    int bins, avgs;
  } cases[] = {
      {"whole band", true, 0, 0, 20000.0, 0, 37},
      {"zoomed, uneven step", false, -150000.0, 230000.0, 8000.0, 257, 11},
  };
  for (const WelchCase& c : cases) {
    CQAvgSpectrum s;
    s.SetInputData(&x);
    s.SetAutoFreqLimits(c.autoLimits);
    s.SetFreqLimits(c.start, c.stop);
    s.SetAutoRBW(false);
    s.SetRBW(c.rbw);
    s.SetAutoNumFreqs(c.bins == 0);
    s.SetNumFreqs(c.bins);
    s.SetAutoNumAvgs(false);
    s.SetNumAvgs(c.avgs);
    s.Compute();
    const CQFArrayFD* r = s.GetSpectrum();
    const std::vector<double> ref =
        ReferenceWelch(v, 2e6, s.GetWindowLength(), s.GetHop(), s.GetNumAvgs(), s.GetStartFreq(),
                       s.GetFreqStep(), s.GetNumFreqs());
    ASSERT_EQ(r->GetNumPoints(), static_cast<int>(ref.size())) << c.what;
    double worst = 0.0;
    for (size_t b = 0; b < ref.size(); ++b) {
      worst = std::max(worst, std::abs(r->GetDataPtr()[b] - ref[b]) / ref[b]);
    }
    std::printf("%s: largest relative difference %.3g\n", c.what, worst);
    EXPECT_LT(worst, 1e-4) << c.what << " (segment " << s.GetWindowLength() << ", hop " << s.GetHop() << ")";
  }
}

TEST(AvgSpectrum, ASecondComputeReusesTheResultAndFollowsNewSettings) {
  CQCArrayTD x;
  MakeTone(x, 4000, 1e6, 0.0, 1.0);
  CQAvgSpectrum s;
  s.SetInputData(&x);
  s.Compute();
  CQFArrayFD* first = s.GetSpectrum();
  EXPECT_EQ(first->GetNumPoints(), 1601);
  s.SetAutoNumFreqs(false);
  s.SetNumFreqs(101);
  s.SetAutoFreqLimits(false);
  s.SetFreqLimits(-50000.0, 50000.0);
  s.Compute();
  EXPECT_EQ(s.GetSpectrum(), first);
  EXPECT_EQ(first->GetNumPoints(), 101);
  EXPECT_NEAR(first->GetDataPtr()[50], 0.01, 1e-4);
  // A setting refused before the transform keeps the earlier result.
  s.SetNumFreqs(1);
  EXPECT_EQ(Catch([&] { s.Compute(); }).message, "Invalid number of frequencies.");
  EXPECT_EQ(first->GetNumPoints(), 101);
}

}  // namespace
