// Extremes, thresholds and complex packing in the class this processor
// dispatches to, each against a plain -O2 loop (the peer). Every benchmark
// times ours and the peer in the same iterations and reports both figures
// (ours_ns, peer_ns, per call) and the ratio ours/peer (lower is better).
#include <benchmark/benchmark.h>

#include <chrono>
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

// Runs ours and the peer alternately and reports their times and ratio.
template <typename Ours, typename Peer>
void RunPair(benchmark::State& state, int64_t bytesPerCall, Ours&& ours, Peer&& peer) {
  using Clock = std::chrono::steady_clock;
  double oursNs = 0, peerNs = 0;
  for (auto _ : state) {
    const auto t0 = Clock::now();
    ours();
    const auto t1 = Clock::now();
    peer();
    const auto t2 = Clock::now();
    oursNs += std::chrono::duration<double, std::nano>(t1 - t0).count();
    peerNs += std::chrono::duration<double, std::nano>(t2 - t1).count();
  }
  const double calls = double(state.iterations());
  state.counters["ours_ns"] = oursNs / calls;
  state.counters["peer_ns"] = peerNs / calls;
  state.counters["ratio"] = peerNs > 0 ? oursNs / peerNs : 0.0;
  state.SetBytesProcessed(int64_t(state.iterations()) * bytesPerCall * 2);
}

void BM_MaxIndexFloat32_vs_PlainLoop(benchmark::State& state) {
  const auto v = RandomFloats(size_t(state.range(0)));
  RunPair(
      state, state.range(0) * 4,
      [&] {
        float value;
        int32_t index;
        VectorMaxIndexFloat32(v.data(), int32_t(v.size()), &value, &index);
        benchmark::DoNotOptimize(value);
        benchmark::DoNotOptimize(index);
      },
      [&] {
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
      });
}

void BM_MaxFloat32_vs_PlainLoop(benchmark::State& state) {
  const auto v = RandomFloats(size_t(state.range(0)));
  RunPair(
      state, state.range(0) * 4,
      [&] {
        float value;
        VectorMaxFloat32(v.data(), int32_t(v.size()), &value);
        benchmark::DoNotOptimize(value);
      },
      [&] {
        float value = v[0];
        for (size_t i = 1; i < v.size(); ++i) value = v[i] > value ? v[i] : value;
        benchmark::DoNotOptimize(value);
      });
}

void BM_ThresholdLessFloat32_vs_PlainLoop(benchmark::State& state) {
  const auto v = RandomFloats(size_t(state.range(0)));
  std::vector<float> d(v.size(), 0.0f);
  RunPair(
      state, state.range(0) * 8,
      [&] {
        VectorThresholdLessFloat32(v.data(), d.data(), int32_t(v.size()), 0.25f);
        benchmark::ClobberMemory();
      },
      [&] {
        for (size_t i = 0; i < v.size(); ++i) d[i] = v[i] > 0.25f ? v[i] : 0.25f;
        benchmark::ClobberMemory();
      });
}

void BM_SplitComplexFloat32_vs_PlainLoop(benchmark::State& state) {
  const auto v = RandomFloats(size_t(state.range(0)) * 2);
  std::vector<float> re(size_t(state.range(0)), 0.0f), im(size_t(state.range(0)), 0.0f);
  RunPair(
      state, state.range(0) * 16,
      [&] {
        VectorSplitComplexFloat32(reinterpret_cast<const ComplexFloat32*>(v.data()), re.data(), im.data(),
                                  int32_t(state.range(0)));
        benchmark::ClobberMemory();
      },
      [&] {
        for (size_t i = 0; i < re.size(); ++i) {
          re[i] = v[2 * i];
          im[i] = v[2 * i + 1];
        }
        benchmark::ClobberMemory();
      });
}

void BM_JoinComplexFloat32_vs_PlainLoop(benchmark::State& state) {
  const auto re = RandomFloats(size_t(state.range(0)));
  const auto im = RandomFloats(size_t(state.range(0)));
  std::vector<ComplexFloat32> d(re.size(), ComplexFloat32{0.0f, 0.0f});
  RunPair(
      state, state.range(0) * 16,
      [&] {
        VectorJoinComplexFloat32(re.data(), im.data(), d.data(), int32_t(re.size()));
        benchmark::ClobberMemory();
      },
      [&] {
        for (size_t i = 0; i < re.size(); ++i) d[i] = {re[i], im[i]};
        benchmark::ClobberMemory();
      });
}

}  // namespace

BENCHMARK(BM_MaxIndexFloat32_vs_PlainLoop)->Range(1 << 10, 1 << 20);
BENCHMARK(BM_MaxFloat32_vs_PlainLoop)->Range(1 << 10, 1 << 20);
BENCHMARK(BM_ThresholdLessFloat32_vs_PlainLoop)->Range(1 << 10, 1 << 20);
BENCHMARK(BM_SplitComplexFloat32_vs_PlainLoop)->Range(1 << 10, 1 << 20);
BENCHMARK(BM_JoinComplexFloat32_vs_PlainLoop)->Range(1 << 10, 1 << 20);

BENCHMARK_MAIN();
