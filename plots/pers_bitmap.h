// CWPersBitmap: the persistence image. Spectrum traces (one power value per
// column) are accumulated into a grid of columns (frequencies) by rows (power
// levels): every cell holds an intensity from 0 to 255 that grows where traces
// pass and fades by a constant amount per trace, shown through a 256-entry
// colour map. Row 0 is the bottom line of the image (low powers drawn low).
//
// Every step over the whole grid runs as a vector primitive; only the joining
// of neighbouring trace points is a scalar line walk. The per-cell buffers are
// allocated once per size and reused for every trace. Used by one plot thread.
#pragma once

#include <cstdint>
#include <memory>

#include "platform/gui/drawing.h"

class CWColorMap;

class CWPersBitmap {
 public:
  // Decay per trace of the persistence types 0 (none) to 3, and the hit gain.
  static constexpr float kDecayInfinite = 0.0f;
  static constexpr float kDecaySlow = 1.0f / 35.0f;
  static constexpr float kDecayMedium = 1.0f / 15.0f;
  static constexpr float kDecayFast = 1.0f / 6.0f;
  static constexpr float kGain = 1.0f / 150.0f;
  // The colour of the cells of the last trace when the overlay is on.
  static constexpr uint32_t kOverlayPixel = 0x00FFFF00;  // RGB(255, 255, 0), blue in the low byte

  // 101 columns x 201 rows, persistence type 2 (decay 1/15), colour map 5.
  CWPersBitmap();
  ~CWPersBitmap();
  CWPersBitmap(const CWPersBitmap&) = delete;
  CWPersBitmap& operator=(const CWPersBitmap&) = delete;

  // Columns or rows not positive: "Invalid number of rows.". The current size
  // changes nothing; a new one reallocates every buffer, sets the draw range
  // to all columns and clears the pixels and the intensities. After a failure
  // the bitmap may have no buffers; the next successful SetSize rebuilds them.
  void SetSize(int32_t columns, int32_t rows);
  // Every pixel black; the colour indices stay.
  void ResetImage();
  // Every intensity 0.
  void ResetPersistence();
  // Adds one trace of count values (count must equal the number of columns),
  // mapped linearly from bottom (row 0) to top (the last row); values beyond
  // either end land on the end row.
  void NewData(const float* values, int32_t count, float top, float bottom);
  // Pixels from the colour indices through the colour map, then the cells of
  // the last trace in yellow when the overlay is on.
  void Recolor();

  // 0 none, 1 slow (1/35), 2 medium (1/15), 3 fast (1/6); other values are
  // taken as 0. Sets the decay accordingly.
  void SetPersistenceType(int32_t type);
  int32_t GetPersistenceType() const { return persistenceType_; }
  void SetDecay(float decay) { decay_ = decay; }
  float GetDecay() const { return decay_; }
  void SetOverlayTrace(bool on) { overlayTrace_ = on; }
  bool GetOverlayTrace() const { return overlayTrace_; }
  void SetConnectPoints(bool on) { connectPoints_ = on; }
  bool GetConnectPoints() const { return connectPoints_; }
  // The columns a trace covers; a trace is refused unless stop > start.
  void SetDrawRange(int32_t start, int32_t stop) {
    drawStart_ = start;
    drawStop_ = stop;
  }

  int32_t GetColumns() const { return columns_; }
  int32_t GetRows() const { return rows_; }
  CWColorMap& GetColorMap() { return *colorMap_; }
  const lv::BitmapInfoHeader& GetHeader() const { return header_; }
  // Per-cell arrays, element r * columns + c for column c and row r (row 0 at
  // the bottom); null while the bitmap has no buffers.
  const uint32_t* GetPixels() const { return pixels_; }
  const float* GetIntensity() const { return intensity_; }
  const int16_t* GetColorIndex() const { return colorIndex_; }
  const int32_t* GetHitMap() const { return hitMap_; }
  // The row of every column of the last trace.
  const int32_t* GetTraceRows() const { return traceRows_; }

 private:
  void FreeBuffers();
  // Marks the cells of the last trace in the hit map.
  void MarkTrace();

  bool overlayTrace_ = true;
  bool connectPoints_ = true;
  int32_t columns_ = 0;
  int32_t rows_ = 0;
  int32_t drawStart_ = 0;
  int32_t drawStop_ = 0;
  float decay_ = kDecayMedium;
  float gain_ = kGain;
  int32_t persistenceType_ = 2;
  std::unique_ptr<CWColorMap> colorMap_;
  lv::BitmapInfoHeader header_;
  int16_t* colorIndex_ = nullptr;
  uint32_t* pixels_ = nullptr;
  int32_t* hitMap_ = nullptr;
  int32_t* traceRows_ = nullptr;
  int32_t* spareRows_ = nullptr;
  float* intensity_ = nullptr;
  float* work1_ = nullptr;
  float* work2_ = nullptr;
  float* work3_ = nullptr;
  float* columnWork_ = nullptr;
  int32_t* columnIntWork_ = nullptr;
};
