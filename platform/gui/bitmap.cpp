#include "platform/gui/bitmap.h"

#include <QImage>
#include <QImageReader>
#include <QImageWriter>
#include <QString>
#include <cstring>

#include "platform/gui/dib_source.h"
#include "platform/gui/qt_bridge.h"

namespace lv {

namespace gui_internal {

bool DibSource::Open(const BitmapInfoHeader& header, const void* bits, const RgbQuad* colors) {
  if (bits == nullptr || header.compression != 0 || header.planes != 1 || header.width <= 0 ||
      header.height == 0 || header.height == INT32_MIN) {
    return false;
  }
  if (header.bitCount == 8) {
    if (colors == nullptr) {
      return false;
    }
  } else if (header.bitCount != 24 && header.bitCount != 32) {
    return false;
  }
  bits_ = static_cast<const uint8_t*>(bits);
  colors_ = colors;
  width_ = header.width;
  bottomUp_ = header.height > 0;
  height_ = bottomUp_ ? header.height : -header.height;
  bitCount_ = header.bitCount;
  rowBytes_ = DibRowBytes(header.width, header.bitCount);
  return true;
}

}  // namespace gui_internal

using gui_internal::FromQRgb;
using gui_internal::kBitmapFormat;
using gui_internal::ToQRgb;

Bitmap::Bitmap() : image_(std::make_unique<QImage>()) {}

Bitmap::Bitmap(int32_t width, int32_t height, Color fill) : image_(std::make_unique<QImage>()) {
  if (width >= 1 && height >= 1) {
    QImage image(width, height, kBitmapFormat);
    if (!image.isNull()) {
      image.fill(ToQRgb(fill));
      *image_ = std::move(image);
    }
  }
}

Bitmap::~Bitmap() = default;

Bitmap::Bitmap(const Bitmap& other) : image_(std::make_unique<QImage>(*other.image_)) {}

Bitmap& Bitmap::operator=(const Bitmap& other) {
  if (this != &other) {
    *image_ = *other.image_;
  }
  return *this;
}

Bitmap::Bitmap(Bitmap&& other) noexcept : image_(std::make_unique<QImage>()) {
  image_->swap(*other.image_);
}

Bitmap& Bitmap::operator=(Bitmap&& other) noexcept {
  if (this != &other) {
    image_->swap(*other.image_);
    *other.image_ = QImage();
  }
  return *this;
}

bool Bitmap::IsNull() const { return image_->isNull(); }
int32_t Bitmap::Width() const { return image_->width(); }
int32_t Bitmap::Height() const { return image_->height(); }

Color Bitmap::Pixel(int32_t x, int32_t y) const {
  if (x < 0 || y < 0 || x >= image_->width() || y >= image_->height()) {
    return 0;
  }
  const QRgb* row = reinterpret_cast<const QRgb*>(image_->constScanLine(y));
  return FromQRgb(row[x]);
}

void Bitmap::SetPixel(int32_t x, int32_t y, Color c) {
  if (x < 0 || y < 0 || x >= image_->width() || y >= image_->height()) {
    return;
  }
  reinterpret_cast<QRgb*>(image_->scanLine(y))[x] = ToQRgb(c);
}

void Bitmap::Fill(Color c) {
  if (!image_->isNull()) {
    image_->fill(ToQRgb(c));
  }
}

bool Bitmap::SamePixels(const Bitmap& other) const {
  const QImage& a = *image_;
  const QImage& b = *other.image_;
  if (a.size() != b.size()) {
    return false;
  }
  for (int y = 0; y < a.height(); ++y) {
    const QRgb* ra = reinterpret_cast<const QRgb*>(a.constScanLine(y));
    const QRgb* rb = reinterpret_cast<const QRgb*>(b.constScanLine(y));
    for (int x = 0; x < a.width(); ++x) {
      if ((ra[x] & 0xFFFFFFu) != (rb[x] & 0xFFFFFFu)) {
        return false;
      }
    }
  }
  return true;
}

Bitmap Bitmap::FromDib(const BitmapInfoHeader& header, const void* bits, const RgbQuad* colors) {
  gui_internal::DibSource source;
  if (!source.Open(header, bits, colors)) {
    return Bitmap();
  }
  Bitmap result(source.Width(), source.Height());
  if (result.IsNull()) {
    return result;
  }
  for (int32_t y = 0; y < source.Height(); ++y) {
    QRgb* row = reinterpret_cast<QRgb*>(result.image_->scanLine(y));
    for (int32_t x = 0; x < source.Width(); ++x) {
      row[x] = source.At(x, y);
    }
  }
  return result;
}

bool Bitmap::Save(const std::string& utf8Path, const char* format) const {
  if (image_->isNull()) {
    return false;
  }
  QImageWriter writer(QString::fromStdString(utf8Path), format ? QByteArray(format) : QByteArray());
  return writer.write(*image_);
}

Bitmap Bitmap::Load(const std::string& utf8Path) {
  QImageReader reader(QString::fromStdString(utf8Path));
  QImage image = reader.read();
  Bitmap result;
  if (!image.isNull()) {
    *result.image_ = image.convertToFormat(kBitmapFormat);
  }
  return result;
}

}  // namespace lv
