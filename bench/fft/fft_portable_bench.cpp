// Forward and inverse transforms of the portable FFT (processor class 0) against FFTW 3 in
// single precision, orders 6 to 22, out of place. FFTW plans are made with
// FFTW_MEASURE outside the timed loop, once with FFTW_NO_SIMD (a scalar peer
// like class 0; the target is a ratio of at most 1.5) and once with SIMD
// codelets. Prints ours/peer time ratios.
#include <benchmark/benchmark.h>
#include <fftw3.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "support/ratio_reporter.h"
#include "fft/fft.h"
#include "fft/fft_classes.h"

namespace {

constexpr int kFirstOrder = 6;
constexpr int kLastOrder = 22;

std::vector<ComplexFloat32> Signal(int64_t n) {
  std::vector<ComplexFloat32> x(n);
  uint32_t s = 12345;
  for (auto& v : x) {
    s = s * 1664525u + 1013904223u;
    v.re = static_cast<float>(s >> 8) / 16777216.0f - 0.5f;
    s = s * 1664525u + 1013904223u;
    v.im = static_cast<float>(s >> 8) / 16777216.0f - 0.5f;
  }
  return x;
}

void RunPortable(benchmark::State& state, bool inverse) {
  const int order = static_cast<int>(state.range(0));
  const int64_t n = int64_t{1} << order;
  int32_t specBytes = 0, initBytes = 0, workBytes = 0;
  if (FftGetSizeComplexFloat32Sse2(order, kFftScaleInverse, 2, &specBytes, &initBytes, &workBytes) != 0) {
    state.SkipWithError("size query failed");
    return;
  }
  std::vector<uint8_t> specMemory(specBytes), init(initBytes), work(workBytes);
  FftSpecComplexFloat32* spec = nullptr;
  if (FftInitComplexFloat32Sse2(&spec, order, kFftScaleInverse, 2, specMemory.data(),
                                initBytes ? init.data() : nullptr) != 0) {
    state.SkipWithError("initialisation failed");
    return;
  }
  const std::vector<ComplexFloat32> x = Signal(n);
  std::vector<ComplexFloat32> y(n);
  for (auto _ : state) {
    (inverse ? FftInverseComplexFloat32Sse2 : FftForwardComplexFloat32Sse2)(x.data(), y.data(), spec,
                                                                           workBytes ? work.data() : nullptr);
    benchmark::DoNotOptimize(y.data());
  }
  state.SetItemsProcessed(state.iterations() * n);
}

void RunFftw(benchmark::State& state, int sign, unsigned flags) {
  const int order = static_cast<int>(state.range(0));
  const int64_t n = int64_t{1} << order;
  fftwf_complex* in = fftwf_alloc_complex(n);
  fftwf_complex* out = fftwf_alloc_complex(n);
  fftwf_plan plan = fftwf_plan_dft_1d(static_cast<int>(n), in, out, sign, FFTW_MEASURE | flags);
  const std::vector<ComplexFloat32> x = Signal(n);
  for (int64_t i = 0; i < n; ++i) {
    in[i][0] = x[i].re;
    in[i][1] = x[i].im;
  }
  for (auto _ : state) {
    fftwf_execute(plan);
    benchmark::DoNotOptimize(out);
  }
  state.SetItemsProcessed(state.iterations() * n);
  fftwf_destroy_plan(plan);
  fftwf_free(in);
  fftwf_free(out);
}

void BM_Portable(benchmark::State& state) { RunPortable(state, false); }
void BM_PortableInverse(benchmark::State& state) { RunPortable(state, true); }
void BM_FftwNoSimd(benchmark::State& state) { RunFftw(state, FFTW_FORWARD, FFTW_NO_SIMD); }
void BM_FftwSimd(benchmark::State& state) { RunFftw(state, FFTW_FORWARD, 0); }
void BM_FftwNoSimdInverse(benchmark::State& state) { RunFftw(state, FFTW_BACKWARD, FFTW_NO_SIMD); }
void BM_FftwSimdInverse(benchmark::State& state) { RunFftw(state, FFTW_BACKWARD, 0); }

void Orders(benchmark::internal::Benchmark* b) {
  for (int order = kFirstOrder; order <= kLastOrder; ++order) b->Arg(order);
  b->Unit(benchmark::kMicrosecond);
}

// Names follow "<family>/<who>/<size>" for the ratio table.
BENCHMARK(BM_Portable)->Name("fft_forward/Sse2")->Apply(Orders);
BENCHMARK(BM_FftwNoSimd)->Name("fft_forward/fftwf_no_simd")->Apply(Orders);
BENCHMARK(BM_FftwSimd)->Name("fft_forward/fftwf_simd")->Apply(Orders);
BENCHMARK(BM_PortableInverse)->Name("fft_inverse/Sse2")->Apply(Orders);
BENCHMARK(BM_FftwNoSimdInverse)->Name("fft_inverse/fftwf_no_simd")->Apply(Orders);
BENCHMARK(BM_FftwSimdInverse)->Name("fft_inverse/fftwf_simd")->Apply(Orders);

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  lv_bench::RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  std::vector<long> orders;
  for (int order = kFirstOrder; order <= kLastOrder; ++order) orders.push_back(order);
  std::printf("\n(sizes are the FFT orders)");
  lv_bench::PrintRatios(reporter, "fft_forward", {"Sse2"}, {"fftwf_no_simd", "fftwf_simd"}, orders);
  lv_bench::PrintRatios(reporter, "fft_inverse", {"Sse2"}, {"fftwf_no_simd", "fftwf_simd"}, orders);
  return 0;
}
