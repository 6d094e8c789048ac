// CWOffScreenDC: the off-screen surface of the image plots. The window draws
// its picture into it whenever the content changes and only copies it when
// painting, which avoids flicker. Owned and used by one plot thread.
#pragma once

#include <cstdint>

#include "platform/gui/bitmap.h"
#include "platform/gui/image_dc.h"

class CWOffScreenDC {
 public:
  CWOffScreenDC() = default;
  CWOffScreenDC(const CWOffScreenDC&) = delete;
  CWOffScreenDC& operator=(const CWOffScreenDC&) = delete;

  // Creates the surface, cleared to the window colour. Width or height not
  // positive: "Invalid number of rows.".
  void Initialize(int32_t width, int32_t height);
  // Width not positive: "Invalid width."; height not positive: "Invalid
  // height."; the current size: nothing (the picture stays); otherwise a new
  // surface cleared to the window colour replaces the old one (the drawing
  // state of the device context stays).
  void SetSize(int32_t width, int32_t height);
  // Fills the whole surface with the system's window colour.
  void ClearToWindowColor();
  // Fills the whole surface with a palette colour; an invalid index raises
  // "Invalid color.".
  void FillWithColor(int32_t colorIndex);

  int32_t GetWidth() const { return width_; }
  int32_t GetHeight() const { return height_; }
  // The device context drawing into the surface.
  lv::ImageDc& GetDC() { return dc_; }
  const lv::Bitmap& GetBitmap() const { return dc_.GetBitmap(); }

 private:
  int32_t width_ = 0;
  int32_t height_ = 0;
  lv::ImageDc dc_;
};
