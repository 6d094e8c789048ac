// The vector logarithm of every class against SLEEF of the same width and a
// similar accuracy (u10 for classes 0, 1, 6 and 7, u35 for the four-ulp
// classes 2 to 5), 1024 positive inputs per call taken in turn from a pool of
// 2^18 (fresh_inputs.h). Prints each pair's times
// and the ratio ours / peer.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "ln_peers.h"
#include "bench/support/fresh_inputs.h"
#include "cpu/dispatch_testing.h"
#include "vmath/ln/ln.h"

namespace {

constexpr int kN = 1024;  // elements per timed call
constexpr int kPool = static_cast<int>(lv_bench::kPoolElements);

struct Data {
  std::vector<float> src, dst;
  Data() : src(kPool), dst(kN) {
    std::mt19937 rng(11);
    std::uniform_real_distribution<float> e(-20.0f, 20.0f);
    for (int i = 0; i < kPool; ++i) {
      src[i] = std::exp2(e(rng));
    }
  }
};

Data& TheData() {
  static Data d;
  return d;
}

using PeerFn = void (*)(const float*, float*, int);

struct Pair {
  int cls;
  const char* name;
  UnaryFloat32Kernel ours;
  const char* peerName;
  PeerFn peer;
  int peerClass;
};

const Pair kPairs[] = {
    {0, "Sse2", &LnFloat32StubSse2, "sleef_u10_sse2", &SleefLnU10Sse2, 0},
    {1, "Sse3", &LnFloat32StubSse3, "sleef_u10_sse2", &SleefLnU10Sse2, 0},
    {2, "Ssse3", &LnFloat32StubSsse3, "sleef_u35_sse2", &SleefLnU35Sse2, 0},
    {3, "Sse42", &LnFloat32StubSse42, "sleef_u35_sse4", &SleefLnU35Sse4, 3},
    {4, "Avx", &LnFloat32StubAvx, "sleef_u35_avx", &SleefLnU35Avx, 4},
    {5, "Avx2", &LnFloat32StubAvx2, "sleef_u35_avx2", &SleefLnU35Avx2, 5},
    {6, "Avx512ManyCore", &LnFloat32StubAvx512ManyCore, "sleef_u10_avx512f", &SleefLnU10Avx512, 7},
    {7, "Avx512", &LnFloat32StubAvx512, "sleef_u10_avx512f", &SleefLnU10Avx512, 7},
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
    benchmark::RegisterBenchmark((std::string("ln/ours/") + p.name).c_str(), [p](benchmark::State& st) {
      Data& d = TheData();
      lv_bench::WindowWalk walk(kN);
      for (auto _ : st) {
        const size_t at = walk.Next();
        benchmark::DoNotOptimize(p.ours(d.src.data() + at, d.dst.data(), kN));
        benchmark::ClobberMemory();
      }
      st.SetItemsProcessed(st.iterations() * kN);
    });
    benchmark::RegisterBenchmark((std::string("ln/peer/") + p.name).c_str(), [p](benchmark::State& st) {
      Data& d = TheData();
      lv_bench::WindowWalk walk(kN);
      for (auto _ : st) {
        const size_t at = walk.Next();
        p.peer(d.src.data() + at, d.dst.data(), kN);
        benchmark::ClobberMemory();
      }
      st.SetItemsProcessed(st.iterations() * kN);
    });
  }
  Collect reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  std::printf("\n%-16s %-20s %12s %12s %8s\n", "class", "peer", "ours ns", "peer ns", "ratio");
  for (const Pair& p : kPairs) {
    const auto ours = reporter.times.find(std::string("ln/ours/") + p.name);
    const auto peer = reporter.times.find(std::string("ln/peer/") + p.name);
    if (ours == reporter.times.end() || peer == reporter.times.end()) {
      continue;
    }
    std::printf("%-16s %-20s %12.1f %12.1f %8.2f\n", p.name, p.peerName, ours->second, peer->second,
                ours->second / peer->second);
  }
  benchmark::Shutdown();
  return 0;
}
