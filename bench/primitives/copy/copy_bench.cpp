// Byte copy in every runnable class against glibc memcpy and a plain loop,
// 4 KiB to 64 MiB; prints ours/peer ratios at the end.
#include <cstring>
#include <string>
#include <vector>

#include "primitives/alloc/alloc.h"
#include "primitives/copy/copy.h"
#include "primitives/copy/copy_classes.h"
#include "cpu/dispatch.h"
#include "cpu/dispatch_testing.h"
#include "support/ratio_reporter.h"

namespace {

using CopyFn = int32_t (*)(const void*, void*, int32_t);
const CopyFn kCopy[kProcessorClassCount] = {&VectorCopyUint8Sse2, &VectorCopyUint8Sse3, &VectorCopyUint8Ssse3,
                                            &VectorCopyUint8Sse42, &VectorCopyUint8Avx, &VectorCopyUint8Avx2,
                                            &VectorCopyUint8Avx512ManyCore, &VectorCopyUint8Avx512};

// A plain loop of 32-bit words, kept a loop (not turned into a memcpy call).
__attribute__((optimize("no-tree-loop-distribute-patterns"))) void PlainLoop(const int32_t* s, int32_t* d, long n) {
  for (long i = 0; i < n; ++i) {
    d[i] = s[i];
  }
}

constexpr long kMaxBytes = 64L << 20;
uint8_t* g_src = nullptr;
uint8_t* g_dst = nullptr;

}  // namespace

int main(int argc, char** argv) {
  g_src = static_cast<uint8_t*>(VectorAllocateUint8(static_cast<int32_t>(kMaxBytes)));
  g_dst = static_cast<uint8_t*>(VectorAllocateUint8(static_cast<int32_t>(kMaxBytes)));
  std::memset(g_src, 3, kMaxBytes);
  std::memset(g_dst, 1, kMaxBytes);
  std::vector<long> sizes;
  for (long b = 4096; b <= kMaxBytes; b *= 4) {
    sizes.push_back(b);
  }
  std::vector<std::string> classes;
  for (long bytes : sizes) {
    benchmark::RegisterBenchmark(("copy/memcpy/" + std::to_string(bytes)).c_str(), [bytes](benchmark::State& st) {
      for (auto _ : st) {
        std::memcpy(g_dst, g_src, bytes);
        benchmark::ClobberMemory();
      }
      st.SetBytesProcessed(st.iterations() * bytes);
    });
    benchmark::RegisterBenchmark(("copy/loop/" + std::to_string(bytes)).c_str(), [bytes](benchmark::State& st) {
      for (auto _ : st) {
        PlainLoop(reinterpret_cast<const int32_t*>(g_src), reinterpret_cast<int32_t*>(g_dst), bytes / 4);
        benchmark::ClobberMemory();
      }
      st.SetBytesProcessed(st.iterations() * bytes);
    });
    for (int k = 0; k < kProcessorClassCount; ++k) {
      if (!IsProcessorClassRunnable(k)) continue;
      benchmark::RegisterBenchmark(("copy/" + std::string(ProcessorClassSuffix(k)) + "/" + std::to_string(bytes)).c_str(),
                                   [bytes, k](benchmark::State& st) {
                                     for (auto _ : st) {
                                       kCopy[k](g_src, g_dst, static_cast<int32_t>(bytes));
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
  lv_bench::PrintRatios(reporter, "copy", classes, {"memcpy", "loop"}, sizes);
  VectorFree(g_src);
  VectorFree(g_dst);
  return 0;
}
