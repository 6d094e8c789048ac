#include "plots/plot2d.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <string>
#include <type_traits>

#include "core/array_math.h"
#include "core/call_stack.h"
#include "core/error.h"
#include "platform/text.h"
#include "plots/axis_scale.h"

namespace {

using lv::Named;

double* CopyToDouble(const double* src, int32_t n) {
  double* d = CQArrayMath::AllocDouble(n);
  CQArrayMath::CopyArray(src, d, n);
  return d;
}
float* CopyToFloat(const float* src, int32_t n) {
  float* d = CQArrayMath::AllocFloat(n);
  CQArrayMath::CopyArray(src, d, n);
  return d;
}

// Bounded so that a limit that is not finite can never make a loop endless.
constexpr int kMaxShiftSteps = 64;

double RoundHalfAway(double v) { return std::round(v); }

}  // namespace

void CWPlot2D::Series::Free() {
  CQArrayMath::Free(xf);
  CQArrayMath::Free(yf);
  CQArrayMath::Free(xd);
  CQArrayMath::Free(yd);
  xf = yf = nullptr;
  xd = yd = nullptr;
  count = 0;
}

CWPlot2D::CWPlot2D() : normalFont_(lv::NormalFont()), verticalFont_(lv::VerticalFont()) {
  for (int i = 0; i < kMaxDatasets; ++i) {
    linesOn[i] = true;
    symbolsOn[i] = false;
    barsOn[i] = false;
    datasetColor[i] = 9;
  }
  memoryShown[0] = memoryShown[1] = false;
}

CWPlot2D::~CWPlot2D() {
  for (Series& s : data_) s.Free();
  for (Series& s : memory_) s.Free();
  CQArrayMath::Free(tempX_);
  CQArrayMath::Free(tempY_);
  FreePointArrays();
  delete[] symbolSeen_;
}

void CWPlot2D::PaintMarkers(lv::DeviceContext&) {}
void CWPlot2D::PaintOverlay(lv::DeviceContext&) {}

void CWPlot2D::SetNumDatasets(int32_t n) {
  if (n < 1 || n > kMaxDatasets) throw new CQError("Invalid number of data sets.", "CWPlot2D::SetNumDatasets");
  numDatasets = n;
}

template <typename TX, typename TY>
void CWPlot2D::StoreSeries(Series& s, const TX* x, const TY* y, int32_t count) {
  // The new arrays are made before the old ones go: a failed allocation
  // leaves the previous data in place.
  Series n;
  n.count = count;
  n.xDouble = std::is_same_v<TX, double>;
  n.yDouble = std::is_same_v<TY, double>;
  try {
    if constexpr (std::is_same_v<TX, double>) n.xd = CopyToDouble(x, count); else n.xf = CopyToFloat(x, count);
    if constexpr (std::is_same_v<TY, double>) n.yd = CopyToDouble(y, count); else n.yf = CopyToFloat(y, count);
  } catch (CQError*) {
    n.Free();
    throw;
  }
  s.Free();
  s = n;
}

template <typename TX, typename TY>
void CWPlot2D::SetSeries(const char* name, bool memory, int32_t number, const TX* x, const TY* y, int32_t count) {
  Named(name, [&] {
    if (!x || !y) throw new CQError("Null pointer to input data.");
    if (count <= 0) throw new CQError("Invalid number of input points.");
    if (memory) {
      if (number < 1 || number > kNumMemories) throw new CQError("Invalid memory number.");
    } else {
      if (number < 1 || number > numDatasets) throw new CQError("Invalid data set number.");
    }
    StoreSeries((memory ? memory_ : data_)[number - 1], x, y, count);
    hasData = true;
  });
}

void CWPlot2D::SetDatasetData(const float* x, const float* y, int32_t count, int32_t dataset) {
  SetSeries("CWPlot2D::SetDatasetData", false, dataset, x, y, count);
}

void CWPlot2D::SetDatasetData(const double* x, const float* y, int32_t count, int32_t dataset) {
  SetSeries("CWPlot2D::SetDatasetData", false, dataset, x, y, count);
}

void CWPlot2D::SetMemoryDatasetData(const float* x, const float* y, int32_t count, int32_t memory) {
  SetSeries("CWPlot2D::SetMemoryDatasetData", true, memory, x, y, count);
}

void CWPlot2D::SetMemoryDatasetData(const double* x, const float* y, int32_t count, int32_t memory) {
  SetSeries("CWPlot2D::SetMemoryDatasetData", true, memory, x, y, count);
}

void CWPlot2D::SetMemoryDatasetData(const float* x, const double* y, int32_t count, int32_t memory) {
  SetSeries("CWPlot2D::SetMemoryDatasetData", true, memory, x, y, count);
}

void CWPlot2D::SetMemoryDatasetData(const double* x, const double* y, int32_t count, int32_t memory) {
  SetSeries("CWPlot2D::SetMemoryDatasetData", true, memory, x, y, count);
}

void CWPlot2D::SaveDatasetToMemory(int32_t dataset, int32_t memory) {
  Named("CWPlot2D::SaveDatasetToMemory", [&] {
    if (dataset < 1 || dataset > numDatasets) throw new CQError("Invalid data set number.");
    if (memory < 1 || memory > kNumMemories) throw new CQError("Invalid memory number.");
    const Series& s = data_[dataset - 1];
    if (!s.HasArrays() || s.count <= 0) return;
    if (s.xDouble) {
      SetMemoryDatasetData(s.xd, s.yf, s.count, memory);
    } else {
      SetMemoryDatasetData(s.xf, s.yf, s.count, memory);
    }
  });
}

void CWPlot2D::SetDatasetLabel(const wchar_t* text, int32_t dataset) {
  if (!text) throw new CQError("Null pointer to data set label.", "CWPlot2D::SetDatasetLabel");
  if (dataset < 1 || dataset > kMaxDatasets) throw new CQError("Invalid data set number.", "CWPlot2D::SetDatasetLabel");
  labels_[dataset - 1] = text;
}

void CWPlot2D::SetTopLeftNotation(const wchar_t* text) {
  if (!text) throw new CQError("Null pointer to top right notation lable.", "CWPlot2D::SetTopLeftNotation");
  topLeftNotation_ = text;
}

void CWPlot2D::SetBottomLeftNotation(const wchar_t* text) {
  if (!text) throw new CQError("Null pointer to top right notation lable.", "CWPlot2D::SetBottomLeftNotation");
  bottomLeftNotation_ = text;
}

void CWPlot2D::SetColors(int32_t axesLabel, int32_t notation, int32_t /*unused*/, int32_t background) {
  if (axesLabel < 0 || axesLabel > 17) throw new CQError("Invalid axes label color.", "CWPlot2D::SetColors");
  axesLabelColor = axesLabel;
  if (notation < 0 || notation > 17) throw new CQError("Invalid notation color.", "CWPlot2D::SetColors");
  notationColor = notation;
  gridColor = 2;
  if (background < 0 || background > 17) throw new CQError("Invalid background color.", "CWPlot2D::SetColors");
  backgroundColor = background;
}

int32_t CWPlot2D::GetPointCount(int32_t dataset) const {
  return dataset >= 1 && dataset <= kMaxDatasets ? data_[dataset - 1].count : 0;
}
int32_t CWPlot2D::GetMemoryPointCount(int32_t memory) const {
  return memory >= 1 && memory <= kNumMemories ? memory_[memory - 1].count : 0;
}
bool CWPlot2D::DatasetXIsDouble(int32_t dataset) const { return data_[dataset - 1].xDouble; }
double CWPlot2D::DatasetX(int32_t d, int32_t i) const {
  const Series& s = data_[d - 1];
  return s.xDouble ? s.xd[i] : s.xf[i];
}
double CWPlot2D::DatasetY(int32_t d, int32_t i) const {
  const Series& s = data_[d - 1];
  return s.yDouble ? s.yd[i] : s.yf[i];
}
double CWPlot2D::MemoryX(int32_t m, int32_t i) const {
  const Series& s = memory_[m - 1];
  return s.xDouble ? s.xd[i] : s.xf[i];
}
double CWPlot2D::MemoryY(int32_t m, int32_t i) const {
  const Series& s = memory_[m - 1];
  return s.yDouble ? s.yd[i] : s.yf[i];
}

void CWPlot2D::ClearAllData() {
  for (Series& s : data_) s.Free();
  for (Series& s : memory_) s.Free();
  hasData = false;
}

// ---- Coordinates -------------------------------------------------------------

void CWPlot2D::AllocTempArrays(int32_t n) {
  if (n <= 0) return;
  if (tempX_ && tempY_ && n <= tempCapacity_ && tempCapacity_ <= 2 * static_cast<int64_t>(n)) return;
  Named("CWPlot2D::AllocTempArrays", [&] {
    double* x = CQArrayMath::AllocDouble(n);
    double* y = nullptr;
    try {
      y = CQArrayMath::AllocDouble(n);
    } catch (CQError*) {
      CQArrayMath::Free(x);
      throw;
    }
    CQArrayMath::Free(tempX_);
    CQArrayMath::Free(tempY_);
    tempX_ = x;
    tempY_ = y;
    tempCapacity_ = n;
  });
}

void CWPlot2D::ProjectAPoint(double* x, double* y, int32_t* xPixels, int32_t* yPixels, int32_t count) {
  Named("CWPlot2D::ProjectAPoint", [&] {
    if (!x || !y) throw new CQError("Null pointer to input data.");
    if (!xPixels || !yPixels) throw new CQError("Null pointer to output data.");
    if (count <= 0) throw new CQError("Invalid number of input points.");
    // Clamping to the limits (also turns a NaN into the minimum).
    for (int32_t i = 0; i < count; ++i) {
      x[i] = x[i] > xMax ? xMax : (x[i] >= xMin ? x[i] : xMin);
      y[i] = y[i] > yMax ? yMax : (y[i] >= yMin ? y[i] : yMin);
    }
    if (xLog) {
      for (int32_t i = 0; i < count; ++i) x[i] = std::log10(x[i]);
      CQArrayMath::ArrayScalarAdd(x, -std::log10(xMin), count);
    } else {
      CQArrayMath::ArrayScalarAdd(x, -xMin, count);
    }
    if (yLog) {
      for (int32_t i = 0; i < count; ++i) y[i] = std::log10(y[i]);
      CQArrayMath::ArrayScalarAdd(y, -std::log10(yMin), count);
    } else {
      CQArrayMath::ArrayScalarAdd(y, -yMin, count);
    }
    CQArrayMath::ArrayScalarMult(x, xPixelsPerUnit, count);
    CQArrayMath::ArrayScalarAdd(x, static_cast<double>(plotArea.left), count);
    CQArrayMath::ArrayScalarMult(y, -yPixelsPerUnit, count);
    CQArrayMath::ArrayScalarAdd(y, static_cast<double>(plotArea.bottom), count);
    CQArrayMath::CopyArray(x, xPixels, count);
    CQArrayMath::CopyArray(y, yPixels, count);
  });
}

template <typename TX, typename TY>
void CWPlot2D::MapToPointsT(const TX* x, const TY* y, int32_t* xPixels, int32_t* yPixels, int32_t count) {
  Named("CWPlot2D::MapToPoints", [&] {
    if (!x || !y) throw new CQError("Null pointer to input data.");
    if (!xPixels || !yPixels) throw new CQError("Null pointer to output data.");
    if (count <= 0) throw new CQError("Invalid number of input points.");
    AllocTempArrays(count);
    CQArrayMath::CopyArray(x, tempX_, count);
    CQArrayMath::CopyArray(y, tempY_, count);
    ProjectAPoint(tempX_, tempY_, xPixels, yPixels, count);
  });
}

void CWPlot2D::MapToPoints(const float* x, const float* y, int32_t* xp, int32_t* yp, int32_t n) { MapToPointsT(x, y, xp, yp, n); }
void CWPlot2D::MapToPoints(const double* x, const float* y, int32_t* xp, int32_t* yp, int32_t n) { MapToPointsT(x, y, xp, yp, n); }
void CWPlot2D::MapToPoints(const float* x, const double* y, int32_t* xp, int32_t* yp, int32_t n) { MapToPointsT(x, y, xp, yp, n); }
void CWPlot2D::MapToPoints(const double* x, const double* y, int32_t* xp, int32_t* yp, int32_t n) { MapToPointsT(x, y, xp, yp, n); }

namespace {
int32_t ToPixel(double v) {
  if (!(v > -2.0e9)) return -2000000000;
  if (v > 2.0e9) return 2000000000;
  return static_cast<int32_t>(std::round(v));
}
}  // namespace

void CWPlot2D::ClampToPixel(double x, double y, int32_t& px, int32_t& py) const {
  x = x > xMax ? xMax : (x >= xMin ? x : xMin);
  y = y > yMax ? yMax : (y >= yMin ? y : yMin);
  const double dx = xLog ? std::log10(x) - std::log10(xMin) : x - xMin;
  const double dy = yLog ? std::log10(y) - std::log10(yMin) : y - yMin;
  px = ToPixel(dx * xPixelsPerUnit + plotArea.left);
  py = ToPixel(plotArea.bottom - dy * yPixelsPerUnit);
}

void CWPlot2D::DataToPixel(double x, double y, int32_t& px, int32_t& py, bool& inside) const {
  const lv::Rect& a = plotArea;
  if (xLog) {
    px = ToPixel(a.left + (std::log10(x) - std::log10(xMin)) / (std::log10(xMax) - std::log10(xMin)) * (a.right - a.left));
  } else {
    px = ToPixel(a.left + std::trunc((x - xMin) * (a.right - a.left) / (xMax - xMin) + 0.5));
  }
  if (yLog) {
    py = ToPixel(a.bottom - (std::log10(y) - std::log10(yMin)) / (std::log10(yMax) - std::log10(yMin)) * (a.bottom - a.top));
  } else {
    py = ToPixel(a.top + std::trunc((a.bottom - a.top) * (yMax - y) / (yMax - yMin) + 0.5));
  }
  inside = a.left <= px && px <= a.right && a.top <= py && py <= a.bottom;
}

void CWPlot2D::PixelToData(int32_t px, int32_t py, double& x, double& y) const {
  const lv::Rect& a = plotArea;
  const double w = std::max(1, a.right - a.left);
  const double h = std::max(1, a.bottom - a.top);
  if (xLog) {
    const double l0 = std::log10(xMin), l1 = std::log10(xMax);
    x = std::pow(10.0, l0 + (l1 - l0) * (px - a.left) / w);
  } else {
    x = xMin + (xMax - xMin) * (px - a.left) / w;
  }
  if (yLog) {
    const double l0 = std::log10(yMin), l1 = std::log10(yMax);
    y = std::pow(10.0, l1 - (l1 - l0) * (py - a.top) / h);
  } else {
    y = yMax - (yMax - yMin) * (py - a.top) / h;
  }
}

// ---- Scaling -------------------------------------------------------------------

void CWPlot2D::MakeNiceLimits(double& minimum, double& maximum, double step) {
  if (!std::isfinite(minimum) || !std::isfinite(maximum)) return;
  // hi/lo for one step, centred while the room below exceeds the room above
  // by two steps or more.
  auto fit = [&](double s, double& lo, double& hi) {
    hi = RoundHalfAway(maximum / s) * s;
    for (int i = 0; i < kMaxShiftSteps && maximum > hi; ++i) hi += s;
    lo = hi - 10.0 * s;
    if (minimum > lo) {
      for (int i = 0; i < kMaxShiftSteps; ++i) {
        const double below = std::trunc(std::fabs(lo - minimum) / s);
        const double above = std::trunc(std::fabs(hi - maximum) / s);
        if (below - above < 2.0) break;
        lo += s;
        hi += s;
      }
    }
  };
  double lo = 0.0, hi = 0.0;
  if (step > 0.0) {
    fit(step, lo, hi);
    if (std::isfinite(lo) && std::isfinite(hi)) {
      minimum = lo;
      maximum = hi;
    }
    return;
  }
  static constexpr double kDigits[] = {1, 2, 3, 4, 5, 6, 8};
  const double span = std::fabs(maximum - minimum);
  for (int k = -6; k <= 308; ++k) {
    const double decade = std::pow(10.0, k);
    for (double d : kDigits) {
      const double s = d * decade;
      if (!std::isfinite(s)) return;
      if (10.0 * s < span) continue;
      fit(s, lo, hi);
      if (lo <= minimum && hi >= maximum) {
        minimum = lo;
        maximum = hi;
        return;
      }
    }
  }
}

void CWPlot2D::MakePhaseLimits(double& minimum, double& maximum) {
  if (maximum <= 180.0 && minimum >= -180.0 && maximum - minimum > 180.0) {
    minimum = -180.0;
    maximum = 180.0;
    return;
  }
  minimum = RoundHalfAway(minimum / 180.0) * 180.0;
  maximum = RoundHalfAway(maximum / 180.0) * 180.0;
  MakeNiceLimits(minimum, maximum, -1.0);
}

void CWPlot2D::ScaleAxis(bool isX) {
  double& lo = isX ? xMin : yMin;
  double& hi = isX ? xMax : yMax;
  const bool log = isX ? xLog : yLog;
  const int32_t type = isX ? xAxisType : yAxisType;
  if (isX ? xAutoScale : yAutoScale) {
    double mn = 1e39, mx = -1e39;
    for (int32_t d = 0; d < numDatasets; ++d) {
      const Series& s = data_[d];
      if (!s.HasArrays() || s.count <= 0) continue;
      const bool dbl = isX ? s.xDouble : s.yDouble;
      double a, b;
      if (dbl) {
        const double* p = isX ? s.xd : s.yd;
        a = CQArrayMath::FindMin(p, s.count);
        b = CQArrayMath::FindMax(p, s.count);
      } else {
        const float* p = isX ? s.xf : s.yf;
        int idx = 0;
        a = CQArrayMath::FindMin(p, s.count, &idx);
        b = CQArrayMath::FindMax(p, s.count, &idx);
      }
      mn = std::min(mn, a);
      mx = std::max(mx, b);
    }
    if (mn <= mx) {
      lo = mn;
      hi = mx;
      if (log) {
        if (hi > 0.0 && std::isfinite(hi)) {
          hi = std::pow(10.0, std::trunc(std::log10(hi) + 0.5));
          if (hi * 1e-6 > lo) lo = hi * 1e-6; else lo = std::pow(10.0, std::trunc(std::log10(lo)));
        }
      } else {
        const double span = std::fabs(hi - lo);
        if (type >= 6 && type <= 10) {
          MakeNiceLimits(lo, hi, -1.0);
        } else if (type == 12 || type == 13) {
          MakeNiceLimits(lo, hi, span > 45.0 ? 10.0 : -1.0);
        } else if (type == 14 || type == 15) {
          MakePhaseLimits(lo, hi);
        } else if (type == 16 && isX) {
          lo = 0.0;
        } else if (type == 17 && !isX) {
          MakeNiceLimits(lo, hi, span <= 5.0 ? 0.5 : (span <= 10.0 ? 1.0 : -1.0));
          if (lo < 0.0) {
            hi = hi - lo;
            lo = 0.0;
          }
        }
      }
    }
  }
  // Whatever the data or the owner left: finite limits, a span above zero and,
  // on a logarithmic axis, positive limits, so that the pixel scale is finite.
  if (log) {
    if (!(hi > 0.0) || !std::isfinite(hi)) hi = 10.0;
    if (!(lo > 0.0) || !std::isfinite(lo) || lo >= hi) lo = hi * 1e-6;
    if (!(lo < hi)) lo = hi / 10.0;
  } else {
    if (!std::isfinite(lo) && !std::isfinite(hi)) {
      lo = 0.0;
      hi = 1.0;
    } else if (!std::isfinite(lo)) {
      lo = hi - 1.0;
    } else if (!std::isfinite(hi)) {
      hi = lo + 1.0;
    }
    if (hi < lo) std::swap(lo, hi);
    if (!(hi - lo > 0.0) || !std::isfinite(hi - lo)) {
      const double d = lo != 0.0 ? std::fabs(lo) * 0.1 : 1.0;
      lo -= d;
      hi += d;
      if (!(hi - lo > 0.0) || !std::isfinite(hi - lo)) {
        lo = 0.0;
        hi = 1.0;
      }
    }
  }
  const double pixels = isX ? plotArea.right - plotArea.left : plotArea.bottom - plotArea.top;
  double& ppu = isX ? xPixelsPerUnit : yPixelsPerUnit;
  ppu = log ? pixels / (std::log10(hi) - std::log10(lo)) : pixels / (hi - lo);
  if (!std::isfinite(ppu)) ppu = 0.0;
  std::wstring& title = isX ? xAxisTitle_ : yAxisTitle_;
  double& divisor = isX ? xLabelDivisor : yLabelDivisor;
  if (log) {
    CQAxisScale::MakeAxisLabel(type, 1.0, 1.0, title, divisor);
  } else {
    CQAxisScale::MakeAxisLabel(type, lo, hi, title, divisor);
  }
  if (!(divisor != 0.0) || !std::isfinite(divisor)) divisor = 1.0;
}

void CWPlot2D::AutoScale() {
  Named("CWPlot2D::AutoScale", [&] {
    if (topMargin < 0) topMargin = defaultTopMargin + ((legendOn || topRightNotationOn) ? 7 : 0);
    if (bottomMargin < 0) bottomMargin = defaultBottomMargin;
    if (leftMargin < 0) leftMargin = defaultLeftMargin;
    if (rightMargin < 0) rightMargin = defaultRightMargin;
    plotArea.left = drawRect.left + leftMargin;
    plotArea.top = drawRect.top + topMargin;
    plotArea.right = drawRect.right - rightMargin;
    plotArea.bottom = drawRect.bottom - bottomMargin;
    // A drawing rectangle smaller than the margins still gets a plot area
    // of at least one pixel, so no scale divides by zero.
    if (plotArea.right <= plotArea.left) plotArea.right = plotArea.left + 1;
    if (plotArea.bottom <= plotArea.top) plotArea.bottom = plotArea.top + 1;
    ScaleAxis(true);
    ScaleAxis(false);
  });
}

// ---- Export -----------------------------------------------------------------------

void CWPlot2D::SaveDataToFile(const wchar_t* fileName) {
  if (!hasData) return;
  Named("CWPlot2D::SaveDataToFile", [&] {
    if (!fileName) throw new CQError("Null pointer to file name.");
    if (numDatasets < 1 || numDatasets > kMaxDatasets) throw new CQError("Invalid number of data sets.");
    for (int32_t d = 0; d < numDatasets; ++d) {
      const Series& s = data_[d];
      if (s.xDouble ? !s.xd : !s.xf) throw new CQError("Null pointer to x data.");
      if (s.yDouble ? !s.yd : !s.yf) throw new CQError("Null pointer to y data.");
      if (s.count <= 0) throw new CQError("Invalid number of input points.");
      if (s.count != data_[0].count) {
        throw new CQError("Attempt to write a file with differing number of points in the data sets.");
      }
    }
    std::wstring xTitle, yTitle;
    CQAxisScale::StripUnitsFromText(xAxisTitle_.c_str(), xTitle);
    CQAxisScale::StripUnitsFromText(yAxisTitle_.c_str(), yTitle);
    const std::string xt = lv::WideToUtf8(xTitle);
    const std::string yt = lv::WideToUtf8(yTitle);
    std::string text = xt;
    for (int32_t d = 0; d < numDatasets; ++d) {
      if (!labels_[d].empty()) {
        text += lv::FormatC("\t%s %s", lv::WideToUtf8(labels_[d]).c_str(), yt.c_str());
      } else {
        text += lv::FormatC("\t%s", yt.c_str());
      }
    }
    text += "\r\n";
    const Series& first = data_[0];
    for (int32_t i = 0; i < first.count; ++i) {
      text += first.xDouble ? lv::FormatC("%.12lE", first.xd[i]) : lv::FormatC("%f", static_cast<double>(first.xf[i]));
      for (int32_t d = 0; d < numDatasets; ++d) {
        const Series& s = data_[d];
        text += s.yDouble ? lv::FormatC("\t%.12lE", s.yd[i]) : lv::FormatC("\t%f", static_cast<double>(s.yf[i]));
      }
      text += "\r\n";
    }
    const std::string path = lv::WideToUtf8(fileName);
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) throw new CQError("Error creating output file.");
    const bool ok = std::fwrite(text.data(), 1, text.size(), f) == text.size();
    const bool closed = std::fclose(f) == 0;
    if (!ok || !closed) {
      std::error_code ec;
      std::filesystem::remove(path, ec);
      throw new CQError("Error writing output file.");
    }
  });
}
