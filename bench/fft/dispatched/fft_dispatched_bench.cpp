// The complex float FFT of every class this processor runs, each forced in
// turn through the dispatch frame (ScopedProcessorClass) and called through the
// public entry points, against FFTW 3 single precision with FFTW_MEASURE plans
// made outside the timed loop, once with its SIMD codelets ("fftw_measure")
// and once restricted to scalar code ("fftw_no_simd"). Orders 6-22 out of
// place, 15-18 in place ("fft_forward_inplace"); both sides run unscaled on
// 64-byte-aligned arrays whose every page was touched, and one untimed
// transform runs before timing.
//
// Names: fft_<direction>[_inplace]/<class suffix or peer>/<order>.
#include <benchmark/benchmark.h>
#include <fftw3.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "cpu/dispatch.h"
#include "cpu/dispatch_testing.h"
#include "fft/fft.h"

namespace {

using C = ComplexFloat32;

struct Buffer {
  explicit Buffer(int64_t bytes)
      : p(static_cast<uint8_t*>(std::aligned_alloc(64, static_cast<size_t>((bytes + 63) / 64 * 64 + 64)))) {
    std::memset(p, 0, static_cast<size_t>((bytes + 63) / 64 * 64 + 64));
  }
  ~Buffer() { std::free(p); }
  Buffer(const Buffer&) = delete;
  Buffer& operator=(const Buffer&) = delete;
  uint8_t* p;
};

void FillSignal(C* x, int64_t n) {
  uint32_t s = 12345;
  for (int64_t i = 0; i < n; ++i) {
    s = s * 1664525u + 1013904223u;
    x[i].re = static_cast<float>(static_cast<int32_t>(s)) * 4.6566e-10f;
    s = s * 1664525u + 1013904223u;
    x[i].im = static_cast<float>(static_cast<int32_t>(s)) * 4.6566e-10f;
  }
}

void BenchOurs(benchmark::State& state, int cls, bool inverse, bool inPlace) {
  ScopedProcessorClass forced(cls);
  const int order = static_cast<int>(state.range(0));
  const int64_t n = int64_t{1} << order;
  int32_t sb = 0, ib = 0, wb = 0;
  if (FftGetSizeComplexFloat32(order, kFftNoScale, 2, &sb, &ib, &wb) != 0) {
    state.SkipWithError("size query failed");
    return;
  }
  Buffer specMem(sb), init(ib), work(wb), in(8 * n), out(8 * n);
  FftSpecComplexFloat32* spec = nullptr;
  if (FftInitComplexFloat32(&spec, order, kFftNoScale, 2, specMem.p, init.p) != 0) {
    state.SkipWithError("initialisation failed");
    return;
  }
  C* x = reinterpret_cast<C*>(in.p);
  C* y = inPlace ? x : reinterpret_cast<C*>(out.p);
  FillSignal(x, n);
  const auto fn = inverse ? &FftInverseComplexFloat32 : &FftForwardComplexFloat32;
  fn(x, y, spec, wb ? work.p : nullptr);
  if (inPlace) FillSignal(x, n);
  for (auto _ : state) {
    fn(x, y, spec, wb ? work.p : nullptr);
    benchmark::DoNotOptimize(y);
    benchmark::ClobberMemory();
  }
  state.SetLabel(ProcessorClassSuffix(CurrentProcessorClass()));
}

void BenchFftw(benchmark::State& state, bool inverse, bool inPlace, bool noSimd) {
  const int order = static_cast<int>(state.range(0));
  const int n = 1 << order;
  fftwf_complex* x = fftwf_alloc_complex(n);
  fftwf_complex* y = inPlace ? x : fftwf_alloc_complex(n);
  const unsigned flags = FFTW_MEASURE | (noSimd ? FFTW_NO_SIMD : 0u);
  fftwf_plan plan = fftwf_plan_dft_1d(n, x, y, inverse ? FFTW_BACKWARD : FFTW_FORWARD, flags);
  FillSignal(reinterpret_cast<C*>(x), n);
  fftwf_execute(plan);
  if (inPlace) FillSignal(reinterpret_cast<C*>(x), n);
  for (auto _ : state) {
    fftwf_execute(plan);
    benchmark::DoNotOptimize(y);
    benchmark::ClobberMemory();
  }
  fftwf_destroy_plan(plan);
  if (!inPlace) fftwf_free(y);
  fftwf_free(x);
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  for (const bool inPlace : {false, true}) {
    const int first = inPlace ? 15 : 6;
    const int last = inPlace ? 18 : 22;
    for (const bool inverse : {false, true}) {
      const std::string family =
          std::string("fft_") + (inverse ? "inverse" : "forward") + (inPlace ? "_inplace" : "");
      for (int cls = 0; cls < kProcessorClassCount; ++cls) {
        if (!IsProcessorClassRunnable(cls)) continue;
        benchmark::RegisterBenchmark((family + "/" + ProcessorClassSuffix(cls)).c_str(), BenchOurs, cls, inverse,
                                     inPlace)
            ->DenseRange(first, last)
            ->Unit(benchmark::kMicrosecond);
      }
      for (const bool noSimd : {false, true}) {
        benchmark::RegisterBenchmark((family + (noSimd ? "/fftw_no_simd" : "/fftw_measure")).c_str(), BenchFftw,
                                     inverse, inPlace, noSimd)
            ->DenseRange(first, last)
            ->Unit(benchmark::kMicrosecond);
      }
    }
  }
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
