#include "plots/windows/pers_spec_wndw.h"

#include <algorithm>
#include <cmath>

#include "core/arrays/carray.h"
#include "core/arrays/farray_fd.h"
#include "core/call_stack.h"
#include "core/error.h"
#include "core/error_dialog.h"
#include "core/numbers.h"
#include "core/spectral/multi_spectrum.h"
#include "platform/gui/dialogs.h"
#include "platform/gui/image_dc.h"
#include "platform/gui/printing.h"
#include "platform/gui/recording_dc.h"
#include "platform/gui/svg_dc.h"
#include "platform/text.h"
#include "plots/axis_scale.h"
#include "plots/colors.h"
#include "plots/offscreen_dc.h"
#include "plots/plot2d.h"
#include "plots/plot_pers_spec.h"
#include "plots/windows/image_file_name.h"
#include "plots/windows/pers_spec_dlg.h"
#include "plots/windows/settings_change.h"
#include "plots/windows/value_window.h"

namespace {

using lv::MenuItem;

// Decay per added spectrum of the persistence types 0 ("Infinite") to 3
// ("Fast decay").
constexpr int32_t kNumPersistenceTypes = 4;

// Colours of the three schemes' indices: text, grid, background.
constexpr int32_t kScreenText = 10, kScreenGrid = 2, kScreenBackground = 0;
constexpr int32_t kPaperText = 0, kPaperGrid = 2, kPaperBackground = 1;

// Axis pens and the toolbar strip.
constexpr lv::Color kAxisGrey = lv::MakeRgb(128, 128, 128);
constexpr lv::Color kToolbarFace = lv::MakeRgb(236, 236, 236);
constexpr lv::Color kToolbarShadow = lv::MakeRgb(160, 160, 160);
constexpr lv::Color kToolbarPressed = lv::MakeRgb(204, 216, 232);
constexpr lv::Color kToolbarGlyph = lv::MakeRgb(32, 32, 32);

int32_t RoundHalfAway(double v) { return RoundToInt(v); }

MenuItem Checkable(uint32_t id, const wchar_t* text, bool checked) {
  MenuItem m = MenuItem::Command(id, text);
  m.checkable = true;
  m.checked = checked;
  return m;
}

}  // namespace

CWPlotPersSpecWndw::CWPlotPersSpecWndw()
    : offScreen_(std::make_unique<CWOffScreenDC>()),
      valueWindow_(std::make_unique<CWPlot2DValueWndw>()),
      persPlot_(std::make_unique<CWPlotPersSpec>()),
      multiSpectrum_(std::make_unique<CQMultiSpectrum>()) {
  persPlot_->SetSize(201, 201);
  persPlot_->GetBitmap().SetConnectPoints(true);
}

CWPlotPersSpecWndw::~CWPlotPersSpecWndw() {
  if (window_) {
    window_->SetMessageHandler(nullptr);
  }
}

void CWPlotPersSpecWndw::Create(const lv::FrameWindow& parent, const std::wstring& title,
                                const lv::Rect& geometry) {
  lv::Named("CWPlotPersSpecWndw::Create", [&] {
    window_ = std::make_unique<lv::ChildWindow>(parent, title, geometry);
    window_->SetMessageHandler([this](const lv::WindowMessage& m) { HandleMessage(m); });
    window_->SetCursor(lv::CursorKind::kArrow);
    normalFont_ = lv::NormalFont();
    verticalFont_ = lv::VerticalFont();
    popup_ = {MenuItem::Command(kCmdCopyImage, L"Copy Image"),
              MenuItem::Command(kCmdSaveImage, L"Save Image..."),
              MenuItem::Command(kCmdPrintImage, L"Print Image..."),
              MenuItem::Separator(),
              MenuItem::Command(kCmdSettings, L"Settings..."),
              Checkable(kCmdGridOn, L"Grid On", gridOn_),
              MenuItem::Command(kCmdResetPersistence, L"Reset Persistence"),
              MenuItem::Separator(),
              Checkable(kCmdScreenScheme, L"Screen Color Scheme", screenScheme_),
              Checkable(kCmdPaperScheme, L"Paper Color Scheme", !screenScheme_),
              MenuItem::Command(kCmdShowHideToolbar, L"Show/Hide Toolbar"),
              MenuItem::Separator()};
    toolbarWidth_ = toolbarShown_ ? kToolbarWidth : 0;
    valueWindow_->CreateValueWindow(window_.get());
    const lv::Size c = window_->ClientSize();
    imageRect_ = lv::Rect{kImageLeft, kImageTop, c.cx - kImageRightGap, c.cy - kImageBottomGap};
    Layout(std::max(kMinImageSize, c.cy - kImageTop - kImageBottomGap),
           std::max(kMinImageSize, c.cx - kImageLeft - toolbarWidth_ - kImageRightGap));
    offScreen_->Initialize(std::max(1, c.cx - toolbarWidth_), std::max(1, c.cy));
    offScreen_->GetDC().SetBkMode(lv::BkMode::kTransparent);
  });
}

// ---- Data and computation ------------------------------------------------------

void CWPlotPersSpecWndw::SetInputData(const CQCArrayTD* input) {
  lv::Named("CWPlotPersSpecWndw::SetInputData", [&] {
    if (input == nullptr) {
      throw new CQError(3, CQMessage{"Null pointer to input data."});
    }
    if (!input_) {
      input_ = std::make_unique<CQCArrayTD>();
    }
    input_->Set(input);
  });
}

void CWPlotPersSpecWndw::Compute() {
  lv::Named("CWPlotPersSpecWndw::Compute", [&] {
    if (!input_ || input_->GetDataPtr() == nullptr || input_->GetNumPoints() <= 0) {
      return;
    }
    const double b = input_->GetBandwidth();
    const double r = input_->GetSampleRate();
    double start = startFreq_;
    double stop = stopFreq_;
    if (autoFreqRange_) {
      if (input_->IsValid()) {
        start = b > 0.0 ? -b / 2.0 : -r / 2.0;
        stop = b > 0.0 ? b / 2.0 : r / 2.0;
      } else {
        start = 0.0;
        stop = b > 0.0 ? b : r / 2.0;
      }
    } else if (start >= stop) {
      startFreq_ = start = -r / 2.0;
      stopFreq_ = stop = r / 2.0;
    }
    if (!autoRBW_ && rbw_ <= 0.0) {
      autoRBW_ = true;
    }
    if (spectraPerInput_ < 1) {
      spectraPerInput_ = 1;
    }
    CQMultiSpectrum& ms = *multiSpectrum_;
    ms.SetAutoFreqLimits(false);
    ms.SetFreqLimits(start, stop);
    ms.SetAutoRBW(autoRBW_);
    if (!autoRBW_) {
      ms.SetRBW(rbw_);
    }
    ms.SetNumSpectra(spectraPerInput_);
    ms.SetAutoNumFreqs(false);
    ms.SetNumFreqs(persPlot_->GetBitmap().GetColumns());
    ms.SetInputData(input_.get());
    ms.Compute();

    effectiveRBW_ = ms.GetActualRBW();
    if (autoRBW_) {
      rbw_ = effectiveRBW_;
    }
    startFreq_ = ms.GetStartFreq();
    stopFreq_ = ms.GetStopFreq();

    CQFArrayFDList* list = ms.GetSpectra();
    if (list == nullptr) {
      return;
    }
    if (maxPower_ <= minPower_ + 1.0f) {
      minPower_ = -100.0f;
      maxPower_ = 0.0f;
    }
    persPlot_->SetBottom(minPower_);
    persPlot_->SetTop(maxPower_);
    CWPersBitmap& bitmap = persPlot_->GetBitmap();
    bitmap.SetPersistenceType(persistenceType_);
    if (bitmap.GetOverlayTrace() != overlayTrace_) {
      bitmap.SetOverlayTrace(overlayTrace_);
      bitmap.Recolor();
    }
    for (int i = 0; i < list->GetNumItems(); ++i) {
      persPlot_->AddASpectrum(list->GetItem(i));
    }
    persPlot_->DrawNow();
    centerFreq_ = input_->GetCenterFreq();
    hasImage_ = true;
    pictureDirty_ = true;
  });
}

CWPersSpecSettings CWPlotPersSpecWndw::GetSettings() const {
  CWPersSpecSettings s;
  s.autoFreqRange = autoFreqRange_;
  s.autoRBW = autoRBW_;
  s.overlayTrace = overlayTrace_;
  s.spectraPerInput = spectraPerInput_;
  s.minPower = minPower_;
  s.maxPower = maxPower_;
  s.startFreq = startFreq_;
  s.stopFreq = stopFreq_;
  s.rbw = rbw_;
  s.persistenceType = persistenceType_;
  return s;
}

void CWPlotPersSpecWndw::DoSettingsDialog() {
  CWPersSpecSettings s = GetSettings();
  CWPlotPersSpecDlg dlg;
  dlg.autoFreqRange = s.autoFreqRange;
  dlg.autoRBW = s.autoRBW;
  dlg.overlayTrace = s.overlayTrace;
  dlg.spectraPerInput = s.spectraPerInput;
  dlg.minPower = s.minPower;
  dlg.maxPower = s.maxPower;
  dlg.startFreq = s.startFreq;
  dlg.stopFreq = s.stopFreq;
  dlg.rbw = s.rbw;
  dlg.persistenceType = s.persistenceType;
  if (dlg.DoModal() == 0) {
    return;  // Cancel, Escape and the close box apply nothing
  }
  s.autoFreqRange = dlg.autoFreqRange;
  s.autoRBW = dlg.autoRBW;
  s.overlayTrace = dlg.overlayTrace;
  s.spectraPerInput = dlg.spectraPerInput;
  s.minPower = dlg.minPower;
  s.maxPower = dlg.maxPower;
  s.startFreq = dlg.startFreq;
  s.stopFreq = dlg.stopFreq;
  s.rbw = dlg.rbw;
  s.persistenceType = dlg.persistenceType;
  ApplySettings(s);
}

void CWPlotPersSpecWndw::ApplySettings(const CWPersSpecSettings& s) {
  try {
    bool changed = StoreIfChanged(autoFreqRange_, s.autoFreqRange);
    if (!autoFreqRange_) {
      changed |= StoreIfApart(startFreq_, s.startFreq, 1.0);
      changed |= StoreIfApart(stopFreq_, s.stopFreq, 1.0);
    }
    changed |= StoreIfChanged(autoRBW_, s.autoRBW);
    if (!autoRBW_) changed |= StoreIfApart(rbw_, s.rbw, 1.0);
    changed |= StoreIfApart(minPower_, s.minPower, 0.01f);
    spectraPerInput_ = s.spectraPerInput;
    persistenceType_ = (s.persistenceType >= 0 && s.persistenceType < kNumPersistenceTypes) ? s.persistenceType : 0;
    overlayTrace_ = s.overlayTrace;
    changed |= StoreIfApart(maxPower_, s.maxPower, 0.01f);
    if (changed) persPlot_->ResetPlot();
    Compute();
    InvalidateWindow();
  } catch (CQError* e) {
    e->AddToCallStack("CWPlotPersSpecWndw::DoSettingsDialog");
    ShowErrorDialog(e);
  }
}

void CWPlotPersSpecWndw::StoreSettings(const CWPersSpecSettings& s) {
  autoFreqRange_ = s.autoFreqRange;
  autoRBW_ = s.autoRBW;
  overlayTrace_ = s.overlayTrace;
  spectraPerInput_ = s.spectraPerInput;
  minPower_ = s.minPower;
  maxPower_ = s.maxPower;
  startFreq_ = s.startFreq;
  stopFreq_ = s.stopFreq;
  rbw_ = s.rbw;
  persistenceType_ = s.persistenceType;
}

// ---- Layout and size -------------------------------------------------------------

void CWPlotPersSpecWndw::Layout(int32_t h, int32_t w) {
  if (h <= 0 || w <= 0) {
    return;
  }
  imageRect_.right = imageRect_.left + w;
  imageRect_.bottom = imageRect_.top + h;
  persPlot_->SetSize(w, h);
  freqAxisBox_ = lv::Rect{imageRect_.left - 50, imageRect_.bottom, imageRect_.right + 50, imageRect_.bottom + 40};
  powerAxisBox_ = lv::Rect{imageRect_.left - 71, imageRect_.top, imageRect_.left - 1, imageRect_.bottom};
  InvalidateWindow();
}

void CWPlotPersSpecWndw::OnSize(int32_t cx, int32_t cy) {
  if (cx <= 0 || cy <= 0) {
    return;
  }
  try {
    toolbarWidth_ = toolbarShown_ ? kToolbarWidth : 0;
    const int32_t surfaceWidth = std::max(1, cx - toolbarWidth_);
    if (offScreen_->GetWidth() == surfaceWidth && offScreen_->GetHeight() == cy) {
      return;
    }
    offScreen_->SetSize(surfaceWidth, cy);
    Layout(std::max(kMinImageSize, cy - imageRect_.top - kImageBottomGap),
           std::max(kMinImageSize, cx - imageRect_.left - toolbarWidth_ - kImageRightGap));
    Compute();
    InvalidateWindow();
  } catch (CQError* e) {
    e->AddToCallStack("CWPlotPersSpecWndw::OnSize");
    ShowErrorDialog(e);
  }
}

void CWPlotPersSpecWndw::MoveSize(const lv::Rect& geometry) {
  if (!window_) {
    return;
  }
  window_->MoveSize(geometry);
  const lv::Size c = window_->ClientSize();
  OnSize(c.cx, c.cy);
}

void CWPlotPersSpecWndw::SetBoundingRect(const lv::Rect& bounds) {
  if (window_) {
    window_->SetBoundingRect(bounds);
  }
}

void CWPlotPersSpecWndw::ShowToolbar(bool shown) {
  if (shown == toolbarShown_) {
    return;
  }
  toolbarShown_ = shown;
  if (window_) {
    const lv::Size c = window_->ClientSize();
    OnSize(c.cx, c.cy);
  }
  InvalidateWindow();
}

// ---- Messages ----------------------------------------------------------------------

void CWPlotPersSpecWndw::HandleMessage(const lv::WindowMessage& m) {
  using K = lv::WindowMessageKind;
  switch (m.kind) {
    case K::kCommand: OnCommand(static_cast<uint32_t>(m.a)); break;
    case K::kClose: OnClose(); break;
    case K::kSize: OnSize(m.a, m.b); break;
    case K::kPaint: OnPaint(); break;
    case K::kMouseMove: OnMouseMove(m.x, m.y); break;
    case K::kMouseDown:
      if (m.a == 1) {
        OnLButtonDown(m.x, m.y);
      } else if (m.a == 2) {
        OnRButtonDown(m.x, m.y);
      }
      break;
    case K::kMouseUp:
      if (m.a == 1) {
        OnLButtonUp(m.x, m.y);
      }
      break;
    default: break;
  }
}

void CWPlotPersSpecWndw::OnClose() {
  valueWindow_->Hide();
  if (window_) {
    window_->Show(false);
  }
}

void CWPlotPersSpecWndw::CheckItem(uint32_t id, bool checked) {
  for (MenuItem& m : popup_) {
    if (m.id == id) {
      m.checked = checked;
    }
  }
}

void CWPlotPersSpecWndw::SetColors(bool screen) {
  textColor_ = screen ? kScreenText : kPaperText;
  gridColor_ = screen ? kScreenGrid : kPaperGrid;
  backgroundColor_ = screen ? kScreenBackground : kPaperBackground;
}

void CWPlotPersSpecWndw::RunGuarded(const char* name, void (CWPlotPersSpecWndw::*body)()) {
  try {
    (this->*body)();
  } catch (CQError* e) {
    e->AddToCallStack(name);
    ShowErrorDialog(e);
  }
}

void CWPlotPersSpecWndw::OnCommand(uint32_t id) {
  switch (id) {
    case kCmdCopyImage: RunGuarded("CWPlotPersSpecWndw::OnCopyImage", &CWPlotPersSpecWndw::CopyImage); break;
    case kCmdSaveImage: RunGuarded("CWPlotPersSpecWndw::OnSaveImage", &CWPlotPersSpecWndw::SaveImage); break;
    case kCmdPrintImage: RunGuarded("CWPlotPersSpecWndw::OnPrintImage", &CWPlotPersSpecWndw::PrintImage); break;
    case kCmdSettings:
    case kCmdAxesLimits: DoSettingsDialog(); break;
    case kCmdGridOn: {
      bool ticked = false;
      for (const MenuItem& m : popup_) {
        if (m.id == kCmdGridOn) ticked = m.checked;
      }
      gridOn_ = !ticked;
      CheckItem(kCmdGridOn, gridOn_);
      InvalidateWindow();
      break;
    }
    case kCmdResetPersistence:
      try {
        persPlot_->ResetPlot();
      } catch (CQError* e) {
        e->AddToCallStack("CWPlotPersSpecWndw::OnResetPersistence");
        ShowErrorDialog(e);
      }
      InvalidateWindow();
      break;
    case kCmdScreenScheme:
    case kCmdPaperScheme:
      screenScheme_ = id == kCmdScreenScheme;
      SetColors(screenScheme_);
      CheckItem(kCmdScreenScheme, screenScheme_);
      CheckItem(kCmdPaperScheme, !screenScheme_);
      InvalidateWindow();
      break;
    case kCmdShowHideToolbar: ShowToolbar(!toolbarShown_); break;
    case kCmdLocationTool:
      mouseMode_ = 1;
      InvalidateWindow();
      break;
    case kCmdZoomTool:
      mouseMode_ = 2;
      InvalidateWindow();
      break;
    default: break;
  }
}

// ---- Mouse -----------------------------------------------------------------------------

bool CWPlotPersSpecWndw::PixelToValues(int32_t x, int32_t y, double& freq, double& power) const {
  const lv::Rect& r = imageRect_;
  if (x < r.left || x >= r.right || y < r.top || y >= r.bottom) {
    return false;
  }
  const int32_t w = std::max(2, r.Width());
  const int32_t h = std::max(2, r.Height());
  freq = (x - r.left) * (persPlot_->GetStopFreq() - persPlot_->GetStartFreq()) / (w - 1) + persPlot_->GetStartFreq();
  power = (r.bottom - y - 1) * static_cast<double>(persPlot_->GetTop() - persPlot_->GetBottom()) / (h - 1) +
          persPlot_->GetBottom();
  return true;
}

std::vector<CWPlotPersSpecWndw::ToolButton> CWPlotPersSpecWndw::ToolbarButtons() const {
  const int32_t x = (kToolbarWidth - kToolbarButtonSize) / 2;
  auto at = [&](uint32_t id, int32_t top) {
    return ToolButton{id, lv::Rect{x, top, x + kToolbarButtonSize, top + kToolbarButtonSize}};
  };
  return {at(kCmdLocationTool, 4), ToolButton{0, lv::Rect{x, 30, x + kToolbarButtonSize, 36}},
          at(kCmdZoomTool, 38), at(kCmdAxesLimits, 64)};
}

void CWPlotPersSpecWndw::OnLButtonDown(int32_t x, int32_t y) {
  if (x < toolbarWidth_) {
    for (const ToolButton& b : ToolbarButtons()) {
      if (b.id != 0 && x >= b.rect.left && x < b.rect.right && y >= b.rect.top && y < b.rect.bottom) {
        OnCommand(b.id);
      }
    }
    return;
  }
  try {
    const int32_t xs = x - toolbarWidth_;
    double freq = 0.0, power = 0.0;
    if (!persPlot_->IsReady() || !PixelToValues(xs, y, freq, power)) {
      return;
    }
    if (mouseMode_ == 1) {
      valueWindow_->xValue = freq + centerFreq_;
      valueWindow_->xAxisType = 2;
      valueWindow_->yValue = power;
      valueWindow_->yAxisType = 13;
      valueWindow_->ShowNear(x, y);
      if (window_) window_->Invalidate();
    } else if (mouseMode_ == 2) {
      dragActive_ = true;
      dragStart_ = lv::Point{xs, y};
      dragRect_ = lv::Rect{xs, y, xs, y};
      if (window_) {
        window_->SetCapture();
        window_->Invalidate();
      }
    }
  } catch (CQError* e) {
    e->AddToCallStack("CWPlotPersSpecWndw::OnLButtonDown");
    ShowErrorDialog(e);
  }
}

void CWPlotPersSpecWndw::OnMouseMove(int32_t x, int32_t y) {
  lastMouse_ = lv::Point{x, y};
  UpdateCursor(x, y);
  if (!dragActive_) {
    return;
  }
  const int32_t xs = x - toolbarWidth_;
  const lv::Rect& r = imageRect_;
  if (xs < r.left || xs >= r.right || y < r.top || y >= r.bottom) {
    return;
  }
  const int32_t sx = dragStart_.x;
  if (xs < sx) {
    dragRect_ = lv::Rect{sx - 2, std::min(dragStart_.y, y), sx + 1, std::max(dragStart_.y, y)};
  } else {
    dragRect_ = lv::Rect{sx, std::min(dragStart_.y, y), sx + 3, std::max(dragStart_.y, y)};
  }
  if (window_) window_->Invalidate();
}

void CWPlotPersSpecWndw::OnLButtonUp(int32_t x, int32_t y) {
  if (mouseMode_ == 1) {
    valueWindow_->Hide();
    if (window_) window_->Invalidate();
  }
  if (!dragActive_) {
    return;
  }
  try {
    const int32_t xs = x - toolbarWidth_;
    const lv::Rect& r = imageRect_;
    const double span = static_cast<double>(persPlot_->GetTop() - persPlot_->GetBottom());
    const int32_t h = std::max(2, r.Height());
    auto powerAt = [&](int32_t py) { return (r.bottom - py - 1) * span / (h - 1) + persPlot_->GetBottom(); };
    const double p0 = powerAt(dragStart_.y);
    const double p1 = powerAt(y);
    (void)xs;
    dragActive_ = false;
    dragRect_ = lv::Rect{};
    if (window_) window_->ReleaseCapture();
    double lo = std::min(p0, p1);
    double hi = std::max(p0, p1);
    CWPlot2D::MakeNiceLimits(lo, hi, hi - lo > 80.0 ? 10.0 : -1.0);
    minPower_ = static_cast<float>(lo);
    maxPower_ = static_cast<float>(hi);
    persPlot_->ResetPlot();
    Compute();
    InvalidateWindow();
  } catch (CQError* e) {
    e->AddToCallStack("CWPlotPersSpecWndw::OnLButtonUp");
    ShowErrorDialog(e);
  }
}

void CWPlotPersSpecWndw::OnRButtonDown(int32_t x, int32_t y) {
  if (window_) {
    window_->TrackPopupMenu(popup_, lv::Point{x, y});
  }
}

void CWPlotPersSpecWndw::UpdateCursor(int32_t x, int32_t y) {
  if (!window_) {
    return;
  }
  const int32_t xs = x - toolbarWidth_;
  const lv::Rect& r = imageRect_;
  const bool inside = x >= toolbarWidth_ && xs >= r.left && xs < r.right && y >= r.top && y < r.bottom;
  lv::CursorKind want = window_->Cursor();
  if (inside) {
    if (mouseMode_ == 1) {
      want = lv::CursorKind::kCross;
    } else if (mouseMode_ == 2) {
      want = lv::CursorKind::kSizeVertical;
    }
  } else {
    if (valueWindow_->IsVisible() && !dragActive_) {
      valueWindow_->Hide();
      window_->Invalidate();
    }
    want = lv::CursorKind::kArrow;
  }
  if (want != window_->Cursor()) {
    window_->SetCursor(want);
  }
}

// ---- Drawing -----------------------------------------------------------------------------

void CWPlotPersSpecWndw::InvalidateWindow() {
  pictureDirty_ = true;
  if (window_) {
    window_->Invalidate();
  }
}

void CWPlotPersSpecWndw::OnPaint() {
  if (!window_) {
    return;
  }
  const lv::Size c = window_->ClientSize();
  if (c.cx <= 0 || c.cy <= 0) {
    return;
  }
  try {
    if (pictureDirty_) {
      offScreen_->FillWithColor(backgroundColor_);
      DrawPicture(offScreen_->GetDC());
      pictureDirty_ = false;
    }
    if (frame_.Width() != c.cx || frame_.Height() != c.cy) {
      frame_ = lv::Bitmap(c.cx, c.cy, kToolbarFace);
    }
    lv::ImageDc dc(std::move(frame_));
    dc.Clear(CWColors::GetRGBColor(backgroundColor_));
    if (toolbarShown_) {
      DrawToolbar(dc);
    }
    dc.BitBlt(lv::Rect{toolbarWidth_, 0, toolbarWidth_ + offScreen_->GetWidth(), offScreen_->GetHeight()},
              offScreen_->GetBitmap(), lv::Point{0, 0});
    if (dragActive_ && !dragRect_.IsEmpty()) {
      dc.SelectPen(lv::Pen::Solid(CWColors::GetRGBColor(textColor_)));
      dc.SelectBrush(lv::Brush::Null());
      dc.Rectangle(lv::Rect{dragRect_.left + toolbarWidth_, dragRect_.top, dragRect_.right + toolbarWidth_,
                            dragRect_.bottom});
    }
    if (valueWindow_->IsVisible()) {
      valueWindow_->OnPaint(dc);
    }
    frame_ = dc.SelectBitmap(lv::Bitmap());
    lastFrame_ = frame_;
    window_->PresentFrame(frame_);
  } catch (CQError* e) {
    e->AddToCallStack("CWPlotPersSpecWndw::OnPaint");
    ShowErrorDialog(e);
  }
}

void CWPlotPersSpecWndw::DrawToolbar(lv::DeviceContext& dc) {
  const lv::Size c = window_ ? window_->ClientSize() : lv::Size{};
  dc.FillSolidRect(lv::Rect{0, 0, kToolbarWidth, c.cy}, kToolbarFace);
  dc.FillSolidRect(lv::Rect{kToolbarWidth - 1, 0, kToolbarWidth, c.cy}, kToolbarShadow);
  const lv::Pen glyph = lv::Pen::Solid(kToolbarGlyph);
  for (const ToolButton& b : ToolbarButtons()) {
    const lv::Rect& r = b.rect;
    if (b.id == 0) {
      dc.SelectPen(lv::Pen::Solid(kToolbarShadow));
      dc.MoveTo(lv::Point{r.left + 2, (r.top + r.bottom) / 2});
      dc.LineTo(lv::Point{r.right - 2, (r.top + r.bottom) / 2});
      continue;
    }
    const bool pressed = (b.id == kCmdLocationTool && mouseMode_ == 1) || (b.id == kCmdZoomTool && mouseMode_ == 2);
    if (pressed) {
      dc.FillSolidRect(r, kToolbarPressed);
      dc.SelectPen(lv::Pen::Solid(kToolbarShadow));
      dc.SelectBrush(lv::Brush::Null());
      dc.Rectangle(r);
    }
    dc.SelectPen(glyph);
    const int32_t cx = (r.left + r.right) / 2;
    const int32_t cy = (r.top + r.bottom) / 2;
    if (b.id == kCmdLocationTool) {  // cross hairs with a small ring
      dc.MoveTo(lv::Point{r.left + 4, cy});
      dc.LineTo(lv::Point{r.right - 3, cy});
      dc.MoveTo(lv::Point{cx, r.top + 4});
      dc.LineTo(lv::Point{cx, r.bottom - 3});
      dc.SelectBrush(lv::Brush::Null());
      dc.Rectangle(lv::Rect{cx - 4, cy - 4, cx + 5, cy + 5});
    } else if (b.id == kCmdZoomTool) {  // a vertical double arrow
      dc.MoveTo(lv::Point{cx, r.top + 4});
      dc.LineTo(lv::Point{cx, r.bottom - 3});
      for (int i = 1; i <= 4; ++i) {
        dc.MoveTo(lv::Point{cx - i, r.top + 4 + i});
        dc.LineTo(lv::Point{cx + i + 1, r.top + 4 + i});
        dc.MoveTo(lv::Point{cx - i, r.bottom - 4 - i});
        dc.LineTo(lv::Point{cx + i + 1, r.bottom - 4 - i});
      }
    } else {  // axes with limit marks
      dc.MoveTo(lv::Point{r.left + 5, r.top + 4});
      dc.LineTo(lv::Point{r.left + 5, r.bottom - 5});
      dc.LineTo(lv::Point{r.right - 3, r.bottom - 5});
      for (int i = 0; i < 3; ++i) {
        dc.MoveTo(lv::Point{r.left + 3, r.top + 6 + 5 * i});
        dc.LineTo(lv::Point{r.left + 5, r.top + 6 + 5 * i});
      }
      dc.MoveTo(lv::Point{r.left + 8, r.top + 6});
      dc.LineTo(lv::Point{r.right - 4, r.top + 6});
    }
  }
}

void CWPlotPersSpecWndw::DrawPicture(lv::DeviceContext& dc) {
  if (!hasImage_) {
    return;
  }
  if (persPlot_->IsReady()) {
    persPlot_->Paint(&dc, imageRect_.left, imageRect_.top);
  }
  const lv::Pen oldPen = dc.SelectPen(lv::Pen::Solid(kAxisGrey));
  const lv::Font oldFont = dc.GetFont();
  const lv::Color oldColor = dc.SetTextColor(CWColors::GetRGBColor(textColor_));
  const lv::BkMode oldMode = dc.SetBkMode(lv::BkMode::kTransparent);
  const lv::TextAlign oldAlign = dc.GetTextAlign();
  try {
    DrawFrequencyAxis(dc);
  } catch (CQError* e) {
    delete e;
  }
  try {
    DrawPowerAxis(dc);
  } catch (CQError* e) {
    delete e;
  }
  DrawNotations(dc);
  dc.SelectPen(oldPen);
  dc.SelectFont(oldFont);
  dc.SetTextColor(oldColor);
  dc.SetBkMode(oldMode);
  dc.SetTextAlign(oldAlign);
}

void CWPlotPersSpecWndw::DrawFrequencyAxis(lv::DeviceContext& dc) {
  dc.SelectFont(normalFont_);
  dc.SetTextAlign(lv::TextAlign{lv::HAlign::kCenter, lv::VAlign::kTop});
  double f0 = centerFreq_ + persPlot_->GetStartFreq();
  double f1 = centerFreq_ + persPlot_->GetStopFreq();
  std::wstring title;
  double divisor = 1.0;
  CQAxisScale::MakeAxisLabel(2, f0, f1, title, divisor);
  const lv::TextMetrics tm = dc.GetTextMetrics();
  dc.TextOut((freqAxisBox_.left + freqAxisBox_.right) / 2, freqAxisBox_.bottom - (tm.height + tm.descent), title);
  if (std::fabs(f0) > 1e12 || std::fabs(f1) > 1e12) {
    return;
  }
  const int32_t w = imageRect_.Width();
  const int32_t s = w <= 100 ? 10 : w <= 300 ? 5 : w <= 500 ? 2 : 1;
  f0 /= divisor;
  f1 /= divisor;
  const int32_t decimals = CQAxisScale::CountDecimals(f0, f1, 10 / s + 1);
  for (int32_t k = 0; k <= 10; k += s) {
    const int32_t x = imageRect_.left + RoundHalfAway(k * static_cast<double>(w) / 10.0);
    if (gridOn_) {
      dc.MoveTo(lv::Point{x, imageRect_.bottom});
      dc.LineTo(lv::Point{x, imageRect_.top});
    }
    dc.TextOut(x, imageRect_.bottom + 5, lv::FormatCW(L"%.*lf", decimals, f0 + k * (f1 - f0) / 10.0));
  }
}

void CWPlotPersSpecWndw::DrawPowerAxis(lv::DeviceContext& dc) {
  const double lo = persPlot_->GetBottom();
  const double hi = persPlot_->GetTop();
  dc.SelectFont(verticalFont_);
  dc.SetTextAlign(lv::TextAlign{lv::HAlign::kCenter, lv::VAlign::kTop});
  std::wstring title;
  double divisor = 1.0;
  CQAxisScale::MakeAxisLabel(13, lo, hi, title, divisor);
  dc.TextOut(powerAxisBox_.left, (powerAxisBox_.top + powerAxisBox_.bottom) / 2, title);
  dc.SelectFont(normalFont_);
  dc.SetTextAlign(lv::TextAlign{lv::HAlign::kRight, lv::VAlign::kBaseline});
  const lv::TextMetrics tm = dc.GetTextMetrics();
  const int32_t h = imageRect_.Height();
  const int32_t s = h <= 80 ? 10 : h <= 130 ? 5 : h <= 230 ? 2 : 1;
  for (int32_t k = 0; k <= 10; k += s) {
    const int32_t y = imageRect_.top + RoundHalfAway(h * (10 - k) / 10.0);
    if (gridOn_) {
      dc.MoveTo(lv::Point{imageRect_.left, y});
      dc.LineTo(lv::Point{imageRect_.right, y});
    }
    dc.TextOut(imageRect_.left - 4, y + tm.ascent / 2, lv::FormatCW(L"%.2f", lo + k * (hi - lo) / 10.0));
  }
}

void CWPlotPersSpecWndw::DrawNotations(lv::DeviceContext& dc) {
  dc.SelectFont(normalFont_);
  dc.SetTextAlign(lv::TextAlign{lv::HAlign::kLeft, lv::VAlign::kTop});
  dc.SetTextColor(CWColors::GetRGBColor(textColor_));
  const lv::TextMetrics tm = dc.GetTextMetrics();
  wchar_t text[kFrequencyTextSize] = {};
  dc.TextOut(rbwBox_.left, rbwBox_.top, L"RBW");
  FormatFrequencyWithUnits(effectiveRBW_, text);
  dc.TextOut(rbwBox_.left, rbwBox_.top + tm.height, text);
  dc.TextOut(spanBox_.left, spanBox_.top, L"Span");
  FormatFrequencyWithUnits(persPlot_->GetStopFreq() - persPlot_->GetStartFreq(), text);
  dc.TextOut(spanBox_.left, spanBox_.top + tm.height, text);
}

// ---- Copy, save, print ------------------------------------------------------------------

lv::Size CWPlotPersSpecWndw::PictureSize() const {
  return lv::Size{std::max(1, freqAxisBox_.right), std::max(1, std::max(freqAxisBox_.bottom, spanBox_.bottom) + 1)};
}

lv::Bitmap CWPlotPersSpecWndw::RenderImageForSave() {
  const lv::Size s = PictureSize();
  lv::ImageDc dc(s.cx, s.cy, CWColors::GetRGBColor(backgroundColor_));
  DrawPicture(dc);
  return dc.GetBitmap();
}

void CWPlotPersSpecWndw::CopyImage() {
  const lv::Size s{std::max(1, offScreen_->GetWidth()), std::max(1, offScreen_->GetHeight())};
  lv::ImageDc image(s.cx, s.cy, CWColors::GetRGBColor(backgroundColor_));
  lv::RecordingDc recording(s, &image);
  recording.FillSolidRect(lv::Rect{0, 0, s.cx, s.cy}, CWColors::GetRGBColor(backgroundColor_));
  DrawPicture(recording);
  lv::SvgDc svg(s);
  recording.Replay(svg);
  lv::CopyPictureToClipboard(svg.Document(), image.GetBitmap());
}

void CWPlotPersSpecWndw::SaveImage() {
  lv::FileDialogOptions options;
  options.title = L"Save Image";
  options.filters = {{L"PNG Files (*.png)", L"*.png"},
                     {L"Bitmap Files (*.bmp)", L"*.bmp"},
                     {L"JPEG Files (*.jpg)", L"*.jpg"},
                     {L"GIF Files (*.gif)", L"*.gif"}};
  options.defaultExtension = L"png";
  options.initialPath = L"Persistence spectrum.png";
  const std::wstring name = AskImageFileName(options, {L".png", L".bmp", L".jpg", L".gif"});
  if (name.empty()) {
    return;
  }
  const lv::Bitmap picture = RenderImageForSave();
  if (!lv::SaveImageFile(picture, lv::WideToUtf8(name))) {
    throw new CQError("Error writing the image file.");
  }
}

void CWPlotPersSpecWndw::PrintImage() {
  lv::PrintJob job;
  if (!job.ShowPrintDialog(L"Persistence Spectrum")) {
    return;
  }
  // Paper colours for the printout; the scheme's colours come back on every path.
  const int32_t text = textColor_, grid = gridColor_, background = backgroundColor_;
  SetColors(false);
  lv::Bitmap picture;
  try {
    picture = RenderImageForSave();
  } catch (...) {
    textColor_ = text;
    gridColor_ = grid;
    backgroundColor_ = background;
    throw;
  }
  textColor_ = text;
  gridColor_ = grid;
  backgroundColor_ = background;
  if (!job.PrintBitmap(picture)) {
    throw new CQError("Error starting the print job.");
  }
}
