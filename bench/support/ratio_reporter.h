// A console reporter that also collects each benchmark's time per iteration,
// and a table printer of ours/peer ratios. Benchmarks are named
// "<family>/<who>/<bytes>" where who is a class suffix or a peer name.
#pragma once

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace lv_bench {

class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& r : runs) {
      if (r.run_type == Run::RT_Iteration && r.iterations > 0) {
        times_[r.benchmark_name()] = r.GetAdjustedRealTime();
      }
    }
    ConsoleReporter::ReportRuns(runs);
  }
  double Time(const std::string& name) const {
    auto it = times_.find(name);
    return it == times_.end() ? -1.0 : it->second;
  }

 private:
  std::map<std::string, double> times_;
};

// Prints, per size, each class's time and its ratio to every peer.
inline void PrintRatios(const RatioReporter& rep, const char* family, const std::vector<std::string>& classes,
                        const std::vector<std::string>& peers, const std::vector<long>& sizes) {
  std::printf("\n%s: ratio ours/peer (lower is better)\n%-10s %-16s", family, "bytes", "class");
  for (const std::string& p : peers) {
    std::printf(" %14s", ("/" + p).c_str());
  }
  std::printf("\n");
  for (long size : sizes) {
    for (const std::string& c : classes) {
      const double ours = rep.Time(std::string(family) + "/" + c + "/" + std::to_string(size));
      if (ours < 0) continue;
      std::printf("%-10ld %-16s", size, c.c_str());
      for (const std::string& p : peers) {
        const double peer = rep.Time(std::string(family) + "/" + p + "/" + std::to_string(size));
        if (peer > 0) {
          std::printf(" %14.2f", ours / peer);
        } else {
          std::printf(" %14s", "-");
        }
      }
      std::printf("\n");
    }
  }
}

}  // namespace lv_bench
