#include "plots/offscreen_dc.h"

#include "core/error.h"
#include "plots/colors.h"

void CWOffScreenDC::Initialize(int32_t width, int32_t height) {
  if (width <= 0 || height <= 0) {
    throw new CQError("Invalid number of rows.", "CWOffScreenDC::Initialize");
  }
  if (!dc_.Resize(width, height, lv::kWindowColor)) {
    throw new CQError(1, "CWOffScreenDC::Initialize");
  }
  width_ = width;
  height_ = height;
}

void CWOffScreenDC::SetSize(int32_t width, int32_t height) {
  if (width <= 0) {
    throw new CQError("Invalid width.", "CWOffScreenDC::SetSize");
  }
  if (height <= 0) {
    throw new CQError("Invalid height.", "CWOffScreenDC::SetSize");
  }
  if (width == width_ && height == height_) {
    return;
  }
  if (!dc_.Resize(width, height, lv::kWindowColor)) {
    throw new CQError(1, "CWOffScreenDC::SetSize");
  }
  width_ = width;
  height_ = height;
}

void CWOffScreenDC::ClearToWindowColor() { dc_.Clear(lv::kWindowColor); }

void CWOffScreenDC::FillWithColor(int32_t colorIndex) {
  try {
    dc_.Clear(CWColors::GetRGBColor(colorIndex));
  } catch (CQError* e) {
    e->AddToCallStack("CWOffScreenDC::FillWithColor");
    throw;
  }
}
