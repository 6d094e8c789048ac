// A device context that draws into a 32-bit bitmap it owns (an off-screen
// surface). Lines are walked on the pixels directly; text goes through Qt's
// painter on the image. Safe on worker threads: it uses images only.
#pragma once

#include <cstdint>
#include <string_view>

#include "platform/gui/bitmap.h"
#include "platform/gui/device_context.h"

namespace lv {

class ImageDc : public DeviceContext {
 public:
  ImageDc() = default;  // no surface yet: drawing does nothing
  // A surface of width x height pixels filled with clear.
  ImageDc(int32_t width, int32_t height, Color clear = 0);
  explicit ImageDc(Bitmap bitmap);
  ~ImageDc() override = default;

  // Selects a new surface of width x height filled with clear; the drawing
  // state (pen, brush, font, colours, alignment, mapping) stays. False (and
  // the previous surface kept) when it cannot be allocated.
  bool Resize(int32_t width, int32_t height, Color clear = 0);
  // Selects bitmap as the surface and hands back the previous one.
  Bitmap SelectBitmap(Bitmap bitmap);

  const Bitmap& GetBitmap() const { return bitmap_; }
  Bitmap& GetBitmap() { return bitmap_; }
  int32_t Width() const { return bitmap_.Width(); }
  int32_t Height() const { return bitmap_.Height(); }

  // Fills the whole surface with c (mapping and brush ignored).
  void Clear(Color c);
  // Sets the resolution reported by DpiX and DpiY (printing surfaces).
  void SetDpi(int32_t dpiX, int32_t dpiY);

  void LineTo(Point p) override;
  bool Polyline(const Point* points, int32_t count) override;
  void Rectangle(const Rect& r) override;
  void FillRect(const Rect& r, const Brush& brush) override;
  void TextOut(int32_t x, int32_t y, std::wstring_view text) override;
  Size GetTextExtent(std::wstring_view text) override;
  TextMetrics GetTextMetrics() override;
  bool StretchDib(const Rect& dest, const Rect& src, const void* bits,
                  const BitmapInfoHeader& header, const RgbQuad* colors) override;
  bool BitBlt(const Rect& dest, const Bitmap& bitmap, Point src) override;
  Size DeviceSize() const override { return Size{Width(), Height()}; }
  int32_t DpiX() const override { return dpiX_; }
  int32_t DpiY() const override { return dpiY_; }

 private:
  // One segment in device pixels with the current pen, end pixel left out.
  void DeviceLine(Point a, Point b);
  // Device width of the current pen in pixels (at least 1).
  int32_t PenDeviceWidth() const;
  void FillDeviceRect(Rect r, const Brush& brush);

  Bitmap bitmap_;
  int32_t dpiX_ = 96;
  int32_t dpiY_ = 96;
};

}  // namespace lv
