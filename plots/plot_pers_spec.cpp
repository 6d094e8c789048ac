#include "plots/plot_pers_spec.h"

#include "core/arrays/farray_fd.h"
#include "core/call_stack.h"
#include "core/error.h"
#include "platform/gui/device_context.h"

CWPlotPersSpec::CWPlotPersSpec() : bitmap_(std::make_unique<CWPersBitmap>()) {}

CWPlotPersSpec::~CWPlotPersSpec() = default;

void CWPlotPersSpec::SetSize(int32_t width, int32_t height) {
  lv::Named("CWPlotPersSpec::SetSize", [&] {
    if (width <= 0 || height <= 0) {
      return;
    }
    bitmap_->SetSize(width, height);
    displayWidth_ = width;
    displayHeight_ = height;
  });
}

void CWPlotPersSpec::AddASpectrum(const CQFArrayFD* spectrum) {
  lv::Named("CWPlotPersSpec::AddASpectrum", [&] {
    if (spectrum == nullptr) {
      throw new CQError("Null pointer to spectrum.");
    }
    if (spectrum->GetDataPtr() == nullptr) {
      throw new CQError("Null pointer to spectrum data.");
    }
    const int32_t points = spectrum->GetNumPoints();
    if (points < 1) {
      throw new CQError("Invalid number of spectrum points.");
    }
    if (points != bitmap_->GetColumns()) {
      throw new CQError("The number of spectrum points does not match the bitmap width.");
    }
    bitmap_->NewData(spectrum->GetDataPtr(), points, top_, bottom_);
    startFreq_ = spectrum->GetStartFreq();
    stopFreq_ = spectrum->GetStopFreq();
  });
}

void CWPlotPersSpec::DrawNow() {
  bitmap_->Recolor();
  ready_ = true;
}

void CWPlotPersSpec::ResetPlot() {
  lv::Named("CWPlotPersSpec::ResetPlot", [&] {
    startFreq_ = -1e6;
    stopFreq_ = 1e6;
    bitmap_->ResetImage();
    bitmap_->ResetPersistence();
    ready_ = false;
  });
}

void CWPlotPersSpec::Paint(lv::DeviceContext* dc, int32_t x, int32_t y) {
  const CWPersBitmap& b = *bitmap_;
  if (dc == nullptr || b.GetColumns() <= 0 || b.GetRows() <= 0 || b.GetPixels() == nullptr) {
    return;
  }
  dc->StretchDib(lv::Rect{x, y, x + displayWidth_, y + displayHeight_},
                 lv::Rect{0, 0, b.GetColumns(), b.GetRows()}, b.GetPixels(), b.GetHeader(), nullptr);
}
