// Conversions of the dispatched class against two peers: a plain loop
// compiled for the baseline (what a caller would write without the
// primitives) and glibc memcpy of the bytes the conversion reads and writes.
// After the runs a table prints each peer's time, ours, and ours/peer.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include "primitives/convert/convert.h"

namespace {

const int64_t kCounts[] = {1024, 32768, 1 << 20, 1 << 23};

template <typename S, typename D>
struct Buffers {
  explicit Buffers(int64_t n) : src(n), dst(n) {
    for (int64_t i = 0; i < n; ++i) src[i] = S((i * 7919) % 60001 - 30000) / S(i % 3 + 1);
  }
  std::vector<S> src;
  std::vector<D> dst;
};

template <typename S, typename D, typename Body>
void Run(benchmark::State& state, Body body) {
  const int64_t n = state.range(0);
  Buffers<S, D> b(n);
  for (auto _ : state) {
    body(b.src.data(), b.dst.data(), int32_t(n));
    benchmark::DoNotOptimize(b.dst.data());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(state.iterations() * n * int64_t(sizeof(S) + sizeof(D)));
}

template <typename S, typename D>
void Memcpy(benchmark::State& state) {
  const int64_t n = state.range(0);
  // The same bytes moved: read n sources and write n destinations.
  std::vector<uint8_t> a(n * sizeof(S) + n * sizeof(D)), c(a.size());
  for (auto _ : state) {
    std::memcpy(c.data(), a.data(), n * sizeof(D));
    std::memcpy(c.data() + n * sizeof(D), a.data(), n * sizeof(S));
    benchmark::DoNotOptimize(c.data());
    benchmark::ClobberMemory();
  }
}

// ----- the plain loops -------------------------------------------------------
void LoopInt16ToFloat32(const int16_t* s, float* d, int32_t n) {
  for (int32_t i = 0; i < n; ++i) d[i] = float(s[i]);
}
void LoopInt32ToFloat32(const int32_t* s, float* d, int32_t n) {
  for (int32_t i = 0; i < n; ++i) d[i] = float(s[i]);
}
void LoopFloat32ToFloat64(const float* s, double* d, int32_t n) {
  for (int32_t i = 0; i < n; ++i) d[i] = double(s[i]);
}
void LoopFloat32ToInt16(const float* s, int16_t* d, int32_t n) {
  for (int32_t i = 0; i < n; ++i) {
    const float y = s[i] > 32767.0f ? 32767.0f : (s[i] < -32768.0f ? -32768.0f : s[i]);
    d[i] = int16_t(std::lrint(y));
  }
}
void LoopFloat32ToInt32(const float* s, int32_t* d, int32_t n) {
  for (int32_t i = 0; i < n; ++i) {
    const float y = s[i] >= 2147483648.0f ? 2147483520.0f : (s[i] < -2147483648.0f ? -2147483648.0f : s[i]);
    d[i] = int32_t(std::lrint(y));
  }
}
void LoopFloat64ToInt32(const double* s, int32_t* d, int32_t n) {
  for (int32_t i = 0; i < n; ++i) {
    const double y = s[i] > 2147483647.0 ? 2147483647.0 : (s[i] < -2147483648.0 ? -2147483648.0 : s[i]);
    d[i] = int32_t(std::lrint(y));
  }
}

void Register() {
  auto add = [](const std::string& name, auto fn) {
    auto* b = benchmark::RegisterBenchmark(name.c_str(), fn);
    for (int64_t n : kCounts) b->Arg(n);
  };
#define LV_PAIR(Name, S, D, Ours)                                                                   \
  add(#Name "/ours", [](benchmark::State& st) { Run<S, D>(st, Ours); });                          \
  add(#Name "/loop", [](benchmark::State& st) { Run<S, D>(st, Loop##Name); });                    \
  add(#Name "/memcpy", [](benchmark::State& st) { Memcpy<S, D>(st); });
  LV_PAIR(Int16ToFloat32, int16_t, float, VectorConvertInt16ToFloat32)
  LV_PAIR(Int32ToFloat32, int32_t, float, VectorConvertInt32ToFloat32)
  LV_PAIR(Float32ToFloat64, float, double, VectorConvertFloat32ToFloat64)
  LV_PAIR(Float32ToInt16, float, int16_t,
          [](const float* s, int16_t* d, int32_t n) { VectorConvertScaledFloat32ToInt16(s, d, n, RoundNearestEven, 0); })
  LV_PAIR(Float32ToInt32, float, int32_t,
          [](const float* s, int32_t* d, int32_t n) { VectorConvertScaledFloat32ToInt32(s, d, n, RoundNearestEven, 0); })
  LV_PAIR(Float64ToInt32, double, int32_t,
          [](const double* s, int32_t* d, int32_t n) { VectorConvertScaledFloat64ToInt32(s, d, n, RoundNearestEven, 0); })
#undef LV_PAIR
}

// Keeps every run's time so that the ratios can be printed at the end.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& r : runs) {
      if (r.run_type == Run::RT_Iteration && !r.error_occurred) times_[r.benchmark_name()] = r.GetAdjustedRealTime();
    }
    ConsoleReporter::ReportRuns(runs);
  }
  void PrintRatios() const {
    std::printf("\n%-18s %9s %12s %12s %12s %10s %10s\n", "conversion", "count", "loop", "memcpy", "ours",
                "ours/loop", "ours/memcpy");
    for (const char* name :
         {"Int16ToFloat32", "Int32ToFloat32", "Float32ToFloat64", "Float32ToInt16", "Float32ToInt32", "Float64ToInt32"}) {
      for (int64_t n : kCounts) {
        const std::string suffix = "/" + std::to_string(n);
        const auto ours = times_.find(std::string(name) + "/ours" + suffix);
        const auto loop = times_.find(std::string(name) + "/loop" + suffix);
        const auto copy = times_.find(std::string(name) + "/memcpy" + suffix);
        if (ours == times_.end() || loop == times_.end() || copy == times_.end()) continue;
        std::printf("%-18s %9lld %12.1f %12.1f %12.1f %10.2f %10.2f\n", name, static_cast<long long>(n), loop->second,
                    copy->second, ours->second, ours->second / loop->second, ours->second / copy->second);
      }
    }
    std::printf("(times in ns per call, processor class %d)\n", CurrentProcessorClass());
  }

 private:
  std::map<std::string, double> times_;
};

}  // namespace

int main(int argc, char** argv) {
  Register();
  benchmark::Initialize(&argc, argv);
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  reporter.PrintRatios();
  benchmark::Shutdown();
  return 0;
}
