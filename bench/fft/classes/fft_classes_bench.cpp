// The complex float FFT of classes 1 (Sse3), 2 (Ssse3), 3 (Sse42) and 4 (Avx)
// against FFTW 3 in single precision with FFTW_MEASURE plans made outside the
// timed loop, and against the portable class 0 (Sse2), orders 6-22, forward,
// unscaled (flag 8), out of place, on 64-byte-aligned arrays. Prints each
// class's time over FFTW's and over class 0's.
#include <benchmark/benchmark.h>
#include <fftw3.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "bench/support/ratio_reporter.h"
#include "cpu/dispatch_testing.h"
#include "fft/fft.h"
#include "fft/fft_classes.h"

namespace {

using C = ComplexFloat32;
using TransformFn = int32_t (*)(const C*, C*, const FftSpecComplexFloat32*, uint8_t*);
using GetSizeFn = int32_t (*)(int32_t, int32_t, int32_t, int32_t*, int32_t*, int32_t*);
using InitFn = int32_t (*)(FftSpecComplexFloat32**, int32_t, int32_t, int32_t, uint8_t*, uint8_t*);

constexpr int kFirstOrder = 6;
constexpr int kLastOrder = 22;

struct Class {
  int cls;
  const char* name;
  GetSizeFn getSize;
  InitFn init;
  TransformFn forward;
};

#define LV_BENCH_CLASS(c, Sfx) \
  { c, #Sfx, FftGetSizeComplexFloat32##Sfx, FftInitComplexFloat32##Sfx, FftForwardComplexFloat32##Sfx }

const Class kPortable = LV_BENCH_CLASS(0, Sse2);
const Class kClasses[] = {LV_BENCH_CLASS(1, Sse3), LV_BENCH_CLASS(2, Ssse3), LV_BENCH_CLASS(3, Sse42),
                          LV_BENCH_CLASS(4, Avx)};

#undef LV_BENCH_CLASS

uint8_t* Align64(std::vector<uint8_t>& v) {
  return reinterpret_cast<uint8_t*>((reinterpret_cast<uintptr_t>(v.data()) + 63) & ~uintptr_t{63});
}

void FillSignal(C* x, int64_t n) {
  uint32_t s = 12345;
  for (int64_t i = 0; i < n; ++i) {
    s = s * 1664525u + 1013904223u;
    x[i].re = static_cast<float>(static_cast<int32_t>(s)) * 4.6566e-10f;
    s = s * 1664525u + 1013904223u;
    x[i].im = static_cast<float>(static_cast<int32_t>(s)) * 4.6566e-10f;
  }
}

void BenchOurs(benchmark::State& state, const Class& c) {
  const int order = static_cast<int>(state.range(0));
  const int64_t n = int64_t{1} << order;
  int32_t sb = 0, ib = 0, wb = 0;
  c.getSize(order, kFftNoScale, 2, &sb, &ib, &wb);
  std::vector<uint8_t> specMem(sb + 64), init(ib + 64), work(wb + 64), in(8 * n + 64), out(8 * n + 64);
  FftSpecComplexFloat32* spec = nullptr;
  if (c.init(&spec, order, kFftNoScale, 2, Align64(specMem), ib ? Align64(init) : nullptr) != 0) {
    state.SkipWithError("initialisation failed");
    return;
  }
  C* x = reinterpret_cast<C*>(Align64(in));
  C* y = reinterpret_cast<C*>(Align64(out));
  FillSignal(x, n);
  uint8_t* w = wb ? Align64(work) : nullptr;
  for (auto _ : state) {
    c.forward(x, y, spec, w);
    benchmark::DoNotOptimize(y);
    benchmark::ClobberMemory();
  }
}

void BenchFftw(benchmark::State& state) {
  const int order = static_cast<int>(state.range(0));
  const int n = 1 << order;
  fftwf_complex* x = fftwf_alloc_complex(n);
  fftwf_complex* y = fftwf_alloc_complex(n);
  fftwf_plan plan = fftwf_plan_dft_1d(n, x, y, FFTW_FORWARD, FFTW_MEASURE);
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

std::string Key(const char* name, long order) {
  return std::string("fft_forward/") + name + "/" + std::to_string(order);
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  benchmark::RegisterBenchmark("fft_forward/Sse2", BenchOurs, kPortable)->DenseRange(kFirstOrder, kLastOrder);
  for (const Class& c : kClasses) {
    if (!IsProcessorClassRunnable(c.cls)) continue;
    benchmark::RegisterBenchmark((std::string("fft_forward/") + c.name).c_str(), BenchOurs, c)
        ->DenseRange(kFirstOrder, kLastOrder);
  }
  benchmark::RegisterBenchmark("fft_forward/fftw_measure", BenchFftw)->DenseRange(kFirstOrder, kLastOrder);
  lv_bench::RatioReporter rep;
  benchmark::RunSpecifiedBenchmarks(&rep);
  std::printf("\nforward, time ratios, lower is better: class/FFTW (FFTW_MEASURE) and class/class 0 (Sse2)\n");
  std::printf("targets: every class below class 0 at orders >= 6; Avx within 1.2x of FFTW at orders 7-18\n");
  std::printf("%-6s", "order");
  for (const Class& c : kClasses) std::printf(" %9s/fftw %9s/sse2", c.name, c.name);
  std::printf("\n");
  for (long order = kFirstOrder; order <= kLastOrder; ++order) {
    std::printf("%-6ld", order);
    const double fftw = rep.Time(Key("fftw_measure", order));
    const double portable = rep.Time(Key("Sse2", order));
    for (const Class& c : kClasses) {
      const double ours = rep.Time(Key(c.name, order));
      for (double peer : {fftw, portable}) {
        if (ours > 0 && peer > 0) {
          std::printf(" %14.2f", ours / peer);
        } else {
          std::printf(" %14s", "-");
        }
      }
    }
    std::printf("\n");
  }
  benchmark::Shutdown();
  return 0;
}
