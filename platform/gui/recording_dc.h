// A device context that logs every call made to it, in order, with its
// arguments: tests read the log, and the vector copy of a plot is made by
// replaying it. Text measurements answer with the same fonts an ImageDc uses,
// so a layout recorded here matches the one drawn into an image. Optionally
// every call is passed on to a second device context as well.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/gui/bitmap.h"
#include "platform/gui/device_context.h"

namespace lv {

enum class DcOp : int32_t {
  kSelectPen,
  kSelectBrush,
  kSelectFont,
  kSetTextColor,
  kSetBkColor,
  kSetBkMode,
  kSetTextAlign,
  kSetIsotropicMapping,
  kResetMapping,
  kMoveTo,
  kLineTo,
  kPolyline,
  kRectangle,
  kFillRect,
  kTextOut,
  kGetTextExtent,
  kGetTextMetrics,
  kStretchDib,
  kBitBlt,
};

const char* DcOpName(DcOp op);

// One call. Only the fields of its kind are meaningful:
// pen, brush, font, color, bkMode, align: the state setters (brush also for
// FillRect); size (window extent), size2 (viewport extent), point (viewport
// origin): SetIsotropicMapping; point: MoveTo, LineTo, TextOut, BitBlt (source);
// points: Polyline; rect: Rectangle, FillRect, StretchDib and BitBlt (dest);
// rect2: StretchDib (source); text: TextOut, GetTextExtent; header, bits,
// colors: StretchDib (copies); bitmap: BitBlt (a copy).
struct DcRecord {
  DcOp op = DcOp::kMoveTo;
  Pen pen;
  Brush brush;
  Font font;
  Color color = 0;
  BkMode bkMode = BkMode::kTransparent;
  TextAlign align;
  Size size;
  Size size2;
  Point point;
  Rect rect;
  Rect rect2;
  std::vector<Point> points;
  std::wstring text;
  BitmapInfoHeader header;
  std::vector<uint8_t> bits;
  std::vector<RgbQuad> colors;
  std::shared_ptr<const Bitmap> bitmap;
};

class RecordingDc : public DeviceContext {
 public:
  // deviceSize: what DeviceSize answers. forward: a device context that every
  // call is passed on to (not owned; may be null).
  explicit RecordingDc(Size deviceSize = Size{0, 0}, DeviceContext* forward = nullptr);
  ~RecordingDc() override = default;

  const std::vector<DcRecord>& Records() const { return records_; }
  size_t Count(DcOp op) const;
  void ClearRecords() { records_.clear(); }
  // Issues the recorded calls (queries left out) on target, in order.
  void Replay(DeviceContext& target) const;

  Pen SelectPen(const Pen& pen) override;
  Brush SelectBrush(const Brush& brush) override;
  Font SelectFont(const Font& font) override;
  Color SetTextColor(Color c) override;
  Color SetBkColor(Color c) override;
  BkMode SetBkMode(BkMode mode) override;
  TextAlign SetTextAlign(TextAlign align) override;
  void SetIsotropicMapping(Size windowExt, Size viewportExt, Point viewportOrg) override;
  void ResetMapping() override;
  void MoveTo(Point p) override;
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
  Size DeviceSize() const override { return deviceSize_; }

 private:
  DcRecord& Add(DcOp op);

  Size deviceSize_;
  DeviceContext* forward_;
  std::vector<DcRecord> records_;
};

}  // namespace lv
