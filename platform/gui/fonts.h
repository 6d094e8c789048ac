// The installed font families behind the layer's font faces.
//
// Sans: "Liberation Sans" (Debian package fonts-liberation2), a face with the
// metrics of the classic Windows dialog faces. Mono: "DejaVu Sans Mono"
// (fonts-dejavu-core), a clear sans-serif monospace face. Both are installed
// by tools/install-deps.
#pragma once

#include <string>
#include <string_view>

#include "platform/gui/drawing.h"

namespace lv {

// The family the layer asks for.
const char* RequestedFontFamily(FontFace face);
// The family the font system actually delivers for a font (differs from the
// requested one only when that family is not installed). Needs the Qt
// application object to exist.
std::string ActualFontFamily(const Font& font);
// The pixel size of the em square chosen for a font: the largest size whose
// cell (ascent + descent) fits the requested height.
int PixelSizeForFont(const Font& font);

// Width and cell height of a text in a font, and the font's metrics, in
// logical units (what every device context of the layer answers).
Size MeasureText(const Font& font, std::wstring_view text);
TextMetrics MeasureFont(const Font& font);

}  // namespace lv
