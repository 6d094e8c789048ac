// Zero fill of 32-bit elements in every runnable class against glibc memset
// and a plain loop, 4 KiB to 64 MiB; prints ours/peer ratios at the end.
#include <cstring>
#include <string>
#include <vector>

#include "primitives/alloc/alloc.h"
#include "cpu/dispatch.h"
#include "cpu/dispatch_testing.h"
#include "primitives/zerofill/zerofill.h"
#include "primitives/zerofill/zerofill_classes.h"
#include "support/ratio_reporter.h"

namespace {

using FillFn = int32_t (*)(void*, int32_t);
const FillFn kFill[kProcessorClassCount] = {
    &VectorZeroFillInt32Sse2, &VectorZeroFillInt32Sse3, &VectorZeroFillInt32Ssse3,          &VectorZeroFillInt32Sse42,
    &VectorZeroFillInt32Avx,  &VectorZeroFillInt32Avx2, &VectorZeroFillInt32Avx512ManyCore, &VectorZeroFillInt32Avx512};

// A plain loop, kept a loop (not turned into a memset call).
__attribute__((optimize("no-tree-loop-distribute-patterns"))) void PlainLoop(int32_t* p, long n) {
  for (long i = 0; i < n; ++i) {
    p[i] = 0;
  }
}

constexpr long kMaxBytes = 64L << 20;
uint8_t* g_buffer = nullptr;

}  // namespace

int main(int argc, char** argv) {
  g_buffer = static_cast<uint8_t*>(VectorAllocateUint8(static_cast<int32_t>(kMaxBytes)));
  std::memset(g_buffer, 1, kMaxBytes);
  std::vector<long> sizes;
  for (long b = 4096; b <= kMaxBytes; b *= 4) {
    sizes.push_back(b);
  }
  std::vector<std::string> classes;
  for (long bytes : sizes) {
    benchmark::RegisterBenchmark(("zerofill/memset/" + std::to_string(bytes)).c_str(), [bytes](benchmark::State& st) {
      for (auto _ : st) {
        std::memset(g_buffer, 0, bytes);
        benchmark::ClobberMemory();
      }
      st.SetBytesProcessed(st.iterations() * bytes);
    });
    benchmark::RegisterBenchmark(("zerofill/loop/" + std::to_string(bytes)).c_str(), [bytes](benchmark::State& st) {
      for (auto _ : st) {
        PlainLoop(reinterpret_cast<int32_t*>(g_buffer), bytes / 4);
        benchmark::ClobberMemory();
      }
      st.SetBytesProcessed(st.iterations() * bytes);
    });
    for (int k = 0; k < kProcessorClassCount; ++k) {
      if (!IsProcessorClassRunnable(k)) continue;
      const std::string name = ProcessorClassSuffix(k);
      benchmark::RegisterBenchmark(("zerofill/" + name + "/" + std::to_string(bytes)).c_str(),
                                   [bytes, k](benchmark::State& st) {
                                     for (auto _ : st) {
                                       kFill[k](g_buffer, static_cast<int32_t>(bytes / 4));
                                       benchmark::ClobberMemory();
                                     }
                                     st.SetBytesProcessed(st.iterations() * bytes);
                                   });
    }
  }
  for (int k = 0; k < kProcessorClassCount; ++k) {
    if (IsProcessorClassRunnable(k)) classes.push_back(ProcessorClassSuffix(k));
  }
  benchmark::Initialize(&argc, argv);
  lv_bench::RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  lv_bench::PrintRatios(reporter, "zerofill", classes, {"memset", "loop"}, sizes);
  VectorFree(g_buffer);
  return 0;
}
