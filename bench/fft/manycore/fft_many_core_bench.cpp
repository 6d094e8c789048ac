// The complex float FFT of class 6 (Avx512ManyCore) at orders 6-22, forward
// and inverse, against FFTW 3 in single precision with FFTW_MEASURE plans made
// outside the timed loop and against class 7 (Avx512). Every side runs
// unscaled (flag 8), out of place, on 64-byte-aligned, warmed arrays. Prints
// each time and the ratios class 6 / FFTW and class 6 / class 7.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

#include "bench/support/fft_bench.h"
#include "bench/support/ratio_reporter.h"
#include "fft/fft_classes.h"

namespace {

constexpr long kFirstOrder = 6;
constexpr long kLastOrder = 22;

const lv_bench::FftClass kClasses[] = {LV_FFT_BENCH_CLASS(6, Avx512ManyCore), LV_FFT_BENCH_CLASS(7, Avx512)};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  for (const bool inverse : {false, true}) {
    lv_bench::RegisterFftFamily(inverse ? "fft_inverse" : "fft_forward", kClasses, inverse, kFirstOrder, kLastOrder);
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
        lv_bench::PrintRatioCell(ours, peer, 12);
      }
    }
    std::printf("\n");
  }
  benchmark::Shutdown();
  return 0;
}
