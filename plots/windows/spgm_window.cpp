#include "plots/windows/spgm_window.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cwchar>
#include <memory>
#include <new>

#include "core/array_math.h"
#include "core/arrays/carray.h"
#include "core/dates.h"
#include "core/error.h"
#include "core/error_dialog.h"
#include "core/numbers.h"
#include "core/spectral/dsp_window.h"
#include "core/spectral/spectrogram.h"
#include "platform/gui/dialogs.h"
#include "platform/gui/image_dc.h"
#include "platform/gui/printing.h"
#include "platform/gui/svg_dc.h"
#include "platform/text.h"
#include "plots/axis_scale.h"
#include "plots/color_map.h"
#include "plots/colors.h"
#include "plots/offscreen_dc.h"
#include "plots/plot_spgm.h"
#include "plots/windows/image_file_name.h"
#include "plots/windows/spgm_dlg.h"
#include "plots/windows/settings_change.h"
#include "plots/windows/value_window.h"

namespace {

constexpr lv::Color kAxisGrey = lv::MakeRgb(128, 128, 128);
constexpr lv::Color kWindowFrame = lv::MakeRgb(0, 0, 0);
constexpr int32_t kImageLeft = 129;  // colour-scale box right + 66
constexpr int32_t kImageTop = 10;
constexpr int32_t kRightMargin = 30;
constexpr int32_t kBottomMargin = 40;
constexpr int32_t kMinImageSize = 100;

// Toolbar buttons top to bottom (0: a separator).
constexpr uint32_t kToolbarIds[] = {CWPlotSpgmWndw::kCmdValueTool, 0, CWPlotSpgmWndw::kCmdTimeZoomTool,
                                    CWPlotSpgmWndw::kCmdFreqZoomTool, CWPlotSpgmWndw::kCmdBothZoomTool,
                                    CWPlotSpgmWndw::kCmdAutoLimits};
constexpr int32_t kSeparatorHeight = 8;

// Where each toolbar button lies in the client area (separators give an empty rectangle).
lv::Rect ToolbarButtonRect(size_t index) {
  int32_t y = 3;
  for (size_t i = 0; i < index; ++i) {
    y += kToolbarIds[i] == 0 ? kSeparatorHeight : CWPlotSpgmWndw::kButtonSize + 2;
  }
  if (kToolbarIds[index] == 0) return lv::Rect{};
  return lv::Rect{3, y, 3 + CWPlotSpgmWndw::kButtonSize, y + CWPlotSpgmWndw::kButtonSize};
}

std::wstring Printf(const wchar_t* format, int decimals, double value) {
  wchar_t buffer[64];
  std::swprintf(buffer, 64, format, decimals, value);
  return buffer;
}

// Shows the error with the handler's name; the window stays usable.
void ShowWith(CQError* e, const char* name) {
  e->AddToCallStack(name);
  ShowErrorDialog(e);
}

// The drag rectangle along one axis, from the press at start to the mouse at
// now: the dragged span when that axis zooms, else a three-pixel mark at the
// start on the side the mouse went.
void DragExtent(int32_t start, int32_t now, bool zooms, int32_t& low, int32_t& high) {
  if (zooms) {
    low = std::min(start, now);
    high = std::max(start, now) + 1;
  } else if (now < start) {
    low = start - 2;
    high = start + 1;
  } else {
    low = start;
    high = start + 3;
  }
}

bool IsKnownShape(int32_t shape) { return shape >= kWindowRectangular && shape <= kWindowGaussian430; }

}  // namespace

CWPlotSpgmWndw::CWPlotSpgmWndw() {
  auto engine = std::make_unique<CWPlotSpgm>();
  auto value = std::make_unique<CWPlot2DValueWndw>();
  auto surface = std::make_unique<CWOffScreenDC>();
  engine_ = engine.release();
  valueWindow_ = value.release();
  surface_ = surface.release();
}

CWPlotSpgmWndw::~CWPlotSpgmWndw() {
  if (window_) window_->SetMessageHandler({});
  delete valueWindow_;
  delete surface_;
  delete input_;
  delete subset_;
  delete engine_;
}

// ---- Creation and layout ----------------------------------------------------

void CWPlotSpgmWndw::Create(const lv::FrameWindow& parent, const std::wstring& title, const lv::Rect& geometry) {
  window_ = std::make_unique<lv::ChildWindow>(parent, title, geometry);
  window_->SetMessageHandler([this](const lv::WindowMessage& m) { HandleMessage(m); });
  OnCreate();
}

void CWPlotSpgmWndw::OnCreate() {
  try {
    toolbarWidth_ = toolbarShown ? kToolbarWidth : 0;
    const lv::Size client = window_->ClientSize();
    colorScaleRect = lv::Rect{48, 10, 63, 130};
    colorScaleBox = lv::Rect{3, 10, 63, 130};
    rbwBox = lv::Rect{3, 150, 63, 180};
    spanBox = lv::Rect{3, 190, 63, 220};
    imageRect = lv::Rect{kImageLeft, kImageTop, client.cx - kRightMargin, client.cy - kBottomMargin};
    Layout(std::max(kMinImageSize, client.cy - kImageTop - kBottomMargin),
           std::max(kMinImageSize, client.cx - toolbarWidth_ - kImageLeft - kRightMargin));
    engine_->GetColorMap().SetType(colorMapType);
    MakeColorScale();
    valueWindow_->CreateValueWindow(window_.get());
    surface_->Initialize(std::max(1, client.cx - toolbarWidth_), std::max(1, client.cy));
  } catch (CQError* e) {
    e->AddToCallStack("CWPlotSpgmWndw::OnCreate");
    throw;
  }
}

void CWPlotSpgmWndw::MakeColorScale() {
  colorScale_ = engine_->GetColorMap().MakeColorScale(nullptr, colorScaleRect.Width(), colorScaleRect.Height());
}

void CWPlotSpgmWndw::Layout(int32_t height, int32_t width) {
  if (height <= 0 || width <= 0) return;
  imageRect.right = imageRect.left + width;
  imageRect.bottom = imageRect.top + height;
  engine_->SetNumPoints(height, width);
  freqAxisBox = lv::Rect{imageRect.left - 50, imageRect.bottom, imageRect.right + 50, imageRect.bottom + 40};
  timeAxisBox = lv::Rect{imageRect.left - 61, imageRect.top, imageRect.left - 1, imageRect.bottom};
  Invalidate();
}

void CWPlotSpgmWndw::Invalidate() {
  if (window_) window_->Invalidate();
}

void CWPlotSpgmWndw::SetBoundingRect(const lv::Rect& bounds) {
  if (window_) window_->SetBoundingRect(bounds);
}

// ---- Data and computation -----------------------------------------------------

void CWPlotSpgmWndw::SetInputData(const CQCArrayTD* data) {
  try {
    if (data == nullptr) throw new CQError(3);
    if (input_ == nullptr) {
      input_ = new (std::nothrow) CQCArrayTD();
      if (input_ == nullptr) throw new CQError(1);
    }
    input_->Set(data);
    // Time on this window counts from the first sample: the origin moves
    // into the start time of the recording.
    CQDateTime& stamp = input_->StartDateTime();
    stamp.second += input_->GetTimeOrigin();
    if (stamp.day != 0 || stamp.month != 0 || stamp.year != 0) {
      const int days = NormalizeTimeOfDay(stamp);
      stamp.day += days;
      stamp.Normalize();
    }
    input_->SetTimeOrigin(0.0);
  } catch (CQError* e) {
    e->AddToCallStack("CWPlotSpgmWndw::SetInputData");
    throw;
  }
}

void CWPlotSpgmWndw::CalcInputDataPoints(double sampleRate, double rbwHz, double range, int32_t shape,
                                         int32_t rows, int32_t* halfLength, int32_t* numPoints) {
  try {
    *halfLength = 0;
    *numPoints = 0;
    const int32_t length = CalcWindowLengthForRBW(sampleRate, rbwHz, shape);
    if (length < 2) return;
    const int32_t h = length / 2;
    int64_t step = 1;
    if (rows > 1) {
      const int64_t m = RoundToInt64(sampleRate * range / (rows - 1));
      step = range > (rows - 1) * static_cast<double>(m) / sampleRate ? m + 1 : m;
    }
    const int64_t n = static_cast<int64_t>(rows - 1) * step + 2 * static_cast<int64_t>(h) + 1;
    // More samples than an array holds cannot be analysed.
    if (n > INT32_MAX) throw new CQError("Time range too long for the number of rows.");
    *halfLength = h;
    *numPoints = static_cast<int32_t>(n);
  } catch (CQError* e) {
    e->AddToCallStack("CWPlotSpgmWndw::CalcInputDataPoints");
    throw;
  }
}

// The n samples of the held waveform from sample first on, zeros where that
// reaches outside it, with the time origin of its first sample (what
// CQCArrayTD::MakeCopyOfSubset gives). The block is kept between
// computations, so a new waveform of the same size costs one copy and no
// fresh pages.
void CWPlotSpgmWndw::FillSubset(int32_t first, int32_t n) {
  if (subset_ == nullptr) {
    subset_ = new (std::nothrow) CQCArrayTD();
    if (subset_ == nullptr) throw new CQError(1);
  }
  if (subset_->GetNumPoints() != n) subset_->SetSize(n);
  CQComplex* out = subset_->GetDataPtr();
  const int64_t points = input_->GetNumPoints();
  const int64_t begin = std::clamp<int64_t>(first, 0, points);
  const int64_t end = std::clamp<int64_t>(static_cast<int64_t>(first) + n, 0, points);
  const int64_t lead = std::clamp<int64_t>(begin - first, 0, n);
  const int64_t copied = std::max<int64_t>(end - begin, 0);
  const int64_t tail = n - lead - copied;
  if (lead > 0) CQArrayMath::ZeroFill(out, static_cast<int>(lead));
  if (copied > 0) CQArrayMath::CopyArray(input_->GetDataPtr() + begin, out + lead, static_cast<int>(copied));
  if (tail > 0) CQArrayMath::ZeroFill(out + lead + copied, static_cast<int>(tail));
  const double r = input_->GetSampleRate();
  subset_->SetSampleRate(r);
  subset_->SetTimeOrigin(static_cast<double>(first) / r + input_->GetTimeOrigin());
  subset_->SetCenterFreq(input_->GetCenterFreq());
  subset_->SetBandwidth(input_->GetBandwidth());
  subset_->SetValid(input_->IsValid());
}

void CWPlotSpgmWndw::Compute() {
  try {
    const lv::Size client = window_ ? window_->ClientSize() : lv::Size{imageRect.right + kRightMargin,
                                                                         imageRect.bottom + kBottomMargin};
    const int32_t rows = std::max(kMinImageSize, client.cy - imageRect.top - kBottomMargin);
    const int32_t columns = std::max(kMinImageSize, client.cx - imageRect.left - toolbarWidth_ - kRightMargin);
    if (rows != engine_->rows || columns != engine_->columns) Layout(rows, columns);

    if (input_ == nullptr || input_->GetNumPoints() <= 0 || input_->GetDataPtr() == nullptr) return;
    const int32_t points = input_->GetNumPoints();
    const double r = input_->GetSampleRate();
    if (!(r > 0.0)) throw new CQError("Invalid input sample rate.");

    if (maxPower <= minPower + 1.0f) {
      minPower = -100.0f;
      maxPower = 0.0f;
    }

    double f0;
    double f1;
    const double b = input_->GetBandwidth();
    if (autoFreqRange) {
      if (input_->IsValid()) {
        f0 = b > 0.0 ? -b / 2.0 : -r / 2.0;
        f1 = b > 0.0 ? b / 2.0 : r / 2.0;
      } else {
        f0 = 0.0;
        f1 = b > 0.0 ? b : r / 2.0;
      }
    } else {
      if (!(startFreq < stopFreq)) {
        startFreq = -r / 2.0;
        stopFreq = r / 2.0;
      }
      f0 = startFreq;
      f1 = stopFreq;
    }

    double bandwidth;
    if (autoRBW) {
      bandwidth = r / 400.0;
    } else {
      if (!(rbw > r / points)) rbw = r / 400.0;
      bandwidth = rbw;
    }

    const double whole = points / r;
    double range;
    if (autoTimeRange) {
      range = whole;
    } else {
      if (!(timeRange >= rows / r) || timeRange > whole) timeRange = whole;
      range = timeRange;
    }

    // A shape the analysis has no window for (an old settings file) takes
    // the default Gaussian.
    if (!IsKnownShape(windowShape)) windowShape = CQAltTDSpgm::kDefaultWindowShape;

    int32_t h = 0;
    int32_t n = 0;
    CalcInputDataPoints(r, bandwidth, range, windowShape, rows, &h, &n);
    if (n == 0) throw new CQError("RBW too large. Please select a smaller value.");

    const int64_t first = RoundToInt64((timeStart - input_->GetTimeOrigin()) * r) - h;
    if (first < INT32_MIN || first > INT32_MAX) throw new CQError("Invalid time start.");
    FillSubset(static_cast<int32_t>(first), n);
    engine_->SetInputData(subset_);
    engine_->oneSampleStep = false;
    engine_->timeRange = range;
    engine_->autoFreqRange = false;
    engine_->startFreq = f0;
    engine_->stopFreq = f1;
    engine_->autoRBW = false;
    engine_->rbw = bandwidth;
    engine_->windowShape = windowShape;
    engine_->minPower = minPower;
    engine_->maxPower = maxPower;
    engine_->ComputeSpgm();

    effectiveRBW = engine_->rbw;
    if (autoRBW) rbw = effectiveRBW;
    timeRange = engine_->timeRange;
    startFreq = engine_->startFreq;
    stopFreq = engine_->stopFreq;
  } catch (CQError* e) {
    e->AddToCallStack("CWPlotSpgmWndw::Compute");
    throw;
  }
}

void CWPlotSpgmWndw::ComputeAndDraw() {
  Compute();
  engine_->DrawSpgm();
  Invalidate();
}

void CWPlotSpgmWndw::ClearImage() {
  engine_->GetBitmap().ResetContent();
  Invalidate();
}

// ---- Settings -----------------------------------------------------------------

CWPlotSpgmSettings CWPlotSpgmWndw::GetSettings() const {
  CWPlotSpgmSettings s;
  s.autoTimeRange = autoTimeRange;
  s.timeRange = timeRange;
  s.autoFreqRange = autoFreqRange;
  s.startFreq = startFreq;
  s.stopFreq = stopFreq;
  s.autoRBW = autoRBW;
  s.rbw = rbw;
  s.windowShape = windowShape;
  s.minPower = minPower;
  s.maxPower = maxPower;
  s.colorMapType = colorMapType;
  return s;
}

void CWPlotSpgmWndw::DoSettingsDialog() {
  CWPlotSpgmSettings result;
  if (!RunSettingsDialog(GetSettings(), result)) return;
  ApplySettings(result);
}

bool CWPlotSpgmWndw::RunSettingsDialog(const CWPlotSpgmSettings& current, CWPlotSpgmSettings& result) {
  CWPlotSpgmDlg dlg;
  dlg.autoTimeRange = current.autoTimeRange;
  dlg.timeRange = current.timeRange;
  dlg.autoFreqRange = current.autoFreqRange;
  dlg.startFreq = current.startFreq;
  dlg.stopFreq = current.stopFreq;
  dlg.autoRBW = current.autoRBW;
  dlg.rbw = current.rbw;
  dlg.windowShape = current.windowShape;
  dlg.minPower = current.minPower;
  dlg.maxPower = current.maxPower;
  dlg.colorMapType = current.colorMapType;
  // Only Accept applies: Cancel, Escape and the close box answer 0.
  if (dlg.DoModal() != 1) return false;
  result.autoTimeRange = dlg.autoTimeRange;
  result.timeRange = dlg.timeRange;
  result.autoFreqRange = dlg.autoFreqRange;
  result.startFreq = dlg.startFreq;
  result.stopFreq = dlg.stopFreq;
  result.autoRBW = dlg.autoRBW;
  result.rbw = dlg.rbw;
  result.windowShape = dlg.windowShape;
  result.minPower = dlg.minPower;
  result.maxPower = dlg.maxPower;
  result.colorMapType = dlg.colorMapType;
  return true;
}

void CWPlotSpgmWndw::ApplySettings(const CWPlotSpgmSettings& s) {
  try {
    bool changed = StoreIfChanged(autoTimeRange, s.autoTimeRange);
    if (!autoTimeRange) changed |= StoreIfApart(timeRange, s.timeRange, 1e-9);
    changed |= StoreIfChanged(autoFreqRange, s.autoFreqRange);
    if (!autoFreqRange) {
      changed |= StoreIfApart(startFreq, s.startFreq, 1.0);
      changed |= StoreIfApart(stopFreq, s.stopFreq, 1.0);
    }
    changed |= StoreIfChanged(autoRBW, s.autoRBW);
    if (!autoRBW) changed |= StoreIfApart(rbw, s.rbw, 1.0);
    changed |= StoreIfChanged(windowShape, s.windowShape);
    changed |= StoreIfApart(minPower, s.minPower, 0.01f);
    changed |= StoreIfApart(maxPower, s.maxPower, 0.01f);
    if (s.colorMapType != colorMapType) {
      engine_->GetColorMap().SetType(s.colorMapType);
      colorMapType = s.colorMapType;
      MakeColorScale();
      ComputeAndDraw();
    } else if (changed) {
      ComputeAndDraw();
    }
  } catch (CQError* e) {
    ShowWith(e, "CWPlotSpgmWndw::DoSettingsDialog");
  }
}

// ---- Messages -------------------------------------------------------------------

void CWPlotSpgmWndw::HandleMessage(const lv::WindowMessage& m) {
  switch (m.kind) {
    case lv::WindowMessageKind::kSize:
      OnSize(m.a, m.b);
      break;
    case lv::WindowMessageKind::kPaint:
      OnPaint();
      break;
    case lv::WindowMessageKind::kClose:
      window_->Show(false);  // closing only hides
      break;
    case lv::WindowMessageKind::kCommand:
      OnCommand(static_cast<uint32_t>(m.a));
      break;
    case lv::WindowMessageKind::kMouseDown:
      if (m.a == 1) OnLButtonDown(m.x, m.y);
      if (m.a == 2) OnRButtonDown(m.x, m.y);
      break;
    case lv::WindowMessageKind::kMouseUp:
      if (m.a == 1) OnLButtonUp(m.x, m.y);
      break;
    case lv::WindowMessageKind::kMouseMove:
      OnMouseMove(m.x, m.y);
      break;
    default:
      break;
  }
}

void CWPlotSpgmWndw::OnSize(int32_t cx, int32_t cy) {
  try {
    if (cx <= 0 || cy <= 0) return;
    toolbarWidth_ = toolbarShown ? kToolbarWidth : 0;
    const int32_t width = std::max(1, cx - toolbarWidth_);
    if (surface_->GetWidth() == width && surface_->GetHeight() == cy) return;
    surface_->SetSize(width, cy);
    Compute();
    engine_->DrawSpgm();
    Invalidate();
  } catch (CQError* e) {
    ShowWith(e, "CWPlotSpgmWndw::OnSize");
  }
}

void CWPlotSpgmWndw::ShowToolbar(bool shown) {
  if (shown == toolbarShown) return;
  toolbarShown = shown;
  const lv::Size client = window_ ? window_->ClientSize() : lv::Size{};
  OnSize(client.cx, client.cy);
  Invalidate();
}

std::vector<lv::MenuItem> CWPlotSpgmWndw::PopupMenuItems() const {
  auto checkable = [](uint32_t id, const wchar_t* text, bool checked) {
    lv::MenuItem m = lv::MenuItem::Command(id, text);
    m.checkable = true;
    m.checked = checked;
    return m;
  };
  return {
      lv::MenuItem::Command(kCmdCopyImage, L"Copy Image"),
      lv::MenuItem::Command(kCmdSaveImage, L"Save Image..."),
      lv::MenuItem::Command(kCmdPrintImage, L"Print Image..."),
      lv::MenuItem::Separator(),
      lv::MenuItem::Command(kCmdSettings, L"Settings..."),
      checkable(kCmdGridOn, L"Grid On", gridOn),
      lv::MenuItem::Separator(),
      checkable(kCmdScreenScheme, L"Screen Color Scheme", screenScheme),
      checkable(kCmdPaperScheme, L"Paper Color Scheme", !screenScheme),
      lv::MenuItem::Command(kCmdShowHideToolbar, L"Show/Hide Toolbar"),
  };
}

void CWPlotSpgmWndw::SetScheme(bool screen) {
  screenScheme = screen;
  textColor = screen ? 10 : 0;
  gridColor = 2;
  backgroundColor = screen ? 0 : 1;
}

void CWPlotSpgmWndw::SetMouseMode(int32_t mode) {
  mouseMode = mode;
  Invalidate();
}

void CWPlotSpgmWndw::OnCommand(uint32_t id) {
  switch (id) {
    case kCmdCopyImage:
      CopyImage();
      break;
    case kCmdSaveImage:
      SaveImage();
      break;
    case kCmdPrintImage:
      PrintImage();
      break;
    case kCmdSettings:
      DoSettingsDialog();
      break;
    case kCmdGridOn:
      gridOn = !gridOn;
      Invalidate();
      break;
    case kCmdScreenScheme:
      SetScheme(true);
      Invalidate();
      break;
    case kCmdPaperScheme:
      SetScheme(false);
      Invalidate();
      break;
    case kCmdShowHideToolbar:
      ShowToolbar(!toolbarShown);
      break;
    case kCmdValueTool:
      SetMouseMode(kModeValue);
      break;
    case kCmdTimeZoomTool:
      SetMouseMode(kModeTimeZoom);
      break;
    case kCmdFreqZoomTool:
      SetMouseMode(kModeFreqZoom);
      break;
    case kCmdBothZoomTool:
      SetMouseMode(kModeBothZoom);
      break;
    case kCmdAutoLimits:
      try {
        autoTimeRange = true;
        autoFreqRange = true;
        timeStart = 0.0;
        ComputeAndDraw();
      } catch (CQError* e) {
        ShowWith(e, "CWPlotSpgmWndw::DoToolbarAutoLimits");
      }
      break;
    default:
      break;
  }
}

// ---- Mouse ------------------------------------------------------------------------

bool CWPlotSpgmWndw::InImage(int32_t x, int32_t y) const {
  return x >= imageRect.left && x < imageRect.right && y >= imageRect.top && y < imageRect.bottom;
}

bool CWPlotSpgmWndw::PixelToValues(int32_t x, int32_t y, double* time, double* freq) {
  if (!InImage(x, y) || !engine_->computed) return false;
  const CQAltTDSpgm& a = engine_->GetSpectrogram();
  const int32_t rows = a.GetNumRows();
  const int32_t columns = a.GetNumColumns();
  if (rows <= 0 || columns <= 0) return false;
  const double t0 = a.GetStartTime();
  const double t1 = a.GetStopTime();
  const double f0 = a.GetStartFreq();
  const double f1 = a.GetStopFreq();
  *time = rows > 1 ? (imageRect.bottom - y - 1) * (t1 - t0) / (rows - 1) + t0 : t0;
  *freq = columns > 1 ? (f1 - f0) * (x - imageRect.left) / (columns - 1) + f0 : f0;
  return true;
}

void CWPlotSpgmWndw::OnLButtonDown(int32_t wx, int32_t wy) {
  try {
    const int32_t x = wx - toolbarWidth_;
    const int32_t y = wy;
    if (wx < toolbarWidth_) {
      // A click on the toolbar strip presses the button under it.
      for (size_t i = 0; i < std::size(kToolbarIds); ++i) {
        const lv::Rect r = ToolbarButtonRect(i);
        if (!r.IsEmpty() && wx >= r.left && wx < r.right && wy >= r.top && wy < r.bottom) {
          OnCommand(kToolbarIds[i]);
          return;
        }
      }
      return;
    }
    double time = 0.0;
    double freq = 0.0;
    if (!PixelToValues(x, y, &time, &freq)) return;
    if (mouseMode == kModeValue) {
      valueWindow_->xValue = freq + engine_->centerFreq;
      valueWindow_->xAxisType = 2;
      valueWindow_->yValue = time;
      valueWindow_->yAxisType = 0;
      valueWindow_->ShowNear(wx, wy);
      Invalidate();
      return;
    }
    if (mouseMode < kModeTimeZoom || mouseMode > kModeBothZoom) return;
    dragTime_ = mouseMode == kModeTimeZoom;
    dragFreq_ = mouseMode == kModeFreqZoom;
    dragBoth_ = mouseMode == kModeBothZoom;
    dragStart_ = lv::Point{x, y};
    dragRect_ = lv::Rect{x, y, x, y};
    if (window_) window_->SetCapture();
    Invalidate();
  } catch (CQError* e) {
    ShowWith(e, "CWPlotSpgmWndw::OnLButtonDown");
  }
}

void CWPlotSpgmWndw::OnMouseMove(int32_t wx, int32_t wy) {
  const int32_t x = wx - toolbarWidth_;
  const int32_t y = wy;
  lastMouse_ = lv::Point{x, y};
  UpdateCursor(x, y);
  if (!Dragging() || !InImage(x, y)) return;
  lv::Rect r = dragRect_;
  const lv::Point s = dragStart_;
  if (x != s.x) DragExtent(s.x, x, dragFreq_ || dragBoth_, r.left, r.right);
  if (y != s.y) DragExtent(s.y, y, dragTime_ || dragBoth_, r.top, r.bottom);
  if (!(r == dragRect_)) {
    dragRect_ = r;
    Invalidate();
  }
}

void CWPlotSpgmWndw::OnLButtonUp(int32_t wx, int32_t wy) {
  try {
    if (mouseMode == kModeValue) {
      if (valueWindow_->IsVisible()) {
        valueWindow_->Hide();
        Invalidate();
      }
      return;
    }
    if (!Dragging()) return;
    const int32_t x = wx - toolbarWidth_;
    const int32_t y = wy;
    const bool zoomTime = dragTime_ || dragBoth_;
    const bool zoomFreq = dragFreq_ || dragBoth_;
    dragTime_ = dragFreq_ = dragBoth_ = false;
    dragRect_ = lv::Rect{};
    if (window_ && window_->HasCapture()) window_->ReleaseCapture();
    Invalidate();

    CQAltTDSpgm& a = engine_->GetSpectrogram();
    const int32_t rows = a.GetNumRows();
    const int32_t columns = a.GetNumColumns();
    if (rows <= 0 || columns <= 0) return;
    const double t0 = a.GetStartTime();
    const double t1 = a.GetStopTime();
    const double f0 = a.GetStartFreq();
    const double f1 = a.GetStopFreq();
    // The release may lie outside the image (the mouse is captured): the
    // pixel formula extends past it and the clamp below brings it back.
    auto toValues = [&](lv::Point p, double* time, double* freq) {
      const double t = rows > 1 ? (imageRect.bottom - p.y - 1) * (t1 - t0) / (rows - 1) + t0 : t0;
      const double f = columns > 1 ? (f1 - f0) * (p.x - imageRect.left) / (columns - 1) + f0 : f0;
      a.GetValue(t, f, time, freq, true);
    };
    double ta = 0.0, fa = 0.0, tb = 0.0, fb = 0.0;
    toValues(dragStart_, &ta, &fa);
    toValues(lv::Point{x, y}, &tb, &fb);
    double tLow = std::clamp(std::min(ta, tb), std::min(t0, t1), std::max(t0, t1));
    double tHigh = std::clamp(std::max(ta, tb), std::min(t0, t1), std::max(t0, t1));
    double fLow = std::clamp(std::min(fa, fb), std::min(f0, f1), std::max(f0, f1));
    double fHigh = std::clamp(std::max(fa, fb), std::min(f0, f1), std::max(f0, f1));
    if (zoomTime) {
      autoTimeRange = false;
      timeStart = tLow;
      timeRange = tHigh - tLow;
    }
    if (zoomFreq) {
      autoFreqRange = false;
      startFreq = fLow;
      stopFreq = fHigh;
    }
    ComputeAndDraw();
  } catch (CQError* e) {
    ShowWith(e, "CWPlotSpgmWndw::OnLButtonUp");
  }
}

void CWPlotSpgmWndw::OnRButtonDown(int32_t wx, int32_t wy) {
  if (window_) window_->TrackPopupMenu(PopupMenuItems(), lv::Point{wx, wy});
}

void CWPlotSpgmWndw::UpdateCursor(int32_t x, int32_t y) {
  lv::CursorKind want;
  if (InImage(x, y)) {
    switch (mouseMode) {
      case kModeValue:
        want = lv::CursorKind::kCross;
        break;
      case kModeTimeZoom:
        want = lv::CursorKind::kSizeVertical;
        break;
      case kModeFreqZoom:
        want = lv::CursorKind::kSizeHorizontal;
        break;
      case kModeBothZoom:
        want = lv::CursorKind::kSizeAll;
        break;
      default:
        return;
    }
  } else {
    if (valueWindow_->IsVisible() && !Dragging()) {
      valueWindow_->Hide();
      Invalidate();
    }
    want = lv::CursorKind::kArrow;
  }
  if (window_ && window_->Cursor() != want) window_->SetCursor(want);
}

// ---- Drawing ------------------------------------------------------------------------

void CWPlotSpgmWndw::OnPaint() {
  if (!window_) return;
  try {
    const lv::Size client = window_->ClientSize();
    if (client.cx <= 0 || client.cy <= 0) return;
    surface_->FillWithColor(backgroundColor);
    DrawPicture(surface_->GetDC());

    lv::Bitmap frame = std::move(lastFrame_);
    if (frame.Width() != client.cx || frame.Height() != client.cy) frame = lv::Bitmap(client.cx, client.cy);
    lv::ImageDc dc(std::move(frame));
    dc.Clear(lv::kWindowColor);
    if (toolbarWidth_ > 0) DrawToolbar(dc);
    dc.BitBlt(lv::Rect{toolbarWidth_, 0, toolbarWidth_ + surface_->GetWidth(), surface_->GetHeight()},
              surface_->GetBitmap(), lv::Point{0, 0});
    if (Dragging() && !dragRect_.IsEmpty()) {
      // The rubber band, drawn where the mouse is (the surface starts right of the toolbar).
      lv::Rect r = dragRect_;
      r.left += toolbarWidth_;
      r.right += toolbarWidth_;
      const lv::Color c = lv::MakeRgb(255, 255, 255);
      dc.FillSolidRect(lv::Rect{r.left, r.top, r.right, r.top + 1}, c);
      dc.FillSolidRect(lv::Rect{r.left, r.bottom - 1, r.right, r.bottom}, c);
      dc.FillSolidRect(lv::Rect{r.left, r.top, r.left + 1, r.bottom}, c);
      dc.FillSolidRect(lv::Rect{r.right - 1, r.top, r.right, r.bottom}, c);
    }
    if (valueWindow_->IsVisible()) valueWindow_->OnPaint(dc);
    lastFrame_ = dc.SelectBitmap(lv::Bitmap());
    lv::Bitmap handed = lastFrame_;
    window_->PresentFrame(handed);
  } catch (CQError* e) {
    ShowWith(e, "CWPlotSpgmWndw::OnPaint");
  }
}

void CWPlotSpgmWndw::DrawToolbar(lv::DeviceContext& dc) {
  const lv::Color face = lv::MakeRgb(240, 240, 240);
  const lv::Color ink = lv::MakeRgb(40, 40, 40);
  dc.FillSolidRect(lv::Rect{0, 0, toolbarWidth_, window_ ? window_->ClientSize().cy : 0}, face);
  for (size_t i = 0; i < std::size(kToolbarIds); ++i) {
    const uint32_t id = kToolbarIds[i];
    if (id == 0) continue;
    const lv::Rect r = ToolbarButtonRect(i);
    const bool pressed = (id == kCmdValueTool && mouseMode == kModeValue) ||
                         (id == kCmdTimeZoomTool && mouseMode == kModeTimeZoom) ||
                         (id == kCmdFreqZoomTool && mouseMode == kModeFreqZoom) ||
                         (id == kCmdBothZoomTool && mouseMode == kModeBothZoom);
    if (pressed) {
      dc.FillSolidRect(r, lv::MakeRgb(204, 228, 247));
      dc.SelectPen(lv::Pen::Solid(lv::MakeRgb(0, 120, 215)));
      dc.SelectBrush(lv::Brush::Null());
      dc.Rectangle(r);
    }
    dc.SelectPen(lv::Pen::Solid(ink));
    const int32_t cx = (r.left + r.right) / 2;
    const int32_t cy = (r.top + r.bottom) / 2;
    auto line = [&](int32_t x0, int32_t y0, int32_t x1, int32_t y1) {
      dc.MoveTo(lv::Point{x0, y0});
      dc.LineTo(lv::Point{x1, y1});
    };
    auto arrowsV = [&] {
      line(cx, r.top + 4, cx, r.bottom - 4);
      line(cx - 4, r.top + 8, cx, r.top + 4);
      line(cx + 4, r.top + 8, cx, r.top + 4);
      line(cx - 4, r.bottom - 8, cx, r.bottom - 4);
      line(cx + 4, r.bottom - 8, cx, r.bottom - 4);
    };
    auto arrowsH = [&] {
      line(r.left + 4, cy, r.right - 4, cy);
      line(r.left + 8, cy - 4, r.left + 4, cy);
      line(r.left + 8, cy + 4, r.left + 4, cy);
      line(r.right - 8, cy - 4, r.right - 4, cy);
      line(r.right - 8, cy + 4, r.right - 4, cy);
    };
    switch (id) {
      case kCmdValueTool:
        line(cx, r.top + 3, cx, r.bottom - 3);
        line(r.left + 3, cy, r.right - 3, cy);
        dc.SelectBrush(lv::Brush::Null());
        dc.Rectangle(lv::Rect{cx - 4, cy - 4, cx + 5, cy + 5});
        break;
      case kCmdTimeZoomTool:
        arrowsV();
        break;
      case kCmdFreqZoomTool:
        arrowsH();
        break;
      case kCmdBothZoomTool:
        arrowsV();
        arrowsH();
        break;
      case kCmdAutoLimits:
        dc.SelectBrush(lv::Brush::Null());
        dc.Rectangle(lv::Rect{r.left + 4, r.top + 4, r.right - 4, r.bottom - 4});
        dc.SelectFont(lv::Font{lv::FontFace::kSans, 13, 0, true});
        dc.SetTextColor(ink);
        dc.SetBkMode(lv::BkMode::kTransparent);
        dc.SetTextAlign(lv::TextAlign{lv::HAlign::kCenter, lv::VAlign::kTop});
        dc.TextOut(cx, r.top + 5, L"A");
        break;
      default:
        break;
    }
  }
}

void CWPlotSpgmWndw::DrawPicture(lv::DeviceContext& dc) {
  if (!engine_->drawn) return;
  DrawColorScale(dc);
  const CWBitmap& bitmap = engine_->GetBitmap();
  if (bitmap.GetPixels() != nullptr) {
    dc.StretchDib(imageRect, lv::Rect{0, 0, bitmap.GetWidth(), bitmap.GetHeight()}, bitmap.GetPixels(),
                  bitmap.GetHeader(), nullptr);
  }
  try {
    DrawFreqAxis(dc);
  } catch (CQError* e) {
    delete e;  // an axis that cannot be labelled is left out
  }
  try {
    DrawTimeAxis(dc);
  } catch (CQError* e) {
    delete e;
  }
  DrawNotations(dc);
}

void CWPlotSpgmWndw::DrawColorScale(lv::DeviceContext& dc) {
  const lv::Color text = CWColors::GetRGBColor(textColor);
  if (!colorScale_.IsNull()) {
    dc.BitBlt(colorScaleRect, colorScale_, lv::Point{0, 0});
    const lv::Rect f{colorScaleRect.left, colorScaleRect.top - 1, colorScaleRect.right, colorScaleRect.bottom + 1};
    dc.FillSolidRect(lv::Rect{f.left, f.top, f.right, f.top + 1}, kWindowFrame);
    dc.FillSolidRect(lv::Rect{f.left, f.bottom - 1, f.right, f.bottom}, kWindowFrame);
    dc.FillSolidRect(lv::Rect{f.left, f.top, f.left + 1, f.bottom}, kWindowFrame);
    dc.FillSolidRect(lv::Rect{f.right - 1, f.top, f.right, f.bottom}, kWindowFrame);
  }
  dc.SelectFont(lv::NormalFont());
  dc.SetTextAlign(lv::TextAlign{lv::HAlign::kRight, lv::VAlign::kBaseline});
  dc.SetBkMode(lv::BkMode::kTransparent);
  dc.SetTextColor(text);
  const int32_t ascent = dc.GetTextMetrics().ascent;
  int32_t d = 1;
  try {
    d = CQAxisScale::CountDecimals(minPower, maxPower, 6);
  } catch (CQError* e) {
    delete e;
  }
  for (int k = 0; k <= 5; ++k) {
    const float value = minPower + static_cast<float>(k) * (maxPower - minPower) / 5.0f;
    const int32_t y = colorScaleRect.bottom - k * (colorScaleRect.bottom - colorScaleRect.top) / 5 + ascent / 2;
    dc.TextOut(colorScaleRect.left - 4, y, Printf(L"%.*f", d, value));
  }
  dc.SelectFont(lv::VerticalFont());
  dc.SetTextAlign(lv::TextAlign{lv::HAlign::kCenter, lv::VAlign::kTop});
  dc.TextOut(colorScaleBox.left + 1, (colorScaleRect.top + colorScaleRect.bottom) / 2, L"Magnitude (dBm)");
}

void CWPlotSpgmWndw::DrawFreqAxis(lv::DeviceContext& dc) {
  dc.SelectFont(lv::NormalFont());
  dc.SelectPen(lv::Pen::Solid(kAxisGrey));
  dc.SetTextColor(CWColors::GetRGBColor(textColor));
  dc.SetBkMode(lv::BkMode::kTransparent);
  dc.SetTextAlign(lv::TextAlign{lv::HAlign::kCenter, lv::VAlign::kTop});
  const double f0 = engine_->centerFreq + engine_->startFreq;
  const double f1 = engine_->centerFreq + engine_->stopFreq;
  std::wstring title;
  double divisor = 1.0;
  CQAxisScale::MakeAxisLabel(2, f0, f1, title, divisor);
  const lv::TextMetrics tm = dc.GetTextMetrics();
  dc.TextOut((freqAxisBox.left + freqAxisBox.right) / 2, freqAxisBox.bottom - (tm.height + tm.descent), title);
  if (std::fabs(f0) > 1e12 || std::fabs(f1) > 1e12) return;
  const int32_t w = imageRect.Width();
  const int s = w <= 100 ? 10 : w <= 300 ? 5 : w <= 500 ? 2 : 1;
  const int d = CQAxisScale::CountDecimals(f0 / divisor, f1 / divisor, 10 / s + 1);
  for (int k = 0; k <= 10; k += s) {
    const int32_t x = imageRect.left + RoundToInt(k * static_cast<double>(w) / 10.0);
    if (gridOn) {
      dc.MoveTo(lv::Point{x, imageRect.bottom});
      dc.LineTo(lv::Point{x, imageRect.top});
    }
    dc.TextOut(x, imageRect.bottom + 5, Printf(L"%.*lf", d, (f0 + k * (f1 - f0) / 10.0) / divisor));
  }
}

void CWPlotSpgmWndw::DrawTimeAxis(lv::DeviceContext& dc) {
  dc.SelectFont(lv::VerticalFont());
  dc.SelectPen(lv::Pen::Solid(kAxisGrey));
  dc.SetTextColor(CWColors::GetRGBColor(textColor));
  dc.SetBkMode(lv::BkMode::kTransparent);
  dc.SetTextAlign(lv::TextAlign{lv::HAlign::kCenter, lv::VAlign::kTop});
  const double t0 = engine_->startTime;
  const double t1 = engine_->stopTime;
  std::wstring title;
  double divisor = 1.0;
  CQAxisScale::MakeAxisLabel(0, t0, t1, title, divisor);
  dc.TextOut(timeAxisBox.left, (timeAxisBox.top + timeAxisBox.bottom) / 2, title);
  dc.SelectFont(lv::NormalFont());
  const int d = std::clamp(RoundToInt(std::log10(divisor / 1e-6)) + 2, 1, 3);
  const int32_t h = imageRect.Height();
  const int s = h <= 80 ? 10 : h <= 130 ? 5 : h <= 230 ? 2 : 1;
  dc.SetTextAlign(lv::TextAlign{lv::HAlign::kRight, lv::VAlign::kBaseline});
  const int32_t ascent = dc.GetTextMetrics().ascent;
  for (int k = 0; k <= 10; k += s) {
    const int32_t y = imageRect.top + RoundToInt(static_cast<float>(10 * h - k * h) / 10.0f);
    if (gridOn) {
      dc.MoveTo(lv::Point{imageRect.left, y});
      dc.LineTo(lv::Point{imageRect.right, y});
    }
    dc.TextOut(timeAxisBox.right - 3, y + ascent / 2, Printf(L"%.*lf", d, (t0 + k * (t1 - t0) / 10.0) / divisor));
  }
}

void CWPlotSpgmWndw::DrawNotations(lv::DeviceContext& dc) {
  dc.SelectFont(lv::NormalFont());
  dc.SetTextAlign(lv::TextAlign{lv::HAlign::kLeft, lv::VAlign::kTop});
  dc.SetTextColor(CWColors::GetRGBColor(textColor));
  dc.SetBkMode(lv::BkMode::kTransparent);
  const int32_t height = dc.GetTextMetrics().height;
  wchar_t text[kFrequencyTextSize];
  dc.TextOut(rbwBox.left, rbwBox.top, L"RBW");
  FormatFrequencyWithUnits(effectiveRBW, text);
  dc.TextOut(rbwBox.left, rbwBox.top + height, text);
  dc.TextOut(spanBox.left, spanBox.top, L"Span");
  FormatFrequencyWithUnits(engine_->stopFreq - engine_->startFreq, text);
  dc.TextOut(spanBox.left, spanBox.top + height, text);
}

// ---- Copy, save and print ---------------------------------------------------------------

lv::Size CWPlotSpgmWndw::PictureSize() const {
  return lv::Size{std::max(1, freqAxisBox.right), std::max(freqAxisBox.bottom, rbwBox.bottom) + 1};
}

lv::Bitmap CWPlotSpgmWndw::RenderPicture() {
  const lv::Size size = PictureSize();
  lv::ImageDc dc(size.cx, size.cy, CWColors::GetRGBColor(backgroundColor));
  DrawPicture(dc);
  return dc.SelectBitmap(lv::Bitmap());
}

void CWPlotSpgmWndw::CopyImage() {
  try {
    // The client rectangle less the toolbar, as a vector picture and a bitmap.
    const lv::Size client = window_ ? window_->ClientSize() : PictureSize();
    const lv::Size size{std::max(1, client.cx - toolbarWidth_), std::max(1, client.cy)};
    lv::SvgDc svg(size);
    svg.FillSolidRect(lv::Rect{0, 0, size.cx, size.cy}, CWColors::GetRGBColor(backgroundColor));
    DrawPicture(svg);
    lv::ImageDc image(size.cx, size.cy, CWColors::GetRGBColor(backgroundColor));
    DrawPicture(image);
    lv::CopyPictureToClipboard(svg.Document(), image.GetBitmap());
  } catch (CQError* e) {
    ShowWith(e, "CWPlotSpgmWndw::CopyImage");
  }
}

void CWPlotSpgmWndw::SaveImage() {
  try {
    lv::FileDialogOptions options;
    options.title = L"Save Image";
    // JPEG, the preselected type, comes first.
    options.filters = {{L"JPEG Files (*.jpg)", L"*.jpg"},
                       {L"Bitmap Files (*.bmp)", L"*.bmp"},
                       {L"GIF Files (*.gif)", L"*.gif"},
                       {L"PNG Files (*.png)", L"*.png"}};
    options.defaultExtension = L"jpg";
    options.initialPath = L"Spectrogram.jpg";
    const std::wstring name = AskImageFileName(options, {L".jpg", L".jpeg", L".bmp", L".gif", L".png"});
    if (name.empty()) return;
    const lv::Bitmap picture = RenderPicture();
    if (!lv::SaveImageFile(picture, lv::WideToUtf8(name))) throw new CQError(4);
  } catch (CQError* e) {
    ShowWith(e, "CWPlotSpgmWndw::SaveImage");
  }
}

void CWPlotSpgmWndw::PrintImage() {
  const bool screen = screenScheme;
  try {
    lv::PrintJob job;
    if (!job.ShowPrintDialog(L"Spectrogram")) return;
    SetScheme(false);
    const lv::Bitmap picture = RenderPicture();
    SetScheme(screen);
    if (!job.PrintBitmap(picture)) throw new CQError("The printer could not start the document.");
  } catch (CQError* e) {
    SetScheme(screen);
    ShowWith(e, "CWPlotSpgmWndw::PrintImage");
  }
}
