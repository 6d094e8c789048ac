// The complex float FFT of class 6 (Avx512ManyCore) at orders 6-22, forward
// and inverse, against FFTW 3 in single precision with FFTW_MEASURE plans made
// outside the timed loop and against class 7 (Avx512). Every side runs
// unscaled (flag 8), out of place, on 64-byte-aligned arrays. Prints each time
// and the ratios class 6 / FFTW and class 6 / class 7.
#include <benchmark/benchmark.h>
#include <fftw3.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "bench/support/ratio_reporter.h"
#include "fft/fft.h"
#include "fft/fft_classes.h"
#include "cpu/dispatch_testing.h"

namespace {

using C = ComplexFloat32;
using TransformFn = int32_t (*)(const C*, C*, const FftSpecComplexFloat32*, uint8_t*);
using GetSizeFn = int32_t (*)(int32_t, int32_t, int32_t, int32_t*, int32_t*, int32_t*);
using InitFn = int32_t (*)(FftSpecComplexFloat32**, int32_t, int32_t, int32_t, uint8_t*, uint8_t*);

constexpr long kFirstOrder = 6;
constexpr long kLastOrder = 22;

struct Class {
  int cls;
  const char* name;
  GetSizeFn getSize;
  InitFn init;
  TransformFn forward, inverse;
};

const Class kClasses[] = {
    {6, "Avx512ManyCore", FftGetSizeComplexFloat32Avx512ManyCore, FftInitComplexFloat32Avx512ManyCore,
     FftForwardComplexFloat32Avx512ManyCore, FftInverseComplexFloat32Avx512ManyCore},
    {7, "Avx512", FftGetSizeComplexFloat32Avx512, FftInitComplexFloat32Avx512, FftForwardComplexFloat32Avx512,
     FftInverseComplexFloat32Avx512},
};

uint8_t* Bytes(int64_t n) { return static_cast<uint8_t*>(std::aligned_alloc(64, static_cast<size_t>((n + 63) / 64 * 64))); }

void FillSignal(C* x, int64_t n) {
  uint32_t s = 12345;
  for (int64_t i = 0; i < n; ++i) {
    s = s * 1664525u + 1013904223u;
    x[i].re = static_cast<float>(static_cast<int32_t>(s)) * 4.6566e-10f;
    s = s * 1664525u + 1013904223u;
    x[i].im = static_cast<float>(static_cast<int32_t>(s)) * 4.6566e-10f;
  }
}

void BenchOurs(benchmark::State& state, const Class& c, bool inverse) {
  const int order = static_cast<int>(state.range(0));
  const int64_t n = int64_t{1} << order;
  int32_t sb = 0, ib = 0, wb = 0;
  c.getSize(order, kFftNoScale, 2, &sb, &ib, &wb);
  uint8_t* specMem = Bytes(sb);
  uint8_t* init = Bytes(ib);
  uint8_t* work = Bytes(wb);
  C* x = reinterpret_cast<C*>(Bytes(8 * n));
  C* y = reinterpret_cast<C*>(Bytes(8 * n));
  FftSpecComplexFloat32* spec = nullptr;
  if (c.init(&spec, order, kFftNoScale, 2, specMem, init) != 0) {
    state.SkipWithError("initialisation failed");
  } else {
    FillSignal(x, n);
    const TransformFn fn = inverse ? c.inverse : c.forward;
    for (auto _ : state) {
      fn(x, y, spec, work);
      benchmark::DoNotOptimize(y);
      benchmark::ClobberMemory();
    }
  }
  for (void* p : {static_cast<void*>(specMem), static_cast<void*>(init), static_cast<void*>(work),
                  static_cast<void*>(x), static_cast<void*>(y)}) {
    std::free(p);
  }
}

void BenchFftw(benchmark::State& state, bool inverse) {
  const int order = static_cast<int>(state.range(0));
  const int n = 1 << order;
  fftwf_complex* x = fftwf_alloc_complex(n);
  fftwf_complex* y = fftwf_alloc_complex(n);
  fftwf_plan plan = fftwf_plan_dft_1d(n, x, y, inverse ? FFTW_BACKWARD : FFTW_FORWARD, FFTW_MEASURE);
  FillSignal(reinterpret_cast<C*>(x), n);
  for (auto _ : state) {
    fftwf_execute(plan);
    benchmark::DoNotOptimize(y);
    benchmark::ClobberMemory();
  }
  fftwf_destroy_plan(plan);
  fftwf_free(x);
  fftwf_free(y);
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  for (const char* dir : {"forward", "inverse"}) {
    const bool inverse = std::string(dir) == "inverse";
    const std::string family = std::string("fft_") + dir;
    for (const Class& c : kClasses) {
      if (!IsProcessorClassRunnable(c.cls)) continue;
      benchmark::RegisterBenchmark((family + "/" + c.name).c_str(), BenchOurs, c, inverse)
          ->DenseRange(kFirstOrder, kLastOrder)
          ->Unit(benchmark::kMicrosecond);
    }
    benchmark::RegisterBenchmark((family + "/fftw_measure").c_str(), BenchFftw, inverse)
        ->DenseRange(kFirstOrder, kLastOrder)
        ->Unit(benchmark::kMicrosecond);
  }
  lv_bench::RatioReporter rep;
  benchmark::RunSpecifiedBenchmarks(&rep);
  std::printf("\nratios, lower is better: class 6 / FFTW_MEASURE and class 6 / class 7\n");
  std::printf("%-6s %12s %12s %12s %12s\n", "order", "fwd 6/FFTW", "fwd 6/7", "inv 6/FFTW", "inv 6/7");
  for (long order = kFirstOrder; order <= kLastOrder; ++order) {
    std::printf("%-6ld", order);
    for (const char* dir : {"forward", "inverse"}) {
      const std::string family = std::string("fft_") + dir;
      const std::string at = "/" + std::to_string(order);
      const double ours = rep.Time(family + "/Avx512ManyCore" + at);
      for (const double peer : {rep.Time(family + "/fftw_measure" + at), rep.Time(family + "/Avx512" + at)}) {
        if (ours > 0 && peer > 0) {
          std::printf(" %12.2f", ours / peer);
        } else {
          std::printf(" %12s", "-");
        }
      }
    }
    std::printf("\n");
  }
  benchmark::Shutdown();
  return 0;
}
