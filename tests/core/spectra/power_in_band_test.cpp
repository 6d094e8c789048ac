#include "core/spectral/power_in_band.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "core/arrays/farray_fd.h"
#include "measurement_test_util.h"
#include "support/errors.h"

using lv_test::Catch;
using lv_test_spectral::MakeSpectrum;
using lv_test_spectral::Ramp;
using lv_test_spectral::SumBins;

namespace {

CQPiBMeasBand Band(double freq, double bw) {
  CQPiBMeasBand b;
  b.on = true;
  b.freq = freq;
  b.bandwidth = bw;
  return b;
}

struct BandCase {
  const char* what;
  double freq;
  double bw;
  int first;
  int last;
};

// -500 kHz .. +500 kHz with a step of 625 Hz (1601 bins), NBW 10 kHz.
TEST(PowerInBand, BandEdgesRoundToBinsAndClipToTheSpectrum) {
  const BandCase cases[] = {
      {"centred 100 kHz", 0.0, 100000.0, 720, 880},
      {"entirely below", -2000000.0, 100000.0, 0, 1},
      {"entirely above", 2000000.0, 100000.0, 1600, 1600},
      {"overlapping the low edge", -480000.0, 100000.0, 0, 112},
      {"edges at half bins round away from zero", -486875.0, 13125.0, 11, 32},
      {"narrower than a bin", 625.0 * 3.2, 1.0, 803, 803},
      {"negative width: last bin follows the first", 0.0, -10000.0, 808, 809},
  };
  const std::vector<float> v = Ramp(1601);
  CQFArrayFD spectrum;
  MakeSpectrum(spectrum, v, -500000.0, 625.0);
  for (const BandCase& c : cases) {
    CQPiBMeasBandList list(1);
    list.SetSize(1);
    const CQPiBMeasBand b = Band(c.freq, c.bw);
    list.SetItem(0, &b);
    CQPiBMeasurement m;
    m.SetNoiseBW(10000.0);
    m.SetSpectrum(&spectrum);
    m.SetBandList(&list);
    m.Compute();
    const CQPiBMeasBand* r = list.GetItem(0);
    const double expected = SumBins(v, c.first, c.last) * 0.0625;
    EXPECT_TRUE(r->valid) << c.what;
    EXPECT_FLOAT_EQ(r->power, static_cast<float>(expected)) << c.what;
    EXPECT_EQ(r->spectrumMiddle, 0.0) << c.what;
  }
}

TEST(PowerInBand, BandsSitAroundTheMiddleOfTheSpectrumAndEachIsMeasured) {
  // 0 .. 1 MHz: the middle is 500 kHz; a band at offset -250 kHz covers bins
  // around 250 kHz, a second one that is off keeps valid false.
  const std::vector<float> v = Ramp(1601);
  CQFArrayFD spectrum;
  MakeSpectrum(spectrum, v, 0.0, 625.0);
  CQPiBMeasBandList list(2);
  list.SetSize(2);
  const CQPiBMeasBand a = Band(-250000.0, 50000.0);
  CQPiBMeasBand b = Band(0.0, 1000.0);
  b.on = false;
  b.valid = true;
  list.SetItem(0, &a);
  list.SetItem(1, &b);
  CQPiBMeasurement m;
  m.SetNoiseBW(625.0);
  m.SetSpectrum(&spectrum);
  m.SetBandList(&list);
  m.Compute();
  // 225 kHz .. 275 kHz: bins 360 .. 440.
  EXPECT_FLOAT_EQ(list.GetItem(0)->power, static_cast<float>(SumBins(v, 360, 440)));
  EXPECT_EQ(list.GetItem(0)->spectrumMiddle, 500000.0);
  EXPECT_FALSE(list.GetItem(1)->valid);
  EXPECT_EQ(list.GetItem(1)->spectrumMiddle, 500000.0);
}

// A flat spectrum of level p, 11 bins of 1 Hz, and a 3-bin band with NBW 3:
// the band power equals p exactly.
float MeasureFlat(CQPiBMeasurement& m, CQPiBMeasBandList& list, float p) {
  CQFArrayFD spectrum;
  MakeSpectrum(spectrum, std::vector<float>(11, p), -5.0, 1.0);
  m.SetSpectrum(&spectrum);
  m.Compute();
  return list.GetItem(0)->power;
}

TEST(PowerInBand, AveragingIsAMeanUpToTheFactorThenExponential) {
  CQPiBMeasBandList list(1);
  list.SetSize(1);
  CQPiBMeasBand b = Band(0.0, 2.0);
  b.avgOn = true;
  b.avgFactor = 4;
  list.SetItem(0, &b);
  CQPiBMeasurement m;
  m.SetNoiseBW(3.0);
  m.SetBandList(&list);
  const float expected[] = {1.0f, 1.5f, 2.0f, 2.5f, 3.125f};
  for (int i = 0; i < 5; ++i) {
    EXPECT_FLOAT_EQ(MeasureFlat(m, list, static_cast<float>(i + 1)), expected[i]) << "input " << i + 1;
  }
  EXPECT_EQ(list.GetItem(0)->numAvgs, 4);
  // A reset starts a new mean.
  list.ResetAveraging();
  EXPECT_FALSE(list.GetItem(0)->valid);
  EXPECT_EQ(list.GetItem(0)->power, 0.0f);
  EXPECT_FLOAT_EQ(MeasureFlat(m, list, 8.0f), 8.0f);
  EXPECT_FLOAT_EQ(MeasureFlat(m, list, 4.0f), 6.0f);
}

TEST(PowerInBand, WithoutAveragingEachMeasurementStandsAloneAndAFactorBelowOneBecomesOne) {
  CQPiBMeasBandList list(1);
  list.SetSize(1);
  CQPiBMeasBand b = Band(0.0, 2.0);
  list.SetItem(0, &b);
  CQPiBMeasurement m;
  m.SetNoiseBW(3.0);
  m.SetBandList(&list);
  EXPECT_FLOAT_EQ(MeasureFlat(m, list, 2.0f), 2.0f);
  EXPECT_FLOAT_EQ(MeasureFlat(m, list, 7.0f), 7.0f);
  EXPECT_NEAR(list.GetItem(0)->powerdBm, 10.0f * std::log10(7.0f) + 30.0f, 1e-4);

  b.avgOn = true;
  b.avgFactor = 0;
  list.SetItem(0, &b);
  EXPECT_FLOAT_EQ(MeasureFlat(m, list, 3.0f), 3.0f);
  EXPECT_FLOAT_EQ(MeasureFlat(m, list, 5.0f), 5.0f);
  EXPECT_EQ(list.GetItem(0)->avgFactor, 1);
}

TEST(PowerInBand, ZeroPowerReadsMinus200dBm) {
  CQPiBMeasBandList list(1);
  list.SetSize(1);
  CQPiBMeasBand b = Band(0.0, 2.0);
  list.SetItem(0, &b);
  CQPiBMeasurement m;
  m.SetNoiseBW(3.0);
  m.SetBandList(&list);
  EXPECT_EQ(MeasureFlat(m, list, 0.0f), 0.0f);
  EXPECT_EQ(list.GetItem(0)->powerdBm, -200.0f);
  EXPECT_TRUE(list.GetItem(0)->valid);
}

TEST(PowerInBand, MisuseFailsWithItsMessageAndAnEmptyListIsLeftAlone) {
  // No list, and a list of size 0: nothing happens even without a spectrum.
  {
    CQPiBMeasurement m;
    EXPECT_FALSE(Catch([&] { m.Compute(); }).thrown);
    CQPiBMeasBandList empty(2);
    m.SetBandList(&empty);
    EXPECT_FALSE(Catch([&] { m.Compute(); }).thrown);
  }
  CQPiBMeasBandList list(1);
  list.SetSize(1);
  CQPiBMeasBand b = Band(0.0, 2.0);
  list.SetItem(0, &b);
  {
    CQPiBMeasurement m;
    m.SetNoiseBW(1.0);
    m.SetBandList(&list);
    const auto t = Catch([&] { m.Compute(); });
    EXPECT_EQ(t.message, "Null pointer to input data.");
    EXPECT_NE(t.callStack.find("CQPiBMeasurement::Compute"), std::string::npos);
    m.SetSpectrum(nullptr);  // creates an empty copy
    EXPECT_EQ(Catch([&] { m.Compute(); }).message, "Null pointer to input data.");
  }
  {
    CQPiBMeasurement m;
    CQFArrayFD spectrum;
    MakeSpectrum(spectrum, std::vector<float>(11, 1.0f), -5.0, 1.0);
    m.SetSpectrum(&spectrum);
    m.SetBandList(&list);
    EXPECT_EQ(Catch([&] { m.Compute(); }).message,
              "Programming error: SetNoiseBW() must be called before Compute().");
    EXPECT_FALSE(list.GetItem(0)->valid);
  }
}

TEST(PowerInBandList, NewAndResizedListsHoldZeroBandsAndIndexesAreChecked) {
  CQPiBMeasBandList list(2);
  EXPECT_EQ(list.GetSize(), 0);
  EXPECT_EQ(list.GetCapacity(), 2);
  EXPECT_EQ(Catch([&] { list.GetItem(0); }).message, "Empty list.");

  list.SetSize(2);
  EXPECT_EQ(list.GetSize(), 2);
  for (int i = 0; i < 2; ++i) {
    const CQPiBMeasBand* b = list.GetItem(i);
    EXPECT_FALSE(b->on);
    EXPECT_EQ(b->bandwidth, 0.0);
    EXPECT_EQ(b->avgFactor, 0);
    EXPECT_EQ(b->freq, 0.0);
  }
  const CQPiBMeasBand band = Band(5.0, 7.0);
  const auto bad = Catch([&] { list.SetItem(2, &band); });
  EXPECT_EQ(bad.message, "Invalid item index.");
  EXPECT_NE(bad.callStack.find("CQPiBMeasBandList::GetItem"), std::string::npos);
  EXPECT_NE(bad.callStack.find("CQPiBMeasBandList::SetItem"), std::string::npos);
  EXPECT_EQ(Catch([&] { list.GetItem(-1); }).message, "Invalid item index.");
  EXPECT_EQ(Catch([&] { list.SetItem(0, nullptr); }).message, "NULL pointer to item to set in list.");
  EXPECT_EQ(Catch([&] { list.SetItem(7, nullptr); }).message, "NULL pointer to item to set in list.");
}

TEST(PowerInBandList, SetCopiesBandsAndSizeGrowingWhenNeeded) {
  CQPiBMeasBandList source(3);
  source.SetSize(3);
  for (int i = 0; i < 3; ++i) {
    CQPiBMeasBand b = Band(i * 10.0, i + 1.0);
    b.avgOn = i == 1;
    b.avgFactor = i + 2;
    b.numAvgs = 1;
    b.power = 2.0f;
    b.valid = true;
    source.SetItem(i, &b);
  }
  CQPiBMeasBandList target(1);
  target.Set(&source);
  EXPECT_EQ(target.GetSize(), 3);
  EXPECT_GE(target.GetCapacity(), 3);
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(target.GetItem(i)->freq, i * 10.0);
    EXPECT_EQ(target.GetItem(i)->bandwidth, i + 1.0);
    EXPECT_EQ(target.GetItem(i)->avgOn, i == 1);
    EXPECT_EQ(target.GetItem(i)->avgFactor, i + 2);
  }
  // A smaller list keeps the capacity and takes the smaller size.
  CQPiBMeasBandList one(1);
  one.SetSize(1);
  target.Set(&one);
  EXPECT_EQ(target.GetSize(), 1);
  EXPECT_EQ(target.GetCapacity(), 3);
  target.Set(nullptr);
  EXPECT_EQ(target.GetSize(), 1);

  // Resetting keeps the definitions.
  source.ResetAveraging();
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(source.GetItem(i)->numAvgs, 0);
    EXPECT_FALSE(source.GetItem(i)->valid);
    EXPECT_EQ(source.GetItem(i)->power, 0.0f);
    EXPECT_EQ(source.GetItem(i)->freq, i * 10.0);
  }
}

TEST(PowerInBandBand, DefaultsAndCopy) {
  CQPiBMeasBand b;
  EXPECT_FALSE(b.on);
  EXPECT_EQ(b.bandwidth, 1000000.0);
  EXPECT_EQ(b.avgFactor, 1);
  EXPECT_FALSE(b.avgOn);
  CQPiBMeasBand c = Band(3.0, 4.0);
  c.Set(nullptr);
  EXPECT_EQ(c.freq, 3.0);
  c.Set(&b);
  EXPECT_FALSE(c.on);
  EXPECT_EQ(c.bandwidth, 1000000.0);
}

}  // namespace
