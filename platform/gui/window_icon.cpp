#include "platform/gui/window_icon.h"

#include <QApplication>
#include <QIcon>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QWidget>
#include <algorithm>
#include <utility>

#include "platform/gui/gui_runtime.h"
#include "platform/gui/gui_runtime_qt.h"
#include "platform/gui/qt_bridge.h"
#include "platform/gui/window.h"
#include "platform/gui/window_qt.h"

namespace lv {

struct WindowIcon::Images {
  std::vector<QImage> images;  // ARGB, smallest first
};

// The images of an icon, for this file's Qt side.
struct WindowIconAccess {
  static const std::vector<QImage>* Of(const WindowIcon& icon) {
    return icon.images_ ? &icon.images_->images : nullptr;
  }
};

namespace {

// A QIcon made on the GUI thread (pixmaps belong there).
QIcon ToQIcon(const WindowIcon& icon) {
  QIcon q;
  if (const std::vector<QImage>* images = WindowIconAccess::Of(icon)) {
    for (const QImage& image : *images) {
      q.addPixmap(QPixmap::fromImage(image));
    }
  }
  return q;
}

std::vector<int32_t> SizesOf(const QIcon& icon) {
  std::vector<int32_t> widths;
  for (const QSize& s : icon.availableSizes()) {
    widths.push_back(s.width());
  }
  std::sort(widths.begin(), widths.end());
  return widths;
}

}  // namespace

WindowIcon::WindowIcon() = default;
WindowIcon::~WindowIcon() = default;
WindowIcon::WindowIcon(const WindowIcon& other) = default;
WindowIcon& WindowIcon::operator=(const WindowIcon& other) = default;

bool WindowIcon::AddPng(const void* data, size_t size) {
  if (data == nullptr || size == 0 || size > static_cast<size_t>(INT32_MAX)) {
    return false;
  }
  QImage image;
  if (!image.loadFromData(static_cast<const uchar*>(data), static_cast<int>(size), "PNG") || image.isNull()) {
    return false;
  }
  // New images for the new icon: the ones other copies hold never change.
  auto next = std::make_shared<Images>();
  if (images_) {
    next->images = images_->images;
  }
  next->images.push_back(image.convertToFormat(QImage::Format_ARGB32));
  std::stable_sort(next->images.begin(), next->images.end(),
                   [](const QImage& a, const QImage& b) { return a.width() < b.width(); });
  images_ = std::move(next);
  return true;
}

bool WindowIcon::IsNull() const { return !images_ || images_->images.empty(); }

std::vector<int32_t> WindowIcon::Sizes() const {
  std::vector<int32_t> widths;
  if (images_) {
    for (const QImage& image : images_->images) {
      widths.push_back(image.width());
    }
  }
  return widths;
}

Bitmap WindowIcon::ImageOver(int32_t width, Color background) const {
  if (images_) {
    for (const QImage& image : images_->images) {
      if (image.width() != width) {
        continue;
      }
      Bitmap out(image.width(), image.height(), background);
      QPainter painter(out.Image());
      painter.drawImage(0, 0, image);
      return out;
    }
  }
  return Bitmap();
}

void SetWindowIcon(const LayerWindow& window, const WindowIcon& icon) {
  const uint32_t id = window.Id();
  auto apply = [id, icon]() {
    if (QWidget* w = gui_internal::WidgetOf(id)) {
      w->setWindowIcon(ToQIcon(icon));
    }
  };
  // Posted after the widget's creation, which is posted too: it finds it.
  if (IsGuiThread()) {
    apply();
  } else {
    gui_internal::PostToGuiThread(std::move(apply));
  }
}

bool SetApplicationIcon(const WindowIcon& icon) {
  if (!IsGuiRuntimeStarted() || !IsGuiThread()) {
    return false;
  }
  QApplication::setWindowIcon(ToQIcon(icon));
  return true;
}

namespace test_hooks {

std::vector<int32_t> WindowIconSizes(uint32_t window) {
  QWidget* w = gui_internal::WidgetOf(window);
  if (w == nullptr || !w->testAttribute(Qt::WA_SetWindowIcon)) {
    return {};
  }
  return SizesOf(w->windowIcon());
}

std::vector<int32_t> ApplicationIconSizes() { return SizesOf(QApplication::windowIcon()); }

}  // namespace test_hooks

}  // namespace lv
