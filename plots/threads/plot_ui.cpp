#include "plots/threads/plot_ui.h"

#include "core/arrays/carray.h"
#include "core/error.h"
#include "core/error_dialog.h"
#include "platform/gui/window.h"
#include "plots/plot_spgm.h"
#include "plots/threads/plot_keys_bridge.h"
#include "plots/threads/plot_kind.h"
#include "workers/get_set_data.h"

namespace {

constexpr const char* kUnknownParameter = "Unknown parameter type.";

lv::Rect ToRect(const CWRect& r) { return lv::Rect{r.left, r.top, r.right, r.bottom}; }

// Runs body; a CQError gets name appended and is thrown on.
template <typename F>
void NamedBody(const std::string& name, F&& body) {
  try {
    body();
  } catch (CQError* e) {
    e->AddToCallStack(name.c_str());
    throw;
  }
}

}  // namespace

// ---------------------------------------------------------------------------
// CWPlotUI: the request interface common to the four kinds

std::string CWPlotUI::NameOf(const char* method) const { return std::string(className_) + "::" + method; }

bool CWPlotUI::IsWindowVisible() {
  lv::ChildWindow* w = PlotWindow();
  return w != nullptr && w->IsVisible();
}

void CWPlotUI::SetSettingsPrefix(const wchar_t* text) {
  NamedBody(NameOf("SetSettingsPrefix"), [&] {
    prefix_.clear();
    if (text == nullptr) {
      throw new CQError("Programming error: Null pointer to settings prefix string.");
    }
    prefix_ = text;
  });
}

void CWPlotUI::ShowOrHide(bool show) {
  lv::ChildWindow* w = PlotWindow();
  if (w == nullptr) {
    return;
  }
  if (show != w->IsVisible()) {
    w->Show(show);
  }
}

bool CWPlotUI::SetParam(CWGetSetData* request) {
  bool recompute = false;
  NamedBody(NameOf("SetParam"), [&] {
    if (request == nullptr) {
      throw new CQError(3);
    }
    const Ids ids = KindIds();
    const int32_t id = request->paramId;
    if (id == 1) {
      // New data: only a shown window takes a copy; a hidden one keeps what
      // it had and costs the engine nothing.
      CQCArrayTD* input = request->GetArrayTD();
      if (IsWindowVisible()) {
        TakeInputCopy(input);
        ++dataCopies;
        recompute = true;
      }
    } else if (id == ids.visible) {
      const bool show = request->GetBool();
      ShowForRequest(show);
      // A request to be visible redraws from what the window holds.
      recompute = show;
    } else if (id == ids.prefix) {
      SetSettingsPrefix(request->GetString());
    } else if (id == ids.toolbar) {
      ShowToolbarOf(request->GetBool());
    } else if (!SetOwnParam(*request, &recompute)) {
      throw new CQError(kUnknownParameter);
    }
  });
  return recompute;
}

void CWPlotUI::ComputeAfterRelease() {
  try {
    if (computeStarted) {
      computeStarted();
    }
    ++computations;
    ComputeFromCopy();
  } catch (CQError* e) {
    // The requester has gone on: the error is shown here and the plot keeps
    // what it drew before.
    e->AddToCallStack(NameOf("SetParam").c_str());
    ShowErrorDialog(e);
  }
}

void CWPlotUI::SetParamNoWait(CWGetSetData* request) {
  NamedBody(NameOf("SetParamNoWait"), [&] {
    if (request == nullptr) {
      throw new CQError(3);
    }
    const Ids ids = KindIds();
    if (request->paramId == ids.move) {
      MoveWindowTo(ToRect(request->GetRect()));
    } else if (request->paramId == ids.bounds) {
      SetBoundsOf(ToRect(request->GetRect()));
    } else {
      throw new CQError(kUnknownParameter);
    }
  });
}

void CWPlotUI::GetParam(CWGetSetData* request) {
  NamedBody(NameOf("GetParam"), [&] {
    if (request == nullptr) {
      throw new CQError(3);
    }
    const Ids ids = KindIds();
    if (request->paramId == ids.visible) {
      request->SetBool(IsWindowVisible());
    } else if (request->paramId == ids.toolbar) {
      request->SetBool(ToolbarShownOf());
    } else if (!GetOwnParam(*request)) {
      throw new CQError(kUnknownParameter);
    }
  });
}

// ---------------------------------------------------------------------------
// Time domain

CWUIPlotIQ::CWUIPlotIQ() : CWPlotUI("CWUIPlotIQ") {}
CWUIPlotIQ::~CWUIPlotIQ() = default;

bool CWUIPlotIQ::CreatePlotWindow(const lv::FrameWindow& parent, const std::wstring& title, const lv::Rect& rect,
                                  const lv::Bitmap* icon) {
  return CreateToolWindow(title.c_str(), rect, parent, icon);
}

void CWUIPlotIQ::MoveWindowTo(const lv::Rect& r) {
  if (Window() == nullptr) return;
  Window()->MoveSize(r);
  // A programmatic move brings no size message: lay the window out here.
  const lv::Size c = Window()->ClientSize();
  OnSize(c.cx, c.cy);
}

void CWUIPlotIQ::SaveSettings(CQAppSettings& settings) {
  NamedBody(NameOf("SaveSettings"), [&] { SaveWindowKeys(*this, SettingsPrefix(), settings); });
}

void CWUIPlotIQ::RecallSettings(CQAppSettings& settings) {
  NamedBody(NameOf("RecallSettings"), [&] { RecallWindowKeys(*this, SettingsPrefix(), settings); });
}

// ---------------------------------------------------------------------------
// Spectrum

CWUIPlotSpectrum::CWUIPlotSpectrum() : CWPlotUI("CWUIPlotSpectrum") {}
CWUIPlotSpectrum::~CWUIPlotSpectrum() = default;

bool CWUIPlotSpectrum::CreatePlotWindow(const lv::FrameWindow& parent, const std::wstring& title,
                                        const lv::Rect& rect, const lv::Bitmap* icon) {
  return CreateToolWindow(title.c_str(), rect, parent, icon);
}

void CWUIPlotSpectrum::ShowOrHide(bool show) { CWPlotUI::ShowOrHide(show || alwaysShown); }

void CWUIPlotSpectrum::ClearView() {
  ClearData();
  ResetMeasurementAveraging();
}

void CWUIPlotSpectrum::ComputeFromCopy() {
  ComputeSpectrum();
  DrawPlot();
}

void CWUIPlotSpectrum::MoveWindowTo(const lv::Rect& r) {
  if (Window() == nullptr) return;
  Window()->MoveSize(r);
  const lv::Size c = Window()->ClientSize();
  OnSize(c.cx, c.cy);
}

bool CWUIPlotSpectrum::SetOwnParam(CWGetSetData& request, bool* /*recompute*/) {
  switch (request.paramId) {
    case kPlotParamSpectrumAutoFreqLimits:
      Model().AvgSpectrum().SetAutoFreqLimits(request.GetBool());
      return true;
    case kPlotParamSpectrumFreqSpan: {
      const double x = request.GetDouble();
      Model().AvgSpectrum().SetFreqLimits(-0.5 * x, 0.5 * x);
      return true;
    }
    case kPlotParamSpectrumAlwaysShown:
      alwaysShown = request.GetBool();
      return true;
    default:
      return false;
  }
}

bool CWUIPlotSpectrum::GetOwnParam(CWGetSetData& request) {
  if (request.paramId == kPlotParamSpectrumAlwaysShown) {
    request.SetBool(alwaysShown);
    return true;
  }
  return false;
}

void CWUIPlotSpectrum::SaveSettings(CQAppSettings& settings) {
  NamedBody(NameOf("SaveSettings"), [&] { SaveWindowKeys(*this, SettingsPrefix(), settings); });
}

void CWUIPlotSpectrum::RecallSettings(CQAppSettings& settings) {
  NamedBody(NameOf("RecallSettings"), [&] { RecallWindowKeys(*this, SettingsPrefix(), settings); });
}

// ---------------------------------------------------------------------------
// Persistence spectrum

CWUIPlotPersSpec::CWUIPlotPersSpec() : CWPlotUI("CWUIPlotPersSpec") {}
CWUIPlotPersSpec::~CWUIPlotPersSpec() = default;

bool CWUIPlotPersSpec::CreatePlotWindow(const lv::FrameWindow& parent, const std::wstring& title,
                                        const lv::Rect& rect, const lv::Bitmap* /*icon*/) {
  // The plot area's sub-windows show no icon.
  Create(parent, title, rect);
  return Window() != nullptr;
}

void CWUIPlotPersSpec::ComputeFromCopy() {
  Compute();
  if (Window() != nullptr) Window()->Invalidate();
}

void CWUIPlotPersSpec::ClearView() {
  // The window's own "Reset Persistence": the image is reset and the
  // picture repainted blank.
  OnCommand(kCmdResetPersistence);
}

void CWUIPlotPersSpec::SaveSettings(CQAppSettings& settings) {
  NamedBody(NameOf("SaveSettings"), [&] { SaveWindowKeys(*this, SettingsPrefix(), settings); });
}

void CWUIPlotPersSpec::RecallSettings(CQAppSettings& settings) {
  NamedBody(NameOf("RecallSettings"), [&] { RecallWindowKeys(*this, SettingsPrefix(), settings); });
}

// ---------------------------------------------------------------------------
// Spectrogram

CWUIPlotSpgm::CWUIPlotSpgm() : CWPlotUI("CWUIPlotSpgm") {}
CWUIPlotSpgm::~CWUIPlotSpgm() = default;

bool CWUIPlotSpgm::CreatePlotWindow(const lv::FrameWindow& parent, const std::wstring& title, const lv::Rect& rect,
                                    const lv::Bitmap* /*icon*/) {
  Create(parent, title, rect);
  return Window() != nullptr;
}

void CWUIPlotSpgm::ComputeFromCopy() {
  Compute();
  Engine().DrawSpgm();
  if (Window() != nullptr) Window()->Invalidate();
}

void CWUIPlotSpgm::MoveWindowTo(const lv::Rect& r) {
  if (Window() == nullptr) return;
  Window()->MoveSize(r);
  const lv::Size c = Window()->ClientSize();
  OnSize(c.cx, c.cy);
}

void CWUIPlotSpgm::SaveSettings(CQAppSettings& settings) {
  NamedBody(NameOf("SaveSettings"), [&] { SaveWindowKeys(*this, SettingsPrefix(), settings); });
}

void CWUIPlotSpgm::RecallSettings(CQAppSettings& settings) {
  NamedBody(NameOf("RecallSettings"), [&] { RecallWindowKeys(*this, SettingsPrefix(), settings); });
}
