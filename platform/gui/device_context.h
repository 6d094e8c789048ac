// The device context of the platform layer: the drawing interface every plot
// draws through. A device context belongs to the thread that uses it.
//
// Pixel rules (those the plots are written against):
// - A pen of width 0 is one device pixel wide whatever the mapping; lines and
//   polylines leave out their end pixel, so consecutive segments share no pixel
//   and a closed outline covers each corner once.
// - Filled rectangles cover left <= x < right, top <= y < bottom.
// - Hatches repeat every 8 device pixels anchored at the surface's corner; in
//   opaque background mode the gaps take the background colour, in transparent
//   mode they are left alone. Text in opaque mode gets its cell filled first.
// - Text is placed by its reference point and the alignment; the text colour,
//   background colour, background mode and alignment stay until changed.
// - Bitmaps are stretched without smoothing (each device pixel takes the source
//   pixel under its centre).
// - With an isotropic mapping, logical coordinates are scaled by one factor on
//   both axes (the smaller of the two the extents ask for) and moved to the
//   viewport origin; fonts and pens of width >= 1 scale with it.
#pragma once

#include <cstdint>
#include <string_view>

#include "platform/gui/drawing.h"

namespace lv {

class Bitmap;

class DeviceContext {
 public:
  DeviceContext() = default;
  virtual ~DeviceContext() = default;
  DeviceContext(const DeviceContext&) = delete;
  DeviceContext& operator=(const DeviceContext&) = delete;

  // State. Each setter returns the previous value.
  virtual Pen SelectPen(const Pen& pen);
  virtual Brush SelectBrush(const Brush& brush);
  virtual Font SelectFont(const Font& font);
  virtual Color SetTextColor(Color c);
  virtual Color SetBkColor(Color c);
  virtual BkMode SetBkMode(BkMode mode);
  virtual TextAlign SetTextAlign(TextAlign align);

  // Isotropic mapping: logical (0,0) lands on viewportOrg; the scale is
  // min(|viewportExt.cx / windowExt.cx|, |viewportExt.cy / windowExt.cy|) with
  // each axis keeping the sign of its own ratio. Window extents of 0 are
  // refused (the mapping stays as it was).
  virtual void SetIsotropicMapping(Size windowExt, Size viewportExt, Point viewportOrg);
  // Back to one logical unit = one device pixel, origin at the corner.
  virtual void ResetMapping();

  const Pen& GetPen() const { return pen_; }
  const Brush& GetBrush() const { return brush_; }
  const Font& GetFont() const { return font_; }
  Color GetTextColor() const { return textColor_; }
  Color GetBkColor() const { return bkColor_; }
  BkMode GetBkMode() const { return bkMode_; }
  TextAlign GetTextAlign() const { return textAlign_; }
  Point GetCurrentPosition() const { return current_; }
  bool HasMapping() const { return mapped_; }

  // Drawing, in logical coordinates.
  // Moves the current position without drawing.
  virtual void MoveTo(Point p);
  // Draws from the current position to p with the pen (p itself left out) and
  // makes p the current position.
  virtual void LineTo(Point p) = 0;
  // Joins count points with the pen, the last point left out. Neither uses
  // nor changes the current position. False for a null array or count < 0.
  virtual bool Polyline(const Point* points, int32_t count) = 0;
  // Outline with the pen along left..right-1 and top..bottom-1, interior with
  // the brush. With the null pen the brush covers left..right-2, top..bottom-2
  // (one pixel less on the right and bottom, as the missing outline would).
  virtual void Rectangle(const Rect& r) = 0;
  // Fills r with the brush; a rectangle given with its corners swapped is
  // taken the right way round.
  virtual void FillRect(const Rect& r, const Brush& brush) = 0;
  void FillSolidRect(const Rect& r, Color c) { FillRect(r, Brush::Solid(c)); }
  // One line of text at the reference point (x, y).
  virtual void TextOut(int32_t x, int32_t y, std::wstring_view text) = 0;
  // Width and height (the cell height) of text in the selected font.
  virtual Size GetTextExtent(std::wstring_view text) = 0;
  virtual TextMetrics GetTextMetrics() = 0;
  // Stretches the part src (in picture coordinates: row 0 is the top line as
  // displayed, whatever the storage order) of a device-independent bitmap onto
  // dest. 8-bit bitmaps look their pixels up in colors (256 entries). False
  // for an unsupported or empty description.
  virtual bool StretchDib(const Rect& dest, const Rect& src, const void* bits,
                          const BitmapInfoHeader& header, const RgbQuad* colors) = 0;
  // Copies the part of bitmap that starts at src and has dest's size onto dest
  // (stretched when a mapping changes dest's size). False for a null bitmap.
  virtual bool BitBlt(const Rect& dest, const Bitmap& bitmap, Point src) = 0;

  // Device size in pixels and resolution in dots per inch.
  virtual Size DeviceSize() const = 0;
  virtual int32_t DpiX() const { return 96; }
  virtual int32_t DpiY() const { return 96; }

  // Logical to device coordinates under the current mapping (rounded half away
  // from zero), and a logical length along x in device pixels.
  Point ToDevice(Point p) const;
  double MappingScale() const { return mapped_ ? scaleAbs_ : 1.0; }

 protected:
  double ScaleX() const { return mapped_ ? scaleX_ : 1.0; }
  double ScaleY() const { return mapped_ ? scaleY_ : 1.0; }

 private:
  Pen pen_ = Pen::Solid(0, 0);
  Brush brush_ = Brush::Solid(MakeRgb(255, 255, 255));
  Font font_ = NormalFont();
  Color textColor_ = 0;
  Color bkColor_ = MakeRgb(255, 255, 255);
  BkMode bkMode_ = BkMode::kOpaque;
  TextAlign textAlign_{};
  Point current_{};
  bool mapped_ = false;
  double scaleX_ = 1.0;
  double scaleY_ = 1.0;
  double scaleAbs_ = 1.0;
  Point viewportOrg_{};
};

}  // namespace lv
