// CWPlot2D::DrawAll of one noisy float dataset of 10^4 .. 10^7 points into a
// 1600 x 900 image (grid, axes and the curve, auto-scaled), against a peer that
// does the least any plot must do: QPainter mapping the same floats to a
// QPolygonF and drawing it with a thin pen. Prints the time per draw, the ratio
// ours/peer, and the 10^6-point redraw against its 150 ms budget.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPolygonF>
#include <chrono>
#include <cstdio>
#include <random>
#include <vector>

#include "platform/gui/image_dc.h"
#include "plots/plot2d.h"

namespace {

constexpr int kWidth = 1600;
constexpr int kHeight = 900;

struct Trace {
  std::vector<float> x, y;
};

const Trace& TraceOf(int n) {
  static std::vector<std::pair<int, Trace>> cache;
  for (auto& [k, t] : cache)
    if (k == n) return t;
  Trace t;
  t.x.resize(n);
  t.y.resize(n);
  std::mt19937 rng(11);
  std::normal_distribution<float> noise(0.0f, 0.1f);
  for (int i = 0; i < n; ++i) {
    t.x[i] = static_cast<float>(i) * 1e-6f;
    t.y[i] = 0.7f * std::sin(i * 6.2831853f * 5.0f / n) + noise(rng);
  }
  cache.emplace_back(n, std::move(t));
  return cache.back().second;
}

double DrawAllMs(CWPlot2D& p, lv::ImageDc& dc) {
  const auto t0 = std::chrono::steady_clock::now();
  p.DrawAll(dc, false);
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
}

void BM_DrawAll(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  const Trace& t = TraceOf(n);
  CWPlot2D p;
  p.drawRect = lv::Rect{0, 0, kWidth, kHeight};
  p.xAxisType = 0;
  p.yAxisType = 6;
  p.SetDatasetData(t.x.data(), t.y.data(), n, 1);
  lv::ImageDc dc(kWidth, kHeight);
  for (auto _ : state) {
    p.DrawAll(dc, false);
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(n));
}
BENCHMARK(BM_DrawAll)->RangeMultiplier(10)->Range(10000, 10000000)->Unit(benchmark::kMillisecond);

void PeerDraw(const Trace& t, int n, QImage& image) {
  QPainter painter(&image);
  painter.fillRect(0, 0, kWidth, kHeight, Qt::black);
  painter.setPen(QPen(QColor(255, 255, 0), 0));
  const float sx = (kWidth - 97) / (t.x[n - 1] - t.x[0]);
  const float sy = -(kHeight - 50) / 2.0f;
  QPolygonF poly(n);
  for (int i = 0; i < n; ++i) poly[i] = QPointF(67 + (t.x[i] - t.x[0]) * sx, 450 + t.y[i] * sy);
  painter.drawPolyline(poly);
}

void BM_QPainterPeer(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  const Trace& t = TraceOf(n);
  QImage image(kWidth, kHeight, QImage::Format_RGB32);
  for (auto _ : state) {
    PeerDraw(t, n, image);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_QPainterPeer)->RangeMultiplier(10)->Range(10000, 10000000)->Unit(benchmark::kMillisecond);

void PrintSummary() {
  std::printf("\nDrawAll into %d x %d: ms per draw, ratio ours/QPainter peer (lower is better)\n", kWidth, kHeight);
  for (int n = 10000; n <= 10000000; n *= 10) {
    const Trace& t = TraceOf(n);
    CWPlot2D p;
    p.drawRect = lv::Rect{0, 0, kWidth, kHeight};
    p.SetDatasetData(t.x.data(), t.y.data(), n, 1);
    lv::ImageDc dc(kWidth, kHeight);
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    double ours = 1e300, peer = 1e300;
    for (int r = 0; r < 3; ++r) {
      ours = std::min(ours, DrawAllMs(p, dc));
      const auto t0 = std::chrono::steady_clock::now();
      PeerDraw(t, n, image);
      peer = std::min(peer, std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count());
    }
    std::printf("%9d points: %9.2f ms  peer %9.2f ms  ratio %.2f%s\n", n, ours, peer, ours / peer,
                n == 1000000 ? (ours < 150.0 ? "  (budget 150 ms: met)" : "  (budget 150 ms: MISSED)") : "");
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  PrintSummary();
  return 0;
}
