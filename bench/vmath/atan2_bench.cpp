// The vector arctangent of every class against SLEEF of the same width and a
// similar accuracy (u10 for the one-ulp class 0, u35 for the others), 1024
// pairs per call taken in turn from a pool of 2^18 (fresh_inputs.h). Prints each pair's times and the ratio ours / peer.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "atan2_peers.h"
#include "bench/support/fresh_inputs.h"
#include "cpu/dispatch_testing.h"
#include "vmath/atan2/atan2.h"

namespace {

constexpr int kN = 1024;  // elements per timed call
constexpr int kPool = static_cast<int>(lv_bench::kPoolElements);

struct Data {
  std::vector<float> y, x, dst;
  Data() : y(kPool), x(kPool), dst(kN) {
    std::mt19937 rng(7);
    std::normal_distribution<float> g(0.0f, 1.0f);
    for (int i = 0; i < kPool; ++i) {
      y[i] = g(rng);
      x[i] = g(rng);
    }
  }
};

Data& TheData() {
  static Data d;
  return d;
}

using PeerFn = void (*)(const float*, const float*, float*, int);

struct Pair {
  int cls;
  const char* name;
  Atan2Float32Kernel ours;
  const char* peerName;
  PeerFn peer;
  int peerClass;  // the class whose instructions the peer needs
};

const Pair kPairs[] = {
    {0, "Sse2", &Atan2Float32StubSse2, "sleef_u10_sse2", &SleefAtan2U10Sse2, 0},
    {1, "Sse3", &Atan2Float32StubSse3, "sleef_u35_sse2", &SleefAtan2U35Sse2, 0},
    {2, "Ssse3", &Atan2Float32StubSsse3, "sleef_u35_sse2", &SleefAtan2U35Sse2, 0},
    {3, "Sse42", &Atan2Float32StubSse42, "sleef_u35_sse4", &SleefAtan2U35Sse4, 3},
    {4, "Avx", &Atan2Float32StubAvx, "sleef_u35_avx", &SleefAtan2U35Avx, 4},
    {5, "Avx2", &Atan2Float32StubAvx2, "sleef_u35_avx2", &SleefAtan2U35Avx2, 5},
    {6, "Avx512ManyCore", &Atan2Float32StubAvx512ManyCore, "sleef_u35_avx512f", &SleefAtan2U35Avx512, 7},
    {7, "Avx512", &Atan2Float32StubAvx512, "sleef_u35_avx512f", &SleefAtan2U35Avx512, 7},
};

class Collect : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& r : runs) {
      times[r.benchmark_name()] = r.GetAdjustedRealTime();
    }
    ConsoleReporter::ReportRuns(runs);
  }
  std::map<std::string, double> times;
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  for (const Pair& p : kPairs) {
    if (!IsProcessorClassRunnable(p.cls) || !IsProcessorClassRunnable(p.peerClass)) {
      std::printf("class %s: not supported by this processor, skipped\n", p.name);
      continue;
    }
    benchmark::RegisterBenchmark((std::string("atan2/ours/") + p.name).c_str(), [p](benchmark::State& st) {
      Data& d = TheData();
      lv_bench::WindowWalk walk(kN);
      for (auto _ : st) {
        const size_t at = walk.Next();
        benchmark::DoNotOptimize(p.ours(d.y.data() + at, d.x.data() + at, d.dst.data(), kN));
        benchmark::ClobberMemory();
      }
      st.SetItemsProcessed(st.iterations() * kN);
    });
    benchmark::RegisterBenchmark((std::string("atan2/peer/") + p.name).c_str(), [p](benchmark::State& st) {
      Data& d = TheData();
      lv_bench::WindowWalk walk(kN);
      for (auto _ : st) {
        const size_t at = walk.Next();
        p.peer(d.y.data() + at, d.x.data() + at, d.dst.data(), kN);
        benchmark::ClobberMemory();
      }
      st.SetItemsProcessed(st.iterations() * kN);
    });
  }
  Collect reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  std::printf("\n%-16s %-20s %12s %12s %8s\n", "class", "peer", "ours ns", "peer ns", "ratio");
  for (const Pair& p : kPairs) {
    const auto ours = reporter.times.find(std::string("atan2/ours/") + p.name);
    const auto peer = reporter.times.find(std::string("atan2/peer/") + p.name);
    if (ours == reporter.times.end() || peer == reporter.times.end()) {
      continue;
    }
    std::printf("%-16s %-20s %12.1f %12.1f %8.2f\n", p.name, p.peerName, ours->second, peer->second,
                ours->second / peer->second);
  }
  benchmark::Shutdown();
  return 0;
}
