#include "core/spectral/acpr.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/arrays/farray_fd.h"
#include "measurement_test_util.h"
#include "support/errors.h"

using lv_test::Catch;
using lv_test_spectral::MakeSpectrum;
using lv_test_spectral::Ramp;
using lv_test_spectral::SumBins;

namespace {

// -5 MHz .. +5 MHz with a step of 5 kHz (2001 bins); NBW = step, so every
// channel power is the plain sum of its bins.
struct Layout {
  std::vector<float> v = Ramp(2001);
  CQFArrayFD spectrum;
  CQACPRMeasurement m;
  Layout() {
    MakeSpectrum(spectrum, v, -5000000.0, 5000.0);
    m.SetNoiseBW(5000.0);
    m.SetSpectrum(&spectrum);
  }
  float Bins(int first, int last) const { return static_cast<float>(SumBins(v, first, last)); }
};

TEST(Acpr, DefaultChannelsLandOnTheirBins) {
  Layout t;
  CQACPRMeasBands bands;
  bands.adjacent2On = true;
  bands.extraOn = true;
  t.m.SetBands(&bands);
  t.m.Compute();
  EXPECT_TRUE(bands.resultsValid);
  EXPECT_FLOAT_EQ(bands.centerPower, t.Bins(900, 1100));
  EXPECT_FLOAT_EQ(bands.lowerPower, t.Bins(660, 860));
  EXPECT_FLOAT_EQ(bands.upperPower, t.Bins(1140, 1340));
  EXPECT_FLOAT_EQ(bands.lower2Power, t.Bins(420, 620));    // -2.4 MHz
  EXPECT_FLOAT_EQ(bands.upper2Power, t.Bins(1380, 1580));  // +2.4 MHz
  EXPECT_FLOAT_EQ(bands.extraPower, t.Bins(1390, 1410));   // +2 MHz, 100 kHz wide
  // First measurement: the averages are the values; ratios against the centre.
  EXPECT_FLOAT_EQ(bands.centerPowerAvg, bands.centerPower);
  EXPECT_FLOAT_EQ(bands.lowerRatioAvg, bands.lowerPower / bands.centerPower);
  EXPECT_FLOAT_EQ(bands.upperRatioAvg, bands.upperPower / bands.centerPower);
  EXPECT_FLOAT_EQ(bands.lower2RatioAvg, bands.lower2Power / bands.centerPower);
  EXPECT_FLOAT_EQ(bands.extraRatioAvg, bands.extraPower / bands.centerPower);
}

struct OffsetCase {
  const char* what;
  bool relative;
  double extraOffset;
  int lowerFirst, upperFirst, extraFirst;
};

TEST(Acpr, ACentreOffsetMovesTheOtherChannelsOnlyWhenTheyAreRelative) {
  const OffsetCase cases[] = {
      {"relative", true, 2000000.0, 680, 1160, 1410},
      {"from the middle", false, 2000000.0, 660, 1140, 1390},
      {"negative extra offset, relative", true, -2000000.0, 680, 1160, 610},
  };
  for (const OffsetCase& c : cases) {
    Layout t;
    CQACPRMeasBands bands;
    bands.centerOffset = 100000.0;
    bands.adjRelToCenter = c.relative;
    bands.extraOn = true;
    bands.extraOffset = c.extraOffset;
    t.m.SetBands(&bands);
    t.m.Compute();
    EXPECT_FLOAT_EQ(bands.centerPower, t.Bins(920, 1120)) << c.what;
    EXPECT_FLOAT_EQ(bands.lowerPower, t.Bins(c.lowerFirst, c.lowerFirst + 200)) << c.what;
    EXPECT_FLOAT_EQ(bands.upperPower, t.Bins(c.upperFirst, c.upperFirst + 200)) << c.what;
    EXPECT_FLOAT_EQ(bands.extraPower, t.Bins(c.extraFirst, c.extraFirst + 20)) << c.what;
  }
}

// A flat spectrum of level p with NBW = step x bins of the default centre
// channel: the centre power is p.
void MeasureFlat(CQACPRMeasurement& m, float p) {
  CQFArrayFD spectrum;
  MakeSpectrum(spectrum, std::vector<float>(2001, p), -5000000.0, 5000.0);
  m.SetSpectrum(&spectrum);
  m.Compute();
}

TEST(Acpr, AllResultsAverageWithTheSameCountAndRatiosAverageAsRatios) {
  CQACPRMeasBands bands;
  bands.avgFactor = 3;
  bands.adjacent2On = true;
  CQACPRMeasurement m;
  m.SetNoiseBW(5000.0 * 201);
  m.SetBands(&bands);
  const float expected[] = {3.0f, 4.5f, 6.0f, 8.0f};
  for (int i = 0; i < 4; ++i) {
    MeasureFlat(m, 3.0f * (i + 1));
    EXPECT_FLOAT_EQ(bands.centerPowerAvg, expected[i]) << i;
    EXPECT_FLOAT_EQ(bands.lowerPowerAvg, expected[i]) << i;
    EXPECT_FLOAT_EQ(bands.upper2PowerAvg, expected[i]) << i;
    EXPECT_FLOAT_EQ(bands.centerPower, 3.0f * (i + 1)) << i;
    EXPECT_FLOAT_EQ(bands.lowerRatioAvg, 1.0f) << i;
  }
  EXPECT_EQ(bands.numAvgs, 3);
  // Averaging runs whatever the flag says; a reset starts again.
  EXPECT_FALSE(bands.avgOn);
  bands.ResetResults();
  EXPECT_FALSE(bands.resultsValid);
  EXPECT_EQ(bands.centerPowerAvg, 0.0f);
  EXPECT_EQ(bands.numAvgs, 0);
  EXPECT_EQ(bands.avgFactor, 3);
  MeasureFlat(m, 1.0f);
  EXPECT_FLOAT_EQ(bands.centerPowerAvg, 1.0f);
}

TEST(Acpr, ZeroCentrePowerGivesZeroRatiosAndChannelsThatAreOffKeepTheirValues) {
  // Power only in the upper adjacent channel.
  std::vector<float> v(2001, 0.0f);
  for (int i = 1140; i <= 1340; ++i) v[i] = 1.0f;
  CQFArrayFD spectrum;
  MakeSpectrum(spectrum, v, -5000000.0, 5000.0);
  CQACPRMeasBands bands;
  bands.extraPower = 42.0f;
  bands.lower2RatioAvg = 7.0f;
  CQACPRMeasurement m;
  m.SetNoiseBW(5000.0);
  m.SetSpectrum(&spectrum);
  m.SetBands(&bands);
  m.Compute();
  EXPECT_EQ(bands.centerPower, 0.0f);
  EXPECT_FLOAT_EQ(bands.upperPower, 201.0f);
  EXPECT_EQ(bands.upperRatioAvg, 0.0f);
  EXPECT_EQ(bands.lowerRatioAvg, 0.0f);
  EXPECT_EQ(bands.extraPower, 42.0f);
  EXPECT_EQ(bands.lower2RatioAvg, 7.0f);
  EXPECT_TRUE(bands.resultsValid);
}

TEST(Acpr, FailuresCarryTheirMessageAndLeaveResultsInvalid) {
  CQACPRMeasBands bands;
  EXPECT_FALSE(bands.resultsValid);
  {
    CQACPRMeasurement m;
    EXPECT_FALSE(Catch([&] { m.Compute(); }).thrown);  // no record: nothing to do
    m.SetBands(&bands);
    m.SetNoiseBW(1.0);
    const auto t = Catch([&] { m.Compute(); });
    EXPECT_EQ(t.message, "Null pointer to input data.");
    EXPECT_NE(t.callStack.find("CQACPRMeasurement::Compute"), std::string::npos);
  }
  {
    Layout t;
    t.m.SetBands(&bands);
    t.m.Compute();
    EXPECT_TRUE(bands.resultsValid);
    t.m.SetNoiseBW(0.0);
    EXPECT_EQ(Catch([&] { t.m.Compute(); }).message,
              "Programming error: SetNoiseBW() must be called before Compute().");
    EXPECT_FALSE(bands.resultsValid);
  }
}

TEST(AcprBands, DefaultsCopyAndName) {
  CQACPRMeasBands a;
  EXPECT_EQ(a.centerBW, 1000000.0);
  EXPECT_TRUE(a.adjRelToCenter);
  EXPECT_EQ(a.adjacentOffset, 1200000.0);
  EXPECT_EQ(a.adjacent2Offset, 2400000.0);
  EXPECT_EQ(a.extraOffset, 2000000.0);
  EXPECT_EQ(a.extraBW, 100000.0);
  EXPECT_EQ(a.avgFactor, 1);
  EXPECT_EQ(std::wstring(a.GetName()), L"");

  const std::wstring longName(80, L'x');
  a.SetName(longName.c_str());
  EXPECT_EQ(std::wstring(a.GetName()), std::wstring(63, L'x'));
  a.SetName(L"Spectrum 2");
  EXPECT_EQ(std::wstring(a.GetName()), L"Spectrum 2");
  a.SetName(nullptr);
  EXPECT_EQ(std::wstring(a.GetName()), L"");

  CQACPRMeasBands b;
  b.SetName(L"Spectrum 3");
  b.centerOffset = 5.0;
  b.numAvgs = 2;
  b.centerPowerAvg = 1.5f;
  b.resultsValid = true;
  a.Set(&b);
  EXPECT_EQ(std::wstring(a.GetName()), L"Spectrum 3");
  EXPECT_EQ(a.centerOffset, 5.0);
  EXPECT_EQ(a.numAvgs, 2);
  EXPECT_EQ(a.centerPowerAvg, 1.5f);
  EXPECT_TRUE(a.resultsValid);
  a.Set(nullptr);
  EXPECT_EQ(a.centerOffset, 5.0);
}

}  // namespace
