#include "platform/gui/screens.h"

#include <QGuiApplication>
#include <QRect>
#include <QScreen>

namespace lv {

std::vector<Rect> ScreenRects() {
  std::vector<Rect> rects;
  if (QGuiApplication::instance() == nullptr) return rects;
  for (QScreen* screen : QGuiApplication::screens()) {
    const QRect g = screen->geometry();
    rects.push_back(Rect{g.left(), g.top(), g.left() + g.width(), g.top() + g.height()});
  }
  return rects;
}

bool IsOnAnyScreen(const Rect& r) {
  if (r.IsEmpty()) return false;
  for (const Rect& s : ScreenRects()) {
    if (r.left < s.right && s.left < r.right && r.top < s.bottom && s.top < r.bottom) return true;
  }
  return false;
}

}  // namespace lv
