// The complex float FFT of classes 5 (Avx2) and 7 (Avx512) at orders 6-22,
// forward and inverse, against FFTW 3 in single precision with FFTW_MEASURE
// plans made outside the timed loop. Both sides run unscaled (flag 8), out of
// place, on 64-byte-aligned, warmed arrays. Prints each time and the ratio
// ours/FFTW.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

#include "bench/support/fft_bench.h"
#include "bench/support/ratio_reporter.h"
#include "fft/fft_classes.h"

namespace {

constexpr long kFirstOrder = 6;
constexpr long kLastOrder = 22;

const lv_bench::FftClass kClasses[] = {LV_FFT_BENCH_CLASS(5, Avx2), LV_FFT_BENCH_CLASS(7, Avx512)};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  for (const bool inverse : {false, true}) {
    lv_bench::RegisterFftFamily(inverse ? "fft_inverse" : "fft_forward", kClasses, inverse, kFirstOrder, kLastOrder);
  }
  lv_bench::RatioReporter rep;
  benchmark::RunSpecifiedBenchmarks(&rep);
  std::printf("\nratio ours/FFTW (FFTW_MEASURE), lower is better\n");
  std::printf("targets: <= 1.0 at orders 7-18, <= 1.2 at orders 19-22\n");
  std::printf("%-6s %10s %10s %10s %10s\n", "order", "fwd Avx2", "fwd Avx512", "inv Avx2", "inv Avx512");
  for (long order = kFirstOrder; order <= kLastOrder; ++order) {
    std::printf("%-6ld", order);
    for (const char* dir : {"forward", "inverse"}) {
      const std::string family = std::string("fft_") + dir;
      const double peer = rep.Time(family + "/fftw_measure/" + std::to_string(order));
      for (const char* cls : {"Avx2", "Avx512"}) {
        lv_bench::PrintRatioCell(rep.Time(family + "/" + cls + "/" + std::to_string(order)), peer, 10);
      }
    }
    std::printf("\n");
  }
  benchmark::Shutdown();
  return 0;
}
