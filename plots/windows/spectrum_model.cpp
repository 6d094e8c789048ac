#include "plots/windows/spectrum_model.h"

#include <cmath>
#include <memory>

#include "core/array_math.h"
#include "core/arrays/farray.h"
#include "core/call_stack.h"
#include "core/error.h"
#include "platform/gui/device_context.h"
#include "platform/text.h"
#include "plots/colors.h"
#include "plots/plot2d.h"

namespace {

constexpr int32_t kACPRBlockColor = 6;
constexpr int32_t kPiBBlockColors[CWSpectrumModel::kNumPiBBands] = {15, 17};
constexpr int32_t kPiBTextColors[CWSpectrumModel::kNumPiBBands] = {4, 16};

void AddBlock(CWPlot2D& plot, double middle, double width, int32_t color, int32_t pattern) {
  CWBackgroundBlock b;
  b.on = true;
  b.xStart = middle - width / 2.0;
  b.xEnd = middle + width / 2.0;
  b.color = color;
  b.pattern = pattern;
  plot.BackgroundBlocks().AddItem(&b);
}

float PowerdBm(float watts) {
  return watts <= 0.0f ? -200.0f : static_cast<float>(10.0 * std::log10(static_cast<double>(watts)) + 30.0);
}

float RatiodB(float ratio) {
  const float a = std::fabs(ratio);
  return a < 1e-20f ? -200.0f : static_cast<float>(10.0 * std::log10(static_cast<double>(a)));
}

std::wstring Wide(const std::string& s) { return lv::Utf8ToWide(s); }

}  // namespace

CWSpectrumModel::CWSpectrumModel() {
  avg_.SetAutoFreqLimits(true);
  avg_.SetAutoNumFreqs(false);
  avg_.SetNumFreqs(501);
  avg_.SetAutoRBW(true);
  avg_.SetAutoNumAvgs(true);
  avg_.SetNumAvgs(CQAvgSpectrum::kAutoNumAvgs);
}

void CWSpectrumModel::ConfigurePlot(CWPlot2D& plot) {
  plot.yAutoScale = false;
  plot.yMin = -80.0;
  plot.yMax = 20.0;
}

std::wstring CWSpectrumModel::RBWNotation(double b) {
  if (b >= 1e9) return Wide(lv::FormatC("RBW|%.1lf|GHz", b / 1e9));
  if (b >= 1e6) return Wide(lv::FormatC("RBW|%.1lf|MHz", b / 1e6));
  if (b >= 1e3) return Wide(lv::FormatC("RBW|%.1lf|kHz", b / 1e3));
  return Wide(lv::FormatC("RBW|%.0lf|Hz", b));
}

std::wstring CWSpectrumModel::SpanNotation(double s) {
  if (s >= 1e9) return Wide(lv::FormatC("Span|%.2lf|GHz", s / 1e9));
  if (s >= 1e6) return Wide(lv::FormatC("Span|%.2lf|MHz", s / 1e6));
  if (s >= 1e3) return Wide(lv::FormatC("Span|%.2lf|kHz", s / 1e3));
  return Wide(lv::FormatC("Span|%.0lf|Hz", s));
}

void CWSpectrumModel::SetData(const CQCArrayTD* input) {
  lv::Named("CWPlotSAWndw::SetData", [&] {
    if (input == nullptr || input->GetDataPtr() == nullptr || input->GetNumPoints() <= 0) {
      return;
    }
    if (!input_) {
      input_ = std::make_unique<CQCArrayTD>();
    }
    input_->Set(input);
  });
}

bool CWSpectrumModel::HasSpectrum() const {
  return spectrum_ && spectrum_->GetDataPtr() != nullptr && spectrum_->GetNumPoints() > 0;
}

bool CWSpectrumModel::ComputeSpectrum(CWPlot2D& plot, const wchar_t* title, CWSampleMarker* marker) {
  if (!input_) {
    return false;
  }
  if (!spectrum_) {
    spectrum_ = std::make_unique<CQFArrayFD>();
  }
  avg_.SetInputData(input_.get());
  avg_.Compute();
  const CQFArrayFD* result = avg_.GetSpectrum();
  if (result == nullptr || result->GetDataPtr() == nullptr || result->GetNumPoints() <= 0) {
    return false;
  }
  const int n = result->GetNumPoints();
  {
    std::unique_ptr<float, void (*)(float*)> dBm(CQArrayMath::AllocFloat(n), [](float* p) { CQArrayMath::Free(p); });
    CQArrayMath::WattsTodBm(result->GetDataPtr(), dBm.get(), n);
    spectrum_->Set(dBm.get(), n, result->GetStartFreq(), result->GetFreqStep(), 0.0);
    spectrum_->SetRBW(result->GetRBW());
  }
  if (marker != nullptr) {
    SnapMarker(*marker);
  }
  plot.BackgroundBlocks().Clear();
  if (acprOn) {
    acprMeas_.SetNoiseBW(avg_.GetNBW());
    acprMeas_.SetSpectrum(result);
    acprMeas_.SetBands(&acprBands_);
    acprMeas_.Compute();
    RebuildBlocks(plot);
    acprBands_.SetName(title);
  }
  if (pibOn) {
    pibMeas_.SetNoiseBW(avg_.GetNBW());
    pibMeas_.SetSpectrum(result);
    pibMeas_.SetBandList(&pibBands_);
    pibMeas_.Compute();
    RebuildBlocks(plot);
  }
  return true;
}

void CWSpectrumModel::RebuildBlocks(CWPlot2D& plot) const {
  plot.BackgroundBlocks().Clear();
  if (!HasSpectrum()) {
    return;
  }
  const double c = (spectrum_->GetStartFreq() + spectrum_->GetStopFreq()) / 2.0;
  if (acprOn) {
    const CQACPRMeasBands& b = acprBands_;
    AddBlock(plot, c + b.centerOffset, b.centerBW, kACPRBlockColor, 0);
    const double r = b.adjRelToCenter ? c + b.centerOffset : c;
    AddBlock(plot, r - b.adjacentOffset, b.adjacentBW, kACPRBlockColor, 1);
    AddBlock(plot, r + b.adjacentOffset, b.adjacentBW, kACPRBlockColor, 1);
    if (b.adjacent2On) {
      AddBlock(plot, r - b.adjacent2Offset, b.adjacent2BW, kACPRBlockColor, 2);
      AddBlock(plot, r + b.adjacent2Offset, b.adjacent2BW, kACPRBlockColor, 2);
    }
    if (b.extraOn) {
      AddBlock(plot, r + b.extraOffset, b.extraBW, kACPRBlockColor, 3);
    }
  }
  if (pibOn) {
    auto& list = const_cast<CQPiBMeasBandList&>(pibBands_);
    const int count = list.GetSize() < kNumPiBBands ? list.GetSize() : kNumPiBBands;
    for (int i = 0; i < count; ++i) {
      const CQPiBMeasBand* band = list.GetItem(i);
      if (band->on) {
        AddBlock(plot, band->spectrumMiddle + band->freq, band->bandwidth, kPiBBlockColors[i], 0);
      }
    }
  }
}

bool CWSpectrumModel::BuildPlot(CWPlot2D& plot) const {
  if (!HasSpectrum()) {
    return false;
  }
  const int n = spectrum_->GetNumPoints();
  std::unique_ptr<CQDArray> freqs(spectrum_->MakeCopyOfFreq());
  plot.SetNumDatasets(1);
  plot.SetDatasetData(freqs->GetDataPtr(), spectrum_->GetDataPtr(), n, 1);
  plot.xAxisType = 2;
  plot.yAxisType = 13;
  plot.xLog = false;
  plot.yLog = false;
  plot.xAutoScale = true;
  plot.SetTopLeftNotation(RBWNotation(spectrum_->GetRBW()).c_str());
  plot.topLeftNotationOn = true;
  plot.SetBottomLeftNotation(SpanNotation(spectrum_->GetStopFreq() - spectrum_->GetStartFreq()).c_str());
  plot.bottomLeftNotationOn = true;
  return true;
}

void CWSpectrumModel::PaintACPR(lv::DeviceContext& dc, const CWPlot2D& plot) const {
  if (!acprOn) {
    return;
  }
  const int32_t B = plot.drawRect.bottom;
  const int32_t L = plot.plotArea.left;
  const int32_t R = plot.plotArea.right;
  dc.SelectFont(lv::NormalFont());
  dc.SetBkMode(lv::BkMode::kTransparent);
  dc.SetTextAlign(lv::TextAlign{lv::HAlign::kCenter, lv::VAlign::kBaseline});
  const lv::Color centreColor = lv::MakeRgb(0, 160, 50);
  const lv::Color adjacentColor = lv::MakeRgb(120, 140, 255);
  const lv::Color adjacent2Color = lv::MakeRgb(254, 100, 0);
  struct Column {
    const wchar_t* label;
    int32_t x;
    lv::Color color;
    float power;
    const float* ratio;  // none for the centre
  };
  const CQACPRMeasBands& b = acprBands_;
  const Column columns[] = {
      {L"Center", (L + R) / 2, centreColor, b.centerPowerAvg, nullptr},
      {L"Lower", L + (R - L) / 4, adjacentColor, b.lowerPowerAvg, &b.lowerRatioAvg},
      {L"Upper", L + 3 * (R - L) / 4, adjacentColor, b.upperPowerAvg, &b.upperRatioAvg},
      {L"Lower2", L, adjacent2Color, b.lower2PowerAvg, &b.lower2RatioAvg},
      {L"Upper2", R, adjacent2Color, b.upper2PowerAvg, &b.upper2RatioAvg},
  };
  const int shown = b.adjacent2On ? 5 : 3;
  for (int i = 0; i < shown; ++i) {
    const Column& col = columns[i];
    dc.SetTextColor(col.color);
    dc.TextOut(col.x, B - 28, col.label);
    if (b.resultsValid) {
      dc.TextOut(col.x, B - 16, Wide(lv::FormatC("%.1f dBm", static_cast<double>(PowerdBm(col.power)))));
      if (col.ratio != nullptr) {
        dc.TextOut(col.x, B - 4, Wide(lv::FormatC("%.1f dB", static_cast<double>(RatiodB(*col.ratio)))));
      }
    }
  }
}

void CWSpectrumModel::PaintPiB(lv::DeviceContext& dc, const CWPlot2D& plot) {
  if (!pibOn) {
    return;
  }
  const int32_t B = plot.drawRect.bottom;
  const int32_t L = plot.plotArea.left;
  const int32_t R = plot.plotArea.right;
  dc.SelectFont(lv::NormalFont());
  dc.SetBkMode(lv::BkMode::kTransparent);
  const int count = pibBands_.GetSize() < kNumPiBBands ? pibBands_.GetSize() : kNumPiBBands;
  bool allValid = count > 0;
  for (int i = 0; i < count; ++i) {
    const CQPiBMeasBand* band = pibBands_.GetItem(i);
    const int32_t x = i == 0 ? L : R;
    dc.SetTextAlign(lv::TextAlign{i == 0 ? lv::HAlign::kLeft : lv::HAlign::kRight, lv::VAlign::kBaseline});
    dc.SetTextColor(CWColors::GetRGBColor(kPiBTextColors[i]));
    const int32_t y = B - 28;
    const double f = band->spectrumMiddle + band->freq;
    std::string cf;
    if (f >= 1e9) {
      cf = lv::FormatC("CF %.6lf GHz", f / 1e9);
    } else if (f >= 1e6) {
      cf = lv::FormatC("CF %.6lf MHz", f / 1e6);
    } else {
      cf = lv::FormatC("CF %.3lf kHz", f / 1e3);
    }
    dc.TextOut(x, y, Wide(cf));
    const double w = band->bandwidth;
    std::string bw;
    if (w >= 1e6) {
      bw = lv::FormatC("BW %.4lf MHz", w / 1e6);
    } else if (w >= 1e3) {
      bw = lv::FormatC("BW %.4lf kHz", w / 1e3);
    } else {
      bw = lv::FormatC("BW %.0lf Hz", w);
    }
    dc.TextOut(x, y + 12, Wide(bw));
    if (band->valid) {
      dc.TextOut(x, y + 24, Wide(lv::FormatC("%.1f dBm", static_cast<double>(band->powerdBm))));
    } else {
      allValid = false;
    }
  }
  // The difference needs both bands.
  if (allValid && count == kNumPiBBands) {
    dc.SetTextAlign(lv::TextAlign{lv::HAlign::kCenter, lv::VAlign::kBaseline});
    dc.SetTextColor(lv::MakeRgb(255, 0, 0));
    dc.TextOut((L + R) / 2, B - 16, L"Delta");
    const double delta = static_cast<double>(pibBands_.GetItem(0)->powerdBm) - pibBands_.GetItem(1)->powerdBm;
    dc.TextOut((L + R) / 2, B - 4, Wide(lv::FormatC("%.1f dB", delta)));
  }
}

void CWSpectrumModel::SnapMarker(CWSampleMarker& marker) const {
  if (!marker.on || !HasSpectrum()) {
    return;
  }
  const double step = spectrum_->GetFreqStep();
  const int32_t n = spectrum_->GetNumPoints();
  if (!(step > 0.0)) {
    return;
  }
  const int64_t k = NearestGridIndex(marker.x, spectrum_->GetStartFreq(), step);
  if (k < 0 || k >= n) {
    marker.on = false;
    return;
  }
  marker.x = spectrum_->GetStartFreq() + static_cast<double>(k) * step;
  marker.value = spectrum_->GetDataPtr()[k];
  marker.twoValues = false;
}

bool CWSpectrumModel::StepMarker(CWSampleMarker& marker, int32_t step) const {
  if (!HasSpectrum() || !(spectrum_->GetFreqStep() > 0.0)) {
    return false;
  }
  const double df = spectrum_->GetFreqStep();
  const int64_t k = SteppedGridIndex(marker.x, spectrum_->GetStartFreq(), df, step, spectrum_->GetNumPoints());
  marker.x = spectrum_->GetStartFreq() + static_cast<double>(k) * df;
  marker.value = spectrum_->GetDataPtr()[k];
  marker.twoValues = false;
  return true;
}

namespace {
// A measurement switched on or off: its old band blocks go, and the plot
// makes room under itself for the read-outs (or gives that room back).
void ClearBlocksAndSetMargin(CWPlot2D& plot, bool measuring) {
  plot.BackgroundBlocks().Clear();
  plot.bottomMargin = measuring ? plot.defaultBottomMargin + CWSpectrumModel::kMeasurementMargin : -1;
}
}  // namespace

void CWSpectrumModel::ApplyACPR(CWPlot2D& plot, bool on, const CQACPRMeasBands& bands) {
  if (pibOn) {
    throw new CQError(kACPRRefused);
  }
  ClearBlocksAndSetMargin(plot, on);
  acprOn = on;
  if (on) {
    acprBands_.Set(&bands);
    acprBands_.ResetResults();
  }
}

void CWSpectrumModel::ApplyPiB(CWPlot2D& plot, bool on, const CQPiBMeasBandList& bands) {
  if (acprOn) {
    throw new CQError(kPiBRefused);
  }
  ClearBlocksAndSetMargin(plot, on);
  pibOn = on;
  if (on) {
    pibBands_.Set(&bands);
    pibBands_.ResetAveraging();
  }
}

void CWSpectrumModel::ResetMeasurementAveraging() {
  if (acprOn) {
    acprBands_.ResetResults();
  }
  if (pibOn) {
    for (int i = 0; i < pibBands_.GetSize(); ++i) {
      pibBands_.GetItem(i)->ResetAveraging();
    }
  }
}
