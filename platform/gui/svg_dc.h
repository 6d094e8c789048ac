// A device context that writes what is drawn on it as an SVG document (the
// vector copy of a plot: replay a RecordingDc into it). Positions pass
// through the same mapping as on an image; thin lines are one unit wide at
// pixel centres; texts keep their font, size, colour, alignment and direction;
// hatches become 8-unit patterns; bitmaps are embedded as PNG pictures shown
// without smoothing.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <tuple>

#include "platform/gui/device_context.h"

namespace lv {

class SvgDc : public DeviceContext {
 public:
  // A document of width x height pixels.
  explicit SvgDc(Size size);
  ~SvgDc() override = default;

  // The whole document (UTF-8).
  std::string Document() const;

  void LineTo(Point p) override;
  bool Polyline(const Point* points, int32_t count) override;
  void Rectangle(const Rect& r) override;
  void FillRect(const Rect& r, const Brush& brush) override;
  void TextOut(int32_t x, int32_t y, std::wstring_view text) override;
  Size GetTextExtent(std::wstring_view text) override;
  TextMetrics GetTextMetrics() override;
  bool StretchDib(const Rect& dest, const Rect& src, const void* bits, const BitmapInfoHeader& header,
                  const RgbQuad* colors) override;
  bool BitBlt(const Rect& dest, const Bitmap& bitmap, Point src) override;
  Size DeviceSize() const override { return size_; }

 private:
  std::string Stroke() const;
  std::string Fill(const Brush& brush);
  void Image(const Rect& deviceDest, const Bitmap& picture);

  Size size_;
  std::string defs_;
  std::string body_;
  // Hatch patterns made so far: (style, colour, opaque, background) -> id.
  std::map<std::tuple<int, Color, bool, Color>, int> patterns_;
};

}  // namespace lv
