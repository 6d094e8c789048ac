#include "platform/gui/fonts.h"

#include <QFontInfo>
#include <QFontMetrics>
#include <algorithm>
#include <map>
#include <vector>
#include <mutex>
#include <utility>

#include "platform/gui/qt_bridge.h"

namespace lv {

namespace {

QFont BaseFont(const Font& font, int pixelSize) {
  QFont f(QString::fromLatin1(RequestedFontFamily(font.face)));
  f.setPixelSize(pixelSize);
  f.setWeight(font.bold ? QFont::Bold : QFont::Normal);
  f.setStyleHint(font.face == FontFace::kMono ? QFont::TypeWriter : QFont::SansSerif);
  // Grey-scale antialiasing only: sub-pixel rendering would depend on the
  // screen's pixel layout and colour the edges of text in saved pictures.
  f.setStyleStrategy(QFont::NoSubpixelAntialias);
  f.setKerning(false);
  return f;
}

}  // namespace

const char* RequestedFontFamily(FontFace face) {
  return face == FontFace::kMono ? "DejaVu Sans Mono" : "Liberation Sans";
}

int PixelSizeForFont(const Font& font) {
  const int height = font.height < 1 ? 1 : font.height;
  static std::mutex mutex;
  static std::map<std::pair<int, int>, int> cache;  // (face + bold, height) -> pixel size
  const std::pair<int, int> key{static_cast<int>(font.face) * 2 + (font.bold ? 1 : 0), height};
  {
    std::lock_guard<std::mutex> lock(mutex);
    auto it = cache.find(key);
    if (it != cache.end()) {
      return it->second;
    }
  }
  int chosen = 1;
  for (int px = height; px >= 1; --px) {
    QFontMetrics m(BaseFont(font, px));
    if (m.ascent() + m.descent() <= height) {
      chosen = px;
      break;
    }
  }
  std::lock_guard<std::mutex> lock(mutex);
  cache.emplace(key, chosen);
  return chosen;
}

std::string ActualFontFamily(const Font& font) {
  return QFontInfo(gui_internal::MakeQFont(font)).family().toStdString();
}

namespace gui_internal {

QFont MakeQFont(const Font& font) { return BaseFont(font, PixelSizeForFont(font)); }

CachedFont FontFor(const Font& font) {
  thread_local std::vector<CachedFont> cache;
  for (const CachedFont& c : cache) {
    if (c.key == font) {
      return c;
    }
  }
  if (cache.size() >= 8) {
    cache.erase(cache.begin());
  }
  QFont qf = gui_internal::MakeQFont(font);
  cache.push_back(CachedFont{font, qf, QFontMetrics(qf)});
  return cache.back();
}


}  // namespace gui_internal

Size MeasureText(const Font& font, std::wstring_view text) {
  const gui_internal::CachedFont cached = gui_internal::FontFor(font);
  return Size{cached.metrics.horizontalAdvance(gui_internal::ToQString(text)),
              cached.metrics.ascent() + cached.metrics.descent()};
}

TextMetrics MeasureFont(const Font& font) {
  const gui_internal::CachedFont cached = gui_internal::FontFor(font);
  TextMetrics tm;
  tm.ascent = cached.metrics.ascent();
  tm.descent = cached.metrics.descent();
  tm.height = tm.ascent + tm.descent;
  tm.internalLeading = std::max(0, tm.height - cached.font.pixelSize());
  tm.externalLeading = std::max(0, cached.metrics.leading());
  tm.aveCharWidth = cached.metrics.averageCharWidth();
  tm.maxCharWidth = cached.metrics.maxWidth();
  return tm;
}

}  // namespace lv
