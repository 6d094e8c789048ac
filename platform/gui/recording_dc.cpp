#include "platform/gui/recording_dc.h"

#include <cstring>

#include "platform/gui/fonts.h"

namespace lv {

const char* DcOpName(DcOp op) {
  switch (op) {
    case DcOp::kSelectPen: return "SelectPen";
    case DcOp::kSelectBrush: return "SelectBrush";
    case DcOp::kSelectFont: return "SelectFont";
    case DcOp::kSetTextColor: return "SetTextColor";
    case DcOp::kSetBkColor: return "SetBkColor";
    case DcOp::kSetBkMode: return "SetBkMode";
    case DcOp::kSetTextAlign: return "SetTextAlign";
    case DcOp::kSetIsotropicMapping: return "SetIsotropicMapping";
    case DcOp::kResetMapping: return "ResetMapping";
    case DcOp::kMoveTo: return "MoveTo";
    case DcOp::kLineTo: return "LineTo";
    case DcOp::kPolyline: return "Polyline";
    case DcOp::kRectangle: return "Rectangle";
    case DcOp::kFillRect: return "FillRect";
    case DcOp::kTextOut: return "TextOut";
    case DcOp::kGetTextExtent: return "GetTextExtent";
    case DcOp::kGetTextMetrics: return "GetTextMetrics";
    case DcOp::kStretchDib: return "StretchDib";
    case DcOp::kBitBlt: return "BitBlt";
  }
  return "?";
}

RecordingDc::RecordingDc(Size deviceSize, DeviceContext* forward) : deviceSize_(deviceSize), forward_(forward) {}

DcRecord& RecordingDc::Add(DcOp op) {
  records_.emplace_back();
  records_.back().op = op;
  return records_.back();
}

size_t RecordingDc::Count(DcOp op) const {
  size_t n = 0;
  for (const DcRecord& r : records_) {
    n += r.op == op ? 1 : 0;
  }
  return n;
}

Pen RecordingDc::SelectPen(const Pen& pen) {
  Add(DcOp::kSelectPen).pen = pen;
  if (forward_) forward_->SelectPen(pen);
  return DeviceContext::SelectPen(pen);
}

Brush RecordingDc::SelectBrush(const Brush& brush) {
  Add(DcOp::kSelectBrush).brush = brush;
  if (forward_) forward_->SelectBrush(brush);
  return DeviceContext::SelectBrush(brush);
}

Font RecordingDc::SelectFont(const Font& font) {
  Add(DcOp::kSelectFont).font = font;
  if (forward_) forward_->SelectFont(font);
  return DeviceContext::SelectFont(font);
}

Color RecordingDc::SetTextColor(Color c) {
  Add(DcOp::kSetTextColor).color = c;
  if (forward_) forward_->SetTextColor(c);
  return DeviceContext::SetTextColor(c);
}

Color RecordingDc::SetBkColor(Color c) {
  Add(DcOp::kSetBkColor).color = c;
  if (forward_) forward_->SetBkColor(c);
  return DeviceContext::SetBkColor(c);
}

BkMode RecordingDc::SetBkMode(BkMode mode) {
  Add(DcOp::kSetBkMode).bkMode = mode;
  if (forward_) forward_->SetBkMode(mode);
  return DeviceContext::SetBkMode(mode);
}

TextAlign RecordingDc::SetTextAlign(TextAlign align) {
  Add(DcOp::kSetTextAlign).align = align;
  if (forward_) forward_->SetTextAlign(align);
  return DeviceContext::SetTextAlign(align);
}

void RecordingDc::SetIsotropicMapping(Size windowExt, Size viewportExt, Point viewportOrg) {
  DcRecord& r = Add(DcOp::kSetIsotropicMapping);
  r.size = windowExt;
  r.size2 = viewportExt;
  r.point = viewportOrg;
  if (forward_) forward_->SetIsotropicMapping(windowExt, viewportExt, viewportOrg);
  DeviceContext::SetIsotropicMapping(windowExt, viewportExt, viewportOrg);
}

void RecordingDc::ResetMapping() {
  Add(DcOp::kResetMapping);
  if (forward_) forward_->ResetMapping();
  DeviceContext::ResetMapping();
}

void RecordingDc::MoveTo(Point p) {
  Add(DcOp::kMoveTo).point = p;
  if (forward_) forward_->MoveTo(p);
  DeviceContext::MoveTo(p);
}

void RecordingDc::LineTo(Point p) {
  Add(DcOp::kLineTo).point = p;
  if (forward_) forward_->LineTo(p);
  DeviceContext::MoveTo(p);
}

bool RecordingDc::Polyline(const Point* points, int32_t count) {
  if (points == nullptr || count < 0) {
    return false;
  }
  Add(DcOp::kPolyline).points.assign(points, points + count);
  if (forward_) forward_->Polyline(points, count);
  return true;
}

void RecordingDc::Rectangle(const Rect& r) {
  Add(DcOp::kRectangle).rect = r;
  if (forward_) forward_->Rectangle(r);
}

void RecordingDc::FillRect(const Rect& r, const Brush& brush) {
  DcRecord& rec = Add(DcOp::kFillRect);
  rec.rect = r;
  rec.brush = brush;
  if (forward_) forward_->FillRect(r, brush);
}

void RecordingDc::TextOut(int32_t x, int32_t y, std::wstring_view text) {
  DcRecord& rec = Add(DcOp::kTextOut);
  rec.point = Point{x, y};
  rec.text.assign(text);
  if (forward_) forward_->TextOut(x, y, text);
}

Size RecordingDc::GetTextExtent(std::wstring_view text) {
  Add(DcOp::kGetTextExtent).text.assign(text);
  return MeasureText(GetFont(), text);
}

TextMetrics RecordingDc::GetTextMetrics() {
  Add(DcOp::kGetTextMetrics);
  return MeasureFont(GetFont());
}

bool RecordingDc::StretchDib(const Rect& dest, const Rect& src, const void* bits, const BitmapInfoHeader& header,
                             const RgbQuad* colors) {
  const bool supported = bits != nullptr && header.compression == 0 && header.planes == 1 && header.width > 0 &&
                         header.height != 0 && header.height != INT32_MIN &&
                         (header.bitCount == 24 || header.bitCount == 32 ||
                          (header.bitCount == 8 && colors != nullptr));
  if (!supported || src.IsEmpty() || dest.IsEmpty()) {
    return false;
  }
  DcRecord& rec = Add(DcOp::kStretchDib);
  rec.rect = dest;
  rec.rect2 = src;
  rec.header = header;
  const int64_t rows = header.height > 0 ? header.height : -static_cast<int64_t>(header.height);
  const int64_t bytes = DibRowBytes(header.width, header.bitCount) * rows;
  const uint8_t* b = static_cast<const uint8_t*>(bits);
  rec.bits.assign(b, b + bytes);
  if (header.bitCount == 8) {
    rec.colors.assign(colors, colors + 256);
  }
  if (forward_) forward_->StretchDib(dest, src, bits, header, colors);
  return true;
}

bool RecordingDc::BitBlt(const Rect& dest, const Bitmap& bitmap, Point src) {
  if (bitmap.IsNull()) {
    return false;
  }
  DcRecord& rec = Add(DcOp::kBitBlt);
  rec.rect = dest;
  rec.point = src;
  rec.bitmap = std::make_shared<const Bitmap>(bitmap);
  if (forward_) forward_->BitBlt(dest, bitmap, src);
  return true;
}

void RecordingDc::Replay(DeviceContext& target) const {
  for (const DcRecord& r : records_) {
    switch (r.op) {
      case DcOp::kSelectPen: target.SelectPen(r.pen); break;
      case DcOp::kSelectBrush: target.SelectBrush(r.brush); break;
      case DcOp::kSelectFont: target.SelectFont(r.font); break;
      case DcOp::kSetTextColor: target.SetTextColor(r.color); break;
      case DcOp::kSetBkColor: target.SetBkColor(r.color); break;
      case DcOp::kSetBkMode: target.SetBkMode(r.bkMode); break;
      case DcOp::kSetTextAlign: target.SetTextAlign(r.align); break;
      case DcOp::kSetIsotropicMapping: target.SetIsotropicMapping(r.size, r.size2, r.point); break;
      case DcOp::kResetMapping: target.ResetMapping(); break;
      case DcOp::kMoveTo: target.MoveTo(r.point); break;
      case DcOp::kLineTo: target.LineTo(r.point); break;
      case DcOp::kPolyline:
        target.Polyline(r.points.data(), static_cast<int32_t>(r.points.size()));
        break;
      case DcOp::kRectangle: target.Rectangle(r.rect); break;
      case DcOp::kFillRect: target.FillRect(r.rect, r.brush); break;
      case DcOp::kTextOut: target.TextOut(r.point.x, r.point.y, r.text); break;
      case DcOp::kGetTextExtent:
      case DcOp::kGetTextMetrics:
        break;
      case DcOp::kStretchDib:
        target.StretchDib(r.rect, r.rect2, r.bits.data(), r.header, r.colors.empty() ? nullptr : r.colors.data());
        break;
      case DcOp::kBitBlt:
        if (r.bitmap) target.BitBlt(r.rect, *r.bitmap, r.point);
        break;
    }
  }
}

}  // namespace lv
