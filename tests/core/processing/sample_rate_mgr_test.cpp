#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "core/error.h"
#include "core/processing/sample_rate_mgr.h"
#include "support/errors.h"
#include "tests/core/processing/test_util.h"

using namespace lv_test_proc;

namespace {

struct Input {
  explicit Input(int n = 1000, double rate = 1e6, double f = 0.05) {
    auto x = Tone(n, f);
    arr.Set(x.data(), n, rate, 0.125);
    arr.SetCenterFreq(2.4e9);
    arr.SetBandwidth(0.8 * rate);
  }
  CQCArrayTD arr;
};

}  // namespace

TEST(SampleRateMgr, AllSwitchesOffCopiesTheInput) {
  Input in;
  CQSampleRateMgr mgr;
  EXPECT_TRUE(mgr.IsChanged());
  EXPECT_EQ(mgr.GetSettings()->noiseLevel, -90.0f);
  mgr.SetInput(&in.arr);
  EXPECT_FALSE(mgr.ComputeAll());
  EXPECT_FALSE(mgr.IsChanged());
  EXPECT_EQ(mgr.GetState(), CQSampleRateMgr::kIdle);
  CQCArrayTD* out = mgr.GetOutput();
  ASSERT_EQ(out->GetNumPoints(), 1000);
  EXPECT_EQ(out->GetSampleRate(), 1e6);
  EXPECT_EQ(out->GetTimeOrigin(), 0.125);
  EXPECT_EQ(out->GetCenterFreq(), 2.4e9);
  for (int i = 0; i < 1000; ++i) ASSERT_EQ(out->GetDataPtr()[i].re, in.arr.GetDataPtr()[i].re);
}

TEST(SampleRateMgr, InterpolateFourDecimateTwoDoublesTheRate) {
  Input in;
  CQSampleRateMgr mgr;
  CQSampleRateMgrSettings s;
  s.interpolationOn = true;
  s.interpolationRate = 4;
  s.decimationOn = true;
  s.decimationRate = 2;
  mgr.SetSettings(s);
  mgr.SetInput(&in.arr);
  mgr.ComputeAll();
  CQCArrayTD* out = mgr.GetOutput();
  EXPECT_EQ(out->GetNumPoints(), 2000);
  EXPECT_EQ(out->GetSampleRate(), 2e6);
  EXPECT_DOUBLE_EQ(out->GetBandwidth(), 1.6e6);
  EXPECT_NEAR(Db(ToneAmplitude(out->GetDataPtr(), 2000, 0.025)), 0.0, 0.003);
  // The input is never modified.
  EXPECT_EQ(in.arr.GetNumPoints(), 1000);
}

TEST(SampleRateMgr, SmallChangesWithinToleranceAreIgnored) {
  CQSampleRateMgr mgr;
  Input in;
  mgr.SetInput(&in.arr);
  CQSampleRateMgrSettings s;
  s.freqShiftOn = true;
  s.freqShift = 1000.0;
  mgr.SetSettings(s);
  mgr.ComputeAll();
  ASSERT_FALSE(mgr.IsChanged());
  s.freqShift = 1000.5;
  s.noiseLevel = -100.005f;  // within 0.01 of the level applied above
  mgr.SetSettings(s);
  EXPECT_FALSE(mgr.IsChanged());
  EXPECT_EQ(mgr.GetSettings()->freqShift, 1000.0);
  s.freqShift = 1002.0;
  mgr.SetSettings(s);
  EXPECT_TRUE(mgr.IsChanged());
  EXPECT_EQ(mgr.GetSettings()->freqShift, 1002.0);
}

// Shift first: the shift runs at the input rate and interpolation then places
// the tone at the shifted frequency; shift last: the shift runs at the output
// rate. A 100 kHz shift of a 50 kHz tone gives 150 kHz either way, but the
// interpolation images differ: with the shift first the images sit around
// 1 MHz +- 150 kHz and are suppressed, with the shift last the image of 50 kHz
// at 1.05 MHz moves to 1.15 MHz.
TEST(SampleRateMgr, FrequencyShiftInEitherOrder) {
  for (bool first : {false, true}) {
    Input in(1000, 1e6, 0.05);
    CQSampleRateMgr mgr;
    CQSampleRateMgrSettings s;
    s.doFreqShiftFirst = first;
    s.interpolationOn = true;
    s.interpolationRate = 2;
    s.freqShiftOn = true;
    s.freqShift = 1e5;
    mgr.SetSettings(s);
    mgr.SetInput(&in.arr);
    mgr.ComputeAll();
    CQCArrayTD* out = mgr.GetOutput();
    ASSERT_EQ(out->GetNumPoints(), 2000);
    EXPECT_EQ(out->GetCenterFreq(), 2.4e9 - 1e5);
    EXPECT_NEAR(Db(ToneAmplitude(out->GetDataPtr(), 2000, 0.075)), 0.0, 0.003) << first;
    // The rotator's phase: sample i carries step i+1 at the rate it ran at.
    const double stepRate = first ? 1e6 : 2e6;
    const double p = 2 * M_PI * 1e5 / stepRate;
    const CQComplex y0 = out->GetDataPtr()[0];
    EXPECT_NEAR(y0.re, std::cos(p), 2e-3) << first;
    EXPECT_NEAR(y0.im, std::sin(p), 2e-3) << first;
  }
}

TEST(SampleRateMgr, PhaseGainLimitAndNegativeLimit) {
  Input in;
  CQSampleRateMgr mgr;
  CQSampleRateMgrSettings s;
  s.phaseAdjustOn = true;
  s.phaseDeg = 90.0f;
  s.gainAdjustOn = true;
  s.gainDb = 20.0f;
  s.samplesLimitOn = true;
  s.maxSamples = 300;
  mgr.SetSettings(s);
  mgr.SetInput(&in.arr);
  mgr.ComputeAll();
  ASSERT_EQ(mgr.GetOutput()->GetNumPoints(), 300);
  const CQComplex x = in.arr.GetDataPtr()[7], y = mgr.GetOutput()->GetDataPtr()[7];
  EXPECT_NEAR(y.re, -10 * x.im, 1e-4);
  EXPECT_NEAR(y.im, 10 * x.re, 1e-4);
  s.maxSamples = -1;
  mgr.SetSettings(s);
  mgr.ComputeAll();
  EXPECT_EQ(mgr.GetOutput()->GetNumPoints(), 1000);
  EXPECT_FALSE(mgr.GetSettings()->samplesLimitOn);
}

TEST(SampleRateMgr, FailuresLeaveTheManagerReadyToRerun) {
  Input in;
  CQSampleRateMgr mgr;
  EXPECT_EQ(lv_test::Catch([&] { mgr.ComputeAll(); }).message, "Null pointer to input data.");
  mgr.SetInput(&in.arr);
  CQSampleRateMgrSettings s;
  struct Case {
    void (*set)(CQSampleRateMgrSettings*);
    const char* start;  // start of the message
  } cases[] = {
      {[](CQSampleRateMgrSettings* r) { r->interpolationOn = true; r->interpolationRate = 11; },
       "Invalid interpolation rate 11"},
      {[](CQSampleRateMgrSettings* r) { r->decimationOn = true; r->decimationRate = 0; },
       "Invalid decimation rate 0"},
      {[](CQSampleRateMgrSettings* r) { r->filterOn = true; r->filterType = 21; },
       "Unknown filter type."},
      {[](CQSampleRateMgrSettings* r) { r->arbResampleOn = true; r->outputSampleRate = 0.0; },
       "Invalid output sample rate."},
      // 1000 samples at 1 Msps give a single sample at 1 ksps.
      {[](CQSampleRateMgrSettings* r) { r->arbResampleOn = true; r->outputSampleRate = 1e3; },
       "Invalid number of time domain points."},
      // Decimating 1000 samples by 1000 leaves one sample: nothing to delay.
      {[](CQSampleRateMgrSettings* r) {
         r->decimationOn = true;
         r->decimationRate = 1000;
         r->timeShiftOn = true;
         r->timeDelay = 1e-6;
       },
       "Invalid number of time domain points."},
      // Values recalled from a settings file as they stood: refused before any step runs.
      {[](CQSampleRateMgrSettings* r) { r->gainAdjustOn = true; r->gainDb = 800.0f; },
       "Invalid gain 800 dB: it must be between -200 and 200 dB."},
      {[](CQSampleRateMgrSettings* r) { r->gainAdjustOn = true; r->gainDb = -INFINITY; },
       "Invalid gain -inf dB"},
      {[](CQSampleRateMgrSettings* r) { r->noiseOn = true; r->noiseLevel = NAN; },
       "Invalid noise level nan dBm/Hz"},
      {[](CQSampleRateMgrSettings* r) { r->noiseOn = true; r->noiseLevel = 1000.0f; },
       "Invalid noise level 1000 dBm/Hz: it must be between -300 and 100 dBm/Hz."},
      {[](CQSampleRateMgrSettings* r) { r->phaseAdjustOn = true; r->phaseDeg = INFINITY; },
       "Invalid phase inf degrees: it must be a finite number."},
      {[](CQSampleRateMgrSettings* r) { r->freqShiftOn = true; r->freqShift = NAN; },
       "Invalid frequency shift nan Hz: it must be a finite number."},
  };
  for (const auto& c : cases) {
    CQSampleRateMgrSettings bad;
    c.set(&bad);
    mgr.SetSettings(bad);
    EXPECT_EQ(lv_test::Catch([&] { mgr.ComputeAll(); }).message.rfind(c.start, 0), 0u) << c.start;
    EXPECT_EQ(mgr.GetState(), CQSampleRateMgr::kIdle);
    EXPECT_TRUE(mgr.IsChanged());
    mgr.SetSettings(s);
    mgr.ComputeAll();
    EXPECT_EQ(mgr.GetOutput()->GetNumPoints(), 1000);
    EXPECT_FALSE(mgr.IsChanged());
  }
}

// A chain whose result would be far too long is refused while configuring,
// before any step computes (it used to compute for minutes and gigabytes).
TEST(SampleRateMgr, OversizedResultsAreRefusedBeforeComputing) {
  struct Case {
    int n;
    void (*set)(CQSampleRateMgrSettings*);
    const char* message;
  } cases[] = {
      {1000, [](CQSampleRateMgrSettings* r) { r->interpolationOn = true; r->interpolationRate = 1 << 20; },
       "The interpolation result of 1048576000 samples is over the working limit (16777216 samples)."},
      {1 << 20, [](CQSampleRateMgrSettings* r) { r->interpolationOn = true; r->interpolationRate = 64; },
       "The interpolation result of 67108864 samples is over the working limit (16777216 samples)."},
      // A limit at the end does not make the intermediate waveform any shorter.
      {1 << 20, [](CQSampleRateMgrSettings* r) {
         r->interpolationOn = true;
         r->interpolationRate = 64;
         r->samplesLimitOn = true;
         r->maxSamples = 1000;
       },
       "The interpolation result of 67108864 samples is over the working limit (16777216 samples)."},
      {1 << 20, [](CQSampleRateMgrSettings* r) { r->interpolationOn = true; r->interpolationRate = 4; },
       "The interpolation result of 4194304 samples is over the transmit limit (2097152 samples)."},
      // 1000 samples at 1 Msps last 1 ms; at 5 Gsps that is 5,000,000 samples.
      {1000, [](CQSampleRateMgrSettings* r) { r->arbResampleOn = true; r->outputSampleRate = 5e9; },
       "The arbitrary resampling result of 5000000 samples is over the transmit limit (2097152 samples)."},
      {1000, [](CQSampleRateMgrSettings* r) { r->arbResampleOn = true; r->outputSampleRate = 1e12; },
       "The arbitrary resampling result of 1000000000 samples is over the working limit (16777216 samples)."},
      // The frequency shift first: the rate changes follow it and are still checked.
      {1000, [](CQSampleRateMgrSettings* r) {
         r->doFreqShiftFirst = true;
         r->freqShiftOn = true;
         r->freqShift = 1e3;
         r->interpolationOn = true;
         r->interpolationRate = 1 << 20;
       },
       "The interpolation result of 1048576000 samples is over the working limit (16777216 samples)."},
  };
  for (const auto& c : cases) {
    Input in(c.n);
    CQSampleRateMgr mgr;
    mgr.SetInput(&in.arr);
    CQSampleRateMgrSettings s;
    c.set(&s);
    mgr.SetSettings(s);
    EXPECT_EQ(lv_test::Catch([&] { mgr.ComputeAll(); }).message, c.message);
    // The work array still holds the copy of the input: no step has run.
    EXPECT_EQ(mgr.GetOutput()->GetNumPoints(), c.n) << c.message;
    EXPECT_EQ(mgr.GetState(), CQSampleRateMgr::kIdle);
  }
}

// Intermediate waveforms may exceed the transmit limit when a later step
// shortens them; the input's own length is left to the transmitter.
TEST(SampleRateMgr, LongIntermediateOrInputWaveformsAreAccepted) {
  struct Case {
    int n;
    void (*set)(CQSampleRateMgrSettings*);
    int expected;
  } cases[] = {
      {300000, [](CQSampleRateMgrSettings* r) {
         r->interpolationOn = true;
         r->interpolationRate = 8;
         r->decimationOn = true;
         r->decimationRate = 8;
       },
       300000},
      {300000, [](CQSampleRateMgrSettings* r) {
         r->interpolationOn = true;
         r->interpolationRate = 8;
         r->samplesLimitOn = true;
         r->maxSamples = 100000;
       },
       100000},
      {kMaxProcessedSamples + 10, [](CQSampleRateMgrSettings* r) { r->gainAdjustOn = true; },
       kMaxProcessedSamples + 10},
  };
  for (const auto& c : cases) {
    Input in(c.n);
    CQSampleRateMgr mgr;
    mgr.SetInput(&in.arr);
    CQSampleRateMgrSettings s;
    c.set(&s);
    mgr.SetSettings(s);
    mgr.ComputeAll();
    EXPECT_EQ(mgr.GetOutput()->GetNumPoints(), c.expected);
  }
}

TEST(SampleRateMgr, StepwiseRunReportsMoreStepsUntilIdle) {
  Input in;
  CQSampleRateMgr mgr;
  mgr.SetInput(&in.arr);
  EXPECT_FALSE(mgr.ComputeIncremental());  // idle: nothing to do
  CQSampleRateMgrSettings s;
  s.filterOn = true;
  s.filterType = 10;
  s.noiseOn = true;
  s.noiseLevel = -120.0f;
  mgr.SetSettings(s);
  mgr.ComputeAll();
  const CQComplex a = mgr.GetOutput()->GetDataPtr()[3];
  mgr.ComputeAll();
  const CQComplex b = mgr.GetOutput()->GetDataPtr()[3];
  EXPECT_NE(a.re, b.re);  // noise is drawn afresh
  EXPECT_NEAR(a.re, b.re, 1e-3);
}

// Resampling then frequency shift, or the shift first at the input rate: a
// 50 kHz tone shifted by 100 kHz and resampled from 1 to 2.5 Msps is a 150 kHz
// tone either way, but the rotator's phase follows the rate the shift ran at
// (sample i carries step i+1). The time shift then delays by one output sample.
TEST(SampleRateMgr, ResamplingFrequencyShiftAndTimeShiftInEitherOrder) {
  for (bool first : {false, true}) {
    Input in(1000, 1e6, 0.05);
    CQSampleRateMgr mgr;
    CQSampleRateMgrSettings s;
    s.doFreqShiftFirst = first;
    s.arbResampleOn = true;
    s.outputSampleRate = 2.5e6;
    s.freqShiftOn = true;
    s.freqShift = 1e5;
    s.timeShiftOn = true;
    s.timeDelay = 1.0 / 2.5e6;
    mgr.SetSettings(s);
    mgr.SetInput(&in.arr);
    mgr.ComputeAll();
    CQCArrayTD* out = mgr.GetOutput();
    ASSERT_EQ(out->GetNumPoints(), 2500);
    EXPECT_EQ(out->GetSampleRate(), 2.5e6);
    EXPECT_EQ(out->GetCenterFreq(), 2.4e9 - 1e5);
    EXPECT_EQ(out->GetTimeOrigin(), 0.125);
    const double stepRate = first ? 1e6 : 2.5e6;
    double worst = 0.0;
    for (int m = 0; m < 2500; ++m) {
      const double t = (m - 1) / 2.5e6;  // delayed by one output sample
      const double p = 2 * M_PI * (5e4 * t + 1e5 * (t + 1.0 / stepRate));
      worst = std::max<double>(worst, std::hypot(out->GetDataPtr()[m].re - std::cos(p),
                                                 out->GetDataPtr()[m].im - std::sin(p)));
    }
    EXPECT_LT(worst, 5e-5) << (first ? "shift first" : "shift after resampling");
  }
}

// A resampling set-up that fails is retried on the next run with the same
// block; a second run with the same settings gives the same result.
TEST(SampleRateMgr, FailedResamplingRetriesWithTheNextRate) {
  Input in(1000, 1e6, 0.05);
  CQSampleRateMgr mgr;
  mgr.SetInput(&in.arr);
  CQSampleRateMgrSettings s;
  s.arbResampleOn = true;
  s.outputSampleRate = 1e3;
  mgr.SetSettings(s);
  const lv_test::CaughtError e = lv_test::Catch([&] { mgr.ComputeAll(); });
  EXPECT_EQ(e.message, "Invalid number of time domain points.");
  EXPECT_NE(e.callStack.find("CQSampleRateMgr::ComputeAll"), std::string::npos);
  EXPECT_EQ(mgr.GetState(), CQSampleRateMgr::kIdle);
  EXPECT_TRUE(mgr.IsChanged());
  s.outputSampleRate = 4e5;
  mgr.SetSettings(s);
  mgr.ComputeAll();
  ASSERT_EQ(mgr.GetOutput()->GetNumPoints(), 400);
  EXPECT_NEAR(Db(ToneAmplitude(mgr.GetOutput()->GetDataPtr(), 400, 0.125)), 0.0, 0.003);
  const std::vector<CQComplex> first(mgr.GetOutput()->GetDataPtr(), mgr.GetOutput()->GetDataPtr() + 400);
  mgr.ComputeAll();
  for (int i = 0; i < 400; ++i) ASSERT_EQ(mgr.GetOutput()->GetDataPtr()[i], first[i]) << i;
}
