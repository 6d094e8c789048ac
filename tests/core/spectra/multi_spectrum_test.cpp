#include "core/spectral/multi_spectrum.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "core/arrays/carray.h"
#include "core/arrays/farray_fd.h"
#include "core/spectral/dsp_window.h"
#include "measurement_test_util.h"
#include "support/errors.h"

using lv_test::Catch;

namespace {

TEST(MultiSpectrum, TwentySpectraOfAHundredThousandSamples) {
  const double fs = 1e6;
  const int n = 100000;
  std::vector<CQComplex> v(n);
  // A tone of amplitude 1 at +125 kHz (a bin of the 301-point grid).
  for (int i = 0; i < n; ++i) {
    const double p = 2.0 * M_PI * 125000.0 * i / fs;
    v[i] = CQComplex(static_cast<float>(std::cos(p)), static_cast<float>(std::sin(p)));
  }
  CQCArrayTD x;
  x.Set(v.data(), n, fs, 0.25);
  x.SetCenterFreq(915e6);

  CQMultiSpectrum m;
  m.SetInputData(&x);
  m.SetAutoNumFreqs(false);
  m.SetNumFreqs(301);
  m.SetNumSpectra(20);
  m.Compute();

  const int length = CalcWindowLengthForRBW(fs, 2500.0, 8);
  EXPECT_EQ(length, 912);
  EXPECT_EQ(m.GetWindowLength(), length);
  const int hop = (n - length) / 20;
  EXPECT_EQ(m.GetHop(), hop);
  EXPECT_EQ(m.GetStartFreq(), -500000.0);
  EXPECT_EQ(m.GetStopFreq(), 500000.0);
  EXPECT_EQ(m.GetRBW(), 2500.0);
  EXPECT_EQ(m.GetNumSpectra(), 20);
  CQFArrayFDList* list = m.GetSpectra();
  ASSERT_NE(list, nullptr);
  ASSERT_EQ(list->GetNumItems(), 20);
  for (int i = 0; i < 20; ++i) {
    const CQFArrayFD* item = list->GetItem(i);
    ASSERT_EQ(item->GetNumPoints(), 301) << i;
    EXPECT_EQ(item->GetCenterFreq(), 915e6) << i;
    EXPECT_EQ(item->GetStartFreq(), -500000.0) << i;
    EXPECT_DOUBLE_EQ(item->GetFreqStep(), 1e6 / 300) << i;
    EXPECT_DOUBLE_EQ(item->GetSpectrumTime(), 0.25 + static_cast<double>(i) * hop / fs) << i;
    EXPECT_EQ(item->GetRBW(), m.GetActualRBW()) << i;
    // +125 kHz is bin 187.5 - not on the grid; the bin at 126.67 kHz (188)
    // is closest and within the main lobe.
    int peak = 0;
    for (int b = 1; b < 301; ++b)
      if (item->GetDataPtr()[b] > item->GetDataPtr()[peak]) peak = b;
    EXPECT_TRUE(peak == 187 || peak == 188) << i << ": " << peak;
  }
}

TEST(MultiSpectrum, AToneOfAmplitudeOneReadsPlusTenDbmAndZeroInputTheFloor) {
  const double fs = 1e6;
  const int n = 5000;
  struct Case {
    const char* what;
    double amplitude;
    double expectedAtTone;  // dBm
  } cases[] = {{"tone", 1.0, 10.0}, {"tone of 0.1", 0.1, -10.0}, {"zero", 0.0, -192.76}};
  for (const Case& c : cases) {
    std::vector<CQComplex> v(n);
    for (int i = 0; i < n; ++i) {
      const double p = 2.0 * M_PI * -200000.0 * i / fs;
      v[i] = CQComplex(static_cast<float>(c.amplitude * std::cos(p)), static_cast<float>(c.amplitude * std::sin(p)));
    }
    CQCArrayTD x;
    x.Set(v.data(), n, fs, 0.0);
    CQMultiSpectrum m;
    m.SetInputData(&x);
    m.SetAutoNumFreqs(false);
    m.SetNumFreqs(401);  // 2.5 kHz steps: -200 kHz is bin 120
    m.SetNumSpectra(3);
    m.Compute();
    for (int i = 0; i < m.GetNumSpectra(); ++i) {
      const float* d = m.GetSpectra()->GetItem(i)->GetDataPtr();
      EXPECT_NEAR(d[120], c.expectedAtTone, 0.05) << c.what << " item " << i;
      if (c.amplitude == 0.0) {
        for (int b = 0; b < 401; ++b) EXPECT_NEAR(d[b], -192.76, 0.01) << c.what << " bin " << b;
      }
    }
  }
}

TEST(MultiSpectrum, SpectraAreCorrectedToWhatTheInputHolds) {
  const double fs = 1e6;
  CQCArrayTD x(912);
  x.SetSampleRate(fs);
  x.SetBandwidth(250000.0);
  CQMultiSpectrum m;
  m.SetInputData(&x);
  m.SetNumSpectra(7);
  m.Compute();
  EXPECT_EQ(m.GetNumSpectra(), 1);
  EXPECT_EQ(m.GetSpectra()->GetNumItems(), 1);
  EXPECT_EQ(m.GetStartFreq(), -125000.0);
  EXPECT_EQ(m.GetStopFreq(), 125000.0);
  EXPECT_EQ(m.GetNumFreqs(), 1601);

  // 920 samples and 20 spectra asked: 9 spectra one sample apart; 0 asked is 1.
  CQCArrayTD y(920);
  y.SetSampleRate(fs);
  m.SetInputData(&y);
  m.SetNumSpectra(20);
  m.ResolveSettings();
  EXPECT_EQ(m.GetNumSpectra(), 9);
  EXPECT_EQ(m.GetHop(), 1);
  m.SetNumSpectra(0);
  m.ResolveSettings();
  EXPECT_EQ(m.GetNumSpectra(), 1);
  EXPECT_EQ(m.GetHop(), 8);

  m.SetAutoFreqLimits(false);
  m.SetFreqLimits(-3e6, 200000.0);
  m.ResolveSettings();
  EXPECT_EQ(m.GetStartFreq(), -500000.0);
  EXPECT_EQ(m.GetStopFreq(), 200000.0);
  m.SetFreqLimits(1.0, 1.0);
  const auto t = Catch([&] { m.Compute(); });
  EXPECT_EQ(t.message, "Invalid frequency limits.");
  EXPECT_NE(t.callStack.find("CQMultiSpectrum::Compute"), std::string::npos);
  m.SetFreqLimits(-1.0, 1.0);
  m.SetAutoRBW(false);
  m.SetRBW(0.0);
  EXPECT_EQ(Catch([&] { m.Compute(); }).message, "Invalid resolution bandwidth.");
  m.SetAutoRBW(true);
  m.SetAutoNumFreqs(false);
  m.SetNumFreqs(1);
  EXPECT_EQ(Catch([&] { m.Compute(); }).message, "Invalid number of frequencies.");
  m.SetInputData(nullptr);
  EXPECT_EQ(Catch([&] { m.Compute(); }).message, "Null pointer to input data.");
}

}  // namespace
