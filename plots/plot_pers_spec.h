// CWPlotPersSpec: the persistence plot of the persistence-spectrum window. It
// holds the display size, the power range and the frequency range of the last
// trace, feeds spectra in dBm to its CWPersBitmap and paints the image one
// image pixel per display pixel. Used by one plot thread.
#pragma once

#include <cstdint>
#include <memory>

#include "plots/pers_bitmap.h"

class CQFArrayFD;

namespace lv {
class DeviceContext;
}

class CWPlotPersSpec {
 public:
  CWPlotPersSpec();
  ~CWPlotPersSpec();
  CWPlotPersSpec(const CWPlotPersSpec&) = delete;
  CWPlotPersSpec& operator=(const CWPlotPersSpec&) = delete;

  // Both positive: the bitmap takes the size (columns x rows) and so does the
  // display; otherwise nothing.
  void SetSize(int32_t width, int32_t height);
  // Adds one spectrum (dBm) whose number of points equals the bitmap's
  // columns, and takes its frequency range.
  void AddASpectrum(const CQFArrayFD* spectrum);
  // Recolours the bitmap and marks the plot ready to paint.
  void DrawNow();
  // Frequency range back to -1 MHz .. 1 MHz, image and intensities cleared,
  // not ready.
  void ResetPlot();
  // Stretches the whole bitmap onto (x, y, display width, display height).
  void Paint(lv::DeviceContext* dc, int32_t x, int32_t y);

  void SetBottom(float dBm) { bottom_ = dBm; }
  void SetTop(float dBm) { top_ = dBm; }
  float GetBottom() const { return bottom_; }
  float GetTop() const { return top_; }
  double GetStartFreq() const { return startFreq_; }
  double GetStopFreq() const { return stopFreq_; }
  bool IsReady() const { return ready_; }
  int32_t GetDisplayWidth() const { return displayWidth_; }
  int32_t GetDisplayHeight() const { return displayHeight_; }
  CWPersBitmap& GetBitmap() { return *bitmap_; }
  const CWPersBitmap& GetBitmap() const { return *bitmap_; }

 private:
  bool ready_ = false;
  int32_t displayWidth_ = 0;
  int32_t displayHeight_ = 0;
  float bottom_ = -130.0f;
  float top_ = -30.0f;
  double startFreq_ = -1e6;
  double stopFreq_ = 1e6;
  std::unique_ptr<CWPersBitmap> bitmap_;
};
