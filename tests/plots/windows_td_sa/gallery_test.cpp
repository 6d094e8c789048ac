// Pictures of the time-domain plot types (a tone and a chirp) and of the
// spectrum with its measurements, for a person to look at:
// <build>/gallery/plots_windows (ctest -L gallery runs these alone).
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "core/arrays/carray.h"
#include "platform/gui/image_dc.h"
#include "plots/colors.h"
#include "plots/plot2d.h"
#include "plots/windows/spectrum_model.h"
#include "plots/windows/time_domain_model.h"
#include "support/gui_app.h"

namespace {

constexpr double kRate = 10e6;

std::unique_ptr<CQCArrayTD> Signal(bool chirp, int n) {
  std::vector<CQComplex> v(n);
  for (int k = 0; k < n; ++k) {
    const double t = k / kRate;
    // The chirp sweeps -2 .. +2 MHz over the record.
    const double ph = chirp ? 2.0 * M_PI * (-2e6 * t + 0.5 * (4e6 / (n / kRate)) * t * t) : 2.0 * M_PI * 1e6 * t;
    const double a = chirp ? 0.7 : 0.5;
    v[k] = CQComplex(static_cast<float>(a * std::cos(ph)), static_cast<float>(a * std::sin(ph)));
  }
  auto w = std::make_unique<CQCArrayTD>();
  w->Set(v.data(), n, kRate, 0.0);
  w->SetCenterFreq(2.4e9);
  return w;
}

class SpectrumPlot : public CWPlot2D {
 public:
  CWSpectrumModel model;

 protected:
  void PaintOverlay(lv::DeviceContext& dc) override {
    model.PaintACPR(dc, *this);
    model.PaintPiB(dc, *this);
  }
};

class WindowsGallery : public ::testing::Test {
 protected:
  void SetUp() override { lv_test::EnsureGuiApplication(); }
  // In the windows' screen colours.
  static void Save(CWPlot2D& p, const std::string& name) {
    const CWColorScheme s = CWColorScheme::Screen();
    p.SetColors(s.axesLabel, s.notation, 0, s.background);
    p.gridColor = s.grid;
    for (int i = 0; i < CWPlot2D::kMaxDatasets; ++i) p.datasetColor[i] = s.dataset[i];
    p.memoryColor[0] = s.memory[0];
    p.memoryColor[1] = s.memory[1];
    lv::ImageDc dc(800, 450, s.offScreenBackground);
    p.drawRect = lv::Rect{0, 0, 800, 450};
    p.DrawAll(dc, false);
    ASSERT_TRUE(dc.GetBitmap().Save(lv_test::GalleryFolder("plots_windows") + "/" + name));
  }
};

TEST_F(WindowsGallery, TimeDomainPlotTypes) {
  for (bool chirp : {false, true}) {
    auto w = Signal(chirp, chirp ? 2000 : 200);
    for (int type = 0; type < CWTimeDomainModel::kNumPlotTypes; ++type) {
      CWPlot2D p;
      CWTimeDomainModel m;
      m.iqNaming = true;
      m.plotType = type;
      m.SetData(w.get());
      ASSERT_TRUE(m.BuildDatasets(p));
      Save(p, std::string("td_") + (chirp ? "chirp" : "tone") + "_type" + std::to_string(type) + ".png");
    }
  }
}

TEST_F(WindowsGallery, SpectrumAndMeasurements) {
  const int n = 1 << 16;
  std::vector<CQComplex> v(n);
  for (int k = 0; k < n; ++k) {
    double re = 0.0, im = 0.0;
    for (auto [f, a] : {std::pair{100e3, 0.5}, std::pair{1.3e6, 0.05}, std::pair{-1.1e6, 0.02}}) {
      re += a * std::cos(2.0 * M_PI * f * k / kRate);
      im += a * std::sin(2.0 * M_PI * f * k / kRate);
    }
    v[k] = CQComplex(static_cast<float>(re), static_cast<float>(im));
  }
  CQCArrayTD w;
  w.Set(v.data(), n, kRate, 0.0);
  w.SetCenterFreq(2.4e9);
  for (int which = 0; which < 3; ++which) {
    SpectrumPlot p;
    CWSpectrumModel::ConfigurePlot(p);
    p.model.SetData(&w);
    if (which == 1) {
      CQACPRMeasBands b;
      b.adjacent2On = true;
      p.model.ApplyACPR(p, true, b);
    } else if (which == 2) {
      CQPiBMeasBandList bands(2);
      bands.SetSize(2);
      bands.GetItem(0)->on = true;
      bands.GetItem(0)->freq = 100e3;
      bands.GetItem(0)->bandwidth = 500e3;
      bands.GetItem(0)->avgFactor = 1;
      bands.GetItem(1)->on = true;
      bands.GetItem(1)->freq = 1.3e6;
      bands.GetItem(1)->bandwidth = 300e3;
      bands.GetItem(1)->avgFactor = 1;
      p.model.ApplyPiB(p, true, bands);
    }
    ASSERT_TRUE(p.model.ComputeSpectrum(p, L"Spectrum 1", nullptr));
    ASSERT_TRUE(p.model.BuildPlot(p));
    static const char* const kNames[] = {"sa_spectrum.png", "sa_acpr.png", "sa_pib.png"};
    Save(p, kNames[which]);
  }
}

}  // namespace
