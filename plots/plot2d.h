// CWPlot2D: the two-dimensional x/y plot engine of the time-domain and
// spectrum windows. It holds up to eight datasets (numbered 1..8) and two
// memories (snapshots of a dataset, numbered 1 and 2) of float or double
// arrays, their styles and palette colours, the axis limits and scaling, the
// axis titles, legend labels and notations, and draws all of it into any
// device context. It owns no window: callers pass the device context to every
// drawing call and set the drawing rectangle.
//
// Limits, flags, counts, margins, axis types and dataset colours are plain
// fields that the owning windows read and write directly.
//
// Drawing a plot of the same size and point counts again allocates nothing:
// points pass through scratch arrays that are kept while their capacity lies
// between n and 2n.
#pragma once

#include <cstdint>
#include <string>

#include "platform/gui/device_context.h"
#include "plots/background_blocks.h"

class CWPlot2D {
 public:
  static constexpr int32_t kMaxDatasets = 8;
  static constexpr int32_t kNumMemories = 2;
  // Longest run of points handed to one Polyline call.
  static constexpr int32_t kMaxPolylinePoints = 16000;

  CWPlot2D();
  virtual ~CWPlot2D();
  CWPlot2D(const CWPlot2D&) = delete;
  CWPlot2D& operator=(const CWPlot2D&) = delete;

  // ---- Data -------------------------------------------------------------
  // 1 <= n <= 8, else "Invalid number of data sets.".
  void SetNumDatasets(int32_t n);
  // Copies count points into dataset 1..number of datasets. The new arrays
  // are allocated before the old ones are freed, so a failure keeps the old
  // data.
  void SetDatasetData(const float* x, const float* y, int32_t count, int32_t dataset);
  void SetDatasetData(const double* x, const float* y, int32_t count, int32_t dataset);
  // Copies count points into memory 1 or 2.
  void SetMemoryDatasetData(const float* x, const float* y, int32_t count, int32_t memory);
  void SetMemoryDatasetData(const double* x, const float* y, int32_t count, int32_t memory);
  void SetMemoryDatasetData(const float* x, const double* y, int32_t count, int32_t memory);
  void SetMemoryDatasetData(const double* x, const double* y, int32_t count, int32_t memory);
  // Snapshot of a dataset into a memory; a dataset without data leaves the
  // memory as it is.
  void SaveDatasetToMemory(int32_t dataset, int32_t memory);
  void SetDatasetLabel(const wchar_t* text, int32_t dataset);
  // A vertical bar separates the lines of the two left notations.
  void SetTopLeftNotation(const wchar_t* text);
  void SetBottomLeftNotation(const wchar_t* text);
  // Colours are palette indices 0..17; each is stored once it passed its
  // check. The third argument has no effect.
  void SetColors(int32_t axesLabel, int32_t notation, int32_t unused, int32_t background);

  int32_t GetPointCount(int32_t dataset) const;          // 0 for a number outside 1..8
  int32_t GetMemoryPointCount(int32_t memory) const;     // 0 for a number outside 1..2
  bool DatasetXIsDouble(int32_t dataset) const;
  // Element accessors of a dataset (1-based) as doubles; the caller keeps to
  // 0 <= i < GetPointCount.
  double DatasetX(int32_t dataset, int32_t i) const;
  double DatasetY(int32_t dataset, int32_t i) const;
  double MemoryX(int32_t memory, int32_t i) const;
  double MemoryY(int32_t memory, int32_t i) const;
  // Forgets all data (the owning window's clear): only the background is
  // drawn afterwards.
  void ClearAllData();

  CWBackgroundBlockList& BackgroundBlocks() { return backgroundBlocks_; }
  const std::wstring& XAxisTitle() const { return xAxisTitle_; }
  const std::wstring& YAxisTitle() const { return yAxisTitle_; }

  // ---- Drawing ------------------------------------------------------------
  // The whole plot; wide pens (printing) draws data lines one logical unit
  // wide instead of the thinnest pen.
  void DrawAll(lv::DeviceContext& dc, bool widePens);
  void PaintLegend(lv::DeviceContext& dc);
  void PaintNotations(lv::DeviceContext& dc);
  void PlotDataWithLines(lv::DeviceContext& dc, bool widePens);
  void PlotDataWithSymbols(lv::DeviceContext& dc);
  void PlotDataWithBars(lv::DeviceContext& dc);

  // ---- Scaling ------------------------------------------------------------
  // Margins, plot area, limits (when auto-scaling), pixel scales and axis
  // titles; the first step of every drawing.
  void AutoScale();
  // Changes the limits to span exactly ten steps; a step <= 0 chooses the
  // first of 1, 2, 3, 4, 5, 6, 8 times a power of ten that holds the range.
  static void MakeNiceLimits(double& minimum, double& maximum, double step);
  // Phase axes: -180..180 when the data fit, else multiples of 180 made nice.
  static void MakePhaseLimits(double& minimum, double& maximum);

  // ---- Coordinates ----------------------------------------------------------
  // Projects count points in place (clamped to the limits) to pixels.
  void ProjectAPoint(double* x, double* y, int32_t* xPixels, int32_t* yPixels, int32_t count);
  void MapToPoints(const float* x, const float* y, int32_t* xPixels, int32_t* yPixels, int32_t count);
  void MapToPoints(const double* x, const float* y, int32_t* xPixels, int32_t* yPixels, int32_t count);
  void MapToPoints(const float* x, const double* y, int32_t* xPixels, int32_t* yPixels, int32_t count);
  void MapToPoints(const double* x, const double* y, int32_t* xPixels, int32_t* yPixels, int32_t count);
  // Keeps the two scratch arrays while n <= capacity <= 2n; n <= 0 does nothing.
  void AllocTempArrays(int32_t n);
  int32_t TempCapacity() const { return tempCapacity_; }
  const double* TempX() const { return tempX_; }
  // One point, clamped to the limits, rounded half away from zero.
  void ClampToPixel(double x, double y, int32_t& px, int32_t& py) const;
  // One point without clamping; inside tells whether it lies in the plot area.
  void DataToPixel(double x, double y, int32_t& px, int32_t& py, bool& inside) const;
  void PixelToData(int32_t px, int32_t py, double& x, double& y) const;

  // ---- Export ----------------------------------------------------------------
  // Tab-separated text of datasets 1..n (x of dataset 1, then each y), lines
  // ending in CR LF. Nothing is written without data; a failed check creates
  // no file.
  virtual void SaveDataToFile(const wchar_t* fileName);

 protected:
  // Paint hooks of the owning window: markers after the frame, then overlay.
  virtual void PaintMarkers(lv::DeviceContext& dc);
  virtual void PaintOverlay(lv::DeviceContext& dc);

  void PaintBackground(lv::DeviceContext& dc);
  void PaintBackgroundBlocks(lv::DeviceContext& dc);
  void PaintGrid(lv::DeviceContext& dc);
  void PaintAxes(lv::DeviceContext& dc);
  void PlotData(lv::DeviceContext& dc, bool widePens);
  void PaintFrame(lv::DeviceContext& dc);

 public:
  // ---- Plain fields ------------------------------------------------------------
  bool gridOn = true;
  bool linesOn[kMaxDatasets];
  bool symbolsOn[kMaxDatasets];
  bool barsOn[kMaxDatasets];
  bool memoryShown[kNumMemories];
  bool xAutoScale = true;
  bool yAutoScale = true;
  bool xLog = false;
  bool yLog = false;
  bool legendOn = false;
  bool topRightNotationOn = false;
  bool topLeftNotationOn = false;
  bool bottomLeftNotationOn = false;
  bool hasData = false;
  int32_t numDatasets = 1;
  int32_t symbolHalfSize = 3;
  int32_t xGridLines = 9;
  int32_t yGridLines = 9;
  double xMin = 0.0, xMax = 1.0;
  double yMin = 0.0, yMax = 1.0;
  double xPixelsPerUnit = 0.0, yPixelsPerUnit = 0.0;
  double barWidth = 5.0;
  double xLabelDivisor = 1.0, yLabelDivisor = 1.0;
  int32_t datasetColor[kMaxDatasets];
  int32_t memoryColor[kNumMemories] = {16, 8};
  int32_t notationColor = 1;
  int32_t axesLabelColor = 10;
  int32_t gridColor = 2;
  int32_t backgroundColor = 0;
  int32_t xAxisType = 6;
  int32_t yAxisType = 7;
  std::wstring topRightNotation;  // empty: none
  lv::Rect drawRect{};
  lv::Rect plotArea{};
  int32_t leftMargin = -1, topMargin = -1, rightMargin = -1, bottomMargin = -1;
  int32_t defaultLeftMargin = 67, defaultTopMargin = 10, defaultRightMargin = 30, defaultBottomMargin = 40;

 private:
  struct Series {
    float* xf = nullptr;
    float* yf = nullptr;
    double* xd = nullptr;
    double* yd = nullptr;
    int32_t count = 0;
    bool xDouble = false;
    bool yDouble = false;
    bool HasArrays() const { return (xDouble ? xd != nullptr : xf != nullptr) && (yDouble ? yd != nullptr : yf != nullptr); }
    void Free();
  };
  template <typename TX, typename TY>
  static void StoreSeries(Series& s, const TX* x, const TY* y, int32_t count);
  // The SetDatasetData and SetMemoryDatasetData forms: checks the arrays, the
  // count and the number (1-based, of a memory or of a data set), then stores.
  template <typename TX, typename TY>
  void SetSeries(const char* name, bool memory, int32_t number, const TX* x, const TY* y, int32_t count);
  template <typename TX, typename TY>
  void MapToPointsT(const TX* x, const TY* y, int32_t* xPixels, int32_t* yPixels, int32_t count);
  void MapSeries(const Series& s, int32_t* xPixels, int32_t* yPixels);
  void EnsurePointArrays(int32_t n);
  void FreePointArrays();
  void CheckDataset(int32_t index) const;  // 0-based; missing arrays, bad counts
  void DrawSeriesLines(lv::DeviceContext& dc, const Series& s, int32_t color, bool widePens);
  void DrawSeriesSymbols(lv::DeviceContext& dc, const Series& s, int32_t color);
  void DrawSeriesBars(lv::DeviceContext& dc, const Series& s, int32_t color);
  void ScaleAxis(bool isX);
  void DrawTextLines(lv::DeviceContext& dc, const std::wstring& text, int32_t y);

  Series data_[kMaxDatasets];
  Series memory_[kNumMemories];
  std::wstring xAxisTitle_;
  std::wstring yAxisTitle_;
  std::wstring topLeftNotation_;
  std::wstring bottomLeftNotation_;
  std::wstring labels_[kMaxDatasets];
  CWBackgroundBlockList backgroundBlocks_;
  int32_t tempCapacity_ = 0;
  double* tempX_ = nullptr;
  double* tempY_ = nullptr;
  // Pixel arrays of the curve being drawn, kept like the scratch arrays.
  int32_t pointCapacity_ = 0;
  int32_t* xPixels_ = nullptr;
  int32_t* yPixels_ = nullptr;
  lv::Point* points_ = nullptr;
  // One bit per pixel of the plot area: the symbol centres already drawn in
  // the series being drawn (kept like the scratch arrays).
  uint64_t* symbolSeen_ = nullptr;
  int64_t symbolSeenWords_ = 0;
  lv::Font normalFont_;
  lv::Font verticalFont_;
};
