// A noisy 10^5-point polyline into a 1600 x 900 frame: the layer's line walk
// against Qt's QPainter polyline (thin pen, no antialiasing) on the same image
// type. Prints both times and the ratio ours / QPainter (target <= 0.25).
#include <benchmark/benchmark.h>

#include <QImage>
#include <QPainter>
#include <QPolygon>
#include <chrono>
#include <cstdio>
#include <random>
#include <vector>

#include "platform/gui/image_dc.h"

namespace {

constexpr int kWidth = 1600;
constexpr int kHeight = 900;
constexpr int kPoints = 100000;

std::vector<lv::Point> NoisyTrace() {
  std::mt19937 rng(7);
  std::normal_distribution<double> noise(0.0, 120.0);
  std::vector<lv::Point> pts(kPoints);
  for (int i = 0; i < kPoints; ++i) {
    const int x = 60 + static_cast<int>(static_cast<long long>(i) * (kWidth - 120) / kPoints);
    int y = static_cast<int>(kHeight / 2 + noise(rng));
    y = y < 10 ? 10 : y > kHeight - 10 ? kHeight - 10 : y;
    pts[i] = lv::Point{x, y};
  }
  return pts;
}

void BM_LayerPolyline(benchmark::State& state) {
  const std::vector<lv::Point> pts = NoisyTrace();
  lv::ImageDc dc(kWidth, kHeight);
  dc.SelectPen(lv::Pen::Solid(lv::MakeRgb(255, 255, 0), 0));
  for (auto _ : state) {
    dc.Polyline(pts.data(), kPoints);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_LayerPolyline)->Unit(benchmark::kMillisecond);

void BM_QPainterPolyline(benchmark::State& state) {
  const std::vector<lv::Point> pts = NoisyTrace();
  QPolygon polygon(kPoints);
  for (int i = 0; i < kPoints; ++i) polygon.setPoint(i, pts[i].x, pts[i].y);
  QImage image(kWidth, kHeight, QImage::Format_RGB32);
  image.fill(0);
  for (auto _ : state) {
    QPainter painter(&image);
    painter.setPen(QPen(QColor(255, 255, 0), 0));
    painter.drawPolyline(polygon);
    painter.end();
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_QPainterPolyline)->Unit(benchmark::kMillisecond);

// The ratio in one run (both measured back to back, best of several).
template <typename F>
double BestMs(F&& f, int runs) {
  double best = 1e300;
  for (int r = 0; r < runs; ++r) {
    const auto t0 = std::chrono::steady_clock::now();
    f();
    const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
    best = ms < best ? ms : best;
  }
  return best;
}

void PrintRatio() {
  const std::vector<lv::Point> pts = NoisyTrace();
  lv::ImageDc dc(kWidth, kHeight);
  dc.SelectPen(lv::Pen::Solid(lv::MakeRgb(255, 255, 0), 0));
  QPolygon polygon(kPoints);
  for (int i = 0; i < kPoints; ++i) polygon.setPoint(i, pts[i].x, pts[i].y);
  QImage image(kWidth, kHeight, QImage::Format_RGB32);
  image.fill(0);
  const double ours = BestMs([&] { dc.Polyline(pts.data(), kPoints); }, 10);
  const double peer = BestMs(
      [&] {
        QPainter painter(&image);
        painter.setPen(QPen(QColor(255, 255, 0), 0));
        painter.drawPolyline(polygon);
      },
      10);
  std::printf("10^5-point polyline, 1600x900: QPainter %.2f ms, ours %.2f ms, ratio ours/QPainter %.3f\n", peer,
              ours, ours / peer);
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  PrintRatio();
  benchmark::Shutdown();
  return 0;
}
