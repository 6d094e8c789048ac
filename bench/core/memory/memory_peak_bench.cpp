// The heap high-water mark of chirp-z resampling followed by a circular time
// shift of a 2^20-sample waveform, against the bytes of the longer of input
// and output (target: at most 16 times those bytes).
//
// This program replaces malloc and its relatives with counting wrappers around
// glibc's own entry points, so every heap byte (ours, the standard library's,
// the FFT plans') is in the count; the figure is a byte count, not a time.
// It reports through Google Benchmark counters: peak_bytes, longer_bytes and
// peak_over_longer, one run per case.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

#include "core/processing/resample_czt.h"
#include "core/processing/time_shift.h"

extern "C" {
void* __libc_malloc(size_t);
void* __libc_calloc(size_t, size_t);
void* __libc_realloc(void*, size_t);
void* __libc_memalign(size_t, size_t);
void __libc_free(void*);
}

namespace {

std::atomic<int64_t> g_live{0};
std::atomic<int64_t> g_peak{0};

void Grew(void* p) {
  if (p == nullptr) return;
  const int64_t now = g_live.fetch_add(static_cast<int64_t>(malloc_usable_size(p))) +
                      static_cast<int64_t>(malloc_usable_size(p));
  int64_t peak = g_peak.load();
  while (now > peak && !g_peak.compare_exchange_weak(peak, now)) {
  }
}
void Shrank(void* p) {
  if (p != nullptr) g_live.fetch_sub(static_cast<int64_t>(malloc_usable_size(p)));
}

}  // namespace

extern "C" {
void* malloc(size_t n) {
  void* p = __libc_malloc(n);
  Grew(p);
  return p;
}
void* calloc(size_t n, size_t s) {
  void* p = __libc_calloc(n, s);
  Grew(p);
  return p;
}
void* realloc(void* old, size_t n) {
  Shrank(old);
  void* p = __libc_realloc(old, n);
  if (p != nullptr) {
    Grew(p);
  } else if (n != 0) {
    Grew(old);  // the old block stays
  }
  return p;
}
void free(void* p) {
  Shrank(p);
  __libc_free(p);
}
void* memalign(size_t a, size_t n) {
  void* p = __libc_memalign(a, n);
  Grew(p);
  return p;
}
void* aligned_alloc(size_t a, size_t n) { return memalign(a, n); }
int posix_memalign(void** out, size_t a, size_t n) {
  void* p = memalign(a, n);
  if (p == nullptr) return ENOMEM;
  *out = p;
  return 0;
}
}

namespace {

constexpr int kN = 1 << 20;

void Case(benchmark::State& st, double inRate, double outRate, double delaySamples) {
  std::vector<CQComplex> v(kN);
  for (int i = 0; i < kN; ++i) v[i] = CQComplex(std::cos(0.01f * i), std::sin(0.013f * i));
  CQCArrayTD in;
  in.Set(v.data(), kN, inRate, 0.0);
  std::vector<CQComplex>().swap(v);
  int64_t peak = 0;
  int64_t outPoints = 0;
  for (auto _ : st) {
    st.PauseTiming();
    g_peak.store(g_live.load());
    const int64_t base = g_live.load();
    st.ResumeTiming();
    {
      CQCResampleCZT resample;
      resample.SetOutputParameters(outRate, 0.0);
      resample.SetInput(&in);
      resample.Compute();
      CQTimeShiftCircular shift;
      shift.SetDelay(delaySamples / outRate);
      shift.SetInput(resample.GetOutput());
      shift.Compute();
      outPoints = shift.GetOutput()->GetNumPoints();
      benchmark::DoNotOptimize(shift.GetOutput()->GetDataPtr());
    }
    peak = std::max(peak, g_peak.load() - base);
  }
  const int64_t longer = static_cast<int64_t>(sizeof(CQComplex)) * std::max<int64_t>(kN, outPoints);
  st.counters["peak_bytes"] = static_cast<double>(peak);
  st.counters["longer_bytes"] = static_cast<double>(longer);
  st.counters["peak_over_longer"] = static_cast<double>(peak) / static_cast<double>(longer);
}

void BM_Up_30p72To61p44(benchmark::State& st) { Case(st, 30.72e6, 61.44e6, 0.3); }
void BM_Down_10To2p5(benchmark::State& st) { Case(st, 10e6, 2.5e6, 0.3); }
void BM_Up_1To3(benchmark::State& st) { Case(st, 1e6, 3e6, 0.3); }

BENCHMARK(BM_Up_30p72To61p44)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Down_10To2p5)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Up_1To3)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
