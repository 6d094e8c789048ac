#include "plots/color_map.h"

#include <algorithm>
#include <cmath>
#include <new>
#include <vector>

#include "core/error.h"

namespace {

struct Rgb {
  int32_t r, g, b;
};

struct MapDef {
  int32_t width;  // segment width w
  int32_t count;  // control points
  Rgb points[9];
};

constexpr Rgb kBlack{0, 0, 0};
constexpr Rgb kWhite{255, 255, 255};
constexpr Rgb kBlue{0, 0, 255};
constexpr Rgb kRed{255, 0, 0};
constexpr Rgb kYellow{255, 255, 0};
constexpr Rgb kGreen{0, 255, 0};
constexpr Rgb kTeal{0, 220, 220};
constexpr Rgb kAmber{255, 180, 0};

// Types 0 and 2..5; type 1 is the grey ramp.
constexpr MapDef kMaps[CWColorMap::kNumTypes] = {
    {32, 9, {kBlack, {85, 0, 170}, kBlue, kTeal, kGreen, kYellow, kAmber, kRed, kWhite}},
    {1, 0, {}},
    {51, 6, {kBlack, {127, 0, 0}, kRed, {255, 127, 0}, kYellow, kWhite}},
    {64, 5, {kBlack, {64, 0, 128}, kBlue, {0, 255, 255}, kWhite}},
    {42, 8, {kBlue, kTeal, kGreen, kYellow, kAmber, kRed, kWhite, kBlack}},
    {51, 6, {kBlue, kTeal, kGreen, kYellow, kAmber, kRed}},
};

int32_t Channel(int32_t from, int32_t to, int32_t r, int32_t w) {
  return from + (to - from) * r / w;  // integer division truncates toward zero
}

}  // namespace

CWColorMap::CWColorMap(int32_t type) {
  try {
    SetType(type);
  } catch (CQError* e) {
    e->AddToCallStack("CWColorMap::CWColorMap");
    throw;
  }
}

lv::RgbQuad CWColorMap::ComputeColor(int32_t type, int32_t v) {
  v = v < 0 ? 0 : v > 255 ? 255 : v;
  if (type == 1) {
    return lv::RgbQuad{static_cast<uint8_t>(v), static_cast<uint8_t>(v), static_cast<uint8_t>(v), 0};
  }
  if ((type == 4 || type == 5) && v == 0) {
    return lv::RgbQuad{0, 0, 0, 0};
  }
  const MapDef& map = kMaps[type];
  const int32_t k = v / map.width;
  const int32_t r = v % map.width;
  Rgb c;
  if (k >= map.count - 1) {
    // The top values of a map whose segments end before 255 (type 2 at 255,
    // type 5 at 255) take the last control point; reading the point after it
    // would run past the table.
    c = map.points[map.count - 1];
  } else {
    const Rgb& p = map.points[k];
    const Rgb& q = map.points[k + 1];
    c = Rgb{Channel(p.r, q.r, r, map.width), Channel(p.g, q.g, r, map.width), Channel(p.b, q.b, r, map.width)};
  }
  return lv::RgbQuad{static_cast<uint8_t>(c.b), static_cast<uint8_t>(c.g), static_cast<uint8_t>(c.r), 0};
}

void CWColorMap::SetType(int32_t type) {
  if (type < 0 || type >= kNumTypes) {
    throw new CQError("Invalid type of color map.", "CWColorMap::SetType");
  }
  type_ = type;
  try {
    CreateColorArray();
  } catch (CQError* e) {
    e->AddToCallStack("CWColorMap::SetType");
    throw;
  }
}

void CWColorMap::CreateColorArray() {
  if (type_ < 0 || type_ >= kNumTypes) {
    throw new CQError("Invalid type of color map.", "CWColorMap::CreateColorArray");
  }
  if (!colors_) {
    colors_.reset(new (std::nothrow) lv::RgbQuad[kNumEntries]);
    if (!colors_) {
      throw new CQError(1, "CWColorMap::CreateColorArray");
    }
  }
  for (int32_t v = 0; v < kNumEntries; ++v) {
    colors_[v] = ComputeColor(type_, v);
  }
}

const lv::RgbQuad* CWColorMap::GetColorArray() {
  if (!colors_) {
    try {
      CreateColorArray();
    } catch (CQError* e) {
      e->AddToCallStack("CWColorMap::GetColorArray");
      throw;
    }
  }
  return colors_.get();
}

lv::Color CWColorMap::GetColor(int32_t v) {
  const lv::RgbQuad* colors = GetColorArray();
  v = v < 0 ? 0 : v > 255 ? 255 : v;
  return lv::FromRgbQuad(colors[v]);
}

std::unique_ptr<lv::BitmapInfoHeader> CWColorMap::MakeBITMAPINFOHEADER(int32_t height, int32_t width) {
  if (height < 1 || width < 1) {
    throw new CQError("Invalid image size.", "CWColorMap::MakeBITMAPINFOHEADER");
  }
  std::unique_ptr<lv::BitmapInfoHeader> h(new (std::nothrow) lv::BitmapInfoHeader);
  if (!h) {
    throw new CQError(1, "CWColorMap::MakeBITMAPINFOHEADER");
  }
  h->size = 40;
  h->width = width;
  h->height = height;
  h->planes = 1;
  h->bitCount = 8;
  h->compression = 0;
  h->sizeImage = 0;
  h->xPelsPerMeter = 10000;
  h->yPelsPerMeter = 10000;
  h->clrUsed = 0;
  h->clrImportant = 0;
  return h;
}

std::unique_ptr<lv::BitmapInfo> CWColorMap::MakeBITMAPINFO(int32_t height, int32_t width, int32_t type) {
  if (height < 1 || width < 1) {
    throw new CQError("Invalid image size.", "CWColorMap::MakeBITMAPINFO");
  }
  if (type < 0 || type >= kNumTypes) {
    throw new CQError("Invalid color map type.", "CWColorMap::MakeBITMAPINFO");
  }
  std::unique_ptr<lv::BitmapInfo> info(new (std::nothrow) lv::BitmapInfo);
  if (!info) {
    throw new CQError(1, "CWColorMap::MakeBITMAPINFO");
  }
  try {
    info->header = *MakeBITMAPINFOHEADER(height, width);
  } catch (CQError* e) {
    e->AddToCallStack("CWColorMap::MakeBITMAPINFO");
    throw;
  }
  for (int32_t v = 0; v < kNumEntries; ++v) {
    info->colors[v] = ComputeColor(type, v);
  }
  return info;
}

lv::Bitmap CWColorMap::MakeColorScale(lv::DeviceContext* /*dc*/, int32_t width, int32_t height) {
  if (width <= 0 || height <= 0) {
    throw new CQError("Invalid bitmap size.", "CWColorMap::MakeColorScale");
  }
  try {
    const int32_t rowLength = ((width - 1) & ~3) + 4;
    std::vector<uint8_t> bits;
    try {
      bits.resize(static_cast<size_t>(rowLength) * static_cast<size_t>(height));
    } catch (const std::bad_alloc&) {
      throw new CQError(1);
    }
    std::unique_ptr<lv::BitmapInfo> info = MakeBITMAPINFO(height, rowLength, type_);
    for (int32_t i = 0; i < height; ++i) {
      // Row 0 is the bottom row. A bar one row high holds value 0.
      int32_t value = 0;
      if (height > 1) {
        const float f = static_cast<float>(i) * 255.0f / static_cast<float>(height - 1);
        value = static_cast<int32_t>(std::round(f));
      }
      std::fill(bits.begin() + static_cast<ptrdiff_t>(i) * rowLength,
                bits.begin() + static_cast<ptrdiff_t>(i + 1) * rowLength, static_cast<uint8_t>(value));
    }
    lv::Bitmap bitmap = lv::Bitmap::FromDib(info->header, bits.data(), info->colors);
    if (bitmap.IsNull()) {
      throw new CQError("Error creating Windows bitmap.");
    }
    return bitmap;
  } catch (CQError* e) {
    e->AddToCallStack("CWColorMap::MakeColorScale");
    throw;
  }
}
