// Drawing of the plot engine: background, blocks, grid, axes, legend,
// notations, data and frame. Pens and brushes are selected per step and the
// previous ones restored before the step returns, on every path.
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cwchar>
#include <new>
#include <algorithm>

#include "core/call_stack.h"
#include "core/error.h"
#include "plots/axis_scale.h"
#include "plots/colors.h"
#include "plots/plot2d.h"

namespace {

using lv::Named;

lv::Color Rgb(int32_t index) { return CWColors::GetRGBColor(index); }

// Restores the pen that was selected before, on every path.
class PenScope {
 public:
  PenScope(lv::DeviceContext& dc, const lv::Pen& pen) : dc_(dc), old_(dc.SelectPen(pen)) {}
  ~PenScope() { dc_.SelectPen(old_); }
  PenScope(const PenScope&) = delete;
  PenScope& operator=(const PenScope&) = delete;

 private:
  lv::DeviceContext& dc_;
  lv::Pen old_;
};

// Formats with "%.*f" in the C locale without allocating; the result is
// widened into out (a fixed buffer).
std::wstring_view FormatFixed(double v, int decimals, wchar_t (&out)[64]) {
  char buf[64];
  auto r = std::to_chars(buf, buf + sizeof(buf) - 1, v, std::chars_format::fixed, decimals);
  size_t n = r.ec == std::errc() ? static_cast<size_t>(r.ptr - buf) : 0;
  for (size_t i = 0; i < n; ++i) out[i] = static_cast<wchar_t>(buf[i]);
  return std::wstring_view(out, n);
}

std::wstring_view FormatInt(const char* prefix, long long v, wchar_t (&out)[64]) {
  char buf[64];
  size_t n = 0;
  for (const char* p = prefix; *p; ++p) buf[n++] = *p;
  auto r = std::to_chars(buf + n, buf + sizeof(buf), v);
  n = static_cast<size_t>(r.ptr - buf);
  for (size_t i = 0; i < n; ++i) out[i] = static_cast<wchar_t>(buf[i]);
  return std::wstring_view(out, n);
}

// The decades c with c/min >= 0.9 and c/max < 1.1 of a logarithmic axis.
double FirstDecade(double minimum) {
  double l = std::log10(minimum);
  l = l < 0.0 ? l - 0.001 : l + 0.001;
  double c = std::pow(10.0, std::trunc(l));
  for (int i = 0; i < 400 && c / minimum < 0.9; ++i) c *= 10.0;
  return c;
}

}  // namespace

void CWPlot2D::DrawAll(lv::DeviceContext& dc, bool widePens) {
  Named("CWPlot2D::DrawAll", [&] {
    if (!hasData) {
      PaintBackground(dc);
      return;
    }
    AutoScale();
    PaintBackground(dc);
    PaintBackgroundBlocks(dc);
    if (gridOn) PaintGrid(dc);
    PaintAxes(dc);
    PaintLegend(dc);
    PaintNotations(dc);
    PlotData(dc, widePens);
    if (gridOn) PaintFrame(dc);
    PaintMarkers(dc);
    PaintOverlay(dc);
  });
}

void CWPlot2D::PaintBackground(lv::DeviceContext& dc) {
  Named("CWPlot2D::PaintBackground", [&] { dc.FillRect(drawRect, lv::Brush::Solid(Rgb(backgroundColor))); });
}

void CWPlot2D::PaintBackgroundBlocks(lv::DeviceContext& dc) {
  Named("CWPlot2D::PaintBackgroundBlocks", [&] {
    for (int32_t i = 0; i < backgroundBlocks_.GetCount(); ++i) {
      const CWBackgroundBlock* b = backgroundBlocks_.GetItem(i);
      if (!b->on) continue;
      const auto hatch = CWBackgroundBlock::HatchOf(b->pattern);
      if (!hatch) continue;
      const lv::Color c = Rgb(b->color);
      PenScope pen(dc, lv::Pen::Solid(c, 0));
      int32_t x0, y0, x1, y1;
      ClampToPixel(b->xStart, yMin, x0, y0);
      ClampToPixel(b->xEnd, yMax, x1, y1);
      const lv::BkMode oldMode = dc.SetBkMode(lv::BkMode::kTransparent);
      const lv::Color oldBk = dc.SetBkColor(Rgb(backgroundColor));
      dc.FillRect(lv::Rect{x0, y1, x1, y0}, lv::Brush::Hatch(*hatch, c));
      for (int32_t x : {x0, x1}) {
        dc.MoveTo(lv::Point{x, plotArea.top});
        dc.LineTo(lv::Point{x, plotArea.bottom});
      }
      dc.SetBkColor(oldBk);
      dc.SetBkMode(oldMode);
    }
  });
}

void CWPlot2D::PaintGrid(lv::DeviceContext& dc) {
  Named("CWPlot2D::PaintGrid", [&] {
    const lv::Rect& a = plotArea;
    PenScope pen(dc, lv::Pen::Solid(Rgb(gridColor), 0));
    if (xLog) {
      const double l0 = std::log10(xMin), l1 = std::log10(xMax);
      for (double c = FirstDecade(xMin); c / xMax < 1.1 && std::isfinite(c); c *= 10.0) {
        const int32_t x = a.left + static_cast<int32_t>(std::round((std::log10(c) - l0) / (l1 - l0) * (a.right - a.left - 1)));
        dc.MoveTo(lv::Point{x, a.bottom});
        dc.LineTo(lv::Point{x, a.top});
      }
    } else {
      for (int32_t i = 1; i <= xGridLines; ++i) {
        const int32_t x = static_cast<int32_t>(a.left + static_cast<double>(i) * (a.right - a.left) / (xGridLines + 1) + 0.5);
        dc.MoveTo(lv::Point{x, a.bottom});
        dc.LineTo(lv::Point{x, a.top});
      }
    }
    if (yLog) {
      const double l0 = std::log10(yMin), l1 = std::log10(yMax);
      for (double c = FirstDecade(yMin); c / yMax < 1.1 && std::isfinite(c); c *= 10.0) {
        const int32_t y = (a.bottom - 1) - static_cast<int32_t>(std::round((std::log10(c) - l0) / (l1 - l0) * (a.bottom - a.top - 1)));
        dc.MoveTo(lv::Point{a.left, y});
        dc.LineTo(lv::Point{a.right, y});
      }
    } else {
      for (int32_t i = 1; i <= yGridLines; ++i) {
        const int32_t y = static_cast<int32_t>(a.bottom - static_cast<double>(i) * (a.bottom - a.top) / (yGridLines + 1) + 0.5);
        dc.MoveTo(lv::Point{a.left, y});
        dc.LineTo(lv::Point{a.right, y});
      }
    }
  });
}

void CWPlot2D::PaintAxes(lv::DeviceContext& dc) {
  Named("CWPlot2D::PaintAxes", [&] {
    const lv::Rect& a = plotArea;
    const int32_t width = a.right - a.left;
    const int32_t height = a.bottom - a.top;
    const lv::Font oldFont = dc.SelectFont(normalFont_);
    dc.SetTextColor(Rgb(axesLabelColor));
    dc.SetBkMode(lv::BkMode::kTransparent);
    wchar_t buf[64];
    // x labels
    dc.SetTextAlign(lv::TextAlign{lv::HAlign::kCenter, lv::VAlign::kTop});
    if (xLog) {
      const double l0 = std::log10(xMin), l1 = std::log10(xMax);
      PenScope pen(dc, lv::Pen::Solid(Rgb(axesLabelColor), 0));
      for (double c = FirstDecade(xMin); c / xMax < 1.1 && std::isfinite(c); c *= 10.0) {
        const int32_t x = a.left + static_cast<int32_t>(std::round((std::log10(c) - l0) / (l1 - l0) * (width - 1)));
        dc.MoveTo(lv::Point{x, a.bottom});
        dc.LineTo(lv::Point{x, a.bottom + 3});
        dc.TextOut(x, a.bottom + 6, FormatInt("1e", std::lround(std::log10(c)), buf));
      }
    } else {
      const int32_t s = width <= 100 ? 10 : width <= 300 ? 5 : width <= 500 ? 2 : 1;
      int32_t decimals = xAxisType == 19 ? 2 : CQAxisScale::CountDecimals(xMin / xLabelDivisor, xMax / xLabelDivisor, 10 / s + 1);
      if (decimals > 4) decimals = 4;
      for (int32_t k = 0; k <= 10; k += s) {
        const double v = ((xMax - xMin) * k / 10.0 + xMin) / xLabelDivisor;
        const float fx = static_cast<float>(a.left) + static_cast<float>(k) * static_cast<float>(width - 1) / 10.0f;
        dc.TextOut(static_cast<int32_t>(std::round(fx)), a.bottom + 6, FormatFixed(v, decimals, buf));
      }
    }
    if (!xAxisTitle_.empty()) dc.TextOut((a.left + a.right) / 2, a.bottom + 20, xAxisTitle_);
    // y labels
    dc.SetTextAlign(lv::TextAlign{lv::HAlign::kRight, lv::VAlign::kBaseline});
    const int32_t halfAscent = dc.GetTextMetrics().ascent / 2;
    if (yLog) {
      const double l0 = std::log10(yMin), l1 = std::log10(yMax);
      for (double c = FirstDecade(yMin); c / yMax < 1.1 && std::isfinite(c); c *= 10.0) {
        const int32_t y = (a.bottom - 1) - static_cast<int32_t>(std::round((std::log10(c) - l0) / (l1 - l0) * (height - 1)));
        const long e = std::lround(std::log10(c));
        dc.TextOut(a.left - 3, y + halfAscent, e < 0 ? FormatInt("1e", e, buf) : FormatInt("", std::llround(c), buf));
      }
    } else {
      const int32_t s = height <= 80 ? 10 : height <= 130 ? 5 : height <= 230 ? 2 : 1;
      int32_t decimals = CQAxisScale::CountDecimals(yMin / yLabelDivisor, yMax / yLabelDivisor, 10 / s + 1);
      if (decimals > 3) decimals = 3;
      for (int32_t k = 0; k <= 10; k += s) {
        const double v = ((yMax - yMin) * k / 10.0 + yMin) / yLabelDivisor;
        const int32_t y = a.bottom - k * (height - 1) / 10;
        dc.TextOut(a.left - 3, y + halfAscent, FormatFixed(v, decimals, buf));
      }
    }
    if (!yAxisTitle_.empty()) {
      dc.SelectFont(verticalFont_);
      dc.SetTextAlign(lv::TextAlign{lv::HAlign::kCenter, lv::VAlign::kBottom});
      dc.TextOut(a.left - 44, (a.top + a.bottom) / 2, yAxisTitle_);
    }
    dc.SelectFont(oldFont);
  });
}

void CWPlot2D::PaintLegend(lv::DeviceContext& dc) {
  if (!legendOn) return;
  Named("CWPlot2D::PaintLegend", [&] {
    if (numDatasets < 1 || numDatasets > kMaxDatasets) throw new CQError("Invalid number of data sets.");
    const lv::Font oldFont = dc.SelectFont(normalFont_);
    dc.SetBkMode(lv::BkMode::kTransparent);
    dc.SetTextAlign(lv::TextAlign{lv::HAlign::kRight, lv::VAlign::kBaseline});
    int32_t x = plotArea.right - 1;
    const int32_t y = plotArea.top + 10;
    for (int32_t d = numDatasets - 1; d >= 0; --d) {
      if (labels_[d].empty()) continue;
      dc.SetTextColor(Rgb(datasetColor[d]));
      dc.TextOut(x, y, labels_[d]);
      x -= dc.GetTextExtent(labels_[d]).cx + 5;
    }
    dc.SelectFont(oldFont);
  });
}

void CWPlot2D::DrawTextLines(lv::DeviceContext& dc, const std::wstring& text, int32_t y) {
  size_t start = 0;
  for (;;) {
    const size_t bar = text.find(L'|', start);
    const size_t end = bar == std::wstring::npos ? text.size() : bar;
    if (end > start) dc.TextOut(2, y, std::wstring_view(text).substr(start, end - start));
    y += 12;
    if (bar == std::wstring::npos) break;
    start = bar + 1;
  }
}

void CWPlot2D::PaintNotations(lv::DeviceContext& dc) {
  if (!topRightNotationOn && !topLeftNotationOn && !bottomLeftNotationOn && !memoryShown[0] && !memoryShown[1]) return;
  Named("CWPlot2D::PaintNotations", [&] {
    const lv::Font oldFont = dc.SelectFont(normalFont_);
    dc.SetBkMode(lv::BkMode::kTransparent);
    dc.SetTextAlign(lv::TextAlign{lv::HAlign::kRight, lv::VAlign::kBaseline});
    if (!topRightNotation.empty()) {
      dc.SetTextColor(Rgb(notationColor));
      dc.TextOut(plotArea.right, plotArea.top - 4, topRightNotation);
    }
    if (topLeftNotationOn && !topLeftNotation_.empty()) {
      dc.SetTextAlign(lv::TextAlign{lv::HAlign::kLeft, lv::VAlign::kTop});
      DrawTextLines(dc, topLeftNotation_, 2);
    }
    if (bottomLeftNotationOn && !bottomLeftNotation_.empty()) {
      dc.SetTextAlign(lv::TextAlign{lv::HAlign::kLeft, lv::VAlign::kTop});
      int32_t lines = 1;
      for (wchar_t ch : bottomLeftNotation_) lines += ch == L'|' ? 1 : 0;
      DrawTextLines(dc, bottomLeftNotation_, drawRect.bottom - 12 * lines - 2);
    }
    int32_t y = plotArea.top;
    wchar_t buf[64];
    for (int32_t m = 0; m < kNumMemories; ++m) {
      if (!memoryShown[m]) continue;
      dc.SetTextAlign(lv::TextAlign{lv::HAlign::kRight, lv::VAlign::kTop});
      dc.SetTextColor(Rgb(memoryColor[m]));
      dc.TextOut(drawRect.right - 2, y, FormatInt("M", m + 1, buf));
      y += 12;
    }
    dc.SelectFont(oldFont);
  });
}

void CWPlot2D::PlotData(lv::DeviceContext& dc, bool widePens) {
  PlotDataWithBars(dc);
  PlotDataWithLines(dc, widePens);
  PlotDataWithSymbols(dc);
}

void CWPlot2D::CheckDataset(int32_t d) const {
  const Series& s = data_[d];
  if (s.xDouble ? !s.xd : !s.xf) throw new CQError("Null pointer to x data.");
  if (s.yDouble ? !s.yd : !s.yf) throw new CQError("Null pointer to y data.");
  if (s.count <= 0) throw new CQError("Invalid number of input points.");
}

void CWPlot2D::EnsurePointArrays(int32_t n) {
  if (points_ && n <= pointCapacity_ && pointCapacity_ <= 2 * static_cast<int64_t>(n)) return;
  FreePointArrays();
  xPixels_ = new (std::nothrow) int32_t[n];
  yPixels_ = new (std::nothrow) int32_t[n];
  points_ = new (std::nothrow) lv::Point[n];
  if (!xPixels_ || !yPixels_ || !points_) {
    FreePointArrays();
    throw new CQError("Error alloating memory.");
  }
  pointCapacity_ = n;
}

void CWPlot2D::FreePointArrays() {
  delete[] xPixels_;
  delete[] yPixels_;
  delete[] points_;
  xPixels_ = nullptr;
  yPixels_ = nullptr;
  points_ = nullptr;
  pointCapacity_ = 0;
}

void CWPlot2D::MapSeries(const Series& s, int32_t* xp, int32_t* yp) {
  if (s.xDouble) {
    if (s.yDouble) MapToPoints(s.xd, s.yd, xp, yp, s.count); else MapToPoints(s.xd, s.yf, xp, yp, s.count);
  } else {
    if (s.yDouble) MapToPoints(s.xf, s.yd, xp, yp, s.count); else MapToPoints(s.xf, s.yf, xp, yp, s.count);
  }
}

void CWPlot2D::DrawSeriesLines(lv::DeviceContext& dc, const Series& s, int32_t color, bool widePens) {
  if (color < 0 || color > 17) throw new CQError("Invalid color for plotting data.");
  PenScope pen(dc, lv::Pen::Solid(Rgb(color), widePens ? 1 : 0));
  EnsurePointArrays(s.count);
  MapSeries(s, xPixels_, yPixels_);
  for (int32_t i = 0; i < s.count; ++i) points_[i] = lv::Point{xPixels_[i], yPixels_[i]};
  // Consecutive chunks share one point so the curve has no gap.
  for (int32_t start = 0; s.count - start >= 2;) {
    const int32_t n = std::min(kMaxPolylinePoints, s.count - start);
    if (!dc.Polyline(points_ + start, n)) throw new CQError("Too many points to plot.");
    start += n - 1;
  }
}

void CWPlot2D::PlotDataWithLines(lv::DeviceContext& dc, bool widePens) {
  if (!hasData) return;
  Named("CWPlot2D::PlotDataWithLines", [&] {
    if (numDatasets < 1 || numDatasets > kMaxDatasets) throw new CQError("Invalid number of data sets.");
    for (int32_t m = 0; m < kNumMemories; ++m) {
      const Series& s = memory_[m];
      if (memoryShown[m] && linesOn[m] && s.HasArrays() && s.count >= 1) DrawSeriesLines(dc, s, memoryColor[m], widePens);
    }
    for (int32_t d = 0; d < numDatasets; ++d) {
      if (!linesOn[d]) continue;
      CheckDataset(d);
      DrawSeriesLines(dc, data_[d], datasetColor[d], widePens);
    }
  });
}

void CWPlot2D::DrawSeriesSymbols(lv::DeviceContext& dc, const Series& s, int32_t color) {
  if (color < 0 || color > 17) throw new CQError("Invalid color for plotting data.");
  PenScope pen(dc, lv::Pen::Solid(Rgb(color), 0));
  EnsurePointArrays(s.count);
  MapSeries(s, xPixels_, yPixels_);
  const int32_t h = symbolHalfSize;
  // Points are clamped to the plot area, so their centres fit one bit each;
  // a centre drawn before in this colour would light the same pixels again
  // (a long constellation piles thousands of samples onto each pixel).
  const int64_t cols = static_cast<int64_t>(plotArea.right) - plotArea.left + 1;
  const int64_t rows = static_cast<int64_t>(plotArea.bottom) - plotArea.top + 1;
  const int64_t words = cols > 0 && rows > 0 ? (cols * rows + 63) / 64 : 0;
  if (words > symbolSeenWords_) {
    uint64_t* fresh = new (std::nothrow) uint64_t[words];
    if (fresh) {
      delete[] symbolSeen_;
      symbolSeen_ = fresh;
      symbolSeenWords_ = words;
    }
  }
  const bool track = words > 0 && words <= symbolSeenWords_;
  if (track) std::fill(symbolSeen_, symbolSeen_ + words, uint64_t{0});
  for (int32_t i = 0; i < s.count; ++i) {
    const int32_t x = xPixels_[i], y = yPixels_[i];
    if (track) {
      const int64_t cx = static_cast<int64_t>(x) - plotArea.left, cy = static_cast<int64_t>(y) - plotArea.top;
      if (cx >= 0 && cx < cols && cy >= 0 && cy < rows) {
        const int64_t bit = cy * cols + cx;
        const uint64_t mask = uint64_t{1} << (bit & 63);
        if (symbolSeen_[bit >> 6] & mask) continue;
        symbolSeen_[bit >> 6] |= mask;
      }
    }
    dc.MoveTo(lv::Point{x - h, y});
    dc.LineTo(lv::Point{x + h, y});
    dc.MoveTo(lv::Point{x, y - h});
    dc.LineTo(lv::Point{x, y + h});
  }
}

void CWPlot2D::PlotDataWithSymbols(lv::DeviceContext& dc) {
  if (!hasData) return;
  Named("CWPlot2D::PlotDataWithSymbols", [&] {
    if (numDatasets < 1 || numDatasets > kMaxDatasets) throw new CQError("Invalid number of data sets.");
    for (int32_t m = 0; m < kNumMemories; ++m) {
      const Series& s = memory_[m];
      if (memoryShown[m] && symbolsOn[m] && s.HasArrays() && s.count >= 1) DrawSeriesSymbols(dc, s, memoryColor[m]);
    }
    for (int32_t d = 0; d < numDatasets; ++d) {
      if (!symbolsOn[d]) continue;
      CheckDataset(d);
      DrawSeriesSymbols(dc, data_[d], datasetColor[d]);
    }
  });
}

void CWPlot2D::DrawSeriesBars(lv::DeviceContext& dc, const Series& s, int32_t color) {
  if (color < 0 || color > 17) throw new CQError("Invalid color for plotting data.");
  const lv::Brush brush = lv::Brush::Solid(Rgb(color));
  const int32_t n = s.count;
  const double range = yMax - yMin;
  auto xAt = [&](int32_t i) { return s.xDouble ? s.xd[i] : static_cast<double>(s.xf[i]); };
  auto yAt = [&](int32_t i) { return s.yDouble ? s.yd[i] : static_cast<double>(s.yf[i]); };
  if (xLog && n < 2) return;  // contiguous bars need a neighbour
  for (int32_t k = 0; k < n; ++k) {
    const double y = yAt(k);
    double x0, x1;
    const bool always = xLog && (k == 0 || k == n - 1);
    if (!always && std::fabs(y / range) <= 0.001) continue;
    if (xLog) {
      x0 = k == 0 ? xAt(0) : (xAt(k - 1) + xAt(k)) / 2.0;
      x1 = k == n - 1 ? xAt(n - 1) : (xAt(k) + xAt(k + 1)) / 2.0;
    } else {
      x0 = xAt(k) - barWidth / 2.0;
      x1 = xAt(k) + barWidth / 2.0;
    }
    int32_t px0, py0, px1, py1;
    ClampToPixel(x0, y, px0, py0);
    ClampToPixel(x1, yMin, px1, py1);
    dc.FillRect(lv::Rect{px0, py0, px1, py1}, brush);
  }
}

void CWPlot2D::PlotDataWithBars(lv::DeviceContext& dc) {
  if (!hasData) return;
  Named("CWPlot2D::PlotDataWithBars", [&] {
    if (numDatasets < 1 || numDatasets > kMaxDatasets) throw new CQError("Invalid number of data sets.");
    for (int32_t d = 0; d < numDatasets; ++d) {
      if (!barsOn[d]) continue;
      CheckDataset(d);
      DrawSeriesBars(dc, data_[d], datasetColor[d]);
    }
  });
}

void CWPlot2D::PaintFrame(lv::DeviceContext& dc) {
  Named("CWPlot2D::PaintFrame", [&] {
    const lv::Rect& a = plotArea;
    PenScope pen(dc, lv::Pen::Solid(Rgb(gridColor), 0));
    dc.MoveTo(lv::Point{a.left, a.bottom});
    dc.LineTo(lv::Point{a.right, a.bottom});
    dc.LineTo(lv::Point{a.right, a.top});
    dc.LineTo(lv::Point{a.left, a.top});
    dc.LineTo(lv::Point{a.left, a.bottom});
  });
}
