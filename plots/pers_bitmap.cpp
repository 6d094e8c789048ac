#include "plots/pers_bitmap.h"

#include <cstdlib>

#include "core/call_stack.h"
#include "core/error.h"
#include "core/primitive_entry_points.h"
#include "plots/color_map.h"

namespace {

// A primitive's non-zero status is a math-library error (code 2).
void Check(int32_t status) {
  if (status != 0) {
    throw new CQError(2);
  }
}

template <typename T>
T* AllocCells(int64_t n) {
  if (n <= 0 || n > INT32_MAX) {
    return nullptr;
  }
  if constexpr (sizeof(T) == 2) {
    return static_cast<T*>(VectorAllocateInt16(static_cast<int32_t>(n)));
  } else {
    static_assert(sizeof(T) == 4);
    return static_cast<T*>(VectorAllocateFloat32(static_cast<int32_t>(n)));
  }
}

// The constants of the accumulation step, as 32-bit floats.
constexpr float kMinusOneOver255 = -1.0f / 255.0f;
constexpr float kOne = 1.0f;
constexpr float k255 = 255.0f;

}  // namespace

CWPersBitmap::CWPersBitmap() : colorMap_(std::make_unique<CWColorMap>(5)) {
  header_.bitCount = 32;
  header_.planes = 1;
  header_.compression = 0;
  header_.xPelsPerMeter = 96;
  header_.yPelsPerMeter = 96;
  SetSize(101, 201);
  SetPersistenceType(2);
}

CWPersBitmap::~CWPersBitmap() { FreeBuffers(); }

void CWPersBitmap::FreeBuffers() {
  VectorFree(colorIndex_);
  VectorFree(pixels_);
  VectorFree(hitMap_);
  VectorFree(traceRows_);
  VectorFree(spareRows_);
  VectorFree(intensity_);
  VectorFree(work1_);
  VectorFree(work2_);
  VectorFree(work3_);
  VectorFree(columnWork_);
  VectorFree(columnIntWork_);
  colorIndex_ = nullptr;
  pixels_ = nullptr;
  hitMap_ = nullptr;
  traceRows_ = spareRows_ = nullptr;
  intensity_ = work1_ = work2_ = work3_ = nullptr;
  columnWork_ = nullptr;
  columnIntWork_ = nullptr;
}

void CWPersBitmap::SetSize(int32_t columns, int32_t rows) {
  lv::Named("CWPersBitmap::SetSize", [&] {
    if (columns <= 0 || rows <= 0) {
      throw new CQError("Invalid number of rows.");
    }
    if (columns == columns_ && rows == rows_ && pixels_ != nullptr) {
      return;
    }
    FreeBuffers();
    columns_ = 0;
    rows_ = 0;
    header_.width = 0;
    header_.height = 0;
    const int64_t cells = static_cast<int64_t>(columns) * rows;
    colorIndex_ = AllocCells<int16_t>(cells);
    pixels_ = AllocCells<uint32_t>(cells);
    hitMap_ = AllocCells<int32_t>(cells);
    intensity_ = AllocCells<float>(cells);
    work1_ = AllocCells<float>(cells);
    work2_ = AllocCells<float>(cells);
    work3_ = AllocCells<float>(cells);
    traceRows_ = AllocCells<int32_t>(columns);
    spareRows_ = AllocCells<int32_t>(columns);
    columnWork_ = AllocCells<float>(columns);
    columnIntWork_ = AllocCells<int32_t>(columns);
    if (!colorIndex_ || !pixels_ || !hitMap_ || !intensity_ || !work1_ || !work2_ || !work3_ ||
        !traceRows_ || !spareRows_ || !columnWork_ || !columnIntWork_) {
      FreeBuffers();
      throw new CQError(1);
    }
    columns_ = columns;
    rows_ = rows;
    drawStart_ = 0;
    drawStop_ = columns - 1;
    header_.width = columns;
    header_.height = rows;  // positive: bottom-up, row 0 is the bottom line
    header_.sizeImage = static_cast<uint32_t>(cells * 4);
    const int32_t n = static_cast<int32_t>(cells);
    Check(VectorZeroFillInt16(colorIndex_, n));
    Check(VectorZeroFillInt32(hitMap_, n));
    Check(VectorZeroFillInt32(traceRows_, columns));
    ResetImage();
    ResetPersistence();
  });
}

void CWPersBitmap::ResetImage() {
  if (pixels_) {
    Check(VectorZeroFillInt32(reinterpret_cast<int32_t*>(pixels_), columns_ * rows_));
  }
}

void CWPersBitmap::ResetPersistence() {
  if (intensity_) {
    Check(VectorZeroFillFloat32(intensity_, columns_ * rows_));
  }
}

void CWPersBitmap::SetPersistenceType(int32_t type) {
  static constexpr float kDecays[4] = {kDecayInfinite, kDecaySlow, kDecayMedium, kDecayFast};
  if (type < 0 || type > 3) {
    type = 0;
  }
  persistenceType_ = type;
  decay_ = kDecays[type];
}

void CWPersBitmap::MarkTrace() {
  const int32_t c = columns_;
  int32_t* hit = hitMap_;
  const int32_t* row = traceRows_;
  auto mark = [&](int32_t x, int32_t y) { hit[static_cast<int64_t>(y) * c + x] = 1; };
  if (!connectPoints_) {
    for (int32_t x = 0; x < c; ++x) {
      mark(x, row[x]);
    }
    return;
  }
  for (int32_t x = 0; x + 1 < c; ++x) {
    const int32_t y0 = row[x];
    const int32_t y1 = row[x + 1];
    const int32_t d = std::abs(y1 - y0);
    const int32_t sy = y1 >= y0 ? 1 : -1;
    mark(x, y0);
    if (d == 0) {
      mark(x + 1, y0);
      continue;
    }
    // Bresenham's walk along the rows with one column to cover: the lower
    // half of a jump stays in column x, the rest goes to column x + 1.
    int32_t e = 2 - d;
    int32_t cx = x;
    int32_t y = y0;
    do {
      if (e >= 0) {
        cx = x + 1;
        e += 2 - 2 * d;
      } else {
        e += 2;
      }
      y += sy;
      mark(cx, y);
    } while (y != y1);
  }
}

void CWPersBitmap::NewData(const float* values, int32_t count, float top, float bottom) {
  lv::Named("CWPersBitmap::NewData", [&] {
    if (values == nullptr) {
      throw new CQError("Null pointer to row data.");
    }
    if (count != columns_ || pixels_ == nullptr) {
      throw new CQError("Invalid number of points.");
    }
    if (drawStop_ - drawStart_ <= 0) {
      throw new CQError("Invalid draw stop index and draw stop index.");
    }
    const int32_t n = columns_ * rows_;

    // Fading: every cell loses the decay (it may go below 0 until the clamp).
    Check(VectorAddScalarInPlaceFloat32(-decay_, intensity_, n));

    // The row of every column: (value - bottom) * (R - 1) / (top - bottom)
    // + 0.5, rounded to nearest even, held inside 0 .. R - 1.
    const float scale = static_cast<float>(rows_ - 1) / (top - bottom);
    Check(VectorAddScalarFloat32(values, -bottom, columnWork_, count));
    Check(VectorMultiplyScalarInPlaceFloat32(scale, columnWork_, count));
    Check(VectorAddScalarInPlaceFloat32(0.5f, columnWork_, count));
    Check(VectorConvertScaledFloat32ToInt32(columnWork_, traceRows_, count, RoundNearestEven, 0));
    Check(VectorThresholdGreaterInt32(traceRows_, traceRows_, count, rows_ - 1));
    Check(VectorThresholdLessInt32(traceRows_, traceRows_, count, 0));

    Check(VectorZeroFillInt32(hitMap_, n));
    MarkTrace();

    // intensity += hit * gain * (255 - intensity), held inside 0 .. 255.
    Check(VectorMultiplyScalarFloat32(intensity_, kMinusOneOver255, work1_, n));
    Check(VectorAddScalarInPlaceFloat32(kOne, work1_, n));
    Check(VectorMultiplyScalarInPlaceFloat32(gain_ * k255, work1_, n));
    Check(VectorConvertInt32ToFloat32(hitMap_, work2_, n));
    Check(VectorMultiplyFloat32(work1_, work2_, work3_, n));
    Check(VectorAddFloat32(intensity_, work3_, work1_, n));
    Check(VectorThresholdLessFloat32(work1_, intensity_, n, 0.0f));
    Check(VectorThresholdGreaterFloat32(intensity_, intensity_, n, k255));

    Check(VectorConvertScaledFloat32ToInt16(intensity_, colorIndex_, n, RoundNearestEven, 0));
    Recolor();
  });
}

void CWPersBitmap::Recolor() {
  if (pixels_ == nullptr) {
    return;
  }
  const lv::RgbQuad* map = colorMap_->GetColorArray();
  uint32_t lut[256];
  for (int i = 0; i < 256; ++i) {
    lut[i] = static_cast<uint32_t>(map[i].blue) | (static_cast<uint32_t>(map[i].green) << 8) |
             (static_cast<uint32_t>(map[i].red) << 16);
  }
  const int32_t n = columns_ * rows_;
  const int16_t* index = colorIndex_;
  uint32_t* px = pixels_;
  for (int32_t i = 0; i < n; ++i) {
    px[i] = lut[static_cast<uint16_t>(index[i]) & 0xFF];
  }
  if (overlayTrace_) {
    const int32_t* hit = hitMap_;
    for (int32_t i = 0; i < n; ++i) {
      const uint32_t mask = 0u - static_cast<uint32_t>(hit[i] != 0);
      px[i] = (px[i] & ~mask) | (kOverlayPixel & mask);
    }
  }
}
