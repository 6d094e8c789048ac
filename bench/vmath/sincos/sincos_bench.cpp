// Sine and cosine of every processor class against SLEEF's 1-ulp functions of
// the same vector width (classes 1 and 2 lack SSE4.1 and meet SLEEF's SSE2
// version; classes 6 and 7 meet its AVX-512F version). Each benchmark times
// our stub and the peer on the same data in the same run and reports
// nanoseconds per element of both and the ratio ours / peer (lower is better).
//
// Ranges: "octant" is [0, pi/4] (the FFT's sine tables), "wide" is
// [-10000, 10000] (the whole fast path), "large" is |x| up to 1e30.
#include <chrono>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include "bench/support/fresh_inputs.h"
#include "bench/vmath/sincos/sleef_peers.h"
#include "cpu/dispatch.h"
#include "cpu/dispatch_testing.h"
#include "vmath/sincos/sincos.h"

namespace {

using OursFn = int32_t (*)(const float*, float*, int32_t);
using PeerFn = void (*)(const float*, float*, int);

struct ClassEntry {
  int cls;
  OursFn sin;
  OursFn cos;
  PeerFn peerSin;
  PeerFn peerCos;
  const char* peerName;
};

const ClassEntry kClasses[] = {
    {0, SinFloat32StubSse2, CosFloat32StubSse2, SleefSinSse2, SleefCosSse2, "sleef_u10sse2"},
    {1, SinFloat32StubSse3, CosFloat32StubSse3, SleefSinSse2, SleefCosSse2, "sleef_u10sse2"},
    {2, SinFloat32StubSsse3, CosFloat32StubSsse3, SleefSinSse2, SleefCosSse2, "sleef_u10sse2"},
    {3, SinFloat32StubSse42, CosFloat32StubSse42, SleefSinSse42, SleefCosSse42, "sleef_u10sse4"},
    {4, SinFloat32StubAvx, CosFloat32StubAvx, SleefSinAvx, SleefCosAvx, "sleef_u10avx"},
    {5, SinFloat32StubAvx2, CosFloat32StubAvx2, SleefSinAvx2, SleefCosAvx2, "sleef_u10avx2"},
    {6, SinFloat32StubAvx512ManyCore, CosFloat32StubAvx512ManyCore, SleefSinAvx512, SleefCosAvx512,
     "sleef_u10avx512f"},
    {7, SinFloat32StubAvx512, CosFloat32StubAvx512, SleefSinAvx512, SleefCosAvx512, "sleef_u10avx512f"},
};

std::vector<float> Inputs(const std::string& range, size_t n) {
  std::mt19937 rng(7);
  std::vector<float> v(n);
  if (range == "octant") {
    std::uniform_real_distribution<float> d(0.0f, 0.785398163f);
    for (float& x : v) x = d(rng);
  } else if (range == "wide") {
    std::uniform_real_distribution<float> d(-10000.0f, 10000.0f);
    for (float& x : v) x = d(rng);
  } else {
    std::uniform_real_distribution<float> e(4.0f, 30.0f);
    for (float& x : v) x = std::pow(10.0f, e(rng)) * ((rng() & 1) ? 1.0f : -1.0f);
  }
  return v;
}

void Compare(benchmark::State& state, const ClassEntry& c, bool cosine, const std::string& range) {
  if (!IsProcessorClassRunnable(c.cls)) {
    state.SkipWithError("processor class not supported here");
    return;
  }
  const size_t n = static_cast<size_t>(state.range(0));
  // Each iteration takes the next n inputs of a pool far larger than the
  // branch predictor's memory, so neither side replays learnt data.
  const std::vector<float> in = Inputs(range, lv_bench::kPoolElements);
  std::vector<float> out(n);
  lv_bench::WindowWalk walk(n);
  const OursFn ours = cosine ? c.cos : c.sin;
  const PeerFn peer = cosine ? c.peerCos : c.peerSin;
  using Clock = std::chrono::steady_clock;
  double oursNs = 0.0;
  double peerNs = 0.0;
  for (auto _ : state) {
    const float* x = in.data() + walk.Next();
    const auto t0 = Clock::now();
    ours(x, out.data(), static_cast<int32_t>(n));
    benchmark::ClobberMemory();
    const auto t1 = Clock::now();
    peer(x, out.data(), static_cast<int>(n));
    benchmark::ClobberMemory();
    const auto t2 = Clock::now();
    oursNs += std::chrono::duration<double, std::nano>(t1 - t0).count();
    peerNs += std::chrono::duration<double, std::nano>(t2 - t1).count();
  }
  const double elems = static_cast<double>(state.iterations()) * static_cast<double>(n);
  state.counters["ours_ns_per_elem"] = oursNs / elems;
  state.counters["peer_ns_per_elem"] = peerNs / elems;
  state.counters["ratio"] = oursNs / peerNs;
  state.SetLabel(std::string("peer ") + c.peerName);
}

const int kRegistered = [] {
  for (const ClassEntry& c : kClasses) {
    for (int cosine = 0; cosine < 2; ++cosine) {
      for (const char* range : {"octant", "wide", "large"}) {
        const std::string name = std::string(cosine ? "Cos" : "Sin") + "Float32/" + ProcessorClassSuffix(c.cls) + "/" +
                                 range;
        benchmark::RegisterBenchmark(name.c_str(), [&c, cosine, range](benchmark::State& s) {
          Compare(s, c, cosine != 0, range);
        })->Arg(4096);
      }
    }
  }
  return 0;
}();

}  // namespace

BENCHMARK_MAIN();
