// Drawing types of the platform layer: colours, points, rectangles, pens,
// brushes, fonts, text alignment and device-independent bitmap descriptions.
// Plain data, no Qt: every subsystem may include this header.
#pragma once

#include <cstdint>

namespace lv {

// A colour as the plots store it: 0x00BBGGRR (red in the low byte).
using Color = uint32_t;

constexpr Color MakeRgb(int red, int green, int blue) {
  return static_cast<uint32_t>(red & 0xFF) | (static_cast<uint32_t>(green & 0xFF) << 8) |
         (static_cast<uint32_t>(blue & 0xFF) << 16);
}
constexpr int RedOf(Color c) { return static_cast<int>(c & 0xFF); }
constexpr int GreenOf(Color c) { return static_cast<int>((c >> 8) & 0xFF); }
constexpr int BlueOf(Color c) { return static_cast<int>((c >> 16) & 0xFF); }

// The system's window-background colour (what a cleared window shows).
inline constexpr Color kWindowColor = MakeRgb(255, 255, 255);

struct Point {
  int32_t x = 0;
  int32_t y = 0;
  friend bool operator==(const Point&, const Point&) = default;
};

struct Size {
  int32_t cx = 0;
  int32_t cy = 0;
  friend bool operator==(const Size&, const Size&) = default;
};

// A rectangle whose right and bottom edges lie outside it: it covers the
// pixels left <= x < right, top <= y < bottom.
struct Rect {
  int32_t left = 0;
  int32_t top = 0;
  int32_t right = 0;
  int32_t bottom = 0;
  int32_t Width() const { return right - left; }
  int32_t Height() const { return bottom - top; }
  bool IsEmpty() const { return right <= left || bottom <= top; }
  friend bool operator==(const Rect&, const Rect&) = default;
};

// A solid pen. Width 0 is one device pixel whatever the mapping; a width of
// n >= 1 is n logical units (one device pixel without a mapping).
struct Pen {
  Color color = 0;
  int32_t width = 0;
  bool null = false;  // draws nothing
  static Pen Solid(Color c, int32_t width = 0) { return Pen{c, width, false}; }
  static Pen Null() { return Pen{0, 0, true}; }
  friend bool operator==(const Pen&, const Pen&) = default;
};

// Hatch directions. The hatch lines repeat every 8 device pixels and are
// anchored at the surface's top-left corner, so neighbouring fills line up.
enum class HatchStyle : int32_t {
  kHorizontal,        // ----
  kForwardDiagonal,   // \\\\ (top-left to bottom-right)
  kBackwardDiagonal,  // //// (bottom-left to top-right)
  kDiagonalCross,     // xxxx
};

struct Brush {
  enum class Kind : int32_t { kNull, kSolid, kHatch };
  Kind kind = Kind::kSolid;
  Color color = 0;
  HatchStyle hatch = HatchStyle::kHorizontal;
  static Brush Solid(Color c) { return Brush{Kind::kSolid, c, HatchStyle::kHorizontal}; }
  static Brush Hatch(HatchStyle style, Color c) { return Brush{Kind::kHatch, c, style}; }
  static Brush Null() { return Brush{Kind::kNull, 0, HatchStyle::kHorizontal}; }
  friend bool operator==(const Brush&, const Brush&) = default;
};

// The faces the plots use: a proportional sans-serif face and a monospace face.
// Which installed family each maps to is the layer's choice (see fonts.h).
enum class FontFace : int32_t { kSans, kMono };

// A font request. height is the character cell height (ascent + descent) in
// logical units; escapement is the direction of the text in tenths of a degree
// counter-clockwise (900: reading upwards).
struct Font {
  FontFace face = FontFace::kSans;
  int32_t height = 14;
  int32_t escapement = 0;
  bool bold = false;
  friend bool operator==(const Font&, const Font&) = default;
};

// The three fonts of the plot windows.
inline Font NormalFont() { return Font{FontFace::kSans, 14, 0, false}; }
inline Font VerticalFont() { return Font{FontFace::kSans, 14, 900, false}; }
inline Font MonoFont() { return Font{FontFace::kMono, 14, 0, false}; }

enum class BkMode : int32_t { kTransparent, kOpaque };

enum class HAlign : int32_t { kLeft, kCenter, kRight };
enum class VAlign : int32_t { kTop, kBaseline, kBottom };

// Where the reference point of a text lies: on its left end, centre or right
// end, and on the top of its cell, its baseline or the bottom of its cell, all
// measured along the text's own direction.
struct TextAlign {
  HAlign h = HAlign::kLeft;
  VAlign v = VAlign::kTop;
  friend bool operator==(const TextAlign&, const TextAlign&) = default;
};

// Metrics of the selected font in logical units.
struct TextMetrics {
  int32_t height = 0;  // ascent + descent
  int32_t ascent = 0;
  int32_t descent = 0;
  int32_t internalLeading = 0;
  int32_t externalLeading = 0;
  int32_t aveCharWidth = 0;
  int32_t maxCharWidth = 0;
};

// The 40-byte header of a device-independent bitmap. A positive height means
// rows are stored bottom-up (the first row in memory is the bottom line), a
// negative one top-down. Rows are padded to a multiple of 4 bytes.
struct BitmapInfoHeader {
  uint32_t size = 40;
  int32_t width = 0;
  int32_t height = 0;
  uint16_t planes = 1;
  uint16_t bitCount = 32;
  uint32_t compression = 0;  // 0: uncompressed, the only form supported
  uint32_t sizeImage = 0;
  int32_t xPelsPerMeter = 0;
  int32_t yPelsPerMeter = 0;
  uint32_t clrUsed = 0;
  uint32_t clrImportant = 0;
};
static_assert(sizeof(BitmapInfoHeader) == 40);

// A colour-table entry (and the layout of a 32-bit pixel): blue, green, red, 0.
struct RgbQuad {
  uint8_t blue = 0;
  uint8_t green = 0;
  uint8_t red = 0;
  uint8_t reserved = 0;
  friend bool operator==(const RgbQuad&, const RgbQuad&) = default;
};
static_assert(sizeof(RgbQuad) == 4);

constexpr RgbQuad ToRgbQuad(Color c) {
  return RgbQuad{static_cast<uint8_t>(BlueOf(c)), static_cast<uint8_t>(GreenOf(c)),
                 static_cast<uint8_t>(RedOf(c)), 0};
}
constexpr Color FromRgbQuad(RgbQuad q) { return MakeRgb(q.red, q.green, q.blue); }

// Header plus a 256-entry colour table (8-bit bitmaps).
struct BitmapInfo {
  BitmapInfoHeader header;
  RgbQuad colors[256];
};

// Bytes per stored row of a bitmap of the given width and bit count.
constexpr int64_t DibRowBytes(int32_t width, int32_t bitCount) {
  return ((static_cast<int64_t>(width) * bitCount + 31) / 32) * 4;
}

}  // namespace lv
