// Platform-internal glue between the layer's drawing types and Qt. Only
// platform/ includes this header.
#pragma once

#include <QColor>
#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QString>
#include <string_view>

#include "platform/gui/bitmap.h"
#include "platform/gui/drawing.h"

namespace lv::gui_internal {

// 0x00BBGGRR -> the 32-bit pixel of the layer's images (0xFFRRGGBB).
inline QRgb ToQRgb(Color c) { return qRgb(RedOf(c), GreenOf(c), BlueOf(c)); }
inline Color FromQRgb(QRgb p) { return MakeRgb(qRed(p), qGreen(p), qBlue(p)); }
inline QColor ToQColor(Color c) { return QColor(RedOf(c), GreenOf(c), BlueOf(c)); }

inline QString ToQString(std::wstring_view text) {
  return QString::fromWCharArray(text.data(), static_cast<qsizetype>(text.size()));
}

// The Qt font for a layer font at its logical height.
QFont MakeQFont(const Font& font);

// A font with its metrics, kept per thread for the last fonts used.
struct CachedFont {
  Font key;
  QFont font;
  QFontMetrics metrics;
};
CachedFont FontFor(const Font& font);

// The image format of every layer bitmap.
inline constexpr QImage::Format kBitmapFormat = QImage::Format_RGB32;

}  // namespace lv::gui_internal
