// The window layer's costs, on the offscreen platform:
//  - a blocking request from the GUI thread to an idle worker through the
//    layer's GUI wait (a nested event loop), against the same round trip
//    through a plain condition variable (peer); p50 and p99 per request;
//  - wake-ups per second of 16 idle workers (target 0);
//  - GUI-thread time to show a newly handed-over 1600 x 900 frame.
#include <benchmark/benchmark.h>

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/gui/gui_runtime.h"
#include "platform/gui/test_hooks.h"
#include "platform/gui/window.h"
#include "workers/ui_thread.h"

namespace {

using Clock = std::chrono::steady_clock;

double Percentile(std::vector<double> v, double p) {
  std::sort(v.begin(), v.end());
  return v[std::min(v.size() - 1, static_cast<size_t>(p * static_cast<double>(v.size())))];
}

class IdleWorker : public CWUIThread {
 public:
  IdleWorker() : CWUIThread("IdleWorker") {}
  ~IdleWorker() override { StopAndJoin(2000); }
  std::atomic<long> idleCalls{0};

 protected:
  bool OnIdle(long count) override {
    idleCalls.fetch_add(1, std::memory_order_relaxed);
    return CWUIThread::OnIdle(count);
  }
  void OnMsgGetParam(CWGetSetData& r) override { r.SetInt(r.paramId); }
};

// Round trip: request to an idle worker, answer back, GUI thread waiting in
// the layer wait.
void BM_GuiToIdleWorkerRequest(benchmark::State& state) {
  IdleWorker worker;
  worker.StartUIThread();
  lv::ServeGuiEvents(20);
  std::vector<double> us;
  for (auto _ : state) {
    lv::SleepMs(0);
    const auto t0 = Clock::now();
    int32_t value = 0;
    worker.GetParam(&value, 5);
    const auto t1 = Clock::now();
    benchmark::DoNotOptimize(value);
    const double s = std::chrono::duration<double>(t1 - t0).count();
    state.SetIterationTime(s);
    us.push_back(s * 1e6);
  }
  state.counters["p50_us"] = Percentile(us, 0.50);
  state.counters["p99_us"] = Percentile(us, 0.99);
}

// Peer: the same round trip with a plain condition variable each way.
void BM_PlainConditionVariableRequest(benchmark::State& state) {
  std::mutex m;
  std::condition_variable cv;
  int request = 0;
  int answer = 0;
  bool quit = false;
  std::thread worker([&] {
    std::unique_lock<std::mutex> lock(m);
    for (;;) {
      cv.wait(lock, [&] { return request != 0 || quit; });
      if (quit) return;
      answer = request;
      request = 0;
      cv.notify_all();
    }
  });
  std::vector<double> us;
  for (auto _ : state) {
    const auto t0 = Clock::now();
    {
      std::unique_lock<std::mutex> lock(m);
      request = 5;
      answer = 0;
      cv.notify_all();
      cv.wait(lock, [&] { return answer != 0; });
    }
    const auto t1 = Clock::now();
    const double s = std::chrono::duration<double>(t1 - t0).count();
    state.SetIterationTime(s);
    us.push_back(s * 1e6);
  }
  {
    std::lock_guard<std::mutex> lock(m);
    quit = true;
  }
  cv.notify_all();
  worker.join();
  state.counters["p50_us"] = Percentile(us, 0.50);
  state.counters["p99_us"] = Percentile(us, 0.99);
}

// 16 idle workers over one second each iteration: how often they wake.
void BM_IdleWorkerWakeUps(benchmark::State& state) {
  std::vector<std::unique_ptr<IdleWorker>> workers;
  for (int i = 0; i < 16; ++i) {
    workers.push_back(std::make_unique<IdleWorker>());
    workers.back()->StartUIThread();
  }
  lv::ServeGuiEvents(50);
  double wakesPerSecond = 0;
  for (auto _ : state) {
    long before = 0;
    for (auto& w : workers) before += w->idleCalls.load();
    const auto t0 = Clock::now();
    lv::ServeGuiEvents(1000);
    const double s = std::chrono::duration<double>(Clock::now() - t0).count();
    long after = 0;
    for (auto& w : workers) after += w->idleCalls.load();
    wakesPerSecond = static_cast<double>(after - before) / s / 16.0;
    state.SetIterationTime(s);
  }
  state.counters["wakeups_per_s_per_worker"] = wakesPerSecond;
}

// GUI-thread time to take a handed-over 1600 x 900 frame and paint it.
void BM_ShowNewFrame1600x900(benchmark::State& state) {
  lv::FrameWindow frame(L"bench frame", lv::Rect{0, 0, 1800, 1100});
  frame.Show(true);
  lv::ChildWindow child(frame, L"bench child", lv::Rect{0, 0, 1620, 940});
  child.Show(true);
  lv::ServeGuiEvents(50);
  lv::Bitmap back(1600, 900);
  int n = 0;
  std::vector<double> us;
  for (auto _ : state) {
    back.Fill(lv::MakeRgb(n & 0xFF, 40, 200 - (n & 0x7F)));
    ++n;
    child.PresentFrame(back);  // the owner's side, not timed below
    const auto t0 = Clock::now();
    lv::test_hooks::RepaintNow(child.Id());
    const double s = std::chrono::duration<double>(Clock::now() - t0).count();
    state.SetIterationTime(s);
    us.push_back(s * 1e6);
  }
  state.counters["p50_us"] = Percentile(us, 0.50);
  state.counters["p99_us"] = Percentile(us, 0.99);
}

BENCHMARK(BM_GuiToIdleWorkerRequest)->UseManualTime()->Iterations(5000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PlainConditionVariableRequest)->UseManualTime()->Iterations(5000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_IdleWorkerWakeUps)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ShowNewFrame1600x900)->UseManualTime()->Iterations(300)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
  if (std::getenv("QT_QPA_PLATFORM") == nullptr) {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
  }
  if (std::getenv("XDG_RUNTIME_DIR") == nullptr) {
    const std::string dir = "/tmp/lv-bench-xdg-" + std::to_string(getuid());
    mkdir(dir.c_str(), 0700);
    setenv("XDG_RUNTIME_DIR", dir.c_str(), 1);
  }
  if (!lv::StartGuiRuntime()) {
    std::fprintf(stderr, "gui_bench: no window system\n");
    return 1;
  }
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  lv::ShutDownGuiRuntime();
  return 0;
}
