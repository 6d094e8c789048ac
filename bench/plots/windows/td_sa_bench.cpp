// A new 2^20-sample waveform reaching the time-domain and spectrum windows:
// the real windows (CWPlotCTDWndw, CWPlotSAWndw) with a 1600 x 900 plot
// surface copy it, compute and redraw (SetData, ComputeSpectrum, DrawPlot),
// the whole step against its budget of 100 ms for both windows together. The peer of the
// spectrum step is the averaged-spectrum computation alone (CQAvgSpectrum on
// the same input and settings): the printed ratio is what the window adds
// (dBm conversion, measurement, plot hand-off and drawing) on top of it.
#include <benchmark/benchmark.h>

#include <QByteArray>
#include <QtGlobal>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <memory>
#include <random>
#include <vector>

#include "core/arrays/carray.h"
#include "core/spectral/avg_spectrum.h"
#include "platform/gui/gui_runtime.h"
#include "platform/gui/window.h"
#include "plots/windows/spectrum_model.h"
#include "plots/windows/spectrum_window.h"
#include "plots/windows/time_domain_model.h"
#include "plots/windows/time_domain_window.h"

namespace {

constexpr int kWidth = 1600;
constexpr int kHeight = 900;
constexpr int kN = 1 << 20;
constexpr double kRate = 10e6;

// A 1 MHz tone with a little noise, as a played waveform looks.
const CQCArrayTD& Waveform() {
  static std::unique_ptr<CQCArrayTD> w = [] {
    std::vector<CQComplex> v(kN);
    std::mt19937 rng(7);
    std::normal_distribution<float> noise(0.0f, 0.01f);
    for (int k = 0; k < kN; ++k) {
      const double ph = 2.0 * M_PI * 1e6 * k / kRate;
      v[k] = CQComplex(static_cast<float>(0.5 * std::cos(ph)) + noise(rng),
                       static_cast<float>(0.5 * std::sin(ph)) + noise(rng));
    }
    auto a = std::make_unique<CQCArrayTD>();
    a->Set(v.data(), kN, kRate, 0.0);
    a->SetCenterFreq(2.4e9);
    return a;
  }();
  return *w;
}

lv::FrameWindow& Frame() {
  static lv::FrameWindow frame(L"Bench", lv::Rect{0, 0, 1800, 1100});
  return frame;
}

// A window whose plot surface (client area less the toolbar) is 1600 x 900.
template <typename W>
void Create(W& w, const wchar_t* title) {
  w.CreateToolWindow(title, lv::Rect{0, 0, 1700, 1000}, Frame());
  w.Window()->Show(true);
  lv::ServeGuiEvents(50);
  const lv::Size c = w.Window()->ClientSize();
  const lv::Rect g = w.Window()->Geometry();
  w.Window()->MoveSize(lv::Rect{g.left, g.top, g.left + (g.Width() - c.cx) + kWidth + w.ToolbarWidth(),
                                g.top + (g.Height() - c.cy) + kHeight});
  lv::WindowMessage size;
  size.window = w.Window()->Id();
  size.kind = lv::WindowMessageKind::kSize;
  size.a = kWidth + w.ToolbarWidth();
  size.b = kHeight;
  w.OnWindowMessage(size);
}

struct TimeDomain {
  CWPlotCTDWndw w;
  explicit TimeDomain(int type) {
    Create(w, L"Time Domain 1");
    w.SetIQNaming(true);
    w.SetPlotType(type);
  }
  void NewData() {
    w.SetData(&Waveform());
    w.DrawPlot();
  }
};

struct Spectrum {
  CWPlotSAWndw w;
  explicit Spectrum(bool acpr) {
    Create(w, L"Spectrum 1");
    if (acpr) w.ApplyACPR(true, CQACPRMeasBands());
  }
  void NewData() {
    w.SetData(&Waveform());
    w.ComputeSpectrum();
    w.DrawPlot();
  }
};

void BM_TimeDomainNewData(benchmark::State& state) {
  TimeDomain td(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    td.NewData();
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_TimeDomainNewData)->DenseRange(0, 5)->Unit(benchmark::kMillisecond);

void BM_SpectrumNewData(benchmark::State& state) {
  Spectrum sa(state.range(0) != 0);
  for (auto _ : state) {
    sa.NewData();
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_SpectrumNewData)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_AvgSpectrumAlone(benchmark::State& state) {
  std::unique_ptr<CQCArrayTD> copy(Waveform().MakeCopy());
  CWSpectrumModel settings;  // the window's averager settings
  CQAvgSpectrum& avg = settings.AvgSpectrum();
  avg.SetInputData(copy.get());
  for (auto _ : state) {
    avg.Compute();
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_AvgSpectrumAlone)->Unit(benchmark::kMillisecond);

template <typename F>
double BestMs(F&& f, int repeats = 5) {
  double best = 1e300;
  for (int r = 0; r < repeats; ++r) {
    const auto t0 = std::chrono::steady_clock::now();
    f();
    best = std::min(best, std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count());
  }
  return best;
}

void PrintSummary() {
  {
    TimeDomain probe(0);
    std::printf("\nA new %d-sample waveform in both windows (plot surface %d x %d), best of 5:\n", kN,
                probe.w.drawRect.Width(), probe.w.drawRect.Height());
  }
  double worstTd = 0.0;
  for (int type = 0; type < CWTimeDomainModel::kNumPlotTypes; ++type) {
    TimeDomain td(type);
    const double ms = BestMs([&] { td.NewData(); });
    // The plot engine's drawing of the same datasets alone.
    const double draw = BestMs([&] { td.w.DrawAll(td.w.OffScreenDc(), false); });
    worstTd = std::max(worstTd, ms);
    std::printf("  time domain, type %d %-32ls %8.2f ms  (of which DrawAll %8.2f ms)\n", type,
                CWTimeDomainModel::PlotTypeText(type, true).c_str(), ms, draw);
  }
  Spectrum plain(false), acpr(true);
  const double sa = BestMs([&] { plain.NewData(); });
  const double saAcpr = BestMs([&] { acpr.NewData(); });
  std::unique_ptr<CQCArrayTD> copy(Waveform().MakeCopy());
  CWSpectrumModel settings;
  settings.AvgSpectrum().SetInputData(copy.get());
  const double alone = BestMs([&] { settings.AvgSpectrum().Compute(); });
  std::printf("  spectrum                                        %8.2f ms\n", sa);
  std::printf("  spectrum with ACPR                              %8.2f ms\n", saAcpr);
  std::printf("  averaged spectrum alone (peer)                  %8.2f ms\n", alone);
  std::printf("  ratio spectrum step / averaged spectrum alone:  %.3f (with ACPR %.3f)\n", sa / alone,
              saAcpr / alone);
  const double total = worstTd + std::max(sa, saAcpr);
  std::printf("  both windows, slowest plot type and ACPR on:    %8.2f ms  (budget 100 ms: %s)\n", total,
              total < 100.0 ? "met" : "MISSED");
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  if (!lv::StartGuiRuntime()) {
    std::fprintf(stderr, "no window system\n");
    return 1;
  }
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  PrintSummary();
  lv::ShutDownGuiRuntime();
  return 0;
}
