// Throughput of the scalar and element-wise arithmetic, the sums, the
// magnitude, the power and the absolute value in every processor class this
// processor runs, in cache (4 KiB per vector) and out of cache (64 MiB per
// vector), against a plain loop (the peer). Prints ours/peer per case at the
// end (lower is better).
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "primitives/arith/arith.h"
#include "cpu/dispatch.h"
#include "cpu/dispatch_testing.h"
#include "primitives/magnitude/magnitude.h"
#include "primitives/sum/sum.h"

namespace {

struct Buffers {
  std::vector<float> a, b, d;
  explicit Buffers(size_t floats) : a(floats + 16), b(floats + 16), d(floats + 16) {
    for (size_t i = 0; i < a.size(); ++i) {
      a[i] = 1.0f + static_cast<float>(i % 97) * 0.01f;
      b[i] = 0.5f + static_cast<float>(i % 89) * 0.02f;
    }
  }
};

Buffers& BuffersFor(size_t floats) {
  static std::map<size_t, Buffers*> cache;
  auto& p = cache[floats];
  if (p == nullptr) p = new Buffers(floats);
  return *p;
}

// One operation over `floats` floats of each vector.
using Op = std::function<void(Buffers&, size_t floats)>;

struct Case {
  const char* name;
  Op ours;  // through the entry point, in the forced class
  Op peer;  // a plain loop
};

volatile float g_sink;

const Case kCases[] = {
    {"MultiplyScalarFloat32",
     [](Buffers& m, size_t n) { VectorMultiplyScalarFloat32(m.a.data(), 1.001f, m.d.data(), static_cast<int32_t>(n)); },
     [](Buffers& m, size_t n) {
       for (size_t i = 0; i < n; ++i) m.d[i] = m.a[i] * 1.001f;
     }},
    {"AddFloat32",
     [](Buffers& m, size_t n) { VectorAddFloat32(m.a.data(), m.b.data(), m.d.data(), static_cast<int32_t>(n)); },
     [](Buffers& m, size_t n) {
       for (size_t i = 0; i < n; ++i) m.d[i] = m.a[i] + m.b[i];
     }},
    {"MultiplyComplexFloat32",
     [](Buffers& m, size_t n) {
       VectorMultiplyComplexFloat32(reinterpret_cast<const ComplexFloat32*>(m.a.data()),
                                    reinterpret_cast<const ComplexFloat32*>(m.b.data()),
                                    reinterpret_cast<ComplexFloat32*>(m.d.data()), static_cast<int32_t>(n / 2));
     },
     [](Buffers& m, size_t n) {
       for (size_t i = 0; i < n; i += 2) {
         const float ar = m.a[i], ai = m.a[i + 1], br = m.b[i], bi = m.b[i + 1];
         m.d[i] = ar * br - ai * bi;
         m.d[i + 1] = ai * br + ar * bi;
       }
     }},
    {"SumFloat32Accurate",
     [](Buffers& m, size_t n) {
       float s;
       VectorSumFloat32(m.a.data(), static_cast<int32_t>(n), &s, HintAccurate);
       g_sink = s;
     },
     [](Buffers& m, size_t n) {
       double s = 0;
       for (size_t i = 0; i < n; ++i) s += m.a[i];
       g_sink = static_cast<float>(s);
     }},
    {"SumFloat32Fast",
     [](Buffers& m, size_t n) {
       float s;
       VectorSumFloat32(m.a.data(), static_cast<int32_t>(n), &s, HintFast);
       g_sink = s;
     },
     [](Buffers& m, size_t n) {
       float s = 0;
       for (size_t i = 0; i < n; ++i) s += m.a[i];
       g_sink = s;
     }},
    {"MagnitudeComplexFloat32",
     [](Buffers& m, size_t n) {
       VectorMagnitudeComplexFloat32(reinterpret_cast<const ComplexFloat32*>(m.a.data()), m.d.data(),
                                     static_cast<int32_t>(n / 2));
     },
     [](Buffers& m, size_t n) {
       for (size_t i = 0; i < n / 2; ++i) m.d[i] = std::sqrt(m.a[2 * i] * m.a[2 * i] + m.a[2 * i + 1] * m.a[2 * i + 1]);
     }},
    {"MagnitudeSquaredComplexFloat32",
     [](Buffers& m, size_t n) {
       VectorMagnitudeSquaredComplexFloat32(reinterpret_cast<const ComplexFloat32*>(m.a.data()), m.d.data(),
                                            static_cast<int32_t>(n / 2));
     },
     [](Buffers& m, size_t n) {
       for (size_t i = 0; i < n / 2; ++i) m.d[i] = m.a[2 * i] * m.a[2 * i] + m.a[2 * i + 1] * m.a[2 * i + 1];
     }},
    {"AbsFloat32", [](Buffers& m, size_t n) { VectorAbsFloat32(m.a.data(), m.d.data(), static_cast<int32_t>(n)); },
     [](Buffers& m, size_t n) {
       for (size_t i = 0; i < n; ++i) m.d[i] = std::fabs(m.a[i]);
     }},
};

struct Size {
  const char* name;
  size_t floats;
};
const Size kSizes[] = {{"in_cache", 1024}, {"out_of_cache", 16u << 20}};

void Run(benchmark::State& state, const Op& op, size_t floats, int cls) {
  Buffers& m = BuffersFor(floats);
  ScopedProcessorClass force(cls >= 0 ? cls : CurrentProcessorClass());
  for (auto _ : state) {
    op(m, floats);
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(floats) * 4);
}

// Keeps every run's time to print the ratios at the end.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const auto& r : runs) times_[r.benchmark_name()] = r.GetAdjustedRealTime();
    ConsoleReporter::ReportRuns(runs);
  }
  void PrintRatios() const {
    std::printf("\n%-32s %-13s %-15s %12s %12s %8s\n", "operation", "size", "class", "peer ns", "ours ns",
                "ours/peer");
    for (const auto& c : kCases) {
      for (const auto& s : kSizes) {
        const std::string base = std::string(c.name) + "/" + s.name + "/";
        const auto peer = times_.find(base + "plain_loop");
        if (peer == times_.end()) continue;
        for (int cls = 0; cls < kProcessorClassCount; ++cls) {
          const auto ours = times_.find(base + ProcessorClassSuffix(cls));
          if (ours == times_.end()) continue;
          std::printf("%-32s %-13s %-15s %12.0f %12.0f %8.2f\n", c.name, s.name, ProcessorClassSuffix(cls),
                      peer->second, ours->second, ours->second / peer->second);
        }
      }
    }
  }

 private:
  std::map<std::string, double> times_;
};

}  // namespace

int main(int argc, char** argv) {
  for (const auto& c : kCases) {
    for (const auto& s : kSizes) {
      const std::string base = std::string(c.name) + "/" + s.name + "/";
      benchmark::RegisterBenchmark((base + "plain_loop").c_str(),
                                   [&c, &s](benchmark::State& st) { Run(st, c.peer, s.floats, -1); });
      for (int cls = 0; cls < kProcessorClassCount; ++cls) {
        if (!IsProcessorClassRunnable(cls)) continue;
        benchmark::RegisterBenchmark((base + ProcessorClassSuffix(cls)).c_str(),
                                     [&c, &s, cls](benchmark::State& st) { Run(st, c.ours, s.floats, cls); });
      }
    }
  }
  benchmark::Initialize(&argc, argv);
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  reporter.PrintRatios();
  benchmark::Shutdown();
  return 0;
}
