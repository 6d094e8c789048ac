// The plot tool window: creation, sizing, painting, mouse tools, zoom and
// the marker read-out. The pop-up menu's commands are in
// tool_window_commands.cpp.
#include "plots/windows/tool_window.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "core/error.h"
#include "core/error_dialog.h"
#include "core/numbers.h"
#include "platform/text.h"
#include "plots/windows/toolbar_images.h"

namespace {

std::wstring Printf(const wchar_t* format, double value) { return lv::FormatCW(format, value); }

// The buttons of toolbars 216 and 219 (0: separator).
constexpr uint32_t kToolbar216[] = {40034, 0, 40035, 40036, 40037, 40041, 40038, 40039, 0, 40047, 40048};
constexpr uint32_t kToolbar219[] = {40034, 0, 40035, 40041, 40038, 0, 40047, 40048};

const wchar_t* TooltipOf(uint32_t id) {
  switch (id) {
    case 40034: return L"Location Tool";
    case 40035: return L"Vertical Axis Zoom Tool";
    case 40036: return L"Horizontal Axis Zoom Tool";
    case 40037: return L"Both Axes Zoom Tool";
    case 40041: return L"Axes Limits...";
    case 40038: return L"Lock Vertical Axis Scale";
    case 40039: return L"Lock Horizontal Axis Scale";
    case 40047: return L"Marker On/Off";
    case 40048: return L"Place Marker";
    default: return L"";
  }
}

constexpr lv::Color kToolbarFace = lv::MakeRgb(240, 240, 240);
constexpr lv::Color kToolbarEdge = lv::MakeRgb(160, 160, 160);
constexpr lv::Color kPressedFace = lv::MakeRgb(204, 228, 247);
constexpr lv::Color kPressedEdge = lv::MakeRgb(0, 84, 153);

}  // namespace

CWPlot2DToolWndw::CWPlot2DToolWndw(int32_t plotKind) : plotKind_(plotKind) {}

CWPlot2DToolWndw::~CWPlot2DToolWndw() {
  if (window_) {
    window_->SetMessageHandler(nullptr);
  }
}

bool CWPlot2DToolWndw::CreateToolWindow(const wchar_t* title, const lv::Rect& rect, const lv::FrameWindow& parent,
                                        const lv::Bitmap* /*icon*/) {
  if (window_) {
    return true;
  }
  try {
    window_ = std::make_unique<lv::ChildWindow>(parent, title != nullptr ? title : L"", rect);
    window_->SetMessageHandler([this](const lv::WindowMessage& m) { OnWindowMessage(m); });
    window_->SetCursor(lv::CursorKind::kArrow);
    window_->SetBoundingRect(boundingRect);
    // The toolbar of the plot kind, then the off-screen surface at the
    // client size less the toolbar.
    LayoutToolbar();
    client_ = window_->ClientSize();
    ResizeOffScreen();
    ApplyColorScheme(screenSchemeOn_);
    valueWindow_.CreateValueWindow(window_.get());
    UpdateToolbarPressed();
    Present();
  } catch (CQError* e) {
    e->AddToCallStack("CWPlot2DToolWndw::CreateToolWindow");
    ShowErrorDialog(e);
    window_.reset();
    return false;
  }
  return true;
}

void CWPlot2DToolWndw::LayoutToolbar() {
  buttons_.clear();
  const bool kind216 = plotKind_ == 0 || plotKind_ == 1;
  const uint32_t* ids = kind216 ? kToolbar216 : kToolbar219;
  const size_t count = kind216 ? std::size(kToolbar216) : std::size(kToolbar219);
  int32_t y = kToolbarTop;
  for (size_t i = 0; i < count; ++i) {
    ToolButton b;
    b.id = ids[i];
    b.separator = ids[i] == 0;
    b.tooltip = TooltipOf(ids[i]);
    const int32_t h = b.separator ? kSeparatorHeight : kButtonHeight;
    b.rect = lv::Rect{1, y, kToolbarWidth - 2, y + h};
    y += h;
    buttons_.push_back(b);
  }
  toolbarWidth_ = toolbarShown_ ? kToolbarWidth : 0;
}

void CWPlot2DToolWndw::ResizeOffScreen() {
  const int32_t w = std::max(1, client_.cx - toolbarWidth_);
  const int32_t h = std::max(1, client_.cy);
  if (offDc_.Width() != w || offDc_.Height() != h) {
    if (!offDc_.Resize(w, h, offScreenBackground_)) {
      throw new CQError(1, "CWPlot2DToolWndw::ResizeOffScreen");
    }
  }
  drawRect = lv::Rect{0, 0, w, h};
}

void CWPlot2DToolWndw::ShowToolbar(bool show) {
  if (show == toolbarShown_) {
    return;
  }
  Guarded("CWPlot2DToolWndw::ShowToolbar", [&] {
    toolbarShown_ = show;
    toolbarWidth_ = show ? kToolbarWidth : 0;
    if (window_) {
      ResizeOffScreen();
      if (hasData) {
        DrawAll(offDc_, false);
      } else {
        offDc_.Clear(CWColors::GetRGBColor(backgroundColor));
      }
      Present();
    }
  });
}

void CWPlot2DToolWndw::SetBoundingRect(const lv::Rect& bounds) {
  boundingRect = bounds;
  if (window_) {
    window_->SetBoundingRect(bounds);
  }
}

void CWPlot2DToolWndw::ClearData() {
  Guarded("CWPlot2DToolWndw::ClearData", [&] {
    // The engine's clear forgets the memories too: they are kept aside and
    // put back, so only the datasets go.
    std::vector<double> mx[kNumMemories];
    std::vector<double> my[kNumMemories];
    for (int32_t m = 0; m < kNumMemories; ++m) {
      const int32_t n = GetMemoryPointCount(m + 1);
      for (int32_t i = 0; i < n; ++i) {
        mx[m].push_back(MemoryX(m + 1, i));
        my[m].push_back(MemoryY(m + 1, i));
      }
    }
    ClearAllData();
    for (int32_t m = 0; m < kNumMemories; ++m) {
      if (!mx[m].empty()) {
        SetMemoryDatasetData(mx[m].data(), my[m].data(), static_cast<int32_t>(mx[m].size()), m + 1);
      }
    }
    hasData = false;
    Redraw();
  });
}

void CWPlot2DToolWndw::SaveMemory1() {
  Guarded("CWPlot2DToolWndw::SaveMemory1", [&] {
    SaveDatasetToMemory(1, 1);
    memoryShown[0] = true;
    Redraw();
  });
}

void CWPlot2DToolWndw::SaveMemory2() {
  Guarded("CWPlot2DToolWndw::SaveMemory2", [&] {
    SaveDatasetToMemory(1, 2);
    memoryShown[1] = true;
    Redraw();
  });
}

void CWPlot2DToolWndw::Redraw() {
  if (!window_) {
    return;
  }
  DrawAll(offDc_, false);
  Present();
}

void CWPlot2DToolWndw::Present() {
  if (!window_) {
    return;
  }
  const int32_t w = std::max(1, client_.cx);
  const int32_t h = std::max(1, client_.cy);
  if (frameDc_.Width() != w || frameDc_.Height() != h) {
    frameDc_.Resize(w, h, lv::kWindowColor);
  }
  frameDc_.Clear(lv::kWindowColor);
  if (toolbarShown_) {
    DrawToolbar(frameDc_, h);
  }
  frameDc_.BitBlt(lv::Rect{toolbarWidth_, 0, toolbarWidth_ + offDc_.Width(), offDc_.Height()}, offDc_.GetBitmap(),
                  lv::Point{0, 0});
  if (ZoomActive() && !trackingRect_.IsEmpty()) {
    // The drag rectangle: 2-pixel borders in the inverse of the background.
    const lv::Color c = offScreenBackground_ ^ 0x00FFFFFFu;
    const lv::Rect& r = trackingRect_;
    frameDc_.FillSolidRect(lv::Rect{r.left, r.top, r.right, std::min(r.top + 2, r.bottom)}, c);
    frameDc_.FillSolidRect(lv::Rect{r.left, std::max(r.bottom - 2, r.top), r.right, r.bottom}, c);
    frameDc_.FillSolidRect(lv::Rect{r.left, r.top, std::min(r.left + 2, r.right), r.bottom}, c);
    frameDc_.FillSolidRect(lv::Rect{std::max(r.right - 2, r.left), r.top, r.right, r.bottom}, c);
  }
  valueWindow_.OnPaint(frameDc_);
  lastFrame_ = frameDc_.GetBitmap();
  lv::Bitmap frame = frameDc_.SelectBitmap(lv::Bitmap());
  window_->PresentFrame(frame);
  frameDc_.SelectBitmap(std::move(frame));
}

void CWPlot2DToolWndw::DrawToolbar(lv::DeviceContext& dc, int32_t height) {
  dc.FillSolidRect(lv::Rect{0, 0, kToolbarWidth, height}, kToolbarFace);
  dc.FillSolidRect(lv::Rect{kToolbarWidth - 1, 0, kToolbarWidth, height}, kToolbarEdge);
  for (const ToolButton& b : buttons_) {
    if (b.separator) {
      const int32_t y = (b.rect.top + b.rect.bottom) / 2;
      dc.FillSolidRect(lv::Rect{b.rect.left + 3, y, b.rect.right - 3, y + 1}, kToolbarEdge);
      continue;
    }
    if (IsButtonPressed(b.id)) {
      dc.FillSolidRect(b.rect, kPressedEdge);
      dc.FillSolidRect(lv::Rect{b.rect.left + 1, b.rect.top + 1, b.rect.right - 1, b.rect.bottom - 1}, kPressedFace);
    }
    const lv::Bitmap& image = ToolbarImage(b.id);
    const int32_t x = b.rect.left + (b.rect.Width() - 24) / 2;
    const int32_t y = b.rect.top + (b.rect.Height() - 24) / 2;
    dc.BitBlt(lv::Rect{x, y, x + 24, y + 24}, image, lv::Point{0, 0});
  }
}

bool CWPlot2DToolWndw::IsButtonPressed(uint32_t id) const {
  switch (id) {
    case kCmdLocationTool: return mouseMode_ == kModeLocation;
    case kCmdVerticalZoom: return mouseMode_ == kModeVerticalZoom;
    case kCmdHorizontalZoom: return mouseMode_ == kModeHorizontalZoom;
    case kCmdBothZoom: return mouseMode_ == kModeBothZoom;
    case kCmdPlaceMarker: return mouseMode_ == kModeMarker;
    case kCmdLockVertical: return !yAutoScale;
    case kCmdLockHorizontal: return !xAutoScale;
    case kCmdMarkerOnOff: return markerOn;
    default: return false;
  }
}

std::wstring CWPlot2DToolWndw::ToolbarTooltipAt(lv::Point p) const {
  if (!toolbarShown_) {
    return L"";
  }
  for (const ToolButton& b : buttons_) {
    if (!b.separator && p.x >= b.rect.left && p.x < b.rect.right && p.y >= b.rect.top && p.y < b.rect.bottom) {
      return b.tooltip;
    }
  }
  return L"";
}

void CWPlot2DToolWndw::UpdateToolbarPressed() {
  // The toolbar is part of the frame: composing it again shows the states.
}

void CWPlot2DToolWndw::SetMouseMode(int32_t mode) {
  mouseMode_ = mode;
  Present();
}

void CWPlot2DToolWndw::OnWindowMessage(const lv::WindowMessage& m) {
  using K = lv::WindowMessageKind;
  Guarded("CWPlot2DToolWndw::OnWindowMessage", [&] {
    switch (m.kind) {
      case K::kCommand:
        OnCommand(static_cast<uint32_t>(m.a));
        break;
      case K::kClose:
        OnClose();
        break;
      case K::kSize:
        OnSize(m.a, m.b);
        break;
      case K::kPaint:
        Present();
        break;
      case K::kMouseMove:
        OnMouseMove(lv::Point{m.x, m.y});
        break;
      case K::kMouseDown:
        if (m.a == 1) {
          OnLButtonDown(lv::Point{m.x, m.y});
        } else if (m.a == 2) {
          OnRButtonDown(lv::Point{m.x, m.y});
        }
        break;
      case K::kMouseUp:
        if (m.a == 1) {
          OnLButtonUp(lv::Point{m.x, m.y});
        }
        break;
      case K::kMove:
        // Keep inside the bounding rectangle (the layer clamps the widget).
        if (!boundingRect.IsEmpty() && window_) {
          const lv::Rect g = window_->Geometry();
          const lv::Rect kept = lv::KeepInside(g, boundingRect);
          if (!(kept == g)) {
            window_->MoveSize(kept);
          }
        }
        break;
      default:
        break;
    }
  });
}

void CWPlot2DToolWndw::OnSize(int32_t clientWidth, int32_t clientHeight) {
  client_ = lv::Size{clientWidth, clientHeight};
  ResizeOffScreen();
  DrawAll(offDc_, false);
  Present();
}

void CWPlot2DToolWndw::OnClose() {
  if (alwaysShown || !window_) {
    return;
  }
  window_->Show(false);
}

bool CWPlot2DToolWndw::InPlotArea(lv::Point c) const {
  const int32_t x = c.x - toolbarWidth_;
  return x >= plotArea.left && x < plotArea.right && c.y >= plotArea.top && c.y < plotArea.bottom &&
         c.x >= toolbarWidth_;
}

void CWPlot2DToolWndw::UpdateCursor(lv::Point client) {
  if (!window_) {
    return;
  }
  lv::CursorKind kind = lv::CursorKind::kArrow;
  if (InPlotArea(client)) {
    switch (mouseMode_) {
      case kModeLocation: kind = lv::CursorKind::kCross; break;
      case kModeVerticalZoom: kind = lv::CursorKind::kSizeVertical; break;
      case kModeHorizontalZoom: kind = lv::CursorKind::kSizeHorizontal; break;
      case kModeBothZoom: kind = lv::CursorKind::kSizeAll; break;
      default: kind = window_->Cursor(); break;  // marker placement: unchanged
    }
  }
  if (kind != window_->Cursor()) {
    window_->SetCursor(kind);
  }
}

void CWPlot2DToolWndw::OnLButtonDown(lv::Point c) {
  // The toolbar column: its buttons are commands; elsewhere in it nothing.
  if (toolbarShown_ && c.x >= 0 && c.x < toolbarWidth_) {
    for (const ToolButton& b : buttons_) {
      if (!b.separator && c.x >= b.rect.left && c.x < b.rect.right && c.y >= b.rect.top && c.y < b.rect.bottom) {
        OnCommand(b.id);
        return;
      }
    }
    return;
  }
  if (!hasData || !InPlotArea(c)) {
    return;
  }
  double x = 0.0;
  double y = 0.0;
  PixelToData(c.x - toolbarWidth_, c.y, x, y);
  switch (mouseMode_) {
    case kModeLocation:
      valueWindow_.xValue = x;
      valueWindow_.yValue = y;
      valueWindow_.xAxisType = xAxisType;
      valueWindow_.yAxisType = yAxisType;
      valueWindow_.ShowNear(c.x, c.y);
      Present();
      break;
    case kModeVerticalZoom:
    case kModeHorizontalZoom:
    case kModeBothZoom:
      verticalZoom_ = mouseMode_ == kModeVerticalZoom;
      horizontalZoom_ = mouseMode_ == kModeHorizontalZoom;
      bothZoom_ = mouseMode_ == kModeBothZoom;
      dragStart = c;
      dragEnd = c;
      trackingRect_ = lv::Rect{c.x, c.y, c.x, c.y};
      if (window_) {
        window_->SetCapture();
      }
      Present();
      break;
    case kModeMarker:
      markerX = x;
      markerOn = true;
      SnapMarkerToData();
      Redraw();
      break;
    default:
      break;
  }
}

void CWPlot2DToolWndw::OnMouseMove(lv::Point c) {
  mousePos = c;
  UpdateCursor(c);
  window_->SetToolTip(ToolbarTooltipAt(c));  // the toolbar is drawn here, so its tips are set here
  if (!ZoomActive() || !InPlotArea(c)) {
    return;
  }
  dragEnd = c;
  const lv::Point s = dragStart;
  lv::Rect r = trackingRect_;
  if (bothZoom_ || horizontalZoom_) {
    if (c.x != s.x) {
      r.left = std::min(c.x, s.x);
      r.right = std::max(c.x, s.x) + 1;
    }
  } else if (c.x < s.x) {
    r.left = s.x - 2;
    r.right = s.x + 1;
  } else if (c.x > s.x) {
    r.left = s.x;
    r.right = s.x + 3;
  }
  if (bothZoom_ || verticalZoom_) {
    if (c.y != s.y) {
      r.top = std::min(c.y, s.y);
      r.bottom = std::max(c.y, s.y) + 1;
    }
  } else if (c.y < s.y) {
    r.top = s.y - 2;
    r.bottom = s.y + 1;
  } else if (c.y > s.y) {
    r.top = s.y;
    r.bottom = s.y + 3;
  }
  trackingRect_ = r;
  Present();
}

void CWPlot2DToolWndw::OnLButtonUp(lv::Point /*c*/) {
  if (mouseMode_ == kModeLocation) {
    if (valueWindow_.IsVisible()) {
      valueWindow_.Hide();
      Present();
    }
    return;
  }
  if (!ZoomActive()) {
    return;
  }
  if (window_) {
    window_->ReleaseCapture();
  }
  PixelToData(dragStart.x - toolbarWidth_, dragStart.y, zoomStartX, zoomStartY);
  PixelToData(dragEnd.x - toolbarWidth_, dragEnd.y, zoomEndX, zoomEndY);
  const int32_t mode = verticalZoom_ ? kModeVerticalZoom : horizontalZoom_ ? kModeHorizontalZoom : kModeBothZoom;
  bothZoom_ = horizontalZoom_ = verticalZoom_ = false;
  trackingRect_ = lv::Rect{};
  ApplyZoom(mode, zoomStartX, zoomStartY, zoomEndX, zoomEndY);
  Redraw();
}

void CWPlot2DToolWndw::ApplyZoom(int32_t mode, double x0, double y0, double x1, double y1) {
  auto zoomX = [&] {
    double lo = std::min(x0, x1);
    double hi = std::max(x0, x1);
    if (xAxisType != 0 && xAxisType != 2) {
      MakeNiceLimits(lo, hi, 0.0);
    }
    xMin = lo;
    xMax = hi;
    xAutoScale = false;
  };
  auto zoomY = [&](bool both) {
    double lo = std::min(y0, y1);
    double hi = std::max(y0, y1);
    switch (yAxisType) {
      case 12:
      case 13:
        MakeNiceLimits(lo, hi, hi - lo > 45.0 ? 10.0 : 0.0);
        break;
      case 14:
        MakePhaseLimits(lo, hi);
        break;
      case 18:
        if (both) {
          MakeNiceLimits(lo, hi, 0.0);
        }
        break;
      default:
        MakeNiceLimits(lo, hi, 0.0);
        break;
    }
    yMin = lo;
    yMax = hi;
    yAutoScale = false;
  };
  switch (mode) {
    case kModeHorizontalZoom:
      zoomX();
      break;
    case kModeVerticalZoom:
      zoomY(false);
      break;
    case kModeBothZoom:
      zoomX();
      zoomY(true);
      break;
    default:
      break;
  }
}

void CWPlot2DToolWndw::OnRButtonDown(lv::Point c) {
  if (!window_) {
    return;
  }
  window_->TrackPopupMenu(BuildPopupMenu(), c);
}

std::wstring CWPlot2DToolWndw::MarkerXText(int32_t type, double x) {
  wchar_t text[kTimeTextSize] = {};
  if (type == 0) {
    FormatTimeWithUnits(x, text);
    return text;
  }
  if (type == 2) {
    const double a = std::fabs(x);
    const wchar_t* unit = L"GHz";
    double div = 1e9;
    int decimals = 9;
    if (a < 1000.0) {
      unit = L"Hz", div = 1.0, decimals = 0;
    } else if (a < 1e6) {
      unit = L"kHz", div = 1e3, decimals = 3;
    } else if (a < 1e9) {
      unit = L"MHz", div = 1e6, decimals = 6;
    }
    return lv::FormatCW(L"%.*lf %ls", decimals, x / div, unit);
  }
  if (type == 19) {
    return Printf(L"%.2lf dB", x);
  }
  FormatWithSIPrefix(x, text);
  return text;
}

std::wstring CWPlot2DToolWndw::MarkerValueText(int32_t type, double v, bool complex, float re, float im) {
  wchar_t text[kTimeTextSize] = {};
  switch (type) {
    case 0:
    case 1:
      FormatTimeWithUnits(v, text);
      return text;
    case 12: return Printf(L"%.2lf dB", v);
    case 13: return Printf(L"%.2lf dBm", v);
    case 14: return Printf(L"%.2lf Deg", v);
    case 17: return Printf(L"%.2lf %%", v);
    case 18: return Printf(v >= 1.0 ? L"%.2lf %%" : L"%.2le %%", v);
    default:
      break;
  }
  if (type == 10 && complex) {
    return lv::FormatCW(L"(%.3e, j%.3e)", static_cast<double>(re), static_cast<double>(im));
  }
  FormatWithSIPrefix(v, text);
  return text;
}

void CWPlot2DToolWndw::PaintMarkers(lv::DeviceContext& dc) {
  if (!markerOn) {
    return;
  }
  const lv::Font oldFont = dc.SelectFont(markerFont_);
  const lv::BkMode oldMode = dc.SetBkMode(lv::BkMode::kOpaque);
  const lv::TextAlign oldAlign = dc.SetTextAlign(lv::TextAlign{lv::HAlign::kLeft, lv::VAlign::kTop});
  const lv::Color oldColor = dc.SetTextColor(lv::MakeRgb(255, 0, 0));
  const int32_t tx = plotArea.left + 4;
  int32_t px = 0;
  int32_t py = 0;
  bool inside = false;
  DataToPixel(markerX, markerValue, px, py, inside);
  if (inside) {
    const lv::Pen oldPen = dc.SelectPen(lv::Pen::Solid(lv::MakeRgb(255, 0, 0), 2));
    const lv::Point diamond[5] = {{px - 5, py}, {px, py - 5}, {px + 5, py}, {px, py + 5}, {px - 5, py}};
    dc.Polyline(diamond, 5);
    dc.SelectPen(oldPen);
  }
  dc.TextOut(tx, plotArea.top + 2, MarkerXText(xAxisType, markerX));
  dc.TextOut(tx, plotArea.top + 16, MarkerValueText(yAxisType, markerValue, markerComplex, markerReal, markerImag));
  dc.SelectFont(oldFont);
  dc.SetBkMode(oldMode);
  dc.SetTextAlign(oldAlign);
  dc.SetTextColor(oldColor);
}
