// Forward and inverse transforms of the portable FFT (processor class 0) against FFTW 3 in
// single precision, orders 6 to 22, out of place. FFTW plans are made with
// FFTW_MEASURE outside the timed loop, once with FFTW_NO_SIMD (a scalar peer
// like class 0; the target is a ratio of at most 1.5) and once with SIMD
// codelets. Ours scales the inverse (flag 2), as the program does. Prints
// ours/peer time ratios.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>
#include <vector>

#include "bench/support/fft_bench.h"
#include "bench/support/ratio_reporter.h"
#include "fft/fft_classes.h"

namespace {

constexpr int kFirstOrder = 6;
constexpr int kLastOrder = 22;

const lv_bench::FftClass kPortable = LV_FFT_BENCH_CLASS(0, Sse2);

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  // Names follow "<family>/<who>/<size>" for the ratio table.
  for (const bool inverse : {false, true}) {
    const std::string family = inverse ? "fft_inverse" : "fft_forward";
    benchmark::RegisterBenchmark((family + "/Sse2").c_str(), lv_bench::BenchFftClass, kPortable, inverse, false,
                                 kFftScaleInverse)
        ->DenseRange(kFirstOrder, kLastOrder)
        ->Unit(benchmark::kMicrosecond);
    for (const bool noSimd : {true, false}) {
      benchmark::RegisterBenchmark((family + (noSimd ? "/fftwf_no_simd" : "/fftwf_simd")).c_str(),
                                   lv_bench::BenchFftwMeasure, inverse, false, noSimd)
          ->DenseRange(kFirstOrder, kLastOrder)
          ->Unit(benchmark::kMicrosecond);
    }
  }
  lv_bench::RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  std::vector<long> orders;
  for (int order = kFirstOrder; order <= kLastOrder; ++order) orders.push_back(order);
  std::printf("\n(sizes are the FFT orders)");
  lv_bench::PrintRatios(reporter, "fft_forward", {"Sse2"}, {"fftwf_no_simd", "fftwf_simd"}, orders);
  lv_bench::PrintRatios(reporter, "fft_inverse", {"Sse2"}, {"fftwf_no_simd", "fftwf_simd"}, orders);
  benchmark::Shutdown();
  return 0;
}
