// CWBitmap: the 32-bit colour image of the spectrogram, one row per time and
// one column per frequency, stored bottom-up (row 0 is the bottom line, so the
// earliest time is drawn at the bottom) with a device-independent bitmap
// header that describes it for stretching onto a device context.
#pragma once

#include <cstdint>

#include "platform/gui/drawing.h"

class CWColorMap;

class CWBitmap {
 public:
  // A 0 x 0 image with its header (32 bits, one plane, uncompressed, 96 dpi).
  CWBitmap();
  ~CWBitmap();
  CWBitmap(const CWBitmap&) = delete;
  CWBitmap& operator=(const CWBitmap&) = delete;

  // Either size not positive: "Invalid number of rows.". The current size:
  // nothing (the picture stays). Otherwise new pixels (black) and a new work
  // row replace the old ones; a failed allocation leaves no pixels.
  void SetSize(int width, int height);
  // Every pixel black; nothing for a 0 x 0 image or one without pixels.
  void ResetContent();
  // Colours row r from count values in dBm: values are limited to
  // minimum .. maximum and mapped linearly onto the 256 entries of the colour
  // map (maximum > minimum is the caller's promise).
  void SetRow(int row, const float* values, int count, float maximum, float minimum, CWColorMap* map);

  int GetWidth() const { return width_; }
  int GetHeight() const { return height_; }
  const lv::BitmapInfoHeader& GetHeader() const { return header_; }
  // width x height pixels (blue, green, red, 0), row r at r * width; null
  // before the first SetSize or after a failed one.
  const lv::RgbQuad* GetPixels() const { return pixels_; }
  // The pixel of row r (0: bottom) and column c; the caller keeps inside.
  lv::RgbQuad GetPixel(int row, int column) const { return pixels_[static_cast<int64_t>(row) * width_ + column]; }

 private:
  void FreeStorage();

  int width_ = 0;
  int height_ = 0;
  lv::BitmapInfoHeader header_;
  lv::RgbQuad* pixels_ = nullptr;
  float* work_ = nullptr;
};
