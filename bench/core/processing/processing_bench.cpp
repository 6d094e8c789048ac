// The processing chain on 2^20 samples: each block and the whole chain, in
// Msamples/s of input, with the process's peak resident memory noted. The FIR
// is measured against a peer: the same circular filter written as a plain
// double loop.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <cmath>
#include <string>
#include <vector>

#include "core/error.h"
#include "core/processing/decimate.h"
#include "core/processing/fir.h"
#include "core/processing/fir_tables.h"
#include "core/processing/freq_shift.h"
#include "core/processing/interpolate.h"
#include "core/processing/noise.h"
#include "core/processing/sample_rate_mgr.h"

namespace {

constexpr int kN = 1 << 20;

CQCArrayTD* Input() {
  static CQCArrayTD* in = [] {
    std::vector<CQComplex> v(kN);
    for (int i = 0; i < kN; ++i) v[i] = CQComplex(std::cos(0.01f * i), std::sin(0.01f * i));
    auto* a = new CQCArrayTD;
    a->Set(v.data(), kN, 1e6, 0.0);
    return a;
  }();
  return in;
}

void Finish(benchmark::State& st) {
  st.SetItemsProcessed(st.iterations() * kN);
  rusage ru{};
  getrusage(RUSAGE_SELF, &ru);
  st.counters["peakMB"] = ru.ru_maxrss / 1024.0;
}

void BM_LowPass_Ours(benchmark::State& st) {
  CQCLowPassFIR lp;
  lp.SetFilterType(10);
  lp.SetInput(Input());
  for (auto _ : st) lp.Compute();
  Finish(st);
}

void BM_LowPass_PeerPlainLoop(benchmark::State& st) {
  const float* h = kLowPassTaps[8];
  const CQComplex* x = Input()->GetDataPtr();
  std::vector<CQComplex> out(kN);
  for (auto _ : st) {
    for (int j = 0; j < kN; ++j) {
      double re = 0, im = 0;
      for (int k = 0; k < 239; ++k) {
        int idx = j - 119 + k;
        if (idx < 0) idx += kN; else if (idx >= kN) idx -= kN;
        re += h[k] * x[idx].re;
        im += h[k] * x[idx].im;
      }
      out[j] = CQComplex(float(re), float(im));
    }
    benchmark::DoNotOptimize(out.data());
  }
  Finish(st);
}

void BM_Interpolate4(benchmark::State& st) {
  CQCInterpolate ip;
  ip.SetInterpolationRate(4);
  for (auto _ : st) ip.Compute(Input());
  Finish(st);
}

void BM_Decimate4(benchmark::State& st) {
  CQCDecimate d;
  d.SetDecimationRate(4);
  for (auto _ : st) d.Decimate(Input());
  Finish(st);
}

void BM_FrequencyShift(benchmark::State& st) {
  CQFrequencyShift fs;
  for (auto _ : st) fs.Compute(Input(), 12345.0);
  Finish(st);
}

void BM_Noise(benchmark::State& st) {
  CQCArrayTD work;
  work.Set(Input());
  CQCNoiseTD noise;
  for (auto _ : st) noise.AddNoise(work.GetDataPtr(), kN, 1e6, -100.0f);
  Finish(st);
}

// The rate changes and the frequency shift of both chains: x4 / 2 and 100 kHz.
CQSampleRateMgrSettings ChainSettings() {
  CQSampleRateMgrSettings s;
  s.interpolationOn = true;
  s.interpolationRate = 4;
  s.decimationOn = true;
  s.decimationRate = 2;
  s.freqShiftOn = true;
  s.freqShift = 1e5;
  return s;
}

// Times the whole chain of the settings on the input; with untimedFirstPass
// the tables built by the first pass stay outside the timing.
void TimeChain(benchmark::State& st, const CQSampleRateMgrSettings& s, bool untimedFirstPass) {
  CQSampleRateMgr mgr;
  try {
    mgr.SetSettings(s);
    mgr.SetInput(Input());
    if (untimedFirstPass) mgr.ComputeAll();
    for (auto _ : st) mgr.ComputeAll();
  } catch (CQError* e) {
    // A failing chain is a fault to see, not a crash of the whole program.
    std::string text;
    for (const wchar_t* m = e->GetMessage(); m != nullptr && *m != 0; ++m) text += static_cast<char>(*m);
    delete e;
    st.SkipWithError(text.c_str());
    return;
  }
  Finish(st);
}

void BM_WholeChain(benchmark::State& st) {
  CQSampleRateMgrSettings s = ChainSettings();
  s.phaseAdjustOn = true;
  s.phaseDeg = 30.0f;
  s.filterOn = true;
  s.filterType = 30;
  s.gainAdjustOn = true;
  s.gainDb = -3.0f;
  s.noiseOn = true;
  TimeChain(st, s, false);
}

// The chain with the chirp-z blocks: x4 / 2 to 2 Msps, resampling to
// 1.6 Msps (the result stays under the transmit limit of 2^21 samples),
// frequency shift and a fractional circular delay.
void BM_WholeChainWithResamplingAndTimeShift(benchmark::State& st) {
  CQSampleRateMgrSettings s = ChainSettings();
  s.arbResampleOn = true;
  s.outputSampleRate = 1.6e6;
  s.timeShiftOn = true;
  s.timeDelay = 0.3 / 1.6e6;
  TimeChain(st, s, true);
}

}  // namespace

BENCHMARK(BM_LowPass_Ours)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LowPass_PeerPlainLoop)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Interpolate4)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Decimate4)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FrequencyShift)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Noise)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WholeChain)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WholeChainWithResamplingAndTimeShift)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
