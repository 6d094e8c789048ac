// Extremes, thresholds and complex packing against plain -O2 loops (the peer),
// in the class this processor dispatches to. Each benchmark reports bytes per
// second; the *_PlainLoop twins are the peer figures for the ratio ours/peer.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <random>
#include <vector>

#include "primitives/complexpack/complexpack.h"
#include "primitives/extremes/extremes.h"
#include "primitives/threshold/threshold.h"

namespace {

std::vector<float> RandomFloats(size_t n) {
  std::mt19937 rng(1);
  std::uniform_real_distribution<float> u(-1.0f, 1.0f);
  std::vector<float> v(n);
  for (auto& x : v) x = u(rng);
  return v;
}

void BM_MaxIndexFloat32(benchmark::State& state) {
  const auto v = RandomFloats(size_t(state.range(0)));
  for (auto _ : state) {
    float value;
    int32_t index;
    VectorMaxIndexFloat32(v.data(), int32_t(v.size()), &value, &index);
    benchmark::DoNotOptimize(value);
    benchmark::DoNotOptimize(index);
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * state.range(0) * 4);
}

void BM_MaxIndexFloat32_PlainLoop(benchmark::State& state) {
  const auto v = RandomFloats(size_t(state.range(0)));
  for (auto _ : state) {
    float value = v[0];
    int32_t index = 0;
    for (size_t i = 1; i < v.size(); ++i) {
      if (v[i] > value) {
        value = v[i];
        index = int32_t(i);
      }
    }
    benchmark::DoNotOptimize(value);
    benchmark::DoNotOptimize(index);
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * state.range(0) * 4);
}

void BM_MaxFloat32(benchmark::State& state) {
  const auto v = RandomFloats(size_t(state.range(0)));
  for (auto _ : state) {
    float value;
    VectorMaxFloat32(v.data(), int32_t(v.size()), &value);
    benchmark::DoNotOptimize(value);
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * state.range(0) * 4);
}

void BM_MaxFloat32_PlainLoop(benchmark::State& state) {
  const auto v = RandomFloats(size_t(state.range(0)));
  for (auto _ : state) {
    float value = v[0];
    for (size_t i = 1; i < v.size(); ++i) value = v[i] > value ? v[i] : value;
    benchmark::DoNotOptimize(value);
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * state.range(0) * 4);
}

void BM_ThresholdLessFloat32(benchmark::State& state) {
  const auto v = RandomFloats(size_t(state.range(0)));
  std::vector<float> d(v.size());
  for (auto _ : state) {
    VectorThresholdLessFloat32(v.data(), d.data(), int32_t(v.size()), 0.25f);
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * state.range(0) * 8);
}

void BM_ThresholdLessFloat32_PlainLoop(benchmark::State& state) {
  const auto v = RandomFloats(size_t(state.range(0)));
  std::vector<float> d(v.size());
  for (auto _ : state) {
    for (size_t i = 0; i < v.size(); ++i) d[i] = v[i] > 0.25f ? v[i] : 0.25f;
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * state.range(0) * 8);
}

void BM_SplitComplexFloat32(benchmark::State& state) {
  const auto v = RandomFloats(size_t(state.range(0)) * 2);
  std::vector<float> re(size_t(state.range(0))), im(size_t(state.range(0)));
  for (auto _ : state) {
    VectorSplitComplexFloat32(reinterpret_cast<const ComplexFloat32*>(v.data()), re.data(), im.data(),
                              int32_t(state.range(0)));
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * state.range(0) * 16);
}

void BM_SplitComplexFloat32_PlainLoop(benchmark::State& state) {
  const auto v = RandomFloats(size_t(state.range(0)) * 2);
  std::vector<float> re(size_t(state.range(0))), im(size_t(state.range(0)));
  for (auto _ : state) {
    for (size_t i = 0; i < re.size(); ++i) {
      re[i] = v[2 * i];
      im[i] = v[2 * i + 1];
    }
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * state.range(0) * 16);
}

}  // namespace

BENCHMARK(BM_MaxIndexFloat32)->Range(1 << 10, 1 << 20);
BENCHMARK(BM_MaxIndexFloat32_PlainLoop)->Range(1 << 10, 1 << 20);
BENCHMARK(BM_MaxFloat32)->Range(1 << 10, 1 << 20);
BENCHMARK(BM_MaxFloat32_PlainLoop)->Range(1 << 10, 1 << 20);
BENCHMARK(BM_ThresholdLessFloat32)->Range(1 << 10, 1 << 20);
BENCHMARK(BM_ThresholdLessFloat32_PlainLoop)->Range(1 << 10, 1 << 20);
BENCHMARK(BM_SplitComplexFloat32)->Range(1 << 10, 1 << 20);
BENCHMARK(BM_SplitComplexFloat32_PlainLoop)->Range(1 << 10, 1 << 20);

BENCHMARK_MAIN();
