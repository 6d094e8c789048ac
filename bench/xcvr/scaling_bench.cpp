// Scaling four transmitters of 2,097,152 samples each into one interleaved
// 16-bit transmit buffer, against memcpy of the same bytes. Reports ours/peer.
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "xcvr/multi_xcvr.h"

namespace {

constexpr int kSamples = 2097152;
constexpr int kTransmitters = 4;

struct Data {
  std::vector<CQComplex> wave = std::vector<CQComplex>(kSamples);
  std::vector<uint8_t> buffer = std::vector<uint8_t>(static_cast<size_t>(kSamples) * 4 * kTransmitters);
  Data() {
    for (int k = 0; k < kSamples; ++k) wave[static_cast<size_t>(k)] = CQComplex((k % 200) / 200.0f, -(k % 77) / 77.0f);
  }
};

Data& Shared() {
  static Data d;
  return d;
}

void BM_ScaleIntoFrames(benchmark::State& state) {
  Data& d = Shared();
  for (auto _ : state) {
    CQFrameChannel channels[kTransmitters];
    for (int t = 0; t < kTransmitters; ++t) {
      channels[t] = {d.wave.data(), d.buffer.data() + 4 * t};
    }
    ScaleIntoFrames(channels, kTransmitters, kSamples, 26027.0f, false, 4 * kTransmitters);
    benchmark::DoNotOptimize(d.buffer.data());
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(d.buffer.size()));
}

void BM_MemcpySameBytes(benchmark::State& state) {
  Data& d = Shared();
  std::vector<uint8_t> src(d.buffer.size(), 1);
  for (auto _ : state) {
    std::memcpy(d.buffer.data(), src.data(), src.size());
    benchmark::DoNotOptimize(d.buffer.data());
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(d.buffer.size()));
}

BENCHMARK(BM_ScaleIntoFrames)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MemcpySameBytes)->Unit(benchmark::kMillisecond);

}  // namespace

// Prints the ratio ours/memcpy after the table.
int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  struct Collect : benchmark::ConsoleReporter {
    double ours = 0, peer = 0;
    void ReportRuns(const std::vector<Run>& runs) override {
      for (const auto& r : runs) {
        if (r.benchmark_name().find("Scale") != std::string::npos) ours = r.GetAdjustedRealTime();
        if (r.benchmark_name().find("Memcpy") != std::string::npos) peer = r.GetAdjustedRealTime();
      }
      ConsoleReporter::ReportRuns(runs);
    }
  } reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  if (reporter.peer > 0) {
    std::printf("scaling 4 x 2097152 samples / memcpy of the same bytes: %.2f (target <= 2.0)\n", reporter.ours / reporter.peer);
  }
  return 0;
}
