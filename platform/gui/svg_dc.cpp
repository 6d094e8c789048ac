#include "platform/gui/svg_dc.h"

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <algorithm>
#include <cmath>
#include <cstdio>

#include "platform/gui/bitmap.h"
#include "platform/gui/fonts.h"
#include "platform/gui/image_dc.h"
#include "platform/text.h"

namespace lv {

namespace {

std::string Hex(Color c) { return FormatC("#%02x%02x%02x", RedOf(c), GreenOf(c), BlueOf(c)); }

std::string Num(double v) { return FormatC("%.6g", v); }

std::string Escaped(std::wstring_view text) {
  std::string out;
  for (char ch : WideToUtf8(text)) {
    switch (ch) {
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '&': out += "&amp;"; break;
      case '"': out += "&quot;"; break;
      default: out += ch;
    }
  }
  return out;
}

Rect Normalized(Point a, Point b) {
  return Rect{std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)};
}

// Pictures of at most 32768 x 32768 pixels are embedded; larger ones are
// left out of the document.
bool Embeddable(const Rect& r) {
  const int64_t w = static_cast<int64_t>(r.right) - r.left;
  const int64_t h = static_cast<int64_t>(r.bottom) - r.top;
  return w > 0 && h > 0 && w <= 32768 && h <= 32768;
}

}  // namespace

SvgDc::SvgDc(Size size) : size_(size) {}

std::string SvgDc::Document() const {
  std::string doc = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
  doc += FormatC(
      "<svg xmlns=\"http://www.w3.org/2000/svg\" xmlns:xlink=\"http://www.w3.org/1999/xlink\" "
      "width=\"%d\" height=\"%d\" viewBox=\"0 0 %d %d\">\n",
      size_.cx, size_.cy, size_.cx, size_.cy);
  if (!defs_.empty()) {
    doc += "<defs>\n" + defs_ + "</defs>\n";
  }
  doc += body_;
  doc += "</svg>\n";
  return doc;
}

std::string SvgDc::Stroke() const {
  const int32_t width = GetPen().width == 0 ? 1 : std::max(1, static_cast<int32_t>(std::lround(GetPen().width * MappingScale())));
  return "fill=\"none\" stroke=\"" + Hex(GetPen().color) + "\" stroke-width=\"" + std::to_string(width) +
         "\" stroke-linecap=\"round\" stroke-linejoin=\"round\"";
}

std::string SvgDc::Fill(const Brush& brush) {
  if (brush.kind == Brush::Kind::kNull) {
    return "fill=\"none\"";
  }
  if (brush.kind == Brush::Kind::kSolid) {
    return "fill=\"" + Hex(brush.color) + "\"";
  }
  const bool opaque = GetBkMode() == BkMode::kOpaque;
  const auto key = std::make_tuple(static_cast<int>(brush.hatch), brush.color, opaque, opaque ? GetBkColor() : 0u);
  auto it = patterns_.find(key);
  if (it == patterns_.end()) {
    const int id = static_cast<int>(patterns_.size()) + 1;
    it = patterns_.emplace(key, id).first;
    std::string p = FormatC("<pattern id=\"hatch%d\" width=\"8\" height=\"8\" patternUnits=\"userSpaceOnUse\">", id);
    if (opaque) {
      p += "<rect width=\"8\" height=\"8\" fill=\"" + Hex(GetBkColor()) + "\"/>";
    }
    const std::string s = "stroke=\"" + Hex(brush.color) + "\" stroke-width=\"1\"";
    const bool forward = brush.hatch == HatchStyle::kForwardDiagonal || brush.hatch == HatchStyle::kDiagonalCross;
    const bool backward = brush.hatch == HatchStyle::kBackwardDiagonal || brush.hatch == HatchStyle::kDiagonalCross;
    if (brush.hatch == HatchStyle::kHorizontal) p += "<line x1=\"0\" y1=\"0.5\" x2=\"8\" y2=\"0.5\" " + s + "/>";
    if (forward) p += "<line x1=\"0\" y1=\"0\" x2=\"8\" y2=\"8\" " + s + "/>";
    if (backward) p += "<line x1=\"0\" y1=\"8\" x2=\"8\" y2=\"0\" " + s + "/>";
    p += "</pattern>\n";
    defs_ += p;
  }
  return FormatC("fill=\"url(#hatch%d)\"", it->second);
}

void SvgDc::LineTo(Point p) {
  if (!GetPen().null) {
    const Point a = ToDevice(GetCurrentPosition());
    const Point b = ToDevice(p);
    body_ += "<line x1=\"" + Num(a.x + 0.5) + "\" y1=\"" + Num(a.y + 0.5) + "\" x2=\"" + Num(b.x + 0.5) +
             "\" y2=\"" + Num(b.y + 0.5) + "\" " + Stroke() + "/>\n";
  }
  DeviceContext::MoveTo(p);
}

bool SvgDc::Polyline(const Point* points, int32_t count) {
  if (points == nullptr || count < 0) {
    return false;
  }
  if (count < 2 || GetPen().null) {
    return true;
  }
  std::string pts;
  pts.reserve(static_cast<size_t>(count) * 12);
  for (int32_t k = 0; k < count; ++k) {
    const Point d = ToDevice(points[k]);
    pts += Num(d.x + 0.5) + "," + Num(d.y + 0.5) + (k + 1 < count ? " " : "");
  }
  body_ += "<polyline points=\"" + pts + "\" " + Stroke() + "/>\n";
  return true;
}

void SvgDc::Rectangle(const Rect& r) {
  const Rect d = Normalized(ToDevice(Point{r.left, r.top}), ToDevice(Point{r.right, r.bottom}));
  if (d.IsEmpty()) {
    return;
  }
  if (GetPen().null) {
    body_ += FormatC("<rect x=\"%d\" y=\"%d\" width=\"%d\" height=\"%d\" ", d.left, d.top, d.Width() - 1,
                     d.Height() - 1) +
             Fill(GetBrush()) + "/>\n";
    return;
  }
  body_ += "<rect x=\"" + Num(d.left + 0.5) + "\" y=\"" + Num(d.top + 0.5) + "\" width=\"" + Num(d.Width() - 1) +
           "\" height=\"" + Num(d.Height() - 1) + "\" " + Fill(GetBrush()) + " stroke=\"" + Hex(GetPen().color) +
           "\" stroke-width=\"1\"/>\n";
}

void SvgDc::FillRect(const Rect& r, const Brush& brush) {
  const Rect d = Normalized(ToDevice(Point{r.left, r.top}), ToDevice(Point{r.right, r.bottom}));
  if (d.IsEmpty() || brush.kind == Brush::Kind::kNull) {
    return;
  }
  body_ += FormatC("<rect x=\"%d\" y=\"%d\" width=\"%d\" height=\"%d\" ", d.left, d.top, d.Width(), d.Height()) +
           Fill(brush) + "/>\n";
}

void SvgDc::TextOut(int32_t x, int32_t y, std::wstring_view text) {
  if (text.empty()) {
    return;
  }
  const Size extent = MeasureText(GetFont(), text);
  const TextMetrics tm = MeasureFont(GetFont());
  const TextAlign align = GetTextAlign();
  const int ox = align.h == HAlign::kLeft ? 0 : align.h == HAlign::kCenter ? -(extent.cx / 2) : -extent.cx;
  const int oy = align.v == VAlign::kTop ? 0 : align.v == VAlign::kBaseline ? -tm.ascent : -tm.height;
  const Point p = ToDevice(Point{x, y});
  std::string transform = "translate(" + std::to_string(p.x) + " " + std::to_string(p.y) + ")";
  if (HasMapping()) {
    transform += " scale(" + Num(MappingScale()) + ")";
  }
  if (GetFont().escapement != 0) {
    transform += " rotate(" + Num(-GetFont().escapement / 10.0) + ")";
  }
  body_ += "<g transform=\"" + transform + "\">";
  if (GetBkMode() == BkMode::kOpaque) {
    body_ += FormatC("<rect x=\"%d\" y=\"%d\" width=\"%d\" height=\"%d\" fill=\"", ox, oy, extent.cx, tm.height) +
             Hex(GetBkColor()) + "\"/>";
  }
  body_ += FormatC("<text x=\"%d\" y=\"%d\" font-family=\"%s\" font-size=\"%d\"%s fill=\"", ox, oy + tm.ascent,
                   RequestedFontFamily(GetFont().face), PixelSizeForFont(GetFont()),
                   GetFont().bold ? " font-weight=\"bold\"" : "") +
           Hex(GetTextColor()) + "\" xml:space=\"preserve\">" + Escaped(text) + "</text></g>\n";
}

Size SvgDc::GetTextExtent(std::wstring_view text) { return MeasureText(GetFont(), text); }

TextMetrics SvgDc::GetTextMetrics() { return MeasureFont(GetFont()); }

void SvgDc::Image(const Rect& d, const Bitmap& picture) {
  QByteArray png;
  QBuffer buffer(&png);
  buffer.open(QIODevice::WriteOnly);
  picture.Image()->save(&buffer, "PNG");
  body_ += FormatC("<image x=\"%d\" y=\"%d\" width=\"%d\" height=\"%d\" preserveAspectRatio=\"none\" "
                   "style=\"image-rendering:pixelated\" xlink:href=\"data:image/png;base64,",
                   d.left, d.top, d.Width(), d.Height()) +
           png.toBase64().toStdString() + "\"/>\n";
}

bool SvgDc::StretchDib(const Rect& dest, const Rect& src, const void* bits, const BitmapInfoHeader& header,
                       const RgbQuad* colors) {
  if (src.IsEmpty() || dest.IsEmpty() || !Embeddable(src)) {
    return false;
  }
  // The source part as a picture of its own size.
  ImageDc part(src.Width(), src.Height());
  if (!part.StretchDib(Rect{0, 0, src.Width(), src.Height()}, src, bits, header, colors)) {
    return false;
  }
  Image(Normalized(ToDevice(Point{dest.left, dest.top}), ToDevice(Point{dest.right, dest.bottom})), part.GetBitmap());
  return true;
}

bool SvgDc::BitBlt(const Rect& dest, const Bitmap& bitmap, Point src) {
  if (bitmap.IsNull()) {
    return false;
  }
  if (dest.IsEmpty() || !Embeddable(dest)) {
    return true;
  }
  ImageDc part(dest.Width(), dest.Height());
  part.BitBlt(Rect{0, 0, dest.Width(), dest.Height()}, bitmap, src);
  Image(Normalized(ToDevice(Point{dest.left, dest.top}), ToDevice(Point{dest.right, dest.bottom})), part.GetBitmap());
  return true;
}

}  // namespace lv
