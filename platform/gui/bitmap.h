// A 32-bit picture owned by the platform layer (Qt's QImage underneath, not
// visible here). Copies share pixels until one of them changes (copy on
// write), so a finished frame can be handed to another thread as a copy.
// Every thread may own bitmaps; a bitmap object itself is not shared.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/gui/drawing.h"

class QImage;

namespace lv {

class Bitmap {
 public:
  Bitmap();  // the null bitmap: 0 x 0, no pixels
  // width x height pixels filled with fill. A size below 1 or one that cannot
  // be allocated gives the null bitmap.
  Bitmap(int32_t width, int32_t height, Color fill = 0);
  ~Bitmap();
  Bitmap(const Bitmap& other);
  Bitmap& operator=(const Bitmap& other);
  Bitmap(Bitmap&& other) noexcept;
  Bitmap& operator=(Bitmap&& other) noexcept;

  bool IsNull() const;
  int32_t Width() const;
  int32_t Height() const;

  // Outside the bitmap: Pixel answers 0, SetPixel does nothing.
  Color Pixel(int32_t x, int32_t y) const;
  void SetPixel(int32_t x, int32_t y, Color c);
  void Fill(Color c);

  // True when both have the same size and the same colours everywhere.
  bool SamePixels(const Bitmap& other) const;

  // A bitmap made from a device-independent bitmap (8, 24 or 32 bits per
  // pixel, uncompressed; 8-bit bitmaps need their 256-entry colour table).
  // The null bitmap when the description is not supported.
  static Bitmap FromDib(const BitmapInfoHeader& header, const void* bits, const RgbQuad* colors);

  // Writes the picture; the encoder follows the extension (.png, .bmp, .jpg)
  // unless format ("PNG", "BMP", "JPG") is given. False when it failed.
  bool Save(const std::string& utf8Path, const char* format = nullptr) const;
  // Reads a picture file; the null bitmap when it cannot be read.
  static Bitmap Load(const std::string& utf8Path);

  // Platform-internal access to the image (platform/gui/qt_bridge.h).
  QImage* Image() { return image_.get(); }
  const QImage* Image() const { return image_.get(); }

 private:
  std::unique_ptr<QImage> image_;
};

}  // namespace lv
