// The complex float FFT of classes 1 (Sse3), 2 (Ssse3), 3 (Sse42) and 4 (Avx)
// against FFTW 3 in single precision with FFTW_MEASURE plans made outside the
// timed loop, and against the portable class 0 (Sse2), orders 6-22, forward,
// unscaled (flag 8), out of place, on 64-byte-aligned, warmed arrays. Prints
// each class's time over FFTW's and over class 0's.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <iterator>
#include <span>
#include <string>

#include "bench/support/fft_bench.h"
#include "bench/support/ratio_reporter.h"
#include "fft/fft_classes.h"

namespace {

constexpr int kFirstOrder = 6;
constexpr int kLastOrder = 22;

// Class 0 first: the baseline every other class is compared with.
const lv_bench::FftClass kTimed[] = {LV_FFT_BENCH_CLASS(0, Sse2), LV_FFT_BENCH_CLASS(1, Sse3),
                                     LV_FFT_BENCH_CLASS(2, Ssse3), LV_FFT_BENCH_CLASS(3, Sse42),
                                     LV_FFT_BENCH_CLASS(4, Avx)};
const std::span<const lv_bench::FftClass> kClasses(kTimed + 1, std::size(kTimed) - 1);

std::string Key(const char* name, long order) {
  return std::string("fft_forward/") + name + "/" + std::to_string(order);
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  lv_bench::RegisterFftFamily("fft_forward", kTimed, false, kFirstOrder, kLastOrder, benchmark::kNanosecond);
  lv_bench::RatioReporter rep;
  benchmark::RunSpecifiedBenchmarks(&rep);
  std::printf("\nforward, time ratios, lower is better: class/FFTW (FFTW_MEASURE) and class/class 0 (Sse2)\n");
  std::printf("targets: every class below class 0 at orders >= 6; Avx within 1.2x of FFTW at orders 7-18\n");
  std::printf("%-6s", "order");
  for (const lv_bench::FftClass& c : kClasses) std::printf(" %9s/fftw %9s/sse2", c.name, c.name);
  std::printf("\n");
  for (long order = kFirstOrder; order <= kLastOrder; ++order) {
    std::printf("%-6ld", order);
    const double fftw = rep.Time(Key("fftw_measure", order));
    const double portable = rep.Time(Key("Sse2", order));
    for (const lv_bench::FftClass& c : kClasses) {
      const double ours = rep.Time(Key(c.name, order));
      lv_bench::PrintRatioCell(ours, fftw, 14);
      lv_bench::PrintRatioCell(ours, portable, 14);
    }
    std::printf("\n");
  }
  benchmark::Shutdown();
  return 0;
}
