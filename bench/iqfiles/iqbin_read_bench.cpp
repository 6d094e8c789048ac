// Whole read of a 64 M-sample .iqbin file (512 MiB of samples) into a sample
// array, against a plain fread of the same bytes. The file is written once to
// the temporary folder. Prints ours/peer.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "iqfiles/formats/iqbin.h"
#include "platform/text.h"

namespace {

constexpr int kSamples = 64 * 1024 * 1024;

const std::string& FilePath() {
  static const std::string path = [] {
    const std::string p = (std::filesystem::temp_directory_path() / ("lv_bench_" + std::to_string(::getpid()) + ".iqbin")).string();
    FILE* f = std::fopen(p.c_str(), "wb");
    const int32_t hdr[2] = {1, kSamples};
    const double d[3] = {1e6, 0.0, 0.0};
    std::fwrite(hdr, 4, 2, f);
    std::fwrite(d, 8, 3, f);
    std::vector<float> chunk(2 * 1024 * 1024, 0.5f);
    for (int i = 0; i < kSamples / (1024 * 1024); ++i) std::fwrite(chunk.data(), 4, chunk.size(), f);
    std::fclose(f);
    return p;
  }();
  return path;
}

double g_ours = 0, g_peer = 0;

void BM_IqbinWholeRead(benchmark::State& state) {
  CLumvardBinFile file;
  file.SetFileName(lv::Utf8ToWide(FilePath()).c_str());
  CQFileInfo info;
  file.GetFileInfo(file.GetFileNameUtf8(), &info);
  for (auto _ : state) {
    file.ReadFromFile();
    benchmark::DoNotOptimize(file.GetOutput()->GetDataPtr());
  }
  state.SetBytesProcessed(state.iterations() * int64_t{8} * kSamples);
}

void BM_FreadSameBytes(benchmark::State& state) {
  std::vector<float> buffer(2 * static_cast<size_t>(kSamples));
  for (auto _ : state) {
    FILE* f = std::fopen(FilePath().c_str(), "rb");
    std::fseek(f, 32, SEEK_SET);
    benchmark::DoNotOptimize(std::fread(buffer.data(), 8, kSamples, f));
    std::fclose(f);
  }
  state.SetBytesProcessed(state.iterations() * int64_t{8} * kSamples);
}

// For reference, not the target's peer: fread into a block allocated for
// each read, as a whole read's array is (every page of it mapped during the
// read), freed after it.
void BM_FreadIntoNewBlock(benchmark::State& state) {
  for (auto _ : state) {
    void* block = std::malloc(8 * static_cast<size_t>(kSamples));
    FILE* f = std::fopen(FilePath().c_str(), "rb");
    std::fseek(f, 32, SEEK_SET);
    benchmark::DoNotOptimize(std::fread(block, 8, kSamples, f));
    std::fclose(f);
    std::free(block);
  }
  state.SetBytesProcessed(state.iterations() * int64_t{8} * kSamples);
}

BENCHMARK(BM_IqbinWholeRead)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_FreadSameBytes)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_FreadIntoNewBlock)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  struct Collect : benchmark::ConsoleReporter {
    void ReportRuns(const std::vector<Run>& runs) override {
      for (const auto& r : runs) {
        if (r.benchmark_name().find("Iqbin") != std::string::npos) {
          g_ours = r.GetAdjustedRealTime();
        } else if (r.benchmark_name().find("SameBytes") != std::string::npos) {
          g_peer = r.GetAdjustedRealTime();
        }
      }
      ConsoleReporter::ReportRuns(runs);
    }
  } reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  std::remove(FilePath().c_str());
  if (g_peer > 0) std::printf("whole .iqbin read / fread of the same bytes: %.2f (target <= 1.5)\n", g_ours / g_peer);
  return 0;
}
