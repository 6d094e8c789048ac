#include "plots/spgm_bitmap.h"

#include <climits>
#include <new>

#include "core/array_math.h"
#include "core/error.h"
#include "cpu/status.h"
#include "plots/color_map.h"
#include "primitives/zerofill/zerofill.h"

CWBitmap::CWBitmap() {
  header_.size = 40;
  header_.width = 0;
  header_.height = 0;  // positive heights: bottom-up rows
  header_.planes = 1;
  header_.bitCount = 32;
  header_.compression = 0;
  header_.sizeImage = 0;
  header_.xPelsPerMeter = 96;
  header_.yPelsPerMeter = 96;
}

CWBitmap::~CWBitmap() { FreeStorage(); }

void CWBitmap::FreeStorage() {
  delete[] pixels_;
  pixels_ = nullptr;
  CQArrayMath::Free(work_);
  work_ = nullptr;
}

void CWBitmap::SetSize(int width, int height) {
  try {
    if (width <= 0 || height <= 0) throw new CQError("Invalid number of rows.");
    if (width == width_ && height == height_ && pixels_ != nullptr) return;
    FreeStorage();
    width_ = 0;
    height_ = 0;
    header_.width = 0;
    header_.height = 0;
    header_.sizeImage = 0;
    // The zero fill counts bytes in an int: larger images cannot be kept.
    const int64_t count = static_cast<int64_t>(width) * height;
    if (count > INT_MAX / 4) throw new CQError(1);
    pixels_ = new (std::nothrow) lv::RgbQuad[static_cast<size_t>(count)];
    if (pixels_ == nullptr) throw new CQError(1);
    work_ = CQArrayMath::AllocFloat(width);
    width_ = width;
    height_ = height;
    header_.width = width;
    header_.height = height;
    header_.sizeImage = static_cast<uint32_t>(count * 4);
    ResetContent();
  } catch (CQError* e) {
    e->AddToCallStack("CWBitmap::SetSize");
    throw;
  }
}

void CWBitmap::ResetContent() {
  if (width_ == 0 && height_ == 0) return;
  if (pixels_ == nullptr) return;
  const int32_t bytes = static_cast<int32_t>(static_cast<int64_t>(width_) * height_ * 4);
  if (VectorZeroFillUint8(pixels_, bytes) != StatusOk) {
    auto* e = new CQError(2);
    e->AddToCallStack("CWBitmap::ResetContent");
    throw e;
  }
}

void CWBitmap::SetRow(int row, const float* values, int count, float maximum, float minimum, CWColorMap* map) {
  try {
    if (row < 0 || row >= height_) throw new CQError("Invalid row index.");
    if (values == nullptr) throw new CQError("Null pointer to row data.");
    if (count != width_) throw new CQError("Invalid number of points.");
    if (map == nullptr) throw new CQError("Null pointer to color map.");
    if (work_ == nullptr || pixels_ == nullptr) throw new CQError("Null pointer to internal working array.");

    CQArrayMath::CopyArray(values, work_, count);
    CQArrayMath::LimitMaxValue(work_, maximum, count);
    CQArrayMath::LimitMinValue(work_, minimum, count);
    CQArrayMath::ArrayScalarAdd(work_, -minimum, count);
    const float scale = 1.0f / (maximum - minimum);
    CQArrayMath::ArrayScalarMult(work_, scale, count);

    const lv::RgbQuad* colors = map->GetColorArray();
    lv::RgbQuad* out = pixels_ + static_cast<int64_t>(row) * width_;
    for (int j = 0; j < count; ++j) {
      float f = work_[j];
      if (f < 0.0f) f = 0.0f;
      if (f > 1.0f) f = 1.0f;
      // Truncation after adding one half: 0.5/255 and above is entry 1.
      out[j] = colors[static_cast<int>(f * 255 + 0.5)];
    }
  } catch (CQError* e) {
    e->AddToCallStack("CWBitmap::SetRow");
    throw;
  }
}
