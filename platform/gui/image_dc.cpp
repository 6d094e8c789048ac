#include "platform/gui/image_dc.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPen>
#include <QPolygon>
#include <algorithm>
#include <cmath>
#include <optional>
#include <vector>

#include "platform/gui/dib_source.h"
#include "platform/gui/fonts.h"
#include "platform/gui/qt_bridge.h"

namespace lv {

namespace {

using gui_internal::CachedFont;
using gui_internal::FontFor;
using gui_internal::ToQColor;
using gui_internal::ToQRgb;
using gui_internal::ToQString;

using Wide = __int128;

int64_t FloorDiv(Wide a, Wide b) {  // b > 0
  Wide q = a / b;
  if (a % b != 0 && a < 0) {
    --q;
  }
  return static_cast<int64_t>(q);
}

int64_t CeilDiv(Wide a, Wide b) {  // b > 0
  Wide q = a / b;
  if (a % b != 0 && a > 0) {
    ++q;
  }
  return static_cast<int64_t>(q);
}

// The steps of one line segment from a to b (b left out) that land on a
// w x h surface. The walk takes one pixel per step along the major axis; the
// minor coordinate at step i is the exact one rounded to the nearest integer,
// halves rounded back towards the start, so that a line from (0,0) to (4,2)
// lights (0,0), (1,0), (2,1), (3,1): step i lies at major = m0 + sm*i, minor =
// n0 + sn*off(i) with off(i) = floor((2*i*an + am - 1) / (2*am)), which does
// not decrease with i.
struct LineSteps {
  bool xMajor = true;
  int64_t m0 = 0, n0 = 0, sm = 1, sn = 1, am = 0, an = 0;
  int64_t lo = 0, hi = -1;  // the visible steps
};

// Fills steps for a -> b; false when no pixel of it lies on the surface. A
// segment with both ends on the surface needs no clipping arithmetic; one
// that leaves it gets its first and last visible step computed directly (in
// 128 bits), so far-off end points cost nothing.
bool ClipLine(int32_t w, int32_t h, Point a, Point b, LineSteps& s) {
  const int64_t dx = static_cast<int64_t>(b.x) - a.x;
  const int64_t dy = static_cast<int64_t>(b.y) - a.y;
  const int64_t adx = dx < 0 ? -dx : dx;
  const int64_t ady = dy < 0 ? -dy : dy;
  if (adx == 0 && ady == 0) {
    return false;
  }
  s.xMajor = adx >= ady;
  s.m0 = s.xMajor ? a.x : a.y;
  s.n0 = s.xMajor ? a.y : a.x;
  s.sm = (s.xMajor ? dx : dy) < 0 ? -1 : 1;
  s.sn = (s.xMajor ? dy : dx) < 0 ? -1 : 1;
  s.am = s.xMajor ? adx : ady;
  s.an = s.xMajor ? ady : adx;
  s.lo = 0;
  s.hi = s.am - 1;
  if (static_cast<uint32_t>(a.x) < static_cast<uint32_t>(w) && static_cast<uint32_t>(a.y) < static_cast<uint32_t>(h) &&
      static_cast<uint32_t>(b.x) < static_cast<uint32_t>(w) && static_cast<uint32_t>(b.y) < static_cast<uint32_t>(h)) {
    return true;  // every step lies between the two ends
  }
  const int64_t mLimit = s.xMajor ? w : h;
  const int64_t nLimit = s.xMajor ? h : w;
  if (s.sm > 0) {
    s.lo = std::max<int64_t>(s.lo, -s.m0);
    s.hi = std::min(s.hi, mLimit - 1 - s.m0);
  } else {
    s.lo = std::max(s.lo, s.m0 - (mLimit - 1));
    s.hi = std::min(s.hi, s.m0);
  }
  const int64_t kLo = s.sn > 0 ? -s.n0 : s.n0 - (nLimit - 1);  // off must lie in [kLo, kHi]
  const int64_t kHi = s.sn > 0 ? nLimit - 1 - s.n0 : s.n0;
  if (kHi < 0) {
    return false;
  }
  if (s.an == 0) {
    if (kLo > 0) {
      return false;
    }
  } else {
    if (kLo > 0) {
      s.lo = std::max(s.lo, CeilDiv(Wide(2) * kLo * s.am - s.am + 1, Wide(2) * s.an));
    }
    s.hi = std::min(s.hi, FloorDiv(Wide(2) * (Wide(kHi) + 1) * s.am - s.am, Wide(2) * s.an));
  }
  return s.lo <= s.hi;
}

// Lights the visible pixels of one segment a -> b (b left out).
void WalkLine(QRgb* bits, int64_t stride, int32_t w, int32_t h, Point a, Point b, QRgb color) {
  LineSteps s;
  if (!ClipLine(w, h, a, b, s)) {
    return;
  }
  const int64_t twoAm = 2 * s.am;
  const int64_t twoAn = 2 * s.an;
  int64_t off = 0;
  int64_t rem = s.am - 1;
  if (s.lo != 0) {
    const Wide num = Wide(2) * s.lo * s.an + s.am - 1;
    off = static_cast<int64_t>(num / twoAm);
    rem = static_cast<int64_t>(num % twoAm);
  }
  const int64_t m = s.m0 + s.sm * s.lo;
  const int64_t n = s.n0 + s.sn * off;
  // Walked as an index into the pixels: one step along the major axis, and
  // one along the minor axis whenever the rounded minor coordinate moves on.
  int64_t at = s.xMajor ? n * stride + m : m * stride + n;
  const int64_t majorStep = s.xMajor ? s.sm : s.sm * stride;
  const int64_t minorStep = s.xMajor ? s.sn * stride : s.sn;
  // rem is kept below zero between minor steps. (A branch-free form of the
  // minor step measured twice as slow: it puts the next store's address on
  // the loop's dependency chain.)
  rem -= twoAm;
  for (int64_t i = s.lo; i <= s.hi; ++i) {
    bits[at] = color;
    rem += twoAn;
    at += majorStep;
    if (rem >= 0) {
      rem -= twoAm;
      at += minorStep;
    }
  }
}

// A thin polyline drawn segment by segment, except that the points of one
// run in the same pixel column (a steep or dense trace has many more points
// than columns) are folded into at most four: the first, the lowest and the
// highest, and the last. The segments inside a column are vertical and light
// every pixel between the run's lowest and highest point, except the run's
// last point when it lies beyond all the points before it (the end pixel of
// the polyline's last segment there): the folded chain lights exactly those
// pixels, and the segments between columns are the original ones, so the
// picture is the same pixel for pixel.
class ThinPolyline {
 public:
  ThinPolyline(QRgb* bits, int64_t stride, int32_t w, int32_t h, QRgb color)
      : bits_(bits), stride_(stride), w_(w), h_(h), color_(color) {}

  void Start(Point p) {
    x_ = p.x;
    first_ = last_ = low_ = high_ = p.y;
    moved_ = false;
  }

  void Add(Point p) {
    if (p.x == x_) {
      if (p.y != last_) {
        // The points before this one span [low_, high_].
        lowBefore_ = low_;
        highBefore_ = high_;
        moved_ = true;
        low_ = std::min(low_, p.y);
        high_ = std::max(high_, p.y);
        last_ = p.y;
      }
      return;
    }
    FinishColumn();
    Line(Point{x_, last_}, p);
    Start(p);
  }

  // The vertical chain of the current column.
  void FinishColumn() {
    if (!moved_) {
      return;  // one point, perhaps repeated: no segment lights anything
    }
    const bool lastLit = lowBefore_ <= last_ && last_ <= highBefore_;
    if (!lastLit) {
      // The last point is beyond all others: stop one pixel short of it.
      const int32_t far = last_ > highBefore_ ? low_ : high_;
      Chain(first_, far, last_, last_);
    } else if (last_ == high_) {
      Chain(first_, high_, low_, last_);
    } else {
      Chain(first_, low_, high_, last_);
    }
  }

 private:
  void Chain(int32_t y0, int32_t y1, int32_t y2, int32_t y3) {
    Line(Point{x_, y0}, Point{x_, y1});
    Line(Point{x_, y1}, Point{x_, y2});
    Line(Point{x_, y2}, Point{x_, y3});
  }
  void Line(Point a, Point b) { WalkLine(bits_, stride_, w_, h_, a, b, color_); }

  QRgb* bits_;
  int64_t stride_;
  int32_t w_, h_;
  QRgb color_;
  int32_t x_ = 0;
  int32_t first_ = 0, last_ = 0, low_ = 0, high_ = 0;
  int32_t lowBefore_ = 0, highBefore_ = 0;
  bool moved_ = false;
};

bool HatchHit(HatchStyle style, int32_t x, int32_t y) {
  switch (style) {
    case HatchStyle::kHorizontal:
      return (y & 7) == 0;
    case HatchStyle::kForwardDiagonal:
      return ((x - y) & 7) == 0;
    case HatchStyle::kBackwardDiagonal:
      return ((x + y) & 7) == 0;
    case HatchStyle::kDiagonalCross:
      return ((x - y) & 7) == 0 || ((x + y) & 7) == 0;
  }
  return false;
}

Rect Normalized(Point a, Point b) {
  return Rect{std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)};
}

// Copies src (picture coordinates of a source of sw x sh pixels) onto the
// device rectangle dest of a w x h surface, each device pixel taking the
// source pixel under its centre.
template <typename Source>
void StretchPixels(QRgb* bits, int64_t stride, int32_t w, int32_t h, const Rect& dest, const Rect& src,
                   int32_t sourceWidth, int32_t sourceHeight, const Source& at) {
  // In 64 and 128 bits: a destination far larger than the surface (a zoomed
  // picture) must neither overflow nor cost more than the visible part.
  const int64_t dw = static_cast<int64_t>(dest.right) - dest.left;
  const int64_t dh = static_cast<int64_t>(dest.bottom) - dest.top;
  const int64_t sw = static_cast<int64_t>(src.right) - src.left;
  const int64_t sh = static_cast<int64_t>(src.bottom) - src.top;
  if (dw <= 0 || dh <= 0 || sw <= 0 || sh <= 0) {
    return;
  }
  const int32_t x0 = std::max(dest.left, 0);
  const int32_t x1 = std::min(dest.right, w);
  const int32_t y0 = std::max(dest.top, 0);
  const int32_t y1 = std::min(dest.bottom, h);
  if (x0 >= x1 || y0 >= y1) {
    return;
  }
  std::vector<int32_t> columns(static_cast<size_t>(x1 - x0));
  for (int32_t x = x0; x < x1; ++x) {
    const Wide offset = (Wide(x) - dest.left) * 2 + 1;
    columns[static_cast<size_t>(x - x0)] = static_cast<int32_t>(src.left + static_cast<int64_t>(offset * sw / (2 * dw)));
  }
  for (int32_t y = y0; y < y1; ++y) {
    const int64_t sy = src.top + static_cast<int64_t>(((Wide(y) - dest.top) * 2 + 1) * sh / (2 * dh));
    if (sy < 0 || sy >= sourceHeight) {
      continue;
    }
    QRgb* row = bits + static_cast<int64_t>(y) * stride;
    for (int32_t x = x0; x < x1; ++x) {
      const int32_t sx = columns[static_cast<size_t>(x - x0)];
      if (sx >= 0 && sx < sourceWidth) {
        row[x] = at(sx, static_cast<int32_t>(sy));
      }
    }
  }
}

}  // namespace

ImageDc::ImageDc(int32_t width, int32_t height, Color clear) : bitmap_(width, height, clear) {}

ImageDc::ImageDc(Bitmap bitmap) : bitmap_(std::move(bitmap)) {}

bool ImageDc::Resize(int32_t width, int32_t height, Color clear) {
  Bitmap fresh(width, height, clear);
  if (fresh.IsNull()) {
    return false;
  }
  bitmap_ = std::move(fresh);
  return true;
}

Bitmap ImageDc::SelectBitmap(Bitmap bitmap) {
  Bitmap old = std::move(bitmap_);
  bitmap_ = std::move(bitmap);
  return old;
}

void ImageDc::Clear(Color c) { bitmap_.Fill(c); }

void ImageDc::SetDpi(int32_t dpiX, int32_t dpiY) {
  dpiX_ = dpiX > 0 ? dpiX : 96;
  dpiY_ = dpiY > 0 ? dpiY : 96;
}

int32_t ImageDc::PenDeviceWidth() const {
  const Pen& pen = GetPen();
  if (pen.width <= 1) {
    return pen.width == 1 ? std::max<int32_t>(1, static_cast<int32_t>(std::lround(MappingScale()))) : 1;
  }
  return std::max<int32_t>(1, static_cast<int32_t>(std::lround(pen.width * MappingScale())));
}

void ImageDc::DeviceLine(Point a, Point b) {
  QImage* image = bitmap_.Image();
  if (image->isNull() || GetPen().null) {
    return;
  }
  const int32_t width = PenDeviceWidth();
  if (width <= 1) {
    WalkLine(reinterpret_cast<QRgb*>(image->bits()), image->bytesPerLine() / 4, image->width(),
             image->height(), a, b, ToQRgb(GetPen().color));
    return;
  }
  QPainter painter(image);
  painter.setPen(QPen(ToQColor(GetPen().color), width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  painter.drawLine(QPoint(a.x, a.y), QPoint(b.x, b.y));
}

void ImageDc::LineTo(Point p) {
  DeviceLine(ToDevice(GetCurrentPosition()), ToDevice(p));
  DeviceContext::MoveTo(p);
}

bool ImageDc::Polyline(const Point* points, int32_t count) {
  if (points == nullptr || count < 0) {
    return false;
  }
  QImage* image = bitmap_.Image();
  if (count < 2 || image->isNull() || GetPen().null) {
    return true;
  }
  const int32_t width = PenDeviceWidth();
  if (width <= 1) {
    QRgb* bits = reinterpret_cast<QRgb*>(image->bits());
    const int64_t stride = image->bytesPerLine() / 4;
    const QRgb color = ToQRgb(GetPen().color);
    ThinPolyline line(bits, stride, image->width(), image->height(), color);
    line.Start(ToDevice(points[0]));
    if (HasMapping()) {
      for (int32_t k = 1; k < count; ++k) {
        line.Add(ToDevice(points[k]));
      }
    } else {
      for (int32_t k = 1; k < count; ++k) {
        line.Add(points[k]);
      }
    }
    line.FinishColumn();
    return true;
  }
  QPolygon polygon(count);
  for (int32_t k = 0; k < count; ++k) {
    const Point d = ToDevice(points[k]);
    polygon.setPoint(k, d.x, d.y);
  }
  QPainter painter(image);
  painter.setPen(QPen(ToQColor(GetPen().color), width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  painter.drawPolyline(polygon);
  return true;
}

void ImageDc::FillDeviceRect(Rect r, const Brush& brush) {
  QImage* image = bitmap_.Image();
  if (image->isNull() || brush.kind == Brush::Kind::kNull) {
    return;
  }
  r.left = std::max(r.left, 0);
  r.top = std::max(r.top, 0);
  r.right = std::min(r.right, image->width());
  r.bottom = std::min(r.bottom, image->height());
  if (r.IsEmpty()) {
    return;
  }
  QRgb* bits = reinterpret_cast<QRgb*>(image->bits());
  const int64_t stride = image->bytesPerLine() / 4;
  const QRgb color = ToQRgb(brush.color);
  if (brush.kind == Brush::Kind::kSolid) {
    for (int32_t y = r.top; y < r.bottom; ++y) {
      std::fill(bits + y * stride + r.left, bits + y * stride + r.right, color);
    }
    return;
  }
  const bool opaque = GetBkMode() == BkMode::kOpaque;
  const QRgb background = ToQRgb(GetBkColor());
  for (int32_t y = r.top; y < r.bottom; ++y) {
    QRgb* row = bits + y * stride;
    for (int32_t x = r.left; x < r.right; ++x) {
      if (HatchHit(brush.hatch, x, y)) {
        row[x] = color;
      } else if (opaque) {
        row[x] = background;
      }
    }
  }
}

void ImageDc::FillRect(const Rect& r, const Brush& brush) {
  FillDeviceRect(Normalized(ToDevice(Point{r.left, r.top}), ToDevice(Point{r.right, r.bottom})), brush);
}

void ImageDc::Rectangle(const Rect& r) {
  const Rect d = Normalized(ToDevice(Point{r.left, r.top}), ToDevice(Point{r.right, r.bottom}));
  if (d.IsEmpty()) {
    return;
  }
  if (GetPen().null) {
    FillDeviceRect(Rect{d.left, d.top, d.right - 1, d.bottom - 1}, GetBrush());
    return;
  }
  FillDeviceRect(Rect{d.left + 1, d.top + 1, d.right - 1, d.bottom - 1}, GetBrush());
  const Point corners[5] = {{d.left, d.top}, {d.right - 1, d.top}, {d.right - 1, d.bottom - 1},
                            {d.left, d.bottom - 1}, {d.left, d.top}};
  const int32_t width = PenDeviceWidth();
  QImage* image = bitmap_.Image();
  if (width <= 1) {
    for (int k = 0; k < 4; ++k) {
      WalkLine(reinterpret_cast<QRgb*>(image->bits()), image->bytesPerLine() / 4, image->width(),
               image->height(), corners[k], corners[k + 1], ToQRgb(GetPen().color));
    }
    return;
  }
  QPainter painter(image);
  painter.setPen(QPen(ToQColor(GetPen().color), width, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
  QPolygon polygon;
  for (const Point& c : corners) {
    polygon << QPoint(c.x, c.y);
  }
  painter.drawPolyline(polygon);
}

void ImageDc::TextOut(int32_t x, int32_t y, std::wstring_view text) {
  QImage* image = bitmap_.Image();
  if (image->isNull() || text.empty()) {
    return;
  }
  const CachedFont cached = FontFor(GetFont());
  const QString s = ToQString(text);
  const int w = cached.metrics.horizontalAdvance(s);
  const int ascent = cached.metrics.ascent();
  const int height = ascent + cached.metrics.descent();
  const TextAlign align = GetTextAlign();
  const int ox = align.h == HAlign::kLeft ? 0 : align.h == HAlign::kCenter ? -(w / 2) : -w;
  const int oy = align.v == VAlign::kTop ? 0 : align.v == VAlign::kBaseline ? -ascent : -height;
  const Point p = ToDevice(Point{x, y});

  QPainter painter(image);
  painter.translate(p.x, p.y);
  if (HasMapping()) {
    painter.scale(MappingScale(), MappingScale());
  }
  if (GetFont().escapement != 0) {
    painter.rotate(-GetFont().escapement / 10.0);
  }
  if (GetBkMode() == BkMode::kOpaque) {
    painter.fillRect(QRect(ox, oy, w, height), ToQColor(GetBkColor()));
  }
  painter.setFont(cached.font);
  painter.setPen(ToQColor(GetTextColor()));
  painter.drawText(QPoint(ox, oy + ascent), s);
}

Size ImageDc::GetTextExtent(std::wstring_view text) { return MeasureText(GetFont(), text); }

TextMetrics ImageDc::GetTextMetrics() { return MeasureFont(GetFont()); }

bool ImageDc::StretchDib(const Rect& dest, const Rect& src, const void* bits, const BitmapInfoHeader& header,
                         const RgbQuad* colors) {
  gui_internal::DibSource source;
  if (!source.Open(header, bits, colors) || src.IsEmpty() || dest.IsEmpty()) {
    return false;
  }
  QImage* image = bitmap_.Image();
  if (image->isNull()) {
    return true;
  }
  const Rect d = Normalized(ToDevice(Point{dest.left, dest.top}), ToDevice(Point{dest.right, dest.bottom}));
  StretchPixels(reinterpret_cast<QRgb*>(image->bits()), image->bytesPerLine() / 4, image->width(),
                image->height(), d, src, source.Width(), source.Height(),
                [&source](int32_t x, int32_t y) { return source.At(x, y); });
  return true;
}

bool ImageDc::BitBlt(const Rect& dest, const Bitmap& bitmap, Point src) {
  if (bitmap.IsNull()) {
    return false;
  }
  QImage* image = bitmap_.Image();
  if (image->isNull() || dest.right <= dest.left || dest.bottom <= dest.top) {
    return true;
  }
  // A copy shares the pixels; drawing into our own image then detaches it, so
  // a bitmap copied onto itself reads the pixels as they were.
  const QImage source = *bitmap.Image();
  const Rect d = Normalized(ToDevice(Point{dest.left, dest.top}), ToDevice(Point{dest.right, dest.bottom}));
  const auto clampInt = [](int64_t v) {
    return static_cast<int32_t>(v < INT32_MIN ? INT32_MIN : v > INT32_MAX ? INT32_MAX : v);
  };
  const Rect s{src.x, src.y, clampInt(static_cast<int64_t>(src.x) + dest.right - dest.left),
               clampInt(static_cast<int64_t>(src.y) + dest.bottom - dest.top)};
  QRgb* bits = reinterpret_cast<QRgb*>(image->bits());
  StretchPixels(bits, image->bytesPerLine() / 4, image->width(), image->height(), d, s, source.width(),
                source.height(), [&source](int32_t x, int32_t y) {
                  return reinterpret_cast<const QRgb*>(source.constScanLine(y))[x];
                });
  return true;
}

}  // namespace lv
