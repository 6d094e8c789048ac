// Platform-internal reader of device-independent bitmaps: validates a
// description and answers the colour of a pixel in picture coordinates.
#pragma once

#include <QImage>
#include <cstdint>

#include "platform/gui/drawing.h"

namespace lv::gui_internal {

class DibSource {
 public:
  // False when the description is not one we can read: uncompressed, one
  // plane, 8 (with colours), 24 or 32 bits, a non-zero width and height.
  bool Open(const BitmapInfoHeader& header, const void* bits, const RgbQuad* colors);

  int32_t Width() const { return width_; }
  int32_t Height() const { return height_; }

  // Pixel (x, y) with row 0 the top line of the picture, as 0xFFRRGGBB.
  QRgb At(int32_t x, int32_t y) const {
    const int32_t stored = bottomUp_ ? height_ - 1 - y : y;
    const uint8_t* row = bits_ + static_cast<int64_t>(stored) * rowBytes_;
    switch (bitCount_) {
      case 8: {
        const RgbQuad& q = colors_[row[x]];
        return qRgb(q.red, q.green, q.blue);
      }
      case 24: {
        const uint8_t* p = row + static_cast<int64_t>(x) * 3;
        return qRgb(p[2], p[1], p[0]);
      }
      default: {
        const uint8_t* p = row + static_cast<int64_t>(x) * 4;
        return qRgb(p[2], p[1], p[0]);
      }
    }
  }

 private:
  const uint8_t* bits_ = nullptr;
  const RgbQuad* colors_ = nullptr;
  int32_t width_ = 0;
  int32_t height_ = 0;
  int32_t bitCount_ = 0;
  bool bottomUp_ = true;
  int64_t rowBytes_ = 0;
};

}  // namespace lv::gui_internal
