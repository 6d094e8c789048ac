#include "plots/windows/limits_dialogs.h"

#include <cmath>

#include "platform/text.h"

using namespace limits_dlg;

namespace {

std::wstring Six(double v) { return lv::FormatCW(L"%.6lf", v); }

// The vertical axis's controls at a horizontal offset (dialog units).
void AddVerticalControls(std::vector<lv::ControlTemplate>& c, int top) {
  using K = lv::ControlKind;
  c.push_back({kYTitle, K::kStaticText, L"", 7, top, 110, 9, lv::kStyleNone});
  c.push_back({-1, K::kStaticText, L"Max", 7, top + 16, 18, 9, lv::kStyleNone});
  c.push_back({kYMax, K::kEdit, L"", 27, top + 14, 58, 13, lv::kStyleBorder | lv::kStyleTabStop});
  c.push_back({kYAuto, K::kRadioButton, L"Auto Scale", 12, top + 34, 70, 10, lv::kStyleGroup | lv::kStyleTabStop});
  c.push_back({kYManual, K::kRadioButton, L"Manual Scale", 12, top + 46, 70, 10, lv::kStyleNone});
  c.push_back({kDivLabel, K::kStaticText, L"/Div", 7, top + 68, 18, 9, lv::kStyleNone});
  c.push_back({kYStep, K::kEdit, L"", 27, top + 66, 58, 13, lv::kStyleBorder | lv::kStyleTabStop});
  c.push_back({kMinLabel, K::kStaticText, L"Min", 7, top + 68, 18, 9, lv::kStyleNone});
  c.push_back({kYMin, K::kEdit, L"", 27, top + 66, 58, 13, lv::kStyleBorder | lv::kStyleTabStop});
}

// "Accept" above "Cancel" at the top right, left edge at x.
void AddButtons(std::vector<lv::ControlTemplate>& c, int x) {
  c.push_back({kAccept, lv::ControlKind::kDefPushButton, L"Accept", x, 20, 50, 14, lv::kStyleTabStop});
  c.push_back({kCancel, lv::ControlKind::kPushButton, L"Cancel", x, 38, 50, 14, lv::kStyleTabStop});
}

}  // namespace

std::optional<double> ReadLimitsNumber(const std::wstring& text) {
  const std::wstring kept = text.substr(0, 31);
  const std::optional<double> v = lv::ParseDoubleC(kept);
  if (!v || !std::isfinite(*v)) {
    return std::nullopt;
  }
  return v;
}

// ---- CWPlotLimitsDlgBase ---------------------------------------------------

void CWPlotLimitsDlgBase::ShowScale(int autoId, int manualId, bool automaticScale) {
  SetCheck(autoId, automaticScale ? lv::kChecked : lv::kUnchecked);
  SetCheck(manualId, automaticScale ? lv::kUnchecked : lv::kChecked);
}

void CWPlotLimitsDlgBase::ReadScale(int autoId, int manualId, bool& automaticScale) const {
  if (GetCheck(autoId) == lv::kChecked) {
    automaticScale = true;
  } else if (GetCheck(manualId) == lv::kChecked) {
    automaticScale = false;
  }
}

void CWPlotLimitsDlgBase::ShowVertical(int mode, double maximum, double secondValue, bool automaticScale,
                                       const std::optional<std::wstring>& title) {
  // The texts go in before the buttons: writing a text reports an edit,
  // which selects "Manual Scale".
  SetItemText(kYMax, Six(maximum));
  if (mode == 0) {
    ShowItem(kDivLabel, false);
    ShowItem(kYStep, false);
    SetItemText(kYMin, Six(secondValue));
  } else {
    ShowItem(kMinLabel, false);
    ShowItem(kYMin, false);
    SetItemText(kYStep, Six(secondValue));
  }
  ShowScale(kYAuto, kYManual, automaticScale);
  if (title) {
    SetItemText(kYTitle, *title);
  }
}

void CWPlotLimitsDlgBase::ReadVertical(int mode, double& maximum, double& secondValue, bool& automaticScale) {
  ReadScale(kYAuto, kYManual, automaticScale);
  const std::optional<double> top = ReadLimitsNumber(GetItemText(kYMax));
  const std::optional<double> second = ReadLimitsNumber(GetItemText(mode == 0 ? kYMin : kYStep));
  if (mode == 0) {
    // Maximum and minimum are kept as a pair whose maximum is the larger.
    const double newMax = top.value_or(maximum);
    const double newMin = second.value_or(secondValue);
    if (newMax > newMin) {
      maximum = newMax;
      secondValue = newMin;
    }
  } else {
    if (top) {
      maximum = *top;
    }
    if (second) {
      secondValue = *second > 0.0 ? *second : 1.0;
    }
  }
}

void CWPlotLimitsDlgBase::OnEditChanged(int id) {
  if (id == kYMax || id == kYMin || id == kYStep) {
    ShowScale(kYAuto, kYManual, false);
  }
}

void CWPlotLimitsDlgBase::OnButtonClicked(int id) {
  if (id == kAccept) {
    Accept();
  } else if (id == kCancel) {
    EndDialog(0);
  } else {
    lv::Dialog::OnButtonClicked(id);
  }
}

// ---- CWPlot2DVertLimitsDlg -------------------------------------------------

lv::DialogTemplate CWPlot2DVertLimitsDlg::MakeTemplate() {
  lv::DialogTemplate t;
  t.name = "AxesVertLimitsDialog";
  t.caption = L"Y Axis Limits";
  t.width = 150;
  t.height = 92;
  AddVerticalControls(t.controls, 6);
  AddButtons(t.controls, 93);
  return t;
}

CWPlot2DVertLimitsDlg::CWPlot2DVertLimitsDlg(int mode_, double maximum_, double secondValue_, bool automaticScale_,
                                             const wchar_t* title_, const void* /*parent*/)
    : CWPlotLimitsDlgBase(MakeTemplate()),
      automaticScale(automaticScale_),
      maximum(maximum_),
      secondValue(secondValue_),
      mode(mode_) {
  if (title_ != nullptr) {
    title = std::wstring(title_);
  }
}

bool CWPlot2DVertLimitsDlg::OnInitDialog() {
  ShowVertical(mode, maximum, secondValue, automaticScale, title);
  return true;
}

void CWPlot2DVertLimitsDlg::Accept() {
  ReadVertical(mode, maximum, secondValue, automaticScale);
  EndDialog(1);
}

// ---- CWPlot2DLimitsDlg -------------------------------------------------------

lv::DialogTemplate CWPlot2DLimitsDlg::MakeTemplate() {
  using K = lv::ControlKind;
  lv::DialogTemplate t;
  t.name = "AxesLimitsDialog";
  t.caption = L"Axes Limits";
  t.width = 290;
  t.height = 150;
  AddVerticalControls(t.controls, 6);
  // The black frame between the two axes.
  t.controls.push_back({-1, K::kFrame, L"", 92, 20, 130, 66, lv::kStyleBorder});
  // The horizontal axis below it.
  t.controls.push_back({kXTitle, K::kStaticText, L"", 92, 92, 130, 9, lv::kStyleCenter});
  t.controls.push_back({-1, K::kStaticText, L"Min", 92, 108, 18, 9, lv::kStyleNone});
  t.controls.push_back({kXMin, K::kEdit, L"", 92, 119, 58, 13, lv::kStyleBorder | lv::kStyleTabStop});
  t.controls.push_back({kXAuto, K::kRadioButton, L"Auto Scale", 156, 110, 62, 10, lv::kStyleGroup | lv::kStyleTabStop});
  t.controls.push_back({kXManual, K::kRadioButton, L"Manual Scale", 156, 122, 62, 10, lv::kStyleNone});
  t.controls.push_back({-1, K::kStaticText, L"Max", 222, 108, 18, 9, lv::kStyleNone});
  t.controls.push_back({kXMax, K::kEdit, L"", 222, 119, 58, 13, lv::kStyleBorder | lv::kStyleTabStop});
  AddButtons(t.controls, 232);
  return t;
}

CWPlot2DLimitsDlg::CWPlot2DLimitsDlg(int mode_, double xMinimum_, double xMaximum_, bool xAutomaticScale_,
                                     const wchar_t* xTitle_, double ySecondValue_, double yMaximum_,
                                     bool yAutomaticScale_, const wchar_t* yTitle_, const void* /*parent*/)
    : CWPlotLimitsDlgBase(MakeTemplate()),
      xAutomaticScale(xAutomaticScale_),
      yAutomaticScale(yAutomaticScale_),
      xMinimum(xMinimum_),
      xMaximum(xMaximum_),
      ySecondValue(ySecondValue_),
      yMaximum(yMaximum_),
      mode(mode_) {
  if (xTitle_ != nullptr) {
    xTitle = std::wstring(xTitle_);
  }
  if (yTitle_ != nullptr) {
    yTitle = std::wstring(yTitle_);
  }
}

bool CWPlot2DLimitsDlg::OnInitDialog() {
  SetItemText(kXMin, Six(xMinimum));
  SetItemText(kXMax, Six(xMaximum));
  ShowScale(kXAuto, kXManual, xAutomaticScale);
  if (xTitle) {
    SetItemText(kXTitle, *xTitle);
  }
  ShowVertical(mode, yMaximum, ySecondValue, yAutomaticScale, yTitle);
  return true;
}

void CWPlot2DLimitsDlg::OnEditChanged(int id) {
  if (id == kXMin || id == kXMax) {
    ShowScale(kXAuto, kXManual, false);
  } else {
    CWPlotLimitsDlgBase::OnEditChanged(id);
  }
}

void CWPlot2DLimitsDlg::Accept() {
  ReadScale(kXAuto, kXManual, xAutomaticScale);
  // The x limits are kept only as a pair of numbers whose maximum is larger.
  const std::optional<double> xLo = ReadLimitsNumber(GetItemText(kXMin));
  const std::optional<double> xHi = ReadLimitsNumber(GetItemText(kXMax));
  if (xLo && xHi && *xHi > *xLo) {
    xMinimum = *xLo;
    xMaximum = *xHi;
  }
  ReadVertical(mode, yMaximum, ySecondValue, yAutomaticScale);
  EndDialog(1);
}
