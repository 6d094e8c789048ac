// A new 2^20-sample waveform into a spectrogram window of 1600 x 900 client
// pixels, the whole road the plot thread takes (copy, compute for the image
// size, colour the bitmap, draw and hand over the frame), against the peer
// that does the least any spectrogram of that image must do: the spectrogram
// computation alone (CQAltTDSpgm with the same rows, columns, bandwidth and
// row step). Prints the time of each, the ratio ours/peer and the 0.1 s
// budget of the whole road.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <memory>

#include "core/arrays/carray.h"
#include "core/spectral/spectrogram.h"
#include "platform/gui/gui_runtime.h"
#include "platform/gui/window.h"
#include "plots/plot_spgm.h"
#include "plots/windows/spgm_window.h"

namespace {

constexpr int kPoints = 1 << 20;
constexpr double kRate = 30.72e6;
constexpr int kClientWidth = 1600;
constexpr int kClientHeight = 900;

std::unique_ptr<CQCArrayTD> Waveform() {
  // Two chirps and a tone over noise-free samples: any content costs the same.
  auto a = std::make_unique<CQCArrayTD>(kPoints);
  CQComplex* p = a->GetDataPtr();
  const double k = 0.8 * kRate / (kPoints / kRate);
  for (int i = 0; i < kPoints; ++i) {
    const double t = i / kRate;
    const double phase = 2.0 * M_PI * (-0.4 * kRate * t + 0.5 * k * t * t);
    const double tone = 2.0 * M_PI * 3e6 * t;
    p[i].re = static_cast<float>(std::cos(phase) + 0.1 * std::cos(tone));
    p[i].im = static_cast<float>(std::sin(phase) + 0.1 * std::sin(tone));
  }
  a->SetSampleRate(kRate);
  a->SetCenterFreq(2.4e9);
  return a;
}

struct Setup {
  std::unique_ptr<lv::FrameWindow> frame;
  std::unique_ptr<CWPlotSpgmWndw> window;
  std::unique_ptr<CQCArrayTD> data;
};

Setup& TheSetup() {
  static Setup s = [] {
    Setup x;
    x.frame = std::make_unique<lv::FrameWindow>(L"Lumvard Sorvek", lv::Rect{0, 0, 1900, 1100});
    x.window = std::make_unique<CWPlotSpgmWndw>();
    x.window->Create(*x.frame, L"Spectrogram 1", lv::Rect{0, 0, 400, 400});
    const lv::Size c = x.window->Window()->ClientSize();
    x.window->Window()->MoveSize(lv::Rect{0, 0, 400 + kClientWidth - c.cx, 400 + kClientHeight - c.cy});
    x.window->OnSize(kClientWidth, kClientHeight);
    x.data = Waveform();
    return x;
  }();
  return s;
}

// The plot thread's road for new data.
void NewWaveform(Setup& s) {
  s.window->SetInputData(s.data.get());
  s.window->Compute();
  s.window->Engine().DrawSpgm();
  s.window->OnPaint();
}

// The computation alone with what the window asked of its engine.
void ComputationAlone(Setup& s, CQAltTDSpgm& spgm, const CQCArrayTD& subset) {
  const CWPlotSpgm& e = s.window->Engine();
  spgm.SetParameters(false, e.rows, e.columns, e.startFreq, e.stopFreq, e.timeRange, e.rbw);
  spgm.SetDSPWindowShape(e.windowShape);
  spgm.SetInputData(&subset);
  spgm.Compute();
}

void BM_NewWaveformIntoWindow(benchmark::State& state) {
  Setup& s = TheSetup();
  for (auto _ : state) {
    NewWaveform(s);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_NewWaveformIntoWindow)->Unit(benchmark::kMillisecond);

void BM_SpectrogramComputationPeer(benchmark::State& state) {
  Setup& s = TheSetup();
  NewWaveform(s);
  const CQCArrayTD* subset = s.window->Engine().GetInput();
  CQAltTDSpgm spgm;
  for (auto _ : state) {
    ComputationAlone(s, spgm, *subset);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_SpectrogramComputationPeer)->Unit(benchmark::kMillisecond);

double Ms(std::chrono::steady_clock::time_point t0) {
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
}

void PrintSummary() {
  Setup& s = TheSetup();
  NewWaveform(s);
  CQCArrayTD subset;
  subset.Set(s.window->Engine().GetInput());
  CQAltTDSpgm spgm;
  double ours = 1e300, peer = 1e300;
  for (int r = 0; r < 5; ++r) {
    auto t0 = std::chrono::steady_clock::now();
    NewWaveform(s);
    ours = std::min(ours, Ms(t0));
    t0 = std::chrono::steady_clock::now();
    ComputationAlone(s, spgm, subset);
    peer = std::min(peer, Ms(t0));
  }
  const CWPlotSpgm& e = s.window->Engine();
  std::printf("\n2^20 samples into a %d x %d spectrogram window (image %d rows x %d columns, RBW %.0f Hz)\n",
              kClientWidth, kClientHeight, e.rows, e.columns, e.rbw);
  std::printf("whole road %8.2f ms   computation alone %8.2f ms   ratio ours/peer %.2f   (budget 100 ms: %s)\n",
              ours, peer, ours / peer, ours < 100.0 ? "met" : "MISSED");
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  if (!lv::StartGuiRuntime()) return 1;
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  PrintSummary();
  TheSetup().window.reset();
  TheSetup().frame.reset();
  lv::ShutDownGuiRuntime();
  return 0;
}
