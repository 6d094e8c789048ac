#include "platform/gui/device_context.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace lv {

namespace {

int32_t RoundToInt32(double v) {
  if (!(v == v)) {
    return 0;
  }
  if (v >= 2147483647.0) {
    return INT32_MAX;
  }
  if (v <= -2147483648.0) {
    return INT32_MIN;
  }
  return static_cast<int32_t>(std::lround(v));
}

}  // namespace

Pen DeviceContext::SelectPen(const Pen& pen) {
  Pen old = pen_;
  pen_ = pen;
  return old;
}

Brush DeviceContext::SelectBrush(const Brush& brush) {
  Brush old = brush_;
  brush_ = brush;
  return old;
}

Font DeviceContext::SelectFont(const Font& font) {
  Font old = font_;
  font_ = font;
  return old;
}

Color DeviceContext::SetTextColor(Color c) {
  Color old = textColor_;
  textColor_ = c;
  return old;
}

Color DeviceContext::SetBkColor(Color c) {
  Color old = bkColor_;
  bkColor_ = c;
  return old;
}

BkMode DeviceContext::SetBkMode(BkMode mode) {
  BkMode old = bkMode_;
  bkMode_ = mode;
  return old;
}

TextAlign DeviceContext::SetTextAlign(TextAlign align) {
  TextAlign old = textAlign_;
  textAlign_ = align;
  return old;
}

void DeviceContext::SetIsotropicMapping(Size windowExt, Size viewportExt, Point viewportOrg) {
  if (windowExt.cx == 0 || windowExt.cy == 0 || viewportExt.cx == 0 || viewportExt.cy == 0) {
    return;
  }
  const double rx = static_cast<double>(viewportExt.cx) / windowExt.cx;
  const double ry = static_cast<double>(viewportExt.cy) / windowExt.cy;
  const double s = std::min(std::fabs(rx), std::fabs(ry));
  scaleAbs_ = s;
  scaleX_ = rx < 0 ? -s : s;
  scaleY_ = ry < 0 ? -s : s;
  viewportOrg_ = viewportOrg;
  mapped_ = true;
}

void DeviceContext::ResetMapping() {
  mapped_ = false;
  scaleX_ = scaleY_ = scaleAbs_ = 1.0;
  viewportOrg_ = Point{};
}

void DeviceContext::MoveTo(Point p) { current_ = p; }

Point DeviceContext::ToDevice(Point p) const {
  if (!mapped_) {
    return p;
  }
  return Point{RoundToInt32(p.x * scaleX_ + viewportOrg_.x), RoundToInt32(p.y * scaleY_ + viewportOrg_.y)};
}

}  // namespace lv
