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

}  // namespace

std::optional<double> ReadLimitsNumber(const std::wstring& text) {
  const std::wstring kept = text.substr(0, 31);
  const std::optional<double> v = lv::ParseDoubleC(kept);
  if (!v || !std::isfinite(*v)) {
    return std::nullopt;
  }
  return v;
}

// ---- CWPlot2DVertLimitsDlg -------------------------------------------------

lv::DialogTemplate CWPlot2DVertLimitsDlg::MakeTemplate() {
  lv::DialogTemplate t;
  t.name = "AxesVertLimitsDialog";
  t.caption = L"Y Axis Limits";
  t.width = 150;
  t.height = 92;
  AddVerticalControls(t.controls, 6);
  t.controls.push_back({kAccept, lv::ControlKind::kDefPushButton, L"Accept", 93, 20, 50, 14, lv::kStyleTabStop});
  t.controls.push_back({kCancel, lv::ControlKind::kPushButton, L"Cancel", 93, 38, 50, 14, lv::kStyleTabStop});
  return t;
}

CWPlot2DVertLimitsDlg::CWPlot2DVertLimitsDlg(int mode_, double maximum_, double secondValue_, bool automaticScale_,
                                             const wchar_t* title_, const void* /*parent*/)
    : lv::Dialog(MakeTemplate()),
      automaticScale(automaticScale_),
      maximum(maximum_),
      secondValue(secondValue_),
      mode(mode_) {
  if (title_ != nullptr) {
    title = std::wstring(title_);
  }
}

bool CWPlot2DVertLimitsDlg::OnInitDialog() {
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
  SetCheck(kYAuto, automaticScale ? lv::kChecked : lv::kUnchecked);
  SetCheck(kYManual, automaticScale ? lv::kUnchecked : lv::kChecked);
  if (title) {
    SetItemText(kYTitle, *title);
  }
  return true;
}

void CWPlot2DVertLimitsDlg::OnEditChanged(int id) {
  if (id == kYMax || id == kYMin || id == kYStep) {
    SetCheck(kYAuto, lv::kUnchecked);
    SetCheck(kYManual, lv::kChecked);
  }
}

void CWPlot2DVertLimitsDlg::OnButtonClicked(int id) {
  if (id == kAccept) {
    Accept();
  } else if (id == kCancel) {
    EndDialog(0);
  } else {
    lv::Dialog::OnButtonClicked(id);
  }
}

void CWPlot2DVertLimitsDlg::OnOK() { Accept(); }
void CWPlot2DVertLimitsDlg::OnCancel() { EndDialog(0); }

void CWPlot2DVertLimitsDlg::Accept() {
  if (GetCheck(kYAuto) == lv::kChecked) {
    automaticScale = true;
  } else if (GetCheck(kYManual) == lv::kChecked) {
    automaticScale = false;
  }
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
  t.controls.push_back({kAccept, K::kDefPushButton, L"Accept", 232, 20, 50, 14, lv::kStyleTabStop});
  t.controls.push_back({kCancel, K::kPushButton, L"Cancel", 232, 38, 50, 14, lv::kStyleTabStop});
  return t;
}

CWPlot2DLimitsDlg::CWPlot2DLimitsDlg(int mode_, double xMinimum_, double xMaximum_, bool xAutomaticScale_,
                                     const wchar_t* xTitle_, double ySecondValue_, double yMaximum_,
                                     bool yAutomaticScale_, const wchar_t* yTitle_, const void* /*parent*/)
    : lv::Dialog(MakeTemplate()),
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
  SetCheck(kXAuto, xAutomaticScale ? lv::kChecked : lv::kUnchecked);
  SetCheck(kXManual, xAutomaticScale ? lv::kUnchecked : lv::kChecked);
  if (xTitle) {
    SetItemText(kXTitle, *xTitle);
  }
  if (mode == 0) {
    ShowItem(kDivLabel, false);
    ShowItem(kYStep, false);
    SetItemText(kYMin, Six(ySecondValue));
  } else {
    ShowItem(kMinLabel, false);
    ShowItem(kYMin, false);
    SetItemText(kYStep, Six(ySecondValue));
  }
  SetItemText(kYMax, Six(yMaximum));
  SetCheck(kYAuto, yAutomaticScale ? lv::kChecked : lv::kUnchecked);
  SetCheck(kYManual, yAutomaticScale ? lv::kUnchecked : lv::kChecked);
  if (yTitle) {
    SetItemText(kYTitle, *yTitle);
  }
  return true;
}

void CWPlot2DLimitsDlg::OnEditChanged(int id) {
  if (id == kYMax || id == kYMin || id == kYStep) {
    SetCheck(kYAuto, lv::kUnchecked);
    SetCheck(kYManual, lv::kChecked);
  } else if (id == kXMin || id == kXMax) {
    SetCheck(kXAuto, lv::kUnchecked);
    SetCheck(kXManual, lv::kChecked);
  }
}

void CWPlot2DLimitsDlg::OnButtonClicked(int id) {
  if (id == kAccept) {
    Accept();
  } else if (id == kCancel) {
    EndDialog(0);
  } else {
    lv::Dialog::OnButtonClicked(id);
  }
}

void CWPlot2DLimitsDlg::OnOK() { Accept(); }
void CWPlot2DLimitsDlg::OnCancel() { EndDialog(0); }

void CWPlot2DLimitsDlg::Accept() {
  if (GetCheck(kXAuto) == lv::kChecked) {
    xAutomaticScale = true;
  } else if (GetCheck(kXManual) == lv::kChecked) {
    xAutomaticScale = false;
  }
  // The x limits are kept only as a pair of numbers whose maximum is larger.
  const std::optional<double> xLo = ReadLimitsNumber(GetItemText(kXMin));
  const std::optional<double> xHi = ReadLimitsNumber(GetItemText(kXMax));
  if (xLo && xHi && *xHi > *xLo) {
    xMinimum = *xLo;
    xMaximum = *xHi;
  }
  if (GetCheck(kYAuto) == lv::kChecked) {
    yAutomaticScale = true;
  } else if (GetCheck(kYManual) == lv::kChecked) {
    yAutomaticScale = false;
  }
  const std::optional<double> top = ReadLimitsNumber(GetItemText(kYMax));
  const std::optional<double> second = ReadLimitsNumber(GetItemText(mode == 0 ? kYMin : kYStep));
  if (mode == 0) {
    const double newMax = top.value_or(yMaximum);
    const double newMin = second.value_or(ySecondValue);
    if (newMax > newMin) {
      yMaximum = newMax;
      ySecondValue = newMin;
    }
  } else {
    if (top) {
      yMaximum = *top;
    }
    if (second) {
      ySecondValue = *second > 0.0 ? *second : 1.0;
    }
  }
  EndDialog(1);
}
