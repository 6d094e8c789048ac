// CWColorMap: six 256-entry piecewise-linear colour maps of the image plots
// (spectrogram, persistence spectrum), the bitmap descriptions that draw
// through them, and the vertical colour-scale bitmap.
#pragma once

#include <cstdint>
#include <memory>

#include "platform/gui/bitmap.h"
#include "platform/gui/device_context.h"
#include "platform/gui/drawing.h"

class CWColorMap {
 public:
  static constexpr int32_t kNumTypes = 6;
  static constexpr int32_t kNumEntries = 256;

  // Type 0; the colour array is made on first use.
  CWColorMap() = default;
  explicit CWColorMap(int32_t type);  // raises like SetType
  CWColorMap(const CWColorMap&) = delete;
  CWColorMap& operator=(const CWColorMap&) = delete;

  // Type outside 0..5: "Invalid type of color map." (the map keeps its type);
  // otherwise stores the type and rebuilds the colours.
  void SetType(int32_t type);
  int32_t GetType() const { return type_; }

  // Allocates the array when there is none and fills all 256 entries with the
  // colours of the current type.
  void CreateColorArray();
  // The 256 entries (blue, green, red, 0), built when missing.
  const lv::RgbQuad* GetColorArray();
  // The colour of value v; values outside 0..255 are taken as 0 or 255.
  lv::Color GetColor(int32_t v);

  // The colour of value v (0..255) in map type t (0..5), as the array holds it.
  static lv::RgbQuad ComputeColor(int32_t type, int32_t v);

  // A 40-byte header of an 8-bit bottom-up bitmap (10000 pixels per metre).
  // Height or width below 1: "Invalid image size.".
  static std::unique_ptr<lv::BitmapInfoHeader> MakeBITMAPINFOHEADER(int32_t height, int32_t width);
  // That header followed by the 256 colours of map type t. Height or width
  // below 1: "Invalid image size."; type outside 0..5: "Invalid color map type.".
  static std::unique_ptr<lv::BitmapInfo> MakeBITMAPINFO(int32_t height, int32_t width, int32_t type);

  // A vertical colour bar of the current type, value 0 in the bottom row and
  // 255 in the top one, made as a bitmap whose width is width rounded up to a
  // multiple of 4. Width or height not positive: "Invalid bitmap size.". The
  // layer's bitmaps do not depend on a device, so dc is not needed (may be null).
  lv::Bitmap MakeColorScale(lv::DeviceContext* dc, int32_t width, int32_t height);

 private:
  int32_t type_ = 0;
  std::unique_ptr<lv::RgbQuad[]> colors_;
};
