// Chirp-z resampling and circular time shift on 2^20 complex samples, in
// Msamples/s of input (30.72 -> 61.44 Msps, 1 -> 3 Msps, a 0.3-sample delay),
// steady state (tables built once) and with the set-up included.
//
// Peer: neither liquid-dsp, libsamplerate nor scipy is installed on the build
// machines, so the peer is the same band-limited (trigonometric) interpolation
// written as a direct DFT in double precision, at 1024 -> 2048 samples where
// its O(N*M) cost is still measurable; ours runs the same size for the ratio.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <cmath>
#include <complex>
#include <cstdio>
#include <vector>

#include "bench/support/ratio_reporter.h"
#include "core/processing/resample_czt.h"
#include "core/processing/time_shift.h"

namespace {

constexpr int kN = 1 << 20;
constexpr int kSmall = 1024;

CQCArrayTD* MakeInput(int n, double rate) {
  std::vector<CQComplex> v(n);
  for (int i = 0; i < n; ++i) v[i] = CQComplex(std::cos(0.01f * i), std::sin(0.013f * i));
  auto* a = new CQCArrayTD;
  a->Set(v.data(), n, rate, 0.0);
  return a;
}

void Finish(benchmark::State& st, int n) {
  st.SetItemsProcessed(st.iterations() * n);
  rusage ru{};
  getrusage(RUSAGE_SELF, &ru);
  st.counters["peakMB"] = ru.ru_maxrss / 1024.0;
}

void Resample(benchmark::State& st, int n, double inRate, double outRate, bool withSetUp) {
  CQCArrayTD* in = MakeInput(n, inRate);
  CQCResampleCZT r;
  r.SetOutputParameters(outRate, 0.0);
  r.SetInput(in);
  r.Compute();  // builds the transforms
  for (auto _ : st) {
    if (withSetUp) {
      CQCResampleCZT fresh;
      fresh.SetOutputParameters(outRate, 0.0);
      fresh.SetInput(in);
      fresh.Compute();
      benchmark::DoNotOptimize(fresh.GetOutput()->GetDataPtr());
    } else {
      r.SetInput(in);
      r.Compute();
      benchmark::DoNotOptimize(r.GetOutput()->GetDataPtr());
    }
  }
  Finish(st, n);
  delete in;
}

void BM_Resample_30p72To61p44(benchmark::State& st) { Resample(st, kN, 30.72e6, 61.44e6, false); }
void BM_Resample_1To3(benchmark::State& st) { Resample(st, kN, 1e6, 3e6, false); }
void BM_Resample_30p72To61p44_WithSetUp(benchmark::State& st) { Resample(st, kN, 30.72e6, 61.44e6, true); }

void BM_TimeShift(benchmark::State& st) {
  CQCArrayTD* in = MakeInput(kN, 30.72e6);
  CQTimeShiftCircular t;
  t.SetDelay(0.3 / 30.72e6);
  t.SetInput(in);
  t.Compute();
  for (auto _ : st) {
    t.SetInput(in);
    t.Compute();
    benchmark::DoNotOptimize(t.GetOutput()->GetDataPtr());
  }
  Finish(st, kN);
  delete in;
}

// Small size, ours and the direct-DFT peer.
void BM_Small_Ours(benchmark::State& st) { Resample(st, kSmall, 1e6, 2e6, false); }

void BM_Small_PeerDirectDft(benchmark::State& st) {
  CQCArrayTD* in = MakeInput(kSmall, 1e6);
  const int n = kSmall, k = n / 2 + 1, m = 2 * n;
  std::vector<std::complex<double>> re(k), im(k);
  std::vector<CQComplex> out(m);
  const CQComplex* x = in->GetDataPtr();
  for (auto _ : st) {
    // One-sided spectra of I and Q.
    for (int b = 0; b < k; ++b) {
      std::complex<double> sr = 0.0, si = 0.0;
      for (int i = 0; i < n; ++i) {
        const std::complex<double> w = std::polar(1.0, -2.0 * M_PI * double((int64_t{b} * i) % n) / n);
        sr += double(x[i].re) * w;
        si += double(x[i].im) * w;
      }
      const double g = (b == 0 || b == k - 1) ? 1.0 / n : 2.0 / n;
      re[b] = sr * g;
      im[b] = si * g;
    }
    // The interpolant at twice the rate.
    for (int j = 0; j < m; ++j) {
      double yr = 0.0, yi = 0.0;
      for (int b = 0; b < k; ++b) {
        const std::complex<double> w = std::polar(1.0, 2.0 * M_PI * double((int64_t{b} * j) % m) / m);
        yr += (re[b] * w).real();
        yi += (im[b] * w).real();
      }
      out[j] = CQComplex(float(yr), float(yi));
    }
    benchmark::DoNotOptimize(out.data());
  }
  Finish(st, kSmall);
  delete in;
}

}  // namespace

BENCHMARK(BM_Resample_30p72To61p44)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Resample_1To3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Resample_30p72To61p44_WithSetUp)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TimeShift)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Small_Ours)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Small_PeerDirectDft)->Unit(benchmark::kMicrosecond);

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  lv_bench::RatioReporter rep;
  benchmark::RunSpecifiedBenchmarks(&rep);
  const double ours = rep.Time("BM_Small_Ours"), peer = rep.Time("BM_Small_PeerDirectDft");
  std::printf("\nPeer: direct-DFT interpolation in double (liquid-dsp, libsamplerate and scipy are not installed).\n");
  if (ours > 0 && peer > 0)
    std::printf("1024 -> 2048 samples: ours/peer = %.4f (lower is better)\n", ours / peer);
  benchmark::Shutdown();
  return 0;
}
