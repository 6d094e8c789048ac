// What the FFT benchmarks share: a record of one class's FFT entry points,
// the timed loops of ours and of FFTW 3 (single precision, FFTW_MEASURE plan
// made outside the loop), the test signal and a ratio cell printer.
//
// Both sides run on 64-byte-aligned arrays whose every page was touched, and
// each runs one untimed transform before timing, so a short run pays no
// first-touch page faults. In place, the input is refilled after that
// transform so the timed loop starts from the signal.
#pragma once

#include <benchmark/benchmark.h>
#include <fftw3.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "cpu/dispatch_testing.h"
#include "fft/fft.h"

namespace lv_bench {

using FftC = ComplexFloat32;
using FftTransformFn = int32_t (*)(const FftC*, FftC*, const FftSpecComplexFloat32*, uint8_t*);
using FftGetSizeFn = int32_t (*)(int32_t, int32_t, int32_t, int32_t*, int32_t*, int32_t*);
using FftInitFn = int32_t (*)(FftSpecComplexFloat32**, int32_t, int32_t, int32_t, uint8_t*, uint8_t*);

// One class's entry points (or the dispatched ones), as the benchmark calls them.
struct FftClass {
  int cls;
  const char* name;
  FftGetSizeFn getSize;
  FftInitFn init;
  FftTransformFn forward;
  FftTransformFn inverse;
};

// The record of the class with suffix Sfx (fft/fft_classes.h must be included).
#define LV_FFT_BENCH_CLASS(cls, Sfx)                                                                     \
  lv_bench::FftClass {                                                                                   \
    cls, #Sfx, FftGetSizeComplexFloat32##Sfx, FftInitComplexFloat32##Sfx, FftForwardComplexFloat32##Sfx, \
        FftInverseComplexFloat32##Sfx                                                                    \
  }

// A zeroed, 64-byte-aligned block (every page touched).
class AlignedBytes {
 public:
  explicit AlignedBytes(int64_t bytes) {
    const size_t rounded = static_cast<size_t>((bytes + 63) / 64 * 64 + 64);
    p_ = static_cast<uint8_t*>(std::aligned_alloc(64, rounded));
    std::memset(p_, 0, rounded);
  }
  ~AlignedBytes() { std::free(p_); }
  AlignedBytes(const AlignedBytes&) = delete;
  AlignedBytes& operator=(const AlignedBytes&) = delete;
  uint8_t* get() const { return p_; }

 private:
  uint8_t* p_;
};

// A full-scale pseudo-random signal in [-1, 1).
inline void FillFftSignal(FftC* x, int64_t n) {
  uint32_t s = 12345;
  for (int64_t i = 0; i < n; ++i) {
    s = s * 1664525u + 1013904223u;
    x[i].re = static_cast<float>(static_cast<int32_t>(s)) * 4.6566e-10f;
    s = s * 1664525u + 1013904223u;
    x[i].im = static_cast<float>(static_cast<int32_t>(s)) * 4.6566e-10f;
  }
}

// Our transform of order state.range(0), unscaled unless told otherwise.
inline void BenchFftClass(benchmark::State& state, const FftClass& c, bool inverse, bool inPlace = false,
                          int32_t flag = kFftNoScale) {
  const int order = static_cast<int>(state.range(0));
  const int64_t n = int64_t{1} << order;
  int32_t sb = 0, ib = 0, wb = 0;
  if (c.getSize(order, flag, 2, &sb, &ib, &wb) != 0) {
    state.SkipWithError("size query failed");
    return;
  }
  AlignedBytes specMem(sb), init(ib), work(wb), in(8 * n), out(8 * n);
  FftSpecComplexFloat32* spec = nullptr;
  if (c.init(&spec, order, flag, 2, specMem.get(), ib ? init.get() : nullptr) != 0) {
    state.SkipWithError("initialisation failed");
    return;
  }
  FftC* x = reinterpret_cast<FftC*>(in.get());
  FftC* y = inPlace ? x : reinterpret_cast<FftC*>(out.get());
  uint8_t* w = wb ? work.get() : nullptr;
  const FftTransformFn fn = inverse ? c.inverse : c.forward;
  FillFftSignal(x, n);
  fn(x, y, spec, w);
  if (inPlace) FillFftSignal(x, n);
  for (auto _ : state) {
    fn(x, y, spec, w);
    benchmark::DoNotOptimize(y);
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * n);
}

// FFTW's transform of the same order and signal; noSimd restricts FFTW to
// its scalar codelets (the peer of the portable class).
inline void BenchFftwMeasure(benchmark::State& state, bool inverse, bool inPlace = false, bool noSimd = false) {
  const int order = static_cast<int>(state.range(0));
  const int n = 1 << order;
  fftwf_complex* x = fftwf_alloc_complex(n);
  fftwf_complex* y = inPlace ? x : fftwf_alloc_complex(n);
  const unsigned flags = FFTW_MEASURE | (noSimd ? FFTW_NO_SIMD : 0u);
  fftwf_plan plan = fftwf_plan_dft_1d(n, x, y, inverse ? FFTW_BACKWARD : FFTW_FORWARD, flags);
  if (!inPlace) std::memset(static_cast<void*>(y), 0, sizeof(fftwf_complex) * static_cast<size_t>(n));
  FillFftSignal(reinterpret_cast<FftC*>(x), n);
  fftwf_execute(plan);
  if (inPlace) FillFftSignal(reinterpret_cast<FftC*>(x), n);
  for (auto _ : state) {
    fftwf_execute(plan);
    benchmark::DoNotOptimize(y);
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * n);
  fftwf_destroy_plan(plan);
  if (!inPlace) fftwf_free(y);
  fftwf_free(x);
}

// Registers "<family>/<class name>" for every class this processor runs and
// "<family>/fftw_measure", at orders first..last, out of place.
template <size_t N>
void RegisterFftFamily(const std::string& family, const FftClass (&classes)[N], bool inverse, long first, long last,
                       benchmark::TimeUnit unit = benchmark::kMicrosecond) {
  for (const FftClass& c : classes) {
    if (!IsProcessorClassRunnable(c.cls)) continue;
    benchmark::RegisterBenchmark((family + "/" + c.name).c_str(), BenchFftClass, c, inverse, false, kFftNoScale)
        ->DenseRange(first, last)
        ->Unit(unit);
  }
  benchmark::RegisterBenchmark((family + "/fftw_measure").c_str(), BenchFftwMeasure, inverse, false, false)
      ->DenseRange(first, last)
      ->Unit(unit);
}

// One cell of a ratio table: ours/peer, or "-" when either time is missing.
inline void PrintRatioCell(double ours, double peer, int width) {
  if (ours > 0 && peer > 0) {
    std::printf(" %*.2f", width, ours / peer);
  } else {
    std::printf(" %*s", width, "-");
  }
}

}  // namespace lv_bench
