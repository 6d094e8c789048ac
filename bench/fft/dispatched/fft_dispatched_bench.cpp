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

#include <string>

#include "bench/support/fft_bench.h"
#include "cpu/dispatch.h"
#include "cpu/dispatch_testing.h"
#include "fft/fft.h"

namespace {

// The public entry points; the class is forced around each run.
const lv_bench::FftClass kDispatched = {-1, "dispatched", FftGetSizeComplexFloat32, FftInitComplexFloat32,
                                        FftForwardComplexFloat32, FftInverseComplexFloat32};

void BenchOurs(benchmark::State& state, int cls, bool inverse, bool inPlace) {
  ScopedProcessorClass forced(cls);
  lv_bench::BenchFftClass(state, kDispatched, inverse, inPlace);
  state.SetLabel(ProcessorClassSuffix(CurrentProcessorClass()));
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
        benchmark::RegisterBenchmark((family + (noSimd ? "/fftw_no_simd" : "/fftw_measure")).c_str(),
                                     lv_bench::BenchFftwMeasure,
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
